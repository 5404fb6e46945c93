// vantrel-cli details FILE
#include <cstdio>

#include "arg_list.h"
#include "app_state.h"
#include "commands.h"
#include "decode/file_details.h"
#include "platform/binary_file.h"
#include "platform/program_messages.h"

namespace vantrel::cli {

int Run_Details(const Args& raw_args) {
    Arg_List args(raw_args);
    const std::string path = args.Take_Positional("FILE");
    args.Finish();

    App_State app;
    const File_Details_Result r = Show_File_Details(path, app.dec, Decode_Options_Of(app.settings, app.menus.Flip_Checked), nullptr, No_Progress());
    if (!r.opened) {
        const std::string problem = Input_Problem(path);
        throw Cli_Error(problem.empty() ? k_invalid_file : problem);
    }
    std::fwrite(r.report.data(), 1, r.report.size(), stdout);
    const Ens_Statistics& s = r.stats;
    std::printf("First: %lld\nLast: %lld\nMissing: %lld\nRepeats: %lld\nResets: %lld\nWrong Size: %lld\n",
                static_cast<long long>(s.First), static_cast<long long>(s.Last), static_cast<long long>(s.Missing),
                static_cast<long long>(s.Repeats), static_cast<long long>(s.Resets),
                static_cast<long long>(s.Wrong_Size));
    if (!r.found) {
        std::fflush(stdout);
        throw Cli_Error(k_not_enough_valid);
    }
    return 0;
}

}  // namespace vantrel::cli
