#pragma once
// The contour chart of the Whole Set and Sub Set windows: the colour-index grid with its
// statistics and scale, the off-screen image, the plot geometry, the bottom line, the
// axes, the colour bar and the texts around the plot.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "charts/contour_palette.h"
#include "platform/surface.h"

namespace vantrel {

struct Data_Set;
struct Decoder_State;
struct Settings;

// What the contour charts read of the program state.
struct Chart_Sources {
    const Data_Set& ds;
    const Decoder_State& dec;
    const Settings& settings;
    const Contour_Palette& palette;
};
struct Data_Set;
struct Decoder_State;
struct Settings;

enum class Chart_Window { k_whole, k_sub };

// What a contour window keeps after building its grid.
struct Contour_Results {
    std::int32_t Scale_Max = 0, Scale_Min = 0;  // colour scale, in the code's units
    std::int32_t Data_Max = 0, Data_Min = 0, Mean = 0, Count = 0, Std = 0;
    std::int32_t Ensembles = 0;       // grid columns
    std::int32_t Rows = 0;            // grid rows (bins shown)
    std::int32_t First_Row_Bin = 0;   // data-set bin index of row 0 (the bottom row)
    std::vector<std::int16_t> Index;  // colour index of (ensemble e, row r) at e * Rows + r

    std::int16_t At(std::int32_t e, std::int32_t r) const {
        return Index[static_cast<std::size_t>(e) * static_cast<std::size_t>(Rows) + static_cast<std::size_t>(r)];
    }
};

// Lowest and highest value a contour code can take; false for an unknown code.
bool Contour_Code_Limits(std::int32_t code, double& lo, double& hi);

// Builds the value grid of one window (Whole Set: all ensembles and bins 0..num_bins-1;
// Sub Set: Sub_Count ensembles, bins First_Bin..Last_Bin), its statistics, the scale under
// the settings' scale mode and the colour-index grid.
void Move_Data_To_Chart3d_Array(Contour_Results& results, const Data_Set& ds, const Settings& settings,
                                Chart_Window window, std::int32_t num_bins, std::int32_t code);

// Paints the colour-index grid into the image, one pixel per cell, row 0 at the bottom.
// The Sub Set image is never wider than screen_width pixels.
void Create_Chart3d(const Contour_Results& results, const Contour_Palette& palette, Surface& image,
                    Chart_Window window, int screen_width);

// Margins of the plot inside a chart surface, in pixels.
struct Chart3d_Geometry {
    int width = 0, height = 0;  // the chart surface
    double top = 0, bottom = 0, left = 0, right = 0;
    double text_w = 0, text_h = 0;  // extent of "W" in the chart font

    double Plot_Width() const { return std::max(1.0, width - left - right); }
    double Plot_Height() const { return std::max(1.0, height - top - bottom); }
    double Plot_Bottom() const { return top + Plot_Height(); }
    double Plot_Right() const { return left + Plot_Width(); }
};

// Margins from the chart font: room for titles above, label rows below, range labels left
// and bin labels right. Scroll bar sizes count only for the Whole Set window.
Chart3d_Geometry Set_Chart3d_Size(const Surface& chart, Chart_Window window, int scroll_bar_width = 0,
                                  int scroll_bar_height = 0);

// Clears the chart and stretches the whole image into the plot rectangle.
void Move_Clip_To_Chart3d(Surface& chart, const Surface& image, const Chart3d_Geometry& g);

// Lays the mean bottom-track range of every ensemble over the plot as an inverted white
// line (when the "BT Depth" option is on), then clears the margins.
void Display_BT_Contour(Surface& chart, const Chart3d_Geometry& g, const Contour_Results& results,
                        const Data_Set& ds, const Decoder_State& dec, const Settings& settings, Chart_Window window,
                        std::int32_t code);

struct Axis_Label {
    double pos = 0;  // x or y of the labelled point, pixels
    std::string text;
};

// Ticks of the four axes; labels that would overlap a neighbour are already left out.
struct Chart3d_Axes {
    std::vector<Axis_Label> range;      // left, y positions, metres
    std::vector<Axis_Label> bins;       // right, y positions, bin numbers
    std::vector<Axis_Label> ensembles;  // below, x positions
    std::vector<Axis_Label> times;      // above, x positions
    std::vector<double> time_ticks;     // every elapsed-time tick, labelled or not
    double cell_width = 0;              // plot width per ensemble
};

// The first and last ensemble number and ensemble step of a window.
struct Ensemble_Span {
    std::int32_t first = 0, last = 0, step = 0, count = 0;
};
Ensemble_Span Window_Ensembles(const Data_Set& ds, Chart_Window window);

// Range extent (metres, negative below a down-facing transducer) of the top and the bottom
// edge of the rows shown.
void Range_Extent(const Contour_Results& results, const Decoder_State& dec, std::int32_t orientation_count,
                  double& top_value, double& bottom_value);

// Every axis label and tick position of a chart. Labels placed in `occupied_*` (intervals of
// x already written in the rows above and below the plot) are avoided.
Chart3d_Axes Compute_Chart3d_Axes(const Surface& chart, const Chart3d_Geometry& g, const Contour_Results& results,
                                  const Data_Set& ds, const Decoder_State& dec, Chart_Window window,
                                  const std::vector<std::pair<double, double>>& occupied_below,
                                  const std::vector<std::pair<double, double>>& occupied_above);

// Position of the colour bar and its three labels.
struct Colour_Bar_Layout {
    double left = 0, top = 0, height = 0, unit = 0;
    bool circle = false;  // direction colours 400-539 instead of the spectrum
    bool ends = false;    // grey and white end boxes: the scale differs from the data range
    std::array<Axis_Label, 3> labels;  // middle, minimum, maximum (x centres)
    double Width() const { return unit * ((circle ? 140 : 100) + (ends ? 8 : 0)); }
};
Colour_Bar_Layout Layout_Colour_Bar(const Chart3d_Geometry& g, const Contour_Results& results, std::int32_t code,
                                    double top, double height);
void Draw_Colour_Bar(Surface& chart, const Colour_Bar_Layout& bar, const Contour_Palette& palette,
                     const std::string& caption, double caption_x, double caption_y, double labels_y);

// The texts of a contour window, formed on every refresh.
struct Chart3d_Texts {
    std::string duration_line;
    std::string type_title;
    std::string stats_line;
    std::string scale_caption;
    std::string range_caption = "Range (m)";
    std::string bin_caption = "Bin";
    std::array<std::string, 3> row_captions;
    std::array<std::string, 3> first_labels, last_labels;  // the ends of the three label rows
    std::string selection;
    std::string sub_location;  // Whole Set: where the Sub Set lies
};

// Data-type title of a contour code with its reference suffix where it takes one.
std::string Contour_Type_Title(std::int32_t code, std::int32_t vel_reference, bool is_qtrm);
// "Scale (counts)", "Scale (mm/s)", "Scale (degrees)" or "Scale (Percent)".
std::string Contour_Scale_Caption(std::int32_t code);

Chart3d_Texts Form_Chart3d_Texts(const Data_Set& ds, const Decoder_State& dec, const Settings& settings,
                                 const Contour_Results& results, Chart_Window window, std::int32_t code);

// What a Whole Set grid and its image are built from: while it holds they stand, and a
// Sub Set load redraws only what lies around the plot.
struct Whole_Grid_Key {
    std::uint64_t generation = 0;
    std::int32_t count = 0, num_bins = 0, code = 0, scale_mode = 0;
    std::array<std::int32_t, 2> scale_limits{};
    Contour_Palette palette{};
    bool operator==(const Whole_Grid_Key&) const = default;
};

// Everything a contour window keeps between refreshes.
struct Contour_View {
    Contour_Results results;
    Whole_Grid_Key whole_key;
    std::shared_ptr<Surface> whole_image;  // the Whole Set grid's image, while whole_key holds
    Chart3d_Texts texts;
    Chart3d_Geometry geometry;
    Chart3d_Axes axes;
    Colour_Bar_Layout bar;
    bool image_painted = false;
};

// The surfaces a contour window draws with.
struct Chart3d_Surfaces {
    Surface& chart;    // what the user sees
    Surface& image;    // one pixel per cell
    Surface& scratch;  // for turned captions
};

// Full refresh of a contour window: grid, texts, image, sizing, stretch, bottom line and
// decorations. Does nothing unless a file is loaded.
void Chart3d_DisplayTitles(Contour_View& view, const Chart_Sources& state, Chart3d_Surfaces surfaces,
                           Chart_Window window, std::int32_t code, int screen_width, int scroll_bar_width = 0,
                           int scroll_bar_height = 0);

// Draws frame, colour bar, axes, captions and texts around an already stretched plot.
void Draw_Chart3d_Decorations(Contour_View& view, const Chart_Sources& state, Surface& chart, Surface& scratch,
                              Chart_Window window, std::int32_t code);

}  // namespace vantrel
