#pragma once
// Fixed texts the program shows for failures, shared by the commands that raise them.

namespace vantrel {

// Writing into an existing file that already holds data.
inline constexpr const char* k_overwrite_refused = "Over-Write of File Not Allowed";

// A file that cannot be opened or read.
inline constexpr const char* k_invalid_file = "Invalid File";

// A file without a usable first and last ensemble.
inline constexpr const char* k_not_enough_valid = "Not enough VALID ensembles";

// Arrays for the file could not be allocated.
inline constexpr const char* k_out_of_memory = "Not enough memory for the data set";

}  // namespace vantrel
