// Traces, candles, the series and ancillary strips and the profile panes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app_state.h"
#include "charts/chart_primitives.h"
#include "charts/direction_circle.h"
#include "charts/profile_chart.h"
#include "charts/series_chart.h"
#include "charts/sub_set_layout.h"
#include "platform/numeric.h"
#include "platform/recording_surface.h"
#include "support/chart_fixture.h"
#include "support/expect_fields.h"

namespace vantrel {
namespace {

using test::Expect_Fields;

std::vector<Recorded_Op> Ops_Of(const Recording_Surface& s, Recorded_Op::Kind kind) {
    std::vector<Recorded_Op> out;
    for (const auto& op : s.ops)
        if (op.kind == kind) out.push_back(op);
    return out;
}

// A strip 102 px high showing lo..hi, bottom edge at y = 203, one ensemble per 10 px.
Trace_Geometry Strip(double lo, double hi, std::int32_t count) {
    return {.left = 0, .dx = 10, .count = count, .strip_height = 102, .base = 200, .overlay = true, .lo = lo, .hi = hi,
            .yscale = 100 / (hi - lo), .wrap = lo == 0 && hi == 360 ? 180.0 : 100000.0};
}

// Directions in tenths of a degree, from column 5.
Trace_Geometry Direction_Strip(double lo, double hi) {
    Trace_Geometry g = Strip(lo, hi, 2);
    g.scale = 0.1, g.column = 5;
    return g;
}

Dense_Array<std::int16_t> Per_Ensemble(const std::vector<std::int16_t>& values, std::size_t column = 0) {
    Dense_Array<std::int16_t> a;
    a.Resize(6, values.size());
    for (std::size_t i = 0; i < values.size(); ++i) a(column, i) = values[i];
    return a;
}

const std::int32_t k_colours[2] = {Rgb(255, 0, 0), Rgb(0, 255, 0)};

// The points and lines of one trace of the values, read from the strip's column.
struct Trace {
    std::vector<Recorded_Op> points, lines;
};
Trace Trace_Of(const std::vector<std::int16_t>& values, const Trace_Geometry& g) {
    Recording_Surface s(200, 300);
    DrawWordSeries(s, Per_Ensemble(values, static_cast<std::size_t>(g.column)), {}, false, g, {true, false, k_colours, 2});
    return {Ops_Of(s, Recorded_Op::k_point), Ops_Of(s, Recorded_Op::k_line)};
}

// Candles of four one-minute samples over the values, drawn into s.
Candle_Tables Candles_Of(Recording_Surface& s, const std::vector<std::int16_t>& values, const Trace_Geometry& g) {
    Candle_Tables t;
    t.mean_interval = 60, t.candle_width = 240;
    t.Allocate(4, static_cast<std::int32_t>(values.size() / 4), 1, 1);
    DrawWordCandles(s, Per_Ensemble(values), {}, false, g, {true, false, k_colours, 2}, t, 0, 1, 3);
    return t;
}

TEST(Strip_Geometry, CentrePlusMinusSpan) {
    double lo = 0, hi = 0;
    // Percent good defaults, a direction, and never narrower than 1.
    for (const auto& [min, max, want_lo, want_hi] : std::initializer_list<std::array<double, 4>>{{0, 100, -50, 150}, {90, 270, 0, 360}, {5, 5, 5, 6}}) {
        Strip_Range(min, max, lo, hi);
        EXPECT_EQ((std::pair{lo, hi}), (std::pair{want_lo, want_hi})) << min << ".." << max;
    }
    const Trace_Geometry g = Strip(-50, 150, 1);
    Expect_Fields<double>({{"lo one pixel above the bottom edge", g.Y(-50, 203), 202},
                           {"hi one pixel below the top edge (203 - 102 + 1)", g.Y(150, 203), 102},
                           {"clamped into the strip", g.Y(1000, 203), 102}, {"the minimum on the quarter line", g.Y(0, 203), 202 - 25}});
}

TEST(Traces, MissingValueBreaksTheTrace) {
    const auto [points, lines] = Trace_Of({0, 10, k_bad_velocity, 20, 30}, Strip(0, 100, 5));
    ASSERT_TRUE(points.size() == 2 && lines.size() == 2);
    Expect_Fields<double>({{"point 0", points[0].x1, 5}, {"restarts after the gap with a point", points[1].x1, 35},
                           {"line 0", lines[0].x2, 15}, {"line 1 start", lines[1].x1, 35}, {"line 1 end", lines[1].x2, 45}});
    EXPECT_EQ(points[0].colour, k_colours[0]);
}

TEST(Traces, DirectionWrapsOnlyInAFullTurnStrip) {
    Trace_Geometry g = Direction_Strip(0, 360);
    const auto lines = Trace_Of({3500, 100}, g).lines;
    ASSERT_EQ(lines.size(), 2u);
    // 350 -> 10 crosses 360 halfway between the samples: up to the top, on from the bottom.
    Expect_Fields<double>({{"up x", lines[0].x2, 5 + 10.0 * 10 / 20}, {"up y", lines[0].y2, g.Y(3600, 203)},
                           {"on y", lines[1].y1, g.Y(0, 203)}, {"on x", lines[1].x2, 15}});

    g = Direction_Strip(-10, 370);
    const auto straight = Trace_Of({3500, 100}, g).lines;
    ASSERT_EQ(straight.size(), 1u);
    EXPECT_DOUBLE_EQ(straight[0].y2, g.Y(100, 203));
}

// Direction sines and turn distances, which the candle statistics sum.
TEST(Direction_Circle, TurnDistanceMatchesTheRemainderAndTabledSinesTheComputedOnes) {
    for (const double mean : {0.0, 0.5, 1799.9999999999998, 1800.0, 2345.678, 3599.9999999999995})
        for (int v = -32767; v <= 32767; v += 3) {
            const double x = v - mean;
            ASSERT_EQ(std::fabs(Turn_Distance(x)), std::fabs(std::remainder(x, 3600.0))) << v << " - " << mean;
        }
    for (const double tenths : {0.0, 1.0, 899.0, 1800.0, 3599.0, 3600.0, -1.0, 0.5, 31000.0}) {
        double s = 0, c = 0;
        Direction_Sin_Cos(tenths, s, c);
        EXPECT_EQ((std::pair{s, c}), (std::pair{std::sin(tenths * k_pi / 1800), std::cos(tenths * k_pi / 1800)})) << tenths;
    }
}

TEST(Candles, DirectionMeansAreTakenOnTheCircle) {
    Recording_Surface s(400, 300);
    Trace_Geometry g = Strip(0, 3600, 8);
    g.scale = 0.1, g.direction = true;
    const Candle_Tables t = Candles_Of(s, {3590, 10, 3590, 10, 900, 910, 890, 900}, g);
    Expect_Fields({{"359 and 1 degrees: north, not 180", t.Stat(3, 0, 0, 0) % 3600, 0},
                   {"one degree off, sqrt(4 * 100 / 3) tenths", t.Stat(4, 0, 0, 0), 12}, {"east", t.Stat(3, 1, 0, 0), 900},
                   {"sqrt(200 / 3)", t.Stat(4, 1, 0, 0), 8}});
}

TEST(Candles, StatisticsAndTheAllMissingCandle) {
    Recording_Surface s(400, 300);
    const std::int16_t bad = k_bad_velocity;
    const Candle_Tables t = Candles_Of(s, {10, 20, 30, 40, bad, bad, bad, bad, 7, bad, bad, bad}, Strip(0, 100, 12));
    // First, last, mean, deviation sqrt(500 / 3) = 12.9, maximum, minimum, count.
    EXPECT_EQ((std::array{t.Stat(1, 0, 0, 0), t.Stat(2, 0, 0, 0), t.Stat(3, 0, 0, 0), t.Stat(4, 0, 0, 0), t.Stat(5, 0, 0, 0),
                          t.Stat(6, 0, 0, 0), t.Stat(7, 0, 0, 0)}),
              (std::array<std::int32_t, 7>{0, 3, 25, 13, 40, 10, 4}));
    for (int k = 3; k <= 7; ++k) EXPECT_EQ(t.Stat(k, 1, 0, 0), 0) << k;  // all missing
    Expect_Fields({{"start", t.Stat(1, 2, 0, 0), 8}, {"a single sample is not a candle", t.Stat(3, 2, 0, 0), 0},
                   {"count", t.Stat(7, 2, 0, 0), 1}, {"missing", t.Sample(1, 1, 0, 0), k_bad_velocity}, {"kept", t.Sample(0, 2, 0, 0), 7}});
    // Only the first candle is drawn: whisker, box, mean line and two end points.
    EXPECT_EQ(Ops_Of(s, Recorded_Op::k_fill).size(), 1u);
    const auto whisker = Ops_Of(s, Recorded_Op::k_line).front();
    EXPECT_DOUBLE_EQ(whisker.x1, 20);  // centre of ensembles 0..3
    EXPECT_DOUBLE_EQ(whisker.y1, Strip(0, 100, 12).Y(40, 203));
}

TEST(Titles, ReferenceSuffixOnlyOnWaterVelocitiesAndStatistics) {
    Settings st;
    st.Vel_Reference = 1;
    EXPECT_EQ(Series_Titles_Of(10, st, false).kind_name, "Vel-B");
    EXPECT_EQ(Series_Titles_Of(20, st, false).kind_name, "Vel");  // no suffix on bottom track
    st.Vel_Reference = 2;  // navigation: none on the up velocity, one on the magnitude
    EXPECT_EQ(Series_Titles_Of(12, st, false).kind_name, "Vel");
    EXPECT_EQ(Series_Titles_Of(14, st, false).kind_name, "Mag-N");
    EXPECT_EQ(Series_Titles_Of(10, st, true).label, "P#1");
    EXPECT_EQ(Series_Kind_Of(33).code, 2000000);
    // Profile curves: suffixes on east, north and the statistics only.
    st.Vel_Reference = 5;
    EXPECT_EQ((std::array{Profile_Curve_Label(10, st, false), Profile_Curve_Label(12, st, false),
                          Profile_Curve_Label(18, st, false), Profile_Curve_Label(10, st, true)}),
              (std::array<std::string, 4>{"East(u)-W", "Vertical(w)", "% Good-W", "Prof #1"}));
}

// The series pane over a fixture of 10 bins showing only the kinds given.
struct Series_Case {
    App_State state;
    Recording_Surface s, scratch;
    Series_Outputs out;
    Series_Case(std::int32_t ensembles, int height, std::initializer_list<std::size_t> kinds) : s(600, height) {
        test::Fill_Chart_Data_Set(state, {.ensembles = ensembles, .bins = 10});
        state.settings.Series_Select = {};
        for (std::size_t k : kinds) state.settings.Series_Select[k] = true;
    }
    void Draw(const std::vector<double>& time_ticks) {
        DrawSeriesChart(s, scratch, state.ds, state.dec, state.settings, state.candles, out, 60, 480, time_ticks, 3);
    }
};

TEST(Series_Chart, BottomTrackAloneGivesOneStripPerSeries) {
    Series_Case c(50, 300, {20, 21});
    c.Draw({});
    std::vector<std::string> labels;
    for (const auto& t : c.s.Texts())
        if (t.rfind("BT", 0) == 0) labels.push_back(t);
    EXPECT_EQ(labels, (std::vector<std::string>{"BT  \r", "BT  \r"}));
    Expect_Fields<double>({{"strip height", c.out.strip_height, (300 - 4) / 2.0}, {"boundary", c.out.boundary_y, 300},
                           {"bin resolved", static_cast<double>(c.out.bin_resolved_series), 0}, {"bins", static_cast<double>(c.out.bins.size()), 0}});
    // The kind names and units are written turned, through the scratch surface.
    EXPECT_NE(c.scratch.Find_Text("E(u)"), nullptr);
    EXPECT_NE(c.scratch.Find_Text("mm/s"), nullptr);
}

TEST(Series_Chart, BinLabelsStripsAndCandleTables) {
    // Percent good of beam 1 and east velocity, a strip per bin, ten ensembles a candle.
    Series_Case sc(60, 400, {16, 10});
    Settings& st = sc.state.settings;
    st.Series_Style_1 = false, st.Averaging_All = false, st.Averaging_Interval = 600, st.Anc_Select[3] = true;
    sc.state.ds.Series_Bins[1] = sc.state.ds.Series_Bins[6] = true;
    sc.Draw({100, 200});
    const Series_Outputs& out = sc.out;
    const Recording_Surface& s = sc.s;
    EXPECT_EQ(out.bins, (std::vector<std::int32_t>{2, 7}));
    EXPECT_EQ(out.codes, (std::vector<std::int32_t>{100, 1000}));
    Expect_Fields<double>({{"strip height", out.strip_height, (400 - 4) / 2.0 / 4}, {"boundary", out.boundary_y, 200}});
    // Down-facing: data-set bin 2 of 10 is instrument bin 9.
    for (const char* bin : {"Bin 009\r", "Bin 004\r"}) EXPECT_NE(s.Find_Text(bin), nullptr) << bin;
    // Percent good shows -50..150: its limits 0 and 100 are the scale numbers.
    EXPECT_NE(s.Find_Text("100"), nullptr);
    const Candle_Tables& c = sc.state.candles;
    Expect_Fields({{"samples", c.samples, 10}, {"candles", c.candles, 6}, {"bins", c.bins, 2}, {"series", c.series, 2}});
    // The mean interval is 59 minutes over 60 ensembles, so candle 4 starts at rnd(2400 / 59) = 41
    // and the last one, at 51, would run past the end and is not filled.
    Expect_Fields({{"start", c.Stat(1, 4, 1, 1), 41}, {"end", c.Stat(2, 4, 1, 1), 50}, {"last", c.Stat(7, 5, 1, 1), 0},
                   {"percent good of data-set bin 7", c.Stat(3, 0, 1, 1), 100 - 6 % 5}});
    // Ancillary temperature: limits 0..20 degrees, drawn in hundredths.
    EXPECT_NE(sc.scratch.Find_Text("Temp"), nullptr);
}

// The profile of the first ensemble of a 20 x 10 fixture, showing only the kinds given.
struct Profile_Case {
    App_State state;
    Recording_Surface s, scratch;
    Profile_Outputs out;
    explicit Profile_Case(std::initializer_list<std::size_t> kinds, int height = 600) : s(300, height) {
        test::Fill_Chart_Data_Set(state, {.ensembles = 20, .bins = 10});
        state.ds.Cursor_Ens = state.ds.First_Ens;
        state.settings.Profile_Select = {};
        for (std::size_t k : kinds) state.settings.Profile_Select[k] = true;
    }
    void Draw(int plot_height = 400) { DrawProfileChart(s, scratch, state.ds, state.dec, state.settings, out, 500, plot_height, {}); }
    const Recorded_Op& Caption() const {
        const auto is_caption = [](const Recorded_Op& op) { return op.text.starts_with("Ensemble: "); };
        return *std::find_if(s.ops.begin(), s.ops.end(), is_caption);
    }
};

TEST(Profile_Chart, StatisticsPaneShowsPercentGoodScaleBesideItsOwn) {
    Profile_Case c({16, 18});
    c.Draw();
    EXPECT_EQ(c.out.groups, (std::vector<std::int32_t>{5}));
    for (const char* t : {"-100 mm/s", "0 mm/s", "100 mm/s", "0 %,", "50 %,", "100 %,"}) EXPECT_NE(c.scratch.Find_Text(t), nullptr) << t;
}

TEST(Profile_Chart, CaptionAndNothingOutsideTheSubSet) {
    Profile_Case c({10});
    c.state.ds.Sub_Time(0, 3) = 80;
    c.state.ds.Cursor_Ens = c.state.ds.First_Ens + 3;
    c.Draw();
    for (const char* text : {"Ensemble: 1004\r\nDate:    03/14\r\nTime:    06:03:00.00", "Profile", "Velocity"})
        EXPECT_NE(c.s.Find_Text(text), nullptr) << text;

    Profile_Case outside({10});
    outside.state.ds.Cursor_Ens = outside.state.ds.Last_Ens + 1;
    outside.Draw();
    EXPECT_TRUE(outside.s.Texts().empty());
    EXPECT_EQ(Ops_Of(outside.s, Recorded_Op::k_line).size(), 1u);  // the separator
}

// The top margin follows the contour chart's. When it holds the title and the pane names but
// not the caption, the caption goes under everything drawn below the plot, at full size.
TEST(Profile_Chart, CaptionGoesUnderThePlotRatherThanShrinkingTheFont) {
    // East and Vertical: curve labels on lines 9 and 11 under the plot, drawn 470 px high,
    // which leaves 30 px above the plot: two lines at size 10.
    Profile_Case labels({10, 12}, 900);
    labels.Draw(470);
    const Recorded_Op& caption = labels.Caption();
    EXPECT_EQ(caption.font_size, 10);
    EXPECT_LE(caption.y2, 900);
    for (const Recorded_Op& op : labels.s.ops) {
        if (op.kind != Recorded_Op::k_text || &op == &caption) continue;
        EXPECT_LE(op.y2, caption.y1) << op.text;
    }

    Profile_Case numbers({14}, 900);  // no curve labels; the turned scale numbers reach deepest
    numbers.state.settings.Profile_Scale_Max[3] = 4e12;
    numbers.Draw(470);
    EXPECT_GE(numbers.Caption().y1, 500 + numbers.s.TextWidth("3000000000000 mm/s"));

    Profile_Case short_surface({10, 12});  // no room under the plot either: smaller, on top as before
    short_surface.Draw(470);
    const Recorded_Op& top = short_surface.Caption();
    EXPECT_LT(top.font_size, 10);
    EXPECT_DOUBLE_EQ(top.y1, top.font_size * 1.5);
    EXPECT_LE(top.y2 + top.font_size * 1.5, 30);
}

// A direction stepping exactly 360 -> 0 (or 0 -> 360) used to divide 0 by 0 for the crossing.
TEST(Traces, DirectionOnBothEdgesCrossesAtTheEarlierSample) {
    const auto finite = [](const Recorded_Op& op) { return std::isfinite(op.x1 + op.y1 + op.x2 + op.y2); };
    for (const auto& [a, b] : {std::pair<std::int16_t, std::int16_t>{3600, 0}, {0, 3600}}) {
        const auto lines = Trace_Of({a, b}, Direction_Strip(0, 360)).lines;
        ASSERT_EQ(lines.size(), 2u) << a;
        EXPECT_TRUE(std::all_of(lines.begin(), lines.end(), finite)) << a;
        EXPECT_EQ((std::pair{lines[0].x2, lines[1].x2}), (std::pair{5.0, 15.0})) << a;
    }

    Profile_Case c({15});  // direction
    for (std::size_t bin = 0; bin < 10; ++bin) c.state.ds.Sub_Vel(5, bin, 0) = bin % 2 ? 0 : 3600;
    c.Draw();
    const auto lines = Ops_Of(c.s, Recorded_Op::k_line);
    EXPECT_GT(lines.size(), 10u);
    EXPECT_TRUE(std::all_of(lines.begin(), lines.end(), finite));
}

// Every kind and item selected, over data sets the loaders should never leave behind.
void Select_Everything(Settings& st) {
    st.Series_Select.fill(true);
    st.Profile_Select.fill(true);
    st.Anc_Select.fill(true);
    st.Contour_Switch_3 = true;
    st.Color_Count = 0;
}

TEST(Sub_Set_Window, PanesFollowTheRatiosAndTheFontFitsTheContour) {
    Settings st;
    st.Sub_Window_Ratio_1 = 0.4, st.Sub_Window_Ratio_2 = 0.25;
    Recording_Surface probe;
    Sub_Set_Layout l = Layout_Sub_Set_Window(1000, 500, st, probe);
    Expect_Fields({{"profile width", l.profile_width, 250}, {"contour left", l.contour_left, 250}, {"contour width", l.contour_width, 750},
                   {"contour height", l.contour_height, 200}, {"series top", l.series_top, 200}, {"series height", l.series_height, 300}});
    // Ten lines of 1.5 sizes in 200 px: size 13 would do, sizes start at 10.
    EXPECT_EQ(l.font_size, 10);
    l = Layout_Sub_Set_Window(1000, 200, st, probe);  // 80 px high: 10 lines of 1.5 * 5
    EXPECT_EQ(l.font_size, 5);
    l = Layout_Sub_Set_Window(300, 2000, st, probe);  // 225 px wide: 40 "W" of 0.6 * 9
    EXPECT_EQ(l.font_size, 9);
}

TEST(Sub_Set_Window, SurvivesEmptyAndInconsistentDataSets) {
    App_State empty;  // never allocated, but claims ensembles and bins
    Select_Everything(empty.settings);
    empty.ds.File_Loaded = true, empty.ds.Sub_Count = 10, empty.ds.Last_Ens = 9, empty.ds.First_Bin = -3, empty.ds.Last_Bin = 300;
    empty.ds.Series_Bins.fill(true), empty.dec.Num_Bins = 255;
    Recording_Surface window(900, 500);
    Sub_Set_View view;
    Draw_Sub_Set_Window(window, empty, view, 1920);
    EXPECT_EQ(view.contour.results.Ensembles, 0);

    App_State odd;
    test::Fill_Chart_Data_Set(odd, {.ensembles = 12, .bins = 6});
    Select_Everything(odd.settings);
    odd.ds.Sub_Count = 5000;  // more than the arrays hold
    odd.ds.Last_Bin = 9;      // more bins than decoded
    odd.ds.Series_Bins.fill(true), odd.settings.Averaging_All = false, odd.settings.Averaging_Interval = 0;
    Draw_Sub_Set_Window(window, odd, view, 3);
    // Every slot the arrays hold, no more.
    EXPECT_EQ((std::pair{view.contour.results.Ensembles, view.contour.results.Rows}), (std::pair{13, 6}));
}

}  // namespace
}  // namespace vantrel
