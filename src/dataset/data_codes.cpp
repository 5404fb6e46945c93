#include "dataset/data_codes.h"

namespace vantrel {

namespace {

struct Family_Scheme {
    Code_Family family;
    std::int32_t unit;
    std::int32_t components;
};

constexpr Family_Scheme k_families[] = {
    {Code_Family::k_echo, 1, 5},          {Code_Family::k_corr, 10, 5},       {Code_Family::k_vel, 100, 6},
    {Code_Family::k_pgood, 1000, 4},      {Code_Family::k_bt_vel, 10000, 6},  {Code_Family::k_wm_vel, 100000, 6},
    {Code_Family::k_nav_vel, 1000000, 6},
};

}  // namespace

Contour_Code_Parts Decode_Contour_Code(std::int32_t code) {
    for (const Family_Scheme& f : k_families) {
        if (code % f.unit != 0) continue;
        const std::int32_t n = code / f.unit;
        if (n >= 1 && n <= f.components) return {f.family, n - 1};
    }
    return {};
}

std::int32_t Contour_Code_Of(Code_Family family, std::int32_t component) {
    for (const Family_Scheme& f : k_families) {
        if (f.family == family) return f.unit * (component + 1);
    }
    return 0;
}

}  // namespace vantrel
