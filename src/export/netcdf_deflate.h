#pragma once
// The standard deflate filter of the HDF5 library under netCDF-4, compressing with igzip
// (the lowest levels) or libdeflate instead of zlib: several times faster, and the output is
// an ordinary zlib stream, so any reader decodes it with the built-in filter.

#include <cstdint>

namespace vantrel {

// Replaces the deflate filter (id 1) of this process's HDF5 library by the fast one, once;
// later calls do nothing. False when the library refused it (zlib then stays in use).
bool Register_Fast_Deflate();

enum class Deflate_Encoder { k_none, k_igzip, k_libdeflate };

// Chunks compressed by the fast filter in this process, and the level and encoder of the
// last one.
struct Fast_Deflate_Use {
    std::int64_t chunks = 0;
    int last_level = -1;
    Deflate_Encoder last_encoder = Deflate_Encoder::k_none;
};
Fast_Deflate_Use Fast_Deflate_Used();

}  // namespace vantrel
