// The scenario's physics: stored beam velocities invert to the earth velocities that
// went in, the bottom track carries the ship, the ranges and positions follow the geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "processing/beam_geometry.h"
#include "synth_walk.h"

namespace vantrel::synth::test {
namespace {

struct Geometry_Case {
    const char* name;
    bool up, convex;
    int beam_angle;
};

class Synth_Physics : public ::testing::TestWithParam<Geometry_Case> {
protected:
    Synth_Options Scenario() const {
        const Geometry_Case& c = GetParam();
        return Resolved({.bins = 20, .facing_up = c.up, .beam_angle = c.beam_angle, .convex = c.convex,
                         .heading_start = 100, .heading_rate = 13, .ship_speed = 1000, .ship_direction = 60});
    }
    // Largest error in any earth component when each beam is rounded by up to half a unit.
    static double Rounding_Tolerance(const Synth_Options& opt) {
        const Beam_Geometry g = Make_Beam_Geometry(Synth_Sys_Config(opt));
        return std::sqrt(2 * g.a * g.a + 4 * g.b * g.b) + 1e-9;
    }
    static std::array<double, 4> Solve(const Synth_Options& opt, const Synth_Ensemble& e,
                                       const std::array<double, 4>& beams) {
        const Beam_Geometry g = Make_Beam_Geometry(Synth_Sys_Config(opt));
        return Four_Beam_Solution(g, Instrument_To_Earth(Make_Attitude(e.pitch, e.roll, e.heading)), beams);
    }
};

// Zero tilt: every beam samples the cell's nominal depth, so the four-beam solution of
// one cell gives back the scenario's velocity there (water minus ship) within rounding.
TEST_P(Synth_Physics, BeamVelocitiesSolveBackToTheEarthVelocity) {
    const Synth_Options opt = Scenario();
    const double tol = Rounding_Tolerance(opt);
    auto e = std::make_unique<Synth_Ensemble>();
    for (std::int64_t i : {0, 5, 17}) {
        Fill_Synth_Ensemble(opt, i, *e);
        for (int c : {0, 7, 19}) {
            const auto cell = static_cast<std::size_t>(c);
            // Depth of the cell from first principles: bin 1 sits 0.5 m blank plus one cell away.
            const double z = e->transducer_depth_m + (opt.facing_up ? -1 : 1) * (1.5 + c * 1.0);
            const double east = 250 - 4 * z - 1000 * std::sin(60 * k_pi_test / 180);
            const double north = 150 + 3 * z - 1000 * std::cos(60 * k_pi_test / 180);
            std::array<double, 4> beams{};
            for (std::size_t b = 0; b < 4; ++b) beams[b] = e->vel[cell][b];
            const auto enu = Solve(opt, *e, beams);
            EXPECT_NEAR(enu[0], east, tol) << "ensemble " << i << " cell " << c;
            EXPECT_NEAR(enu[1], north, tol) << "ensemble " << i << " cell " << c;
            EXPECT_NEAR(enu[2], 5, tol);
            EXPECT_NEAR(enu[3], 0, tol);
        }
    }
}

// The decoder negates the stored bottom velocity; solved, it is the ship's own velocity.
TEST_P(Synth_Physics, BottomTrackSolvesToTheShipVelocity) {
    Synth_Options opt = Scenario();
    const double tol = Rounding_Tolerance(opt);
    opt.bottom_track = true;
    opt.pitch_amplitude = 6;
    opt.roll_amplitude = 4;
    auto e = std::make_unique<Synth_Ensemble>();
    for (std::int64_t i = 0; i < 12; ++i) {
        Fill_Synth_Ensemble(opt, i, *e);
        std::array<double, 4> decoded{};
        for (std::size_t b = 0; b < 4; ++b) decoded[b] = -e->bt_vel[b];
        const auto enu = Solve(opt, *e, decoded);
        EXPECT_NEAR(enu[0], 866.0, tol) << "ensemble " << i;
        EXPECT_NEAR(enu[1], 500.0, tol) << "ensemble " << i;
        EXPECT_NEAR(enu[2], 0.0, tol) << "ensemble " << i;
    }
}

// Under tilt with no shear every depth moves alike, so the tilted solution must still
// give back the water: the attitude written is the attitude the beams were built with.
TEST_P(Synth_Physics, TiltedBeamsSolveBackWithoutShear) {
    Synth_Options opt = Scenario();
    const double tol = Rounding_Tolerance(opt);
    opt.pitch_amplitude = 8;
    opt.roll_amplitude = 5;
    opt.shear_east = opt.shear_north = 0;
    auto e = std::make_unique<Synth_Ensemble>();
    int tilted = 0;
    for (std::int64_t i = 0; i < 30; ++i) {
        Fill_Synth_Ensemble(opt, i, *e);
        tilted += e->pitch != 0 || e->roll != 0;
        std::array<double, 4> beams{};
        for (std::size_t b = 0; b < 4; ++b) beams[b] = e->vel[3][b];
        const auto enu = Solve(opt, *e, beams);
        EXPECT_NEAR(enu[0], 250 - 866.0254, tol) << "ensemble " << i;
        EXPECT_NEAR(enu[1], 150 - 500.0, tol) << "ensemble " << i;
        EXPECT_NEAR(enu[2], 5, tol) << "ensemble " << i;
    }
    EXPECT_GT(tilted, 25);
}

INSTANTIATE_TEST_SUITE_P(Synth, Synth_Physics,
                         ::testing::Values(Geometry_Case{"down_concave", false, false, 20},
                                           Geometry_Case{"down_convex", false, true, 30},
                                           Geometry_Case{"up_concave", true, false, 15},
                                           Geometry_Case{"up_convex", true, true, 40}),
                         [](const ::testing::TestParamInfo<Geometry_Case>& p) { return p.param.name; });

TEST(Synth_Physics_Ranges, BottomRangesFollowDepthAndPassTheSixteenBitLimit) {
    const Synth_Options opt = Resolved({.bottom_track = true, .bottom_depth = 803, .transducer_depth = 3});
    auto e = std::make_unique<Synth_Ensemble>();
    Fill_Synth_Ensemble(opt, 0, *e);  // no heave at the first ensemble, no tilt
    for (std::size_t b = 0; b < 4; ++b) EXPECT_EQ(e->bt_range[b], 80000u);
}

TEST(Synth_Physics_Ranges, UpFacingRangesReachTheSurface) {
    const Synth_Options opt = Resolved({.facing_up = true, .bottom_track = true, .bottom_depth = 25});
    EXPECT_EQ(opt.transducer_depth, 24.5);
    EXPECT_EQ(opt.ship_speed, 0);
    auto e = std::make_unique<Synth_Ensemble>();
    Fill_Synth_Ensemble(opt, 3, *e);
    for (std::size_t b = 0; b < 4; ++b) EXPECT_EQ(e->bt_range[b], 2450u);
    // Cells past the surface are bad in every beam; 30 cells of 1 m from 1.5 m reach 30.5 m.
    for (std::size_t b = 0; b < 4; ++b) {
        EXPECT_NE(e->vel[23][b], -32768) << "24.5 m reaches the surface, no further";
        EXPECT_EQ(e->vel[24][b], -32768) << "25.5 m is above the surface";
    }
}

TEST(Synth_Physics_Navigation, FixesMoveWithTheShip) {
    const Synth_Options opt = Resolved({.navigation = true, .interval = 10, .ship_speed = 2000, .ship_direction = 0});
    auto e = std::make_unique<Synth_Ensemble>();
    Fill_Synth_Ensemble(opt, 0, *e);
    // 20 m north in one interval: 20 / 6371000 rad, with 2^31 units per 180 degrees.
    const double units = 20.0 / 6371000 * 180 / k_pi_test * 2147483648.0 / 180;
    EXPECT_NEAR(e->last_lat - e->first_lat, units, 1);
    EXPECT_EQ(e->last_lon, e->first_lon);
    EXPECT_NEAR(e->first_lat, 52.0 / 180 * 2147483648.0, 1);
    EXPECT_EQ(e->nav_speed, 2000);
    EXPECT_EQ(e->nav_direction, 0);
    Fill_Synth_Ensemble(opt, 3, *e);
    EXPECT_NEAR(e->first_lat - 52.0 / 180 * 2147483648.0, 3 * units, 2) << "the track carries on";
}

TEST(Synth_Physics_Clock, ClockRunsAcrossMidnightMonthsAndLeapDays) {
    Synth_Options in{.interval = 0.25, .start = {2024, 2, 28, 23, 59, 59}};
    const Synth_Options opt = Resolved(in);
    auto e = std::make_unique<Synth_Ensemble>();
    Fill_Synth_Ensemble(opt, 5, *e);  // 1.25 s later
    EXPECT_EQ(e->clock, (std::array<std::uint8_t, 7>{24, 2, 29, 0, 0, 0, 25}));
    EXPECT_EQ(e->century, 20);
    in.interval = 86400;
    const Synth_Options daily = Resolved(in);
    Fill_Synth_Ensemble(daily, 2, *e);
    EXPECT_EQ(e->clock, (std::array<std::uint8_t, 7>{24, 3, 1, 23, 59, 59, 0}));
}

TEST(Synth_Physics_Options, BadScenariosAreRefused) {
    const auto refused = [](auto change) {
        Synth_Options o;
        change(o);
        EXPECT_THROW(Resolve_Options(o), std::invalid_argument);
    };
    refused([](Synth_Options& o) { o.bins = 0; });
    refused([](Synth_Options& o) { o.bins = 256; });
    refused([](Synth_Options& o) { o.ensembles = 0; });
    refused([](Synth_Options& o) { o.beam_angle = 25; });
    refused([](Synth_Options& o) { o.start[1] = 13; });
    refused([](Synth_Options& o) { o.start[0] = 2023, o.start[1] = 2, o.start[2] = 29; });
    refused([](Synth_Options& o) { o.transducer_depth = 50; });
    refused([](Synth_Options& o) { o.first_number = 1 << 24; });
}

}  // namespace
}  // namespace vantrel::synth::test
