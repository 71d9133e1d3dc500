#include "beam/beam_report.h"

#include <gtest/gtest.h>

#include <map>

#include "beam/beam_extras.h"
#include "beam/gaussian_beam.h"

namespace rs::beam {
namespace {

BeamDesign Beam(std::initializer_list<std::pair<int, double>> values) {
    BeamDesign d;
    d.beamMode = true;
    for (auto [index, value] : values) {
        d.axes[0].selection.AddValue(index, static_cast<float>(value));
    }
    SolveAllAxes(d, {});
    return d;
}

std::map<std::string, std::string> Rows(const BeamDesign& d, const BeamReportContext& c = {}) {
    BeamListCache cache;
    std::map<std::string, std::string> m;
    for (const auto& r : FillBeamResultList(d, c, cache).rows) m[r.name] = r.value;
    return m;
}

TEST(BeamResultList, ValueTexts) {
    BeamDesign d = Beam({{kGbFocal, 100}, {kGbObjDist, 200}, {kGbObjRadius, 0.05}});
    ASSERT_FALSE(d.axes[0].resultInvalid);
    auto v = Rows(d);
    EXPECT_EQ(v["Bildweite: s'"], " 198.48mm");
    EXPECT_EQ(v["paraxialer Bildabstand"], " 200.0");  // the catalogue gives it no unit of its own
    EXPECT_EQ(v["Strahl rad [aus]: r'"], " 0.0496mm");
    EXPECT_EQ(v["Strahlradius [Detektor]: Rd"], "");  // detector off
    EXPECT_FALSE(ShowInvalidLabel(d));

    // M² scales radii and divergences by M, not the Rayleigh lengths.
    d.extrasOptions.mFactorUse = true;
    d.extrasOptions.mFactor = 4;
    auto m = Rows(d);
    EXPECT_EQ(m["Strahl rad [in]: r"], " 0.1mm");
    EXPECT_EQ(m["Strahl div [in]:w"], " 8.057mrad");
    EXPECT_EQ(m["Rayeigh [in]: zr"], v["Rayeigh [in]: zr"]);

    // A waist in the front focal plane is imaged to infinity geometrically.
    auto focal = Rows(Beam({{kGbFocal, 100}, {kGbObjDist, 100}, {kGbObjRadius, 0.05}}));
    EXPECT_EQ(focal["paraxialer Bildabstand"], " unendlich");
    EXPECT_EQ(focal["Airy-Radius: rA'"], "");
    // A negative value has no leading blank, so the digits line up.
    auto negative = Rows(Beam({{kGbFocal, -100}, {kGbObjDist, 200}, {kGbObjRadius, 0.05}}));
    EXPECT_EQ(negative["Brennweite: f'"], "-100.0mm");
}

TEST(BeamResultList, FailedSolveKeepsTheGivenBeam) {
    // The given object beam and its partners stay visible; nothing that needs the solution.
    BeamDesign d = Beam({{kGbObjDist, 100}, {kGbMagnif, 1e6}, {kGbObjRadius, 0.05}});
    d.axes[0].resultInvalid = true;
    auto v = Rows(d);
    EXPECT_EQ(v["Strahl rad [in]: r"], " 0.05mm");
    EXPECT_FALSE(v["Rayeigh [in]: zr"].empty());
    EXPECT_EQ(v["Strahl rad [aus]: r'"], "");
    EXPECT_EQ(v["Verhältnis s/f"], " ");
    EXPECT_TRUE(ShowInvalidLabel(d));
}

TEST(BeamNumber, ScientificOutsideTheOrdinaryRange) {
    EXPECT_EQ(BeamNumber(0.00005, "0.0###"), "5.0e-5");
    EXPECT_EQ(BeamNumber(2e6, "0.0#"), "2.0e+6");
    EXPECT_EQ(BeamNumber(0.0002, "0.0###"), "0.0002");
}

TEST(BeamResultList, DiodeAxesInBrackets) {
    BeamDesign d;
    d.beamMode = true;
    d.diode.diodeMode = true;
    d.diode.paramKind = kGbObjDiv;
    d.diode.paramValues[kGbObjDiv] = 0.03;
    for (auto [index, value] : {std::pair{kGbFocal, 10.0}, {kGbObjDist, 20.0}, {kGbObjDiv, 0.1}}) {
        d.axes[0].selection.AddValue(index, static_cast<float>(value));
    }
    SolveAllAxes(d, {});
    ASSERT_FALSE(d.axes[1].resultInvalid);
    auto v = Rows(d);
    EXPECT_EQ(v["Brennweite: f'"], " 10.0 [10.0]mm");
    EXPECT_EQ(v["Strahl div [in]:w"], " 100.0 [30.0]mrad");

    BeamListCache cache;
    EXPECT_TRUE(FillBeamResultList(d, {}, cache).rewriteNames);
    EXPECT_FALSE(FillBeamResultList(d, {}, cache).rewriteNames);
    d.diode.diodeMode = false;
    EXPECT_TRUE(FillBeamResultList(d, {}, cache).rewriteNames);
}

TEST(BeamReport, RefusalsAndColumns) {
    BeamDesign two;
    two.axes[0].selection.Add(kGbFocal);
    EXPECT_EQ(BuildBeamReport(two, {}, {}).refusal.value_or(""),
              "Sie haben noch nicht alle Parameter ausgewählt! ");

    BeamDesign d = Beam({{kGbFocal, 100}, {kGbObjDist, 200}, {kGbObjRadius, 0.05}});
    d.diode.diodeMode = true;
    d.diode.paramValues[kGbObjDiv] = 0.003;
    SolveAllAxes(d, {});
    const engine::ReportResult r = BuildBeamReport(d, {}, {"1.0.0", "heute", {}});
    ASSERT_FALSE(r.refusal);
    bool secondColumn = false, diodeLine = false;
    for (const auto& row : r.page.rows) {
        for (const auto& piece : row.pieces) {
            secondColumn |= piece.x == 8280;
            diodeLine |= piece.text == "Diodenlaser [rechteckiger Strahl]";
        }
    }
    EXPECT_TRUE(secondColumn);
    EXPECT_TRUE(diodeLine);
}

}  // namespace
}  // namespace rs::beam
