#pragma once
// Copies a range of ensembles of the open file or set, byte for byte, into a new file.

#include <cstdint>
#include <string>

#include "app_state.h"
#include "platform/program_messages.h"

namespace vantrel {

enum class Save_Outcome {
    k_written,      // the target holds the range
    k_nothing,      // no file loaded, no target, or the target is the source
    k_refused,      // the target is not empty: "Over-Write of File Not Allowed"
    k_first_absent, // no ensemble F in the file: nothing written
    k_last_absent,  // no ensemble L in the file: nothing written
};

// "Ensemble 98 is not in the file": the refusal of a range whose end the file lacks.
std::string Absent_Ensemble_Message(std::int32_t number);

// Writes ensembles F..L to target through a temporary name. Files of one length: the
// records of Ens_Bytes + 2 bytes from the position File_First_Ens implies; files whose
// lengths vary: each ensemble found by its number. F or L outside the file's range (or not
// met) writes nothing. Throws std::runtime_error when a member cannot be read or the target
// cannot be written; the target is then untouched.
Save_Outcome Save_Ensemble_Range(const App_State& app, const std::string& target, std::int32_t F, std::int32_t L);

// The refusal shown for a non-empty target.

}  // namespace vantrel
