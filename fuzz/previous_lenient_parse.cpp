// The decimal converter lenientParse used before it handed the whole number to std::from_chars,
// kept only to compare the two.

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace hexorin::previous {
namespace {

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

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

// The parts of a decimal number as written: digits without the point, where the point stood and a
// decimal exponent.
struct DecimalNumber {
    bool negative = false;
    std::string digits;
    long long integerDigits = 0;
    long long exponent = 0;
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

std::optional<DecimalNumber> readDecimalNumber(std::string_view text) {
    BlankSkippingReader reader(text);
    DecimalNumber number;
    number.negative = reader.take('-');
    if (!number.negative)
        reader.take('+');
    for (; isDigit(reader.peek()); reader.advance(), ++number.integerDigits)
        number.digits.push_back(reader.peek());
    if (reader.take('.'))
        for (; isDigit(reader.peek()); reader.advance())
            number.digits.push_back(reader.peek());
    if (number.digits.empty())
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

// Exact powers of ten: a number of at most 15 digits scaled by one of them is correctly rounded
// by a single multiplication or division.
constexpr std::array<double, 23> kPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

std::optional<double> exactValue(const DecimalNumber& number) {
    if (number.digits.size() > 15)
        return std::nullopt;
    const long long scale =
        number.exponent - (static_cast<long long>(number.digits.size()) - number.integerDigits);
    if (scale < -22 || scale > 22)
        return std::nullopt;
    double mantissa = 0;
    for (const char digit : number.digits)
        mantissa = mantissa * 10 + (digit - '0');
    const double power = kPowersOfTen[static_cast<std::size_t>(scale < 0 ? -scale : scale)];
    return scale < 0 ? mantissa / power : mantissa * power;
}

double convertedValue(const DecimalNumber& number) {
    const std::string written =
        number.digits + "e" +
        std::to_string(number.exponent -
                       (static_cast<long long>(number.digits.size()) - number.integerDigits));
    double value = 0;
    const auto [end, error] = std::from_chars(written.data(), written.data() + written.size(),
                                              value, std::chars_format::scientific);
    if (error != std::errc::result_out_of_range)
        return value;
    // Out of range: infinite when the first significant digit stands left of the point.
    const auto firstSignificant = number.digits.find_first_not_of('0');
    const long long order =
        number.integerDigits + number.exponent - static_cast<long long>(firstSignificant);
    return order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

double magnitude(const DecimalNumber& number) {
    if (number.digits.find_first_not_of('0') == std::string::npos)
        return 0.0;
    if (const auto exact = exactValue(number))
        return *exact;
    return convertedValue(number);
}

} // namespace

double lenientParse(std::string_view text) {
    // The texts the search itself writes, on every pass.
    if (text.empty())
        return 0.0;
    if (text.size() <= 2 && isDigit(text.front()) && isDigit(text.back()))
        return text.size() == 1 ? text[0] - '0' : (text[0] - '0') * 10 + (text[1] - '0');
    const auto number = readDecimalNumber(text);
    if (!number)
        return 0.0;
    const double value = magnitude(*number);
    return number->negative ? -value : value;
}

} // namespace hexorin::previous
