#pragma once
// The program's format patterns, and the date and clock texts of an ensemble.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/numeric.h"

namespace vantrel {

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

// "yy/mm/dd", or "mm/dd" when the stored year is 80 (a clock that was never set).
std::string Date_Text(int year, int month, int day);
// "hh:mm:ss.hh".
std::string Clock_Text(int hour, int minute, int second, int hundredths);

}  // namespace vantrel
