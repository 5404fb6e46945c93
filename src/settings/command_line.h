#pragma once
// The program's command line and the monitoring interval typed by the user.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

constexpr std::int32_t k_min_monitor_interval = 1;     // s
constexpr std::int32_t k_max_monitor_interval = 9999;  // s

struct Command_Line {
    std::string file;                   // empty: open nothing
    std::int32_t monitor_interval = 0;  // s; 0 when no " -M" interval was given
};

// The file to open from the program's arguments (already split and unquoted by the
// system): their text joined by blanks; a last seven characters " -Mdddd" give the
// monitoring interval, limited to 1..9999.
Command_Line Parse_Command_Line(const std::vector<std::string>& arguments);

// The interval for an answer typed into the "Monitor Interval" box: an empty answer
// (or cancel) keeps current; otherwise its value, rounded and limited to 1..9999.
std::int32_t Monitor_Interval_From_Answer(std::string_view answer, std::int32_t current);

}  // namespace vantrel
