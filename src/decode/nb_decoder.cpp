#include "decode/nb_decoder.h"

#include <algorithm>
#include <cmath>

#include "dataset/data_codes.h"
#include "decode/profile_cells.h"
#include "platform/byte_reader.h"
#include "platform/text_format.h"

namespace vantrel {

namespace {

struct Target {
    Decoder_State& dec;
    Data_Set& ds;
    const Decode_Options& settings;
    std::size_t slot;
};

bool Facing_Up(const Decoder_State& dec) { return (dec.Sys_Config & 0x80) != 0; }

std::int16_t Scaled_Count(std::uint16_t raw12, double factor) {
    if (raw12 == k_nb_bad_count) return k_bad_velocity;
    return static_cast<std::int16_t>(Round_Clamp(NB_Signed_Count(raw12) * factor, -32767, 32767));
}

void NBDecodeLeader(const Byte_Block& b, Target& t) {
    Decoder_State& dec = t.dec;
    Data_Set& ds = t.ds;
    const std::size_t e = t.slot;

    ds.Sub_Time(0, e) = 80;  // no year in the leader
    for (std::size_t i = 0; i < 5; ++i) ds.Sub_Time(i + 1, e) = static_cast<std::uint8_t>(Decimal_Coded(b.Read_U8(i)));
    ds.Sub_Time(6, e) = 0;
    for (std::size_t i = 0; i < 3; ++i) dec.Time_Per_Ping[i] = static_cast<std::uint8_t>(Decimal_Coded(b.Read_U8(5 + i)));
    dec.Pings_Per_Ens = b.Read_U16_BE(8);
    dec.Num_Bins = b.Read_U8(10);
    Fit_Decoded_Bins(t.ds, dec.Num_Bins, t.settings);
    dec.Bin_Size = std::ldexp(1.0, b.Read_U8(11));
    dec.Bin1_Dist = (b.Read_U8(12) + dec.Bin_Size) / 2 + b.Read_U8(13) + b.Read_U8(14);

    dec.Cur_Ens_Number = b.Read_U16_BE(15);
    ds.Sub_Ens_Number(e) = dec.Cur_Ens_Number;
    ds.Sub_Anc(k_anc_bit, e) = b.Read_U8(17);

    const NB_Configuration cfg = Decode_NB_Configuration(b.Read_U8(18), t.settings.Flip);
    dec.NB_Vel_Factor = cfg.vel_factor;
    dec.Coord_Transform = cfg.coord_transform;
    dec.Sys_Config = cfg.sys_config;
    ds.Sub_Anc(k_anc_orientation, e) = cfg.facing_up ? 1 : 0;

    ds.Sub_Anc(k_anc_pitch, e) = static_cast<std::int32_t>(rnd(b.Read_S16_BE(21) * 36000.0 / 65536));
    ds.Sub_Anc(k_anc_roll, e) = static_cast<std::int32_t>(rnd(b.Read_S16_BE(23) * 36000.0 / 65536));
    ds.Sub_Anc(k_anc_heading, e) = static_cast<std::int32_t>(rnd(b.Read_U16_BE(25) * 36000.0 / 65536));

    const double temp = NB_Temperature(b.Read_U16_BE(27));
    ds.Sub_Anc(k_anc_temperature, e) = static_cast<std::int32_t>(rnd(temp * 100));
    const double sound_speed = 1449.2 + 4.6 * temp - 0.055 * temp * temp + 0.00029 * temp * temp * temp;
    dec.NB_Vel_Factor *= sound_speed / 1536;

    dec.Have_BT = true;
    ds.Sub_Anc(k_anc_depth, e) = 0;
    dec.NB_Range_Factor = k_nb_range_factor;
    ds.Sub_Anc(k_anc_battery, e) = b.Read_U8(29);
    dec.Slot_Written.Add(Slot_Writes::k_leader);
    dec.Slot_Written.Add(Slot_Writes::k_orientation);

    const std::uint8_t* packed = b.Data() + 41;  // 41..46 checked by the leader's size
    const double bt_factor = dec.NB_Vel_Factor * t.settings.BT_Vel_Scale;
    for (int beam = 0; beam < 4; ++beam) {
        const std::size_t bm = static_cast<std::size_t>(beam);
        const std::int16_t v = Scaled_Count(Unpack_12(packed, beam), bt_factor);
        ds.Sub_BT_Vel(bm, e) = v == k_bad_velocity ? v : static_cast<std::int16_t>(-v);
        ds.Sub_WM_Vel(bm, e) = k_bad_velocity;
        ds.Sub_BT_Range(bm, e) =
            v == k_bad_velocity ? 0 : static_cast<std::int32_t>(rnd(b.Read_U16_BE(47 + 2 * bm) * dec.NB_Range_Factor));
    }
    for (std::size_t c = 4; c < 6; ++c) {
        ds.Sub_BT_Range(c, e) = 0;
        ds.Sub_BT_Vel(c, e) = ds.Sub_WM_Vel(c, e) = 0;
    }
    dec.Slot_Written.Add(Slot_Writes::k_bottom_track);
}

void NBVelocity(const Byte_Block& b, Target& t) {
    const std::size_t n = static_cast<std::size_t>(t.dec.Num_Bins);
    const bool up = Facing_Up(t.dec);
    const double factor = t.dec.NB_Vel_Factor * t.settings.Vel_Scale;
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint8_t* cell = b.Data() + 6 * File_Cell_Of_Bin(k, n, up);
        std::int16_t* out = &t.ds.Sub_Vel(0, k, t.slot);
        for (int beam = 0; beam < 4; ++beam) out[beam] = Scaled_Count(Unpack_12(cell, beam), factor);
        out[4] = out[5] = out[6] = out[7] = 0;  // whole cells, so the slot needs no clearing first
    }
    t.dec.Slot_Written.vel_bins = static_cast<std::uint16_t>(n);
}

void NBCorrelation(const Byte_Block& b, Target& t) {
    Store_Byte_Profile_With_Mean(b, static_cast<std::size_t>(t.dec.Num_Bins), Facing_Up(t.dec), t.ds.Sub_Corr, t.slot);
    t.dec.Slot_Written.corr_bins = static_cast<std::uint16_t>(t.dec.Num_Bins);
}
void NBEcho(const Byte_Block& b, Target& t) {
    Store_Byte_Profile_With_Mean(b, static_cast<std::size_t>(t.dec.Num_Bins), Facing_Up(t.dec), t.ds.Sub_Echo, t.slot);
    t.dec.Slot_Written.echo_bins = static_cast<std::uint16_t>(t.dec.Num_Bins);
}

void NBPercentGood(const Byte_Block& b, Target& t) {
    const std::int32_t transform = t.dec.Coord_Transform;
    if (transform != 0 && transform != 24) return;
    const std::size_t n = static_cast<std::size_t>(t.dec.Num_Bins);
    const bool up = Facing_Up(t.dec);
    // Bad marks go over the velocities: cells the velocity block did not write read as cleared.
    Slot_Writes& wrote = t.dec.Slot_Written;
    if (wrote.vel_bins < n) {
        std::int16_t* vel = t.ds.Sub_Vel.Slice(t.slot);
        std::fill(vel + 8 * std::size_t{wrote.vel_bins}, vel + 8 * n, std::int16_t{0});
        wrote.vel_bins = static_cast<std::uint16_t>(n);
    }
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t cell = File_Cell_Of_Bin(k, n, up);
        t.ds.Sub_PGood(4, k, t.slot) = 0;
        for (std::size_t beam = 0; beam < 4; ++beam) {
            const std::uint8_t pg = b.Read_U8(cell * 4 + beam);
            t.ds.Sub_PGood(beam, k, t.slot) = pg;
            if (pg == 0 && transform == 0) t.ds.Sub_Vel(beam, k, t.slot) = k_bad_velocity;
        }
        // In earth coordinates one percent-good figure stands for the whole cell.
        if (transform == 24 && b.Read_U8(cell * 4) == 0) {
            for (std::size_t c = 0; c < 4; ++c) t.ds.Sub_Vel(c, k, t.slot) = k_bad_velocity;
        }
    }
    wrote.pgood_bins = static_cast<std::uint16_t>(n);
}

}  // namespace

std::int32_t Decimal_Coded(std::uint8_t byte) {
    const int high = byte >> 4, low = byte & 15;
    if (high > 9) return 0;
    if (low > 9) return high;
    return high * 10 + low;
}

NB_Configuration Decode_NB_Configuration(std::uint8_t config, bool flip_checked) {
    NB_Configuration out;
    if (config & 0x80) {
        out.vel_factor = (config & 0x01) ? 2.5 : 1.25;
        if (config & 0x02) {
            out.coord_transform = 24;
            out.vel_factor *= 2;
        }
        const int frequency = (config >> 4) & 7;
        if (frequency == 0 && !(config & 0x01)) out.vel_factor *= 2;
        out.facing_up = ((config & 0x04) == 0) != flip_checked;
        out.sys_config = 16896 + frequency + (out.facing_up ? 128 : 0) + ((config & 0x08) ? 0 : 8);
    } else {
        out.coord_transform = 24;
        out.vel_factor = 5;
        out.facing_up = flip_checked;
        out.sys_config = out.facing_up ? 135 : 7;
    }
    return out;
}

void NB_Ensemble(Decoder_State& dec, Data_Set& ds, const Decode_Options& opt) {
    dec.Clear_Have_Flags();
    dec.Slot_Written = {};
    const std::size_t data_bytes =
        std::min(dec.Ens_Buffer.size(), static_cast<std::size_t>(std::max(dec.Ens_Bytes, 0)));
    const Byte_Block ensemble(dec.Ens_Buffer.data(), data_bytes);
    if (!ensemble.Fits(0, k_nb_header_bytes) || ds.Sub_Count < 0 || ds.Sub_Count >= ds.Sub_Slots()) return;
    Target t{dec, ds, opt, static_cast<std::size_t>(ds.Sub_Count)};

    std::size_t offset = k_nb_header_bytes;
    for (std::size_t block = 0; block < 5; ++block) {
        const std::size_t size = ensemble.Read_U16_BE(2 + 2 * block);
        if (size == 0) continue;
        const std::size_t at = offset;
        offset += size;
        const std::size_t bins = static_cast<std::size_t>(dec.Num_Bins);
        std::size_t needed = 0;
        switch (block) {
            case 0: needed = k_nb_leader_min; break;
            case 1: needed = 6 * bins; break;
            default: needed = 4 * bins; break;
        }
        // The declared block must lie inside the ensemble, and what its decoder reads inside the block.
        const auto declared = ensemble.Sub(at, size);
        if (!declared) break;
        const auto b = declared->Sub(0, needed);
        if (!b) continue;
        switch (block) {
            case 0: NBDecodeLeader(*b, t); break;
            case 1: NBVelocity(*b, t); break;
            case 2: NBCorrelation(*b, t); break;
            case 3: NBEcho(*b, t); break;
            default: NBPercentGood(*b, t); break;
        }
        const bool read = !b->Overran();  // a decoder that read past its block made nothing of it
        switch (block) {
            case 0: dec.Have_FL = dec.Have_VL = read; break;
            case 1: dec.Have_Vel = read; break;
            case 2: dec.Have_Corr = read; break;
            case 3: dec.Have_Echo = read; break;
            default: dec.Have_PG = read && (dec.Coord_Transform == 0 || dec.Coord_Transform == 24); break;
        }
    }
}

std::int32_t NB_Leader_Number(const Decoder_State& dec, std::int32_t unchanged) {
    const std::size_t data_bytes =
        std::min(dec.Ens_Buffer.size(), static_cast<std::size_t>(std::max(dec.Ens_Bytes, 0)));
    const Byte_Block ensemble(dec.Ens_Buffer.data(), data_bytes);
    if (!ensemble.Fits(0, k_nb_header_bytes)) return unchanged;
    const std::size_t size = ensemble.Read_U16_BE(2);
    if (size == 0 || size < k_nb_leader_min || !ensemble.Fits(k_nb_header_bytes, size)) return unchanged;
    return ensemble.Read_U16_BE(k_nb_header_bytes + 15);
}

}  // namespace vantrel
