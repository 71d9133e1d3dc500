#pragma once
// The window's texts in another language for the length of a test, from the catalogues of one
// folder (<folder>/<language>/LC_MESSAGES/raysketcher.mo), and German again when the scope ends.
// The message locale is set to C.UTF-8, the one every machine has: under "C" itself gettext
// would ignore the language asked for.
#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace rs::test {

class ScopedLanguage {
public:
    ScopedLanguage(const std::filesystem::path& catalogues, const char* language) {
        if (const char* old = std::getenv("LANGUAGE")) language_ = old;
        if (const char* old = bindtextdomain(kDomain, nullptr)) folder_ = old;
        if (const char* old = std::setlocale(LC_MESSAGES, nullptr)) locale_ = old;
        bindtextdomain(kDomain, catalogues.c_str());
        bind_textdomain_codeset(kDomain, "UTF-8");
        setenv("LANGUAGE", language, 1);
        // Setting the locale also makes gettext forget the translations it has looked up.
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    }
    ~ScopedLanguage() {
        if (language_) {
            setenv("LANGUAGE", language_->c_str(), 1);
        } else {
            unsetenv("LANGUAGE");
        }
        if (folder_) bindtextdomain(kDomain, folder_->c_str());
        std::setlocale(LC_MESSAGES, locale_.value_or("C").c_str());
    }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

private:
    static constexpr const char* kDomain = "raysketcher";
    std::optional<std::string> language_;
    std::optional<std::string> folder_;
    std::optional<std::string> locale_;
};

}  // namespace rs::test
