#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <tuple>
#include <vector>

#include "app_state.h"
#include "platform/text_format.h"
#include "processing/beam_geometry.h"
#include "processing/velocity_processing.h"

namespace vantrel {
namespace {

constexpr std::int16_t k_bad = k_bad_velocity;

// Sys_Config for a beam angle code (0 15, 1 20, 2 30, 3 40 degrees), facing and pattern.
std::int32_t Sys_Config_Of(int angle_code, bool up, bool convex) {
    return (angle_code << 8) | (up ? 0x80 : 0) | (convex ? 0x08 : 0);
}

constexpr std::int32_t k_earth_coordinates = 0x18;

class Processing : public ::testing::Test {
protected:
    void SetUp() override {
        Allocate_Data_Set(app_.ds, true, 4, 4);
        Load_Default_Options(app_.settings);
        app_.dec.Num_Bins = 30;
        app_.dec.Bin_Size = app_.dec.Bin1_Dist = 1.0;
        app_.dec.Xmit_Length = 0.5;
        app_.dec.Sys_Config = Sys_Config_Of(1, false, false);
        app_.dec.Coord_Transform = k_earth_coordinates;
        app_.ds.Sub_Count = 1;  // slot 1, so a stray write to slot 0 shows
    }

    std::int16_t& Vel(int component, int bin) { return app_.ds.Sub_Vel(component, bin, Slot()); }
    std::size_t Slot() const { return static_cast<std::size_t>(app_.ds.Sub_Count); }
    int Bins() const { return app_.dec.Num_Bins; }

    void Fill_Velocities(std::int16_t value) {
        for (int i = 0; i < Bins(); ++i)
            for (int c = 0; c < 4; ++c) Vel(c, i) = value;
    }
    void Fill_Echo(std::uint8_t value) {
        for (int i = 0; i < Bins(); ++i)
            for (int k = 0; k < 4; ++k) app_.ds.Sub_Echo(k, i, Slot()) = value;
    }
    // Velocities of 100 everywhere, then the end-of-profile cut.
    std::vector<int> Cut_Bins() {
        Fill_Velocities(100);
        Cut_End_Of_Profile(app_);
        return Bad_Bins();
    }

    // Beam velocities of a current (mm/s) seen by a level instrument heading north.
    void Fill_Beams(int bin, double east, double north, double up) {
        const Rotation level = Instrument_To_Earth(Make_Attitude(0, 0, 0));
        const auto beams = Earth_To_Beams(Make_Beam_Geometry(app_.dec.Sys_Config), level, east, north, up);
        for (int k = 0; k < 4; ++k) Vel(k, bin) = static_cast<std::int16_t>(rnd(beams[static_cast<std::size_t>(k)]));
    }

    // Array indices of the bins whose east velocity is bad.
    std::vector<int> Bad_Bins() {
        std::vector<int> bad;
        for (int i = 0; i < Bins(); ++i)
            if (Vel(0, i) == k_bad) bad.push_back(i);
        return bad;
    }

    App_State app_;
};

std::vector<int> Range_Of(int first, int last) {
    std::vector<int> v(static_cast<std::size_t>(last - first + 1));
    std::iota(v.begin(), v.end(), first);
    return v;
}

TEST_F(Processing, ThreeBeamSolutionsAndTooManyBadBeams) {
    app_.dec.Coord_Transform = 0;
    app_.dec.Sys_Config = Sys_Config_Of(1, false, true);
    for (int bad_beam = 0; bad_beam < 4; ++bad_beam) {
        SCOPED_TRACE(bad_beam);
        for (int i = 0; i < Bins(); ++i) Fill_Beams(i, i < 3 ? 250 : 0, i < 3 ? -400 : 0, i < 3 ? 30 : 0);
        Vel(bad_beam, 1) = Vel(bad_beam, 2) = Vel((bad_beam + 1) % 4, 2) = k_bad;
        Transform_And_Reference(app_);
        // Three beams amplify the beams' rounding a little.
        const int current[] = {250, -400, 30};
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(Vel(c, 1), current[c], 2) << c;
        EXPECT_NE(Vel(3, 0), k_bad);
        EXPECT_EQ(Vel(3, 1), k_bad);  // no error velocity from three beams
        for (int c = 0; c < 6; ++c) EXPECT_EQ(Vel(c, 2), k_bad) << "component " << c;
    }
}

TEST_F(Processing, ReferencesPickTheirSourcesAndNeedTheirDataType) {
    struct Case {
        std::int32_t ref;
        bool have_bt, have_nav;
        std::array<int, 4> expected;  // of a bin that held 100, 200, 300, 400
    };
    const Case cases[] = {
        {k_ref_none, false, false, {100, 200, 300, 400}},
        {k_ref_bottom_track, true, false, {111, 222, 333, 444}},
        {k_ref_navigation, false, true, {105, 206, 300, 400}},
        {k_ref_gps_gga, true, false, {151, 252, 300, 400}},
        {k_ref_gps_vtg, true, false, {153, 254, 300, 400}},
        {k_ref_water_mass, true, false, {101, 202, 303, 404}},
        {9, true, true, {100, 200, 300, 400}},
        {k_ref_bottom_track, false, true, {k_bad, k_bad, k_bad, k_bad}},
        {k_ref_navigation, true, false, {k_bad, k_bad, k_bad, k_bad}},
        {k_ref_water_mass, false, true, {k_bad, k_bad, k_bad, k_bad}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "ref " << c.ref << " bt " << c.have_bt << " nav " << c.have_nav);
        const auto e = Slot();
        for (int i = 0; i < Bins(); ++i)
            for (int comp = 0; comp < 4; ++comp) Vel(comp, i) = static_cast<std::int16_t>(100 * (comp + 1));
        Vel(2, 5) = k_bad;  // a bad value stays bad, never "bad + reference"
        for (std::size_t k = 0; k < 4; ++k) {
            app_.ds.Sub_BT_Vel(k, e) = static_cast<std::int16_t>(11 * (k + 1));
            app_.ds.Sub_WM_Vel(k, e) = static_cast<std::int16_t>(k + 1);
            app_.ds.Sub_Ref_Vel(k, e) = static_cast<std::int16_t>(51 + k);
            if (k < 2) app_.ds.Sub_Nav_Vel(k, e) = static_cast<std::int16_t>(5 + k);
        }
        app_.settings.Vel_Reference = c.ref, app_.dec.Have_BT = c.have_bt, app_.dec.Have_Nav = c.have_nav;
        Transform_And_Reference(app_);
        for (int comp = 0; comp < 4; ++comp) EXPECT_EQ(Vel(comp, 0), c.expected[static_cast<std::size_t>(comp)]) << comp;
        EXPECT_EQ(Vel(2, 5), k_bad);
        if (c.expected[0] == k_bad) {
            EXPECT_EQ((std::pair{Vel(4, 0), Vel(5, 0)}), (std::pair{k_bad, k_bad}));
        }
    }
}

TEST_F(Processing, BadReferenceComponentSpoilsOnlyThatComponent) {
    app_.dec.Have_BT = true;
    app_.settings.Vel_Reference = k_ref_bottom_track;
    Fill_Velocities(100);
    const std::int16_t bt[] = {k_bad, 32000, -32000};
    for (std::size_t k = 0; k < 3; ++k) app_.ds.Sub_BT_Vel(k, Slot()) = bt[k];
    Vel(1, 3) = 900, Vel(2, 3) = -900;
    Transform_And_Reference(app_);
    for (int i = 0; i < Bins(); ++i) EXPECT_EQ((std::pair{Vel(0, i), Vel(4, i)}), (std::pair{k_bad, k_bad})) << i;
    // Held at +-32767, never wrapped, and never at -32768, which would read as bad.
    EXPECT_EQ((std::array{Vel(1, 0), Vel(2, 0), Vel(1, 3), Vel(2, 3)}),
              (std::array<std::int16_t, 4>{32100, -31900, 32767, -32767}));
}

TEST_F(Processing, DirectionQuadrantsAndMagnitudeLimit) {
    // Axes and diagonals pin every quadrant; the stored form is swept below.
    const std::array<std::array<double, 3>, 9> cases{{{0, 0, 0}, {0, -1, 180}, {-1, 0, 270}, {1, 0, 90}, {0, 5, 0},
                                                      {1, 1, 45}, {1, -1, 135}, {-1, -1, 225}, {-1, 1, 315}}};
    for (const auto& [u, v, deg] : cases) EXPECT_NEAR(Velocity_Direction(u, v), deg, 1e-9) << u << ", " << v;

    Vel(0, 0) = Vel(1, 0) = 30000;
    Vel(0, 1) = -3, Vel(1, 1) = 4;
    Vel(0, 2) = 100, Vel(1, 2) = k_bad;  // a bad north component makes the bin bad, as a bad east one does
    Vel(0, 3) = k_bad;
    app_.ds.Sub_BT_Vel(0, Slot()) = 7, app_.ds.Sub_BT_Vel(1, Slot()) = k_bad;
    Transform_And_Reference(app_);
    EXPECT_EQ((std::array{Vel(4, 0), Vel(4, 1), Vel(5, 1)}), (std::array<std::int16_t, 3>{32767, 5, 3231}));
    EXPECT_EQ((std::array{Vel(4, 2), Vel(5, 2), Vel(4, 3), Vel(5, 3), app_.ds.Sub_BT_Vel(4, Slot()),
                          app_.ds.Sub_BT_Vel(5, Slot())}),
              (std::array{k_bad, k_bad, k_bad, k_bad, k_bad, k_bad}));
}

TEST_F(Processing, MeanBottomRangeOverBeamsWithARange) {
    const auto e = Slot();
    const std::array<std::array<std::int32_t, 4>, 4> ranges{{{100, 0, 300, 0}, {0, 0, 0, 0}, {2, 3, 0, 0}, {1, 2, 3, 5}}};
    const std::int32_t expected[] = {200, 0, 2, 3};  // 2.5 rounds to even; 2.75 to 3
    for (std::size_t c = 0; c < ranges.size(); ++c) {
        for (std::size_t k = 0; k < 4; ++k) app_.ds.Sub_BT_Range(k, e) = ranges[c][k];
        Transform_And_Reference(app_);
        EXPECT_EQ(app_.ds.Sub_BT_Range(4, e), expected[c]) << c;
    }
}

TEST_F(Processing, BottomTrackCutForBothFacingsAndOptions) {
    // Nearest positive range 1550 cm: (15.5 - 1 - 0.5) / 1 + 1 = 15 bins are kept.
    struct Case {
        std::array<bool, 5> options;
        std::int32_t nearest;  // cm, beam 3's range; the other beams lie farther
        int cut;               // first bin number from the transducer that goes; -1 none
    };
    const Case cases[] = {
        {{true, false, false, false, false}, 1550, 15},
        {{true, false, true, false, false}, 1550, 14},  // 1550 cos 20 = 1456.5 cm
        {{true, false, false, true, false}, 1550, 14},
        {{true, false, false, true, true}, 1550, 12},
        {{false, false, true, true, true}, 1550, -1},  // neither cut chosen
        {{true, false, false, false, false}, 900000, 29},  // far beyond the profile: only the farthest bin goes
        {{true, false, false, false, true}, 80, 0},  // nearer than the first cell's centre, less two: nothing is left
    };
    app_.dec.Have_BT = true;
    for (bool up : {false, true}) {
        app_.dec.Sys_Config = Sys_Config_Of(1, up, false);
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << "up " << up << " range " << c.nearest << " cut " << c.cut);
            const std::array<std::int32_t, 4> ranges{0, c.nearest + 450, c.nearest, c.nearest + 250};
            for (std::size_t k = 0; k < 4; ++k) app_.ds.Sub_BT_Range(k, Slot()) = ranges[k];
            app_.settings.EoP_Options = c.options;
            std::vector<int> expected;
            if (c.cut >= 0) expected = up ? Range_Of(c.cut, Bins() - 1) : Range_Of(0, Bins() - 1 - c.cut);
            EXPECT_EQ(Cut_Bins(), expected);
            for (int i : expected) EXPECT_EQ(Vel(3, i), k_bad);
            EXPECT_EQ(app_.ds.Sub_Vel(0, 0, 0), 0);  // other slots untouched
        }
    }
}

TEST_F(Processing, RssiBumpCutForBothFacings) {
    app_.dec.Have_Echo = true;
    app_.settings.EoP_Options = {false, true, false, false, false};
    const int n = Bins();
    for (bool up : {false, true}) {
        SCOPED_TRACE(up);
        app_.dec.Sys_Config = Sys_Config_Of(1, up, false);
        const auto index_of = [&](int bin_number) { return up ? bin_number : n - 1 - bin_number; };
        Fill_Echo(50);
        // Beam 2 echoes from bin numbers 20-21, beam 3 from 25-26: the nearer edge per beam
        // is 20 and 25, and the larger of the two cuts wins.
        for (int b : {20, 21}) app_.ds.Sub_Echo(1, index_of(b), Slot()) = 150;
        for (int b : {25, 26}) app_.ds.Sub_Echo(2, index_of(b), Slot()) = 150;
        EXPECT_EQ(Cut_Bins(), up ? Range_Of(24, n - 1) : Range_Of(0, n - 1 - 24));

        // A bump too weak to count leaves the profile whole.
        for (int b : {25, 26}) app_.ds.Sub_Echo(2, index_of(b), Slot()) = 50;
        for (int b : {20, 21}) app_.ds.Sub_Echo(1, index_of(b), Slot()) = 55;
        EXPECT_TRUE(Cut_Bins().empty());
    }
}

TEST_F(Processing, BottomTrackCutWinsOverRssiAndZeroRangesDefer) {
    app_.dec.Have_BT = app_.dec.Have_Echo = true;
    app_.settings.EoP_Options = {true, true, false, false, false};
    app_.dec.Sys_Config = Sys_Config_Of(1, true, false);
    Fill_Echo(50);
    for (int b : {20, 21}) app_.ds.Sub_Echo(0, b, Slot()) = 150;
    app_.ds.Sub_BT_Range(3, Slot()) = 1050;  // cut at 10
    EXPECT_EQ(Cut_Bins(), Range_Of(10, Bins() - 1));
    app_.ds.Sub_BT_Range(3, Slot()) = 0;  // no range in any beam: the echo decides
    EXPECT_EQ(Cut_Bins(), Range_Of(19, Bins() - 1));
}

TEST_F(Processing, TwoBeamPathOfTheFlowMeterFamily) {
    app_.dec.Is_QTRM = true, app_.dec.Coord_Transform = 0, app_.dec.Num_Bins = 6;
    app_.dec.Bin1_Dist_C20C10 = app_.dec.Bin_Size_C20C10 = app_.dec.Bin_Size_C30C20 = 1.0;
    app_.dec.Bin1_Dist_C30C20 = 2.0;  // the slant cells lie one cell farther
    const auto e = Slot();
    for (int i = 0; i < 6; ++i) {
        Vel(0, i) = static_cast<std::int16_t>(10 * i);
        Vel(1, i) = 500;
        Vel(2, i) = static_cast<std::int16_t>(-10 * i);
        Vel(3, i) = static_cast<std::int16_t>(100 + i);
        app_.ds.Sub_Corr(0, i, e) = static_cast<std::uint8_t>(i);
        app_.ds.Sub_Echo(2, i, e) = static_cast<std::uint8_t>(100 + i);
        app_.ds.Sub_Corr(1, i, e) = 77;
    }
    Vel(2, 3) = Vel(3, 1) = k_bad;
    Transform_And_Reference(app_);
    const double two_sin20 = 2 * std::sin(20 * k_deg_to_rad);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const int j = std::min(i + 1, 5);
        if (j == 3) EXPECT_EQ(Vel(0, i), k_bad);
        else EXPECT_EQ(Vel(0, i), rnd(20 * j / two_sin20));
        EXPECT_EQ(Vel(1, i), i == 1 ? k_bad : 400 - i);
        for (int c = 2; c < 6; ++c) EXPECT_EQ(Vel(c, i), k_bad);
        // The other beams' columns stay.
        EXPECT_EQ((std::tuple{app_.ds.Sub_Corr(0, i, e), app_.ds.Sub_Echo(2, i, e), app_.ds.Sub_Corr(1, i, e)}), (std::tuple{j, 100 + j, 77}));
    }
}

TEST_F(Processing, ErrorVelocityStatistics) {
    app_.dec.Num_Bins = 3, app_.ds.Sub_Count = 3;
    for (std::size_t e = 0; e < 3; ++e)
        for (std::size_t i = 0; i < 3; ++i) app_.ds.Sub_Vel(3, i, e) = k_bad;
    app_.ds.Sub_Vel(3, 0, 0) = 10, app_.ds.Sub_Vel(3, 0, 2) = 20;
    app_.ds.Sub_Vel(3, 1, 1) = -7;  // a single valid value
    Error_Velocity_Statistics(app_);
    // Mean, standard deviation (sqrt 50) and percent good (2 of 3) per bin.
    const auto stats = [&](std::size_t i) { return std::array{app_.ds.Bin_Work(0, i), app_.ds.Bin_Work(1, i), app_.ds.Bin_Work(2, i)}; };
    EXPECT_EQ(stats(0), (std::array<std::int32_t, 3>{15, 7, 67}));
    for (std::size_t i : {1u, 2u}) EXPECT_EQ(stats(i), (std::array<std::int32_t, 3>{k_bad, k_bad, 0})) << i;
}

TEST_F(Processing, HostileScalarsStayInsideTheArrays) {
    app_.dec.Coord_Transform = 0, app_.dec.Num_Bins = 100000, app_.dec.Bin_Size = 0;
    app_.dec.Have_BT = app_.dec.Have_Echo = true;
    app_.settings.EoP_Options = {true, true, true, true, true};
    app_.ds.Sub_BT_Range(0, Slot()) = 500;
    app_.ds.Sub_Anc(0, Slot()) = 2147483647, app_.ds.Sub_Anc(1, Slot()) = -2147483647;
    Cut_End_Of_Profile(app_);
    Transform_And_Reference(app_);
    app_.dec.Is_QTRM = true, app_.dec.Bin_Size_C20C10 = 0;
    Transform_And_Reference(app_);
    app_.ds.Sub_Count = 99;  // beyond the slots
    Cut_End_Of_Profile(app_);
    Transform_And_Reference(app_);
    Error_Velocity_Statistics(app_);
    SUCCEED();
}

// The stored direction of every bin against the direction formula itself, over every
// east and north component of a wide square and a sweep of large ones: the shortcut
// the profile loop takes must round exactly as the formula does.
TEST_F(Processing, StoredDirectionRoundsAsTheFormulaEverywhere) {
    std::vector<std::pair<int, int>> pairs;
    for (int u = -600; u <= 600; ++u)
        for (int v = -600; v <= 600; ++v) pairs.emplace_back(u, v);
    // Large components, where neighbouring directions lie closest together.
    for (int u = -32767; u <= 32767; u += 97) {
        for (const int v : {-32767, -30001, -1, 1, 2, 12345, 32767}) {
            pairs.emplace_back(u, v);
            pairs.emplace_back(v, u);
        }
    }
    app_.dec.Num_Bins = k_max_bins;
    constexpr std::size_t k_chunk = k_max_bins;
    int mismatches = 0;
    for (std::size_t start = 0; start < pairs.size(); start += k_chunk) {
        const std::size_t n = std::min(k_chunk, pairs.size() - start);
        for (std::size_t i = 0; i < n; ++i) {
            app_.ds.Sub_Vel(0, i, 0) = static_cast<std::int16_t>(pairs[start + i].first);
            app_.ds.Sub_Vel(1, i, 0) = static_cast<std::int16_t>(pairs[start + i].second);
        }
        app_.ds.Sub_Count = 0;
        Transform_And_Reference(app_);
        for (std::size_t i = 0; i < n; ++i) {
            const auto [u, v] = pairs[start + i];
            const double expected = rnd(10 * Velocity_Direction(u, v));
            if (app_.ds.Sub_Vel(5, i, 0) != expected && ++mismatches <= 5)
                ADD_FAILURE() << "direction of (" << u << ", " << v << "): " << app_.ds.Sub_Vel(5, i, 0);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace vantrel
