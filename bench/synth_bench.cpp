// Throughput of the synthetic file factory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "app_state.h"
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

}  // namespace
