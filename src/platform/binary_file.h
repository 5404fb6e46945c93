#pragma once
// Buffered binary file with 1-based byte positions, over a file, over several files read as
// one stream, or over bytes in memory.
//
// The end-of-file flag is set only by a read that could not be satisfied in
// full; a read that ends exactly on the last byte leaves it clear. Moving the
// position clears it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantrel {

// A file of a stream of several, with its length in bytes (-1 when unknown).
struct Stream_File {
    std::string path;
    std::int64_t length = -1;
};

class Binary_File {
public:
    Binary_File() = default;
    explicit Binary_File(const std::string& path) { Open(path); }
    ~Binary_File();
    Binary_File(const Binary_File&) = delete;
    Binary_File& operator=(const Binary_File&) = delete;
    Binary_File(Binary_File&& other) noexcept;
    Binary_File& operator=(Binary_File&& other) noexcept;

    // Opens a regular file for reading, never blocking on a FIFO or device; false when it
    // cannot be opened, with the reason in Open_Error.
    bool Open(const std::string& path);
    // Opens the files as one stream in their order: the byte after one file's last is the
    // next file's first, so a record cut across two files reads whole. False when the first
    // cannot be opened or a length is unknown (-1), with Member_Problem's text in Open_Error;
    // a later file that cannot be opened when reading reaches it sets Read_Error.
    bool Open_Set(const std::vector<Stream_File>& files);
    // Why the last Open failed (Input_Problem's text); empty after a successful one.
    const std::string& Open_Error() const { return open_error_; }
    // Why reading stopped before Length: a later file of the set could not be opened, or was
    // shorter than its length. Empty otherwise.
    const std::string& Read_Error() const { return read_error_; }
    // Reads these bytes as if they were a file's; always true.
    bool Open_Bytes(std::vector<std::uint8_t> bytes);
    void Close();
    bool Is_Open() const { return !parts_.empty() || in_memory_; }
    // The file, or the first of a set.
    const std::string& Path() const { return path_; }

    // Length of the file, or of all files of the set, in bytes as of opening.
    std::int64_t Length() const { return length_; }

    // Position of the next byte to be read, counted from 1.
    std::int64_t Position() const { return buffer_start_ + static_cast<std::int64_t>(cursor_) + 1; }
    // Moves to a 1-based position; positions past the end are allowed (the next read fails).
    void Seek(std::int64_t position);
    bool Eof() const { return eof_; }

    // Reads up to n bytes; returns how many were read. A short read sets Eof.
    std::size_t Read(std::uint8_t* dst, std::size_t n);

    // Reads one byte; false (and Eof set) at the end of the file.
    bool Read_Byte(std::uint8_t& out) {
        if (cursor_ < filled_) {
            out = data_[cursor_++];
            return true;
        }
        return Read_Byte_Slow(out);
    }

private:
    // A file of the stream and the 0-based stream offset of its first byte.
    struct Part {
        std::string path;
        std::int64_t start = 0;
        std::int64_t length = 0;
    };

    bool Read_Byte_Slow(std::uint8_t& out);
    bool Fill();
    void Reset_Position();
    // failed: the file that could not be opened.
    bool Open_Parts(const std::vector<Stream_File>& files, std::string& failed);
    // Reads from the 0-based stream offset, at most to the end of the file holding it; the
    // bytes read, 0 at the end, -1 on a failure.
    std::int64_t Read_At(std::uint8_t* dst, std::size_t n, std::int64_t offset);
    bool Read_From_Part(std::size_t part);
    // The part holding the 0-based stream offset.
    std::size_t Part_Of(std::int64_t offset) const;

    struct Free_Bytes {
        void operator()(std::uint8_t* p) const;
    };

    int fd_ = -1;  // reads parts_[open_part_]
    std::vector<Part> parts_;
    std::size_t open_part_ = 0;
    bool in_memory_ = false;
    std::string path_;
    std::string open_error_;
    std::string read_error_;
    std::int64_t length_ = 0;
    // The read buffer, page aligned (a misaligned one makes the kernel's copy several times
    // slower) and left uninitialised: zero-filling a megabyte on every open costs more than
    // a short Sub Set load.
    std::unique_ptr<std::uint8_t, Free_Bytes> buffer_;
    std::vector<std::uint8_t> memory_;  // the bytes of an in-memory file
    const std::uint8_t* data_ = nullptr;  // buffer_ or memory_
    std::int64_t buffer_start_ = 0;  // 0-based file offset of data_[0]
    std::size_t cursor_ = 0;          // next byte within data_
    std::size_t filled_ = 0;          // valid bytes in data_
    std::size_t fill_bytes_ = 0;      // bytes the next fill reads; grows while reading goes on
    bool eof_ = false;
};

// Opens path for reading as a regular file without blocking: the descriptor, or -1 with the
// reason in problem: "Invalid File" when it does not exist, otherwise "PATH: " and the system's
// message ("Permission denied") or "not a regular file".
int Open_Input(const std::string& path, std::string& problem);

// Empty when path opens as a regular file for reading, otherwise Open_Input's reason.
std::string Input_Problem(const std::string& path);

// The reason for an input that failed with the system's error code err (ENOENT: "Invalid File").
std::string Input_Error_Text(const std::string& path, int err);

// problem (an Open_Error) for a member of a file set: a missing member is named.
std::string Member_Problem(const std::string& path, const std::string& problem);

// Length of a file by name, -1 when it cannot be opened.
std::int64_t File_Length(const std::string& path);
bool File_Exists(const std::string& path);

}  // namespace vantrel
