#include "loading/save_range.h"

#include <filesystem>
#include <vector>

#include "platform/binary_file.h"
#include "platform/temporary_target.h"

namespace vantrel {

namespace {

bool Same_File(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

}  // namespace

Outcome Save_Ensemble_Range(const Open_State& app, const std::string& target, std::int32_t F, std::int32_t L) {
    const Data_Set& ds = app.ds;
    const std::string& source = app.load.File_Name;
    if (!ds.File_Loaded || target.empty() || Same_File(target, source)) return Failure(Outcome_Kind::k_nothing_loaded);
    if (File_Length(target) > 0) return Failure(Outcome_Kind::k_overwrite_refused, k_overwrite_refused);

    const std::int64_t record = static_cast<std::int64_t>(app.dec.Ens_Bytes) + 2;
    const auto members = File_Set_Members(source, app.file_set);
    std::int64_t p = (static_cast<std::int64_t>(F) - ds.File_First_Ens) * record + 1;
    const std::size_t start = Locate_Member(members, p);

    Temporary_Target out(target);
    if (!out.Is_Open()) return Failure(Outcome_Kind::k_cannot_write, "cannot write " + target);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(record));
    std::int64_t c = F;
    for (std::size_t i = start; i < members.size() && c <= L; ++i) {
        Binary_File file;
        if (!file.Open(members[i].name)) return Failure(Outcome_Kind::k_invalid_file, "cannot open " + members[i].name);
        if (i == start && p >= 1) file.Seek(p);
        while (!file.Eof() && c <= L) {
            // A record cut by the end of a member is dropped.
            if (file.Read(buffer.data(), buffer.size()) != buffer.size()) break;
            if (!out.Write(buffer.data(), buffer.size())) return Failure(Outcome_Kind::k_cannot_write, "cannot write " + target);
            ++c;
        }
    }
    if (!out.Commit()) return Failure(Outcome_Kind::k_cannot_write, "cannot write " + target);
    return {};
}

}  // namespace vantrel
