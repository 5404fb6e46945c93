#pragma once
// Subcommands of vantrel-cli. Each returns the exit code; bad input throws Cli_Error.

#include <string>
#include <vector>

namespace vantrel::cli {

using Args = std::vector<std::string>;

int Run_Dump(const Args& args);
int Run_Synth(const Args& args);
int Run_Settings(const Args& args);
int Run_Survey(const Args& args);
int Run_Details(const Args& args);
int Run_Load(const Args& args);
int Run_Save_Range(const Args& args);
int Run_Render(const Args& args);
int Run_Export(const Args& args);
int Run_Convert(const Args& args);

}  // namespace vantrel::cli
