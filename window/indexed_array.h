#pragma once

// Arrays indexed from any first index, as control arrays and board variables are.

#include <array>
#include <cstddef>
#include <string_view>

namespace hexorin {

// Stops the program with a message naming the array and the index: an index outside an array is
// a programming error, and carrying on would corrupt the board.
[[noreturn]] void indexOutOfRange(std::string_view array, int index, int first, int last);

// A fixed array indexed from First to Last, as the window's control arrays and board variables
// are. Every access is checked, in every build type.
template <typename T, int First, int Last> class IndexedArray {
    static_assert(First <= Last);

public:
    static constexpr int first = First;
    static constexpr int last = Last;
    static constexpr int size = Last - First + 1;
    static constexpr std::size_t count = static_cast<std::size_t>(size);

    explicit constexpr IndexedArray(std::string_view name)
        : name_(name) {}

    constexpr T& operator()(int index) { return elements_[position(index)]; }
    constexpr const T& operator()(int index) const { return elements_[position(index)]; }

    [[nodiscard]] constexpr std::string_view name() const { return name_; }
    [[nodiscard]] static constexpr bool contains(int index) {
        return index >= First && index <= Last;
    }
    // The index itself, for handlers that use an index without touching the element.
    constexpr int checkedIndex(int index) const {
        static_cast<void>(position(index));
        return index;
    }

    // Iterates the elements in index order.
    auto begin() { return elements_.begin(); }
    auto end() { return elements_.end(); }
    auto begin() const { return elements_.begin(); }
    auto end() const { return elements_.end(); }

private:
    constexpr std::size_t position(int index) const {
        if (!contains(index))
            indexOutOfRange(name_, index, First, Last);
        return static_cast<std::size_t>(index - First);
    }

    std::string_view name_;
    std::array<T, count> elements_{};
};

} // namespace hexorin
