// Checksum-correct ensembles whose structure lies: nothing may be read or written
// outside the buffer or the arrays (run these under the sanitizers).
#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "support/bb_builder.h"

namespace vantrel::test {
namespace {

TEST(Malformed_Ensemble, OffsetsAndBlocksReachingPastTheEndAndLeadersTooShortAreSkipped) {
    Decode_Fixture f;
    Fixed_Leader_Fields fl;
    fl.bins = 200;  // the velocity block below holds only 2 cells
    f.Decode(Ensemble({Fixed_Leader(fl), Block(0x0100, 18), Block(0x0300, 10)}));
    EXPECT_EQ((std::array{f.app.dec.Have_FL, f.app.dec.Have_Vel, f.app.dec.Have_Echo}), (std::array{true, false, false}));

    // An offset entry pointing beyond the ensemble, and one at its last byte.
    Bytes bad = Ensemble({Fixed_Leader(), Block(0x0080, 65)});
    const unsigned n = static_cast<unsigned>(bad[2] | (bad[3] << 8));
    Put_U16(bad, 8, 60000);
    Put_U16(bad, 6, n - 1);
    Fix_Checksum(bad);
    f.Decode(bad);
    EXPECT_FALSE(f.app.dec.Have_FL || f.app.dec.Have_VL);
    // Leaders too short for their fields.
    for (unsigned id : {0x0000u, 0x0080u, 0x0600u, 0x2000u}) {
        f.Decode(Ensemble({Block(id, 20)}));
        EXPECT_FALSE(f.app.dec.Have_FL || f.app.dec.Have_VL || f.app.dec.Have_BT || f.app.dec.Have_Nav) << id;
    }
    // A fixed leader of firmware 5 needs the bottom-track range high bytes: 72 bytes are not enough.
    fl = {.version = 5};
    f.Decode(Ensemble({Fixed_Leader(fl), Block(0x0600, 72)}));
    EXPECT_FALSE(f.app.dec.Have_BT);
    fl.version = 4;
    f.Decode(Ensemble({Fixed_Leader(fl), Block(0x0600, 72)}));
    EXPECT_TRUE(f.app.dec.Have_BT);
}

TEST(Malformed_Ensemble, TinyAndInconsistentRecordsDecodeNothing) {
    Decode_Fixture f;
    // Byte count 4: the data-type count would be the checksum's second byte.
    Bytes tiny = {0x7F, 0x7F, 0x04, 0x00, 0x02, 0x01};
    f.Decode(tiny);
    EXPECT_EQ((std::pair{f.app.dec.Num_Data_Types, f.app.dec.Have_FL}), (std::pair{0, false}));

    // A table of 255 entries in a 20-byte record.
    Bytes many(20, 0);
    many[0] = many[1] = 0x7F;
    Put_U16(many, 2, 18);
    many[5] = 255;
    Fix_Checksum(many);
    f.Decode(many);
    EXPECT_EQ(f.app.dec.Num_Data_Types, 255);

    // A byte count larger than the buffer actually holds.
    Bytes lying = Ensemble({Fixed_Leader()});
    Put_U16(lying, 2, 4000);
    f.Decode(lying);
    EXPECT_TRUE(f.app.dec.Have_FL);

    // A slot beyond the arrays is never written.
    f.Decode(Ensemble({Fixed_Leader(), Variable_Leader(5)}), 9999);
    EXPECT_FALSE(f.app.dec.Have_VL);
}

TEST(Malformed_Ensemble, MaximumBinsFitTheArrays) {
    Decode_Fixture f;
    Fixed_Leader_Fields fl;
    fl.bins = 255;
    fl.sys_config |= 0x80;
    Bytes vel = Block(0x0100, 2 + 8 * 255);
    Put_U16(vel, 2 + 8 * 254, 1234);
    f.Decode(Ensemble({Fixed_Leader(fl), vel, Block(0x0200, 2 + 4 * 255), Block(0x0400, 2 + 4 * 255)}));
    EXPECT_TRUE(f.app.dec.Have_Vel && f.app.dec.Have_Corr && f.app.dec.Have_PG);
    EXPECT_EQ(f.app.ds.Sub_Vel(0, 254, 0), 1234);
}

}  // namespace
}  // namespace vantrel::test
