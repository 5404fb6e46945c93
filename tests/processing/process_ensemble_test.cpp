#include <gtest/gtest.h>

#include "processing/beam_ensemble.h"
#include "processing/velocity_processing.h"

namespace vantrel {
namespace {

using namespace test;

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
