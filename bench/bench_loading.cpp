// Opening a 4 GB file and a 400-file set (survey, Whole Set of 256, first Sub Set of 256),
// and reloading a Sub Set of 8192 ensembles of 50 bins. The inputs (8 GB) are written once
// per run into a private folder under the temporary folder, removed when the run ends.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "app_state.h"
#include "loading/file_loading.h"
#include "platform/binary_file.h"
#include "support/temp_folder.h"
#include "synth_writer.h"
#include "platform/text_format.h"

namespace {

using namespace vantrel;

// The run's own folder under the temporary folder, made on first use and removed with
// everything in it at exit.
const test::Temp_Folder& Bench_Dir() {
    static const test::Temp_Folder folder;
    return folder;
}

constexpr int k_bins = 50;
constexpr std::int64_t k_big_ensembles = 3'600'000;  // about 4 GB at 50 bins
constexpr int k_set_members = 400;
constexpr std::int64_t k_member_bytes = 10'000'000;

synth::Synth_Options Bench_Options(std::int64_t ensembles, std::int64_t first_number) {
    synth::Synth_Options opt;
    opt.ensembles = ensembles;
    opt.bins = k_bins;
    opt.first_number = first_number;
    opt.noise = 20;
    return opt;
}

// A file made once per run.
std::string Once(const std::string& name, std::int64_t ensembles, std::int64_t first_number) {
    const std::string path = Bench_Dir().Path(name);
    if (!File_Exists(path)) synth::Write_Synth_File(path, Bench_Options(ensembles, first_number));
    return path;
}

std::string Big_File() { return Once("big.ens", k_big_ensembles, 1); }

// 400 members of 10 MB (whole ensembles), numbered on from member to member.
std::string Numbered_Set() {
    const std::int64_t record = synth::Write_Synth_File(Bench_Dir().Path("probe.ens"), Bench_Options(1, 1)).ensemble_bytes;
    const std::int64_t per_member = k_member_bytes / record;
    std::string first;
    for (int k = 0; k < k_set_members; ++k) {
        const std::string name = "set." + Fix_String(std::to_string(k), '0', 3);
        const std::string path = Once(name, per_member, 1 + k * per_member);
        if (k == 0) first = path;
    }
    return first;
}

struct Quiet_Host : Open_File_Host {};

void Open_Once(App_State& app, const std::string& path, bool multi, std::int32_t max_sub) {
    app.menus.MultiFile = multi;
    app.settings.Max_Sub_Ens = max_sub;
    app.settings.Max_Whole_Ens = 256;
    Quiet_Host host;
    if (Open_File(app, host, path) != Outcome_Kind::k_ok) throw std::runtime_error("bench file did not load");
}

void BM_Open_4GB(benchmark::State& state) {
    const std::string path = Big_File();
    for (auto _ : state) {
        App_State app;
        Open_Once(app, path, false, 256);
        benchmark::DoNotOptimize(app.ds.Whole_Count);
    }
}
BENCHMARK(BM_Open_4GB)->Unit(benchmark::kMillisecond);

void BM_Reload_Sub_8192(benchmark::State& state) {
    const std::string path = Big_File();
    App_State app;
    Open_Once(app, path, false, 8192);
    Quiet_Host host;
    const std::int32_t first = app.ds.File_First_Ens + 1'000'000;
    for (auto _ : state) {
        if (!Read_File_Selection(app, host, first, first + 8191, false)) state.SkipWithError("nothing loaded");
        benchmark::DoNotOptimize(app.ds.Sub_Count);
    }
    state.counters["ensembles"] = app.ds.Sub_Count;
}
BENCHMARK(BM_Reload_Sub_8192)->Unit(benchmark::kMillisecond);

void BM_Open_Set_400(benchmark::State& state) {
    const std::string path = Numbered_Set();
    for (auto _ : state) {
        App_State app;
        Open_Once(app, path, true, 256);
        benchmark::DoNotOptimize(app.ds.Whole_Count);
    }
}
BENCHMARK(BM_Open_Set_400)->Unit(benchmark::kMillisecond);

}  // namespace
