#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/cli_run.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

using test::Quoted;
using test::Run_Cli;

class Cli_Settings : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("VANTREL_CLI")) GTEST_SKIP() << "VANTREL_CLI not set";
    }
    test::Temp_Folder folder_;
    fs::path dir_ = folder_.Path();
};

TEST_F(Cli_Settings, BadSettingsOptionsGiveOneErrorLine) {
    const std::string missing = "dump any.ens --settings " + Quoted(dir_ / "missing.txt");
    for (const std::string& args : {missing, std::string("dump any.ens --ref sideways"),
                                    std::string("dump any.ens --eop bt,sideways"), std::string("settings")}) {
        const test::Cli_Result r = Run_Cli(args, dir_);
        EXPECT_EQ(r.exit_code, 1) << args;
        ASSERT_FALSE(r.err.empty()) << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << args << ": " << r.err;
        if (args == missing) {
            EXPECT_NE(r.err.find("cannot read settings file"), std::string::npos) << r.err;
        }
    }
}

}  // namespace
}  // namespace vantrel
