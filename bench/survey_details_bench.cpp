// Survey time of a 10 GB synthetic file and file set (sparse: the survey reads only the
// start and the end), and the details scan rate over a synthetic file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app_state.h"
#include "decode/file_details.h"
#include "decode/file_survey.h"
#include "synth_writer.h"

namespace {

using namespace vantrel;
namespace fs = std::filesystem;

constexpr std::int64_t k_member_ensembles = 1'329'787;  // 752-byte ensembles, just under 1 GB
constexpr int k_members = 10;
constexpr std::int64_t k_records = 100;  // real ensembles at each end

std::string Read_All(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Synthetic ensembles first_number, first_number + 1, ... as bytes.
std::string Synth_Records(const fs::path& dir, std::int64_t first_number) {
    synth::Synth_Options opt;
    opt.ensembles = k_records;
    opt.first_number = first_number;
    const std::string path = (dir / "records.tmp").string();
    synth::Write_Synth_File(path, synth::Resolve_Options(opt));
    std::string bytes = Read_All(path);
    fs::remove(path);
    return bytes;
}

// A file of size bytes, holes but for head at its start and tail at its end.
void Write_Sparse(const fs::path& path, std::int64_t size, const std::string& head, const std::string& tail) {
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f.write(head.data(), static_cast<std::streamsize>(head.size()));
        if (!tail.empty()) {
            f.seekp(size - static_cast<std::int64_t>(tail.size()));
            f.write(tail.data(), static_cast<std::streamsize>(tail.size()));
        }
    }
    fs::resize_file(path, static_cast<std::uintmax_t>(size));
}

struct Big_Inputs {
    fs::path dir;
    std::string single, set_first;
    Big_Inputs() {
        dir = fs::temp_directory_path() / ("vantrel_bench_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        const std::int64_t member_bytes = k_member_ensembles * 752;
        const std::int64_t total = k_member_ensembles * k_members;
        const std::string head = Synth_Records(dir, 1), tail = Synth_Records(dir, total - k_records + 1);
        single = (dir / "big.ens").string();
        Write_Sparse(single, member_bytes * k_members, head, tail);
        for (int k = 0; k < k_members; ++k) {
            const std::string name = "big.00" + std::to_string(k);
            Write_Sparse(dir / name, member_bytes, k == 0 ? head : std::string(), k + 1 == k_members ? tail : std::string());
        }
        set_first = (dir / "big.000").string();
    }
    ~Big_Inputs() { fs::remove_all(dir); }
};

void Survey(benchmark::State& state, const std::string& path, bool multifile) {
    for (auto _ : state) {
        App_State app;
        app.menus.MultiFile = multifile;
        app.file_set = Test_For_File_Set(path, app.menus.MultiFile);
        const bool ok = Show_File_Stats(app, path, No_Progress());
        if (!ok || app.Info_Text.find(" Missing") != std::string::npos || app.Info_Text.find(" Extra") != std::string::npos) {
            state.SkipWithError("the survey did not see the whole stream");
            break;
        }
        benchmark::DoNotOptimize(app.Info_Text);
    }
}

void BM_Survey_10GB_File(benchmark::State& state) {
    const Big_Inputs in;
    Survey(state, in.single, false);
}
BENCHMARK(BM_Survey_10GB_File)->Unit(benchmark::kMillisecond);

void BM_Survey_10GB_Set(benchmark::State& state) {
    const Big_Inputs in;
    Survey(state, in.set_first, true);
}
BENCHMARK(BM_Survey_10GB_Set)->Unit(benchmark::kMillisecond);

// 200 MB of ensembles with a drop, a repeat and a long record now and then.
void BM_Details_Scan(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / ("vantrel_bench_scan_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "scan.ens").string();
    synth::Synth_Options opt;
    opt.ensembles = 266'000;
    opt.drop_every = 1000;
    opt.repeat_every = 777;
    opt.long_records_every = 5000;
    const synth::Synth_Manifest m = synth::Write_Synth_File(path, synth::Resolve_Options(opt));
    App_State main;
    for (auto _ : state) {
        const auto r = Show_File_Details(path, main.dec, Decode_Options_Of(main.settings, main.menus.Flip_Checked), nullptr, No_Progress());
        benchmark::DoNotOptimize(r.stats.Resets);
    }
    state.SetBytesProcessed(state.iterations() * m.file_bytes);
    fs::remove_all(dir);
}
BENCHMARK(BM_Details_Scan)->Unit(benchmark::kMillisecond);

}  // namespace
