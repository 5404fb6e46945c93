#include "loading/range_by_records.h"

#include <algorithm>

#include "decode/bb_decoder.h"
#include "decode/ensemble_walk.h"
#include "decode/nb_decoder.h"
#include "decode/scanner.h"

namespace vantrel {

namespace {

constexpr std::int32_t k_no_number = -1;
constexpr std::int64_t k_first_back_off = 4096;  // bytes before the estimate the first look starts

// Number of the ensemble in Ens_Buffer; k_no_number for memory records.
std::int32_t Leader_Number(const Decoder_State& dec) {
    return dec.Data_Structure == k_structure_nb ? NB_Leader_Number(dec, k_no_number) : BB_Leader_Number(dec, k_no_number);
}

// Ensembles of the file or set in order, each with its number.
class Stream_Walker {
public:
    Stream_Walker(const std::vector<File_Set_Member>& members, std::int32_t structure) {
        dec_.Data_Structure = structure;
        if (!Open_Members(file_, members)) problem_ = file_.Open_Error();
    }

    // Moves to the 1-based stream position.
    void Seek(std::int64_t position) { file_.Seek(position); }

    // The 1-based stream position where the ensemble in Ens_Buffer starts.
    std::int64_t Start() const { return file_.Position() - (static_cast<std::int64_t>(dec_.Ens_Bytes) + 2); }

    // Why a member could not be read; empty while every one could.
    const std::string& Problem() const { return problem_.empty() ? file_.Read_Error() : problem_; }

    // The next ensemble of the stream into Ens_Buffer and its number; memory records and
    // ensembles without a number are passed over. False at the end of the stream.
    bool Next(std::int32_t& number) {
        if (!file_.Is_Open()) return false;
        while (walk_.Next(file_, dec_, No_Progress())) {
            number = Leader_Number(dec_);
            if (number != k_no_number) return true;
        }
        return false;
    }

    const std::uint8_t* Data() const { return dec_.Ens_Buffer.data(); }
    std::size_t Size() const {
        return std::min(dec_.Ens_Buffer.size(), static_cast<std::size_t>(std::max(dec_.Ens_Bytes, 0)) + 2);
    }

private:
    Binary_File file_;
    Decoder_State dec_;
    Ensemble_Walk walk_;
    std::string problem_;
};

// Leaves the walker on the ensemble numbered first or, when the file lacks it, on the first
// one after it numbered higher; false when the walk ends before either.
bool Find_At_Or_After(Stream_Walker& walker, std::int64_t estimate, std::int32_t first, std::int32_t& number) {
    std::int64_t back_off = k_first_back_off;
    for (std::int64_t from = std::max<std::int64_t>(estimate - back_off, 1);; from = std::max<std::int64_t>(from - back_off, 1)) {
        walker.Seek(from);
        number = k_no_number;
        const bool found = walker.Next(number);
        if (from > 1 && (!found || number > first)) {
            back_off *= 2;  // started too late: look further back
            continue;
        }
        if (!found) return false;
        while (number < first) {
            if (!walker.Next(number)) return false;
        }
        return true;
    }
}

}  // namespace

bool Record_Is_Ensemble(const std::uint8_t* record, std::size_t n, std::int32_t structure, std::int32_t number) {
    constexpr std::uint8_t k_bb_header = 0x7F, k_nb_marker = 0x3F;
    if (n < 6 || n > 0x10001) return false;
    const std::size_t count = n - 2;
    const bool nb = structure == k_structure_nb;
    if (nb ? record[3] != k_nb_marker : record[0] != k_bb_header || record[1] != k_bb_header) return false;
    const auto stated = static_cast<std::size_t>(nb ? (record[0] << 8) | record[1] : record[2] | (record[3] << 8));
    const std::uint16_t stored = nb ? static_cast<std::uint16_t>((record[count] << 8) | record[count + 1])
                                    : static_cast<std::uint16_t>(record[count] | (record[count + 1] << 8));
    if (stated != count || Checksum(record, count) != stored) return false;
    if (number < 0) return true;
    Decoder_State probe;
    probe.Data_Structure = structure;
    probe.Ens_Buffer.assign(record, record + n);
    probe.Ens_Bytes = static_cast<std::int32_t>(count);
    return Leader_Number(probe) == number;
}

Range_Copy Copy_Ensembles_By_Number(const std::vector<File_Set_Member>& members, std::int32_t structure,
                                    std::int64_t estimate, std::int32_t first, std::int32_t last,
                                    const std::function<void(const std::uint8_t*, std::size_t)>& write) {
    Stream_Walker walker(members, structure);
    const auto ended = [&walker](Range_Copy_Result absent) {
        if (walker.Problem().empty()) return Range_Copy{absent, {}};
        return Range_Copy{Range_Copy_Result::k_unreadable, walker.Problem()};
    };
    std::int32_t number = k_no_number;
    if (!Find_At_Or_After(walker, estimate, first, number) || number != first) return ended(Range_Copy_Result::k_first_absent);
    write(walker.Data(), walker.Size());
    while (number != last) {
        if (!walker.Next(number) || number > last) return ended(Range_Copy_Result::k_last_absent);
        write(walker.Data(), walker.Size());
    }
    return {};
}

bool Ensemble_Is_At(const std::vector<File_Set_Member>& members, std::int32_t structure, std::int64_t position,
                    std::int64_t record_bytes, std::int32_t number) {
    if (record_bytes < 6 || record_bytes > 0x10001) return false;
    Binary_File file;
    if (!Open_Members(file, members)) return false;
    file.Seek(position);
    std::vector<std::uint8_t> record(static_cast<std::size_t>(record_bytes));
    return file.Read(record.data(), record.size()) == record.size() &&
           Record_Is_Ensemble(record.data(), record.size(), structure, number);
}

std::int64_t Mean_Length_Estimate(std::int32_t number, std::int32_t file_first, std::int32_t file_last, std::int64_t stream_size) {
    const std::int64_t count = std::max<std::int64_t>(static_cast<std::int64_t>(file_last) - file_first + 1, 1);
    return (static_cast<std::int64_t>(number) - file_first) * stream_size / count + 1;
}

std::int64_t Ensemble_Position_By_Number(const std::vector<File_Set_Member>& members, std::int32_t structure,
                                         std::int64_t estimate, std::int32_t number) {
    Stream_Walker walker(members, structure);
    std::int32_t met = k_no_number;
    return Find_At_Or_After(walker, estimate, number, met) ? walker.Start() : -1;
}

}  // namespace vantrel
