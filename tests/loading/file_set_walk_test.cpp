// The thinned walk across numbered file sets against the step rule: of N ensembles
// numbered from 1, those numbered 1 + i x (Ens_Step + 1) are kept, up to the last one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_state.h"
#include "loading/file_loading.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel {
namespace {

struct Set_Case {
    std::int64_t per_member, members;
    std::int32_t max_whole;
};

// Ensemble number from the slot's clock: synth files start on day 1 at 12:00:00, one second apart.
std::int64_t Number_Of_Slot(const Data_Set& ds, std::size_t slot) {
    const auto& t = ds.Whole_Time;
    return (t(2, slot) - 1) * 86400LL + (t(3, slot) - 12) * 3600LL + t(4, slot) * 60LL + t(5, slot) + 1;
}

void Expect_Step_Rule(const Set_Case& c) {
    SCOPED_TRACE(testing::Message() << c.per_member << " ensembles x " << c.members << " members, Max_Whole_Ens " << c.max_whole);
    test::Temp_Folder dir;
    const std::int64_t n = c.per_member * c.members;
    const std::string name = dir.Path("set.000");
    synth::Write_Synth_File(name, {.ensembles = n, .bins = 1, .split_every = c.per_member});

    App_State app;
    app.menus.MultiFile = true;
    app.settings.Max_Whole_Ens = c.max_whole;
    Open_File_Host host;
    ASSERT_EQ(Open_File(app, host, name), n >= 2 ? Outcome_Kind::k_ok : Outcome_Kind::k_too_few);
    if (n < 2) return;
    const std::int64_t step = n / c.max_whole;
    ASSERT_EQ(app.ds.Ens_Step, step);
    const std::int64_t kept = (n - 1) / (step + 1) + 1;
    ASSERT_EQ(app.ds.Whole_Count, kept);
    for (std::int64_t i = 0; i < kept; ++i) {
        ASSERT_EQ(Number_Of_Slot(app.ds, static_cast<std::size_t>(i)), 1 + i * (step + 1)) << "slot " << i;
    }
    EXPECT_GT(1 + (kept - 1) * (step + 1), n - (step + 1));  // spread into the last member
}

TEST(File_Set_Walk, KeepsTheStepRuleOverSetsOfAnySize) {
    // A skip ending exactly at a member's end used to enter every later member at its last byte.
    std::vector<Set_Case> cases = {{1, 1000, 256}, {2, 999, 100}, {3, 256, 256}, {100, 300, 256}, {999, 256, 1000}, {999, 3, 7}};
    // Small sets of every member count.
    for (std::int64_t members = 1; members <= 12; ++members)
        for (std::int64_t per_member : {1, 2, 3}) cases.push_back({per_member, members, 5});
    for (const Set_Case& c : cases) Expect_Step_Rule(c);
}

}  // namespace
}  // namespace vantrel
