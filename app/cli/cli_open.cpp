#include "cli_open.h"

#include <cstdio>
#include <string>

#include <unistd.h>

#include "dataset/max_ensembles.h"
#include "platform/binary_file.h"
#include "platform/program_messages.h"
#include "settings_options.h"

namespace vantrel::cli {

Cli_Host::Cli_Host() : tty_(::isatty(2) != 0) {
    Hooks().on_percent = [this](int percent) { Draw_Bar(percent); };
}

void Cli_Host::Show_Progress(const std::string& caption) {
    caption_ = caption;
    shown_at_ = std::chrono::steady_clock::now();
    active_ = true;
}

void Cli_Host::Draw_Bar(int percent) {
    if (!active_ || !tty_ || percent == last_percent_) return;
    if (std::chrono::steady_clock::now() - shown_at_ < std::chrono::milliseconds(500)) return;
    last_percent_ = percent;
    static constexpr const char* k_bar = "########################################";
    const int filled = percent * k_width / 100;
    std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%", caption_.c_str(), filled, k_bar, k_width - filled, "", percent);
    drawn_ = true;
}

void Cli_Host::Hide_Progress() {
    if (drawn_) std::fputc('\n', stderr);
    active_ = drawn_ = false;
    last_percent_ = -1;
}

Range_Options Take_Open_Options(Arg_List& args, App_State& app) {
    app.menus.MultiFile = args.Take_Flag("--multifile");
    app.menus.AutoTrack = args.Take_Flag("--monitoring");
    app.load.Settings_File = Apply_Settings_Options(args, app.settings);
    // Both keep to the data set's limits, as the Max Ensembles box does.
    if (const auto n = args.Take_Int("--max-sub")) app.settings.Max_Sub_Ens = Limit_Max_Sub_Ens(static_cast<double>(*n));
    if (const auto n = args.Take_Int("--max-whole")) app.settings.Max_Whole_Ens = Limit_Max_Sub_Ens(static_cast<double>(*n));
    Range_Options range;
    range.first = args.Take_Ensemble("--first");
    range.last = args.Take_Ensemble("--last");
    return range;
}

Outcome Open_For_Cli(App_State& app, Open_File_Host& host, const std::string& path) {
    if (std::string problem = Input_Problem(path); !problem.empty()) throw Cli_Error(problem);
    Outcome outcome = Open_File(app, host, path);
    if (outcome == Outcome_Kind::k_invalid_file || outcome == Outcome_Kind::k_out_of_memory) throw Cli_Error(outcome.message);
    // One ensemble makes no data set either: the same report and the same failure.
    if (outcome == Outcome_Kind::k_no_valid_ensembles || outcome == Outcome_Kind::k_too_few) {
        std::fwrite(app.Info_Text.data(), 1, app.Info_Text.size(), stdout);
        std::fflush(stdout);
        throw Cli_Error(outcome.message);
    }
    return outcome;
}

void Select_Range(App_State& app, Open_File_Host& host, const Range_Options& range) {
    const Data_Set& ds = app.ds;
    if (!(range.first || range.last) || !ds.File_Loaded) return;
    const std::int32_t f = range.first.value_or(ds.First_Ens);
    const std::int32_t l = range.last.value_or(f + app.settings.Max_Sub_Ens - 1);
    const Outcome loaded = Read_File_Selection(app, host, f, l, true);
    if (loaded == Outcome_Kind::k_invalid_file || loaded == Outcome_Kind::k_out_of_memory) throw Cli_Error(loaded.message);
    // An empty Sub Set would draw or print nothing as if it were data.
    if (loaded == Outcome_Kind::k_nothing_loaded) throw Cli_Error("Ensemble " + std::to_string(f) + " is not in the file");
}

}  // namespace vantrel::cli
