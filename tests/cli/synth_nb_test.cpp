// Narrowband files from synth read back through dump --raw as the scenario's values,
// within the 12-bit quantisation, for each kind of configuration byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/dump_json.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel::test {
namespace {

using synth::Synth_Options;

struct NB_Case {
    const char* name;
    std::string args;  // beyond the shared scenario
    Synth_Options opt;
    bool up;
    long long sys_config, coord_transform;
    double base_factor;  // mm/s per count before the speed-of-sound correction
};

void PrintTo(const NB_Case& c, std::ostream* os) { *os << c.name; }

// Bins run from the deepest cell: facing down that is the last cell of the file.
std::size_t Cell_Of_Bin(std::size_t bin, std::size_t bins, bool up) { return up ? bin : bins - 1 - bin; }

double Sound_Speed(double t) { return 1449.2 + 4.6 * t - 0.055 * t * t + 0.00029 * t * t * t; }

class Synth_NB_Round_Trip : public ::testing::TestWithParam<NB_Case> {};

TEST_P(Synth_NB_Round_Trip, DumpGivesBackTheScenarioWithinOneCount) {
    const NB_Case& c = GetParam();
    const Temp_Folder dir;
    const std::string path = dir.Path("nb.ens");
    const std::string shared = " --structure nb --ensembles 5 --bins 12 --bottom-depth 14 --bottom-track --pitch 5 "
                               "--roll 3 --seed 7 --noise 30 --first-number 65533 --start '2021-02-28 23:59:58' ";
    const Cli_Result w = Run_Cli("synth " + Quoted(path) + shared + c.args, dir.Path());
    ASSERT_EQ(w.exit_code, 0) << w.err;

    Synth_Options o = c.opt;
    o.structure = synth::Synth_Structure::Narrowband;
    o.ensembles = 5;
    o.bins = 12;
    o.bottom_depth = 14;
    o.bottom_track = true;
    o.pitch_amplitude = 5;
    o.roll_amplitude = 3;
    o.seed = 7;
    o.noise = 30;
    o.first_number = 65533;
    const int start[6] = {2021, 2, 28, 23, 59, 58};
    std::copy(std::begin(start), std::end(start), o.start);
    const Synth_Options opt = synth::Resolve_Options(o);

    const Cli_Result d = Run_Cli("dump --raw " + Quoted(path), dir.Path());
    ASSERT_EQ(d.exit_code, 0) << d.err;
    const auto lines = Json_Lines(d.out);
    ASSERT_EQ(lines.size(), 5u);
    auto e = std::make_unique<synth::Synth_Ensemble>();
    std::size_t bad_cells = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        synth::Fill_Synth_Ensemble(opt, static_cast<std::int64_t>(i), *e);
        const auto& line = lines[i];
        SCOPED_TRACE("ensemble " + std::to_string(i));
        // Sixteen-bit numbers wrap after 65535.
        EXPECT_EQ(Integers(line["Sub_Ens_Number"]), std::vector<long long>{(65533 + static_cast<long long>(i)) % 65536});
        const std::vector<long long> clock = {80, e->clock[1], e->clock[2], e->clock[3], e->clock[4], e->clock[5], 0};
        EXPECT_EQ(Integers(line["Sub_Time"]), clock);
        EXPECT_EQ(Integers(line["Sys_Config"]), std::vector<long long>{c.sys_config});
        EXPECT_EQ(Integers(line["Coord_Transform"]), std::vector<long long>{c.coord_transform});
        EXPECT_EQ(line["Bin_Size"].get<double>(), opt.bin_size);
        EXPECT_DOUBLE_EQ(line["Bin1_Dist"].get<double>(), 0.5 + opt.bin_size);

        std::vector<double> anc;
        for (long long v : Integers(line["Sub_Anc"])) anc.push_back(static_cast<double>(v));
        ASSERT_EQ(anc.size(), 8u);
        EXPECT_NEAR(anc[0], e->pitch, 1);
        EXPECT_NEAR(anc[1], e->roll, 1);
        EXPECT_NEAR(anc[2], e->heading, 1);
        EXPECT_NEAR(anc[3], e->temperature, 1.2);  // a count is 1.22 hundredths of a degree
        EXPECT_EQ(anc[5], c.up ? 1 : 0);
        EXPECT_EQ(anc[7], e->xmit_voltage);

        const double factor = c.base_factor * Sound_Speed(anc[3] / 100.0) / 1536;
        const double tolerance = factor / 2 + 0.6;
        const auto vel = Integers(line["Sub_Vel"]);
        ASSERT_EQ(vel.size(), 12u * 8);
        for (std::size_t bin = 0; bin < 12; ++bin) {
            const auto& want = e->vel[Cell_Of_Bin(bin, 12, c.up)];
            for (std::size_t b = 0; b < 4; ++b) {
                const auto got = static_cast<double>(vel[bin * 8 + b]);
                if (want[b] == -32768) {
                    EXPECT_EQ(got, -32768) << "bin " << bin << " beam " << b;
                    bad_cells += b == 0;
                } else {
                    EXPECT_NEAR(got, want[b], tolerance) << "bin " << bin << " beam " << b;
                }
            }
        }
        const auto bt = Integers(line["Sub_BT_Vel"]);
        const auto range = Integers(line["Sub_BT_Range"]);
        ASSERT_EQ(bt.size(), 6u);
        ASSERT_EQ(range.size(), 6u);
        for (std::size_t b = 0; b < 4; ++b) {
            EXPECT_NEAR(static_cast<double>(bt[b]), -e->bt_vel[b], tolerance) << "beam " << b;
            EXPECT_NEAR(static_cast<double>(range[b]), e->bt_range[b], 153600 / 1475.1 / 2 + 0.6) << "beam " << b;
        }
    }
    EXPECT_GT(bad_cells, 0u) << "some cells lie beyond the boundary";
}

Synth_Options With(bool up, bool convex, bool earth, int frequency, bool high_range, bool bit7, double bin_size = 1) {
    Synth_Options o;
    o.facing_up = up;
    o.convex = convex;
    o.earth_coords = earth;
    o.nb_frequency = frequency;
    o.nb_high_range = high_range;
    o.nb_bit7 = bit7;
    o.bin_size = bin_size;
    return o;
}

INSTANTIATE_TEST_SUITE_P(
    Synth, Synth_NB_Round_Trip,
    ::testing::Values(
        NB_Case{"beam_down_concave", "", With(false, false, false, 2, false, true), false, 16898, 0, 1.25},
        NB_Case{"earth_up_convex_high_range_code0",
                "--facing up --convex --coords earth --nb-high-range --nb-frequency 0 --bin-size 2",
                With(true, true, true, 0, true, true, 2), true, 16896 + 128 + 8, 24, 5.0},
        NB_Case{"bit7_clear", "--nb-bit7-clear --nb-frequency 5", With(false, false, true, 5, false, false), false, 7,
                24, 5.0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Synth_NB_Options, ShapesANarrowbandFileCannotHoldAreRefused) {
    const Temp_Folder dir;
    const std::string out = Quoted(dir.Path("x.ens"));
    for (const std::string bad : {"--bin-size 0.5", "--bin-size 3", "--navigation", "--flow-meter", "--text-block",
                                  "--first-number 70000", "--nb-frequency 8", "--nb-bit7-clear --facing up"}) {
        const Cli_Result r = Run_Cli("synth " + out + " --structure nb " + bad, dir.Path());
        EXPECT_EQ(r.exit_code, 1) << bad;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << bad << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("x.ens"))) << bad;
    }
}

}  // namespace
}  // namespace vantrel::test
