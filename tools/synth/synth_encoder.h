#pragma once
// Encodes synthetic ensembles in the broadband structure: header 0x7F 0x7F, byte
// count, offset table, data types, little-endian checksum.

#include <cstddef>
#include <cstdint>

#include "synth_scenario.h"

namespace vantrel::synth {

constexpr std::size_t k_fixed_leader_bytes = 59;
constexpr std::size_t k_variable_leader_bytes = 65;
constexpr std::size_t k_bottom_track_bytes = 85;
constexpr std::size_t k_navigation_bytes = 46;
constexpr std::size_t k_flow_meter_bytes = 40;
constexpr std::size_t k_long_record_bytes = 8260;  // byte count 8258, the size of an instrument memory record

// Bottom-track set-up written into every bottom-track block.
constexpr std::uint16_t k_bt_pings = 10;
constexpr std::uint8_t k_bt_corr_min = 220, k_bt_amp_min = 30, k_bt_mode = 5;
constexpr std::uint16_t k_bt_err_max = 1000;       // mm/s
constexpr std::uint16_t k_bt_ref_layer[3] = {20, 88, 320};  // minimum, near and far, dm
constexpr std::uint16_t k_bt_max_depth = 10000;    // dm

// Where each data type sits in an ensemble of a given set of options; 0 = absent.
struct Synth_Layout {
    std::size_t types = 0;
    std::size_t fixed = 0, variable = 0, velocity = 0, correlation = 0, echo = 0, percent_good = 0;
    std::size_t bottom_track = 0, navigation = 0, flow_meter = 0, text = 0;
    std::size_t ens_bytes = 0;  // bytes before the checksum
    std::size_t Total() const { return ens_bytes + 2; }
};

// The layout of every ensemble the options produce (all have the same size).
Synth_Layout Make_Synth_Layout(const Synth_Options& opt);

// Writes the ensemble, checksum included, into out[0 .. layout.Total()-1].
void Encode_Ensemble(const Synth_Options& opt, const Synth_Layout& layout, const Synth_Ensemble& e, std::uint8_t* out);

// Writes a record of exactly two data types, the fixed leader and e's variable leader
// padded with zeros, of k_long_record_bytes bytes, checksum included.
void Encode_Long_Record(const Synth_Options& opt, const Synth_Ensemble& e, std::uint8_t* out);

// Little-endian sum of out[0 .. n-1] modulo 65536, stored at out[n].
void Store_Checksum(std::uint8_t* out, std::size_t n);

}  // namespace vantrel::synth
