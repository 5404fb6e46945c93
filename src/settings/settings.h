#pragma once
// The program-wide settings store.

#include <cstdint>

namespace vantrel {

struct Settings {
    double Vel_Scale = 1;       // factor on water and reference-layer velocities
    double BT_Vel_Scale = 1;    // factor on bottom-track velocities
    float Water_Density = 1000; // kg per cubic metre, for the pressure depth
    std::int32_t Max_Sub_Ens = 256;
    std::int32_t Max_Whole_Ens = 256;
};

}  // namespace vantrel
