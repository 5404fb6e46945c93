#pragma once
// The Sub Set window drawn into one surface (profile pane left, contour top right, series
// pane below it) and the Whole Set contour drawn into a surface of any size.

#include <string_view>

#include "charts/contour.h"
#include "charts/profile_chart.h"
#include "charts/series_chart.h"

namespace vantrel {

// Narrowest pane the borders leave, so its edge can always be caught and dragged back.
constexpr int k_min_pane_px = 12;

// Pixel rectangles of the Sub Set window's three panes.
struct Sub_Set_Layout {
    int width = 0, height = 0;
    int profile_width = 0;                // left pane, full height
    int contour_left = 0, contour_width = 0, contour_height = 0;
    int series_top = 0, series_height = 0;
    double font_size = 10;                // the contour chart's font
};

// Splits a window of width x height pixels by Sub_Window_Ratio_1 and Sub_Window_Ratio_2 and
// picks the chart font on probe (which keeps that font).
Sub_Set_Layout Layout_Sub_Set_Window(int width, int height, const Settings& settings, Surface& probe);

// The largest font of 10 points or less that fits `lines` text lines into height pixels and
// `columns` times glyph into width pixels; probe keeps that font.
double Fit_Chart_Font(Surface& probe, int width, int height, int lines, int columns, std::string_view glyph);

struct Sub_Set_View {
    Sub_Set_Layout layout;
    Contour_View contour;
    Series_Outputs series;
    Profile_Outputs profile;
};

// Draws the whole Sub Set window into target at its current size. screen_width limits the
// contour image's width.
void Draw_Sub_Set_Window(Surface& target, const Chart_Sources& state, Candle_Tables& candles, Sub_Set_View& view,
                         int screen_width);

// The series pane and the profile pane drawn again alone, after Draw_Sub_Set_Window.
void Draw_Sub_Set_Series(Surface& target, const Chart_Sources& state, Candle_Tables& candles, Sub_Set_View& view);
void Draw_Sub_Set_Profile(Surface& target, const Chart_Sources& state, Sub_Set_View& view);

// Draws the Whole Set contour chart filling target.
void Draw_Whole_Set_Chart(Surface& target, const Chart_Sources& state, Contour_View& view);

}  // namespace vantrel
