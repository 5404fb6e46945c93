#include <gtest/gtest.h>

#include "dataset/data_codes.h"

namespace vantrel {
namespace {

TEST(Contour_Codes, EveryCodeDecodesToItsComponentAndBackAndStraysToNone) {
    const struct {
        Code_Family family;
        std::int32_t first, components;
    } families[] = {{Code_Family::k_echo, 1, 5},          {Code_Family::k_corr, 10, 5},
                    {Code_Family::k_vel, 100, 6},         {Code_Family::k_pgood, 1000, 4},
                    {Code_Family::k_bt_vel, 10000, 6},    {Code_Family::k_wm_vel, 100000, 6},
                    {Code_Family::k_nav_vel, 1000000, 6}};
    for (const auto& f : families) {
        for (std::int32_t c = 0; c < f.components; ++c) {
            const std::int32_t code = f.first * (c + 1);
            const Contour_Code_Parts parts = Decode_Contour_Code(code);
            EXPECT_EQ(parts.family, f.family) << code;
            EXPECT_EQ(parts.component, c) << code;
            EXPECT_EQ(Contour_Code_Of(f.family, c), code);
        }
    }
    for (std::int32_t stray : {0, -1, -100, 6, 15, 60, 250, 700, 1500, 5000, 70000, 700000, 7000000})
        EXPECT_EQ(Decode_Contour_Code(stray).family, Code_Family::k_none) << stray;
}

}  // namespace
}  // namespace vantrel
