// The aperture/field plot on a recording surface: its axes, the regions and names inside the
// frame, names clear of each other and of the design's mark, the highlight and the cross-hair.
#include "drawing/ap_field_drawing.h"

#include <gtest/gtest.h>

#include "drawing/recording_surface.h"

namespace rs::drawing {
namespace {

struct Rect {
    double left, top, right, bottom;
};

bool Within(const Rect& outer, double x, double y) {
    return x >= outer.left - 0.01 && x <= outer.right + 0.01 && y >= outer.top - 0.01 &&
           y <= outer.bottom + 0.01;
}

bool Apart(const Rect& a, const Rect& b) {
    return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
}

TEST(ApFieldDrawing, EverythingOfThePlaneStaysInsideItsFrame) {
    // Small and large, lenses and mirrors, the design where names and regions crowd.
    struct Case {
        double width, height;
        bool mirror, large;
        analysis::PlotPoint design;
    };
    for (const Case& c :
         {Case{360, 260, false, false, {0.16, 15}}, Case{800, 440, false, true, {0.16, 15}},
          Case{360, 260, true, false, {0.45, 4}}, Case{800, 440, true, true, {0.08, 1.0}}}) {
        RecordingSurface surface({0, 0, c.width, c.height});
        const ApFieldLayout layout = LayOutApFieldPlot(surface, surface.Scale(), c.mirror, c.large);
        ApFieldDrawing options;
        options.design = c.design;
        options.highlighted = analysis::LensClassesAt(c.mirror, layout.plane, c.design).classes;
        options.shortNames = !c.large;
        DrawApFieldPlot(surface, layout, options);
        const ScaleRect& b = layout.frame.box;
        const Rect frame{b.left, b.top, b.left + b.width, b.top + b.height};
        ASSERT_GT(b.width, 100);

        // Outlines (any colour but black, the axes') and the cross-hair stay inside.
        int outlines = 0;
        for (const SurfaceCall& l : surface.Lines()) {
            if (l.pen.colour == kBlack) continue;
            ++outlines;
            EXPECT_TRUE(Within(frame, l.x1, l.y1) && Within(frame, l.x2, l.y2)) << l;
        }
        EXPECT_GT(outlines, 100);

        // Names inside the frame, apart from each other and from the mark.
        const auto mark = layout.frame.x.map.Pixel(c.design.a);
        const auto markY = layout.frame.y.map.Pixel(c.design.angle);
        ASSERT_TRUE(mark && markY);
        const Rect ring{*mark - 6, *markY - 6, *mark + 6, *markY + 6};
        std::vector<Rect> names;
        for (const SurfaceCall& t : surface.Texts()) {
            const TextExtent e = surface.MeasureText(t.text);
            const Rect r{t.x1, t.y1, t.x1 + e.width, t.y1 + e.height};
            if (!Within(frame, r.left, r.top)) continue;  // a number or title of an axis
            EXPECT_TRUE(Within(frame, r.right, r.bottom)) << t;
            EXPECT_TRUE(Apart(r, ring)) << t;
            for (const Rect& n : names) EXPECT_TRUE(Apart(r, n)) << t;
            names.push_back(r);
        }
        EXPECT_GE(names.size(), c.mirror ? 4u : 10u);
    }
}

TEST(ApFieldDrawing, AxesHighlightAndCrossHair) {
    RecordingSurface surface({0, 0, 380, 280});
    const ApFieldLayout layout = LayOutApFieldPlot(surface, surface.Scale(), false, false);
    ApFieldDrawing options;
    options.design = analysis::PlotPoint{0.25, 5};
    options.highlighted = {3};
    options.shortNames = true;
    DrawApFieldPlot(surface, layout, options);
    EXPECT_NE(surface.FindText("D Gauss"), nullptr);
    // The highlighted region in green and wider; the cross-hair through the design's point.
    int green = 0, mark = 0;
    const double x = std::round(*layout.frame.x.map.Pixel(0.25));
    const double y = std::round(*layout.frame.y.map.Pixel(5));
    for (const auto& l : surface.Lines()) {
        green += l.pen.colour == kGreen && l.pen.width == 2;
        mark += l.pen.colour == kDesignMark && (l.x1 == x || l.y1 == y);
    }
    EXPECT_EQ(green, 100);
    EXPECT_EQ(mark, 2);
    // The f-numbers 50, 5, 1 and 0.5 numbered (all where there is room on request), the
    // angles at their decades, both titles.
    for (const char* n : {"50", "5.0", "1.0", "0.5", "0.1", "1", "10", "100"}) {
        EXPECT_NE(surface.FindText(n), nullptr) << n;
    }
    EXPECT_EQ(surface.FindText("25"), nullptr);
    ASSERT_EQ(surface.Of(SurfaceCall::Kind::RotatedText).size(), 1u);
    RecordingSurface large({0, 0, 800, 440});
    DrawApFieldPlot(large, LayOutApFieldPlot(large, large.Scale(), false, true), options);
    EXPECT_NE(large.FindText("25"), nullptr);
    EXPECT_NE(large.FindText("Blendenzahl [unendliche Objektweite]"), nullptr);

    // Back from pixels to the plane: 0 off an axis.
    const analysis::PlotPoint at = ApFieldPointAt(layout, x, y);
    EXPECT_NEAR(at.a, 0.25, 0.25 * 0.01);
    EXPECT_NEAR(at.angle, 5, 5 * 0.02);
    EXPECT_EQ(ApFieldPointAt(layout, layout.frame.box.left + 1, y).a, 0.0);
}

}  // namespace
}  // namespace rs::drawing
