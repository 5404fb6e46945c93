#pragma once
// Cell order and per-cell arithmetic shared by the broadband and narrowband profile decoders.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "dataset/data_set.h"
#include "dataset/dense_array.h"
#include "decode/decode_options.h"
#include "platform/byte_reader.h"

namespace vantrel {

// 0-based file cell held by data-set bin k: cell k when facing up, the mirror cell when facing down,
// so that bin 0 is always the cell farthest below the surface.
inline std::size_t File_Cell_Of_Bin(std::size_t k, std::size_t num_bins, bool facing_up) {
    return facing_up ? k : num_bins - 1 - k;
}

// The profile arrays widened for a leader's bin count, after the options' Before_Widen.
inline void Fit_Decoded_Bins(Data_Set& ds, int bins, const Decode_Options& opt) {
    if (Profile_Bins_Fit(ds, bins)) return;
    if (opt.Before_Widen) opt.Before_Widen();
    Fit_Profile_Bins(ds, bins);
}

// sum / 4 to the nearest integer, halves to even. Branch-free: the remainders of real data
// are random, and a mispredicted branch per cell costs more than the arithmetic.
inline std::uint8_t Mean_Of_Four(unsigned sum) {
    return static_cast<std::uint8_t>((sum + 1 + ((sum >> 2) & 1u)) >> 2);
}

// One cell's four bytes and their rounded mean at d[0..4]; without Mean, 0 at d[4].
template <bool Mean = true>
inline void Store_Cell_With_Mean(const std::uint8_t* c, std::uint8_t* d) {
    const std::uint8_t b0 = c[0], b1 = c[1], b2 = c[2], b3 = c[3];
    d[0] = b0;
    d[1] = b1;
    d[2] = b2;
    d[3] = b3;
    d[4] = Mean ? Mean_Of_Four(unsigned{b0} + b1 + b2 + b3) : 0;
}

#if defined(__SSE2__)
// Cells k..k+3 of the data-set order at d[0..19]: the four words come in one load (reversed
// when facing down) and their means are summed side by side, two bytes per 16-bit lane.
template <bool Mean = true>
inline void Store_Four_Cells_With_Mean(const std::uint8_t* src, std::size_t k, std::size_t num_bins, bool facing_up,
                                       std::uint8_t* d) {
    const __m128i low_bytes = _mm_set1_epi32(0x00ff00ff), low_half = _mm_set1_epi32(0xffff), one = _mm_set1_epi32(1);
    __m128i x;
    if (facing_up) {
        x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * k));
    } else {
        x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * (num_bins - 4 - k)));
        x = _mm_shuffle_epi32(x, _MM_SHUFFLE(0, 1, 2, 3));
    }
    const __m128i pairs = _mm_add_epi32(_mm_and_si128(x, low_bytes), _mm_and_si128(_mm_srli_epi32(x, 8), low_bytes));
    const __m128i sums = _mm_add_epi32(_mm_and_si128(pairs, low_half), _mm_srli_epi32(pairs, 16));
    // Mean_Of_Four on each lane.
    __m128i means = _mm_add_epi32(_mm_add_epi32(sums, one), _mm_and_si128(_mm_srli_epi32(sums, 2), one));
    means = _mm_srli_epi32(means, 2);
    means = _mm_packus_epi16(_mm_packs_epi32(means, means), means);
    const auto m = Mean ? static_cast<std::uint32_t>(_mm_cvtsi128_si32(means)) : 0u;
    // x86 is little-endian: cell j is bits 32j.. of the two halves.
    const auto lo = static_cast<std::uint64_t>(_mm_cvtsi128_si64(x));
    const auto hi = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(x, x)));
    const std::uint32_t cell[4] = {static_cast<std::uint32_t>(lo), static_cast<std::uint32_t>(lo >> 32),
                                   static_cast<std::uint32_t>(hi), static_cast<std::uint32_t>(hi >> 32)};
    for (std::size_t j = 0; j < 4; ++j) {
        std::memcpy(d + 5 * j, &cell[j], 4);
        d[5 * j + 4] = static_cast<std::uint8_t>(m >> (8 * j));
    }
}
#endif

// Four one-byte values a cell (cells packed from the start of `cells`, which holds 4 x num_bins
// bytes) into components 0..3 of (component, bin, slot), and their rounded mean into 4
// (0 without Mean, as percent good has it).
template <bool Mean = true>
inline void Store_Byte_Profile_With_Mean(const Byte_Block& cells, std::size_t num_bins, bool facing_up,
                                         Dense_Array<std::uint8_t>& out, std::size_t slot) {
    if (num_bins == 0) return;
    assert(cells.Fits(0, 4 * num_bins) && out.Extent(0) == 5 && num_bins <= out.Extent(1));
    // Plain local pointers: byte stores could otherwise alias the block and force reloads.
    const std::uint8_t* const src = cells.Data();
    std::uint8_t* const dst = &out(0, 0, slot);
    std::size_t k = 0;
#if defined(__SSE2__)
    for (; k + 4 <= num_bins; k += 4) Store_Four_Cells_With_Mean<Mean>(src, k, num_bins, facing_up, dst + 5 * k);
#endif
    for (; k < num_bins; ++k) Store_Cell_With_Mean<Mean>(src + 4 * File_Cell_Of_Bin(k, num_bins, facing_up), dst + 5 * k);
}

}  // namespace vantrel
