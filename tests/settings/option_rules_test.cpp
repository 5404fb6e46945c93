#include <gtest/gtest.h>

#include "settings/option_rules.h"
#include "support/expect_fields.h"

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

}  // namespace
}  // namespace vantrel::test
