#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>

#include "decode/bb_decoder.h"
#include "platform/text_format.h"
#include "support/bb_builder.h"
#include "support/expect_fields.h"

namespace vantrel::test {
namespace {

struct BB_Decoder : ::testing::Test, Decode_Fixture {};

TEST_F(BB_Decoder, VelocityScalingKeepsTheBadValueAndRoundsHalvesToEven) {
    app.settings.Vel_Scale = 2;
    const Fixed_Leader_Fields fl{.bins = 1};
    Bytes vel = Block(0x0100, 10);
    Put_U16(vel, 2, 0x8000), Put_U16(vel, 4, 0x7FFF), Put_U16(vel, 6, static_cast<std::uint16_t>(-100)), Put_U16(vel, 8, 5);
    Decode(Ensemble({Fixed_Leader(fl), vel}));
    Expect_Fields({{"bad", app.ds.Sub_Vel(0, 0, 0), -32768}, {"max", app.ds.Sub_Vel(1, 0, 0), 32767}, {"neg", app.ds.Sub_Vel(2, 0, 0), -200}});
    app.settings.Vel_Scale = 0.5;
    Decode(Ensemble({Fixed_Leader(fl), vel}));
    Expect_Fields({{"bad", app.ds.Sub_Vel(0, 0, 0), -32768}, {"2.5 rounds to 2", app.ds.Sub_Vel(3, 0, 0), 2}});
}

TEST_F(BB_Decoder, SecondBlockOfATypeIsIgnored) {
    const Fixed_Leader_Fields fl{.bins = 2};
    Bytes first = Block(0x0100, 18), second = Block(0x0100, 18), text1 = Block(0x0703, 8), text2 = Block(0x0800, 8);
    Put_U16(first, 2, 10), Put_U16(second, 2, 999), text1[2] = 'a', text2[2] = 'b';
    Decode(Ensemble({Fixed_Leader(fl), first, second, text1, text2}));
    EXPECT_EQ(app.ds.Sub_MicroCAT(0), "a");
    Expect_Fields({{"vel", app.ds.Sub_Vel(0, 1, 0), 10}, {"have vel", app.dec.Have_Vel, true},
                   {"have text", app.dec.Have_MicroCAT, true}, {"have bt", app.dec.Have_BT, false}});
}

TEST_F(BB_Decoder, FlipInvertsFacingWhetherOrNotAFileIsLoaded) {
    app.load.Flip = true;
    for (const bool loaded : {false, true}) {
        app.ds.File_Loaded = loaded;
        Decode(Ensemble({Fixed_Leader()}));
        Expect_Fields({{"up", app.dec.Sys_Config & 0x80, 0x80}, {"orientation", app.ds.Sub_Anc(5, 0), 1}});
    }
}

TEST_F(BB_Decoder, VariableLeaderFieldsPressureDepthAndFirmwareRevisions) {
    Bytes vl = Variable_Leader(0x123456);
    vl[4] = 126;  // year byte above 99
    // A transducer depth of 10 m and salinity 0, so that the pressure depth d = 1.02 P.
    Put_U16(vl, 12, 0xBEEF), Put_U16(vl, 16, 100), Put_U16(vl, 18, 35999), Put_U16(vl, 20, static_cast<std::uint16_t>(-1500));
    Put_U16(vl, 22, 250), Put_U16(vl, 24, 0), Put_U16(vl, 26, static_cast<std::uint16_t>(-125)), vl[35] = 140;
    Put_U32(vl, 48, 9900);  // 10098 mm: agrees within 200 mm
    Decode(Ensemble({Fixed_Leader(), vl}));
    const Data_Set& ds = app.ds;
    Expect_Fields({{"ensemble", ds.Sub_Ens_Number(0), 0x123456}, {"current", app.dec.Cur_Ens_Number, 0x123456},
                   {"year", ds.Sub_Time(0, 0), 26}, {"status", ds.Sub_Anc(6, 0), 0xBEEF}, {"heading", ds.Sub_Anc(2, 0), 35999},
                   {"pitch", ds.Sub_Anc(0, 0), -1500}, {"roll", ds.Sub_Anc(1, 0), 250}, {"temperature", ds.Sub_Anc(3, 0), -125},
                   {"battery", ds.Sub_Anc(7, 0), 140}, {"depth", ds.Sub_Anc(4, 0), 10098},
                   {"agree", app.dec.Pressure_Agree_Count, 1}});

    Put_U32(vl, 48, 20000);  // 20.4 m: disagrees, the transducer depth stays
    app.settings.Water_Density = 1025;
    Decode(Ensemble({Fixed_Leader(), vl}));
    Expect_Fields({{"depth", ds.Sub_Anc(4, 0), 10000}, {"agree", app.dec.Pressure_Agree_Count, 0}});

    Put_U32(vl, 48, 10000);  // 10200 mm: exactly 200 mm off already disagrees
    Decode(Ensemble({Fixed_Leader(), vl}));
    Expect_Fields({{"depth", ds.Sub_Anc(4, 0), 10000}, {"agree", app.dec.Pressure_Agree_Count, -1}});

    Put_U32(vl, 48, 9900);  // agrees again: density scales the pressure depth
    vl[4] = 99;             // and a year byte of 99 is 99
    Decode(Ensemble({Fixed_Leader(), vl}));
    Expect_Fields({{"depth", ds.Sub_Anc(4, 0), static_cast<std::int32_t>(rnd(10098.0 * 1000 / 1025))},
                   {"year", ds.Sub_Time(0, 0), 99}});
    // Firmware revisions from 100 count from zero.
    Expect_Fields<double>({{"16.99", Firmware_Version(16, 99), 16.99}, {"16.100", Firmware_Version(16, 100), 16.0},
                           {"50.135", Firmware_Version(50, 135), 50.35}});
}

TEST_F(BB_Decoder, LongTwoTypeRecordSkipsItsVariableLeader) {
    Decode(Ensemble({Fixed_Leader(), Variable_Leader(7)}));
    ASSERT_EQ(app.dec.Cur_Ens_Number, 7);
    Bytes padded = Variable_Leader(8);
    padded.resize(8256 - 6 - 4 - 59);  // byte count 8256
    Decode(Ensemble({Fixed_Leader(), padded}), 1);
    Expect_Fields({{"bytes", app.dec.Ens_Bytes, 8256}, {"have VL", app.dec.Have_VL, false}, {"have FL", app.dec.Have_FL, true},
                   {"current", app.dec.Cur_Ens_Number, 7}, {"ensemble", app.ds.Sub_Ens_Number(1), 0},
                   {"month", app.ds.Sub_Time(1, 1), 0}});

    // With a third data type the same record is an ordinary ensemble.
    Decode(Ensemble({Fixed_Leader(), padded, Block(0x0500, 4)}), 1);
    EXPECT_EQ(app.ds.Sub_Ens_Number(1), 8);
}

Bytes Bottom_Track(int v_beam1, unsigned range_low, std::uint8_t range_high) {
    Bytes bt = Block(0x0600, 85);
    // Bytes 4-5 are the re-acquire delay and the longitude's low word; the latitude's high
    // word at 14 is above 2^31, so negative.
    Put_U16(bt, 2, 3), Put_U16(bt, 4, 0x5678), bt[6] = 220, Put_U16(bt, 10, 1000), Put_U16(bt, 12, 0x0001), Put_U16(bt, 14, 0x8000);
    Put_U16(bt, 16, range_low), bt[77] = range_high, Put_U16(bt, 24, static_cast<std::uint16_t>(v_beam1)), Put_U16(bt, 26, 0x8000);
    Put_U16(bt, 46, 0x1234), Put_U16(bt, 50, 40), Put_U16(bt, 52, 0x8000), Put_U16(bt, 70, 2000);
    return bt;
}

TEST_F(BB_Decoder, BottomTrackSignsRangesAndPositions) {
    Fixed_Leader_Fields fl;
    fl.version = 4, fl.revision = 99;  // 4.99: range high bytes ignored
    Decode(Ensemble({Fixed_Leader(fl), Bottom_Track(100, 5000, 2)}));
    const Data_Set& ds = app.ds;
    Expect_Fields({{"bt 0", ds.Sub_BT_Vel(0, 0), -100}, {"bt 1", ds.Sub_BT_Vel(1, 0), -32768}, {"range", ds.Sub_BT_Range(0, 0), 5000},
                   {"wm 0", ds.Sub_WM_Vel(0, 0), -40}, {"ref 0", ds.Sub_Ref_Vel(0, 0), -40}, {"wm 1", ds.Sub_WM_Vel(1, 0), -32768},
                   {"ref 1", ds.Sub_Ref_Vel(1, 0), -32768}, {"lon", ds.Sub_Calimbro_Lon(0), 0x12345678},
                   {"lat", ds.Sub_Calimbro_Lat(0), static_cast<std::int32_t>(0x80000001u)},
                   {"max depth", app.dec.BT_Max_Depth, 2000}, {"corr min", app.dec.BT_Corr_Min, 220}});

    fl.version = 5, fl.revision = 0;
    fl.mode = 15;  // mode 15 keeps the bottom-track sign
    Decode(Ensemble({Fixed_Leader(fl), Bottom_Track(100, 5000, 2)}));
    // The reference layer is always negated.
    Expect_Fields({{"bt 0", ds.Sub_BT_Vel(0, 0), 100}, {"wm 0", ds.Sub_WM_Vel(0, 0), -40}, {"range", ds.Sub_BT_Range(0, 0), 2 * 65536 + 5000}});
}

TEST_F(BB_Decoder, NavigationDirectionAndSpeed) {
    Bytes nav = Block(0x2000, 48);
    // Latitude 90 and longitude -90 degrees; a speed limited to 32767, due east.
    Put_U32(nav, 14, 0x40000000u), Put_U32(nav, 18, 0xC0000000u), Put_U16(nav, 40, 40000), Put_U16(nav, 42, 16384);
    Decode(Ensemble({Fixed_Leader(), nav}));
    const Data_Set& ds = app.ds;
    Expect_Fields({{"lat", ds.Sub_First_Lat(0), 0x40000000}, {"lon", ds.Sub_First_Lon(0), -0x40000000}, {"dir", ds.Sub_Nav_Vel(5, 0), 900},
                   {"speed", ds.Sub_Nav_Vel(4, 0), 32767}, {"east", ds.Sub_Nav_Vel(0, 0), 32767}, {"north", ds.Sub_Nav_Vel(1, 0), 0}});
}

TEST_F(BB_Decoder, FlowMeterBlockNeedsTheFlowMeterFirmware) {
    Bytes q = Block(0x1300, 40);
    Put_U16(q, 2, 12345), Put_U16(q, 8, 101), Put_U16(q, 10, 102), Put_U16(q, 36, 0x0001), Put_U16(q, 38, 0x0002);  // mean 101.5 -> 102
    Bytes vl = Variable_Leader(3);
    Decode(Ensemble({Fixed_Leader(), vl, q}));
    Expect_Fields({{"have", app.dec.Have_QTRM, false}, {"depth", app.ds.Sub_QTRM_Depth(0), 0}});

    Decode(Ensemble({Fixed_Leader({.version = 6}), vl, q}));
    EXPECT_DOUBLE_EQ(app.ds.Sub_QTRM_Flow(0), 2 * 65536.0 + 1);
    // The month comes from the variable leader.
    Expect_Fields({{"have", app.dec.Have_QTRM, true}, {"depth", app.ds.Sub_QTRM_Depth(0), 12345},
                   {"vel", app.ds.Sub_QTRM_Vel(0), 102}, {"year", app.ds.Sub_QTRM_Time(0, 0), 19}, {"month", app.ds.Sub_QTRM_Time(2, 0), 3}});
}

TEST_F(BB_Decoder, TextBlockStopsAtZeroAt256CharactersOrAtTheEnsembleEnd) {
    Bytes text = Block(0x0703, 300);
    for (std::size_t i = 2; i < 300; ++i) text[i] = 'x';
    Decode(Ensemble({text}));
    EXPECT_EQ(app.ds.Sub_MicroCAT(0), std::string(256, 'x'));

    Bytes short_text = Block(0x0800, 6);  // no zero byte before the checksum
    std::copy_n("abcd", 4, short_text.begin() + 2);
    Decode(Ensemble({short_text}));
    EXPECT_EQ(app.ds.Sub_MicroCAT(0), "abcd");
}

// Checksum-correct ensembles whose structure lies: nothing may be read or written outside
// the buffer or the arrays (run these under the sanitizers).
using Malformed_Ensemble = BB_Decoder;

TEST_F(Malformed_Ensemble, OffsetsAndBlocksReachingPastTheEndAndLeadersTooShortAreSkipped) {
    Fixed_Leader_Fields fl;
    fl.bins = 200;  // the velocity block below holds only 2 cells
    Decode(Ensemble({Fixed_Leader(fl), Block(0x0100, 18), Block(0x0300, 10)}));
    EXPECT_EQ((std::array{app.dec.Have_FL, app.dec.Have_Vel, app.dec.Have_Echo}), (std::array{true, false, false}));

    // An offset entry pointing beyond the ensemble, and one at its last byte.
    Bytes bad = Ensemble({Fixed_Leader(), Block(0x0080, 65)});
    const unsigned n = static_cast<unsigned>(bad[2] | (bad[3] << 8));
    Put_U16(bad, 8, 60000);
    Put_U16(bad, 6, n - 1);
    Fix_Checksum(bad);
    Decode(bad);
    EXPECT_FALSE(app.dec.Have_FL || app.dec.Have_VL);
    // Leaders too short for their fields.
    for (unsigned id : {0x0000u, 0x0080u, 0x0600u, 0x2000u}) {
        Decode(Ensemble({Block(id, 20)}));
        EXPECT_FALSE(app.dec.Have_FL || app.dec.Have_VL || app.dec.Have_BT || app.dec.Have_Nav) << id;
    }
    // A fixed leader of firmware 5 needs the bottom-track range high bytes: 72 bytes are not enough.
    fl = {.version = 5};
    Decode(Ensemble({Fixed_Leader(fl), Block(0x0600, 72)}));
    EXPECT_FALSE(app.dec.Have_BT);
    fl.version = 4;
    Decode(Ensemble({Fixed_Leader(fl), Block(0x0600, 72)}));
    EXPECT_TRUE(app.dec.Have_BT);
}

TEST_F(Malformed_Ensemble, TinyAndInconsistentRecordsDecodeNothing) {
    // Byte count 4: the data-type count would be the checksum's second byte.
    Bytes tiny = {0x7F, 0x7F, 0x04, 0x00, 0x02, 0x01};
    Decode(tiny);
    EXPECT_EQ((std::pair{app.dec.Num_Data_Types, app.dec.Have_FL}), (std::pair{0, false}));

    // A table of 255 entries in a 20-byte record.
    Bytes many(20, 0);
    many[0] = many[1] = 0x7F;
    Put_U16(many, 2, 18);
    many[5] = 255;
    Fix_Checksum(many);
    Decode(many);
    EXPECT_EQ(app.dec.Num_Data_Types, 255);

    // A byte count larger than the buffer actually holds.
    Bytes lying = Ensemble({Fixed_Leader()});
    Put_U16(lying, 2, 4000);
    Decode(lying);
    EXPECT_TRUE(app.dec.Have_FL);

    // A slot beyond the arrays is never written.
    Decode(Ensemble({Fixed_Leader(), Variable_Leader(5)}), 9999);
    EXPECT_FALSE(app.dec.Have_VL);
}

TEST_F(Malformed_Ensemble, MaximumBinsFitTheArrays) {
    Fixed_Leader_Fields fl;
    fl.bins = 255;
    fl.sys_config |= 0x80;
    Bytes vel = Block(0x0100, 2 + 8 * 255);
    Put_U16(vel, 2 + 8 * 254, 1234);
    Decode(Ensemble({Fixed_Leader(fl), vel, Block(0x0200, 2 + 4 * 255), Block(0x0400, 2 + 4 * 255)}));
    EXPECT_TRUE(app.dec.Have_Vel && app.dec.Have_Corr && app.dec.Have_PG);
    EXPECT_EQ(app.ds.Sub_Vel(0, 254, 0), 1234);
}

}  // namespace
}  // namespace vantrel::test
