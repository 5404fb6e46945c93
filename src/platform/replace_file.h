#pragma once
// Writing a file the program keeps for itself so that a crash never leaves half of it.

#include <filesystem>
#include <string_view>

namespace vantrel {

// Writes bytes to a temporary file beside file_name (creating its folder) and renames it
// over file_name. False, with any existing file left as it was, when that fails.
bool Replace_File_Contents(const std::filesystem::path& file_name, std::string_view bytes);

}  // namespace vantrel
