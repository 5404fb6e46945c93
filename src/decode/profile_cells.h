#pragma once
// Cell order and per-cell arithmetic shared by the broadband and narrowband profile decoders.

#include <cstddef>
#include <cstdint>

#include "dataset/dense_array.h"
#include "platform/byte_reader.h"

namespace vantrel {

// 0-based file cell held by data-set bin k: cell k when facing up, the mirror cell when facing down,
// so that bin 0 is always the cell farthest below the surface.
inline std::size_t File_Cell_Of_Bin(std::size_t k, std::size_t num_bins, bool facing_up) {
    return facing_up ? k : num_bins - 1 - k;
}

// sum / 4 to the nearest integer, halves to even.
inline std::uint8_t Mean_Of_Four(unsigned sum) {
    const unsigned q = sum >> 2, r = sum & 3u;
    return static_cast<std::uint8_t>(r < 2 ? q : r > 2 ? q + 1 : q + (q & 1u));
}

// Four one-byte values a cell (cells packed from the start of `cells`, which holds 4 x num_bins
// bytes) into components 0..3 of (component, bin, slot), and their rounded mean into 4.
inline void Store_Byte_Profile_With_Mean(const Byte_Block& cells, std::size_t num_bins, bool facing_up,
                                         Dense_Array<std::uint8_t>& out, std::size_t slot) {
    for (std::size_t k = 0; k < num_bins; ++k) {
        const std::size_t cell = File_Cell_Of_Bin(k, num_bins, facing_up);
        std::uint8_t* dst = &out(0, k, slot);
        unsigned sum = 0;
        for (std::size_t beam = 0; beam < 4; ++beam) {
            dst[beam] = cells.Read_U8(cell * 4 + beam);
            sum += dst[beam];
        }
        dst[4] = Mean_Of_Four(sum);
    }
}

}  // namespace vantrel
