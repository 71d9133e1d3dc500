#include "text/language.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>

#include "text/tr.h"

namespace rs::text {
namespace {

constexpr const char* kDomain = "raysketcher";

// The language part of a locale or LANGUAGE entry: "en_US.UTF-8" → "en", "de:en" → "de".
std::string_view LanguagePart(std::string_view value) {
    const std::size_t end = value.find_first_of(":_.@");
    return value.substr(0, end);
}

// LANGUAGE as this copy of the core first saw it. UseLanguage sets the variable to the language
// in use (glibc reads the catalogue choice from it, and a module loaded later learns the
// program's language from it); asking the environment again must still see the user's value.
const char* FirstLanguageVariable() {
    static const std::optional<std::string> first = []() -> std::optional<std::string> {
        const char* value = std::getenv("LANGUAGE");
        if (value == nullptr) return std::nullopt;
        return std::string(value);
    }();
    return first ? first->c_str() : nullptr;
}

}  // namespace

std::string_view LanguageCode(Language language) {
    return language == Language::English ? "en" : "de";
}

std::optional<Language> LanguageFromCode(std::string_view code) {
    if (code == "de") return Language::German;
    if (code == "en") return Language::English;
    return std::nullopt;
}

std::string_view LanguageName(Language language) {
    return language == Language::English ? "English" : "Deutsch";
}

Language LanguageOfEnvironment(const EnvironmentReader& variable) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = variable(name);
        if (value == nullptr || *value == '\0') continue;
        return LanguagePart(value) == "en" ? Language::English : Language::German;
    }
    return Language::German;
}

Language LanguageOfEnvironment() {
    return LanguageOfEnvironment([](const char* name) {
        return std::string_view(name) == "LANGUAGE" ? FirstLanguageVariable() : std::getenv(name);
    });
}

void UseLanguage(Language language, const std::filesystem::path& localeDir) {
    std::setlocale(LC_NUMERIC, "C");
    FirstLanguageVariable();
    setenv("LANGUAGE", std::string(LanguageCode(language)).c_str(), 1);
    if (language != Language::German) {
        // A generated locale of the user's may stay; "C" or a missing one reads no catalogue.
        const char* messages = std::setlocale(LC_MESSAGES, "");
        const std::string_view current = messages ? messages : "C";
        if (current == "C" || current == "POSIX") std::setlocale(LC_MESSAGES, "C.UTF-8");
        // An empty folder keeps the binding made before (by the program that loaded us).
        if (!localeDir.empty()) bindtextdomain(kDomain, localeDir.c_str());
        bind_textdomain_codeset(kDomain, "UTF-8");
    }
    SetTranslating(language != Language::German);
}

Language LanguageInUse() {
    return Translating() ? Language::English : Language::German;
}

}  // namespace rs::text
