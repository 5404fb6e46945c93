#pragma once
// A folder of its own under the system temp folder, removed when the test ends. A call that
// fails throws (the test fails there) instead of leaving a half-made fixture behind.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace vantrel::test {

class Temp_Folder {
public:
    Temp_Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder from " + pattern);
        path_ = pattern;
    }
    ~Temp_Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        if (ec) std::cerr << "cannot remove " << path_ << ": " << ec.message() << '\n';
    }
    Temp_Folder(const Temp_Folder&) = delete;
    Temp_Folder& operator=(const Temp_Folder&) = delete;

    std::string Path(const std::string& name = "") const { return (path_ / name).string(); }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const std::string p = Path(name);
        std::ofstream out(p, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw std::runtime_error("cannot write " + p);
        return p;
    }

private:
    std::filesystem::path path_;
};

}  // namespace vantrel::test
