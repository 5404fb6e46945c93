// Contour palette, colour indices, scales, image and bottom line.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app_state.h"
#include "charts/contour.h"
#include "platform/recording_surface.h"
#include "support/chart_fixture.h"
#include "support/expect_fields.h"

namespace vantrel {
namespace {

using test::Expect_Fields;

TEST(Contour_Palette, SpectrumMarkersAndDirectionCircle) {
    const Contour_Palette p = Build_Contour_Palette();
    EXPECT_EQ((std::array{p[72], p[k_index_bad], p[400]}), (std::array{Rgb(255, 247, 9), Rgb(0, 0, 0), Rgb(255, 0, 255)}));
    for (int i = 0; i < 100; ++i) EXPECT_EQ(p[static_cast<std::size_t>(420 + i)], p[static_cast<std::size_t>(i)]);
}

// Colour indices of row 0's first n cells.
std::vector<int> Row_Of(const Contour_Results& r, std::int32_t n) {
    std::vector<int> row;
    for (std::int32_t e = 0; e < n; ++e) row.push_back(r.At(e, 0));
    return row;
}

// A Sub Set of one bin whose cells hold the given east velocities.
struct One_Row {
    App_State state;
    explicit One_Row(const std::vector<std::int16_t>& values, std::int32_t code_slot = 0) {
        const auto n = static_cast<std::int32_t>(values.size());
        Allocate_Data_Set(state.ds, true, n, n);
        state.dec.Num_Bins = 1;
        state.ds.First_Bin = state.ds.Last_Bin = 1;
        state.ds.Sub_Count = n;
        for (std::size_t e = 0; e < values.size(); ++e)
            state.ds.Sub_Vel(static_cast<std::size_t>(code_slot), 0, e) = values[e];
    }
    Contour_Results Build(std::int32_t code, std::int32_t mode) {
        state.settings.Contour_Scale_Mode = mode;
        Contour_Results r;
        Move_Data_To_Chart3d_Array(r, state.ds, state.settings, Chart_Window::k_sub, state.dec.Num_Bins, code);
        return r;
    }
};

TEST(Contour_Indices, ManualScaleMarksBelowAboveAndBadAndAnEmptyOneOrNoDataPaintsAllBlack) {
    One_Row row({-2000, -1000, 0, 1000, 2000, k_bad_velocity});
    row.state.settings.Contour_Scale_Limits = {-1000, 1000};
    const Contour_Results r = row.Build(100, 0);
    Expect_Fields({{"scale min", r.Scale_Min, -1000}, {"scale max", r.Scale_Max, 1000}, {"count", r.Count, 5},
                   {"data max", r.Data_Max, 2000}, {"data min", r.Data_Min, -2000}});
    // 49.5 rounds to even.
    EXPECT_EQ(Row_Of(r, 6), (std::vector<int>{k_index_below, 0, 50, 99, k_index_above, k_index_bad}));

    // An empty manual scale paints everything black, as does a row without data.
    row.state.settings.Contour_Scale_Limits = {500, 500};
    const Contour_Results flat = row.Build(100, 0), none = One_Row({k_bad_velocity, k_bad_velocity}).Build(100, 1);
    Expect_Fields({{"flat max", flat.Scale_Max, 0}, {"count", none.Count, 0}, {"scale max", none.Scale_Max, 0}, {"scale min", none.Scale_Min, 0}});
    for (const Contour_Results* black : {&flat, &none})
        for (std::int16_t c : black->Index) EXPECT_EQ(c, k_index_bad);
}

TEST(Contour_Indices, DeviationOfLargeCloseValuesIsExactAndSkipsTheMissingMark) {
    // The squares sum past 2^32 and the deviation is their small difference from the mean's.
    One_Row row({-30000, -30002, k_bad_velocity, -30004, -30006, -30008});
    const Contour_Results r = row.Build(100, 1);
    Expect_Fields({{"count", r.Count, 5}, {"mean", r.Mean, -30004}, {"std", r.Std, 3}, {"data max", r.Data_Max, -30000},
                   {"data min", r.Data_Min, -30008}});
}

TEST(Contour_Indices, DirectionUsesTheCircleWhateverTheMode) {
    One_Row row({0, 3600, 5, 15, 1800, k_bad_velocity}, 5);
    const Contour_Results r = row.Build(600, 1);
    Expect_Fields({{"scale min", r.Scale_Min, 0}, {"scale max", r.Scale_Max, 360}, {"data min", r.Data_Min, 0},
                   {"data max", r.Data_Max, 360}});
    // 0.5 degree rounds to 0; 1.5 to 2: 2 * 139 / 360 + 400 = 400.77; 180: 469.5 rounds to even.
    EXPECT_EQ(Row_Of(r, 6), (std::vector<int>{400, 539, 400, 401, 470, k_index_bad}));
}

TEST(Contour_Indices, EachCodeFamilyReadsItsOwnBeamOrComponent) {
    App_State state;
    test::Fill_Chart_Data_Set(state, {.ensembles = 3, .bins = 2});
    Data_Set& ds = state.ds;
    ds.Sub_Echo(2, 1, 0) = 7, ds.Sub_Corr(2, 1, 0) = 8, ds.Sub_PGood(2, 1, 0) = 9;
    ds.Sub_Vel(2, 1, 0) = -50;
    ds.Sub_Echo(4, 1, 0) = 11, ds.Sub_Corr(4, 1, 0) = 12;
    state.settings.Contour_Scale_Mode = 1;
    const auto data_min = [&](std::int32_t code) {
        Contour_Results r;
        Move_Data_To_Chart3d_Array(r, ds, state.settings, Chart_Window::k_sub, 2, code);
        return r.Data_Min;
    };
    Expect_Fields({{"echo", data_min(3), 7}, {"correlation", data_min(30), 8}, {"percent good", data_min(3000), 9},
                   {"velocity", data_min(300), -50}, {"mean echo", data_min(5), 11}, {"mean correlation", data_min(50), 12}});
}

TEST(Contour_Indices, SubSetGridHoldsOnlyTheChosenBins) {
    App_State state;
    test::Fill_Chart_Data_Set(state, {.ensembles = 10, .bins = 20});
    state.ds.First_Bin = 5, state.ds.Last_Bin = 8;
    Contour_Results r;
    Move_Data_To_Chart3d_Array(r, state.ds, state.settings, Chart_Window::k_sub, 20, 1);
    Expect_Fields({{"rows", r.Rows, 4}, {"first row", r.First_Row_Bin, 4}, {"ensembles", r.Ensembles, 10}, {"count", r.Count, 40}});
    Move_Data_To_Chart3d_Array(r, state.ds, state.settings, Chart_Window::k_whole, 20, 1);
    Expect_Fields({{"whole rows", r.Rows, 20}, {"whole first row", r.First_Row_Bin, 0}});
}

TEST(Colour_Bar, EndBoxesAndLabels) {
    Contour_Results r;
    r.Scale_Min = -5, r.Scale_Max = 0, r.Data_Min = -5, r.Data_Max = 0;
    Chart3d_Geometry g;
    g.width = 500, g.height = 300, g.left = 50, g.right = 50, g.top = 30, g.bottom = 40;
    Colour_Bar_Layout bar = Layout_Colour_Bar(g, r, 100, 10, 8);
    EXPECT_FALSE(bar.ends);
    EXPECT_EQ(bar.labels[0].text, "-2");  // -5 / 2 toward zero
    EXPECT_DOUBLE_EQ(bar.unit, 400.0 / 100 / 4);
    EXPECT_DOUBLE_EQ(bar.labels[1].pos, 250 - 50 * bar.unit);
    EXPECT_DOUBLE_EQ(bar.left + bar.Width() / 2, 250);

    r.Data_Max = 7;
    bar = Layout_Colour_Bar(g, r, 600, 10, 8);
    EXPECT_TRUE(bar.ends);
    EXPECT_DOUBLE_EQ(bar.unit, 400.0 / 148 / 4);
    EXPECT_DOUBLE_EQ(bar.labels[2].pos, 250 + 70 * bar.unit);
}

TEST(Bottom_Line, FollowsTheMeanRangeOfTheBeamsInUse) {
    App_State state;
    test::Fill_Chart_Data_Set(state, {.ensembles = 4, .bins = 11, .bin_size = 1, .bin1_dist = 2, .bottom_m = 7});
    state.settings.Contour_Switch_3 = true;
    state.ds.Sub_BT_Range(1, 2) = 0;      // beam 2 lost in ensemble 2: the other three count
    state.ds.Sub_BT_Range(0, 3) = 1100;   // beam 1 sees 11 m in ensemble 3
    Contour_Results r;
    Move_Data_To_Chart3d_Array(r, state.ds, state.settings, Chart_Window::k_sub, 11, 500);
    Chart3d_Geometry g;
    g.width = 200, g.height = 140, g.left = 50, g.right = 50, g.top = 20, g.bottom = 20;
    // The bottom line's segments for the chart of code.
    const auto bottom_lines = [&](std::int32_t code) {
        Recording_Surface chart(200, 140);
        Display_BT_Contour(chart, g, r, state.ds, state.dec, state.settings, Chart_Window::k_sub, code);
        std::vector<Recorded_Op> out;
        for (const auto& op : chart.ops)
            if (op.kind == Recorded_Op::k_line && op.mode == Draw_Mode::k_invert) out.push_back(op);
        return out;
    };
    const auto lines = bottom_lines(500);
    ASSERT_EQ(lines.size(), 3u);
    // Down-facing: 10 m per 100 px from the top; 7 m is 5 m below the first bin.
    EXPECT_DOUBLE_EQ(lines[0].y1, 20 + 50);
    EXPECT_DOUBLE_EQ(lines[0].x1, 50 + 12.5);
    EXPECT_DOUBLE_EQ(lines[2].y2, 20 + (8.0 - 2) * 10);  // (11 + 7 + 7 + 7) / 4

    // Beam 1 alone for the beam-1 echo chart.
    EXPECT_DOUBLE_EQ(bottom_lines(1).back().y2, 20 + (11.0 - 2) * 10);
    // Up-facing: measured upwards from the plot bottom.
    state.ds.Orientation_Count = -4;
    EXPECT_DOUBLE_EQ(bottom_lines(500).front().y1, 120 - 50);
}

}  // namespace
}  // namespace vantrel
