// Contour palette, colour indices, scales, image and bottom line.

#include <gtest/gtest.h>

#include "app_state.h"
#include "charts/contour.h"
#include "platform/recording_surface.h"
#include "support/chart_fixture.h"

namespace vantrel {
namespace {

TEST(Contour_Palette, SpectrumMarkersAndDirectionCircle) {
    const Contour_Palette p = Build_Contour_Palette();
    EXPECT_EQ(p[72], Rgb(255, 247, 9));
    EXPECT_EQ(p[k_index_bad], Rgb(0, 0, 0));
    EXPECT_EQ(p[400], Rgb(255, 0, 255));
    for (int i = 0; i < 100; ++i) EXPECT_EQ(p[static_cast<std::size_t>(420 + i)], p[static_cast<std::size_t>(i)]);
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

TEST(Contour_Indices, ManualScaleMarksBelowAboveAndBad) {
    One_Row row({-2000, -1000, 0, 1000, 2000, k_bad_velocity});
    row.state.settings.Contour_Scale_Limits = {-1000, 1000};
    const Contour_Results r = row.Build(100, 0);
    EXPECT_EQ(r.Scale_Min, -1000);
    EXPECT_EQ(r.Scale_Max, 1000);
    EXPECT_EQ(r.At(0, 0), k_index_below);
    EXPECT_EQ(r.At(1, 0), 0);
    EXPECT_EQ(r.At(2, 0), 50);  // 49.5 rounds to even
    EXPECT_EQ(r.At(3, 0), 99);
    EXPECT_EQ(r.At(4, 0), k_index_above);
    EXPECT_EQ(r.At(5, 0), k_index_bad);
    EXPECT_EQ(r.Count, 5);
    EXPECT_EQ(r.Data_Max, 2000);
    EXPECT_EQ(r.Data_Min, -2000);
}

TEST(Contour_Indices, DirectionUsesTheCircleWhateverTheMode) {
    One_Row row({0, 3600, 5, 15, 1800, k_bad_velocity}, 5);
    const Contour_Results r = row.Build(600, 1);
    EXPECT_EQ(r.Scale_Min, 0);
    EXPECT_EQ(r.Scale_Max, 360);
    EXPECT_EQ(r.Data_Min, 0);
    EXPECT_EQ(r.Data_Max, 360);
    EXPECT_EQ(r.At(0, 0), 400);
    EXPECT_EQ(r.At(1, 0), 539);
    EXPECT_EQ(r.At(2, 0), 400);  // 0.5 degree rounds to 0
    EXPECT_EQ(r.At(3, 0), 401);  // 1.5 rounds to 2: 2 * 139 / 360 + 400 = 400.77
    EXPECT_EQ(r.At(4, 0), 470);  // 180 degrees: 469.5 rounds to even
    EXPECT_EQ(r.At(5, 0), k_index_bad);
}

TEST(Contour_Indices, NoDataOrEmptyManualScalePaintsEverythingBlack) {
    One_Row missing({k_bad_velocity, k_bad_velocity});
    const Contour_Results none = missing.Build(100, 1);
    EXPECT_EQ(none.Count, 0);
    EXPECT_EQ(none.Scale_Max, 0);
    EXPECT_EQ(none.Scale_Min, 0);
    for (std::int16_t c : none.Index) EXPECT_EQ(c, k_index_bad);

    One_Row some({10, 20});
    some.state.settings.Contour_Scale_Limits = {500, 500};
    const Contour_Results flat = some.Build(100, 0);
    EXPECT_EQ(flat.Scale_Max, 0);
    for (std::int16_t c : flat.Index) EXPECT_EQ(c, k_index_bad);
}

TEST(Contour_Indices, EachCodeFamilyReadsItsOwnBeamOrComponent) {
    App_State state;
    test::Fill_Chart_Data_Set(state, {.ensembles = 3, .bins = 2});
    Data_Set& ds = state.ds;
    ds.Sub_Echo(2, 1, 0) = 7;
    ds.Sub_Corr(2, 1, 0) = 8;
    ds.Sub_PGood(2, 1, 0) = 9;
    ds.Sub_Vel(2, 1, 0) = -50;
    ds.Sub_Echo(4, 1, 0) = 11;
    ds.Sub_Corr(4, 1, 0) = 12;
    state.settings.Contour_Scale_Mode = 1;
    const auto data_min = [&](std::int32_t code) {
        Contour_Results r;
        Move_Data_To_Chart3d_Array(r, ds, state.settings, Chart_Window::k_sub, 2, code);
        return r.Data_Min;
    };
    EXPECT_EQ(data_min(3), 7);
    EXPECT_EQ(data_min(30), 8);
    EXPECT_EQ(data_min(3000), 9);
    EXPECT_EQ(data_min(300), -50);
    EXPECT_EQ(data_min(5), 11);
    EXPECT_EQ(data_min(50), 12);
}

TEST(Contour_Indices, SubSetGridHoldsOnlyTheChosenBins) {
    App_State state;
    test::Fill_Chart_Data_Set(state, {.ensembles = 10, .bins = 20});
    state.ds.First_Bin = 5;
    state.ds.Last_Bin = 8;
    Contour_Results r;
    Move_Data_To_Chart3d_Array(r, state.ds, state.settings, Chart_Window::k_sub, 20, 1);
    EXPECT_EQ(r.Rows, 4);
    EXPECT_EQ(r.First_Row_Bin, 4);
    EXPECT_EQ(r.Ensembles, 10);
    EXPECT_EQ(r.Count, 40);
    Move_Data_To_Chart3d_Array(r, state.ds, state.settings, Chart_Window::k_whole, 20, 1);
    EXPECT_EQ(r.Rows, 20);
    EXPECT_EQ(r.First_Row_Bin, 0);
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

// x and y of the bottom line's segments.
std::vector<Recorded_Op> Bottom_Lines(const Recording_Surface& s) {
    std::vector<Recorded_Op> out;
    for (const auto& op : s.ops)
        if (op.kind == Recorded_Op::k_line && op.mode == Draw_Mode::k_invert) out.push_back(op);
    return out;
}

TEST(Bottom_Line, FollowsTheMeanRangeOfTheBeamsInUse) {
    App_State state;
    test::Fill_Chart_Data_Set(state, {.ensembles = 4, .bins = 11, .bin_size = 1, .bin1_dist = 2, .bottom_m = 7});
    state.settings.Contour_Switch_3 = true;
    state.ds.Sub_BT_Range(1, 2) = 0;      // beam 2 lost in ensemble 2: the other three count
    state.ds.Sub_BT_Range(0, 3) = 1100;   // beam 1 sees 11 m in ensemble 3
    Contour_Results r;
    Move_Data_To_Chart3d_Array(r, state.ds, state.settings, Chart_Window::k_sub, 11, 500);
    Recording_Surface chart(200, 140);
    Chart3d_Geometry g;
    g.width = 200, g.height = 140, g.left = 50, g.right = 50, g.top = 20, g.bottom = 20;
    Display_BT_Contour(chart, g, r, state.ds, state.dec, state.settings, Chart_Window::k_sub, 500);
    auto lines = Bottom_Lines(chart);
    ASSERT_EQ(lines.size(), 3u);
    // Down-facing: 10 m per 100 px from the top; 7 m is 5 m below the first bin.
    EXPECT_DOUBLE_EQ(lines[0].y1, 20 + 50);
    EXPECT_DOUBLE_EQ(lines[0].x1, 50 + 12.5);
    EXPECT_DOUBLE_EQ(lines[2].y2, 20 + (8.0 - 2) * 10);  // (11 + 7 + 7 + 7) / 4

    // Beam 1 alone for the beam-1 echo chart.
    chart.ops.clear();
    Display_BT_Contour(chart, g, r, state.ds, state.dec, state.settings, Chart_Window::k_sub, 1);
    lines = Bottom_Lines(chart);
    EXPECT_DOUBLE_EQ(lines.back().y2, 20 + (11.0 - 2) * 10);

    // Up-facing: measured upwards from the plot bottom.
    state.ds.Orientation_Count = -4;
    chart.ops.clear();
    Display_BT_Contour(chart, g, r, state.ds, state.dec, state.settings, Chart_Window::k_sub, 500);
    lines = Bottom_Lines(chart);
    EXPECT_DOUBLE_EQ(lines[0].y1, 120 - 50);
}

}  // namespace
}  // namespace vantrel
