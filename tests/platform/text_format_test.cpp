#include <gtest/gtest.h>

#include "platform/text_format.h"

namespace vantrel {
namespace {

TEST(Rounding, HalvesGoToEven) {
    // The last value is beyond 2^52: already whole.
    EXPECT_EQ((std::array{rnd(0.5), rnd(1.5), rnd(2.5), rnd(-2.5), rnd(2.5000001), rnd(-32767.5), rnd(4503599627370497.0)}),
              (std::array{0.0, 2.0, 2.0, -2.0, 3.0, -32768.0, 4503599627370497.0}));
    EXPECT_EQ((std::pair{Round_Clamp(40000.4, -32767, 32767), Round_Clamp(-40000.4, -32767, 32767)}), (std::pair{32767, -32767}));
}

TEST(Format, ProgramPatterns) {
    struct Case {
        double value;
        const char *pattern, *text;
    };
    // Zero under optional digits only is empty.
    for (const Case& c : {Case{1234567, "###,###,###,###", "1,234,567"}, {0, "###,###,###,###", ""}, {0, "###,###,###,##0", "0"},
                          {-12345, "###,###,###,##0", "-12,345"}, {7, "00", "07"}, {123, "00", "123"}, {2.5, "0", "2"}, {3.5, "0", "4"},
                          {0.125, "0.00", "0.12"}, {0.375, "0.00", "0.38"}, {-3, "0.00", "-3.00"}, {-0.001, "0.00", "0.00"},
                          {5.5, "00.00", "05.50"}})
        EXPECT_EQ(Format(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
}

}  // namespace
}  // namespace vantrel
