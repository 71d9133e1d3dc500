// Lens ideas: where the plane lies on a plot, the types' outlines on it and which of them hold a
// pixel, the design's point and the move of a design to a clicked point.
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

// The command line's plot: 640 by 480 pixels, the plane 12 pixels inside.
constexpr PlaneToPixels kPlot{12, 628, 468, 12};

std::string NamesAt(bool mirror, double a, double angle) {
    return LensClassesAt(mirror, kPlot, {a, angle}).text;
}

TEST(PlaneToPixels, EndsOfTheAxesInWholePixels) {
    // f-number 50 at the left end, 0.5 at the right one; larger angles higher up, the mirror
    // axis ending at 10°.
    EXPECT_EQ(PixelOf(false, kPlot, {0.01, 0.1}), (PlotPixel{12, 468}));
    EXPECT_EQ(PixelOf(false, kPlot, {1.0, 100}), (PlotPixel{628, 12}));
    EXPECT_EQ(PixelOf(true, kPlot, {1.0, 10}), (PlotPixel{628, 12}));
    // A half pixel goes away from the axis' start on both axes: right, and up.
    EXPECT_EQ(PixelOf(true, {0, 5, 5, 0}, {0.1, 1}), (PlotPixel{3, 2}));
    for (const PlotPoint p :
         {PlotPoint{0.0, 1}, PlotPoint{0.1, -1}, PlotPoint{NAN, 1}, PlotPoint{0.1, INFINITY}}) {
        EXPECT_FALSE(PixelOf(false, kPlot, p)) << p.a << " " << p.angle;
    }
    // So far off that it is no pixel any more.
    EXPECT_FALSE(PixelOf(false, {0, 1e5, 1e5, 0}, {1e-300, 1}));
    // A plot without room between the ends shows nothing.
    EXPECT_FALSE(PixelOf(false, {12, 12, 468, 12}, {0.1, 1}));
    EXPECT_FALSE(PixelOf(false, {12, 628, 12, 468}, {0.1, 1}));
}

TEST(LensOutlines, ClosedEllipsesThroughTheirLongAxisInWholePixels) {
    for (const bool mirror : {false, true}) {
        const auto outlines = LensOutlines(mirror, kPlot);
        ASSERT_EQ(outlines.size(), LensClasses(mirror).size());
        for (std::size_t i = 0; i < outlines.size(); ++i) {
            const LensClass& type = LensClasses(mirror)[i];
            const std::vector<PlotPixel>& r = outlines[i];
            ASSERT_EQ(r.size(), 101u) << type.names[0];
            const PlotPixel p1 = *PixelOf(mirror, kPlot, type.regionPoints[0]);
            const PlotPixel p2 = *PixelOf(mirror, kPlot, type.regionPoints[1]);
            // From P2 half round to P1 and back, each within the centre's rounding.
            EXPECT_NEAR(r.front().x, p2.x, 1.0);
            EXPECT_NEAR(r.front().y, p2.y, 1.0);
            EXPECT_NEAR(r[50].x, p1.x, 1.0);
            EXPECT_NEAR(r[50].y, p1.y, 1.0);
            EXPECT_EQ(r.back(), r.front());
            for (const PlotPixel& p : r)
                EXPECT_TRUE(p.x == std::round(p.x) && p.y == std::round(p.y));
        }
    }
    // On a tiny plot an ellipse whose long axis has no length is left out, not divided by; a
    // plot without room has none at all.
    const auto tiny = LensOutlines(false, {12, 18, 18, 12});
    EXPECT_TRUE(std::any_of(tiny.begin(), tiny.end(), [](const auto& r) { return r.empty(); }));
    for (const auto& r : LensOutlines(false, {12, 12, 18, 12})) EXPECT_TRUE(r.empty());
}

TEST(LensClassesAt, FirstTwoInCatalogueOrder) {
    EXPECT_EQ(LensClasses(false).size(), 15u);
    EXPECT_EQ(LensClasses(false)[14].names[0], " aufgesp. Triplet");
    EXPECT_EQ(LensClasses(true).size(), 4u);
    EXPECT_EQ(NamesAt(false, 0.4, 10), " Petzval");
    EXPECT_EQ(NamesAt(false, 0.35, 11), " Doppel Gauss | Petzval");
    // Inside Retrofokus, Doppel Gauss and Hemiplanar: only the first two are named.
    const PlotPixel at = *PixelOf(false, kPlot, {0.135, 38});
    int inside = 0;
    for (const auto& outline : LensOutlines(false, kPlot))
        inside += InsidePolygon(outline, at.x, at.y);
    EXPECT_EQ(inside, 3);
    EXPECT_EQ(LensClassesAt(false, kPlot, {0.135, 38}).classes, (std::vector<int>{2, 3}));
    EXPECT_EQ(NamesAt(false, 0.015, 0.15), "");
    EXPECT_EQ(NamesAt(false, 0.0, 10), "");
    // Mirror mode offers only the mirror types.
    EXPECT_EQ(NamesAt(true, 0.4, 4), " Schmidt");
}

TEST(LensClassesAt, HitsWhatTheOutlinesOfThatPlotHold) {
    // Plots small, wide and low, narrow and high: every pixel (and between pixels) is in the
    // types whose drawn outline holds it, the first two of them.
    for (const PlaneToPixels plot :
         {PlaneToPixels{12, 308, 228, 12}, PlaneToPixels{40, 1160, 230, 20},
          PlaneToPixels{30, 210, 700, 10}}) {
        for (const bool mirror : {false, true}) {
            const auto outlines = LensOutlines(mirror, plot);
            int hit = 0;
            for (double x = plot.x0 - 5; x <= plot.x1 + 5; x += 2.5) {
                for (double y = plot.y1 - 5; y <= plot.y0 + 5; y += 2.5) {
                    std::vector<int> expected;
                    for (std::size_t i = 0; i < outlines.size() && expected.size() < 2; ++i) {
                        if (InsidePolygon(outlines[i], x, y)) expected.push_back(int(i));
                    }
                    hit += !expected.empty();
                    ASSERT_EQ(LensClassesAt(mirror, plot, x, y).classes, expected)
                        << x << " " << y << " " << mirror;
                }
            }
            EXPECT_GT(hit, 100);
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
