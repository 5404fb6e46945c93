#pragma once
// The program's in-memory data set: the Sub Set arrays that the decoders write,
// the Whole Set arrays that hold a thinned copy of the whole file, and the
// scalars describing both. Arrays are indexed (component, bin, slot).

#include <array>
#include <cstdint>
#include <string>

#include "dataset/dense_array.h"
#include "dataset/slot_writes.h"

namespace vantrel {

constexpr std::int16_t k_bad_velocity = -32768;
constexpr int k_max_bins = 256;

struct Data_Set {
    // Sub Set arrays, slots 0..max(Max_Sub_Ens, Max_Whole_Ens).
    Dense_Array<std::int32_t> Sub_Ens_Number;   // (slot)
    Dense_Array<std::uint8_t> Sub_Time;         // (0..6, slot): year 0-99, month, day, hour, minute, second, hundredths
    Dense_Array<std::uint8_t> Sub_Corr;         // (0..4, bin, slot) counts; 4 = four-beam mean
    Dense_Array<std::uint8_t> Sub_Echo;         // (0..4, bin, slot) counts; 4 = four-beam mean
    Dense_Array<std::uint8_t> Sub_PGood;        // (0..4, bin, slot) percent; 0..3 beams
    Dense_Array<std::int16_t> Sub_Vel;          // (0..7, bin, slot) mm/s; -32768 bad
    Dense_Array<std::int32_t> Sub_Anc;          // (0..7, slot) pitch, roll, heading, temp (0.01), depth mm, up, BIT, volts
    Dense_Array<std::int16_t> Sub_BT_Vel;       // (0..5, slot) mm/s
    Dense_Array<std::int16_t> Sub_WM_Vel;       // (0..5, slot) mm/s
    Dense_Array<std::int16_t> Sub_Ref_Vel;      // (0..5, slot) mm/s
    Dense_Array<std::int16_t> Sub_Nav_Vel;      // (0..5, slot) east, north mm/s; 4 speed; 5 direction 0.1 degree
    Dense_Array<std::int32_t> Sub_BT_Range;     // (0..5, slot) cm
    Dense_Array<std::int32_t> Sub_First_Lat, Sub_First_Lon, Sub_Last_Lat, Sub_Last_Lon;  // (slot) 2^31 = 180 degrees
    Dense_Array<std::int32_t> Sub_Calimbro_Lat, Sub_Calimbro_Lon;                        // (slot)
    Dense_Array<std::string> Sub_MicroCAT;      // (slot)
    Dense_Array<std::int32_t> Sub_QTRM_Depth;   // (slot) 0.1 mm
    Dense_Array<double> Sub_QTRM_Flow;          // (slot) 0.000001 m^3/s
    Dense_Array<std::int32_t> Sub_QTRM_Vel;     // (slot) mm/s
    Dense_Array<std::uint8_t> Sub_QTRM_Time;    // (0..7, slot) 19 then the seven clock bytes

    // Whole Set arrays, slots 0..Max_Whole_Ens.
    Dense_Array<std::uint8_t> Whole_Time;       // (0..6, slot)
    Dense_Array<std::uint8_t> Whole_Corr;       // (0..4, bin, slot)
    Dense_Array<std::uint8_t> Whole_Echo;       // (0..4, bin, slot)
    Dense_Array<std::uint8_t> Whole_PGood;      // (0..4, bin, slot)
    Dense_Array<std::int16_t> Whole_Vel;        // (0..5, bin, slot)
    Dense_Array<std::int32_t> Whole_Anc;        // (0..7, slot)
    Dense_Array<std::int16_t> Whole_Nav_Vel, Whole_Ref_Vel, Whole_BT_Vel, Whole_WM_Vel;  // (0..5, slot)
    Dense_Array<std::int32_t> Whole_BT_Range;   // (0..4, slot)

    // Per-bin error-velocity statistics of the Sub Set: (0 mean, 1 std dev, 2 percent valid; bin).
    Dense_Array<std::int32_t> Bin_Work;

    std::int32_t Sub_Count = 0;
    std::int32_t Whole_Count = 0;
    std::int32_t Whole_First_Ens = 0;
    std::int32_t Whole_Step = 0;
    // Changes, to a number no other Whole Set has had, whenever the Whole Set arrays are
    // filled or cleared: what a drawn Whole Set chart is kept against.
    std::uint64_t Whole_Generation = 0;
    std::int32_t Ens_Step = 0;
    std::int32_t File_First_Ens = 0, File_Last_Ens = 0, File_Ens_Count = 0;
    bool File_Lengths_Vary = false;  // ensembles of more than one length met by the survey or the walk
    std::int32_t First_Ens = 0, Last_Ens = 0;
    std::int32_t Cursor_Ens = 0;
    std::int32_t Sel_First_Ens = 0, Sel_Last_Ens = 0;
    std::int32_t First_Bin = 0, Last_Bin = 0;
    double Sum_Interval = 0, Avg_Interval = 0;  // seconds
    double Sub_Sum_Interval = 0;                // seconds
    bool File_Loaded = false;
    std::int32_t Orientation_Count = 0;
    std::array<bool, k_max_bins> Series_Bins{};  // bins drawn as series, by data-set bin index

    // Number of slots the Sub Set arrays hold (0 before the first allocation).
    std::int32_t Sub_Slots() const { return static_cast<std::int32_t>(Sub_Ens_Number.Size()); }
};

// Resizes the Sub Set arrays to max(max_sub, max_whole) + 1 slots and, when whole is
// true, the Whole Set arrays to max_whole + 1 slots and Bin_Work. Contents are cleared.
// The profile arrays hold `bins` bins (0..256); the decoders widen them for more.
void Allocate_Data_Set(Data_Set& ds, bool whole, std::int32_t max_sub_ens, std::int32_t max_whole_ens,
                       int bins = k_max_bins);

// True when the profile arrays already hold `bins` bins, so Fit_Profile_Bins leaves them be.
bool Profile_Bins_Fit(const Data_Set& ds, int bins);

// Widens the Sub Set and Whole Set profile arrays to at least `bins` bins, keeping every value.
void Fit_Profile_Bins(Data_Set& ds, int bins);

// Bins the Sub Set profile arrays hold.
int Profile_Bins(const Data_Set& ds);

// Copies slots 0..Sub_Count-1 of the Sub Set into the Whole Set (bins below num_bins only)
// and records Whole_Count, Whole_First_Ens and Whole_Step.
void Copy_To_Whole_Set(Data_Set& ds, int num_bins);

// Resets every Sub Set array of one slot to zeros and empty text, velocities to bad;
// profile arrays only in bins 0..bins-1.
void Clear_Slot(Data_Set& ds, std::int32_t slot, int bins = k_max_bins);

// Clear_Slot for what a decode left out: the parts and profile bins not in `wrote`.
void Clear_Unwritten(Data_Set& ds, std::int32_t slot, int bins, const Slot_Writes& wrote);

}  // namespace vantrel
