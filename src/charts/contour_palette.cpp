#include "charts/contour_palette.h"

namespace vantrel {

Contour_Palette Build_Contour_Palette() {
    static constexpr int green_up[31] = {0,   8,   17,  26,  34,  43,  52,  61,  69,  78,  87,  95,  104, 113, 122, 130,
                                         139, 148, 156, 165, 174, 183, 191, 200, 209, 217, 226, 235, 244, 252, 255};
    static constexpr int blue_down[11] = {233, 210, 188, 166, 143, 121, 98, 76, 53, 31, 9};
    static constexpr int red_up[30] = {8,   17,  25,  34,  42,  51,  59,  68,  77,  85,  94,  102, 111, 119, 128,
                                       136, 145, 154, 162, 171, 179, 188, 196, 205, 213, 222, 230, 239, 248, 255};
    static constexpr int green_down[28] = {247, 238, 229, 221, 212, 203, 194, 186, 177, 168, 159, 151, 142, 133,
                                           125, 116, 107, 98,  90,  81,  72,  64,  55,  46,  37,  29,  20,  11};
    Contour_Palette p{};
    int i = 0;
    for (int g : green_up) p[static_cast<std::size_t>(i++)] = Rgb(0, g, 255);
    for (int b : blue_down) p[static_cast<std::size_t>(i++)] = Rgb(0, 255, b);
    for (int r : red_up) p[static_cast<std::size_t>(i++)] = Rgb(r, 255, 9);
    for (int g : green_down) p[static_cast<std::size_t>(i++)] = Rgb(255, g, 9);
    for (int k = 0; k <= 255; ++k) p[static_cast<std::size_t>(100 + k)] = Rgb(k, k, k);
    for (int j = 0; j < 20; ++j) p[static_cast<std::size_t>(400 + j)] = Rgb(255 - 12 * j, 0, 255);
    for (int k = 0; k < 100; ++k) p[static_cast<std::size_t>(420 + k)] = p[static_cast<std::size_t>(k)];
    for (int j = 0; j < 20; ++j) p[static_cast<std::size_t>(520 + j)] = Rgb(255, 0, 15 + 12 * j);
    return p;
}

}  // namespace vantrel
