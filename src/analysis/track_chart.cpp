#include "analysis/track_chart.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analysis/track_vector.h"
#include "charts/chart_primitives.h"
#include "charts/chart_scales.h"
#include "charts/series_chart.h"
#include "dataset/data_set.h"
#include "decode/decoder_state.h"
#include "platform/text_format.h"
#include "settings/settings.h"

namespace vantrel {

namespace {

constexpr std::array<double, 8> k_font_sizes{20, 15, 10, 8, 7, 6, 5, 4};
constexpr const char* k_panel_font = "Courier New";
constexpr int k_panel_lines = 9;

// Velocity range of a strip (mm/s) from the series velocity limits.
struct Strip_Scale {
    double minimum = 0, maximum = 0, lo = 0, hi = 1;
};

Strip_Scale Velocity_Scale(const Settings& settings) {
    Strip_Scale v;
    v.minimum = settings.Series_Scale_Min[2];
    v.maximum = settings.Series_Scale_Max[2];
    Strip_Range(v.minimum, v.maximum, v.lo, v.hi);
    return v;
}

Trace_Geometry Geometry_Of(const Track_Chart_Box& box, const Track_View& view, const Strip_Scale& v,
                           std::int32_t column) {
    Trace_Geometry g;
    const double strip = (box.height - 2) / view.strips;
    g.left = static_cast<float>(box.left);
    g.dx = view.dx;
    g.count = view.count;
    g.strip_height = strip;
    g.base = box.top + 1 + view.strips * strip - 3;
    g.overlay = view.overlay;
    g.lo = v.lo;
    g.hi = v.hi;
    g.yscale = strip / (v.hi - v.lo);
    g.column = column;
    return g;
}

// Text right-aligned against x, centred on y.
void Print_Right(Surface& s, double x, double y, const std::string& text) {
    s.Print_At(x - s.TextWidth(text), y - s.TextHeight(text) / 2, text);
}

// Elapsed-time ticks under the chart, from the left or from the right edge.
void Init_Chart(Surface& s, const Track_Chart_Box& box, const Track_View& view, const Data_Set& ds,
                const Settings& settings) {
    if (ds.Sub_Sum_Interval <= 0) return;
    const Time_Unit unit = Choose_Time_Unit(ds.Sub_Sum_Interval);
    const double scale = (box.width - view.dx - 4) / ds.Sub_Sum_Interval;
    const bool from_left = settings.Track_Options.LeftToRight;
    double last_edge = from_left ? -1e9 : 1e9;
    s.Fore_Color = k_black;
    for (std::int32_t t = 0; t <= unit.count; t += std::max(unit.step, 1)) {
        const double offset = t * unit.seconds * scale;
        const double x = from_left ? box.left + view.dx / 2 + offset : box.left + box.width - view.dx / 2 - offset - 4;
        const std::string label = Format(t, "0") + unit.label;
        const double w = s.TextWidth(label);
        const bool overlaps = from_left ? x - w / 2 < last_edge : x + w / 2 > last_edge;
        if (settings.Series_Style_4) {
            s.Draw_Style = Line_Style::k_dotted;
            s.Draw_Line(x, box.top, x, box.top + box.height);
            s.Draw_Style = Line_Style::k_solid;
        }
        s.Draw_Line(x, box.top + box.height, x, box.top + box.height + 3);
        if (overlaps) continue;
        s.Print_At(x - w / 2, box.top + box.height + 3, label);
        last_edge = from_left ? x + w / 2 + 4 : x - w / 2 - 4;
    }
}

// Depth of a 1-based data-set bin in the chosen unit, padded for the label column.
std::string Bin_Label(const Data_Set& ds, const Decoder_State& dec, const Track_Units& units, std::int32_t bin) {
    const double depth = Track_Bin_Depth(dec, ds.Orientation_Count, bin - 1);
    return Fix_String(Format(depth * units.depth_scale, "0.00") + " " + units.depth_unit, ' ', 12);
}

// The overlaid bins' labels, first bin lowest, in a column right of the text panel.
void Draw_Bin_Legend(Surface& s, const Track_View& view, const Data_Set& ds, const Decoder_State& dec,
                     const Settings& settings, double x) {
    const int colours = std::clamp(settings.Color_Count, 1, static_cast<int>(settings.Series_Colours.size()));
    const Track_Units units = Track_Units_Of(settings);
    const auto shown = std::min<std::size_t>(view.bins.size(), k_panel_lines - 1);
    for (std::size_t k = 0; k < shown; ++k) {
        s.Fore_Color = settings.Series_Colours[k % static_cast<std::size_t>(colours)];
        s.Print_At(x, 2 + static_cast<double>(shown - 1 - k) * view.line_height, Bin_Label(ds, dec, units, view.bins[k]));
    }
}

// Frame, scale labels, bin labels and traces of one chart.
void Draw_Track_Chart(Surface& s, const Track_Chart_Box& box, const std::string& title, std::int32_t column,
                      const Track_View& view, const Data_Set& ds, const Decoder_State& dec, const Settings& settings) {
    s.Drawing_Mode = Draw_Mode::k_normal;
    s.Draw_Width = 1;
    s.Draw_Style = Line_Style::k_solid;
    s.Fore_Color = k_black;
    s.Set_Font("Arial", s.Font_Size(), s.Font_Bold());
    s.Print_At(box.left + (box.width - s.TextWidth(title)) / 2, box.top - s.TextHeight(title) - 1, title);
    Init_Chart(s, box, view, ds, settings);

    const Strip_Scale v = Velocity_Scale(settings);
    const Trace_Geometry g = Geometry_Of(box, view, v, column);
    const Track_Units units = Track_Units_Of(settings);
    s.Set_Font(k_panel_font, s.Font_Size(), s.Font_Bold());
    for (std::int32_t k = 0; k < view.strips; ++k) {
        const double bottom = g.Bottom(k), top = bottom - g.strip_height;
        if (settings.Series_Style_4) {
            s.Draw_Style = Line_Style::k_dotted;
            for (int q = 1; q <= 3; ++q) s.Draw_Line(box.left, top + q * g.strip_height / 4, box.left + box.width, top + q * g.strip_height / 4);
            s.Draw_Style = Line_Style::k_solid;
        }
        s.Draw_Line(box.left, top, box.left + box.width, top);
        // A strip too low for three lines keeps its bin label only.
        if (!view.overlay && g.strip_height < 3 * s.TextHeight("8")) continue;
        s.Fore_Color = k_black;
        Print_Right(s, box.left - 3, top + g.strip_height / 4, Format(v.maximum * units.speed_scale, "0.00") + " " + units.speed_unit);
        Print_Right(s, box.left - 3, top + 3 * g.strip_height / 4, Format(v.minimum * units.speed_scale, "0.00") + " " + units.speed_unit);
    }
    s.Draw_Box(box.left, box.top, box.left + box.width, box.top + box.height);

    // Bin labels in the bins' colours at the middle of their strips; with all bins in one
    // strip they stand in the legend beside the text panel instead.
    const int colours = std::clamp(settings.Color_Count, 1, static_cast<int>(settings.Series_Colours.size()));
    const auto nbins = static_cast<std::int32_t>(view.bins.size());
    for (std::int32_t k = 0; k < nbins && !view.overlay; ++k) {
        s.Fore_Color = settings.Series_Colours[static_cast<std::size_t>(k % colours)];
        Print_Right(s, box.left - 3, g.Bottom(k) - g.strip_height / 2, Bin_Label(ds, dec, units, view.bins[static_cast<std::size_t>(k)]));
    }

    // The cursor ensemble (the profile's) as a dashed grey line.
    const std::int32_t cursor = ds.Cursor_Ens - ds.First_Ens;
    if (cursor >= 0 && cursor < view.count) {
        const double x = box.left + view.dx / 2 + cursor * view.dx;
        s.Fore_Color = Rgb(128, 128, 128);
        s.Draw_Style = Line_Style::k_dashed;
        s.Draw_Line(x, box.top + 1, x, box.top + box.height - 1);
        s.Draw_Style = Line_Style::k_solid;
    }

    if (nbins == 0 || view.count <= 0) return;
    const Trace_Style style{settings.Series_Style_2, settings.Series_Style_3, settings.Series_Colours.data(), colours};
    const auto values = Gather_Series_Rows(ds.Sub_Vel, column, true, view.bins, view.count);
    s.Draw_Width = style.symbols ? 2 : 1;
    Draw_Gathered_Traces(s, values, view.bins.size(), g, style, true);
    if (!style.lines) return;
    // A gap in a trace is bridged by a dotted line from the last value before it to the first after it.
    s.Draw_Width = 1;
    s.Draw_Style = Line_Style::k_dotted;
    const auto n = static_cast<std::size_t>(view.count);
    for (std::size_t k = 0; k < view.bins.size(); ++k) {
        s.Fore_Color = settings.Series_Colours[k % static_cast<std::size_t>(colours)];
        const double bottom = g.Bottom(static_cast<std::int32_t>(k));
        std::ptrdiff_t before = -1;
        bool gap = false;
        for (std::size_t i = 0; i < n; ++i) {
            const std::int32_t value = values[k * n + i];
            if (value == k_value_outside || value == k_bad_velocity) {
                gap = before >= 0;
                continue;
            }
            if (gap) {
                const auto b = static_cast<std::size_t>(before);
                s.Draw_Line(box.left + view.dx / 2 + static_cast<double>(b) * view.dx, g.Y(values[k * n + b], bottom),
                            box.left + view.dx / 2 + static_cast<double>(i) * view.dx, g.Y(value, bottom));
                gap = false;
            }
            before = static_cast<std::ptrdiff_t>(i);
        }
    }
    s.Draw_Style = Line_Style::k_solid;
}

}  // namespace

double Track_Font_Size(const Settings& settings) {
    const auto& items = settings.Track_Options.Select_Font_Size;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]) return k_font_sizes[i];
    return 10;
}

void Show_Track_Vector_Data(Surface& s, const Data_Set& ds, const Decoder_State& dec, const Settings& settings,
                            Track_View& view) {
    s.Reset_Scale();
    s.Drawing_Mode = Draw_Mode::k_normal;
    s.Clear();
    view = Track_View{};
    if (!ds.File_Loaded || ds.Sub_Count <= 0) return;

    // Layout: the panel, then each chart with its title above and its time labels below.
    s.Set_Font(k_panel_font, Track_Font_Size(settings), settings.Track_Options.Select_Font_Bold);
    const double lh = s.TextHeight("8");
    view.line_height = lh;
    const double label_width = s.TextWidth("123456789012345");
    const double chart_height = (s.Height() - (k_panel_lines + 5.5) * lh - 4) / 2;
    // Room on the right for half of the last time label.
    s.Set_Font("Arial", s.Font_Size(), s.Font_Bold());
    const double chart_width = s.Width() - label_width - std::max(10.0, s.TextWidth("000 min"));
    s.Set_Font(k_panel_font, s.Font_Size(), s.Font_Bold());
    if (chart_height < 8 || chart_width < 8) return;
    view.upper = {label_width, (k_panel_lines + 1) * lh, chart_width, chart_height};
    view.lower = {label_width, view.upper.top + chart_height + 3 * lh, chart_width, chart_height};

    view.bins = Selected_Series_Bins(ds);
    view.overlay = settings.Series_Style_1;
    view.strips = view.overlay ? 1 : std::max<std::int32_t>(1, static_cast<std::int32_t>(view.bins.size()));
    view.count = std::min<std::int32_t>(ds.Sub_Count, static_cast<std::int32_t>(ds.Sub_Vel.Last_Extent()));
    view.dx = (chart_width - 2) / view.count;

    s.Fore_Color = k_black;
    double y = 2;
    for (const std::string& line : Track_Text_Panel(ds, settings)) {
        s.Print_At(4, y, line);
        y += lh;
    }
    if (view.overlay) Draw_Bin_Legend(s, view, ds, dec, settings, 4 + s.TextWidth("              Speed   Direction   "));
    const Track_Titles titles = Track_Titles_Of(settings);
    Draw_Track_Chart(s, view.upper, titles.long_track, 6, view, ds, dec, settings);
    Draw_Track_Chart(s, view.lower, titles.cross_track, 7, view, ds, dec, settings);
}

std::string Track_Tip_At(const Track_View& view, double x, double y, const Data_Set& ds, const Decoder_State& dec,
                         const Settings& settings) {
    const Track_Chart_Box* box = view.upper.Holds(x, y) ? &view.upper : view.lower.Holds(x, y) ? &view.lower : nullptr;
    if (!box || view.count <= 0) return {};
    const std::int32_t e = Ensemble_Under_Mouse(x, box->left, view.dx, view.count);
    std::int32_t bin = -1;
    if (!view.overlay) {
        if (view.bins.empty()) return Track_Tool_Tip(ds, dec, settings, e, -1);
        const double strip = (box->height - 2) / view.strips;
        const auto from_bottom = static_cast<std::int32_t>(std::floor((box->top + 1 + view.strips * strip - y) / strip));
        const std::int32_t k = std::clamp(from_bottom, 0, view.strips - 1);
        bin = view.bins[static_cast<std::size_t>(k)] - 1;
    }
    return Track_Tool_Tip(ds, dec, settings, e, bin);
}

}  // namespace vantrel
