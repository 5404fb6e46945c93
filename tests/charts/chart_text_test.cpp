// Tick choosers, the duration text, titles, suffixes and the texts around a contour.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "app_state.h"
#include "charts/chart_scales.h"
#include "charts/contour.h"
#include "charts/sub_set_layout.h"
#include "platform/recording_surface.h"
#include "support/chart_fixture.h"
#include "support/expect_fields.h"

namespace vantrel {
namespace {

using test::Expect_Fields;

TEST(Tick_Steps, TableBoundsAndBeyondAndTimeUnitsChangeAtTheirBounds) {
    for (const auto& [span, step, decimals] : std::initializer_list<std::tuple<double, double, bool>>{
             {0.1, 0.2, true}, {0.5, 0.2, true}, {0.51, 0.5, true}, {1.01, 1, false}, {50001, 50000, false}, {3e6, 2e6, false}}) {
        const Range_Step s = Choose_Range_Step(span);
        EXPECT_EQ((std::pair{s.step, s.decimals}), (std::pair{step, decimals})) << span;
    }
    for (const auto& [count, step] : {std::pair{0.0, 1}, {10.0, 1}, {10.5, 2}, {50000001.0, 10000000}})
        EXPECT_EQ(Choose_Count_Step(count), step) << count;
    // Time units change at their bounds.
    for (const auto& [seconds, label, count, step] : std::initializer_list<std::tuple<double, std::string, int, int>>{
             {5, " sec", 5, 1}, {6, " sec", 6, 2}, {120, " sec", 120, 15}, {121, " min", 2, 1}, {10800, " min", 180, 30}, {10801, " hr", 3, 1},
             {1209601, " dy", 14, 5}}) {
        const Time_Unit t = Choose_Time_Unit(seconds);
        EXPECT_EQ((std::tuple{t.label, t.count, t.step}), (std::tuple{label, count, step})) << seconds;
    }
    EXPECT_DOUBLE_EQ(Choose_Time_Unit(121).seconds, 60);
    // The count comes from the duration rounded half to even: 179.5 s is 180 s, 3 minutes.
    EXPECT_EQ(Choose_Time_Unit(179.5).count, 3);
}

TEST(Duration_Text, DaysHoursMinutesSeconds) {
    Expect_Fields<std::string>({{"day", Duration_Text(93784.5), "1 day 02:03:04.50"}, {"hour", Duration_Text(3600), "01:00:00.00"},
                                {"zero", Duration_Text(0), "00:00:00.00"}, {"days", Duration_Text(2 * 86400 + 59.994), "2 days 00:00:59.99"}});
}

TEST(Contour_Titles, SuffixFollowsTheReferenceAndTheComponent) {
    Expect_Fields<std::string>({{"east", Contour_Type_Title(100, 2, false), "VELOCITY EAST (u) - NAV"},
                                {"up", Contour_Type_Title(300, 2, false), "VELOCITY UP (w)"},
                                {"up BT", Contour_Type_Title(300, 1, false), "VELOCITY UP (w) - BT"},
                                {"error", Contour_Type_Title(400, 3, false), "VELOCITY ERROR"},
                                {"north", Contour_Type_Title(200, 9, false), "VELOCITY NORTH (v)"},
                                {"flow-meter profiles take none", Contour_Type_Title(100, 1, true), "PROFILE #1"},
                                {"echo", Contour_Type_Title(5, 1, false), "ECHO INTENSITY Avg"}});
}

TEST(Contour_Texts, WholeAndSubSetRows) {
    App_State state;
    test::Fill_Chart_Data_Set(state, {.ensembles = 30, .bins = 4});
    Data_Set& ds = state.ds;
    ds.Whole_Step = 2;  // every third ensemble of the file
    ds.Whole_Time(0, 29) = 80;  // a clock without a year
    Contour_Results r;
    r.Mean = 12, r.Std = 3;
    Chart3d_Texts t = Form_Chart3d_Texts(ds, state.dec, state.settings, r, Chart_Window::k_whole, 100);
    Expect_Fields<std::string>({{"duration", t.duration_line, "Whole Set --- Deployment Duration: 00:29:00.00"},
                                {"stats", t.stats_line, " Avg = 12 \u00B13"}, {"caption", t.row_captions[1], "Date"},
                                {"first ensemble", t.first_labels[0], "1001"}, {"1001 + 3 * 29", t.last_labels[0], "1088"},
                                {"first date", t.first_labels[1], "26/03/14"}, {"last date", t.last_labels[1], "03/14"},
                                {"last time", t.last_labels[2], "06:29:00.00"}, {"selection", t.selection, "Sel: 1001 to 1030"}});

    t = Form_Chart3d_Texts(ds, state.dec, state.settings, r, Chart_Window::k_sub, 100);
    Expect_Fields<std::string>({{"duration", t.duration_line, "Sub Set --- Deployment Duration: 00:29:00.00"},
                                {"stats", t.stats_line, "Avg = 12 \u00B13"}, {"caption", t.row_captions[1], "Date, Time"},
                                {"position caption", t.row_captions[2], "Lat,Lon"}, {"last ensemble", t.last_labels[0], "1030"},
                                {"first date", t.first_labels[1], "26/03/14, 06:00:00.00"},
                                {"first position", t.first_labels[2], "45.5000\u00B0, -63.2500\u00B0"},
                                {"last position", t.last_labels[2], "45.5000\u00B0, -63.2529\u00B0"}, {"selection", t.selection, ""}});

    t = Form_Chart3d_Texts(ds, state.dec, state.settings, r, Chart_Window::k_sub, 600);
    EXPECT_TRUE(t.stats_line.empty());
}

TEST(Contour_Axes, DownFacingRangesAreNegativeUpFacingRiseUpwards) {
    App_State state;
    test::Fill_Chart_Data_Set(state, {.ensembles = 100, .bins = 40, .bin_size = 1, .bin1_dist = 2.5});
    Recording_Surface chart(800, 400);
    const Chart3d_Geometry g = Set_Chart3d_Size(chart, Chart_Window::k_sub);
    Contour_Results r;
    Move_Data_To_Chart3d_Array(r, state.ds, state.settings, Chart_Window::k_sub, 40, 500);
    // Bin edges 2 .. 42 m: span 20, labels every 10 m.
    // The bin of the bottom row (the farthest one facing down), then the range labels from the bottom up.
    const auto labels = [](const Chart3d_Axes& a) {
        std::vector<std::string> out{a.bins.front().text};
        for (const Axis_Label& l : a.range) out.push_back(l.text);
        return out;
    };
    Chart3d_Axes a = Compute_Chart3d_Axes(chart, g, r, state.ds, state.dec, Chart_Window::k_sub, {}, {});
    EXPECT_EQ(labels(a), (std::vector<std::string>{"40", "-40", "-30", "-20", "-10"}));
    EXPECT_GT(a.range.front().pos, a.range.back().pos);  // deeper is lower
    EXPECT_NEAR(a.range.back().pos, g.top + 8.0 / 40 * g.Plot_Height(), 1e-9);

    state.ds.Orientation_Count = -100;
    a = Compute_Chart3d_Axes(chart, g, r, state.ds, state.dec, Chart_Window::k_sub, {}, {});
    EXPECT_EQ(labels(a), (std::vector<std::string>{"1", "10", "20", "30", "40"}));
    EXPECT_GT(a.range.front().pos, a.range.back().pos);

    // 100 ensembles from 1001: a label every 5 from 1005; 99 minutes: every 30 minutes.
    ASSERT_FALSE(a.ensembles.empty());
    EXPECT_EQ(a.ensembles.front().text, "1005");
    EXPECT_NEAR(a.ensembles.front().pos, g.left + 4.5 * a.cell_width, 1e-9);
    ASSERT_FALSE(a.times.empty());
    EXPECT_EQ((std::pair{a.times[0].text, a.times[1].text}), (std::pair<std::string, std::string>{"0 min", "30 min"}));
    const double pps = (g.Plot_Width() - a.cell_width) / (99 * 60);
    EXPECT_NEAR(a.times[1].pos - a.times[0].pos, 1800 * pps, 1e-9);
}

TEST(Contour_Axes, EnsembleLabelsKeepADigitApartFromEachOtherAndTheEndLabels) {
    App_State state;
    test::Fill_Chart_Data_Set(state, {.ensembles = 500, .bins = 10});
    // Ensembles 1 .. 399201 ("100000120000" read as one number), then 1 .. 1997 ("1 100").
    for (const auto& [step, width] : {std::pair{799, 700}, {799, 1000}, {799, 1300}, {3, 400}, {3, 430}, {3, 460}, {3, 490}}) {
        state.ds.Whole_Step = step;
        Recording_Surface chart(width, 320);
        const Chart3d_Geometry g = Set_Chart3d_Size(chart, Chart_Window::k_whole);
        Contour_Results r;
        Move_Data_To_Chart3d_Array(r, state.ds, state.settings, Chart_Window::k_whole, 10, 500);
        // The end label "1" at the left end of the row, as the decorations print it.
        const std::vector<std::pair<double, double>> end_label{{g.left, g.left + chart.TextWidth("1") + 2}};
        const Chart3d_Axes a = Compute_Chart3d_Axes(chart, g, r, state.ds, state.dec, Chart_Window::k_whole, end_label, {});
        ASSERT_GE(a.ensembles.size(), 2u) << width;
        const Axis_Label& first = a.ensembles.front();
        EXPECT_GE(first.pos - chart.TextWidth(first.text) / 2 - end_label[0].second, chart.TextWidth("0")) << width;
        for (std::size_t i = 1; i < a.ensembles.size(); ++i) {
            const Axis_Label &left = a.ensembles[i - 1], &right = a.ensembles[i];
            const double gap = (right.pos - chart.TextWidth(right.text) / 2) - (left.pos + chart.TextWidth(left.text) / 2);
            EXPECT_GE(gap, chart.TextWidth("0")) << width << ": " << left.text << " " << right.text;
        }
    }
}

// Boxes of every text written on a surface that overlap another one.
std::vector<std::string> Colliding_Texts(const Recording_Surface& s) {
    std::vector<const Recorded_Op*> texts;
    for (const auto& op : s.ops)
        if (op.kind == Recorded_Op::k_text && !op.text.empty()) texts.push_back(&op);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const Recorded_Op &a = *texts[i], &b = *texts[j];
            if (a.x1 < b.x2 && b.x1 < a.x2 && a.y1 < b.y2 && b.y1 < a.y2) out.push_back(a.text + " / " + b.text);
        }
    return out;
}

TEST(Contour_Decorations, EveryTextHasItsOwnPlace) {
    for (const Chart_Window window : {Chart_Window::k_whole, Chart_Window::k_sub}) {
        for (const int width : {540, 700, 1200, 1900}) {
            App_State state;
            test::Fill_Chart_Data_Set(state, {.ensembles = 500, .bins = 60});
            state.ds.Whole_Step = 3;
            Recording_Surface chart(width, 320), image, scratch;
            Contour_View view;
            Chart3d_DisplayTitles(view, state, {chart, image, scratch}, window, 500, 1920);
            EXPECT_EQ(Colliding_Texts(chart), std::vector<std::string>{}) << width;
            // A narrow chart keeps the data type and drops its statistics.
            const std::string title = "VELOCITY MAGNITUDE" + (width > 600 ? "   " + view.texts.stats_line : "");
            for (const std::string& text : {title, std::string("Ensemble"), std::string("Scale (mm/s)")})
                EXPECT_NE(chart.Find_Text(text), nullptr) << text;
            EXPECT_GE(std::min(view.axes.times.size(), view.axes.ensembles.size()), 2u) << width;
            // A time between the scale's labels would read as a scale value.
            for (const auto& time : view.axes.times)
                EXPECT_TRUE(time.pos < view.bar.labels[1].pos || time.pos > view.bar.labels[2].pos) << time.text;
        }
    }
    // A small Whole Set window keeps its texts apart too.
    for (const auto& [width, height] : {std::pair{220, 300}, {300, 200}, {420, 100}, {600, 80}}) {
        App_State state;
        test::Fill_Chart_Data_Set(state, {.ensembles = 500, .bins = 60});
        state.ds.Whole_Step = 3;
        Recording_Surface chart(width, height);
        Contour_View view;
        Draw_Whole_Set_Chart(chart, state, view);
        EXPECT_EQ(Colliding_Texts(chart), std::vector<std::string>{}) << width << "x" << height;
    }
}

}  // namespace
}  // namespace vantrel
