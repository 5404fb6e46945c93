#include "cmd_export.h"

#include <cstdio>

#include "arg_list.h"
#include "cli_open.h"
#include "settings_options.h"
#include "export/run_export.h"
#include "platform/text_format.h"
#include "platform/program_messages.h"

namespace vantrel::cli {

std::vector<bool> Parse_Number_List(const std::string& list, int lowest, int highest, const std::string& what) {
    std::vector<bool> flags(static_cast<std::size_t>(highest - lowest + 1), false);
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        const std::string item = list.substr(start, comma - start);
        const std::size_t dash = item.find('-', 1);
        const std::int64_t a = Parse_Int(item.substr(0, dash), what);
        const std::int64_t b = dash == std::string::npos ? a : Parse_Int(item.substr(dash + 1), what);
        if (a < lowest || b > highest || a > b) throw Cli_Error(what + ": " + item + " outside " +
                                                                std::to_string(lowest) + ".." + std::to_string(highest));
        for (std::int64_t v = a; v <= b; ++v) flags[static_cast<std::size_t>(v - lowest)] = true;
        start = comma + 1;
    }
    return flags;
}

Export_Request Take_Export_Arguments(Arg_List& args) {
    Export_Request r;
    const std::optional<std::string> kind = args.Take_Value("--kind");
    if (!kind) throw Cli_Error("--kind contour|profile|series is required");
    if (*kind == "contour") r.kind = Export_Kind::k_contour;
    else if (*kind == "profile") r.kind = Export_Kind::k_profile;
    else if (*kind == "series") r.kind = Export_Kind::k_series;
    else throw Cli_Error("--kind: not contour, profile or series: " + *kind);
    r.mat = args.Take_Flag("--mat");
    if (const auto format = args.Take_Value("--format")) {
        if (*format == "mat") r.mat = true;
        else if (*format != "txt") throw Cli_Error("--format: not txt or mat: " + *format);
    }
    const std::optional<std::string> out = args.Take_Value("-o");
    // The export window takes text; the numbers are checked here as every command checks them.
    const auto number_text = [](const auto& value) {
        return value ? std::optional<std::string>(std::to_string(*value)) : std::nullopt;
    };
    r.first = number_text(args.Take_Ensemble("--first"));
    r.last = number_text(args.Take_Ensemble("--last"));
    r.step = number_text(args.Take_Int("--step", 1, k_max_ensemble_number));
    r.ens = number_text(args.Take_Ensemble("--ens"));
    if (!r.ens) r.ens = number_text(args.Take_Ensemble("--ensemble"));
    r.bins = args.Take_Value("--bins");
    r.type = args.Take_Value("--type");
    r.types = args.Take_Value("--types");
    // The per-kind names say the same for the tab they belong to.
    const auto profile_types = args.Take_Value("--profile-types");
    const auto series_types = args.Take_Value("--series-types");
    if (!r.types && r.kind == Export_Kind::k_profile) r.types = profile_types;
    if (!r.types && r.kind == Export_Kind::k_series) r.types = series_types;
    r.anc = args.Take_Value("--anc");
    r.calimbro = args.Take_Flag("--calimbro");
    r.file = args.Take_Positional("FILE");
    r.out = out ? *out : args.Take_Positional("OUT");
    if (r.out.empty()) throw Cli_Error("-o: no output file");

    // Check the lists now, so a bad one fails before anything is loaded.
    if (r.bins && *r.bins != "all") Parse_Number_List(*r.bins, 1, k_bin_list_count, "--bins");
    if (r.type) Parse_Number_List(*r.type, 0, k_export_type_count - 1, "--type");
    if (r.types) {
        const int highest = r.kind == Export_Kind::k_series ? k_series_box_count - 1 : k_export_type_count - 1;
        Parse_Number_List(*r.types, 0, highest, "--types");
    }
    if (r.anc) Parse_Number_List(*r.anc, 0, k_anc_box_count - 1, "--anc");
    return r;
}

Export_Request Parse_Export_Arguments(const Args& raw_args) {
    Arg_List args(raw_args);
    const Export_Request r = Take_Export_Arguments(args);
    args.Finish();
    return r;
}

namespace {

const char* const k_export_help =
    "usage: vantrel-cli export FILE -o OUT --kind contour|profile|series [options]\n"
    "  --format txt|mat    text (default) or MAT file; --mat is the same as --format mat\n"
    "  --type D            contour data type 0-19 (10 east velocity)\n"
    "  --first N --last M --step S  contour and series ensembles (the loaded Sub Set's, step 1)\n"
    "  --ens E, --ensemble E  the profile's ensemble (the cursor ensemble)\n"
    "  --bins LIST|all     bin list positions 1-255 (all)\n"
    "  --types LIST        profile types 0-19 or series types 0-39\n"
    "                      (also --profile-types LIST, --series-types LIST)\n"
    "  --anc LIST          ancillary boxes 0-7\n"
    "  --calimbro          series type 38: navigation from its reference copy\n"
    "  --settings FILE --multifile  as for load\n"
    "OUT may also be the second positional. A non-empty OUT is never overwritten.\n";

template <std::size_t N>
void Set_Flags(std::array<bool, N>& flags, const std::optional<std::string>& list, int highest, const std::string& what) {
    if (!list) return;
    const std::vector<bool> f = Parse_Number_List(*list, 0, highest, what);
    for (std::size_t i = 0; i < f.size() && i < N; ++i) flags[i] = f[i];
}

}  // namespace

int Run_Export_Request(const Export_Request& r, App_State& app, const Sub_Set_Loader& loader, Progress_Hooks& progress) {
    Export_Selection sel;
    const Data_Set& ds = app.ds;
    // As the window opens: the Sub Set's range, step 1, the profile ensemble.
    Range_Fields range{Format(ds.First_Ens, "0"), Format(ds.Last_Ens, "0"), "1"};
    if (r.first) range.First = *r.first;
    if (r.last) range.Last = *r.last;
    if (r.step) range.Step = *r.step;
    sel.Contour_Range = sel.Series_Range = range;
    sel.Profile_Ens = r.ens ? *r.ens : Format(ds.Cursor_Ens, "0");

    Bin_List bins{};
    if (!r.bins || *r.bins == "all") {
        bins.fill(true);
    } else {
        const std::vector<bool> f = Parse_Number_List(*r.bins, 1, k_bin_list_count, "--bins");
        for (std::size_t i = 0; i < f.size(); ++i) bins[i] = f[i];
    }
    sel.Contour_Bins = sel.Profile_Bins = sel.Series_Bins = bins;
    const Export_File_Type type = r.mat ? Export_File_Type::k_mat : Export_File_Type::k_text;
    sel.Contour_File_Type = sel.Profile_File_Type = sel.Series_File_Type = type;
    if (r.type) sel.Contour_Type = static_cast<std::int32_t>(Parse_Int(*r.type, "--type", 0, k_export_type_count - 1));
    if (r.kind == Export_Kind::k_profile) Set_Flags(sel.Profile_Types, r.types, k_export_type_count - 1, "--types");
    if (r.kind == Export_Kind::k_series) Set_Flags(sel.Series_Types, r.types, k_series_box_count - 1, "--types");
    if (r.calimbro) sel.Series_Types[k_type_calimbro] = true;
    Set_Flags(sel.Anc_Types, r.anc, k_anc_box_count - 1, "--anc");

    Export_Job job{app.ds, app.dec, sel, loader, progress, r.file};
    const Outcome written = Run_Export(job, r.kind, r.out, Input_Files(app));
    if (!written) throw Cli_Error(written.message);
    return 0;
}

int Run_Export(const Args& raw_args) {
    Arg_List args(raw_args);
    if (args.Take_Flag("--help")) {
        std::fputs(k_export_help, stdout);
        return 0;
    }
    App_State app;
    app.menus.MultiFile = args.Take_Flag("--multifile");
    app.load.Settings_File = Apply_Settings_Options(args, app.settings);
    const Export_Request request = Take_Export_Arguments(args);
    args.Finish();

    Cli_Host host;
    Open_For_Cli(app, host, request.file);
    if (!app.ds.File_Loaded) throw Cli_Error(k_not_enough_valid);
    const Sub_Set_Loader loader = [&app, &host](std::int32_t first_ens, std::int32_t last_ens) {
        return Read_File_Selection(app, host, first_ens, last_ens, false);
    };
    Run_Export_Request(request, app, loader, No_Progress());
    std::printf("export: wrote %s\n", request.out.c_str());
    return 0;
}

}  // namespace vantrel::cli
