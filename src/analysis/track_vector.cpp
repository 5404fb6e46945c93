#include "analysis/track_vector.h"

#include <algorithm>
#include <cmath>

#include "dataset/data_set.h"
#include "decode/decoder_state.h"
#include "platform/numeric.h"
#include "platform/text_format.h"
#include "settings/settings.h"

namespace vantrel {

namespace {

constexpr double k_component_limit = 32767;

template <std::size_t N>
std::size_t Checked_Item(const std::array<bool, N>& items, std::size_t fallback) {
    for (std::size_t i = 0; i < N; ++i)
        if (items[i]) return i;
    return fallback;
}

// Speed and direction of a reference velocity (columns 4 and 5), blank where missing.
std::string Speed_Direction_Text(const Dense_Array<std::int16_t>& vel, std::int32_t slot, double speed_scale) {
    std::string speed, direction;
    if (slot >= 0 && static_cast<std::size_t>(slot) < vel.Last_Extent()) {
        const auto e = static_cast<std::size_t>(slot);
        if (vel(4, e) != k_bad_velocity) speed = Format(vel(4, e) * speed_scale, "0.000");
        if (vel(5, e) != k_bad_velocity) direction = Format(vel(5, e) / 10.0, "0.00");
    }
    return Fix_String(speed, ' ', 8) + Fix_String(direction, ' ', 12);
}

// "+30.00°" or "-45.50°".
std::string Angle_Text(double degrees) {
    std::string text = degrees >= 0 ? "+" : "";
    text += Format(degrees, "0.00");
    text += "\xC2\xB0";
    return text;
}

}  // namespace

Projection_Source Projection_Of(const Track_Vector_Options& options) {
    return static_cast<Projection_Source>(Checked_Item(options.Select_Auto, 0));
}

void Rotate_Track_Data(Data_Set& ds, std::int32_t num_bins, const Track_Vector_Options& options, bool& RotateTrack) {
    if (!RotateTrack) return;
    RotateTrack = false;
    const Projection_Source source = Projection_Of(options);
    const std::size_t slots = std::min<std::size_t>(static_cast<std::size_t>(std::max(ds.Sub_Count, 0)),
                                                    ds.Sub_Vel.Last_Extent());
    const std::size_t bins = std::min<std::size_t>(static_cast<std::size_t>(std::max(num_bins, 0)), ds.Sub_Vel.Extent(1));
    const Dense_Array<std::int16_t>& directions = source == Projection_Source::k_navigation_track ? ds.Sub_Nav_Vel
                                                                                                  : ds.Sub_BT_Vel;
    double theta = options.ProjectionAngle * k_pi / 180;
    for (std::size_t e = 0; e < slots; ++e) {
        bool valid = true;
        if (source != Projection_Source::k_manual) {
            valid = e < directions.Last_Extent() && directions(0, e) != k_bad_velocity &&
                    directions(5, e) != k_bad_velocity;
            if (valid) theta = directions(5, e) * k_pi / 1800;
        }
        // Long track along theta (clockwise from north), cross track 90 degrees clockwise from it.
        const double s1 = std::sin(theta), c1 = std::cos(theta);
        const double s2 = std::sin(theta + k_pi / 2), c2 = std::cos(theta + k_pi / 2);
        std::int16_t* v = ds.Sub_Vel.Slice(e);
        for (std::size_t b = 0; b < bins; ++b, v += ds.Sub_Vel.Extent(0)) {
            const std::int16_t east = v[0], north = v[1];
            if (!valid || east == k_bad_velocity || north == k_bad_velocity) {
                v[6] = v[7] = k_bad_velocity;
                continue;
            }
            // Clamped first, so the branch-free rounding of small values applies.
            v[6] = static_cast<std::int16_t>(Round_Small(std::clamp(north * c1 + east * s1, -k_component_limit, k_component_limit)));
            v[7] = static_cast<std::int16_t>(Round_Small(std::clamp(north * c2 + east * s2, -k_component_limit, k_component_limit)));
        }
    }
}

double Limit_Projection_Angle(double degrees) {
    if (degrees > 180 || degrees < -179.99) return 180;
    return degrees;
}

std::int32_t Ensemble_Under_Mouse(double x, double left, double dx, std::int32_t count) {
    if (count <= 0) return 0;
    const double cell = dx > 0 ? std::floor((x - left) / dx) : 0;
    return static_cast<std::int32_t>(std::clamp(cell, 0.0, static_cast<double>(count - 1)));
}

std::string Reference_Name(std::int32_t vel_reference) {
    switch (vel_reference) {
        case k_ref_bottom_track: return "BOTTOM";
        case k_ref_navigation:
        case k_ref_gps_gga:
        case k_ref_gps_vtg: return "NAVIGATION";
        case k_ref_water_mass: return "WATER MASS";
        default: return "NONE";
    }
}

Track_Units Track_Units_Of(const Settings& settings) {
    const std::size_t speed = Checked_Item(settings.Track_Options.Speed_Units, 1);
    const std::size_t depth = Checked_Item(settings.Track_Options.Depth_Units, 1);
    return {std::string(settings.Track_Speed_Labels[speed]), std::string(settings.Track_Depth_Labels[depth]),
            settings.Track_Speed_Factors[speed], settings.Track_Depth_Factors[depth]};
}

std::vector<std::string> Track_Text_Panel(const Data_Set& ds, const Settings& settings) {
    const double scale = Track_Units_Of(settings).speed_scale;
    const std::int32_t last = ds.Sub_Count - 1;
    std::vector<std::string> lines{
        "              Speed   Direction",
        "Bottom     " + Speed_Direction_Text(ds.Sub_BT_Vel, last, scale),
        "Navigation " + Speed_Direction_Text(ds.Sub_Nav_Vel, last, scale),
        "Reference  " + Reference_Name(settings.Vel_Reference),
        "Ensemble: " + Format(ds.Last_Ens, "0"),
    };
    if (last >= 0 && static_cast<std::size_t>(last) < ds.Sub_Time.Last_Extent()) {
        const auto t = [&](std::size_t i) { return ds.Sub_Time(i, static_cast<std::size_t>(last)); };
        lines.push_back("Date:    " + Format(t(0), "00") + "/" + Format(t(1), "00") + "/" + Format(t(2), "00"));
        lines.push_back("Time:    " + Clock_Text(t(3), t(4), t(5), t(6)));
    }
    return lines;
}

Track_Titles Track_Titles_Of(const Settings& settings) {
    const Track_Vector_Options& options = settings.Track_Options;
    switch (Projection_Of(options)) {
        case Projection_Source::k_manual: {
            const double angle = options.ProjectionAngle;
            double cross = angle + 90;
            if (cross > 180) cross -= 360;
            return {"Long Track MANUAL Projection " + Angle_Text(angle), "Cross Track MANUAL Projection " + Angle_Text(cross)};
        }
        case Projection_Source::k_navigation_track:
            return {"Long Track NAVIGATION " + Angle_Text(0), "Cross Track NAVIGATION " + Angle_Text(90)};
        default: return {"Long Track BOTTOM " + Angle_Text(0), "Cross Track BOTTOM " + Angle_Text(90)};
    }
}

double Track_Bin_Depth(const Decoder_State& dec, std::int32_t orientation_count, std::int32_t b) {
    if (orientation_count > 0) return -(dec.Bin1_Dist + (dec.Num_Bins - b - 1) * dec.Bin_Size);
    return dec.Bin1_Dist + b * dec.Bin_Size;
}

std::string Track_Tool_Tip(const Data_Set& ds, const Decoder_State& dec, const Settings& settings, std::int32_t e,
                           std::int32_t bin) {
    if (e < 0 || static_cast<std::size_t>(e) >= ds.Sub_Ens_Number.Last_Extent()) return {};
    std::string text = "ENSEMBLE " + Format(ds.Sub_Ens_Number(static_cast<std::size_t>(e)), "0");
    if (bin < 0) return text + ", ___ BIN ";
    text += ", BIN " + Format(ds.Orientation_Count > 0 ? dec.Num_Bins - bin : bin + 1, "0");
    const auto b = static_cast<std::size_t>(bin);
    if (b >= ds.Sub_Vel.Extent(1) || ds.Sub_Vel(6, b, static_cast<std::size_t>(e)) == k_bad_velocity)
        return text + ", No Data";
    const Track_Units units = Track_Units_Of(settings);
    const auto component = [&](std::size_t column) {
        return Format(ds.Sub_Vel(column, b, static_cast<std::size_t>(e)) * units.speed_scale, "0.000") + " " +
               units.speed_unit;
    };
    return text + ", Long " + component(6) + ", Cross " + component(7);
}

}  // namespace vantrel
