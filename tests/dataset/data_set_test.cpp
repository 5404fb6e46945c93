#include <gtest/gtest.h>

#include "dataset/data_codes.h"
#include "dataset/data_set.h"
#include "dataset/max_ensembles.h"
#include "support/expect_fields.h"

namespace vantrel::test {
namespace {

TEST(Data_Set, CopyToWholeSetCopiesUsedBinsOnlyAndReallocationKeepsIt) {
    Data_Set ds;
    Allocate_Data_Set(ds, true, 256, 256);
    ds.Sub_Count = 2, ds.First_Ens = 41, ds.Ens_Step = 3;
    for (std::size_t s = 0; s < 3; ++s) {
        for (std::size_t bin = 0; bin < 256; ++bin) {
            for (std::size_t c = 0; c < 8; ++c) ds.Sub_Vel(c, bin, s) = static_cast<std::int16_t>(100 * s + bin + c);
            ds.Sub_Echo(4, bin, s) = 9, ds.Sub_PGood(4, bin, s) = 5;
        }
        ds.Sub_BT_Range(5, s) = 77, ds.Sub_BT_Range(4, s) = 66;
        ds.Sub_Time(6, s) = 12, ds.Sub_Anc(7, s) = -3;
    }
    Copy_To_Whole_Set(ds, 25);
    Expect_Fields({{"count", ds.Whole_Count, 2}, {"first", ds.Whole_First_Ens, 41}, {"step", ds.Whole_Step, 3},
                   {"vel", ds.Whole_Vel(5, 24, 1), 100 + 24 + 5}, {"bins from Num_Bins on are left alone", ds.Whole_Vel(0, 25, 1), 0},
                   {"slots from Sub_Count on too", ds.Whole_Vel(0, 0, 2), 0}, {"echo", ds.Whole_Echo(4, 3, 0), 9},
                   {"percent good components 0..3 only", ds.Whole_PGood(4, 3, 0), 0}, {"range", ds.Whole_BT_Range(4, 1), 66},
                   {"time", ds.Whole_Time(6, 1), 12}, {"anc", ds.Whole_Anc(7, 0), -3}});

    Allocate_Data_Set(ds, false, 4000, 256);
    EXPECT_EQ(ds.Sub_Slots(), 4001);
    EXPECT_EQ(ds.Sub_Vel(0, 0, 0), 0);
    EXPECT_EQ(ds.Whole_Vel(5, 24, 1), 129);  // the Whole Set keeps the previous copy
}

TEST(Data_Set, WideningToMoreBinsKeepsEveryValueInBothSets) {
    Data_Set ds;
    Allocate_Data_Set(ds, true, 5, 3, 7);
    for (std::size_t s = 0; s < 6; ++s) {
        for (std::size_t b = 0; b < 7; ++b) {
            ds.Sub_Vel(7, b, s) = static_cast<std::int16_t>(-100 * s - b);
            ds.Sub_PGood(4, b, s) = static_cast<std::uint8_t>(10 * s + b);
            if (s < 4) ds.Whole_Echo(0, b, s) = static_cast<std::uint8_t>(20 * s + b + 1);
        }
    }
    Fit_Profile_Bins(ds, 5);  // fewer: nothing moves
    EXPECT_EQ(Profile_Bins(ds), 7);
    Fit_Profile_Bins(ds, 30);
    EXPECT_EQ(Profile_Bins(ds), 30);
    ASSERT_EQ(ds.Whole_Echo.Extent(1), 30u);
    for (std::size_t s = 0; s < 6; ++s) {
        for (std::size_t b = 0; b < 30; ++b) {
            // New cells were not measured by the slots already loaded.
            EXPECT_EQ(ds.Sub_Vel(7, b, s), b < 7 ? -100 * static_cast<int>(s) - static_cast<int>(b) : k_bad_velocity);
            EXPECT_EQ(ds.Sub_PGood(4, b, s), b < 7 ? 10 * s + b : 0);
            if (s < 4) {
                EXPECT_EQ(ds.Whole_Echo(0, b, s), b < 7 ? 20 * s + b + 1 : 0);
            }
        }
    }
}

TEST(Max_Ensembles, AnswersAreLimitedTo128Through8192) {
    Expect_Fields({{"many", Max_Sub_Ens_From_Answer("100000", 256), 8192}, {"none", Max_Sub_Ens_From_Answer("", 300), 300},
                   {"text", Max_Sub_Ens_From_Answer("lots", 300), 128}, {"fraction", Max_Sub_Ens_From_Answer(" 1000.5", 300), 1000},
                   {"words after", Max_Sub_Ens_From_Answer("4096 ensembles", 300), 4096}});
}

TEST(Contour_Codes, CodesDecodeToTheirComponentAndBackAndStraysToNone) {
    const struct {
        std::int32_t code;
        Code_Family family;
        std::int32_t component;
    } known[] = {{1, Code_Family::k_echo, 0},        {50, Code_Family::k_corr, 4},         {600, Code_Family::k_vel, 5},
                 {2000, Code_Family::k_pgood, 1},    {40000, Code_Family::k_bt_vel, 3},    {600000, Code_Family::k_wm_vel, 5},
                 {1000000, Code_Family::k_nav_vel, 0}};
    for (const auto& k : known) {
        const Contour_Code_Parts parts = Decode_Contour_Code(k.code);
        EXPECT_EQ((std::pair{parts.family, parts.component}), (std::pair{k.family, k.component})) << k.code;
        EXPECT_EQ(Contour_Code_Of(k.family, k.component), k.code);
    }
    for (std::int32_t stray : {0, -1, -100, 6, 15, 60, 250, 700, 1500, 5000, 70000, 700000, 7000000})
        EXPECT_EQ(Decode_Contour_Code(stray).family, Code_Family::k_none) << stray;
}

}  // namespace
}  // namespace vantrel::test
