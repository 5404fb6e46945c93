#pragma once
// The track vector view drawn into one surface: the text panel on top, the long-track
// chart and the cross-track chart below it, one strip per selected bin.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace vantrel {

struct Data_Set;
struct Decoder_State;
struct Settings;

struct Track_Chart_Box {
    double left = 0, top = 0, width = 0, height = 0;
    bool Holds(double x, double y) const { return x >= left && x < left + width && y >= top && y < top + height; }
};

// What the last draw laid out, kept for the tool tip.
struct Track_View {
    double line_height = 0;           // of the panel font
    Track_Chart_Box upper, lower;     // long track, cross track
    std::vector<std::int32_t> bins;   // 1-based data-set bins drawn, the first in the lowest strip
    std::int32_t strips = 1;
    bool overlay = false;
    double dx = 0;                    // pixels per ensemble
    std::int32_t count = 0;           // ensembles drawn
};

// The window's font size from the checked "Size" item (20, 15, 10, 8, 7, 6, 5 or 4 points).
double Track_Font_Size(const Settings& settings);

// Lays out and draws the whole view on s at its size; nothing but a cleared surface
// without a loaded, non-empty Sub Set. Reads Sub_Vel columns 6 and 7.
void Show_Track_Vector_Data(Surface& s, const Data_Set& ds, const Decoder_State& dec, const Settings& settings,
                            Track_View& view);

// The tool tip for the pointer at (x, y) of the surface; empty outside both charts.
std::string Track_Tip_At(const Track_View& view, double x, double y, const Data_Set& ds, const Decoder_State& dec,
                         const Settings& settings);

}  // namespace vantrel
