#pragma once
// Files the program writes for itself are written beside their target under a temporary
// name and renamed over it only when complete: a crash or a failed write never leaves a
// half-written target.

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// Renames the finished file temp over target; removes temp when that fails. False on failure.
bool Replace_File(const std::string& temp, const std::string& target);

// Writes bytes to "<file_name>.tmp" beside file_name (creating its folder) and renames it over
// file_name. False, with any existing file left as it was, when that fails.
bool Replace_File_Contents(const std::filesystem::path& file_name, std::string_view bytes);

// A new file that becomes target on Commit and is removed otherwise. Without a temp name
// it is a fresh "<target>.partXXXXXX" beside the target; a fixed temp name is truncated
// and reused, so a crash leaves at most that one file behind.
class Temporary_Target {
public:
    explicit Temporary_Target(std::string target, std::string temp = {});
    ~Temporary_Target();
    Temporary_Target(const Temporary_Target&) = delete;
    Temporary_Target& operator=(const Temporary_Target&) = delete;

    // False when the temporary file could not be created.
    bool Is_Open() const { return file_ != nullptr; }
    // False when not open or not all n bytes were written.
    bool Write(const void* data, std::size_t n);
    // Closes the file and renames it over the target; false (and nothing left behind) on failure.
    bool Commit();

private:
    void Discard();

    std::string target_;
    std::string path_;
    std::FILE* file_ = nullptr;
};

}  // namespace vantrel
