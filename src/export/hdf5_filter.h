#pragma once
// Puts a filter of this program in the place of one of the HDF5 library's predefined ones
// (deflate, shuffle), which the library otherwise keeps for itself. Files stay ordinary:
// the replacement writes and reads the same bytes as the filter it replaces.

#include <cstddef>

#include <hdf5.h>

namespace vantrel {

// False when this HDF5 library offers no way to do it; its own filter then stays in use.
bool Replace_Hdf5_Filter(const H5Z_class2_t& filter);

// A filter's result: frees the library's buffer *buf and puts out (of out_bytes, from
// H5allocate_memory) in its place. Returns out_bytes.
std::size_t Hand_Over_Buffer(void* out, std::size_t out_bytes, std::size_t* buf_size, void** buf);

}  // namespace vantrel
