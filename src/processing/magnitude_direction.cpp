#include "processing/magnitude_direction.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "dataset/data_set.h"
#include "platform/numeric.h"
#include "platform/wide_loops.h"
#include "processing/beam_geometry.h"

namespace vantrel {

namespace {

constexpr std::int16_t k_bad = k_bad_velocity;
constexpr std::size_t k_vel_components = 8;

// atan(z) for 0 <= z <= 1 within 2e-8 radians: a polynomial, no call.
inline double Atan_Unit(double z) {
    const double z2 = z * z;
    return z * (1 + z2 * (-0.3333314528 +
                          z2 * (0.1999355085 +
                                z2 * (-0.1420889944 +
                                      z2 * (0.1065626393 +
                                            z2 * (-0.0752896400 +
                                                  z2 * (0.0429096138 + z2 * (-0.0161657367 + z2 * 0.0028662257))))))));
}

// rnd(10 x Velocity_Direction(u, v)) by the library's atan, for u and v not 0.
double Exact_Tenths(double u, double v) {
    const double base = u > 0 ? 90.0 : 270.0;
    return Round_Small(10 * (base - std::atan(v / u) * k_rad_to_deg));
}

// Direction in tenths, before rounding, by the polynomial: within 2e-5 tenths of the exact
// one, so away from a half it rounds the same way. u and v not 0.
inline double Polynomial_Tenths(double u, double v) {
    const double au = std::fabs(u), av = std::fabs(v);
    const double z = std::min(au, av) / std::max(au, av);
    const double p = Atan_Unit(z);
    const double angle = av <= au ? p : 1.5707963267948966 - p;  // atan |v / u|
    const double signed_angle = (u > 0) == (v > 0) ? angle : -angle;
    const double base = u > 0 ? 90.0 : 270.0;
    return 10 * (base - signed_angle * k_rad_to_deg);
}

// Tenths on an axis: north (and no motion) 0, east 900, south 1800, west 2700.
inline double Axis_Tenths(double u, double v) { return u == 0 ? (v < 0 ? 1800.0 : 0.0) : (u > 0 ? 900.0 : 2700.0); }

// Rounded, then limited to 32767: the same as limiting first, and a form that vectorises.
inline double Magnitude(double u, double v) { return std::min(Round_Small(std::sqrt(u * u + v * v)), 32767.0); }

// A polynomial direction this close to a half may round the other way than the exact one.
constexpr double k_near_half = 0.499;

}  // namespace

void Magnitude_Direction(std::int16_t* v) {
    if (v[0] == k_bad || v[1] == k_bad) {
        v[4] = v[5] = k_bad;
        return;
    }
    const double u = v[0], n = v[1];
    v[4] = static_cast<std::int16_t>(Magnitude(u, n));
    double tenths;
    if (u == 0 || n == 0) {
        tenths = Axis_Tenths(u, n);
    } else {
        const double t = Polynomial_Tenths(u, n);
        tenths = Round_Small(t);
        if (std::fabs(t - tenths) >= k_near_half) tenths = Exact_Tenths(u, n);
    }
    v[5] = static_cast<std::int16_t>(tenths);
}

VANTREL_WIDE_LOOPS void Magnitude_Direction_Profile(std::int16_t* vel, int n) {
    // Every bin through the same straight-line arithmetic, the choices as selects, so the
    // loop vectorises; the rare direction near a half is marked and redone on the way out.
    constexpr double k_redo = -1;
    std::array<double, k_max_bins> east, north, magnitude, tenths;
    const auto bins = static_cast<std::size_t>(std::clamp(n, 0, k_max_bins));
    for (std::size_t i = 0; i < bins; ++i) {
        east[i] = vel[k_vel_components * i];
        north[i] = vel[k_vel_components * i + 1];
    }
    for (std::size_t i = 0; i < bins; ++i) {
        const double u = east[i], v = north[i];
        const bool bad = (u == k_bad) | (v == k_bad);
        const bool axis = (u == 0) | (v == 0);
        const double t = Polynomial_Tenths(u, v);
        const double rounded = Round_Small(t);
        const double north_south = v < 0 ? 1800.0 : 0.0;
        const double east_west = u > 0 ? 900.0 : 2700.0;
        const double on_axis = u == 0 ? north_south : east_west;
        const bool redo = !axis & !bad & (std::fabs(t - rounded) >= k_near_half);
        const double direction = axis ? on_axis : rounded;
        tenths[i] = bad ? k_bad : (redo ? k_redo : direction);
        const double m = Magnitude(u, v);
        magnitude[i] = bad ? k_bad : m;
    }
    for (std::size_t i = 0; i < bins; ++i) {
        std::int16_t* v = vel + k_vel_components * i;
        v[4] = static_cast<std::int16_t>(magnitude[i]);
        v[5] = static_cast<std::int16_t>(tenths[i] == k_redo ? Exact_Tenths(east[i], north[i]) : tenths[i]);
    }
}

}  // namespace vantrel
