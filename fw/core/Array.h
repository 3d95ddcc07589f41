#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fw/core/Object.h"

namespace fw {

// A reference-counted array with fixed zero-based bounds 0..Ubound. Every element starts as
// the element type's default (0, False, "", nil). An index outside the bounds raises
// OutOfBoundsException and touches nothing.
template <class T>
class Array : public Object {
public:
    static Ref<Array> Create(int64_t count) { return Ref<Array>(new Array(count)); }

    int64_t Count() const noexcept { return static_cast<int64_t>(items_.size()); }
    int64_t Ubound() const noexcept { return Count() - 1; }

    const T& operator()(int64_t index) const { return items_[Checked(index)]; }
    T& operator()(int64_t index) { return items_[Checked(index)]; }
    void Set(int64_t index, T value) { items_[Checked(index)] = std::move(value); }

    const char* ClassName() const noexcept override { return "Array"; }

private:
    explicit Array(int64_t count) : items_(count > 0 ? static_cast<size_t>(count) : 0) {}

    size_t Checked(int64_t index) const {
        if (index < 0 || index >= Count()) {
            throw OutOfBoundsException("index " + std::to_string(index) + " outside 0.." +
                                       std::to_string(Ubound()));
        }
        return static_cast<size_t>(index);
    }

    std::vector<T> items_;
};

}  // namespace fw
