#pragma once
// The list of the eight most recently opened files and its file VTRLFile.txt.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

constexpr std::size_t k_recent_file_count = 8;
constexpr std::string_view k_recent_files_name = "VTRLFile.txt";

// Captions of the recent-file items 1 to 8 (index 0 is the most recent); empty = hidden.
using Recent_Files = std::array<std::string, k_recent_file_count>;

// Puts name at the top: an item already holding it moves up, the others move down and
// an eighth one falls off. An empty name changes nothing.
void Add_Recent_File(Recent_Files& list, const std::string& name);

// The file's text: every non-empty caption in item order, in double quotes, ended by CR LF.
std::string Format_Recent_Files(const Recent_Files& list);

// Reads up to eight quoted fields; an empty field leaves its item empty.
Recent_Files Parse_Recent_Files(std::string_view text);

// Reads the recent-files file, creating it empty when it does not exist.
Recent_Files Load_Recent_Files(const std::filesystem::path& file_name);

// Save_Old_Files: writes the list through a temporary file; false when it cannot.
bool Save_Recent_Files(const Recent_Files& list, const std::filesystem::path& file_name);

}  // namespace vantrel
