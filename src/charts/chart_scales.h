#pragma once
// Tick and unit choosers shared by the contour, series, profile and track charts.

#include <cstdint>
#include <string>

namespace vantrel {

struct Range_Step {
    double step = 1;        // metres between labels
    bool decimals = false;  // labels carry one decimal
};

// Label step for a range axis whose half extent is span metres: 0.2 m up to 0.5, then
// a 1-2-5 sequence with span at most 2 (or 2.5) steps, without an upper end.
Range_Step Choose_Range_Step(double span);

// Label step (in ensembles) for an ensemble axis whose half extent is span ensembles.
std::int32_t Choose_Count_Step(double span);

struct Time_Unit {
    double seconds = 1;       // seconds per unit
    std::string label;        // " sec", " min", " hr" or " dy"
    std::int32_t count = 0;   // whole units in the duration
    std::int32_t step = 1;    // units between labels
};

// Unit and label step for an elapsed-time axis of the given duration in seconds.
Time_Unit Choose_Time_Unit(double duration);

// Deployment duration as "[D day(s) ]hh:mm:ss.ss" from seconds.
std::string Duration_Text(double seconds);

}  // namespace vantrel

namespace vantrel {

// Quantity shown by a contour or profile code's reference suffix: " - BT", " - NAV", ...
// for references 1 to 5, empty otherwise.
std::string Reference_Suffix(std::int32_t vel_reference);
// The short form of the series and profile charts: "-B", "-N", "-G", "-V", "-W" or empty.
std::string Short_Reference_Suffix(std::int32_t vel_reference);

}  // namespace vantrel
