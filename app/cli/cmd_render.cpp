// vantrel-cli render FILE --view whole|sub|series|profile|subwindow -o OUT.png [--size WxH]
//        [--code N] [--scale-mode M] [--first N --last M] [--cursor E] [--series-bins LIST]
//        [--series LIST] [--profile LIST] [--anc LIST] [--settings FILE] [--multifile]
#include <cmath>
#include <cstdio>
#include <limits>

#include "arg_list.h"
#include "charts/sub_set_layout.h"
#include "cli_open.h"
#include "cmd_export.h"
#include "commands.h"
#include "platform/qt/qimage_surface.h"
#include "platform/program_messages.h"

#include <QtGlobal>

namespace vantrel::cli {

namespace {

const char* const k_render_help =
    "usage: vantrel-cli render FILE --view VIEW -o OUT.png [options]\n"
    "  --view whole|sub|series|profile|subwindow\n"
    "                      the Whole Set contour, the Sub Set contour, the series and ancillary\n"
    "                      pane, the profile pane, or the Sub Set window with all three\n"
    "  --size WxH          picture size in pixels (1280x720)\n"
    "  --code N            contour code (10 correlation, 100 east velocity, 500 magnitude, ...)\n"
    "  --scale-mode M      0 fixed limits, 1 data range, 2-4 mean +- 1-3 standard deviations\n"
    "  --first N --last M  reload the Sub Set with these ensembles\n"
    "  --cursor E          the profile's ensemble, inside the Sub Set\n"
    "  --series-bins LIST  instrument bins drawn as series\n"
    "  --series LIST       series kinds 0-36\n"
    "  --profile LIST      profile kinds 0-22\n"
    "  --anc LIST          ancillary items 0-7\n"
    "  --settings FILE --multifile --max-sub N --max-whole N  as for load\n"
    "LIST is comma-separated numbers and ranges, e.g. 3,7,10-12.\n";

enum class Render_View { k_whole, k_sub, k_series, k_profile, k_subwindow };

Render_View Parse_View(const std::optional<std::string>& text) {
    if (!text) throw Cli_Error("--view whole|sub|series|profile|subwindow is required");
    if (*text == "whole") return Render_View::k_whole;
    if (*text == "sub") return Render_View::k_sub;
    if (*text == "series") return Render_View::k_series;
    if (*text == "profile") return Render_View::k_profile;
    if (*text == "subwindow") return Render_View::k_subwindow;
    throw Cli_Error("--view: not whole, sub, series, profile or subwindow: " + *text);
}

// "WxH" with both sides 16..8192 pixels.
void Parse_Size(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) throw Cli_Error("--size: expected WxH, got " + text);
    const std::int64_t w = Parse_Int(text.substr(0, x), "--size", 16, 8192);
    const std::int64_t h = Parse_Int(text.substr(x + 1), "--size", 16, 8192);
    width = static_cast<int>(w);
    height = static_cast<int>(h);
}

// Replaces flags with the numbers of LIST (lowest .. lowest + N - 1) when the option is given.
template <std::size_t N>
void Take_Selection(Arg_List& args, const std::string& name, std::array<bool, N>& flags, int lowest) {
    const std::optional<std::string> list = args.Take_Value(name);
    if (!list) return;
    const std::vector<bool> f = Parse_Number_List(*list, lowest, lowest + static_cast<int>(N) - 1, name);
    for (std::size_t i = 0; i < N; ++i) flags[i] = f[i];
}

// A Sub Set contour the size of target, drawn off-screen: a lone series or profile pane
// lines up with it as it does in the window.
Contour_View Hidden_Sub_Contour(const Surface& target, const App_State& app, std::unique_ptr<Surface>& chart) {
    chart = target.Create_Surface(target.Width(), target.Height());
    auto image = target.Create_Surface(1, 1);
    auto scratch = target.Create_Surface(1, 1);
    Contour_View view;
    Chart3d_DisplayTitles(view, app, {*chart, *image, *scratch}, Chart_Window::k_sub, app.settings.Contour_Code,
                          target.Width());
    return view;
}

void Draw_View(Render_View which, QImage_Surface& target, App_State& app) {
    target.Clear();
    auto scratch = target.Create_Surface(1, 1);
    switch (which) {
        case Render_View::k_whole: {
            Contour_View view;
            Draw_Whole_Set_Chart(target, app, view);
            break;
        }
        case Render_View::k_sub: {
            auto image = target.Create_Surface(1, 1);
            Contour_View view;
            Chart3d_DisplayTitles(view, app, {target, *image, *scratch}, Chart_Window::k_sub,
                                  app.settings.Contour_Code, target.Width());
            break;
        }
        case Render_View::k_series: {
            std::unique_ptr<Surface> chart;
            const Contour_View contour = Hidden_Sub_Contour(target, app, chart);
            Series_Outputs out;
            DrawSeriesChart(target, *scratch, app.ds, app.dec, app.settings, app.candles, out,
                            static_cast<float>(contour.geometry.left), static_cast<float>(contour.geometry.Plot_Width()),
                            contour.axes.time_ticks, chart->TextWidth("0") / 2);
            break;
        }
        case Render_View::k_profile: {
            std::unique_ptr<Surface> chart;
            const Contour_View contour = Hidden_Sub_Contour(target, app, chart);
            std::vector<double> depth_ticks;
            for (const Axis_Label& label : contour.axes.range) depth_ticks.push_back(label.pos);
            Profile_Outputs out;
            DrawProfileChart(target, *scratch, app.ds, app.dec, app.settings, out,
                             static_cast<std::int32_t>(std::lround(contour.geometry.Plot_Bottom())),
                             static_cast<std::int32_t>(std::lround(contour.geometry.Plot_Height())), depth_ticks);
            break;
        }
        case Render_View::k_subwindow: {
            Sub_Set_View view;
            Draw_Sub_Set_Window(target, app, view, target.Width());
            break;
        }
    }
}

}  // namespace

int Run_Render(const Args& raw_args) {
    Arg_List args(raw_args);
    if (args.Take_Flag("--help")) {
        std::fputs(k_render_help, stdout);
        return 0;
    }
    App_State app;
    const Range_Options range = Take_Open_Options(args, app);
    const Render_View which = Parse_View(args.Take_Value("--view"));
    const std::optional<std::string> out = args.Take_Value("-o");
    if (!out || out->empty()) throw Cli_Error("-o OUT.png is required");
    int width = 1280, height = 720;
    if (const auto size = args.Take_Value("--size")) Parse_Size(*size, width, height);
    Settings& s = app.settings;
    if (const auto code = args.Take_Int("--code", 0, std::numeric_limits<std::int32_t>::max())) {
        double lo = 0, hi = 0;
        if (!Contour_Code_Limits(static_cast<std::int32_t>(*code), lo, hi))
            throw Cli_Error("--code: not a contour code: " + std::to_string(*code));
        s.Contour_Code = static_cast<std::int32_t>(*code);
    }
    if (const auto mode = args.Take_Int("--scale-mode", 0, 4)) s.Contour_Scale_Mode = static_cast<std::int32_t>(*mode);
    const std::optional<std::int32_t> cursor = args.Take_Ensemble("--cursor");
    Take_Selection(args, "--series-bins", s.Series_Bins_Setting, 1);
    Take_Selection(args, "--series", s.Series_Select, 0);
    Take_Selection(args, "--profile", s.Profile_Select, 0);
    Take_Selection(args, "--anc", s.Anc_Select, 0);
    const std::string path = args.Take_Positional("FILE");
    args.Finish();

    Cli_Host host;
    Open_For_Cli(app, host, path);
    if (!app.ds.File_Loaded) throw Cli_Error(k_not_enough_valid);
    Select_Range(app, host, range);
    if (cursor) {
        const std::int32_t e = *cursor;
        if (e < app.ds.First_Ens || e > app.ds.Last_Ens)
            throw Cli_Error("--cursor: ensemble " + std::to_string(e) + " is not in the Sub Set " +
                            std::to_string(app.ds.First_Ens) + ".." + std::to_string(app.ds.Last_Ens));
        app.ds.Cursor_Ens = e;
    }

    // Qt's start-up notes (an unset runtime folder and the like) are not ours to print.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    Ensure_Gui_Application();
    QImage_Surface target(width, height);
    Draw_View(which, target, app);
    if (!target.Save_Png(*out)) throw Cli_Error("cannot write " + *out);
    std::printf("render: wrote %s (%dx%d)\n", out->c_str(), width, height);
    return 0;
}

}  // namespace vantrel::cli
