#include "charts/direction_circle.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "platform/numeric.h"

namespace vantrel {

namespace {

constexpr int k_tenths_per_turn = 3600;

struct Direction_Table {
    std::array<double, k_tenths_per_turn> sine{}, cosine{};
};

// Directions are whole tenths 0..3599 nearly always: a candle pane asks for thousands a redraw.
const Direction_Table& Table() {
    static const Direction_Table table = [] {
        Direction_Table t;
        for (std::size_t i = 0; i < t.sine.size(); ++i) {
            const double angle = static_cast<double>(i) * k_pi / 1800;
            t.sine[i] = std::sin(angle);
            t.cosine[i] = std::cos(angle);
        }
        return t;
    }();
    return table;
}

}  // namespace

void Direction_Sin_Cos(double tenths, double& sine, double& cosine) {
    if (tenths >= 0 && tenths < k_tenths_per_turn && tenths == std::floor(tenths)) {
        const auto i = static_cast<std::size_t>(tenths);
        sine = Table().sine[i], cosine = Table().cosine[i];
        return;
    }
    sine = std::sin(tenths * k_pi / 1800);
    cosine = std::cos(tenths * k_pi / 1800);
}

double Turn_Distance(double x) {
    // x less a whole number of turns is exact for differences of 16-bit directions; the
    // quotient's rounding can be one turn off next to half a turn, which the steps mend.
    double d = x - k_tenths_per_turn * Round_Small(x / k_tenths_per_turn);
    if (d > k_tenths_per_turn / 2) d -= k_tenths_per_turn;
    if (d < -k_tenths_per_turn / 2) d += k_tenths_per_turn;
    return d;
}

}  // namespace vantrel
