#pragma once
// The trend window's picture: the selected candle's samples with their trend, the
// residuals below, the candle's description and the statistics table of every series and
// bin at the bottom.

#include <cstdint>
#include <string>

#include "analysis/trend.h"
#include "platform/surface.h"

namespace vantrel {

struct Candle_Tables;
struct Data_Set;
struct Decoder_State;
struct Settings;

// What the last draw showed, for the table click and for tests.
struct Trend_View {
    double line_height = 0;   // table lines, pixels
    std::int32_t candle = -1; // the candle shown, -1 for none
    double H = 0;             // height of each of the two panels
    Trend_Result result;
};

// Draws the view of the selection on s at its size, after keeping the selection inside the
// tables (Clamp_Trend_Selection).
void Show_Stat_Data(Surface& s, Surface& scratch, Candle_Tables& tables, Trend_Selection& selection,
                    const Data_Set& ds, const Decoder_State& dec, const Settings& settings, Trend_View& view);

// The text of the candle label: "Candle 3 of 12", or "No candles".
std::string Trend_Label_Text(const Candle_Tables& tables);

}  // namespace vantrel
