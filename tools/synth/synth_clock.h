#pragma once
// Calendar arithmetic for the ensemble clocks of a synthetic file.

#include <cstdint>

namespace vantrel::synth {

struct Civil_Time {
    int year = 2000;
    std::uint8_t month = 1, day = 1, hour = 0, minute = 0, second = 0, hundredths = 0;
};

// True when {year, month, day, hour, minute, second} is a real time with a year 1970..2099.
bool Valid_Civil_Time(const int (&t)[6]);

// The time start + hundredths (hundredths of a second, 0 or more), Gregorian calendar.
Civil_Time Add_Hundredths(const int (&start)[6], std::int64_t hundredths);

// Parses "YYYY-MM-DD HH:MM:SS" into t; false when the text does not have that shape.
bool Parse_Civil_Time(const char* text, int (&t)[6]);

}  // namespace vantrel::synth
