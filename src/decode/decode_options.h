#pragma once
// What the decoders read besides the ensemble: three settings and the Flip check mark.

#include <functional>

#include "settings/settings.h"

namespace vantrel {

struct Decode_Options {
    double Vel_Scale = 1;         // factor on water and reference-layer velocities
    double BT_Vel_Scale = 1;      // factor on bottom-track velocities
    double Water_Density = 1000;  // kg per cubic metre, for the pressure depth
    bool Flip = false;            // invert the beams' facing (latched once per open)
    // Called before a decode widens the profile arrays, so that work still reading them
    // (the processing of earlier slots) can finish first.
    std::function<void()> Before_Widen;
};

// The options of the settings in force, with the Flip check mark the caller latched.
inline Decode_Options Decode_Options_Of(const Settings& settings, bool flip) {
    Decode_Options opt;
    opt.Vel_Scale = settings.Vel_Scale;
    opt.BT_Vel_Scale = settings.BT_Vel_Scale;
    opt.Water_Density = settings.Water_Density;
    opt.Flip = flip;
    return opt;
}

}  // namespace vantrel
