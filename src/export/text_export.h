#pragma once
// Tab-separated text exports of contour, profile and series data. Each ensemble is
// loaded alone as the Sub Set through the job's loader and read from slot 0.

#include <ostream>

#include "export/export_selection.h"

namespace vantrel {

// Writes the nine header lines (CR LF ended) for the ensemble loaded in slot 0.
void Write_Text_Header(Export_Job& job, std::ostream& out);

// One row per ensemble of the contour range, one column per selected bin; the file ends
// without a final line end. Writes the limited range back into the selection.
void Write_Contour_Text(Export_Job& job, std::ostream& out);

// One row per checked data type of the profile ensemble, one column per selected bin.
void Write_Profile_Text(Export_Job& job, std::ostream& out);

// One row per ensemble of the series range: ancillary, per-bin and ensemble-level columns.
void Write_Series_Text(Export_Job& job, std::ostream& out);

}  // namespace vantrel
