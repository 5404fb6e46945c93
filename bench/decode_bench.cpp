// Scan, checksum and decode of a 1 GB synthetic file of about 1000-byte ensembles, read
// from the page cache: the rate every loader and the statistics scan run at.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A damaged stretch of header bytes, broadband (0x7F) or narrowband (0x3F): every byte starts a
// candidate of the length the run states.
void BM_Search_Through_1MB_Of_Header_Bytes(benchmark::State& state) {
    const auto marker = static_cast<std::uint8_t>(state.range(0));
    Binary_File file;
    file.Open_Bytes(std::vector<std::uint8_t>(1 << 20, marker));
    Decoder_State dec;
    dec.Data_Structure = marker == 0x7F ? k_structure_bb : k_structure_nb;
    for (auto _ : state) {
        file.Seek(1);
        bool loaded = true;
        benchmark::DoNotOptimize(Get_Next_Ensemble(file, dec, loaded, No_Progress()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) << 20);
}
BENCHMARK(BM_Search_Through_1MB_Of_Header_Bytes)->Arg(0x7F)->Arg(0x3F)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Runs body in a child process and returns its exit status: the child starts with none of
// the parent's warm buffers, as a command-line run does.
template <typename Body>
int In_Child(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The scanner over the benchmark file in a fresh process with a freshly allocated buffer.
void BM_Scan_Checksum_1GB_Fresh_Process(benchmark::State& state) {
    const std::string& path = Gigabyte_File();
    std::int64_t bytes = 0;
    for (auto _ : state) {
        bytes += File_Length(path);
        const int status = In_Child([&] {
            Binary_File file(path);
            Decoder_State dec;
            dec.Data_Structure = k_structure_bb;
            bool loaded = true;
            std::int64_t found = 0;
            while (Get_Next_Ensemble(file, dec, loaded, No_Progress())) ++found;
            return found == k_ensembles ? 0 : 1;
        });
        if (status != 0) state.SkipWithError("the child scan failed");
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_Scan_Checksum_1GB_Fresh_Process)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// `cat FILE > /dev/null` on the same file: the floor a whole-file scan is compared with.
void BM_Cat_1GB_To_Dev_Null(benchmark::State& state) {
    const std::string& path = Gigabyte_File();
    std::int64_t bytes = 0;
    for (auto _ : state) {
        bytes += File_Length(path);
        const int status = In_Child([&] {
            const int null = ::open("/dev/null", O_WRONLY);
            if (null < 0 || ::dup2(null, 1) < 0) return 1;
            ::execlp("cat", "cat", path.c_str(), static_cast<char*>(nullptr));
            return 1;
        });
        if (status != 0) state.SkipWithError("cat failed");
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_Cat_1GB_To_Dev_Null)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
