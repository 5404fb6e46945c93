#pragma once
// The JSON lines that vantrel-cli dump prints, parsed.

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

}  // namespace vantrel::test
