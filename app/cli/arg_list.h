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
    std::optional<std::int64_t> Take_Int(const std::string& name);
    std::optional<double> Take_Double(const std::string& name);
    // The next positional argument, or an error naming what is missing.
    std::string Take_Positional(const std::string& what);
    // Errors on anything not taken.
    void Finish() const;

private:
    std::vector<std::string> args_;
};

std::int64_t Parse_Int(const std::string& text, const std::string& what);
double Parse_Double(const std::string& text, const std::string& what);

}  // namespace vantrel::cli
