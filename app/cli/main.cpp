// vantrel-cli: headless commands over the Vantrel core, for scripts, tests and benchmarks.
#include <cstdio>
#include <exception>
#include <functional>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "arg_list.h"
#include "commands.h"
#include "settings/settings.h"

namespace {

struct Command {
    std::function<int(const vantrel::cli::Args&)> run;
    const char* usage;  // the arguments and what the command does, for the list and --help
    bool own_help;      // prints a fuller --help of its own
};

const std::vector<std::pair<std::string, Command>>& Commands() {
    using namespace vantrel::cli;
    static const std::vector<std::pair<std::string, Command>> commands = {
        {"synth", {Run_Synth, "OUT [options]                       write a synthetic ensemble file\n", true}},
        {"dump", {Run_Dump, "FILE [--raw] [--first N] [--count K] one JSON object per ensemble\n"
                            "       [--settings FILE] [--ref none|bt|nav|gga|vtg|wm] [--eop bt,rssi,cos,cut1,cut2]\n"
                            "       [--vel-scale X] [--bt-vel-scale X]\n", false}},
        {"settings", {Run_Settings, "--defaults OUT                   write the default settings file\n", false}},
        {"survey", {Run_Survey, "FILE [--multifile]                 the information text of the file survey\n", false}},
        {"details", {Run_Details, "FILE                              the file details report and ensemble statistics\n", false}},
        {"load", {Run_Load, "FILE [--multifile] [--max-sub N] [--max-whole N] [--first N] [--last M]\n"
                            "       [--monitoring] [--dump-whole] [--dump-sub] [--settings FILE]  open as the program does\n", false}},
        {"save-range", {Run_Save_Range, "FILE OUT --first F --last L [--multifile]  copy a range of ensembles\n", false}},
        {"render", {Run_Render, "FILE --view whole|sub|series|profile|subwindow -o OUT.png [--size WxH]\n"
                                "       [--code N] [--scale-mode M] [--first N --last M] [--cursor E] [--series-bins LIST]\n"
                                "       [--series LIST] [--profile LIST] [--anc LIST] [--settings FILE] [--multifile]\n"
                                "                                            draw a chart into a PNG\n", true}},
        {"export", {Run_Export, "FILE -o OUT --kind contour|profile|series [--format txt|mat] [--type D]\n"
                                "       [--first N --last M --step S] [--bins LIST|all] [--ens E] [--types LIST]\n"
                                "       [--anc LIST] [--calimbro] [--multifile] [--settings FILE]  write a text or MAT export\n", true}},
        {"convert", {Run_Convert, "FILE OUT.nc [--raw] [--first N --last M] [--multifile] [--settings FILE]\n"
                                  "       [--deflate L]                       the whole file as netCDF (CF conventions)\n", true}},
    };
    return commands;
}

std::string Usage() {
    std::string usage = "usage: vantrel-cli COMMAND [options]\n";
    for (const auto& [name, command] : Commands()) usage += "  " + name + " " + command.usage;
    usage +=
        "  LIST is comma-separated numbers and ranges, e.g. 3,7,10-12\n"
        "Run 'vantrel-cli COMMAND --help' for a command's options, 'vantrel-cli --version' for the version.\n";
    return usage;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string usage = Usage();
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        std::fputs(usage.c_str(), argc < 2 ? stderr : stdout);
        return argc < 2 ? 1 : 0;
    }
    if (std::string(argv[1]) == "--version") {
        std::printf("vantrel-cli %.*s\n", static_cast<int>(vantrel::Options_Version().size()), vantrel::Options_Version().data());
        return 0;
    }
    const auto& commands = Commands();
    const auto it = std::find_if(commands.begin(), commands.end(), [&](const auto& c) { return c.first == argv[1]; });
    if (it == commands.end()) {
        std::fprintf(stderr, "vantrel-cli: unknown command '%s'\n%s", argv[1], usage.c_str());
        return 1;
    }
    const Command& command = it->second;
    const vantrel::cli::Args args(argv + 2, argv + argc);
    if (!command.own_help && std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::printf("usage: vantrel-cli %s %s", argv[1], command.usage);
        return 0;
    }
    try {
        return command.run(args);
    } catch (const vantrel::cli::Cli_Error& e) {
        std::fprintf(stderr, "vantrel-cli %s: %s\n", argv[1], e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel-cli %s: %s\n", argv[1], e.what());
    }
    return 1;
}
