// The trend filter and the trend view's selection rules, against hand-computed values.
#include <gtest/gtest.h>

#include <cmath>

#include "support/expect_fields.h"
#include "analysis/trend.h"
#include "charts/chart_primitives.h"
#include "dataset/data_set.h"

namespace vantrel::test {
namespace {

constexpr double k_bad = -32768;

TEST(Smooth, OnePassIsTheTriangularKernelAndFillsGaps) {
    std::vector<double> x{0, 4, 8};
    Smooth(x);
    EXPECT_EQ(x, (std::vector<double>{1, 4, 7}));
    // Fill value from the end: 8, then 0.1 * 0 + 0.9 * 8 = 7.2 when the walk meets 0.
    std::vector<double> gap{0, k_bad, 8};
    Smooth(gap);
    EXPECT_DOUBLE_EQ(gap[0], (0 + 0 + 7.2) / 4);
    EXPECT_DOUBLE_EQ(gap[1], (0 + 2 * 7.2 + 8) / 4);
    EXPECT_DOUBLE_EQ(gap[2], (3 * 8 + 7.2) / 4);
    std::vector<double> none{k_bad, k_bad};
    Smooth(none);
    EXPECT_EQ(none, (std::vector<double>{k_bad, k_bad}));
}

// Two series (speed, direction) of two bins, three candles of four samples.
Candle_Tables Tables() {
    Candle_Tables t;
    t.Allocate(4, 3, 2, 2);
    t.units = {"mm/s", "deg"};
    const std::int16_t speeds[4] = {0, 4, k_bad_velocity, 8};
    const std::int16_t directions[4] = {3590, 10, 3590, 10};
    for (std::int32_t i = 0; i < 4; ++i) {
        t.Sample(i, 1, 0, 0) = speeds[i];
        t.Sample(i, 1, 1, 1) = directions[i];
    }
    return t;
}

TEST(Trend, WidthZeroIsTheSamplesAndResidualsSkipMissingOnes) {
    const Candle_Tables t = Tables();
    Trend_Result r = Compute_Trend(t, 1, 0, 0, 0);
    EXPECT_EQ((std::tuple{r.direction, r.trend, r.count, r.maximum}), (std::tuple{false, std::vector<double>{0, 4, k_bad, 8}, 3, 0.0}));
    r = Compute_Trend(t, 1, 0, 0, 1);
    EXPECT_NE(r.trend[2], k_bad);
    EXPECT_EQ(r.count, 3);
    EXPECT_DOUBLE_EQ(r.residuals[0], 0 - r.trend[0]);
    EXPECT_NEAR(r.mean, (r.residuals[0] + r.residuals[1] + r.residuals[3]) / 3, 1e-12);
}

TEST(Trend, DirectionsAcrossNorthTrendNearZeroInTenthsWithWrappedResiduals) {
    const Candle_Tables t = Tables();
    const Trend_Result r = Compute_Trend(t, 1, 1, 1, 2);
    ASSERT_TRUE(r.direction);
    EXPECT_EQ(r.factor, 0.1);
    for (double d : r.trend) EXPECT_LT(std::min(d, 3600 - d), 10) << d;  // within a degree of north
    for (double d : r.residuals) {
        EXPECT_LE(std::fabs(d), 20);
        EXPECT_GT(d, -1800);
    }
}

TEST(Trend, SelectionIsClampedAnswersBelowOneAreIgnoredAndTableLinesCountFromTheBottom) {
    Candle_Tables t = Tables();
    Trend_Selection s{5, 9, 3};
    t.selected = 7;
    Expect_Fields({{"clamped", Clamp_Trend_Selection(s, t), 2}, {"selected", t.selected, 2}, {"series", s.series, 1}, {"bin", s.bin, 1}});
    t.selected = -1;
    EXPECT_EQ(Clamp_Trend_Selection(s, t), 0);
    t.Allocate(4, 0, 0, 0);
    EXPECT_EQ(Clamp_Trend_Selection(s, t), -1);

    for (const auto& [text, want] : std::initializer_list<std::pair<const char*, std::optional<int>>>{
             {"7", 2}, {"2.4", 1}, {"0", std::nullopt}, {"-4", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt}})
        EXPECT_EQ(Candle_Answer(text, 3), want) << text;

    // Table lines count from the bottom: the third, then the first, of 2 series x 2 bins.
    t = Tables(), s = {};
    Expect_Fields({{"third", Pick_Table_Line(500 - 2.5 * 10, 500, 10, t, s), true}, {"series", s.series, 1}, {"bin", s.bin, 0}});
    Expect_Fields({{"first", Pick_Table_Line(499, 500, 10, t, s), true}, {"series", s.series, 0}, {"bin", s.bin, 0}});
    EXPECT_FALSE(Pick_Table_Line(455, 500, 10, t, s));  // above the four lines
    EXPECT_EQ(Candle_Interval_Text(3 * 3600 + 25 * 60 + 7.5), "0003:25:07.50");
}

}  // namespace
}  // namespace vantrel::test
