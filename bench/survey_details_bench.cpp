// Survey time of a very large (sparse) file, and the details scan rate.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <fstream>

#include "decode/file_details.h"
#include "decode/file_survey.h"
#include "support/test_files.h"

namespace {

using namespace vantrel;

test::Bytes BB_Records(std::uint32_t first, std::uint32_t count) {
    test::Bytes out;
    for (std::uint32_t n = first; n < first + count; ++n) {
        test::BB_Fields f;
        f.ens_number = n;
        f.num_bins = 30;
        f.record_bytes = 1000;
        test::Append(out, test::Build_BB_Ensemble(f));
    }
    return out;
}

// 10 GB with real ensembles at both ends and a hole between: the survey must not read the middle.
void BM_Survey_10GB(benchmark::State& state) {
    test::Temp_Folder dir;
    const std::string path = dir.Path("big.ens");
    const std::int64_t size = 10'000'000'000;
    {
        std::ofstream f(path, std::ios::binary);
        const auto head = BB_Records(1, 100);
        f.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
        const auto tail = BB_Records(9'999'901, 100);
        f.seekp(size - static_cast<std::int64_t>(tail.size()));
        f.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
    }
    for (auto _ : state) {
        App_State app;
        app.menus.MultiFile = false;
        benchmark::DoNotOptimize(Show_File_Stats(app, path, No_Progress()));
    }
}
BENCHMARK(BM_Survey_10GB)->Unit(benchmark::kMillisecond);

void BM_Details_Scan(benchmark::State& state) {
    test::Temp_Folder dir;
    const auto block = BB_Records(1, 10000);  // 10 MB
    const std::string path = dir.Path("scan.ens");
    {
        std::ofstream f(path, std::ios::binary);
        for (int i = 0; i < 20; ++i) f.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
    }
    App_State main;
    for (auto _ : state) {
        const auto r = Show_File_Details(path, main.dec, main.settings, main.menus, nullptr, No_Progress());
        benchmark::DoNotOptimize(r.stats.Resets);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(block.size()) * 20);
}
BENCHMARK(BM_Details_Scan)->Unit(benchmark::kMillisecond);

}  // namespace
