// The stored direction of every bin against the direction formula itself, over every
// east and north component of a wide square and a sweep of large ones: the shortcut
// the profile loop takes must round exactly as the formula does.
#include <gtest/gtest.h>

#include <vector>

#include "app_state.h"
#include "platform/text_format.h"
#include "processing/velocity_processing.h"

namespace vantrel {
namespace {

constexpr std::int32_t k_earth_coordinates = 0x18;

class Direction_Sweep {
public:
    Direction_Sweep() {
        Allocate_Data_Set(app_.ds, true, 1, 1);
        Load_Default_Options(app_.settings);
        app_.dec.Num_Bins = k_max_bins;
        app_.dec.Coord_Transform = k_earth_coordinates;
        app_.ds.Sub_Count = 0;
    }

    void Add(int east, int north) {
        pending_.push_back({east, north});
        if (pending_.size() == k_max_bins) Flush();
    }

    // Processes what is pending and returns the number of mismatches so far.
    int Flush() {
        for (std::size_t i = 0; i < pending_.size(); ++i) {
            app_.ds.Sub_Vel(0, i, 0) = static_cast<std::int16_t>(pending_[i].first);
            app_.ds.Sub_Vel(1, i, 0) = static_cast<std::int16_t>(pending_[i].second);
        }
        Transform_And_Reference(app_);
        for (std::size_t i = 0; i < pending_.size(); ++i) {
            const auto [u, v] = pending_[i];
            const double expected = rnd(10 * Velocity_Direction(u, v));
            if (app_.ds.Sub_Vel(5, i, 0) != expected && ++mismatches_ <= 5) {
                ADD_FAILURE() << "direction of (" << u << ", " << v << "): " << app_.ds.Sub_Vel(5, i, 0) << ", formula "
                              << expected;
            }
        }
        pending_.clear();
        return mismatches_;
    }

private:
    App_State app_;
    std::vector<std::pair<int, int>> pending_;
    int mismatches_ = 0;
};

TEST(Direction, StoredDirectionRoundsAsTheFormulaEverywhere) {
    Direction_Sweep sweep;
    for (int u = -600; u <= 600; ++u) {
        for (int v = -600; v <= 600; ++v) sweep.Add(u, v);
    }
    // Large components, where neighbouring directions lie closest together.
    for (int u = -32767; u <= 32767; u += 97) {
        for (const int v : {-32767, -30001, -1, 1, 2, 12345, 32767}) {
            sweep.Add(u, v);
            sweep.Add(v, u);
        }
    }
    EXPECT_EQ(sweep.Flush(), 0);
}

}  // namespace
}  // namespace vantrel
