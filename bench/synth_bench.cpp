// Throughput of the synthetic file factory, and of scanning and decoding what it writes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "app_state.h"
#include "decode/decode_ensemble.h"
#include "decode/scanner.h"
#include "synth_encoder.h"
#include "synth_writer.h"

namespace {

using namespace vantrel;

synth::Synth_Options Bench_Options(std::int64_t ensembles) {
    return synth::Resolve_Options({.ensembles = ensembles, .bins = 33, .bottom_track = true, .navigation = true,
                                   .text_block = true, .noise = 10, .pitch_amplitude = 3, .roll_amplitude = 2});
}

// Scenario and encoding of one ensemble at a time, no file: bytes per second of ensembles.
void BM_Synth_Fill_And_Encode(benchmark::State& state) {
    const synth::Synth_Options opt = Bench_Options(1);
    const synth::Synth_Layout layout = synth::Make_Synth_Layout(opt);
    auto e = std::make_unique<synth::Synth_Ensemble>();
    std::vector<std::uint8_t> out(layout.Total());
    std::int64_t index = 0;
    for (auto _ : state) {
        synth::Fill_Synth_Ensemble(opt, index++, *e);
        synth::Encode_Ensemble(opt, layout, *e, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(layout.Total()));
}
BENCHMARK(BM_Synth_Fill_And_Encode);

// Scan and decode of a 20 000-ensemble synthetic file (about 20 MB), walked as the loaders do.
void BM_Scan_And_Decode_Synth_File(benchmark::State& state) {
    const std::string path = "vantrel_bench_scan.ens";
    const synth::Synth_Manifest m = synth::Write_Synth_File(path, Bench_Options(20000));
    App_State app;
    Allocate_Data_Set(app.ds, false, 1, 1);
    for (auto _ : state) {
        Binary_File file(path);
        app.dec.Data_Structure = Determine_File_Data_Structure(file, app.dec, No_Progress());
        std::int64_t found = 0;
        while (Get_Next_Ensemble(file, app.dec, app.ds.File_Loaded, No_Progress())) {
            app.ds.Sub_Count = 0;
            Decode_Ensemble(app);
            ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * m.file_bytes);
    std::remove(path.c_str());
}
BENCHMARK(BM_Scan_And_Decode_Synth_File)->Unit(benchmark::kMillisecond);

}  // namespace
