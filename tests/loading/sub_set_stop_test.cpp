#include <gtest/gtest.h>

#include <algorithm>

#include "app_state.h"
#include "loading/file_loading.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel {
namespace {

// A stop half-way leaves every slot loaded so far processed, and the error-velocity
// statistics of exactly those slots, as a load of that many ensembles gives.
TEST(Sub_Set_Stop, StoppedLoadEqualsALoadOfWhatItReached) {
    test::Temp_Folder dir;
    const std::string path = dir.Path("stop.ens");
    synth::Write_Synth_File(path, {.ensembles = 600, .bins = 20, .bottom_track = true, .noise = 20, .pitch_amplitude = 5, .roll_amplitude = 5});

    App_State stopped, whole;
    Open_File_Host host;
    for (App_State* app : {&stopped, &whole}) {
        app->settings.Max_Sub_Ens = 500;
        app->settings.EoP_Options[k_eop_rssi] = true;
        ASSERT_EQ(Open_File(*app, host, path), Outcome_Kind::k_ok);
    }
    Open_File_Host stopping;
    stopping.Hooks().on_percent = [&](int percent) {
        if (percent >= 50) stopping.Hooks().stop_requested = true;
    };
    ASSERT_TRUE(Read_File_Selection(stopped, stopping, 1, 400, true));
    const Data_Set& got = stopped.ds;
    ASSERT_EQ(got.Sub_Count, 200);
    ASSERT_TRUE(Read_File_Selection(whole, host, 1, 200, false));
    const Data_Set& want = whole.ds;
    ASSERT_EQ(want.Sub_Count, 200);
    for (std::size_t s = 0; s < 200; ++s) {
        const auto vel = [&](const Data_Set& ds) { return ds.Sub_Vel.Slice(s); };
        ASSERT_TRUE(std::equal(vel(got), vel(got) + got.Sub_Vel.Slice_Size(), vel(want))) << "slot " << s;
        EXPECT_EQ(got.Sub_BT_Vel(4, s), want.Sub_BT_Vel(4, s)) << "slot " << s;
    }
    for (std::size_t b = 0; b < 20; ++b) {
        for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(got.Bin_Work(c, b), want.Bin_Work(c, b)) << b;
    }
}

}  // namespace
}  // namespace vantrel
