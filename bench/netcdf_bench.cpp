// Whole-file conversion to netCDF of a 1 GB synthetic file (30 bins, bottom track and
// navigation, 20 mm/s velocity noise) at deflate levels 0, 1, 2 and 4: source MB/s on the
// CPU time of this thread, and the output's size. Deflating (igzip at levels 1 and 2,
// libdeflate above) takes nearly half the time at level 1: the file holds 1.27 bytes per
// source byte before compression. Peak memory and CPU time (user + sys, which includes
// the kernel's writing) are measured from outside:
//   vantrel-cli synth BIG.ens --ensembles 1210000 --bins 30 --bottom-track --navigation --noise 20
//   /usr/bin/time -v vantrel-cli convert BIG.ens OUT.nc --deflate L
// Run alone: build/bench/vantrel_bench --benchmark_filter=Netcdf
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "export/netcdf_export.h"
#include "synth_writer.h"

namespace {

using namespace vantrel;
namespace fs = std::filesystem;

constexpr std::int64_t k_ensembles = 1'210'000;  // 887 bytes each: 1.07 GB

// The synthetic file in a folder of its own, removed at exit.
class Bench_File {
public:
    Bench_File() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp ? tmp : "/tmp") + "/vantrel-netcdf-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
        synth::Synth_Options opt;
        opt.ensembles = k_ensembles;
        opt.bins = 30;
        opt.bottom_track = opt.navigation = true;
        opt.noise = 20;
        bytes_ = synth::Write_Synth_File(Source(), opt).file_bytes;
    }
    ~Bench_File() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    Bench_File(const Bench_File&) = delete;
    Bench_File& operator=(const Bench_File&) = delete;

    std::string Source() const { return (dir_ / "big.ens").string(); }
    std::string Target() const { return (dir_ / "big.nc").string(); }
    std::int64_t Bytes() const { return bytes_; }

private:
    fs::path dir_;
    std::int64_t bytes_ = 0;
};

const Bench_File& File() {
    static const Bench_File f;
    return f;
}

void BM_Netcdf_Convert_1GB(benchmark::State& state) {
    const Bench_File& f = File();
    Netcdf_Request request;
    request.source = f.Source();
    request.target = f.Target();
    request.deflate_level = static_cast<int>(state.range(0));
    std::int64_t size = 0;
    for (auto _ : state) {
        fs::remove(request.target);
        const Netcdf_Outcome outcome = Convert_To_Netcdf(request, No_Progress());
        if (outcome.status != Netcdf_Status::k_written) state.SkipWithError(outcome.message.c_str());
        size = static_cast<std::int64_t>(fs::file_size(request.target));
    }
    fs::remove(request.target);
    state.SetBytesProcessed(f.Bytes() * state.iterations());
    state.counters["output_MB"] = static_cast<double>(size) / 1e6;
    state.counters["source_MB"] = static_cast<double>(f.Bytes()) / 1e6;
}
BENCHMARK(BM_Netcdf_Convert_1GB)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
