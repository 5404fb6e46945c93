// vantrel-cli load opens as the program does; save-range copies records byte for byte.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "support/bb_builder.h"
#include "synth_writer.h"

namespace vantrel {
namespace {

using test::Quoted;
using test::Run_Cli;
using test::Temp_Folder;

// The "Name: value" line of a load report, or "" when missing.
std::string Value(const std::string& report, const std::string& name) {
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(name + ": ", 0) == 0) return line.substr(name.size() + 2);
    }
    return {};
}

int Lines_Starting(const std::string& text, const std::string& start) {
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) n += line.rfind(start, 0) == 0 ? 1 : 0;
    return n;
}

struct Cli_Load : ::testing::Test {
    Temp_Folder dir;
    std::string Synth(const std::string& name, std::int64_t ensembles, std::int64_t first_number = 1) {
        synth::Synth_Options opt;
        opt.ensembles = ensembles;
        opt.bins = 12;
        opt.first_number = first_number;
        const std::string path = dir.Path(name);
        record = synth::Write_Synth_File(path, opt).ensemble_bytes;
        return path;
    }
    std::int64_t record = 0;
};

TEST_F(Cli_Load, ReportsTheOpenAndReloadsARange) {
    const std::string file = Synth("a.ens", 1000);
    const auto r = Run_Cli("load --max-whole 1000 " + Quoted(file), dir.Path(""));
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.out.find("Average Ensemble Interval 00:00:01.00\r\n"), std::string::npos);
    for (const auto& [name, value] : {std::pair{"Ens_Step", "1"}, {"Whole_Count", "500"}, {"Last_Ens", "256"}, {"File_Loaded", "true"}})
        EXPECT_EQ(Value(r.out, name), value) << name;

    const auto range = Run_Cli("load --max-sub 128 --first 101 --last 150 --dump-sub --dump-whole " + Quoted(file), dir.Path(""));
    ASSERT_EQ(range.exit_code, 0) << range.err;
    // Ens_Step 3 for the Whole Set: 1, 5, ..., 997.
    for (const auto& [name, value] : {std::pair{"First_Ens", "101"}, {"Sub_Count", "50"}, {"Whole_Count", "250"}})
        EXPECT_EQ(Value(range.out, name), value) << name;
    EXPECT_EQ((std::pair{Lines_Starting(range.out, "{\"Sub_Ens_Number\":"), Lines_Starting(range.out, "{\"Whole_Time\":")}), (std::pair{50, 250}));
    EXPECT_NE(range.out.find("{\"Sub_Ens_Number\":101,"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
