// vantrel-cli dump FILE [--raw] [--first N] [--count K] [--settings FILE] [--ref R] [--eop LIST]
//                       [--vel-scale X] [--bt-vel-scale X]
#include <cstdio>

#include "arg_list.h"
#include "commands.h"
#include "decode/bb_decoder.h"
#include "decode/decode_ensemble.h"
#include "decode/ensemble_walk.h"
#include "decode/scanner.h"
#include "json_lines.h"
#include "processing/velocity_processing.h"
#include "settings_options.h"

namespace vantrel::cli {

int Run_Dump(const Args& raw_args) {
    Arg_List args(raw_args);
    const bool raw = args.Take_Flag("--raw");  // ensembles are printed as decoded
    const std::int64_t first = args.Take_Int("--first", 1).value_or(1);
    const std::int64_t count = args.Take_Int("--count", 0).value_or(-1);
    const std::string path = args.Take_Positional("FILE");
    App_State app;
    Apply_Settings_Options(args, app.settings);
    args.Finish();

    Binary_File file;
    if (!file.Open(path)) throw Cli_Error(file.Open_Error());
    app.dec.Data_Structure = Determine_File_Data_Structure(file, app.dec, No_Progress());
    if (app.dec.Data_Structure == k_structure_unknown) throw Cli_Error(path + ": not an ensemble file (no valid ensemble found)");
    Allocate_Data_Set(app.ds, false, 1, 1);

    std::string out;
    std::int64_t index = 0, printed = 0;
    Ensemble_Walk walk;
    while (count < 0 || printed < count) {
        if (!walk.Next(file, app.dec, No_Progress())) break;
        if (const auto& gap = walk.Gap()) {
            std::fprintf(stderr, "dump: no ensemble in bytes %lld to %lld, passed over\n", static_cast<long long>(gap->first),
                         static_cast<long long>(gap->last));
        }
        if (Is_NVRAM_Ensemble(app.dec)) {
            // Not an ensemble: no clock, no number, nothing of the water.
            const std::int64_t end = file.Position() - 1;
            std::fprintf(stderr, "dump: memory record in bytes %lld to %lld, passed over\n",
                         static_cast<long long>(end - app.dec.Ens_Bytes - 1), static_cast<long long>(end));
            continue;
        }
        if (++index < first) continue;
        app.ds.Sub_Count = 0;
        Clear_Slot(app.ds, 0);
        if (raw) Decode_Ensemble(app);
        else Process_Ensemble(app);
        Append_Slot_Json(out, app.ds, app.dec, 0);
        ++printed;
        if (out.size() > (1u << 20)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (walk.Gave_Up()) {
        std::fprintf(stderr, "dump: no ensemble in %d searches from byte %lld on, stopped\n", k_search_failure_limit + 1,
                     static_cast<long long>(file.Position()));
    }
    return 0;
}

}  // namespace vantrel::cli
