// Series export of 100 000 ensembles (10 bins, six per-bin velocity types, every
// ancillary box, bottom track and navigation), text and MAT-file. The loader decodes and
// processes each ensemble from memory as a one-ensemble Sub Set, as the file loader does
// after its jump to the ensemble's position.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app_state.h"
#include "export/mat_export.h"
#include "export/text_export.h"
#include "memory_loader.h"

namespace {

using namespace vantrel;

constexpr std::int64_t k_export_ensembles = 100'000;

const test::Memory_Ensembles& Export_Ensembles() {
    static const test::Memory_Ensembles m(
        {.ensembles = k_export_ensembles, .bins = 10, .bottom_track = true, .navigation = true});
    return m;
}

void Run_Series_Export(benchmark::State& state, bool mat) {
    const test::Memory_Ensembles& mem = Export_Ensembles();
    App_State app;
    mem.Open(app);
    const Sub_Set_Loader loader = mem.Loader(app);

    Export_Selection sel;
    sel.Series_Range = {"1", std::to_string(k_export_ensembles), "1"};
    for (int t = 10; t <= 15; ++t) sel.Series_Types[static_cast<std::size_t>(t)] = true;
    for (int t : {20, 21, 25, 32, 33, 36, 39}) sel.Series_Types[static_cast<std::size_t>(t)] = true;
    sel.Anc_Types.fill(true);
    for (int p = 1; p <= 10; ++p) sel.Series_Bins[static_cast<std::size_t>(p - 1)] = true;

    const char* dir = std::getenv("TMPDIR");
    const std::string path = std::string(dir ? dir : "/tmp") + (mat ? "/vantrel_bench_export.mat" : "/vantrel_bench_export.txt");
    Progress_Hooks progress;
    Export_Job job{app.ds, app.dec, sel, loader, progress, "/data/bench.000"};
    std::int64_t size = 0;
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (mat) {
            Write_Series_Mat(job, out);
        } else {
            Write_Series_Text(job, out);
        }
        size = out.tellp();
    }
    std::remove(path.c_str());
    state.counters["ensembles_per_s"] =
        benchmark::Counter(static_cast<double>(k_export_ensembles) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
}

void BM_Series_Export_Text_100k(benchmark::State& state) { Run_Series_Export(state, false); }
void BM_Series_Export_Mat_100k(benchmark::State& state) { Run_Series_Export(state, true); }
BENCHMARK(BM_Series_Export_Text_100k)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Series_Export_Mat_100k)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
