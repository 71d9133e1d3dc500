#include "text/number_text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

#include "text/strings.h"

namespace rs::text {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

template <class T>
void AppendShortestOf(std::string& out, T value) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    if (res.ec == std::errc{}) {
        out.append(buf, res.ptr);
    } else {
        out += '0';
    }
}

template <class T>
std::string ShortestOf(T value) {
    std::string out;
    AppendShortestOf(out, value);
    return out;
}

// The shape of a number found in a text, kept apart from its conversion so that the tolerant
// and the strict reader share one scanner.
struct Scan {
    std::size_t end = 0;     // one past the last character that belongs to the number
    std::size_t digits = 0;  // mantissa digits, integer and fraction together
    bool negative = false;
    // Decimal position of the leading significant digit, only used to tell an overflow from
    // an underflow when the conversion reports the value as out of range.
    long long magnitude = 0;
};

// Reads [sign] digits [sep digits] [e [sign] digits] starting at `pos`. An exponent marker
// without digits after it is not part of the number ("12e" is 12).
Scan ScanNumber(std::string_view t, std::size_t pos, bool acceptComma) {
    Scan s;
    std::size_t i = pos;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) s.negative = t[i++] == '-';
    long long intSignificant = 0, leadingFracZeros = 0;
    bool seenNonZero = false;
    for (; i < t.size() && IsDigit(t[i]); ++i, ++s.digits) {
        seenNonZero = seenNonZero || t[i] != '0';
        intSignificant += seenNonZero;
    }
    if (i < t.size() && (t[i] == '.' || (acceptComma && t[i] == ','))) {
        ++i;
        for (; i < t.size() && IsDigit(t[i]); ++i, ++s.digits) {
            if (!seenNonZero && t[i] == '0') ++leadingFracZeros;
            seenNonZero = seenNonZero || t[i] != '0';
        }
    }
    s.end = i;
    long long exponent = 0;
    if (s.digits > 0 && i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) expNegative = t[j++] == '-';
        if (j < t.size() && IsDigit(t[j])) {
            for (; j < t.size() && IsDigit(t[j]); ++j) {
                // Saturate: any exponent this large is out of range anyway.
                if (exponent < 1'000'000) exponent = exponent * 10 + (t[j] - '0');
            }
            if (expNegative) exponent = -exponent;
            s.end = j;
        }
    }
    s.magnitude = intSignificant > 0 ? exponent + intSignificant : exponent - leadingFracZeros;
    return s;
}

enum class Range { Ok, Overflow };

// Converts a scanned number; `text` holds only the number, with '.' as separator and no '+'.
// Underflow gives a signed zero; overflow is reported so each reader can handle it its own way.
Range Convert(std::string_view text, const Scan& s, double& value) {
    double v = 0.0;
    const auto res =
        std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        if (s.magnitude > 0) return Range::Overflow;
        v = s.negative ? -0.0 : 0.0;
    } else if (res.ec != std::errc{}) {
        v = 0.0;
    } else if (!std::isfinite(v)) {
        return Range::Overflow;
    }
    value = v;
    return Range::Ok;
}

// Windows-1252 0x80..0x9F; the five bytes Windows leaves undefined map to the C1 controls.
constexpr char32_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Every code in the table lies in the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 character at `i`. Returns its length, or 0 for a byte that does not start a
// well-formed character (overlong forms, surrogates, truncated or beyond U+10FFFF).
std::size_t DecodeUtf8(std::string_view t, std::size_t i, char32_t& cp) {
    const auto b = static_cast<unsigned char>(t[i]);
    std::size_t len = 0;
    char32_t minimum = 0;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
        len = 2, cp = b & 0x1F, minimum = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, cp = b & 0x0F, minimum = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, cp = b & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (len > t.size() - i) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(t[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

char ToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t k = 0; k < 32; ++k) {
        if (kHighTable[k] == cp) return static_cast<char>(0x80 + k);
    }
    return '?';
}

}  // namespace

std::string StrSingle(float value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    std::string out = value < 0 ? "-" : " ";
    if (value == 0) return out + "0";  // -0 shows as " 0": a zero has no sign here

    // Shortest digits and decimal exponent of the leading digit.
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t e = sci.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e && i < sci.size(); ++i) {
        if (sci[i] != '.') digits += sci[i];
    }
    std::size_t expStart = e + 1;
    if (expStart < sci.size() && sci[expStart] == '+') ++expStart;
    int exponent = 0;
    std::from_chars(sci.data() + expStart, sci.data() + sci.size(), exponent);

    const auto n = static_cast<int>(digits.size());
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out += '.';
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else if (exponent + 1 >= n) {
            out += digits;
            out.append(static_cast<std::size_t>(exponent + 1 - n), '0');
        } else {
            const auto p = static_cast<std::size_t>(exponent) + 1;
            out += digits.substr(0, p) + "." + digits.substr(p);
        }
        return out;
    }
    out += digits[0];
    if (n > 1) out += "." + digits.substr(1);
    out += exponent < 0 ? "E-" : "E+";
    const std::string expText = std::to_string(exponent < 0 ? -exponent : exponent);
    if (expText.size() < 2) out += '0';
    return out + expText;
}

std::string ShortestText(float value) {
    return ShortestOf(value);
}
std::string ShortestText(double value) {
    return ShortestOf(value);
}
void AppendShortestText(std::string& out, float value) {
    AppendShortestOf(out, value);
}
void AppendShortestText(std::string& out, double value) {
    AppendShortestOf(out, value);
}

double ReadNumberTolerant(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    const Scan s = ScanNumber(text, start, false);
    if (s.digits == 0) return 0.0;
    // from_chars takes a '-' but not a '+'.
    if (text[start] == '+') ++start;
    double value = 0.0;
    if (Convert(text.substr(start, s.end - start), s, value) == Range::Overflow) {
        return s.negative ? -DBL_MAX : DBL_MAX;
    }
    return value;
}

int ReadIntTolerant(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = std::min(kLimit, value * 10 + (text[i] - '0'));
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::optional<double> ParseTypedNumber(std::string_view text) {
    const std::string_view t = TrimBlanks(text);
    const Scan s = ScanNumber(t, 0, true);
    if (s.digits == 0 || s.end != t.size()) return std::nullopt;
    std::string normal(t.substr(!t.empty() && t[0] == '+' ? 1 : 0));
    for (char& c : normal) {
        if (c == ',') c = '.';
    }
    double value = 0.0;
    if (Convert(normal, s, value) == Range::Overflow) return std::nullopt;
    return value;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHighTable[b - 0x80] : char32_t{b});
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(text, i, cp);
        if (len == 0) {
            out += '?';  // each byte of a malformed sequence stands for itself
            ++i;
        } else {
            out += ToCp1252(cp);
            i += len;
        }
    }
    return out;
}

namespace {

bool IsUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int more = 0;
        unsigned int least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            more = 1, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, least = 0x10000;
        } else {
            return false;
        }
        if (s.size() - i <= static_cast<std::size_t>(more)) return false;  // cut short
        unsigned int code = c & (0x3Fu >> more);
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((d & 0xC0) != 0x80) return false;
            code = (code << 6) | (d & 0x3Fu);
        }
        // Overlong forms, surrogates and code points beyond Unicode are no UTF-8.
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

}  // namespace

std::string TextFileToUtf8(std::string_view bytes) {
    return IsUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

}  // namespace rs::text
