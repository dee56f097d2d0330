#pragma once

// Numbers to texts and back, as the program writes and reads them in every control.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hexorin {

// "7", "-7", "12": what every number written into a text, caption or tag looks like.
std::string plainNumberText(long long number);

// The plain number text held in place, for writing numbers on every pass without building strings.
class NumberText {
public:
    explicit NumberText(long long number);
    operator std::string_view() const { return {characters_.data(), length_}; }

private:
    std::array<char, 24> characters_;
    std::size_t length_;
};

// " 7" for a number that is not negative, "-7" otherwise.
std::string signedNumberText(long long number);

// The leading decimal number of a text typed by anyone. Blanks are ignored anywhere, "." is the
// decimal point in every locale, an optional sign and exponent are read, and a text without a
// number gives 0. Numbers too large for a double give plus or minus infinity; never NaN.
double lenientParse(std::string_view text);

// True for a text of blanks alone, or none: it holds no number, and no blank changes what a
// text holds.
bool holdsOnlyBlanks(std::string_view text);

// The whole text (blanks around it allowed) as a number, or nothing when it is not one.
std::optional<double> strictParse(std::string_view text);

// Round to the nearest integer, halves to the even neighbour, saturated to 32 bits. NaN has no
// nearest integer and gives the smallest value.
std::int32_t roundToInt32(double value);

} // namespace hexorin
