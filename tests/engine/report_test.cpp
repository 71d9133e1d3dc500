#include "engine/report.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/design_builder.h"

namespace rs::engine {
namespace {

using test::Choose;
using test::ChooseAperture;

ResultList Fill(const ParaxialDesign& d) {
    ResultListCache cache;
    return FillResultList(d, ReportUnits{}, WavelengthText(d), true, false, cache);
}

std::map<std::string, std::string> Values(const ParaxialDesign& d) {
    std::map<std::string, std::string> m;
    for (const auto& r : Fill(d).rows) m[r.name] = r.value;
    return m;
}

ParaxialDesign Solved(std::initializer_list<std::pair<int, float>> values, float stop = 10,
                      bool atInfinity = false) {
    ParaxialDesign d;
    d.options.objAtInfinity = atInfinity;
    Choose(d, values);
    if (stop > 0) ChooseAperture(d, kStopRadius, stop);
    SolveParaxial(d, false);
    return d;
}

TEST(ResultList, ValueTexts) {
    auto v = Values(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}));
    EXPECT_EQ(v["Objektweite: a"], "-200.0mm");  // a negative value has no leading blank
    EXPECT_EQ(v["Vergrößerung: m'"], "-1.00x");
    EXPECT_EQ(v["Objektwinkel: w"], "-2.862Grad");  // shown in degrees
    EXPECT_EQ(v["Blendenzahl effektiv"], " 10.0");
    EXPECT_EQ(v["NA [objektseitig] "], " 0.0499*");
    EXPECT_EQ(v["Airy-Radius"], " 0.0067mm [546nm]*");
    EXPECT_EQ(v["MTF-Grenzfrequenz"], " 183lp/mm*");

    // Image at infinity: no magnification, throw or image height, nothing image-side.
    auto focalPlane = Values(Solved({{kFocal, 100}, {kObjDist, -100}, {kObjHeight, 10}}));
    EXPECT_EQ(focalPlane["Bildweite: a'"], " In Unendlich");
    EXPECT_EQ(focalPlane["Vergrößerung: m'"], " ---");
    EXPECT_EQ(focalPlane["Bildhöhe: u'"], " ---");
    EXPECT_EQ(focalPlane["Airy-Radius"], "");

    auto inf = Values(Solved({{kFocal, 100}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}}, 0, true));
    EXPECT_EQ(inf["Objektweite: a"], " In Unendlich");
    EXPECT_EQ(inf["Vergrößerung: m'"], " Null");
    EXPECT_EQ(inf["Objekthöhe: u"], " ---");
    EXPECT_EQ(inf["Blendenradius"], "    ----");  // no aperture chosen

    auto virt = Values(Solved({{kObjDist, 50}, {kImgDist, 100}, {kObjHeight, 1}}));
    EXPECT_EQ(virt["Objektweite: a"], " 50.0mm     [Virtuell]");

    // Without the flag the solver's own infinity marker reads "unendlich".
    auto marker = Values(Solved({{kFocal, 100}, {kMagnif, 0}, {kObjAngle, 0.1f}}));
    EXPECT_EQ(marker["Objektweite: a"], "unendlich");

    // A failed solve empties the values; a stop too small for the working f-number shows dashes.
    ParaxialDesign failed = Solved({{kFocal, 100}, {kObjImgDist, 300}, {kObjHeight, 1}}, 5);
    ASSERT_TRUE(failed.bCalcInvalid);
    auto none = Values(failed);
    EXPECT_EQ(none["Brennweite: f'"], "");
    EXPECT_EQ(none["Blendenradius"], " ");
    auto slow = Values(Solved({{kFocal, 100}, {kObjDist, -100.01f}, {kObjHeight, 1}}, 0.001f));
    EXPECT_EQ(slow["Blendenzahl effektiv"], "----");
}

TEST(ResultList, OptionalRowsKeepTheLength) {
    auto design = [](float n, float nImg, bool mirror) {
        ParaxialDesign d;
        d.options.advOptions = true;
        d.options.mirrorMode = mirror;
        d.options.advanced.n = n;
        d.options.advanced.nImage = nImg;
        Choose(d, {{kFocal, mirror ? -100.f : 100.f}, {kObjDist, -300}, {kObjHeight, 10}});
        ChooseAperture(d, kFNumber, 4);
        SolveParaxial(d, false);
        return d;
    };
    const std::size_t rows = Fill(design(1, 1, false)).rows.size();
    EXPECT_EQ(Fill(design(1.5f, 1, false)).rows.size(), rows);
    EXPECT_EQ(Fill(design(1.5f, 1.5f, false)).rows.size(), rows);
    auto m = Values(design(1.5f, 1, false));
    EXPECT_TRUE(m.count("Brennweite [Obj]: f"));
    EXPECT_EQ(m["Knotenpunkt 1 NP"], "-50.0mm");  // N - P = f + f' = -150 + 100
    EXPECT_FALSE(m.count("(Näherung)"));
    EXPECT_FALSE(Values(design(1.5f, 1.5f, false)).count("Knotenpunkt 1 NP"));

    auto mirror = Values(design(1, 1, true));
    EXPECT_EQ(mirror["Spiegelradius"], "-200.0mm    [Konkav]");
    EXPECT_FALSE(mirror.count("Brennweite [Obj]: f"));
}

TEST(ResultList, NamesAreRewrittenOnlyWhenNeeded) {
    ParaxialDesign d = Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    ResultListCache cache;
    const ReportUnits units;
    EXPECT_TRUE(FillResultList(d, units, "546nm", false, false, cache).rewriteNames);
    EXPECT_FALSE(FillResultList(d, units, "546nm", false, false, cache).rewriteNames);
    EXPECT_TRUE(FillResultList(d, units, "546nm", true, false, cache).rewriteNames);
    d.options.mirrorMode = true;
    EXPECT_FALSE(FillResultList(d, units, "546nm", true, true, cache).rewriteNames);  // dragging
    EXPECT_TRUE(FillResultList(d, units, "546nm", false, false, cache).rewriteNames);
}

TEST(ConjugateStatus, VirtualAndInfiniteConjugates) {
    const std::string atInfinity = "Bild im Unendlichen", virtualImage = "Virtuelles Bild";
    // An empty text: the label is hidden.
    // clang-format off
    const struct { float f, a; bool mirror; std::string text; unsigned colour; } rows[] = {
        {100, -200, false, "", 0}, {100, -100, false, atInfinity, 65535},
        {100, -50, false, virtualImage, 255}, {100, 50, false, "Virtuelles Objekt", 255},
        {-100, 200, false, "Virtuelles Objekt/Bild", 255}, {-100, -100, true, atInfinity, 65535},
        {100, -100, true, virtualImage, 255}};
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.f << " " << r.a << " " << r.mirror);
        const ParaxialDesign d =
            test::Solved({{kFocal, r.f}, {kObjDist, r.a}, {kObjHeight, 1}}, 0, r.mirror);
        ASSERT_FALSE(d.bCalcInvalid);
        const auto label = UpdateConjugateStatus(d);
        EXPECT_EQ(label.value_or(StatusLabel{}).text, r.text);
        EXPECT_EQ(label.value_or(StatusLabel{}).colour, r.colour);
    }
    EXPECT_FALSE(UpdateConjugateStatus(
        Solved({{kFocal, 100}, {kObjImgDist, 300}, {kObjHeight, 1}})));  // failed solve
}

TEST(ParaxialReport, RefusalsAndContent) {
    ParaxialDesign d;
    Choose(d, {{kFocal, 100}, {kObjDist, -200}});
    EXPECT_EQ(BuildParaxialReport(d, {}, {}).refusal.value_or(""),
              "Sie haben noch nicht alle Parameter ausgewählt! ");
    Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    d.params.Entry(2).bVarValDef = false;
    EXPECT_EQ(BuildParaxialReport(d, {}, {}).refusal.value_or(""),
              "Sie haben noch nicht für alle Parameter Werte eingetragen! ");

    ParaxialDesign mirror;
    mirror.options.mirrorMode = true;
    mirror.options.objAtInfinity = true;
    Choose(mirror, {{kFocal, -100}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}});
    ChooseAperture(mirror, kFNumber, 4);
    ASSERT_TRUE(SolveParaxial(mirror, false));
    const ReportResult r = BuildParaxialReport(
        mirror, {}, {"1.0.0", "Sonntag, 6. Dezember 2026", {{"Nahpunkt", " 1.0m"}}});
    ASSERT_FALSE(r.refusal);
    std::map<std::string, std::string> at6120;
    std::vector<std::string> headings;
    for (const ReportRow& row : r.page.rows) {
        if (row.pieces.empty()) continue;
        if (row.pieces[0].bold && row.pieces[0].x == 1440) headings.push_back(row.pieces[0].text);
        if (row.pieces.size() == 2 && row.pieces[1].x == 6120) {
            at6120[row.pieces[0].text] = row.pieces[1].text;
        }
    }
    EXPECT_EQ(headings,
              (std::vector<std::string>{"Benutzerdefinierte Variablen", "Systemdefinition: Spiegel",
                                        "Erweiterte Optionen", "Schärfentiefe"}));
    // The chosen value and the solved one of the same parameter, the mirror's marker, the
    // depth-of-field rows handed in; the date at the right of the header.
    EXPECT_EQ(at6120["Objektweite: a:\t"], " Unendlich");
    EXPECT_EQ(at6120["Objektweite: a:  "], " In Unendlich");
    EXPECT_EQ(at6120["Brennweite: f':  "], "-100.0mm    [Konkav]");
    EXPECT_EQ(at6120["Nahpunkt"], "  1.0m");
    EXPECT_TRUE(r.page.rows[0].pieces[1].alignRight);
}

}  // namespace
}  // namespace rs::engine
