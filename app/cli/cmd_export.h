#pragma once
// vantrel-cli export: the argument parsing and the run, behind a Sub Set loader (the command
// wraps the file loader; tests pass one over memory).
//
//   export FILE (OUT | -o OUT) --kind contour|profile|series [--mat | --format txt|mat]
//          [--first N] [--last N] [--step N] [--ens N] [--bins all|LIST] [--type D]
//          [--types LIST] [--anc LIST] [--calimbro]
//
// LIST is comma-separated numbers and ranges ("1,3,5-8"). --type is the contour data type
// 0..19, --types the profile types 0..19 or the series types 0..39, --anc the ancillary
// boxes 0..7, --bins list positions 1..255. Ensemble fields are passed as typed; the
// writers limit them. Without --first/--last/--ens the loaded Sub Set's range and the
// profile ensemble are used, as the export window fills its fields.

#include <optional>
#include <string>

#include "app_state.h"
#include "arg_list.h"
#include "commands.h"
#include "export/export_selection.h"

namespace vantrel::cli {

struct Export_Request {
    std::string file, out;
    Export_Kind kind = Export_Kind::k_series;
    bool mat = false;
    bool calimbro = false;  // series type 38
    std::optional<std::string> first, last, step, ens;
    std::optional<std::string> bins, type, types, anc;
};

// Reads the arguments; throws Cli_Error for a bad one.
Export_Request Parse_Export_Arguments(const Args& args);
// The same, leaving the arguments it does not know in args.
Export_Request Take_Export_Arguments(Arg_List& args);

// Fills an export selection from the request and the loaded file, runs the export through
// loader into request.out and returns 0; throws Cli_Error with the program's message when
// the output file is refused or cannot be written.
int Run_Export_Request(const Export_Request& request, App_State& app, const Sub_Set_Loader& loader,
                       Progress_Hooks& progress);

// Flags of the numbers in LIST, indexed from lowest; throws Cli_Error outside lowest..highest.
std::vector<bool> Parse_Number_List(const std::string& list, int lowest, int highest, const std::string& what);

}  // namespace vantrel::cli
