// A catalogue lens held by the design: the rows it adds, when the design lets it go, and its
// settings value.
#include "app/held_lens.h"

#include <gtest/gtest.h>

#include <map>

#include "app/presentation.h"
#include "text/number_text.h"

namespace rs::app {
namespace {

// A plano-convex N-BK7 lens of 100 mm, curved side first.
const std::vector<analysis::CatalogueSurface> kPlanoConvex = {
    {51.68, 12.7, 3.38, 1.5168, 64.17, "N-BK7"}, {0, 12.7, 0, 1, 0, ""}};

// The usual design, f' 100, a -200, u 10, holding the plano-convex lens as taking it would.
DesignState Holding(bool turned = false) {
    DesignState s;
    s.paraxial.options.advOptions = true;
    HeldLens lens{"PX100-25", "Plankonvex", turned,
                  turned ? analysis::TurnedRound(kPlanoConvex) : kPlanoConvex};
    s.lens = lens;
    const auto thick = HeldThickLens(s);
    lens.focal = static_cast<float>(thick->focal);
    lens.separation = static_cast<float>(thick->separation);
    s.lens = lens;
    s.paraxial.options.advanced.separation = lens.separation;
    s.paraxial.params.AddValue(engine::kFocal, lens.focal);
    s.paraxial.params.AddValue(engine::kObjDist, -200.0f);
    s.paraxial.params.AddValue(engine::kObjHeight, 10.0f);
    SolveDesign(s, true);
    return s;
}

std::optional<double> RowValue(const engine::ResultList& list, const char* name) {
    for (const engine::ResultRow& row : list.rows) {
        if (row.name == name)
            return text::ParseTypedNumber(row.value.substr(0, row.value.find('m')));
    }
    return std::nullopt;
}

TEST(HeldLens, ItsRowsStandBesideTheListWhileItIsHeld) {
    {
        DesignState s = Holding(true);
        ASSERT_TRUE(s.lens);
        engine::ResultListCache cache;
        beam::BeamListCache beamCache;
        const engine::ResultList held = ResultRows(s, false, cache, beamCache);
        // Object to image, once along the vertices and once along the principal planes.
        const double front = *RowValue(held, kFrontVertexRow);
        const double back = *RowValue(held, kBackVertexRow);
        const double thickness = *RowValue(held, kLensThicknessRow);
        const engine::ParamTable& t = s.paraxial.paramTable;
        EXPECT_NEAR(-front + thickness + back,
                    -t.Get(engine::kObjDist) + s.lens->separation + t.Get(engine::kImgDist), 0.01);
        EXPECT_NEAR(thickness, 3.38, 1e-9);
        EXPECT_TRUE(RowValue(held, kBackFocalRow));

        // Typing another f' lets the lens go: the rows leave and the names are written anew.
        s.paraxial.params.SetValue(1, 120.0f);
        SolveDesign(s, true);
        EXPECT_FALSE(s.lens);
        const engine::ResultList free = ResultRows(s, false, cache, beamCache);
        EXPECT_FALSE(RowValue(free, kFrontVertexRow));
        EXPECT_TRUE(free.rewriteNames);
        EXPECT_EQ(free.rows.size() + 4, held.rows.size());
    }
    // An object at infinity has no vertex distance to give.
    DesignState far = Holding();
    far.paraxial.options.objAtInfinity = true;
    far.paraxial.params.SetValue(2, engine::kInfinity);
    SolveDesign(far, true);
    engine::ResultListCache cache;
    beam::BeamListCache beamCache;
    for (const auto& row : ResultRows(far, false, cache, beamCache).rows) {
        if (row.name == kFrontVertexRow) {
            EXPECT_EQ(row.value, " In Unendlich");
        }
    }
}

TEST(HeldLens, TheDesignLetsItGoOnlyWhenFOrEIsNoLongerItsOwn) {
    const struct {
        const char* what;
        void (*edit)(DesignState&);
        bool kept;
    } cases[] = {
        {"nothing", [](DesignState&) {}, true},
        {"wavelength", [](DesignState& s) { s.paraxial.options.advanced.wavelength = 632.8f; },
         true},
        {"object distance", [](DesignState& s) { s.paraxial.params.SetValue(2, -300.0f); }, true},
        {"f'", [](DesignState& s) { s.paraxial.params.SetValue(1, 99.0f); }, false},
        {"f' no longer chosen", [](DesignState& s) { s.paraxial.params.Remove(engine::kFocal); },
         false},
        {"e", [](DesignState& s) { s.paraxial.options.advanced.separation += 1.0f; }, false},
        {"advanced options off", [](DesignState& s) { s.paraxial.options.advOptions = false; },
         false},
        {"mirror", [](DesignState& s) { s.paraxial.options.mirrorMode = true; }, false},
        {"beam mode", [](DesignState& s) { s.beam.beamMode = true; }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DesignState s = Holding();
        c.edit(s);
        ForgetEditedLens(s);
        EXPECT_EQ(s.lens.has_value(), c.kept);
    }
    EXPECT_EQ(HeldLensTitle(Holding(true)), "Katalog-Linse: PX100-25 Plankonvex [gewendet]");
    EXPECT_EQ(HeldLensTitle(DesignState{}), "");
}

TEST(HeldLens, SettingsKeysThatAreNoLensGiveNone) {
    using Keys = std::map<std::string, std::string>;
    auto parse = [](const Keys& keys) {
        return ParseHeldLens([&keys](const std::string& key) {
            const auto it = keys.find(key);
            return it == keys.end() ? std::string() : it->second;
        });
    };
    const auto saved = HeldLensKeys(*Holding().lens);
    const Keys good(saved.begin(), saved.end());
    ASSERT_TRUE(parse(good));
    EXPECT_EQ(*parse(good), *Holding().lens);
    const struct {
        const char* key;
        const char* value;
    } damaged[] = {
        {kHeldLensKey, ""},
        {kHeldLensKey, "PX100-25|False|100|0.1"},
        {kHeldLensKey, "|False|100|0|x"},
        {kHeldLensKey, "P|False|1e39|0|x"},
        {"CatalogueLensSurface2", ""},
        {"CatalogueLensSurface1", "0,12.7,3.38,1.5168,64.17,N-BK7"},
        {"CatalogueLensSurface1", "51.68,12.7,3.38,0.5,64.17,N-BK7"},
        {"CatalogueLensSurface1", "51.68,-1,3.38,1.5168,64.17,N-BK7"},
        {"CatalogueLensSurface1", "51.68,12.7,nan,1.5168,64.17,N-BK7"},
        {"CatalogueLensSurface1", "51.68,12.7,3.38,1.5168,64.17"},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(std::string(d.key) + "=" + d.value);
        Keys keys = good;
        keys[d.key] = d.value;
        EXPECT_FALSE(parse(keys));
    }
}

}  // namespace
}  // namespace rs::app
