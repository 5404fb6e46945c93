#pragma once
// The HDF5 shuffle filter, which stores the first bytes of a chunk's elements together, then
// the second bytes and so on, done by loops the compiler turns into vector code: several
// times as fast as the library's byte-at-a-time loop, and the same bytes, so any reader
// undoes it with the built-in filter.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vantrel {

// in's elements of element_bytes each, spread into byte planes in out (in's size); the
// bytes after the last whole element are copied as they are.
void Shuffle_Bytes(std::span<const std::uint8_t> in, std::size_t element_bytes, std::uint8_t* out);
// The inverse: byte planes in in, elements in out.
void Unshuffle_Bytes(std::span<const std::uint8_t> in, std::size_t element_bytes, std::uint8_t* out);

// Replaces the shuffle filter (id 2) of this process's HDF5 library by the fast one, once;
// later calls do nothing. False when the library refused it.
bool Register_Fast_Shuffle();

}  // namespace vantrel
