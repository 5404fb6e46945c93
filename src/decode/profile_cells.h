#pragma once
// Cell order and per-cell arithmetic shared by the broadband and narrowband profile decoders.

#include <cstddef>
#include <cstdint>

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

}  // namespace vantrel
