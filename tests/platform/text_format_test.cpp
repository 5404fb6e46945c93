#include <gtest/gtest.h>

#include "platform/text_format.h"

namespace vantrel {
namespace {

// Group separators fall every three digits counted from the right, whatever the leading group's width.
TEST(FormatGrouping, EveryLeadingGroupWidth) {
    EXPECT_EQ(Format(75000, "###,###,###,###"), "75,000");
    EXPECT_EQ(Format(1330, "###,###,###,###"), "1,330");
    EXPECT_EQ(Format(100000, "###,###,###,###"), "100,000");
    EXPECT_EQ(Format(12345678, "###,###,###,###"), "12,345,678");
    EXPECT_EQ(Format(999, "###,###,###,###"), "999");
    EXPECT_EQ(Format(0, "###,###,###,##0"), "0");
    EXPECT_EQ(Format(-2500, "###,###,###,##0"), "-2,500");
}

}  // namespace
}  // namespace vantrel
