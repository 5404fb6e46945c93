#include <gtest/gtest.h>

#include "dataset/data_codes.h"

namespace vantrel {
namespace {

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
}  // namespace vantrel
