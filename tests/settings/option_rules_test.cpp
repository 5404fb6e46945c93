// Option rules, the recent-file list and the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "settings/command_line.h"
#include "settings/option_rules.h"
#include "settings/recent_files.h"
#include "support/expect_fields.h"
#include "support/temp_folder.h"

namespace vantrel::test {
namespace {

using Range = std::pair<int, int>;

TEST(Option_Rules, ContourCodesMapBothWaysAndTheExportSkipsPercentGood) {
    Expect_Fields({{"0", Contour_Code_Of_Option(0), 1}, {"9", Contour_Code_Of_Option(9), 50}, {"15", Contour_Code_Of_Option(15), 600},
                   {"17", Contour_Code_Of_Option(17), 2000}, {"20", Contour_Code_Of_Option(20), 0}});
    for (int d = 0; d < 20; ++d) EXPECT_EQ(Contour_Option_Of_Code(Contour_Code_Of_Option(d), true), d);
    EXPECT_EQ(Contour_Option_Of_Code(500, false), 14);
    EXPECT_FALSE(Contour_Option_Of_Code(2000, false));
    EXPECT_FALSE(Contour_Option_Of_Code(55, true));
}

TEST(Option_Rules, RangesAreLimitedSwappedAndWidened) {
    Expect_Fields<Range>({{"swapped", Fix_Range(10, 3, 1, 100), {3, 10}}, {"widened", Fix_Range(7, 7, 1, 100), {7, 8}},
                          {"widened down", Fix_Range(100, 100, 1, 100), {99, 100}}, {"limited", Fix_Range(-5, 500, 1, 100), {1, 100}}});
    Expect_Fields({{"long", Field_Integer("12345678999", 8), 12345678}, {"text", Field_Integer("abc", 8), 0},
                   {"fraction", Field_Integer(" 2.5", 3), 2}});
}

TEST(Option_Rules, DownFacingBinsAreTurnedAndShownAsTyped) {
    Expect_Fields<Range>({{"up", Bins_From_Display(10, 3, 20, false), {3, 10}}, {"down", Bins_From_Display(3, 10, 20, true), {11, 18}},
                          {"shown", Bins_For_Display(11, 18, 20, true), {3, 10}}, {"widened", Bins_From_Display(20, 20, 20, false), {19, 20}},
                          {"limited", Bins_From_Display(0, 300, 20, true), {1, 20}}});
    Expect_Fields({{"1 up", Bin_Index_Of_Position(1, 20, false), 0}, {"1 down", Bin_Index_Of_Position(1, 20, true), 19},
                   {"20 down", Bin_Index_Of_Position(20, 20, true), 0}, {"21 up", Bin_Index_Of_Position(21, 20, false), -1},
                   {"21 down", Bin_Index_Of_Position(21, 20, true), -1}});
}

TEST(Option_Rules, IntervalsParseWithMissingPartsAndNormalise) {
    Expect_Fields<double>({{"full", Parse_Interval("0012:00:00.00"), 43200}, {"over", Parse_Interval("1:90:5.5"), 3600 + 5400 + 5.05},
                           {"no seconds", Parse_Interval("2:30"), 9000}, {"hours", Parse_Interval("45"), 45 * 3600}});
    EXPECT_EQ(Format_Interval(3600 + 5400 + 5.05), "0002:30:05.05");
    EXPECT_EQ(Format_Interval(43200), "0012:00:00.00");
}

TEST(Option_Rules, NumbersOutsideTheirLimitsAreNamedWithTheValueKept) {
    Expect_Fields<std::string>(
        {{"1025", Check_Number("Water Density", 1025, k_density_limits, 1000), ""},
         {"0", Check_Number("Water Density", 0, k_density_limits, 1000), "Water Density: 0 is not between 500 and 2000; 1000 kept"},
         {"scale 0", Check_Number("Water", 0, k_vel_scale_limits, 1), "Water: 0 is not above 0 and at most 10; 1 kept"},
         {"scale 10", Check_Number("Water", 10, k_vel_scale_limits, 1), ""}, {"wide", Check_Scale("Velocity", -1000, 1000), ""},
         {"empty", Check_Scale("Velocity", 5, 5), "Velocity: Min 5 is not below Max 5; the old limits kept"}});
    EXPECT_NE(Check_Number("Bottom", -1.5, k_vel_scale_limits, 1), "");
}

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

    Temp_Folder folder;
    const std::string path = folder.Path("VTRLFile.txt");
    EXPECT_EQ(Load_Recent_Files(path), Recent_Files{});  // created empty
    EXPECT_TRUE(std::filesystem::exists(path));
    ASSERT_TRUE(Save_Recent_Files(list, path));
    EXPECT_EQ(Load_Recent_Files(path), list);
}

TEST(Command_Line, ArgumentsGiveTheFileAndAnOptionalMonitorIntervalAndAnEmptyAnswerKeepsIt) {
    const Command_Line plain = Parse_Command_Line({"/data/my run.ens"}), split = Parse_Command_Line({"/data/my run.ens", "-M0030"});
    EXPECT_EQ((std::tuple{plain.file, plain.monitor_interval, split.file, split.monitor_interval}),
              (std::tuple{std::string("/data/my run.ens"), 0, std::string("/data/my run.ens"), 30}));
    EXPECT_EQ(Parse_Command_Line({"/data/\"x\".ens -M0000"}).file, "/data/\"x\".ens");
    EXPECT_EQ(Parse_Command_Line({"a.ens", "-M0000"}).monitor_interval, 1);
    EXPECT_EQ(Parse_Command_Line({}).file, "");
    // The monitor interval's answer keeps the interval when empty.
    for (const auto& [answer, interval] : {std::pair{"", 30}, {"0", 1}, {"12345", 9999}, {"2.5", 2}, {"soon", 1}})
        EXPECT_EQ(Monitor_Interval_From_Answer(answer, 30), interval) << answer;
}

}  // namespace
}  // namespace vantrel::test
