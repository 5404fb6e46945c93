#include <gtest/gtest.h>

#include <tuple>

#include "settings/command_line.h"
#include "settings/recent_files.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(Recent_Files, OpeningItemThreeMovesItFirstAndANinthFileDropsTheOldest) {
    Recent_Files list;
    for (const char* name : {"h", "g", "f", "e", "d", "c", "b", "a"}) Add_Recent_File(list, name);
    EXPECT_EQ(list, (Recent_Files{"a", "b", "c", "d", "e", "f", "g", "h"}));
    Add_Recent_File(list, "c");
    EXPECT_EQ(list, (Recent_Files{"c", "a", "b", "d", "e", "f", "g", "h"}));
    Add_Recent_File(list, "h");  // the last item moves up, nothing falls off
    EXPECT_EQ(list, (Recent_Files{"h", "c", "a", "b", "d", "e", "f", "g"}));
    Add_Recent_File(list, "new");
    EXPECT_EQ(list, (Recent_Files{"new", "h", "c", "a", "b", "d", "e", "f"}));
    Add_Recent_File(list, "");
    EXPECT_EQ(list[0], "new");
}

TEST(Recent_Files, FileHoldsQuotedLinesEndedByCrLfAndReadsBack) {
    const Recent_Files list{"/data/run 1.ens", "/data/b.ens"};
    const std::string text = Format_Recent_Files(list);
    EXPECT_EQ(text, "\"/data/run 1.ens\"\r\n\"/data/b.ens\"\r\n");
    EXPECT_EQ(Parse_Recent_Files(text), list);

    test::Temp_Folder folder;
    const std::string path = folder.Path("VTRLFile.txt");
    EXPECT_EQ(Load_Recent_Files(path), Recent_Files{});  // created empty
    EXPECT_TRUE(std::filesystem::exists(path));
    ASSERT_TRUE(Save_Recent_Files(list, path));
    EXPECT_EQ(Load_Recent_Files(path), list);
}

TEST(Command_Line, ArgumentsGiveTheFileAndAnOptionalMonitorInterval) {
    const Command_Line plain = Parse_Command_Line({"/data/my run.ens"}), split = Parse_Command_Line({"/data/my run.ens", "-M0030"});
    EXPECT_EQ((std::tuple{plain.file, plain.monitor_interval, split.file, split.monitor_interval}),
              (std::tuple{std::string("/data/my run.ens"), 0, std::string("/data/my run.ens"), 30}));
    EXPECT_EQ(Parse_Command_Line({"/data/\"x\".ens -M0000"}).file, "/data/\"x\".ens");
    EXPECT_EQ(Parse_Command_Line({"a.ens", "-M0000"}).monitor_interval, 1);
    EXPECT_EQ(Parse_Command_Line({}).file, "");
}

TEST(Command_Line, MonitorIntervalAnswerKeepsTheIntervalWhenEmpty) {
    for (const auto& [answer, interval] : {std::pair{"", 30}, {"0", 1}, {"12345", 9999}, {"2.5", 2}, {"soon", 1}})
        EXPECT_EQ(Monitor_Interval_From_Answer(answer, 30), interval) << answer;
}

}  // namespace
}  // namespace vantrel
