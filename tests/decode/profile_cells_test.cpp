#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "decode/profile_cells.h"

namespace vantrel {
namespace {

// Every bin count around the four-cell steps, both facings, random bytes with the extremes
// mixed in, against the plain definition: bytes copied in bin order, mean rounded half to even
// (or none, for percent good).
TEST(Profile_Cells, BytesAndMeansOfEveryBinCountAndFacing) {
    std::mt19937 rng(7);
    for (std::size_t n = 1; n <= 13; ++n) {
        std::vector<std::uint8_t> cells(4 * n);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            cells[i] = static_cast<std::uint8_t>(i % 7 == 0 ? 255 : rng());
        }
        for (bool up : {false, true}) {
            Dense_Array<std::uint8_t> out, no_mean;
            out.Resize(5, n + 1, 2);
            no_mean.Resize(5, n + 1, 2);
            Store_Byte_Profile_With_Mean(Byte_Block(cells.data(), cells.size()), n, up, out, 1);
            Store_Byte_Profile_With_Mean<false>(Byte_Block(cells.data(), cells.size()), n, up, no_mean, 1);
            for (std::size_t k = 0; k < n; ++k) {
                for (std::size_t b = 0; b < 4; ++b) EXPECT_EQ(no_mean(b, k, 1), out(b, k, 1)) << n << up << k;
                EXPECT_EQ(no_mean(4, k, 1), 0) << "percent good has no mean";
            }
            for (std::size_t k = 0; k < n; ++k) {
                const std::uint8_t* c = cells.data() + 4 * (up ? k : n - 1 - k);
                unsigned sum = 0;
                for (std::size_t b = 0; b < 4; ++b) {
                    EXPECT_EQ(out(b, k, 1), c[b]) << n << up << k;
                    sum += c[b];
                }
                EXPECT_EQ(out(4, k, 1), std::lrint(sum / 4.0)) << n << up << k;
            }
            EXPECT_EQ(out(0, n, 1), 0) << "nothing past the last bin";
        }
    }
}

}  // namespace
}  // namespace vantrel
