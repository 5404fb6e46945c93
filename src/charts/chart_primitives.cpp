#include "charts/chart_primitives.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "charts/direction_circle.h"
#include "dataset/data_set.h"
#include "platform/text_format.h"

namespace vantrel {

void PrintVerticalTitle(Surface& chart, Surface& scratch, std::string_view text, double Xdest, double Ydest,
                        bool Upwards) {
    if (text.empty()) return;
    scratch.Set_Font(chart.Font_Name(), chart.Font_Size(), chart.Font_Bold());
    scratch.Back_Color = chart.Back_Color;
    scratch.Fore_Color = chart.Fore_Color;
    scratch.Drawing_Mode = Draw_Mode::k_normal;
    scratch.Font_Transparent = true;
    const int w = std::max(1, static_cast<int>(std::ceil(chart.TextWidth(text))));
    const int h = std::max(1, static_cast<int>(std::ceil(chart.TextHeight(text))));
    scratch.Resize(w, h);
    scratch.Clear();
    scratch.Print_At(0, 0, text);

    const double keep_x = chart.Current_X, keep_y = chart.Current_Y;
    const int keep_width = chart.Draw_Width;
    chart.Draw_Width = 1;
    const double x0 = rnd(Xdest), y0 = rnd(Ydest);
    for (int sy = h - 1; sy >= 0; --sy) {
        for (int sx = w - 1; sx >= 0; --sx) {
            const Colour c = scratch.Get_Point(sx, sy);
            if (c == chart.Back_Color) continue;
            if (Upwards)
                chart.Set_Point(x0 + sy, y0 - sx, c);
            else
                chart.Set_Point(x0 + (h - 1 - sy), y0 - (w - 1 - sx), c);
        }
    }
    chart.Draw_Width = keep_width;
    chart.Current_X = keep_x;
    chart.Current_Y = keep_y;
}

void Candle_Tables::Allocate(std::int32_t s, std::int32_t c, std::int32_t b, std::int32_t k) {
    samples = std::max(s, 0);
    candles = std::max(c, 0);
    bins = std::max(b, 0);
    series = std::max(k, 0);
    const std::size_t cells =
        static_cast<std::size_t>(candles) * static_cast<std::size_t>(bins) * static_cast<std::size_t>(series);
    stats.assign(8 * cells, 0);
    raw.assign(static_cast<std::size_t>(samples) * cells, 0);
}

void Draw_Symbol(Surface& s, double x, double y, Colour colour) {
    const double keep_x = s.Current_X, keep_y = s.Current_Y;
    s.Draw_Width = 4;
    s.Set_Point(x, y, colour);
    s.Draw_Width = 1;
    s.Current_X = keep_x;
    s.Current_Y = keep_y;
}

double Trace_Geometry::Y(double stored, double bottom) const {
    return bottom - (std::clamp(stored * scale, lo, hi) - lo) * yscale - 1;
}

void Strip_Range(double minimum, double maximum, double& lo, double& hi) {
    const double centre = (maximum + minimum) / 2, span = maximum - minimum;
    lo = centre - span;
    hi = centre + span;
    if (hi - lo < 1) hi = lo + 1;
}

double Wrap_Crossing(double before, double after) {
    const double step = before + after;
    return step > 0 ? before / step : 0;
}

namespace {

// Consecutive samples of a trace inside one pixel column. A line one pixel wide leaves out
// its last pixel, so the sample-by-sample chain covers the column from its lowest row to
// its highest except the last sample's row when that is an extreme first reached there;
// at most three lines cover the same pixels.
class Column_Run {
public:
    bool Open() const { return open_; }
    int Column() const { return column_; }

    void Start(int column, double x, double y, int row) {
        open_ = true;
        column_ = column;
        x_ = x;
        y_min_ = y_max_ = y_last_ = y;
        min_row_ = max_row_ = last_row_ = row;
        min_left_ = max_left_ = false;
    }
    void Add(double x, double y, int row) {
        if (row != last_row_) {
            min_left_ |= last_row_ == min_row_;
            max_left_ |= last_row_ == max_row_;
        }
        if (row < min_row_) {
            min_row_ = row;
            y_min_ = y;
            min_left_ = false;
        }
        if (row > max_row_) {
            max_row_ = row;
            y_max_ = y;
            max_left_ = false;
        }
        x_ = x;
        y_last_ = y;
        last_row_ = row;
    }
    // Draws the column from the run's first sample, where the current position is.
    void Flush(Surface& s) {
        if (!open_) return;
        open_ = false;
        if (min_row_ != max_row_) {
            if (last_row_ == max_row_ && !max_left_) {
                s.Line_To(x_, y_min_);
            } else if (last_row_ == min_row_ && !min_left_) {
                s.Line_To(x_, y_max_);
            } else if (last_row_ == max_row_) {
                s.Line_To(x_, y_max_);
                s.Line_To(x_, y_min_);
            } else {
                s.Line_To(x_, y_min_);
                s.Line_To(x_, y_max_);
            }
            s.Line_To(x_, y_last_);
        }
        s.Current_X = x_;
        s.Current_Y = y_last_;
    }

private:
    bool open_ = false;
    int column_ = 0;
    double x_ = 0, y_min_ = 0, y_max_ = 0, y_last_ = 0;
    int min_row_ = 0, max_row_ = 0, last_row_ = 0;
    bool min_left_ = false, max_left_ = false;  // the extreme's row was left again after being reached
};

// Reads sample i of one trace; false when the value is missing.
template <typename Read>
void Draw_Trace(Surface& s, const Trace_Geometry& g, const Trace_Style& style, Colour colour, double bottom,
                Read read) {
    double x = g.left - g.dx / 2;
    bool previous_valid = false;
    double previous_v = 0;
    // Wrapping happens only in a strip that shows exactly one turn, 0 to hi.
    const double turn = g.hi;
    const double y_of_0 = bottom - (std::clamp(0.0, g.lo, g.hi) - g.lo) * g.yscale - 1;
    const double y_of_360 = bottom - (turn - g.lo) * g.yscale - 1;
    s.Fore_Color = colour;
    // Thin solid lines in many samples per pixel column are drawn a column at a time.
    const bool by_column = style.lines && !style.symbols && s.Draw_Width == 1 && s.Draw_Style == Line_Style::k_solid &&
                           s.Drawing_Mode == Draw_Mode::k_normal;
    Column_Run run;
    for (std::int32_t i = 0; i < g.count; ++i) {
        x += g.dx;
        double stored = 0;
        if (!read(i, stored)) {
            run.Flush(s);
            previous_valid = false;
            continue;
        }
        const double v = std::clamp(stored * g.scale, g.lo, g.hi) - g.lo;
        const double y = bottom - v * g.yscale - 1;
        if (by_column) {
            const int column = s.Pixel_Column(x);
            const bool wraps = previous_valid && std::fabs(v - previous_v) > g.wrap;
            if (run.Open() && column == run.Column() && !wraps) {
                run.Add(x, y, s.Pixel_Row(y));
                previous_v = v;
                continue;
            }
            run.Flush(s);
            // This sample starts a column: drawn as below, then the run gathers from it.
            run.Start(column, x, y, s.Pixel_Row(y));
        }
        if (style.symbols) Draw_Symbol(s, x, y, colour);
        if (style.lines) {
            if (!previous_valid) {
                s.Set_Point(x, y, colour);
                previous_valid = true;
            } else if (std::fabs(v - previous_v) <= g.wrap) {
                s.Line_To(x, y);
            } else {
                // The trace leaves through one edge of a 0-360 strip and comes back through the other.
                const double x_prev = x - g.dx;
                if (previous_v > turn / 2) {
                    const double xc = x_prev + g.dx * Wrap_Crossing(turn - previous_v, v);
                    s.Line_To(xc, y_of_360);
                    s.Current_X = xc;
                    s.Current_Y = y_of_0;
                } else {
                    const double xc = x_prev + g.dx * Wrap_Crossing(previous_v, turn - v);
                    s.Line_To(xc, y_of_0);
                    s.Current_X = xc;
                    s.Current_Y = y_of_360;
                }
                s.Line_To(x, y);
            }
        }
        previous_v = v;
    }
    run.Flush(s);
}

Colour Next_Colour(const Trace_Style& style, int& index) {
    const Colour c = style.colours ? style.colours[index] : k_black;
    if (++index >= std::max(style.colour_count, 1)) index = 0;
    return c;
}

// Mean and deviation of directions (tenths of a degree) of ensembles f..l on the circle, so
// that 359 and 1 degrees average to 0, not 180.
template <typename Read>
void Circular_Mean(std::int32_t f, std::int32_t l, std::int32_t n, std::int32_t b, double& mean, double& dev,
                   Read read) {
    double east = 0, north = 0;
    for (std::int32_t i = f; i <= l; ++i) {
        double v = 0;
        std::int16_t stored = 0;
        if (!read(b, i, v, stored)) continue;
        double sine = 0, cosine = 0;
        Direction_Sin_Cos(v, sine, cosine);
        east += sine;
        north += cosine;
    }
    mean = std::atan2(east, north) * 1800 / k_pi;
    if (mean < 0) mean += 3600;
    double squares = 0;
    for (std::int32_t i = f; i <= l; ++i) {
        double v = 0;
        std::int16_t stored = 0;
        if (!read(b, i, v, stored)) continue;
        const double d = Turn_Distance(v - mean);
        squares += d * d;
    }
    dev = std::sqrt(squares / (n - 1));
}

// Candle rows of every selected bin; read(bin ordinal, ensemble, value) is false for a missing value.
template <typename Read>
void Draw_Candle_Rows(Surface& s, const Trace_Geometry& g, const Trace_Style& style, Candle_Tables& t,
                      std::int32_t series_ordinal, std::int32_t rows, const std::vector<std::int32_t>& bin_numbers,
                      std::int32_t selected_bins, double half_width, bool single_sample_counts, Read read) {
    const std::int32_t S = t.samples;
    if (S <= 0) return;
    double w = half_width;
    if (selected_bins > 0) w = std::min(w, S * g.dx / selected_bins / 4);
    w = std::max(w, 0.5);
    int colour_index = 0;
    for (std::int32_t b = 0; b < rows; ++b) {
        const Colour colour = Next_Colour(style, colour_index);
        const double bottom = g.Bottom(b);
        double cx = g.left - S * g.dx / 2;
        if (g.overlay) cx -= 2 * w * ((selected_bins - 1) / 2.0 - b);
        for (std::int32_t c = 0;; ++c) {
            const std::int32_t f = t.mean_interval > 0
                                       ? static_cast<std::int32_t>(rnd(c * t.candle_width / t.mean_interval))
                                       : g.count + 1;
            const std::int32_t l = f + S - 1;
            if (f + S > g.count || c >= t.candles) break;
            const bool filed = t.Holds(c, b, series_ordinal);
            if (filed) {
                t.Stat(0, c, b, series_ordinal) = b < static_cast<std::int32_t>(bin_numbers.size()) ? bin_numbers[static_cast<std::size_t>(b)] - 1 : 0;
                t.Stat(1, c, b, series_ordinal) = f;
                t.Stat(2, c, b, series_ordinal) = l;
            }
            double max = -99999999, min = 99999999, sum = 0, sum_sq = 0;
            std::int32_t n = 0;
            for (std::int32_t i = f; i <= l; ++i) {
                double v = 0;
                std::int16_t stored = k_bad_velocity;
                const bool valid = read(b, i, v, stored);
                if (filed) t.Sample(i - f, c, b, series_ordinal) = stored;
                if (!valid) continue;
                max = std::max(max, v);
                min = std::min(min, v);
                sum += v;
                sum_sq += v * v;
                ++n;
            }
            cx += S * g.dx;
            double mean = 0, dev = 0;
            if (n > 1) {
                mean = sum / n;
                dev = std::sqrt(std::max(0.0, (sum_sq - sum * sum / n) / (n - 1)));
                if (g.direction) Circular_Mean(f, l, n, b, mean, dev, read);
            } else if (n == 1 && single_sample_counts) {
                mean = sum;
            } else {
                max = min = 0;
            }
            if (filed) {
                t.Stat(3, c, b, series_ordinal) = static_cast<std::int32_t>(rnd(mean));
                t.Stat(4, c, b, series_ordinal) = static_cast<std::int32_t>(rnd(dev));
                t.Stat(5, c, b, series_ordinal) = static_cast<std::int32_t>(rnd(max));
                t.Stat(6, c, b, series_ordinal) = static_cast<std::int32_t>(rnd(min));
                t.Stat(7, c, b, series_ordinal) = n;
            }
            if (n <= 1) continue;

            const double y_max = g.Y(max, bottom), y_min = g.Y(min, bottom), y_mean = g.Y(mean, bottom);
            const bool picked = c == t.selected;
            s.Fore_Color = picked ? k_black : colour;
            s.Draw_Line(cx, y_max, cx, y_min);
            s.Fill_Color = picked ? s.Back_Color : colour;
            s.Fill_Box(cx - w, g.Y(mean + dev, bottom), cx + w, g.Y(mean - dev, bottom));
            if (picked) {
                s.Fore_Color = k_black;
                s.Draw_Box(cx - w, g.Y(mean + dev, bottom), cx + w, g.Y(mean - dev, bottom));
            }
            s.Fore_Color = picked ? colour : k_black;
            s.Draw_Line(cx - w, y_mean, cx + w, y_mean);
            s.Set_Point(cx, y_max, picked ? colour : k_black);
            s.Set_Point(cx, y_min, picked ? colour : k_black);
        }
    }
}

// Values of one component for every row (a bin, or the single row of a quantity without
// bins) and ensemble, gathered ensemble by ensemble: the bins of one ensemble share a few
// cache lines, one bin across ensembles does not.
template <typename T>
std::vector<std::int32_t> Gather_Rows_Of(const Dense_Array<T>& data, std::size_t column, bool bin_resolved,
                                         const std::vector<std::int32_t>& bins, std::int32_t count) {
    const std::size_t rows = bin_resolved ? bins.size() : 1;
    const std::size_t n = static_cast<std::size_t>(std::max(count, 0));
    std::vector<std::int32_t> out(rows * n, k_value_outside);
    const std::size_t slots = data.Extent(bin_resolved ? 2 : 1);
    if (column >= data.Extent(0)) return out;
    // Each value of a bin-resolved row sits a page or more from the previous one, too far for
    // the processor to guess: the values a few ensembles on are asked for ahead.
    constexpr std::size_t k_ahead = 8;
    const std::size_t stop = std::min(n, slots);
    for (std::size_t i = 0; i < stop; ++i) {
        if (bin_resolved && i + k_ahead < stop)
            for (std::size_t k = 0; k < rows; ++k)
                if (const auto bin = static_cast<std::size_t>(bins[k] - 1); bin < data.Extent(1))
                    __builtin_prefetch(&data(column, bin, i + k_ahead));
        for (std::size_t k = 0; k < rows; ++k) {
            if (!bin_resolved) {
                out[i] = data(column, i);
                continue;
            }
            const auto bin = static_cast<std::size_t>(bins[k] - 1);
            if (bin < data.Extent(1)) out[k * n + i] = data(column, bin, i);
        }
    }
    return out;
}

}  // namespace

void DrawLongSeries(Surface& s, const Dense_Array<std::int32_t>& data, const Trace_Geometry& g,
                    const Trace_Style& style, Colour colour) {
    if (!style.lines && !style.symbols) return;
    const auto column = static_cast<std::size_t>(g.column);
    Draw_Trace(s, g, style, colour, g.Bottom(0), [&](std::int32_t i, double& v) {
        if (column >= data.Extent(0) || static_cast<std::size_t>(i) >= data.Extent(1)) return false;
        v = data(column, static_cast<std::size_t>(i));
        return true;
    });
}

std::vector<std::int32_t> Gather_Series_Rows(const Dense_Array<std::uint8_t>& data, std::int32_t column,
                                             const std::vector<std::int32_t>& bins, std::int32_t count) {
    return Gather_Rows_Of(data, static_cast<std::size_t>(column), true, bins, count);
}

std::vector<std::int32_t> Gather_Series_Rows(const Dense_Array<std::int16_t>& data, std::int32_t column,
                                             bool bin_resolved, const std::vector<std::int32_t>& bins,
                                             std::int32_t count) {
    return Gather_Rows_Of(data, static_cast<std::size_t>(column), bin_resolved, bins, count);
}

void Draw_Gathered_Traces(Surface& s, const std::vector<std::int32_t>& values, std::size_t rows,
                          const Trace_Geometry& g, const Trace_Style& style, bool missing) {
    if (!style.lines && !style.symbols) return;
    int colour_index = 0;
    const auto n = static_cast<std::size_t>(std::max(g.count, 0));
    for (std::size_t k = 0; k < rows; ++k) {
        const Colour colour = Next_Colour(style, colour_index);
        const std::int32_t* row = values.data() + k * n;
        Draw_Trace(s, g, style, colour, g.Bottom(static_cast<std::int32_t>(k)), [&](std::int32_t i, double& v) {
            const std::int32_t stored = row[i];
            v = stored;
            return stored != k_value_outside && !(missing && stored == k_bad_velocity);
        });
    }
}

void Draw_Gathered_Candles(Surface& s, const std::vector<std::int32_t>& values, std::size_t rows,
                           const std::vector<std::int32_t>& bins, const Trace_Geometry& g, const Trace_Style& style,
                           Candle_Tables& tables, std::int32_t series_ordinal, std::int32_t selected_bins,
                           double half_width, bool missing) {
    const auto n = static_cast<std::size_t>(std::max(g.count, 0));
    Draw_Candle_Rows(s, g, style, tables, series_ordinal, static_cast<std::int32_t>(rows), bins, selected_bins,
                     half_width, !missing, [&](std::int32_t b, std::int32_t i, double& v, std::int16_t& stored) {
                         const std::int32_t value = values[static_cast<std::size_t>(b) * n + static_cast<std::size_t>(i)];
                         if (value == k_value_outside) return false;
                         stored = static_cast<std::int16_t>(value);
                         v = value;
                         return !(missing && value == k_bad_velocity);
                     });
}


void DrawByteSeries(Surface& s, const Dense_Array<std::uint8_t>& data, const std::vector<std::int32_t>& bins,
                    const Trace_Geometry& g, const Trace_Style& style) {
    if (!style.lines && !style.symbols) return;
    const auto values = Gather_Series_Rows(data, g.column, bins, g.count);
    Draw_Gathered_Traces(s, values, bins.size(), g, style, false);
}

void DrawWordSeries(Surface& s, const Dense_Array<std::int16_t>& data, const std::vector<std::int32_t>& bins,
                    bool bin_resolved, const Trace_Geometry& g, const Trace_Style& style) {
    if (!style.lines && !style.symbols) return;
    const auto values = Gather_Series_Rows(data, g.column, bin_resolved, bins, g.count);
    Draw_Gathered_Traces(s, values, bin_resolved ? bins.size() : 1, g, style, true);
}

void DrawByteCandles(Surface& s, const Dense_Array<std::uint8_t>& data, const std::vector<std::int32_t>& bins,
                     const Trace_Geometry& g, const Trace_Style& style, Candle_Tables& tables,
                     std::int32_t series_ordinal, std::int32_t selected_bins, double half_width) {
    const auto values = Gather_Series_Rows(data, g.column, bins, g.count);
    Draw_Gathered_Candles(s, values, bins.size(), bins, g, style, tables, series_ordinal, selected_bins, half_width,
                          false);
}

void DrawWordCandles(Surface& s, const Dense_Array<std::int16_t>& data, const std::vector<std::int32_t>& bins,
                     bool bin_resolved, const Trace_Geometry& g, const Trace_Style& style, Candle_Tables& tables,
                     std::int32_t series_ordinal, std::int32_t selected_bins, double half_width) {
    const auto values = Gather_Series_Rows(data, g.column, bin_resolved, bins, g.count);
    Draw_Gathered_Candles(s, values, bin_resolved ? bins.size() : 1, bins, g, style, tables, series_ordinal,
                          selected_bins, half_width, true);
}

}  // namespace vantrel
