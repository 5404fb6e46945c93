// vantrel-cli convert checked from outside: xarray reads the file and compares it with
// what dump prints for the same synthetic file.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstring>
#include <csignal>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>

#include <netcdf.h>

#include "export/netcdf_deflate.h"
#include "export/netcdf_export.h"
#include "export/netcdf_file.h"
#include "export/netcdf_shuffle.h"
#include "export/netcdf_variables.h"
#include "python_check.h"
#include "support/child_process.h"
#include "support/cli_run.h"
#include "support/temp_folder.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

struct Convert_Case {
    const char* name;
    const char* synth;    // synth options
    const char* options;  // convert and dump options
    bool damaged;
    int ensembles = 240;
};

class Netcdf_Convert : public testing::TestWithParam<Convert_Case> {};

TEST_P(Netcdf_Convert, XarrayReadsWhatDumpPrints) {
    const Convert_Case& c = GetParam();
    Temp_Folder dir;
    const fs::path d = dir.Path("");
    const std::string ens = dir.Path("in.ens"), nc = dir.Path("out.nc");
    ASSERT_EQ(Run_Cli("synth " + Quoted(ens) + " --ensembles " + std::to_string(c.ensembles) + " " + c.synth, d).exit_code, 0);
    const Cli_Result convert = Run_Cli("convert " + Quoted(ens) + " " + Quoted(nc) + " " + c.options, d);
    ASSERT_EQ(convert.exit_code, 0) << convert.err;
    ASSERT_EQ(Run_Cli("dump " + Quoted(ens) + " " + c.options, d).exit_code, 0);
    fs::rename(d / "stdout.txt", d / "dump.jsonl");
    ASSERT_EQ(Run_Cli("dump --raw " + Quoted(ens), d).exit_code, 0);
    fs::rename(d / "stdout.txt", d / "raw.jsonl");

    const std::string mode = std::string(c.options).find("--raw") != std::string::npos ? "raw" : "processed";
    bool ok = false;
    const std::string report =
        Run_Python("check_netcdf.py", nc, ok, Quoted(d / "dump.jsonl") + " " + Quoted(d / "raw.jsonl") + " " + mode);
    ASSERT_TRUE(ok) << report;
    EXPECT_EQ(report.find("skipped_records=0") == std::string::npos, c.damaged) << report;
    // Memory records are no time steps, in dump as in the conversion.
    EXPECT_EQ(report.find("memory_records=0") == std::string::npos, std::string(c.synth).find("--long-records") != std::string::npos)
        << report;
}

INSTANTIATE_TEST_SUITE_P(
    Synth_Files, Netcdf_Convert,
    testing::Values(
        Convert_Case{"down_beam", "--bins 23 --facing down --coords beam --bottom-track --navigation --pitch 4 --roll 3",
                     "--ref bt --eop bt", false},
        Convert_Case{"up_earth_damaged",
                     "--bins 17 --facing up --coords earth --bottom-track --garbage 300 --garbage-every 40 --bad-checksum-every 33 "
                     "--drop-every 29 --repeat-every 50 --long-records-every 70 --truncate-last",
                     "--ref wm", true},
        Convert_Case{"down_earth_damaged_raw",
                     "--bins 9 --facing down --coords earth --navigation --garbage 200 --bad-checksum-every 21 --truncate-last",
                     "--raw", true},
        Convert_Case{"up_beam_narrowband", "--structure nb --bins 20 --facing up", "", false},
        // 1048 steps a chunk at 250 bins: blocks of gathered ensembles straddle chunk ends.
        Convert_Case{"chunks_end_inside_a_block", "--bins 250 --facing down --coords beam --bottom-track --noise 20", "",
                     false, 1100}),
    [](const testing::TestParamInfo<Convert_Case>& param) { return std::string(param.param.name); });

// Starts vantrel-cli with args, output discarded; returns its process id.
pid_t Spawn_Cli(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string cli = std::getenv("VANTREL_CLI");
    argv.push_back(cli.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits until the conversion has written part of its temporary file.
bool Wait_For_Partial_Output(const fs::path& dir) {
    for (int i = 0; i < 4000; ++i) {
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.path().filename().string().find("out.nc.part") == 0 && entry.file_size() > 100000) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// A folder holding only big.ens of `ensembles` ensembles of 40 bins, and the name out.nc.
struct Big_File {
    explicit Big_File(int ensembles) {
        synth_ok = Run_Cli("synth " + Quoted(ens) + " --ensembles " + std::to_string(ensembles) + " --bins 40", d).exit_code == 0;
        fs::remove(d / "stdout.txt");
        fs::remove(d / "stderr.txt");
    }
    Temp_Folder dir;
    const fs::path d = dir.Path("");
    const std::string ens = dir.Path("big.ens"), nc = dir.Path("out.nc");
    bool synth_ok = false;
};

TEST(Netcdf_Convert_Interrupted, AKilledConversionLeavesNothingUnderOutAndAStoppedOneNothingAtAll) {
    const Big_File big(60000);
    ASSERT_TRUE(big.synth_ok);
    const fs::path& d = big.d;
    const std::string &ens = big.ens, &nc = big.nc;

    for (const int sig : {SIGKILL, SIGTERM}) {
        const pid_t pid = Spawn_Cli({"convert", ens, nc});
        ASSERT_GT(pid, 0);
        const bool partial = Wait_For_Partial_Output(d);
        kill(pid, sig);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(partial) << "the conversion wrote nothing before it was stopped";
        EXPECT_FALSE(fs::exists(nc)) << sig;
        if (sig == SIGKILL) {
            for (const auto& entry : fs::directory_iterator(d))
                if (entry.path() != fs::path(ens)) fs::remove(entry.path());
        } else {
            // A stop removes the temporary file too.
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 1);
            EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 1);
        }
    }
}

TEST(Netcdf_Convert_Interrupted, AFullDiskFailsWithTheLibrarysMessageAndLeavesNoFile) {
    const Big_File big(3000);
    ASSERT_TRUE(big.synth_ok);
    const fs::path& d = big.d;
    // The library's closing flush fails, and the file it could not close used to crash the
    // program as it ended.
    const int code = In_Child_With_File_Limit(400000, [&] {
        return Run_Cli("convert " + Quoted(big.ens) + " " + Quoted(big.nc), d).exit_code & 0xff;
    });
    if (code == k_cannot_set_up) GTEST_SKIP() << "no file-size limit";
    EXPECT_EQ(code, 1);
    EXPECT_NE(Read_File_Text(d / "stderr.txt").find("Cannot write " + big.nc + ": File too large"), std::string::npos)
        << Read_File_Text(d / "stderr.txt");
    for (const auto& entry : fs::directory_iterator(d))
        EXPECT_NE(entry.path().filename().string().rfind("out.nc", 0), 0U) << entry.path() << " left behind";
}

TEST(Netcdf_Time, TwoDigitYearsPivotAt80AndImpossibleDatesHaveNoTime) {
    using Clock = std::array<std::uint8_t, 7>;
    std::int64_t ms = 0;
    // The last of the century, a leap day, and a year 79 that lies in the next century.
    for (const auto& [clock, expected] : {std::pair{Clock{99, 12, 31, 23, 59, 59, 99}, 946684800000 - 10},
                                          {Clock{24, 2, 29, 0, 0, 0, 0}, 1709164800000}, {Clock{79, 1, 1, 0, 0, 0, 0}, 3439756800000}}) {
        EXPECT_TRUE(Clock_Milliseconds(clock.data(), ms));
        EXPECT_EQ(ms, expected);
    }
    for (const auto& bad : {std::array<std::uint8_t, 7>{23, 2, 29, 0, 0, 0, 0}, std::array<std::uint8_t, 7>{0, 0, 0, 0, 0, 0, 0},
                            std::array<std::uint8_t, 7>{24, 4, 31, 0, 0, 0, 0}, std::array<std::uint8_t, 7>{24, 1, 1, 24, 0, 0, 0}}) {
        EXPECT_FALSE(Clock_Milliseconds(bad.data(), ms)) << int(bad[1]) << "/" << int(bad[2]);
    }
}

// Every value of a variable as bytes, read back in this process (through the filter's
// decompression when deflated).
std::vector<unsigned char> Read_Variable(const std::string& path, const char* name) {
    int nc = -1, var = -1, dims = 0, ids[NC_MAX_VAR_DIMS];
    std::vector<unsigned char> bytes;
    if (nc_open(path.c_str(), NC_NOWRITE, &nc) != NC_NOERR) return bytes;
    nc_type type = NC_NAT;
    std::size_t count = 1, element = 0;
    if (nc_inq_varid(nc, name, &var) == NC_NOERR && nc_inq_var(nc, var, nullptr, &type, &dims, ids, nullptr) == NC_NOERR &&
        nc_inq_type(nc, type, nullptr, &element) == NC_NOERR) {
        for (int i = 0; i < dims; ++i) {
            std::size_t length = 0;
            nc_inq_dimlen(nc, ids[i], &length);
            count *= length;
        }
        bytes.resize(count * element);
        if (nc_get_var(nc, var, bytes.data()) != NC_NOERR) bytes.clear();
    }
    nc_close(nc);
    return bytes;
}

TEST(Netcdf_Convert_Setup_Change, CellsOfAnotherSetupGetNoValuesUnderTheFirstSetupsRanges) {
    Temp_Folder dir;
    const fs::path d = dir.Path("");
    const std::string ens = dir.Path("in.ens"), nc = dir.Path("out.nc");
    // Six cells of 1 m, then twelve of 0.5 m from the 5th ensemble: other depths per index.
    ASSERT_EQ(Run_Cli("synth " + Quoted(ens) + " --ensembles 8 --bins 6 --setup-change-at 5", d).exit_code, 0);
    ASSERT_EQ(Run_Cli("convert " + Quoted(ens) + " " + Quoted(nc), d).exit_code, 0);
    const std::vector<unsigned char> bytes = Read_Variable(nc, "velocity_east");
    ASSERT_EQ(bytes.size(), 8u * 6u * sizeof(std::int16_t));
    for (std::size_t i = 0; i < 8 * 6; ++i) {
        std::int16_t v = 0;
        std::memcpy(&v, bytes.data() + i * sizeof v, sizeof v);
        EXPECT_EQ(v == -32768, i >= 4 * 6) << "ensemble " << i / 6 + 1 << ", bin " << i % 6;
    }
}

TEST(Netcdf_Convert_File_Set, AnAcquisitionProgramsSetConvertsAsTheFileItWasCutFrom) {
    Temp_Folder dir;
    const fs::path d = dir.Path("");
    const std::string one = dir.Path("one.ens"), first = dir.Path("run_000003.ENR");
    // The same stream whole and cut inside a record every 30 ensembles.
    for (const std::string& synth : {Quoted(one), Quoted(first) + " --split-every 30 --acquisition-set"}) {
        ASSERT_EQ(Run_Cli("synth " + synth + " --ensembles 100 --bins 4", d).exit_code, 0);
    }
    ASSERT_EQ(Run_Cli("convert " + Quoted(one) + " " + Quoted(d / "one.nc"), d).exit_code, 0);
    const Cli_Result set = Run_Cli("convert " + Quoted(first) + " " + Quoted(d / "set.nc") + " --multifile", d);
    ASSERT_EQ(set.exit_code, 0) << set.err;
    EXPECT_NE(set.out.find("100 ensembles, 0 skipped records"), std::string::npos) << set.out;
    for (const char* variable : {"ensemble_number", "velocity_east"}) {
        EXPECT_EQ(Read_Variable(dir.Path("set.nc"), variable), Read_Variable(dir.Path("one.nc"), variable)) << variable;
    }
    // A member gone since the program opened the set ends the conversion with its name; a
    // test for the set made now would quietly find a shorter one.
    Netcdf_Request request;
    request.source = first;
    request.target = dir.Path("gone.nc");
    request.opened_set = Test_For_File_Set(first, true);
    fs::remove(d / "run_000005.ENR");
    const Netcdf_Outcome gone = Convert_To_Netcdf(request, No_Progress());
    EXPECT_EQ(gone.status, Netcdf_Status::k_invalid_source);
    EXPECT_NE(gone.message.find("run_000005.ENR"), std::string::npos) << gone.message;
    EXPECT_FALSE(fs::exists(request.target));
}

TEST(Netcdf_Deflate, EachEncoderCompressesAtTheLevelAskedAndReadsBackWhatWasWritten) {
    Temp_Folder dir;
    const fs::path d = dir.Path("");
    const std::string ens = dir.Path("in.ens");
    ASSERT_EQ(Run_Cli("synth " + Quoted(ens) + " --ensembles 3000 --bins 20 --noise 20 --bottom-track", d).exit_code, 0);
    Netcdf_Request request;
    request.source = ens;
    const auto convert = [&](int level) {
        request.target = dir.Path("out" + std::to_string(level) + ".nc");
        request.deflate_level = level;
        const std::int64_t chunks = Fast_Deflate_Used().chunks;
        EXPECT_EQ(Convert_To_Netcdf(request, No_Progress()).status, Netcdf_Status::k_written);
        EXPECT_GT(Fast_Deflate_Used().chunks, chunks) << level;
        EXPECT_EQ(Fast_Deflate_Used().last_level, level);
        return Fast_Deflate_Used().last_encoder;
    };
    request.target = dir.Path("out0.nc");
    request.deflate_level = 0;
    ASSERT_EQ(Convert_To_Netcdf(request, No_Progress()).status, Netcdf_Status::k_written);
    EXPECT_EQ(convert(1), Deflate_Encoder::k_igzip);
    EXPECT_EQ(convert(4), Deflate_Encoder::k_libdeflate);
    for (const char* level : {"1", "4"}) {
        const std::string out = dir.Path(std::string("out") + level + ".nc");
        EXPECT_LT(fs::file_size(out), fs::file_size(dir.Path("out0.nc")) * 3 / 4) << level;
        for (const char* name : {"velocity_east", "velocity_raw", "correlation", "bt_range", "time"}) {
            const std::vector<unsigned char> stored = Read_Variable(dir.Path("out0.nc"), name);
            ASSERT_FALSE(stored.empty()) << name;
            EXPECT_EQ(Read_Variable(out, name), stored) << level << " " << name;
        }
    }
}

// Noise comes out of the encoders longer than it went in, and is stored as it is.
TEST(Netcdf_Deflate, NoiseNoEncoderCanShrinkReadsBackWhole) {
    Temp_Folder dir;
    std::vector<std::uint8_t> noise(300'000);
    std::uint32_t state = 12345;
    for (std::uint8_t& b : noise) b = static_cast<std::uint8_t>((state = state * 1664525u + 1013904223u) >> 24);
    for (const int level : {1, 4}) {
        const std::string path = dir.Path("noise" + std::to_string(level) + ".nc");
        {
            Netcdf_File file(path);
            const int dim = file.Define_Dimension("n", noise.size() / 2);
            const int bytes = file.Define_Variable("bytes", NC_UBYTE, {dim}, {noise.size() / 2}, level);
            const int shorts = file.Define_Variable("shorts", NC_SHORT, {dim}, {noise.size() / 2}, level);
            file.End_Definitions();
            file.Put(bytes, {0}, {noise.size() / 2}, noise.data());
            file.Put(shorts, {0}, {noise.size() / 2}, noise.data());
            file.Close();
        }
        EXPECT_EQ(Read_Variable(path, "bytes"), std::vector<unsigned char>(noise.begin(), noise.begin() + 150'000)) << level;
        EXPECT_EQ(Read_Variable(path, "shorts"), std::vector<unsigned char>(noise.begin(), noise.end())) << level;
    }
}

// Other readers undo the planes with the library's own filter, so their layout is fixed.
TEST(Netcdf_Shuffle, ElementsSpreadIntoBytePlanesWithTheTailAsItIs) {
    const std::vector<std::uint8_t> in = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    const std::vector<std::vector<std::uint8_t>> planes = {
        {0, 2, 4, 6, 8, 10, 12, 14, 16, 1, 3, 5, 7, 9, 11, 13, 15, 17},
        {0, 3, 6, 9, 12, 15, 1, 4, 7, 10, 13, 16, 2, 5, 8, 11, 14, 17},
        {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 16, 17},
        {0, 8, 1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 16, 17},
    };
    const std::size_t sizes[] = {2, 3, 4, 8};
    for (std::size_t k = 0; k < std::size(sizes); ++k) {
        std::vector<std::uint8_t> out(in.size()), back(in.size());
        Shuffle_Bytes(in, sizes[k], out.data());
        EXPECT_EQ(out, planes[k]) << sizes[k];
        Unshuffle_Bytes(out, sizes[k], back.data());
        EXPECT_EQ(back, in) << sizes[k];
    }
}

}  // namespace
}  // namespace vantrel::test
