#include "synth_nb.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "decode/nb_decoder.h"
#include "nb_encoder.h"
#include "platform/text_format.h"
#include "synth_encoder.h"

namespace vantrel::synth {

namespace {

constexpr std::int16_t k_bad_input = -32768;

std::int16_t To_Count(std::int16_t mm_per_s, double factor) {
    if (mm_per_s == k_bad_input) return k_nb_bad_velocity_count;
    return static_cast<std::int16_t>(Round_Clamp(mm_per_s / factor, -2047, 2047));
}

std::array<std::int16_t, 4> To_Counts(const std::array<std::int16_t, 4>& v, double factor) {
    return {To_Count(v[0], factor), To_Count(v[1], factor), To_Count(v[2], factor), To_Count(v[3], factor)};
}

std::int16_t Circle_Units(std::int32_t hundredths) {
    return static_cast<std::int16_t>(static_cast<std::int32_t>(rnd(hundredths * 65536.0 / 36000)) & 0xFFFF);
}

NB_Ensemble_Values Leader_Values(const Synth_Options& opt, const Synth_Ensemble& e, double& factor) {
    NB_Ensemble_Values v;
    v.month = e.clock[1];
    v.day = e.clock[2];
    v.hour = e.clock[3];
    v.minute = e.clock[4];
    v.second = e.clock[5];
    const auto per_ping = static_cast<std::int64_t>(rnd(opt.interval * 10));  // hundredths over 10 pings
    v.ping_minutes = static_cast<std::uint8_t>(std::min<std::int64_t>(per_ping / 6000, 99));
    v.ping_seconds = static_cast<std::uint8_t>(per_ping / 100 % 60);
    v.ping_hundredths = static_cast<std::uint8_t>(per_ping % 100);
    v.pings_per_ens = 10;
    const int cells = static_cast<int>(std::lround(std::log2(opt.bin_size)));
    v.bin_length_code = static_cast<std::uint8_t>(cells);
    // (transmit + cell) / 2 + blank + delay puts the first cell's middle where the scenario has it.
    v.xmit_length = static_cast<std::uint8_t>((1 << cells) + 1);
    v.blank = 0;
    v.delay = 0;
    v.ens_number = static_cast<std::uint16_t>(e.number);
    v.status = 0;
    v.config = Synth_NB_Config(opt);
    v.snr_threshold = 30;
    v.pg_threshold = 25;
    v.pitch = Circle_Units(e.pitch);
    v.roll = Circle_Units(e.roll);
    v.heading = static_cast<std::uint16_t>(Circle_Units(e.heading));
    v.temperature_count = Synth_NB_Temperature_Count(e.temperature);
    v.battery = e.xmit_voltage;
    factor = Synth_NB_Vel_Factor(opt, v.temperature_count);
    if (opt.bottom_track) {
        v.bt_velocity = To_Counts(e.bt_vel, factor);
        for (std::size_t b = 0; b < 4; ++b) {
            v.bt_range[b] = static_cast<std::uint16_t>(Round_Clamp(e.bt_range[b] / k_nb_range_factor, 0, 65535));
        }
    } else {
        v.bt_velocity.fill(k_nb_bad_velocity_count);
    }
    v.num_bins = static_cast<std::uint8_t>(opt.bins);
    return v;
}

// The writer reserved exactly `expected` bytes at out.
void Copy_Out(const std::vector<std::uint8_t>& bytes, std::size_t expected, std::uint8_t* out) {
    if (bytes.size() != expected) throw std::logic_error("narrowband record of an unexpected size");
    std::memcpy(out, bytes.data(), bytes.size());
}

}  // namespace

std::uint8_t Synth_NB_Config(const Synth_Options& opt) {
    if (!opt.nb_bit7) return static_cast<std::uint8_t>(opt.nb_frequency << 4);
    return static_cast<std::uint8_t>(0x80 | (opt.nb_frequency << 4) | (opt.convex ? 0 : 0x08) |
                                     (opt.facing_up ? 0 : 0x04) | (opt.earth_coords ? 0x02 : 0) |
                                     (opt.nb_high_range ? 0x01 : 0));
}

std::uint16_t Synth_NB_Temperature_Count(std::int16_t hundredths) {
    return static_cast<std::uint16_t>(Round_Clamp((45 - hundredths / 100.0) * 4096 / 50, 0, 65535));
}

double Synth_NB_Vel_Factor(const Synth_Options& opt, std::uint16_t temperature_count) {
    const double t = NB_Temperature(temperature_count);
    const double sound_speed = 1449.2 + 4.6 * t - 0.055 * t * t + 0.00029 * t * t * t;
    return Decode_NB_Configuration(Synth_NB_Config(opt), false).vel_factor * sound_speed / 1536;
}

std::size_t Synth_NB_Ensemble_Bytes(const Synth_Options& opt) {
    return 14 + 63 + 18 * static_cast<std::size_t>(opt.bins) + 2;
}

void Encode_Synth_NB(const Synth_Options& opt, const Synth_Ensemble& e, std::uint8_t* out) {
    double factor = 1;
    NB_Ensemble_Values v = Leader_Values(opt, e, factor);
    const auto cells = static_cast<std::size_t>(opt.bins);
    v.velocity.resize(cells);
    v.correlation.assign(e.corr.begin(), e.corr.begin() + opt.bins);
    v.echo.assign(e.echo.begin(), e.echo.begin() + opt.bins);
    v.percent_good.resize(cells);
    for (std::size_t c = 0; c < cells; ++c) {
        v.velocity[c] = To_Counts(e.vel[c], factor);
        const auto& pg = e.pgood[c];
        // In earth coordinates the first byte stands for the cell: the four-beam share.
        v.percent_good[c] = opt.earth_coords ? std::array<std::uint8_t, 4>{pg[3], pg[2], pg[1], pg[0]} : pg;
    }
    Copy_Out(Encode_NB_Ensemble(v), Synth_NB_Ensemble_Bytes(opt), out);
}

void Encode_NB_Long_Record(const Synth_Options& opt, const Synth_Ensemble& e, std::uint8_t* out) {
    double factor = 1;
    NB_Ensemble_Values v = Leader_Values(opt, e, factor);
    std::vector<std::uint8_t> bytes = Encode_NB_Ensemble(v);  // leader only
    bytes.resize(bytes.size() - 2);                           // without its checksum
    const std::size_t n = k_long_record_bytes - 2, fill = n - bytes.size();
    bytes.resize(n);
    bytes[0] = static_cast<std::uint8_t>(n >> 8);
    bytes[1] = static_cast<std::uint8_t>(n);
    bytes[4] = static_cast<std::uint8_t>(fill >> 8);
    bytes[5] = static_cast<std::uint8_t>(fill);
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    bytes.push_back(static_cast<std::uint8_t>((sum >> 8) & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    Copy_Out(bytes, k_long_record_bytes, out);
}

}  // namespace vantrel::synth
