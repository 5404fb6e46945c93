#pragma once
// Geometry of a four-beam instrument: beam angle, facing and pattern from the system
// configuration word, the attitude rotation, the four-beam solution and its inverse.

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/numeric.h"

namespace vantrel {

constexpr double k_deg_to_rad = k_pi / 180;
constexpr double k_rad_to_deg = 180 / k_pi;

struct Beam_Geometry {
    double theta = 0;  // beam angle from the vertical, radians
    double cos_theta = 0, sin_theta = 0;
    bool facing_up = false;
    bool convex = false;
    std::array<int, 4> S{};  // signs of the horizontal solution, beams 1-4
    std::array<int, 4> T{};  // signs of the bin mapping, beams 1-4
    double a = 0;  // 1 / (2 sin theta)
    double b = 0;  // 1 / (4 cos theta), negated when facing up
    double d = 0;  // 1 / (2 sqrt 2 sin theta)
};

// Beam angle from bits 8-9 (15, 20, 30, 40 degrees), facing from bit 7, pattern from bit 3.
Beam_Geometry Make_Beam_Geometry(std::int32_t sys_config);

// Heading, pitch and roll in radians, pitch corrected for roll as the solution expects.
struct Attitude {
    double pitch = 0, roll = 0, heading = 0;
};

// From hundredths of a degree as stored in Sub_Anc.
Attitude Make_Attitude(std::int32_t pitch_hundredths, std::int32_t roll_hundredths, std::int32_t heading_hundredths);

// Rotation from instrument (x, y, w) to earth (east, north, up); orthonormal.
struct Rotation {
    double m[3][3];
};
Rotation Instrument_To_Earth(const Attitude& att);

// East, north, up and error velocity of four beam velocities (no bad beams, no rounding).
// Inline: it runs for every bin of every ensemble.
inline std::array<double, 4> Four_Beam_Solution(const Beam_Geometry& g, const Rotation& r, const std::array<double, 4>& v) {
    const double x = (g.S[0] * v[0] + g.S[1] * v[1]) * g.a;
    const double y = (g.S[2] * v[2] + g.S[3] * v[3]) * g.a;
    const double w = (v[0] + v[1] + v[2] + v[3]) * g.b;
    std::array<double, 4> out{};
    for (std::size_t row = 0; row < 3; ++row) out[row] = r.m[row][0] * x + r.m[row][1] * y + r.m[row][2] * w;
    out[3] = (v[0] + v[1] - v[2] - v[3]) * g.d;
    return out;
}

// Beam velocities that the four-beam solution turns back into (east, north, up) with
// zero error velocity: the exact inverse.
std::array<double, 4> Earth_To_Beams(const Beam_Geometry& g, const Rotation& r, double east, double north, double up);

// Ratio of a beam's nominal vertical distance to its true one under tilt (beam 0..3).
double Bin_Map_Factor(const Beam_Geometry& g, const Attitude& att, int beam);

// Bin_Map_Factor of beams 1-4 at once (the trigonometry evaluated once).
std::array<double, 4> Bin_Map_Factors(const Beam_Geometry& g, const Attitude& att);

// The same factors from the vertical row of the attitude's rotation, which holds the
// very products they need: no trigonometry at all.
std::array<double, 4> Bin_Map_Factors(const Beam_Geometry& g, const Rotation& r);

}  // namespace vantrel
