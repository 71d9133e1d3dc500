#pragma once
// Number texts other than pattern formatting: the plain single-to-text conversion, the exact
// round-trip texts of the settings file, the two number readers, and the code-page conversion
// of the settings file.
#include <optional>
#include <string>
#include <string_view>

namespace rs::text {

// VB "Str" of a single: a leading blank for non-negative numbers ("-" otherwise), then the
// shortest digits that read back as the same single; a leading zero before the point is
// dropped (" .5"); exponent form (" 1E+20", " 1.5E-07") outside 1e-5 <= |x| < 1e15.
// -0 gives " 0"; non-finite values give "NaN", "Infinity", "-Infinity".
std::string StrSingle(float value);

// Shortest text that reads back as exactly the same value, with a point and without a leading
// blank ("200", "-0.5", "1e+20"); used for numbers stored in files.
std::string ShortestText(float value);
std::string ShortestText(double value);
// The same text appended to `out`: a table of millions of numbers needs no string for each.
void AppendShortestText(std::string& out, float value);
void AppendShortestText(std::string& out, double value);

// The settings reader: optional blanks, optional sign, digits, optional point and digits,
// optional exponent; stops at the first other character. Text that does not start with a
// number reads as 0. Never returns a non-finite value (overflow clamps to +-DBL_MAX).
double ReadNumberTolerant(std::string_view text);

// A leading decimal integer (blanks, optional sign, digits; stops at the first other
// character): "12abc" reads 12, text without digits reads 0; clamps to the int range.
int ReadIntTolerant(std::string_view text);

// The strict test for typed values: blanks around, optional sign, digits with one decimal
// separator (point or comma), optional exponent; nothing else. Returns nothing for any other
// text, and for numbers that overflow a double (an underflow gives zero).
std::optional<double> ParseTypedNumber(std::string_view text);

// Windows-1252 <-> UTF-8. Bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D map to U+0081.. as Windows does;
// characters without a Windows-1252 code (and malformed UTF-8) become '?'.
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);
// A text file of either encoding as UTF-8: valid UTF-8 stays as it is, anything else is read as
// Windows-1252.
std::string TextFileToUtf8(std::string_view bytes);

}  // namespace rs::text
