// Number texts and the two parses, at their edges.

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>

#include "window/number_text.h"

namespace hexorin {
namespace {

constexpr long long kLongMin = std::numeric_limits<long long>::min();
constexpr long long kLongMax = std::numeric_limits<long long>::max();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr auto kHighest = std::numeric_limits<std::int32_t>::max();
constexpr auto kLowest = std::numeric_limits<std::int32_t>::min();

TEST(NumberTextTest, PlainAndSignedTexts) {
    struct Case {
        long long number;
        const char* plain;
        const char* signedText;
    };
    for (const Case& c :
         {Case{7, "7", " 7"}, Case{-7, "-7", "-7"}, Case{0, "0", " 0"}, Case{12, "12", " 12"},
          Case{-12, "-12", "-12"}, Case{1234567890123, "1234567890123", " 1234567890123"},
          Case{kLongMin, "-9223372036854775808", "-9223372036854775808"},
          Case{kLongMax, "9223372036854775807", " 9223372036854775807"}}) {
        EXPECT_EQ(plainNumberText(c.number), c.plain);
        EXPECT_EQ(signedNumberText(c.number), c.signedText);
    }
}

// The last rows hold bytes that are not ASCII or not valid UTF-8, and very long digit runs.
TEST(NumberTextTest, LenientParseReadsTheLeadingNumber) {
    // clang-format off
    const std::vector<std::pair<std::string, double>> cases{
        {"", 0}, {"  12 ", 12}, {"6.5", 6.5}, {"1 2", 12}, {" 1\t2 . 5 ", 12.5}, {"12abc", 12},
        {"abc", 0}, {"-0", 0}, {"+5", 5}, {"-7", -7}, {".5", 0.5}, {"5.", 5}, {"-", 0}, {".", 0},
        {"1e3", 1}, {"1E-2", 1}, {"2D+1", 2}, {"+-5", 0}, {"- 5", -5}, {"1,5", 1},
        {"1.5.5", 1.5}, {"0x10", 0}, {"nan", 0}, {"NaN", 0}, {"inf", 0}, {"-infinity", 0},
        {"0.1", 0.1}, {"123456789012345678", 123456789012345678.0},
        {"17976931348623157" + std::string(292, '0'), std::numeric_limits<double>::max()},
        {"-" + std::string(400, '9'), -kInf},
        {"\xff\xfe", 0}, {"\xc3\xa4+12", 0}, {"7\xc3\xa4", 7}, {"8\x80\x81", 8},
        {std::string(10'000, '9'), kInf}, {"0." + std::string(10'000, '0') + "1", 0}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        const double value = lenientParse(text);
        EXPECT_FALSE(std::isnan(value)) << text.substr(0, 40);
        EXPECT_EQ(value, expected) << text.substr(0, 40);
    }
}

TEST(NumberTextTest, LongDigitRunsStayDefined) {
    for (const std::string& text : {std::string(10'000, '1'), "1" + std::string(300, '0'),
                                    "0." + std::string(300, '0') + "5"}) {
        const double value = lenientParse(text);
        EXPECT_FALSE(std::isnan(value)) << text.size();
        EXPECT_GT(value, 0) << text.size();
    }
    EXPECT_EQ(lenientParse("1" + std::string(300, '0')), 1e300);
    EXPECT_EQ(lenientParse("0." + std::string(300, '0') + "5"), 5e-301);
}

TEST(NumberTextTest, StrictParseAcceptsOnlyWholeNumbers) {
    struct Case {
        const char* text;
        std::optional<double> expected;
    };
    for (const Case& c :
         {Case{"0", 0.0}, Case{"1", 1.0}, Case{"-1", -1.0}, Case{" 1 ", 1.0}, Case{"+1", 1.0},
          Case{"2", 2.0}, Case{"", std::nullopt}, Case{" ", std::nullopt}, Case{"1x", std::nullopt},
          Case{"abc", std::nullopt}, Case{"inf", std::nullopt}, Case{"nan", std::nullopt},
          Case{"-", std::nullopt}, Case{"1 2", std::nullopt}, Case{"--1", std::nullopt},
          Case{".", std::nullopt}, Case{"1e3", std::nullopt}, Case{"1.5.", std::nullopt}}) {
        EXPECT_EQ(strictParse(c.text), c.expected) << '"' << c.text << '"';
    }
    // A tag allows its number when it reads as a number other than 0, with or without the fast
    // path for one digit.
    for (const auto& [tag, allows] : {std::pair{"1", true},
                                      {"0", false},
                                      {"9", true},
                                      {"00", false},
                                      {" 0", false},
                                      {"0.5", true},
                                      {"-1", true},
                                      {"", false},
                                      {"x", false},
                                      {"1x", false}}) {
        EXPECT_EQ(tagAllows(tag), allows) << '"' << tag << '"';
    }
}

TEST(NumberTextTest, RoundsHalvesToEvenAndSaturates) {
    struct Case {
        double value;
        std::int32_t expected;
    };
    for (const Case& c :
         {Case{26.5, 26}, Case{27.5, 28}, Case{-0.5, 0}, Case{-1.5, -2}, Case{-2.5, -2},
          Case{0.5, 0}, Case{1.5, 2}, Case{2.4999, 2}, Case{2.5001, 3}, Case{-2.6, -3},
          Case{26, 26}, Case{1e300, kHighest}, Case{-1e300, kLowest}, Case{kInf, kHighest},
          Case{-kInf, kLowest}, Case{std::nan(""), kLowest}, Case{2147483646.5, 2147483646},
          Case{2147483647.4, kHighest}, Case{-2147483648.4, kLowest}}) {
        EXPECT_EQ(roundToInt32(c.value), c.expected) << c.value;
    }
}

} // namespace
} // namespace hexorin
