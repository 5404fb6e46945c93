// Charts rendered through the QImage surface: cells, bottom line and whole layouts.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <iterator>

#include "app_state.h"
#include "charts/sub_set_layout.h"
#include "platform/qt/qimage_surface.h"
#include "support/chart_fixture.h"

namespace vantrel {
namespace {

const bool k_offscreen = [] { return setenv("QT_QPA_PLATFORM", "offscreen", 1) == 0; }();

// A Sub Set contour of the fixture's jet drawn at 640 x 320, east velocity on a peak scale.
struct Jet_Chart {
    App_State state;
    QImage_Surface chart{640, 320}, image, scratch;
    Contour_View view;
    Jet_Chart(bool bottom_line) {
        test::Fill_Chart_Data_Set(state, {.ensembles = 60, .bins = 20, .bottom_m = 32, .jet_bin_lo = 4,
                                          .jet_bin_hi = 6, .jet_ens_lo = 20, .jet_ens_hi = 29});
        state.settings.Contour_Scale_Mode = 1;
        state.settings.Contour_Switch_2 = false;  // no grid lines across the cells
        state.settings.Contour_Switch_3 = bottom_line;
        Chart3d_DisplayTitles(view, state, {chart, image, scratch}, Chart_Window::k_sub, 100, 1920);
    }
    // Centre of the cell of ensemble index e and data-set bin b.
    double X(int e) const { return view.geometry.left + (e + 0.5) * view.geometry.Plot_Width() / 60; }
    double Y(int b) const { return view.geometry.top + (20 - 1 - b + 0.5) * view.geometry.Plot_Height() / 20; }
};

TEST(Chart_Images, CellsTakeThePaletteColourOfTheirValue) {
    ASSERT_TRUE(k_offscreen);
    Jet_Chart c(false);
    EXPECT_EQ(c.view.results.Scale_Min, 200);
    EXPECT_EQ(c.view.results.Scale_Max, 1500);
    const Contour_Palette& p = c.state.palette;
    for (int e : {20, 25, 29})
        for (int b : {4, 5, 6}) EXPECT_EQ(c.chart.Get_Point(c.X(e), c.Y(b)), p[99]) << e << " " << b;
    for (int e : {0, 19, 30, 59})
        for (int b : {0, 3, 7, 19}) EXPECT_EQ(c.chart.Get_Point(c.X(e), c.Y(b)), p[0]) << e << " " << b;
    // The frame lies just outside the plot.
    EXPECT_EQ(c.chart.Get_Point(c.view.geometry.left - 1, c.Y(10)), k_black);
}

TEST(Chart_Images, ASubSetWiderThanTheScreenShowsTheLastEnsembleOfEachColumn) {
    Contour_Results r;
    r.Ensembles = 5;
    r.Rows = 2;
    r.Index = {1, 11, 2, 12, 3, 13, 4, 14, 5, 15};  // (ensemble, row), row 0 at the bottom
    Contour_Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<Colour>(1000 + i);
    QImage_Surface image;
    Create_Chart3d(r, palette, image, Chart_Window::k_sub, 2);  // columns 0: ensembles 0-2, 1: ensembles 3-4
    ASSERT_EQ((std::pair{image.Width(), image.Height()}), (std::pair{2, 2}));
    EXPECT_EQ((std::array{image.Get_Point(0, 1), image.Get_Point(0, 0), image.Get_Point(1, 1), image.Get_Point(1, 0)}),
              (std::array{palette[3], palette[13], palette[5], palette[15]}));
}

TEST(Chart_Images, BottomLineLiesOnTheBottom) {
    Jet_Chart plain(false), lined(true);
    const Chart3d_Geometry& g = lined.view.geometry;
    // Rows whose pixels differ, in a column away from the jet: only the line's.
    for (int e : {5, 45}) {
        const double x = lined.X(e);
        int first = -1, last = -1;
        for (int y = static_cast<int>(g.top); y < g.Plot_Bottom(); ++y) {
            if (lined.chart.Get_Point(x, y) == plain.chart.Get_Point(x, y)) continue;
            EXPECT_EQ(lined.chart.Get_Point(x, y), plain.chart.Get_Point(x, y) ^ 0xFFFFFF);
            if (first < 0) first = y;
            last = y;
        }
        ASSERT_GE(first, 0) << e;
        EXPECT_LE(last - first, 2);
        // 32 m below a down-facing transducer is the middle of instrument bin 14 (31..33 m),
        // data-set bin 5: the line stays within that row.
        EXPECT_GE(first, lined.Y(5) - g.Plot_Height() / 40);
        EXPECT_LE(last, lined.Y(5) + g.Plot_Height() / 40);
    }
    // Nothing of the line is left in the margins.
    EXPECT_EQ(lined.chart.Get_Point(g.left - 3, lined.Y(5)), plain.chart.Get_Point(g.left - 3, lined.Y(5)));
}

// The Whole Set grid is kept between draws: each change below must look as a fresh draw does.
TEST(Chart_Images, KeptWholeSetGridDrawsAsAFreshOne) {
    ASSERT_TRUE(k_offscreen);
    App_State state;
    test::Fill_Chart_Data_Set(state);
    Data_Set& ds = state.ds;
    QImage_Surface kept(1200, 300);
    Contour_View kept_view;
    Draw_Whole_Set_Chart(kept, state, kept_view);
    const std::function<void()> changes[] = {
        [&] { ds.First_Ens = 1050, ds.Last_Ens = 1120, ds.Sel_First_Ens = 1040, ds.Sel_Last_Ens = 1130; },
        [&] { state.settings.Contour_Code = 100, state.settings.Contour_Scale_Mode = 1; },
        [&] {
            for (std::size_t e = 120; e < 160; ++e) ds.Sub_Vel(0, 30, e) = 2000;
            Copy_To_Whole_Set(ds, state.dec.Num_Bins);
        },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        const QImage before = kept.Image();
        changes[i]();
        Draw_Whole_Set_Chart(kept, state, kept_view);
        QImage_Surface fresh(1200, 300);
        Contour_View fresh_view;
        Draw_Whole_Set_Chart(fresh, state, fresh_view);
        EXPECT_FALSE(kept.Image() == before) << i;
        EXPECT_TRUE(kept.Image() == fresh.Image()) << i;
    }
}

TEST(Chart_Images, TheRangeCaptionOfAShortPlotStaysOffTheLabelRows) {
    ASSERT_TRUE(k_offscreen);
    App_State state;
    test::Fill_Chart_Data_Set(state);
    for (const int height : {130, 150, 170}) {
        QImage_Surface chart(700, height);
        Contour_View view;
        Draw_Whole_Set_Chart(chart, state, view);
        const Chart3d_Geometry& g = view.geometry;
        // Between the plot's foot and the "Ensemble" row, left of the range labels, is blank.
        int inked = 0;
        for (int y = static_cast<int>(g.Plot_Bottom()) + 1; y <= static_cast<int>(g.Plot_Bottom() + g.text_h / 4); ++y)
            for (int x = 0; x < static_cast<int>(g.left / 2); ++x) inked += chart.Get_Point(x, y) != k_white;
        EXPECT_EQ(inked, 0) << height;
    }
}

}  // namespace
}  // namespace vantrel
