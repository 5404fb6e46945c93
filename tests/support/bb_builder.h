#pragma once
// Crafts broadband ensembles byte by byte, including malformed ones, and decodes them.

#include <cstdint>
#include <string>
#include <vector>

#include "app_state.h"
#include "decode/decode_ensemble.h"
#include "support/test_files.h"

namespace vantrel::test {

inline void Put_U16(Bytes& b, std::size_t off, unsigned v) { Put_LE16(b, off, v); }
inline void Put_U32(Bytes& b, std::size_t off, std::uint32_t v) {
    Put_U16(b, off, v & 0xFFFF);
    Put_U16(b, off + 2, v >> 16);
}

// A data type: identifier followed by body bytes, zero-filled to `size` bytes in all.
inline Bytes Block(unsigned id, std::size_t size) {
    Bytes b(size, 0);
    Put_U16(b, 0, id);
    return b;
}

// Fixed leader with the fields the decoders read.
struct Fixed_Leader_Fields {
    std::uint8_t version = 16, revision = 5;
    unsigned sys_config = 0x4243;  // 300 kHz-ish, down, concave, 20 degrees, 4 beams
    std::uint8_t bins = 4;
    unsigned pings = 60;
    unsigned bin_cm = 100;
    std::uint8_t mode = 1;
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
    b[22] = 0; b[23] = 1; b[24] = 50;
    b[25] = f.coord;
    Put_U16(b, 32, f.bin1_cm);
    Put_U16(b, 34, f.xmit_cm);
    Put_U16(b, 40, f.lag_cm);
    return b;
}

inline Bytes Variable_Leader(std::uint32_t number, std::uint8_t second = 0) {
    Bytes b = Block(0x0080, 65);
    Put_U16(b, 2, number & 0xFFFF);
    b[4] = 26; b[5] = 3; b[6] = 14; b[7] = 12; b[8] = 30; b[9] = second; b[10] = 0;
    b[11] = static_cast<std::uint8_t>(number >> 16);
    return b;
}

// Rewrites the checksum after the byte count's bytes (the record keeps its byte count).
inline void Fix_Checksum(Bytes& e) {
    const std::size_t n = static_cast<std::size_t>(e[2] | (e[3] << 8));
    if (e.size() < n + 2) e.resize(n + 2);
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += e[i];
    Put_U16(e, n, sum & 0xFFFF);
}

// Whole ensemble from blocks that start with their identifier.
inline Bytes Ensemble(const std::vector<Bytes>& blocks) {
    std::vector<std::pair<std::uint16_t, Bytes>> typed;
    for (const Bytes& b : blocks) typed.push_back({static_cast<std::uint16_t>(b[0] | (b[1] << 8)), Bytes(b.begin() + 2, b.end())});
    return Assemble_BB(typed);
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
