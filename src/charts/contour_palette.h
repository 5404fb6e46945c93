#pragma once
// The contour colour table: a blue-to-red spectrum, a grey ramp and a closed colour
// circle for directions.

#include <array>

#include "platform/surface.h"

namespace vantrel {

constexpr int k_palette_size = 540;
using Contour_Palette = std::array<Colour, k_palette_size>;

// Colour indices with a fixed role in a contour grid.
constexpr int k_index_bad = 100;    // black: missing value
constexpr int k_index_below = 228;  // grey: below the scale
constexpr int k_index_above = 355;  // white: above the scale
constexpr int k_circle_first = 400, k_circle_last = 539;  // the direction circle

// The 540 colours (red + 256 green + 65536 blue); unfilled entries are black.
Contour_Palette Build_Contour_Palette();

}  // namespace vantrel
