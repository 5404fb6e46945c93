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

// What the processing of one decoded ensemble reads of the decoder's set-up, taken as the
// decode ends: the next ensemble may then be decoded while this one is processed.
struct Slot_Setup {
    std::int32_t Num_Bins = 0;
    std::int32_t Sys_Config = 0;
    std::int32_t Coord_Transform = 0;
    bool Is_QTRM = false;
    bool Have_BT = false, Have_Echo = false, Have_Nav = false;
    double Bin_Size = 0, Bin1_Dist = 0, Xmit_Length = 0;  // m
    double Bin_Size_C20C10 = 0, Bin_Size_C30C20 = 0, Bin1_Dist_C20C10 = 0, Bin1_Dist_C30C20 = 0;  // m
};

Slot_Setup Slot_Setup_Of(const Decoder_State& dec);

// Decodes Ens_Buffer into slot Sub_Count, then cuts and transforms it. Returns false
// (and processes nothing) when no decoder ran.
bool Process_Ensemble(Decoder_State& dec, Data_Set& ds, const Settings& settings, const Decode_Options& opt);

// The processing half of Process_Ensemble: cuts and transforms the decoded slot Sub_Count.
void Process_Decoded_Ensemble(const Decoder_State& dec, Data_Set& ds, const Settings& settings);

// The same for a given slot, from its set-up; reads and writes that slot only.
void Process_Decoded_Slot(const Slot_Setup& setup, Data_Set& ds, const Settings& settings, std::size_t slot);

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
int Error_Velocity_Bins(std::int32_t num_bins, const Data_Set& ds);

// Bin_Work from sums over `slots` ensembles, for bins 0..bins-1.
void Store_Error_Velocity_Statistics(const Error_Velocity_Sums& sums, Data_Set& ds, int bins, int slots);

}  // namespace vantrel
