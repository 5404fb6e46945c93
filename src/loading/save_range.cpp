#include "loading/save_range.h"

#include <vector>

#include "loading/range_by_records.h"
#include "platform/binary_file.h"
#include "platform/output_file.h"

namespace vantrel {

namespace {

Outcome Not_In_File(std::int32_t number) {
    return Failure(Outcome_Kind::k_not_in_file, "Ensemble " + std::to_string(number) + " is not in the file");
}

Outcome Unreadable(const std::string& problem) { return Failure(Outcome_Kind::k_invalid_file, problem); }

// The estimated start of F from the file's mean ensemble length; the records tell the rest.
Outcome Save_Varying_Range(const Open_State& app, const std::vector<File_Set_Member>& members, Output_File& out,
                           std::int32_t F, std::int32_t L) {
    const std::int64_t estimate = Mean_Length_Estimate(F, app.ds.File_First_Ens, app.ds.File_Last_Ens, app.file_set.File_Size);
    const Range_Copy copy = Copy_Ensembles_By_Number(
        members, app.dec.Data_Structure, estimate, F, L,
        [&](const std::uint8_t* data, std::size_t n) { out.Write(data, n); });
    switch (copy.result) {
        case Range_Copy_Result::k_unreadable: return Unreadable(copy.problem);
        case Range_Copy_Result::k_first_absent: return Not_In_File(F);
        case Range_Copy_Result::k_last_absent: return Not_In_File(L);
        case Range_Copy_Result::k_copied: break;
    }
    return out.Commit();  // fails, with the reason, after a failed write
}

// Copies the records of F..L from the positions one length implies. Sets positions_lie (and
// writes nothing) when a record met there is not the ensemble expected.
Outcome Save_Fixed_Range(const Open_State& app, const std::vector<File_Set_Member>& members, Output_File& out,
                         std::int32_t F, std::int32_t L, bool& positions_lie) {
    const std::int64_t record = static_cast<std::int64_t>(app.dec.Ens_Bytes) + 2;
    Binary_File file;
    if (!Open_Members(file, members)) return Unreadable(file.Open_Error());
    file.Seek((static_cast<std::int64_t>(F) - app.ds.File_First_Ens) * record + 1);

    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(record));
    const std::int32_t structure = app.dec.Data_Structure;
    std::int64_t c = F;
    // A record an acquisition program cut across two members reads whole from the stream.
    while (c <= L && file.Read(buffer.data(), buffer.size()) == buffer.size()) {
        // Fixed-size records that are not ensembles (foreign records, garbage, a start
        // that is not F) mean the positions lie: the ensembles are found by their numbers.
        if (!Record_Is_Ensemble(buffer.data(), buffer.size(), structure, c == F ? F : -1)) {
            positions_lie = true;
            return {};
        }
        if (!out.Write(buffer.data(), buffer.size())) return out.Commit();  // the write's reason
        ++c;
    }
    if (!file.Read_Error().empty()) return Unreadable(file.Read_Error());
    // Missing ensembles before F put its position past the end of the file.
    if (c == F) {
        positions_lie = true;
        return {};
    }
    return out.Commit();
}

}  // namespace

std::vector<std::string> Input_Files(const Open_State& app) {
    std::vector<std::string> inputs{app.load.File_Name};
    if (!app.load.Settings_File.empty()) inputs.push_back(app.load.Settings_File);
    if (!app.ds.File_Loaded) return inputs;
    for (const File_Set_Member& m : File_Set_Members(app.load.File_Name, app.file_set)) inputs.push_back(m.name);
    return inputs;
}

Outcome Save_Ensemble_Range(const Open_State& app, const std::string& target, std::int32_t F, std::int32_t L) {
    const Data_Set& ds = app.ds;
    const std::string& source = app.load.File_Name;
    if (!ds.File_Loaded || target.empty()) return Failure(Outcome_Kind::k_nothing_loaded);
    const auto members = File_Set_Members(source, app.file_set);
    const std::vector<std::string> inputs = Input_Files(app);
    Output_File out;
    if (Outcome opened = out.Open(target, inputs); !opened) return opened;
    if (F < ds.File_First_Ens || F > ds.File_Last_Ens) return Not_In_File(F);
    if (L < ds.File_First_Ens || L > ds.File_Last_Ens) return Not_In_File(L);

    bool positions_lie = ds.File_Lengths_Vary;
    Outcome saved;
    if (!positions_lie) saved = Save_Fixed_Range(app, members, out, F, L, positions_lie);
    if (positions_lie) {
        out.Discard();  // the fixed walk may have written records before it found the positions lie
        if (Outcome opened = out.Open(target, inputs); !opened) return opened;
        saved = Save_Varying_Range(app, members, out, F, L);
    }
    return saved;
}

}  // namespace vantrel
