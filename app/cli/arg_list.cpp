#include "arg_list.h"

#include <charconv>
#include <sstream>

namespace vantrel::cli {

namespace {

bool Names(const std::string& arg, const std::string& name) { return arg == name || arg.rfind(name + "=", 0) == 0; }

}  // namespace

// An option given twice would have one of its values ignored without a word.
void Arg_List::Refuse_Repeat(const std::string& name) const {
    for (const std::string& arg : args_) {
        if (Names(arg, name)) throw Cli_Error(name + " given twice");
    }
}

bool Arg_List::Take_Flag(const std::string& name) {
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (*it == name) {
            args_.erase(it);
            Refuse_Repeat(name);
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
            Refuse_Repeat(name);
            return value;
        }
        if (it->rfind(name + "=", 0) == 0) {
            std::string value = it->substr(name.size() + 1);
            args_.erase(it);
            Refuse_Repeat(name);
            return value;
        }
    }
    return std::nullopt;
}

std::optional<std::int64_t> Arg_List::Take_Int(const std::string& name, std::int64_t lo, std::int64_t hi) {
    auto v = Take_Value(name);
    if (!v) return std::nullopt;
    return Parse_Int(*v, name, lo, hi);
}

std::optional<std::int32_t> Arg_List::Take_Ensemble(const std::string& name) {
    auto v = Take_Int(name, 0, k_max_ensemble_number);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

std::optional<double> Arg_List::Take_Double(const std::string& name, double lo, double hi) {
    auto v = Take_Value(name);
    if (!v) return std::nullopt;
    return Parse_Double(*v, name, lo, hi);
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

namespace {

template <typename T>
std::string Range_Text(T lo, T hi) {
    std::ostringstream out;
    out << lo << " to " << hi;
    return out.str();
}

// Parses the whole text with from_chars, which takes no spaces, signs '+' or locale.
template <typename T>
bool Parse_Whole(const std::string& text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::int64_t Parse_Int(const std::string& text, const std::string& what, std::int64_t lo, std::int64_t hi) {
    std::int64_t value = 0;
    if (!Parse_Whole(text, value) || value < lo || value > hi) {
        throw Cli_Error(what + ": expected a whole number from " + Range_Text(lo, hi) + ", not '" + text + "'");
    }
    return value;
}

double Parse_Double(const std::string& text, const std::string& what, double lo, double hi) {
    double value = 0;
    // NaN fails both comparisons.
    if (!Parse_Whole(text, value) || !(value >= lo && value <= hi)) {
        throw Cli_Error(what + ": expected a number from " + Range_Text(lo, hi) + ", not '" + text + "'");
    }
    return value;
}

}  // namespace vantrel::cli
