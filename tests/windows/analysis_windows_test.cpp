// The track vector and trend windows driven by real events: menus, pointer moves over the
// charts, clicks on the statistics table, the width slider and the candle label.
#include <QAction>
#include <QLabel>
#include <QSlider>

#include <array>
#include <tuple>
#include <utility>

#include "gui_fixture.h"
#include "windows/chart_widget.h"
#include "windows/sub_set_window.h"
#include "windows/track_vector_window.h"
#include "windows/trend_window.h"

namespace vantrel::test {
namespace {

class Analysis_Test : public Gui_Test {
protected:
    // A loaded file with data-set bins 3 and 9 drawn as series.
    void Open() {
        W().Start({Synth("a.ens", 300)});
        ASSERT_TRUE(W().State().ds.File_Loaded);
        W().State().ds.Series_Bins = {};
        W().State().ds.Series_Bins[2] = W().State().ds.Series_Bins[8] = true;
    }
    App_State& A() { return W().State(); }
    Track_Vector_Window& T() { return W().Track(); }
    Trend_Window& R() { return W().Trend(); }
    void Move_To(double x, double y) { QTest::mouseMove(&T().Chart(), QPoint(static_cast<int>(x), static_cast<int>(y))); }
};

TEST_F(Analysis_Test, TrackVectorToolTipsAngleAndUnitsAndTheWindowShownAgain) {
    EXPECT_FALSE(W().Menus().Show_Track->isEnabled());
    Open();
    A().settings.Track_Options.Select_Auto = {false, false, true};
    W().Menus().Show_Track->trigger();
    W().Track_Frame().resize(700, 560);
    QApplication::processEvents();
    const Track_View& v = T().View();
    ASSERT_TRUE(W().Track_Frame().isVisible() && v.count > 0 && v.dx >= 1.5);
    // Manual angle 0: long track is north.
    EXPECT_EQ(A().ds.Sub_Vel(6, 2, 5), A().ds.Sub_Vel(1, 2, 5));

    // The right half of cell 4 still names ensemble 4.
    const double x = v.upper.left + 4.9 * v.dx;
    Move_To(x, v.upper.top + v.upper.height / 2);
    const std::string number = std::to_string(A().ds.Sub_Ens_Number(4));
    EXPECT_EQ(T().Tip().toStdString(), "ENSEMBLE " + number + ", ___ BIN ");
    A().settings.Series_Style_1 = false;  // one strip per bin
    T().LeftToRight->trigger();           // any display change redraws
    EXPECT_EQ(T().View().strips, 2);
    Move_To(x, v.upper.top + v.upper.height - 4);  // lowest strip: data-set bin 3
    const std::string tip = T().Tip().toStdString();
    EXPECT_EQ(tip.rfind("ENSEMBLE " + number + ", BIN " + std::to_string(A().dec.Num_Bins - 2) + ", Long ", 0), 0u) << tip;
    EXPECT_NE(tip.find(" m/s, Cross "), std::string::npos) << tip;

    // A manual angle above 180 is kept as 180: long track is then minus north.
    Answer_Input_Box(QStringLiteral("200"));
    T().Select_Auto[2]->trigger();
    EXPECT_EQ((std::pair{A().settings.Track_Options.ProjectionAngle, A().ds.Sub_Vel(6, 2, 5) + A().ds.Sub_Vel(1, 2, 5)}), (std::pair{180.0, 0}));

    // A unit change alters only the numbers: traces, grid and ticks are untouched.
    const QImage before = T().Chart().Surface().Image().copy();
    T().Speed_Units[2]->trigger();
    EXPECT_EQ(A().settings.Track_Options.Speed_Units, (std::array<bool, 3>{false, false, true}));
    const QImage after = T().Chart().Surface().Image().copy();
    const QRect plot(static_cast<int>(v.upper.left) + 2, static_cast<int>(v.upper.top) + 2,
                     static_cast<int>(v.upper.width) - 4, static_cast<int>(v.lower.top + v.lower.height - v.upper.top) - 4);
    EXPECT_EQ(before.copy(plot), after.copy(plot));
    EXPECT_NE(before.copy(0, plot.top(), plot.left() - 2, plot.height()), after.copy(0, plot.top(), plot.left() - 2, plot.height()));

    // Closing the window unchecks its item.
    T().Quit_Seismic->trigger();
    EXPECT_FALSE(W().Menus().Show_Track->isChecked());
    // A Sub Set loaded meanwhile is projected when the window shows again.
    ASSERT_TRUE(W().Load_Sub_Set(51, 200));
    W().Menus().Show_Track->trigger();
    W().Sub_Frame().close();  // every child window comes back with its frame
    W().Menus().Show_Sub->trigger();
    EXPECT_EQ((std::pair{T().isVisible(), W().Sub().isVisible()}), (std::pair{true, true}));
    EXPECT_EQ(A().ds.Sub_Vel(6, 2, 5), -A().ds.Sub_Vel(1, 2, 5));
    EXPECT_NE(A().ds.Sub_Vel(1, 2, 5), 0);
}

class Trend_Test : public Analysis_Test {
protected:
    // Candles of 64 ensembles over a Sub Set of 256: four candles, two series, two bins.
    void Open_Candles() {
        Open();
        A().settings.Averaging_All = false;
        A().settings.Averaging_Interval = 64;
        W().Redraw_Sub();
        ASSERT_EQ((std::array{A().candles.candles, A().candles.series, A().candles.bins}), (std::array{4, 2, 2}));
        W().Menus().Trend->trigger();
        ASSERT_TRUE(W().Trend_Frame().isVisible());
        QApplication::processEvents();
    }
};

TEST_F(Trend_Test, NoSeriesBinChosenShowsNoCandleRatherThanAnInventedBin) {
    Open_Candles();
    A().ds.Series_Bins = {};
    W().Redraw_Sub();
    EXPECT_EQ((std::pair{A().candles.bins, R().Label1().text().toStdString()}), (std::pair{0, std::string("No candles")}));
}

TEST_F(Trend_Test, ASubSetResizedByMaxEnsemblesIsShownNotTheOldCandles) {
    Open_Candles();
    Answer_Input_Box(QStringLiteral("128"));
    W().Menus().Max_Ensembles->trigger();
    ASSERT_EQ(A().candles.candles, 2);
    EXPECT_TRUE(R().Label1().text().endsWith(QStringLiteral(" of 2"))) << R().Label1().text().toStdString();
}

TEST_F(Trend_Test, TheSliderSetsTheWidthTheLabelPicksACandleAndATableLineASeriesAndBin) {
    Open_Candles();
    R().Slider1().setFocus();
    for (int i = 0; i < 3; ++i) QTest::keyClick(&R().Slider1(), Qt::Key_Right);
    const Trend_Result& r = R().View().result;
    EXPECT_EQ((std::tuple{R().Selection().Triangular_Width, r.trend != r.samples, r.count > 0}), (std::tuple{3, true, true}));

    Answer_Input_Box(QStringLiteral("0"));
    QTest::mouseClick(&R().Label1(), Qt::LeftButton);
    EXPECT_LE(A().candles.selected, 0);  // ignored
    Answer_Input_Box(QStringLiteral("99"));
    QTest::mouseClick(&R().Label1(), Qt::LeftButton);
    EXPECT_EQ((std::tuple{A().candles.selected, R().View().candle, R().Label1().text()}), (std::tuple{3, 3, QString("Candle 4 of 4")}));

    // The third table line from the bottom, with two bins, is series 1, bin 0.
    Chart_Widget& picture = R().Picture1();
    ASSERT_GT(R().View().line_height, 0);
    QTest::mouseClick(&picture, Qt::LeftButton, {}, QPoint(40, static_cast<int>(picture.height() - 2.5 * R().View().line_height)));
    // The second series is the direction.
    EXPECT_EQ((std::tuple{R().Selection().series, R().Selection().bin, R().View().result.direction}), (std::tuple{1, 0, true}));

    // Fewer series after the options change: the selection follows, nothing reads past the tables.
    A().settings.Series_Select = {};
    A().settings.Series_Select[k_type_vel_magnitude] = true;
    W().Redraw_Sub();
    EXPECT_EQ((std::pair{A().candles.series, R().Selection().series}), (std::pair{1, 0}));
}

}  // namespace
}  // namespace vantrel::test
