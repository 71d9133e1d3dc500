#pragma once
// Which language the programs speak, and the gettext set-up that makes Tr() answer in it.
// German is the source text and needs no catalogue; every other language reads its catalogue
// <localeDir>/<code>/LC_MESSAGES/raysketcher.mo.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace rs::text {

enum class Language { German, English };

// "de" or "en": the catalogue's folder name, what --lang takes and what the settings never see.
std::string_view LanguageCode(Language language);
// The language of a --lang value ("de", "en"); nothing for any other text.
std::optional<Language> LanguageFromCode(std::string_view code);
// The language's own name, shown in Info ("Deutsch", "English").
std::string_view LanguageName(Language language);

// The language the environment asks for: the first non-empty of LANGUAGE (its first entry
// when it is a colon list), LC_ALL, LC_MESSAGES and LANG decides; English when that names
// English ("en", "en_GB", "en_US.UTF-8", ...), German otherwise (also "C", "POSIX" or nothing).
// `variable` answers a variable's value, null when unset.
using EnvironmentReader = std::function<const char*(const char* name)>;
Language LanguageOfEnvironment(const EnvironmentReader& variable);
Language LanguageOfEnvironment();

// Makes Tr() answer in `language` from the catalogues below `localeDir` (empty: the folder bound
// before in this process). Works where only the C.UTF-8 locale exists: glibc reads no catalogue
// under "C", so the message locale is set to C.UTF-8 and LANGUAGE names the catalogue. The
// number locale stays "C" (a toolkit that ran setlocale(LC_ALL, "") before must not turn our
// decimal points into commas). LanguageOfEnvironment() still answers what the user asked for.
void UseLanguage(Language language, const std::filesystem::path& localeDir);

// The language Tr() answers in now.
Language LanguageInUse();

}  // namespace rs::text
