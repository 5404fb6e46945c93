#include "loading/series_bins.h"

#include <algorithm>
#include <cstddef>

namespace vantrel {

namespace {

// Calls pair(data-set index, setting index) for every bin of the file.
template <typename Pair>
void For_Each_Bin(const Data_Set& ds, std::int32_t num_bins, Pair pair) {
    const std::int32_t n = std::min(num_bins, k_max_bins);
    const bool facing_up = ds.Orientation_Count < 1;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t bin = facing_up ? i : num_bins - 1 - i;
        if (bin < k_series_bin_count) pair(static_cast<std::size_t>(i), static_cast<std::size_t>(bin));
    }
}

}  // namespace

void Map_Series_Bins(Data_Set& ds, const Settings& settings, std::int32_t num_bins) {
    For_Each_Bin(ds, num_bins, [&](std::size_t index, std::size_t bin) { ds.Series_Bins[index] = settings.Series_Bins_Setting[bin]; });
}

void Store_Series_Bins(const Data_Set& ds, Settings& settings, std::int32_t num_bins) {
    For_Each_Bin(ds, num_bins, [&](std::size_t index, std::size_t bin) { settings.Series_Bins_Setting[bin] = ds.Series_Bins[index]; });
}

}  // namespace vantrel
