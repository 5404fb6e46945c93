#include "charts/series_chart.h"

#include <algorithm>
#include <cmath>

#include "charts/chart_scales.h"
#include "dataset/data_codes.h"
#include "dataset/data_set.h"
#include "decode/decoder_state.h"
#include "platform/text_format.h"
#include "settings/settings.h"

namespace vantrel {

Series_Kind Series_Kind_Of(std::int32_t kind) {
    Series_Kind k;
    const auto per_bin = [&](Code_Family family, Series_Source source, std::int32_t first, std::int32_t group) {
        k = {Contour_Code_Of(family, kind - first), source, kind - first, group, false, true, false};
    };
    if (kind < k_type_corr) {
        per_bin(Code_Family::k_echo, Series_Source::k_echo, k_type_echo, 0);
    } else if (kind < k_type_vel) {
        per_bin(Code_Family::k_corr, Series_Source::k_corr, k_type_corr, 1);
    } else if (kind < k_type_vel_magnitude) {
        per_bin(Code_Family::k_vel, Series_Source::k_vel, k_type_vel, 2);
    } else if (kind == k_type_vel_magnitude) {
        per_bin(Code_Family::k_vel, Series_Source::k_vel, k_type_vel, 3);
    } else if (kind == k_type_vel_direction) {
        per_bin(Code_Family::k_vel, Series_Source::k_vel, k_type_vel, 4);
        k.direction = true;
    } else if (kind < k_type_bt) {
        per_bin(Code_Family::k_pgood, Series_Source::k_pgood, k_type_pgood, 5);
    } else {
        // Per-ensemble velocities: four components (two for navigation), then magnitude and direction.
        const bool nav = kind >= k_type_nav;
        const Series_Source source = kind < k_type_wm ? Series_Source::k_bt : kind < k_type_nav ? Series_Source::k_wm : Series_Source::k_nav;
        const Code_Family family = kind < k_type_wm ? Code_Family::k_bt_vel : kind < k_type_nav ? Code_Family::k_wm_vel : Code_Family::k_nav_vel;
        const std::int32_t first = kind < k_type_wm ? k_type_bt : kind < k_type_nav ? k_type_wm : k_type_nav;
        const std::int32_t i = kind - first;
        const std::int32_t components = nav ? 2 : 4;
        if (i < components) {
            k = {Contour_Code_Of(family, i), source, i, 8, true, false, false};
        } else {
            const bool dir = i == components + 1;
            const std::int32_t column = dir ? 5 : 4;
            k = {Contour_Code_Of(family, column), source, column, dir ? 10 : 9, true, false, dir};
        }
    }
    return k;
}

namespace {

std::string Beam_Label(char prefix, std::string_view beam) {
    std::string label(1, prefix);
    label.append(beam);
    return label;
}

}  // namespace

Series_Titles Series_Titles_Of(std::int32_t kind, const Settings& settings, bool is_qtrm) {
    const Series_Kind k = Series_Kind_Of(kind);
    Series_Titles t;
    const auto text = [](std::string_view v) { return std::string(v); };
    // Ancillary groups 8, 9, 10 read as the velocity, magnitude and direction groups.
    const std::size_t group = static_cast<std::size_t>(k.ancillary_group ? k.group - 6 : k.group);
    t.kind_name = text(settings.Series_Type_Labels[group]);
    if (k.ancillary_group)
        t.unit = k.direction ? "deg" : "mm/s";
    else
        t.unit = text(settings.Series_Units[group]);
    const auto& components = is_qtrm ? settings.Series_Profile_Labels : settings.Series_Vel_Labels;
    switch (k.source) {
        case Series_Source::k_echo: t.label = Beam_Label('E', settings.Series_Beam_Labels[static_cast<std::size_t>(k.column)]); break;
        case Series_Source::k_corr: t.label = Beam_Label('C', settings.Series_Beam_Labels[static_cast<std::size_t>(k.column)]); break;
        case Series_Source::k_pgood: t.label = Beam_Label('%', settings.Series_Beam_Labels[static_cast<std::size_t>(k.column)]); break;
        case Series_Source::k_vel:
            t.label = k.column < 4 ? text(components[static_cast<std::size_t>(k.column)]) : t.kind_name;
            break;
        default:
            t.label = k.column < 4 ? text(settings.Series_Vel_Labels[static_cast<std::size_t>(k.column)]) : t.kind_name;
    }
    if (k.source == Series_Source::k_vel && !is_qtrm) {
        const std::int32_t ref = settings.Vel_Reference;
        const bool no_suffix = (k.column == 2 || k.column == 3) && ref >= k_ref_navigation && ref <= k_ref_gps_vtg;
        if (!no_suffix) t.kind_name += Short_Reference_Suffix(ref);
    }
    if (k.source == Series_Source::k_bt) t.strip_label = "BT  ";
    if (k.source == Series_Source::k_wm) t.strip_label = "WM  ";
    if (k.source == Series_Source::k_nav) t.strip_label = "NAV ";
    return t;
}

void Series_Limits(const Series_Kind& k, const Settings& settings, double& minimum, double& maximum) {
    const auto g = static_cast<std::size_t>(k.group);
    if (k.ancillary_group) {
        minimum = settings.Anc_Scale_Min[g];
        maximum = settings.Anc_Scale_Max[g];
    } else {
        minimum = settings.Series_Scale_Min[g];
        maximum = settings.Series_Scale_Max[g];
    }
    if (k.direction) {
        maximum = std::min(maximum, 270.0);
        minimum = std::max(minimum, 90.0);
    }
}

namespace {

// Dotted quarter lines and time ticks, then the solid box of one strip.
void Draw_Strip_Frame(Surface& s, float left, float width, double bottom, double height, bool grid,
                      const std::vector<double>& time_ticks) {
    s.Fore_Color = k_black;
    s.Draw_Width = 1;
    if (grid) {
        s.Draw_Style = Line_Style::k_dotted;
        for (int q = 1; q <= 3; ++q) s.Draw_Line(left, bottom - q * height / 4, left + width, bottom - q * height / 4);
        for (double x : time_ticks)
            if (x >= left && x <= left + width) s.Draw_Line(x, bottom, x, bottom - height);
        s.Draw_Style = Line_Style::k_solid;
    }
    s.Draw_Box(left, bottom - height, left + width, bottom);
}

// Minimum on the quarter line, maximum on the three-quarter line, right of the plot.
void Draw_Scale_Numbers(Surface& s, double x, double y_min, double y_max, double minimum, double maximum) {
    s.Fore_Color = k_black;
    const std::string lo = Format(minimum, "0"), hi = Format(maximum, "0");
    s.Print_At(x, y_min - s.TextHeight(lo) / 2, lo);
    s.Print_At(x, y_max - s.TextHeight(hi) / 2, hi);
}

// Kind name and unit at the right edge reading downwards, the label in the left margin reading upwards.
void Draw_Strip_Titles(Surface& s, Surface& scratch, float left, double centre, const std::string& name,
                       const std::string& unit, const std::string& label) {
    s.Fore_Color = k_black;
    const double h = s.TextHeight("W");
    PrintVerticalTitle(s, scratch, name, s.Width() - h, centre + s.TextWidth(name) / 2, false);
    PrintVerticalTitle(s, scratch, unit, s.Width() - 2 * h, centre + s.TextWidth(unit) / 2, false);
    if (!label.empty()) PrintVerticalTitle(s, scratch, label, left - h, centre + s.TextWidth(label) / 2, true);
}

}  // namespace

std::vector<std::int32_t> Selected_Series_Bins(const Data_Set& ds) {
    std::vector<std::int32_t> bins;
    for (std::int32_t b = std::max(ds.First_Bin, 1); b <= std::min(ds.Last_Bin, k_max_bins); ++b)
        if (ds.Series_Bins[static_cast<std::size_t>(b - 1)]) bins.push_back(b);
    return bins;
}

Series_Layout Layout_Series_Chart(Surface& series, const Data_Set& ds, const Settings& settings, float left,
                                  float width) {
    Series_Layout l;
    l.bins = Selected_Series_Bins(ds);
    bool some_without_bins = false;
    for (std::int32_t k = 0; k < k_series_select_saved; ++k) {
        if (!settings.Series_Select[static_cast<std::size_t>(k)]) continue;
        l.kinds.push_back(k);
        if (!Series_Kind_Of(k).bin_resolved) some_without_bins = true;
    }
    for (std::int32_t i = 0; i < k_anc_select_count; ++i)
        if (settings.Anc_Select[static_cast<std::size_t>(i)]) l.anc_items.push_back(i);
    l.bin_count = static_cast<std::int32_t>(l.bins.size());
    if (some_without_bins && l.bin_count == 0) l.bin_count = 1;

    const auto nseries = static_cast<double>(l.kinds.size());
    if (l.bin_count > 0 && nseries > 0) {
        double area = series.Height() - 4;
        if (!l.anc_items.empty()) area /= 2;
        l.strip_height = settings.Series_Style_1 ? area / nseries : area / (nseries * l.bin_count);
    }
    l.shown = std::max(0, std::min(ds.Last_Ens - ds.First_Ens + 1, ds.Sub_Count));
    l.dx = l.shown > 0 ? width / static_cast<float>(l.shown) : 0;

    // The largest font whose lines fit a strip and whose scale numbers fit the right margin.
    const double right_margin = static_cast<float>(series.Width()) - left - width;
    const double need_lines = settings.Series_Style_1 ? std::max(l.bin_count, 1) : 3;
    double size = 10;
    const auto text_h = [&] { return series.TextHeight("W"); };
    for (; size > 1; --size) {
        series.Set_Font_Size(size);
        if (need_lines * text_h() <= l.strip_height) break;
    }
    series.Set_Font_Size(size);
    while (size > 1 && 3 * text_h() > l.strip_height) series.Set_Font_Size(--size);
    while (size > 1 && 5 * series.TextWidth("0") > right_margin) series.Set_Font_Size(--size);
    // The strip labels and the turned series labels share the left margin.
    while (size > 1 && 3 + series.TextWidth("Bin 000") + series.TextHeight("W") > left) series.Set_Font_Size(--size);
    l.font_size = size;
    return l;
}

void DrawSeriesChart(Surface& s, Surface& scratch, const Data_Set& ds, const Decoder_State& dec,
                     const Settings& settings, Candle_Tables& candles, Series_Outputs& out, float left, float width,
                     const std::vector<double>& time_ticks, double zero_half_width) {
    s.Clear();
    s.Drawing_Mode = Draw_Mode::k_normal;
    s.Fore_Color = k_black;
    s.Draw_Width = 2;
    s.Draw_Style = Line_Style::k_solid;
    s.Draw_Line(0, 1, s.Width(), 1);
    out = Series_Outputs{};
    if (s.Height() <= 4) return;

    const Series_Layout l = Layout_Series_Chart(s, ds, settings, left, width);
    out.bins = l.bins;
    out.strip_height = l.strip_height;
    out.dx = l.dx;
    for (std::int32_t k : l.kinds) {
        const Series_Titles t = Series_Titles_Of(k, settings, dec.Is_QTRM);
        out.codes.push_back(Series_Kind_Of(k).code);
        out.units.push_back(t.unit);
        out.labels.push_back(t.label);
        if (Series_Kind_Of(k).bin_resolved) ++out.bin_resolved_series;
    }

    // Candle geometry.
    const double interval = ds.Sub_Count > 0 ? ds.Sub_Sum_Interval / ds.Sub_Count : 0;
    const double candle_width = settings.Averaging_All ? ds.Sub_Count * interval : settings.Averaging_Interval;
    const std::int32_t S = interval > 0 ? static_cast<std::int32_t>(rnd(candle_width / interval)) : ds.Sub_Count;
    const std::int32_t C = S > 0 ? static_cast<std::int32_t>(rnd(static_cast<double>(l.shown) / S)) : 0;
    candles.units = out.units;
    candles.mean_interval = interval;
    candles.candle_width = candle_width;
    // No bin chosen draws no trace: no candle either, not one of an invented bin.
    if (C > 0 && l.bin_count > 0)
        candles.Allocate(S, C, l.bin_count, static_cast<std::int32_t>(l.kinds.size()));
    else
        candles.Allocate(S, 0, 0, 0);

    if (l.bin_count > 0 && !l.kinds.empty() && l.shown > 0) {
        const double H = l.strip_height;
        const double h = s.TextHeight("W");
        double base = s.Height() - 4;
        if (!l.anc_items.empty()) base = (s.Height() - 4) / 2.0;
        Trace_Style style{settings.Series_Style_2, settings.Series_Style_3, settings.Series_Colours.data(),
                          std::clamp(settings.Color_Count, 1, static_cast<int>(settings.Series_Colours.size()))};
        for (std::size_t ordinal = 0; ordinal < l.kinds.size(); ++ordinal) {
            const std::int32_t kind_index = l.kinds[ordinal];
            const Series_Kind kind = Series_Kind_Of(kind_index);
            const Series_Titles titles = Series_Titles_Of(kind_index, settings, dec.Is_QTRM);
            double minimum = 0, maximum = 0;
            Series_Limits(kind, settings, minimum, maximum);
            Trace_Geometry g;
            g.left = left;
            g.dx = l.dx;
            g.count = l.shown;
            g.strip_height = H;
            g.base = base;
            g.overlay = settings.Series_Style_1 || !kind.bin_resolved;
            Strip_Range(minimum, maximum, g.lo, g.hi);
            g.yscale = (H - 2) / (g.hi - g.lo);
            g.scale = kind.direction ? 0.1 : 1.0;
            g.wrap = g.lo == 0 && g.hi == 360 ? 180 : 100000;
            g.column = kind.column;
            g.direction = kind.direction;

            const std::int32_t bins_here = kind.bin_resolved ? static_cast<std::int32_t>(l.bins.size()) : 1;
            const std::int32_t strips = g.overlay ? 1 : bins_here;
            int colour_index = 0;
            for (std::int32_t strip = 0; strip < strips; ++strip) {
                const double bottom = g.Bottom(strip), top = bottom - H;
                Draw_Strip_Frame(s, left, width, bottom, H, settings.Series_Style_4, time_ticks);
                // One label per bin: stacked inside the strip when the bins share it.
                const std::int32_t first_label = g.overlay ? 0 : strip;
                const std::int32_t last_label = g.overlay ? bins_here - 1 : strip;
                for (std::int32_t k = first_label; k <= last_label; ++k) {
                    s.Fore_Color = settings.Series_Colours[static_cast<std::size_t>(colour_index)];
                    if (++colour_index >= style.colour_count) colour_index = 0;
                    std::string text = titles.strip_label + "\r";
                    if (kind.bin_resolved) {
                        const std::int32_t bin = l.bins[static_cast<std::size_t>(k)];
                        const std::int32_t number = ds.Orientation_Count > 0 ? dec.Num_Bins - bin + 1 : bin;
                        text = "Bin " + Format(number, "000") + "\r";
                    }
                    const double y = g.overlay ? top + h * (bins_here - k - 1) : top;
                    s.Print_At(3, y, text);
                }
                Draw_Scale_Numbers(s, left + width + 2, g.Y(minimum / g.scale, bottom), g.Y(maximum / g.scale, bottom),
                                   minimum, maximum);
                Draw_Strip_Titles(s, scratch, left, bottom - H / 2, titles.kind_name, titles.unit, titles.label);
            }

            s.Draw_Width = 1;
            const bool byte_kind = kind.source == Series_Source::k_echo || kind.source == Series_Source::k_corr ||
                                   kind.source == Series_Source::k_pgood;
            const Dense_Array<std::uint8_t>& bytes = kind.source == Series_Source::k_echo   ? ds.Sub_Echo
                                                     : kind.source == Series_Source::k_corr ? ds.Sub_Corr
                                                                                            : ds.Sub_PGood;
            const Dense_Array<std::int16_t>& words = kind.source == Series_Source::k_vel  ? ds.Sub_Vel
                                                     : kind.source == Series_Source::k_bt ? ds.Sub_BT_Vel
                                                     : kind.source == Series_Source::k_wm ? ds.Sub_WM_Vel
                                                                                          : ds.Sub_Nav_Vel;
            // One pass over the data set serves the trace and the candles.
            const auto values = byte_kind ? Gather_Series_Rows(bytes, kind.column, l.bins, l.shown)
                                          : Gather_Series_Rows(words, kind.column, kind.bin_resolved, l.bins, l.shown);
            const auto rows = static_cast<std::size_t>(bins_here);
            Draw_Gathered_Traces(s, values, rows, g, style, !byte_kind);
            if (settings.Series_Switch) {
                s.Draw_Width = 2;
                Draw_Gathered_Candles(s, values, rows, l.bins, g, style, candles, static_cast<std::int32_t>(ordinal),
                                      bins_here, zero_half_width, !byte_kind);
                s.Draw_Width = 1;
            }
            base -= g.overlay ? H : bins_here * H;
        }
    }

    out.boundary_y = l.anc_items.empty() ? s.Height() : rnd(s.Height() / 2.0);
    DrawAncillaryChart(s, scratch, ds, settings, left, width, static_cast<std::int32_t>(l.anc_items.size()),
                       l.bin_count > 0 && !l.kinds.empty(), time_ticks);
}

void DrawAncillaryChart(Surface& s, Surface& scratch, const Data_Set& ds, const Settings& settings, float left,
                        float width, std::int32_t items, bool series_shown, const std::vector<double>& time_ticks) {
    if (items <= 0 || ds.Sub_Count <= 0) return;
    std::vector<std::int32_t> chosen;
    for (std::int32_t i = 0; i < k_anc_select_count; ++i)
        if (settings.Anc_Select[static_cast<std::size_t>(i)]) chosen.push_back(i);
    if (chosen.empty()) return;
    const double area = series_shown ? s.Height() - rnd(s.Height() / 2.0) : s.Height();
    const double Ha = area / static_cast<double>(chosen.size());

    double size = 10;
    s.Set_Font_Size(size);
    while (size > 1 && 3 * s.TextHeight("W") > Ha) s.Set_Font_Size(--size);
    while (size > 1 && s.TextWidth("W") > width / 30) s.Set_Font_Size(--size);

    const Trace_Style style{settings.Anc_Style_1, settings.Anc_Style_2, settings.Anc_Colours.data(),
                            std::clamp(settings.Color_Count, 1, static_cast<int>(settings.Anc_Colours.size()))};
    const std::int32_t count = std::min<std::int32_t>(ds.Sub_Count, static_cast<std::int32_t>(ds.Sub_Anc.Extent(1)));
    int colour_index = 0;
    for (std::size_t n = 0; n < chosen.size(); ++n) {
        const std::int32_t item = chosen[n];
        const auto ordinal = static_cast<double>(chosen.size() - 1 - n);  // the last item lowest
        const double bottom = s.Height() - 1 - ordinal * Ha;
        const double factor = item <= k_anc_temperature ? 100 : item == k_anc_depth ? 1000 : 1;  // stored units
        const double minimum = settings.Anc_Scale_Min[static_cast<std::size_t>(item)];
        const double maximum = settings.Anc_Scale_Max[static_cast<std::size_t>(item)];
        Trace_Geometry g;
        g.left = left;
        g.dx = width / static_cast<float>(ds.Sub_Count);
        g.count = count;
        g.strip_height = Ha;
        g.base = bottom - 3;
        Strip_Range(minimum * factor, maximum * factor, g.lo, g.hi);
        g.yscale = g.hi - g.lo > 0 ? (Ha - 2) / (g.hi - g.lo) : 0;
        g.wrap = item == k_anc_heading && g.lo == 0 && g.hi == 36000 ? 18000 : 100000000;
        g.column = item;

        Draw_Strip_Frame(s, left, width, bottom, Ha, settings.Anc_Style_3, time_ticks);
        Draw_Scale_Numbers(s, left + width + 2, g.Y(minimum * factor, bottom), g.Y(maximum * factor, bottom), minimum,
                           maximum);
        Draw_Strip_Titles(s, scratch, left, bottom - Ha / 2, std::string(settings.Anc_Labels[static_cast<std::size_t>(item)]),
                          std::string(settings.Anc_Units[static_cast<std::size_t>(item)]), "");
        const Colour colour = settings.Anc_Colours[static_cast<std::size_t>(colour_index)];
        if (++colour_index >= style.colour_count) colour_index = 0;
        s.Draw_Width = 1;
        DrawLongSeries(s, ds.Sub_Anc, g, style, colour);
    }
}

}  // namespace vantrel
