#pragma once
// A filled data set with features at known places, for chart tests and benchmarks:
// a fast eastward jet in a block of bins and ensembles, a bottom at a known range,
// a heading that turns through north, and one-minute ensembles.

#include <cmath>
#include <cstdint>

#include "app_state.h"

namespace vantrel::test {

struct Chart_Fixture_Shape {
    std::int32_t ensembles = 200;
    std::int32_t bins = 40;
    bool down_facing = true;
    double bin_size = 2.0;    // m
    double bin1_dist = 4.0;   // m
    double bottom_m = 60.0;   // bottom-track range, m
    // The jet: data-set bins [jet_bin_lo, jet_bin_hi] and ensembles [jet_ens_lo, jet_ens_hi].
    std::int32_t jet_bin_lo = 10, jet_bin_hi = 14, jet_ens_lo = 50, jet_ens_hi = 89;
    std::int16_t jet_east = 1500;  // mm/s
    std::int16_t background_east = 200;
    std::int32_t first_ensemble = 1001;
    double interval_s = 60;
};

inline void Fill_Chart_Data_Set(App_State& state, const Chart_Fixture_Shape& shape = {}) {
    Data_Set& ds = state.ds;
    Decoder_State& dec = state.dec;
    const std::int32_t n = shape.ensembles;
    Allocate_Data_Set(ds, true, n, n);
    dec.Num_Bins = shape.bins;
    dec.Bin_Size = shape.bin_size, dec.Bin1_Dist = shape.bin1_dist;
    dec.Sys_Config = shape.down_facing ? 0 : 0x80;
    ds.Orientation_Count = shape.down_facing ? n : -n;

    for (std::int32_t e = 0; e < n; ++e) {
        const auto slot = static_cast<std::size_t>(e);
        ds.Sub_Ens_Number(slot) = shape.first_ensemble + e;
        // Clock from 2026/03/14 06:00:00, one ensemble a minute.
        const std::int32_t t = static_cast<std::int32_t>(e * shape.interval_s);
        const std::int32_t day = 14 + (6 * 3600 + t) / 86400, sec_of_day = (6 * 3600 + t) % 86400;
        const int clock[7] = {26, 3, day, sec_of_day / 3600, sec_of_day / 60 % 60, sec_of_day % 60, 0};
        for (std::size_t k = 0; k < 7; ++k) ds.Sub_Time(k, slot) = static_cast<std::uint8_t>(clock[k]);

        for (std::int32_t b = 0; b < shape.bins; ++b) {
            const auto bin = static_cast<std::size_t>(b);
            const bool jet = b >= shape.jet_bin_lo && b <= shape.jet_bin_hi && e >= shape.jet_ens_lo && e <= shape.jet_ens_hi;
            const std::int16_t east = jet ? shape.jet_east : shape.background_east;
            const std::int16_t north = static_cast<std::int16_t>(100 * std::sin(e * 0.05));
            double dir = std::atan2(east, north) * 1800 / 3.14159265358979;
            if (dir < 0) dir += 3600;
            const long vel[6] = {east, north, static_cast<long>(10 * std::cos(b * 0.3)), e % 7 - 3,
                                 std::lround(std::hypot(east, north)), std::lround(dir)};
            for (std::size_t c = 0; c < 6; ++c) ds.Sub_Vel(c, bin, slot) = static_cast<std::int16_t>(vel[c]);
            for (std::size_t beam = 0; beam < 5; ++beam) {
                ds.Sub_Echo(beam, bin, slot) = static_cast<std::uint8_t>(200 - 3 * b + static_cast<int>(beam));
                ds.Sub_Corr(beam, bin, slot) = static_cast<std::uint8_t>(120 + (e + b) % 10);
                ds.Sub_PGood(beam, bin, slot) = static_cast<std::uint8_t>(100 - b % 5);
            }
        }
        for (std::size_t beam = 0; beam < 4; ++beam)
            ds.Sub_BT_Range(beam, slot) = static_cast<std::int32_t>(std::lround(shape.bottom_m * 100));
        ds.Sub_BT_Vel(0, slot) = static_cast<std::int16_t>(-300 + e % 50), ds.Sub_BT_Vel(1, slot) = 20;
        // Pitch in 0.01 degree, a heading turning through north, and the last in mm.
        const std::int32_t anc[5] = {static_cast<std::int32_t>(500 * std::sin(e * 0.1)), -200, (35000 + e * 50) % 36000, 1250, 150000};
        for (std::size_t k = 0; k < 5; ++k) ds.Sub_Anc(k, slot) = anc[k];
        ds.Sub_First_Lat(slot) = static_cast<std::int32_t>(std::lround(45.5 / 180 * 2147483648.0));
        ds.Sub_First_Lon(slot) = static_cast<std::int32_t>(std::lround(-(63.25 + e * 1e-4) / 180 * 2147483648.0));
    }
    ds.Sub_Count = n;
    ds.Sel_First_Ens = ds.First_Ens = shape.first_ensemble;
    ds.Sel_Last_Ens = ds.Last_Ens = shape.first_ensemble + n - 1;
    ds.Cursor_Ens = shape.first_ensemble + (shape.jet_ens_lo + shape.jet_ens_hi) / 2;
    ds.First_Bin = 1, ds.Last_Bin = shape.bins;
    ds.Sum_Interval = ds.Sub_Sum_Interval = (n - 1) * shape.interval_s;
    ds.File_Loaded = true;
    for (std::size_t b = 0; b < static_cast<std::size_t>(shape.bins); ++b)
        ds.Bin_Work(0, b) = static_cast<std::int32_t>(b % 5) - 2, ds.Bin_Work(1, b) = 20 + static_cast<std::int32_t>(b % 3), ds.Bin_Work(2, b) = 95;
    Copy_To_Whole_Set(ds, shape.bins);
}

}  // namespace vantrel::test
