#include "charts/chart_scales.h"

#include <cmath>

#include "platform/text_format.h"

namespace vantrel {

Range_Step Choose_Range_Step(double span) {
    if (span <= 0.5) return {0.2, true};
    if (span <= 1) return {0.5, true};
    // Upper bounds 2, 5, 10, 20, 50, ...: the step is the 1-2-5 value below the bound.
    for (double decade = 1; decade < 1e300; decade *= 10) {
        if (span <= 2 * decade) return {decade, false};
        if (span <= 5 * decade) return {2 * decade, false};
        if (span <= 10 * decade) return {5 * decade, false};
    }
    return {1, false};  // only a NaN or an infinite span gets here
}

std::int32_t Choose_Count_Step(double span) {
    if (span <= 10) return 1;
    if (span < 20) return 2;
    static constexpr double bounds[] = {50,     100,     200,     500,     1000,     2000,     5000,
                                        10000,  20000,   50000,   100000,  200000,   500000,   1000000,
                                        2000000, 5000000, 10000000, 20000000, 50000000};
    static constexpr std::int32_t steps[] = {5,     10,     20,     50,      100,     200,     500,
                                             1000,  2000,   5000,   10000,   20000,   50000,   100000,
                                             200000, 500000, 1000000, 2000000, 5000000};
    for (std::size_t i = 0; i < std::size(bounds); ++i)
        if (span <= bounds[i]) return steps[i];
    return 10000000;
}

Time_Unit Choose_Time_Unit(double duration) {
    const double n = rnd(duration);
    Time_Unit t;
    auto count = [&](double unit) { return static_cast<std::int32_t>(std::trunc(n / unit)); };
    if (duration <= 120) {
        t = {1, " sec", count(1), 1};
        const auto c = t.count;
        t.step = c < 6 ? 1 : c < 11 ? 2 : c <= 30 ? 5 : c <= 60 ? 10 : 15;
    } else if (duration <= 10800) {
        t = {60, " min", count(60), 1};
        const auto c = t.count;
        t.step = c < 6 ? 1 : c < 11 ? 2 : c < 31 ? 5 : c <= 60 ? 10 : c <= 180 ? 30 : 60;
    } else if (duration <= 1209600) {
        t = {3600, " hr", count(3600), 1};
        const auto c = t.count;
        t.step = c < 7 ? 1 : c < 13 ? 2 : c < 49 ? 6 : c <= 96 ? 12 : c <= 192 ? 24 : 48;
    } else {
        t = {86400, " dy", count(86400), 1};
        const auto c = t.count;
        t.step = c < 31 ? 5 : c < 61 ? 10 : c <= 120 ? 20 : c <= 240 ? 40 : 80;
    }
    return t;
}

std::string Duration_Text(double seconds) {
    const double days = std::floor(seconds / 86400);
    double rest = seconds - days * 86400;
    const double hours = std::floor(rest / 3600);
    rest -= hours * 3600;
    const double minutes = std::floor(rest / 60);
    rest -= minutes * 60;
    std::string text;
    if (days >= 2)
        text = Format(days, "0") + " days ";
    else if (days == 1)
        text = "1 day ";
    return text + Format(hours, "00") + ":" + Format(minutes, "00") + ":" + Format(rest, "00.00");
}

}  // namespace vantrel

namespace vantrel {

std::string Reference_Suffix(std::int32_t vel_reference) {
    static constexpr const char* suffixes[] = {"", " - BT", " - NAV", " - GGA", " - VTG", " - WM"};
    return vel_reference >= 1 && vel_reference <= 5 ? suffixes[vel_reference] : "";
}

std::string Short_Reference_Suffix(std::int32_t vel_reference) {
    static constexpr const char* suffixes[] = {"", "-B", "-N", "-G", "-V", "-W"};
    return vel_reference >= 1 && vel_reference <= 5 ? suffixes[vel_reference] : "";
}

}  // namespace vantrel
