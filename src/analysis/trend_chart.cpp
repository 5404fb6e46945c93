#include "analysis/trend_chart.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "charts/chart_primitives.h"
#include "dataset/data_set.h"
#include "decode/decoder_state.h"
#include "platform/text_format.h"
#include "settings/settings.h"

namespace vantrel {

namespace {

constexpr const char* k_table_font = "Courier New";
constexpr double k_font_size = 8;

// The plot area of a panel: x from left to right, y from top to top + H.
struct Panel {
    double left = 0, right = 0, top = 0, H = 0, Lw = 0, Rw = 0;
};

void Frame_Panel(Surface& s, Surface& scratch, const Panel& p, const std::string& title) {
    s.Fore_Color = k_black;
    s.Draw_Style = Line_Style::k_dotted;
    for (int q = 1; q <= 3; ++q) s.Draw_Line(p.left, p.top + q * p.H / 4, p.right, p.top + q * p.H / 4);
    s.Draw_Style = Line_Style::k_solid;
    s.Draw_Box(p.left, p.top, p.right, p.top + p.H);
    s.Draw_Box(0, p.top, p.Lw, p.top + p.H);
    PrintVerticalTitle(s, scratch, title, 2, p.top + (p.H + s.TextWidth(title)) / 2, true);
}

// Pattern that tells apart scale numbers step apart: whole numbers unless they are closer.
std::string_view Scale_Pattern(double step) {
    step = std::fabs(step);
    return step >= 1 || step == 0 ? "0" : step >= 0.1 ? "0.0" : step >= 0.01 ? "0.00" : "0.000";
}

// Scale number right of the plot, centred on y.
void Scale_Number(Surface& s, const Panel& p, double y, double value, double step) {
    const std::string text = Format(value, Scale_Pattern(step));
    s.Fore_Color = k_black;
    s.Print_At(p.right + 4, y - s.TextHeight(text) / 2, text);
}

// A candle at x: line from y_max to y_min, box from y_hi to y_lo, black line at y_mean.
void Draw_Column_Candle(Surface& s, double x, double y_max, double y_min, double y_hi, double y_lo, double y_mean,
                        Colour colour) {
    s.Fore_Color = colour;
    s.Draw_Line(x, y_max, x, y_min);
    s.Fill_Color = colour;
    s.Fill_Box(x - 3, y_hi, x + 3, y_lo);
    s.Fore_Color = k_black;
    s.Draw_Line(x - 3, y_mean, x + 4, y_mean);
}

// Points joined by lines; missing points break the line.
template <typename Y>
void Draw_Points(Surface& s, const std::vector<double>& v, const std::vector<bool>* valid, double x0, double dx,
                 Colour colour, Y y_of) {
    bool previous = false;
    s.Fore_Color = colour;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if ((valid && !(*valid)[i]) || v[i] == k_bad_velocity) {
            previous = false;
            continue;
        }
        const double x = x0 + static_cast<double>(i) * dx, y = y_of(v[i]);
        if (previous) s.Line_To(x, y);
        s.Set_Point(x, y, colour);
        s.Draw_Width = 3;
        s.Set_Point(x, y, colour);
        s.Draw_Width = 1;
        previous = true;
    }
}

std::string Stat_Text(double value, double factor) { return Format(value * factor, factor < 1 ? "0.0" : "0"); }

// The statistics table at the bottom: line r from the bottom is series r / bins, bin r mod bins.
void Draw_Table(Surface& s, const Candle_Tables& t, std::int32_t candle, const Trend_Selection& selection,
                const Data_Set& ds, const Decoder_State& dec, double lh) {
    const std::int32_t lines = t.series * t.bins;
    const double h = s.Height();
    s.Fore_Color = k_black;
    s.Print_At(4, h - (lines + 1) * lh, "        Bin        Average   Max   Min  Units  Samples ");
    for (std::int32_t r = 0; r < lines; ++r) {
        const std::int32_t k = r / t.bins, b = r % t.bins;
        const double y = h - (r + 1) * lh;
        if (k == selection.series && b == selection.bin) {
            s.Fill_Color = Rgb(220, 220, 220);
            s.Fill_Box(0, y, s.Width(), y + lh);
        }
        const auto unit = static_cast<std::size_t>(k) < t.units.size() ? t.units[static_cast<std::size_t>(k)] : std::string();
        const double f = Is_Direction_Unit(unit) ? 0.1 : 1.0;
        const std::int32_t bin = t.Stat(0, candle, b, k);
        const std::int32_t number = ds.Orientation_Count > 0 ? dec.Num_Bins - bin : bin + 1;
        const std::string row = Fix_String(Format(number, "0"), ' ', 11) + Fix_String(Stat_Text(t.Stat(3, candle, b, k), f), ' ', 15) +
                                Fix_String(Stat_Text(t.Stat(5, candle, b, k), f), ' ', 6) +
                                Fix_String(Stat_Text(t.Stat(6, candle, b, k), f), ' ', 6) + Fix_String(unit, ' ', 7) +
                                Fix_String(Format(t.Stat(7, candle, b, k), "0"), ' ', 9);
        s.Fore_Color = k_black;
        s.Print_At(4, y, row);
    }
}

}  // namespace

std::string Trend_Label_Text(const Candle_Tables& tables) {
    if (tables.candles <= 0 || tables.series <= 0 || tables.bins <= 0) return "No candles";
    return "Candle " + Format(std::clamp(tables.selected, 0, tables.candles - 1) + 1, "0") + " of " +
           Format(tables.candles, "0");
}

void Show_Stat_Data(Surface& s, Surface& scratch, Candle_Tables& t, Trend_Selection& selection, const Data_Set& ds,
                    const Decoder_State& dec, const Settings& settings, Trend_View& view) {
    s.Reset_Scale();
    s.Drawing_Mode = Draw_Mode::k_normal;
    s.Draw_Style = Line_Style::k_solid;
    s.Draw_Width = 1;
    s.Clear();
    view = Trend_View{};
    const std::int32_t c = Clamp_Trend_Selection(selection, t);
    s.Set_Font(k_table_font, k_font_size, false);
    const double lh = s.TextHeight("0");
    view.line_height = lh;
    view.candle = c;
    const std::int32_t lines = c >= 0 ? t.series * t.bins : 0;
    const double text_top = s.Height() - (lines + 10) * lh;

    // The candle's description above the table.
    std::vector<std::string> text{"Triangular Width " + Format(2 * selection.Triangular_Width + 1, "0")};
    if (c >= 0) {
        const std::int32_t k = selection.series, b = selection.bin;
        text.push_back("First Ensemble " + Format(ds.First_Ens + t.Stat(1, c, b, k), "0"));
        text.push_back("Last Ensemble  " + Format(ds.First_Ens + t.Stat(2, c, b, k), "0"));
        text.push_back("Interval " + Candle_Interval_Text(t.candle_width));
        text.push_back("Selected Candle " + Fix_String(Format(c + 1, "0"), ' ', 3));
    }
    text.push_back("Number of Candles " + Format(std::max(t.candles, 0), "0"));
    s.Fore_Color = k_black;
    for (std::size_t i = 0; i < text.size(); ++i) s.Print_At(4, text_top + (static_cast<double>(i) + 1) * lh, text[i]);
    if (c < 0) return;
    Draw_Table(s, t, c, selection, ds, dec, lh);

    const std::int32_t k = selection.series, b = selection.bin;
    view.result = Compute_Trend(t, c, b, k, selection.Triangular_Width);
    const Trend_Result& r = view.result;
    const double H = std::floor(text_top / 2);
    view.H = H;
    s.Set_Font("Arial", k_font_size, false);
    const double Lw = rnd(8 * s.TextWidth("0"));
    Panel top{Lw, s.Width() - 1 - Lw, 0, H, Lw, Lw};
    Panel bottom = top;
    bottom.top = H;
    if (H < 8 || top.right - top.left < 8) return;
    const double dx = (s.Width() - 2 * Lw - 6) / t.samples;
    const double x0 = Lw + 3 + dx / 2;
    const int colours = std::clamp(settings.Color_Count, 1, static_cast<int>(settings.Series_Colours.size()));
    const Colour colour = settings.Series_Colours[static_cast<std::size_t>(b % colours)];
    const std::string unit = static_cast<std::size_t>(k) < t.units.size() ? t.units[static_cast<std::size_t>(k)] : "";

    // Samples and trend.
    const double minimum = t.Stat(6, c, b, k), maximum = t.Stat(5, c, b, k);
    const double scale = (H - 4) / (maximum - minimum + 1);
    const auto y_sample = [&](double v) { return std::clamp(H - (v - minimum) * scale - 2, 1.0, H - 1); };
    Frame_Panel(s, scratch, top, "Samples " + unit);
    for (int q = 1; q <= 3; ++q) {
        const double y = q * H / 4;
        Scale_Number(s, top, y, ((H - y - 2) / scale + minimum) * r.factor, H / 4 / scale * r.factor);
    }
    Draw_Points(s, r.samples, &r.valid, x0, dx, colour, y_sample);
    Draw_Points(s, r.trend, nullptr, x0, dx, k_black, y_sample);
    const double mean = t.Stat(3, c, b, k), dev = t.Stat(4, c, b, k);
    Draw_Column_Candle(s, Lw / 2, y_sample(maximum), y_sample(minimum), y_sample(mean + dev), y_sample(mean - dev),
                       y_sample(mean), colour);

    // Residuals about the zero line.
    const double zero = 1.5 * H;
    const double largest = r.count > 0 ? std::max(std::fabs(r.maximum), std::fabs(r.minimum)) : 0;
    const double rs = largest > 0 ? (H - 4) / (2 * largest) : 0;
    const auto y_residual = [&](double v) { return zero - v * rs; };
    Frame_Panel(s, scratch, bottom, "Residuals " + unit);
    const double quarter = rs > 0 ? (H - 4) / 4 / rs * r.factor : 0;
    Scale_Number(s, bottom, 1.25 * H, quarter, quarter);
    Scale_Number(s, bottom, zero, 0, quarter);
    Scale_Number(s, bottom, 1.75 * H, -quarter, quarter);
    s.Fore_Color = colour;
    for (std::size_t i = 0; i < r.residuals.size(); ++i) {
        if (!r.valid[i]) continue;
        const double x = x0 + static_cast<double>(i) * dx;
        s.Draw_Line(x, zero, x, y_residual(r.residuals[i]));
    }
    if (r.count > 0)
        Draw_Column_Candle(s, Lw / 2, y_residual(r.maximum), y_residual(r.minimum), y_residual(r.mean + r.deviation),
                           y_residual(r.mean - r.deviation), y_residual(r.mean), colour);
}

}  // namespace vantrel
