#pragma once
// Dense array of up to three indices, the first varying fastest in memory.
// Resizing discards the contents (numbers become 0, strings empty).

#include <cassert>
#include <cstddef>
#include <vector>

namespace vantrel {

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

    // First element of the last index's slice: components of all bins of one slot are contiguous.
    T* Slice(std::size_t last) {
        assert(last < Last_Extent());
        return data_.data() + Slice_Size() * last;
    }
    const T* Slice(std::size_t last) const {
        assert(last < Last_Extent());
        return data_.data() + Slice_Size() * last;
    }
    std::size_t Slice_Size() const { return Last_Extent() ? data_.size() / Last_Extent() : 0; }
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
    std::vector<T> data_;
};

}  // namespace vantrel
