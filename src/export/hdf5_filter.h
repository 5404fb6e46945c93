#pragma once
// Puts a filter of this program in the place of one of the HDF5 library's predefined ones
// (deflate, shuffle), which the library otherwise keeps for itself. Files stay ordinary:
// the replacement writes and reads the same bytes as the filter it replaces.

#include <cstddef>
#include <cstdint>

#include <hdf5.h>

namespace vantrel {

// False when this HDF5 library offers no way to do it; its own filter then stays in use.
bool Replace_Hdf5_Filter(const H5Z_class2_t& filter);

// A buffer of at least bytes for a filter's own work, kept by the thread and valid until
// the next call (null when memory runs out): a fresh buffer per chunk would cost the kernel a
// page fault per 4 KB.
std::uint8_t* Filter_Scratch(std::size_t bytes) noexcept;

}  // namespace vantrel
