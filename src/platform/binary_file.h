#pragma once
// Buffered binary file with 1-based byte positions.
//
// The end-of-file flag is set only by a read that could not be satisfied in
// full; a read that ends exactly on the last byte leaves it clear. Moving the
// position clears it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vantrel {

class Binary_File {
public:
    Binary_File() = default;
    explicit Binary_File(const std::string& path) { Open(path); }
    ~Binary_File();
    Binary_File(const Binary_File&) = delete;
    Binary_File& operator=(const Binary_File&) = delete;
    Binary_File(Binary_File&& other) noexcept;
    Binary_File& operator=(Binary_File&& other) noexcept;

    // Opens for reading; false when the file cannot be opened.
    bool Open(const std::string& path);
    void Close();
    bool Is_Open() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // Length of the file in bytes, as of opening or the last Refresh_Length.
    std::int64_t Length() const { return length_; }
    void Refresh_Length();

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
            out = buffer_[cursor_++];
            return true;
        }
        return Read_Byte_Slow(out);
    }

private:
    bool Read_Byte_Slow(std::uint8_t& out);
    bool Fill();

    int fd_ = -1;
    std::string path_;
    std::int64_t length_ = 0;
    // The read buffer, left uninitialised: zero-filling a megabyte on every open costs
    // more than a short Sub Set load.
    struct Read_Buffer {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t length = 0;
        std::size_t size() const { return length; }
        std::uint8_t* data() { return bytes.get(); }
        std::uint8_t& operator[](std::size_t i) { return bytes[i]; }
    } buffer_;
    std::int64_t buffer_start_ = 0;  // 0-based file offset of buffer_[0]
    std::size_t cursor_ = 0;          // next byte within buffer_
    std::size_t filled_ = 0;          // valid bytes in buffer_
    std::size_t fill_bytes_ = 0;      // bytes the next fill reads; grows while reading goes on
    bool eof_ = false;
};

// Length of a file by name, -1 when it cannot be opened.
std::int64_t File_Length(const std::string& path);
bool File_Exists(const std::string& path);

}  // namespace vantrel
