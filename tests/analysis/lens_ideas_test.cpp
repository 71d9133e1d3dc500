// Lens ideas: the plot's axes, the types that fit a point, the design's point and the move of a
// design to a clicked point; and the plot drawn on a recording surface.
#include "analysis/lens_ideas.h"

#include "analysis/f_stops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "drawing/ap_field_drawing.h"
#include "drawing/recording_surface.h"
#include "engine/design_builder.h"
#include "support/numeric.h"
#include "text/vb_format.h"

namespace rs::analysis {
namespace {

using namespace engine;
constexpr double kDeg = 3.14159265358979323846 / 180.0;

// The pixel of a plane point in `plot`.
std::pair<double, double> Pixel(const ApFieldPlot& plot, double a, double angle) {
    return {*AxisPosition(plot.x, a), *AxisPosition(plot.y, angle)};
}

std::string NamesAt(const ApFieldPlot& plot, double a, double angle) {
    const auto [x, y] = Pixel(plot, a, angle);
    return LensClassesAt(plot, x, y).text;
}

TEST(ApFieldAxes, MarginsAndRoundTrips) {
    const PlotAxis x = ApertureAxis(640), lens = FieldAxis(480, false),
                   mirror = FieldAxis(480, true);
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
    EXPECT_FALSE(AxisPosition(ApertureAxis(24), 0.1));
    EXPECT_EQ(AxisValue(ApertureAxis(20), 10), 0.0);
    EXPECT_FALSE(AxisPosition(x, 0.0) || AxisPosition(x, -1.0) || AxisPosition(x, NAN));
}

TEST(LensClassesAt, FirstTwoInCatalogueOrder) {
    EXPECT_EQ(LensClasses(false).size(), 15u);
    EXPECT_EQ(LensClasses(false)[14].names[0], " aufgesp. Triplet");
    EXPECT_EQ(LensClasses(true).size(), 4u);
    const ApFieldPlot lenses = MakeApFieldPlot(640, 480, false);
    EXPECT_EQ(NamesAt(lenses, 0.4, 10), " Petzval");
    EXPECT_EQ(NamesAt(lenses, 0.35, 11), " Doppel Gauss | Petzval");
    // Inside Retrofokus, Doppel Gauss and Hemiplanar: only the first two are named.
    const auto [x, y] = Pixel(lenses, 0.135, 38);
    int inside = 0;
    for (const auto& region : lenses.regions) inside += InsidePolygon(region, x, y);
    EXPECT_EQ(inside, 3);
    EXPECT_EQ(LensClassesAt(lenses, x, y).classes, (std::vector<int>{2, 3}));
    EXPECT_EQ(NamesAt(lenses, 0.015, 0.15), "");
    // Mirror mode offers only the mirror types.
    EXPECT_EQ(NamesAt(MakeApFieldPlot(640, 480, true), 0.4, 4), " Schmidt");
    // On a tiny plot an ellipse whose long axis has no length is left out, not divided by.
    const ApFieldPlot tiny = MakeApFieldPlot(30, 30, false);
    EXPECT_TRUE(std::any_of(tiny.regions.begin(), tiny.regions.end(),
                            [](const auto& r) { return r.empty(); }));
    EXPECT_TRUE(MakeApFieldPlot(10, 10, false).regions[0].empty());
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
    const ApFieldPlot plot = MakeApFieldPlot(640, 480, true);
    const auto [px, py] = Pixel(plot, 0.25, 2);
    const auto figures = ApertureFieldAt(plot, px, py, mirror);
    ASSERT_TRUE(figures);
    EXPECT_REL_TOL(figures->fNumber, 2.0, 0.02);
    EXPECT_REL_TOL(figures->stopRadius, 250 / (2 * figures->fNumber), 1e-9);
    EXPECT_FALSE(ApertureFieldAt(plot, 5, py, mirror));  // left of the axis
    ParaxialDesign atFocus = mirror;
    atFocus.paramTable.Set(kImgDist, 0.0f);
    EXPECT_FALSE(ApertureFieldAt(plot, px, py, atFocus));
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
    const ApFieldPlot plot = MakeApFieldPlot(640, 480, false);
    const auto [px, py] = Pixel(plot, 0.25, 5);
    const auto f = ApertureFieldAt(plot, px, py, d);
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
    const auto m = ApertureFieldAt(plot, px, py, mirror);
    ASSERT_TRUE(m && m->imageNA < 0);
    EXPECT_NE(
        ApFieldReadOut(mirror, *m, kDeg, "Grad").find("NA':" + text::Format(-m->imageNA, "0.0##")),
        std::string::npos);
    EXPECT_EQ(FNumberText(2), "F/2.0");
    d.aperture.Clear();  // a click would not be accepted: no read-out
    EXPECT_EQ(ApFieldReadOut(d, *f, kDeg, "Grad"), "");
}

TEST(ApFieldDrawing, RegionsNamesAndTheDesignsCrossHair) {
    const ApFieldPlot plot = MakeApFieldPlot(320, 240, false);
    drawing::RecordingSurface surface({0, 0, 320, 240});
    drawing::ApFieldDrawing options;
    options.design = PlotPoint{0.25, 5};
    options.highlighted = {3};
    options.shortNames = true;
    drawing::DrawApFieldPlot(surface, plot, options);
    // Names never cover each other.
    const auto texts = surface.Texts();
    ASSERT_GE(texts.size(), 8u);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const auto a = surface.MeasureText(texts[i].text),
                       b = surface.MeasureText(texts[j].text);
            EXPECT_TRUE(
                texts[i].x1 + a.width <= texts[j].x1 || texts[j].x1 + b.width <= texts[i].x1 ||
                texts[i].y1 + a.height <= texts[j].y1 || texts[j].y1 + b.height <= texts[i].y1)
                << texts[i] << " / " << texts[j];
        }
    }
    EXPECT_NE(surface.FindText("D Gauss"), nullptr);
    // The highlighted region in green and wider; the cross-hair through the design's point.
    int green = 0, mark = 0;
    const auto [x, y] = Pixel(plot, 0.25, 5);
    for (const auto& l : surface.Lines()) {
        green += l.pen.colour == drawing::kGreen && l.pen.width == 2;
        mark += l.pen.colour == drawing::kDesignMark && (l.x1 == x || l.y1 == y);
    }
    EXPECT_EQ(green, 100);
    EXPECT_EQ(mark, 2);

    // The strips: the f-numbers 50, 5, 1 and 0.5 numbered (all on request), the titles.
    drawing::RecordingSurface strip({0, 0, 320, 40});
    drawing::DrawApertureStrip(strip, plot.x, false);
    for (const char* n : {"50", "5.0", "1.0", "0.5"}) EXPECT_NE(strip.FindText(n), nullptr) << n;
    EXPECT_EQ(strip.FindText("25"), nullptr);
    EXPECT_NE(strip.FindText("Blendenzahl [unendliche Objektweite]"), nullptr);
    strip.Forget();
    drawing::DrawApertureStrip(strip, plot.x, true);
    EXPECT_GT(strip.Texts().size(), 8u);
    EXPECT_NE(strip.FindText("25"), nullptr);
    drawing::RecordingSurface side({0, 0, 40, 240});
    drawing::DrawFieldStrip(side, plot.y);
    for (const char* n : {"0.1", "1.0", "10.0", "100.0"}) EXPECT_NE(side.FindText(n), nullptr) << n;
    ASSERT_EQ(side.Of(drawing::SurfaceCall::Kind::RotatedText).size(), 1u);
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
