#include "settings/recent_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/binary_file.h"
#include "platform/output_file.h"
#include "platform/program_messages.h"

namespace vantrel {

void Add_Recent_File(Recent_Files& list, const std::string& name) {
    if (name.empty()) return;
    auto found = std::find(list.begin(), list.end(), name);
    if (found == list.end()) found = list.end() - 1;  // the oldest falls off
    std::move_backward(list.begin(), found, found + 1);
    list[0] = name;
}

std::string Format_Recent_Files(const Recent_Files& list) {
    std::string text;
    for (const std::string& item : list) {
        if (!item.empty()) text += "\"" + item + "\"\r\n";
    }
    return text;
}

Recent_Files Parse_Recent_Files(std::string_view text) {
    Recent_Files list;
    std::size_t at = 0;
    for (std::size_t i = 0; i < k_recent_file_count && at < text.size(); ++i) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // One quoted field: the text between the quotes, or the bare line.
        if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
        list[i] = std::string(line);
    }
    return list;
}

Recent_Files Load_Recent_Files(const std::filesystem::path& file_name) {
    const std::string problem = Input_Problem(file_name.string());
    if (problem == k_invalid_file) {
        Write_Output_File(file_name.string(), {}, {}, Existing_Output::k_replace);
        return {};
    }
    if (!problem.empty()) return {};  // a FIFO or device is never read: it could block
    std::ifstream in(file_name, std::ios::binary);
    if (!in) return {};
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (text.size() <= 2) return {};
    return Parse_Recent_Files(text);
}

bool Save_Recent_Files(const Recent_Files& list, const std::filesystem::path& file_name) {
    return Write_Output_File(file_name.string(), Format_Recent_Files(list), {}, Existing_Output::k_replace).Ok();
}

}  // namespace vantrel
