#include "synth_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/text_format.h"

namespace vantrel::synth {

namespace {

void Put_U16(std::uint8_t* p, std::size_t off, std::uint32_t v) {
    p[off] = static_cast<std::uint8_t>(v & 0xFF);
    p[off + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

void Put_U32(std::uint8_t* p, std::size_t off, std::uint32_t v) {
    Put_U16(p, off, v & 0xFFFF);
    Put_U16(p, off + 2, v >> 16);
}

void Put_S16(std::uint8_t* p, std::size_t off, std::int16_t v) { Put_U16(p, off, static_cast<std::uint16_t>(v)); }

std::uint16_t Cm(double metres) { return static_cast<std::uint16_t>(std::clamp(rnd(metres * 100), 0.0, 65535.0)); }

void Encode_Fixed_Leader(const Synth_Options& opt, std::uint8_t* p) {
    std::memset(p, 0, k_fixed_leader_bytes);
    const std::uint16_t bin_cm = Cm(opt.bin_size);
    Put_U16(p, 0, 0x0000);
    p[2] = Synth_Firmware_Version(opt);
    p[3] = opt.fw_revision;
    Put_U16(p, 4, Synth_Sys_Config(opt));
    p[6] = 0;  // real data
    p[7] = 7;  // lag, elements
    p[8] = 4;  // beams
    p[9] = static_cast<std::uint8_t>(opt.bins);
    constexpr std::uint16_t pings = 10;
    Put_U16(p, 10, pings);
    Put_U16(p, 12, bin_cm);
    Put_U16(p, 14, 50);  // blank after transmit, cm
    p[16] = 1;           // profiling mode
    p[17] = 64;          // correlation threshold
    p[18] = 5;           // code repetitions
    p[19] = 0;           // percent-good minimum
    Put_U16(p, 20, 2000);  // error velocity maximum, mm/s
    // Time per ping: the interval shared out among the pings.
    const auto per_ping = static_cast<std::int64_t>(rnd(opt.interval * 100 / pings));
    p[22] = static_cast<std::uint8_t>(std::min<std::int64_t>(per_ping / 6000, 255));
    p[23] = static_cast<std::uint8_t>(per_ping / 100 % 60);
    p[24] = static_cast<std::uint8_t>(per_ping % 100);
    p[25] = Synth_Coord_Byte(opt);
    Put_U16(p, 26, 0);  // heading alignment
    Put_U16(p, 28, 0);  // heading bias
    p[30] = 0x7D;       // sensor source: sound speed, depth, heading, pitch, roll, temperature
    p[31] = 0x3D;       // sensors available
    Put_U16(p, 32, Synth_Bin1_Dist_Cm(opt));
    Put_U16(p, 34, bin_cm);  // transmit pulse as long as a cell
    p[36] = 1;               // reference layer, first and last cell
    p[37] = 5;
    p[38] = 50;  // false target threshold
    p[39] = 0;   // trigger
    Put_U16(p, 40, static_cast<std::uint16_t>(bin_cm / 4));  // lag distance
    for (std::size_t i = 0; i < 8; ++i) p[42 + i] = static_cast<std::uint8_t>((opt.seed >> (8 * (i % 4))) + 17 * i);
    Put_U16(p, 50, 0);  // bandwidth: wide
    p[52] = 255;        // power level
    Put_U32(p, 54, static_cast<std::uint32_t>(opt.seed & 0xFFFFFFFF));  // instrument serial number
    p[58] = static_cast<std::uint8_t>(opt.beam_angle);
}

void Encode_Variable_Leader(const Synth_Ensemble& e, std::uint8_t* p) {
    std::memset(p, 0, k_variable_leader_bytes);
    Put_U16(p, 0, 0x0080);
    Put_U16(p, 2, static_cast<std::uint32_t>(e.number) & 0xFFFF);
    for (std::size_t i = 0; i < 7; ++i) p[4 + i] = e.clock[i];
    p[11] = static_cast<std::uint8_t>((e.number >> 16) & 0xFF);
    Put_U16(p, 12, e.bit_result);
    Put_U16(p, 14, e.sound_speed);
    Put_U16(p, 16, e.depth_dm);
    Put_U16(p, 18, e.heading);
    Put_S16(p, 20, e.pitch);
    Put_S16(p, 22, e.roll);
    Put_U16(p, 24, e.salinity);
    Put_S16(p, 26, e.temperature);
    p[35] = e.xmit_voltage;
    Put_U32(p, 48, e.pressure);
    p[57] = e.century;
    for (std::size_t i = 0; i < 7; ++i) p[58 + i] = e.clock[i];
}

void Encode_Byte_Profile(std::uint16_t id, int bins, const std::array<std::array<std::uint8_t, 4>, k_max_synth_bins>& v,
                         std::uint8_t* p) {
    Put_U16(p, 0, id);
    for (std::size_t c = 0; c < static_cast<std::size_t>(bins); ++c) std::memcpy(p + 2 + 4 * c, v[c].data(), 4);
}

void Encode_Bottom_Track(const Synth_Ensemble& e, std::uint8_t* p) {
    std::memset(p, 0, k_bottom_track_bytes);
    Put_U16(p, 0, 0x0600);
    Put_U16(p, 2, k_bt_pings);
    Put_U16(p, 4, 0);  // re-acquire delay
    p[6] = k_bt_corr_min;
    p[7] = k_bt_amp_min;
    p[8] = 0;
    p[9] = k_bt_mode;
    Put_U16(p, 10, k_bt_err_max);
    for (std::size_t b = 0; b < 4; ++b) {
        Put_U16(p, 16 + 2 * b, e.bt_range[b] & 0xFFFF);
        Put_S16(p, 24 + 2 * b, e.bt_vel[b]);
        p[32 + b] = 240;  // correlation
        p[36 + b] = 90;   // evaluation amplitude
        p[40 + b] = 100;  // percent good
        Put_S16(p, 50 + 2 * b, e.ref_vel[b]);
        p[58 + b] = 120;  // reference layer correlation, echo intensity, percent good
        p[62 + b] = 80;
        p[66 + b] = 100;
        p[72 + b] = 200;  // receiver signal strength at the bottom
        p[77 + b] = static_cast<std::uint8_t>((e.bt_range[b] >> 16) & 0xFF);
    }
    Put_U16(p, 44, k_bt_ref_layer[0]);
    Put_U16(p, 46, k_bt_ref_layer[1]);
    Put_U16(p, 48, k_bt_ref_layer[2]);
    Put_U16(p, 70, k_bt_max_depth);
    p[76] = 1;  // gain
}

void Encode_Navigation(const Synth_Ensemble& e, std::uint8_t* p) {
    std::memset(p, 0, k_navigation_bytes);
    Put_U16(p, 0, 0x2000);
    Put_U32(p, 14, static_cast<std::uint32_t>(e.first_lat));
    Put_U32(p, 18, static_cast<std::uint32_t>(e.first_lon));
    Put_U32(p, 26, static_cast<std::uint32_t>(e.last_lat));
    Put_U32(p, 30, static_cast<std::uint32_t>(e.last_lon));
    Put_U16(p, 40, e.nav_speed);
    Put_U16(p, 42, e.nav_direction);
}

void Encode_Flow_Meter(const Synth_Ensemble& e, std::uint8_t* p) {
    std::memset(p, 0, k_flow_meter_bytes);
    Put_U16(p, 0, 0x1300);
    Put_U16(p, 2, e.qtrm_depth);
    Put_U16(p, 8, e.qtrm_vel1);
    Put_U16(p, 10, e.qtrm_vel2);
    Put_U16(p, 36, e.qtrm_flow & 0xFFFF);
    Put_U16(p, 38, e.qtrm_flow >> 16);
}

void Encode_Header(std::uint8_t* p, std::size_t ens_bytes, std::size_t types) {
    p[0] = 0x7F;
    p[1] = 0x7F;
    Put_U16(p, 2, static_cast<std::uint32_t>(ens_bytes));
    p[4] = 0;
    p[5] = static_cast<std::uint8_t>(types);
}

}  // namespace

Synth_Layout Make_Synth_Layout(const Synth_Options& opt) {
    Synth_Layout l;
    const std::size_t bins = static_cast<std::size_t>(opt.bins);
    l.types = 6u + opt.bottom_track + opt.navigation + opt.flow_meter + opt.text_block;
    std::size_t at = 6 + 2 * l.types;
    const auto place = [&at](std::size_t& where, std::size_t size) {
        where = at;
        at += size;
    };
    place(l.fixed, k_fixed_leader_bytes);
    place(l.variable, k_variable_leader_bytes);
    place(l.velocity, 2 + 8 * bins);
    place(l.correlation, 2 + 4 * bins);
    place(l.echo, 2 + 4 * bins);
    place(l.percent_good, 2 + 4 * bins);
    if (opt.bottom_track) place(l.bottom_track, k_bottom_track_bytes);
    if (opt.navigation) place(l.navigation, k_navigation_bytes);
    if (opt.flow_meter) place(l.flow_meter, k_flow_meter_bytes);
    if (opt.text_block) place(l.text, 2 + opt.text.size() + 1);
    l.ens_bytes = at;
    return l;
}

void Store_Checksum(std::uint8_t* out, std::size_t n) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += out[i];
    Put_U16(out, n, sum & 0xFFFF);
}

void Encode_Ensemble(const Synth_Options& opt, const Synth_Layout& l, const Synth_Ensemble& e, std::uint8_t* out) {
    Encode_Header(out, l.ens_bytes, l.types);
    std::size_t entry = 6;
    const auto offset = [&](std::size_t where) {
        if (where == 0) return;
        Put_U16(out, entry, static_cast<std::uint32_t>(where));
        entry += 2;
    };
    for (std::size_t where : {l.fixed, l.variable, l.velocity, l.correlation, l.echo, l.percent_good, l.bottom_track,
                              l.navigation, l.flow_meter, l.text}) {
        offset(where);
    }
    Encode_Fixed_Leader(opt, out + l.fixed);
    Encode_Variable_Leader(e, out + l.variable);
    std::uint8_t* v = out + l.velocity;
    Put_U16(v, 0, 0x0100);
    for (std::size_t c = 0; c < static_cast<std::size_t>(opt.bins); ++c) {
        for (std::size_t b = 0; b < 4; ++b) Put_S16(v, 2 + 8 * c + 2 * b, e.vel[c][b]);
    }
    Encode_Byte_Profile(0x0200, opt.bins, e.corr, out + l.correlation);
    Encode_Byte_Profile(0x0300, opt.bins, e.echo, out + l.echo);
    Encode_Byte_Profile(0x0400, opt.bins, e.pgood, out + l.percent_good);
    if (l.bottom_track) Encode_Bottom_Track(e, out + l.bottom_track);
    if (l.navigation) Encode_Navigation(e, out + l.navigation);
    if (l.flow_meter) Encode_Flow_Meter(e, out + l.flow_meter);
    if (l.text) {
        Put_U16(out, l.text, 0x0703);
        std::memcpy(out + l.text + 2, opt.text.data(), opt.text.size());
        out[l.text + 2 + opt.text.size()] = 0;
    }
    Store_Checksum(out, l.ens_bytes);
}

void Encode_Long_Record(const Synth_Options& opt, const Synth_Ensemble& e, std::uint8_t* out) {
    constexpr std::size_t ens_bytes = k_long_record_bytes - 2;
    constexpr std::size_t fixed = 10, variable = fixed + k_fixed_leader_bytes;
    std::memset(out, 0, k_long_record_bytes);
    Encode_Header(out, ens_bytes, 2);
    Put_U16(out, 6, fixed);
    Put_U16(out, 8, variable);
    Encode_Fixed_Leader(opt, out + fixed);
    Encode_Variable_Leader(e, out + variable);  // the zeros after it pad the record
    Store_Checksum(out, ens_bytes);
}

}  // namespace vantrel::synth
