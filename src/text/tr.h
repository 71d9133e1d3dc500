#pragma once
// Translation of the user-visible texts. German is the source language: every text in the code
// is the exact German text, marked with one of these helpers so that xgettext finds it, and is
// given in the language in use where it is shown. Tables keep the German text (marked with
// TrNoop) and are translated where shown, never stored translated.
#include <string>
#include <string_view>

namespace rs::text {

// The text in the language in use (the German text itself when no catalogue answers).
std::string Tr(const char* german);
std::string Tr(std::string_view german);

// The form of a text with a number in it: `singular` for n == 1 in German, `plural` otherwise;
// other languages choose by their own plural rule.
std::string TrN(const char* singular, const char* plural, unsigned long n);

// Marks a text of a table for extraction without translating it there.
constexpr const char* TrNoop(const char* german) {
    return german;
}

}  // namespace rs::text
