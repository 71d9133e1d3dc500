#include "text/vb_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace rs::text {
namespace {

// The magnitude of a value as decimal digits: |value| = 0.d1 d2 ... dn * 10^point, without
// leading or trailing zeros. Zero has no digits. All rounding works on this form, so what is
// rounded is the decimal text a user would read, never the binary expansion.
struct Decimal {
    std::string digits;
    long long point = 0;

    bool IsZero() const { return digits.empty(); }
};

// Shortest round-trip digits of |value| ("1.005" for 1.005, not 1.00499999999999989...).
template <class T>
Decimal ToDecimal(T value) {
    Decimal d;
    if (value == 0) return d;
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    if (res.ec != std::errc{}) return d;  // cannot happen with this buffer size
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t e = text.find('e');
    if (e == std::string_view::npos) return d;
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.') d.digits.push_back(text[i]);
    }
    // The exponent is "e+XX" / "e-XXX"; from_chars does not take a '+'.
    std::size_t expStart = e + 1;
    if (expStart < text.size() && text[expStart] == '+') ++expStart;
    int exponent = 0;
    std::from_chars(text.data() + expStart, text.data() + text.size(), exponent);
    d.point = exponent + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.point = 0;
    return d;
}

// Keeps the first `keep` significant digits, rounding half away from zero (the digits are a
// magnitude, so "up" is always away from zero). A carry out of the first digit moves the point.
void RoundToDigits(Decimal& d, long long keep) {
    if (d.IsZero() || keep >= static_cast<long long>(d.digits.size())) return;
    if (keep < 0) {
        d = Decimal{};
        return;
    }
    const auto cut = static_cast<std::size_t>(keep);
    const bool up = d.digits[cut] >= '5';
    d.digits.resize(cut);
    if (up) {
        std::size_t i = cut;
        while (i > 0 && d.digits[i - 1] == '9') {
            d.digits[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        } else {
            ++d.digits[i - 1];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.point = 0;
}

// The text used when there is no pattern: the shortest digits, in plain decimal notation for
// ordinary magnitudes (1e-5 <= |x| < 1e15) and as "1.5e+20" outside, like the file texts.
std::string PlainText(const Decimal& d, bool minus) {
    if (d.IsZero()) return "0";
    std::string out = minus ? "-" : "";
    const auto n = static_cast<long long>(d.digits.size());
    if (d.point >= -4 && d.point <= 15) {
        if (d.point <= 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-d.point), '0');
            out += d.digits;
        } else if (d.point >= n) {
            out += d.digits;
            out.append(static_cast<std::size_t>(d.point - n), '0');
        } else {
            const auto p = static_cast<std::size_t>(d.point);
            out += d.digits.substr(0, p);
            out += '.';
            out += d.digits.substr(p);
        }
        return out;
    }
    out += d.digits[0];
    if (n > 1) {
        out += '.';
        out += d.digits.substr(1);
    }
    const long long exponent = d.point - 1;
    out += exponent < 0 ? "e-" : "e+";
    const std::string expDigits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (expDigits.size() < 2) out += '0';
    out += expDigits;
    return out;
}

enum class Kind { Literal, IntDigit, FracDigit, ExpDigit, Point, Percent, Exponent };

struct Token {
    Kind kind;
    std::string text;  // literal text, or the 'e'/'E' of an exponent marker
    char sign = 0;     // '+' or '-' of an exponent marker
};

// One section of a pattern, parsed. Placeholder counts are what the layout needs: the '0'
// counts give the minimum number of digits, the totals the number of places.
struct Section {
    std::vector<Token> tokens;
    long long intPlaces = 0, intZeros = 0;
    long long fracPlaces = 0, fracZeros = 0;
    long long expPlaces = 0, expZeros = 0;
    bool hasPoint = false, hasExponent = false, percent = false;
    bool empty = true;  // nothing at all was written for this section

    void AddLiteral(std::string_view text) {
        if (!tokens.empty() && tokens.back().kind == Kind::Literal) {
            tokens.back().text += text;
        } else {
            tokens.push_back({Kind::Literal, std::string(text)});
        }
    }
    bool ShowsNumber() const { return intPlaces + fracPlaces > 0 || hasPoint; }
};

bool IsPlaceholder(char c) {
    return c == '0' || c == '#';
}

// Splits the pattern into at most three sections; text after a third ';' is ignored. Quotes and
// backslashes protect every character, ';' included. All syntax characters are ASCII, so the
// bytes of UTF-8 text in literals pass through untouched.
std::vector<Section> ParsePattern(std::string_view p) {
    std::vector<Section> sections(1);
    for (std::size_t i = 0; i < p.size(); ++i) {
        Section& s = sections.back();
        const char c = p[i];
        if (c == ';') {
            if (sections.size() == 3) break;
            sections.emplace_back();
            continue;
        }
        s.empty = false;
        if (c == '"') {
            const std::size_t close = p.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? p.size() : close;
            s.AddLiteral(p.substr(i + 1, end - i - 1));
            i = end;  // an unterminated quote runs to the end of the pattern
        } else if (c == '\\') {
            if (i + 1 < p.size()) s.AddLiteral(p.substr(++i, 1));
        } else if (IsPlaceholder(c)) {
            const bool zero = c == '0';
            if (s.hasExponent) {
                s.tokens.push_back({Kind::ExpDigit, {}});
                ++s.expPlaces;
                s.expZeros += zero;
            } else if (s.hasPoint) {
                s.tokens.push_back({Kind::FracDigit, {}});
                ++s.fracPlaces;
                s.fracZeros += zero;
            } else {
                s.tokens.push_back({Kind::IntDigit, {}});
                ++s.intPlaces;
                s.intZeros += zero;
            }
        } else if (c == '.' && !s.hasPoint && !s.hasExponent) {
            s.tokens.push_back({Kind::Point, {}});
            s.hasPoint = true;
        } else if (c == '%') {
            s.tokens.push_back({Kind::Percent, {}});
            s.percent = true;
        } else if ((c == 'e' || c == 'E') && !s.hasExponent && i + 2 < p.size() &&
                   (p[i + 1] == '+' || p[i + 1] == '-') && IsPlaceholder(p[i + 2])) {
            s.tokens.push_back({Kind::Exponent, std::string(1, c), p[i + 1]});
            s.hasExponent = true;
            ++i;
        } else {
            s.AddLiteral(p.substr(i, 1));
        }
    }
    return sections;
}

// Puts a digit string onto `places` right-aligned placeholders: the first placeholder takes
// every digit that does not fit, placeholders left of the digits show nothing.
std::string DigitsFor(const std::string& digits, long long places, long long index) {
    const auto len = static_cast<long long>(digits.size());
    if (index == 0) {
        const long long count = len - places + 1;
        return count > 0 ? digits.substr(0, static_cast<std::size_t>(count)) : std::string();
    }
    const long long at = len - places + index;
    return at >= 0 ? std::string(1, digits[static_cast<std::size_t>(at)]) : std::string();
}

std::string PadLeft(std::string s, long long width) {
    if (static_cast<long long>(s.size()) < width) {
        s.insert(0, static_cast<std::size_t>(width - static_cast<long long>(s.size())), '0');
    }
    return s;
}

struct Rendered {
    std::string text;
    bool zero;  // the shown number is zero after rounding
};

// Rounds `d` to what the section can show and returns the exponent to write (0 without an
// exponent marker). With an exponent the mantissa is normalised to as many integer digits as
// integer placeholders; rounding keeps a fixed count of significant digits, and a carry
// (9.99 -> 10.0) only moves the point, so normalising after rounding handles it.
long long RoundForSection(const Section& s, Decimal& d) {
    if (!s.hasExponent) {
        RoundToDigits(d, d.point + s.fracPlaces);
        return 0;
    }
    RoundToDigits(d, s.intPlaces + s.fracPlaces);
    if (d.IsZero()) return 0;
    const long long exponent = d.point - s.intPlaces;
    d.point = s.intPlaces;
    return exponent;
}

// The rounded magnitude split into what each kind of placeholder shows.
struct Layout {
    Decimal d;
    long long exponent = 0;
    std::string intDigits;  // padded to the '0' integer placeholders
    long long fracShown =
        0;                  // fraction digits written: the '0' ones, or more if the value has them
    std::string expDigits;  // padded to the '0' exponent placeholders

    char FracDigit(long long j) const {
        const long long at = d.point + j;
        const auto len = static_cast<long long>(d.digits.size());
        return at >= 0 && at < len ? d.digits[static_cast<std::size_t>(at)] : '0';
    }
};

Layout LayOut(const Section& s, Decimal d, long long exponent) {
    Layout l;
    const auto len = static_cast<long long>(d.digits.size());
    if (d.point > 0) {
        l.intDigits = d.digits.substr(0, static_cast<std::size_t>(std::min(d.point, len)));
        if (d.point > len) l.intDigits.append(static_cast<std::size_t>(d.point - len), '0');
    }
    l.intDigits = PadLeft(std::move(l.intDigits), s.intZeros);
    l.fracShown = std::max(s.fracZeros, len - d.point);
    l.expDigits = PadLeft(std::to_string(exponent < 0 ? -exponent : exponent), s.expZeros);
    l.exponent = exponent;
    l.d = std::move(d);
    return l;
}

// Writes the section's tokens with the laid-out digits. The '-' goes right before the first
// part of the number, or in front of everything when the section shows no number at all.
std::string WriteTokens(const Section& s, const Layout& l, bool minus) {
    std::string out;
    bool signDone = !minus;
    if (!signDone && !s.ShowsNumber()) {
        out += '-';
        signDone = true;
    }
    long long intIndex = 0, fracIndex = 0, expIndex = 0;
    for (const Token& t : s.tokens) {
        const bool numberPart =
            t.kind == Kind::IntDigit || t.kind == Kind::FracDigit || t.kind == Kind::Point;
        if (numberPart && !signDone) {
            out += '-';
            signDone = true;
        }
        switch (t.kind) {
            case Kind::Literal:
                out += t.text;
                break;
            case Kind::IntDigit:
                out += DigitsFor(l.intDigits, s.intPlaces, intIndex++);
                break;
            case Kind::FracDigit:
                if (fracIndex < l.fracShown) out += l.FracDigit(fracIndex);
                ++fracIndex;
                break;
            case Kind::ExpDigit:
                out += DigitsFor(l.expDigits, s.expPlaces, expIndex++);
                break;
            case Kind::Point:
                // Without integer placeholders the integer digits still have to appear.
                if (s.intPlaces == 0) out += l.intDigits;
                out += '.';
                break;
            case Kind::Percent:
                out += '%';
                break;
            case Kind::Exponent:
                out += t.text;
                if (l.exponent < 0) {
                    out += '-';
                } else if (t.sign == '+') {
                    out += '+';
                }
                break;
        }
    }
    return out;
}

// Formats the magnitude `d` with one section; `minus` asks for a '-' in front of the number,
// which is dropped when the number rounds to zero.
Rendered Render(const Section& s, Decimal d, bool minus) {
    if (s.empty) return {PlainText(d, minus && !d.IsZero()), d.IsZero()};
    // Percent shifts the decimal point rather than multiplying the binary value by 100.
    if (s.percent && !d.IsZero()) d.point += 2;
    const long long exponent = RoundForSection(s, d);
    const bool zero = d.IsZero();
    return {WriteTokens(s, LayOut(s, std::move(d), exponent), minus && !zero), zero};
}

std::string FormatDecimal(bool negative, const Decimal& d, std::string_view pattern) {
    const std::vector<Section> sections = ParsePattern(pattern);
    if (d.IsZero() && sections.size() == 3 && !sections[2].empty) {
        return Render(sections[2], d, false).text;
    }
    if (negative && sections.size() >= 2 && !sections[1].empty) {
        // The negative section writes its own sign as literal text. If the value rounds to zero
        // there, show the positive section's zero instead so no "-0.0" appears.
        Rendered r = Render(sections[1], d, false);
        if (!r.zero) return r.text;
        return Render(sections[0], Decimal{}, false).text;
    }
    return Render(sections[0], d, negative).text;
}

template <class T>
std::string FormatValue(T value, std::string_view pattern) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    return FormatDecimal(value < 0, ToDecimal(value), pattern);
}

}  // namespace

std::string Format(double value, std::string_view pattern) {
    return FormatValue(value, pattern);
}

std::string FormatSingle(float value, std::string_view pattern) {
    return FormatValue(value, pattern);
}

}  // namespace rs::text
