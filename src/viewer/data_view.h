#pragma once
// The data viewer's text: every value of one cell (one ensemble, one bin) of the Sub Set.

#include <cstdint>
#include <optional>
#include <string>

#include "dataset/data_set.h"
#include "decode/decoder_state.h"

namespace vantrel {

// The data-set bin index of contour row r of the Sub Set window (row 0 = the top row, bin
// Last_Bin); nullopt when the row is not one of the rows shown or held.
std::optional<std::int32_t> Data_View_Bin_Index(const Data_Set& ds, const Decoder_State& dec, std::int32_t r);

// The viewer's report of Sub Set slot e at contour row r, lines ended by CR LF, degree and
// cube signs in UTF-8; nullopt when e is not a loaded slot or r not a row shown.
std::optional<std::string> Data_View_Text(const Data_Set& ds, const Decoder_State& dec, std::int32_t e,
                                          std::int32_t r);

}  // namespace vantrel
