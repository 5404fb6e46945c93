#pragma once
// The series bin choice is kept in the settings by instrument bin number and drawn from the
// data set by data-set bin index; down-facing data number the two in opposite directions.

#include <cstdint>

#include "dataset/data_set.h"
#include "settings/settings.h"

namespace vantrel {

// Series_Bins of the file's num_bins bins from Series_Bins_Setting, after a load.
void Map_Series_Bins(Data_Set& ds, const Settings& settings, std::int32_t num_bins);
// The reverse, after the user changed the choice: Series_Bins_Setting of the file's bins
// from Series_Bins, so that the choice is saved and comes back with the next load.
void Store_Series_Bins(const Data_Set& ds, Settings& settings, std::int32_t num_bins);

}  // namespace vantrel
