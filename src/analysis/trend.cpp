#include "analysis/trend.h"

#include <algorithm>
#include <cmath>

#include "charts/chart_primitives.h"
#include "platform/numeric.h"
#include "platform/text_format.h"
#include "processing/velocity_processing.h"

namespace vantrel {

namespace {

constexpr double k_missing = -32768;

bool Valid(double v) { return v != k_missing; }

// Difference of two directions in tenths of a degree, within (-1800, 1800].
double Wrap_Tenths(double d) {
    d = std::fmod(d, 3600);
    if (d > 1800) d -= 3600;
    if (d <= -1800) d += 3600;
    return d;
}

}  // namespace

void Smooth(std::vector<double>& x) {
    const std::size_t n = x.size();
    double f = 0;
    bool any = false;
    for (std::size_t i = n; i-- > 0;) {
        if (!Valid(x[i])) continue;
        f = any ? 0.1 * x[i] + 0.9 * f : x[i];
        any = true;
    }
    if (!any) return;
    double p = Valid(x[0]) ? x[0] : f;
    double c = p;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        c = Valid(x[i]) ? x[i] : f;
        double q = f;
        if (Valid(x[i + 1])) {
            q = x[i + 1];
            f = 0.1 * q + 0.9 * f;
        }
        x[i] = (p + 2 * c + q) / 4;
        p = c;
    }
    c = Valid(x[n - 1]) ? x[n - 1] : f;
    x[n - 1] = n == 1 ? c : (3 * c + p) / 4;
}

std::int32_t Clamp_Trend_Selection(Trend_Selection& selection, Candle_Tables& tables) {
    selection.series = std::clamp(selection.series, 0, std::max(tables.series - 1, 0));
    selection.bin = std::clamp(selection.bin, 0, std::max(tables.bins - 1, 0));
    selection.Triangular_Width = std::clamp(selection.Triangular_Width, 0, 10);
    if (tables.candles <= 0 || tables.series <= 0 || tables.bins <= 0) return -1;
    if (tables.selected >= tables.candles) tables.selected = tables.candles - 1;
    return std::max(tables.selected, 0);
}

std::optional<std::int32_t> Candle_Answer(std::string_view answer, std::int32_t candles) {
    if (candles <= 0 || answer.find_first_not_of(" \t") == std::string_view::npos) return std::nullopt;
    const double value = Val(answer);
    if (!(value >= 1)) return std::nullopt;
    return static_cast<std::int32_t>(std::min(rnd(value - 1), static_cast<double>(candles - 1)));
}

bool Pick_Table_Line(double y, double height, double line_height, const Candle_Tables& tables,
                     Trend_Selection& selection) {
    const std::int32_t lines = tables.series * tables.bins;
    if (lines <= 0 || line_height <= 0 || y >= height || y <= height - line_height * lines) return false;
    const auto row = static_cast<std::int32_t>((height - y) / line_height);
    if (row < 0 || row >= lines) return false;
    selection.series = row / tables.bins;
    selection.bin = row % tables.bins;
    return true;
}

bool Is_Direction_Unit(std::string_view unit) { return unit == "deg"; }

Trend_Result Compute_Trend(const Candle_Tables& tables, std::int32_t candle, std::int32_t bin, std::int32_t series,
                           int w) {
    Trend_Result r;
    if (!tables.Holds(candle, bin, series) || tables.samples <= 0) return r;
    const auto s = static_cast<std::size_t>(series);
    r.direction = s < tables.units.size() && Is_Direction_Unit(tables.units[s]);
    r.factor = r.direction ? 0.1 : 1.0;
    const auto n = static_cast<std::size_t>(tables.samples);
    r.samples.resize(n);
    r.valid.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        r.samples[i] = tables.Sample(static_cast<std::int32_t>(i), candle, bin, series);
        r.valid[i] = Valid(r.samples[i]);
    }
    if (r.direction) {
        std::vector<double> east(n, k_missing), north(n, k_missing);
        for (std::size_t i = 0; i < n; ++i) {
            if (!r.valid[i]) continue;
            const double radians = r.samples[i] * k_pi / 1800;
            east[i] = std::sin(radians);
            north[i] = std::cos(radians);
        }
        for (int pass = 0; pass < w; ++pass) {
            Smooth(east);
            Smooth(north);
        }
        r.trend.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            r.trend[i] = Valid(east[i]) ? 10 * Velocity_Direction(east[i], north[i]) : k_missing;
    } else {
        r.trend = r.samples;
        for (int pass = 0; pass < w; ++pass) Smooth(r.trend);
    }

    r.residuals.assign(n, 0);
    double sum = 0, squares = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!r.valid[i]) continue;
        double d = r.samples[i] - r.trend[i];
        if (r.direction) d = Wrap_Tenths(d);
        r.residuals[i] = d;
        r.maximum = std::max(r.maximum, d);
        r.minimum = std::min(r.minimum, d);
        sum += d;
        squares += d * d;
        ++r.count;
    }
    if (r.count > 0) r.mean = sum / r.count;
    if (r.count > 1) r.deviation = std::sqrt(std::max(0.0, (squares - sum * sum / r.count) / (r.count - 1)));
    return r;
}

std::string Candle_Interval_Text(double seconds) {
    const double hours = std::floor(seconds / 3600);
    const double minutes = std::floor((seconds - hours * 3600) / 60);
    return Format(hours, "0000") + ":" + Format(minutes, "00") + ":" + Format(seconds - hours * 3600 - minutes * 60, "00.00");
}

}  // namespace vantrel
