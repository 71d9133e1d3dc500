#include "engine/report.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/design_builder.h"

namespace rs::engine {
namespace {

using test::Choose;
using test::ChooseAperture;

std::map<std::string, std::string> Values(const ResultList& list) {
    std::map<std::string, std::string> m;
    for (const auto& r : list.rows) m[r.name] = r.value;
    return m;
}

ResultList Fill(const ParaxialDesign& d) {
    ResultListCache cache;
    return FillResultList(d, ReportUnits{}, WavelengthText(d), true, false, cache);
}

ParaxialDesign Solved(std::initializer_list<std::pair<int, float>> values, float stop = 10) {
    ParaxialDesign d;
    Choose(d, values);
    if (stop > 0) ChooseAperture(d, kStopRadius, stop);
    SolveParaxial(d, false);
    return d;
}

TEST(ResultList, LensInAir) {
    const ResultList list = Fill(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}));
    const std::vector<std::string> names = {
        "Brennweite: f'", "Objektweite: a", "Bildweite: a'", "Vergrößerung: m'",
        "Objekt Bildabstand: t", "Objekthöhe: u", "Objektwinkel: w", "Bildhöhe: u'",
        "Bildwinkel: w'", "Blendenradius", "Blendenzahl [unendliche Objektweite]",
        "Blendenzahl effektiv", "    ---", "NA [objektseitig] ", "NA' [bildseitig]", "    ---",
        "(Näherung)", "Airy-Radius", "MTF-Grenzfrequenz"};
    ASSERT_EQ(list.rows.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(list.rows[i].name, names[i]);
    auto v = Values(list);
    EXPECT_EQ(v["Brennweite: f'"], " 100.0mm");
    EXPECT_EQ(v["Objektweite: a"], "-200.0mm");
    EXPECT_EQ(v["Vergrößerung: m'"], "-1.00x");
    EXPECT_EQ(v["Objektwinkel: w"], "-2.862Grad");
    EXPECT_EQ(v["Blendenzahl [unendliche Objektweite]"], " 5.0");
    EXPECT_EQ(v["Blendenzahl effektiv"], " 10.0");
    EXPECT_EQ(v["NA [objektseitig] "], " 0.0499*");
    EXPECT_EQ(v["Airy-Radius"], " 0.0067mm [546nm]*");
    EXPECT_EQ(v["MTF-Grenzfrequenz"], " 183lp/mm*");
}

TEST(ResultList, InfiniteAndVirtualConjugates) {
    auto focalPlane = Values(Fill(Solved({{kFocal, 100}, {kObjDist, -100}, {kObjHeight, 10}})));
    EXPECT_EQ(focalPlane["Bildweite: a'"], " In Unendlich");
    EXPECT_EQ(focalPlane["Vergrößerung: m'"], " ---");
    EXPECT_EQ(focalPlane["Objekt Bildabstand: t"], " ---");
    EXPECT_EQ(focalPlane["Bildhöhe: u'"], " ---");
    EXPECT_EQ(focalPlane["NA' [bildseitig]"], "");
    EXPECT_EQ(focalPlane["Airy-Radius"], "");

    ParaxialDesign inf;
    inf.options.objAtInfinity = true;
    Choose(inf, {{kFocal, 100}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}});
    ASSERT_TRUE(SolveParaxial(inf, false));
    auto v = Values(Fill(inf));
    EXPECT_EQ(v["Objektweite: a"], " In Unendlich");
    EXPECT_EQ(v["Vergrößerung: m'"], " Null");
    EXPECT_EQ(v["Objekthöhe: u"], " ---");
    EXPECT_EQ(v["Objekt Bildabstand: t"], " ---");
    EXPECT_EQ(v["Blendenradius"], "    ----");  // no aperture chosen

    auto virt = Values(Fill(Solved({{kObjDist, 50}, {kImgDist, 100}, {kObjHeight, 1}})));
    EXPECT_EQ(virt["Objektweite: a"], " 50.0mm     [Virtuell]");

    // Without the flag the solver's own infinity marker reads "unendlich".
    auto marker = Values(Fill(Solved({{kFocal, 100}, {kMagnif, 0}, {kObjAngle, 0.1f}})));
    EXPECT_EQ(marker["Objektweite: a"], "unendlich");
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
    const ResultList air = Fill(design(1, 1, false));
    const ResultList media = Fill(design(1.5f, 1, false));
    const ResultList immersed = Fill(design(1.5f, 1.5f, false));
    EXPECT_EQ(air.rows.size(), media.rows.size());
    EXPECT_EQ(air.rows.size(), immersed.rows.size());
    auto m = Values(media);
    EXPECT_TRUE(m.count("Brennweite [Obj]: f"));
    EXPECT_EQ(m["Knotenpunkt 1 NP"], "-50.0mm");  // N - P = f + f' = -150 + 100
    EXPECT_TRUE(m.count("Knotenpunkt 2 N'P'"));
    EXPECT_FALSE(m.count("(Näherung)"));
    auto im = Values(immersed);
    EXPECT_TRUE(im.count("Brennweite [Obj]: f"));
    EXPECT_FALSE(im.count("Knotenpunkt 1 NP"));

    auto mirror = Values(Fill(design(1, 1, true)));
    EXPECT_EQ(mirror["Spiegelradius"], "-200.0mm    [Konkav]");
    EXPECT_FALSE(mirror.count("Brennweite [Obj]: f"));
}

TEST(ResultList, FailedSolveAndSlowApertures) {
    ParaxialDesign d = Solved({{kFocal, 100}, {kObjImgDist, 400}, {kObjHeight, 1}}, 5);
    d.params.SetValue(2, 300);
    EXPECT_FALSE(SolveParaxial(d, false));
    auto v = Values(Fill(d));
    EXPECT_EQ(v["Brennweite: f'"], "");
    EXPECT_EQ(v["Blendenradius"], " ");
    EXPECT_EQ(v["MTF-Grenzfrequenz"], "");

    auto slow = Values(Fill(Solved({{kFocal, 100}, {kObjDist, -100.01f}, {kObjHeight, 1}}, 0.001f)));
    EXPECT_EQ(slow["Blendenzahl effektiv"], "----");
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
    struct Row {
        std::initializer_list<std::pair<int, float>> values;
        bool mirror;
        const char* text;  // nullptr: hidden
        unsigned colour;
    };
    const Row rows[] = {
        {{{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 1}}, false, nullptr, 0},
        {{{kFocal, 100}, {kObjDist, -100}, {kObjHeight, 1}}, false, "Bild im Unendlichen", 65535},
        {{{kFocal, 100}, {kObjDist, -50}, {kObjHeight, 1}}, false, "Virtuelles Bild", 255},
        {{{kFocal, 100}, {kObjDist, 50}, {kObjHeight, 1}}, false, "Virtuelles Objekt", 255},
        {{{kFocal, -100}, {kObjDist, 200}, {kObjHeight, 1}}, false, "Virtuelles Objekt/Bild", 255},
        {{{kFocal, -100}, {kObjDist, -100}, {kObjHeight, 1}}, true, "Bild im Unendlichen", 65535},
        {{{kFocal, 100}, {kObjDist, -100}, {kObjHeight, 1}}, true, "Virtuelles Bild", 255},
    };
    for (const Row& r : rows) {
        ParaxialDesign d;
        d.options.mirrorMode = r.mirror;
        Choose(d, r.values);
        ASSERT_TRUE(SolveParaxial(d, false));
        const auto label = UpdateConjugateStatus(d);
        if (!r.text) {
            EXPECT_FALSE(label);
            continue;
        }
        ASSERT_TRUE(label) << r.text;
        EXPECT_EQ(label->text, r.text);
        EXPECT_EQ(label->colour, r.colour);
    }
    ParaxialDesign failed;
    Choose(failed, {{kFocal, 100}, {kObjImgDist, 300}, {kObjHeight, 1}});
    SolveParaxial(failed, false);
    EXPECT_FALSE(UpdateConjugateStatus(failed));
}

TEST(WindowTitle, Modes) {
    EXPECT_EQ(WindowTitle("1.2.3", {}),
              "Kestrelon: System Raysketcher 1.2.3    [Linsensystem]   paraxiale Berechnung");
    EXPECT_EQ(WindowTitle("1.2.3", {true}),
              "Kestrelon: System Raysketcher 1.2.3    [Spiegelsystem]   paraxiale Berechnung");
    EXPECT_EQ(WindowTitle("1.2.3", {false, true, true, true, 1}),
              "Kestrelon: System Raysketcher 1.2.3   Berechnung von Gaußschen Strahlen Diode "
              "[zirkularisiert - max Taillenabstand]");
    EXPECT_EQ(StartupCaption("1.2.3"), "Kestrelon: Linsensystem Raysketcher1.2.3");
}

TEST(ParaxialReport, RefusalsAndContent) {
    ParaxialDesign d;
    Choose(d, {{kFocal, 100}, {kObjDist, -200}});
    EXPECT_EQ(BuildParaxialReport(d, {}, {}).refusal.value_or(""),
              "Sie haben noch nicht alle Parameter ausgewählt! ");
    Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    d.params.SetValueDefined(2, false);
    EXPECT_EQ(BuildParaxialReport(d, {}, {}).refusal.value_or(""),
              "Sie haben noch nicht für alle Parameter Werte eingetragen! ");

    ParaxialDesign mirror;
    mirror.options.mirrorMode = true;
    mirror.options.objAtInfinity = true;
    Choose(mirror, {{kFocal, -100}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}});
    ChooseAperture(mirror, kFNumber, 4);
    ASSERT_TRUE(SolveParaxial(mirror, false));
    const ReportResult r =
        BuildParaxialReport(mirror, {}, {"1.0.0", "Sonntag, 6. Dezember 2026", {{"Nahpunkt", " 1.0m"}}});
    ASSERT_FALSE(r.refusal);
    std::map<std::string, std::string> at6120;
    std::vector<std::string> headings;
    for (const ReportRow& row : r.page.rows) {
        if (row.pieces.empty()) continue;
        if (row.pieces[0].bold && row.pieces[0].x == 1440) headings.push_back(row.pieces[0].text);
        if (row.pieces.size() == 2 && row.pieces[1].x == 6120) at6120[row.pieces[0].text] = row.pieces[1].text;
    }
    EXPECT_EQ(headings, (std::vector<std::string>{"Benutzerdefinierte Variablen",
                                                  "Systemdefinition: Spiegel", "Erweiterte Optionen",
                                                  "Schärfentiefe"}));
    EXPECT_EQ(at6120["Objektweite: a:\t"], " Unendlich");
    EXPECT_EQ(at6120["Objektweite: a:  "], " In Unendlich");
    EXPECT_EQ(at6120["Brennweite: f':  "], "-100.0mm    [Konkav]");
    EXPECT_EQ(at6120["Blendenzahl [unendliche Objektweite]:\t"], " 4.0");
    EXPECT_EQ(at6120["Blendenradius:  "], "-12.5mm");
    EXPECT_EQ(at6120["Wellenlänge [für Beugungsbetrachtung]"], " 546nm");
    EXPECT_EQ(at6120["Nahpunkt"], "  1.0m");
    EXPECT_EQ(r.page.rows[0].pieces[1].text, "Sonntag, 6. Dezember 2026");
    EXPECT_TRUE(r.page.rows[0].pieces[1].alignRight);
}

}  // namespace
}  // namespace rs::engine
