#pragma once
// What today's instruments do to a file: ensembles whose data types (and so lengths) vary,
// a set-up that changes part-way, and records of acquisition programs between ensembles.

#include <cstddef>
#include <cstdint>

#include "synth_scenario.h"

namespace vantrel::synth {

constexpr std::uint8_t k_foreign_id = 0x79;  // second byte of a foreign record, after 0x7F
constexpr std::size_t k_foreign_min_bytes = 36, k_foreign_spread_bytes = 9;  // 36 to 44 bytes each

// True when some ensemble is shaped by other options than opt itself.
bool Ensemble_Options_Vary(const Synth_Options& opt);

// The options that shape ensemble index (0-based): from setup_change_at on the other cell
// count and size; with vary_length bottom track on two of three, navigation on every other
// and a text block of 8 to 168 characters, so that neighbours never have one length.
Synth_Options Ensemble_Options(const Synth_Options& opt, std::int64_t index);

// The other set-up, checked: new_bins and new_bin_size when given, else twice the cells
// (at most 255; 255 gives 128) of half the size (narrowband: twice the size when 1 m).
// Throws std::invalid_argument naming the bad option.
void Resolve_Setup_Change(Synth_Options& opt);

// Length of the next foreign record, 36 to 44 bytes; a run of them is whole records, so it
// ends up to 43 bytes beyond the bytes asked for.
std::size_t Next_Foreign_Length(Synth_Rng& rng);

// Writes a record 0x7F 0x79, byte count, body, little-endian checksum into out[0 .. n-1];
// no byte after the first is 0x7F or marker, so no scanner starts a candidate inside it.
void Encode_Foreign_Record(std::uint8_t* out, std::size_t n, Synth_Rng& rng, std::uint8_t marker);

}  // namespace vantrel::synth
