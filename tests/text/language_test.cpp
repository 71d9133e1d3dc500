#include "text/language.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "text/tr.h"

namespace rs::text {
namespace {

TEST(Language, TheFirstVariableSetDecidesAndOnlyEnglishLeavesGerman) {
    struct Case {
        std::map<std::string, std::string> environment;
        Language expected;
    };
    const Case cases[] = {
        {{}, Language::German},
        {{{"LANG", "C"}}, Language::German},
        {{{"LANG", "POSIX"}}, Language::German},
        {{{"LANG", "C.UTF-8"}}, Language::German},
        {{{"LANG", "en"}}, Language::English},
        {{{"LANG", "en_GB"}}, Language::English},
        {{{"LANG", "en_US.UTF-8"}}, Language::English},
        {{{"LANG", "en_IE@euro"}}, Language::English},
        {{{"LANG", "fr_FR.UTF-8"}}, Language::German},
        {{{"LANG", "eng"}}, Language::German},
        // LANGUAGE is a list: its first entry counts.
        {{{"LANGUAGE", "en:de"}, {"LANG", "de_DE.UTF-8"}}, Language::English},
        {{{"LANGUAGE", "de:en"}, {"LANG", "en_US.UTF-8"}}, Language::German},
        // Empty variables are not set; the order is LANGUAGE, LC_ALL, LC_MESSAGES, LANG.
        {{{"LANGUAGE", ""}, {"LC_ALL", "en_US.UTF-8"}, {"LANG", "de_DE"}}, Language::English},
        {{{"LC_ALL", "C"}, {"LC_MESSAGES", "en_GB.UTF-8"}}, Language::German},
        {{{"LC_MESSAGES", "en_GB.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, Language::English},
    };
    for (const Case& c : cases) {
        const auto variable = [&](const char* name) -> const char* {
            const auto it = c.environment.find(name);
            return it == c.environment.end() ? nullptr : it->second.c_str();
        };
        std::string described;
        for (const auto& [name, value] : c.environment) described += name + "=" + value + " ";
        EXPECT_EQ(LanguageOfEnvironment(variable), c.expected) << described;
    }
}

TEST(Language, LangTakesOnlyItsTwoCodes) {
    EXPECT_EQ(LanguageFromCode("de"), Language::German);
    EXPECT_EQ(LanguageFromCode("en"), Language::English);
    for (const char* bad : {"", "EN", "en_GB", "fr", "deutsch"}) {
        EXPECT_FALSE(LanguageFromCode(bad)) << bad;
    }
}

// Placeholders let a language reorder the values; what is no placeholder stays as it is.
TEST(Language, ValuesTakeTheirPlaceholders) {
    EXPECT_EQ(TrFormat("%2 vor %1", {"a", "b"}), "b vor a");
    EXPECT_EQ(TrFormat("10 % und %3 und %", {"x"}), "10 % und %3 und %");
    EXPECT_EQ(TrFormat("\"%1\"", {"%2"}), "\"%2\"");
    EXPECT_EQ(TrNFormat("%1 Zeile", "%1 Zeilen", 1, {"1"}), "1 Zeile");
    EXPECT_EQ(TrNFormat("%1 Zeile", "%1 Zeilen", 2, {"2"}), "2 Zeilen");
}

}  // namespace
}  // namespace rs::text
