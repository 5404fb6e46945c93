#include "loading/skip_length.h"

#include <algorithm>

#include "decode/bb_decoder.h"
#include "decode/file_survey.h"

namespace vantrel {

void Skip_Length::Note(const Decoder_State& dec) {
    if (Is_NVRAM_Ensemble(dec) || dec.Ens_Bytes == k_two_type_record_bytes) return;
    const std::int64_t record = static_cast<std::int64_t>(dec.Ens_Bytes) + 2;
    if (count_ == 0) first_ = record;
    varies_ = varies_ || record != first_;
    total_ += record;
    ++count_;
}

std::int64_t Skip_Length::Bytes(std::int32_t step) const {
    if (step <= 0 || count_ == 0) return 0;
    const std::int64_t skip = (total_ * (2 * static_cast<std::int64_t>(step) - 1)) / (2 * count_);
    return std::max<std::int64_t>(skip, 1);
}

}  // namespace vantrel
