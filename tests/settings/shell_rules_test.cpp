#include <gtest/gtest.h>

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
    EXPECT_EQ(Parse_Command_Line({"/data/my run.ens"}).file, "/data/my run.ens");
    EXPECT_EQ(Parse_Command_Line({"/data/my run.ens"}).monitor_interval, 0);
    const Command_Line split = Parse_Command_Line({"/data/my run.ens", "-M0030"});
    EXPECT_EQ(split.file, "/data/my run.ens");
    EXPECT_EQ(split.monitor_interval, 30);
    EXPECT_EQ(Parse_Command_Line({"/data/\"x\".ens -M0000"}).file, "/data/\"x\".ens");
    EXPECT_EQ(Parse_Command_Line({"a.ens", "-M0000"}).monitor_interval, 1);
    EXPECT_EQ(Parse_Command_Line({}).file, "");
}

TEST(Command_Line, MonitorIntervalAnswerKeepsTheIntervalWhenEmpty) {
    EXPECT_EQ(Monitor_Interval_From_Answer("", 30), 30);
    EXPECT_EQ(Monitor_Interval_From_Answer("0", 30), 1);
    EXPECT_EQ(Monitor_Interval_From_Answer("12345", 30), 9999);
    EXPECT_EQ(Monitor_Interval_From_Answer("2.5", 30), 2);
    EXPECT_EQ(Monitor_Interval_From_Answer("soon", 30), 1);
}

}  // namespace
}  // namespace vantrel
