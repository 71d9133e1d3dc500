#pragma once
// The window's texts in another language for the length of a test, from the build's catalogues,
// and German again when the scope ends, with the environment and message locale as they were.
#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

#include "text/language.h"

namespace rs::test {

class ScopedLanguage {
public:
    explicit ScopedLanguage(text::Language language) {
        if (const char* old = std::getenv("LANGUAGE")) variable_ = old;
        if (const char* old = std::setlocale(LC_MESSAGES, nullptr)) locale_ = old;
        text::UseLanguage(language, RAYSKETCHER_LOCALE_BUILD_DIR);
    }
    ~ScopedLanguage() {
        text::UseLanguage(text::Language::German, {});
        if (variable_) {
            setenv("LANGUAGE", variable_->c_str(), 1);
        } else {
            unsetenv("LANGUAGE");
        }
        std::setlocale(LC_MESSAGES, locale_.value_or("C").c_str());
    }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

private:
    std::optional<std::string> variable_;
    std::optional<std::string> locale_;
};

}  // namespace rs::test
