#include "text/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace rs::text {
namespace {

// clang-format off
TEST(NumberText, StrSingle) {
    const struct { float value; const char* expected; } cases[] = {
        {632.8f, " 632.8"}, {0.5f, " .5"}, {-0.0f, " 0"}, {-1e20f, "-1E+20"},
        {1.5e-7f, " 1.5E-07"}, {1e-5f, " .00001"}, {-0.0625f, "-.0625"},
        {1e14f, " 100000000000000"}, {1e15f, " 1E+15"}, {FLT_MAX, " 3.4028235E+38"},
        {std::numeric_limits<float>::infinity(), "Infinity"}};
    for (const auto& c : cases) EXPECT_EQ(StrSingle(c.value), c.expected) << c.value;
    EXPECT_EQ(StrSingle(std::nanf("")), "NaN");
}

TEST(NumberText, ReadNumberTolerant) {
    const struct { const char* text; double expected; } cases[] = {
        {"abc", 0}, {"", 0}, {".", 0}, {"-", 0}, {"-.5x", -0.5}, {"1.5|True", 1.5},
        {" \t+7", 7}, {"12e", 12}, {"12e+", 12}, {"12E-2mm", 0.12}, {"3.e1", 30}, {"1,5", 1},
        {"- 5", 0}, {"inf", 0}, {"nan", 0}, {"0x10", 0}, {"1e400", DBL_MAX},
        {"-9e99999999999", -DBL_MAX}, {"1e-400", 0}, {"0.001e310", 1e307},
        {"1000e306", DBL_MAX}, {"0.01e-330", 0}};
    for (const auto& c : cases) EXPECT_EQ(ReadNumberTolerant(c.text), c.expected) << c.text;
    EXPECT_TRUE(std::signbit(ReadNumberTolerant("-0")));
}

TEST(NumberText, ParseTypedNumber) {
    const std::optional<double> none;
    const struct { const char* text; std::optional<double> expected; } cases[] = {
        {"  -1,5 ", -1.5}, {"3.", 3.0}, {".5", 0.5}, {"+2e3", 2000.0}, {"\t7\t", 7.0},
        {"1e-999", 0.0}, {"", none}, {"  ", none}, {"1.2.3", none}, {"1.5,2", none},
        {"12mm", none}, {"inf", none}, {"nan", none}, {"0x10", none}, {"1e999", none},
        {"1e", none}, {".", none}, {"- 1", none}, {"1 2", none}, {"++1", none}};
    for (const auto& c : cases) EXPECT_EQ(ParseTypedNumber(c.text), c.expected) << c.text;
}

TEST(NumberText, CodePage1252) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(byte)), byte) << b;
    }
    const struct { const char* cp1252; const char* utf8; } pairs[] = {
        {"\x80", "€"}, {"\x9F", "Ÿ"}, {"\x81", "\xC2\x81"}, {"\xA0", "\xC2\xA0"},
        {"Vergr\xF6\xDF" "erung: ", "Vergrößerung: "}};
    for (const auto& p : pairs) {
        EXPECT_EQ(Cp1252ToUtf8(p.cp1252), p.utf8);
        EXPECT_EQ(Utf8ToCp1252(p.utf8), p.cp1252);
    }
    // Characters without a code give one '?'; malformed UTF-8 (truncated, overlong, surrogate,
    // beyond U+10FFFF, stray bytes) gives one '?' per byte.
    const struct { std::string utf8, expected; } lossy[] = {
        {"a→b", "a?b"}, {"😀", "?"}, {"\xC2\x80", "?"}, {"\xE2\x82", "??"}, {"x\xE2", "x?"},
        {"\xC0\xAF", "??"}, {"\xED\xA0\x80", "???"}, {"\xF4\x90\x80\x80", "????"},
        {"\x80\xFF", "??"}, {std::string("a\0b", 3), std::string("a\0b", 3)}};
    for (const auto& l : lossy) EXPECT_EQ(Utf8ToCp1252(l.utf8), l.expected) << l.utf8;
}
// clang-format on

// Exact round trip, sign of zero included, over edge values and random finite bit patterns.
TEST(NumberText, ShortestTextReadsBackExactly) {
    EXPECT_EQ(ShortestText(-1e20f), "-1e+20");
    EXPECT_EQ(ShortestText(200.0), "200");
    EXPECT_EQ(ShortestText(-0.5), "-0.5");
    std::mt19937_64 random(20240611);
    std::vector<double> doubles = {0.0, -0.0, DBL_MAX, -DBL_MAX, DBL_MIN, 4.9e-324, 0.1, 1e23};
    std::vector<float> floats = {0.0f, -0.0f, FLT_MAX, -FLT_MAX, FLT_MIN, 1e-45f, 0.1f, 3e-39f};
    while (doubles.size() < 20000) {
        const auto d = std::bit_cast<double>(random());
        if (std::isfinite(d)) doubles.push_back(d);
        const auto f = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (std::isfinite(f)) floats.push_back(f);
    }
    for (const double d : doubles) {
        const double back = ReadNumberTolerant(ShortestText(d));
        ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(d))
            << ShortestText(d);
    }
    for (const float f : floats) {
        const auto back = static_cast<float>(ReadNumberTolerant(ShortestText(f)));
        ASSERT_EQ(std::bit_cast<std::uint32_t>(back), std::bit_cast<std::uint32_t>(f))
            << ShortestText(f);
    }
}

}  // namespace
}  // namespace rs::text
