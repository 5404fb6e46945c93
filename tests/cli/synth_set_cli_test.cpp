// synth --split-every and --acquisition-set from the command line, and the scenarios it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/cli_run.h"
#include "support/temp_folder.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

TEST(Synth_Set_Cli, WritesTheMembersAndRefusesWhatAFileCannotHold) {
    const Temp_Folder folder;
    const fs::path dir = folder.Path();
    const Cli_Result numbered = Run_Cli("synth " + Quoted(dir / "s.010") + " --ensembles 10 --bins 3 --split-every 4", dir);
    ASSERT_EQ(numbered.exit_code, 0) << numbered.err;
    EXPECT_NE(numbered.out.find("; 3 files, " + (dir / "s.010").string() + " to " + (dir / "s.012").string() + "\n"),
              std::string::npos)
        << numbered.out;
    EXPECT_EQ(fs::file_size(dir / "s.010"), 2 * fs::file_size(dir / "s.012"));

    const Cli_Result acquisition = Run_Cli("synth " + Quoted(dir / "RUN001_000003.ENR") +
                                               " --structure nb --ensembles 10 --bins 3 --split-every 5 --acquisition-set",
                                           dir);
    ASSERT_EQ(acquisition.exit_code, 0) << acquisition.err;
    EXPECT_TRUE(fs::exists(dir / "RUN001_000004.ENR"));

    // Sets named wrongly, and narrowband shapes the format cannot carry.
    for (const std::string bad : {"x.ens --split-every 4", "x.000 --acquisition-set", "x.000 --split-every -1",
                                  "x_000001.ens --split-every 4 --acquisition-set", "x.ens --structure nb --bin-size 0.5",
                                  "x.ens --structure nb --bin-size 3", "x.ens --structure nb --navigation",
                                  "x.ens --structure nb --flow-meter", "x.ens --structure nb --text-block",
                                  "x.ens --structure nb --first-number 70000", "x.ens --structure nb --nb-frequency 8",
                                  "x.ens --structure nb --nb-bit7-clear --facing up"}) {
        const Cli_Result r = Run_Cli("synth " + Quoted(dir) + "/" + bad, dir);
        EXPECT_EQ(r.exit_code, 1) << bad;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << bad << ": " << r.err;
        EXPECT_FALSE(fs::exists(dir / "x.ens")) << bad;
    }
}

}  // namespace
}  // namespace vantrel::test
