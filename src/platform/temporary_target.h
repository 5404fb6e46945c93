#pragma once
// Files the program writes for itself are written beside their target under a temporary
// name and renamed over it only when complete: a crash or a failed write never leaves a
// half-written target.

#include <cstddef>
#include <cstdio>
#include <string>

namespace vantrel {

// Renames the finished file temp over target; removes temp when that fails. False on failure.
bool Replace_File(const std::string& temp, const std::string& target);

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
