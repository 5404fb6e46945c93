#pragma once
// Runs vantrel-cli (found through VANTREL_CLI) and captures its output and exit code.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vantrel::test {

struct Cli_Result {
    int exit_code = -1;
    std::string out, err;
};

inline std::string Quoted(const std::filesystem::path& path) { return '"' + path.string() + '"'; }

inline std::string Read_File_Text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void Write_File_Text(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Arguments are passed to the shell as they stand (quote paths with Quoted); the output
// goes through files in dir.
inline Cli_Result Run_Cli(const std::string& arguments, const std::filesystem::path& dir) {
    const char* cli = std::getenv("VANTREL_CLI");
    if (!cli) return {};
    std::string command = Quoted(cli);
    command += ' ';
    command += arguments;
    command += " >" + Quoted(dir / "stdout.txt");
    command += " 2>" + Quoted(dir / "stderr.txt");
    const int status = std::system(command.c_str());
    Cli_Result result;
    result.out = Read_File_Text(dir / "stdout.txt");
    result.err = Read_File_Text(dir / "stderr.txt");
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace vantrel::test
