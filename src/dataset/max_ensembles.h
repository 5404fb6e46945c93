#pragma once
// The rule of the Max Ensembles command: what a typed answer makes of Max_Sub_Ens.

#include <cstdint>
#include <string_view>

namespace vantrel {

constexpr std::int32_t k_min_sub_ens = 128;
constexpr std::int32_t k_max_sub_ens = 8192;

// Limits a Sub Set size to 128..8192.
std::int32_t Limit_Max_Sub_Ens(double value);

// The new Max_Sub_Ens for an answer typed into the input box: an empty answer (or
// cancel) keeps current; a non-number counts as 0 and so becomes 128.
std::int32_t Max_Sub_Ens_From_Answer(std::string_view answer, std::int32_t current);

}  // namespace vantrel
