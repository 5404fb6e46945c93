#include "settings_options.h"

#include <array>
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

void Apply_Settings_Options(Arg_List& args, Settings& settings) {
    Load_Default_Options(settings);
    if (const auto file = args.Take_Value("--settings")) {
        switch (Load_Options(settings, *file)) {
            case Load_Result::k_unreadable: {
                const std::string problem = Input_Problem(*file);
                throw Cli_Error(problem.empty() || problem == k_invalid_file ? "cannot read settings file " + *file : problem);
            }
            case Load_Result::k_other_version:
                throw Cli_Error(*file + ": not a settings file of version " + std::string(Options_Version()));
            default: break;
        }
    }
    if (const auto ref = args.Take_Value("--ref")) settings.Vel_Reference = Parse_Reference(*ref);
    if (const auto eop = args.Take_Value("--eop")) settings.EoP_Options = Parse_Eop(*eop);
    if (const auto scale = args.Take_Double("--vel-scale")) settings.Vel_Scale = *scale;
    if (const auto scale = args.Take_Double("--bt-vel-scale")) settings.BT_Vel_Scale = *scale;
}

}  // namespace vantrel::cli
