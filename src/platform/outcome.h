#pragma once
// The core's one error model: what went wrong, the program's fixed message and, where it
// applies, the byte position. Core procedures return it; none throws across its API.

#include <cstdint>
#include <string>
#include <utility>

namespace vantrel {

enum class Outcome_Kind {
    k_ok,
    k_cancelled,           // no file chosen
    k_busy,                // the command was already running
    k_invalid_file,        // the file (or a member of its set) cannot be opened or read
    k_no_valid_ensembles,  // the survey found no usable first and last ensemble
    k_too_few,             // fewer than two ensembles walked
    k_nothing_loaded,      // no file loaded, nothing in the range, or nothing to do
    k_cannot_write,        // an output file cannot be written
    k_overwrite_refused,   // the output file already holds data
    k_target_is_input,     // the output file is the file (or a member of the set) being read
    k_out_of_memory,       // arrays for the file could not be allocated
    k_not_in_file,         // an ensemble asked for is not in the file
};

struct Outcome {
    Outcome_Kind kind = Outcome_Kind::k_ok;
    std::string message;         // the program's text for the failure; empty when it shows none
    std::int64_t position = -1;  // byte position (from 1) in the file or stream, -1 when none applies

    bool Ok() const { return kind == Outcome_Kind::k_ok; }
    explicit operator bool() const { return Ok(); }
    friend bool operator==(const Outcome& o, Outcome_Kind k) { return o.kind == k; }
};

// A failure of the kind, with its message and, when known, the byte position.
inline Outcome Failure(Outcome_Kind kind, std::string message = {}, std::int64_t position = -1) {
    return {kind, std::move(message), position};
}

}  // namespace vantrel
