#pragma once
// Bounds-checked reading of integers from untrusted bytes.
//
// A Byte_Block is a window of a buffer. Decoders check the block's size against the
// farthest field they read and then read fields freely; every read is still checked,
// and one that does not fit reads 0 and marks the block as overrun, so the caller can
// drop what the decoder made of it.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vantrel {

class Byte_Block {
public:
    Byte_Block() = default;
    Byte_Block(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Size() const { return size_; }
    const std::uint8_t* Data() const { return data_; }
    bool Fits(std::size_t offset, std::size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    // The sub-block of count bytes at offset, or nothing when it does not fit.
    std::optional<Byte_Block> Sub(std::size_t offset, std::size_t count) const {
        if (!Fits(offset, count)) return std::nullopt;
        return Byte_Block(data_ + offset, count);
    }

    // True once a read has gone past the end of this block.
    bool Overran() const { return overran_; }

    std::uint8_t Read_U8(std::size_t off) const {
        if (!Fits(off, 1)) [[unlikely]] return Overrun();
        return data_[off];
    }
    std::uint16_t Read_U16_LE(std::size_t off) const {
        if (!Fits(off, 2)) [[unlikely]] return Overrun();
        return static_cast<std::uint16_t>(data_[off] | (data_[off + 1] << 8));
    }
    std::uint16_t Read_U16_BE(std::size_t off) const {
        if (!Fits(off, 2)) [[unlikely]] return Overrun();
        return static_cast<std::uint16_t>((data_[off] << 8) | data_[off + 1]);
    }
    // Unsigned value with 65536 subtracted above 32767.
    std::int16_t Read_S16_LE(std::size_t off) const {
        return static_cast<std::int16_t>(Read_U16_LE(off));
    }
    std::int16_t Read_S16_BE(std::size_t off) const {
        return static_cast<std::int16_t>(Read_U16_BE(off));
    }
    std::uint32_t Read_U32_LE(std::size_t off) const {
        if (!Fits(off, 4)) [[unlikely]] return Overrun();
        return static_cast<std::uint32_t>(data_[off]) | (static_cast<std::uint32_t>(data_[off + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[off + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[off + 3]) << 24);
    }

private:
    std::uint8_t Overrun() const {
        overran_ = true;
        return 0;
    }

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    mutable bool overran_ = false;
};

}  // namespace vantrel
