#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "text/number_text.h"
#include "text/vb_format.h"

namespace rs::text {
namespace {

constexpr double kInf = HUGE_VAL;

// clang-format off
TEST(NumberText, StrSingle) {
    const struct { float value; const char* expected; } cases[] = {
        {632.8f, " 632.8"}, {0.5f, " .5"}, {-0.0f, " 0"}, {-1e20f, "-1E+20"}, {1.5e-7f, " 1.5E-07"},
        {1e-5f, " .00001"}, {1e14f, " 100000000000000"}, {1e15f, " 1E+15"},
        {FLT_MAX, " 3.4028235E+38"}, {HUGE_VALF, "Infinity"}};
    for (const auto& c : cases) EXPECT_EQ(StrSingle(c.value), c.expected) << c.value;
    EXPECT_EQ(StrSingle(std::nanf("")), "NaN");
}

TEST(NumberText, ReadNumberTolerant) {
    const struct { const char* text; double expected; } cases[] = {
        {"abc", 0}, {"-.5x", -0.5}, {"1.5|True", 1.5}, {" \t+7", 7}, {"12e+", 12},
        {"12E-2mm", 0.12}, {"1,5", 1}, {"- 5", 0}, {"inf", 0}, {"1e400", DBL_MAX},
        {"-9e99999999999", -DBL_MAX}, {"1e-400", 0}, {"0.001e310", 1e307}, {"1000e306", DBL_MAX}};
    for (const auto& c : cases) EXPECT_EQ(ReadNumberTolerant(c.text), c.expected) << c.text;
    EXPECT_TRUE(std::signbit(ReadNumberTolerant("-0")));
}

TEST(NumberText, ParseTypedNumber) {
    const std::optional<double> none;
    const struct { const char* text; std::optional<double> expected; } cases[] = {
        {"  -1,5 ", -1.5}, {"3.", 3.0}, {".5", 0.5}, {"+2e3", 2000.0}, {"1e-999", 0.0},
        {"  ", none}, {"1.2.3", none}, {"1.5,2", none}, {"12mm", none}, {"nan", none}, {"0x10", none},
        {"1e999", none}, {"1e", none}, {".", none}, {"- 1", none}, {"++1", none}};
    for (const auto& c : cases) EXPECT_EQ(ParseTypedNumber(c.text), c.expected) << c.text;
}

TEST(NumberText, CodePage1252) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(byte)), byte) << b;
    }
    EXPECT_EQ(Cp1252ToUtf8("Vergr\xF6\xDF" "e \x80\x81"), "Vergröße €\xC2\x81");
    // Characters without a code give one '?'; malformed UTF-8 (truncated, overlong, surrogate,
    // beyond U+10FFFF, stray bytes) gives one '?' per byte.
    const struct { std::string utf8, expected; } lossy[] = {
        {"a→b", "a?b"}, {"😀", "?"}, {"\xC2\x80", "?"}, {"x\xE2\x82", "x??"}, {"\xC0\xAF", "??"},
        {"\xED\xA0\x80", "???"}, {"\xF4\x90\x80\x80", "????"}, {"\x80\xFF", "??"}};
    for (const auto& l : lossy) EXPECT_EQ(Utf8ToCp1252(l.utf8), l.expected) << l.utf8;
}

TEST(Format, TrickyPatterns) {
    const struct { double value; const char* pattern; const char* expected; } cases[] = {
        // Rounding half away from zero on the decimal text: 1.005 and 0.125 lie on or below the
        // half in binary.
        {1.005, "0.00", "1.01"}, {0.125, "0.00", "0.13"}, {-2.5, "0", "-3"},
        {9.996, "0.00", "10.00"}, {0.5, "#.##", ".5"}, {0, "#.##", "."}, {5, "000", "005"},
        {12345, "00", "12345"}, {12.5, ".00", "12.50"},
        {1e20, "0.0#", "100000000000000000000.0"}, {4.9e-324, "0.0", "0.0"},
        // A negative value rounding to zero takes the positive section; only an exact zero
        // takes the zero section; an empty negative section means the positive one with '-'.
        {-12.5, " 0.0#;-0.0#", "-12.5"}, {-12.5, "0.0;(0.0)", "(12.5)"},
        {-0.001, " 0.0#;-0.0#", " 0.0"}, {0, "0.0;-0.0;\"zero\"", "zero"},
        {-0.001, "0.0;-0.0;zero", "0.0"}, {-5, "0.0;", "-5.0"}, {-0.001, "0.0", "0.0"},
        {-0.0, "0.0", "0.0"}, {-5, "x0", "x-5"}, {-5, "##0", "-5"}, {0, "0;1;z;w", "z"},
        // Literals, quotes, escapes, bytes that are no UTF-8, the empty pattern.
        {12.3456, "0.0##mm", "12.346mm"}, {1.5, "\"0;%.e+0\"0.0", "0;%.e+01.5"},
        {1.5, "\\0\\#0.0\\", "0#1.5"}, {1.5, "\"open 0", "open 0"},
        {2.5, "Vergrößerung 0.0×", "Vergrößerung 2.5×"}, {2.5, "\xC3 0 \xFF", "\xC3 3 \xFF"},
        {-7, "abc", "-abc"}, {7, "0 e+x", "7 e+x"}, {-0.25, "", "-0.25"}, {1e-7, "", "1e-07"},
        // Percent shifts the decimal point (0.29 * 100 is 28.999... in binary); scientific.
        {0.29, "0%", "29%"}, {-0.005, "0.0 %", "-0.5 %"}, {12345, "0.0#e+0#", "1.23e+4"},
        {12345, "0.0E-0", "1.2E4"}, {0.000123, "0.0e-0", "1.2e-4"}, {9.999, "0.0e+0", "1.0e+1"},
        {-0.00123, " 0.00e+0;-0.00e+0", "-1.23e-3"}, {12345, "00.0e+0", "12.3e+3"},
        {12345, ".00e+00", ".12e+05"}, {0.05, "0.0e+0%", "5.0e+0%"},
        {1e300, "0.0e+0", "1.0e+300"}, {4.9e-324, "0.0e+000", "5.0e-324"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Format(c.value, c.pattern), c.expected) << c.value << " \"" << c.pattern << '"';
    }
}
// clang-format on

TEST(Format, SingleAndNonFinite) {
    EXPECT_EQ(FormatSingle(2.675f, "0.00"), "2.68");
    EXPECT_EQ(FormatSingle(0.1f, "0.000000000"), "0.100000000");
    for (const char* pattern : {"0.0", "", " 0;-0"}) {
        EXPECT_EQ(Format(std::nan(""), pattern), "NaN");
        EXPECT_EQ(Format(kInf, pattern), "Infinity");
        EXPECT_EQ(FormatSingle(-HUGE_VALF, pattern), "-Infinity");
    }
}

// Awkward values and patterns must give text without crashing, and with a single section a
// negative value reads as the positive text with one '-' inserted (or the same text at zero).
TEST(Format, AwkwardInputsStayWellDefined) {
    const double values[] = {0.0, 1e300, 1e-300, 4.9e-324, DBL_MAX, 0.5, 9.5};
    const char* patterns[] = {"",  ";", "\\",     "\"",       "e+",        "0e+",
                              ".", "%", "#.#e-#", "\xE2\x82", "0.0e+0e+0", "000000.000000"};
    for (const char* pattern : patterns) {
        for (const double v : values) {
            const std::string pos = Format(v, pattern);
            std::string neg = Format(-v, pattern);
            if (std::string(pattern).find(';') != std::string::npos || neg == pos) continue;
            ASSERT_NE(neg.find('-'), std::string::npos) << pattern << ' ' << v;
            EXPECT_EQ(neg.erase(neg.find('-'), 1), pos) << pattern << ' ' << v;
        }
    }
}

// Exact round trip, sign of zero included, over edge values and random finite bit patterns.
TEST(NumberText, ShortestTextReadsBackExactly) {
    EXPECT_EQ(ShortestText(-1e20f), "-1e+20");
    EXPECT_EQ(ShortestText(200.0), "200");
    std::mt19937_64 random(20240611);
    std::vector<double> doubles = {0.0, -0.0, DBL_MAX, -DBL_MAX, DBL_MIN, 4.9e-324, 0.1, 1e23};
    std::vector<float> floats = {0.0f, -0.0f, FLT_MAX, FLT_MIN, 1e-45f, 0.1f, 3e-39f};
    while (doubles.size() < 20000) {
        if (const auto d = std::bit_cast<double>(random()); std::isfinite(d)) doubles.push_back(d);
        const auto f = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (std::isfinite(f)) floats.push_back(f);
    }
    for (const double d : doubles) {
        const double back = ReadNumberTolerant(ShortestText(d));
        ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(d)) << d;
    }
    for (const float f : floats) {
        const auto back = static_cast<float>(ReadNumberTolerant(ShortestText(f)));
        ASSERT_EQ(std::bit_cast<std::uint32_t>(back), std::bit_cast<std::uint32_t>(f)) << f;
    }
}

}  // namespace
}  // namespace rs::text
