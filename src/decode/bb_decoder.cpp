#include "decode/bb_decoder.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "dataset/data_codes.h"
#include "decode/profile_cells.h"
#include "platform/byte_reader.h"
#include "platform/text_format.h"

namespace vantrel {

namespace {

constexpr double k_pressure_agreement_mm = 200;

struct Target {
    Decoder_State& dec;
    Data_Set& ds;
    const Decode_Options& settings;
    bool flip;
    std::size_t slot;
};

std::int16_t Scaled_Velocity(std::uint16_t raw, double scale) {
    if (raw == 0x8000) return k_bad_velocity;
    const auto value = static_cast<std::int16_t>(raw);
    if (scale == 1.0) return value;  // already within -32767..32767
    return static_cast<std::int16_t>(Round_Clamp(value * scale, -32767, 32767));
}

bool Facing_Up(const Decoder_State& dec) { return (dec.Sys_Config & 0x80) != 0; }

double Cos_Deg_Product(double a_rad, double b_rad) { return std::cos(a_rad) * std::cos(b_rad); }

void BBFixedLeader(const Byte_Block& b, Target& t) {
    Decoder_State& dec = t.dec;
    const std::uint8_t version = b.Read_U8(2);
    dec.FW_Version = Firmware_Version(version, b.Read_U8(3));
    dec.Is_QTRM = version == 6 || version == 21;
    dec.Sys_Config = b.Read_U16_LE(4);
    if (t.flip) dec.Sys_Config ^= 0x80;
    t.ds.Sub_Anc(k_anc_orientation, t.slot) = Facing_Up(dec) ? 1 : 0;
    dec.Slot_Written.Add(Slot_Writes::k_orientation);
    dec.Num_Bins = b.Read_U8(9);
    Fit_Decoded_Bins(t.ds, dec.Num_Bins, t.settings);
    dec.Pings_Per_Ens = b.Read_U16_LE(10);
    dec.Bin_Size = b.Read_U16_LE(12) / 100.0;
    dec.Profiling_Mode = b.Read_U8(16);
    dec.Time_Per_Ping[0] = b.Read_U8(22);
    dec.Time_Per_Ping[1] = b.Read_U8(23);
    dec.Time_Per_Ping[2] = b.Read_U8(24);
    dec.Coord_Transform = b.Read_U8(25);
    dec.Bin1_Dist = b.Read_U16_LE(32) / 100.0;
    dec.Xmit_Length = b.Read_U16_LE(34) / 100.0;
    dec.Lag_Length = b.Read_U16_LE(40) / 100.0;

    const double deg20 = 20 * k_pi / 180, deg10 = 10 * k_pi / 180, deg30 = 30 * k_pi / 180;
    dec.Bin_Size_C20C10 = dec.Bin_Size * Cos_Deg_Product(deg20, deg10);
    dec.Bin_Size_C30C20 = dec.Bin_Size * Cos_Deg_Product(deg30, deg20);
    dec.Bin1_Dist_C20C10 = dec.Bin1_Dist * Cos_Deg_Product(deg20, deg10);
    dec.Bin1_Dist_C30C20 = dec.Bin1_Dist * Cos_Deg_Product(deg30, deg20);
    if (dec.Is_QTRM) {
        dec.Bin_Size = dec.Bin_Size_C30C20;
        dec.Bin1_Dist = dec.Bin1_Dist_C30C20;
    }
}

void BBVariableLeader(const Byte_Block& b, Target& t) {
    Data_Set& ds = t.ds;
    const std::size_t e = t.slot;
    const std::int32_t number = b.Read_U8(11) * 65536 + b.Read_U16_LE(2);
    t.dec.Cur_Ens_Number = number;
    ds.Sub_Ens_Number(e) = number;
    for (std::size_t i = 0; i < 7; ++i) ds.Sub_Time(i, e) = b.Read_U8(4 + i);
    if (ds.Sub_Time(0, e) > 99) ds.Sub_Time(0, e) = static_cast<std::uint8_t>(ds.Sub_Time(0, e) - 100);
    ds.Sub_Anc(k_anc_bit, e) = b.Read_U16_LE(12);
    ds.Sub_Anc(k_anc_depth, e) = b.Read_U16_LE(16) * 100;
    ds.Sub_Anc(k_anc_heading, e) = b.Read_U16_LE(18);
    ds.Sub_Anc(k_anc_pitch, e) = b.Read_S16_LE(20);
    ds.Sub_Anc(k_anc_roll, e) = b.Read_S16_LE(22);
    ds.Sub_Anc(k_anc_temperature, e) = b.Read_S16_LE(26);
    ds.Sub_Anc(k_anc_battery, e) = b.Read_U8(35);
    t.dec.Slot_Written.Add(Slot_Writes::k_leader);

    if (!b.Fits(48, 4)) return;  // a short leader carries no pressure
    const double pressure = b.Read_U32_LE(48);
    const double salinity = b.Read_U16_LE(24);
    const double transducer_depth = ds.Sub_Anc(k_anc_depth, e);
    double d = pressure * (1.02 - 0.00069 * salinity);
    d = std::min(d, 2147483647.0);
    d = std::max(d, transducer_depth - 2147483647.0);
    if (std::fabs(rnd(d) - transducer_depth) < k_pressure_agreement_mm) {
        const double density = t.settings.Water_Density;
        ds.Sub_Anc(k_anc_depth, e) = Round_Clamp(d * 1000 / density, -2147483648.0, 2147483647.0);
        ++t.dec.Pressure_Agree_Count;
    } else {
        --t.dec.Pressure_Agree_Count;
    }
}

void BBVelocity(const Byte_Block& b, Target& t) {
    const std::size_t n = static_cast<std::size_t>(t.dec.Num_Bins);
    const bool up = Facing_Up(t.dec);
    const double scale = t.settings.Vel_Scale;
    const std::uint8_t* const cells = b.Data() + 2;  // the caller checked 8 bytes per cell
    std::int16_t* const out = t.ds.Sub_Vel.Slice(t.slot);
    const auto store = [&](auto convert) {
        for (std::size_t k = 0; k < n; ++k) {
            const std::uint8_t* c = cells + 8 * File_Cell_Of_Bin(k, n, up);
            std::int16_t* v = out + 8 * k;
            for (std::size_t beam = 0; beam < 4; ++beam) {
                v[beam] = convert(static_cast<std::uint16_t>(c[2 * beam] | (c[2 * beam + 1] << 8)));
            }
            v[4] = v[5] = v[6] = v[7] = 0;  // whole cells, so the slot needs no clearing first
        }
    };
    // At scale 1 every value but the bad marker is stored as read, and 0x8000 is -32768 either
    // way: one loop without the scaling's test per value.
    if (scale != 1.0) {
        store([scale](std::uint16_t raw) { return Scaled_Velocity(raw, scale); });
    } else {
#if defined(__SSE2__)
        // x86 is little-endian: a cell's eight bytes are its four values as they stand, and
        // the load leaves the bin's other four components zero.
        for (std::size_t k = 0; k < n; ++k) {
            const __m128i cell = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cells + 8 * File_Cell_Of_Bin(k, n, up)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8 * k), cell);
        }
#else
        store([](std::uint16_t raw) { return static_cast<std::int16_t>(raw); });
#endif
    }
    t.dec.Slot_Written.vel_bins = static_cast<std::uint16_t>(n);
}

// Correlation and echo intensity: four beams and their rounded mean.
void Byte_Profile_With_Mean(const Byte_Block& b, Target& t, Dense_Array<std::uint8_t>& out) {
    const std::size_t n = static_cast<std::size_t>(t.dec.Num_Bins);
    Store_Byte_Profile_With_Mean(*b.Sub(2, 4 * n), n, Facing_Up(t.dec), out, t.slot);
}

void BBCorrelation(const Byte_Block& b, Target& t) {
    Byte_Profile_With_Mean(b, t, t.ds.Sub_Corr);
    t.dec.Slot_Written.corr_bins = static_cast<std::uint16_t>(t.dec.Num_Bins);
}
void BBEcho(const Byte_Block& b, Target& t) {
    Byte_Profile_With_Mean(b, t, t.ds.Sub_Echo);
    t.dec.Slot_Written.echo_bins = static_cast<std::uint16_t>(t.dec.Num_Bins);
}

void BBPercentGood(const Byte_Block& b, Target& t) {
    const std::size_t n = static_cast<std::size_t>(t.dec.Num_Bins);
    Store_Byte_Profile_With_Mean<false>(*b.Sub(2, 4 * n), n, Facing_Up(t.dec), t.ds.Sub_PGood, t.slot);
    t.dec.Slot_Written.pgood_bins = static_cast<std::uint16_t>(n);
}

std::int32_t Signed_Position(std::uint32_t high_word, std::uint32_t low_word) {
    return static_cast<std::int32_t>(high_word * 65536u + low_word);  // above 2^31 wraps negative
}

void BBBottomTrack(const Byte_Block& b, Target& t) {
    Decoder_State& dec = t.dec;
    Data_Set& ds = t.ds;
    const std::size_t e = t.slot;
    dec.BT_Pings = b.Read_U16_LE(2);
    dec.BT_Reacquire_Delay = b.Read_U16_LE(4);
    dec.BT_Corr_Min = b.Read_U8(6);
    dec.BT_Amp_Min = b.Read_U8(7);
    dec.BT_PG_Min = b.Read_U8(8);
    dec.BT_Mode = b.Read_U8(9);
    dec.BT_Err_Max = b.Read_U16_LE(10);
    dec.BT_Max_Depth = b.Read_U16_LE(70);
    const bool long_ranges = dec.FW_Version > 4.99;
    for (std::size_t beam = 0; beam < 4; ++beam) {
        const std::int32_t high = long_ranges ? b.Read_U8(77 + beam) : 0;
        ds.Sub_BT_Range(beam, e) = high * 65536 + b.Read_U16_LE(16 + beam * 2);

        const std::uint16_t bt_raw = b.Read_U16_LE(24 + beam * 2);
        if (bt_raw == 0x8000) {
            ds.Sub_BT_Vel(beam, e) = k_bad_velocity;
        } else {
            double v = std::clamp(static_cast<std::int16_t>(bt_raw) * t.settings.BT_Vel_Scale, -32767.0, 32767.0);
            if (dec.Profiling_Mode != 15) v = -v;
            ds.Sub_BT_Vel(beam, e) = static_cast<std::int16_t>(rnd(v));
        }

        const std::uint16_t wm_raw = b.Read_U16_LE(50 + beam * 2);
        std::int16_t wm = k_bad_velocity;
        if (wm_raw != 0x8000) {
            const double v = std::clamp(static_cast<std::int16_t>(wm_raw) * t.settings.Vel_Scale, -32767.0, 32767.0);
            wm = static_cast<std::int16_t>(rnd(-v));
        }
        ds.Sub_WM_Vel(beam, e) = wm;
        ds.Sub_Ref_Vel(beam, e) = wm;
    }
    for (std::size_t c = 4; c < 6; ++c) {
        ds.Sub_BT_Range(c, e) = 0;
        ds.Sub_BT_Vel(c, e) = ds.Sub_WM_Vel(c, e) = ds.Sub_Ref_Vel(c, e) = 0;
    }
    ds.Sub_Calimbro_Lon(e) = Signed_Position(b.Read_U16_LE(46), b.Read_U16_LE(4));
    ds.Sub_Calimbro_Lat(e) = Signed_Position(b.Read_U16_LE(14), b.Read_U16_LE(12));
    dec.Slot_Written.Add(Slot_Writes::k_bottom_track);
    dec.Slot_Written.Add(Slot_Writes::k_reference);
}

void BBMicroCAT(const Byte_Block& b, Target& t) {
    std::string& text = t.ds.Sub_MicroCAT(t.slot);
    text.clear();
    t.dec.Slot_Written.Add(Slot_Writes::k_microcat);
    // The text ends at a zero byte, after 256 characters, or at the end of the ensemble.
    for (std::size_t i = 2; i < b.Size() && text.size() < k_microcat_max_chars; ++i) {
        const std::uint8_t c = b.Read_U8(i);
        if (c == 0) break;
        text += static_cast<char>(c);
    }
}

void BBQTRM(const Byte_Block& b, Target& t) {
    Data_Set& ds = t.ds;
    const std::size_t e = t.slot;
    ds.Sub_QTRM_Time(0, e) = 19;
    // The slot's clock is this ensemble's only once its leader came first; else it reads as cleared.
    const bool timed = t.dec.Slot_Written.Has(Slot_Writes::k_leader);
    for (std::size_t i = 0; i < 7; ++i) ds.Sub_QTRM_Time(i + 1, e) = timed ? ds.Sub_Time(i, e) : 0;
    t.dec.Slot_Written.Add(Slot_Writes::k_qtrm);
    ds.Sub_QTRM_Depth(e) = b.Read_U16_LE(2);
    ds.Sub_QTRM_Vel(e) = static_cast<std::int32_t>(rnd((b.Read_U16_LE(8) + b.Read_U16_LE(10)) / 2.0));
    ds.Sub_QTRM_Flow(e) = static_cast<double>(b.Read_U16_LE(38)) * 65536.0 + b.Read_U16_LE(36);
}

void BBNavigation(const Byte_Block& b, Target& t) {
    Data_Set& ds = t.ds;
    const std::size_t e = t.slot;
    ds.Sub_First_Lat(e) = static_cast<std::int32_t>(b.Read_U32_LE(14));
    ds.Sub_First_Lon(e) = static_cast<std::int32_t>(b.Read_U32_LE(18));
    ds.Sub_Last_Lat(e) = static_cast<std::int32_t>(b.Read_U32_LE(26));
    ds.Sub_Last_Lon(e) = static_cast<std::int32_t>(b.Read_U32_LE(30));
    const double speed = std::min<double>(b.Read_U16_LE(40), 32767);
    const double degrees = b.Read_U16_LE(42) * 360.0 / 65536.0;
    ds.Sub_Nav_Vel(5, e) = static_cast<std::int16_t>(Round_Clamp(degrees * 10, 0, 3600));
    const double radians = degrees * k_pi / 180;
    ds.Sub_Nav_Vel(0, e) = static_cast<std::int16_t>(Round_Clamp(speed * std::sin(radians), -32767, 32767));
    ds.Sub_Nav_Vel(1, e) = static_cast<std::int16_t>(Round_Clamp(speed * std::cos(radians), -32767, 32767));
    ds.Sub_Nav_Vel(4, e) = static_cast<std::int16_t>(speed);
    ds.Sub_Nav_Vel(2, e) = ds.Sub_Nav_Vel(3, e) = 0;
    t.dec.Slot_Written.Add(Slot_Writes::k_navigation);
}

// Bytes a data type needs from its identifier on, given the set-up of the moment; 0 = unknown type.
std::size_t Needed_Bytes(std::uint16_t id, const Decoder_State& dec) {
    const std::size_t bins = static_cast<std::size_t>(dec.Num_Bins);
    switch (id) {
        case k_id_fixed_leader: return k_fixed_leader_min;
        case k_id_variable_leader: return k_variable_leader_min;
        case k_id_velocity: return 2 + 8 * bins;
        case k_id_correlation:
        case k_id_echo:
        case k_id_percent_good: return 2 + 4 * bins;
        case k_id_bottom_track: return dec.FW_Version > 4.99 ? k_bottom_track_long_range_min : k_bottom_track_min;
        case k_id_microcat:
        case k_id_microcat_alt: return 2;
        case k_id_qtrm: return k_qtrm_min;
        case k_id_navigation: return k_navigation_min;
        default: return 0;
    }
}

bool* Flag_Of(std::uint16_t id, Decoder_State& dec) {
    switch (id) {
        case k_id_fixed_leader: return &dec.Have_FL;
        case k_id_variable_leader: return &dec.Have_VL;
        case k_id_velocity: return &dec.Have_Vel;
        case k_id_correlation: return &dec.Have_Corr;
        case k_id_echo: return &dec.Have_Echo;
        case k_id_percent_good: return &dec.Have_PG;
        case k_id_bottom_track: return &dec.Have_BT;
        case k_id_microcat:
        case k_id_microcat_alt: return &dec.Have_MicroCAT;
        case k_id_qtrm: return &dec.Have_QTRM;
        case k_id_navigation: return &dec.Have_Nav;
        default: return nullptr;
    }
}

void Run_Decoder(std::uint16_t id, const Byte_Block& b, Target& t) {
    switch (id) {
        case k_id_fixed_leader: BBFixedLeader(b, t); break;
        case k_id_variable_leader: BBVariableLeader(b, t); break;
        case k_id_velocity: BBVelocity(b, t); break;
        case k_id_correlation: BBCorrelation(b, t); break;
        case k_id_echo: BBEcho(b, t); break;
        case k_id_percent_good: BBPercentGood(b, t); break;
        case k_id_bottom_track: BBBottomTrack(b, t); break;
        case k_id_microcat:
        case k_id_microcat_alt: BBMicroCAT(b, t); break;
        case k_id_qtrm: BBQTRM(b, t); break;
        case k_id_navigation: BBNavigation(b, t); break;
        default: break;
    }
}

}  // namespace

double Firmware_Version(std::uint8_t version, std::uint8_t revision) {
    return version + (revision <= 99 ? revision : revision - 100) / 100.0;
}

void BB_Ensemble(Decoder_State& dec, Data_Set& ds, const Decode_Options& opt) {
    dec.Clear_Have_Flags();
    dec.Slot_Written = {};
    // Fields live in bytes 0..Ens_Bytes-1; the checksum after them is not data.
    const std::size_t data_bytes =
        std::min(dec.Ens_Buffer.size(), static_cast<std::size_t>(std::max(dec.Ens_Bytes, 0)));
    const Byte_Block ensemble(dec.Ens_Buffer.data(), data_bytes);
    if (!ensemble.Fits(0, 6) || ds.Sub_Count < 0 || ds.Sub_Count >= ds.Sub_Slots()) {
        dec.Num_Data_Types = 0;
        return;
    }
    const std::size_t types = ensemble.Read_U8(5);
    dec.Num_Data_Types = static_cast<std::int32_t>(types);
    Target t{dec, ds, opt, opt.Flip, static_cast<std::size_t>(ds.Sub_Count)};

    for (std::size_t i = 0; i < types; ++i) {
        const std::size_t entry = 6 + 2 * i;
        if (!ensemble.Fits(entry, 2)) break;  // the offset table runs past the ensemble
        const std::size_t offset = ensemble.Read_U16_LE(entry);
        if (!ensemble.Fits(offset, 2)) continue;
        const std::uint16_t id = ensemble.Read_U16_LE(offset);
        bool* flag = Flag_Of(id, dec);
        if (flag == nullptr || *flag) continue;
        if (id == k_id_variable_leader && Is_NVRAM_Record(dec.Ens_Bytes, dec.Num_Data_Types)) continue;
        if (id == k_id_qtrm && !dec.Is_QTRM) continue;
        if (!ensemble.Fits(offset, Needed_Bytes(id, dec))) continue;  // does not fit inside the ensemble
        // Decoders see the rest of the ensemble, so optional fields and text can check their own extent.
        const Byte_Block block(ensemble.Data() + offset, data_bytes - offset);
        Run_Decoder(id, block, t);
        *flag = !block.Overran();
    }
}

std::int32_t BB_Leader_Number(const Decoder_State& dec, std::int32_t unchanged) {
    const std::size_t data_bytes =
        std::min(dec.Ens_Buffer.size(), static_cast<std::size_t>(std::max(dec.Ens_Bytes, 0)));
    const Byte_Block ensemble(dec.Ens_Buffer.data(), data_bytes);
    if (!ensemble.Fits(0, 6)) return unchanged;
    const std::size_t types = ensemble.Read_U8(5);
    if (Is_NVRAM_Record(dec.Ens_Bytes, static_cast<std::int32_t>(types))) return unchanged;
    for (std::size_t i = 0; i < types; ++i) {
        const std::size_t entry = 6 + 2 * i;
        if (!ensemble.Fits(entry, 2)) break;
        const std::size_t offset = ensemble.Read_U16_LE(entry);
        if (!ensemble.Fits(offset, k_variable_leader_min) || ensemble.Read_U16_LE(offset) != k_id_variable_leader) continue;
        return ensemble.Read_U8(offset + 11) * 65536 + ensemble.Read_U16_LE(offset + 2);
    }
    return unchanged;
}

}  // namespace vantrel
