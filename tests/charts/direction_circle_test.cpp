// Direction sines and turn distances, which the candle statistics sum.

#include <gtest/gtest.h>

#include <cmath>

#include "charts/direction_circle.h"
#include "platform/numeric.h"

namespace vantrel {
namespace {

TEST(Direction_Circle, TurnDistanceMatchesTheRemainderNextToHalfTurns) {
    for (const double mean : {0.0, 0.5, 1799.9999999999998, 1800.0, 2345.678, 3599.9999999999995})
        for (int v = -32767; v <= 32767; v += 3) {
            const double x = v - mean;
            ASSERT_EQ(std::fabs(Turn_Distance(x)), std::fabs(std::remainder(x, 3600.0))) << v << " - " << mean;
        }
}

TEST(Direction_Circle, TabledSinesAreTheComputedOnes) {
    for (const double tenths : {0.0, 1.0, 899.0, 1800.0, 3599.0, 3600.0, -1.0, 0.5, 31000.0}) {
        double s = 0, c = 0;
        Direction_Sin_Cos(tenths, s, c);
        EXPECT_EQ(s, std::sin(tenths * k_pi / 1800)) << tenths;
        EXPECT_EQ(c, std::cos(tenths * k_pi / 1800)) << tenths;
    }
}

}  // namespace
}  // namespace vantrel
