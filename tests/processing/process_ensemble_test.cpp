#include <gtest/gtest.h>

#include "app_state.h"
#include "processing/velocity_processing.h"

namespace vantrel {
namespace {

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
