#pragma once
// The rules behind the Whole Set and Sub Set windows' mouse, key, scroll-bar and animation
// handling, apart from any widget: which cell is under a point, what range a drag selects,
// where the scroll bars move the Sub Set, how the profile and series lines step.

#include <cstdint>
#include <optional>

#include "charts/contour.h"
#include "charts/sub_set_layout.h"

namespace vantrel {

struct Data_Set;

// A cell of a contour grid: ensemble index from the left, bin index from the top row.
struct Chart3d_Cell {
    std::int32_t e = 0, b = 0;
};

bool Inside_Plot(const Chart3d_Geometry& g, double x, double y);
// The cell under a point of the chart surface, held inside the grid.
Chart3d_Cell Get_Chart3d_DataIndex(const Chart3d_Geometry& g, const Contour_Results& r, double x, double y);
// The reverse: the centre of a cell.
void Get_Chart3d_DataCoordinate(const Chart3d_Geometry& g, const Contour_Results& r, Chart3d_Cell cell, double& x,
                                double& y);

// A Sub Set range: ensemble numbers and 1-based bin numbers.
struct Sub_Range {
    std::int32_t first_ens = 0, last_ens = 0, first_bin = 0, last_bin = 0;
    bool operator==(const Sub_Range&) const = default;
};

// The range a drag from start to end selects; nothing unless it spans at least one cell in
// both directions. columns is the Whole Set grid's width, num_bins its height.
std::optional<Sub_Range> Whole_Selection(const Data_Set& ds, std::int32_t columns, std::int32_t num_bins,
                                         Chart3d_Cell start, Chart3d_Cell end);
std::optional<Sub_Range> Sub_Selection(const Data_Set& ds, Chart3d_Cell start, Chart3d_Cell end);
// A drag across the series pane picks ensembles only (its height is strips, not bins): from
// sample start to end, the bins kept. Across the profile pane, bins only: contour rows start
// to end, the ensembles kept. Nothing unless it spans two samples or rows.
std::optional<Sub_Range> Series_Selection(const Data_Set& ds, std::int32_t start, std::int32_t end);
std::optional<Sub_Range> Profile_Selection(const Data_Set& ds, std::int32_t start, std::int32_t end);

enum class Arrow_Key { k_left, k_right, k_up, k_down };

// Where an arrow key moves the Sub Set in the Whole Set window; nothing at the ends.
std::optional<Sub_Range> Whole_Arrow_Move(const Data_Set& ds, std::int32_t num_bins, Arrow_Key key);

// The scroll bars of the Whole Set window. The horizontal bar runs 0..room, one step per
// ensemble the Sub Set can move; the vertical bar 0..(N - 1 - k), its top showing the
// highest bins.
struct Scroll_Ranges {
    std::int32_t h_max = 0, h_value = 0, h_page = 1;
    std::int32_t v_max = 0, v_value = 0;
};
Scroll_Ranges Move_Scrollers(const Data_Set& ds, std::int32_t num_bins);
// The ensemble range at horizontal value v (of 0..h_max); the last value ends at File_Last_Ens.
Sub_Range HScroll_Range(const Data_Set& ds, std::int32_t v, std::int32_t h_max);
// The bin range at vertical value v (of 0..v_max).
Sub_Range VScroll_Range(const Data_Set& ds, std::int32_t num_bins, std::int32_t v, std::int32_t v_max);

// Moves Cursor_Ens by delta inside First_Ens..Last_Ens; false when it could not move.
bool Step_Cursor_Ens(Data_Set& ds, std::int32_t delta);
// Moves every chosen series bin of First_Bin..Last_Bin one bin up (+1) or down (-1),
// unless a chosen bin already sits at that end; false when nothing moved.
bool Shift_Series_Bins(Data_Set& ds, std::int32_t delta);
// Toggles the series entry of bin number bin; false outside First_Bin..Last_Bin.
bool Toggle_Series_Bin(Data_Set& ds, std::int32_t bin);

// The contour animation's first value and step on a bar of value v, page L and maximum M.
struct Contour_Steps {
    std::int32_t first = 0, step = 1;
};
Contour_Steps Contour_Animation_Steps(std::int32_t v, std::int32_t page);
// Profile animation: where it starts (the first ensemble when already at the last).
void Start_Profile_Animation(Data_Set& ds);

// The candle under x of the series pane's plot, -1 outside the candles or with none.
std::int32_t Pick_Candle(double x, double plot_left, double plot_width, std::int32_t candles);

// Border drags of the Sub Set window, in window pixels; a pane keeps k_min_pane_px.
double Series_Border_Ratio(double y, int inner_height);
double Profile_Border_Ratio(double x, int inner_width);

// The Sub Set window's pane under a point.
enum class Sub_Set_Pane { k_contour, k_series, k_profile };
Sub_Set_Pane Pane_At(const Sub_Set_Layout& l, double x, double y);

// The inverting lines drawn over the Sub Set contour (the chart surface's own pixels, the
// chart at x offset left): the profile line at Cursor_Ens, the series lines at the chosen bins,
// the Sub Set marker of the Whole Set chart. A second call erases.
void Toggle_Profile_Line(Surface& s, const Contour_View& view, const Data_Set& ds, double left);
void Toggle_Series_Line(Surface& s, const Contour_View& view, const Data_Set& ds, double left);
void Toggle_Series_Bin_Line(Surface& s, const Contour_View& view, std::int32_t bin, double left);
void Toggle_Sub_Set_Marker(Surface& s, const Contour_View& view, const Data_Set& ds, const Sub_Range& at);
// A rubber band between two points; a second call erases.
void Toggle_Rubber_Band(Surface& s, double x1, double y1, double x2, double y2);
// A line of the given width: the locator line, a pane border being dragged.
void Toggle_Inverting_Line(Surface& s, double x1, double y1, double x2, double y2, int width);

}  // namespace vantrel
