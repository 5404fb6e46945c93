#include "export/netcdf_shuffle.h"

#include <algorithm>
#include <cstring>

#include "export/hdf5_filter.h"

namespace vantrel {

namespace {

// Element sizes known at compile time give the vectoriser fixed strides.
template <bool k_spread, std::size_t k_size>
void Transpose_Fixed(const std::uint8_t* in, std::size_t elements, std::uint8_t* out) {
    for (std::size_t i = 0; i < elements; ++i) {
        for (std::size_t j = 0; j < k_size; ++j) {
            if constexpr (k_spread) out[j * elements + i] = in[i * k_size + j];
            else out[i * k_size + j] = in[j * elements + i];
        }
    }
}

template <bool k_spread>
void Transpose(std::span<const std::uint8_t> in, std::size_t size, std::uint8_t* out) {
    const std::size_t elements = size == 0 ? 0 : in.size() / size;
    switch (size) {
        case 2: Transpose_Fixed<k_spread, 2>(in.data(), elements, out); break;
        case 4: Transpose_Fixed<k_spread, 4>(in.data(), elements, out); break;
        case 8: Transpose_Fixed<k_spread, 8>(in.data(), elements, out); break;
        default:
            for (std::size_t i = 0; i < elements; ++i) {
                for (std::size_t j = 0; j < size; ++j) {
                    if constexpr (k_spread) out[j * elements + i] = in[i * size + j];
                    else out[i * size + j] = in[j * elements + i];
                }
            }
    }
    const std::size_t whole = elements * size;
    std::copy(in.begin() + static_cast<std::ptrdiff_t>(whole), in.end(), out + whole);
}

// The library sets the element size when a variable is defined; a filter in its place must too.
herr_t Set_Element_Size(hid_t dcpl, hid_t type, hid_t) {
    const std::size_t size = H5Tget_size(type);
    unsigned flags = 0;
    std::size_t count = H5Z_SHUFFLE_TOTAL_NPARMS;
    unsigned values[H5Z_SHUFFLE_TOTAL_NPARMS] = {};
    if (size == 0 || H5Pget_filter_by_id2(dcpl, H5Z_FILTER_SHUFFLE, &flags, &count, values, 0, nullptr, nullptr) < 0) return -1;
    values[0] = static_cast<unsigned>(size);
    return H5Pmodify_filter(dcpl, H5Z_FILTER_SHUFFLE, flags, H5Z_SHUFFLE_TOTAL_NPARMS, values);
}

std::size_t Filter(unsigned flags, std::size_t cd_nelmts, const unsigned cd_values[], std::size_t nbytes,
                   std::size_t*, void** buf) {
    if (cd_nelmts != H5Z_SHUFFLE_TOTAL_NPARMS || cd_values[0] == 0) return 0;
    const std::size_t size = cd_values[0];
    // As the library does: nothing to spread in single bytes or a single element.
    if (size == 1 || nbytes / size <= 1) return nbytes;
    // In place, through a copy: the library's buffer is reused, with no fresh pages to fault in.
    std::uint8_t* copy = Filter_Scratch(nbytes);
    if (copy == nullptr) return 0;
    std::memcpy(copy, *buf, nbytes);
    const std::span<const std::uint8_t> in(copy, nbytes);
    auto* out = static_cast<std::uint8_t*>(*buf);
    if (flags & H5Z_FLAG_REVERSE) Unshuffle_Bytes(in, size, out);
    else Shuffle_Bytes(in, size, out);
    return nbytes;
}

}  // namespace

void Shuffle_Bytes(std::span<const std::uint8_t> in, std::size_t element_bytes, std::uint8_t* out) {
    Transpose<true>(in, element_bytes, out);
}

void Unshuffle_Bytes(std::span<const std::uint8_t> in, std::size_t element_bytes, std::uint8_t* out) {
    Transpose<false>(in, element_bytes, out);
}

bool Register_Fast_Shuffle() {
    static const H5Z_class2_t k_filter = {
        H5Z_CLASS_T_VERS, H5Z_FILTER_SHUFFLE, 1, 1, "shuffle", nullptr, Set_Element_Size, Filter,
    };
    static const bool registered = Replace_Hdf5_Filter(k_filter);
    return registered;
}

}  // namespace vantrel
