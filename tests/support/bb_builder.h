#pragma once
// Crafts broadband ensembles byte by byte, including malformed ones, and decodes them.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app_state.h"
#include "decode/decode_ensemble.h"

namespace vantrel::test {

using Bytes = std::vector<std::uint8_t>;

inline void Put_U16(Bytes& b, std::size_t off, unsigned v) {
    b[off] = static_cast<std::uint8_t>(v);
    b[off + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put_U32(Bytes& b, std::size_t off, std::uint32_t v) {
    Put_U16(b, off, v & 0xFFFF);
    Put_U16(b, off + 2, v >> 16);
}
inline void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

// A data type: identifier followed by body bytes, zero-filled to `size` bytes in all.
inline Bytes Block(unsigned id, std::size_t size, std::uint8_t fill = 0) {
    Bytes b(size, fill);
    Put_U16(b, 0, id);
    return b;
}

// Whole ensemble from blocks that start with their identifier, with its checksum.
inline Bytes Ensemble(const std::vector<Bytes>& blocks) {
    Bytes out(6 + 2 * blocks.size(), 0);
    out[0] = out[1] = 0x7F;
    out[5] = static_cast<std::uint8_t>(blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        Put_U16(out, 6 + 2 * i, static_cast<unsigned>(out.size()));
        Append(out, blocks[i]);
    }
    const std::size_t n = out.size();
    Put_U16(out, 2, static_cast<unsigned>(n));
    unsigned sum = 0;
    for (std::uint8_t c : out) sum += c;
    out.resize(n + 2);
    Put_U16(out, n, sum & 0xFFFF);
    return out;
}

// Fixed leader with the fields the decoders read.
struct Fixed_Leader_Fields {
    std::uint8_t version = 16, revision = 5;
    unsigned sys_config = 0x4243;  // 300 kHz-ish, down, concave, 20 degrees, 4 beams
    std::uint8_t bins = 4;
    unsigned pings = 60;
    unsigned bin_cm = 100;
    std::uint8_t mode = 1;
    std::uint8_t time_per_ping[3] = {0, 1, 50};
    std::uint8_t coord = 0;
    unsigned bin1_cm = 300, xmit_cm = 120, lag_cm = 30;
};

inline Bytes Fixed_Leader(const Fixed_Leader_Fields& f = {}) {
    Bytes b = Block(0x0000, 59);
    b[2] = f.version;
    b[3] = f.revision;
    Put_U16(b, 4, f.sys_config);
    b[9] = f.bins;
    Put_U16(b, 10, f.pings);
    Put_U16(b, 12, f.bin_cm);
    b[16] = f.mode;
    for (std::size_t i = 0; i < 3; ++i) b[22 + i] = f.time_per_ping[i];
    b[25] = f.coord;
    Put_U16(b, 32, f.bin1_cm);
    Put_U16(b, 34, f.xmit_cm);
    Put_U16(b, 40, f.lag_cm);
    return b;
}

inline Bytes Variable_Leader(std::uint32_t number, const std::uint8_t (&clock)[7]) {
    Bytes b = Block(0x0080, 65);
    Put_U16(b, 2, number & 0xFFFF);
    for (std::size_t i = 0; i < 7; ++i) b[4 + i] = clock[i];
    b[11] = static_cast<std::uint8_t>(number >> 16);
    return b;
}
inline Bytes Variable_Leader(std::uint32_t number, std::uint8_t second = 0) {
    return Variable_Leader(number, {26, 3, 14, 12, 30, second, 0});
}

// Rewrites the checksum after the byte count's bytes (the record keeps its byte count).
inline void Fix_Checksum(Bytes& e) {
    const std::size_t n = static_cast<std::size_t>(e[2] | (e[3] << 8));
    if (e.size() < n + 2) e.resize(n + 2);
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += e[i];
    Put_U16(e, n, sum & 0xFFFF);
}

// A plain ensemble for files: fixed leader, variable leader and velocity, padded with an
// unknown block up to record_bytes.
struct BB_Fields {
    std::uint32_t ens_number = 1;
    std::uint8_t clock[7] = {98, 1, 2, 3, 4, 5, 6};  // year .. hundredths
    Fixed_Leader_Fields leader{.sys_config = 0x5243, .pings = 10, .mode = 0, .coord = 0x1F,
                               .bin1_cm = 250, .xmit_cm = 0, .lag_cm = 0};  // 614.4 kHz, down
    std::size_t record_bytes = 0;  // whole record with checksum; 0 = as small as it comes
};

inline Bytes Build_BB_Ensemble(const BB_Fields& f) {
    Bytes vel = Block(0x0100, 2 + 8u * f.leader.bins);
    for (std::size_t i = 0; i + 2 < vel.size(); i += 2) Put_U16(vel, i + 2, static_cast<unsigned>(i * 10));
    std::vector<Bytes> blocks = {Fixed_Leader(f.leader), Variable_Leader(f.ens_number, f.clock), vel};
    Bytes out = Ensemble(blocks);
    if (f.record_bytes > out.size()) {
        // A fourth offset entry and the pad block's identifier take 4 bytes.
        blocks.push_back(Block(0x0500, f.record_bytes - out.size() - 2, 0x11));
        out = Ensemble(blocks);
    }
    return out;
}

// Ensembles numbered first..first+count-1 of record_bytes each; the clock's second counts them.
inline Bytes BB_Run(std::uint32_t first, std::uint32_t count, std::size_t record_bytes = 1000,
                    unsigned sys_config = 0x5243, std::uint8_t bins = 4) {
    Bytes out;
    for (std::uint32_t n = first; n < first + count; ++n) {
        BB_Fields f;
        f.ens_number = n;
        f.leader.bins = bins;
        f.clock[5] = static_cast<std::uint8_t>(n % 60);
        f.leader.sys_config = sys_config;
        f.record_bytes = record_bytes;
        Append(out, Build_BB_Ensemble(f));
    }
    return out;
}

// A record of exactly record_bytes (checksum included) with two data types: an empty fixed
// leader and filler.
inline Bytes Build_Two_Type_Record(std::size_t record_bytes) {
    const std::size_t fixed = 6 + 4 + 59 + 2;  // header, table, leader, checksum
    return Ensemble({Block(0x0000, 59), Block(0x0500, record_bytes - fixed, 0x22)});
}

// A program state ready to decode crafted broadband ensembles.
struct Decode_Fixture {
    App_State app;

    Decode_Fixture() {
        Allocate_Data_Set(app.ds, false, 4, 4);
        app.dec.Data_Structure = k_structure_bb;
    }

    // Decodes the bytes as the scanner would have left them; byte count from offsets 2-3.
    void Decode(const Bytes& e, std::int32_t slot = 0) {
        app.dec.Ens_Buffer = e;
        app.dec.Ens_Bytes = e.size() >= 4 ? (e[2] | (e[3] << 8)) : 0;
        app.ds.Sub_Count = slot;
        Decode_Ensemble(app);
    }
};

}  // namespace vantrel::test
