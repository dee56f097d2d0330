#pragma once

// What every test and benchmark knows of the magic stars without asking the program: the six
// lines, the first, second and last star in the search's order, and what the whole unrestricted
// search takes and finds.

#include <array>

namespace hexorin::testing {

using Solution = std::array<int, 12>; // numbers of fields 1 to 12

inline constexpr Solution kFirstSolution{1, 2, 11, 12, 3, 5, 6, 10, 9, 8, 4, 7};
inline constexpr Solution kSecondSolution{1, 2, 11, 12, 4, 3, 7, 8, 10, 5, 6, 9};
inline constexpr Solution kLastSolution{12, 11, 2, 1, 10, 8, 7, 3, 4, 5, 9, 6};
inline constexpr long long kFullRunPasses = 2'472'925;
inline constexpr int kFullRunSolutions = 960;
inline constexpr std::array<std::array<int, 4>, 6> kLines{
    {{1, 2, 3, 4}, {4, 5, 6, 7}, {1, 7, 8, 9}, {3, 5, 10, 11}, {6, 8, 11, 12}, {2, 9, 10, 12}}};

} // namespace hexorin::testing
