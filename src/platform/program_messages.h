#pragma once
// Fixed texts the program shows for failures, shared by the commands that raise them.

namespace vantrel {

// Writing into an existing file that already holds data.
inline constexpr const char* k_overwrite_refused = "Over-Write of File Not Allowed";

}  // namespace vantrel
