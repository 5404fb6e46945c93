// The data viewer's text: golden reports and the rows it accepts.

#include <gtest/gtest.h>

#include "viewer/data_view.h"

namespace vantrel {
namespace {

constexpr std::int32_t k_bins = 8;

// Two Sub Set slots of eight bins; every bin of slot 1 differs, bin index 5 holds the
// values the golden texts show.
struct Cell_Fixture : ::testing::Test {
    Data_Set ds;
    Decoder_State dec;
    Cell_Fixture() {
        Allocate_Data_Set(ds, false, 4, 4);
        dec.Num_Bins = k_bins, dec.Bin_Size = 0.5, dec.Bin1_Dist = 1.25;
        ds.First_Bin = 1, ds.Last_Bin = k_bins;
        ds.Sub_Count = 2;
        ds.Sub_Ens_Number(1) = 1234;
        const std::uint8_t time[] = {26, 7, 4, 13, 5, 9, 42};
        for (std::size_t i = 0; i < 7; ++i) ds.Sub_Time(i, 1) = time[i];
        for (std::size_t j = 0; j < k_bins; ++j)
            for (std::size_t i = 0; i < 6; ++i) ds.Sub_Vel(i, j, 1) = static_cast<std::int16_t>(1000 + 10 * j + i);
        const std::int16_t vel[] = {-120, 35, 7, -3, 125, 2734};
        for (std::size_t i = 0; i < 6; ++i) ds.Sub_Vel(i, 5, 1) = vel[i];
        for (std::size_t i = 0; i < 5; ++i) {
            ds.Sub_Echo(i, 5, 1) = static_cast<std::uint8_t>(80 + i);
            ds.Sub_Corr(i, 5, 1) = static_cast<std::uint8_t>(120 + i);
            ds.Sub_PGood(i, 5, 1) = static_cast<std::uint8_t>(100 - i);
            ds.Sub_BT_Range(i, 1) = static_cast<std::int32_t>(3000 + 10 * i);
        }
        const std::int16_t bt[] = {10, -20, 3, 1, 22, -32768}, wm[] = {5, 6, -7, 8, 9, 1800};
        for (std::size_t i = 0; i < 6; ++i) ds.Sub_BT_Vel(i, 1) = bt[i], ds.Sub_WM_Vel(i, 1) = wm[i];
        const std::int32_t anc[] = {150, -225, 27000, 1234, 5250, 0, 0};
        for (std::size_t i = 0; i < 7; ++i) ds.Sub_Anc(i, 1) = anc[i];
        ds.Sub_First_Lat(1) = 1 << 30, ds.Sub_Last_Lat(1) = -(1 << 29), ds.Sub_Calimbro_Lat(1) = 1 << 28;
        ds.Sub_First_Lon(1) = (1 << 30) + (1 << 29), ds.Sub_Last_Lon(1) = -(1 << 30), ds.Sub_Calimbro_Lon(1) = 0;
    }
    std::string Text(std::int32_t r) { return Data_View_Text(ds, dec, 1, r).value_or("(none)"); }
};

TEST_F(Cell_Fixture, DownFacingCellWithABadBottomTrackDirection) {
    // Row 2 from the top is bin index 5, the instrument's bin 6, below the surface.
    EXPECT_EQ(Text(2),
              "Ensemble      1234         Date 26/07/04\r\n"
              "Bin              6         Time 13:05:09.42\r\n"
              "Range(m)     -3.75 \r\n"
              "\r\n"
              "Array   B1/E  B2/N  B3/V  B4/e Av/Mg    Dir\r\n"
              "V mm/s  -120    35     7    -3   125 273.4\xC2\xB0\r\n"
              "E cnt     80    81    82    83    84\r\n"
              "C cnt    120   121   122   123   124\r\n"
              "PGood    100    99    98    97\r\n"
              "B mm/s    10   -20     3     1    22-32768\xC2\xB0\r\n"
              "W mm/s     5     6    -7     8     9 180.0\xC2\xB0\r\n"
              "N mm/s     0     0     0     0     0   0.0\xC2\xB0\r\n"
              "D (cm)  3000  3010  3020  3030  3040\r\n"
              "\r\n"
              "Pitch          1.50\xC2\xB0\r\n"
              "Roll          -2.25\xC2\xB0\r\n"
              "Heading      270.00\xC2\xB0\r\n"
              "Temperature   12.34\xC2\xB0\r\n"
              "Depth Sensor   5.250 meters\r\n"
              "BIT               0\r\n"
              "                    First          Last      Calimbro\r\n"
              "LAT          90.00000000\xC2\xB0 -45.00000000\xC2\xB0  22.50000000\xC2\xB0\r\n"
              "LON         135.00000000\xC2\xB0 -90.00000000\xC2\xB0   0.00000000\xC2\xB0\r\n"
              "\r\n");
}

TEST_F(Cell_Fixture, UpFacingCellOfAClockNeverSetWithItsMicroCatString) {
    ds.Orientation_Count = 3, ds.Sub_Anc(5, 1) = 1, ds.Sub_Time(0, 1) = 80;
    dec.Have_MicroCAT = true;
    ds.Sub_MicroCAT(1) = "12.3456, 3.21";
    // Row 2 is still bin index 5: in an up-facing set that is the instrument's bin 3.
    const std::string text = Text(2);
    EXPECT_EQ(text.substr(0, text.find("\r\n\r\n")),
              "Ensemble      1234         Date 07/04\r\n"
              "Bin              3         Time 13:05:09.42\r\n"
              "Range(m)      2.25 ");
    EXPECT_NE(text.find("V mm/s  -120    35"), std::string::npos);
    EXPECT_EQ(text.substr(text.find("LON")), "LON         135.00000000\xC2\xB0 -90.00000000\xC2\xB0   0.00000000\xC2\xB0\r\n"
                                              "\r\nMicroCAT String:\r\n12.3456, 3.21\r\n");
}

TEST_F(Cell_Fixture, FlowMeterCellShowsTwoVelocitiesAndTheFlowValues) {
    dec.Is_QTRM = true;
    ds.Sub_QTRM_Flow(1) = 12345678.0, ds.Sub_QTRM_Depth(1) = 23456, ds.Sub_QTRM_Vel(1) = 1500;
    const std::string text = Text(2);
    EXPECT_NE(text.find("\r\nArray  B1/P1 B2/P2    B3    B4    Av\r\nV mm/s  -120    35\r\nE cnt "), std::string::npos);
    EXPECT_EQ(text.substr(text.find("QTRM")),
              "QTRM Q                    12.346 m\xC2\xB3/s\r\n"
              "QTRM Depth                 2.346 m\r\n"
              "QTRM Vel                   1.500 m/s\r\n");
    ds.Sub_QTRM_Flow(1) = -32768.0;
    EXPECT_NE(Text(2).find("QTRM Q      " + std::string(20, ' ') + " m\xC2\xB3/s\r\n"), std::string::npos);
}

TEST_F(Cell_Fixture, OnlyLoadedSlotsAndShownRowsGiveAText) {
    ds.First_Bin = 3, ds.Last_Bin = 6;
    EXPECT_EQ(Data_View_Bin_Index(ds, dec, 0), 5);
    EXPECT_EQ(Data_View_Bin_Index(ds, dec, 3), 2);
    // Rows below the bins shown: bounded by the rows, not by Num_Bins, so never negative.
    for (int row : {4, 7, -1}) EXPECT_FALSE(Data_View_Bin_Index(ds, dec, row)) << row;
    ds.Last_Bin = k_bins + 4;  // more than the file holds
    EXPECT_FALSE(Data_View_Bin_Index(ds, dec, 0));
    EXPECT_EQ(Data_View_Bin_Index(ds, dec, 4), k_bins - 1);
    for (int slot : {2, -1, 0}) EXPECT_EQ(Data_View_Text(ds, dec, slot, 4).has_value(), slot == 0) << slot;
}

}  // namespace
}  // namespace vantrel
