#pragma once
// Test helpers: a temporary synthetic file and an in-process walk over it with the
// scanner and the decoder.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app_state.h"
#include "decode/decode_ensemble.h"
#include "decode/scanner.h"
#include "synth_encoder.h"
#include "synth_writer.h"
#include "support/temp_folder.h"

namespace vantrel::synth::test {

using vantrel::test::Temp_Folder;

struct Found_Record {
    std::int64_t position = 0;  // 1-based
    std::int32_t ens_bytes = 0;
    std::int32_t number = 0;    // Sub_Ens_Number as decoded (0 when the variable leader was skipped)
    bool have_vl = false;
};

// Walks the file as the loaders do, decoding each ensemble into slot 0 of app and
// calling visit after each; returns what was found, in order.
inline std::vector<Found_Record> Walk_File(const std::string& path, App_State& app,
                                           const std::function<void(const App_State&)>& visit = {},
                                           std::int32_t structure = k_structure_bb) {
    std::vector<Found_Record> found;
    Binary_File file;
    if (!file.Open(path)) {
        ADD_FAILURE() << "cannot open " << path;
        return found;
    }
    app.dec.Data_Structure = Determine_File_Data_Structure(file, app.dec, No_Progress());
    EXPECT_EQ(app.dec.Data_Structure, structure);
    Allocate_Data_Set(app.ds, false, 1, 1);
    while (Get_Next_Ensemble(file, app.dec, app.ds.File_Loaded, No_Progress())) {
        app.ds.Sub_Count = 0;
        Clear_Slot(app.ds, 0);
        Decode_Ensemble(app);
        Found_Record r;
        r.ens_bytes = app.dec.Ens_Bytes;
        r.position = file.Position() - (app.dec.Ens_Bytes + 2);
        r.number = app.ds.Sub_Ens_Number(0);
        r.have_vl = app.dec.Have_VL;
        found.push_back(r);
        if (visit) visit(app);
    }
    return found;
}

constexpr double k_pi_test = 3.14159265358979;

// Scenario options resolved, failing the test on a bad combination.
inline Synth_Options Resolved(const Synth_Options& opt) { return Resolve_Options(opt); }

}  // namespace vantrel::synth::test
