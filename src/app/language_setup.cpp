#include "app/language_setup.h"

#include <vector>

#include "analysis/catalogue_lenses.h"

namespace rs::app {
namespace fs = std::filesystem;

fs::path LocaleDir(const fs::path& programDir, text::Language language) {
    fs::path installed = (programDir / ".." / "share" / "locale").lexically_normal();
    std::vector<fs::path> dirs{installed};
#ifdef RAYSKETCHER_LOCALE_BUILD_DIR
    const fs::path built(RAYSKETCHER_LOCALE_BUILD_DIR);
    if (analysis::RunsFromBuildTree(programDir, built.parent_path().parent_path())) {
        dirs.push_back(built);
    }
#endif
    const fs::path catalogue =
        fs::path(text::LanguageCode(language)) / "LC_MESSAGES" / "raysketcher.mo";
    for (const fs::path& dir : dirs) {
        std::error_code ec;
        if (fs::is_regular_file(dir / catalogue, ec)) return dir;
    }
    return installed;
}

void StartLanguage(std::optional<text::Language> chosen, const fs::path& programDir) {
    const text::Language language = chosen.value_or(text::LanguageOfEnvironment());
    text::UseLanguage(language, LocaleDir(programDir, language));
}

}  // namespace rs::app
