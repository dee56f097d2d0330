// Numbers to texts and back: the plain and signed texts, the lenient and the strict parse.

#include "window/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace hexorin {
namespace {

// Reads characters of a text left to right, stepping over blanks wherever they stand.
class BlankSkippingReader {
public:
    explicit BlankSkippingReader(std::string_view text)
        : text_(text) {
        skipBlanks();
    }

    [[nodiscard]] bool atEnd() const { return position_ >= text_.size(); }
    [[nodiscard]] char peek() const { return atEnd() ? '\0' : text_[position_]; }
    void advance() {
        ++position_;
        skipBlanks();
    }
    bool take(char expected) {
        if (peek() != expected)
            return false;
        advance();
        return true;
    }

private:
    void skipBlanks() {
        while (!atEnd() && isBlank(text_[position_]))
            ++position_;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

constexpr long long kExponentLimit = 1'000'000'000;

long long readExponent(BlankSkippingReader& reader) {
    const bool negative = reader.take('-');
    if (!negative)
        reader.take('+');
    long long exponent = 0;
    while (isDigit(reader.peek())) {
        exponent = std::min(exponent * 10 + (reader.peek() - '0'), kExponentLimit);
        reader.advance();
    }
    return negative ? -exponent : exponent;
}

// The leading number of a lenient text without blanks and sign: digits and point as typed, and the
// exponent, clamped so that no run of exponent digits can overflow.
struct WrittenNumber {
    bool negative = false;
    std::string magnitude;
    long long integerDigits = 0;
    long long exponent = 0;

    // Out of range means infinite when the first significant digit stands left of the point.
    [[nodiscard]] bool overflows() const {
        const auto first = static_cast<long long>(magnitude.find_first_of("123456789"));
        const long long pointBefore = first > integerDigits ? 1 : 0;
        return integerDigits - first + pointBefore + exponent > 0;
    }
};

std::optional<WrittenNumber> readNumber(std::string_view text) {
    BlankSkippingReader reader(text);
    WrittenNumber number;
    number.negative = reader.take('-');
    if (!number.negative)
        reader.take('+');
    for (; isDigit(reader.peek()); reader.advance(), ++number.integerDigits)
        number.magnitude.push_back(reader.peek());
    if (reader.take('.')) {
        number.magnitude.push_back('.');
        for (; isDigit(reader.peek()); reader.advance())
            number.magnitude.push_back(reader.peek());
    }
    if (number.magnitude.find_first_not_of('.') == std::string::npos)
        return std::nullopt;
    const char marker = reader.peek();
    if (marker == 'e' || marker == 'E' || marker == 'd' || marker == 'D') {
        BlankSkippingReader lookahead = reader;
        lookahead.advance();
        if (lookahead.peek() == '+' || lookahead.peek() == '-' || isDigit(lookahead.peek())) {
            reader.advance();
            number.exponent = readExponent(reader);
        }
    }
    return number;
}

// Written out as one number for std::from_chars, which rounds correctly however many digits come.
double magnitude(const WrittenNumber& number) {
    const std::string written = number.magnitude + 'e' + std::to_string(number.exponent);
    double value = 0;
    const auto error = std::from_chars(written.data(), written.data() + written.size(), value).ec;
    if (error != std::errc::result_out_of_range)
        return value;
    return number.overflows() ? std::numeric_limits<double>::infinity() : 0.0;
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
    // The texts the search itself writes, on every pass.
    if (text.empty())
        return 0.0;
    if (text.size() <= 2 && isDigit(text.front()) && isDigit(text.back()))
        return text.size() == 1 ? text[0] - '0' : (text[0] - '0') * 10 + (text[1] - '0');
    const auto number = readNumber(text);
    if (!number)
        return 0.0;
    const double value = magnitude(*number);
    return number->negative ? -value : value;
}

std::optional<double> strictParseAny(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    std::string_view body = text;
    if (!body.empty() && (body.front() == '+' || body.front() == '-'))
        body.remove_prefix(1);
    if (body.empty() || !(isDigit(body.front()) || body.front() == '.'))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (end != body.data() + body.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range))
        return std::nullopt;
    if (error == std::errc::result_out_of_range)
        value = lenientParse(body);
    return text.front() == '-' ? -value : value;
}

std::int32_t roundToInt32(double value) {
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value) || value <= static_cast<double>(lowest))
        return lowest;
    if (value >= static_cast<double>(highest))
        return highest;
    const auto whole = static_cast<std::int32_t>(value);
    if (static_cast<double>(whole) == value)
        return whole;
    const double below = std::floor(value);
    const double fraction = value - below;
    const bool belowIsEven = static_cast<long long>(below) % 2 == 0;
    const bool roundUp = fraction > 0.5 || (fraction == 0.5 && !belowIsEven);
    return static_cast<std::int32_t>(roundUp ? below + 1 : below);
}

} // namespace hexorin
