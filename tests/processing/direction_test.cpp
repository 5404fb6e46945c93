// The stored direction of every bin against the direction formula itself, over every
// east and north component of a wide square and a sweep of large ones: the shortcut
// the profile loop takes must round exactly as the formula does.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app_state.h"
#include "platform/text_format.h"
#include "processing/velocity_processing.h"

namespace vantrel {
namespace {

TEST(Direction, StoredDirectionRoundsAsTheFormulaEverywhere) {
    std::vector<std::pair<int, int>> pairs;
    for (int u = -600; u <= 600; ++u) {
        for (int v = -600; v <= 600; ++v) pairs.emplace_back(u, v);
    }
    // Large components, where neighbouring directions lie closest together.
    for (int u = -32767; u <= 32767; u += 97) {
        for (const int v : {-32767, -30001, -1, 1, 2, 12345, 32767}) {
            pairs.emplace_back(u, v);
            pairs.emplace_back(v, u);
        }
    }
    App_State app;
    Allocate_Data_Set(app.ds, true, 1, 1);
    Load_Default_Options(app.settings);
    app.dec.Num_Bins = k_max_bins;
    app.dec.Coord_Transform = 0x18;  // earth coordinates
    constexpr std::size_t k_chunk = k_max_bins;
    int mismatches = 0;
    for (std::size_t start = 0; start < pairs.size(); start += k_chunk) {
        const std::size_t n = std::min(k_chunk, pairs.size() - start);
        for (std::size_t i = 0; i < n; ++i) {
            app.ds.Sub_Vel(0, i, 0) = static_cast<std::int16_t>(pairs[start + i].first);
            app.ds.Sub_Vel(1, i, 0) = static_cast<std::int16_t>(pairs[start + i].second);
        }
        app.ds.Sub_Count = 0;
        Transform_And_Reference(app);
        for (std::size_t i = 0; i < n; ++i) {
            const auto [u, v] = pairs[start + i];
            const double expected = rnd(10 * Velocity_Direction(u, v));
            if (app.ds.Sub_Vel(5, i, 0) != expected && ++mismatches <= 5)
                ADD_FAILURE() << "direction of (" << u << ", " << v << "): " << app.ds.Sub_Vel(5, i, 0);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace vantrel
