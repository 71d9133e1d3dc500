#include "app/language_setup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/presentation.h"
#include "app/settings.h"
#include "support/temp_dir.h"
#include "text/number_text.h"
#include "text/tr.h"

namespace rs::app {
namespace {

using text::Language;

std::filesystem::path TestProgramDir() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

// Back to German whatever a test did, for the tests that follow in this program.
class LanguageSetup : public ::testing::Test {
protected:
    void TearDown() override { StartLanguage(Language::German, TestProgramDir()); }
};

// A fresh Debian machine has only C, C.UTF-8 and POSIX; glibc reads no catalogue under "C". The
// program must still speak English when asked, and keep its decimal point.
TEST_F(LanguageSetup, EnglishWorksWhereOnlyTheCLocaleExists) {
    ::setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");  // what the toolkit does at its start
    StartLanguage(Language::English, TestProgramDir());
    ::unsetenv("LC_ALL");
    EXPECT_EQ(text::LanguageInUse(), Language::English);
    EXPECT_EQ(text::Tr("Brennweite: "), "Focal length: ");
    EXPECT_EQ(text::TrNFormat("… und %1 weitere fehlerhafte Zeile.",
                              "… und %1 weitere fehlerhafte Zeilen.", 3, {"3"}),
              "… and 3 more faulty lines.");
    EXPECT_EQ(text::Tr("kein Text des Katalogs"), "kein Text des Katalogs");
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.2f", 1.25);
    EXPECT_STREQ(printed, "1.25");
    EXPECT_EQ(text::ShortestText(0.5), "0.5");
}

// German is the source text: no stray LANGUAGE or catalogue changes it.
TEST_F(LanguageSetup, GermanIgnoresTheCatalogue) {
    StartLanguage(Language::English, TestProgramDir());
    ::setenv("LANGUAGE", "en", 1);
    StartLanguage(Language::German, TestProgramDir());
    EXPECT_EQ(text::Tr("Brennweite: "), "Brennweite: ");
    EXPECT_EQ(text::TrN("%1 Zeile", "%1 Zeilen", 1), "%1 Zeile");
    ::unsetenv("LANGUAGE");
}

TEST_F(LanguageSetup, CataloguesAreFoundBesideAnInstalledProgram) {
    const test::TempDir prefix;
    const auto catalogue = prefix / "share/locale/en/LC_MESSAGES/raysketcher.mo";
    std::filesystem::create_directories(catalogue.parent_path());
    std::ofstream(catalogue) << "";
    EXPECT_EQ(LocaleDir(prefix / "bin"), prefix / "share/locale");
    // A program of this build reads the build's catalogues; a stray folder none.
    EXPECT_TRUE(
        std::filesystem::exists(LocaleDir(TestProgramDir()) / "en/LC_MESSAGES/raysketcher.mo"));
    EXPECT_EQ(LocaleDir("/nonexistent/bin"), "/nonexistent/share/locale");
}

// A design saved in English is the file the German program saves.
TEST_F(LanguageSetup, TheSettingsFileDoesNotDependOnTheLanguage) {
    const test::TempDir dir;
    const auto saved = [&](Language language) {
        StartLanguage(language, TestProgramDir());
        DesignState s;
        LoadSettings(IniFile::FromText("Raysketcher.INI", ""), s);
        SolveDesign(s, false);
        IniFile out(dir / "saved.ini");
        EXPECT_TRUE(SaveSettings(s, out).ok);
        return test::ReadFile(dir / "saved.ini");
    };
    const std::string german = saved(Language::German);
    EXPECT_EQ(saved(Language::English), german);
}

}  // namespace
}  // namespace rs::app
