// vantrel-cli settings --defaults OUT
#include "arg_list.h"
#include "commands.h"
#include "settings/settings.h"

namespace vantrel::cli {

int Run_Settings(const Args& raw_args) {
    Arg_List args(raw_args);
    const auto out = args.Take_Value("--defaults");
    args.Finish();
    if (!out) throw Cli_Error("nothing to do: use --defaults OUT");
    Settings settings;
    Load_Default_Options(settings);
    // A file the user names is theirs: one that holds data is refused.
    if (const Outcome saved = Save_Options(settings, *out, Existing_Output::k_refuse); !saved) throw Cli_Error(saved.message);
    return 0;
}

}  // namespace vantrel::cli
