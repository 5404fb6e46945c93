#pragma once
// Checks many decoded fields in one table; a failure names the field.

#include <cstdint>
#include <initializer_list>
#include <type_traits>

#include <gtest/gtest.h>

namespace vantrel::test {

template <typename T = std::int64_t>
struct Field {
    const char* name;
    T actual, expected;
};

template <typename T = std::int64_t>
void Expect_Fields(std::initializer_list<Field<T>> fields) {
    for (const Field<T>& f : fields) {
        if constexpr (std::is_floating_point_v<T>)
            EXPECT_DOUBLE_EQ(f.actual, f.expected) << f.name;
        else
            EXPECT_EQ(f.actual, f.expected) << f.name;
    }
}

}  // namespace vantrel::test
