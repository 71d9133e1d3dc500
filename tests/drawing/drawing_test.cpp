// Drawing: scale, clipping, primitives and the paraxial picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

#include "drawing/drawing_scale.h"
#include "drawing/paraxial_drawing.h"
#include "drawing/recording_surface.h"
#include "engine/design_builder.h"

namespace rs::drawing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const ClipRect kSquare{0.0, 10.0, 0.0, 10.0};

struct Segment {
    double x1, y1, x2, y2;
};

// Clips a copy; nothing when invisible.
std::optional<Segment> Clip(Segment s, const ClipRect& r = kSquare) {
    if (!ClipLine(r, s.x1, s.y1, s.x2, s.y2)) return std::nullopt;
    return s;
}

TEST(ClipLine, VisiblePartsAndInvisibleLines) {
    // Both ends beyond the same edge, and a line passing just outside the top-left corner
    // (the ends lie beyond different edges, so only the iteration can tell).
    EXPECT_FALSE(Clip({-5, 2, -1, 8}));
    EXPECT_FALSE(Clip({-5, 4, 4, 15}));

    // Crossing a corner region: cut at the left and at the top edge.
    const auto corner = Clip({-2, 5, 5, 12}).value_or(Segment{});
    EXPECT_EQ(std::tuple(corner.x1, corner.y1, corner.x2, corner.y2), std::tuple(0, 7, 3, 10));

    // A diagonal through two corners, and a line lying on an edge (edges are inside).
    const auto diagonal = Clip({-5, -5, 15, 15}).value_or(Segment{});
    EXPECT_EQ(std::tuple(diagonal.x1, diagonal.y2), std::tuple(0, 10));
    EXPECT_TRUE(Clip({0, 0, 0, 10}));
    EXPECT_FALSE(PointInRect(kSquare, std::nextafter(10.0, 11.0), 5));
    EXPECT_FALSE(PointInRect(kSquare, kNaN, 5));
}

TEST(ClipLine, FarEndPointKeepsTheVisiblePartExact) {
    // A ray from an object at infinity: slope 0.1 ending at (0, 5). Measured from the far end
    // the crossing would lose every digit.
    const ClipRect r{-10.0, 10.0, -1e20, 1e20};  // the far end lies beyond the left edge only
    auto ray = Clip({-1e20, 5.0 - 1e19, 0.0, 5.0}, r);
    ASSERT_TRUE(ray);
    EXPECT_DOUBLE_EQ(ray->x1, -10.0);
    EXPECT_NEAR(ray->y1, 4.0, 1e-9);
}

// Non-finite and huge input ends the clipping; whatever is called visible lies inside.
TEST(ClipLine, TerminatesForNonFiniteInput) {
    EXPECT_FALSE(Clip({kNaN, 0, 5, 5}));
    EXPECT_FALSE(Clip({0, 0, 5, 5}, {kNaN, 10, 0, 10}));
    EXPECT_FALSE(Clip({5, 5, 50, -50}, {10, 0, 10, 0}));  // inverted rectangle
    auto horizontal = Clip({-kInf, 5, kInf, 5});
    ASSERT_TRUE(horizontal);
    EXPECT_DOUBLE_EQ(horizontal->x1, 0.0);
    EXPECT_DOUBLE_EQ(horizontal->x2, 10.0);
    for (const Segment s : {Segment{-kInf, -kInf, kInf, kInf}, {1e308, -1e308, -1e308, 1e308}}) {
        if (auto c = Clip(s)) {
            EXPECT_TRUE(PointInRect(kSquare, c->x1, c->y1) && PointInRect(kSquare, c->x2, c->y2));
        }
    }
}

TEST(DrawingScale, ConversionsAndFailures) {
    auto s = MakeDrawingScale(10, 410, 20, 220, -100, 100, -50, 50);
    ASSERT_TRUE(s);
    EXPECT_FLOAT_EQ(s->WorldToScreenX(-100), 10);
    EXPECT_FLOAT_EQ(s->WorldToScreenY(-50), 220);  // y grows downwards on the surface
    EXPECT_FLOAT_EQ(s->ScreenToWorldX(s->WorldToScreenX(37.5f)), 37.5f);
    EXPECT_FLOAT_EQ(s->ScreenToWorldY(s->WorldToScreenY(-12.25f)), -12.25f);

    EXPECT_FALSE(MakeDrawingScale(10, 410, 20, 220, 5, 5, -50, 50));      // zero world width
    EXPECT_FALSE(MakeDrawingScale(10, 410, 20, 20, -100, 100, -50, 50));  // zero screen height
    EXPECT_FALSE(MakeDrawingScale(10, 410, 20, 220, -1e38f, 1e38f, -1e-38f, 1e-38f));
    EXPECT_FALSE(MakeDrawingScale(10, 410, 20, 220, std::nanf(""), 1, -1, 1));

    // The clip reaches the surface's top and bottom; while dragging its width too.
    const ClipRect normal = MakeClipRect(*s, 0, 240, false, 0, 420);
    EXPECT_DOUBLE_EQ(normal.xMin, -100);
    EXPECT_DOUBLE_EQ(normal.yMin, -60);
    const ClipRect wide = MakeClipRect(*s, 0, 240, true, 0, 420);
    EXPECT_DOUBLE_EQ(wide.xMin, -105);
    EXPECT_DOUBLE_EQ(wide.xMax, 105);
}

TEST(FitEqualScale, SamePixelsPerMillimetreAndCentred) {
    const ScaleRect area{0, 0, 800, 600};
    const DrawingExtents wide{500, -500, 10, -10, true};
    auto w = FitEqualScale(area, wide, false);
    ASSERT_TRUE(w);
    EXPECT_FLOAT_EQ(w->scale.scaleX, 780.0f / 1000.0f);
    EXPECT_FLOAT_EQ(w->scale.scaleY, w->scale.scaleX);
    EXPECT_NEAR(w->scale.WorldToScreenY(0), 300, 1e-3);  // centred vertically
    // The clip keeps the world x range but reaches the margins above and below.
    EXPECT_DOUBLE_EQ(w->clip.xMin, -500);
    EXPECT_NEAR(w->clip.yMax, 290 / 0.78, 1e-2);

    const DrawingExtents tall{40, -20, 100, -100, true};
    auto t = FitEqualScale(area, tall, false);
    ASSERT_TRUE(t);
    EXPECT_FLOAT_EQ(t->scale.scaleY, 580.0f / 200.0f);
    EXPECT_FLOAT_EQ(t->scale.scaleX, t->scale.scaleY);
    EXPECT_NEAR(t->scale.WorldToScreenX(10), 400, 1e-3);  // centred horizontally

    // While dragging the clip spans the whole width of the surface.
    auto drag = FitEqualScale(area, tall, true);
    ASSERT_TRUE(drag);
    EXPECT_FLOAT_EQ(static_cast<float>(drag->clip.xMin), t->scale.ScreenToWorldX(10));
    EXPECT_FLOAT_EQ(static_cast<float>(drag->clip.xMax), t->scale.ScreenToWorldX(790));

    EXPECT_FALSE(FitEqualScale({0, 0, 20, 300}, tall, false));
    EXPECT_FALSE(FitEqualScale({0, 0, kNaN, 300}, tall, false));
}

class Primitives : public ::testing::Test {
protected:
    // 1 pixel per mm, world (0, 0) at pixel (100, 100), clipped to ±50 mm.
    DrawingFrame frame{*MakeDrawingScale(50, 150, 50, 150, -50, 50, -50, 50),
                       {-50.0, 50.0, -50.0, 50.0}};
    RecordingSurface surface;
};

TEST_F(Primitives, LinesAreClippedRoundedAndCarryTheirPen) {
    const Pen dotted{kRed, LineStyle::Dotted, 2};
    ASSERT_TRUE(DrawLine(surface, frame, -80.0f, 0.4f, 20.6f, 0.4f, dotted));
    ASSERT_TRUE(DrawLine(surface, frame, 60.0f, 0.0f, 90.0f, 10.0f));  // wholly outside
    auto lines = surface.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x1, 50);   // cut at the left edge
    EXPECT_EQ(lines[0].x2, 121);  // 120.6 rounded
    EXPECT_EQ(lines[0].y1, 100);  // 99.6 rounded
    EXPECT_EQ(lines[0].pen, dotted);

    EXPECT_FALSE(DrawLine(surface, frame, std::nanf(""), 0, 1, 1));
    EXPECT_EQ(surface.Lines().size(), 1u);
}

TEST_F(Primitives, LabelsAndBoxesStayWithinDeviceRange) {
    ASSERT_TRUE(DrawLabel(surface, frame, 60, 0, "aussen", kBlue, true));
    EXPECT_TRUE(surface.Texts().empty());
    ASSERT_TRUE(DrawLabel(surface, frame, 1e20f, -1e20f, "fern", kBlue, false));
    ASSERT_TRUE(DrawLabel(surface, frame, 10, 10, "nah", kBlack, true, -3.0f, 2.0f));
    auto texts = surface.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].x1, 100000);
    EXPECT_EQ(texts[0].y1, 100000);  // world y down is pixel y up, sign kept
    EXPECT_EQ(texts[1].x1, 107);
    EXPECT_EQ(texts[1].y1, 92);
    EXPECT_FALSE(DrawLabel(surface, frame, std::nanf(""), 0, "x", kBlack, false));

    ASSERT_TRUE(DrawBox(surface, frame, -1e30f, 10, 5, -10, kWhite, true));
    auto boxes = surface.Of(SurfaceCall::Kind::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].x1, -100000);
    EXPECT_EQ(boxes[0].y1, 90);
    EXPECT_TRUE(boxes[0].filled);
}

TEST_F(Primitives, RotatedTextBuildsItsFont) {
    const std::string longName = "Überbreite Schrift mit sehr langem Namen";  // 40 characters
    ASSERT_TRUE(DrawRotatedText(surface, "Achse", 12.4f, 30, 90, 10, longName, false));
    surface.SetFontBold(true);
    ASSERT_TRUE(DrawRotatedText(surface, "fett", 0, 0, -450, 12, "Arial", false));
    EXPECT_FALSE(DrawRotatedText(surface, "x", 0, 0, std::nanf(""), 10, "Arial", false));
    auto calls = surface.Of(SurfaceCall::Kind::RotatedText);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].font.faceName, "Überbreite Schrift mit sehr lang");  // 32 characters
    EXPECT_EQ(calls[0].font.escapement, 900);
    EXPECT_EQ(calls[0].font.weight, 400);
    EXPECT_EQ(calls[0].font.pixelHeight, 13);  // 10 pt at 15 twips per pixel
    EXPECT_EQ(calls[1].font.weight, 800);      // the surface font is bold
    EXPECT_EQ(calls[1].font.escapement, -900);
}

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
    Picture pic;
    pic.Draw(test::AtInfinity(100, 4));
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

    Picture infinite;
    infinite.Draw(test::AtInfinity(100), kRays);
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
