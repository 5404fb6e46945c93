#pragma once
// The export window's third file type: the ensembles of the shown tab, converted to netCDF.

#include <string>

#include "dataset/file_set.h"
#include "export/export_selection.h"
#include "platform/outcome.h"
#include "settings/settings.h"

namespace vantrel {

// Converts every ensemble numbered First..Last of the shown tab (the profile tab: its one
// ensemble) of job.ensemble_file into out_path, processed with settings, whatever data
// types and bins the tab has chosen; Step does not apply. The fields get their limited
// values back, as the other writers give them, and the data set is not touched. Ok when
// written or stopped (a stopped conversion leaves no file); k_overwrite_refused for a
// non-empty out_path; k_cannot_write with the converter's message otherwise.
Outcome Run_Netcdf_Export(Export_Job& job, Export_Kind kind, const Settings& settings, const File_Set_State& set,
                          const std::string& out_path);

}  // namespace vantrel
