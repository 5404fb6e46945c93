#pragma once
// Test helpers for synthetic files: scenario options resolved, and a file walked as the loaders find it.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "app_state.h"
#include "decode/decode_ensemble.h"
#include "decode/scanner.h"
#include "synth_encoder.h"
#include "synth_writer.h"
#include "support/temp_folder.h"

namespace vantrel::synth::test {

using vantrel::test::Temp_Folder;

// Scenario options resolved, failing the test on a bad combination.
inline Synth_Options Resolved(const Synth_Options& opt) { return Resolve_Options(opt); }

// Writes the scenario and finds its ensembles one after another, as the loaders do, with one
// slot allocated; visit(index) sees each in app.dec. Returns how many were found.
inline std::int64_t Walk_Synth_File(const Synth_Options& opt, App_State& app, const std::function<void(std::int64_t)>& visit) {
    Temp_Folder folder;
    const std::string path = folder.Path("scenario.ens");
    Write_Synth_File(path, opt);
    Binary_File file;
    EXPECT_TRUE(file.Open(path)) << path;
    app.dec.Data_Structure = Determine_File_Data_Structure(file, app.dec, No_Progress());
    Allocate_Data_Set(app.ds, false, 1, 1);
    std::int64_t found = 0;
    while (Get_Next_Ensemble(file, app.dec, app.ds.File_Loaded, No_Progress())) visit(found++);
    return found;
}

}  // namespace vantrel::synth::test
