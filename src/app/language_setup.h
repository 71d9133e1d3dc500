#pragma once
// The start of both programs' language: the choice (--lang, else the environment) and where the
// catalogues of a program in `programDir` are.
#include <filesystem>
#include <optional>

#include "text/language.h"

namespace rs::app {

// ../share/locale beside an installed program; the build's own catalogues
// (<build>/share/locale) for a program run from that build. The first folder that holds our
// catalogue of `language` (the installed one when none does).
std::filesystem::path LocaleDir(const std::filesystem::path& programDir,
                                text::Language language = text::Language::English);

// Sets up `chosen` (given by --lang) or else the language the environment asks for.
void StartLanguage(std::optional<text::Language> chosen, const std::filesystem::path& programDir);

}  // namespace rs::app
