// Drawing: scale, clipping, primitives and the paraxial picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <sstream>
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

TEST(ClipLine, FarEndPointKeepsTheVisiblePartExact) {
    // A ray from an object at infinity: slope 0.1 ending at (0, 5). Measured from the far end
    // the crossing would lose every digit.
    const ClipRect r{-10.0, 10.0, -1e20, 1e20};  // the far end lies beyond the left edge only
    auto ray = Clip({-1e20, 5.0 - 1e19, 0.0, 5.0}, r);
    ASSERT_TRUE(ray);
    EXPECT_DOUBLE_EQ(ray->x1, -10.0);
    EXPECT_NEAR(ray->y1, 4.0, 1e-9);
}

// A line passing just outside a corner, its ends beyond different edges: only the iteration
// can tell. Edges are inside; not a number anywhere, or an inverted rectangle, shows nothing;
// infinite ends are clipped like far ones.
TEST(ClipLine, CornersEdgesAndNonFiniteInput) {
    EXPECT_FALSE(Clip({-5, 4, 4, 15}));
    EXPECT_TRUE(Clip({0, 0, 0, 10}));
    EXPECT_FALSE(PointInRect(kSquare, std::nextafter(10.0, 11.0), 5) ||
                 PointInRect(kSquare, kNaN, 5));
    EXPECT_FALSE(Clip({kNaN, 0, 5, 5}) || Clip({0, 0, 5, 5}, {kNaN, 10, 0, 10}) ||
                 Clip({5, 5, 50, -50}, {10, 0, 10, 0}));
    const auto horizontal = Clip({-kInf, 5, kInf, 5}).value_or(Segment{});
    EXPECT_EQ(std::pair(horizontal.x1, horizontal.x2), std::pair(0.0, 10.0));
    for (const Segment s : {Segment{-kInf, -kInf, kInf, kInf}, {1e308, -1e308, -1e308, 1e308}}) {
        const auto c = Clip(s);
        EXPECT_TRUE(!c ||
                    (PointInRect(kSquare, c->x1, c->y1) && PointInRect(kSquare, c->x2, c->y2)));
    }
}

// Random segments and rectangles: what is visible lies inside the rectangle and on the segment,
// a segment wholly inside is unchanged, and an invisible one misses the rectangle's interior.
TEST(ClipLine, RandomSegmentsAndRectangles) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> u(-100, 100);
    int inside = 0;
    for (int i = 0; i < 20000; ++i) {
        const double xa = u(rng), xb = u(rng), ya = u(rng), yb = u(rng);
        const ClipRect r{std::min(xa, xb), std::max(xa, xb), std::min(ya, yb), std::max(ya, yb)};
        const Segment s{u(rng), u(rng), u(rng), u(rng)};
        const auto c = Clip(s, r);
        SCOPED_TRACE(i);
        const ClipRect core{r.xMin + 1e-6, r.xMax - 1e-6, r.yMin + 1e-6, r.yMax - 1e-6};
        for (double t = 0; !c && t <= 1; t += 1.0 / 128) {
            ASSERT_FALSE(PointInRect(core, s.x1 + t * (s.x2 - s.x1), s.y1 + t * (s.y2 - s.y1)));
        }
        for (auto [x, y] : c ? std::vector{std::pair{c->x1, c->y1}, {c->x2, c->y2}}
                             : std::vector<std::pair<double, double>>{}) {
            ASSERT_TRUE(PointInRect(r, x, y));
            ASSERT_NEAR((s.x2 - s.x1) * (y - s.y1), (s.y2 - s.y1) * (x - s.x1), 1e-8);
            ASSERT_TRUE(x >= std::min(s.x1, s.x2) - 1e-9 && x <= std::max(s.x1, s.x2) + 1e-9);
        }
        if (PointInRect(r, s.x1, s.y1) && PointInRect(r, s.x2, s.y2)) {
            ++inside;
            ASSERT_EQ(std::tuple(c->x1, c->y1, c->x2, c->y2), std::tuple(s.x1, s.y1, s.x2, s.y2));
        }
    }
    EXPECT_GT(inside, 200);
}

TEST(DrawingScale, ConversionsAndFailures) {
    auto s = MakeDrawingScale(10, 410, 20, 220, -100, 100, -50, 50);
    ASSERT_TRUE(s);
    EXPECT_FLOAT_EQ(s->WorldToScreenX(-100), 10);
    EXPECT_FLOAT_EQ(s->WorldToScreenY(-50), 220);  // y grows downwards on the surface
    EXPECT_FLOAT_EQ(s->ScreenToWorldY(s->WorldToScreenY(-12.25f)), -12.25f);

    // Zero world width, zero screen height, a scale beyond single precision, not a number.
    EXPECT_FALSE(MakeDrawingScale(10, 410, 20, 220, 5, 5, -50, 50) ||
                 MakeDrawingScale(10, 410, 20, 20, -100, 100, -50, 50) ||
                 MakeDrawingScale(10, 410, 20, 220, -1e38f, 1e38f, -1e-38f, 1e-38f) ||
                 MakeDrawingScale(10, 410, 20, 220, std::nanf(""), 1, -1, 1));

    // The clip reaches the surface's top and bottom; while dragging its width too.
    EXPECT_EQ(MakeClipRect(*s, 0, 240, false, 0, 420), (ClipRect{-100, 100, -60, 60}));
    EXPECT_EQ(MakeClipRect(*s, 0, 240, true, 0, 420), (ClipRect{-105, 105, -60, 60}));
}

TEST(FitEqualScale, SamePixelsPerMillimetreAndCentred) {
    const ScaleRect area{0, 0, 800, 600};
    auto w = FitEqualScale(area, {500, -500, 10, -10, true}, false);
    ASSERT_TRUE(w);
    EXPECT_FLOAT_EQ(w->scale.scaleX, 780.0f / 1000.0f);
    EXPECT_FLOAT_EQ(w->scale.scaleY, w->scale.scaleX);
    EXPECT_NEAR(w->scale.WorldToScreenY(0), 300, 1e-3);  // centred vertically
    // The clip keeps the world x range but reaches the margins above and below.
    EXPECT_DOUBLE_EQ(w->clip.xMin, -500);
    EXPECT_NEAR(w->clip.yMax, 290 / 0.78, 1e-2);

    // A tall picture is centred horizontally; while dragging the clip spans the whole width.
    const DrawingExtents tall{40, -20, 100, -100, true};
    auto t = FitEqualScale(area, tall, true);
    ASSERT_TRUE(t);
    EXPECT_FLOAT_EQ(t->scale.scaleX, 580.0f / 200.0f);
    EXPECT_NEAR(t->scale.WorldToScreenX(10), 400, 1e-3);
    EXPECT_FLOAT_EQ(static_cast<float>(t->clip.xMin), t->scale.ScreenToWorldX(10));

    EXPECT_FALSE(FitEqualScale({0, 0, 20, 300}, tall, false) ||
                 FitEqualScale({0, 0, kNaN, 300}, tall, false));
}

class Primitives : public ::testing::Test {
protected:
    // 1 pixel per mm, world (0, 0) at pixel (100, 100), clipped to ±50 mm.
    DrawingFrame frame{*MakeDrawingScale(50, 150, 50, 150, -50, 50, -50, 50),
                       {-50.0, 50.0, -50.0, 50.0}};
    RecordingSurface surface;
};

// Lines are clipped, rounded and carry their pen; labels and boxes stay within device range.
TEST_F(Primitives, LinesLabelsAndBoxes) {
    const Pen dotted{kRed, LineStyle::Dotted, 2};
    ASSERT_TRUE(DrawLine(surface, frame, -80.0f, 0.4f, 20.6f, 0.4f, dotted));
    ASSERT_TRUE(DrawLine(surface, frame, 60.0f, 0.0f, 90.0f, 10.0f));  // wholly outside
    EXPECT_FALSE(DrawLine(surface, frame, std::nanf(""), 0, 1, 1));
    auto lines = surface.Lines();
    ASSERT_EQ(lines.size(), 1u);
    // Cut at the left edge; 120.6 and 99.6 rounded.
    EXPECT_EQ(std::tuple(lines[0].x1, lines[0].x2, lines[0].y1), std::tuple(50, 121, 100));
    EXPECT_EQ(lines[0].pen, dotted);

    ASSERT_TRUE(DrawLabel(surface, frame, 60, 0, "aussen", kBlue, true));
    EXPECT_TRUE(surface.Texts().empty());
    ASSERT_TRUE(DrawLabel(surface, frame, 1e20f, -1e20f, "fern", kBlue, false));
    ASSERT_TRUE(DrawLabel(surface, frame, 10, 10, "nah", kBlack, true, -3.0f, 2.0f));
    EXPECT_FALSE(DrawLabel(surface, frame, std::nanf(""), 0, "x", kBlack, false));
    auto texts = surface.Texts();
    ASSERT_EQ(texts.size(), 2u);
    // World y down is pixel y up, the sign kept at the device limit.
    EXPECT_EQ(std::pair(texts[0].x1, texts[0].y1), std::pair(100000.0, 100000.0));
    EXPECT_EQ(std::pair(texts[1].x1, texts[1].y1), std::pair(107.0, 92.0));

    ASSERT_TRUE(DrawBox(surface, frame, -1e30f, 10, 5, -10, kWhite, true));
    auto boxes = surface.Of(SurfaceCall::Kind::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(std::tuple(boxes[0].x1, boxes[0].y1, boxes[0].filled), std::tuple(-100000, 90, true));
}

// A curve reaches the surface as connected runs, broken where it leaves the clip rectangle or
// jumps back in elsewhere; each run holds the very pixels DrawLine would give its pieces.
TEST_F(Primitives, PolylineRunsAreTheClippedLines) {
    struct Runs : RecordingSurface {
        std::vector<std::vector<PixelPoint>> runs;
        void Polyline(std::span<const PixelPoint> points, const Pen& pen) override {
            runs.emplace_back(points.begin(), points.end());
            RecordingSurface::Polyline(points, pen);
        }
    } runs;
    const std::vector<WorldPoint> curve{{-80, 0}, {-20, 0}, {0, 10}, {70, 10},
                                        {80, 20}, {30, 0},  {20, 0}, {std::nanf(""), 0}};
    EXPECT_FALSE(DrawPolyline(runs, frame, curve));  // the fault ends it after what was drawn
    using P = PixelPoint;
    ASSERT_EQ(runs.runs.size(), 2u);
    EXPECT_EQ(runs.runs[0], (std::vector<P>{{50, 100}, {80, 100}, {100, 90}, {150, 90}}));
    EXPECT_EQ(runs.runs[1], (std::vector<P>{{150, 92}, {130, 100}, {120, 100}}));
    for (std::size_t i = 0; i + 2 < curve.size(); ++i) {
        const WorldPoint &a = curve[i], &b = curve[i + 1];
        ASSERT_TRUE(DrawLine(surface, frame, a.x, a.y, b.x, b.y));
    }
    const auto drawn = runs.Lines(), single = surface.Lines();
    ASSERT_EQ(drawn.size(), single.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(std::tuple(drawn[i].x1, drawn[i].y1, drawn[i].x2, drawn[i].y2),
                  std::tuple(single[i].x1, single[i].y1, single[i].x2, single[i].y2));
    }
}

TEST_F(Primitives, RotatedTextBuildsItsFont) {
    // A face name is cut to 32 characters; 10 pt is 13 pixels at 15 twips per pixel.
    const std::string longName = "Überbreite Schrift mit sehr langem Namen";
    ASSERT_TRUE(DrawRotatedText(surface, "Achse", 12.4f, 30, 90, 10, longName, false));
    EXPECT_FALSE(DrawRotatedText(surface, "x", 0, 0, std::nanf(""), 10, "Arial", false));
    auto calls = surface.Of(SurfaceCall::Kind::RotatedText);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(
        std::tuple(calls[0].font.faceName, calls[0].font.escapement, calls[0].font.pixelHeight),
        std::tuple("Überbreite Schrift mit sehr lang", 900, 13));
}

using namespace engine;  // the design and its parameter indices

using test::Solved;

// In order: hide remote conjugates, draw points, construction rays, dragging.
const ParaxialDrawingOptions kHide{true}, kPoints{false, true}, kRays{false, false, true};

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
        std::vector<SurfaceCall> all = surface.Lines(), out;
        std::copy_if(all.begin(), all.end(), std::back_inserter(out), pred);
        return out;
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

TEST(RedrawParaxial, LensInAir) {
    Picture pic;
    pic.Draw(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10));
    ASSERT_EQ(pic.outcome, RedrawOutcome::Drawn);
    EXPECT_EQ(pic.surface.Calls().front().kind, SurfaceCall::Kind::Clear);
    EXPECT_EQ(pic.extents, (DrawingExtents{200, -200, 10, -10, true}));

    const ParaxialTouchPoints& t = pic.touch;
    ASSERT_TRUE(t.registered);
    EXPECT_EQ(std::tuple(t.objectX, t.imageX, t.rearFocusX, t.apertureBottomY),
              std::tuple(-200, 200, 100, -10));

    // The upright object's label stands below the axis, the inverted image's above it, each
    // centred on its arrow; no points were asked for.
    EXPECT_GT(pic.Text("o").y1, pic.Py(0));
    EXPECT_LT(pic.Text("o'").y1 + RecordingSurface::kTextHeight, pic.Py(0));
    EXPECT_EQ(pic.Text("o").x1, std::round(pic.Px(-200) - RecordingSurface::kCharWidth / 2));
    EXPECT_EQ(pic.surface.FindText("P'"), nullptr);
}

// f' = 100 mm, principal planes 20 mm apart.
ParaxialDesign Thick() {
    ParaxialDesign d;
    d.options.advOptions = true;
    d.options.advanced.separation = 20;
    test::Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    test::ChooseAperture(d, kStopRadius, 10);
    SolveParaxial(d, false);
    return d;
}

// Every label stands beside what it names, never on it nor on another label, also in a small
// picture where the marks crowd. The conjugates' and the principal points' labels leave every
// ray visible; a focal point's may have to cross the rays that converge around it.
TEST(RedrawParaxial, LabelsLeaveTheLinesAndEachOtherVisible) {
    const ParaxialDesign thick = Thick();
    ASSERT_FALSE(thick.bCalcInvalid);
    const struct {
        const char* name;
        ParaxialDesign design;
        ParaxialDrawingOptions options;
    } cases[] = {
        {"lens", Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10), kPoints},
        {"mirror", Solved({{kFocal, -50}, {kObjDist, -200}, {kObjHeight, 10}}, 10, true), kPoints},
        {"mirror, no points",
         Solved({{kFocal, -50}, {kObjDist, -200}, {kObjHeight, 10}}, 10, true),
         {}},
        {"thick", thick, kPoints},
        {"infinity", test::AtInfinity(100, 4), {}},
        {"remote", Solved({{kObjDist, -1001}, {kImgDist, 100}, {kObjHeight, 5}}), kHide},
        {"virtual image", Solved({{kFocal, 100}, {kObjDist, -50}, {kObjHeight, 10}}, 10), {}},
        {"construction rays", Solved({{kFocal, 100}, {kObjDist, -300}, {kObjHeight, 10}}), kRays},
    };
    for (const ScaleRect area : {ScaleRect{0, 0, 800, 600}, ScaleRect{0, 0, 320, 200}}) {
        for (const auto& c : cases) {
            Picture pic;
            pic.surface.SetScale(area);
            pic.Draw(c.design, c.options);
            ASSERT_EQ(pic.outcome, RedrawOutcome::Drawn) << c.name;
            const auto texts = pic.surface.Texts();
            ASSERT_GE(texts.size(), 2u) << c.name;
            const auto box = [](const SurfaceCall& t) {
                return std::array{t.x1, t.y1, t.x1 + RecordingSurface::kCharWidth * t.text.size(),
                                  t.y1 + RecordingSurface::kTextHeight};
            };
            for (std::size_t i = 0; i < texts.size(); ++i) {
                const auto [left, top, right, bottom] = box(texts[i]);
                EXPECT_TRUE(left >= area.left && right <= area.left + area.width && top >= 0 &&
                            bottom <= area.height)
                    << c.name << ": " << texts[i];
                for (std::size_t j = i + 1; j < texts.size(); ++j) {
                    const auto [l2, t2, r2, b2] = box(texts[j]);
                    EXPECT_FALSE(left < r2 && l2 < right && top < b2 && t2 < bottom)
                        << c.name << ": " << texts[i] << " over " << texts[j];
                }
                // Walked along in steps below a pixel, no line enters a label's box; a focal or
                // nodal point's label only keeps its own tick (a short vertical line) free.
                const bool tickLabel = texts[i].text.find_first_of("FN") == 0;
                for (const SurfaceCall& l : pic.surface.Lines()) {
                    const bool tick = l.x1 == l.x2 && std::fabs(l.y2 - l.y1) <= 4;
                    if (tickLabel && !tick) continue;
                    const double steps = std::max(std::fabs(l.x2 - l.x1), std::fabs(l.y2 - l.y1));
                    for (double k = 0; k <= steps * 2; ++k) {
                        const double f = steps > 0 ? k / (steps * 2) : 0.0;
                        const double x = l.x1 + f * (l.x2 - l.x1), y = l.y1 + f * (l.y2 - l.y1);
                        if (x >= left && x < right && y >= top && y < bottom) {
                            ADD_FAILURE() << c.name << " " << area.width << ": " << texts[i]
                                          << " covers " << l;
                            break;
                        }
                    }
                }
            }
        }
    }
}

// P' and the image move with the separation, the gap P–P' is boxed, N = P in one medium; a
// mirror's N and N' meet at the centre of curvature. Labels stand in order.
TEST(RedrawParaxial, PrincipalAndNodalPointsKeepTheirOrder) {
    const ParaxialDesign d = Thick();
    Picture pic;
    pic.Draw(d, kPoints);
    EXPECT_FLOAT_EQ(pic.touch.secondPrincipalX, 20);
    EXPECT_FLOAT_EQ(pic.touch.imageX, 20 + d.paramTable.Get(kImgDist));
    const auto box = pic.surface.Of(SurfaceCall::Kind::Box).at(0);
    EXPECT_EQ(std::pair(box.x1, box.x2), std::pair(pic.Px(0), pic.Px(20)));
    EXPECT_LE(pic.Text("P").x1 + 7, pic.Text("P'").x1);
    EXPECT_EQ(pic.CountColour(kMagenta), 0u);

    Picture mirror;
    mirror.Draw(Solved({{kFocal, -50}, {kObjDist, -200}, {kObjHeight, 10}}, 10, true), kPoints);
    EXPECT_EQ(mirror.CountColour(kMagenta), 2u);
    EXPECT_LE(mirror.Text("N").x1 + 7, mirror.Text("N'").x1);
}

TEST(DrawingExtents, HeightFallsBackToATenthOfTheLength) {
    const auto flat =
        ComputeParaxialExtents(Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 0}}), {});
    EXPECT_EQ(std::pair(flat.yMax, flat.yMin), std::pair(40.0f, -40.0f));

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

TEST(RedrawParaxial, RemoteObjectHiddenBeyondTenTimesTheImageDistance) {
    Picture remote;
    remote.Draw(Solved({{kObjDist, -1001}, {kImgDist, 100}, {kObjHeight, 5}}), kHide);
    EXPECT_EQ(remote.Text("o [entfernt]").x1, std::round(remote.touch.scale.screenLeft));
    EXPECT_EQ(remote.surface.FindText("o"), nullptr);
    EXPECT_FLOAT_EQ(remote.extents.xMin, -100);

    Picture tenTimes;
    tenTimes.Draw(Solved({{kObjDist, -1000}, {kImgDist, 100}, {kObjHeight, 5}}), kHide);
    EXPECT_NE(tenTimes.surface.FindText("o"), nullptr);

    // An object at infinity is labelled at the left edge too.
    Picture infinite;
    infinite.Draw(test::AtInfinity(100, 4));
    EXPECT_FLOAT_EQ(infinite.extents.xMin, -100);
    EXPECT_EQ(infinite.Text("o [unendlich]").x1, std::round(infinite.touch.scale.screenLeft));
}

// The heads at the upper end of the lens symbol drop 4 pixels (pointing out) for a positive
// focal length and rise 4 for a negative one.
TEST(RedrawParaxial, LensSymbolFollowsTheSignOfTheFocalLength) {
    for (const float f : {100.0f, -100.0f}) {
        Picture pic;
        pic.Draw(Solved({{kFocal, f}, {kObjDist, -200}, {kObjHeight, 10}}, 10));
        const double x = pic.Px(0), top = pic.Py(10);
        const auto heads = pic.Lines(
            [&](auto& l) { return l.x1 == x && l.y1 == top && std::fabs(l.x2 - x) == 3; });
        ASSERT_EQ(heads.size(), 2u) << f;
        for (const auto& h : heads) EXPECT_EQ(h.y2 - h.y1, f > 0 ? 4 : -4) << f;
    }
}

// The full set of construction rays is in the golden picture; here the two that go missing.
TEST(RedrawParaxial, ConstructionRaysWithoutAConjugate) {
    // The object in the front focal plane: no focal ray; object at infinity: no parallel one.
    Picture focalPlane;
    focalPlane.Draw(Solved({{kFocal, 100}, {kObjDist, -100}, {kObjHeight, 10}}, 10), kRays);
    EXPECT_NE(focalPlane.surface.FindText("o [unendlich]"), nullptr);
    EXPECT_EQ(std::pair(focalPlane.CountColour(kBlue), focalPlane.CountColour(kRed)),
              std::pair(std::size_t{0}, std::size_t{2}));

    Picture infinite;
    infinite.Draw(test::AtInfinity(100), kRays);
    EXPECT_EQ(std::pair(infinite.CountColour(kRed), infinite.CountColour(kGreen)),
              std::pair(std::size_t{0}, std::size_t{2}));
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
    pic.Draw(moved, {false, false, false, true});
    EXPECT_EQ(pic.extents, before);
    EXPECT_FLOAT_EQ(pic.touch.objectX, touchBefore.objectX);
    EXPECT_EQ(pic.touch.scale, touchBefore.scale);
    EXPECT_FALSE(pic.Lines([&](auto& l) { return l.x1 == l.x2 && l.x1 == pic.Px(-250); }).empty());

    pic.Draw(moved);
    EXPECT_FLOAT_EQ(pic.extents.xMin, -250);
    EXPECT_FLOAT_EQ(pic.touch.objectX, -250);
}

// A reference design is drawn first, in grey and on the picture's own scale: the picture itself
// comes out call for call as without it, and the reference's image arrow stands where its image
// lies on that scale. A reference without a solution adds nothing.
TEST(RedrawParaxial, ReferenceBehindInGreyAtThePicturesScale) {
    const auto text = [](const SurfaceCall& c) {
        std::ostringstream os;
        os << c;
        return os.str();
    };
    const ParaxialDesign design = Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10);
    const ParaxialDesign failed = Solved({{kObjDist, -100}, {kMagnif, 0}, {kObjHeight, 1}});
    for (bool rays : {false, true}) {
        SCOPED_TRACE(rays);
        Picture alone;
        alone.Draw(design, {false, false, rays});
        std::vector<std::string> own;
        for (const SurfaceCall& c : alone.surface.Calls()) own.push_back(text(c));

        // f' = 80 mm images the same object at 133.3 mm.
        const ParaxialDesign reference =
            Solved({{kFocal, 80}, {kObjDist, -200}, {kObjHeight, 10}}, 10);
        for (const ParaxialDesign* behind : {&reference, &failed}) {
            ParaxialDrawingOptions o{false, false, rays};
            o.reference = behind;
            Picture pic;
            pic.Draw(design, o);
            ASSERT_EQ(pic.outcome, RedrawOutcome::Drawn);
            EXPECT_EQ(pic.touch.scale, alone.touch.scale);
            std::vector<std::string> front;
            std::size_t grey = 0;
            for (const SurfaceCall& c : pic.surface.Calls()) {
                if (c.kind == SurfaceCall::Kind::Line && c.pen.colour == kReferenceGrey) {
                    EXPECT_TRUE(front.size() == 1) << "grey after the picture: " << c;
                    ++grey;
                } else {
                    front.push_back(text(c));
                }
            }
            EXPECT_EQ(front, own);
            if (behind == &failed) {
                EXPECT_EQ(grey, 0u);
                continue;
            }
            EXPECT_GT(grey, 3u);
            const double imageX = pic.Px(80.0f * 200.0f / 120.0f);
            EXPECT_FALSE(pic.Lines([&](const SurfaceCall& l) {
                                return l.pen.colour == kReferenceGrey && l.x1 == l.x2 &&
                                       std::fabs(l.x1 - imageX) <= 1.0;
                            })
                             .empty());
        }
    }
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
            pic.Draw(d, {true, true, rays});
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
