#include "decode/scanner.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vantrel {

std::uint16_t Checksum(const std::uint8_t* data, std::size_t n) {
    std::uint64_t sum = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sums of absolute differences from zero add 16 bytes into two lanes in one step, where
    // widening each byte costs four; the scan over a file spends most of its time here.
    __m128i lanes = _mm_setzero_si128();
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        lanes = _mm_add_epi64(lanes, _mm_sad_epu8(bytes, zero));
    }
    sum = static_cast<std::uint64_t>(_mm_cvtsi128_si64(lanes)) +
          static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(lanes, lanes)));
#endif
    for (; i < n; ++i) sum += data[i];
    return static_cast<std::uint16_t>(sum);
}

namespace {

enum class Byte_Order { little, big };

// States of the broadband search: looking for the first 0x7F, for the second, checking
// the candidate they start, found.
enum class BB_State { k_first_marker = 0, k_second_marker = 1, k_candidate = 2, k_found = 4 };

// The last candidate whose checksum was summed. The next one, a byte on with the same length
// (inside a run of header bytes), is summed from the two bytes that differ, so a long run costs
// a few reads per byte rather than a whole candidate's.
struct Candidate_Sum {
    std::int64_t start = -1;
    std::int32_t count = -1;
    std::uint16_t sum = 0;
    std::uint8_t first = 0;  // the byte at start
};

std::uint16_t Stored_Checksum(const std::uint8_t* tail, Byte_Order order) {
    return order == Byte_Order::little ? static_cast<std::uint16_t>(tail[0] | (tail[1] << 8))
                                       : static_cast<std::uint16_t>((tail[0] << 8) | tail[1]);
}

// False when the candidate at start, rolled on from the last one summed, fails its checksum
// or runs past the end of the file; true when it must be read whole to tell.
bool Rolled_Sum_May_Match(Binary_File& file, std::int64_t start, std::int32_t count, std::uint8_t first, Byte_Order order,
                          Candidate_Sum& last) {
    if (count != last.count || start != last.start + 1) return true;
    std::uint8_t tail[3];
    file.Seek(last.start + count);
    if (file.Read(tail, 3) != 3) return false;
    const auto sum = static_cast<std::uint16_t>(last.sum - last.first + tail[0]);
    last = {start, count, sum, first};
    return sum == Stored_Checksum(tail + 1, order);
}

// Reads the candidate that starts at position start (1-based) into Ens_Buffer and
// checks its checksum. False when it is invalid or runs past the end of the file.
bool Read_And_Check_Candidate(Binary_File& file, Decoder_State& dec, std::int64_t start, Byte_Order order,
                              std::int32_t min_bytes, Candidate_Sum& last) {
    std::uint8_t head[4];
    if (order == Byte_Order::big) file.Seek(start);
    if (file.Read(head, 4) != 4) return false;
    const std::int32_t count = order == Byte_Order::little ? (head[0] | (head[1] << 8)) : ((head[0] << 8) | head[1]);
    dec.Ens_Bytes = count;
    // The little-endian head is read after the candidate's two header bytes.
    const std::uint8_t first = order == Byte_Order::little ? 0x7F : head[0];
    if (!Rolled_Sum_May_Match(file, start, count, first, order, last)) return false;
    file.Seek(start);
    dec.Ens_Buffer.resize(static_cast<std::size_t>(count) + 2);
    if (file.Read(dec.Ens_Buffer.data(), dec.Ens_Buffer.size()) != dec.Ens_Buffer.size()) return false;
    if (count < min_bytes) return false;  // too short to hold its own header
    const std::uint16_t sum = Checksum(dec.Ens_Buffer.data(), static_cast<std::size_t>(count));
    last = {start, count, sum, first};
    return sum == Stored_Checksum(dec.Ens_Buffer.data() + count, order);
}

}  // namespace

bool BB_Search(Binary_File& file, Decoder_State& dec, Progress_Hooks& progress) {
    const std::int32_t saved_bytes = dec.Ens_Bytes;
    std::int32_t skipped = 0;
    std::int64_t start = file.Position();
    BB_State state = BB_State::k_first_marker;
    std::uint8_t byte = 0;
    Candidate_Sum last;
    // A run of 0x7F bytes counts as no skip and costs a candidate per byte: Stop must end it.
    while (!file.Eof() && state != BB_State::k_found && skipped < k_bb_skip_limit && !progress.Stop()) {
        progress.Yield();
        switch (state) {
            case BB_State::k_first_marker:
                if (!file.Read_Byte(byte)) break;
                start = file.Position() - 1;
                if (byte == 0x7F) state = BB_State::k_second_marker; else ++skipped;
                break;
            case BB_State::k_second_marker:
                if (!file.Read_Byte(byte)) break;
                state = byte == 0x7F ? BB_State::k_candidate : BB_State::k_first_marker;
                break;
            default:
                if (Read_And_Check_Candidate(file, dec, start, Byte_Order::little, k_bb_min_ens_bytes, last)) {
                    state = BB_State::k_found;
                } else {
                    // One byte after the candidate's first 0x7F. A candidate that runs past the end
                    // of the file is only a false header too: complete ensembles may still follow.
                    file.Seek(start + 1);
                    state = BB_State::k_first_marker;
                }
                break;
        }
    }
    if (state == BB_State::k_found) return true;
    dec.Ens_Bytes = saved_bytes;
    return false;
}

bool NB_Search(Binary_File& file, Decoder_State& dec, Progress_Hooks& progress) {
    const std::int32_t saved_bytes = dec.Ens_Bytes;
    std::int32_t skipped = 0;
    bool found = false;
    std::uint8_t byte = 0;
    Candidate_Sum last;
    while (!file.Eof() && !found && skipped < k_nb_skip_limit && !progress.Stop()) {
        progress.Yield();
        if (!file.Read_Byte(byte)) break;
        const std::int64_t marker = file.Position() - 1;
        if (byte != 0x3F || marker < 4) {
            ++skipped;
            continue;
        }
        found = Read_And_Check_Candidate(file, dec, marker - 3, Byte_Order::big, k_nb_min_ens_bytes, last);
        // Resume one byte after the failed marker, so that later ensembles are still found.
        if (!found) file.Seek(marker + 1);
    }
    if (found) return true;
    dec.Ens_Bytes = saved_bytes;
    return false;
}

bool Get_Next_Ensemble(Binary_File& file, Decoder_State& dec, bool& file_loaded, Progress_Hooks& progress) {
    switch (dec.Data_Structure) {
        case k_structure_bb: return BB_Search(file, dec, progress);
        case k_structure_nb: return NB_Search(file, dec, progress);
        default: file_loaded = false; return false;
    }
}

std::int32_t Determine_File_Data_Structure(Binary_File& file, Decoder_State& dec, Progress_Hooks& progress) {
    std::int32_t structure = k_structure_unknown;
    file.Seek(1);
    if (BB_Search(file, dec, progress)) {
        structure = k_structure_bb;
    } else {
        file.Seek(1);
        if (NB_Search(file, dec, progress)) structure = k_structure_nb;
    }
    file.Seek(1);
    return structure;
}

}  // namespace vantrel
