#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>
#include <utility>

#include "app_state.h"
#include "decode/decode_ensemble.h"
#include "decode/nb_decoder.h"
#include "decode/profile_cells.h"
#include "platform/text_format.h"
#include "nb_encoder.h"
#include "support/expect_fields.h"

namespace vantrel {
namespace {

using synth::NB_Ensemble_Values;
using test::Expect_Fields;

constexpr std::size_t k_vel_block = 14 + 63;  // after the header and the leader

NB_Ensemble_Values Three_Bin_Values(std::uint8_t config) {
    NB_Ensemble_Values v;
    v.config = config;
    v.num_bins = 3;
    v.velocity = {{100, -200, 2047, -2047}, {1, -1, 0, 5}, {-2048, 7, 8, 9}};
    v.correlation = {{10, 20, 30, 41}, {1, 2, 3, 4}, {0, 0, 0, 2}};
    v.echo = {{50, 51, 52, 53}, {5, 5, 5, 6}, {9, 9, 9, 9}};
    v.percent_good = {{100, 100, 100, 100}, {90, 90, 90, 90}, {80, 80, 80, 80}};
    return v;
}

struct Decoded {
    App_State app;
    explicit Decoded(const std::vector<std::uint8_t>& bytes) {
        Allocate_Data_Set(app.ds, false, 1, 1);
        app.dec.Data_Structure = k_structure_nb;
        app.dec.Ens_Buffer = bytes;
        app.dec.Ens_Bytes = static_cast<std::int32_t>(bytes.size()) - 2;
        Decode_Ensemble(app);
    }
    std::int16_t Vel(std::size_t beam, std::size_t bin) const { return app.ds.Sub_Vel(beam, bin, 0); }
};

std::int16_t Expected(std::int32_t count, double factor) { return static_cast<std::int16_t>(rnd(count * factor)); }

TEST(NB_Configuration, BitSevenSetFollowsFactorAndFacingRulesAndClearIsEarth) {
    struct Case {
        std::uint8_t config;
        bool flip;
        double factor;
        std::int32_t transform, sys_config;
        bool up;
    };
    const Case cases[] = {
        {0x80, false, 2.5, 0, 16896 + 128 + 8, true},   // frequency 0, low range: doubled once
        {0x80, true, 2.5, 0, 16896 + 8, false},         // Flip turns the facing over
        {0x81, false, 2.5, 0, 16896 + 128 + 8, true},   // high range: no doubling for frequency 0
        {0x83, false, 5.0, 24, 16896 + 128 + 8, true},  // earth coordinates double it
        {0x8E, false, 5.0, 24, 16896, false},           // down, concave, doubled twice
        {0xB0, false, 1.25, 0, 16896 + 3 + 128 + 8, true},
        {0xD4, false, 1.25, 0, 16896 + 5 + 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config);
        const NB_Configuration cfg = Decode_NB_Configuration(c.config, c.flip);
        EXPECT_EQ((std::tuple{cfg.vel_factor, cfg.coord_transform, cfg.sys_config, cfg.facing_up}),
                  (std::tuple{c.factor, c.transform, c.sys_config, c.up}));
    }
    // Bit seven clear: earth coordinates, facing up only when flipped.
    for (const std::uint8_t config : std::initializer_list<std::uint8_t>{0x00, 0x37, 0x7F}) {
        const NB_Configuration down = Decode_NB_Configuration(config, false);
        const NB_Configuration up = Decode_NB_Configuration(config, true);
        EXPECT_DOUBLE_EQ(down.vel_factor, 5);
        Expect_Fields({{"transform", down.coord_transform, 24}, {"down", down.facing_up, false}, {"down config", down.sys_config, 7},
                       {"up", up.facing_up, true}, {"up config", up.sys_config, 135}});
    }
}

TEST(NB_Decimal_Coded, DigitsAboveNineEndTheNumber) {
    EXPECT_EQ((std::array{Decimal_Coded(0x23), Decimal_Coded(0x1A), Decimal_Coded(0xA1)}), (std::array{23, 1, 0}));
}

TEST(NB_Leader, ClockTemperatureAndAttitude) {
    NB_Ensemble_Values v = Three_Bin_Values(0x80);
    v.month = 12, v.day = 31, v.hour = 23, v.minute = 59, v.second = 59;
    v.temperature_count = 0;
    v.pitch = -16384, v.heading = 49152;  // -90 and 270 degrees
    v.roll = 1;                           // 0.55 hundredths -> rounds to 1
    v.ens_number = 65535, v.status = 0xA5, v.battery = 77;
    const Decoded d(synth::Encode_NB_Ensemble(v));
    const Data_Set& ds = d.app.ds;
    const std::uint8_t clock[7] = {80, 12, 31, 23, 59, 59, 0};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(ds.Sub_Time(i, 0), clock[i]) << i;
    Expect_Fields({{"temperature", ds.Sub_Anc(3, 0), 4500}, {"pitch", ds.Sub_Anc(0, 0), -9000}, {"roll", ds.Sub_Anc(1, 0), 1},
                   {"heading", ds.Sub_Anc(2, 0), 27000}, {"depth", ds.Sub_Anc(4, 0), 0}, {"status", ds.Sub_Anc(6, 0), 0xA5},
                   {"battery", ds.Sub_Anc(7, 0), 77}, {"ensemble", ds.Sub_Ens_Number(0), 65535},
                   {"current", d.app.dec.Cur_Ens_Number, 65535}});
    // 45 degrees: sound speed 1571.25125 m/s.
    EXPECT_NEAR(d.app.dec.NB_Vel_Factor, 2.5 * 1571.25125 / 1536, 1e-12);
}

TEST(NB_Bottom_Track, NegatedScaledAndRangedPerBeam) {
    NB_Ensemble_Values v = Three_Bin_Values(0x80);
    v.bt_velocity = {100, -2048, -1, 2047};
    v.bt_range = {1475, 1000, 0, 65535};
    const Decoded d(synth::Encode_NB_Ensemble(v));
    const Data_Set& ds = d.app.ds;
    const double f = d.app.dec.NB_Vel_Factor;
    Expect_Fields({{"bt 0", ds.Sub_BT_Vel(0, 0), -Expected(100, f)}, {"bt 1", ds.Sub_BT_Vel(1, 0), k_bad_velocity},
                   {"bt 2", ds.Sub_BT_Vel(2, 0), -Expected(-1, f)}, {"bt 3", ds.Sub_BT_Vel(3, 0), -Expected(2047, f)},
                   {"range 0", ds.Sub_BT_Range(0, 0), static_cast<std::int32_t>(rnd(1475.0 * 153600 / 1475.1))},
                   {"a bad beam has no range", ds.Sub_BT_Range(1, 0), 0},
                   {"range 3", ds.Sub_BT_Range(3, 0), static_cast<std::int32_t>(rnd(65535.0 * 153600 / 1475.1))},
                   {"have", d.app.dec.Have_BT, true}});
    for (std::size_t b = 0; b < 4; ++b) EXPECT_EQ(ds.Sub_WM_Vel(b, 0), k_bad_velocity);
}

TEST(NB_Velocity, PackedCellsBadMarkMinusOneAndScaling) {
    auto bytes = synth::Encode_NB_Ensemble(Three_Bin_Values(0x80));  // facing up: bin k = file cell k
    std::fill_n(bytes.begin() + k_vel_block, 6, 0x00), std::fill_n(bytes.begin() + k_vel_block + 6, 6, 0xFF);
    bytes[k_vel_block] = 0x80;
    const Decoded d(bytes);
    const double f = d.app.dec.NB_Vel_Factor;
    EXPECT_EQ(d.Vel(0, 0), k_bad_velocity);
    for (std::size_t b = 1; b < 4; ++b) EXPECT_EQ(d.Vel(b, 0), 0);
    for (std::size_t b = 0; b < 4; ++b) EXPECT_EQ(d.Vel(b, 1), Expected(-1, f));

    // Scaling clamps and the bad value survives it.
    Decoded s(synth::Encode_NB_Ensemble(Three_Bin_Values(0x30)));  // factor 5
    s.app.settings.Vel_Scale = 10;
    s.app.ds.Sub_Count = 0;
    Decode_Ensemble(s.app);
    // Facing down: bin 0 = file cell 3.
    Expect_Fields({{"bad", s.Vel(0, 0), k_bad_velocity}, {"max", s.Vel(2, 2), 32767}, {"min", s.Vel(3, 2), -32767}});
}

TEST(NB_Percent_Good, ZeroMarksBeamOrCellByCoordinates) {
    NB_Ensemble_Values beam = Three_Bin_Values(0x80);  // beam coordinates, facing up
    beam.percent_good[1] = {100, 0, 100, 100};
    const Decoded b(synth::Encode_NB_Ensemble(beam));
    EXPECT_EQ((std::array{b.Vel(0, 1) == k_bad_velocity, b.Vel(1, 1) == k_bad_velocity, b.Vel(3, 1) == k_bad_velocity}),
              (std::array{false, true, false}));

    NB_Ensemble_Values earth = Three_Bin_Values(0x82);
    earth.percent_good[0] = {0, 100, 100, 100};
    earth.percent_good[1] = {100, 0, 0, 0};
    const Decoded e(synth::Encode_NB_Ensemble(earth));
    for (std::size_t c = 0; c < 4; ++c) EXPECT_EQ(e.Vel(c, 0), k_bad_velocity);
    EXPECT_NE(e.Vel(0, 1), k_bad_velocity) << "only the first byte of the cell counts";
    EXPECT_EQ(e.app.ds.Sub_PGood(1, 1, 0), 0);
}

TEST(NB_Bounds, BlocksThatDoNotFitAreSkipped) {
    const auto damaged = [](auto damage) {
        auto bytes = synth::Encode_NB_Ensemble(Three_Bin_Values(0x80));
        damage(bytes);
        return bytes;
    };
    // A bin count larger than the velocity block holds.
    const Decoded many_bins(damaged([](auto& b) { b[14 + 10] = 200; }));
    Expect_Fields({{"bt", many_bins.app.dec.Have_BT, true}, {"vel", many_bins.app.dec.Have_Vel, false}, {"pg", many_bins.app.dec.Have_PG, false}});
    // A velocity block size that runs past the ensemble stops the walk.
    const Decoded past_end(damaged([](auto& b) { b[4] = 0xFF; }));
    EXPECT_EQ((std::pair{past_end.app.dec.Have_BT, past_end.app.dec.Have_Vel || past_end.app.dec.Have_Corr || past_end.app.dec.Have_Echo}),
              (std::pair{true, false}));
    // A leader too short for its fields is not read (later blocks use the earlier set-up), nor
    // one declared shorter than its fields although bytes follow it, nor a record shorter than
    // its own header.
    const Decoded short_leader(damaged([](auto& b) {
        b.resize(14 + 20);
        std::fill(b.begin() + 2, b.begin() + 14, 0);
        b[3] = 20;
        b.push_back(0), b.push_back(0);
    }));
    const Decoded short_declared(damaged([](auto& b) { b[3] = 40; }));
    const Decoded short_header({0, 8, 0, 63, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ((std::array{short_leader.app.dec.Have_BT, short_declared.app.dec.Have_BT, short_header.app.dec.Have_BT}),
              (std::array{false, false, false}));
}

// Every bin count around the four-cell steps, both facings, random bytes with the extremes
// mixed in, against the plain definition: bytes copied in bin order, mean rounded half to even
// (or none, for percent good).
TEST(Profile_Cells, BytesAndMeansOfEveryBinCountAndFacing) {
    std::mt19937 rng(7);
    for (std::size_t n = 1; n <= 13; ++n) {
        std::vector<std::uint8_t> cells(4 * n);
        for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = static_cast<std::uint8_t>(i % 7 == 0 ? 255 : rng());
        for (bool up : {false, true}) {
            Dense_Array<std::uint8_t> out, no_mean;
            out.Resize(5, n + 1, 2);
            no_mean.Resize(5, n + 1, 2);
            Store_Byte_Profile_With_Mean(Byte_Block(cells.data(), cells.size()), n, up, out, 1);
            Store_Byte_Profile_With_Mean<false>(Byte_Block(cells.data(), cells.size()), n, up, no_mean, 1);
            for (std::size_t k = 0; k < n; ++k) {
                const std::uint8_t* c = cells.data() + 4 * (up ? k : n - 1 - k);
                unsigned sum = 0;
                for (std::size_t b = 0; b < 4; ++b) {
                    EXPECT_EQ((std::pair{out(b, k, 1), no_mean(b, k, 1)}), (std::pair{c[b], c[b]})) << n << up << k;
                    sum += c[b];
                }
                // Percent good has no mean.
                EXPECT_EQ((std::pair<long, int>{out(4, k, 1), no_mean(4, k, 1)}), (std::pair{std::lrint(sum / 4.0), 0})) << n << up << k;
            }
            EXPECT_EQ(out(0, n, 1), 0) << "nothing past the last bin";
        }
    }
}

}  // namespace
}  // namespace vantrel
