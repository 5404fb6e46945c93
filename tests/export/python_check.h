#pragma once
// Runs the Python readers beside these tests (SciPy's MAT-file loader, the csv module)
// over an export and parses what they print.

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_run.h"

namespace vantrel::test {

inline std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep)) parts.push_back(part);
    if (!text.empty() && text.back() == sep) parts.emplace_back();
    return parts;
}

// Output of `/usr/bin/python3 SCRIPT FILE ARGUMENTS` (arguments quoted by the caller); ok
// false when it fails.
inline std::string Run_Python(const std::string& script, const std::string& file, bool& ok,
                              const std::string& arguments = "") {
    const std::string out = file + ".py.out";
    const std::string command = "/usr/bin/python3 " + Quoted(std::string(VANTREL_EXPORT_TEST_DIR) + "/" + script) +
                                " " + Quoted(file) + " " + arguments + " > " + Quoted(out) + " 2>&1";
    ok = std::system(command.c_str()) == 0;
    return Read_File_Text(out);
}

struct Mat_Variable {
    std::string kind;  // numpy dtype name, or "text"
    int rows = 0, cols = 0;
    std::vector<std::string> values;  // column by column; a text's characters as one value
};

struct Mat_Contents {
    std::vector<std::string> order;
    std::map<std::string, Mat_Variable> vars;
    std::string raw;  // what the loader printed
    bool ok = false;
};

inline Mat_Contents Load_Mat_With_Scipy(const std::string& file) {
    Mat_Contents m;
    m.raw = Run_Python("check_mat.py", file, m.ok);
    if (!m.ok) return m;
    for (const std::string& line : Split(m.raw, '\n')) {
        if (line.empty()) continue;
        const std::vector<std::string> f = Split(line, '\t');
        if (f.size() < 4) continue;
        Mat_Variable v{f[1], std::stoi(f[2]), std::stoi(f[3]), {f.begin() + 4, f.end()}};
        m.order.push_back(f[0]);
        m.vars[f[0]] = v;
    }
    return m;
}

// Rows of a tab-separated file as the csv module reads them.
inline std::vector<std::vector<std::string>> Read_Text_With_Csv(const std::string& file, bool& ok) {
    std::vector<std::vector<std::string>> rows;
    const std::string out = Run_Python("read_text.py", file, ok);
    std::vector<std::string> lines = Split(out, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();  // the last line's end
    for (const std::string& line : lines) rows.push_back(line.empty() ? std::vector<std::string>{} : Split(line, '\x1f'));
    return rows;
}

}  // namespace vantrel::test
