#pragma once
// Small text helpers shared by every reader of stored texts.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rs::text {

// The text without leading and trailing `blanks` (blanks and tabs unless told otherwise).
inline std::string_view TrimBlanks(std::string_view s, std::string_view blanks = " \t") {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

// Splits at `sep` into at most `maxFields` fields; the last field keeps the rest of the text,
// separators included. An empty text is one empty field.
inline std::vector<std::string_view> SplitFields(
    std::string_view text, char sep, std::size_t maxFields = static_cast<std::size_t>(-1)) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < maxFields) {
        const auto at = text.find(sep, start);
        if (at == std::string_view::npos) break;
        fields.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    fields.push_back(text.substr(start));
    return fields;
}

// A name or value for text output: its tabs and line ends would separate fields and rows, and an
// escape character would reach the terminal, so every control character becomes a '?'.
inline std::string PlainText(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) c = '?';
    }
    return out;
}

// A CSV field: quoted when it holds a comma, a quote or a line break.
inline std::string CsvField(std::string_view s) {
    if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
    std::string out = "\"";
    for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace rs::text
