#include "charts/contour.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dataset/data_set.h"
#include "decode/decoder_state.h"
#include "settings/settings.h"
#include "charts/chart_primitives.h"
#include "charts/chart_scales.h"
#include "dataset/data_codes.h"
#include "platform/numeric.h"
#include "platform/text_format.h"

namespace vantrel {

namespace {

struct Window_Arrays {
    const Dense_Array<std::uint8_t>& echo;
    const Dense_Array<std::uint8_t>& corr;
    const Dense_Array<std::int16_t>& vel;
    const Dense_Array<std::uint8_t>& pgood;
};

Window_Arrays Arrays_Of(const Data_Set& ds, Chart_Window window) {
    if (window == Chart_Window::k_whole) return {ds.Whole_Echo, ds.Whole_Corr, ds.Whole_Vel, ds.Whole_PGood};
    return {ds.Sub_Echo, ds.Sub_Corr, ds.Sub_Vel, ds.Sub_PGood};
}

// Slots a window can read without leaving its arrays.
std::int32_t Usable_Slots(const Window_Arrays& a, std::int32_t wanted) {
    std::size_t slots = std::min({a.echo.Extent(2), a.corr.Extent(2), a.vel.Extent(2), a.pgood.Extent(2)});
    return std::clamp<std::int32_t>(wanted, 0, static_cast<std::int32_t>(slots));
}

std::int32_t Usable_Bins(const Window_Arrays& a) {
    return static_cast<std::int32_t>(std::min({a.echo.Extent(1), a.corr.Extent(1), a.vel.Extent(1), a.pgood.Extent(1)}));
}

// The Whole Set grid and its image, built again only when what they are built from changed.
// A fresh image each time, so a copied view keeps the one that matches its key.
const Surface& Whole_Grid_Image(Contour_View& view, const Chart_Sources& state, const Surface& maker,
                                std::int32_t code) {
    static_assert(std::tuple_size_v<decltype(Settings::Contour_Scale_Limits)> == 2);
    const Whole_Grid_Key key{.generation = state.ds.Whole_Generation,
                             .count = state.ds.Whole_Count,
                             .num_bins = state.dec.Num_Bins,
                             .code = code,
                             .scale_mode = state.settings.Contour_Scale_Mode,
                             .scale_limits = state.settings.Contour_Scale_Limits,
                             .palette = state.palette};
    if (view.whole_image && view.whole_key == key) return *view.whole_image;
    Move_Data_To_Chart3d_Array(view.results, state.ds, state.settings, Chart_Window::k_whole, key.num_bins, code);
    std::shared_ptr<Surface> image = maker.Create_Surface(1, 1);
    Create_Chart3d(view.results, state.palette, *image, Chart_Window::k_whole, 0);
    view.whole_key = key;
    view.whole_image = std::move(image);
    return *view.whole_image;
}

// Ensembles lie a page or more apart, where the processor stops guessing what is read next:
// the bins of an ensemble a few ahead are asked for while this one is read.
constexpr std::size_t k_fetch_ahead = 2;
void Fetch_Ahead(const void* from, std::size_t bytes) {
    const auto* p = static_cast<const char*>(from);
    for (std::size_t at = 0; at < bytes; at += 64) __builtin_prefetch(p + at);
}

// Count, exact integer sums, highest and lowest of the values that are not k_bad_velocity.
class Grid_Stats {
public:
    std::int64_t count = 0, sum = 0, sum_sq = 0;

    // Takes n values; separate loops, each keeping to one lane width, become vector code.
    void Add(const std::int16_t* cells, std::size_t n) {
        // Blocks small enough for 32-bit partial sums.
        constexpr std::size_t k_block = 1024;
        for (std::size_t from = 0; from < n; from += k_block) {
            const std::int16_t* block = cells + from;
            const std::size_t m = std::min(k_block, n - from);
            std::int32_t block_count = 0, block_sum = 0;
            for (std::size_t i = 0; i < m; ++i) {
                const std::int16_t v = block[i];
                block_count += v != k_bad_velocity;
                block_sum += v != k_bad_velocity ? v : 0;
            }
            // Squares below 2^30 summed as their high and low 16 bits, both exact in 32 bits.
            std::int32_t squares_high = 0, squares_low = 0;
            for (std::size_t i = 0; i < m; ++i) {
                const std::int32_t kept = block[i] != k_bad_velocity ? block[i] : 0;
                const std::int32_t square = kept * kept;
                squares_high += square >> 16;
                squares_low += square & 0xFFFF;
            }
            for (std::size_t i = 0; i < m; ++i) {
                const std::int16_t v = block[i];
                const auto negative = static_cast<std::int16_t>(-v);
                top_ = v > top_ ? v : top_;
                negative_top_ = negative > negative_top_ ? negative : negative_top_;
            }
            count += block_count, sum += block_sum;
            sum_sq += std::int64_t{squares_high} * 65536 + squares_low;
        }
    }
    std::int32_t Top() const { return count > 0 ? top_ : -999999; }
    std::int32_t Bottom() const { return count > 0 ? -negative_top_ : 999999; }

private:
    // The missing mark is the one value without a 16-bit negative, so it is the lowest both
    // of the values and of their negatives: highest and lowest need no mask.
    static_assert(k_bad_velocity == INT16_MIN);
    std::int16_t top_ = INT16_MIN, negative_top_ = INT16_MIN;
};

// Directions are held in tenths of a degree; the grid shows whole degrees.
void Round_Tenths(std::int16_t* cells, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const auto degrees = static_cast<std::int16_t>(Round_Small(cells[i] / 10.0));
        cells[i] = cells[i] == k_bad_velocity ? k_bad_velocity : degrees;
    }
}

// One component of rows first_bin.. of every ensemble into the grid's place, with their
// statistics. Ensembles outermost: the bins of one ensemble lie together in the arrays, and
// each gathered column is counted while it is still in the nearest cache.
template <typename T>
Grid_Stats Gather_Component(const Dense_Array<T>& data, std::size_t component, std::size_t first_bin,
                            std::size_t R, std::size_t E, bool tenths, std::int16_t* out) {
    Grid_Stats stats;
    if (R == 0) return stats;
    const std::size_t stride = data.Extent(0), slot = data.Extent(0) * data.Extent(1);
    for (std::size_t e = 0; e < E; ++e) {
        const T* in = &data(component, first_bin, e);
        if (e + k_fetch_ahead < E) Fetch_Ahead(in + k_fetch_ahead * slot, R * stride * sizeof(T));
        std::int16_t* cells = out + e * R;
        for (std::size_t row = 0; row < R; ++row) cells[row] = static_cast<std::int16_t>(in[row * stride]);
        if (tenths) Round_Tenths(cells, R);
        stats.Add(cells, R);
    }
    return stats;
}

bool Overlaps(double a0, double a1, double b0, double b1) { return a0 < b1 && b0 < a1; }

bool Overlaps_Any(double a0, double a1, const std::vector<std::pair<double, double>>& taken) {
    for (const auto& [b0, b1] : taken)
        if (Overlaps(a0, a1, b0, b1)) return true;
    return false;
}

}  // namespace

bool Contour_Code_Limits(std::int32_t code, double& lo, double& hi) {
    const Contour_Code_Parts c = Decode_Contour_Code(code);
    lo = hi = 0;
    switch (c.family) {
        case Code_Family::k_echo:
        case Code_Family::k_corr: hi = 255; return true;
        case Code_Family::k_vel:
            if (code == k_code_vel_direction) hi = 360;
            else if (code == k_code_vel_magnitude) hi = 32767;
            else lo = -32767, hi = 32767;
            return true;
        case Code_Family::k_pgood: hi = 100; return true;
        default: return false;
    }
}

void Move_Data_To_Chart3d_Array(Contour_Results& r, const Data_Set& ds, const Settings& settings,
                                Chart_Window window, std::int32_t num_bins, std::int32_t code) {
    const Window_Arrays a = Arrays_Of(ds, window);
    const std::int32_t bins_held = std::min(num_bins, Usable_Bins(a));
    std::int32_t first_bin = 0, last_bin = bins_held - 1;
    if (window == Chart_Window::k_sub) {
        first_bin = std::max(ds.First_Bin - 1, 0);
        last_bin = std::min(ds.Last_Bin - 1, bins_held - 1);
    }
    r.First_Row_Bin = first_bin;
    r.Rows = std::max(last_bin - first_bin + 1, 0);
    r.Ensembles = Usable_Slots(a, window == Chart_Window::k_whole ? ds.Whole_Count : ds.Sub_Count);

    // Raw values first, kept in the grid's place until the scale is known: every code's
    // values fit 16 bits, and k_bad_velocity marks a missing one.
    const std::size_t E = static_cast<std::size_t>(r.Ensembles);
    const std::size_t R = static_cast<std::size_t>(r.Rows);
    const Dense_Array<std::uint8_t>* bytes = nullptr;
    const Dense_Array<std::int16_t>* words = nullptr;
    const Contour_Code_Parts parts = Decode_Contour_Code(code);
    const auto component = static_cast<std::size_t>(parts.component);
    switch (parts.family) {
        case Code_Family::k_echo: bytes = &a.echo; break;
        case Code_Family::k_corr: bytes = &a.corr; break;
        case Code_Family::k_vel: words = &a.vel; break;
        case Code_Family::k_pgood: bytes = &a.pgood; break;
        default: break;
    }
    if ((bytes && component >= bytes->Extent(0)) || (words && component >= words->Extent(0))) bytes = nullptr, words = nullptr;
    r.Index.resize(R * E);  // every cell is written below
    if (!bytes && !words) std::fill(r.Index.begin(), r.Index.end(), k_bad_velocity);
    const bool tenths = code == k_code_vel_direction;
    std::int16_t* cells = r.Index.data();
    const auto from = static_cast<std::size_t>(first_bin);
    const Grid_Stats stats = bytes   ? Gather_Component(*bytes, component, from, R, E, false, cells)
                             : words ? Gather_Component(*words, component, from, R, E, tenths, cells)
                                     : Grid_Stats{};
    const std::int64_t count = stats.count, sum = stats.sum, sum_sq = stats.sum_sq;
    const std::int32_t top = stats.Top(), bottom = stats.Bottom();
    const double n = static_cast<double>(count), s = static_cast<double>(sum), q = static_cast<double>(sum_sq);
    const double data_max = top, data_min = bottom;
    double mean = 0, std_dev = 0;
    if (n > 1) {
        mean = s / n;
        std_dev = std::sqrt(std::max(0.0, (q - s * s / n) / (n - 1)));
    }
    r.Data_Max = static_cast<std::int32_t>(rnd(data_max));
    r.Data_Min = static_cast<std::int32_t>(rnd(data_min));
    r.Mean = static_cast<std::int32_t>(rnd(mean));
    r.Count = static_cast<std::int32_t>(n);
    r.Std = static_cast<std::int32_t>(rnd(std_dev));

    double max = 0, min = 0;
    if (code == k_code_vel_direction) {
        max = 360, min = 0;
        r.Data_Max = 360, r.Data_Min = 0;
    } else {
        switch (settings.Contour_Scale_Mode) {
            case 0: max = settings.Contour_Scale_Limits[1], min = settings.Contour_Scale_Limits[0]; break;
            case 1: max = data_max, min = data_min; break;
            default: {
                const double k = std::clamp(settings.Contour_Scale_Mode - 1, 1, 3);
                max = mean + k * std_dev, min = mean - k * std_dev;
            }
        }
    }
    double lo = 0, hi = 0;
    if (Contour_Code_Limits(code, lo, hi)) {
        min = std::max(min, lo);
        max = std::min(max, hi);
    }

    const auto all_bad = [&r] { std::fill(r.Index.begin(), r.Index.end(), static_cast<std::int16_t>(k_index_bad)); };
    if (!(min < max)) {
        r.Scale_Max = r.Scale_Min = 0;
        return all_bad();
    }
    r.Scale_Max = static_cast<std::int32_t>(rnd(max));
    r.Scale_Min = static_cast<std::int32_t>(rnd(min));
    if (count == 0) return all_bad();
    // Each value's colour index computed once: the values span at most 65536 steps.
    const bool circle = code == k_code_vel_direction;
    const double factor = (circle ? 139.0 : 99.0) / (max - min);
    // index_of[0] serves k_bad_velocity, the one mark below every value: no branch per cell.
    std::vector<std::int16_t> index_of(static_cast<std::size_t>(top - bottom + 2));
    index_of[0] = static_cast<std::int16_t>(k_index_bad);
    for (std::int32_t v = bottom; v <= top; ++v) {
        double c = rnd((v - min) * factor + (circle ? k_circle_first : 0));
        if (c < (circle ? k_circle_first : 0))
            c = k_index_below;
        else if (c > (circle ? k_circle_last : 99))
            c = k_index_above;
        index_of[static_cast<std::size_t>(v - bottom + 1)] = static_cast<std::int16_t>(c);
    }
    const std::int32_t below = bottom - 1;
    for (std::int16_t& cell : r.Index) cell = index_of[static_cast<std::size_t>(std::max(cell - below, 0))];
}

void Create_Chart3d(const Contour_Results& r, const Contour_Palette& palette, Surface& image, Chart_Window window,
                    int screen_width) {
    int width = std::max(r.Ensembles, 1);
    double x_per_ensemble = 1;
    if (window == Chart_Window::k_sub && screen_width > 0 && r.Ensembles > screen_width) {
        width = screen_width;
        x_per_ensemble = static_cast<double>(width) / r.Ensembles;
    }
    const int height = std::max(r.Rows, 1);
    std::vector<Colour> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                               palette[k_index_bad]);
    const std::size_t w = static_cast<std::size_t>(width);
    // Where several ensembles share a pixel column the last one shows, so only that one is
    // painted.
    std::vector<std::int32_t> shown(w, -1);
    for (std::int32_t e = 0; e < r.Ensembles; ++e)
        shown[static_cast<std::size_t>(std::min(x_per_ensemble == 1 ? e : static_cast<int>(e * x_per_ensemble),
                                                width - 1))] = e;
    // Blocks of columns keep both the grid's columns and the image's rows in cache.
    constexpr std::size_t k_block = 64;
    const std::size_t R = static_cast<std::size_t>(std::max(r.Rows, 0));
    for (std::size_t from = 0; from < w; from += k_block) {
        const std::size_t to = std::min(from + k_block, w);
        for (std::size_t row = 0; row < R; ++row) {
            Colour* line = pixels.data() + (R - 1 - row) * w;  // row 0 is the bottom line
            for (std::size_t x = from; x < to; ++x) {
                if (shown[x] < 0) continue;
                const int c = r.Index[static_cast<std::size_t>(shown[x]) * R + row];
                line[x] = palette[static_cast<std::size_t>(std::clamp<int>(c, 0, k_palette_size - 1))];
            }
        }
    }
    image.Put_Pixels(width, height, pixels);
}

Chart3d_Geometry Set_Chart3d_Size(const Surface& chart, Chart_Window window, int scroll_bar_width,
                                  int scroll_bar_height) {
    Chart3d_Geometry g;
    g.width = chart.Width();
    g.height = chart.Height();
    g.text_h = chart.TextHeight("W");
    g.text_w = chart.TextWidth("W");
    g.top = 3 * g.text_h;
    if (window == Chart_Window::k_whole) {
        g.bottom = 4 * g.text_h + scroll_bar_height;
        g.left = 5 * g.text_w + scroll_bar_width;
        g.right = 4 * g.text_w;
    } else {
        g.bottom = std::max(4 * g.text_h, 40.0);
        g.left = std::max(5 * g.text_w, 50.0);
        g.right = std::max(5 * g.text_w, 60.0);
    }
    return g;
}

void Move_Clip_To_Chart3d(Surface& chart, const Surface& image, const Chart3d_Geometry& g) {
    chart.Clear();
    chart.Copy_Image(image, 0, 0, image.Width(), image.Height(), static_cast<int>(std::lround(g.left)),
                     static_cast<int>(std::lround(g.top)), static_cast<int>(std::lround(g.Plot_Width())),
                     static_cast<int>(std::lround(g.Plot_Height())));
}

void Display_BT_Contour(Surface& chart, const Chart3d_Geometry& g, const Contour_Results& r, const Data_Set& ds,
                        const Decoder_State& dec, const Settings& settings, Chart_Window window, std::int32_t code) {
    if (!settings.Contour_Switch_3 || r.Ensembles < 2 || r.Rows < 2 || dec.Bin_Size <= 0) return;
    const auto& ranges = window == Chart_Window::k_whole ? ds.Whole_BT_Range : ds.Sub_BT_Range;
    const std::int32_t count = std::min<std::int32_t>(r.Ensembles, static_cast<std::int32_t>(ranges.Extent(1)));
    if (ranges.Extent(0) < 4) return;

    // A one-beam quantity follows its own beam's range, everything else the four beams' mean.
    int first_beam = 0, last_beam = 3;
    const Contour_Code_Parts parts = Decode_Contour_Code(code);
    const bool per_beam = parts.family == Code_Family::k_echo || parts.family == Code_Family::k_corr ||
                          parts.family == Code_Family::k_pgood;
    if (per_beam && parts.component < 4) first_beam = last_beam = parts.component;

    // The line runs from the transducer-side row centre; for a zoomed Sub Set that row is
    // the nearest shown one.
    const bool down = ds.Orientation_Count > 0;
    const std::int32_t near_bin = down ? r.First_Row_Bin + r.Rows - 1 : r.First_Row_Bin;
    const std::int32_t near_number = down ? dec.Num_Bins - 1 - near_bin : near_bin;
    const double near_range = dec.Bin1_Dist + near_number * dec.Bin_Size;
    const double k = g.Plot_Height() / ((r.Rows - 1) * dec.Bin_Size);
    const double cw = g.Plot_Width() / r.Ensembles;

    chart.Drawing_Mode = Draw_Mode::k_invert;
    chart.Fore_Color = k_white;
    chart.Draw_Width = 1;
    chart.Draw_Style = Line_Style::k_solid;
    bool started = false;
    double x = g.left + cw / 2;
    for (std::int32_t e = 0; e < count; ++e, x += cw) {
        double sum = 0;
        int n = 0;
        for (int beam = first_beam; beam <= last_beam; ++beam) {
            const std::int32_t cm = ranges(static_cast<std::size_t>(beam), static_cast<std::size_t>(e));
            if (cm > 0) sum += cm / 100.0, ++n;
        }
        if (n == 0) continue;
        const double offset = (sum / n - near_range) * k;
        const double y = down ? g.top + offset : g.Plot_Bottom() - offset;
        if (started) {
            chart.Line_To(x, y);
        } else {
            chart.Current_X = x;
            chart.Current_Y = y;
            started = true;
        }
    }
    chart.Drawing_Mode = Draw_Mode::k_normal;
    chart.Fill_Color = chart.Back_Color;
    chart.Fill_Box(0, 0, g.width - 1, g.top - 1);
    chart.Fill_Box(0, g.Plot_Bottom(), g.width - 1, g.height - 1);
    chart.Fill_Box(0, 0, g.left - 1, g.height - 1);
    chart.Fill_Box(g.Plot_Right(), 0, g.width - 1, g.height - 1);
}

Ensemble_Span Window_Ensembles(const Data_Set& ds, Chart_Window window) {
    Ensemble_Span s;
    if (window == Chart_Window::k_whole) {
        s.count = ds.Whole_Count;
        s.step = ds.Whole_Step;
        s.first = ds.Whole_First_Ens;
    } else {
        s.count = std::min(ds.Sub_Count, static_cast<std::int32_t>(ds.Sub_Ens_Number.Size()));
        s.first = s.count > 0 ? ds.Sub_Ens_Number(0) : ds.First_Ens;
    }
    s.last = s.first + (s.step + 1) * std::max(s.count - 1, 0);
    return s;
}

void Range_Extent(const Contour_Results& r, const Decoder_State& dec, std::int32_t orientation_count,
                  double& top_value, double& bottom_value) {
    const bool down = orientation_count > 0;
    // Instrument bin numbers (0 at the transducer) of the bottom and top rows.
    const std::int32_t bottom_bin = r.First_Row_Bin, top_bin = r.First_Row_Bin + std::max(r.Rows, 1) - 1;
    const auto centre = [&](std::int32_t data_bin) {
        const std::int32_t number = down ? dec.Num_Bins - 1 - data_bin : data_bin;
        return dec.Bin1_Dist + number * dec.Bin_Size;
    };
    if (down) {
        top_value = -(centre(top_bin) - dec.Bin_Size / 2);
        bottom_value = -(centre(bottom_bin) + dec.Bin_Size / 2);
    } else {
        top_value = centre(top_bin) + dec.Bin_Size / 2;
        bottom_value = centre(bottom_bin) - dec.Bin_Size / 2;
    }
}

Chart3d_Axes Compute_Chart3d_Axes(const Surface& chart, const Chart3d_Geometry& g, const Contour_Results& r,
                                  const Data_Set& ds, const Decoder_State& dec, Chart_Window window,
                                  const std::vector<std::pair<double, double>>& occupied_below,
                                  const std::vector<std::pair<double, double>>& occupied_above) {
    Chart3d_Axes axes;
    const double h = g.text_h;

    // Range axis: labels along the plot height, upward values at the top.
    double top_value = 0, bottom_value = 0;
    Range_Extent(r, dec, ds.Orientation_Count, top_value, bottom_value);
    if (top_value > bottom_value) {
        const Range_Step rs = Choose_Range_Step(std::fabs(top_value - bottom_value) / 2);
        double first = std::trunc(bottom_value / rs.step) * rs.step;
        if (first < bottom_value - 1e-9) first += rs.step;
        double last_top = 1e300;  // top of the previous label (labels go upwards)
        for (int i = 0;; ++i) {
            const double v = first + i * rs.step;
            if (v > top_value + 1e-9 || i > 100000) break;
            const double y = g.top + (top_value - v) / (top_value - bottom_value) * g.Plot_Height();
            if (y + h / 2 > last_top) continue;
            axes.range.push_back({y, Format(v, rs.decimals ? "0.0" : "0")});
            last_top = y - h / 2;
        }
    }

    // Bin axis: every bin that has room, at the cell centres.
    double last_top = 1e300;
    for (std::int32_t row = 0; row < r.Rows; ++row) {
        const std::int32_t bin = r.First_Row_Bin + row;
        const std::int32_t number = ds.Orientation_Count > 0 ? dec.Num_Bins - bin : bin + 1;
        const double y = g.top + (r.Rows - 0.5 - row) * g.Plot_Height() / r.Rows;
        if (y + h / 2 > last_top) continue;
        axes.bins.push_back({y, Format(number, "0")});
        last_top = y - h / 2;
    }

    const Ensemble_Span span = Window_Ensembles(ds, window);
    if (span.count <= 0) return axes;
    const double cw = g.Plot_Width() / span.count;
    axes.cell_width = cw;

    // Horizontal labels: skipped when they would run into the previous one or a taken place.
    // Neighbours keep a digit's width apart, or "100000" and "120000" read as one number.
    const double spacing = chart.TextWidth("0");
    const auto place = [&](std::vector<Axis_Label>& out, double x, std::string text,
                           const std::vector<std::pair<double, double>>& taken, double& last_right) {
        const double w = chart.TextWidth(text);
        if (x - w / 2 < last_right + spacing || Overlaps_Any(x - w / 2 - spacing, x + w / 2 + spacing, taken)) return;
        out.push_back({x, std::move(text)});
        last_right = x + w / 2;
    };

    // Ensemble axis.
    const std::int32_t s = Choose_Count_Step(std::abs(span.last - span.first) / 2.0);
    const std::int32_t rem = ((span.first % s) + s) % s;
    double last_right = -1e300;
    for (std::int64_t n = rem == 0 ? span.first : span.first + (s - rem); n <= span.last; n += s) {
        const double x = (static_cast<double>(n - span.first) / (span.step + 1) + 0.5) * cw + g.left;
        place(axes.ensembles, x, Format(static_cast<double>(n), "0"), occupied_below, last_right);
    }

    // Elapsed-time axis.
    const double duration = window == Chart_Window::k_whole ? ds.Sum_Interval : ds.Sub_Sum_Interval;
    const Time_Unit t = Choose_Time_Unit(duration);
    const double pps = duration == 0 ? 0 : (g.Plot_Width() - cw) / duration;
    last_right = -1e300;
    for (std::int32_t k = 0; k <= t.count; k += std::max(t.step, 1)) {
        const double x = k * t.seconds * pps + g.left + cw / 2;
        axes.time_ticks.push_back(x);
        place(axes.times, x, Format(k, "0") + t.label, occupied_above, last_right);
    }
    return axes;
}

Colour_Bar_Layout Layout_Colour_Bar(const Chart3d_Geometry& g, const Contour_Results& r, std::int32_t code,
                                    double top, double height) {
    Colour_Bar_Layout bar;
    bar.circle = code == k_code_vel_direction;
    bar.ends = r.Scale_Max != r.Data_Max || r.Scale_Min != r.Data_Min;
    const double k = (bar.circle ? 140 : 100) + (bar.ends ? 8 : 0);
    bar.unit = g.Plot_Width() / k / 4;
    bar.top = top;
    bar.height = height;
    const double centre = g.left + g.Plot_Width() / 2;
    bar.left = centre - bar.Width() / 2;
    const double half = (bar.circle ? 70 : 50) * bar.unit;
    bar.labels[0] = {centre, Format((r.Scale_Min + r.Scale_Max) / 2, "0")};  // truncates toward zero
    bar.labels[1] = {centre - half, Format(r.Scale_Min, "0")};
    bar.labels[2] = {centre + half, Format(r.Scale_Max, "0")};
    return bar;
}

void Draw_Colour_Bar(Surface& chart, const Colour_Bar_Layout& bar, const Contour_Palette& palette,
                     const std::string& caption, double caption_x, double caption_y, double labels_y) {
    const double u = bar.unit, bottom = bar.top + bar.height;
    chart.Fore_Color = k_black;
    chart.Print_At(caption_x, caption_y, caption);
    double x = bar.left;
    const auto box = [&](int index, double w) {
        chart.Fill_Color = palette[static_cast<std::size_t>(index)];
        chart.Fill_Box(x, bar.top, x + w, bottom);
        x += w;
    };
    if (bar.ends) box(k_index_below, 4 * u);
    for (int i = bar.circle ? k_circle_first : 0; i <= (bar.circle ? k_circle_last : 99); ++i) box(i, u);
    if (bar.ends) box(k_index_above, 4 * u);
    chart.Draw_Width = 1;
    chart.Draw_Style = Line_Style::k_solid;
    chart.Draw_Box(bar.left, bar.top, bar.left + bar.Width(), bottom);
    for (const auto& label : bar.labels)
        chart.Print_At(label.pos - chart.TextWidth(label.text) / 2, labels_y, label.text);
}

std::string Contour_Type_Title(std::int32_t code, std::int32_t vel_reference, bool is_qtrm) {
    const std::string suffix = Reference_Suffix(vel_reference);
    const bool own_reference = vel_reference == k_ref_bottom_track || vel_reference == k_ref_water_mass;
    const Contour_Code_Parts c = Decode_Contour_Code(code);
    const std::string beam = Format(c.component + 1, "0");
    switch (c.family) {
        case Code_Family::k_echo: return c.component < 4 ? "ECHO INTENSITY Beam " + beam : "ECHO INTENSITY Avg";
        case Code_Family::k_corr: return c.component < 4 ? "CORRELATION Beam " + beam : "CORRELATION Avg";
        case Code_Family::k_pgood: return "Percent Good " + beam;
        case Code_Family::k_vel: break;
        default: return "";
    }
    switch (c.component) {
        case 0: return is_qtrm ? "PROFILE #1" : "VELOCITY EAST (u)" + suffix;
        case 1: return is_qtrm ? "PROFILE #2" : "VELOCITY NORTH (v)" + suffix;
        case 2: return "VELOCITY UP (w)" + (own_reference ? suffix : std::string());
        case 3: return "VELOCITY ERROR" + (own_reference ? suffix : std::string());
        case 4: return "VELOCITY MAGNITUDE" + suffix;
        default: return "VELOCITY DIRECTION" + suffix;
    }
}

std::string Contour_Scale_Caption(std::int32_t code) {
    switch (Decode_Contour_Code(code).family) {
        case Code_Family::k_echo:
        case Code_Family::k_corr: return "Scale (counts)";
        case Code_Family::k_vel: return code == k_code_vel_direction ? "Scale (degrees)" : "Scale (mm/s)";
        case Code_Family::k_pgood: return "Scale (Percent)";
        default: break;
    }
    return "";
}

Chart3d_Texts Form_Chart3d_Texts(const Data_Set& ds, const Decoder_State& dec, const Settings& settings,
                                 const Contour_Results& r, Chart_Window window, std::int32_t code) {
    Chart3d_Texts t;
    const bool whole = window == Chart_Window::k_whole;
    t.duration_line = std::string(whole ? "Whole Set" : "Sub Set") + " --- Deployment Duration: " +
                      Duration_Text(whole ? ds.Sum_Interval : ds.Sub_Sum_Interval);
    t.type_title = Contour_Type_Title(code, settings.Vel_Reference, dec.Is_QTRM);
    t.scale_caption = Contour_Scale_Caption(code);
    if (code != k_code_vel_direction)
        t.stats_line = std::string(whole ? " Avg = " : "Avg = ") + Format(r.Mean, "0") + " \u00B1" + Format(r.Std, "0");
    if (whole)
        t.row_captions = {"Ensemble", "Date", "Time"};
    else
        t.row_captions = {"Ensemble", "Date, Time", "Lat,Lon"};

    const Ensemble_Span span = Window_Ensembles(ds, window);
    const auto& times = whole ? ds.Whole_Time : ds.Sub_Time;
    const std::int32_t slots = static_cast<std::int32_t>(times.Extent(1));
    if (span.count > 0 && span.count <= slots && times.Extent(0) >= 7) {
        const std::size_t ends[2] = {0, static_cast<std::size_t>(span.count - 1)};
        std::array<std::string, 3>* labels[2] = {&t.first_labels, &t.last_labels};
        for (int i = 0; i < 2; ++i) {
            const std::size_t e = ends[i];
            const auto tb = [&](std::size_t k) { return static_cast<int>(times(k, e)); };
            const std::string date = Date_Text(tb(0), tb(1), tb(2));
            const std::string clock = Clock_Text(tb(3), tb(4), tb(5), tb(6));
            auto& out = *labels[i];
            out[0] = Format(i == 0 ? span.first : span.last, "0");
            if (whole) {
                out[1] = date;
                out[2] = clock;
            } else {
                out[1] = date + ", " + clock;
                if (e < ds.Sub_First_Lat.Size() && e < ds.Sub_First_Lon.Size())
                    out[2] = Format(Position_Degrees(ds.Sub_First_Lat(e)), "0.0000") + "\u00B0, " +
                             Format(Position_Degrees(ds.Sub_First_Lon(e)), "0.0000") + "\u00B0";
            }
        }
    }
    if (whole) {
        t.selection = "Sel: " + Format(ds.Sel_First_Ens, "0") + " to " + Format(ds.Sel_Last_Ens, "0");
        t.sub_location = "Sub: " + Format(ds.First_Ens, "0") + " to " + Format(ds.Last_Ens, "0");
    }
    return t;
}

void Draw_Chart3d_Decorations(Contour_View& view, const Chart_Sources& state, Surface& chart, Surface& scratch,
                              Chart_Window window, std::int32_t code) {
    const Chart3d_Geometry& g = view.geometry;
    const Chart3d_Texts& t = view.texts;
    const double h = g.text_h, tick = h / 4;
    chart.Drawing_Mode = Draw_Mode::k_normal;
    chart.Fore_Color = k_black;
    chart.Draw_Width = 1;
    chart.Draw_Style = Line_Style::k_solid;
    chart.Font_Transparent = true;

    // Title rows: duration line at the left, data-type title and statistics at the right,
    // the colour bar's caption between them, the bar on the second row.
    // A narrow window drops the statistics first, then the duration's caption, rather than
    // printing the two ends over each other.
    std::string title = t.type_title + (t.stats_line.empty() ? "" : "   " + t.stats_line);
    std::string duration = t.duration_line;
    const auto row_fits = [&] {
        return g.left + chart.TextWidth(duration) + chart.TextWidth("00") <= g.Plot_Right() - chart.TextWidth(title);
    };
    if (!row_fits()) title = t.type_title;
    if (!row_fits()) {
        const std::string caption = " Deployment Duration:";
        if (const auto at = duration.find(caption); at != std::string::npos) duration.erase(at, caption.size());
    }
    chart.Print_At(g.left, 0, duration);
    chart.Print_At(g.Plot_Right() - chart.TextWidth(title), 0, title);
    const double labels_y = g.top - tick - h;
    view.bar = Layout_Colour_Bar(g, view.results, code, h + 1, std::max(2.0, labels_y - h - 2));
    // The caption goes above the bar when the title row has room, else left of the bar.
    const double caption_w = chart.TextWidth(t.scale_caption);
    double bar_caption_x = view.bar.left + view.bar.Width() / 2 - caption_w / 2, bar_caption_y = 0;
    bool caption_beside = false;
    if (bar_caption_x < g.left + chart.TextWidth(duration) + 4 ||
        bar_caption_x + caption_w > g.Plot_Right() - chart.TextWidth(title) - 4) {
        const auto& low = view.bar.labels[1];
        bar_caption_x = std::min(view.bar.left, low.pos - chart.TextWidth(low.text) / 2) - 4 - caption_w;
        bar_caption_y = view.bar.top;
        caption_beside = true;
    }
    Draw_Colour_Bar(chart, view.bar, state.palette, t.scale_caption, bar_caption_x, bar_caption_y, labels_y);
    const double selection_x = g.Plot_Right() - chart.TextWidth(t.selection);
    if (!t.selection.empty()) chart.Print_At(selection_x, h, t.selection);
    // Before the selection, when it clears the colour bar.
    const double sub_x = selection_x - chart.TextWidth("00") - chart.TextWidth(t.sub_location);
    const bool sub_shown = !t.sub_location.empty() && sub_x > view.bar.left + view.bar.Width() + 4;
    if (sub_shown) chart.Print_At(sub_x, h, t.sub_location);

    // Label rows below the plot: the end labels first, the axis labels fill the gaps.
    const double row_y = g.Plot_Bottom() + tick + 1;
    std::vector<std::pair<double, double>> below, above;
    for (int row = 0; row < 3; ++row) {
        const double y = row_y + row * h;
        // A caption wider than the margin pushes the row's first label to the right.
        const std::string& caption = t.row_captions[static_cast<std::size_t>(row)];
        const double caption_x = std::max(1.0, g.left - 4 - chart.TextWidth(caption));
        chart.Print_At(caption_x, y, caption);
        const double first_x = std::max(g.left, caption_x + chart.TextWidth(caption) + 4);
        const std::string& first = t.first_labels[static_cast<std::size_t>(row)];
        const std::string& last = t.last_labels[static_cast<std::size_t>(row)];
        chart.Print_At(first_x, y, first);
        chart.Print_At(g.Plot_Right() - chart.TextWidth(last), y, last);
        if (row == 0) {
            below.push_back({g.left, first_x + chart.TextWidth(first) + 2});
            below.push_back({g.Plot_Right() - chart.TextWidth(last) - 2, g.Plot_Right()});
        }
    }
    // The time labels share their row with the bar's labels: none between them, so a time
    // never reads as a scale value, and a clear gap either side.
    const double gap = chart.TextWidth("00");
    double bar_from = view.bar.left, bar_to = view.bar.left + view.bar.Width();
    for (const auto& label : view.bar.labels) {
        const double w = chart.TextWidth(label.text);
        bar_from = std::min(bar_from, label.pos - w / 2);
        bar_to = std::max(bar_to, label.pos + w / 2);
    }
    above.push_back({bar_from - gap, bar_to + gap});
    if (!t.selection.empty()) above.push_back({(sub_shown ? sub_x : selection_x) - gap, g.Plot_Right() + g.right});
    if (caption_beside) above.push_back({bar_caption_x - 2, bar_caption_x + caption_w + 2});
    view.axes = Compute_Chart3d_Axes(chart, g, view.results, state.ds, state.dec, window, below, above);

    const bool grid = state.settings.Contour_Switch_2;
    const auto rule = [&](double x1, double y1, double x2, double y2, bool full) {
        chart.Draw_Style = full ? Line_Style::k_dotted : Line_Style::k_solid;
        chart.Draw_Line(x1, y1, x2, y2);
        chart.Draw_Style = Line_Style::k_solid;
    };
    double widest = 0;
    for (const auto& label : view.axes.range) {
        const double w = chart.TextWidth(label.text);
        widest = std::max(widest, w);
        chart.Print_At(g.left - tick - 2 - w, label.pos - h / 2, label.text);
        rule(grid ? g.Plot_Right() : g.left - tick, label.pos, g.left, label.pos, grid);
    }
    for (const auto& label : view.axes.bins) {
        chart.Print_At(g.Plot_Right() + tick + 2, label.pos - h / 2, label.text);
        rule(grid ? g.left : g.Plot_Right() + tick, label.pos, g.Plot_Right(), label.pos, grid);
    }
    for (const auto& label : view.axes.ensembles) {
        chart.Print_At(label.pos - chart.TextWidth(label.text) / 2, row_y, label.text);
        rule(label.pos, grid ? g.top : g.Plot_Bottom() + tick, label.pos, g.Plot_Bottom(), grid);
    }
    for (const auto& label : view.axes.times)
        chart.Print_At(label.pos - chart.TextWidth(label.text) / 2, labels_y, label.text);
    for (double x : view.axes.time_ticks) rule(x, g.top - tick, x, grid ? g.Plot_Bottom() : g.top, grid);

    // Turned axis captions, centred on the plot height. Beside a short plot they stay between
    // the time labels and the plot's foot, smaller if need be, never over the row captions.
    const double mid = g.top + g.Plot_Height() / 2, room = g.Plot_Bottom() - labels_y;
    const auto turned = [&](const std::string& text, double x, bool upwards) {
        const double size = chart.Font_Size();
        while (chart.Font_Size() > 1 && chart.TextWidth(text) > room) chart.Set_Font_Size(chart.Font_Size() - 1);
        const double w = chart.TextWidth(text);
        PrintVerticalTitle(chart, scratch, text, x, std::min(std::max(mid + w / 2, labels_y + w), g.Plot_Bottom()), upwards);
        chart.Set_Font_Size(size);
    };
    turned(t.range_caption, std::max(0.0, g.left - tick - 4 - widest - h), true);
    double bins_widest = 0;
    for (const auto& label : view.axes.bins) bins_widest = std::max(bins_widest, chart.TextWidth(label.text));
    turned(t.bin_caption, std::min(g.width - h, g.Plot_Right() + tick + 4 + bins_widest), false);

    chart.Fore_Color = k_black;
    chart.Draw_Box(g.left - 1, g.top - 1, g.Plot_Right(), g.Plot_Bottom());
}

void Chart3d_DisplayTitles(Contour_View& view, const Chart_Sources& state, Chart3d_Surfaces s, Chart_Window window,
                           std::int32_t code, int screen_width, int scroll_bar_width, int scroll_bar_height) {
    if (!state.ds.File_Loaded) return;
    const Surface* image = &s.image;
    if (window == Chart_Window::k_whole) {
        image = &Whole_Grid_Image(view, state, s.image, code);
    } else {
        view.whole_image.reset();  // the results are the Sub Set's now
        Move_Data_To_Chart3d_Array(view.results, state.ds, state.settings, window, state.dec.Num_Bins, code);
        Create_Chart3d(view.results, state.palette, s.image, window, screen_width);
    }
    view.texts = Form_Chart3d_Texts(state.ds, state.dec, state.settings, view.results, window, code);
    view.image_painted = true;
    view.geometry = Set_Chart3d_Size(s.chart, window, scroll_bar_width, scroll_bar_height);
    Move_Clip_To_Chart3d(s.chart, *image, view.geometry);
    Display_BT_Contour(s.chart, view.geometry, view.results, state.ds, state.dec, state.settings, window, code);
    Draw_Chart3d_Decorations(view, state, s.chart, s.scratch, window, code);
}

}  // namespace vantrel
