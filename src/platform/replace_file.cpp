#include "platform/replace_file.h"

#include <fstream>

namespace vantrel {

bool Replace_File_Contents(const std::filesystem::path& file_name, std::string_view bytes) {
    std::error_code ec;
    if (file_name.has_parent_path()) std::filesystem::create_directories(file_name.parent_path(), ec);
    std::filesystem::path temp = file_name;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::filesystem::rename(temp, file_name, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return false;
    }
    return true;
}

}  // namespace vantrel
