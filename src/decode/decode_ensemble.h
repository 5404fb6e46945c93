#pragma once
// Decodes the ensemble in Ens_Buffer into slot Sub_Count by the file's data structure.

#include "dataset/data_set.h"
#include "decode/decode_options.h"
#include "decode/decoder_state.h"

namespace vantrel {

// Returns false, and clears File_Loaded for an unknown structure, when no decoder ran.
bool Decode_Ensemble(Decoder_State& dec, Data_Set& ds, const Decode_Options& opt);

}  // namespace vantrel
