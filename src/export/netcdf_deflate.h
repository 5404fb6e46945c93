#pragma once
// The standard deflate filter of the HDF5 library under netCDF-4, compressing with
// libdeflate instead of zlib: several times faster at the same level, and its output is
// an ordinary zlib stream, so any reader decodes it with the built-in filter.

#include <cstdint>

namespace vantrel {

// Replaces the deflate filter (id 1) of this process's HDF5 library by the fast one, once;
// later calls do nothing. False when the library refused it (zlib then stays in use).
bool Register_Fast_Deflate();

// Chunks compressed by the fast filter in this process, and the level of the last one.
struct Fast_Deflate_Use {
    std::int64_t chunks = 0;
    int last_level = -1;
};
Fast_Deflate_Use Fast_Deflate_Used();

}  // namespace vantrel
