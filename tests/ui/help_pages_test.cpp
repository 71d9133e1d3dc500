#include "ui/help_pages.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace rs::ui {
namespace {

using text::Language;

// F1 and the contents open the page of the language the program speaks; each page keeps its
// file name in every language, and no two pages share one.
TEST(HelpPages, EachPageLiesInTheFolderOfTheLanguageInUse) {
    const struct {
        HelpPage page;
        Language language;
        const char* path;
    } cases[] = {{HelpPage::Contents, Language::German, "de/index.html"},
                 {HelpPage::Contents, Language::English, "en/index.html"},
                 {HelpPage::KeyParameters, Language::German, "de/kenngroessen.html"},
                 {HelpPage::GaussianBeams, Language::English, "en/gaussstrahl.html"},
                 {HelpPage::NewFeatures, Language::English, "en/neu.html"}};
    for (const auto& c : cases) EXPECT_EQ(HelpPagePath(c.page, c.language), c.path);

    std::set<std::string> english;
    for (const HelpPageInfo& info : HelpPages()) {
        const std::string german = HelpPagePath(info.page, Language::German);
        EXPECT_EQ(HelpPagePath(info.page, Language::English), "en" + german.substr(2)) << german;
        english.insert(HelpPagePath(info.page, Language::English));
    }
    EXPECT_EQ(english.size(), HelpPages().size());
}

}  // namespace
}  // namespace rs::ui
