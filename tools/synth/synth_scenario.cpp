#include "synth_scenario.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/text_format.h"
#include "processing/beam_geometry.h"
#include "synth_clock.h"
#include "synth_variation.h"

namespace vantrel::synth {

namespace {

constexpr double k_two_pi = 2 * k_pi;
constexpr double k_earth_radius_m = 6371000;
constexpr double k_salinity = 35;
constexpr int k_frequency_code = 2;  // 307.2 kHz

void Require(bool ok, const char* what) {
    if (!ok) throw std::invalid_argument(what);
}

int Beam_Angle_Code(int degrees) {
    switch (degrees) {
        case 15: return 0;
        case 20: return 1;
        case 30: return 2;
        case 40: return 3;
        default: return -1;
    }
}

std::int16_t Clamp_Velocity(double v) { return static_cast<std::int16_t>(Round_Clamp(v, -32767, 32767)); }

std::uint8_t Clamp_Byte(double v) { return static_cast<std::uint8_t>(Round_Clamp(v, 0, 255)); }

std::int32_t Position_Units(double degrees) {
    // Longitudes wrap into -180..180.
    while (degrees >= 180) degrees -= 360;
    while (degrees < -180) degrees += 360;
    return static_cast<std::int32_t>(std::clamp(rnd(degrees * k_position_scale / 180), -k_position_scale, k_position_scale - 1));
}

constexpr double k_echo_decay_m = 40;  // range over which the echo falls by a factor e

// Echo intensity in counts along a beam: a decaying return (decay = exp(-range / 40 m)),
// a bump at the boundary, a floor beyond it.
double Echo_Counts(double range_m, double decay, double boundary_m, double bin_m) {
    if (range_m > boundary_m + bin_m) return 30;
    double echo = 30 + 130 * decay;
    if (std::fabs(range_m - boundary_m) < 1.5 * bin_m) echo += 80;
    return echo;
}

}  // namespace

std::uint16_t Synth_Sys_Config(const Synth_Options& opt) {
    if (opt.structure == Synth_Structure::Narrowband) {
        // What a reader makes of the configuration byte: 30 degree beams, or the older layout's fixed word.
        if (!opt.nb_bit7) return 7;
        return static_cast<std::uint16_t>(16896 + opt.nb_frequency + (opt.facing_up ? 128 : 0) + (opt.convex ? 8 : 0));
    }
    const int angle_code = std::max(Beam_Angle_Code(opt.beam_angle), 0);
    return static_cast<std::uint16_t>(0x4000 | (angle_code << 8) | (opt.facing_up ? 0x80 : 0) | 0x40 |
                                      (opt.convex ? 0x08 : 0) | k_frequency_code);
}

std::uint8_t Synth_Coord_Byte(const Synth_Options& opt) { return opt.earth_coords ? 0x1F : 0x00; }

std::uint16_t Synth_Bin1_Dist_Cm(const Synth_Options& opt) {
    // Blank of 50 cm, then the first cell's middle one cell further on.
    return static_cast<std::uint16_t>(std::min(50 + rnd(opt.bin_size * 100), 65535.0));
}

std::uint8_t Synth_Firmware_Version(const Synth_Options& opt) { return opt.flow_meter ? 21 : opt.fw_version; }

Synth_Options Resolve_Options(const Synth_Options& in) {
    Synth_Options opt = in;
    Require(opt.ensembles >= 1 && opt.ensembles <= 100000000, "--ensembles must be 1..100000000");
    Require(opt.bins >= 1 && opt.bins <= k_max_synth_bins, "--bins must be 1..255");
    Require(opt.bin_size >= 0.01 && opt.bin_size <= 600, "--bin-size must be 0.01..600 m");
    Require(Beam_Angle_Code(opt.beam_angle) >= 0, "--beam-angle must be 15, 20, 30 or 40");
    Require(opt.interval >= 0 && opt.interval <= 86400, "--interval must be 0..86400 s");
    Require(opt.first_number >= 0 && opt.first_number <= 0xFFFFFF, "--first-number must be 0..16777215");
    Require(opt.text.size() < 1024, "--text-block is too long");
    Require(Valid_Civil_Time(opt.start), "--start must be \"YYYY-MM-DD HH:MM:SS\" with a year 1970..2099");
    Require(opt.bottom_depth > 0 && opt.bottom_depth < 6000, "--bottom-depth must be 0..6000 m");
    Require(opt.pitch_amplitude >= 0 && opt.pitch_amplitude <= 30, "--pitch must be 0..30 degrees");
    Require(opt.roll_amplitude >= 0 && opt.roll_amplitude <= 30, "--roll must be 0..30 degrees");
    Require(opt.garbage >= 0 && opt.garbage_every >= 1, "--garbage must be 0 or more, --garbage-every 1 or more");
    Require(opt.bad_checksum_every >= 0 && opt.drop_every >= 0 && opt.long_records_every >= 0 &&
                opt.repeat_every >= 0 && opt.reset_at >= 0,
            "damage intervals must be 0 or more");
    Require(opt.foreign_every >= 0 && opt.foreign_bytes >= 1 && opt.foreign_bytes <= 100000000,
            "--foreign-records-every must be 0 or more, --foreign-bytes 1..100000000");
    Require(!opt.vary_length || opt.structure == Synth_Structure::Broadband,
            "--vary-length needs broadband ensembles");
    Resolve_Setup_Change(opt);
    if (opt.structure == Synth_Structure::Narrowband) {
        const double cells = std::log2(opt.bin_size);
        Require(cells >= 0 && cells <= 7 && cells == std::floor(cells), "narrowband --bin-size must be 1, 2, 4, ... 128 m");
        Require(!opt.navigation && !opt.flow_meter && !opt.text_block,
                "narrowband files have no navigation, flow-meter or text blocks");
        Require(opt.first_number <= 0xFFFF, "narrowband --first-number must be 0..65535");
        Require(opt.nb_frequency >= 0 && opt.nb_frequency <= 7, "--nb-frequency must be 0..7");
        opt.beam_angle = 30;
        if (!opt.nb_bit7) {
            Require(!opt.facing_up, "--nb-bit7-clear writes facing down");
            opt.earth_coords = true;
            opt.beam_angle = 15;
            opt.convex = false;
        }
    }
    Require(opt.split_every >= 0, "--split-every must be 0 or more");
    Require(!opt.acquisition_set || opt.split_every > 0, "--acquisition-set needs --split-every");
    if (opt.transducer_depth < 0) opt.transducer_depth = opt.facing_up ? opt.bottom_depth - 0.5 : 3.0;
    Require(opt.transducer_depth >= 0 && opt.transducer_depth <= opt.bottom_depth,
            "--transducer-depth must lie between the surface and the bottom");
    if (opt.ship_speed < 0) opt.ship_speed = opt.facing_up ? 0 : 1000;
    Require(opt.ship_speed <= 20000, "--ship-speed must be 0..20000 mm/s");
    return opt;
}

std::int32_t Synth_Ensemble_Number(const Synth_Options& opt, std::int64_t index) {
    const std::int64_t number = opt.reset_at > 0 && index + 1 >= opt.reset_at ? index + 2 - opt.reset_at
                                                                               : opt.first_number + index;
    const std::int64_t mask = opt.structure == Synth_Structure::Narrowband ? 0xFFFF : 0xFFFFFF;
    return static_cast<std::int32_t>(number & mask);
}

void Fill_Synth_Ensemble(const Synth_Options& opt, std::int64_t index, Synth_Ensemble& out) {
    Synth_Rng rng(opt.seed * 0x2545F4914F6CDD1Dull + static_cast<std::uint64_t>(index));
    const double t = static_cast<double>(index);
    out.index = index;
    out.number = Synth_Ensemble_Number(opt, index);

    const Civil_Time when = Add_Hundredths(opt.start, static_cast<std::int64_t>(rnd(opt.interval * 100 * t)));
    out.century = static_cast<std::uint8_t>(when.year / 100);
    out.clock = {static_cast<std::uint8_t>(when.year % 100), when.month, when.day, when.hour, when.minute,
                 when.second, when.hundredths};

    // Attitude as stored; the beams are built from exactly what the decoder will read back.
    const double heading = std::fmod(std::fmod(opt.heading_start + opt.heading_rate * t, 360) + 360, 360);
    out.heading = static_cast<std::uint16_t>(static_cast<std::int32_t>(rnd(heading * 100)) % 36000);
    out.pitch = static_cast<std::int16_t>(rnd(opt.pitch_amplitude * 100 * std::sin(k_two_pi * t / 17)));
    out.roll = static_cast<std::int16_t>(rnd(opt.roll_amplitude * 100 * std::sin(k_two_pi * t / 11 + 1)));
    out.bit_result = 0;
    out.sound_speed = 1500;
    out.salinity = static_cast<std::uint16_t>(k_salinity);
    out.temperature = static_cast<std::int16_t>(rnd(1250 + 40 * std::sin(k_two_pi * t / 600)));
    out.xmit_voltage = static_cast<std::uint8_t>(160 + (rng.Next() % 5));

    // The ship heaves a little; an instrument on the bottom does not.
    const double heave = opt.facing_up ? 0 : 0.05 * std::sin(k_two_pi * t / 9);
    const double td = std::clamp(opt.transducer_depth + heave, 0.0, opt.bottom_depth);
    const double depth_mm = rnd(td * 1000);
    out.transducer_depth_m = depth_mm / 1000;
    out.depth_dm = static_cast<std::uint16_t>(std::min(rnd(depth_mm / 100), 65535.0));
    out.pressure = static_cast<std::uint32_t>(rnd(depth_mm / (1.02 - 0.00069 * k_salinity)));

    const Beam_Geometry g = Make_Beam_Geometry(Synth_Sys_Config(opt));
    const Attitude att = Make_Attitude(out.pitch, out.roll, out.heading);
    const Rotation rot = Instrument_To_Earth(att);
    std::array<double, 4> K{};
    for (int k = 0; k < 4; ++k) K[static_cast<std::size_t>(k)] = Bin_Map_Factor(g, att, k);

    const double dir = opt.ship_direction * k_deg_to_rad;
    out.ship_east = opt.ship_speed * std::sin(dir);
    out.ship_north = opt.ship_speed * std::cos(dir);

    // Water relative to the instrument is linear in depth z: base + z x shear, in earth
    // axes and, since the transform is linear, along each beam too.
    const double base_e = opt.current_east - out.ship_east, base_n = opt.current_north - out.ship_north;
    const std::array<double, 4> beam_base = Earth_To_Beams(g, rot, base_e, base_n, opt.vertical);
    const std::array<double, 4> beam_shear = Earth_To_Beams(g, rot, opt.shear_east, opt.shear_north, 0);
    const double sign = opt.facing_up ? -1 : 1;  // depth grows along the profile when facing down
    const double boundary = opt.facing_up ? td : opt.bottom_depth - td;  // vertical distance to bottom or surface
    const double bin_m = rnd(opt.bin_size * 100) / 100;
    const double bin1_m = Synth_Bin1_Dist_Cm(opt) / 100.0;

    // exp(-range / 40 m) of each beam's cell, stepped by multiplication from cell to cell.
    std::array<double, 4> decay{}, decay_step{};
    for (std::size_t k = 0; k < 4; ++k) {
        decay[k] = std::exp(-bin1_m / K[k] / k_echo_decay_m);
        decay_step[k] = std::exp(-bin_m / K[k] / k_echo_decay_m);
    }

    for (int c = 0; c < opt.bins; ++c) {
        const auto cell = static_cast<std::size_t>(c);
        const double nominal = bin1_m + c * bin_m;
        const double z_nominal = td + sign * nominal;
        out.water[cell] = {base_e + opt.shear_east * z_nominal, base_n + opt.shear_north * z_nominal, opt.vertical};
        bool any_beyond = false;
        for (std::size_t k = 0; k < 4; ++k) {
            const double range = nominal / K[k];  // true vertical distance of this beam's cell
            const bool beyond = range > boundary;
            any_beyond = any_beyond || beyond;
            if (!opt.earth_coords) {
                const double v = beam_base[k] + (td + sign * range) * beam_shear[k] + opt.noise * rng.Symmetric();
                out.vel[cell][k] = beyond ? std::int16_t(-32768) : Clamp_Velocity(v);
                out.pgood[cell][k] = beyond ? 0 : 100;
            }
            out.echo[cell][k] = Clamp_Byte(Echo_Counts(range, decay[k], boundary, bin_m) + 3 * rng.Symmetric());
            decay[k] *= decay_step[k];
            out.corr[cell][k] = Clamp_Byte((beyond ? 30 : 120 - 30 * range / boundary) + 4 * rng.Symmetric());
        }
        if (opt.earth_coords) {
            const auto& w = out.water[cell];
            for (std::size_t k = 0; k < 3; ++k) {
                out.vel[cell][k] = any_beyond ? std::int16_t(-32768) : Clamp_Velocity(w[k] + opt.noise * rng.Symmetric());
            }
            out.vel[cell][3] = any_beyond ? std::int16_t(-32768) : 0;
            // Earth coordinates: percent of three-beam, rejected, too few beams, four-beam solutions.
            out.pgood[cell] = {0, 0, std::uint8_t(any_beyond ? 100 : 0), std::uint8_t(any_beyond ? 0 : 100)};
        }
    }

    // Bottom track: each beam meets the boundary at its nominal vertical distance boundary x K;
    // the bottom moves against the ship.
    for (std::size_t k = 0; k < 4; ++k) {
        out.bt_range[k] = static_cast<std::uint32_t>(std::clamp(rnd(boundary * K[k] * 100), 0.0, 16777215.0));
    }
    const std::array<double, 4> bt = opt.earth_coords
                                         ? std::array<double, 4>{-out.ship_east, -out.ship_north, 0, 0}
                                         : Earth_To_Beams(g, rot, -out.ship_east, -out.ship_north, 0);
    // Reference layer: the water of the first cells (at most five), relative to the instrument.
    const std::size_t layer = static_cast<std::size_t>(std::min(opt.bins, 5));
    double ref_e = 0, ref_n = 0;
    for (std::size_t c = 0; c < layer; ++c) {
        ref_e += out.water[c][0] / static_cast<double>(layer);
        ref_n += out.water[c][1] / static_cast<double>(layer);
    }
    const std::array<double, 4> ref = opt.earth_coords ? std::array<double, 4>{ref_e, ref_n, opt.vertical, 0}
                                                       : Earth_To_Beams(g, rot, ref_e, ref_n, opt.vertical);
    for (std::size_t k = 0; k < 4; ++k) {
        out.bt_vel[k] = Clamp_Velocity(bt[k]);
        out.ref_vel[k] = Clamp_Velocity(ref[k]);
    }

    // Navigation: fixes at the start and the end of the interval along the ship's track.
    const double lat_rad = opt.latitude * k_deg_to_rad;
    const auto fix = [&](double seconds, std::int32_t& lat, std::int32_t& lon) {
        const double north_m = out.ship_north * seconds / 1000, east_m = out.ship_east * seconds / 1000;
        lat = Position_Units(opt.latitude + north_m / k_earth_radius_m * k_rad_to_deg);
        lon = Position_Units(opt.longitude + east_m / (k_earth_radius_m * std::cos(lat_rad)) * k_rad_to_deg);
    };
    fix(opt.interval * t, out.first_lat, out.first_lon);
    fix(opt.interval * (t + 1), out.last_lat, out.last_lon);
    out.nav_speed = static_cast<std::uint16_t>(std::clamp(rnd(opt.ship_speed), 0.0, 65535.0));
    const auto direction = static_cast<std::int64_t>(rnd(opt.ship_direction / 360 * 65536));
    out.nav_direction = static_cast<std::uint16_t>(direction & 0xFFFF);

    // Flow meter: depth of the sensor, two readings of the current's speed, discharge of a 10 m wide channel.
    const double speed = std::hypot(opt.current_east, opt.current_north);
    out.qtrm_depth = static_cast<std::uint16_t>(std::min(rnd(td * 10000), 65535.0));
    out.qtrm_vel1 = static_cast<std::uint16_t>(std::clamp(rnd(speed + 2 * rng.Symmetric()), 0.0, 65535.0));
    out.qtrm_vel2 = static_cast<std::uint16_t>(std::clamp(rnd(speed + 2 * rng.Symmetric()), 0.0, 65535.0));
    const double flow = rnd(speed / 1000 * 10 * opt.bottom_depth * 1e6);
    out.qtrm_flow = static_cast<std::uint32_t>(std::clamp(flow, 0.0, 4294967295.0));
}

}  // namespace vantrel::synth
