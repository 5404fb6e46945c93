#pragma once
// Dense array of up to three indices, the first varying fastest in memory.
// Resizing discards the contents (numbers become 0, strings empty).

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace vantrel {

namespace dense_array_detail {

// Zeroed numbers from the allocator: a large block comes as fresh zero pages, so the parts
// of an array no load writes (bins past the file's, slots past the Sub Set) are never touched.
template <typename T>
class Zeroed_Storage {
public:
    Zeroed_Storage() = default;
    Zeroed_Storage(const Zeroed_Storage& other) {
        assign(other.size_, T{});
        if (size_) std::memcpy(data_.get(), other.data_.get(), size_ * sizeof(T));
    }
    Zeroed_Storage& operator=(const Zeroed_Storage& other) {
        if (this != &other) *this = Zeroed_Storage(other);
        return *this;
    }
    Zeroed_Storage(Zeroed_Storage&&) noexcept = default;
    Zeroed_Storage& operator=(Zeroed_Storage&&) noexcept = default;

    void assign(std::size_t n, const T&) {
        data_.reset();
        size_ = 0;
        if (n == 0) return;
        data_.reset(static_cast<T*>(std::calloc(n, sizeof(T))));
        if (!data_) throw std::bad_alloc();
        size_ = n;
    }
    std::size_t size() const { return size_; }
    T* data() { return data_.get(); }
    const T* data() const { return data_.get(); }
    T& operator[](std::size_t i) { return data_.get()[i]; }
    const T& operator[](std::size_t i) const { return data_.get()[i]; }

private:
    struct Free {
        void operator()(T* p) const { std::free(p); }
    };
    std::unique_ptr<T, Free> data_;
    std::size_t size_ = 0;
};

template <typename T>
using Storage = std::conditional_t<std::is_arithmetic_v<T>, Zeroed_Storage<T>, std::vector<T>>;

}  // namespace dense_array_detail

template <typename T>
class Dense_Array {
public:
    // Extents, not upper bounds: Resize(8, 256, n) holds indices (0..7, 0..255, 0..n-1).
    void Resize(std::size_t n0) { Resize_Rank(1, n0, 1, 1); }
    void Resize(std::size_t n0, std::size_t n1) { Resize_Rank(2, n0, n1, 1); }
    void Resize(std::size_t n0, std::size_t n1, std::size_t n2) { Resize_Rank(3, n0, n1, n2); }

    std::size_t Extent(int dim) const { return dim == 0 ? n0_ : dim == 1 ? n1_ : n2_; }
    std::size_t Size() const { return data_.size(); }

    T& operator()(std::size_t i0, std::size_t i1 = 0, std::size_t i2 = 0) {
        assert(i0 < n0_ && i1 < n1_ && i2 < n2_);
        return data_[i0 + n0_ * (i1 + n1_ * i2)];
    }
    const T& operator()(std::size_t i0, std::size_t i1 = 0, std::size_t i2 = 0) const {
        assert(i0 < n0_ && i1 < n1_ && i2 < n2_);
        return data_[i0 + n0_ * (i1 + n1_ * i2)];
    }

    // Widens the middle index of a three-index array to n1, every element keeping its indices;
    // the new ones are `fill`. Narrower or equal n1, or another rank, changes nothing.
    void Widen(std::size_t n1, T fill = T{}) {
        if (rank_ != 3 || n1 <= n1_) return;
        Dense_Array wider;
        wider.Resize(n0_, n1, n2_);
        const std::size_t kept = n0_ * n1_;
        for (std::size_t s = 0; s < n2_; ++s) {
            T* to = wider.Slice(s);
            std::copy_n(Slice(s), kept, to);
            if (fill != T{}) std::fill(to + kept, to + wider.Slice_Size(), fill);
        }
        *this = std::move(wider);
    }

    // First element of the last index's slice: components of all bins of one slot are contiguous.
    T* Slice(std::size_t last) {
        assert(last < Last_Extent());
        return data_.data() + Slice_Size() * last;
    }
    const T* Slice(std::size_t last) const {
        assert(last < Last_Extent());
        return data_.data() + Slice_Size() * last;
    }
    // The product of the other extents: a division here cost the decoders and the processing
    // more than the arithmetic around their Slice calls.
    std::size_t Slice_Size() const {
        if (Last_Extent() == 0) return 0;
        return rank_ == 3 ? n0_ * n1_ : rank_ == 2 ? n0_ : 1;
    }
    // Extent of the slot index: the last index in use.
    std::size_t Last_Extent() const { return rank_ == 3 ? n2_ : rank_ == 2 ? n1_ : n0_; }

private:
    void Resize_Rank(int rank, std::size_t n0, std::size_t n1, std::size_t n2) {
        rank_ = rank;
        n0_ = n0;
        n1_ = n1;
        n2_ = n2;
        data_.assign(n0 * n1 * n2, T{});
    }

    int rank_ = 1;
    std::size_t n0_ = 0, n1_ = 0, n2_ = 0;
    dense_array_detail::Storage<T> data_;
};

}  // namespace vantrel
