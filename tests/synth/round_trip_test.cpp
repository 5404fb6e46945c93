// Every value the factory encodes comes back out of the scanner and the decoder.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app_state.h"
#include "platform/text_format.h"
#include "synth_walk.h"

namespace vantrel::synth::test {
namespace {

struct Case {
    const char* name;
    bool up, earth, convex, flow_meter;
    std::uint8_t fw_version, fw_revision;
    double bottom_depth;
    double fw;  // FW_Version expected
};

std::string Case_Name(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

class Round_Trip : public ::testing::TestWithParam<Case> {};

// Expected values follow the decoder's documented rules: cells reversed when facing
// down, bottom-track and reference-layer velocities negated, range high bytes only
// above firmware 4.99, and the pressure depth replacing the transducer depth.
void Check_Ensemble(const Synth_Options& opt, const Synth_Ensemble& e, const App_State& app) {
    const Data_Set& ds = app.ds;
    const Decoder_State& dec = app.dec;
    const int n = opt.bins;
    ASSERT_EQ(dec.Num_Bins, n);
    EXPECT_EQ(ds.Sub_Ens_Number(0), e.number);
    EXPECT_EQ(dec.Cur_Ens_Number, e.number);
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(ds.Sub_Time(i, 0), e.clock[i]) << "clock byte " << i;
    EXPECT_EQ(ds.Sub_Anc(0, 0), e.pitch);
    EXPECT_EQ(ds.Sub_Anc(1, 0), e.roll);
    EXPECT_EQ(ds.Sub_Anc(2, 0), e.heading);
    EXPECT_EQ(ds.Sub_Anc(3, 0), e.temperature);
    const double pressure_depth = e.pressure * (1.02 - 0.00069 * e.salinity);
    EXPECT_LT(std::fabs(pressure_depth - e.depth_dm * 100.0), 200) << "pressure must agree with the depth";
    EXPECT_EQ(ds.Sub_Anc(4, 0), static_cast<std::int32_t>(rnd(pressure_depth)));
    EXPECT_EQ(ds.Sub_Anc(5, 0), opt.facing_up ? 1 : 0);
    EXPECT_EQ(ds.Sub_Anc(6, 0), e.bit_result);
    EXPECT_EQ(ds.Sub_Anc(7, 0), e.xmit_voltage);

    for (int k = 0; k < n; ++k) {
        const auto bin = static_cast<std::size_t>(k);
        const auto cell = static_cast<std::size_t>(opt.facing_up ? k : n - 1 - k);
        unsigned corr_sum = 0, echo_sum = 0;
        for (std::size_t b = 0; b < 4; ++b) {
            ASSERT_EQ(ds.Sub_Vel(b, bin, 0), e.vel[cell][b]) << "bin " << k << " beam " << b;
            EXPECT_EQ(ds.Sub_Corr(b, bin, 0), e.corr[cell][b]);
            EXPECT_EQ(ds.Sub_Echo(b, bin, 0), e.echo[cell][b]);
            EXPECT_EQ(ds.Sub_PGood(b, bin, 0), e.pgood[cell][b]);
            corr_sum += e.corr[cell][b];
            echo_sum += e.echo[cell][b];
        }
        EXPECT_EQ(ds.Sub_Corr(4, bin, 0), rnd(corr_sum / 4.0));
        EXPECT_EQ(ds.Sub_Echo(4, bin, 0), rnd(echo_sum / 4.0));
    }

    EXPECT_EQ(dec.Have_BT, opt.bottom_track);
    if (opt.bottom_track) {
        const bool long_ranges = dec.FW_Version > 4.99;
        for (std::size_t b = 0; b < 4; ++b) {
            const std::int32_t range = static_cast<std::int32_t>(long_ranges ? e.bt_range[b] : e.bt_range[b] & 0xFFFF);
            EXPECT_EQ(ds.Sub_BT_Range(b, 0), range) << "beam " << b;
            EXPECT_EQ(ds.Sub_BT_Vel(b, 0), -e.bt_vel[b]);
            EXPECT_EQ(ds.Sub_WM_Vel(b, 0), -e.ref_vel[b]);
            EXPECT_EQ(ds.Sub_Ref_Vel(b, 0), -e.ref_vel[b]);
        }
        // The reference-layer near edge shares its word with the high word of that longitude.
        EXPECT_EQ(ds.Sub_Calimbro_Lon(0), k_bt_ref_layer[1] * 65536);
        EXPECT_EQ(ds.Sub_Calimbro_Lat(0), 0);
        EXPECT_EQ(dec.BT_Pings, k_bt_pings);
        EXPECT_EQ(dec.BT_Max_Depth, k_bt_max_depth);
    }

    EXPECT_EQ(dec.Have_Nav, opt.navigation);
    if (opt.navigation) {
        EXPECT_EQ(ds.Sub_First_Lat(0), e.first_lat);
        EXPECT_EQ(ds.Sub_First_Lon(0), e.first_lon);
        EXPECT_EQ(ds.Sub_Last_Lat(0), e.last_lat);
        EXPECT_EQ(ds.Sub_Last_Lon(0), e.last_lon);
        const double degrees = e.nav_direction * 360.0 / 65536;
        EXPECT_EQ(ds.Sub_Nav_Vel(4, 0), e.nav_speed);
        EXPECT_EQ(ds.Sub_Nav_Vel(5, 0), rnd(degrees * 10));
        EXPECT_NEAR(ds.Sub_Nav_Vel(0, 0), e.nav_speed * std::sin(degrees * k_pi_test / 180), 0.5);
        EXPECT_NEAR(ds.Sub_Nav_Vel(1, 0), e.nav_speed * std::cos(degrees * k_pi_test / 180), 0.5);
    }

    EXPECT_EQ(dec.Have_QTRM, opt.flow_meter);
    if (opt.flow_meter) {
        EXPECT_EQ(ds.Sub_QTRM_Depth(0), e.qtrm_depth);
        EXPECT_EQ(ds.Sub_QTRM_Vel(0), rnd((e.qtrm_vel1 + e.qtrm_vel2) / 2.0));
        EXPECT_EQ(ds.Sub_QTRM_Flow(0), static_cast<double>(e.qtrm_flow));
        for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(ds.Sub_QTRM_Time(i + 1, 0), e.clock[i]);
    }

    EXPECT_EQ(dec.Have_MicroCAT, opt.text_block);
    if (opt.text_block) {
        EXPECT_EQ(ds.Sub_MicroCAT(0), opt.text);
    }
}

TEST_P(Round_Trip, EveryDecodedValueIsWhatTheScenarioPutIn) {
    const Case& c = GetParam();
    // Attitude swings, a heading that crosses north, noise, and ensemble numbers that
    // cross into the number's high byte.
    const Synth_Options in{.ensembles = 40, .bins = 25, .bin_size = 0.5, .facing_up = c.up, .earth_coords = c.earth,
                           .convex = c.convex, .bottom_track = true, .navigation = true, .flow_meter = c.flow_meter,
                           .text_block = true, .first_number = 65530, .seed = 42, .fw_version = c.fw_version,
                           .fw_revision = c.fw_revision, .noise = 20, .pitch_amplitude = 4, .roll_amplitude = 3,
                           .heading_rate = 7, .bottom_depth = c.bottom_depth};
    const Synth_Options opt = Resolved(in);
    Temp_File tmp("round_trip.ens");
    const Synth_Manifest m = Write_Synth_File(tmp.path, opt);

    App_State app;
    auto expected = std::make_unique<Synth_Ensemble>();
    std::size_t next = 0;
    const auto found = Walk_File(tmp.path, app, [&](const App_State& a) {
        ASSERT_LT(next, m.entries.size());
        Fill_Synth_Ensemble(opt, m.entries[next++].index, *expected);
        Check_Ensemble(opt, *expected, a);
    });
    ASSERT_EQ(found.size(), 40u);
    EXPECT_EQ(found.back().number, 65530 + 39);

    // Set-up scalars of the fixed leader.
    const Decoder_State& dec = app.dec;
    const double bin_size = c.flow_meter ? 0.5 * std::cos(30 * k_pi_test / 180) * std::cos(20 * k_pi_test / 180) : 0.5;
    const double bin1 = c.flow_meter ? 1.0 * std::cos(30 * k_pi_test / 180) * std::cos(20 * k_pi_test / 180) : 1.0;
    EXPECT_NEAR(dec.Bin_Size, bin_size, 1e-9);
    EXPECT_NEAR(dec.Bin1_Dist, bin1, 1e-9);
    EXPECT_NEAR(dec.FW_Version, c.fw, 1e-9);
    EXPECT_EQ(dec.Is_QTRM, c.flow_meter);
    EXPECT_EQ((dec.Sys_Config & 0x80) != 0, c.up);
    EXPECT_EQ((dec.Sys_Config & 0x08) != 0, c.convex);
    EXPECT_EQ((dec.Sys_Config >> 8) & 3, 1) << "20 degree beams";
    EXPECT_EQ((dec.Sys_Config >> 12) & 0xF, 4) << "four-beam Janus";
    EXPECT_EQ((dec.Coord_Transform >> 3) & 3, c.earth ? 3 : 0);
    EXPECT_EQ(dec.Profiling_Mode, 1);
    EXPECT_EQ(dec.Pressure_Agree_Count, 40) << "every ensemble's pressure depth is used";
}

// Firmware 16 with revision 105 reads as 16.05; 4.99 is the last version whose range
// high bytes are ignored, so a 700 m bottom reads modulo 65536 cm there.
INSTANTIATE_TEST_SUITE_P(
    Synth, Round_Trip,
    ::testing::Values(Case{"down_beam_concave", false, false, false, false, 50, 40, 40, 50.4},
                      Case{"down_beam_convex", false, false, true, false, 50, 40, 40, 50.4},
                      Case{"up_beam_concave", true, false, false, false, 50, 40, 40, 50.4},
                      Case{"up_beam_convex", true, false, true, false, 50, 40, 40, 50.4},
                      Case{"down_earth_concave", false, true, false, false, 50, 40, 40, 50.4},
                      Case{"up_earth_convex", true, true, true, false, 50, 40, 40, 50.4},
                      Case{"down_flow_meter", false, false, false, true, 50, 40, 40, 21.4},
                      Case{"deep_bottom_revision_over_99", false, false, false, false, 16, 105, 700, 16.05},
                      Case{"deep_bottom_old_firmware", false, true, true, false, 4, 99, 700, 4.99}),
    Case_Name);

}  // namespace
}  // namespace vantrel::synth::test
