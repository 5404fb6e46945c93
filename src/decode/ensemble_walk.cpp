#include "decode/ensemble_walk.h"

#include "decode/scanner.h"

namespace vantrel {

bool Ensemble_Walk::Next(Binary_File& file, Decoder_State& dec, Progress_Hooks& progress) {
    gap_.reset();
    gave_up_ = false;
    const std::int64_t from = file.Position();
    bool searchable = true;  // Get_Next_Ensemble's flag; the structure is known here
    for (int failures = 0; !file.Eof() && !progress.Stop(); ++failures) {
        if (failures > k_search_failure_limit) {
            gave_up_ = true;
            return false;
        }
        if (!Get_Next_Ensemble(file, dec, searchable, progress)) continue;
        if (failures > 0) {
            const std::int64_t start = file.Position() - (static_cast<std::int64_t>(dec.Ens_Bytes) + 2);
            gap_ = Byte_Span{from, start - 1};
        }
        return true;
    }
    return false;
}

}  // namespace vantrel
