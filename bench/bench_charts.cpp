// Redraw times of the Sub Set window's charts over a full-size Sub Set.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "big_state.h"
#include "charts/sub_set_layout.h"
#include "platform/qt/qimage_surface.h"
#include "support/chart_fixture.h"

namespace vantrel {

App_State& Big_State() {
    static App_State* state = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        auto* s = new App_State;
        test::Fill_Chart_Data_Set(*s, {.ensembles = 8192, .bins = 128, .jet_bin_lo = 40, .jet_bin_hi = 60,
                                       .jet_ens_lo = 2000, .jet_ens_hi = 3000});
        s->settings.Contour_Switch_3 = true;
        return s;
    }();
    return *state;
}

namespace {

void BM_Sub_Set_Contour_8192x128_At_1600x900(benchmark::State& bs) {
    App_State& state = Big_State();
    QImage_Surface chart(1600, 900), image, scratch;
    Contour_View view;
    for (auto _ : bs) {
        Chart3d_DisplayTitles(view, state, {chart, image, scratch}, Chart_Window::k_sub, 500, 1600);
        benchmark::DoNotOptimize(chart.Image().constBits());
    }
}
BENCHMARK(BM_Sub_Set_Contour_8192x128_At_1600x900)->Unit(benchmark::kMillisecond);

void BM_Series_8_Bins_4_Series_Candles_4_Ancillary(benchmark::State& bs) {
    App_State& state = Big_State();
    Settings settings = state.settings;
    settings.Series_Select = {};
    for (int k : {2, 10, 14, 15}) settings.Series_Select[static_cast<std::size_t>(k)] = true;
    settings.Series_Switch = true;
    settings.Averaging_All = false;
    settings.Averaging_Interval = 3600;
    for (int i : {0, 1, 2, 3}) settings.Anc_Select[static_cast<std::size_t>(i)] = true;
    Data_Set& ds = state.ds;
    ds.Series_Bins = {};
    for (int b = 0; b < 8; ++b) ds.Series_Bins[static_cast<std::size_t>(10 + 12 * b)] = true;
    QImage_Surface series(1280, 450), scratch;
    Series_Outputs out;
    const std::vector<double> ticks{100, 300, 500, 700, 900, 1100};
    for (auto _ : bs) {
        DrawSeriesChart(series, scratch, ds, state.dec, settings, state.candles, out, 60, 1160, ticks, 4);
        benchmark::DoNotOptimize(series.Image().constBits());
    }
    bs.counters["candles"] = state.candles.candles;
}
BENCHMARK(BM_Series_8_Bins_4_Series_Candles_4_Ancillary)->Unit(benchmark::kMillisecond);

void BM_Profile_Chart_128_Bins(benchmark::State& bs) {
    App_State& state = Big_State();
    Settings settings = state.settings;
    settings.Profile_Select = {};
    for (int k : {0, 10, 11, 14, 15, 16}) settings.Profile_Select[static_cast<std::size_t>(k)] = true;
    QImage_Surface profile(320, 900), scratch;
    Profile_Outputs out;
    const std::vector<double> ticks{100, 200, 300, 400};
    for (auto _ : bs) {
        DrawProfileChart(profile, scratch, state.ds, state.dec, settings, out, 420, 375, ticks);
        benchmark::DoNotOptimize(profile.Image().constBits());
    }
}
BENCHMARK(BM_Profile_Chart_128_Bins)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantrel
