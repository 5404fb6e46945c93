#include "synth_variation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "synth_encoder.h"

namespace vantrel::synth {

namespace {

constexpr std::uint8_t k_bb_header = 0x7F;
constexpr const char* k_nav_sentence = "$GPGGA,120000.00,5200.0000,N,00400.0000,E,1,08,0.9,1.0,M,45.0,M,,*47";

void Require(bool ok, const char* what) {
    if (!ok) throw std::invalid_argument(what);
}

std::uint8_t Clean(std::uint8_t b, std::uint8_t marker) {
    return b == k_bb_header || b == marker ? static_cast<std::uint8_t>(b - 1) : b;
}

}  // namespace

bool Ensemble_Options_Vary(const Synth_Options& opt) { return opt.vary_length || opt.setup_change_at > 0; }

Synth_Options Ensemble_Options(const Synth_Options& opt, std::int64_t index) {
    Synth_Options out = opt;
    if (opt.setup_change_at > 0 && index + 1 >= opt.setup_change_at) {
        out.bins = opt.new_bins;
        out.bin_size = opt.new_bin_size;
    }
    if (opt.vary_length) {
        out.bottom_track = opt.bottom_track || index % 3 != 0;
        out.navigation = opt.navigation || index % 2 == 1;
        out.text_block = true;
        const std::size_t chars = 8 + static_cast<std::size_t>(index % 5) * 40;
        std::string text = opt.text_block ? opt.text : std::string(k_nav_sentence);
        while (text.size() < chars) text += text;
        out.text = text.substr(0, chars);
    }
    return out;
}

void Resolve_Setup_Change(Synth_Options& opt) {
    Require(opt.setup_change_at >= 0, "--setup-change-at must be 0 or more");
    if (opt.setup_change_at == 0) return;
    const bool nb = opt.structure == Synth_Structure::Narrowband;
    if (opt.new_bins == 0) opt.new_bins = opt.bins >= k_max_synth_bins ? 128 : std::min(2 * opt.bins, k_max_synth_bins);
    if (opt.new_bin_size == 0) opt.new_bin_size = nb && opt.bin_size <= 1 ? 2 : opt.bin_size / 2;
    Require(opt.new_bins >= 1 && opt.new_bins <= k_max_synth_bins, "--new-bins must be 1..255");
    Require(opt.new_bin_size >= 0.01 && opt.new_bin_size <= 600, "--new-bin-size must be 0.01..600 m");
    if (nb) {
        const double cells = std::log2(opt.new_bin_size);
        Require(cells >= 0 && cells <= 7 && cells == std::floor(cells), "narrowband --new-bin-size must be 1, 2, 4, ... 128 m");
    }
}

std::size_t Next_Foreign_Length(Synth_Rng& rng) {
    return k_foreign_min_bytes + static_cast<std::size_t>(rng.Next() % k_foreign_spread_bytes);
}

void Encode_Foreign_Record(std::uint8_t* out, std::size_t n, Synth_Rng& rng, std::uint8_t marker) {
    const std::size_t body_end = n - 2;
    out[0] = k_bb_header;
    out[1] = k_foreign_id;
    out[2] = static_cast<std::uint8_t>(body_end & 0xFF);  // 34 to 42: never a marker
    out[3] = static_cast<std::uint8_t>(body_end >> 8);
    for (std::size_t i = 4; i < body_end; ++i) out[i] = Clean(static_cast<std::uint8_t>(rng.Next() >> 56), marker);
    // Byte 4 is spare: turn it until neither checksum byte is one a scanner would stop at.
    for (unsigned spare = 0; spare < 256; ++spare) {
        out[4] = static_cast<std::uint8_t>(spare);
        if (out[4] == k_bb_header || out[4] == marker) continue;
        Store_Checksum(out, body_end);
        if (out[body_end] != k_bb_header && out[body_end] != marker && out[body_end + 1] != k_bb_header &&
            out[body_end + 1] != marker) {
            return;
        }
    }
}

}  // namespace vantrel::synth
