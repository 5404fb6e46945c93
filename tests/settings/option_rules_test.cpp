#include <gtest/gtest.h>

#include "settings/option_rules.h"

namespace vantrel {
namespace {

TEST(Option_Rules, ContourCodesMapBothWaysAndTheExportSkipsPercentGood) {
    EXPECT_EQ(Contour_Code_Of_Option(0), 1);
    EXPECT_EQ(Contour_Code_Of_Option(9), 50);
    EXPECT_EQ(Contour_Code_Of_Option(15), 600);
    EXPECT_EQ(Contour_Code_Of_Option(17), 2000);
    EXPECT_EQ(Contour_Code_Of_Option(20), 0);
    for (int d = 0; d < 20; ++d) EXPECT_EQ(Contour_Option_Of_Code(Contour_Code_Of_Option(d), true), d);
    EXPECT_EQ(Contour_Option_Of_Code(500, false), 14);
    EXPECT_FALSE(Contour_Option_Of_Code(2000, false));
    EXPECT_FALSE(Contour_Option_Of_Code(55, true));
}

TEST(Option_Rules, RangesAreLimitedSwappedAndWidened) {
    EXPECT_EQ(Fix_Range(10, 3, 1, 100), std::make_pair(3, 10));
    EXPECT_EQ(Fix_Range(7, 7, 1, 100), std::make_pair(7, 8));
    EXPECT_EQ(Fix_Range(100, 100, 1, 100), std::make_pair(99, 100));
    EXPECT_EQ(Fix_Range(-5, 500, 1, 100), std::make_pair(1, 100));
    EXPECT_EQ(Field_Integer("12345678999", 8), 12345678);
    EXPECT_EQ(Field_Integer("abc", 8), 0);
    EXPECT_EQ(Field_Integer(" 2.5", 3), 2);
}

TEST(Option_Rules, DownFacingBinsAreTurnedAndShownAsTyped) {
    EXPECT_EQ(Bins_From_Display(10, 3, 20, false), std::make_pair(3, 10));
    EXPECT_EQ(Bins_From_Display(3, 10, 20, true), std::make_pair(11, 18));
    EXPECT_EQ(Bins_For_Display(11, 18, 20, true), std::make_pair(3, 10));
    EXPECT_EQ(Bins_From_Display(20, 20, 20, false), std::make_pair(19, 20));
    EXPECT_EQ(Bins_From_Display(0, 300, 20, true), std::make_pair(1, 20));
    EXPECT_EQ(Bin_Index_Of_Position(1, 20, false), 0);
    EXPECT_EQ(Bin_Index_Of_Position(1, 20, true), 19);
    EXPECT_EQ(Bin_Index_Of_Position(20, 20, true), 0);
    EXPECT_EQ(Bin_Index_Of_Position(21, 20, false), -1);
    EXPECT_EQ(Bin_Index_Of_Position(21, 20, true), -1);
}

TEST(Option_Rules, IntervalsParseWithMissingPartsAndNormalise) {
    EXPECT_DOUBLE_EQ(Parse_Interval("0012:00:00.00"), 43200);
    EXPECT_DOUBLE_EQ(Parse_Interval("1:90:5.5"), 3600 + 5400 + 5.05);
    EXPECT_DOUBLE_EQ(Parse_Interval("2:30"), 9000);
    EXPECT_DOUBLE_EQ(Parse_Interval("45"), 45 * 3600);
    EXPECT_EQ(Format_Interval(3600 + 5400 + 5.05), "0002:30:05.05");
    EXPECT_EQ(Format_Interval(43200), "0012:00:00.00");
}

TEST(Option_Rules, NumbersOutsideTheirLimitsAreNamedWithTheValueKept) {
    EXPECT_EQ(Check_Number("Water Density", 1025, k_density_limits, 1000), "");
    EXPECT_EQ(Check_Number("Water Density", 0, k_density_limits, 1000),
              "Water Density: 0 is not between 500 and 2000; 1000 kept");
    EXPECT_EQ(Check_Number("Water", 0, k_vel_scale_limits, 1), "Water: 0 is not above 0 and at most 10; 1 kept");
    EXPECT_EQ(Check_Number("Water", 10, k_vel_scale_limits, 1), "");
    EXPECT_NE(Check_Number("Bottom", -1.5, k_vel_scale_limits, 1), "");
    EXPECT_EQ(Check_Scale("Velocity", -1000, 1000), "");
    EXPECT_EQ(Check_Scale("Velocity", 5, 5), "Velocity: Min 5 is not below Max 5; the old limits kept");
}

}  // namespace
}  // namespace vantrel
