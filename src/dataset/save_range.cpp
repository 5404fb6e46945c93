#include "dataset/save_range.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "loading/range_by_records.h"
#include "platform/binary_file.h"

namespace vantrel {

namespace {

// A file created beside the target that becomes the target only when complete.
class Temporary_Target {
public:
    explicit Temporary_Target(const std::string& target) : target_(target) {
        std::string pattern = target + ".partXXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) throw std::runtime_error("cannot write " + target);
        path_ = pattern;
        // The finished file gets the permissions a plainly created one would have.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
        file_ = ::fdopen(fd, "wb");
        if (file_ == nullptr) {
            ::close(fd);
            Discard();
            throw std::runtime_error("cannot write " + target);
        }
    }
    ~Temporary_Target() {
        if (file_ != nullptr) std::fclose(file_);
        if (!path_.empty()) Discard();
    }
    Temporary_Target(const Temporary_Target&) = delete;
    Temporary_Target& operator=(const Temporary_Target&) = delete;

    void Write(const std::uint8_t* data, std::size_t n) {
        if (std::fwrite(data, 1, n, file_) != n) throw std::runtime_error("cannot write " + target_);
    }

    void Commit() {
        const int closed = std::fclose(file_);
        file_ = nullptr;
        if (closed != 0) throw std::runtime_error("cannot write " + target_);
        std::error_code ec;
        std::filesystem::rename(path_, target_, ec);
        if (ec) throw std::runtime_error("cannot write " + target_);
        path_.clear();
    }

private:
    void Discard() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }

    std::string target_;
    std::string path_;
    std::FILE* file_ = nullptr;
};

bool Same_File(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

// The estimated start of F from the file's mean ensemble length; the records tell the rest.
Save_Outcome Save_Varying_Range(const App_State& app, const std::vector<File_Set_Member>& members,
                                const std::string& target, std::int32_t F, std::int32_t L) {
    const Data_Set& ds = app.ds;
    const std::int64_t count = std::max<std::int64_t>(static_cast<std::int64_t>(ds.File_Last_Ens) - ds.File_First_Ens + 1, 1);
    const std::int64_t estimate = (static_cast<std::int64_t>(F) - ds.File_First_Ens) * app.file_set.File_Size / count + 1;
    Temporary_Target out(target);
    const auto result = Copy_Ensembles_By_Number(members, app.dec.Data_Structure, estimate, F, L,
                                                 [&out](const std::uint8_t* data, std::size_t n) { out.Write(data, n); });
    if (result == Range_Copy_Result::k_first_absent) return Save_Outcome::k_first_absent;
    if (result == Range_Copy_Result::k_last_absent) return Save_Outcome::k_last_absent;
    out.Commit();
    return Save_Outcome::k_written;
}

}  // namespace

std::string Absent_Ensemble_Message(std::int32_t number) {
    return "Ensemble " + std::to_string(number) + " is not in the file";
}

Save_Outcome Save_Ensemble_Range(const App_State& app, const std::string& target, std::int32_t F, std::int32_t L) {
    const Data_Set& ds = app.ds;
    const std::string& source = app.load.File_Name;
    if (!ds.File_Loaded || target.empty() || Same_File(target, source)) return Save_Outcome::k_nothing;
    if (File_Length(target) > 0) return Save_Outcome::k_refused;
    if (F < ds.File_First_Ens || F > ds.File_Last_Ens) return Save_Outcome::k_first_absent;
    if (L < ds.File_First_Ens || L > ds.File_Last_Ens) return Save_Outcome::k_last_absent;

    const auto members = File_Set_Members(source, app.file_set);
    if (ds.File_Lengths_Vary) return Save_Varying_Range(app, members, target, F, L);
    const std::int64_t record = static_cast<std::int64_t>(app.dec.Ens_Bytes) + 2;
    std::int64_t p = (static_cast<std::int64_t>(F) - ds.File_First_Ens) * record + 1;
    const std::size_t start = Locate_Member(members, p);

    Temporary_Target out(target);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(record));
    const std::int32_t structure = app.dec.Data_Structure;
    std::int64_t c = F;
    for (std::size_t i = start; i < members.size() && c <= L; ++i) {
        Binary_File file;
        if (!file.Open(members[i].name)) throw std::runtime_error("cannot open " + members[i].name);
        if (i == start && p >= 1) file.Seek(p);
        while (!file.Eof() && c <= L) {
            // A record cut by the end of a member is dropped.
            if (file.Read(buffer.data(), buffer.size()) != buffer.size()) break;
            // Fixed-size records that are not ensembles (foreign records, garbage, a start
            // that is not F) mean the positions lie: find the ensembles by their numbers.
            if (!Record_Is_Ensemble(buffer.data(), buffer.size(), structure, c == F ? F : -1)) {
                return Save_Varying_Range(app, members, target, F, L);
            }
            out.Write(buffer.data(), buffer.size());
            ++c;
        }
    }
    out.Commit();
    return Save_Outcome::k_written;
}

}  // namespace vantrel
