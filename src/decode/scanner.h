#pragma once
// Finds the next complete ensemble with a correct checksum from the current file
// position, copies it into Ens_Buffer and leaves the file just behind it.

#include <cstdint>

#include "decode/decoder_state.h"
#include "platform/binary_file.h"
#include "platform/progress.h"

namespace vantrel {

constexpr std::int32_t k_bb_skip_limit = 10000;   // non-header bytes before a search gives up
constexpr std::int32_t k_nb_skip_limit = 0x10000; // non-marker bytes before a search gives up
constexpr std::int32_t k_bb_min_ens_bytes = 6;    // header and data-type count
constexpr std::int32_t k_nb_min_ens_bytes = 14;   // byte count and the six block sizes

// Searches for a broadband ensemble (0x7F 0x7F, little-endian checksum). A candidate
// that fails its checksum or runs past the end of the file is passed over and the search
// resumes one byte after its first header byte. On failure (end of file or skip limit)
// Ens_Bytes is restored and the file position is wherever the search stopped.
bool BB_Search(Binary_File& file, Decoder_State& dec, Progress_Hooks& progress);

// Searches for a narrowband ensemble (0x3F at offset 3, big-endian checksum); resumes one
// byte after a marker whose candidate fails.
bool NB_Search(Binary_File& file, Decoder_State& dec, Progress_Hooks& progress);

// Runs the search of dec.Data_Structure; an unknown structure clears file_loaded and finds nothing.
bool Get_Next_Ensemble(Binary_File& file, Decoder_State& dec, bool& file_loaded, Progress_Hooks& progress);

// 2 when a broadband ensemble is found from the start of the file, else 1 for a
// narrowband one, else 0. Leaves the file at its beginning.
std::int32_t Determine_File_Data_Structure(Binary_File& file, Decoder_State& dec, Progress_Hooks& progress);

// Sum of bytes modulo 65536.
std::uint16_t Checksum(const std::uint8_t* data, std::size_t n);

}  // namespace vantrel
