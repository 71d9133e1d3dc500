#include "text/vb_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

namespace rs::text {
namespace {

struct Case {
    double value;
    const char* pattern;
    const char* expected;
};

template <std::size_t N>
void ExpectAll(const Case (&cases)[N]) {
    for (const Case& c : cases) {
        EXPECT_EQ(Format(c.value, c.pattern), c.expected)
            << "value " << c.value << " pattern \"" << c.pattern << '"';
    }
}

// clang-format off
TEST(Format, PlaceholdersAndDecimalRounding) {
    // 1.005 and 0.125 sit on or below the half in binary; rounding must use the decimal text.
    const Case cases[] = {
        {200, "0.0#", "200.0"}, {0.0066617, "0.0###", "0.0067"}, {-12.5, "0.0#", "-12.5"},
        {546.5, "0", "547"}, {-2.5, "0", "-3"}, {0.5, "#.##", ".5"}, {0, "#.##", "."},
        {5, "0.##", "5."}, {1.005, "0.00", "1.01"}, {0.125, "0.00", "0.13"},
        {9.996, "0.00", "10.00"}, {5, "000", "005"}, {12345, "00", "12345"},
        {1e20, "0.0#", "100000000000000000000.0"}, {12.5, ".00", "12.50"},
        {0.0004, "0.000", "0.000"}, {4.9e-324, "0.0", "0.0"}};
    ExpectAll(cases);
}

TEST(Format, SectionsAndSign) {
    // A negative value rounding to zero falls back to the positive section; only an exact zero
    // takes the zero section; an empty negative section means "positive section with '-'".
    const Case cases[] = {
        {-12.5, " 0.0#;-0.0#", "-12.5"}, {12.5, " 0.0#;-0.0#", " 12.5"},
        {-12.5, "0.0;(0.0)", "(12.5)"}, {-0.001, " 0.0#;-0.0#", " 0.0"}, {-0.001, "0.0", "0.0"},
        {-0.0, "0.0", "0.0"}, {0, "0.0;-0.0;\"zero\"", "zero"}, {-0.001, "0.0;-0.0;zero", "0.0"},
        {-5, "0.0;", "-5.0"}, {-5, "x0", "x-5"}, {-5, "##0", "-5"}, {-0.5, "#.##", "-.5"},
        {0, "0;1;z;w", "z"}};
    ExpectAll(cases);
}

TEST(Format, LiteralsEscapesAndUnicode) {
    const Case cases[] = {
        {12.3456, "0.0##mm", "12.346mm"}, {546.1, "0nm", "546nm"}, {3.25, "0.0###]", "3.25]"},
        {3.25, "0.0]", "3.3]"}, {40, " 0lp/mm*", " 40lp/mm*"}, {2, "max 0x Gradl", "max 2x Gradl"},
        {1.5, "\"0;%.e+0\"0.0", "0;%.e+01.5"}, {1.5, "\\0\\#0.0\\", "0#1.5"},
        {1.5, "\"open 0", "open 0"}, {2.5, "Vergrößerung 0.0×", "Vergrößerung 2.5×"},
        {2.5, "\xC3 0 \xFF", "\xC3 3 \xFF"}, {7, "abc", "abc"}, {-7, "abc", "-abc"},
        {7, "0 e+x", "7 e+x"}, {7, "", "7"}, {-0.25, "", "-0.25"}, {1e20, "", "1e+20"},
        {1e-7, "", "1e-07"}};
    ExpectAll(cases);
}

TEST(Format, PercentAndScientific) {
    // 0.29 * 100 is 28.999999999999996 in binary: percent must shift the decimal point instead.
    const Case cases[] = {
        {0.05, "0%", "5%"}, {0.4142, "0.0%", "41.4%"}, {0.29, "0%", "29%"},
        {-0.005, "0.0 %", "-0.5 %"}, {12345, "0.0#e+0#", "1.23e+4"}, {12345, "0.00e+0", "1.23e+4"},
        {12345, "0.0e+00", "1.2e+04"}, {12345, "0.0E-0", "1.2E4"}, {0.000123, "0.0e-0", "1.2e-4"},
        {0.000123, "0.0e+00mm", "1.2e-04mm"}, {9.999, "0.0e+0", "1.0e+1"},
        {0, "0.00e+0", "0.00e+0"}, {-0.00123, " 0.00e+0;-0.00e+0", "-1.23e-3"},
        {-12345, "0.0e+0", "-1.2e+4"}, {12345, "00.0e+0", "12.3e+3"},
        {12345, ".00e+00", ".12e+05"}, {0.05, "0.0e+0%", "5.0e+0%"},
        {1e300, "0.0e+0", "1.0e+300"}, {4.9e-324, "0.0e+000", "5.0e-324"}};
    ExpectAll(cases);
}
// clang-format on

TEST(Format, SingleAndNonFinite) {
    EXPECT_EQ(FormatSingle(2.675f, "0.00"), "2.68");
    EXPECT_EQ(FormatSingle(0.1f, "0.000000000"), "0.100000000");
    EXPECT_EQ(FormatSingle(-1e20f, "0"), "-100000000000000000000");
    EXPECT_EQ(FormatSingle(1e-30f, "0.0"), "0.0");
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
