#pragma once
// Writes narrowband ensembles: the values a narrowband ensemble carries -> its bytes.

#include <array>
#include <cstdint>
#include <vector>

namespace vantrel::synth {

// Velocity counts are signed 12-bit values; -2048 is written as the bad mark 2048.
constexpr std::int16_t k_nb_bad_velocity_count = -2048;

struct NB_Ensemble_Values {
    // Clock as plain numbers; written decimal-coded.
    std::uint8_t month = 1, day = 1, hour = 0, minute = 0, second = 0;
    std::uint8_t ping_minutes = 0, ping_seconds = 1, ping_hundredths = 0;
    std::uint16_t pings_per_ens = 1;
    std::uint8_t bin_length_code = 2;  // bin size 2^L m
    std::uint8_t xmit_length = 4, blank = 1, delay = 0;  // m
    std::uint16_t ens_number = 1;
    std::uint8_t status = 0;
    std::uint8_t config = 0x80;
    std::uint8_t snr_threshold = 0;     // 0.1 dB
    std::uint8_t pg_threshold = 0;
    std::int16_t pitch = 0, roll = 0;   // full circle = 65536
    std::uint16_t heading = 0;          // full circle = 65536
    std::uint16_t temperature_count = 0;
    std::uint8_t battery = 0;
    std::array<std::int16_t, 4> bt_velocity{};  // counts
    std::array<std::uint16_t, 4> bt_range{};    // counts

    // Profiles in file cell order, four beams a cell; a block is written only when its vector is not empty.
    std::uint8_t num_bins = 0;
    std::vector<std::array<std::int16_t, 4>> velocity;
    std::vector<std::array<std::uint8_t, 4>> correlation, echo, percent_good;
};

// The complete ensemble: header, blocks, big-endian checksum.
std::vector<std::uint8_t> Encode_NB_Ensemble(const NB_Ensemble_Values& v);

// A number 0..99 as two decimal digits in one byte (23 -> 0x23).
std::uint8_t To_Decimal_Coded(unsigned value);

// Packs four signed 12-bit counts into six bytes at out.
void Pack_12(const std::array<std::int16_t, 4>& counts, std::uint8_t* out);

}  // namespace vantrel::synth
