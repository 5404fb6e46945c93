#include "loading/save_range.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

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

    try {
        Temporary_Target out(target);
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(record));
        std::int64_t c = F;
        for (std::size_t i = start; i < members.size() && c <= L; ++i) {
            Binary_File file;
            if (!file.Open(members[i].name)) return Failure(Outcome_Kind::k_invalid_file, "cannot open " + members[i].name);
            if (i == start && p >= 1) file.Seek(p);
            while (!file.Eof() && c <= L) {
                // A record cut by the end of a member is dropped.
                if (file.Read(buffer.data(), buffer.size()) != buffer.size()) break;
                out.Write(buffer.data(), buffer.size());
                ++c;
            }
        }
        out.Commit();
    } catch (const std::runtime_error& e) {
        // The temporary file could not be made, written or renamed; it is gone.
        return Failure(Outcome_Kind::k_cannot_write, e.what());
    }
    return {};
}

}  // namespace vantrel
