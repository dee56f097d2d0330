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

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The plain number text held in place, for writing numbers on every pass without building strings.
class NumberText {
public:
    // The board's numbers, written on every pass, are spelled out here without a call.
    explicit NumberText(long long number) {
        if (number < 0 || number > 99) {
            spell(number);
            return;
        }
        const bool twoDigits = number > 9;
        characters_[0] = static_cast<char>('0' + (twoDigits ? number / 10 : number));
        characters_[1] = static_cast<char>('0' + number % 10);
        length_ = twoDigits ? 2 : 1;
    }
    operator std::string_view() const { return {characters_.data(), length_}; }

private:
    void spell(long long number);

    std::array<char, 24> characters_;
    std::size_t length_ = 0;
};

// " 7" for a number that is not negative, "-7" otherwise.
std::string signedNumberText(long long number);

// The leading decimal number of a text typed by anyone: blanks are ignored anywhere, then an
// optional sign, digits and at most one point, "." in every locale. Reading stops at anything
// else, so "1e3" reads 1 and "1,5" reads 1; a text without a number gives 0. Numbers too large for
// a double give plus or minus infinity; never NaN.
double lenientParse(std::string_view text);

// True for a text of blanks alone, or none: it holds no number, and no blank changes what a
// text holds.
inline bool holdsOnlyBlanks(std::string_view text) {
    for (const char c : text)
        if (!isBlank(c))
            return false;
    return true;
}

// The whole text, blanks around it allowed, as a number of the same form, or nothing when it is
// not one.
std::optional<double> strictParseAny(std::string_view text);
// The same, with the tags the grid holds read on every pass without a call.
inline std::optional<double> strictParse(std::string_view text) {
    if (text.size() == 1 && isDigit(text.front()))
        return text.front() - '0';
    return strictParseAny(text);
}

// A grid tag allows its number when it reads as a number other than 0.
inline bool tagAllows(std::string_view tag) {
    const std::optional<double> value = strictParse(tag);
    return value.has_value() && *value != 0;
}

// Round to the nearest integer, halves to the even neighbour, saturated to 32 bits. NaN has no
// nearest integer and gives the smallest value.
std::int32_t roundToInt32(double value);

} // namespace hexorin
