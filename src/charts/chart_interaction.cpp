#include "charts/chart_interaction.h"

#include <algorithm>
#include <cmath>

#include "dataset/data_set.h"

namespace vantrel {

namespace {

// Nearest integer, halves to even.
std::int32_t Round_Even(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }

double Cell_Width(const Chart3d_Geometry& g, const Contour_Results& r) {
    return g.Plot_Width() / std::max(r.Ensembles, 1);
}
double Cell_Height(const Chart3d_Geometry& g, const Contour_Results& r) { return g.Plot_Height() / std::max(r.Rows, 1); }

std::int32_t Cell_Of(double offset, double size, std::int32_t count) {
    const auto i = static_cast<std::int64_t>(std::floor(offset / size));
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(i, 0, std::max(count - 1, 0)));
}

bool Chosen(const Data_Set& ds, std::int32_t bin) {
    return bin >= 1 && bin <= k_max_bins && ds.Series_Bins[static_cast<std::size_t>(bin - 1)];
}

void Inverting_Pen(Surface& s, int width) {
    s.Drawing_Mode = Draw_Mode::k_invert;
    s.Draw_Style = Line_Style::k_solid;
    s.Draw_Width = width;
    s.Fore_Color = k_white;
}

void Normal_Pen(Surface& s) {
    s.Drawing_Mode = Draw_Mode::k_normal;
    s.Draw_Width = 1;
    s.Fore_Color = k_black;
}

}  // namespace

bool Inside_Plot(const Chart3d_Geometry& g, double x, double y) {
    return x >= g.left && x < g.Plot_Right() && y >= g.top && y < g.Plot_Bottom();
}

Chart3d_Cell Get_Chart3d_DataIndex(const Chart3d_Geometry& g, const Contour_Results& r, double x, double y) {
    return {Cell_Of(x - g.left, Cell_Width(g, r), r.Ensembles), Cell_Of(y - g.top, Cell_Height(g, r), r.Rows)};
}

void Get_Chart3d_DataCoordinate(const Chart3d_Geometry& g, const Contour_Results& r, Chart3d_Cell cell, double& x,
                                double& y) {
    x = g.left + (cell.e + 0.5) * Cell_Width(g, r);
    y = g.top + (cell.b + 0.5) * Cell_Height(g, r);
}

std::optional<Sub_Range> Whole_Selection(const Data_Set& ds, std::int32_t columns, std::int32_t num_bins,
                                         Chart3d_Cell start, Chart3d_Cell end) {
    if (start.e == end.e || start.b == end.b) return std::nullopt;
    const auto number = [&](std::int32_t i) {
        if (i >= columns - 1) return ds.File_Last_Ens;
        return static_cast<std::int32_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(ds.Whole_Step + 1) * i + ds.File_First_Ens, ds.File_Last_Ens));
    };
    Sub_Range r;
    r.first_ens = std::max(std::min(number(start.e), number(end.e)), ds.Whole_First_Ens);
    r.last_ens = std::min(std::max(number(start.e), number(end.e)), ds.File_Last_Ens);
    r.first_bin = std::clamp(num_bins - std::max(start.b, end.b), 1, std::max(num_bins, 1));
    r.last_bin = std::clamp(num_bins - std::min(start.b, end.b), 1, std::max(num_bins, 1));
    return r;
}

namespace {

// The Sub Set's ensembles from column start to column end, or its bins from row start to row
// end (row 0 is Last_Bin); nothing when the two are one.
bool Span_Ensembles(const Data_Set& ds, std::int32_t start, std::int32_t end, Sub_Range& r) {
    if (start == end) return false;
    r.first_ens = ds.First_Ens + std::min(start, end);
    r.last_ens = std::min(ds.First_Ens + std::max(start, end), ds.Last_Ens);
    return true;
}

bool Span_Bins(const Data_Set& ds, std::int32_t start, std::int32_t end, Sub_Range& r) {
    if (start == end) return false;
    r.first_bin = std::max(ds.Last_Bin - std::max(start, end), ds.First_Bin);
    r.last_bin = ds.Last_Bin - std::min(start, end);
    return true;
}

}  // namespace

std::optional<Sub_Range> Sub_Selection(const Data_Set& ds, Chart3d_Cell start, Chart3d_Cell end) {
    Sub_Range r;
    if (!Span_Ensembles(ds, start.e, end.e, r) || !Span_Bins(ds, start.b, end.b, r)) return std::nullopt;
    return r;
}

std::optional<Sub_Range> Series_Selection(const Data_Set& ds, std::int32_t start, std::int32_t end) {
    Sub_Range r{ds.First_Ens, ds.Last_Ens, ds.First_Bin, ds.Last_Bin};
    if (!Span_Ensembles(ds, start, end, r)) return std::nullopt;
    return r;
}

std::optional<Sub_Range> Profile_Selection(const Data_Set& ds, std::int32_t start, std::int32_t end) {
    Sub_Range r{ds.First_Ens, ds.Last_Ens, ds.First_Bin, ds.Last_Bin};
    if (!Span_Bins(ds, start, end, r)) return std::nullopt;
    return r;
}

std::optional<Sub_Range> Whole_Arrow_Move(const Data_Set& ds, std::int32_t num_bins, Arrow_Key key) {
    Sub_Range r{ds.First_Ens, ds.Last_Ens, ds.First_Bin, ds.Last_Bin};
    switch (key) {
        case Arrow_Key::k_left:
            if (ds.First_Ens <= ds.File_First_Ens) return std::nullopt;
            --r.first_ens, --r.last_ens;
            break;
        case Arrow_Key::k_right:
            if (ds.Last_Ens >= ds.File_Last_Ens) return std::nullopt;
            ++r.first_ens, ++r.last_ens;
            break;
        case Arrow_Key::k_up:
            if (ds.Last_Bin >= num_bins) return std::nullopt;
            ++r.first_bin, ++r.last_bin;
            break;
        case Arrow_Key::k_down:
            if (ds.First_Bin < 2) return std::nullopt;
            --r.first_bin, --r.last_bin;
            break;
    }
    return r;
}

Scroll_Ranges Move_Scrollers(const Data_Set& ds, std::int32_t num_bins) {
    Scroll_Ranges s;
    const std::int32_t room = (ds.File_Last_Ens - ds.Whole_First_Ens) - (ds.Last_Ens - ds.First_Ens);
    s.h_max = std::max(room, 0);
    s.h_value = ds.Last_Ens >= ds.File_Last_Ens ? s.h_max : std::clamp(ds.First_Ens - ds.Whole_First_Ens, 0, s.h_max);
    s.h_page = std::max(ds.Sub_Count, 1);
    const std::int32_t k = ds.Last_Bin - ds.First_Bin;
    s.v_max = std::max(num_bins - 1 - k, 0);
    s.v_value = std::clamp(s.v_max - (ds.First_Bin - 1), 0, s.v_max);
    return s;
}

Sub_Range HScroll_Range(const Data_Set& ds, std::int32_t v, std::int32_t h_max) {
    Sub_Range r{0, 0, ds.First_Bin, ds.Last_Bin};
    const std::int32_t n = std::max(ds.Sub_Count, 1);
    const std::int32_t room = (ds.File_Last_Ens - ds.Whole_First_Ens) - (ds.Last_Ens - ds.First_Ens);
    if (v >= h_max) {
        r.last_ens = ds.File_Last_Ens;
        r.first_ens = r.last_ens - n + 1;
    } else {
        r.first_ens = Round_Even(static_cast<double>(std::max(v, 0)) * room / std::max(h_max, 1)) + ds.Whole_First_Ens;
        r.last_ens = r.first_ens + n - 1;
    }
    if (r.first_ens < ds.Whole_First_Ens) {
        r.first_ens = ds.Whole_First_Ens;
        r.last_ens = r.first_ens + n - 1;
    }
    if (r.last_ens > ds.File_Last_Ens) {
        r.last_ens = ds.File_Last_Ens;
        r.first_ens = std::max(r.last_ens - n + 1, ds.Whole_First_Ens);
    }
    return r;
}

Sub_Range VScroll_Range(const Data_Set& ds, std::int32_t num_bins, std::int32_t v, std::int32_t v_max) {
    Sub_Range r{ds.First_Ens, ds.Last_Ens, 0, 0};
    const std::int32_t k = ds.Last_Bin - ds.First_Bin;
    const std::int32_t span = num_bins - 1 - k;
    r.first_bin = v_max > 0 ? Round_Even(static_cast<double>(v_max - std::clamp(v, 0, v_max)) * span / v_max) + 1 : 1;
    r.last_bin = r.first_bin + k;
    if (r.first_bin < 1) {
        r.first_bin = 1;
        r.last_bin = k + 1;
    } else if (r.last_bin > num_bins) {
        r.last_bin = num_bins;
        r.first_bin = num_bins - k;
    }
    return r;
}

bool Step_Cursor_Ens(Data_Set& ds, std::int32_t delta) {
    const std::int32_t to = std::clamp(ds.Cursor_Ens + delta, ds.First_Ens, ds.Last_Ens);
    if (to == ds.Cursor_Ens) return false;
    ds.Cursor_Ens = to;
    return true;
}

bool Shift_Series_Bins(Data_Set& ds, std::int32_t delta) {
    const std::int32_t first = std::max(ds.First_Bin, 1), last = std::min(ds.Last_Bin, k_max_bins);
    if (first > last || (delta != 1 && delta != -1)) return false;
    if (Chosen(ds, delta > 0 ? last : first)) return false;
    bool moved = false;
    // Taken from the end they move toward, so no bin is moved twice.
    for (std::int32_t k = delta > 0 ? last - 1 : first + 1; k >= first && k <= last; k -= delta) {
        if (!Chosen(ds, k)) continue;
        ds.Series_Bins[static_cast<std::size_t>(k - 1)] = false;
        ds.Series_Bins[static_cast<std::size_t>(k - 1 + delta)] = true;
        moved = true;
    }
    return moved;
}

bool Toggle_Series_Bin(Data_Set& ds, std::int32_t bin) {
    if (bin < std::max(ds.First_Bin, 1) || bin > std::min(ds.Last_Bin, k_max_bins)) return false;
    auto&& entry = ds.Series_Bins[static_cast<std::size_t>(bin - 1)];
    entry = !entry;
    return true;
}

Contour_Steps Contour_Animation_Steps(std::int32_t v, std::int32_t page) {
    // A page of 1 would round half a page to 0 and never advance.
    return {Round_Even(v + page / 2.0), std::max(Round_Even(page / 2.0), 1)};
}

void Start_Profile_Animation(Data_Set& ds) {
    if (ds.Cursor_Ens >= ds.Last_Ens || ds.Cursor_Ens < ds.First_Ens) ds.Cursor_Ens = ds.First_Ens;
}

std::int32_t Pick_Candle(double x, double plot_left, double plot_width, std::int32_t candles) {
    if (candles <= 0 || plot_width <= 0) return -1;
    const double i = std::floor((x - plot_left) / (plot_width / candles));
    if (i < 0 || i > candles - 1) return -1;
    return static_cast<std::int32_t>(i);
}

double Series_Border_Ratio(double y, int inner_height) {
    if (inner_height <= 0) return 0;
    const double h = inner_height;
    const double low = std::min(static_cast<double>(k_min_pane_px), h) / h;
    const double high = std::max(h - k_min_pane_px, 0.0) / h;
    return std::clamp(y / h, std::min(low, high), high);
}

double Profile_Border_Ratio(double x, int inner_width) {
    if (inner_width <= 0) return 0;
    const double w = inner_width;
    const double low = std::min(static_cast<double>(k_min_pane_px), w) / w;
    const double high = std::max(w - k_min_pane_px, 0.0) / w;
    return std::clamp(x / w, std::min(low, high), std::max(low, high));
}

Sub_Set_Pane Pane_At(const Sub_Set_Layout& l, double x, double y) {
    if (x < l.profile_width) return Sub_Set_Pane::k_profile;
    return y < l.series_top ? Sub_Set_Pane::k_contour : Sub_Set_Pane::k_series;
}

void Toggle_Profile_Line(Surface& s, const Contour_View& view, const Data_Set& ds, double left) {
    if (ds.Cursor_Ens < ds.First_Ens || ds.Cursor_Ens > ds.Last_Ens || view.results.Ensembles <= 0) return;
    const Chart3d_Geometry& g = view.geometry;
    double x = 0, y = 0;
    Get_Chart3d_DataCoordinate(g, view.results, {ds.Cursor_Ens - ds.First_Ens, 0}, x, y);
    Inverting_Pen(s, 1);
    s.Draw_Line(left + x, g.top, left + x, g.Plot_Bottom() - 1);
    Normal_Pen(s);
}

void Toggle_Series_Bin_Line(Surface& s, const Contour_View& view, std::int32_t bin, double left) {
    const Contour_Results& r = view.results;
    const std::int32_t top_bin = r.First_Row_Bin + r.Rows;  // bin number of row 0 from the top
    if (bin > top_bin || bin <= r.First_Row_Bin) return;
    const Chart3d_Geometry& g = view.geometry;
    double x = 0, y = 0;
    Get_Chart3d_DataCoordinate(g, r, {0, top_bin - bin}, x, y);
    Inverting_Pen(s, 1);
    s.Draw_Line(left + g.left, y, left + g.Plot_Right() - 1, y);
    Normal_Pen(s);
}

void Toggle_Series_Line(Surface& s, const Contour_View& view, const Data_Set& ds, double left) {
    for (std::int32_t k = std::max(ds.First_Bin, 1); k <= std::min(ds.Last_Bin, k_max_bins); ++k)
        if (Chosen(ds, k)) Toggle_Series_Bin_Line(s, view, k, left);
}

void Toggle_Sub_Set_Marker(Surface& s, const Contour_View& view, const Data_Set& ds, const Sub_Range& at) {
    const Contour_Results& r = view.results;
    if (r.Ensembles <= 0 || r.Rows <= 0) return;
    const Chart3d_Geometry& g = view.geometry;
    const double step = ds.Whole_Step + 1;
    const double cw = Cell_Width(g, r), ch = Cell_Height(g, r);
    const double x1 = g.left + std::clamp((at.first_ens - ds.Whole_First_Ens) / step, 0.0, double(r.Ensembles)) * cw;
    const double x2 =
        g.left + std::clamp((at.last_ens - ds.Whole_First_Ens) / step + 1, 0.0, double(r.Ensembles)) * cw;
    const std::int32_t top_bin = r.First_Row_Bin + r.Rows;
    const double y1 = g.top + std::clamp(top_bin - at.last_bin, 0, r.Rows) * ch;
    const double y2 = g.top + std::clamp(top_bin - at.first_bin + 1, 0, r.Rows) * ch;
    Inverting_Pen(s, 2);
    s.Draw_Box(x1 + 1, y1 + 1, std::max(x2 - 1, x1 + 2), std::max(y2 - 1, y1 + 2));
    Normal_Pen(s);
}

void Toggle_Rubber_Band(Surface& s, double x1, double y1, double x2, double y2) {
    Inverting_Pen(s, 1);
    s.Draw_Box(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    Normal_Pen(s);
}

void Toggle_Inverting_Line(Surface& s, double x1, double y1, double x2, double y2, int width) {
    Inverting_Pen(s, width);
    s.Draw_Line(x1, y1, x2, y2);
    Normal_Pen(s);
}

}  // namespace vantrel
