#pragma once
// The physical scenario behind a synthetic ensemble file and the raw values of each
// ensemble, computed from the scenario and the ensemble's index alone.

#include <array>
#include <cstdint>
#include <string>

namespace vantrel::synth {

constexpr int k_max_synth_bins = 255;

enum class Synth_Structure { Broadband, Narrowband };

// Everything that shapes a synthetic file. Distances in metres, velocities in mm/s,
// angles in degrees unless named otherwise.
struct Synth_Options {
    std::int64_t ensembles = 1000;
    int bins = 30;                 // 1..255
    double bin_size = 1.0;         // m, stored in cm
    bool facing_up = false;
    bool earth_coords = false;     // velocity block holds east, north, up, error
    int beam_angle = 20;           // 15, 20, 30 or 40
    bool convex = false;
    bool bottom_track = false;
    bool navigation = false;
    bool flow_meter = false;       // firmware version byte 21 so the flow-meter block is read
    bool text_block = false;
    std::string text = "temperature 12.50 C, conductivity 4.200 S/m";
    double interval = 1.0;         // seconds between ensembles
    int start[6] = {2024, 5, 1, 12, 0, 0};  // year, month, day, hour, minute, second
    std::int64_t first_number = 1;
    std::uint64_t seed = 1;
    std::uint8_t fw_version = 50;  // firmware version and revision bytes (flow meter: version 21)
    std::uint8_t fw_revision = 40;

    // Narrowband: the configuration byte's frequency code (bits 4-6), velocity range
    // (bit 0), and bit 7 (clear: the older layout, earth coordinates facing down).
    Synth_Structure structure = Synth_Structure::Broadband;
    int nb_frequency = 2;
    bool nb_high_range = false;
    bool nb_bit7 = true;

    // File sets: K ensembles per member (0 = one file); the acquisition-program naming
    // cuts a record across each member boundary.
    std::int64_t split_every = 0;
    bool acquisition_set = false;

    // Physics.
    double current_east = 250, current_north = 150;  // at the surface, mm/s
    double shear_east = -4, shear_north = 3;          // mm/s per metre of depth
    double vertical = 5;                              // mm/s, up positive
    double noise = 0;                                 // mm/s, amplitude of uniform noise on water velocities
    double pitch_amplitude = 0, roll_amplitude = 0;   // degrees
    double heading_start = 30, heading_rate = 0.05;   // degrees, degrees per ensemble
    double bottom_depth = 40;                         // m below the surface
    double transducer_depth = -1;                     // m; below 0: 3 m facing down, 0.5 m above the bottom facing up
    double ship_speed = -1;                           // mm/s; below 0: 1000 facing down, 0 facing up
    double ship_direction = 60;                       // degrees clockwise from north
    double latitude = 52.0, longitude = 4.0;          // degrees, position of the first ensemble

    // Damage. Counts "every K" from the first ensemble (K-th, 2K-th, ...); 0 = never.
    std::int64_t garbage = 0;  // bytes at the start, between ensembles and at the end
    std::int64_t garbage_every = 100;
    std::int64_t bad_checksum_every = 0;
    std::int64_t drop_every = 0;
    bool truncate_last = false;
    std::int64_t long_records_every = 0;
    std::int64_t repeat_every = 0;
    std::int64_t reset_at = 0;  // from this ensemble on numbering restarts at 1

    // Files of today's instruments (broadband for vary_length): optional data types on some
    // ensembles; checksum-correct records 0x7F 0x79 of about foreign_bytes after every
    // foreign_every-th ensemble; from ensemble setup_change_at on new_bins cells of new_bin_size m.
    bool vary_length = false;
    std::int64_t foreign_every = 0;
    std::int64_t foreign_bytes = 400;
    std::int64_t setup_change_at = 0;
    int new_bins = 0;           // 0: chosen by Resolve_Options
    double new_bin_size = 0;    // m; 0: chosen by Resolve_Options
};

// Raw values of one ensemble exactly as they are encoded. Profiles are in file cell
// order (cell 1, nearest the transducer, first), beams 1-4.
struct Synth_Ensemble {
    std::int64_t index = 0;       // 0-based position in the scenario
    std::int32_t number = 0;      // 24-bit ensemble number
    std::uint8_t century = 20;
    std::array<std::uint8_t, 7> clock{};  // two-digit year, month, day, hour, minute, second, hundredths
    std::uint16_t bit_result = 0;
    std::uint16_t sound_speed = 1500;     // m/s
    std::uint16_t depth_dm = 0;           // transducer depth, dm
    std::uint16_t heading = 0;            // 0.01 degree
    std::int16_t pitch = 0, roll = 0;     // 0.01 degree
    std::uint16_t salinity = 35;          // parts per thousand
    std::int16_t temperature = 0;         // 0.01 degree Celsius
    std::uint8_t xmit_voltage = 0;        // converter counts
    std::uint32_t pressure = 0;           // such that pressure x (1.02 - 0.00069 x salinity) is the depth in mm

    std::array<std::array<std::int16_t, 4>, k_max_synth_bins> vel{};  // -32768 = bad
    std::array<std::array<std::uint8_t, 4>, k_max_synth_bins> corr{}, echo{}, pgood{};

    // Bottom track: ranges in cm (bits 16-23 go to the high bytes), velocities raw.
    std::array<std::uint32_t, 4> bt_range{};
    std::array<std::int16_t, 4> bt_vel{};   // bottom relative to the instrument
    std::array<std::int16_t, 4> ref_vel{};  // reference layer relative to the instrument

    // Navigation: positions with 2^31 = 180 degrees, speed mm/s, direction 65536 = full circle.
    std::int32_t first_lat = 0, first_lon = 0, last_lat = 0, last_lon = 0;
    std::uint16_t nav_speed = 0, nav_direction = 0;

    // Flow meter: depth 0.1 mm, two velocity readings mm/s, discharge 0.000001 m^3/s.
    std::uint16_t qtrm_depth = 0, qtrm_vel1 = 0, qtrm_vel2 = 0;
    std::uint32_t qtrm_flow = 0;

    // What went in, for checks: water relative to the instrument at each cell's nominal
    // depth (east, north, up; mm/s, before noise), the ship's velocity and the attitude.
    std::array<std::array<double, 3>, k_max_synth_bins> water{};
    double ship_east = 0, ship_north = 0;
    double transducer_depth_m = 0;
};

// Options with the facing-dependent defaults resolved and values checked; throws
// std::invalid_argument naming the bad option.
Synth_Options Resolve_Options(const Synth_Options& in);

// Fills out with ensemble index (0-based) of the scenario; options must be resolved.
// Deterministic for the seed and the index; allocates nothing.
void Fill_Synth_Ensemble(const Synth_Options& opt, std::int64_t index, Synth_Ensemble& out);

// Ensemble number of index: first_number + index, or from reset_at on 1, 2, ...;
// 24 bits wide for broadband, 16 for narrowband.
std::int32_t Synth_Ensemble_Number(const Synth_Options& opt, std::int64_t index);

// System configuration word: frequency code, pattern bit 3, head attached bit 6,
// facing bit 7, beam angle bits 8-9, four-beam Janus bits 12-15.
std::uint16_t Synth_Sys_Config(const Synth_Options& opt);

// Coordinate transformation byte: 0x00 for beam, 0x1F for earth coordinates.
std::uint8_t Synth_Coord_Byte(const Synth_Options& opt);

// Distance to the middle of cell 1 in cm.
std::uint16_t Synth_Bin1_Dist_Cm(const Synth_Options& opt);

// Firmware version byte written (21 for a flow meter).
std::uint8_t Synth_Firmware_Version(const Synth_Options& opt);

// Small deterministic generator (splitmix64), the same on every platform.
struct Synth_Rng {
    std::uint64_t state;
    explicit Synth_Rng(std::uint64_t seed) : state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [-1, 1).
    double Symmetric() { return static_cast<double>(Next() >> 11) * (2.0 / 9007199254740992.0) - 1.0; }
};

}  // namespace vantrel::synth
