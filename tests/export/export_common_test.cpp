#include <gtest/gtest.h>

#include <string>

#include "export/export_common.h"
#include "platform/text_format.h"

namespace vantrel {
namespace {

TEST(Field_Value, ReadsTheLeadingNumberOfTheFirstEightCharacters) {
    const std::pair<const char*, double> cases[] = {
        {"42", 42},        {" 1 2abc", 12},   {"-7.25", -7.25}, {"abc", 0},      {"", 0},
        {"1e2", 100},      {"2.5D1", 25},     {"3e", 3},        {"+8", 8},       {".5", 0.5},
        {"123456789", 12345678},  // only the first eight characters count
        {"1234567e2", 1234567},   // the exponent falls outside them
        {"-", 0},          {"12-3", 12},
    };
    for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(Field_Value(text), value) << '"' << text << '"';
}

TEST(Normalise_Range, AZeroStepBecomesOneRowsCountTheStepsAndPercentagesStopAt100) {
    Data_Set ds;
    ds.File_First_Ens = 1;
    ds.File_Last_Ens = 199;
    Range_Fields f{"1", "1e9", "0"};
    EXPECT_EQ(Normalise_Range(f, ds).Rows(), 199);
    EXPECT_EQ(f.Last + "," + f.Step, "199,1");
    f = {"1", "10", "3"};
    EXPECT_EQ(Normalise_Range(f, ds).Rows(), 4);  // 1, 4, 7, 10
    // Percentages round halves to even and never pass 100.
    const Ensemble_Range r{1, 8, 1};
    EXPECT_EQ(Range_Percent(r, 2), 12);  // 12.5
    EXPECT_EQ(Range_Percent(r, 4), 38);  // 37.5
    EXPECT_EQ(Range_Percent(r, 9), 100);
}

TEST(Append_Scaled, AgreesWithTheFormatPatterns) {
    for (std::int64_t v = -40000; v <= 40000; v += 7) {
        std::string s[4];
        Append_Scaled(s[1], v, 1), Append_Scaled(s[2], v, 2), Append_Scaled(s[3], v, 3), Append_Int(s[0], v);
        const double x = static_cast<double>(v);
        ASSERT_EQ((std::array{s[0], s[1], s[2], s[3]}), (std::array{Format(x, "0"), Format(x / 10, "0.0"), Format(x / 100, "0.00"), Format(x / 1000, "0.000")})) << v;
    }
    for (std::int64_t v : {-32768LL, -1LL, -9LL, -10LL, 5LL, 2147483647LL, -2147483648LL}) {
        std::string a;
        Append_Scaled(a, v * 10, 2);
        EXPECT_EQ(a, Format(static_cast<double>(v) / 10.0, "0.00")) << v;
    }
    std::string two;
    for (int v : {0, 7, 10, 99, 123}) {
        two.clear();
        Append_Two(two, v);
        EXPECT_EQ(two, Format(v, "00"));
    }
}

}  // namespace
}  // namespace vantrel
