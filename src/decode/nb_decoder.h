#pragma once
// Decoder of narrowband ensembles: five blocks with big-endian sizes, packed 12-bit
// velocities and decimal-coded clock fields.

#include <cstdint>

#include "dataset/data_set.h"
#include "decode/decode_options.h"
#include "decode/decoder_state.h"

namespace vantrel {

constexpr std::size_t k_nb_header_bytes = 14;  // byte count and the six block sizes
constexpr std::size_t k_nb_leader_min = 55;    // through the last bottom-track range
constexpr std::uint16_t k_nb_bad_count = 2048; // 12-bit value of a bad velocity
constexpr double k_nb_range_factor = 153600 / 1475.1;  // cm per range count

// Decodes the narrowband ensemble in dec.Ens_Buffer into slot ds.Sub_Count and the
// set-up scalars. A block that does not fit inside the ensemble is skipped.
void NB_Ensemble(Decoder_State& dec, Data_Set& ds, const Decode_Options& opt);

// The ensemble number that NB_Ensemble would set from the ensemble in dec.Ens_Buffer,
// or unchanged when it would decode no leader; reads nothing else.
std::int32_t NB_Leader_Number(const Decoder_State& dec, std::int32_t unchanged);

// The byte's two hexadecimal digits read as a decimal number; a digit above 9 ends it (0x1A -> 1).
std::int32_t Decimal_Coded(std::uint8_t byte);

// Signed count of a 12-bit field (values above 2048 are negative; 2048 itself is the bad mark).
inline std::int32_t NB_Signed_Count(std::uint16_t raw12) { return raw12 > 2048 ? raw12 - 4096 : raw12; }

// Beam b (0..3) of four 12-bit values packed into six bytes.
inline std::uint16_t Unpack_12(const std::uint8_t* p, int beam) {
    switch (beam) {
        case 0: return static_cast<std::uint16_t>(p[0] * 16 + (p[1] >> 4));
        case 1: return static_cast<std::uint16_t>((p[1] & 15) * 256 + p[2]);
        case 2: return static_cast<std::uint16_t>(p[3] * 16 + (p[4] >> 4));
        default: return static_cast<std::uint16_t>((p[4] & 15) * 256 + p[5]);
    }
}

// Velocity factor (mm/s per count), coordinate byte, system configuration word and
// facing of a narrowband configuration byte, before the speed-of-sound correction.
struct NB_Configuration {
    double vel_factor = 0;
    std::int32_t coord_transform = 0;
    std::int32_t sys_config = 0;
    bool facing_up = false;
};
NB_Configuration Decode_NB_Configuration(std::uint8_t config, bool flip_checked);

// Temperature in degrees Celsius of a narrowband temperature count.
inline double NB_Temperature(std::uint16_t count) { return 45 - count * 50.0 / 4096; }

}  // namespace vantrel
