#pragma once
// Shared pieces of the series and profile charts: turned text, trace and candle drawing
// and the candle tables that the trend view reads.

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dataset/dense_array.h"
#include "platform/surface.h"

namespace vantrel {

// Writes text turned a quarter turn through the scratch surface. Upwards: reads bottom to
// top with its first letter at Ydest; otherwise top to bottom ending at Ydest. Xdest is the
// left edge of the turned text.
void PrintVerticalTitle(Surface& chart, Surface& scratch, std::string_view text, double Xdest, double Ydest,
                        bool Upwards);

// Candle statistics and samples of the last series chart, and their geometry.
struct Candle_Tables {
    std::int32_t samples = 0;    // S, ensembles per candle
    std::int32_t candles = 0;    // C
    std::int32_t bins = 0;       // bin ordinals
    std::int32_t series = 0;     // series ordinals
    double candle_width = 0;     // seconds
    double mean_interval = 0;    // seconds
    std::int32_t selected = -1;  // candle picked in the trend view, -1 for none
    std::vector<std::string> units;  // unit of each series ordinal ("deg": tenths of a degree)

    // Statistic: 0 bin (0-based), 1 first and 2 last ensemble index, 3 mean, 4 deviation,
    // 5 maximum, 6 minimum, 7 valid samples; values in the array's stored units.
    std::vector<std::int32_t> stats;
    std::vector<std::int16_t> raw;  // every stored value of a candle, missing ones included

    void Allocate(std::int32_t s, std::int32_t c, std::int32_t b, std::int32_t k);
    bool Holds(std::int32_t candle, std::int32_t bin, std::int32_t series_ordinal) const {
        return candle >= 0 && candle < candles && bin >= 0 && bin < bins && series_ordinal >= 0 &&
               series_ordinal < series;
    }
    std::int32_t& Stat(int statistic, std::int32_t candle, std::int32_t bin, std::int32_t series_ordinal) {
        return stats[Index(statistic, 8, candle, bin, series_ordinal)];
    }
    std::int32_t Stat(int statistic, std::int32_t candle, std::int32_t bin, std::int32_t series_ordinal) const {
        return stats[Index(statistic, 8, candle, bin, series_ordinal)];
    }
    std::int16_t& Sample(std::int32_t i, std::int32_t candle, std::int32_t bin, std::int32_t series_ordinal) {
        return raw[Index(i, samples, candle, bin, series_ordinal)];
    }
    std::int16_t Sample(std::int32_t i, std::int32_t candle, std::int32_t bin, std::int32_t series_ordinal) const {
        return raw[Index(i, samples, candle, bin, series_ordinal)];
    }

private:
    std::size_t Index(std::int32_t first, std::int32_t first_extent, std::int32_t c, std::int32_t b,
                      std::int32_t k) const {
        return static_cast<std::size_t>(first) +
               static_cast<std::size_t>(first_extent) *
                   (static_cast<std::size_t>(c) +
                    static_cast<std::size_t>(candles) * (static_cast<std::size_t>(b) +
                                                         static_cast<std::size_t>(bins) * static_cast<std::size_t>(k)));
    }
};

// Where a trace or candle row goes, given by the chart that calls the drawers.
struct Trace_Geometry {
    float left = 0;              // x of the plot's left edge
    double dx = 1;               // width of one ensemble
    std::int32_t count = 0;      // ensembles shown
    double strip_height = 0;     // H
    double base = 0;             // strip k's bottom edge is base - k H + 3
    bool overlay = false;        // all bins share base + 3
    double lo = 0, hi = 1;       // value range of a strip
    double yscale = 1;           // (H - 2) / (hi - lo)
    double scale = 1;            // factor on stored values (0.1 for tenths of a degree)
    double wrap = 100000;        // jumps above this wrap across 0/360
    std::int32_t column = 0;     // component inside the array
    bool direction = false;      // tenths of a degree: candle means and deviations on the circle

    double Bottom(std::int32_t ordinal) const { return overlay ? base + 3 : base - ordinal * strip_height + 3; }
    // y of a stored value in the strip whose bottom edge is bottom.
    double Y(double stored, double bottom) const;
};

struct Trace_Style {
    bool lines = true, symbols = false;
    const std::int32_t* colours = nullptr;  // colour table
    int colour_count = 1;                   // entries used before the index wraps
};

// Where a trace that wraps across 0/360 crosses the edge, as a fraction 0..1 of its step:
// `before` is the distance from the earlier value to the edge it leaves through, `after`
// from the other edge to the later value. 0 when both lie on the edges (360 to 0).
double Wrap_Crossing(double before, double after);

// A symbol: a dot of width 4 at (x, y), leaving line width 1 and the drawing position as they were.
void Draw_Symbol(Surface& s, double x, double y, Colour colour);

// Shown range of a strip or pane: centre +/- span of the limits, at least 1 wide.
void Strip_Range(double minimum, double maximum, double& lo, double& hi);

// One trace per selected bin (1-based data-set bin numbers) of a byte array (component, bin, slot).
void DrawByteSeries(Surface& s, const Dense_Array<std::uint8_t>& data, const std::vector<std::int32_t>& bins,
                    const Trace_Geometry& g, const Trace_Style& style);
// One trace per selected bin of (component, bin, slot), or a single trace of (component, slot)
// when not bin-resolved; -32768 breaks the trace.
void DrawWordSeries(Surface& s, const Dense_Array<std::int16_t>& data, const std::vector<std::int32_t>& bins,
                    bool bin_resolved, const Trace_Geometry& g, const Trace_Style& style);

// One trace of a 32-bit array (component, slot) in one colour; nothing is missing.
void DrawLongSeries(Surface& s, const Dense_Array<std::int32_t>& data, const Trace_Geometry& g,
                    const Trace_Style& style, Colour colour);

// Candles per selected bin, filing their statistics under series_ordinal. half_width is
// half the width of "0" on the chart above, the widest a candle box may be.
void DrawByteCandles(Surface& s, const Dense_Array<std::uint8_t>& data, const std::vector<std::int32_t>& bins,
                     const Trace_Geometry& g, const Trace_Style& style, Candle_Tables& tables,
                     std::int32_t series_ordinal, std::int32_t selected_bins, double half_width);
void DrawWordCandles(Surface& s, const Dense_Array<std::int16_t>& data, const std::vector<std::int32_t>& bins,
                     bool bin_resolved, const Trace_Geometry& g, const Trace_Style& style, Candle_Tables& tables,
                     std::int32_t series_ordinal, std::int32_t selected_bins, double half_width);

// The values the series drawers read, one row per selected bin (or one row for a quantity
// without bins), count values a row; k_value_outside where the array ends. Gathering once
// lets a series' trace and candles share one pass over the data set.
constexpr std::int32_t k_value_outside = INT32_MIN;
std::vector<std::int32_t> Gather_Series_Rows(const Dense_Array<std::uint8_t>& data, std::int32_t column,
                                             const std::vector<std::int32_t>& bins, std::int32_t count);
std::vector<std::int32_t> Gather_Series_Rows(const Dense_Array<std::int16_t>& data, std::int32_t column,
                                             bool bin_resolved, const std::vector<std::int32_t>& bins,
                                             std::int32_t count);
// Traces and candles of gathered rows; missing: -32768 is a missing value (16-bit data).
void Draw_Gathered_Traces(Surface& s, const std::vector<std::int32_t>& values, std::size_t rows,
                          const Trace_Geometry& g, const Trace_Style& style, bool missing);
void Draw_Gathered_Candles(Surface& s, const std::vector<std::int32_t>& values, std::size_t rows,
                           const std::vector<std::int32_t>& bins, const Trace_Geometry& g, const Trace_Style& style,
                           Candle_Tables& tables, std::int32_t series_ordinal, std::int32_t selected_bins,
                           double half_width, bool missing);

}  // namespace vantrel
