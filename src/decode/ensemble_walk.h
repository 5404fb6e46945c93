#pragma once
// Walks a file ensemble by ensemble as the loaders do: a search that gives up at its skip
// limit is started again where it stopped, until the end of the file or too many failures
// in a row, so long stretches of other data never end a walk early.

#include <cstdint>
#include <optional>

#include "decode/decoder_state.h"
#include "platform/binary_file.h"
#include "platform/progress.h"

namespace vantrel {

constexpr int k_search_failure_limit = 1000;  // failed searches in a row before a walk gives up

// Bytes a walk passed over where no ensemble was found, 1-based and inclusive.
struct Byte_Span {
    std::int64_t first = 0, last = 0;
};

class Ensemble_Walk {
public:
    // The next ensemble from the file's position into Ens_Buffer, the file just behind it.
    // False at the end of the file, after the failure limit, or when progress asks to stop.
    bool Next(Binary_File& file, Decoder_State& dec, Progress_Hooks& progress);

    // After a true Next: the bytes before that ensemble that one or more failed searches
    // passed over; empty when the first search found it.
    const std::optional<Byte_Span>& Gap() const { return gap_; }

    // After a false Next: true when the failure limit ended the walk before the end of the file.
    bool Gave_Up() const { return gave_up_; }

private:
    std::optional<Byte_Span> gap_;
    bool gave_up_ = false;
};

}  // namespace vantrel
