// vantrel-cli convert FILE OUT.nc [--raw] [--settings FILE] [--multifile] [--first N --last M]
#include <csignal>
#include <cstdio>

#include "arg_list.h"
#include "cli_open.h"
#include "commands.h"
#include "export/netcdf_export.h"
#include "settings_options.h"

namespace vantrel::cli {

namespace {

const char* const k_convert_help =
    "usage: vantrel-cli convert FILE OUT.nc [options]\n"
    "Writes every ensemble of FILE as netCDF-4 with the CF conventions, in constant memory.\n"
    "  --raw                decoded values only (no end-of-profile cut, transformation or reference)\n"
    "  --first N --last M   only the ensembles numbered N to M\n"
    "  --deflate L          compression level 0-9 (1)\n"
    "  --multifile          FILE and the following members of its file set\n"
    "  --settings FILE --ref R --eop LIST --vel-scale X --bt-vel-scale X  processing settings, as for dump\n"
    "A non-empty OUT is never overwritten; OUT appears only once the conversion is complete.\n";

volatile std::sig_atomic_t g_interrupted = 0;

void On_Interrupt(int) { g_interrupted = 1; }

// Lets an interrupt stop the conversion, so that its temporary file is removed.
class Interrupt_Guard {
public:
    Interrupt_Guard() : old_int_(std::signal(SIGINT, On_Interrupt)), old_term_(std::signal(SIGTERM, On_Interrupt)) {}
    ~Interrupt_Guard() {
        std::signal(SIGINT, old_int_);
        std::signal(SIGTERM, old_term_);
    }
    Interrupt_Guard(const Interrupt_Guard&) = delete;
    Interrupt_Guard& operator=(const Interrupt_Guard&) = delete;

private:
    void (*old_int_)(int);
    void (*old_term_)(int);
};

}  // namespace

int Run_Convert(const Args& raw_args) {
    Arg_List args(raw_args);
    if (args.Take_Flag("--help")) {
        std::fputs(k_convert_help, stdout);
        return 0;
    }
    Netcdf_Request request;
    request.raw = args.Take_Flag("--raw");
    request.multifile = args.Take_Flag("--multifile");
    if (const auto n = args.Take_Int("--deflate", 0, 9)) request.deflate_level = static_cast<int>(*n);
    request.first = args.Take_Ensemble("--first");
    request.last = args.Take_Ensemble("--last");
    request.settings_file = Apply_Settings_Options(args, request.settings);
    request.source = args.Take_Positional("FILE");
    request.target = args.Take_Positional("OUT");
    args.Finish();
    if (request.first && request.last && *request.first > *request.last) throw Cli_Error("--first is after --last");

    Cli_Host host;
    Progress_Hooks& progress = host.Hooks();  // the host's bar follows its percent
    progress.on_yield = [&progress] { progress.stop_requested = g_interrupted != 0; };
    const Interrupt_Guard guard;
    host.Show_Progress("Converting...");
    const Netcdf_Outcome outcome = Convert_To_Netcdf(request, progress);
    host.Hide_Progress();
    if (outcome.status != Netcdf_Status::k_written) throw Cli_Error(outcome.message);
    std::printf("convert: wrote %s: %lld ensembles, %lld skipped records", request.target.c_str(),
                static_cast<long long>(outcome.ensembles), static_cast<long long>(outcome.skipped_records));
    if (outcome.memory_records > 0) std::printf(", %lld memory records left out", static_cast<long long>(outcome.memory_records));
    std::printf("\n");
    return 0;
}

}  // namespace vantrel::cli
