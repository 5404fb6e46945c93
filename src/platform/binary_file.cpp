#include "platform/binary_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/program_messages.h"

namespace vantrel {

namespace {
constexpr std::size_t k_buffer_bytes = 1 << 18;
constexpr std::size_t k_first_fill_bytes = 1 << 16;
constexpr std::size_t k_page_bytes = 4096;
}

void Binary_File::Free_Bytes::operator()(std::uint8_t* p) const { std::free(p); }

Binary_File::~Binary_File() { Close(); }

Binary_File::Binary_File(Binary_File&& other) noexcept { *this = std::move(other); }

Binary_File& Binary_File::operator=(Binary_File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        parts_ = std::move(other.parts_);
        open_part_ = other.open_part_;
        read_error_ = std::move(other.read_error_);
        path_ = std::move(other.path_);
        length_ = other.length_;
        in_memory_ = other.in_memory_;
        buffer_ = std::move(other.buffer_);
        memory_ = std::move(other.memory_);
        data_ = in_memory_ ? memory_.data() : buffer_.get();
        buffer_start_ = other.buffer_start_;
        cursor_ = other.cursor_;
        filled_ = other.filled_;
        fill_bytes_ = other.fill_bytes_;
        eof_ = other.eof_;
        other.fd_ = -1;
        other.parts_.clear();
        other.in_memory_ = false;
        other.data_ = nullptr;
        other.filled_ = other.cursor_ = 0;
    }
    return *this;
}

std::string Input_Error_Text(const std::string& path, int err) {
    if (err == ENOENT) return k_invalid_file;
    return path + ": " + (err == 0 ? "not a regular file" : std::strerror(err));
}

int Open_Input(const std::string& path, std::string& problem) {
    // Without O_NONBLOCK opening a FIFO waits for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        problem = Input_Error_Text(path, errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        problem = Input_Error_Text(path, 0);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    problem.clear();
    return fd;
}

std::string Member_Problem(const std::string& path, const std::string& problem) {
    return problem.empty() || problem == k_invalid_file ? "cannot open " + path : problem;
}

std::string Input_Problem(const std::string& path) {
    std::string problem;
    const int fd = Open_Input(path, problem);
    if (fd >= 0) ::close(fd);
    return problem;
}

bool Binary_File::Open(const std::string& path) {
    std::string failed;
    return Open_Parts({{path, -1}}, failed);
}

bool Binary_File::Open_Set(const std::vector<Stream_File>& files) {
    std::string failed;
    if (Open_Parts(files, failed)) return true;
    if (!failed.empty()) open_error_ = Member_Problem(failed, open_error_);
    return false;
}

// The first file is opened at once, the others as reading reaches them, with the lengths
// given (the first's read from it when not): a set of hundreds opens as fast as one file.
bool Binary_File::Open_Parts(const std::vector<Stream_File>& files, std::string& failed) {
    Close();
    if (files.empty()) return false;
    for (std::size_t i = 1; i < files.size(); ++i) {
        if (files[i].length < 0) {
            failed = files[i].path;
            open_error_ = Input_Problem(failed);
            return false;
        }
    }
    const int fd = Open_Input(files.front().path, open_error_);
    if (fd < 0) {
        failed = files.front().path;
        return false;
    }
    struct stat st {};
    ::fstat(fd, &st);
    fd_ = fd;
    std::int64_t total = 0;
    for (const Stream_File& f : files) {
        parts_.push_back({f.path, total, f.length >= 0 ? f.length : static_cast<std::int64_t>(st.st_size)});
        total += parts_.back().length;
    }
    open_part_ = 0;
    path_ = files.front().path;
    length_ = total;
    if (!buffer_) {
        buffer_.reset(static_cast<std::uint8_t*>(std::aligned_alloc(k_page_bytes, k_buffer_bytes)));
        if (!buffer_) {
            open_error_ = Input_Error_Text(path_, ENOMEM);
            Close();
            return false;
        }
    }
    data_ = buffer_.get();
    fill_bytes_ = k_first_fill_bytes;
    return true;
}

bool Binary_File::Open_Bytes(std::vector<std::uint8_t> bytes) {
    Close();
    memory_ = std::move(bytes);
    path_.clear();
    in_memory_ = true;
    data_ = memory_.data();
    length_ = static_cast<std::int64_t>(memory_.size());
    filled_ = memory_.size();
    return true;
}

void Binary_File::Reset_Position() {
    filled_ = 0;
    cursor_ = 0;
    buffer_start_ = 0;
    eof_ = false;
}

void Binary_File::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    parts_.clear();
    read_error_.clear();
    in_memory_ = false;
    memory_.clear();
    Reset_Position();
}

void Binary_File::Seek(std::int64_t position) {
    const std::int64_t offset = std::max<std::int64_t>(position - 1, 0);
    eof_ = false;
    if (in_memory_ && offset <= length_) {
        // The whole file is the buffer; a position past its end leaves it out of reach until sought back.
        buffer_start_ = 0;
        filled_ = memory_.size();
        cursor_ = static_cast<std::size_t>(offset);
        return;
    }
    if (offset >= buffer_start_ && offset <= buffer_start_ + static_cast<std::int64_t>(filled_)) {
        cursor_ = static_cast<std::size_t>(offset - buffer_start_);
        return;
    }
    buffer_start_ = offset;
    cursor_ = 0;
    filled_ = 0;
    fill_bytes_ = k_first_fill_bytes;  // a jump reads little until reading goes on from there
}

std::size_t Binary_File::Part_Of(std::int64_t offset) const {
    // The last part reads on past its end; empty parts are passed over.
    const auto after = std::upper_bound(parts_.begin(), parts_.end(), offset,
                                        [](std::int64_t o, const Part& p) { return o < p.start; });
    return static_cast<std::size_t>(after - parts_.begin()) - 1;
}

bool Binary_File::Read_From_Part(std::size_t part) {
    if (fd_ >= 0 && part == open_part_) return true;
    if (fd_ >= 0) ::close(fd_);
    std::string problem;
    fd_ = Open_Input(parts_[part].path, problem);
    open_part_ = part;
    if (fd_ >= 0) return true;
    read_error_ = Member_Problem(parts_[part].path, problem);
    return false;
}

std::int64_t Binary_File::Read_At(std::uint8_t* dst, std::size_t n, std::int64_t offset) {
    const std::size_t part = Part_Of(offset);
    if (!Read_From_Part(part)) return -1;
    const Part& p = parts_[part];
    const bool last = part + 1 == parts_.size();
    if (!last) n = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(n), p.start + p.length - offset));
    for (;;) {
        const ssize_t got = ::pread(fd_, dst, n, offset - p.start);
        if (got < 0 && errno == EINTR) continue;
        if (got == 0 && n > 0 && !last) {
            read_error_ = p.path + ": shorter than when the set was opened";
            return -1;
        }
        return got;
    }
}

bool Binary_File::Fill() {
    if (parts_.empty()) return false;
    // The fill starts at a page boundary of the file holding it: the kernel copies
    // page-aligned source to page-aligned buffer several times faster than at other offsets.
    const std::int64_t next = buffer_start_ + static_cast<std::int64_t>(cursor_);
    const std::int64_t in_part = next - parts_[Part_Of(next)].start;
    buffer_start_ = next - in_part % static_cast<std::int64_t>(k_page_bytes);
    cursor_ = static_cast<std::size_t>(next - buffer_start_);
    filled_ = 0;
    const std::size_t want = std::min(fill_bytes_, k_buffer_bytes);
    fill_bytes_ = std::min(fill_bytes_ * 2, k_buffer_bytes);
    while (filled_ < want) {
        const std::int64_t got =
            Read_At(buffer_.get() + filled_, want - filled_, buffer_start_ + static_cast<std::int64_t>(filled_));
        if (got <= 0) break;
        filled_ += static_cast<std::size_t>(got);
    }
    return filled_ > cursor_;
}

bool Binary_File::Read_Byte_Slow(std::uint8_t& out) {
    if (!Fill()) {
        eof_ = true;
        return false;
    }
    out = data_[cursor_++];
    return true;
}

std::size_t Binary_File::Read(std::uint8_t* dst, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        if (cursor_ == filled_) {
            const std::size_t remaining = n - done;
            if (remaining >= k_buffer_bytes && !parts_.empty()) {
                // Large reads go straight to the destination.
                buffer_start_ += static_cast<std::int64_t>(cursor_);
                cursor_ = filled_ = 0;
                const std::int64_t got = Read_At(dst + done, remaining, buffer_start_);
                if (got <= 0) break;
                done += static_cast<std::size_t>(got);
                buffer_start_ += got;
                continue;
            }
            if (!Fill()) break;
        }
        const std::size_t take = std::min(n - done, filled_ - cursor_);
        std::memcpy(dst + done, data_ + cursor_, take);
        cursor_ += take;
        done += take;
    }
    if (done < n) eof_ = true;
    return done;
}

std::int64_t File_Length(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

bool File_Exists(const std::string& path) { return File_Length(path) >= 0; }

}  // namespace vantrel
