#pragma once
// The caller's side of an export: refuse a non-empty output file, open it, run the
// writer of the chosen tab and file type, and put the user's Sub Set back.

#include <string>
#include <vector>

#include "export/export_selection.h"
#include "platform/outcome.h"
#include "platform/program_messages.h"

namespace vantrel {


// Runs one export (text or MAT-file; netCDF goes through Run_Netcdf_Export) into out_path
// under the output rule (platform/output_file.h). Ok when the writer ran; k_nothing_loaded (no message) when no file is loaded, which does nothing;
// k_target_is_input, k_overwrite_refused or k_cannot_write for a target the rule refuses or
// that cannot be written. The target is untouched unless Ok. Afterwards
// First_Bin and Last_Bin are restored and the Sub Set is reloaded with the First_Ens and
// Last_Ens held before the export.
// inputs: files besides the job's ensemble file that must not be written over (members of its set).
Outcome Run_Export(Export_Job& job, Export_Kind kind, const std::string& out_path,
                   const std::vector<std::string>& inputs = {});

// The file type chosen on the tab of kind.
Export_File_Type File_Type_Of(const Export_Selection& sel, Export_Kind kind);

}  // namespace vantrel
