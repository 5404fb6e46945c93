#pragma once
// The scenario's ensembles in the narrowband structure: packed 12-bit velocity counts,
// decimal-coded clock, configuration byte, temperature counts, bottom track in the leader.

#include <cstdint>
#include <vector>

#include "synth_scenario.h"

namespace vantrel::synth {

// Configuration byte of the options: bit 7, frequency bits 4-6, bit 3 set when concave,
// bit 2 set when facing down, bit 1 earth coordinates, bit 0 high range.
std::uint8_t Synth_NB_Config(const Synth_Options& opt);

// Temperature count of a temperature in 0.01 degree Celsius (45 degrees is count 0).
std::uint16_t Synth_NB_Temperature_Count(std::int16_t hundredths);

// Velocity factor in mm/s per count that a reader derives from the configuration byte and
// the temperature count (through the speed of sound).
double Synth_NB_Vel_Factor(const Synth_Options& opt, std::uint16_t temperature_count);

// Bytes of every narrowband ensemble of the options, checksum included.
std::size_t Synth_NB_Ensemble_Bytes(const Synth_Options& opt);

// Writes ensemble e, checksum included, into out[0 .. Synth_NB_Ensemble_Bytes(opt)-1].
void Encode_Synth_NB(const Synth_Options& opt, const Synth_Ensemble& e, std::uint8_t* out);

// A checksum-correct narrowband record of k_long_record_bytes: e's leader and a velocity
// block of zeros that fills it up.
void Encode_NB_Long_Record(const Synth_Options& opt, const Synth_Ensemble& e, std::uint8_t* out);

}  // namespace vantrel::synth
