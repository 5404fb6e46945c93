#pragma once
// The rules the chart options dialog and the export window apply to what is typed and
// chosen, kept apart from the widgets so that they are tested without them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vantrel {

// The contour code of data-type option d (0..19): 1..5, 10..50, 100..600, 1000..4000; 0 outside.
std::int32_t Contour_Code_Of_Option(int d);

// The data-type option (0..19) of a contour code; nullopt for a code outside the scheme,
// and for the percent-good codes unless with_pgood (the export window has no such option).
std::optional<int> Contour_Option_Of_Code(std::int32_t code, bool with_pgood);

// The whole number a field holds: the leading number (Val) of its first max_chars
// characters, rounded half to even and kept inside the 32-bit range.
std::int32_t Field_Integer(std::string_view text, std::size_t max_chars);

// A first..last range limited to lo..hi, swapped when reversed and widened by one when
// the two are equal (upwards unless first is hi). hi > lo is assumed.
std::pair<std::int32_t, std::int32_t> Fix_Range(std::int32_t first, std::int32_t last, std::int32_t lo, std::int32_t hi);

// First_Bin, Last_Bin (data-set bins 1..num_bins) from the bins typed in the displayed
// orientation: down-facing data (Orientation_Count >= 1) shows bin b as num_bins - b + 1.
std::pair<std::int32_t, std::int32_t> Bins_From_Display(std::int32_t first, std::int32_t last, std::int32_t num_bins,
                                                        bool down_facing);
// The inverse: the two bins shown for First_Bin, Last_Bin, the smaller first.
std::pair<std::int32_t, std::int32_t> Bins_For_Display(std::int32_t first_bin, std::int32_t last_bin,
                                                       std::int32_t num_bins, bool down_facing);

// The data-set bin index (0-based) of bin list position p (1..255), or -1 outside 0..num_bins - 1.
std::int32_t Bin_Index_Of_Position(int p, std::int32_t num_bins, bool down_facing);

// Seconds of an averaging interval typed as "hhhh:mm:ss.hh" (a missing separator makes
// the rest one number), and the interval written back in that form.
double Parse_Interval(std::string_view text);
std::string Format_Interval(double seconds);

// Limits of a number typed into a dialog: inside lo..hi, and above lo when lo is open.
struct Number_Limits {
    double lo, hi;
    bool lo_open;
};
constexpr Number_Limits k_density_limits{500, 2000, false};  // kg per cubic metre
constexpr Number_Limits k_vel_scale_limits{0, 10, true};     // factor on velocities
constexpr Number_Limits k_interval_limits{0, 1e8, true};     // s

// Empty when value is inside limits; else why not, naming field and the value kept:
// "Water Density: 0 is not between 500 and 2000; 1000 kept".
std::string Check_Number(std::string_view field, double value, const Number_Limits& limits, double kept);

// Empty when min < max; else the same kind of note for an axis's pair of limits.
std::string Check_Scale(std::string_view field, double min, double max);

// The pixels of a saved window position or size of `twips`, or nullopt when it is not applied:
// negative (a window partly off the screen), or above `limit_px` (a window off the screen, or
// so large that its picture would cost gigabytes).
std::optional<int> Saved_Window_Pixels(std::int32_t twips, double px_per_twip, int limit_px);

}  // namespace vantrel
