// Lens ideas: the types' regions and which of them fit a point, the pixel axes of the command
// line's lookup, the design's point and the move of a design to a clicked point.
#include "analysis/lens_ideas.h"

#include "analysis/f_stops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/design_builder.h"
#include "support/numeric.h"
#include "text/vb_format.h"

namespace rs::analysis {
namespace {

using namespace engine;
constexpr double kDeg = 3.14159265358979323846 / 180.0;

std::string NamesAt(bool mirror, double a, double angle) {
    return LensClassesAt(mirror, {a, angle}).text;
}

TEST(ApFieldAxes, MarginsAndRoundTrips) {
    const PlotAxis x = MakeApFieldPlot(640, 480, false).x,
                   lens = MakeApFieldPlot(640, 480, false).y,
                   mirror = MakeApFieldPlot(640, 480, true).y;
    // f-number 50 at the left margin, 0.5 at the right one; one pixel outside reads 0.
    EXPECT_EQ(AxisPosition(x, 1.0 / (2 * 50)), 12);
    EXPECT_EQ(AxisPosition(x, 1.0 / (2 * 0.5)), 628);
    EXPECT_EQ(AxisValue(x, 12), 0.01);
    EXPECT_EQ(AxisValue(x, 628), 1.0);  // exactly: a click on the last pixel is accepted
    EXPECT_EQ(AxisValue(x, 11), 0.0);
    EXPECT_EQ(AxisValue(x, 629), 0.0);
    // Larger angles higher up; the mirror axis ends at 10°.
    EXPECT_EQ(AxisPosition(lens, 0.1), 468);
    EXPECT_EQ(AxisPosition(lens, 100), 12);
    EXPECT_EQ(AxisPosition(mirror, 10), 12);
    EXPECT_REL(AxisValue(mirror, 12), 10.0);
    for (double v : {0.013, 0.2, 0.77}) EXPECT_REL_TOL(AxisValue(x, *AxisPosition(x, v)), v, 0.01);
    // A plot smaller than its margins has no axis at all.
    EXPECT_FALSE(AxisPosition(MakeApFieldPlot(24, 24, false).x, 0.1));
    EXPECT_EQ(AxisValue(MakeApFieldPlot(20, 20, false).x, 10), 0.0);
    EXPECT_FALSE(AxisPosition(x, 0.0) || AxisPosition(x, -1.0) || AxisPosition(x, NAN));
}

TEST(LensClassesAt, FirstTwoInCatalogueOrder) {
    EXPECT_EQ(LensClasses(false).size(), 15u);
    EXPECT_EQ(LensClasses(false)[14].names[0], " aufgesp. Triplet");
    EXPECT_EQ(LensClasses(true).size(), 4u);
    EXPECT_EQ(NamesAt(false, 0.4, 10), " Petzval");
    EXPECT_EQ(NamesAt(false, 0.35, 11), " Doppel Gauss | Petzval");
    // Inside Retrofokus, Doppel Gauss and Orthometar: only the first two are named.
    int inside = 0;
    for (const LensClass& type : LensClasses(false)) {
        std::vector<PlotPoint> decades;
        for (const PlotPoint& p : type.region) {
            decades.push_back({std::log10(p.a), std::log10(p.angle)});
        }
        inside += InsidePolygon(decades, std::log10(0.135), std::log10(38));
    }
    EXPECT_EQ(inside, 3);
    EXPECT_EQ(LensClassesAt(false, {0.135, 38}).classes, (std::vector<int>{2, 3}));
    EXPECT_EQ(NamesAt(false, 0.015, 0.15), "");
    EXPECT_EQ(NamesAt(false, 0.0, 10), "");
    // Mirror mode offers only the mirror types.
    EXPECT_EQ(NamesAt(true, 0.4, 4), " Schmidt");
    // The command line's lookup through pixels names the same types.
    const ApFieldPlot plot = MakeApFieldPlot(640, 480, false);
    EXPECT_EQ(LensClassesAt(plot, *AxisPosition(plot.x, 0.35), *AxisPosition(plot.y, 11)).text,
              " Doppel Gauss | Petzval");
}

TEST(LensClasses, EveryRegionIsAClosedEllipseThroughItsLongAxis) {
    for (const bool mirror : {false, true}) {
        for (const LensClass& type : LensClasses(mirror)) {
            ASSERT_EQ(type.region.size(), 101u) << type.names[0];
            EXPECT_REL_TOL(type.region.front().a, type.regionPoints[1].a, 1e-9);
            EXPECT_REL_TOL(type.region.front().angle, type.regionPoints[1].angle, 1e-9);
            EXPECT_REL_TOL(type.region[50].a, type.regionPoints[0].a, 1e-6);
            EXPECT_REL_TOL(type.region[50].angle, type.regionPoints[0].angle, 1e-6);
            EXPECT_REL_TOL(type.region.back().a, type.region.front().a, 1e-6);
        }
    }
}

TEST(DesignPoint, MagnitudesOfFNumberAndField) {
    // A positive object height gives a negative angle: the point is still there.
    ParaxialDesign relay = test::Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10);
    ASSERT_FALSE(relay.bCalcInvalid);
    ASSERT_LT(relay.paramTable.Get(kObjAngle), 0.0f);
    const auto point = DesignPoint(relay);
    ASSERT_TRUE(point);
    EXPECT_REL_TOL(point->a, 1 / (2 * std::fabs(relay.apertureTable.Get(kFNumber))), 1e-6);
    EXPECT_REL_TOL(point->angle, std::fabs(relay.paramTable.Get(kObjAngle)) / kDeg, 1e-6);
    // A concave mirror's f-number is negative; its point too is marked.
    ParaxialDesign mirror =
        test::Solved({{kFocal, -250}, {kObjDist, -1000}, {kObjHeight, 10}}, 25, true);
    ASSERT_FALSE(mirror.bCalcInvalid);
    EXPECT_TRUE(DesignPoint(mirror));
    // Without an aperture there is nothing to mark.
    EXPECT_FALSE(DesignPoint(test::Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}})));

    // The figures at a plot point: the stop radius is positive for a mirror too.
    const auto figures = ApertureFieldAt({0.25, 2}, mirror);
    ASSERT_TRUE(figures);
    EXPECT_REL(figures->fNumber, 2.0);
    EXPECT_REL_TOL(figures->stopRadius, 250 / (2 * figures->fNumber), 1e-9);
    EXPECT_FALSE(ApertureFieldAt({0.0, 2}, mirror));  // off the aperture axis
    ParaxialDesign atFocus = mirror;
    atFocus.paramTable.Set(kImgDist, 0.0f);
    EXPECT_FALSE(ApertureFieldAt({0.25, 2}, atFocus));
}

TEST(MoveToApertureField, SetsFNumberAndFieldThroughTheChosenParameters) {
    // f', a, u with an f-number: a click at A = 0.25 makes it 2 and the field angle 5°, w taking
    // the place of u.
    ParaxialDesign d = test::Solved({{kFocal, 100}, {kObjDist, -400}, {kObjHeight, 10}});
    test::ChooseAperture(d, kFNumber, 4);
    SolveParaxial(d, false);
    ASSERT_FALSE(d.bCalcInvalid);
    ASSERT_TRUE(MoveToApertureField(d, {0.25, 5}));
    EXPECT_EQ(d.aperture.Index(1), kFNumber);
    EXPECT_EQ(d.aperture.Value(1), 2.0f);
    ASSERT_TRUE(d.params.Contains(kObjAngle));
    EXPECT_FALSE(d.params.Contains(kObjHeight));
    // The sign of the design's angle is kept (a positive height looked down: negative w).
    EXPECT_REL_TOL(d.params.Value(*d.params.Find(kObjAngle)), -5 * kDeg, 1e-6);
    SolveParaxial(d, false);
    ASSERT_FALSE(d.bCalcInvalid);
    const auto point = DesignPoint(d);
    ASSERT_TRUE(point);
    EXPECT_REL_TOL(point->a, 0.25, 1e-6);
    EXPECT_REL_TOL(point->angle, 5.0, 1e-5);

    // A stop radius stays the chosen kind, set to give the f-number.
    ParaxialDesign stop = test::Solved({{kFocal, 100}, {kObjDist, -400}, {kObjAngle, 0.1f}}, 5);
    ASSERT_TRUE(MoveToApertureField(stop, {0.1, 3}));
    EXPECT_EQ(stop.aperture.Index(1), kStopRadius);
    EXPECT_REL_TOL(stop.aperture.Value(1), 100 / (2 * 5.0), 1e-6);

    // Refused, and nothing changed: the same point again, outside the ranges, an invalid solve.
    const ParaxialDesign before = d;
    for (const PlotPoint p : {*point, PlotPoint{0.009, 5}, PlotPoint{1.01, 5},
                              PlotPoint{0.25, 0.09}, PlotPoint{0.25, 90}}) {
        EXPECT_FALSE(MoveToApertureField(d, p)) << p.a << " " << p.angle;
        EXPECT_TRUE(d.params == before.params && d.aperture == before.aperture);
    }
    d.bCalcInvalid = true;
    EXPECT_FALSE(MoveToApertureField(d, {0.3, 5}));
}

TEST(ApFieldReadOut, TextsUnderTheCursor) {
    ParaxialDesign d = test::Solved({{kFocal, 100}, {kObjDist, -400}, {kObjAngle, 0.1f}}, 5);
    const auto f = ApertureFieldAt({0.25, 5}, d);
    ASSERT_TRUE(f);
    const double aImg = d.paramTable.Get(kImgDist);
    const std::string text = ApFieldReadOut(d, *f, kDeg, "Grad");
    EXPECT_EQ(text.substr(0, text.find("Grad")), text::Format(f->point.angle, "0.0##"));
    EXPECT_NE(text.find("  F/" + text::Format(f->fNumber, "0.0##") + "  F(eff)/" +
                        text::Format(f->fNumber * aImg / 100, "0.0##") + "  NA':"),
              std::string::npos)
        << text;
    // A mirror's n' is negative; the NA' reads as the list shows it, by its magnitude.
    ParaxialDesign mirror = d;
    mirror.options.mirrorMode = true;
    const auto m = ApertureFieldAt({0.25, 5}, mirror);
    ASSERT_TRUE(m && m->imageNA < 0);
    EXPECT_NE(
        ApFieldReadOut(mirror, *m, kDeg, "Grad").find("NA':" + text::Format(-m->imageNA, "0.0##")),
        std::string::npos);
    EXPECT_EQ(FNumberText(2), "F/2.0");
    d.aperture.Clear();  // a click would not be accepted: no read-out
    EXPECT_EQ(ApFieldReadOut(d, *f, kDeg, "Grad"), "");
}

// Engraved f-numbers and the exact ones they stand for.
TEST(StandardFNumbers, EngravedAndExact) {
    EXPECT_EQ(StandardFNumberText(0), "1");
    EXPECT_EQ(StandardFNumberRow(0), "F/1");  // engraved and exact agree
    EXPECT_EQ(StandardFNumberText(26), "64");
    EXPECT_EQ(StandardFNumberText(27), "");
    EXPECT_NEAR(ExactFNumber(1), 1.1892, 5e-5);
    EXPECT_NEAR(ExactFNumber(3), 1.5874, 5e-5);
    EXPECT_NEAR(ExactFNumber(17), 12.699, 5e-4);
    EXPECT_EQ(StandardFNumberRow(1), "F/1.2     (exakt 1.1892)");
    // Every full stop is a power of √2.
    for (int entry : {2, 5, 7, 9, 11, 14, 16, 18, 20, 22, 24, 26}) {
        const double j = std::round(2 * std::log2(ExactFNumber(entry)));
        EXPECT_NEAR(ExactFNumber(entry), std::pow(std::sqrt(2.0), j), 1e-12) << entry;
    }
}

}  // namespace
}  // namespace rs::analysis
