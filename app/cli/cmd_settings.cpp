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
    if (!Save_Options(settings, *out)) throw Cli_Error("cannot write " + *out);
    return 0;
}

}  // namespace vantrel::cli
