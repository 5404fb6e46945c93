// Track vector and trend: computed and drawn over a full-size Sub Set.

#include <benchmark/benchmark.h>

#include "analysis/track_chart.h"
#include "analysis/track_vector.h"
#include "analysis/trend_chart.h"
#include "big_state.h"
#include "platform/qt/qimage_surface.h"

namespace vantrel {
namespace {

// The big Sub Set with 8 series bins and a manual projection.
App_State& Analysis_State() {
    App_State& s = Big_State();
    s.ds.Series_Bins = {};
    for (int b = 0; b < 8; ++b) s.ds.Series_Bins[static_cast<std::size_t>(10 + 12 * b)] = true;
    s.settings.Track_Options.Select_Auto = {false, false, true};
    s.settings.Track_Options.ProjectionAngle = 30;
    return s;
}

void BM_Track_Vector_8192_Ensembles_8_Bins(benchmark::State& bs) {
    App_State& state = Analysis_State();
    state.settings.Series_Style_1 = bs.range(0) != 0;
    QImage_Surface window(1280, 900);
    Track_View view;
    for (auto _ : bs) {
        bool rotate = true;
        Rotate_Track_Data(state.ds, state.dec.Num_Bins, state.settings.Track_Options, rotate);
        Show_Track_Vector_Data(window, state.ds, state.dec, state.settings, view);
        benchmark::DoNotOptimize(window.Image().constBits());
    }
}
BENCHMARK(BM_Track_Vector_8192_Ensembles_8_Bins)->Arg(0)->Arg(1)->ArgName("overlay")->Unit(benchmark::kMillisecond);

// The computation alone: every bin of every ensemble.
void BM_Rotate_Track_Data_8192x128(benchmark::State& bs) {
    App_State& state = Analysis_State();
    for (auto _ : bs) {
        bool rotate = true;
        Rotate_Track_Data(state.ds, state.dec.Num_Bins, state.settings.Track_Options, rotate);
        benchmark::DoNotOptimize(state.ds.Sub_Vel.Slice(0));
    }
}
BENCHMARK(BM_Rotate_Track_Data_8192x128)->Unit(benchmark::kMillisecond);

// One candle over the whole Sub Set: 8192 samples smoothed ten times, then drawn.
void BM_Trend_Candle_Of_8192_Samples_Width_10(benchmark::State& bs) {
    App_State& state = Analysis_State();
    state.settings.Series_Switch = true;
    state.settings.Averaging_All = true;
    QImage_Surface series(1280, 450), scratch, picture(1024, 800);
    Series_Outputs out;
    DrawSeriesChart(series, scratch, state.ds, state.dec, state.settings, state.candles, out, 60, 1160, {}, 4);
    Trend_Selection selection{1, 3, 10};  // the direction series
    Trend_View view;
    for (auto _ : bs) {
        Show_Stat_Data(picture, scratch, state.candles, selection, state.ds, state.dec, state.settings, view);
        benchmark::DoNotOptimize(picture.Image().constBits());
    }
    bs.counters["samples"] = state.candles.samples;
}
BENCHMARK(BM_Trend_Candle_Of_8192_Samples_Width_10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantrel
