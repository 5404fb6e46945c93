#pragma once
// A small hand-encoded ensemble whose beam velocities come from known earth velocities.

#include <cstdint>
#include <vector>

#include "platform/text_format.h"
#include "processing/beam_geometry.h"

namespace vantrel::test {

inline void Put_U16(std::vector<std::uint8_t>& b, std::size_t at, int value) {
    b[at] = static_cast<std::uint8_t>(value & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

constexpr int k_bins = 20;
constexpr std::int32_t k_sys_config = 0x0100;  // 20 degrees, down-facing, concave
constexpr int k_heading = 4500;                  // hundredths of a degree

// Earth velocity of file cell c (counted from the transducer), mm/s.
inline double East_Of_Cell(int c) { return 100 + 10.0 * c; }

// A broadband ensemble in beam coordinates: header, fixed and variable leader, velocity,
// checksum.
inline std::vector<std::uint8_t> Beam_Ensemble(int number = 7) {
    const std::size_t fixed = 12, variable = fixed + 42, velocity = variable + 36;
    const std::size_t bytes = velocity + 2 + 8 * k_bins;
    std::vector<std::uint8_t> b(bytes + 2, 0);
    b[0] = b[1] = 0x7F;
    Put_U16(b, 2, static_cast<int>(bytes));
    b[5] = 3;
    Put_U16(b, 6, static_cast<int>(fixed));
    Put_U16(b, 8, static_cast<int>(variable));
    Put_U16(b, 10, static_cast<int>(velocity));
    b[fixed + 2] = 16;  // firmware version
    Put_U16(b, fixed + 4, k_sys_config);
    b[fixed + 9] = k_bins;
    Put_U16(b, fixed + 12, 100);  // bin size, cm
    Put_U16(b, fixed + 32, 150);  // bin-1 distance, cm
    Put_U16(b, fixed + 34, 100);  // pulse length, cm
    Put_U16(b, variable, 0x0080);
    Put_U16(b, variable + 2, number);
    Put_U16(b, variable + 18, k_heading);
    Put_U16(b, velocity, 0x0100);
    const Beam_Geometry g = Make_Beam_Geometry(k_sys_config);
    const Rotation r = Instrument_To_Earth(Make_Attitude(0, 0, k_heading));
    for (int c = 0; c < k_bins; ++c) {
        const auto beams = Earth_To_Beams(g, r, East_Of_Cell(c), -50, 5);
        for (std::size_t k = 0; k < 4; ++k) {
            Put_U16(b, velocity + 2 + 8 * static_cast<std::size_t>(c) + 2 * k,
                    static_cast<std::int16_t>(rnd(beams[k])) & 0xFFFF);
        }
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < bytes; ++i) sum += b[i];
    Put_U16(b, bytes, static_cast<int>(sum & 0xFFFF));
    return b;
}

}  // namespace vantrel::test
