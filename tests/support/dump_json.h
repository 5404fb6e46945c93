#pragma once
// The JSON lines that vantrel-cli dump prints, parsed.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace vantrel::test {

inline std::vector<nlohmann::json> Json_Lines(const std::string& text) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

// Every number of a value in order, nested arrays flattened; fails the test on a fraction.
inline std::vector<long long> Integers(const nlohmann::json& value) {
    std::vector<long long> out;
    if (value.is_array()) {
        for (const auto& item : value)
            for (long long v : Integers(item)) out.push_back(v);
    } else if (value.is_number_integer()) {
        out.push_back(value.get<long long>());
    } else {
        ADD_FAILURE() << "not an integer: " << value.dump();
    }
    return out;
}

}  // namespace vantrel::test
