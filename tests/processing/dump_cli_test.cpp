#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>
#include <string>

#include "processing/beam_ensemble.h"
#include "support/cli_run.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using namespace test;

// The eight components of Sub_Vel's first bin on the first line of a dump; empty when absent.
std::vector<int> First_Vel_Bin(const std::string& dump) {
    const std::string key = "\"Sub_Vel\":[[";
    const std::size_t at = dump.find(key);
    std::vector<int> values;
    if (at == std::string::npos) return values;
    const char* p = dump.c_str() + at + key.size();
    while (*p && *p != ']') {
        char* end = nullptr;
        values.push_back(static_cast<int>(std::strtol(p, &end, 10)));
        if (end == p) return {};
        p = *end == ',' ? end + 1 : end;
    }
    return values;
}

class Dump_Cli : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("VANTREL_CLI")) GTEST_SKIP() << "VANTREL_CLI not set";
        dir_ = fs::path(::testing::TempDir()) / ("vantrel_dump_" + std::to_string(getpid()));
        fs::create_directories(dir_);
        std::ofstream out(dir_ / "beam.ens", std::ios::binary);
        for (int number = 1; number <= 3; ++number) {
            const auto bytes = Beam_Ensemble(number);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
    }
    void TearDown() override {
        std::error_code ec;
        if (!dir_.empty()) fs::remove_all(dir_, ec);
    }
    std::vector<int> Dump(const std::string& options) {
        const Cli_Result r = Run_Cli("dump " + Quoted(dir_ / "beam.ens") + " --count 1 " + options, dir_);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        return First_Vel_Bin(r.out);
    }
    fs::path dir_;
};

TEST_F(Dump_Cli, ProcessesUnlessRawAndHonoursOverrides) {
    // Index 0 is the farthest cell of a down-facing instrument: east 290, north -50, up 5.
    const std::vector<int> raw = Dump("--raw");
    ASSERT_EQ(raw.size(), 8u);
    EXPECT_GT(std::abs(raw[0] - 290), 100);  // beam velocities, not earth ones
    EXPECT_EQ(raw[4], 0);                    // no magnitude without processing

    const std::vector<int> processed = Dump("");
    ASSERT_EQ(processed.size(), 8u);
    EXPECT_NEAR(processed[0], 290, 1);
    EXPECT_NEAR(processed[1], -50, 1);
    EXPECT_NEAR(processed[2], 5, 1);
    EXPECT_NEAR(processed[4], 294, 1);

    // No bottom track in the file: the bottom-track reference leaves nothing valid.
    EXPECT_EQ(Dump("--ref bt"), (std::vector<int>{-32768, -32768, -32768, -32768, -32768, -32768, 0, 0}));
    // A velocity scale applies to the beams before processing.
    const std::vector<int> scaled = Dump("--vel-scale 2");
    ASSERT_EQ(scaled.size(), 8u);
    EXPECT_NEAR(scaled[0], 580, 3);
}

}  // namespace
}  // namespace vantrel
