#include "synth_clock.h"

#include <cstdio>

namespace vantrel::synth {

namespace {

bool Leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int Days_In_Month(int y, int m) {
    static constexpr int k_days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && Leap(y) ? 29 : k_days[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (the era-based civil algorithm).
std::int64_t Days_From_Civil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void Civil_From_Days(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

bool Valid_Civil_Time(const int (&t)[6]) {
    return t[0] >= 1970 && t[0] <= 2099 && t[1] >= 1 && t[1] <= 12 && t[2] >= 1 && t[2] <= Days_In_Month(t[0], t[1]) &&
           t[3] >= 0 && t[3] <= 23 && t[4] >= 0 && t[4] <= 59 && t[5] >= 0 && t[5] <= 59;
}

Civil_Time Add_Hundredths(const int (&start)[6], std::int64_t hundredths) {
    const std::int64_t start_seconds = Days_From_Civil(start[0], start[1], start[2]) * 86400 +
                                       start[3] * 3600 + start[4] * 60 + start[5];
    const std::int64_t total = start_seconds * 100 + hundredths;
    const std::int64_t seconds = total / 100;
    const std::int64_t days = seconds / 86400;
    const std::int64_t in_day = seconds % 86400;
    Civil_Time c;
    int y = 0, m = 0, d = 0;
    Civil_From_Days(days, y, m, d);
    c.year = y;
    c.month = static_cast<std::uint8_t>(m);
    c.day = static_cast<std::uint8_t>(d);
    c.hour = static_cast<std::uint8_t>(in_day / 3600);
    c.minute = static_cast<std::uint8_t>(in_day / 60 % 60);
    c.second = static_cast<std::uint8_t>(in_day % 60);
    c.hundredths = static_cast<std::uint8_t>(total % 100);
    return c;
}

bool Parse_Civil_Time(const char* text, int (&t)[6]) {
    int used = 0;
    if (std::sscanf(text, "%4d-%2d-%2d %2d:%2d:%2d%n", &t[0], &t[1], &t[2], &t[3], &t[4], &t[5], &used) != 6) return false;
    return text[used] == '\0';
}

}  // namespace vantrel::synth
