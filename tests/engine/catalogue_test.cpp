#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/options.h"

namespace rs::engine {
namespace {

TEST(SymbolTable, ModesAndUserSymbols) {
    // Mode 1: the user's symbols by label; missing keys fall back to the defaults, unused
    // indices are never asked for.
    const std::map<std::string, std::string, std::less<>> user = {{"Brennweite: ", "F'"},
                                                                  {"hinterer Brennpunkt: ", "H'"}};
    int asked = 0;
    auto lookup = [&](std::string_view key, std::string_view fallback) {
        ++asked;
        auto it = user.find(key);
        return it == user.end() ? std::string(fallback) : it->second;
    };
    SymbolTable t;
    t.InitParamSymbols(1, lookup);
    EXPECT_EQ(asked, 10);
    EXPECT_EQ(t.ParamLabelWithSymbol(kFocal), "Brennweite: F'");
    EXPECT_EQ(t.Param(kObjFocal), "f");
    t.InitCardinalSymbols(1, lookup);
    EXPECT_EQ(t.Cardinal(kFImage), "H'");
    EXPECT_EQ(t.Cardinal(kNImage), "N'");

    t.SetParam(kObjDist, "s");
    t.InitParamSymbols(7, lookup);  // unknown mode: untouched
    EXPECT_EQ(t.Param(kObjDist), "s");
    t.InitParamSymbols(0);
    EXPECT_EQ(t.Param(kObjDist), "a");
    EXPECT_EQ(t.Param(kFocal), "f'");
}

TEST(OptionState, EffectiveValues) {
    OptionState o;
    o.advanced = {1.5f, 1.33f, 7.f, 632.8f};
    // Off: the standard values whatever is stored.
    EXPECT_EQ(o.ImageIndex(), 1.0);
    EXPECT_EQ(o.PrincipalPlaneSeparation(), 0.0);
    EXPECT_NEAR(o.TestWavelength(), 546.1, 1e-4);
    o.mirrorMode = true;
    EXPECT_EQ(o.ImageIndex(), -1.0);

    o.advOptions = true;
    EXPECT_NEAR(o.ImageIndex(), -1.5, 1e-6);  // a mirror reflects into the object medium
    EXPECT_EQ(o.PrincipalPlaneSeparation(), 0.0);
    o.mirrorMode = false;
    EXPECT_NEAR(o.ImageIndex(), 1.33, 1e-6);
    EXPECT_NEAR(o.PrincipalPlaneSeparation(), 7, 1e-6);

    o.advanced.n = 0;
    o.advanced.wavelength = 0;
    EXPECT_EQ(o.ObjectIndex(), 1.0);
    EXPECT_NEAR(o.TestWavelength(), 546.1, 1e-4);

    o.advanced.n = 1.4f;
    o.SetObjectIndex(0);
    EXPECT_EQ(o.advanced.n, 1.4f);
    o.mirrorMode = true;
    o.SetImageIndex(0);
    EXPECT_EQ(o.advanced.nImage, -1.0f);
}

}  // namespace
}  // namespace rs::engine
