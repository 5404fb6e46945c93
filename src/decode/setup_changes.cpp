#include "decode/setup_changes.h"

#include <algorithm>
#include <cmath>

#include "decode/bb_decoder.h"
#include "decode/nb_decoder.h"
#include "platform/byte_reader.h"
#include "platform/text_format.h"

namespace vantrel {

namespace {

constexpr std::size_t k_bb_setup_bytes = 14;  // through the cell size
constexpr std::size_t k_nb_setup_bytes = 12;  // through the cell length code

}  // namespace

std::optional<Ensemble_Setup> Read_Ensemble_Setup(const Decoder_State& dec) {
    const std::size_t data_bytes = std::min(dec.Ens_Buffer.size(), static_cast<std::size_t>(std::max(dec.Ens_Bytes, 0)));
    const Byte_Block ens(dec.Ens_Buffer.data(), data_bytes);
    if (dec.Data_Structure == k_structure_nb) {
        if (!ens.Fits(k_nb_header_bytes, k_nb_setup_bytes)) return std::nullopt;
        return Ensemble_Setup{ens.Read_U8(k_nb_header_bytes + 10), std::ldexp(1.0, ens.Read_U8(k_nb_header_bytes + 11))};
    }
    if (!ens.Fits(0, 6)) return std::nullopt;
    const std::size_t types = ens.Read_U8(5);
    for (std::size_t i = 0; i < types && ens.Fits(6 + 2 * i, 2); ++i) {
        const std::size_t offset = ens.Read_U16_LE(6 + 2 * i);
        if (!ens.Fits(offset, k_bb_setup_bytes) || ens.Read_U16_LE(offset) != k_id_fixed_leader) continue;
        return Ensemble_Setup{ens.Read_U8(offset + 9), ens.Read_U16_LE(offset + 12) / 100.0};
    }
    return std::nullopt;
}

void Setup_Change_Log::Note(const Decoder_State& dec, std::int32_t number) {
    const std::optional<Ensemble_Setup> setup = Read_Ensemble_Setup(dec);
    if (!setup) return;
    if (current_ && !(*setup == *current_)) changes_.push_back({number, *setup});
    current_ = setup;
}

std::string Setup_Change_Lines(const std::vector<Setup_Change>& changes) {
    std::string out;
    for (const Setup_Change& c : changes) {
        out += "Set-Up Changes at Ensemble " + Format(c.first_ens, "00000000") + ": No. Bins " + Format(c.setup.bins, "0") +
               ", Bin Size " + Format(c.setup.bin_size, "0.00") + " m\r\n";
    }
    return out;
}

}  // namespace vantrel
