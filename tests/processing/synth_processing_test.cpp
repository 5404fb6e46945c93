// Processing checked against the physics of synthetic files: the files are written to
// disk, walked with the scanner and processed as the loaders do, and every processed
// value is compared with what the scenario put in.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "app_state.h"
#include "platform/text_format.h"
#include "processing/beam_geometry.h"
#include "processing/velocity_processing.h"
#include "support/default_settings.h"
#include "synth/synth_walk.h"

namespace vantrel::synth::test {
namespace {

constexpr std::int16_t k_bad = k_bad_velocity;

// Writes the scenario, then scans and processes every ensemble into slot 0 with the
// given settings; visit sees the processed slot and the scenario's ensemble. Returns the
// number of ensembles processed.
std::int64_t Process_File(const Synth_Options& scenario, const Settings& settings,
                          const std::function<void(const App_State&, const Synth_Ensemble&)>& visit) {
    const Synth_Options opt = Resolved(scenario);
    App_State app;
    app.settings = settings;
    Synth_Ensemble truth;
    const std::int64_t count = Walk_Synth_File(opt, app, [&](std::int64_t index) {
        app.ds.Sub_Count = 0;
        Clear_Slot(app.ds, 0);
        EXPECT_TRUE(Process_Ensemble(app));
        Fill_Synth_Ensemble(opt, index, truth);
        EXPECT_EQ(app.ds.Sub_Ens_Number(0), truth.number);
        visit(app, truth);
    });
    EXPECT_EQ(count, opt.ensembles);
    return count;
}

Settings Plain_Settings(std::int32_t reference = k_ref_none) {
    Settings s = vantrel::test::Default_Settings();
    s.Vel_Reference = reference;
    s.EoP_Options = {};
    return s;
}

// Array index of file cell c (0 = nearest the transducer).
std::size_t Index_Of_Cell(const Synth_Options& opt, int c) {
    return static_cast<std::size_t>(opt.facing_up ? c : opt.bins - 1 - c);
}

struct Geometry_Case {
    bool up, convex;
    int angle;
};

std::string Geometry_Name(const ::testing::TestParamInfo<Geometry_Case>& info) {
    const auto& p = info.param;
    return std::string(p.up ? "Up" : "Down") + (p.convex ? "Convex" : "Concave") + std::to_string(p.angle);
}

class Synth_Geometry : public ::testing::TestWithParam<Geometry_Case> {};

// Velocities relative to the instrument (no reference) against the scenario's water at
// each cell, and the error velocity: the largest difference in mm/s over the valid cells.
double Max_Earth_Error(const Synth_Options& opt, const App_State& app, const Synth_Ensemble& truth, int& valid) {
    double worst = 0;
    for (int c = 0; c < opt.bins; ++c) {
        const std::size_t i = Index_Of_Cell(opt, c);
        if (app.ds.Sub_Vel(0, i, 0) == k_bad) continue;
        ++valid;
        for (std::size_t k = 0; k < 3; ++k) {
            worst = std::max(worst, std::fabs(app.ds.Sub_Vel(k, i, 0) - truth.water[static_cast<std::size_t>(c)][k]));
        }
        // A cell mapped from beyond the far end leaves a three-beam solution without one.
        const std::int16_t error = app.ds.Sub_Vel(3, i, 0);
        if (error != k_bad) worst = std::max(worst, std::fabs(double(error)));
    }
    return worst;
}

TEST_P(Synth_Geometry, UniformCurrentComesBackUnderTilt) {
    // Under a heading that turns through a full circle.
    const Geometry_Case& p = GetParam();
    const Synth_Options opt{.ensembles = 48, .bins = 40, .facing_up = p.up, .beam_angle = p.angle, .convex = p.convex,
                            .current_east = 420, .current_north = -310, .shear_east = 0, .shear_north = 0, .vertical = 12,
                            .pitch_amplitude = 15, .roll_amplitude = 15, .heading_start = 3, .heading_rate = 7.6, .bottom_depth = 80};
    double worst = 0;
    int valid = 0;
    Process_File(opt, Plain_Settings(), [&](const App_State& app, const Synth_Ensemble& truth) {
        worst = std::max(worst, Max_Earth_Error(opt, app, truth, valid));
    });
    EXPECT_LE(worst, 3.0);
    // Bin mapping reads beyond the profile's far end only for the last few cells.
    EXPECT_GT(valid, opt.ensembles * (opt.bins - 10));
}

// Every pair of facing, pattern and angle occurs once.
INSTANTIATE_TEST_SUITE_P(Processing, Synth_Geometry,
                         ::testing::Values(Geometry_Case{false, false, 20}, Geometry_Case{false, true, 30},
                                           Geometry_Case{true, false, 30}, Geometry_Case{true, true, 20}),
                         Geometry_Name);

// Root-mean-square horizontal error against the scenario's water, with the processing's
// bin mapping and with the same solution applied to the cells where they lie.
struct Shear_Errors {
    double mapped = 0, unmapped = 0;
};

Shear_Errors Shear_Errors_Of(const Synth_Options& opt) {
    double sum_mapped = 0, sum_unmapped = 0;
    int count = 0;
    Process_File(opt, Plain_Settings(), [&](const App_State& app, const Synth_Ensemble& truth) {
        // The raw beams again, decoded from the same buffer.
        App_State raw;
        raw.dec = app.dec;
        raw.settings = app.settings;
        Allocate_Data_Set(raw.ds, false, 1, 1);
        raw.ds.Sub_Count = 0;
        ASSERT_TRUE(Decode_Ensemble(raw));
        const Beam_Geometry g = Make_Beam_Geometry(raw.dec.Sys_Config);
        const Rotation r = Instrument_To_Earth(Make_Attitude(truth.pitch, truth.roll, truth.heading));
        for (int c = 0; c < opt.bins; ++c) {
            const std::size_t i = Index_Of_Cell(opt, c);
            if (app.ds.Sub_Vel(0, i, 0) == k_bad) continue;
            std::array<double, 4> beams{};
            for (std::size_t k = 0; k < 4; ++k) beams[k] = raw.ds.Sub_Vel(k, i, 0);
            if (raw.ds.Sub_Vel(0, i, 0) == k_bad || raw.ds.Sub_Vel(3, i, 0) == k_bad) continue;
            const auto plain = Four_Beam_Solution(g, r, beams);
            const auto& w = truth.water[static_cast<std::size_t>(c)];
            for (std::size_t k = 0; k < 2; ++k) {
                sum_mapped += std::pow(app.ds.Sub_Vel(k, i, 0) - w[k], 2);
                sum_unmapped += std::pow(plain[k] - w[k], 2);
            }
            ++count;
        }
    });
    EXPECT_GT(count, opt.ensembles * opt.bins / 2);
    return {std::sqrt(sum_mapped / (2 * count)), std::sqrt(sum_unmapped / (2 * count))};
}

TEST(Synth_Processing, BinMappingFollowsShearUnderTilt) {
    for (const bool up : {false, true}) {
        const Shear_Errors e = Shear_Errors_Of({.ensembles = 60, .bins = 50, .facing_up = up, .shear_east = -8, .shear_north = 5,
                                                .pitch_amplitude = 15, .roll_amplitude = 12, .heading_rate = 6, .bottom_depth = 90});
        EXPECT_LT(e.mapped, e.unmapped / 2) << (up ? "up" : "down");
        EXPECT_LT(e.mapped, 6.0) << (up ? "up" : "down");
    }
}

}  // namespace
}  // namespace vantrel::synth::test
