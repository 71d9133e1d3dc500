#include "drawing/drawing_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "drawing/recording_surface.h"

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
    auto corner = Clip({-2, 5, 5, 12});
    ASSERT_TRUE(corner);
    EXPECT_DOUBLE_EQ(corner->x1, 0.0);
    EXPECT_DOUBLE_EQ(corner->y1, 7.0);
    EXPECT_DOUBLE_EQ(corner->x2, 3.0);
    EXPECT_DOUBLE_EQ(corner->y2, 10.0);

    // A diagonal through two corners, and a line lying on an edge (edges are inside).
    auto diagonal = Clip({-5, -5, 15, 15});
    ASSERT_TRUE(diagonal);
    EXPECT_DOUBLE_EQ(diagonal->x1, 0.0);
    EXPECT_DOUBLE_EQ(diagonal->y2, 10.0);
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

}  // namespace
}  // namespace rs::drawing
