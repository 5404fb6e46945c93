#pragma once
// Test helpers: broadband ensembles built field by field, and files in a private temp folder.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace vantrel::test {

using Bytes = std::vector<std::uint8_t>;

inline void Put_LE16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A broadband ensemble from (identifier, body after the identifier) blocks, with its checksum.
inline Bytes Assemble_BB(const std::vector<std::pair<std::uint16_t, Bytes>>& blocks) {
    Bytes out(6 + 2 * blocks.size(), 0);
    out[0] = out[1] = 0x7F;
    out[5] = static_cast<std::uint8_t>(blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        Put_LE16(out, 6 + 2 * i, static_cast<unsigned>(out.size()));
        out.push_back(static_cast<std::uint8_t>(blocks[i].first));
        out.push_back(static_cast<std::uint8_t>(blocks[i].first >> 8));
        out.insert(out.end(), blocks[i].second.begin(), blocks[i].second.end());
    }
    const std::size_t n = out.size();
    Put_LE16(out, 2, static_cast<unsigned>(n));
    unsigned sum = 0;
    for (std::uint8_t c : out) sum += c;
    out.push_back(0);
    out.push_back(0);
    Put_LE16(out, n, sum & 0xFFFF);
    return out;
}

struct BB_Fields {
    std::uint32_t ens_number = 1;
    std::uint8_t clock[7] = {98, 1, 2, 3, 4, 5, 6};  // year .. hundredths
    std::uint16_t sys_config = 0x5243;                 // 614.4 kHz, down
    std::uint8_t fw_version = 16, fw_revision = 5;
    std::uint8_t num_bins = 4;
    std::uint16_t pings = 10;
    std::uint16_t bin_size_cm = 100, bin1_cm = 250;
    std::uint8_t time_per_ping[3] = {0, 1, 50};
    std::uint8_t coord = 0x1F;
    std::size_t record_bytes = 0;  // whole record with checksum; 0 = as small as it comes
};

// Fixed leader, variable leader and velocity, padded with an unknown block up to record_bytes.
inline Bytes Build_BB_Ensemble(const BB_Fields& f) {
    Bytes fl(57, 0);  // 59 bytes with the identifier
    fl[0] = f.fw_version;
    fl[1] = f.fw_revision;
    Put_LE16(fl, 2, f.sys_config);
    fl[7] = f.num_bins;
    Put_LE16(fl, 8, f.pings);
    Put_LE16(fl, 10, f.bin_size_cm);
    for (int i = 0; i < 3; ++i) fl[static_cast<std::size_t>(20 + i)] = f.time_per_ping[i];
    fl[23] = f.coord;
    Put_LE16(fl, 30, f.bin1_cm);
    Bytes vl(63, 0);
    Put_LE16(vl, 0, f.ens_number & 0xFFFF);
    for (std::size_t i = 0; i < 7; ++i) vl[2 + i] = f.clock[i];
    vl[9] = static_cast<std::uint8_t>(f.ens_number >> 16);
    Bytes vel(8 * f.num_bins, 0);
    for (std::size_t i = 0; i < vel.size(); i += 2) Put_LE16(vel, i, static_cast<unsigned>(i * 10));
    std::vector<std::pair<std::uint16_t, Bytes>> blocks = {{0x0000, fl}, {0x0080, vl}, {0x0100, vel}};
    Bytes out = Assemble_BB(blocks);
    if (f.record_bytes > out.size()) {
        // A fourth offset entry and the pad block's identifier take 4 bytes.
        const std::size_t pad = f.record_bytes - out.size() - 4;
        blocks.push_back({0x0500, Bytes(pad, 0x11)});
        out = Assemble_BB(blocks);
    }
    return out;
}

// A record of exactly record_bytes (checksum included) with two data types: a fixed leader and filler.
inline Bytes Build_Two_Type_Record(std::size_t record_bytes) {
    const Bytes fl(57, 0);
    const std::size_t fixed = 6 + 4 + 59 + 2 + 2;  // header, table, leader, filler id, checksum
    return Assemble_BB({{0x0000, fl}, {0x0500, Bytes(record_bytes - fixed, 0x22)}});
}

// A folder of its own under the system temp folder, removed at the end of the test.
class Temp_Folder {
public:
    Temp_Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~Temp_Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    Temp_Folder(const Temp_Folder&) = delete;
    Temp_Folder& operator=(const Temp_Folder&) = delete;

    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        const std::string p = Path(name);
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
        return p;
    }

private:
    std::filesystem::path path_;
};

inline void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace vantrel::test
