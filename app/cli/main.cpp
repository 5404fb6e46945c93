// vantrel-cli: headless commands over the Vantrel core, for scripts, tests and benchmarks.
#include <cstdio>
#include <exception>
#include <functional>
#include <map>

#include "arg_list.h"
#include "commands.h"
#include "settings/settings.h"

namespace {

const char* const k_usage =
    "usage: vantrel-cli COMMAND [options]\n"
    "  synth OUT [options]                       write a synthetic ensemble file\n"
    "  dump FILE [--raw] [--first N] [--count K] one JSON object per ensemble\n"
    "       [--settings FILE] [--ref none|bt|nav|gga|vtg|wm] [--eop bt,rssi,cos,cut1,cut2]\n"
    "       [--vel-scale X] [--bt-vel-scale X]\n"
    "  settings --defaults OUT                   write the default settings file\n"
    "  survey FILE [--multifile]                 the information text of the file survey\n"
    "  details FILE                              the file details report and ensemble statistics\n"
    "  load FILE [--multifile] [--max-sub N] [--max-whole N] [--first N] [--last M]\n"
    "       [--monitoring] [--dump-whole] [--dump-sub] [--settings FILE]  open as the program does\n"
    "  save-range FILE OUT --first F --last L [--multifile]  copy a range of ensembles\n"
    "  render FILE --view whole|sub|series|profile|subwindow -o OUT.png [--size WxH]\n"
    "       [--code N] [--scale-mode M] [--first N --last M] [--cursor E] [--series-bins LIST]\n"
    "       [--series LIST] [--profile LIST] [--anc LIST] [--settings FILE] [--multifile]\n"
    "                                            draw a chart into a PNG\n"
    "  export FILE -o OUT --kind contour|profile|series [--format txt|mat] [--type D]\n"
    "       [--first N --last M --step S] [--bins LIST|all] [--ens E] [--types LIST]\n"
    "       [--anc LIST] [--calimbro] [--multifile] [--settings FILE]  write a text or MAT export\n"
    "  convert FILE OUT.nc [--raw] [--first N --last M] [--multifile] [--settings FILE]\n"
    "                                            the whole file as netCDF (CF conventions)\n"
    "  LIST is comma-separated numbers and ranges, e.g. 3,7,10-12\n"
    "Run 'vantrel-cli COMMAND --help' for a command's options, 'vantrel-cli --version' for the version.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace vantrel::cli;
    const std::map<std::string, std::function<int(const Args&)>> commands = {
        {"dump", Run_Dump},
        {"synth", Run_Synth},
        {"settings", Run_Settings},
        {"survey", Run_Survey},
        {"details", Run_Details},
        {"load", Run_Load},
        {"save-range", Run_Save_Range},
        {"render", Run_Render},
        {"export", Run_Export},
        {"convert", Run_Convert},
    };
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        std::fputs(k_usage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 1 : 0;
    }
    if (std::string(argv[1]) == "--version") {
        std::printf("vantrel-cli %.*s\n", static_cast<int>(vantrel::Options_Version().size()), vantrel::Options_Version().data());
        return 0;
    }
    const auto it = commands.find(argv[1]);
    if (it == commands.end()) {
        std::fprintf(stderr, "vantrel-cli: unknown command '%s'\n%s", argv[1], k_usage);
        return 1;
    }
    try {
        return it->second(Args(argv + 2, argv + argc));
    } catch (const Cli_Error& e) {
        std::fprintf(stderr, "vantrel-cli %s: %s\n", argv[1], e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel-cli %s: %s\n", argv[1], e.what());
    }
    return 1;
}
