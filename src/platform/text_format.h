#pragma once
// Number rounding and the program's format patterns.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// Nearest integer value, halves to even ("banker's rounding"), as a double.
inline double rnd(double x) {
    // Adding and subtracting 1.5 * 2^52 rounds in the current mode (to nearest, ties to
    // even) for |x| < 2^51; larger magnitudes are already integers.
    constexpr double k_magic = 6755399441055744.0;
    if (!(std::fabs(x) < 2251799813685248.0)) return x;
    return (x + k_magic) - k_magic;
}

// Clamps to lo..hi and rounds (halves to even) to a 32-bit integer.
inline std::int32_t Round_Clamp(double x, double lo, double hi) {
    if (x < lo) x = lo;
    if (x > hi) x = hi;
    return static_cast<std::int32_t>(rnd(x));
}

// Formats a number with one of the program's patterns: "0", "00", "0.0", "0.00",
// "0.000", "00.00", "00000000", "###,###,###,###", "###,###,###,##0". '0' is a
// required digit, '#' an optional one (so "###,###" shows nothing for 0), ',' groups
// thousands and '.' is the decimal point. Rounding is to nearest, halves to even.
std::string Format(double value, std::string_view pattern);

// The numeric value of a typed answer's leading number, as a basic interpreter's Val
// reads it: blanks skipped, 0 when the text does not start with a number.
double Val(std::string_view text);

// STR1 left-padded with fill to count characters (longer texts are returned as they are).
std::string Fix_String(std::string_view text, char fill, std::size_t count);

}  // namespace vantrel
