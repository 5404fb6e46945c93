#pragma once
// The fuzz input as a file reached by path (for the procedures that open files by name),
// an in-memory file rewritten for every input.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The input lives in an in-memory file, reached by path like any other file.
inline const std::string& Memory_File_Path() {
    static const std::string path = [] {
        const int fd = memfd_create("vantrel-fuzz", 0);
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

inline void Write_Input(const std::uint8_t* data, std::size_t size) {
    const int fd = std::stoi(Memory_File_Path().substr(14));
    // Truncating straight to the new size keeps the pages already there (no fresh zeroed pages per run).
    if (ftruncate(fd, static_cast<off_t>(size)) != 0) __builtin_trap();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) __builtin_trap();
        done += static_cast<std::size_t>(n);
    }
}

// The input cut at two positions into the three members of a numbered file set, in a
// folder of this process's own; returns the first member's path.
inline std::string Write_Input_As_Set(const std::uint8_t* data, std::size_t size, std::size_t cut1, std::size_t cut2) {
    static const std::filesystem::path dir = [] {
        const auto d = std::filesystem::temp_directory_path() / ("vantrel-fuzz-set-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    const std::size_t cuts[] = {0, cut1, cut2, size};
    for (std::size_t i = 0; i < 3; ++i) {
        std::ofstream out(dir / ("set.00" + std::to_string(i)), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + cuts[i]), static_cast<std::streamsize>(cuts[i + 1] - cuts[i]));
        if (!out) __builtin_trap();
    }
    return (dir / "set.000").string();
}

}  // namespace
