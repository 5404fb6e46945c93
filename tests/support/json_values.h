#pragma once
// Reading values back out of the JSON lines that vantrel-cli dump prints.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace vantrel::test {

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The text of a JSON value after "key": up to the matching bracket, or the next comma.
inline std::string Value_Of(const std::string& line, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    const auto at = line.find(tag);
    if (at == std::string::npos) return {};
    std::size_t i = at + tag.size(), depth = 0;
    const std::size_t begin = i;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '[') ++depth;
        if (c == ']' && depth-- == 1) return line.substr(begin, i + 1 - begin);
        if ((c == ',' || c == '}') && depth == 0) break;
    }
    return line.substr(begin, i - begin);
}

// Every integer in a JSON value, in order; fails the test on a number with a fraction.
inline std::vector<long long> Integers(const std::string& value) {
    std::vector<long long> out;
    for (std::size_t i = 0; i < value.size();) {
        if (value[i] == '-' || (value[i] >= '0' && value[i] <= '9')) {
            std::size_t used = 0;
            out.push_back(std::stoll(value.substr(i), &used));
            i += used;
            if (i < value.size() && (value[i] == '.' || value[i] == 'e')) ADD_FAILURE() << "not an integer in " << value;
        } else {
            ++i;
        }
    }
    return out;
}

}  // namespace vantrel::test
