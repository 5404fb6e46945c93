#pragma once
// Copies a range of ensembles of a file or set whose ensembles vary in length: the start of
// the first is found by the records themselves (estimate, back off, walk forward to its
// number) and each ensemble is copied whole, so no byte count is assumed.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dataset/file_set.h"

namespace vantrel {

enum class Range_Copy_Result {
    k_copied,        // ensembles first..last passed to write, in file order
    k_first_absent,  // no ensemble numbered first: nothing was passed to write
    k_last_absent,   // the walk ended or passed last without meeting it
    k_unreadable,    // a member could not be read
};

struct Range_Copy {
    Range_Copy_Result result = Range_Copy_Result::k_copied;
    std::string problem;  // why a member could not be read
};

// True when record[0 .. n-1] is one whole ensemble of the structure with a correct
// checksum, and numbered number unless number is negative.
bool Record_Is_Ensemble(const std::uint8_t* record, std::size_t n, std::int32_t structure, std::int32_t number = -1);

// Passes every ensemble from the one numbered first to the one numbered last (records
// between them of no ensemble, memory records and foreign data, are left out) to write, as
// its bytes with the checksum. estimate is the 1-based stream position where first is
// thought to start; structure the data structure (1 narrowband, 2 broadband).
Range_Copy Copy_Ensembles_By_Number(const std::vector<File_Set_Member>& members, std::int32_t structure,
                                    std::int64_t estimate, std::int32_t first, std::int32_t last,
                                    const std::function<void(const std::uint8_t*, std::size_t)>& write);

// True when the record_bytes bytes at the 1-based stream position are the whole ensemble
// numbered number.
bool Ensemble_Is_At(const std::vector<File_Set_Member>& members, std::int32_t structure, std::int64_t position,
                    std::int64_t record_bytes, std::int32_t number);

// Where ensemble number starts in a stream of file_first..file_last, at the mean length.
std::int64_t Mean_Length_Estimate(std::int32_t number, std::int32_t file_first, std::int32_t file_last, std::int64_t stream_size);

// The 1-based stream position where the ensemble numbered number starts or, when the stream
// lacks it, the first one after it numbered higher; -1 when neither is met. Found from
// estimate as Copy_Ensembles_By_Number finds its first.
std::int64_t Ensemble_Position_By_Number(const std::vector<File_Set_Member>& members, std::int32_t structure,
                                         std::int64_t estimate, std::int32_t number);

}  // namespace vantrel
