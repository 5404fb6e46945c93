// Cells under points, selections, scroll bars, key moves, animation steps, candle pick and
// pane borders of the two contour windows.

#include <gtest/gtest.h>

#include <array>

#include "charts/chart_interaction.h"
#include "dataset/data_set.h"
#include "support/expect_fields.h"

namespace vantrel {
namespace {

using test::Expect_Fields;

// A plot of 100 x 50 pixels at (10, 20): 10 ensembles by 5 rows.
struct Grid {
    Chart3d_Geometry g;
    Contour_Results r;
    Grid() {
        g.width = 130, g.height = 90;
        g.left = 10, g.top = 20, g.right = 20, g.bottom = 20;
        r.Ensembles = 10, r.Rows = 5;
    }
};

// A file of ensembles 1..1000 seen every 10th in the Whole Set, Sub Set 101..200, 20 bins.
Data_Set File_Of_1000() {
    Data_Set ds;
    ds.File_First_Ens = ds.Whole_First_Ens = 1;
    ds.File_Last_Ens = 1000;
    ds.Whole_Step = 9;
    ds.First_Ens = 101, ds.Last_Ens = 200, ds.Sub_Count = 100;
    ds.First_Bin = 5, ds.Last_Bin = 12;
    ds.Cursor_Ens = 150;
    return ds;
}

// Cell centres mapping back are checked through the windows, which click at them.
TEST(Chart_Interaction, CellsUnderPointsAreHeldInsideTheGrid) {
    const Grid t;
    const auto at = [&t](double x, double y) { return Get_Chart3d_DataIndex(t.g, t.r, x, y); };
    Expect_Fields({{"corner e", at(10, 20).e, 0}, {"below next b", at(19.9, 29.9).b, 0}, {"next e", at(20, 30).e, 1},
                   {"next b", at(20, 30).b, 1}, {"before e", at(-50, -50).e, 0}, {"after e", at(500, 500).e, 9},
                   {"after b", at(500, 500).b, 4}});
    EXPECT_EQ((std::array{Inside_Plot(t.g, 10, 20), Inside_Plot(t.g, 110, 20), Inside_Plot(t.g, 50, 70)}), (std::array{true, false, false}));
}

TEST(Chart_Interaction, SelectionsNeedExtentBothWaysAndEndAtTheLastEnsemble) {
    // Drags in either direction and over the last column are checked through the window.
    const Data_Set ds = File_Of_1000();
    EXPECT_FALSE(Whole_Selection(ds, 100, 20, {3, 2}, {3, 8}));
    EXPECT_FALSE(Whole_Selection(ds, 100, 20, {3, 2}, {9, 2}));
    EXPECT_EQ(Whole_Selection(ds, 100, 20, {12, 15}, {2, 4}), (Sub_Range{21, 121, 5, 16}));
    // Sub Set selections count from the Sub Set and its top bin. The panes pick along their one
    // axis that lines up with the contour; the window's drags check where each lands, these the
    // ends and the empty picks.
    Expect_Fields<std::optional<Sub_Range>>({{"no extent", Sub_Selection(ds, {4, 0}, {4, 5}), std::nullopt},
                                             {"dragged back and up", Sub_Selection(ds, {30, 5}, {10, 2}), Sub_Range{111, 131, 7, 10}},
                                             {"series to the end", Series_Selection(ds, 90, 120), Sub_Range{191, 200, 5, 12}},
                                             {"series, no extent", Series_Selection(ds, 7, 7), std::nullopt},
                                             {"profile, no extent", Profile_Selection(ds, 3, 3), std::nullopt}});
}

TEST(Chart_Interaction, ArrowKeysMoveTheSubSetAndStopAtTheEnds) {
    Data_Set ds = File_Of_1000();
    Expect_Fields<std::optional<Sub_Range>>(
        {{"left", Whole_Arrow_Move(ds, 20, Arrow_Key::k_left), Sub_Range{100, 199, 5, 12}},
         {"right", Whole_Arrow_Move(ds, 20, Arrow_Key::k_right), Sub_Range{102, 201, 5, 12}},
         {"up", Whole_Arrow_Move(ds, 20, Arrow_Key::k_up), Sub_Range{101, 200, 6, 13}},
         {"down", Whole_Arrow_Move(ds, 20, Arrow_Key::k_down), Sub_Range{101, 200, 4, 11}}});
    ds.First_Ens = 1, ds.Last_Ens = 1000, ds.First_Bin = 1, ds.Last_Bin = 20;
    for (Arrow_Key k : {Arrow_Key::k_left, Arrow_Key::k_right, Arrow_Key::k_up, Arrow_Key::k_down})
        EXPECT_FALSE(Whole_Arrow_Move(ds, 20, k));
}

TEST(Chart_Interaction, ScrollBarsReachBothEndsAndRoundTrip) {
    Data_Set ds = File_Of_1000();
    const Scroll_Ranges s = Move_Scrollers(ds, 20);
    Expect_Fields({{"h max", s.h_max, 900}, {"h value", s.h_value, 100}, {"v max", s.v_max, 12}, {"v value", s.v_value, 8},
                   {"h back", HScroll_Range(ds, s.h_value, s.h_max).first_ens, 101},
                   {"v back", VScroll_Range(ds, 20, s.v_value, s.v_max).first_bin, 5}});
    Expect_Fields<Sub_Range>({{"h start", HScroll_Range(ds, 0, s.h_max), {1, 100, 5, 12}},
                              {"h end", HScroll_Range(ds, s.h_max, s.h_max), {901, 1000, 5, 12}},
                              {"v top", VScroll_Range(ds, 20, 0, s.v_max), {101, 200, 13, 20}}});
    ds.First_Ens = 901, ds.Last_Ens = 1000;
    EXPECT_EQ(Move_Scrollers(ds, 20).h_value, 900);
}

TEST(Chart_Interaction, CursorSeriesBinsAndAnimationsStepInsideTheSubSet) {
    Data_Set ds = File_Of_1000();
    ds.Cursor_Ens = 200;
    EXPECT_FALSE(Step_Cursor_Ens(ds, 1));
    EXPECT_TRUE(Step_Cursor_Ens(ds, -1));
    EXPECT_EQ(ds.Cursor_Ens, 199);
    ds.Cursor_Ens = 101;
    EXPECT_FALSE(Step_Cursor_Ens(ds, -1));

    ds.Series_Bins[6 - 1] = ds.Series_Bins[7 - 1] = true;  // bins 6 and 7 of 5..12
    int moves = 0;
    while (Shift_Series_Bins(ds, 1)) ++moves;
    EXPECT_EQ(moves, 5);  // up to 11, 12
    EXPECT_TRUE(ds.Series_Bins[12 - 1] && ds.Series_Bins[11 - 1] && !ds.Series_Bins[10 - 1]);
    EXPECT_TRUE(Shift_Series_Bins(ds, -1));
    EXPECT_FALSE(Toggle_Series_Bin(ds, 13));
    EXPECT_TRUE(Toggle_Series_Bin(ds, 5));
    EXPECT_FALSE(Shift_Series_Bins(ds, -1));  // bin 5 is the first

    // Animation steps always advance.
    Expect_Fields({{"step", Contour_Animation_Steps(10, 1).step, 1}, {"10.5 to even", Contour_Animation_Steps(10, 1).first, 10},
                   {"first", Contour_Animation_Steps(0, 100).first, 50}, {"page step", Contour_Animation_Steps(0, 100).step, 50}});
    ds.Cursor_Ens = 200;
    Start_Profile_Animation(ds);
    EXPECT_EQ(ds.Cursor_Ens, 101);
    ds.Cursor_Ens = 150;
    Start_Profile_Animation(ds);
    EXPECT_EQ(ds.Cursor_Ens, 150);
}

TEST(Chart_Interaction, CandlePickIgnoresClicksOutsideThePlotAndPaneBordersKeepAMinimumPane) {
    Expect_Fields({{"no candles", Pick_Candle(50, 40, 100, 0), -1}, {"left of the plot", Pick_Candle(39, 40, 100, 4), -1},
                   {"first", Pick_Candle(40, 40, 100, 4), 0}, {"last", Pick_Candle(139.9, 40, 100, 4), 3},
                   {"right of the plot", Pick_Candle(140, 40, 100, 4), -1}});
    // Pane borders keep a minimum pane.
    Expect_Fields<double>({{"series top", Series_Border_Ratio(-40, 400), k_min_pane_px / 400.0},
                           {"series", Series_Border_Ratio(100, 400), 0.25},
                           {"series bottom", Series_Border_Ratio(900, 400), (400.0 - k_min_pane_px) / 400},
                           {"profile left", Profile_Border_Ratio(0, 1000), k_min_pane_px / 1000.0},
                           {"profile right", Profile_Border_Ratio(5000, 1000), (1000.0 - k_min_pane_px) / 1000}});
    const Sub_Set_Layout l{.profile_width = 100, .series_top = 200};
    EXPECT_EQ((std::array{Pane_At(l, 99, 500), Pane_At(l, 100, 199), Pane_At(l, 100, 200)}),
              (std::array{Sub_Set_Pane::k_profile, Sub_Set_Pane::k_contour, Sub_Set_Pane::k_series}));
}

}  // namespace
}  // namespace vantrel
