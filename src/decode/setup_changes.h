#pragma once
// Where a file's set-up (number of cells, cell size) changes, read from each ensemble's
// leader without decoding the rest.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "decode/decoder_state.h"

namespace vantrel {

struct Ensemble_Setup {
    std::int32_t bins = 0;
    double bin_size = 0;  // m
    bool operator==(const Ensemble_Setup&) const = default;
};

// The cells and cell size of the ensemble in Ens_Buffer, from its fixed leader (broadband)
// or leader (narrowband); empty when the block is missing or does not fit.
std::optional<Ensemble_Setup> Read_Ensemble_Setup(const Decoder_State& dec);

struct Setup_Change {
    std::int32_t first_ens = 0;  // number of the first ensemble with the new set-up
    Ensemble_Setup setup;
};

// Collects the changes of set-up over a walk, against the set-up of the first ensemble.
class Setup_Change_Log {
public:
    // Notes the ensemble in Ens_Buffer, numbered number.
    void Note(const Decoder_State& dec, std::int32_t number);
    const std::vector<Setup_Change>& Changes() const { return changes_; }

private:
    std::optional<Ensemble_Setup> current_;
    std::vector<Setup_Change> changes_;
};

// "Set-Up Changes at Ensemble 00000500: No. Bins 60, Bin Size 0.50 m", one line per change,
// each ended by CR LF; empty when the set-up never changes.
std::string Setup_Change_Lines(const std::vector<Setup_Change>& changes);

}  // namespace vantrel
