#include "processing/velocity_processing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "dataset/data_codes.h"
#include "decode/decode_ensemble.h"
#include "platform/text_format.h"
#include "platform/wide_loops.h"
#include "processing/beam_geometry.h"
#include "processing/magnitude_direction.h"

namespace vantrel {

namespace {

constexpr std::int16_t k_bad = k_bad_velocity;
constexpr std::size_t k_vel_components = 8;

// A velocity for storage: clamped to lo..32767 and rounded; NaN reads as bad.
std::int16_t To_Velocity(double x, double lo = -32768) {
    if (std::isnan(x)) return k_bad;
    return static_cast<std::int16_t>(Round_Clamp(x, lo, 32767));
}

// rnd(x) as an index clamped to lo..hi; NaN gives lo.
int To_Index(double x, int lo, int hi) {
    if (std::isnan(x)) return lo;
    return static_cast<int>(Round_Clamp(x, lo, hi));
}

// A count of bins or a bin number from doubles that may be anything: NaN and
// infinities become `fallback`, everything else is rounded within +-1e6.
int To_Bin_Count(double x, int fallback) {
    if (!std::isfinite(x)) return fallback;
    return static_cast<int>(Round_Clamp(x, -1e6, 1e6));
}

// Bins of slot e that the arrays can hold; 0 when the slot lies outside them.
int Usable_Bins(const Slot_Setup& dec, const Data_Set& ds, std::size_t e) {
    if (e >= ds.Sub_Vel.Last_Extent()) return 0;
    return std::clamp(dec.Num_Bins, 0, static_cast<int>(ds.Sub_Vel.Extent(1)));
}

bool Facing_Up(const Slot_Setup& dec) { return (dec.Sys_Config & 0x80) != 0; }

// The current slot, or one past the arrays (nothing to do) while Sub_Count is negative.
std::size_t Current_Slot(const Data_Set& ds) {
    return ds.Sub_Count < 0 ? ds.Sub_Vel.Last_Extent() : static_cast<std::size_t>(ds.Sub_Count);
}

// Bin number (from the transducer, 0 = nearest) one before the echo bump's near edge, or -1.
// The four beams run side by side, one lane each, so the loops vectorise.
int Rssi_Cut(const Slot_Setup& dec, const Data_Set& ds, int n, std::size_t e) {
    using Lanes = std::array<std::int32_t, 4>;
    const int w = std::max(1, To_Bin_Count(dec.Xmit_Length / dec.Bin_Size, 0) / 2);
    const std::uint8_t* echo = ds.Sub_Echo.Slice(e);
    const std::size_t stride = ds.Sub_Echo.Extent(0);
    std::array<Lanes, k_max_bins> c;  // cumulative sums, filled for 0..n-1
    Lanes sum{};
    for (int i = 0; i < n; ++i) {
        const std::uint8_t* cell = echo + stride * static_cast<std::size_t>(i);
        for (std::size_t k = 0; k < 4; ++k) sum[k] += cell[k];
        c[static_cast<std::size_t>(i)] = sum;
    }
    Lanes peak{}, p{};
    for (int i = 0; i <= n - 1 - 4 * w; ++i) {
        const auto ii = static_cast<std::size_t>(i), iw = static_cast<std::size_t>(w);
        const Lanes& c0 = c[ii];
        const Lanes& c1 = c[ii + iw];
        const Lanes& c3 = c[ii + 3 * iw];
        const Lanes& c4 = c[ii + 4 * iw];
        for (std::size_t k = 0; k < 4; ++k) {
            const std::int32_t d = c0[k] - 2 * c1[k] + 2 * c3[k] - c4[k];
            // Selects, not a branch: the peak moves unpredictably along a noisy profile.
            const bool higher = d > peak[k];
            peak[k] = higher ? d : peak[k];
            p[k] = higher ? i : p[k];
        }
    }
    const bool up = Facing_Up(dec);
    int cut = -1;
    for (std::size_t k = 0; k < 4; ++k) {
        const int candidate = up ? p[k] + w : n - p[k] - 3 * w - 2;
        if (peak[k] > 10) cut = std::max(cut, candidate);
    }
    return cut;
}

void Cut_Slot(const Slot_Setup& dec, Data_Set& ds, const Settings& settings, std::size_t e) {
    const auto& opt = settings.EoP_Options;
    if (!opt[k_eop_bt_depth] && !opt[k_eop_rssi]) return;
    const int n = Usable_Bins(dec, ds, e);
    if (n == 0) return;
    const double cos_theta = opt[k_eop_cos] ? Make_Beam_Geometry(dec.Sys_Config).cos_theta : 1.0;

    bool have_bt_cut = false;
    int bt_cut = -1;
    if (opt[k_eop_bt_depth] && dec.Have_BT) {
        double range = 999999.0;
        for (std::size_t k = 0; k < 4; ++k) {
            const double r = ds.Sub_BT_Range(k, e);
            if (r > 0 && r < range) {
                range = r;
                have_bt_cut = true;
            }
        }
        if (have_bt_cut) {
            if (opt[k_eop_cos]) range *= cos_theta;
            bt_cut = To_Bin_Count((range / 100 - dec.Bin1_Dist - dec.Xmit_Length) / dec.Bin_Size + 1.0, -1);
        }
    }
    int rssi_cut = -1;
    bool have_rssi_cut = false;  // a bump's candidate is never negative, the cosine may make it so
    if (opt[k_eop_rssi] && dec.Have_Echo) {
        rssi_cut = Rssi_Cut(dec, ds, n, e);
        have_rssi_cut = rssi_cut != -1;
        if (have_rssi_cut && opt[k_eop_cos]) {
            const double lead = dec.Bin1_Dist + dec.Xmit_Length;
            rssi_cut = To_Bin_Count(((rssi_cut * dec.Bin_Size + lead) * cos_theta - lead) / dec.Bin_Size, -1);
        }
    }
    // A cut that was found counts whatever its value; -1 is not "none" once computed.
    int cut;
    if (have_bt_cut) cut = bt_cut;
    else if (have_rssi_cut) cut = rssi_cut;
    else return;
    if (opt[k_eop_cut1]) cut -= 1;
    if (opt[k_eop_cut2]) cut -= 2;
    cut = std::min(cut, n - 1);

    // Bin numbers from the transducer cut..N-1 go; below 0 there is nothing left to keep.
    int first = 0, last = n - 1;
    if (cut > 0) {
        if (Facing_Up(dec)) first = cut;
        else last = n - 1 - cut;
    }
    std::int16_t* vel = ds.Sub_Vel.Slice(e);
    for (int i = first; i <= last; ++i) {
        std::int16_t* bin = vel + k_vel_components * static_cast<std::size_t>(i);
        bin[0] = bin[1] = bin[2] = bin[3] = k_bad;
    }
}


// Two beams of the flow-meter family: a horizontal velocity from beams 1 and 3 remapped
// onto the other beam pair's cells, and the difference of beams 2 and 4.
void Two_Beam_Path(const Slot_Setup& dec, Data_Set& ds, int n, std::size_t e) {
    static const double k_two_sin_20 = 2 * std::sin(20 * k_deg_to_rad);
    std::int16_t* vel = ds.Sub_Vel.Slice(e);
    std::array<std::int32_t, k_max_bins> h;  // filled for 0..n-1 below
    for (int i = 0; i < n; ++i) {
        std::int16_t* v = vel + k_vel_components * static_cast<std::size_t>(i);
        const auto ii = static_cast<std::size_t>(i);
        if (v[0] == k_bad || v[2] == k_bad) h[ii] = k_bad;
        else h[ii] = Round_Clamp((v[0] - v[2]) / k_two_sin_20, -32767, 32767);
        if (v[1] == k_bad || v[3] == k_bad) v[1] = k_bad;
        else v[1] = static_cast<std::int16_t>(Round_Clamp(v[1] - v[3], -32767, 32767));
        v[2] = v[3] = v[4] = v[5] = k_bad;
    }
    std::array<std::array<std::uint8_t, 4>, k_max_bins> copy;  // corr 0, corr 2, echo 0, echo 2
    for (int i = 0; i < n; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        copy[ii] = {ds.Sub_Corr(0, ii, e), ds.Sub_Corr(2, ii, e), ds.Sub_Echo(0, ii, e), ds.Sub_Echo(2, ii, e)};
    }
    double r = dec.Bin1_Dist_C30C20;
    for (int i = 0; i < n; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        const auto j = static_cast<std::size_t>(To_Index((r - dec.Bin1_Dist_C20C10) / dec.Bin_Size_C20C10, 0, n - 1));
        vel[k_vel_components * ii] = static_cast<std::int16_t>(h[j]);
        ds.Sub_Corr(0, ii, e) = copy[j][0];
        ds.Sub_Corr(2, ii, e) = copy[j][1];
        ds.Sub_Echo(0, ii, e) = copy[j][2];
        ds.Sub_Echo(2, ii, e) = copy[j][3];
        r += dec.Bin_Size_C30C20;
    }
}

// Moves each beam's cells to the depths they really sampled under tilt; cells mapped
// from outside the profile become bad. Nothing is touched when no beam would move.
void Map_Bins(std::int16_t* vel, int n, bool up, const std::array<double, 4>& factor) {
    // Under a quarter bin of drift at the far end every index rounds to itself.
    std::array<bool, 4> moves{};
    for (std::size_t k = 0; k < 4; ++k) moves[k] = !(std::fabs(factor[k] - 1) * n < 0.25);
    if (!moves[0] && !moves[1] && !moves[2] && !moves[3]) return;

    // Read from a copy framed by bad cells, so no value moves twice and no index is tested.
    std::array<std::array<std::int16_t, 4>, k_max_bins + 2> copy;
    copy[0] = {k_bad, k_bad, k_bad, k_bad};
    for (int i = 0; i < n; ++i) {
        std::memcpy(copy[static_cast<std::size_t>(i) + 1].data(), vel + k_vel_components * static_cast<std::size_t>(i), 8);
    }
    copy[static_cast<std::size_t>(n) + 1] = copy[0];
    // Per beam: source array index + 1 of every target, in a loop that vectorises, then the gather.
    std::array<std::int32_t, k_max_bins> source;
    const double hi = n;
    for (std::size_t k = 0; k < 4; ++k) {
        if (!moves[k]) continue;
        const double f = factor[k];
        if (!std::isfinite(f)) {
            for (int i = 0; i < n; ++i) vel[k + k_vel_components * static_cast<std::size_t>(i)] = k_bad;
            continue;
        }
        if (up) {
            for (int i = 0; i < n; ++i) {
                source[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(Round_Small(std::clamp(i * f, -1.0, hi))) + 1;
            }
        } else {
            // Target n-1-i reads rnd(n - i f - 1); stored by target so the gather runs forwards.
            for (int i = 0; i < n; ++i) {
                source[static_cast<std::size_t>(n - 1 - i)] =
                    static_cast<std::int32_t>(Round_Small(std::clamp(n - i * f - 1, -1.0, hi))) + 1;
            }
        }
        for (int t = 0; t < n; ++t) {
            vel[k + k_vel_components * static_cast<std::size_t>(t)] = copy[static_cast<std::size_t>(source[static_cast<std::size_t>(t)])][k];
        }
    }
}

// East, north, up and error of four beam velocities in place; a single bad beam is
// rebuilt from the other three (error bad), two or more make all four bad.
void Solve_Beams(std::int16_t* v, const Beam_Geometry& g, const Rotation& r) {
    int bad_count = 0, bad_beam = -1;
    for (int k = 0; k < 4; ++k) {
        if (v[k] == k_bad) {
            ++bad_count;
            bad_beam = k;
        }
    }
    if (bad_count >= 2) {
        v[0] = v[1] = v[2] = v[3] = k_bad;
        return;
    }
    std::array<double, 4> b{double(v[0]), double(v[1]), double(v[2]), double(v[3])};
    switch (bad_beam) {
        case 0: b[0] = b[2] + b[3] - b[1]; break;
        case 1: b[1] = b[2] + b[3] - b[0]; break;
        case 2: b[2] = b[0] + b[1] - b[3]; break;
        case 3: b[3] = b[0] + b[1] - b[2]; break;
        default: break;
    }
    const std::array<double, 4> out = Four_Beam_Solution(g, r, b);
    v[0] = To_Velocity(out[0]);
    v[1] = To_Velocity(out[1]);
    v[2] = To_Velocity(out[2]);
    v[3] = bad_beam < 0 ? To_Velocity(out[3]) : k_bad;
}

// Solve_Beams over a profile. The one rotation serves every bin, so every bin goes through
// the four-beam solution side by side in a loop that vectorises; a bin with a bad beam or
// a result that is not a number is redone by Solve_Beams on the way out.
VANTREL_WIDE_LOOPS void Solve_Profile(std::int16_t* vel, int n, const Beam_Geometry& g, const Rotation& r) {
    constexpr double k_redo = 1e9;  // no clamped result comes near it
    const auto bins = static_cast<std::size_t>(std::clamp(n, 0, k_max_bins));
    std::array<std::array<double, k_max_bins>, 4> beam, earth;
    for (std::size_t i = 0; i < bins; ++i) {
        for (std::size_t k = 0; k < 4; ++k) beam[k][i] = vel[k_vel_components * i + k];
    }
    for (std::size_t i = 0; i < bins; ++i) {
        const std::array<double, 4> o = Four_Beam_Solution(g, r, {beam[0][i], beam[1][i], beam[2][i], beam[3][i]});
        const bool any_bad = (beam[0][i] == k_bad) + (beam[1][i] == k_bad) + (beam[2][i] == k_bad) + (beam[3][i] == k_bad) != 0;
        const bool redo = any_bad | std::isnan(o[0] + o[1] + o[2] + o[3]);
        std::array<double, 4> e;  // rounded on the way out: here it kept the loop from vectorising
        for (std::size_t c = 0; c < 4; ++c) e[c] = std::min(std::max(o[c], -32768.0), 32767.0);
        earth[0][i] = redo ? k_redo : e[0];
        for (std::size_t c = 1; c < 4; ++c) earth[c][i] = e[c];
    }
    for (std::size_t i = 0; i < bins; ++i) {
        std::int16_t* v = vel + k_vel_components * i;
        if (earth[0][i] == k_redo) {
            Solve_Beams(v, g, r);
            continue;
        }
        for (std::size_t c = 0; c < 4; ++c) v[c] = static_cast<std::int16_t>(Round_Small(earth[c][i]));
    }
}

void Beam_To_Earth(const Slot_Setup& dec, Data_Set& ds, int n, std::size_t e) {
    const Beam_Geometry g = Make_Beam_Geometry(dec.Sys_Config);
    const Attitude att =
        Make_Attitude(ds.Sub_Anc(k_anc_pitch, e), ds.Sub_Anc(k_anc_roll, e), ds.Sub_Anc(k_anc_heading, e));
    const Rotation r = Instrument_To_Earth(att);
    std::int16_t* vel = ds.Sub_Vel.Slice(e);
    Map_Bins(vel, n, g.facing_up, Bin_Map_Factors(g, r));
    Solve_Profile(vel, n, g, r);
    Solve_Beams(ds.Sub_BT_Vel.Slice(e), g, r);
    Solve_Beams(ds.Sub_WM_Vel.Slice(e), g, r);
}

// The reference vector chosen by Vel_Reference; all bad when its data type is absent.
std::array<std::int16_t, 4> Reference_Vector(const Slot_Setup& dec, const Data_Set& ds, std::int32_t choice,
                                             std::size_t e) {
    constexpr std::array<std::int16_t, 4> all_bad{k_bad, k_bad, k_bad, k_bad};
    const auto pair_of = [&](const Dense_Array<std::int16_t>& a, std::size_t first) {
        return std::array<std::int16_t, 4>{a(first, e), a(first + 1, e), 0, 0};
    };
    const auto four_of = [&](const Dense_Array<std::int16_t>& a) {
        return std::array<std::int16_t, 4>{a(0, e), a(1, e), a(2, e), a(3, e)};
    };
    switch (choice) {
        case k_ref_bottom_track: return dec.Have_BT ? four_of(ds.Sub_BT_Vel) : all_bad;
        case k_ref_navigation: return dec.Have_Nav ? pair_of(ds.Sub_Nav_Vel, 0) : all_bad;
        case k_ref_gps_gga: return dec.Have_BT ? pair_of(ds.Sub_Ref_Vel, 0) : all_bad;
        case k_ref_gps_vtg: return dec.Have_BT ? pair_of(ds.Sub_Ref_Vel, 2) : all_bad;
        case k_ref_water_mass: return dec.Have_BT ? four_of(ds.Sub_WM_Vel) : all_bad;
        default: return {0, 0, 0, 0};
    }
}

// Adds the reference to every valid value of slots 0-3, held within +-32767; a bad
// reference component makes that component bad everywhere. Integers add exactly.
void Add_Reference(std::int16_t* vel, int n, const std::array<std::int16_t, 4>& ref) {
    // No reference adds zero, which leaves every value, good or bad, as it is.
    if (ref == std::array<std::int16_t, 4>{}) return;
    for (int i = 0; i < n; ++i) {
        std::int16_t* v = vel + k_vel_components * static_cast<std::size_t>(i);
        for (std::size_t c = 0; c < 4; ++c) {
            const std::int32_t sum = std::clamp(std::int32_t(v[c]) + ref[c], -32767, 32767);
            v[c] = (v[c] == k_bad || ref[c] == k_bad) ? k_bad : static_cast<std::int16_t>(sum);
        }
    }
}

}  // namespace

double Velocity_Direction(double east, double north) {
    if (east == 0) return north < 0 ? 180 : 0;
    if (north == 0) return east > 0 ? 90 : 270;
    const double angle = std::atan(north / east) * k_rad_to_deg;
    return east > 0 ? 90 - angle : 270 - angle;
}

namespace {

void Transform_Slot(const Slot_Setup& dec, Data_Set& ds, const Settings& settings, std::size_t e) {
    if (e >= ds.Sub_Vel.Last_Extent()) return;
    const int n = Usable_Bins(dec, ds, e);
    if (dec.Is_QTRM) {
        Two_Beam_Path(dec, ds, n, e);
        return;
    }
    if (((dec.Coord_Transform >> 3) & 3) == 0) Beam_To_Earth(dec, ds, n, e);

    std::int16_t* vel = ds.Sub_Vel.Slice(e);
    Add_Reference(vel, n, Reference_Vector(dec, ds, settings.Vel_Reference, e));
    Magnitude_Direction_Profile(vel, n);
    Magnitude_Direction(ds.Sub_BT_Vel.Slice(e));
    Magnitude_Direction(ds.Sub_WM_Vel.Slice(e));

    std::int64_t sum = 0;
    int count = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::int32_t range = ds.Sub_BT_Range(k, e);
        if (range != 0) {
            sum += range;
            ++count;
        }
    }
    ds.Sub_BT_Range(4, e) = count == 0 ? 0 : static_cast<std::int32_t>(rnd(static_cast<double>(sum) / count));
}

}  // namespace

Slot_Setup Slot_Setup_Of(const Decoder_State& dec) {
    return {.Num_Bins = dec.Num_Bins,
            .Sys_Config = dec.Sys_Config,
            .Coord_Transform = dec.Coord_Transform,
            .Is_QTRM = dec.Is_QTRM,
            .Have_BT = dec.Have_BT,
            .Have_Echo = dec.Have_Echo,
            .Have_Nav = dec.Have_Nav,
            .Bin_Size = dec.Bin_Size,
            .Bin1_Dist = dec.Bin1_Dist,
            .Xmit_Length = dec.Xmit_Length,
            .Bin_Size_C20C10 = dec.Bin_Size_C20C10,
            .Bin_Size_C30C20 = dec.Bin_Size_C30C20,
            .Bin1_Dist_C20C10 = dec.Bin1_Dist_C20C10,
            .Bin1_Dist_C30C20 = dec.Bin1_Dist_C30C20};
}

void Cut_End_Of_Profile(const Decoder_State& dec, Data_Set& ds, const Settings& settings) {
    Cut_Slot(Slot_Setup_Of(dec), ds, settings, Current_Slot(ds));
}

void Transform_And_Reference(const Decoder_State& dec, Data_Set& ds, const Settings& settings) {
    Transform_Slot(Slot_Setup_Of(dec), ds, settings, Current_Slot(ds));
}

bool Process_Ensemble(Decoder_State& dec, Data_Set& ds, const Settings& settings, const Decode_Options& opt) {
    if (!Decode_Ensemble(dec, ds, opt)) return false;
    Process_Decoded_Ensemble(dec, ds, settings);
    return true;
}

void Process_Decoded_Ensemble(const Decoder_State& dec, Data_Set& ds, const Settings& settings) {
    Process_Decoded_Slot(Slot_Setup_Of(dec), ds, settings, Current_Slot(ds));
}

void Process_Decoded_Slot(const Slot_Setup& setup, Data_Set& ds, const Settings& settings, std::size_t slot) {
    Cut_Slot(setup, ds, settings, slot);
    Transform_Slot(setup, ds, settings, slot);
}


void Error_Velocity_Sums::Add(const Data_Set& ds, std::size_t slot, int bins) {
    fewest_bins = std::min(fewest_bins, bins);
    const std::int16_t* vel = ds.Sub_Vel.Slice(slot);
    for (int i = 0; i < bins; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        const std::int16_t v = vel[3 + k_vel_components * ii];
        if (v == k_bad) continue;
        ++count[ii];
        sum[ii] += v;
        squares[ii] += double(v) * v;
    }
}

int Error_Velocity_Bins(const Decoder_State& dec, const Data_Set& ds) { return Error_Velocity_Bins(dec.Num_Bins, ds); }

int Error_Velocity_Bins(std::int32_t num_bins, const Data_Set& ds) {
    return std::clamp(num_bins, 0, static_cast<int>(std::min(ds.Sub_Vel.Extent(1), ds.Bin_Work.Extent(1))));
}

void Store_Error_Velocity_Statistics(const Error_Velocity_Sums& sums, Data_Set& ds, int bins, int slots) {
    for (int i = 0; i < bins; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        const double c = sums.count[ii];
        if (sums.count[ii] <= 1) {
            ds.Bin_Work(0, ii) = k_bad;
            ds.Bin_Work(1, ii) = k_bad;
            ds.Bin_Work(2, ii) = 0;
            continue;
        }
        const double variance = std::max(0.0, (sums.squares[ii] - sums.sum[ii] * sums.sum[ii] / c) / (c - 1));
        ds.Bin_Work(0, ii) = static_cast<std::int32_t>(rnd(sums.sum[ii] / c));
        ds.Bin_Work(1, ii) = static_cast<std::int32_t>(rnd(std::sqrt(variance)));
        ds.Bin_Work(2, ii) = static_cast<std::int32_t>(rnd(c * 100 / slots));
    }
}

void Error_Velocity_Statistics(const Decoder_State& dec, Data_Set& ds) {
    if (ds.Bin_Work.Size() == 0) return;
    const int n = Error_Velocity_Bins(dec, ds);
    const int slots = std::clamp(ds.Sub_Count, 0, static_cast<int>(ds.Sub_Vel.Last_Extent()));
    Error_Velocity_Sums sums;
    for (int e = 0; e < slots; ++e) sums.Add(ds, static_cast<std::size_t>(e), n);
    Store_Error_Velocity_Statistics(sums, ds, n, slots);
}

}  // namespace vantrel
