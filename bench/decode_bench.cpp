// Scan, checksum and decode of a 1 GB synthetic file of about 1000-byte ensembles, read
// from the page cache: the rate every loader and the statistics scan run at.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "app_state.h"
#include "decode/decode_ensemble.h"
#include "decode/scanner.h"
#include "synth_writer.h"

namespace {

using namespace vantrel;

constexpr std::int64_t k_ensembles = 1'000'000;

// The benchmark file, written once and kept in the temporary folder for later runs.
const std::string& Gigabyte_File() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        std::string p = std::string(dir ? dir : "/tmp") + "/vantrel_bench_1g_v2.ens";
        if (File_Length(p) <= 0) {
            synth::Write_Synth_File(p, synth::Resolve_Options({.ensembles = k_ensembles, .bins = 36,
                                                               .bottom_track = true, .navigation = true}));
        }
        return p;
    }();
    return path;
}

void BM_Scan_Checksum_Decode_1GB(benchmark::State& state) {
    const std::string& path = Gigabyte_File();
    App_State app;
    Allocate_Data_Set(app.ds, false, 1, 1);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        Binary_File file(path);
        bytes += file.Length();
        app.dec.Data_Structure = Determine_File_Data_Structure(file, app.dec, No_Progress());
        std::int64_t found = 0;
        while (Get_Next_Ensemble(file, app.dec, app.ds.File_Loaded, No_Progress())) {
            app.ds.Sub_Count = 0;
            Decode_Ensemble(app);
            ++found;
        }
        if (found != k_ensembles) state.SkipWithError("not every ensemble was found");
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_Scan_Checksum_Decode_1GB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

namespace {

// Decoding alone, one ensemble of the benchmark file over and over: separates decode from I/O.
void BM_Decode_One_Ensemble(benchmark::State& state) {
    App_State app;
    Allocate_Data_Set(app.ds, false, 1, 1);
    Binary_File file(Gigabyte_File());
    app.dec.Data_Structure = Determine_File_Data_Structure(file, app.dec, No_Progress());
    Get_Next_Ensemble(file, app.dec, app.ds.File_Loaded, No_Progress());
    for (auto _ : state) {
        app.ds.Sub_Count = 0;
        Decode_Ensemble(app);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (app.dec.Ens_Bytes + 2));
}
BENCHMARK(BM_Decode_One_Ensemble);

}  // namespace

namespace {

// The scanner alone over the benchmark file: finding and checking ensembles without decoding.
void BM_Scan_Checksum_1GB(benchmark::State& state) {
    Decoder_State dec;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        Binary_File file(Gigabyte_File());
        bytes += file.Length();
        dec.Data_Structure = k_structure_bb;
        bool loaded = true;
        std::int64_t found = 0;
        while (Get_Next_Ensemble(file, dec, loaded, No_Progress())) ++found;
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_Scan_Checksum_1GB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
