#pragma once
// Command-line arguments of one subcommand: positionals, flags and valued options.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantrel::cli {

// A bad argument or input; main prints the message on one line and exits 1.
struct Cli_Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Arg_List {
public:
    explicit Arg_List(std::vector<std::string> args) : args_(std::move(args)) {}

    bool Take_Flag(const std::string& name);
    std::optional<std::string> Take_Value(const std::string& name);
    // The option's value as a whole number from lo to hi (Parse_Int).
    std::optional<std::int64_t> Take_Int(const std::string& name, std::int64_t lo = INT64_MIN, std::int64_t hi = INT64_MAX);
    // The option's value as an ensemble number, 0 to k_max_ensemble_number.
    std::optional<std::int32_t> Take_Ensemble(const std::string& name);
    // The option's value as a finite number from lo to hi (Parse_Double).
    std::optional<double> Take_Double(const std::string& name, double lo, double hi);
    // The next positional argument, or an error naming what is missing.
    std::string Take_Positional(const std::string& what);
    // Errors on anything not taken.
    void Finish() const;

private:
    void Refuse_Repeat(const std::string& name) const;

    std::vector<std::string> args_;
};

// The one way every command reads a number: the whole text must be the number and lie in
// lo..hi (NaN and infinity never do); otherwise a Cli_Error names `what`, the text and the range.
std::int64_t Parse_Int(const std::string& text, const std::string& what, std::int64_t lo = INT64_MIN, std::int64_t hi = INT64_MAX);
double Parse_Double(const std::string& text, const std::string& what, double lo, double hi);

// Ensemble numbers are 24 bits wide.
constexpr std::int64_t k_max_ensemble_number = 0xFFFFFF;

}  // namespace vantrel::cli
