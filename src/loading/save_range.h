#pragma once
// Copies a range of ensembles of the open file or set, byte for byte, into a new file.

#include <cstdint>
#include <string>

#include "loading/open_state.h"
#include "platform/program_messages.h"

namespace vantrel {

enum class Save_Outcome {
    k_written,      // the target holds the range
    k_nothing,      // no file loaded, no target, or the target is the source
    k_refused,      // the target is not empty: "Over-Write of File Not Allowed"
};

// Writes the records of ensembles F..L (each Ens_Bytes + 2 bytes, positioned from
// File_First_Ens) to target through a temporary name. Throws std::runtime_error when a
// member cannot be read or the target cannot be written; the target is then untouched.
Save_Outcome Save_Ensemble_Range(const Open_State& app, const std::string& target, std::int32_t F, std::int32_t L);

// The refusal shown for a non-empty target.

}  // namespace vantrel
