#include "settings_options.h"

#include <array>
#include <cstdio>
#include <sstream>

#include "platform/binary_file.h"
#include "platform/program_messages.h"

namespace vantrel::cli {

namespace {

std::int32_t Parse_Reference(const std::string& name) {
    static const char* const k_names[] = {"none", "bt", "nav", "gga", "vtg", "wm"};
    for (std::int32_t i = 0; i < 6; ++i) {
        if (name == k_names[i]) return i;
    }
    throw Cli_Error("--ref: expected none, bt, nav, gga, vtg or wm, not '" + name + "'");
}

// A comma-separated subset of bt, rssi, cos, cut1, cut2; "none" or "" clears them all.
std::array<bool, k_eop_option_count> Parse_Eop(const std::string& list) {
    static const char* const k_names[] = {"bt", "rssi", "cos", "cut1", "cut2"};
    std::array<bool, k_eop_option_count> options{};
    if (list == "none") return options;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        bool known = false;
        for (std::size_t i = 0; i < options.size(); ++i) {
            if (item == k_names[i]) options[i] = known = true;
        }
        if (!known) throw Cli_Error("--eop: unknown option '" + item + "' (use bt, rssi, cos, cut1, cut2)");
    }
    return options;
}

}  // namespace

std::string Apply_Settings_Options(Arg_List& args, Settings& settings) {
    Load_Default_Options(settings);
    const auto file = args.Take_Value("--settings");
    if (file) {
        const Options_Load loaded = Load_Options(settings, *file);
        if (loaded == Load_Result::k_partial) {
            std::fprintf(stderr, "vantrel-cli: %s\n", loaded.outcome.message.c_str());
        } else if (loaded == Load_Result::k_unreadable) {
            // The system's reason (permission, not a regular file) says more than "cannot read".
            const std::string problem = Input_Problem(*file);
            throw Cli_Error(problem.empty() || problem == k_invalid_file ? loaded.outcome.message : problem);
        } else if (!loaded.outcome) {
            throw Cli_Error(loaded.outcome.message);
        }
    }
    if (const auto ref = args.Take_Value("--ref")) settings.Vel_Reference = Parse_Reference(*ref);
    if (const auto eop = args.Take_Value("--eop")) settings.EoP_Options = Parse_Eop(*eop);
    if (const auto scale = args.Take_Double("--vel-scale", -k_max_vel_scale, k_max_vel_scale)) settings.Vel_Scale = *scale;
    if (const auto scale = args.Take_Double("--bt-vel-scale", -k_max_vel_scale, k_max_vel_scale)) settings.BT_Vel_Scale = *scale;
    return file.value_or("");
}

}  // namespace vantrel::cli
