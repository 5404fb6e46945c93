#pragma once
// Names for the numbers that pick a quantity of the data set: the Sub_Anc components, the
// data types of the series chart and the exports, and the contour codes.

#include <cstdint>

namespace vantrel {

// Components of Sub_Anc and Whole_Anc.
enum Anc_Component : int {
    k_anc_pitch = 0,        // hundredths of a degree, signed
    k_anc_roll = 1,         // hundredths of a degree, signed
    k_anc_heading = 2,      // hundredths of a degree
    k_anc_temperature = 3,  // hundredths of a degree Celsius
    k_anc_depth = 4,        // mm
    k_anc_orientation = 5,  // 1 facing up, 0 facing down
    k_anc_bit = 6,          // built-in test result
    k_anc_battery = 7,      // transmit voltage counts
    k_anc_component_count = 8,
};

// Data types: the series chart's kinds 0..35 and the series export's types 0..39. Types
// 0..19 are per bin and are also the data types of the contour and profile exports.
enum Data_Type : int {
    k_type_echo = 0,  // echo intensity beams 1..4, then the four-beam average
    k_type_echo_average = 4,
    k_type_corr = 5,  // correlation beams 1..4, then the four-beam average
    k_type_corr_average = 9,
    k_type_vel = 10,  // velocity East, North, Vertical, Error, Magnitude, Direction
    k_type_vel_magnitude = 14,
    k_type_vel_direction = 15,  // tenths of a degree
    k_type_pgood = 16,          // percent good beams 1..4
    k_type_pgood_last = 19,
    k_type_per_bin_count = 20,
    k_type_bt = 20,  // bottom-track East, North, Vertical, Error, Magnitude, Direction
    k_type_bt_direction = 25,
    k_type_wm = 26,  // water-mass East, North, Vertical, Error, Magnitude, Direction
    k_type_wm_direction = 31,
    k_type_nav = 32,  // navigation East, North, Magnitude, Direction
    k_type_nav_direction = 35,
    k_type_chart_count = 36,  // the series chart shows the types below this
    k_type_positions = 36,
    k_type_microcat = 37,
    k_type_calimbro = 38,  // no column: navigation from its reference copy
    k_type_bt_depths = 39,
    k_type_count = 40,
};

// The family of a contour code (also the series chart's codes); code = unit x (component + 1).
enum class Code_Family {
    k_none,
    k_echo,     // unit 1, components 0..4 (the average last)
    k_corr,     // unit 10, components 0..4
    k_vel,      // unit 100, components 0..5 (East, North, Vertical, Error, Magnitude, Direction)
    k_pgood,    // unit 1000, components 0..3
    k_bt_vel,   // unit 10000, components 0..5
    k_wm_vel,   // unit 100000, components 0..5
    k_nav_vel,  // unit 1000000, components 0..5 (the chart uses 0, 1, 4, 5)
};

constexpr std::int32_t k_code_vel_magnitude = 500;
constexpr std::int32_t k_code_vel_direction = 600;

struct Contour_Code_Parts {
    Code_Family family = Code_Family::k_none;
    std::int32_t component = 0;  // 0-based component of the family's array
};

// Family and component of a code; k_none for a number outside the scheme.
Contour_Code_Parts Decode_Contour_Code(std::int32_t code);

// The code of a family's component (0 for k_none).
std::int32_t Contour_Code_Of(Code_Family family, std::int32_t component);

}  // namespace vantrel
