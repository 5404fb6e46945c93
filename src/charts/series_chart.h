#pragma once
// The series pane of the Sub Set window: time series of the chosen bins and of the
// bottom-track, water-mass and navigation velocities, with the ancillary chart below.

#include <cstdint>
#include <string>
#include <vector>

#include "charts/chart_primitives.h"
#include "platform/surface.h"

namespace vantrel {

struct Data_Set;
struct Decoder_State;
struct Settings;

enum class Series_Source { k_echo, k_corr, k_vel, k_pgood, k_bt, k_wm, k_nav };

// One entry of the series kind table (kinds 0 to 35 of Series_Select).
struct Series_Kind {
    std::int32_t code = 0;
    Series_Source source = Series_Source::k_echo;
    std::int32_t column = 0;      // component inside the array
    std::int32_t group = 0;       // scale group: series 0-5, or ancillary 8-10
    bool ancillary_group = false; // limits from the ancillary scale table
    bool bin_resolved = true;
    bool direction = false;       // stored in tenths of a degree
};
Series_Kind Series_Kind_Of(std::int32_t kind);

// What the right-edge title, the unit and the left-margin label of a kind read.
struct Series_Titles {
    std::string kind_name;  // with the reference suffix where it takes one
    std::string unit;
    std::string label;
    std::string strip_label;  // "BT  ", "WM  ", "NAV " for a quantity without bins; empty otherwise
};
Series_Titles Series_Titles_Of(std::int32_t kind, const Settings& settings, bool is_qtrm);

// Limits of a series kind's scale group after the direction rule (max at most 270, min at
// least 90).
void Series_Limits(const Series_Kind& kind, const Settings& settings, double& minimum, double& maximum);

// What other parts of the program read after a series chart.
struct Series_Outputs {
    std::vector<std::int32_t> codes;
    std::vector<std::string> units, labels;
    std::vector<std::int32_t> bins;     // 1-based data-set bin numbers, ascending
    std::int32_t bin_resolved_series = 0;
    double boundary_y = 0;              // between the series and the ancillary area
    double strip_height = 0;
    double dx = 0;
};

// The bins drawn as series: 1-based data-set bin numbers, ascending.
std::vector<std::int32_t> Selected_Series_Bins(const Data_Set& ds);

// The layout choices of a series chart, computed apart from painting.
struct Series_Layout {
    std::vector<std::int32_t> bins, kinds, anc_items;
    std::int32_t bin_count = 0;  // at least 1 when some series has no bins
    double strip_height = 0;
    std::int32_t shown = 0;      // N, ensembles along the plot
    double dx = 0;
    double font_size = 10;
};
Series_Layout Layout_Series_Chart(Surface& series, const Data_Set& ds, const Settings& settings, float left,
                                  float width);

// Draws the series pane. time_ticks are the x of the contour chart's time labels;
// zero_half_width is half the width of "0" on the contour chart.
void DrawSeriesChart(Surface& series, Surface& scratch, const Data_Set& ds, const Decoder_State& dec,
                     const Settings& settings, Candle_Tables& candles, Series_Outputs& out, float left, float width,
                     const std::vector<double>& time_ticks, double zero_half_width);

// The ancillary strips: the lower half of the pane when series are shown, all of it otherwise.
void DrawAncillaryChart(Surface& series, Surface& scratch, const Data_Set& ds, const Settings& settings,
                        float left, float width, std::int32_t items, bool series_shown,
                        const std::vector<double>& time_ticks);

}  // namespace vantrel
