#pragma once
// Long-track and cross-track components of the Sub Set's velocities, and the rules and
// texts of the track vector view that need no window.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

struct Data_Set;
struct Decoder_State;
struct Settings;
struct Track_Vector_Options;

enum class Projection_Source : int { k_bottom_track = 0, k_navigation_track = 1, k_manual = 2 };

// The checked item of the "&Projection" menu.
Projection_Source Projection_Of(const Track_Vector_Options& options);

// Writes Sub_Vel columns 6 (long track) and 7 (cross track), mm/s, of every slot and of bins
// 0..num_bins-1 from east and north, when RotateTrack is set; then clears it.
void Rotate_Track_Data(Data_Set& ds, std::int32_t num_bins, const Track_Vector_Options& options, bool& RotateTrack);

// The manual angle as kept, degrees: above 180 or below -179.99 becomes 180.
double Limit_Projection_Angle(double degrees);

// Sub Set slot whose cell [left + i dx, left + (i + 1) dx) holds x, limited to 0..count-1.
std::int32_t Ensemble_Under_Mouse(double x, double left, double dx, std::int32_t count);

// "NONE", "BOTTOM", "NAVIGATION" or "WATER MASS" for a velocity reference.
std::string Reference_Name(std::int32_t vel_reference);

// The display units chosen in the "&Display" menu: factors from mm/s and from metres.
struct Track_Units {
    std::string speed_unit, depth_unit;
    double speed_scale = 0.001, depth_scale = 1;
};
Track_Units Track_Units_Of(const Settings& settings);

// The text panel, one string per line in a fixed-pitch font; a missing bottom-track or
// navigation speed or direction shows blank.
std::vector<std::string> Track_Text_Panel(const Data_Set& ds, const Settings& settings);

// The chart titles: "Long Track " / "Cross Track " with the projection and its angle.
struct Track_Titles {
    std::string long_track, cross_track;
};
Track_Titles Track_Titles_Of(const Settings& settings);

// Depth (negative, up-facing data) or distance of data-set bin b (0-based), metres.
double Track_Bin_Depth(const Decoder_State& dec, std::int32_t orientation_count, std::int32_t b);

// The tool tip of Sub Set slot e; bin is the data-set bin (0-based) of the strip under the
// mouse, or -1 with all bins in one strip.
std::string Track_Tool_Tip(const Data_Set& ds, const Decoder_State& dec, const Settings& settings, std::int32_t e,
                           std::int32_t bin);

}  // namespace vantrel
