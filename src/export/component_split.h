#pragma once
// Splits a profile of eight 16-bit components per bin, as Sub_Vel holds it, into one
// contiguous run per component: the transposition the netCDF gathers need, eight bins at a
// time in vector registers where the processor has them.

#include <array>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vantrel {

// Components 0..Comps-1 (Comps <= 8) of bins 0..bins-1 of src (8 values a bin) to dst[c][0..bins-1].
template <std::size_t Comps>
void Split_Components(const std::int16_t* src, std::size_t bins, const std::array<std::int16_t*, Comps>& dst) {
    static_assert(Comps <= 8);
    std::size_t bin = 0;
#if defined(__SSE2__)
    for (; bin + 8 <= bins; bin += 8) {
        __m128i a[8];
        for (std::size_t k = 0; k < 8; ++k) a[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 8 * (bin + k)));
        // Pairs of bins, then fours, then eights, interleaved: row c ends up holding component c.
        __m128i t[8], u[8];
        for (std::size_t k = 0; k < 4; ++k) {
            t[2 * k] = _mm_unpacklo_epi16(a[2 * k], a[2 * k + 1]);
            t[2 * k + 1] = _mm_unpackhi_epi16(a[2 * k], a[2 * k + 1]);
        }
        for (std::size_t h = 0; h < 2; ++h) {  // bins 0-3, then 4-7
            const __m128i* p = t + 4 * h;
            u[4 * h + 0] = _mm_unpacklo_epi32(p[0], p[2]);  // components 0, 1
            u[4 * h + 1] = _mm_unpackhi_epi32(p[0], p[2]);  // 2, 3
            u[4 * h + 2] = _mm_unpacklo_epi32(p[1], p[3]);  // 4, 5
            u[4 * h + 3] = _mm_unpackhi_epi32(p[1], p[3]);  // 6, 7
        }
        for (std::size_t c = 0; c < Comps; ++c) {
            const __m128i low = u[c / 2], high = u[4 + c / 2];
            const __m128i row = c % 2 == 0 ? _mm_unpacklo_epi64(low, high) : _mm_unpackhi_epi64(low, high);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst[c] + bin), row);
        }
    }
#endif
    for (; bin < bins; ++bin) {
        for (std::size_t c = 0; c < Comps; ++c) dst[c][bin] = src[8 * bin + c];
    }
}

}  // namespace vantrel
