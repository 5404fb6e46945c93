#include "settings/command_line.h"

#include "platform/text_format.h"

namespace vantrel {

namespace {

std::int32_t Limit_Interval(double seconds) {
    return Round_Clamp(seconds, k_min_monitor_interval, k_max_monitor_interval);
}

}  // namespace

Command_Line Parse_Command_Line(const std::vector<std::string>& arguments) {
    Command_Line line;
    for (const std::string& argument : arguments) {
        if (!line.file.empty()) line.file += ' ';
        line.file += argument;
    }
    constexpr std::size_t k_suffix = 7;  // " -M" and four digits
    if (line.file.size() >= k_suffix && line.file.compare(line.file.size() - k_suffix, 3, " -M") == 0) {
        line.monitor_interval = Limit_Interval(Val(std::string_view(line.file).substr(line.file.size() - 4)));
        line.file.resize(line.file.size() - k_suffix);
    }
    return line;
}

std::int32_t Monitor_Interval_From_Answer(std::string_view answer, std::int32_t current) {
    if (answer.empty()) return current;
    return Limit_Interval(Val(answer));
}

}  // namespace vantrel
