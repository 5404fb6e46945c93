#include "platform/output_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <streambuf>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/program_messages.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// A name beside `path` that ends in `suffix`: the file's name is shortened as far as needed
// for the whole to fit in a folder entry (255 bytes).
std::string Name_Beside(const std::string& path, const std::string& suffix) {
    constexpr std::size_t k_name_max = 255;
    const fs::path p(path);
    std::string name = p.filename().string();
    if (name.size() + suffix.size() > k_name_max) name.resize(k_name_max - std::min(suffix.size(), k_name_max));
    return (p.parent_path() / (name + suffix)).string();
}

bool Write_All(int fd, const char* data, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        data += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

bool Copy_All(int from, int to) {
    if (::lseek(from, 0, SEEK_SET) != 0) return false;
    errno = 0;  // not a failed clone's reason
    std::array<char, 1 << 16> block{};
    for (;;) {
        const ssize_t r = ::read(from, block.data(), block.size());
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return r == 0;
        if (!Write_All(to, block.data(), static_cast<std::size_t>(r))) return false;
    }
}

mode_t Current_Umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

// Collects writes into large blocks for the temporary file's descriptor.
class Output_File::Buffer : public std::streambuf {
public:
    void Attach(int fd) {
        fd_ = fd;
        failed_ = false;
        setp(block_.data(), block_.data() + block_.size());
    }
    bool Failed() const { return failed_; }

protected:
    int_type overflow(int_type ch) override {
        if (!Flush()) return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n >= static_cast<std::streamsize>(block_.size())) {
            if (!Flush() || !Write_All(fd_, s, static_cast<std::size_t>(n))) return Fail(0);
            return n;
        }
        return std::streambuf::xsputn(s, n);
    }
    int sync() override { return Flush() ? 0 : -1; }

private:
    bool Flush() {
        if (fd_ < 0 || failed_) return Fail(false);
        const auto n = static_cast<std::size_t>(pptr() - pbase());
        setp(block_.data(), block_.data() + block_.size());
        if (!Write_All(fd_, block_.data(), n)) return Fail(false);
        return true;
    }
    template <typename T>
    T Fail(T value) {
        failed_ = true;
        return value;
    }

    std::array<char, 1 << 16> block_{};
    int fd_ = -1;
    bool failed_ = false;
};

Output_File::Output_File() : buffer_(std::make_unique<Buffer>()), stream_(buffer_.get()) {}

Output_File::~Output_File() { Discard(); }

Outcome Output_File::Cannot_Write(const std::string& reason) const {
    return Failure(Outcome_Kind::k_cannot_write, "Cannot write " + target_ + ": " + reason);
}

Outcome Output_File::Open(const std::string& target, const std::vector<std::string>& inputs, Existing_Output existing,
                          bool named_temporary) {
    Discard();
    target_ = target;
    existing_ = existing;
    in_place_ = false;
    if (target.empty()) return Failure(Outcome_Kind::k_cannot_write, "No output file given");
    struct stat t {};
    if (::stat(target.c_str(), &t) == 0) {
        for (const std::string& input : inputs) {
            struct stat s {};
            if (::stat(input.c_str(), &s) == 0 && s.st_dev == t.st_dev && s.st_ino == t.st_ino)
                return Failure(Outcome_Kind::k_target_is_input, "Cannot write " + target + ": it is a file being read");
        }
        if (!S_ISREG(t.st_mode)) return Cannot_Write("not a regular file");
        if (t.st_size > 0 && existing == Existing_Output::k_refuse)
            return Failure(Outcome_Kind::k_overwrite_refused, k_overwrite_refused);
        in_place_ = t.st_size == 0;
        target_dev_ = t.st_dev;
        target_ino_ = t.st_ino;
    } else if (errno != ENOENT) {
        return Cannot_Write(std::strerror(errno));
    }
    // Beside the file a symbolic link names, so the rename replaces that file, not the link.
    std::error_code ec;
    final_ = fs::weakly_canonical(target, ec).string();
    if (ec || final_.empty()) final_ = target;

    if (!named_temporary) {
        const std::string folder = fs::path(final_).parent_path().string();
        fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    }
    if (fd_ < 0) {
        std::string pattern = Name_Beside(final_, ".partXXXXXX");
        int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        // An empty target takes the content by copy, so its own folder need not be writable.
        if (fd < 0 && in_place_) {
            const int beside = errno;
            pattern = Name_Beside((fs::temp_directory_path(ec) / fs::path(final_).filename()).string(), ".partXXXXXX");
            fd = ::mkostemp(pattern.data(), O_CLOEXEC);
            if (fd < 0) errno = beside;
        }
        if (fd < 0) return Cannot_Write(std::strerror(errno));
        // mkstemp makes the file private; the finished file gets the permissions of a plain one.
        ::fchmod(fd, 0666 & ~Current_Umask());
        fd_ = fd;
        temp_ = pattern;
    }
    buffer_->Attach(fd_);
    stream_.clear();
    return {};
}

bool Output_File::Write(const void* data, std::size_t n) {
    if (fd_ < 0) return false;
    if (n == 0) return !buffer_->Failed();  // an empty view may carry a null pointer
    stream_.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
    return !buffer_->Failed() && stream_.good();
}

Outcome Output_File::Copy_Into_Target() {
    const int out = ::open(final_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (out < 0) return Cannot_Write(std::strerror(errno));
    struct stat t {};
    Outcome outcome;
    if (::fstat(out, &t) != 0 || t.st_dev != target_dev_ || t.st_ino != target_ino_ || !S_ISREG(t.st_mode)) {
        outcome = Cannot_Write("the file changed while it was written");
    } else if (t.st_size > 0) {
        outcome = Failure(Outcome_Kind::k_overwrite_refused, k_overwrite_refused);
    } else {
        // Where the file system shares blocks, the finished file's blocks become the target's
        // in one call; elsewhere they are copied. Either way a failure leaves it empty again.
        const bool filled = ::ioctl(out, FICLONE, fd_) == 0 || Copy_All(fd_, out);
        if (!filled || ::fsync(out) != 0) {
            outcome = Cannot_Write(std::strerror(errno != 0 ? errno : EIO));
            if (::ftruncate(out, 0) != 0) outcome = Cannot_Write(std::strerror(errno));
        }
    }
    ::close(out);
    return outcome;
}

Outcome Output_File::Commit() {
    if (fd_ < 0) return Cannot_Write("not open");
    stream_.flush();
    if (buffer_->Failed() || ::fsync(fd_) != 0) {
        const Outcome failed = Cannot_Write(std::strerror(errno != 0 ? errno : EIO));
        Discard();
        return failed;
    }
    Outcome outcome;
    const bool replace = existing_ == Existing_Output::k_replace;
    if (in_place_) {
        outcome = Copy_Into_Target();
    } else if (temp_.empty()) {
        outcome = Name_Nameless(final_, replace);
    } else if (replace) {
        if (::rename(temp_.c_str(), final_.c_str()) != 0) outcome = Cannot_Write(std::strerror(errno));
        else temp_.clear();
    } else if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, final_.c_str(), RENAME_NOREPLACE) == 0) {
        temp_.clear();
    } else if (errno == EEXIST) {
        outcome = Failure(Outcome_Kind::k_overwrite_refused, k_overwrite_refused);  // created meanwhile
    } else if (::link(temp_.c_str(), final_.c_str()) == 0) {
        // A file system without the no-replace rename: a link refuses an existing name too.
    } else {
        outcome = errno == EEXIST ? Failure(Outcome_Kind::k_overwrite_refused, k_overwrite_refused)
                                  : Cannot_Write(std::strerror(errno));
    }
    Discard();
    return outcome;
}

// Gives the nameless file a name: the target itself when refusing (a link never replaces),
// or a unique name renamed over the target when replacing.
Outcome Output_File::Name_Nameless(const std::string& name, bool replace) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (!replace) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return {};
        if (errno == EEXIST) return Failure(Outcome_Kind::k_overwrite_refused, k_overwrite_refused);  // created meanwhile
        return Cannot_Write(std::strerror(errno));
    }
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string part = Name_Beside(name, ".part" + std::to_string(::getpid()) + "-" + std::to_string(attempt));
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, part.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST) continue;
            break;
        }
        temp_ = part;  // removed by Discard unless the rename takes it
        if (::rename(part.c_str(), name.c_str()) != 0) break;
        temp_.clear();
        return {};
    }
    return Cannot_Write(std::strerror(errno));
}

void Output_File::Discard() {
    stream_.setstate(std::ios::badbit);
    buffer_->Attach(-1);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

Outcome Write_Output_File(const std::string& target, std::string_view bytes, const std::vector<std::string>& inputs,
                          Existing_Output existing) {
    Output_File out;
    if (Outcome opened = out.Open(target, inputs, existing); !opened) return opened;
    out.Write(bytes.data(), bytes.size());
    return out.Commit();
}

}  // namespace vantrel
