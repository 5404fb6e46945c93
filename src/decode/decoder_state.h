#pragma once
// What the scanner and the decoders keep between calls: the current ensemble's
// bytes, the data structure of the file, the set-up scalars of the last fixed
// leader decoded and the data-type flags of the current ensemble.

#include <cstdint>
#include <vector>

#include "dataset/slot_writes.h"

namespace vantrel {

enum Data_Structure_Kind : std::int32_t { k_structure_unknown = 0, k_structure_nb = 1, k_structure_bb = 2 };

struct Decoder_State {
    std::vector<std::uint8_t> Ens_Buffer;  // the ensemble and its 2-byte checksum
    std::int32_t Ens_Bytes = 0;            // bytes before the checksum
    std::int32_t Data_Structure = k_structure_unknown;
    std::int32_t Num_Data_Types = 0;
    std::int32_t Cur_Ens_Number = 0;

    // Set-up scalars of the last fixed leader (or narrowband leader).
    double FW_Version = 0;
    bool Is_QTRM = false;
    std::int32_t Sys_Config = 0;
    std::int32_t Num_Bins = 0;
    std::int32_t Pings_Per_Ens = 0;
    double Bin_Size = 0;     // m
    std::int32_t Profiling_Mode = 0;
    std::uint8_t Time_Per_Ping[3] = {0, 0, 0};  // minutes, seconds, hundredths
    std::int32_t Coord_Transform = 0;
    double Bin1_Dist = 0;    // m
    double Xmit_Length = 0;  // m
    double Lag_Length = 0;   // m
    double Bin_Size_C20C10 = 0, Bin_Size_C30C20 = 0;
    double Bin1_Dist_C20C10 = 0, Bin1_Dist_C30C20 = 0;

    // Bottom-track set-up of the last bottom-track block.
    std::int32_t BT_Pings = 0;
    std::int32_t BT_Reacquire_Delay = 0;
    std::int32_t BT_Corr_Min = 0;
    std::int32_t BT_Amp_Min = 0;
    std::int32_t BT_PG_Min = 0;
    std::int32_t BT_Mode = 0;
    std::int32_t BT_Err_Max = 0;    // mm/s
    std::int32_t BT_Max_Depth = 0;  // dm

    // Narrowband factors of the last narrowband leader.
    double NB_Vel_Factor = 0;   // mm/s per count
    double NB_Range_Factor = 0; // cm per count

    // Pressure depth agreement: +1 per ensemble whose pressure depth was used, -1 otherwise.
    std::int32_t Pressure_Agree_Count = 0;

    // What the current ensemble's decode wrote into its slot.
    Slot_Writes Slot_Written;

    // Data types present in the current ensemble.
    bool Have_FL = false, Have_VL = false, Have_Vel = false, Have_Corr = false, Have_Echo = false;
    bool Have_PG = false, Have_BT = false, Have_MicroCAT = false, Have_QTRM = false, Have_Nav = false;

    void Clear_Have_Flags() {
        Have_FL = Have_VL = Have_Vel = Have_Corr = Have_Echo = false;
        Have_PG = Have_BT = Have_MicroCAT = Have_QTRM = Have_Nav = false;
    }
};

}  // namespace vantrel
