#pragma once
// The trend and residuals of one candle of the series chart: a repeated triangular filter
// over the candle's samples, with directions smoothed as unit vectors.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct Candle_Tables;

// One pass of the triangular filter over x in place; -32768 marks a missing value, filled
// from a running value. No value is missing afterwards, unless all were.
void Smooth(std::vector<double>& x);

// What the trend view studies: series and bin ordinals of the candle tables and the number
// of smoothing passes (the width shown is 2 w + 1 samples).
struct Trend_Selection {
    std::int32_t series = 0;
    std::int32_t bin = 0;
    int Triangular_Width = 0;
};

// Keeps the selection inside tables that may have shrunk since the last draw: series, bin
// and the picked candle (Candle_Tables::selected) within their counts. Returns the candle
// to show, -1 when there is none.
std::int32_t Clamp_Trend_Selection(Trend_Selection& selection, Candle_Tables& tables);

// The candle typed into the candle box (1-based text) as a 0-based index, the last candle
// for a larger number; nothing for an empty answer, text that is no number, or below 1.
std::optional<std::int32_t> Candle_Answer(std::string_view answer, std::int32_t candles);

// Table line y (pixels from the top of a surface of the given height, lines of
// line_height counted from the bottom) as series and bin; false outside the table.
bool Pick_Table_Line(double y, double height, double line_height, const Candle_Tables& tables,
                     Trend_Selection& selection);

// A series whose unit is "deg" holds tenths of a degree.
bool Is_Direction_Unit(std::string_view unit);

struct Trend_Result {
    bool direction = false;
    double factor = 1;                       // stored units to shown units (0.1 for directions)
    std::vector<double> samples;             // stored values, -32768 missing
    std::vector<double> trend;               // stored units; directions 0..3600 tenths
    std::vector<double> residuals;           // stored units, only where valid[i]
    std::vector<bool> valid;
    // Residual statistics over the valid samples (stored units).
    std::int32_t count = 0;
    double maximum = -999999, minimum = 999999, mean = 0, deviation = 0;
};

// Trend and residuals of candle c, bin and series ordinals of the tables, after w passes.
// Direction residuals are wrapped to (-1800, 1800] tenths of a degree.
Trend_Result Compute_Trend(const Candle_Tables& tables, std::int32_t candle, std::int32_t bin, std::int32_t series,
                           int w);

// "hhhh:mm:ss.ss" of a candle length in seconds.
std::string Candle_Interval_Text(double seconds);

}  // namespace vantrel
