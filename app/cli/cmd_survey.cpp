// vantrel-cli survey FILE [--multifile]
#include <cstdio>

#include "arg_list.h"
#include "app_state.h"
#include "commands.h"
#include "decode/file_survey.h"
#include "platform/binary_file.h"
#include "platform/program_messages.h"

namespace vantrel::cli {

int Run_Survey(const Args& raw_args) {
    Arg_List args(raw_args);
    App_State app;
    app.menus.MultiFile = args.Take_Flag("--multifile");
    const std::string path = args.Take_Positional("FILE");
    args.Finish();
    if (std::string problem = Input_Problem(path); !problem.empty()) throw Cli_Error(problem);

    app.file_set = Test_For_File_Set(path, app.menus.MultiFile);
    const bool ok = Show_File_Stats(app, path, No_Progress());
    std::fwrite(app.Info_Text.data(), 1, app.Info_Text.size(), stdout);
    if (!ok) throw Cli_Error(k_not_enough_valid);
    return 0;
}

}  // namespace vantrel::cli
