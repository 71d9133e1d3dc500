#include "drawing/caustic_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "drawing/recording_surface.h"

namespace rs::drawing {
namespace {

using Kind = SurfaceCall::Kind;

beam::CausticFit Fit(double z0, double d0, double theta) {
    beam::CausticFit f;
    f.waistPosition = z0;
    f.waistDiameter = d0;
    f.divergence = theta;
    return f;
}

// Every point sits at both edges ±d/2 in display units inside the frame; the waist's line spans
// the fitted waist at z0; the curves stay in the frame; the second axis is hollow and dotted in
// its own colour; the range covers a waist outside the measured positions.
TEST(CausticPlot, PointsCurvesAndWaistInDisplayUnits) {
    CausticPlotData data;
    data.zFactor = 10.0;  // cm
    data.dFactor = 1e-3;  // µm
    data.axes.push_back({{{0, 2.0}, {100, 1.0}, {200, 2.0}}, Fit(100, 1.0, 0.02)});
    data.axes.push_back({{{50, 3.0}}, Fit(300, 0.5, 0.01)});
    RecordingSurface surface;
    const PlotFrame frame = LayOutCausticPlot(surface, surface.Scale(), data);
    EXPECT_LE(frame.x.map.lo, 0.0);
    EXPECT_GE(frame.x.map.hi, 30.0);  // the second waist at 300 mm = 30 cm
    EXPECT_DOUBLE_EQ(frame.y.map.lo, -frame.y.map.hi);
    EXPECT_GE(frame.y.map.hi, 1500.0);  // the 3 mm point's edge in µm
    DrawCausticPlot(surface, frame, data);

    const auto circles = surface.Of(Kind::Circle);
    ASSERT_EQ(circles.size(), 8U);
    for (const SurfaceCall& c : circles) {
        EXPECT_GE(c.x1, frame.box.left);
        EXPECT_LE(c.x1, frame.box.left + frame.box.width);
    }
    EXPECT_NEAR(circles[2].x1, *frame.x.map.Pixel(10.0), 0.5);
    EXPECT_NEAR(circles[2].y1, *frame.y.map.Pixel(500.0), 0.5);
    EXPECT_NEAR(circles[3].y1, *frame.y.map.Pixel(-500.0), 0.5);
    EXPECT_TRUE(circles[0].filled);
    EXPECT_FALSE(circles[7].filled);
    EXPECT_EQ(circles[7].pen.colour, kCausticColours[1]);

    const auto lines = surface.Lines();
    const auto waist = std::find_if(lines.begin(), lines.end(), [&](const SurfaceCall& l) {
        return l.pen.width == 2 && l.pen.colour == kCausticColours[0];
    });
    ASSERT_NE(waist, lines.end());
    EXPECT_NEAR(waist->x1, *frame.x.map.Pixel(10.0), 0.5);
    EXPECT_NEAR(std::fabs(waist->y2 - waist->y1),
                *frame.y.map.Pixel(-500.0) - *frame.y.map.Pixel(500.0), 1.0);
    EXPECT_NE(surface.FindText("z0"), nullptr);
    bool dotted = false;
    for (const SurfaceCall& l : lines) {
        if (l.pen.colour == kCausticColours[1]) dotted = dotted || l.pen.style == LineStyle::Dotted;
        if (l.pen.colour != kCausticColours[0] && l.pen.colour != kCausticColours[1]) continue;
        for (double y : {l.y1, l.y2}) {
            EXPECT_GE(y, frame.box.top - 0.5);
            EXPECT_LE(y, frame.box.top + frame.box.height + 0.5);
        }
    }
    EXPECT_TRUE(dotted);
}

// Without points the frame still has a valid range; a surface too small draws nothing but the
// clearing.
TEST(CausticPlot, EmptyDataAndTinySurface) {
    RecordingSurface surface;
    const PlotFrame empty = LayOutCausticPlot(surface, surface.Scale(), {});
    EXPECT_TRUE(empty.x.map.Valid() && empty.y.map.Valid());
    RecordingSurface tiny({0, 0, 20, 10});
    CausticPlotData data;
    data.axes.push_back({{{0, 1}}, std::nullopt});
    DrawCausticPlot(tiny, LayOutCausticPlot(tiny, tiny.Scale(), data), data);
    EXPECT_EQ(tiny.Calls().size(), 1U);
}

}  // namespace
}  // namespace rs::drawing
