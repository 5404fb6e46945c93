#include "settings/option_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/text_format.h"

namespace vantrel {

std::int32_t Contour_Code_Of_Option(int d) {
    if (d >= 0 && d <= 4) return d + 1;
    if (d >= 5 && d <= 9) return 10 * (d - 4);
    if (d >= 10 && d <= 15) return 100 * (d - 9);
    if (d >= 16 && d <= 19) return 1000 * (d - 15);
    return 0;
}

std::optional<int> Contour_Option_Of_Code(std::int32_t code, bool with_pgood) {
    for (int d = 0; d < (with_pgood ? 20 : 16); ++d) {
        if (Contour_Code_Of_Option(d) == code) return d;
    }
    return std::nullopt;
}

std::int32_t Field_Integer(std::string_view text, std::size_t max_chars) {
    const double v = std::nearbyint(Val(text.substr(0, std::min(max_chars, text.size()))));
    return static_cast<std::int32_t>(std::clamp(v, double{INT32_MIN}, double{INT32_MAX}));
}

std::pair<std::int32_t, std::int32_t> Fix_Range(std::int32_t first, std::int32_t last, std::int32_t lo, std::int32_t hi) {
    first = std::clamp(first, lo, hi);
    last = std::clamp(last, lo, hi);
    if (last < first) std::swap(first, last);
    if (first == last) {
        if (first < hi) {
            last = first + 1;
        } else {
            first = last - 1;
        }
    }
    return {first, last};
}

std::pair<std::int32_t, std::int32_t> Bins_From_Display(std::int32_t first, std::int32_t last, std::int32_t num_bins,
                                                        bool down_facing) {
    first = std::clamp(first, 1, num_bins);
    last = std::clamp(last, 1, num_bins);
    if (down_facing) {
        first = std::clamp(num_bins - first + 1, 1, num_bins);
        last = std::clamp(num_bins - last + 1, 1, num_bins);
    }
    auto [f, l] = Fix_Range(first, last, 1, std::max(num_bins, 2));
    return {std::max(f, 1), std::min(l, num_bins)};
}

std::pair<std::int32_t, std::int32_t> Bins_For_Display(std::int32_t first_bin, std::int32_t last_bin,
                                                       std::int32_t num_bins, bool down_facing) {
    if (!down_facing) return {first_bin, last_bin};
    return {num_bins - last_bin + 1, num_bins - first_bin + 1};
}

std::int32_t Bin_Index_Of_Position(int p, std::int32_t num_bins, bool down_facing) {
    const std::int32_t index = down_facing ? num_bins - p : p - 1;
    return index >= 0 && index < num_bins ? index : -1;
}

double Parse_Interval(std::string_view text) {
    // Each part runs to its separator; without one the rest of the text is that part.
    const auto take = [&text](char separator) {
        const std::size_t at = text.find(separator);
        const std::string_view part = text.substr(0, at);
        text = at == std::string_view::npos ? std::string_view{} : text.substr(at + 1);
        return Val(part);
    };
    const double hours = take(':');
    const double minutes = take(':');
    const double seconds = take('.');
    const double hundredths = Val(text);
    return (hours * 60 + minutes) * 60 + seconds + hundredths / 100;
}

std::string Format_Interval(double seconds) {
    const auto total = static_cast<std::int64_t>(std::llround(std::max(seconds, 0.0) * 100));
    const std::int64_t hours = total / 360000, minutes = total / 6000 % 60, secs = total / 100 % 60, hundredths = total % 100;
    return Format(static_cast<double>(hours), "0000") + ":" + Format(static_cast<double>(minutes), "00") + ":" +
           Format(static_cast<double>(secs), "00") + "." + Format(static_cast<double>(hundredths), "00");
}

namespace {

std::string Number_Text(double v) { return Format(v, std::abs(v - std::round(v)) < 1e-9 ? "0" : "0.000"); }

}  // namespace

std::string Check_Number(std::string_view field, double value, const Number_Limits& limits, double kept) {
    const bool inside = std::isfinite(value) && value <= limits.hi && (limits.lo_open ? value > limits.lo : value >= limits.lo);
    if (inside) return {};
    const std::string range = limits.lo_open ? "above " + Number_Text(limits.lo) + " and at most " + Number_Text(limits.hi)
                                             : "between " + Number_Text(limits.lo) + " and " + Number_Text(limits.hi);
    return std::string(field) + ": " + Number_Text(value) + " is not " + range + "; " + Number_Text(kept) + " kept";
}

std::string Check_Scale(std::string_view field, double min, double max) {
    if (min < max) return {};
    return std::string(field) + ": Min " + Number_Text(min) + " is not below Max " + Number_Text(max) + "; the old limits kept";
}

std::optional<int> Saved_Window_Pixels(std::int32_t twips, double px_per_twip, int limit_px) {
    if (twips < 0) return std::nullopt;
    const double px = std::round(twips * px_per_twip);
    if (px > limit_px) return std::nullopt;
    return static_cast<int>(px);
}

}  // namespace vantrel
