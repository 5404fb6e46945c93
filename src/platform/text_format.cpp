#include "platform/text_format.h"

#include <cstdio>
#include <cstdlib>

namespace vantrel {

std::string Format(double value, std::string_view pattern) {
    const std::size_t point = pattern.find('.');
    const std::string_view int_part = pattern.substr(0, point);
    const std::size_t decimals = point == std::string_view::npos ? 0 : pattern.size() - point - 1;
    std::size_t min_int_digits = 0;
    bool grouped = false;
    for (char c : int_part) {
        if (c == '0') ++min_int_digits;
        if (c == ',') grouped = true;
    }

    // printf rounds the exact binary value to nearest, ties to even.
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(decimals), value);
    std::string digits = buf;
    bool negative = false;
    if (!digits.empty() && digits[0] == '-') {
        negative = true;
        digits.erase(0, 1);
    }
    std::string whole = digits.substr(0, digits.find('.'));
    const std::string frac = decimals ? digits.substr(digits.find('.') + 1) : std::string();

    // Leading zeros only where the pattern demands digits.
    std::size_t first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? std::string() : whole.substr(first);
    if (whole.size() < min_int_digits) whole.insert(0, min_int_digits - whole.size(), '0');
    if (negative && whole.find_first_not_of('0') == std::string::npos &&
        frac.find_first_not_of('0') == std::string::npos) {
        negative = false;  // no "-0"
    }

    if (grouped && whole.size() > 3) {
        std::string g;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (i != 0 && (whole.size() - i) % 3 == 0) g += ',';
            g += whole[i];
        }
        whole = g;
    }
    std::string out = negative ? "-" : "";
    out += whole;
    if (decimals) {
        out += '.';
        out += frac;
    }
    return out;
}

std::string Fix_String(std::string_view text, char fill, std::size_t count) {
    std::string out;
    if (text.size() < count) out.assign(count - text.size(), fill);
    out += text;
    return out;
}

std::string Date_Text(int year, int month, int day) {
    std::string text = year == 80 ? std::string() : Format(year, "00") + "/";
    return text + Format(month, "00") + "/" + Format(day, "00");
}

std::string Clock_Text(int hour, int minute, int second, int hundredths) {
    return Format(hour, "00") + ":" + Format(minute, "00") + ":" + Format(second, "00") + "." +
           Format(hundredths, "00");
}

double Val(std::string_view text) {
    const std::string copy(text);
    const char* begin = copy.c_str();
    while (*begin == ' ' || *begin == '\t') ++begin;
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    return end == begin ? 0 : value;
}

}  // namespace vantrel
