#include "loading/save_range.h"

#include <filesystem>
#include <vector>

#include "loading/range_by_records.h"
#include "platform/binary_file.h"
#include "platform/temporary_target.h"

namespace vantrel {

namespace {

bool Same_File(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

Outcome Not_In_File(std::int32_t number) {
    return Failure(Outcome_Kind::k_not_in_file, "Ensemble " + std::to_string(number) + " is not in the file");
}

Outcome Cannot_Write(const std::string& target) { return Failure(Outcome_Kind::k_cannot_write, "cannot write " + target); }

// The estimated start of F from the file's mean ensemble length; the records tell the rest.
Outcome Save_Varying_Range(const Open_State& app, const std::vector<File_Set_Member>& members,
                           const std::string& target, std::int32_t F, std::int32_t L) {
    const std::int64_t estimate = Mean_Length_Estimate(F, app.ds.File_First_Ens, app.ds.File_Last_Ens, app.file_set.File_Size);
    Temporary_Target out(target);
    if (!out.Is_Open()) return Cannot_Write(target);
    bool written = true;
    const Range_Copy copy = Copy_Ensembles_By_Number(
        members, app.dec.Data_Structure, estimate, F, L,
        [&](const std::uint8_t* data, std::size_t n) { written = out.Write(data, n) && written; });
    switch (copy.result) {
        case Range_Copy_Result::k_unreadable: return Failure(Outcome_Kind::k_invalid_file, "cannot open " + copy.member);
        case Range_Copy_Result::k_first_absent: return Not_In_File(F);
        case Range_Copy_Result::k_last_absent: return Not_In_File(L);
        case Range_Copy_Result::k_copied: break;
    }
    if (!written || !out.Commit()) return Cannot_Write(target);
    return {};
}

// Copies the records of F..L from the positions one length implies. Sets positions_lie (and
// writes nothing) when a record met there is not the ensemble expected.
Outcome Save_Fixed_Range(const Open_State& app, const std::vector<File_Set_Member>& members,
                         const std::string& target, std::int32_t F, std::int32_t L, bool& positions_lie) {
    const std::int64_t record = static_cast<std::int64_t>(app.dec.Ens_Bytes) + 2;
    std::int64_t p = (static_cast<std::int64_t>(F) - app.ds.File_First_Ens) * record + 1;
    const std::size_t start = Locate_Member(members, p);

    Temporary_Target out(target);
    if (!out.Is_Open()) return Cannot_Write(target);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(record));
    const std::int32_t structure = app.dec.Data_Structure;
    std::int64_t c = F;
    for (std::size_t i = start; i < members.size() && c <= L; ++i) {
        Binary_File file;
        if (!file.Open(members[i].name)) return Failure(Outcome_Kind::k_invalid_file, "cannot open " + members[i].name);
        if (i == start && p >= 1) file.Seek(p);
        while (!file.Eof() && c <= L) {
            // A record cut by the end of a member is dropped.
            if (file.Read(buffer.data(), buffer.size()) != buffer.size()) break;
            // Fixed-size records that are not ensembles (foreign records, garbage, a start
            // that is not F) mean the positions lie: the ensembles are found by their numbers.
            if (!Record_Is_Ensemble(buffer.data(), buffer.size(), structure, c == F ? F : -1)) {
                positions_lie = true;
                return {};
            }
            if (!out.Write(buffer.data(), buffer.size())) return Cannot_Write(target);
            ++c;
        }
    }
    if (!out.Commit()) return Cannot_Write(target);
    return {};
}

}  // namespace

Outcome Save_Ensemble_Range(const Open_State& app, const std::string& target, std::int32_t F, std::int32_t L) {
    const Data_Set& ds = app.ds;
    const std::string& source = app.load.File_Name;
    if (!ds.File_Loaded || target.empty() || Same_File(target, source)) return Failure(Outcome_Kind::k_nothing_loaded);
    if (File_Length(target) > 0) return Failure(Outcome_Kind::k_overwrite_refused, k_overwrite_refused);
    if (F < ds.File_First_Ens || F > ds.File_Last_Ens) return Not_In_File(F);
    if (L < ds.File_First_Ens || L > ds.File_Last_Ens) return Not_In_File(L);

    const auto members = File_Set_Members(source, app.file_set);
    bool positions_lie = ds.File_Lengths_Vary;
    if (!positions_lie) {
        const Outcome fixed = Save_Fixed_Range(app, members, target, F, L, positions_lie);
        if (!positions_lie) return fixed;
    }
    return Save_Varying_Range(app, members, target, F, L);
}

}  // namespace vantrel
