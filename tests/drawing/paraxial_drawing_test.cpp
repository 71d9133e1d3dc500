#include "drawing/paraxial_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

#include "drawing/recording_surface.h"
#include "engine/design_builder.h"

namespace rs::drawing {
namespace {

using namespace engine;  // the design and its parameter indices

using test::Solved;

ParaxialDrawingOptions Options(bool hideRemote, bool points, bool rays, bool dragging = false) {
    ParaxialDrawingOptions o;
    o.hideRemoteConjugates = hideRemote;
    o.drawPoints = points;
    o.constructionRays = rays;
    o.dragging = dragging;
    return o;
}
const ParaxialDrawingOptions kHide = Options(true, false, false);
const ParaxialDrawingOptions kPoints = Options(false, true, false);
const ParaxialDrawingOptions kRays = Options(false, false, true);
const ParaxialDrawingOptions kDragging = Options(false, false, false, true);

struct Picture {
    RecordingSurface surface;
    DrawingExtents extents;
    ParaxialTouchPoints touch;
    RedrawOutcome outcome = RedrawOutcome::NotSolved;

    void Draw(const ParaxialDesign& d, const ParaxialDrawingOptions& o = {}) {
        surface.Forget();
        outcome = RedrawParaxial(surface, d, o, extents, touch);
    }
    // Pixel positions as the primitives round them.
    double Px(float x) const { return std::round(touch.scale.WorldToScreenX(x)); }
    double Py(float y) const { return std::round(touch.scale.WorldToScreenY(y)); }

    std::vector<SurfaceCall> Lines(const std::function<bool(const SurfaceCall&)>& pred) const {
        std::vector<SurfaceCall> out;
        for (const auto& l : surface.Lines()) {
            if (pred(l)) out.push_back(l);
        }
        return out;
    }
    // Object and image arrows: thin black verticals standing on the axis.
    std::vector<SurfaceCall> Arrows() const {
        const double axis = Py(0);
        return Lines([axis](const SurfaceCall& l) {
            return l.x1 == l.x2 && (l.y1 == axis || l.y2 == axis) && l.pen.colour == kBlack &&
                   l.pen.width == 1;
        });
    }
    std::size_t CountColour(Colour c) const {
        return Lines([c](const SurfaceCall& l) { return l.pen.colour == c; }).size();
    }
    const SurfaceCall& Text(std::string_view text) const {
        const SurfaceCall* t = surface.FindText(text);
        if (t == nullptr) throw std::runtime_error("missing label " + std::string(text));
        return *t;
    }
};

double Slope(const SurfaceCall& l) {
    return (l.y2 - l.y1) / (l.x2 - l.x1);
}

constexpr double kTextH = RecordingSurface::kTextHeight;

TEST(RedrawParaxial, LensInAir) {
    Picture pic;
    pic.Draw(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10));
    ASSERT_EQ(pic.outcome, RedrawOutcome::Drawn);
    EXPECT_EQ(pic.surface.Calls().front().kind, SurfaceCall::Kind::Clear);
    EXPECT_EQ(pic.extents, (DrawingExtents{200, -200, 10, -10, true}));

    const ParaxialTouchPoints& t = pic.touch;
    ASSERT_TRUE(t.registered);
    EXPECT_FLOAT_EQ(t.objectX, -200);
    EXPECT_FLOAT_EQ(t.imageX, 200);
    EXPECT_FLOAT_EQ(t.rearFocusX, 100);
    EXPECT_FLOAT_EQ(t.apertureBottomY, -10);

    // Two arrows, both fans solid (three black rays and a red one each), no points.
    EXPECT_EQ(pic.Arrows().size(), 2u);
    EXPECT_EQ(pic.CountColour(kRed), 2u);
    EXPECT_TRUE(pic.Lines([](auto& l) { return l.pen.style == LineStyle::Dotted; }).empty());
    EXPECT_EQ(pic.CountColour(kBlue), 0u);

    // The upright object's label hangs from the axis, the inverted image's stands above it.
    EXPECT_EQ(pic.Text("o").y1, pic.Py(0));
    EXPECT_EQ(pic.Text("o'").y1, std::round(pic.touch.scale.WorldToScreenY(0) - 1.2 * kTextH));
    EXPECT_EQ(pic.surface.FindText("P'"), nullptr);
}

TEST(RedrawParaxial, ThickSystemPushesThePrincipalLabelsApart) {
    ParaxialDesign d;
    d.options.advOptions = true;
    d.options.advanced.separation = 20;
    test::Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    test::ChooseAperture(d, kStopRadius, 10);
    ASSERT_TRUE(SolveParaxial(d, false));
    Picture pic;
    pic.Draw(d, kPoints);
    EXPECT_FLOAT_EQ(pic.touch.secondPrincipalX, 20);
    EXPECT_FLOAT_EQ(pic.touch.imageX, 20 + d.paramTable.Get(kImgDist));
    const auto box = pic.surface.Of(SurfaceCall::Kind::Box).at(0);  // the gap between P and P'
    EXPECT_EQ(box.x1, pic.Px(0));
    EXPECT_EQ(box.x2, pic.Px(20));
    EXPECT_LE(pic.Text("P").x1 + 7, pic.Text("P'").x1);
    EXPECT_EQ(pic.CountColour(kBlue), 2u);     // F and F'
    EXPECT_EQ(pic.CountColour(kMagenta), 0u);  // same medium on both sides: N = P
}

TEST(DrawingExtents, HeightFallsBackToATenthOfTheLength) {
    const auto flat =
        ComputeParaxialExtents(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 0}}), {});
    EXPECT_FLOAT_EQ(flat.yMax, 40);
    EXPECT_FLOAT_EQ(flat.yMin, -40);

    // Room for the focal ray of a diverging lens.
    const ParaxialDesign diverging = Solved({{kFocal, -100}, {kObjDist, -200}, {kObjHeight, 0}});
    EXPECT_FLOAT_EQ(ComputeParaxialExtents(diverging, kRays).yMax, 33);

    // Even without heights and without a stop the element keeps a visible size.
    Picture pic;
    pic.Draw(diverging);
    const auto symbol = pic.Lines([&](auto& l) { return l.x1 == l.x2 && l.y1 == pic.Py(15); });
    ASSERT_FALSE(symbol.empty());
    EXPECT_EQ(symbol[0].y2, pic.Py(-15));
}

TEST(RedrawParaxial, ObjectAtInfinity) {
    ParaxialDesign d;
    d.options.objAtInfinity = true;
    test::Choose(d, {{kFocal, 100}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}});
    test::ChooseAperture(d, kFNumber, 4);
    ASSERT_TRUE(SolveParaxial(d, false));
    Picture pic;
    pic.Draw(d);
    ASSERT_EQ(pic.outcome, RedrawOutcome::Drawn);
    EXPECT_FLOAT_EQ(pic.extents.xMin, -100);

    EXPECT_EQ(pic.Text("o [unendlich]").x1, std::round(pic.touch.scale.screenLeft));
    const auto arrows = pic.Arrows();
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].x1, pic.Px(100));

    // The object-side rays arrive parallel, at the field angle.
    const double p = pic.Px(0);
    const auto incoming = pic.Lines(
        [p](auto& l) { return l.pen.colour == kBlack && l.x2 == p && l.x1 < p && l.y1 != l.y2; });
    ASSERT_EQ(incoming.size(), 3u);
    for (const auto& l : incoming) EXPECT_NEAR(Slope(l), -std::tan(0.1), 0.01);
}

TEST(RedrawParaxial, RemoteObjectHiddenBeyondTenTimesTheImageDistance) {
    Picture remote;
    remote.Draw(Solved({{kObjDist, -1001}, {kImgDist, 100}, {kObjHeight, 5}}), kHide);
    EXPECT_EQ(remote.Text("o [entfernt]").x1, std::round(remote.touch.scale.screenLeft));
    EXPECT_EQ(remote.surface.FindText("o"), nullptr);
    EXPECT_EQ(remote.Arrows().size(), 1u);
    EXPECT_FLOAT_EQ(remote.extents.xMin, -100);
    // The image label moves beside its arrow, left of it and inside the picture, its foot at
    // the tip below the axis.
    const float tip = remote.touch.imageTipY;
    ASSERT_LT(tip, 0);
    EXPECT_LE(remote.Text("o'").x1 + 2 * 7, remote.Px(100));
    EXPECT_EQ(remote.Text("o'").y1, std::round(remote.touch.scale.WorldToScreenY(tip) - kTextH));

    Picture tenTimes;
    tenTimes.Draw(Solved({{kObjDist, -1000}, {kImgDist, 100}, {kObjHeight, 5}}), kHide);
    EXPECT_EQ(tenTimes.Arrows().size(), 2u);

    Picture shown;
    shown.Draw(Solved({{kObjDist, -1001}, {kImgDist, 100}, {kObjHeight, 5}}));
    EXPECT_NE(shown.surface.FindText("o"), nullptr);
}

TEST(RedrawParaxial, VirtualImageDottedWithSolidContinuations) {
    Picture pic;
    pic.Draw(Solved({{kFocal, 100}, {kObjDist, -50}, {kObjHeight, 10}}, 10));
    const auto dotted = pic.Lines([](auto& l) { return l.pen.style == LineStyle::Dotted; });
    ASSERT_EQ(dotted.size(), 5u);  // four image-side rays and the image arrow
    const double pp = pic.Px(0);
    int continued = 0;
    for (const auto& ray : dotted) {
        if (ray.x1 == ray.x2) {
            EXPECT_EQ(ray.x1, pic.Px(-100));  // the arrow of the virtual image
            continue;
        }
        ASSERT_EQ(ray.x2, pp);
        const auto real = pic.Lines([&](auto& l) {
            return l.pen.style == LineStyle::Solid && l.pen.colour == ray.pen.colour &&
                   l.x1 == ray.x2 && l.y1 == ray.y2 && l.x2 > l.x1 &&
                   std::fabs(Slope(l) - Slope(ray)) < 0.05;
        });
        ASSERT_EQ(real.size(), 1u) << ray;
        EXPECT_NEAR(real[0].x2 - real[0].x1, pic.touch.scale.WorldToScreenDX(10), 1);
        ++continued;
    }
    EXPECT_EQ(continued, 4);
}

// The heads at the upper end of the lens symbol: +4 pixels down (pointing out) or -4.
std::vector<double> UpperHeads(const ParaxialDesign& d) {
    Picture pic;
    pic.Draw(d);
    const double x = pic.Px(0), top = pic.Py(10);
    std::vector<double> drops;
    for (const auto& l :
         pic.Lines([&](auto& l) { return l.x1 == x && l.y1 == top && std::fabs(l.x2 - x) == 3; })) {
        drops.push_back(l.y2 - l.y1);
    }
    return drops;
}

TEST(RedrawParaxial, LensSymbolFollowsTheSignOfTheFocalLength) {
    EXPECT_EQ(UpperHeads(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10)),
              (std::vector<double>{4, 4}));
    EXPECT_EQ(UpperHeads(Solved({{kFocal, -100}, {kObjDist, -200}, {kObjHeight, 10}}, 10)),
              (std::vector<double>{-4, -4}));
}

TEST(RedrawParaxial, MirrorShowsNodalPointsAndBendsTowardsItsFocus) {
    Picture pic;
    pic.Draw(Solved({{kFocal, -50}, {kObjDist, -200}, {kObjHeight, 10}}, 10, true), kPoints);
    ASSERT_EQ(pic.outcome, RedrawOutcome::Drawn);
    const double x = pic.Px(0);
    const auto thick = pic.Lines([x](auto& l) { return l.pen.width == 2 && l.x1 == x; });
    EXPECT_EQ(thick.size(), 2u);  // principal plane and mirror
    const auto ends = pic.Lines([&](auto& l) {
        return l.x1 == x && (l.y1 == pic.Py(10) || l.y1 == pic.Py(-10)) && l.x2 != x;
    });
    ASSERT_EQ(ends.size(), 2u);
    for (const auto& e : ends) EXPECT_EQ(e.x2, x - 8);  // concave: towards the light

    EXPECT_EQ(pic.CountColour(kMagenta), 2u);
    // N and N' (like F and F') coincide at the centre of curvature; their labels do not.
    for (auto [first, second] : {std::pair{"N", "N'"}, std::pair{"F", "F'"}}) {
        EXPECT_LE(pic.Text(first).x1 + 7, pic.Text(second).x1) << first;
    }
}

TEST(RedrawParaxial, ConstructionRays) {
    Picture pic;
    pic.Draw(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10), kRays);
    EXPECT_EQ(pic.CountColour(kRed), 2u);
    EXPECT_EQ(pic.CountColour(kGreen), 2u);
    EXPECT_EQ(pic.CountColour(kBlue), 2u);
    const auto parallel = pic.Lines([](auto& l) { return l.pen.colour == kRed; });
    EXPECT_EQ(parallel[0].y1, pic.Py(10));
    EXPECT_EQ(parallel[0].y2, pic.Py(10));

    // The image in the focal plane's conjugate: no focal ray; object at infinity: no parallel.
    Picture focalPlane;
    focalPlane.Draw(Solved({{kFocal, 100}, {kObjDist, -100}, {kObjHeight, 10}}, 10), kRays);
    EXPECT_NE(focalPlane.surface.FindText("o [unendlich]"), nullptr);
    EXPECT_EQ(focalPlane.CountColour(kBlue), 0u);
    EXPECT_EQ(focalPlane.CountColour(kRed), 2u);

    ParaxialDesign inf;
    inf.options.objAtInfinity = true;
    test::Choose(inf, {{kFocal, 100}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}});
    ASSERT_TRUE(SolveParaxial(inf, false));
    Picture infinite;
    infinite.Draw(inf, kRays);
    EXPECT_EQ(infinite.CountColour(kRed), 0u);
    EXPECT_EQ(infinite.CountColour(kGreen), 2u);
}

TEST(RedrawParaxial, WithoutSolutionOnlyClears) {
    ParaxialDesign failed = Solved({{kObjDist, -100}, {kMagnif, 0}, {kObjHeight, 1}});
    ASSERT_TRUE(failed.bCalcInvalid);
    ParaxialDesign incomplete;
    test::Choose(incomplete, {{kFocal, 100}, {kObjDist, -200}});
    for (const ParaxialDesign* d : {&failed, &incomplete}) {
        Picture pic;
        pic.Draw(*d);
        EXPECT_EQ(pic.outcome, RedrawOutcome::NotSolved);
        ASSERT_EQ(pic.surface.Calls().size(), 1u);
        EXPECT_FALSE(pic.extents.defined || pic.touch.registered);
    }
}

TEST(RedrawParaxial, DragFreezesExtentsAndTouchPointsThenRescales) {
    Picture pic;
    pic.surface.SetScale({0, 0, 1600, 600});
    pic.Draw(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 100}}, 10));
    const DrawingExtents before = pic.extents;
    const ParaxialTouchPoints touchBefore = pic.touch;

    // Dragged beyond the old extents: still drawn, on the old scale.
    const ParaxialDesign moved = Solved({{kFocal, 100}, {kObjDist, -250}, {kObjHeight, 100}}, 10);
    pic.Draw(moved, kDragging);
    EXPECT_EQ(pic.extents, before);
    EXPECT_FLOAT_EQ(pic.touch.objectX, touchBefore.objectX);
    EXPECT_EQ(pic.touch.scale, touchBefore.scale);
    auto arrows = pic.Arrows();
    EXPECT_TRUE(
        std::any_of(arrows.begin(), arrows.end(), [&](auto& l) { return l.x1 == pic.Px(-250); }));

    pic.Draw(moved);
    EXPECT_FLOAT_EQ(pic.extents.xMin, -250);
    EXPECT_FLOAT_EQ(pic.touch.objectX, -250);
}

TEST(RedrawParaxial, FaultsAndWildValuesStopSilently) {
    Picture tiny;
    tiny.surface.SetScale({0, 0, 20, 20});
    tiny.Draw(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10));
    EXPECT_EQ(tiny.outcome, RedrawOutcome::Stopped);
    EXPECT_EQ(tiny.surface.Calls().size(), 1u);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<int, float> corruptions[] = {
        {kObjHeight, nan}, {kImgHeight, inf}, {kImgDist, 3e38f},   {kObjDist, -3e38f},
        {kFocal, nan},     {kImgAngle, nan},  {kObjHeight, 1e-30f}};
    for (auto [index, value] : corruptions) {
        for (bool rays : {false, true}) {
            ParaxialDesign d = Solved({{kFocal, 100}, {kObjDist, -50}, {kObjHeight, 10}}, 10);
            d.paramTable.Set(index, value);
            Picture pic;
            pic.Draw(d, Options(true, true, rays));
            for (const auto& c : pic.surface.Calls()) {
                for (double v : {c.x1, c.y1, c.x2, c.y2}) {
                    ASSERT_TRUE(std::isfinite(v) && std::fabs(v) <= 100000)
                        << index << " = " << value << ": " << c;
                }
            }
        }
    }
}

}  // namespace
}  // namespace rs::drawing
