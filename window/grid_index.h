#pragma once

// The star's fields and numbers, and the label of the allowed-number grid that belongs to each
// pair: grid row field - 1, grid column number - 1.

namespace hexorin {

inline constexpr int kFieldCount = 12;    // fields 1 to 12
inline constexpr int kHighestNumber = 12; // numbers 1 to 12

constexpr int gridLabelIndex(int field, int number) {
    return kHighestNumber * (field - 1) + number - 1;
}
constexpr int fieldOfGridLabel(int index) {
    return index / kHighestNumber + 1;
}
constexpr int numberOfGridLabel(int index) {
    return index % kHighestNumber + 1;
}

} // namespace hexorin
