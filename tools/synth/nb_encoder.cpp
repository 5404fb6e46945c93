#include "nb_encoder.h"

namespace vantrel::synth {

namespace {

constexpr std::size_t k_leader_bytes = 63;  // the low byte of its size is the scanner's marker

void Put_U16_BE(std::vector<std::uint8_t>& out, std::size_t at, unsigned value) {
    out[at] = static_cast<std::uint8_t>(value >> 8);
    out[at + 1] = static_cast<std::uint8_t>(value);
}

template <typename Cell>
void Put_Byte_Cells(std::vector<std::uint8_t>& out, const std::vector<Cell>& cells) {
    for (const auto& cell : cells) out.insert(out.end(), cell.begin(), cell.end());
}

}  // namespace

std::uint8_t To_Decimal_Coded(unsigned value) {
    return static_cast<std::uint8_t>(((value / 10) % 10) * 16 + value % 10);
}

void Pack_12(const std::array<std::int16_t, 4>& counts, std::uint8_t* out) {
    unsigned v[4];
    for (int i = 0; i < 4; ++i) v[i] = static_cast<unsigned>(counts[static_cast<std::size_t>(i)]) & 0xFFFu;
    out[0] = static_cast<std::uint8_t>(v[0] >> 4);
    out[1] = static_cast<std::uint8_t>(((v[0] & 15) << 4) | (v[1] >> 8));
    out[2] = static_cast<std::uint8_t>(v[1]);
    out[3] = static_cast<std::uint8_t>(v[2] >> 4);
    out[4] = static_cast<std::uint8_t>(((v[2] & 15) << 4) | (v[3] >> 8));
    out[5] = static_cast<std::uint8_t>(v[3]);
}

std::vector<std::uint8_t> Encode_NB_Ensemble(const NB_Ensemble_Values& v) {
    std::vector<std::uint8_t> out(14, 0);
    std::vector<std::uint8_t> leader(k_leader_bytes, 0);
    const std::uint8_t clock[8] = {v.month, v.day, v.hour, v.minute, v.second,
                                   v.ping_minutes, v.ping_seconds, v.ping_hundredths};
    for (std::size_t i = 0; i < 8; ++i) leader[i] = To_Decimal_Coded(clock[i]);
    Put_U16_BE(leader, 8, v.pings_per_ens);
    leader[10] = v.num_bins;
    leader[11] = v.bin_length_code;
    leader[12] = v.xmit_length;
    leader[13] = v.blank;
    leader[14] = v.delay;
    Put_U16_BE(leader, 15, v.ens_number);
    leader[17] = v.status;
    leader[18] = v.config;
    leader[19] = v.snr_threshold;
    leader[20] = v.pg_threshold;
    Put_U16_BE(leader, 21, static_cast<std::uint16_t>(v.pitch));
    Put_U16_BE(leader, 23, static_cast<std::uint16_t>(v.roll));
    Put_U16_BE(leader, 25, v.heading);
    Put_U16_BE(leader, 27, v.temperature_count);
    leader[29] = v.battery;
    Pack_12(v.bt_velocity, &leader[41]);
    for (std::size_t b = 0; b < 4; ++b) Put_U16_BE(leader, 47 + 2 * b, v.bt_range[b]);
    out.insert(out.end(), leader.begin(), leader.end());
    Put_U16_BE(out, 2, k_leader_bytes);

    const std::size_t vel_at = out.size();
    for (const auto& cell : v.velocity) {
        std::uint8_t packed[6];
        Pack_12(cell, packed);
        out.insert(out.end(), packed, packed + 6);
    }
    Put_U16_BE(out, 4, static_cast<unsigned>(out.size() - vel_at));

    const std::vector<std::array<std::uint8_t, 4>>* byte_blocks[3] = {&v.correlation, &v.echo, &v.percent_good};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t at = out.size();
        Put_Byte_Cells(out, *byte_blocks[i]);
        Put_U16_BE(out, 6 + 2 * i, static_cast<unsigned>(out.size() - at));
    }

    const std::size_t n = out.size();
    Put_U16_BE(out, 0, static_cast<unsigned>(n));
    unsigned sum = 0;
    for (std::uint8_t byte : out) sum += byte;
    out.push_back(0);
    out.push_back(0);
    Put_U16_BE(out, n, sum & 0xFFFFu);
    return out;
}

}  // namespace vantrel::synth
