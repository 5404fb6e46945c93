#include <gtest/gtest.h>

#include "platform/text_format.h"

namespace vantrel {
namespace {

TEST(Rounding, HalvesGoToEven) {
    EXPECT_EQ(rnd(0.5), 0);
    EXPECT_EQ(rnd(1.5), 2);
    EXPECT_EQ(rnd(2.5), 2);
    EXPECT_EQ(rnd(-2.5), -2);
    EXPECT_EQ(rnd(2.5000001), 3);
    EXPECT_EQ(rnd(-32767.5), -32768);
    EXPECT_EQ(rnd(4503599627370497.0), 4503599627370497.0);  // beyond 2^52: already whole
    EXPECT_EQ(Round_Clamp(40000.4, -32767, 32767), 32767);
    EXPECT_EQ(Round_Clamp(-40000.4, -32767, 32767), -32767);
}

TEST(Format, ProgramPatterns) {
    EXPECT_EQ(Format(1234567, "###,###,###,###"), "1,234,567");
    EXPECT_EQ(Format(0, "###,###,###,###"), "");  // optional digits only
    EXPECT_EQ(Format(0, "###,###,###,##0"), "0");
    EXPECT_EQ(Format(-12345, "###,###,###,##0"), "-12,345");
    EXPECT_EQ(Format(7, "00"), "07");
    EXPECT_EQ(Format(123, "00"), "123");
    EXPECT_EQ(Format(2.5, "0"), "2");
    EXPECT_EQ(Format(3.5, "0"), "4");
    EXPECT_EQ(Format(0.125, "0.00"), "0.12");
    EXPECT_EQ(Format(0.375, "0.00"), "0.38");
    EXPECT_EQ(Format(-3, "0.00"), "-3.00");
    EXPECT_EQ(Format(-0.001, "0.00"), "0.00");
    EXPECT_EQ(Format(5.5, "00.00"), "05.50");
}

}  // namespace
}  // namespace vantrel
