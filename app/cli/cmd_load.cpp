// vantrel-cli load FILE [--multifile] [--max-sub N] [--max-whole N] [--first N --last M]
//                       [--monitoring] [--dump-whole] [--dump-sub] [--settings FILE]
// vantrel-cli save-range FILE OUT --first F --last L [--multifile] [--settings FILE]
#include <chrono>
#include <cstdio>
#include <optional>

#include <unistd.h>

#include "arg_list.h"
#include "commands.h"
#include "dataset/file_loading.h"
#include "dataset/max_ensembles.h"
#include "dataset/save_range.h"
#include "platform/binary_file.h"
#include "json_lines.h"
#include "settings_options.h"

namespace vantrel::cli {

namespace {

// The progress window on stderr: a bar drawn only on a terminal and only once a load
// has run for half a second.
class Cli_Host : public Open_File_Host {
public:
    void Show_Progress(const std::string& caption) override {
        caption_ = caption;
        shown_at_ = std::chrono::steady_clock::now();
        active_ = true;
    }
    void Set_Progress(int percent) override {
        if (!active_ || !tty_ || percent == last_percent_) return;
        if (std::chrono::steady_clock::now() - shown_at_ < std::chrono::milliseconds(500)) return;
        last_percent_ = percent;
        const int filled = percent * k_width / 100;
        std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%", caption_.c_str(), filled, k_bar, k_width - filled, "", percent);
        drawn_ = true;
    }
    void Hide_Progress() override {
        if (drawn_) std::fputc('\n', stderr);
        active_ = drawn_ = false;
        last_percent_ = -1;
    }

private:
    static constexpr int k_width = 40;
    static constexpr const char* k_bar = "########################################";
    const bool tty_ = ::isatty(2) != 0;
    std::string caption_;
    std::chrono::steady_clock::time_point shown_at_{};
    bool active_ = false, drawn_ = false;
    int last_percent_ = -1;
};

struct Range_Options {
    std::optional<std::int64_t> first, last;
};

// Options every command that opens a file shares, and the --first/--last range.
Range_Options Take_Open_Options(Arg_List& args, App_State& app) {
    app.menus.MultiFile = args.Take_Flag("--multifile");
    app.menus.AutoTrack = args.Take_Flag("--monitoring");
    Apply_Settings_Options(args, app.settings);
    if (const auto n = args.Take_Int("--max-sub")) app.settings.Max_Sub_Ens = Limit_Max_Sub_Ens(static_cast<double>(*n));
    if (const auto n = args.Take_Int("--max-whole")) {
        if (*n < 1 || *n > 1000000) throw Cli_Error("--max-whole: expected 1 to 1000000");
        app.settings.Max_Whole_Ens = static_cast<std::int32_t>(*n);
    }
    Range_Options range;
    range.first = args.Take_Int("--first");
    range.last = args.Take_Int("--last");
    return range;
}

std::int32_t Ensemble_Number(std::int64_t value, const char* what) {
    if (value < 0 || value > 0xFFFFFF) throw Cli_Error(std::string(what) + ": not an ensemble number");
    return static_cast<std::int32_t>(value);
}

// Opens as the open command does; a file that cannot be read is an error, a survey
// failure prints the information text first.
Open_Outcome Open_For_Cli(App_State& app, Open_File_Host& host, const std::string& path) {
    if (!File_Exists(path)) throw Cli_Error("Invalid File");
    const Open_Outcome outcome = Open_File(app, host, path);
    if (outcome == Open_Outcome::k_failed) throw Cli_Error("Invalid File");
    if (outcome == Open_Outcome::k_survey_failed) {
        std::fwrite(app.Info_Text.data(), 1, app.Info_Text.size(), stdout);
        std::fflush(stdout);
        throw Cli_Error("Not enough VALID ensembles");
    }
    return outcome;
}

void Print_Value(std::string& out, const char* name, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s: %.10g\n", name, value);
    out += buf;
}

}  // namespace

int Run_Load(const Args& raw_args) {
    Arg_List args(raw_args);
    App_State app;
    const auto [first, last] = Take_Open_Options(args, app);
    const bool dump_whole = args.Take_Flag("--dump-whole");
    const bool dump_sub = args.Take_Flag("--dump-sub");
    const std::string path = args.Take_Positional("FILE");
    args.Finish();

    Cli_Host host;
    Open_For_Cli(app, host, path);
    Data_Set& ds = app.ds;
    if ((first || last) && ds.File_Loaded) {
        const std::int32_t f = first ? Ensemble_Number(*first, "--first") : ds.First_Ens;
        const std::int32_t l = last ? Ensemble_Number(*last, "--last") : f + app.settings.Max_Sub_Ens - 1;
        Read_File_Selection(app, host, f, l, true);
    }

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
    const std::int32_t f = Ensemble_Number(*first, "--first");
    const std::int32_t l = Ensemble_Number(*last, "--last");

    Cli_Host host;
    Open_For_Cli(app, host, path);
    if (!app.ds.File_Loaded) throw Cli_Error("Not enough VALID ensembles");
    switch (Save_Ensemble_Range(app, target, f, l)) {
        case Save_Outcome::k_refused: throw Cli_Error(k_overwrite_refused);
        case Save_Outcome::k_nothing: std::fputs("save-range: nothing written\n", stdout); break;
        case Save_Outcome::k_written:
            std::printf("save-range: wrote %lld bytes to %s\n", static_cast<long long>(File_Length(target)), target.c_str());
            break;
    }
    return 0;
}

}  // namespace vantrel::cli
