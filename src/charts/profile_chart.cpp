#include "charts/profile_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "charts/chart_primitives.h"
#include "charts/chart_scales.h"
#include "dataset/data_codes.h"
#include "dataset/data_set.h"
#include "decode/decoder_state.h"
#include "platform/text_format.h"
#include "settings/settings.h"

namespace vantrel {

Profile_Kind Profile_Kind_Of(std::int32_t kind) {
    // Kinds 0..15 are the per-bin data types 0..15 and take their contour codes.
    const auto beam = [](Code_Family family, std::int32_t i, std::int32_t group) {
        return Profile_Kind{Contour_Code_Of(family, i), group, i, i};
    };
    if (kind < k_type_corr) return beam(Code_Family::k_echo, kind - k_type_echo, 0);
    if (kind < k_type_vel) return beam(Code_Family::k_corr, kind - k_type_corr, 1);
    if (kind < k_type_vel_magnitude) return beam(Code_Family::k_vel, kind - k_type_vel, 2);
    if (kind == k_type_vel_magnitude) return {k_code_vel_magnitude, 3, 4, 0};
    if (kind == k_type_vel_direction) return {k_code_vel_direction, 4, 5, 2};
    if (kind < k_profile_kind_pgood) {
        const std::int32_t i = kind - k_profile_kind_stats;
        return {k_profile_code_stats + i, 5, i, i};
    }
    const std::int32_t i = kind - k_profile_kind_pgood;
    return {k_profile_code_pgood + i, 6, i, i};
}

std::string Profile_Curve_Label(std::int32_t kind, const Settings& settings, bool is_qtrm) {
    const Profile_Kind k = Profile_Kind_Of(kind);
    const auto i = static_cast<std::size_t>(k.curve);
    std::string label;
    switch (k.group) {
        case 0:
        case 1: label = settings.Profile_Beam_Labels[i]; break;
        case 2: label = (is_qtrm ? settings.Profile_Profile_Labels : settings.Profile_Vel_Labels)[i]; break;
        case 5: label = settings.Profile_Stat_Labels[i]; break;
        case 6: label = settings.Profile_PG_Labels[i]; break;
        default: break;
    }
    const bool takes_suffix = (k.group == 2 && k.column < 2) || k.group == 5;  // East, North, statistics
    if (!is_qtrm && takes_suffix) label += Short_Reference_Suffix(settings.Vel_Reference);
    return label;
}

namespace {

// Stored value of one bin of the cursor ensemble; false when missing.
bool Profile_Value(const Data_Set& ds, const Profile_Kind& k, std::size_t bin, std::size_t slot, double& v) {
    const auto c = static_cast<std::size_t>(k.column);
    const auto byte_at = [&](const Dense_Array<std::uint8_t>& a) {
        if (c >= a.Extent(0) || bin >= a.Extent(1) || slot >= a.Extent(2)) return false;
        v = a(c, bin, slot);
        return true;
    };
    switch (k.group) {
        case 0: return byte_at(ds.Sub_Echo);
        case 1: return byte_at(ds.Sub_Corr);
        case 6: return byte_at(ds.Sub_PGood);
        case 5: {
            if (c >= ds.Bin_Work.Extent(0) || bin >= ds.Bin_Work.Extent(1)) return false;
            const std::int32_t w = ds.Bin_Work(c, bin);
            v = w;
            return w != k_bad_velocity;
        }
        default: {
            if (c >= ds.Sub_Vel.Extent(0) || bin >= ds.Sub_Vel.Extent(1) || slot >= ds.Sub_Vel.Extent(2)) return false;
            const std::int16_t w = ds.Sub_Vel(c, bin, slot);
            if (w == k_bad_velocity) return false;
            v = k.group == 4 ? w / 10.0 : w;
            return true;
        }
    }
}

// Curve c's label stands on text line c + this under the plot, below the scale numbers.
constexpr int k_first_label_line = 9;

// The scale numbers of a pane at quarter q: the percent-good one of the statistics pane
// (empty elsewhere) and the pane's own.
std::pair<std::string, std::string> Scale_Texts(const Settings& settings, std::size_t group, std::string_view unit, int q) {
    double lo = 0, hi = 1;
    Strip_Range(settings.Profile_Scale_Min[group], settings.Profile_Scale_Max[group], lo, hi);
    std::pair<std::string, std::string> texts{{}, Format(lo + q * (hi - lo) / 4, "0") + " " + std::string(unit)};
    if (group == 5 && settings.Profile_Select[18]) {
        Strip_Range(settings.Profile_Scale_Min[6], settings.Profile_Scale_Max[6], lo, hi);
        texts.first = Format(lo + q * (hi - lo) / 4, "0") + " %,";
    }
    return texts;
}

// How far under the plot the turned scale numbers and the curve labels reach, in pixels at
// the surface's font.
double Depth_Below_Plot(const Surface& s, const Settings& settings, const Profile_Outputs& out, bool is_qtrm) {
    const double h = s.TextHeight("0");
    double depth = 0;
    for (std::size_t p = 0; p < out.groups.size(); ++p) {
        for (int q = 1; q <= 3; ++q) {
            const auto [pg, text] = Scale_Texts(settings, static_cast<std::size_t>(out.groups[p]), out.units[p], q);
            const double turned = (pg.empty() ? 0 : s.TextWidth(pg) + s.TextWidth(" ")) + s.TextWidth(text);
            depth = std::max(depth, h / 2 + turned);
        }
    }
    for (std::int32_t kind = 0; kind < k_profile_select_count; ++kind)
        if (settings.Profile_Select[static_cast<std::size_t>(kind)] && !Profile_Curve_Label(kind, settings, is_qtrm).empty())
            depth = std::max(depth, (Profile_Kind_Of(kind).curve + k_first_label_line + 1) * h);
    return depth;
}

}  // namespace

void DrawProfileChart(Surface& s, Surface& scratch, const Data_Set& ds, const Decoder_State& dec,
                      const Settings& settings, Profile_Outputs& out, std::int32_t plot_bottom,
                      std::int32_t plot_height, const std::vector<double>& depth_ticks) {
    out = Profile_Outputs{};
    s.Clear();
    s.Drawing_Mode = Draw_Mode::k_normal;
    s.Fore_Color = k_black;
    s.Draw_Style = Line_Style::k_solid;
    s.Draw_Width = 2;
    s.Draw_Line(s.Width() - 1, 0, s.Width() - 1, s.Height());
    if (s.Width() <= 4) return;

    std::array<bool, k_profile_group_count> active{};
    for (std::int32_t kind = 0; kind < k_profile_select_count; ++kind)
        if (settings.Profile_Select[static_cast<std::size_t>(kind)])
            active[static_cast<std::size_t>(Profile_Kind_Of(kind).group)] = true;
    std::array<int, k_profile_group_count> pane_of{};
    for (int g = 0; g < k_profile_group_count; ++g) {
        pane_of[static_cast<std::size_t>(g)] = static_cast<int>(out.groups.size());
        if (active[static_cast<std::size_t>(g)]) {
            out.groups.push_back(g);
            out.units.emplace_back(settings.Profile_Units[static_cast<std::size_t>(g)]);
        }
    }
    const auto panes = static_cast<double>(out.groups.size());
    if (panes == 0 || ds.Cursor_Ens < ds.First_Ens || ds.Cursor_Ens > ds.Last_Ens) return;

    const double Wp = (s.Width() - 5) / panes;
    const std::int32_t B = ds.Last_Bin - ds.First_Bin + 1;
    const double dy = B <= 0 || plot_height < 2 ? 0 : static_cast<double>(plot_height) / B;
    const double bottom = plot_bottom, top = plot_bottom - B * dy;
    out.pane_width = Wp;
    out.bin_height = dy;

    const auto slot = static_cast<std::size_t>(ds.Cursor_Ens - ds.First_Ens);
    std::string caption = "Ensemble: " + Format(ds.Cursor_Ens, "0");
    if (slot < ds.Sub_Time.Extent(1) && ds.Sub_Time.Extent(0) >= 7) {
        const auto t = [&](std::size_t i) { return static_cast<int>(ds.Sub_Time(i, slot)); };
        caption += "\r\nDate:    " + Date_Text(t(0), t(1), t(2));
        caption += "\r\nTime:    " + Clock_Text(t(3), t(4), t(5), t(6));
    }

    // Font: "W" a sixth of a pane, the ensemble caption across the surface, and the title and
    // pane names above the plot. The caption goes under the title when that room holds it too,
    // else under the scale numbers: the top margin follows the contour chart's and held it
    // only at a size too small to read.
    double size = 10;
    s.Set_Font_Size(size);
    while (size > 1 && s.TextWidth("W") > Wp / 6) s.Set_Font_Size(--size);
    while (size > 1 && s.TextWidth("Ensemble: 88888888") > s.Width()) s.Set_Font_Size(--size);
    while (size > 1 && 2 * s.TextHeight("0") > top) s.Set_Font_Size(--size);
    const auto caption_on_top = [&] { return s.TextHeight("0") + s.TextHeight(caption) + s.TextHeight("0") <= top; };
    const auto depth_below = [&] { return Depth_Below_Plot(s, settings, out, dec.Is_QTRM); };
    const auto caption_below = [&] { return bottom + depth_below() + s.TextHeight("0") + s.TextHeight(caption) <= s.Height(); };
    while (size > 1 && !caption_on_top() && !caption_below()) s.Set_Font_Size(--size);
    const double h = s.TextHeight("0");
    const double caption_y = caption_on_top() ? h : bottom + depth_below() + h;

    // Limits of a kind's pane; the "% Good" statistic uses the percent-good scale.
    const auto limits = [&](const Profile_Kind& k, double& lo, double& hi) {
        const auto g = static_cast<std::size_t>(k.code == k_profile_code_stats + 2 ? 6 : k.group);
        Strip_Range(settings.Profile_Scale_Min[g], settings.Profile_Scale_Max[g], lo, hi);
    };

    for (std::int32_t kind = 0; kind < k_profile_select_count; ++kind) {
        if (!settings.Profile_Select[static_cast<std::size_t>(kind)]) continue;
        const Profile_Kind k = Profile_Kind_Of(kind);
        const double pane_left = pane_of[static_cast<std::size_t>(k.group)] * Wp + 1;
        double lo = 0, hi = 1;
        limits(k, lo, hi);
        const double xscale = Wp / (hi - lo);
        const bool wraps = k.group == 4 && lo == 0 && hi == 360;
        const Colour colour = settings.Profile_Colours[static_cast<std::size_t>(k.curve)];
        s.Fore_Color = colour;
        s.Draw_Width = 1;
        bool have_previous = false;
        double previous = 0, prev_y = 0;
        for (std::int32_t b = 0; b < B; ++b) {
            const auto bin = static_cast<std::size_t>(ds.First_Bin - 1 + b);
            double v = 0;
            if (!Profile_Value(ds, k, bin, slot, v)) {
                have_previous = false;
                continue;
            }
            v = std::clamp(v, lo, hi);
            const double x = pane_left + (v - lo) * xscale, y = bottom - dy / 2 - b * dy;
            if (settings.Profile_Style_2) Draw_Symbol(s, x, y, colour);
            if (settings.Profile_Style_1) {
                if (!have_previous) {
                    s.Set_Point(x, y, colour);
                } else if (wraps && std::fabs(v - previous) > 180) {
                    // Out through one edge at the height where the segment crosses 0/360, in through the other.
                    const bool up = previous > 180;
                    const double edge = up ? 360 : 0;
                    const double yc = prev_y + (y - prev_y) * (up ? Wrap_Crossing(360 - previous, v)
                                                                  : Wrap_Crossing(previous, 360 - v));
                    s.Line_To(pane_left + (edge - lo) * xscale, yc);
                    s.Current_X = pane_left + (360 - edge - lo) * xscale;
                    s.Current_Y = yc;
                    s.Line_To(x, y);
                } else {
                    s.Line_To(x, y);
                }
                have_previous = true;
            }
            previous = v;
            prev_y = y;
        }
    }

    // Frames, grid and scale numbers of every pane.
    s.Fore_Color = k_black;
    s.Draw_Width = 1;
    for (std::size_t p = 0; p < out.groups.size(); ++p) {
        const auto g = static_cast<std::size_t>(out.groups[p]);
        const double left = static_cast<double>(p) * Wp + 1;
        if (settings.Profile_Style_3) {
            s.Draw_Style = Line_Style::k_dotted;
            for (int q = 1; q <= 3; ++q) s.Draw_Line(left + q * Wp / 4, bottom, left + q * Wp / 4, top);
            for (double y : depth_ticks)
                if (y >= top && y <= bottom) s.Draw_Line(left, y, left + Wp, y);
            s.Draw_Style = Line_Style::k_solid;
        }
        s.Draw_Box(left, top, left + Wp, bottom);

        for (int q = 1; q <= 3; ++q) {
            const auto [pg, text] = Scale_Texts(settings, g, out.units[p], q);
            const double x = left + q * Wp / 4 - h / 2;
            double y = bottom + h / 2;
            if (!pg.empty()) {
                s.Fore_Color = settings.Profile_Colours[2];
                y += s.TextWidth(pg);
                PrintVerticalTitle(s, scratch, pg, x, y, true);
                y += s.TextWidth(" ");
            }
            s.Fore_Color = k_black;
            PrintVerticalTitle(s, scratch, text, x, y + s.TextWidth(text), true);
        }

        std::string name(settings.Profile_Type_Labels[g]);
        if ((g == 3 || g == 4) && !dec.Is_QTRM) name += Short_Reference_Suffix(settings.Vel_Reference);
        s.Print_At(left + Wp / 2 - s.TextWidth(name) / 2, top - h, name);
    }

    // Curve labels stacked under the scale numbers of their pane.
    for (std::int32_t kind = 0; kind < k_profile_select_count; ++kind) {
        if (!settings.Profile_Select[static_cast<std::size_t>(kind)]) continue;
        const Profile_Kind k = Profile_Kind_Of(kind);
        const std::string label = Profile_Curve_Label(kind, settings, dec.Is_QTRM);
        if (label.empty()) continue;
        const double centre = pane_of[static_cast<std::size_t>(k.group)] * Wp + 1 + Wp / 2;
        s.Fore_Color = settings.Profile_Colours[static_cast<std::size_t>(k.curve)];
        s.Print_At(centre - s.TextWidth(label) / 2, bottom + (k.curve + k_first_label_line) * h, label);
    }

    // Title and the cursor ensemble's caption, centred across the panes.
    s.Fore_Color = k_black;
    const double middle = 1 + panes * Wp / 2;
    s.Print_At(middle - s.TextWidth("Profile") / 2, 0, "Profile");
    s.Print_At(middle - s.TextWidth(caption) / 2, caption_y, caption);
}

}  // namespace vantrel
