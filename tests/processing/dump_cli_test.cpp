#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "processing/beam_ensemble.h"
#include "support/cli_run.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using namespace test;

// The first bin of Sub_Vel on the first line of a dump.
std::string First_Vel_Bin(const std::string& dump) {
    std::smatch m;
    if (!std::regex_search(dump, m, std::regex(R"("Sub_Vel":\[(\[[^\]]*\]))"))) return "none";
    return m[1];
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
    std::string Dump(const std::string& options) {
        const Cli_Result r = Run_Cli("dump " + Quoted(dir_ / "beam.ens") + " --count 1 " + options, dir_);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        return First_Vel_Bin(r.out);
    }
    fs::path dir_;
};

TEST_F(Dump_Cli, ProcessesUnlessRawAndHonoursOverrides) {
    // Index 0 is the farthest cell of a down-facing instrument: east 290, north -50, up 5.
    const std::string raw = Dump("--raw");
    EXPECT_EQ(raw.find("290"), std::string::npos) << raw;
    EXPECT_EQ(raw.substr(raw.size() - 9), ",0,0,0,0]") << raw;

    std::smatch m;
    const std::string processed = Dump("");
    ASSERT_TRUE(std::regex_match(processed, m, std::regex(R"(\[(-?\d+),(-?\d+),(-?\d+),.*)"))) << processed;
    EXPECT_NEAR(std::stoi(m[1]), 290, 1);
    EXPECT_NEAR(std::stoi(m[2]), -50, 1);
    EXPECT_NEAR(std::stoi(m[3]), 5, 1);

    // No bottom track in the file: the bottom-track reference leaves nothing valid.
    EXPECT_EQ(Dump("--ref bt"), "[-32768,-32768,-32768,-32768,-32768,-32768,0,0]");
    // A velocity scale applies to the beams before processing.
    const std::string scaled = Dump("--vel-scale 2");
    ASSERT_TRUE(std::regex_match(scaled, m, std::regex(R"(\[(-?\d+),.*)"))) << scaled;
    EXPECT_NEAR(std::stoi(m[1]), 580, 3);
}

}  // namespace
}  // namespace vantrel
