// vantrel-cli load FILE [--multifile] [--max-sub N] [--max-whole N] [--first N --last M]
//                       [--monitoring] [--dump-whole] [--dump-sub] [--settings FILE]
// vantrel-cli save-range FILE OUT --first F --last L [--multifile] [--settings FILE]
#include <cstdio>

#include "arg_list.h"
#include "cli_open.h"
#include "commands.h"
#include "loading/file_loading.h"
#include "loading/save_range.h"
#include "platform/binary_file.h"
#include "json_lines.h"
#include "platform/program_messages.h"

namespace vantrel::cli {

namespace {

void Print_Value(std::string& out, const char* name, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s: %.10g\n", name, value);
    out += buf;
}

}  // namespace

int Run_Load(const Args& raw_args) {
    Arg_List args(raw_args);
    App_State app;
    const Range_Options range = Take_Open_Options(args, app);
    const bool dump_whole = args.Take_Flag("--dump-whole");
    const bool dump_sub = args.Take_Flag("--dump-sub");
    const std::string path = args.Take_Positional("FILE");
    args.Finish();

    Cli_Host host;
    Open_For_Cli(app, host, path);
    const Data_Set& ds = app.ds;
    Select_Range(app, host, range);

    std::string out = app.Info_Text;
    Print_Value(out, "Ens_Step", ds.Ens_Step);
    Print_Value(out, "Whole_Count", ds.Whole_Count);
    Print_Value(out, "Whole_First_Ens", ds.Whole_First_Ens);
    Print_Value(out, "Sel_First_Ens", ds.Sel_First_Ens);
    Print_Value(out, "Sel_Last_Ens", ds.Sel_Last_Ens);
    Print_Value(out, "First_Ens", ds.First_Ens);
    Print_Value(out, "Last_Ens", ds.Last_Ens);
    Print_Value(out, "Sub_Count", ds.Sub_Count);
    Print_Value(out, "Avg_Interval", ds.Avg_Interval);
    Print_Value(out, "Orientation_Count", ds.Orientation_Count);
    out += std::string("File_Loaded: ") + (ds.File_Loaded ? "true" : "false") + "\n";
    if (dump_whole && ds.File_Loaded) {
        for (std::int32_t slot = 0; slot < ds.Whole_Count; ++slot) {
            Append_Whole_Slot_Json(out, ds, app.dec, static_cast<std::size_t>(slot));
        }
    }
    if (dump_sub) {
        for (std::int32_t slot = 0; slot < ds.Sub_Count; ++slot) Append_Slot_Json(out, ds, app.dec, static_cast<std::size_t>(slot));
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int Run_Save_Range(const Args& raw_args) {
    Arg_List args(raw_args);
    App_State app;
    const auto [first, last] = Take_Open_Options(args, app);
    const std::string path = args.Take_Positional("FILE");
    const std::string target = args.Take_Positional("OUT");
    args.Finish();
    if (!first || !last) throw Cli_Error("--first and --last are required");
    const std::int32_t f = *first, l = *last;
    if (f > l) throw Cli_Error("--first is after --last");

    Cli_Host host;
    Open_For_Cli(app, host, path);
    if (!app.ds.File_Loaded) throw Cli_Error(k_not_enough_valid);
    const Outcome saved = Save_Ensemble_Range(app, target, f, l);
    if (saved == Outcome_Kind::k_nothing_loaded) {
        std::fputs("save-range: nothing written\n", stdout);
    } else if (!saved) {
        throw Cli_Error(saved.message);
    } else {
        std::printf("save-range: wrote %lld bytes to %s\n", static_cast<long long>(File_Length(target)), target.c_str());
    }
    return 0;
}

}  // namespace vantrel::cli
