// The Whole Set and Sub Set windows' work: a full redraw of each at 1920x1080 with a Sub Set
// of 8192 ensembles by 128 bins, a drag selection that loads a new Sub Set of 8192 and
// redraws both windows, and one frame of the profile animation.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <stdexcept>

#include "app_state.h"
#include "charts/chart_interaction.h"
#include "loading/file_loading.h"
#include "platform/qt/qimage_surface.h"
#include "support/chart_fixture.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel {
namespace {

constexpr int k_screen_w = 1920, k_screen_h = 1080;

App_State& Chart_State() {
    static App_State* state = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        auto* s = new App_State;
        test::Fill_Chart_Data_Set(*s, {.ensembles = 8192, .bins = 128, .jet_bin_lo = 40, .jet_bin_hi = 60,
                                       .jet_ens_lo = 2000, .jet_ens_hi = 3000});
        for (int b = 0; b < 4; ++b) s->ds.Series_Bins[static_cast<std::size_t>(20 + 30 * b)] = true;
        return s;
    }();
    return *state;
}

void BM_Whole_Set_Window_Redraw_1920x1080(benchmark::State& bs) {
    App_State& state = Chart_State();
    QImage_Surface target(k_screen_w, k_screen_h);
    for (auto _ : bs) {
        Contour_View view;  // a fresh view: the grid is built again, as after a new file
        Draw_Whole_Set_Chart(target, state, view);
        Toggle_Sub_Set_Marker(target, view, state.ds, {state.ds.First_Ens, state.ds.Last_Ens, 1, 128});
        benchmark::DoNotOptimize(target.Image().constBits());
    }
}
BENCHMARK(BM_Whole_Set_Window_Redraw_1920x1080)->Unit(benchmark::kMillisecond);

void BM_Sub_Set_Window_Redraw_1920x1080(benchmark::State& bs) {
    App_State& state = Chart_State();
    QImage_Surface target(k_screen_w, k_screen_h);
    Sub_Set_View view;
    for (auto _ : bs) {
        Draw_Sub_Set_Window(target, state, view, k_screen_w);
        Toggle_Profile_Line(target, view.contour, state.ds, view.layout.contour_left);
        Toggle_Series_Line(target, view.contour, state.ds, view.layout.contour_left);
        benchmark::DoNotOptimize(target.Image().constBits());
    }
}
BENCHMARK(BM_Sub_Set_Window_Redraw_1920x1080)->Unit(benchmark::kMillisecond);

// One frame: the line erased, Cursor_Ens one on (back to the first at the end), the line
// drawn, the profile pane drawn again.
void BM_Profile_Animation_Frame_8192(benchmark::State& bs) {
    App_State& state = Chart_State();
    Data_Set& ds = state.ds;
    QImage_Surface target(k_screen_w, k_screen_h);
    Sub_Set_View view;
    Draw_Sub_Set_Window(target, state, view, k_screen_w);
    const double left = view.layout.contour_left;
    for (auto _ : bs) {
        Toggle_Profile_Line(target, view.contour, ds, left);
        if (!Step_Cursor_Ens(ds, 1)) ds.Cursor_Ens = ds.First_Ens;
        Toggle_Profile_Line(target, view.contour, ds, left);
        Draw_Sub_Set_Profile(target, Chart_Sources_Of(state), view);
        benchmark::DoNotOptimize(target.Image().constBits());
    }
    bs.counters["frames_per_s"] = benchmark::Counter(static_cast<double>(bs.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Profile_Animation_Frame_8192)->Unit(benchmark::kMillisecond);

struct Quiet_Host : Open_File_Host {};

// A file of 40000 ensembles of 128 bins opened with room for a Sub Set of 8192; each
// iteration a drag over the Whole Set selects 8192 ensembles elsewhere, which load and
// both windows draw at their aligned sizes on a 1920x1080 screen.
void BM_Drag_Selection_Load_8192_And_Redraw(benchmark::State& bs) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static const test::Temp_Folder folder;
    const std::string path = folder.Path("drag.ens");
    synth::Synth_Options opt;
    opt.ensembles = 40000;
    opt.bins = 128;
    opt.noise = 20;
    synth::Write_Synth_File(path, opt);
    App_State app;
    app.settings.Max_Sub_Ens = 8192;
    app.settings.Max_Whole_Ens = 1024;
    Quiet_Host host;
    if (Open_File(app, host, path) != Outcome_Kind::k_ok) throw std::runtime_error("bench file did not load");
    QImage_Surface whole(1056, 360), sub(k_screen_w, 720);
    Contour_View whole_view;
    Sub_Set_View sub_view;
    Draw_Whole_Set_Chart(whole, app, whole_view);
    const std::int32_t columns = whole_view.results.Ensembles;
    bool right = false;
    for (auto _ : bs) {
        // 8192 ensembles are about a fifth of the columns.
        const std::int32_t start = right ? columns / 2 : columns / 10;
        const auto range = Whole_Selection(app.ds, columns, app.dec.Num_Bins, {start, 0},
                                           {start + 8192 / (app.ds.Whole_Step + 1) - 1, 127});
        right = !right;
        if (!range || !Read_File_Selection(app, host, range->first_ens, range->last_ens, false)) {
            bs.SkipWithError("nothing loaded");
            break;
        }
        Draw_Whole_Set_Chart(whole, app, whole_view);
        Draw_Sub_Set_Window(sub, app, sub_view, k_screen_w);
        benchmark::DoNotOptimize(sub.Image().constBits());
    }
    bs.counters["ensembles"] = app.ds.Sub_Count;
}
BENCHMARK(BM_Drag_Selection_Load_8192_And_Redraw)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantrel
