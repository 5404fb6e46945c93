#pragma once
// The profile pane of the Sub Set window: the cursor ensemble as vertical profiles, one
// pane per chosen group, bins upwards.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace vantrel {

struct Data_Set;
struct Decoder_State;
struct Settings;

constexpr int k_profile_group_count = 7;

// Profile kinds past the per-bin data types: the error-velocity statistics (mean, standard
// deviation, percent good) from kind 16, percent good of beams 1..4 from kind 19, with
// their codes.
constexpr std::int32_t k_profile_kind_stats = 16;
constexpr std::int32_t k_profile_kind_pgood = 19;
constexpr std::int32_t k_profile_code_stats = 1000;
constexpr std::int32_t k_profile_code_pgood = 10000;

// One entry of the profile kind table (kinds 0 to 22 of Profile_Select).
struct Profile_Kind {
    std::int32_t code = 0;
    std::int32_t group = 0;   // pane group 0-6
    std::int32_t column = 0;  // beam, component or statistic
    std::int32_t curve = 0;   // index into the profile colours and the curve label
};
Profile_Kind Profile_Kind_Of(std::int32_t kind);

// Label under a pane for one curve, with the reference suffix where it takes one.
std::string Profile_Curve_Label(std::int32_t kind, const Settings& settings, bool is_qtrm);

// The pane groups of the last profile chart, in pane order, and their units.
struct Profile_Outputs {
    std::vector<std::int32_t> groups;
    std::vector<std::string> units;
    double pane_width = 0;
    double bin_height = 0;
};

// Draws the profile of Cursor_Ens. plot_bottom and plot_height line the bins up with the
// rows of the contour chart; depth_ticks are the y of its range labels.
void DrawProfileChart(Surface& profile, Surface& scratch, const Data_Set& ds, const Decoder_State& dec,
                      const Settings& settings, Profile_Outputs& out, std::int32_t plot_bottom,
                      std::int32_t plot_height, const std::vector<double>& depth_ticks);

}  // namespace vantrel
