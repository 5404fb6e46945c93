#include <gtest/gtest.h>

#include <cmath>

#include "platform/text_format.h"
#include "processing/beam_geometry.h"
#include "processing/velocity_processing.h"

namespace vantrel {
namespace {

void Put_U16(std::vector<std::uint8_t>& b, std::size_t at, int value) {
    b[at] = static_cast<std::uint8_t>(value & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

constexpr int k_bins = 20;
constexpr std::int32_t k_sys_config = 0x0100;  // 20 degrees, down-facing, concave
constexpr int k_heading = 4500;                  // hundredths of a degree

// Earth velocity of file cell c (counted from the transducer), mm/s.
double East_Of_Cell(int c) { return 100 + 10.0 * c; }

// A broadband ensemble in beam coordinates: header, fixed and variable leader, velocity.
std::vector<std::uint8_t> Beam_Ensemble() {
    const std::size_t fixed = 12, variable = fixed + 42, velocity = variable + 36;
    const std::size_t bytes = velocity + 2 + 8 * k_bins;
    std::vector<std::uint8_t> b(bytes + 2, 0);
    b[0] = b[1] = 0x7F;
    Put_U16(b, 2, static_cast<int>(bytes));
    b[5] = 3;
    Put_U16(b, 6, static_cast<int>(fixed));
    Put_U16(b, 8, static_cast<int>(variable));
    Put_U16(b, 10, static_cast<int>(velocity));
    b[fixed + 2] = 16;  // firmware version
    Put_U16(b, fixed + 4, k_sys_config);
    b[fixed + 9] = k_bins;
    Put_U16(b, fixed + 12, 100);  // bin size, cm
    Put_U16(b, fixed + 32, 150);  // bin-1 distance, cm
    Put_U16(b, fixed + 34, 100);  // pulse length, cm
    Put_U16(b, variable, 0x0080);
    Put_U16(b, variable + 2, 7);
    Put_U16(b, variable + 18, k_heading);
    Put_U16(b, velocity, 0x0100);
    const Beam_Geometry g = Make_Beam_Geometry(k_sys_config);
    const Rotation r = Instrument_To_Earth(Make_Attitude(0, 0, k_heading));
    for (int c = 0; c < k_bins; ++c) {
        const auto beams = Earth_To_Beams(g, r, East_Of_Cell(c), -50, 5);
        for (std::size_t k = 0; k < 4; ++k) {
            Put_U16(b, velocity + 2 + 8 * static_cast<std::size_t>(c) + 2 * k,
                    static_cast<std::int16_t>(rnd(beams[k])) & 0xFFFF);
        }
    }
    return b;
}

TEST(Process_Ensemble, DecodesThenTransformsInDataSetOrder) {
    App_State app;
    Allocate_Data_Set(app.ds, false, 2, 2);
    Load_Default_Options(app.settings);
    app.dec.Data_Structure = k_structure_bb;
    app.dec.Ens_Buffer = Beam_Ensemble();
    app.dec.Ens_Bytes = static_cast<std::int32_t>(app.dec.Ens_Buffer.size()) - 2;
    app.ds.Sub_Count = 1;
    ASSERT_TRUE(Process_Ensemble(app));
    ASSERT_EQ(app.dec.Num_Bins, k_bins);
    for (int k = 0; k < k_bins; ++k) {
        // Facing down: index 0 is the farthest cell.
        const int cell = k_bins - 1 - k;
        EXPECT_NEAR(app.ds.Sub_Vel(0, k, 1), East_Of_Cell(cell), 1) << "index " << k;
        EXPECT_NEAR(app.ds.Sub_Vel(1, k, 1), -50, 1) << "index " << k;
        EXPECT_NEAR(app.ds.Sub_Vel(2, k, 1), 5, 1) << "index " << k;
        EXPECT_NE(app.ds.Sub_Vel(5, k, 1), 0);
    }
}

TEST(Process_Ensemble, UnknownStructureLeavesTheSlotAlone) {
    App_State app;
    Allocate_Data_Set(app.ds, false, 2, 2);
    app.dec.Data_Structure = k_structure_unknown;
    app.dec.Num_Bins = 4;
    app.settings.EoP_Options[k_eop_bt_depth] = true;
    app.dec.Have_BT = true;
    app.ds.Sub_BT_Range(0, 0) = 100;
    for (std::size_t c = 0; c < 4; ++c) app.ds.Sub_Vel(c, 0, 0) = 123;
    EXPECT_FALSE(Process_Ensemble(app));
    for (std::size_t c = 0; c < 4; ++c) EXPECT_EQ(app.ds.Sub_Vel(c, 0, 0), 123);
}

}  // namespace
}  // namespace vantrel
