#pragma once
// One JSON object per ensemble slot (Sub Set or Whole Set), keyed by the data-set names.

#include <cstddef>
#include <string>

#include "app_state.h"

namespace vantrel::cli {

// Appends the slot's values, the set-up scalars and the data-type flags as one line.
void Append_Slot_Json(std::string& out, const Data_Set& ds, const Decoder_State& dec, std::size_t slot);

// Appends a Whole Set slot under the Whole_ names, with the same set-up scalars and flags.
void Append_Whole_Slot_Json(std::string& out, const Data_Set& ds, const Decoder_State& dec, std::size_t slot);

}  // namespace vantrel::cli
