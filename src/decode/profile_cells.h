#pragma once
// Cell order and per-cell arithmetic shared by the broadband and narrowband profile decoders.

#include <cassert>
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

// sum / 4 to the nearest integer, halves to even. Branch-free: the remainders of real data
// are random, and a mispredicted branch per cell costs more than the arithmetic.
inline std::uint8_t Mean_Of_Four(unsigned sum) {
    return static_cast<std::uint8_t>((sum + 1 + ((sum >> 2) & 1u)) >> 2);
}

// Four one-byte values a cell (cells packed from the start of `cells`, which holds 4 x num_bins
// bytes) into components 0..3 of (component, bin, slot), and their rounded mean into 4.
inline void Store_Byte_Profile_With_Mean(const Byte_Block& cells, std::size_t num_bins, bool facing_up,
                                         Dense_Array<std::uint8_t>& out, std::size_t slot) {
    if (num_bins == 0) return;
    assert(cells.Fits(0, 4 * num_bins) && out.Extent(0) == 5 && num_bins <= out.Extent(1));
    // Plain local pointers: byte stores could otherwise alias the block and force reloads.
    const std::uint8_t* const src = cells.Data();
    std::uint8_t* const dst = &out(0, 0, slot);
    for (std::size_t k = 0; k < num_bins; ++k) {
        const std::uint8_t* c = src + 4 * File_Cell_Of_Bin(k, num_bins, facing_up);
        const std::uint8_t b0 = c[0], b1 = c[1], b2 = c[2], b3 = c[3];
        std::uint8_t* d = dst + 5 * k;
        d[0] = b0;
        d[1] = b1;
        d[2] = b2;
        d[3] = b3;
        d[4] = Mean_Of_Four(unsigned{b0} + b1 + b2 + b3);
    }
}

}  // namespace vantrel
