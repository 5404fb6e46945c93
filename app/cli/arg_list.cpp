#include "arg_list.h"

#include <charconv>
#include <cstdlib>

namespace vantrel::cli {

bool Arg_List::Take_Flag(const std::string& name) {
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (*it == name) {
            args_.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> Arg_List::Take_Value(const std::string& name) {
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (*it == name) {
            if (it + 1 == args_.end()) throw Cli_Error(name + " needs a value");
            std::string value = *(it + 1);
            args_.erase(it, it + 2);
            return value;
        }
        if (it->rfind(name + "=", 0) == 0) {
            std::string value = it->substr(name.size() + 1);
            args_.erase(it);
            return value;
        }
    }
    return std::nullopt;
}

std::optional<std::int64_t> Arg_List::Take_Int(const std::string& name) {
    auto v = Take_Value(name);
    if (!v) return std::nullopt;
    return Parse_Int(*v, name);
}

std::optional<double> Arg_List::Take_Double(const std::string& name) {
    auto v = Take_Value(name);
    if (!v) return std::nullopt;
    return Parse_Double(*v, name);
}

std::string Arg_List::Take_Positional(const std::string& what) {
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (it->size() > 1 && (*it)[0] == '-' && (*it)[1] == '-') continue;
        std::string value = *it;
        args_.erase(it);
        return value;
    }
    throw Cli_Error("missing " + what);
}

void Arg_List::Finish() const {
    if (!args_.empty()) throw Cli_Error("unknown argument: " + args_.front());
}

std::int64_t Parse_Int(const std::string& text, const std::string& what) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) throw Cli_Error(what + ": not a whole number: " + text);
    return value;
}

double Parse_Double(const std::string& text, const std::string& what) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size()) throw Cli_Error(what + ": not a number: " + text);
    return value;
}

}  // namespace vantrel::cli
