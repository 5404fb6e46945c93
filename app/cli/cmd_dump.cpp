// vantrel-cli dump FILE [--raw] [--first N] [--count K] [--settings FILE] [--ref R] [--eop LIST]
//                       [--vel-scale X] [--bt-vel-scale X]
#include <array>
#include <cstdio>
#include <sstream>

#include "arg_list.h"
#include "commands.h"
#include "decode/decode_ensemble.h"
#include "decode/scanner.h"
#include "json_lines.h"
#include "processing/velocity_processing.h"

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

// The settings in force: defaults, then a settings file, then single overrides.
void Apply_Settings_Options(Arg_List& args, Settings& settings) {
    Load_Default_Options(settings);
    if (const auto file = args.Take_Value("--settings")) {
        switch (Load_Options(settings, *file)) {
            case Load_Result::k_unreadable: throw Cli_Error("cannot read settings file " + *file);
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

}  // namespace

int Run_Dump(const Args& raw_args) {
    Arg_List args(raw_args);
    const bool raw = args.Take_Flag("--raw");  // ensembles are printed as decoded
    const std::int64_t first = args.Take_Int("--first").value_or(1);
    const std::int64_t count = args.Take_Int("--count").value_or(-1);
    const std::string path = args.Take_Positional("FILE");
    App_State app;
    Apply_Settings_Options(args, app.settings);
    args.Finish();
    if (first < 1) throw Cli_Error("--first counts from 1");

    Binary_File file;
    if (!file.Open(path)) throw Cli_Error("cannot open " + path);
    app.dec.Data_Structure = Determine_File_Data_Structure(file, app.dec, No_Progress());
    if (app.dec.Data_Structure == k_structure_unknown) throw Cli_Error(path + ": not an ensemble file (no valid ensemble found)");
    Allocate_Data_Set(app.ds, false, 1, 1);

    std::string out;
    std::int64_t index = 0, printed = 0;
    while (count < 0 || printed < count) {
        if (!Get_Next_Ensemble(file, app.dec, app.ds.File_Loaded, No_Progress())) break;
        if (++index < first) continue;
        app.ds.Sub_Count = 0;
        Clear_Slot(app.ds, 0);
        if (raw) Decode_Ensemble(app);
        else Process_Ensemble(app);
        Append_Slot_Json(out, app.ds, app.dec, 0);
        ++printed;
        if (out.size() > (1u << 20)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace vantrel::cli
