#pragma once
// What one decode wrote into its Sub Set slot, so that only the rest needs clearing.

#include <cstdint>

namespace vantrel {

struct Slot_Writes {
    // Per-slot parts; a decoder that sets one has written every component of its arrays.
    enum Part : std::uint8_t {
        k_leader = 1,        // Sub_Ens_Number, Sub_Time, Sub_Anc but the orientation
        k_orientation = 2,   // Sub_Anc facing
        k_bottom_track = 4,  // Sub_BT_Range, Sub_BT_Vel, Sub_WM_Vel
        k_reference = 8,     // Sub_Ref_Vel, Sub_Calimbro_Lat and _Lon
        k_navigation = 16,   // Sub_First_ and Sub_Last_ Lat and Lon, Sub_Nav_Vel
        k_qtrm = 32,         // Sub_QTRM_Time, _Depth, _Vel, _Flow
        k_microcat = 64,     // Sub_MicroCAT
    };
    std::uint8_t parts = 0;
    // Profile arrays: every component of bins 0..n-1 written.
    std::uint16_t vel_bins = 0, corr_bins = 0, echo_bins = 0, pgood_bins = 0;

    bool Has(Part p) const { return (parts & p) != 0; }
    void Add(Part p) { parts = static_cast<std::uint8_t>(parts | p); }
};

}  // namespace vantrel
