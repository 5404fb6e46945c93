// vantrel-cli load opens as the program does.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel::test {
namespace {

// Whether the report holds the whole line given.
bool Has_Line(const std::string& report, const std::string& line) { return ("\n" + report).find("\n" + line + "\n") != std::string::npos; }

int Lines_Starting(const std::string& text, const std::string& start) {
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) n += line.rfind(start, 0) == 0 ? 1 : 0;
    return n;
}

TEST(Cli_Load, ReportsTheOpenAndReloadsARange) {
    Temp_Folder dir;
    const std::string file = dir.Path("a.ens");
    synth::Write_Synth_File(file, {.ensembles = 1000, .bins = 12});
    const auto r = Run_Cli("load --max-whole 1000 " + Quoted(file), dir.Path(""));
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.out.find("Average Ensemble Interval 00:00:01.00\r\n"), std::string::npos);
    for (const auto& [name, value] : {std::pair{"Ens_Step", "1"}, {"Whole_Count", "500"}, {"Last_Ens", "256"}, {"File_Loaded", "true"}})
        EXPECT_TRUE(Has_Line(r.out, std::string(name) + ": " + value)) << name << "\n" << r.out;

    const auto range = Run_Cli("load --max-sub 128 --first 101 --last 150 --dump-sub --dump-whole " + Quoted(file), dir.Path(""));
    ASSERT_EQ(range.exit_code, 0) << range.err;
    // Ens_Step 3 for the Whole Set: 1, 5, ..., 997.
    for (const auto& [name, value] : {std::pair{"First_Ens", "101"}, {"Sub_Count", "50"}, {"Whole_Count", "250"}})
        EXPECT_TRUE(Has_Line(range.out, std::string(name) + ": " + value)) << name << "\n" << range.out;
    EXPECT_EQ((std::pair{Lines_Starting(range.out, "{\"Sub_Ens_Number\":"), Lines_Starting(range.out, "{\"Whole_Time\":")}), (std::pair{50, 250}));
    EXPECT_NE(range.out.find("{\"Sub_Ens_Number\":101,"), std::string::npos);

    // A range past the last ensemble loads nothing: a failure, for render too.
    for (const std::string& command : {std::string("load"), "render --view sub -o " + Quoted(dir.Path("past.png"))}) {
        const auto past = Run_Cli(command + " --first 1001 --last 1010 " + Quoted(file), dir.Path(""));
        EXPECT_EQ(past.exit_code, 1) << command;
        EXPECT_NE(past.err.find("Ensemble 1001 is not in the file"), std::string::npos) << past.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path("past.png")));
}

// Fewer than two ensembles is a failed open, said and exited as one, not a report of success.
TEST(Cli_Load, AFileOfOneEnsembleFailsAsAFileWithoutAny) {
    Temp_Folder dir;
    const std::string file = dir.Path("one.ens");
    synth::Write_Synth_File(file, {.ensembles = 1, .bins = 12});
    const auto r = Run_Cli("load " + Quoted(file), dir.Path(""));
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(Has_Line(r.out, "Not enough VALID ensembles\r")) << r.out;
    EXPECT_NE(r.err.find("Not enough VALID ensembles"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace vantrel::test
