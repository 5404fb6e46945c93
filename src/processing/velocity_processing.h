#pragma once
// Per-ensemble velocity processing of the current slot (Sub_Count): the end-of-profile
// cut, the beam-to-earth transformation, the velocity reference, magnitude and direction;
// and the per-bin error-velocity statistics of a loaded Sub Set.

#include <array>

#include "dataset/data_set.h"
#include "decode/decode_options.h"
#include "decode/decoder_state.h"
#include "settings/settings.h"

namespace vantrel {

// Decodes Ens_Buffer into slot Sub_Count, then cuts and transforms it. Returns false
// (and processes nothing) when no decoder ran.
bool Process_Ensemble(Decoder_State& dec, Data_Set& ds, const Settings& settings, const Decode_Options& opt);

// The processing half of Process_Ensemble: cuts and transforms the decoded slot Sub_Count.
void Process_Decoded_Ensemble(const Decoder_State& dec, Data_Set& ds, const Settings& settings);

// Marks Sub_Vel slots 0-3 bad (-32768) beyond the bottom or the surface, found from the
// bottom-track ranges or the echo bump as EoP_Options chooses. Slot Sub_Count only.
void Cut_End_Of_Profile(const Decoder_State& dec, Data_Set& ds, const Settings& settings);

// Turns slot Sub_Count into referenced earth velocities (mm/s) with magnitude (mm/s) and
// direction (tenths of a degree), and the mean bottom range (cm); the flow-meter family
// takes the two-beam path instead.
void Transform_And_Reference(const Decoder_State& dec, Data_Set& ds, const Settings& settings);

// Degrees clockwise from north, 0..360, of a horizontal vector; (0, 0) gives 0.
double Velocity_Direction(double east, double north);

// Bin_Work (mean, standard deviation in mm/s, percent valid) of the error velocity per bin
// over slots 0..Sub_Count-1; needs Bin_Work allocated.
void Error_Velocity_Statistics(const Decoder_State& dec, Data_Set& ds);

// Running sums of the error velocity per bin, so that a loader can gather them while each
// slot is still in the cache; the result equals Error_Velocity_Statistics.
struct Error_Velocity_Sums {
    std::array<std::int32_t, k_max_bins> count{};
    std::array<double, k_max_bins> sum{}, squares{};
    int fewest_bins = k_max_bins;  // smallest bin count of any slot added

    // Adds bins 0..bins-1 of one slot, in slot order.
    void Add(const Data_Set& ds, std::size_t slot, int bins);
};

// Bins the statistics cover: Num_Bins within the arrays.
int Error_Velocity_Bins(const Decoder_State& dec, const Data_Set& ds);

// Bin_Work from sums over `slots` ensembles, for bins 0..bins-1.
void Store_Error_Velocity_Statistics(const Error_Velocity_Sums& sums, Data_Set& ds, int bins, int slots);

}  // namespace vantrel
