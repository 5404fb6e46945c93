#include "dataset/max_ensembles.h"

#include <cmath>

#include "platform/text_format.h"

namespace vantrel {

std::int32_t Limit_Max_Sub_Ens(double value) {
    if (std::isnan(value) || value < k_min_sub_ens) return k_min_sub_ens;
    if (value > k_max_sub_ens) return k_max_sub_ens;
    return static_cast<std::int32_t>(rnd(value));
}

std::int32_t Max_Sub_Ens_From_Answer(std::string_view answer, std::int32_t current) {
    if (answer.empty()) return current;
    return Limit_Max_Sub_Ens(Val(answer));
}

}  // namespace vantrel
