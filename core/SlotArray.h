#pragma once

#include <array>
#include <cstddef>
#include <utility>

namespace zb {

inline constexpr int kSlotCount = 20;

// A fixed row of numbered objects indexed from 1, so that
// TASK_ENABLE_TICKBOX[7] is the control named "TASK_7_ENABLE_TICKBOX".
// Elements are built in place by make(n) and never move.
template <typename T, int N>
class NumberedArray {
public:
    template <typename Make>
    explicit NumberedArray(Make&& make) : items_(build(make, std::make_index_sequence<N>{}))
    {}

    static constexpr int size() { return N; }

    T& operator[](int slot) { return items_[static_cast<std::size_t>(slot - 1)]; }
    const T& operator[](int slot) const { return items_[static_cast<std::size_t>(slot - 1)]; }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    template <typename Make, std::size_t... I>
    static std::array<T, N> build(Make& make, std::index_sequence<I...>)
    {
        return {make(static_cast<int>(I) + 1)...};
    }

    std::array<T, N> items_;
};

template <typename T>
using SlotArray = NumberedArray<T, kSlotCount>;

} // namespace zb
