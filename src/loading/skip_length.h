#pragma once
// How far the Whole Set walk skips after each ensemble it keeps. While every ensemble has
// the first one's length the skip is that length times the step, exactly; once lengths
// vary it follows the running mean length and stops half an ensemble short, so that the
// scanner takes up the ensemble the step asks for, evenly over the file.

#include <cstdint>

#include "decode/decoder_state.h"

namespace vantrel {

class Skip_Length {
public:
    // Takes the length of the ensemble in Ens_Buffer; two-type memory records do not count.
    void Note(const Decoder_State& dec);

    // True once an ensemble of another length than the first was noted.
    bool Varies() const { return varies_; }

    // Bytes to skip for step ensembles when lengths vary: (step - 1/2) running mean
    // lengths, checksums included; at least 1 for a step above 0.
    std::int64_t Bytes(std::int32_t step) const;

private:
    std::int64_t first_ = 0, total_ = 0, count_ = 0;
    bool varies_ = false;
};

}  // namespace vantrel
