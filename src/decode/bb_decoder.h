#pragma once
// Decoder of broadband ensembles (little-endian, header 0x7F 0x7F, offset table).

#include <cstdint>

#include "dataset/data_set.h"
#include "decode/decode_options.h"
#include "decode/decoder_state.h"

namespace vantrel {

// Data-type identifiers of the broadband structure.
enum BB_Data_Type : std::uint16_t {
    k_id_fixed_leader = 0x0000,
    k_id_variable_leader = 0x0080,
    k_id_velocity = 0x0100,
    k_id_correlation = 0x0200,
    k_id_echo = 0x0300,
    k_id_percent_good = 0x0400,
    k_id_bottom_track = 0x0600,
    k_id_microcat = 0x0703,
    k_id_microcat_alt = 0x0800,
    k_id_qtrm = 0x1300,
    k_id_navigation = 0x2000,
};

// Smallest sizes, from the identifier, that hold every field the decoders read.
constexpr std::size_t k_fixed_leader_min = 42;
constexpr std::size_t k_variable_leader_min = 36;
constexpr std::size_t k_variable_leader_pressure_min = 52;
constexpr std::size_t k_bottom_track_min = 72;
constexpr std::size_t k_bottom_track_long_range_min = 81;
constexpr std::size_t k_qtrm_min = 40;
constexpr std::size_t k_navigation_min = 44;
constexpr std::size_t k_microcat_max_chars = 256;

// A record with exactly two data types and more than 8000 bytes holds no ensemble data
// the decoders use (its variable leader is skipped).
inline bool Is_NVRAM_Record(std::int32_t ens_bytes, std::int32_t num_data_types) {
    return ens_bytes > 8000 && num_data_types == 2;
}

// True when the broadband ensemble in Ens_Buffer is such a record (read before decoding).
inline bool Is_NVRAM_Ensemble(const Decoder_State& dec) {
    if (dec.Data_Structure != k_structure_bb || dec.Ens_Buffer.size() < 6) return false;
    return Is_NVRAM_Record(dec.Ens_Bytes, dec.Ens_Buffer[5]);
}

// Decodes the broadband ensemble in dec.Ens_Buffer (dec.Ens_Bytes before the
// checksum) into slot ds.Sub_Count and the set-up scalars. Blocks that do not fit
// inside the ensemble are skipped and their flags stay clear.
void BB_Ensemble(Decoder_State& dec, Data_Set& ds, const Decode_Options& opt);

// The ensemble number that BB_Ensemble would set from the ensemble in dec.Ens_Buffer,
// or unchanged when it would decode no variable leader; reads nothing else.
std::int32_t BB_Leader_Number(const Decoder_State& dec, std::int32_t unchanged);

// Firmware version from the version and revision bytes (revision 105 with version 16 is 16.05).
double Firmware_Version(std::uint8_t version, std::uint8_t revision);

}  // namespace vantrel
