#include "processing/beam_geometry.h"

#include <cmath>

namespace vantrel {

namespace {

Beam_Geometry Build_Beam_Geometry(std::int32_t sys_config) {
    // The angles are formed from stored multiples of pi, as the instrument's own tables do.
    static constexpr double k_angle_times_pi[4] = {47.12388980384595, 62.8318530717946, 94.2477796076919,
                                                    125.6637061435892};
    Beam_Geometry g;
    g.theta = k_angle_times_pi[(sys_config >> 8) & 3] / 180;
    g.facing_up = (sys_config & 0x80) != 0;
    g.convex = (sys_config & 0x08) != 0;
    if (!g.facing_up) {
        g.S = g.convex ? std::array<int, 4>{+1, -1, -1, +1} : std::array<int, 4>{-1, +1, +1, -1};
        g.T = g.S;
    } else if (!g.convex) {
        g.S = {+1, -1, +1, -1};
        g.T = {-1, +1, -1, +1};
    } else {
        g.S = {-1, +1, -1, +1};
        g.T = {+1, -1, +1, -1};
    }
    g.cos_theta = std::cos(g.theta);
    g.sin_theta = std::sin(g.theta);
    g.a = 1 / (2 * std::sin(g.theta));
    g.b = 1 / (4 * std::cos(g.theta));
    if (g.facing_up) g.b = -g.b;
    g.d = 1 / (2 * std::sqrt(2.0) * std::sin(g.theta));
    return g;
}

// Only the angle, facing and pattern bits count: 16 geometries, built once.
constexpr std::int32_t k_geometry_bits = 0x0300 | 0x80 | 0x08;

std::int32_t Geometry_Key(std::int32_t sys_config) {
    return ((sys_config >> 8) & 3) | ((sys_config >> 5) & 4) | (sys_config & 0x08);
}

}  // namespace

Beam_Geometry Make_Beam_Geometry(std::int32_t sys_config) {
    static const auto table = [] {
        std::array<Beam_Geometry, 16> t{};
        for (std::int32_t config = 0; config <= k_geometry_bits; ++config) {
            if ((config & ~k_geometry_bits) == 0) t[static_cast<std::size_t>(Geometry_Key(config))] = Build_Beam_Geometry(config);
        }
        return t;
    }();
    return table[static_cast<std::size_t>(Geometry_Key(sys_config))];
}

Attitude Make_Attitude(std::int32_t pitch_hundredths, std::int32_t roll_hundredths, std::int32_t heading_hundredths) {
    Attitude att;
    att.pitch = pitch_hundredths / 100.0 * k_deg_to_rad;
    att.roll = roll_hundredths / 100.0 * k_deg_to_rad;
    att.heading = heading_hundredths / 100.0 * k_deg_to_rad;
    const double sr_sp = std::sin(att.roll) * std::sin(att.pitch);
    const double q = 1 - sr_sp * sr_sp;
    if (q >= 0) {
        const double s = std::cos(att.roll) * std::sin(att.pitch) / std::sqrt(q);
        att.pitch = std::atan(s / std::sqrt(1 - s * s));
    }
    return att;
}

Rotation Instrument_To_Earth(const Attitude& att) {
    const double cH = std::cos(att.heading), sH = std::sin(att.heading);
    const double cP = std::cos(att.pitch), sP = std::sin(att.pitch);
    const double cR = std::cos(att.roll), sR = std::sin(att.roll);
    return Rotation{{
        {cH * cR + sH * sR * sP, sH * cP, cH * sR - sH * cR * sP},
        {-(sH * cR - cH * sR * sP), cH * cP, -(sH * sR + cH * sP * cR)},
        {-sR * cP, sP, cR * cP},
    }};
}

std::array<double, 4> Earth_To_Beams(const Beam_Geometry& g, const Rotation& r, double east, double north, double up) {
    // The rotation is orthonormal, so its transpose takes earth back to instrument axes.
    const double x = r.m[0][0] * east + r.m[1][0] * north + r.m[2][0] * up;
    const double y = r.m[0][1] * east + r.m[1][1] * north + r.m[2][1] * up;
    const double w = r.m[0][2] * east + r.m[1][2] * north + r.m[2][2] * up;
    // S1 = -S2 and S3 = -S4 in every table; with zero error b1 + b2 = b3 + b4 = w / (2b).
    const double half_sum = w / (2 * g.b);
    const double diff12 = g.S[0] * x / g.a;  // b1 - b2
    const double diff34 = g.S[2] * y / g.a;  // b3 - b4
    return {(half_sum + diff12) / 2, (half_sum - diff12) / 2, (half_sum + diff34) / 2, (half_sum - diff34) / 2};
}

namespace {

// K of each beam from the instrument's vertical axis (z1, z2, z3) in earth axes.
std::array<double, 4> Factors_Of_Vertical(const Beam_Geometry& g, double z1, double z2, double z3) {
    const double c = g.cos_theta, s = g.sin_theta;
    std::array<double, 4> k{};
    for (std::size_t beam = 0; beam < 4; ++beam) {
        const double zh = beam < 2 ? z1 : z2;
        k[beam] = c / (c * z3 + g.T[beam] * zh * s);
    }
    return k;
}

}  // namespace

std::array<double, 4> Bin_Map_Factors(const Beam_Geometry& g, const Attitude& att) {
    const double z1 = -std::sin(att.roll) * std::cos(att.pitch);
    const double z2 = std::sin(att.pitch);
    const double z3 = std::cos(att.roll) * std::cos(att.pitch);
    return Factors_Of_Vertical(g, z1, z2, z3);
}

std::array<double, 4> Bin_Map_Factors(const Beam_Geometry& g, const Rotation& r) {
    return Factors_Of_Vertical(g, r.m[2][0], r.m[2][1], r.m[2][2]);
}

double Bin_Map_Factor(const Beam_Geometry& g, const Attitude& att, int beam) {
    return Bin_Map_Factors(g, att)[static_cast<std::size_t>(beam & 3)];
}

}  // namespace vantrel
