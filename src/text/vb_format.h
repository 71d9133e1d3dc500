#pragma once
// Number-to-text formatting with the classic VB "Format" pattern language, the one place every
// displayed number goes through.
#include <string>
#include <string_view>

namespace rs::text {

// Formats a double. The value is first turned into its shortest exact decimal text, and all
// rounding (half away from zero) happens on those decimal digits, so 1.005 with "0.00" gives
// "1.01" as a user reading the value expects.
//
// Supported pattern features: digit placeholders '0' (always shown) and '#' (shown when
// significant), one decimal point, literal text before and after the number ("mm", "nm",
// "lp/mm*", "]" ...), quoted literals and backslash escapes, "%" (value times 100),
// scientific notation "E+", "E-", "e+", "e-" followed by exponent placeholders, and up to three
// sections "positive;negative;zero". A negative value formatted with a single section gets a
// leading "-"; a value that rounds to zero is never shown with a minus sign.
// Non-finite values give "NaN", "Infinity" or "-Infinity".
// An empty pattern (or empty positive section) gives the shortest digits in plain notation for
// 1e-5 <= |x| < 1e15 ("0.25", "-7") and as "1e+20" outside. An empty negative or zero section
// falls back to the positive one; sections after the third are ignored. "%" multiplies by 100
// once per section, however often it appears.
std::string Format(double value, std::string_view pattern);

// The same for a single-precision value: rounding works on the shortest decimal text of the
// single, so 2.675f with "0.00" gives "2.68" rather than the "2.67" of its binary expansion.
std::string FormatSingle(float value, std::string_view pattern);

}  // namespace rs::text
