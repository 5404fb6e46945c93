#include "export/netcdf_variables.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <netcdf.h>

#include "export/component_split.h"
#include "export/export_common.h"
#include "platform/numeric.h"

namespace vantrel {

namespace {

template <typename T> constexpr int k_nc_type = 0;
template <> constexpr int k_nc_type<std::uint8_t> = NC_UBYTE;
template <> constexpr int k_nc_type<std::int16_t> = NC_SHORT;
template <> constexpr int k_nc_type<std::int32_t> = NC_INT;
template <> constexpr int k_nc_type<std::int64_t> = NC_INT64;
template <> constexpr int k_nc_type<double> = NC_DOUBLE;

constexpr std::int32_t k_no_value = std::numeric_limits<std::int32_t>::min();

// Bins of this ensemble that fit the range dimension; none when its cells lie elsewhere.
std::size_t Ensemble_Bins(const Ensemble_View& e, std::size_t dim_bins) {
    if (e.setup.other_cells) return 0;
    return std::min({static_cast<std::size_t>(std::clamp(e.setup.Num_Bins, 0, k_max_bins)), dim_bins, e.ds.Sub_Vel.Extent(1)});
}

// Describes one variable; the caller adds its gather.
template <typename T>
Netcdf_Variable Variable(std::string name, std::vector<Netcdf_Dimension> dims, std::string units, std::string long_name,
                         std::string standard_name = {}) {
    Netcdf_Variable v;
    v.name = std::move(name);
    v.nc_type = k_nc_type<T>;
    v.element_bytes = sizeof(T);
    v.dims = std::move(dims);
    if (!standard_name.empty()) v.text.emplace_back("standard_name", std::move(standard_name));
    v.text.emplace_back("long_name", std::move(long_name));
    if (!units.empty()) v.text.emplace_back("units", std::move(units));
    return v;
}

template <typename T>
void Set_Fill(Netcdf_Variable& v, T fill) {
    v.has_fill = true;
    std::memcpy(v.fill.data(), &fill, sizeof fill);
}

// A profile variable: components first..first+comps-1 of every bin of a (component, bin)
// slice, the bins beyond the ensemble's own given `fill`.
// The copy is unrolled for a fixed number of components: a copy of one to four values per
// bin through copy_n became a library call per bin, a third of the converter's time.
// A stride known when compiling lets the one-component copies vectorise.
template <std::size_t Comps, std::size_t Stride, typename T>
T* Copy_Components(const T* src, std::size_t bins, T* dst) {
    for (std::size_t bin = 0; bin < bins; ++bin, src += Stride, dst += Comps) {
        for (std::size_t c = 0; c < Comps; ++c) dst[c] = src[c];
    }
    return dst;
}

// A gather of `elements` values a step from one step's gather, step(e, dst). The step and
// the callables it holds are inlined: one call through std::function per variable and
// block, where one per value was most of a gather's time.
template <typename T, typename Step>
Netcdf_Gather Each_Step(std::size_t elements, Step step) {
    return [=](std::span<const Ensemble_View> steps, void* const* out) {
        T* dst = static_cast<T*>(out[0]);
        for (const Ensemble_View& e : steps) {
            step(e, dst);
            dst += elements;
        }
    };
}

template <std::size_t Comps, std::size_t Stride, typename T, typename Slice>
Netcdf_Variable Profile(Netcdf_Variable v, std::size_t dim_bins, Slice slice, std::size_t first, T fill) {
    v.gather = Each_Step<T>(dim_bins * Comps, [=](const Ensemble_View& e, T* dst) {
        const T* src = slice(e) + first;
        const std::size_t bins = Ensemble_Bins(e, dim_bins);
        dst = Copy_Components<Comps, Stride>(src, bins, dst);
        std::fill_n(dst, (dim_bins - bins) * Comps, fill);
    });
    return v;
}

// A per-ensemble variable of `comps` values; all are `fill` when the data type is absent.
template <typename T, typename Value>
Netcdf_Variable Series(Netcdf_Variable v, std::size_t comps, bool Ensemble_Setup::*present, Value value, T fill) {
    v.gather = Each_Step<T>(comps, [=](const Ensemble_View& e, T* dst) {
        if (present != nullptr && !(e.setup.*present)) {
            std::fill_n(dst, comps, fill);
            return;
        }
        for (std::size_t c = 0; c < comps; ++c) dst[c] = value(e, c);
    });
    return v;
}

template <typename T>
Netcdf_Variable Scaled(Netcdf_Variable v, double scale, T fill) {
    v.scale_factor = scale;
    Set_Fill(v, fill);
    return v;
}

Netcdf_Variable With(Netcdf_Variable v, const char* name, std::string value) {
    v.text.emplace_back(name, std::move(value));
    return v;
}

using Dims = std::vector<Netcdf_Dimension>;

// One scaled component of a data-set array.
struct Component_Spec {
    const char* name;
    const char* units;
    const char* long_name;
    const char* standard_name;
    double scale;
    std::size_t component;
};

// A per-ensemble variable of one component of a (component, slot) array.
template <typename T>
Netcdf_Variable Component_Series(const Component_Spec& s, Dense_Array<T> Data_Set::*array, bool Ensemble_Setup::*present,
                                 T fill) {
    auto v = Scaled<T>(Variable<T>(s.name, {k_dim_time}, s.units, s.long_name, s.standard_name), s.scale, fill);
    const std::size_t c = s.component;
    return Series<T>(v, 1, present, [array, c](const Ensemble_View& e, std::size_t) { return (e.ds.*array)(c, e.slot); }, fill);
}

void Add_Velocity_Profiles(std::vector<Netcdf_Variable>& vars, const Netcdf_Layout& layout) {
    const std::size_t nb = layout.bins;
    const Dims profile{k_dim_time, k_dim_range};
    static constexpr Component_Spec k_components[6] = {
        {"velocity_east", "m s-1", "eastward water velocity", "eastward_sea_water_velocity", 0.001, 0},
        {"velocity_north", "m s-1", "northward water velocity", "northward_sea_water_velocity", 0.001, 1},
        {"velocity_up", "m s-1", "upward water velocity", "upward_sea_water_velocity", 0.001, 2},
        {"velocity_error", "m s-1", "error velocity", "", 0.001, 3},
        {"velocity_magnitude", "m s-1", "horizontal water speed", "sea_water_speed", 0.001, 4},
        {"velocity_direction", "degree", "direction of the horizontal water velocity", "direction_of_sea_water_velocity", 0.1, 5},
    };
    if (layout.processed) {
        for (const Component_Spec& k : k_components) {
            auto v = Variable<std::int16_t>(k.name, profile, k.units, k.long_name, layout.earth ? k.standard_name : "");
            vars.push_back(Scaled<std::int16_t>(With(v, "velocity_reference", layout.reference), k.scale, k_bad_velocity));
        }
        // The six in one pass over each slot: one transposition instead of six strided copies.
        Netcdf_Variable& first = vars[vars.size() - 6];
        first.fills = 6;
        first.gather = [nb](std::span<const Ensemble_View> steps, void* const* out) {
            std::array<std::int16_t*, 6> dst;
            for (std::size_t c = 0; c < 6; ++c) dst[c] = static_cast<std::int16_t*>(out[c]);
            for (const Ensemble_View& e : steps) {
                const std::size_t bins = Ensemble_Bins(e, nb);
                Split_Components<6>(e.ds.Sub_Vel.Slice(e.slot), bins, dst);
                for (std::int16_t*& d : dst) {
                    std::fill(d + bins, d + nb, k_bad_velocity);
                    d += nb;
                }
            }
        };
    }
    auto raw = Variable<std::int16_t>("velocity_raw", {k_dim_time, k_dim_range, k_dim_component}, "m s-1",
                                      "velocity as recorded: beams 1-4 or the file's four components");
    raw = With(raw, "coordinate_system", layout.coordinate_system);
    vars.push_back(Profile<4, 8, std::int16_t>(Scaled<std::int16_t>(raw, 0.001, k_bad_velocity), nb,
                                               [](const Ensemble_View& e) { return e.raw_vel; }, 0, k_bad_velocity));
}

void Add_Count_Profiles(std::vector<Netcdf_Variable>& vars, const Netcdf_Layout& layout) {
    const std::size_t nb = layout.bins;
    const Dims beams{k_dim_time, k_dim_range, k_dim_beam}, mean{k_dim_time, k_dim_range};
    const auto corr = [](const Ensemble_View& e) { return e.ds.Sub_Corr.Slice(e.slot); };
    const auto echo = [](const Ensemble_View& e) { return e.ds.Sub_Echo.Slice(e.slot); };
    const auto pg = [](const Ensemble_View& e) { return e.ds.Sub_PGood.Slice(e.slot); };
    using U8 = std::uint8_t;
    vars.push_back(Profile<4, 5, U8>(Variable<U8>("correlation", beams, "1", "correlation magnitude, counts"), nb, corr, 0, 0));
    vars.push_back(Profile<1, 5, U8>(Variable<U8>("correlation_mean", mean, "1", "four-beam mean correlation magnitude, counts"),
                                     nb, corr, 4, 0));
    vars.push_back(Profile<4, 5, U8>(Variable<U8>("echo_intensity", beams, "1", "echo intensity, counts"), nb, echo, 0, 0));
    vars.push_back(Profile<1, 5, U8>(Variable<U8>("echo_intensity_mean", mean, "1", "four-beam mean echo intensity, counts"),
                                     nb, echo, 4, 0));
    vars.push_back(Profile<4, 5, U8>(Variable<U8>("percent_good", beams, "percent", "percent good"), nb, pg, 0, 0));
}

void Add_Bottom_Track(std::vector<Netcdf_Variable>& vars, const Netcdf_Layout& layout) {
    using S16 = std::int16_t;
    auto vel = Variable<S16>("bt_velocity", {k_dim_time, k_dim_component}, "m s-1",
                             layout.processed ? "bottom-track velocity, components as velocity_east..velocity_error"
                                              : "bottom-track velocity as recorded");
    vars.push_back(Series<S16>(Scaled<S16>(vel, 0.001, k_bad_velocity), 4, &Ensemble_Setup::Have_BT,
                               [](const Ensemble_View& e, std::size_t c) { return e.ds.Sub_BT_Vel(c, e.slot); }, k_bad_velocity));
    if (layout.processed) {
        static constexpr Component_Spec k_speed = {"bt_speed", "m s-1", "bottom-track horizontal speed", "", 0.001, 4};
        static constexpr Component_Spec k_direction = {"bt_direction", "degree", "bottom-track direction, clockwise from north",
                                                       "", 0.1, 5};
        vars.push_back(Component_Series<S16>(k_speed, &Data_Set::Sub_BT_Vel, &Ensemble_Setup::Have_BT, k_bad_velocity));
        vars.push_back(Component_Series<S16>(k_direction, &Data_Set::Sub_BT_Vel, &Ensemble_Setup::Have_BT, k_bad_velocity));
    }
    using S32 = std::int32_t;
    // A range of 0 means the beam found no bottom.
    auto range = Variable<S32>("bt_range", {k_dim_time, k_dim_beam}, "m", "bottom-track range along each beam");
    vars.push_back(Series<S32>(Scaled<S32>(range, 0.01, 0), 4, &Ensemble_Setup::Have_BT,
                               [](const Ensemble_View& e, std::size_t c) { return e.ds.Sub_BT_Range(c, e.slot); }, 0));
    if (layout.processed) {
        static constexpr Component_Spec k_mean = {"bt_range_mean", "m",
                                                  "mean bottom-track range of the beams that found the bottom", "", 0.01, 4};
        vars.push_back(Component_Series<S32>(k_mean, &Data_Set::Sub_BT_Range, &Ensemble_Setup::Have_BT, 0));
    }
}

void Add_Navigation(std::vector<Netcdf_Variable>& vars) {
    using Position = Dense_Array<std::int32_t> Data_Set::*;
    const auto position = [](const char* name, const char* units, const char* long_name, const char* standard_name, Position p) {
        auto v = Variable<double>(name, {k_dim_time}, units, long_name, standard_name);
        Set_Fill(v, std::numeric_limits<double>::quiet_NaN());
        return Series<double>(v, 1, &Ensemble_Setup::Have_Nav,
                              [p](const Ensemble_View& e, std::size_t) { return Position_Degrees((e.ds.*p)(e.slot)); },
                              std::numeric_limits<double>::quiet_NaN());
    };
    vars.push_back(position("latitude", "degrees_north", "latitude of the last navigation fix", "latitude", &Data_Set::Sub_Last_Lat));
    vars.push_back(position("longitude", "degrees_east", "longitude of the last navigation fix", "longitude", &Data_Set::Sub_Last_Lon));
    vars.push_back(position("latitude_first", "degrees_north", "latitude of the first navigation fix", "", &Data_Set::Sub_First_Lat));
    vars.push_back(position("longitude_first", "degrees_east", "longitude of the first navigation fix", "", &Data_Set::Sub_First_Lon));

    static constexpr Component_Spec k_nav[4] = {
        {"nav_velocity_east", "m s-1", "eastward platform velocity from navigation", "", 0.001, 0},
        {"nav_velocity_north", "m s-1", "northward platform velocity from navigation", "", 0.001, 1},
        {"nav_speed", "m s-1", "platform speed made good", "platform_speed_wrt_ground", 0.001, 4},
        {"nav_direction", "degree", "platform direction made good", "platform_course", 0.1, 5},
    };
    for (const Component_Spec& n : k_nav) {
        vars.push_back(Component_Series<std::int16_t>(n, &Data_Set::Sub_Nav_Vel, &Ensemble_Setup::Have_Nav, k_bad_velocity));
    }
}

void Add_Ancillary(std::vector<Netcdf_Variable>& vars) {
    static constexpr Component_Spec k_anc[5] = {
        {"pitch", "degree", "pitch of the instrument", "platform_pitch", 0.01, k_anc_pitch},
        {"roll", "degree", "roll of the instrument", "platform_roll", 0.01, k_anc_roll},
        {"heading", "degree", "heading of the instrument", "platform_orientation", 0.01, k_anc_heading},
        {"temperature", "degree_Celsius", "water temperature at the transducer", "sea_water_temperature", 0.01, k_anc_temperature},
        {"depth", "m", "depth of the transducer", "depth", 0.001, k_anc_depth},
    };
    for (const Component_Spec& a : k_anc) {
        auto v = Component_Series<std::int32_t>(a, &Data_Set::Sub_Anc, &Ensemble_Setup::Have_VL, k_no_value);
        if (a.component == k_anc_depth) v = With(v, "positive", "down");
        vars.push_back(std::move(v));
    }
}

}  // namespace

bool Clock_Milliseconds(const std::uint8_t* clock, std::int64_t& ms) {
    const std::int64_t year = clock[0] < 80 ? 2000 + clock[0] : 1900 + clock[0];
    const unsigned month = clock[1], day = clock[2];
    static constexpr unsigned k_days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (month < 1 || month > 12 || day < 1 || day > k_days[month - 1] || (month == 2 && day == 29 && !leap)) return false;
    if (clock[3] > 23 || clock[4] > 59 || clock[5] > 59 || clock[6] > 99) return false;
    // Days from the civil date (proleptic Gregorian calendar).
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = y / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    ms = ((days * 24 + clock[3]) * 60 + clock[4]) * 60000 + clock[5] * 1000 + clock[6] * 10;
    return true;
}

double Bin_Range(const Decoder_State& dec, std::size_t k) {
    const bool up = (dec.Sys_Config & 0x80) != 0;
    const double cells = static_cast<double>(up ? k : static_cast<std::size_t>(std::max(dec.Num_Bins, 1)) - 1 - k);
    const double distance = dec.Bin1_Dist + cells * dec.Bin_Size;
    return up ? distance : -distance;
}

const char* Coordinate_System_Name(std::int32_t coord_transform) {
    static constexpr const char* k_names[4] = {"beam", "instrument", "ship", "earth"};
    return k_names[(coord_transform >> 3) & 3];
}

Ensemble_Setup Ensemble_Setup_Of(const Decoder_State& dec) {
    return {.Num_Bins = dec.Num_Bins, .Have_VL = dec.Have_VL, .Have_BT = dec.Have_BT, .Have_Nav = dec.Have_Nav};
}

std::vector<Netcdf_Variable> Netcdf_Catalogue(const Netcdf_Layout& layout) {
    std::vector<Netcdf_Variable> vars;
    auto time = Variable<std::int64_t>("time", {k_dim_time}, "milliseconds since 1970-01-01 00:00:00", "time of the ensemble",
                                       "time");
    time = With(With(time, "calendar", "standard"), "axis", "T");
    Set_Fill(time, std::numeric_limits<std::int64_t>::min());
    time.gather = Each_Step<std::int64_t>(1, [](const Ensemble_View& e, std::int64_t* out) {
        std::int64_t ms = std::numeric_limits<std::int64_t>::min();
        if (!Clock_Milliseconds(e.ds.Sub_Time.Slice(e.slot), ms)) ms = std::numeric_limits<std::int64_t>::min();
        *out = ms;
    });
    vars.push_back(std::move(time));
    auto number = Variable<std::int32_t>("ensemble_number", {k_dim_time}, "", "ensemble number");
    number.gather = Each_Step<std::int32_t>(1, [](const Ensemble_View& e, std::int32_t* out) { *out = e.ds.Sub_Ens_Number(e.slot); });
    vars.push_back(std::move(number));
    Add_Velocity_Profiles(vars, layout);
    Add_Count_Profiles(vars, layout);
    Add_Bottom_Track(vars, layout);
    Add_Navigation(vars);
    Add_Ancillary(vars);
    return vars;
}

}  // namespace vantrel
