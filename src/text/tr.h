#pragma once
// Translation of the user-visible texts. German is the source language: every text in the code
// is the exact German text, marked with one of these helpers so that xgettext finds it, and is
// given in the language in use where it is shown. Tables keep the German text (marked with
// TrNoop) and are translated where shown, never stored translated.
#include <initializer_list>
#include <string>
#include <string_view>

namespace rs::text {

// The text in the language in use (the German text itself when no catalogue answers).
std::string Tr(const char* german);
std::string Tr(std::string_view german);

// The form of a text with a number in it: `singular` for n == 1 in German, `plural` otherwise;
// other languages choose by their own plural rule.
std::string TrN(const char* singular, const char* plural, unsigned long n);

// A text with values in it: "%1", "%2", ... of the translated text become `values` in order, so
// that a language may place them where its sentence needs them.
std::string TrFormat(const char* german, std::initializer_list<std::string_view> values);

// TrN and TrFormat at once: the form for `n`, with "%1", ... replaced by `values`.
std::string TrNFormat(const char* singular, const char* plural, unsigned long n,
                      std::initializer_list<std::string_view> values);

// Marks a text of a table for extraction without translating it there.
constexpr const char* TrNoop(const char* german) {
    return german;
}

// Whether Tr() asks the catalogues at all: off for German, the source language, so that a
// stray LANGUAGE or catalogue can never change a German text. Set by UseLanguage
// (text/language.h).
void SetTranslating(bool on);
bool Translating();

}  // namespace rs::text
