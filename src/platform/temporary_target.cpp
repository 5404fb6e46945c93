#include "platform/temporary_target.h"

#include <filesystem>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

bool Replace_File(const std::string& temp, const std::string& target) {
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (!ec) return true;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
}

bool Replace_File_Contents(const std::filesystem::path& file_name, std::string_view bytes) {
    std::error_code ec;
    if (file_name.has_parent_path()) std::filesystem::create_directories(file_name.parent_path(), ec);
    Temporary_Target out(file_name.string(), file_name.string() + ".tmp");
    return out.Write(bytes.data(), bytes.size()) && out.Commit();
}

Temporary_Target::Temporary_Target(std::string target, std::string temp) : target_(std::move(target)) {
    if (!temp.empty()) {
        file_ = std::fopen(temp.c_str(), "wb");
        if (file_ != nullptr) path_ = std::move(temp);
        return;
    }
    std::string pattern = target_ + ".partXXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return;
    path_ = pattern;
    // mkstemp makes the file private; the finished file gets the permissions of a plain one.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        ::close(fd);
        Discard();
    }
}

Temporary_Target::~Temporary_Target() {
    if (file_ != nullptr) std::fclose(file_);
    if (!path_.empty()) Discard();
}

bool Temporary_Target::Write(const void* data, std::size_t n) {
    if (file_ == nullptr) return false;
    return n == 0 || std::fwrite(data, 1, n, file_) == n;  // an empty view may carry a null pointer
}

bool Temporary_Target::Commit() {
    if (file_ == nullptr) return false;
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) return false;  // the destructor removes the temporary
    const bool renamed = Replace_File(path_, target_);
    path_.clear();
    return renamed;
}

void Temporary_Target::Discard() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    path_.clear();
}

}  // namespace vantrel
