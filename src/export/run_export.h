#pragma once
// The caller's side of an export: refuse a non-empty output file, open it, run the
// writer of the chosen tab and file type, and put the user's Sub Set back.

#include <string>

#include "export/export_selection.h"
#include "platform/program_messages.h"

namespace vantrel {


// Runs one export into out_path. Returns "" when the writer ran (or no file is loaded,
// which does nothing), else the message to show: k_overwrite_refused for a non-empty
// file, which stays untouched, or a line naming a file that cannot be written. Afterwards
// First_Bin and Last_Bin are restored and the Sub Set is reloaded with the First_Ens and
// Last_Ens held before the export.
std::string Run_Export(Export_Job& job, Export_Kind kind, const std::string& out_path);

// The file type chosen on the tab of kind.
Export_File_Type File_Type_Of(const Export_Selection& sel, Export_Kind kind);

}  // namespace vantrel
