#pragma once
// Magnitude (mm/s) and direction (tenths of a degree clockwise from north) of horizontal
// velocities held as (east, north, ..., magnitude, direction) in components 0, 1, 4 and 5.

#include <cstdint>

namespace vantrel {

// Components 4 and 5 of one velocity from 0 and 1; both bad (-32768) when either is bad.
void Magnitude_Direction(std::int16_t* v);

// The same for the n bins of a profile, 8 components a bin.
void Magnitude_Direction_Profile(std::int16_t* vel, int n);

}  // namespace vantrel
