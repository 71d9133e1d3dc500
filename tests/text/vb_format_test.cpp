#include "text/vb_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace rs::text {
namespace {

// clang-format off
TEST(Format, TrickyPatterns) {
    const struct { double value; const char* pattern; const char* expected; } cases[] = {
        // Rounding half away from zero on the decimal text: 1.005 and 0.125 lie on or below the
        // half in binary.
        {1.005, "0.00", "1.01"}, {0.125, "0.00", "0.13"}, {-2.5, "0", "-3"},
        {9.996, "0.00", "10.00"}, {0.0066617, "0.0###", "0.0067"}, {0.5, "#.##", ".5"},
        {0, "#.##", "."}, {5, "000", "005"}, {12345, "00", "12345"}, {12.5, ".00", "12.50"},
        {1e20, "0.0#", "100000000000000000000.0"}, {4.9e-324, "0.0", "0.0"},
        // A negative value rounding to zero takes the positive section; only an exact zero
        // takes the zero section; an empty negative section means the positive one with '-'.
        {-12.5, " 0.0#;-0.0#", "-12.5"}, {12.5, " 0.0#;-0.0#", " 12.5"},
        {-12.5, "0.0;(0.0)", "(12.5)"}, {-0.001, " 0.0#;-0.0#", " 0.0"}, {-0.001, "0.0", "0.0"},
        {0, "0.0;-0.0;\"zero\"", "zero"}, {-0.001, "0.0;-0.0;zero", "0.0"}, {-5, "0.0;", "-5.0"},
        {-0.0, "0.0", "0.0"}, {-5, "x0", "x-5"}, {-5, "##0", "-5"}, {0, "0;1;z;w", "z"},
        // Literals, quotes, escapes, bytes that are no UTF-8, the empty pattern.
        {12.3456, "0.0##mm", "12.346mm"}, {3.25, "0.0]", "3.3]"},
        {1.5, "\"0;%.e+0\"0.0", "0;%.e+01.5"}, {1.5, "\\0\\#0.0\\", "0#1.5"},
        {1.5, "\"open 0", "open 0"}, {2.5, "Vergrößerung 0.0×", "Vergrößerung 2.5×"},
        {2.5, "\xC3 0 \xFF", "\xC3 3 \xFF"}, {-7, "abc", "-abc"}, {7, "0 e+x", "7 e+x"},
        {-0.25, "", "-0.25"}, {1e20, "", "1e+20"}, {1e-7, "", "1e-07"},
        // Percent shifts the decimal point (0.29 * 100 is 28.999... in binary); scientific.
        {0.29, "0%", "29%"}, {-0.005, "0.0 %", "-0.5 %"}, {12345, "0.0#e+0#", "1.23e+4"},
        {12345, "0.0e+00", "1.2e+04"}, {12345, "0.0E-0", "1.2E4"}, {0.000123, "0.0e-0", "1.2e-4"},
        {9.999, "0.0e+0", "1.0e+1"}, {0, "0.00e+0", "0.00e+0"},
        {-0.00123, " 0.00e+0;-0.00e+0", "-1.23e-3"}, {12345, "00.0e+0", "12.3e+3"},
        {12345, ".00e+00", ".12e+05"}, {0.05, "0.0e+0%", "5.0e+0%"},
        {1e300, "0.0e+0", "1.0e+300"}, {4.9e-324, "0.0e+000", "5.0e-324"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Format(c.value, c.pattern), c.expected)
            << "value " << c.value << " pattern \"" << c.pattern << '"';
    }
}
// clang-format on

TEST(Format, SingleAndNonFinite) {
    EXPECT_EQ(FormatSingle(2.675f, "0.00"), "2.68");
    EXPECT_EQ(FormatSingle(0.1f, "0.000000000"), "0.100000000");
    EXPECT_EQ(FormatSingle(-1e20f, "0"), "-100000000000000000000");
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (const char* pattern : {"0.0", "", " 0;-0"}) {
        EXPECT_EQ(Format(std::nan(""), pattern), "NaN");
        EXPECT_EQ(Format(inf, pattern), "Infinity");
        EXPECT_EQ(FormatSingle(-std::numeric_limits<float>::infinity(), pattern), "-Infinity");
    }
}

// Awkward values and patterns must give text without crashing, and with a single section a
// negative value reads as the positive text with one '-' inserted (or the same text at zero).
TEST(Format, AwkwardInputsStayWellDefined) {
    const double values[] = {0.0, 1e300, 1e-300, 4.9e-324, 1.7976931348623157e308, 0.5, 9.5};
    const char* patterns[] = {"",       ";",        ";;;",     "\\",        "\"",
                              "e+",     "0e+",      "e+0",     ".",         "%",
                              "#.#e-#", "\xE2\x82", "0;\xFF;", "0.0e+0e+0", "000000.000000"};
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

}  // namespace
}  // namespace rs::text
