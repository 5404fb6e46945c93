#pragma once
// Copies a range of ensembles of the open file or set, byte for byte, into a new file.

#include <cstdint>
#include <string>
#include <vector>

#include "loading/open_state.h"
#include "platform/outcome.h"
#include "platform/program_messages.h"

namespace vantrel {

// Writes ensembles F..L to target under the output rule (platform/output_file.h). Files of
// one length: the records of Ens_Bytes + 2 bytes from the position File_First_Ens implies;
// files whose lengths vary (or whose records there are not those ensembles): each ensemble
// found by its number. Ok when written; k_nothing_loaded when no file is loaded or no target
// given; k_target_is_input, k_overwrite_refused or k_cannot_write for a target the rule
// refuses; k_not_in_file ("Ensemble 98 is not in the file") when F or L is outside the
// file's range or not met, nothing written; k_invalid_file when a member cannot be read.
// On any failure the target is as it was.
Outcome Save_Ensemble_Range(const Open_State& app, const std::string& target, std::int32_t F, std::int32_t L);

// The files being read, never to be written over: the open file, every member of its set and
// the settings file the options came from.
std::vector<std::string> Input_Files(const Open_State& app);

}  // namespace vantrel
