// Numbers to texts and back: the plain and signed texts, the lenient and the strict parse.

#include "window/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace hexorin {
namespace {

// The number at the start of a text, blanks taken out wherever they stand: an optional sign, then
// digits with at most one point, as std::from_chars reads them.
struct LeadingNumber {
    bool negative = false;
    std::string digits;  // with the point, without the sign
    std::size_t end = 0; // where the number stops in the text
    bool hasBlank = false;
};

LeadingNumber leadingNumber(std::string_view text) {
    LeadingNumber number;
    bool started = false;
    bool point = false;
    for (; number.end < text.size(); ++number.end) {
        const char c = text[number.end];
        if (isBlank(c)) {
            number.hasBlank = true;
            continue;
        }
        if (!started && (c == '+' || c == '-'))
            number.negative = c == '-';
        else if (isDigit(c) || (c == '.' && !std::exchange(point, true)))
            number.digits.push_back(c);
        else
            break;
        started = true;
    }
    return number;
}

// std::from_chars rounds correctly however many digits come; out of range, a nonzero digit left of
// the point means too large, anything else too small.
double valueOf(const LeadingNumber& number) {
    const std::string& digits = number.digits;
    double value = 0;
    const auto error = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                       std::chars_format::fixed)
                           .ec;
    if (error == std::errc::result_out_of_range)
        value = digits.find_first_of("123456789") < digits.find('.')
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    else if (error != std::errc())
        value = 0.0;
    return number.negative ? -value : value;
}

} // namespace

void NumberText::spell(long long number) {
    const auto end =
        std::to_chars(characters_.data(), characters_.data() + characters_.size(), number).ptr;
    length_ = static_cast<std::size_t>(end - characters_.data());
}

std::string plainNumberText(long long number) {
    return std::string(NumberText(number));
}

std::string signedNumberText(long long number) {
    return number < 0 ? plainNumberText(number) : " " + plainNumberText(number);
}

double lenientParse(std::string_view text) {
    // The one or two digits the search writes into the star on every pass, read without a copy:
    // they are most of what the headless full search parses.
    if (text.empty())
        return 0.0;
    if (text.size() <= 2 && isDigit(text.front()) && isDigit(text.back()))
        return text.size() == 1 ? text[0] - '0' : (text[0] - '0') * 10 + (text[1] - '0');
    return valueOf(leadingNumber(text));
}

std::optional<double> strictParseAny(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    const LeadingNumber number = leadingNumber(text);
    if (number.end != text.size() || number.hasBlank ||
        number.digits.find_first_not_of('.') == std::string::npos)
        return std::nullopt;
    return valueOf(number);
}

std::int32_t roundToInt32(double value) {
    constexpr auto lowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr auto highest = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    if (std::isnan(value))
        return std::numeric_limits<std::int32_t>::min();
    // The default rounding mode takes halves to the even neighbour.
    return static_cast<std::int32_t>(std::nearbyint(std::clamp(value, lowest, highest)));
}

} // namespace hexorin
