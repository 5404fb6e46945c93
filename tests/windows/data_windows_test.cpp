// The Whole Set and Sub Set windows driven by real mouse and key events, and the animations.

#include <QAction>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <array>
#include <tuple>
#include <utility>

#include "gui_fixture.h"
#include "windows/animator.h"
#include "windows/chart_options_dialog.h"
#include "windows/chart_widget.h"
#include "windows/sub_set_window.h"
#include "windows/whole_set_window.h"

namespace vantrel::test {
namespace {

class Data_Windows_Test : public Gui_Test {
protected:
    // 2000 ensembles of 40 bins; the Whole Set shows a column per few ensembles, the Sub Set 256.
    void Open(bool facing_up = false) {
        W().Start({});
        W().State().settings.Max_Whole_Ens = 1000;
        W().State().settings.Max_Sub_Ens = 256;
        W().Open_File_Now(Synth("w.ens", {.ensembles = 2000, .bins = 40, .facing_up = facing_up}));
        ASSERT_TRUE(Ds().File_Loaded);
        QApplication::processEvents();
    }
    Data_Set& Ds() { return W().State().ds; }
    Chart_Widget& Whole_Chart() { return W().Whole().Chart(); }
    Chart_Widget& Sub_Chart() { return W().Sub().Chart(); }
    static QPoint Widget_Point(const Chart_Widget& c, QPointF surface) { return (surface / c.devicePixelRatioF()).toPoint(); }
    QPoint Whole_Cell(std::int32_t e, std::int32_t b) { return Widget_Point(Whole_Chart(), W().Whole().Get_Chart3d_DataCoordinate({e, b})); }
    QPoint Sub_Cell(std::int32_t e, std::int32_t b) { return Widget_Point(Sub_Chart(), W().Sub().Get_Chart3d_DataCoordinate({e, b})); }
    static void Drag(QWidget& w, QPoint from, QPoint to, bool space) {
        if (space) QTest::keyPress(&w, Qt::Key_Space);
        QTest::mousePress(&w, Qt::LeftButton, {}, from);
        QTest::mouseMove(&w, (from + to) / 2);
        QTest::mouseMove(&w, to);
        QTest::mouseRelease(&w, Qt::LeftButton, {}, to);
        if (space) QTest::keyRelease(&w, Qt::Key_Space);
    }
    // Whole Set ensemble number of column i.
    std::int32_t Column_Ens(std::int32_t i) { return (Ds().Whole_Step + 1) * i + Ds().File_First_Ens; }
    // Runs the running animation to its end.
    void Run_Animation() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return W().Animation().Running() == Animator::Kind::k_none; }, 10000)) << "still animating";
    }
};

TEST_F(Data_Windows_Test, SpaceDragOverTheWholeSetSelectsEnsemblesAndBinsForBothFacings) {
    for (const bool up : {false, true}) {
        SCOPED_TRACE(up ? "facing up" : "facing down");
        Open(up);
        const Data_Set before = Ds();
        Drag(Whole_Chart(), Whole_Cell(100, 30), Whole_Cell(200, 5), false);
        EXPECT_EQ(Range_Of(Ds()), Range_Of(before)) << "a drag without space selects nothing";

        Drag(Whole_Chart(), Whole_Cell(150, 30), Whole_Cell(100, 5), true);
        EXPECT_EQ(Range_Of(Ds()), (Sub_Range{Column_Ens(100), Column_Ens(150), 40 - 30, 40 - 5}));
        EXPECT_EQ((std::pair{Ds().Sel_First_Ens, W().Sub().View().contour.results.Rows}), (std::pair{Column_Ens(100), 26}));

        const std::int32_t last_column = W().Whole().View().results.Ensembles - 1;
        Drag(Whole_Chart(), Whole_Cell(last_column - 50, 0), Whole_Cell(last_column, 39), true);
        EXPECT_EQ(Range_Of(Ds()), (Sub_Range{Column_Ens(last_column - 50), Ds().File_Last_Ens, 1, 40}));
        EXPECT_FALSE(W().Whole().Dragging());
    }
}

TEST_F(Data_Windows_Test, ArrowKeysAndScrollBarsMoveTheSubSetAndStopAtTheEnds) {
    Open();
    // Where each key stops is the core's rule; here the keys and bars reach it and load.
    QScrollBar& h = W().Whole().HScroll1();
    QTest::keyClick(&Whole_Chart(), Qt::Key_Right);
    EXPECT_EQ((std::tuple{Ds().First_Ens, Ds().Last_Ens, h.value()}), (std::tuple{2, 257, 1}));
    QTest::keyClick(&Whole_Chart(), Qt::Key_Left);
    EXPECT_EQ(Ds().First_Ens, 1);
    h.setValue(h.maximum());
    QTest::keyClick(&Whole_Chart(), Qt::Key_Right);
    EXPECT_EQ((std::pair{Ds().Last_Ens, Ds().Sub_Ens_Number(Ds().Sub_Count - 1)}), (std::pair{Ds().File_Last_Ens, Ds().File_Last_Ens}));

    // A Sub Set of 10 bins moved through the bins with the keys and the vertical bar.
    Drag(Whole_Chart(), Whole_Cell(10, 29), Whole_Cell(40, 20), true);
    ASSERT_EQ(Ds().Last_Bin - Ds().First_Bin, 9);
    QScrollBar& v = W().Whole().VScroll1();
    v.setValue(v.minimum());
    QTest::keyClick(&Whole_Chart(), Qt::Key_Up);
    EXPECT_EQ(Ds().Last_Bin, 40);
    QTest::keyClick(&Whole_Chart(), Qt::Key_Down);
    EXPECT_EQ(Ds().Last_Bin, 39);
    v.setValue(v.maximum());
    EXPECT_EQ((std::pair{Ds().First_Bin, W().Sub().View().contour.results.First_Row_Bin}), (std::pair{1, 0}));
}

TEST_F(Data_Windows_Test, TheMarkerBlinksWhileLocatorsAreOn) {
    Open();
    // Timers run late on a busy machine: each change may take a while.
    const bool shown = W().Whole().Marker_Shown();
    EXPECT_TRUE(QTest::qWaitFor([&] { return W().Whole().Marker_Shown() != shown; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return W().Whole().Marker_Shown() == shown; }, 2000));
    W().State().settings.Contour_Switch_1 = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !W().Whole().Marker_Shown(); }, 2000));
    EXPECT_FALSE(QTest::qWaitFor([&] { return W().Whole().Marker_Shown(); }, 600)) << "blinks on";
}

TEST_F(Data_Windows_Test, RectanglesInTheContourAndItsPanesZoomAndOneColumnWideLoadsNothing) {
    Open();
    const std::int32_t first = Ds().First_Ens, first_bin = Ds().First_Bin, last_bin = Ds().Last_Bin;
    const Sub_Set_Layout l = W().Sub().View().layout;
    const auto series = [&](std::int32_t e, double share) {
        return Widget_Point(Sub_Chart(), {W().Sub().Get_Chart3d_DataCoordinate({e, 0}).x(), l.series_top + share * l.series_height});
    };
    Drag(Sub_Chart(), series(40, 0.3), series(40, 0.8), false);
    EXPECT_EQ(Ds().Sub_Count, 256) << "one sample wide selects nothing";
    // In candle mode a double click picks the candle and zooms nowhere.
    Ds().Series_Bins[20] = true;
    W().State().settings.Averaging_All = false;
    W().State().settings.Averaging_Interval = 64;
    W().Redraw_Sub();
    ASSERT_EQ(W().State().candles.candles, 4);
    QTest::mouseDClick(&Sub_Chart(), Qt::LeftButton, {}, series(200, 0.5));
    EXPECT_EQ((std::pair{W().State().candles.selected, Ds().Sub_Count}), (std::pair{3, 256}));
    Drag(Sub_Chart(), series(120, 0.3), series(40, 0.8), false);
    EXPECT_EQ(Range_Of(Ds()), (Sub_Range{first + 40, first + 120, first_bin, last_bin})) << "the pane's height is strips, not bins";

    const auto profile = [&](std::int32_t row) {
        return Widget_Point(Sub_Chart(), {W().Sub().View().layout.profile_width / 2.0, W().Sub().Get_Chart3d_DataCoordinate({0, row}).y()});
    };
    Drag(Sub_Chart(), profile(5), profile(20), false);
    EXPECT_EQ(Range_Of(Ds()), (Sub_Range{first + 40, first + 120, last_bin - 20, last_bin - 5}));
    EXPECT_EQ(W().Sub().View().contour.results.Rows, 16);

    // A rectangle over the contour zooms to its ensembles and bins.
    Drag(Sub_Chart(), Sub_Cell(10, 2), Sub_Cell(50, 12), true);
    EXPECT_EQ(Range_Of(Ds()), (Sub_Range{first + 50, first + 90, last_bin - 5 - 12, last_bin - 5 - 2}));
}

TEST_F(Data_Windows_Test, RightClickOpensTheContourOptionsFromEitherContourButNotFromThePanes) {
    Open();
    const auto dialog_shown = [&] { return W().Options() && W().Options()->isVisible(); };
    const Sub_Set_Layout l = W().Sub().View().layout;
    QTest::mouseClick(&Sub_Chart(), Qt::RightButton, {}, Widget_Point(Sub_Chart(), {l.contour_left + l.contour_width / 2.0, l.series_top + l.series_height / 2.0}));
    QTest::mouseClick(&Sub_Chart(), Qt::RightButton, {}, Widget_Point(Sub_Chart(), {l.profile_width / 2.0, l.height / 2.0}));
    EXPECT_FALSE(dialog_shown());
    for (Chart_Widget* chart : {&Whole_Chart(), &Sub_Chart()}) {
        if (W().Options()) {
            W().Options()->Tabs().setCurrentIndex(2);
            W().Options()->close();
        }
        const QPoint at = chart == &Sub_Chart() ? Sub_Cell(100, 10) : Whole_Cell(100, 10);
        QTest::mouseClick(chart, Qt::RightButton, {}, at);
        ASSERT_TRUE(dialog_shown());
        EXPECT_EQ(W().Options()->Tabs().currentIndex(), 0);
    }
}

TEST_F(Data_Windows_Test, DoubleClicksMoveTheProfileLineAndToggleABinOnTheBinAxisThatAReloadKeeps) {
    Open();
    QTest::mouseDClick(&Sub_Chart(), Qt::LeftButton, {}, Sub_Cell(100, 10));
    EXPECT_EQ(Ds().Cursor_Ens, Ds().First_Ens + 100);
    // The line sits in that column: its pixels differ from the column beside it.
    const QImage& image = Sub_Chart().Surface().Image();
    const QPointF at = W().Sub().Get_Chart3d_DataCoordinate({100, 10});
    EXPECT_NE(image.pixel(at.toPoint()), image.pixel(at.toPoint() + QPoint(3, 0)));
    QTest::keyClick(&Sub_Chart(), Qt::Key_Right);
    EXPECT_EQ(Ds().Cursor_Ens, Ds().First_Ens + 101);
    QTest::keyClick(&Sub_Chart(), Qt::Key_Left);
    QTest::keyClick(&Sub_Chart(), Qt::Key_Left);
    EXPECT_EQ(Ds().Cursor_Ens, Ds().First_Ens + 99);

    // Facing down: data-set bin b is instrument bin 41 - b.
    W().Open_Chart_Options(3);
    const Sub_Set_View& v = W().Sub().View();
    const QPointF row = W().Sub().Get_Chart3d_DataCoordinate({0, 5});
    const QPointF axis{v.layout.contour_left + v.contour.geometry.Plot_Right() + 3, row.y()};
    const std::int32_t bin = Ds().Last_Bin - 5;
    const bool was = Ds().Series_Bins[static_cast<std::size_t>(bin - 1)];
    QTest::mouseDClick(&Sub_Chart(), Qt::LeftButton, {}, Widget_Point(Sub_Chart(), axis));
    ASSERT_NE(Ds().Series_Bins[static_cast<std::size_t>(bin - 1)], was);
    EXPECT_EQ(W().State().settings.Series_Bins_Setting[static_cast<std::size_t>(40 - bin)], !was);
    EXPECT_EQ(W().Options()->findChild<QListWidget*>(QStringLiteral("lstSeries_Bins"))->item(40 - bin)->checkState() == Qt::Checked, !was);

    W().Reopen();
    EXPECT_EQ(Ds().Series_Bins[static_cast<std::size_t>(bin - 1)], !was);
}

TEST_F(Data_Windows_Test, BorderDragsStayInsideTheirLimits) {
    Open();
    const Sub_Set_Layout l = W().Sub().View().layout;
    const double ratio = Sub_Chart().devicePixelRatioF();
    const QPoint series_edge = Widget_Point(Sub_Chart(), {l.contour_left + 50.0, l.series_top + 1.0});
    Drag(Sub_Chart(), series_edge, {series_edge.x(), -500}, false);
    EXPECT_GT(W().State().settings.Sub_Window_Ratio_1, 0);
    EXPECT_GE(W().Sub().View().layout.contour_height, k_min_pane_px);

    const QPoint profile_edge = Widget_Point(Sub_Chart(), {l.profile_width - 1.0, 100.0});
    Drag(Sub_Chart(), profile_edge, {-300, 100}, false);
    const Sub_Set_Layout after = W().Sub().View().layout;
    EXPECT_GE(after.profile_width, k_min_pane_px);
    // The narrow pane's edge is still there to be caught and dragged back.
    Drag(Sub_Chart(), Widget_Point(Sub_Chart(), {after.profile_width - 1.0, 100.0}),
         Widget_Point(Sub_Chart(), {l.width / 2.0, 100.0}), false);
    EXPECT_NEAR(W().State().settings.Sub_Window_Ratio_2, 0.5, 2 * ratio / l.width + 0.01);
}

TEST_F(Data_Windows_Test, ProfileAnimationRestartsFromTheFirstAndSeriesAnimationStopsAtTheEdge) {
    Open();
    Ds().Cursor_Ens = Ds().Last_Ens;
    W().Menus().Animate_Profile[0]->trigger();
    EXPECT_EQ(W().Animation().Running(), Animator::Kind::k_profile);
    QTest::qWait(3 * Animator::k_frame_ms);
    EXPECT_LT(Ds().Cursor_Ens, Ds().First_Ens + 10);
    W().Stop_Animate();
    Run_Animation();
    EXPECT_EQ((std::pair{W().Menus().Animate_Profile[0]->isChecked(), W().Menus().Animate_Profile[1]->isEnabled()}), (std::pair{false, true}));

    Ds().Series_Bins.fill(false);
    Ds().Series_Bins[30 - 1] = Ds().Series_Bins[33 - 1] = true;
    W().Menus().Animate_Series[0]->trigger();
    Run_Animation();
    EXPECT_EQ((std::array{Ds().Series_Bins[40 - 1], Ds().Series_Bins[37 - 1], Ds().Series_Bins[33 - 1]}), (std::array{true, true, false}));

    // The contour animation ends with the file's last ensembles.
    W().Menus().Animate_Contour[0]->trigger();
    Run_Animation();
    EXPECT_EQ(Ds().Last_Ens, Ds().File_Last_Ens);
    W().Menus().Animate_Contour[1]->trigger();
    EXPECT_EQ(Ds().First_Ens, Ds().File_First_Ens);
}

TEST_F(Data_Windows_Test, WhileMonitoringInputIsIgnored) {
    Open();
    W().State().menus.AutoTrack = true;
    const Data_Set before = Ds();
    Drag(Whole_Chart(), Whole_Cell(200, 30), Whole_Cell(100, 5), true);
    QTest::keyClick(&Whole_Chart(), Qt::Key_Right);
    W().Whole().HScroll1().setValue(W().Whole().HScroll1().maximum());
    QTest::mouseDClick(&Sub_Chart(), Qt::LeftButton, {}, Sub_Cell(100, 10));
    QTest::keyClick(&Sub_Chart(), Qt::Key_Left);
    EXPECT_EQ(Range_Of(Ds()), Range_Of(before));
    EXPECT_EQ((std::pair{Ds().Cursor_Ens, W().Whole().HScroll1().value()}), (std::pair{before.Cursor_Ens, 0}));
    W().State().menus.AutoTrack = false;
}

}  // namespace
}  // namespace vantrel::test
