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
#include "processing/velocity_processing.h"
#include "synth_encoder.h"

namespace {

using namespace vantrel;

constexpr std::int64_t k_export_ensembles = 100'000;

struct Memory_Ensembles {
    std::vector<std::uint8_t> bytes;
    std::size_t ens_total = 0;  // bytes of one ensemble with its checksum
};

const Memory_Ensembles& Export_Ensembles() {
    static const Memory_Ensembles m = [] {
        const synth::Synth_Options opt = synth::Resolve_Options(
            {.ensembles = k_export_ensembles, .bins = 10, .bottom_track = true, .navigation = true});
        const synth::Synth_Layout layout = synth::Make_Synth_Layout(opt);
        Memory_Ensembles out;
        out.ens_total = layout.Total();
        out.bytes.resize(out.ens_total * static_cast<std::size_t>(k_export_ensembles));
        synth::Synth_Ensemble e;
        for (std::int64_t i = 0; i < k_export_ensembles; ++i) {
            synth::Fill_Synth_Ensemble(opt, i, e);
            synth::Encode_Ensemble(opt, layout, e, out.bytes.data() + out.ens_total * static_cast<std::size_t>(i));
        }
        return out;
    }();
    return m;
}

void Run_Series_Export(benchmark::State& state, bool mat) {
    const Memory_Ensembles& mem = Export_Ensembles();
    App_State app;
    Allocate_Data_Set(app.ds, true, app.settings.Max_Sub_Ens, app.settings.Max_Whole_Ens);
    app.dec.Data_Structure = k_structure_bb;
    Data_Set& ds = app.ds;
    ds.File_First_Ens = 1;
    ds.File_Last_Ens = static_cast<std::int32_t>(k_export_ensembles);
    ds.File_Loaded = true;

    const Sub_Set_Loader loader = [&](std::int32_t f, std::int32_t l) {
        if (l > ds.File_Last_Ens) l = ds.File_Last_Ens;
        ds.Sub_Count = 0;
        for (std::int32_t e = f; e <= l && ds.Sub_Count <= app.settings.Max_Sub_Ens; ++e) {
            const std::uint8_t* p = mem.bytes.data() + mem.ens_total * static_cast<std::size_t>(e - 1);
            app.dec.Ens_Buffer.assign(p, p + mem.ens_total);
            app.dec.Ens_Bytes = static_cast<std::int32_t>(mem.ens_total - 2);
            if (!Process_Ensemble(app)) continue;
            if (ds.Sub_Count == 0) ds.First_Ens = app.dec.Cur_Ens_Number;
            ++ds.Sub_Count;
        }
        if (ds.Sub_Count == 0) return false;
        ds.Last_Ens = ds.First_Ens + ds.Sub_Count - 1;
        Error_Velocity_Statistics(app);
        return true;
    };

    Export_Selection sel;
    sel.Series_Range = {"1", std::to_string(k_export_ensembles), "1"};
    for (int t = 10; t <= 15; ++t) sel.Series_Types[static_cast<std::size_t>(t)] = true;
    for (int t : {20, 21, 25, 32, 33, 36, 39}) sel.Series_Types[static_cast<std::size_t>(t)] = true;
    sel.Anc_Types.fill(true);
    for (int p = 1; p <= 10; ++p) sel.Series_Bins[static_cast<std::size_t>(p - 1)] = true;

    const char* dir = std::getenv("TMPDIR");
    const std::string path = std::string(dir ? dir : "/tmp") + (mat ? "/vantrel_bench_export.mat" : "/vantrel_bench_export.txt");
    Progress_Hooks progress;
    Export_Job job{app, sel, loader, progress, "/data/bench.000"};
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
