// The study plot: the value range it shows, a pole never bridged, a gap left open, and the mark
// of the parameter's present value.
#include "drawing/study_plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "drawing/recording_surface.h"

namespace rs::drawing {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// y = 1/(x - 0.5) over 0…1 (a pole in the middle) and a line with a point without a value.
StudyPlotData PoleAndGap() {
    StudyPlotData data;
    data.xTitle = "x [mm]";
    data.yTitle = "y [mm]";
    data.xFrom = 0;
    data.xTo = 1;
    data.current = 0.25;
    StudySeries pole;
    for (int k = 0; k <= 100; ++k) {
        const double x = k / 100.0 + 0.005;
        pole.points.push_back({x, 1 / (x - 0.5)});
    }
    data.series.push_back(pole);
    return data;
}

TEST(StudyPlot, ShownRangeCutsAPoleButKeepsASmoothCurve) {
    const ValueRange pole = ShownRange(PoleAndGap().series, false);
    EXPECT_LT(pole.hi, 50.0);  // the values near the pole reach 200
    EXPECT_GT(pole.lo, -50.0);
    EXPECT_GT(pole.hi, 10.0);
    StudySeries line;
    for (int k = 0; k <= 10; ++k) line.points.push_back({double(k), 3.0 * k});
    const ValueRange all = ShownRange({line}, false);
    EXPECT_LT(all.lo, 0.0);
    EXPECT_GT(all.hi, 30.0);
    const ValueRange constant = ShownRange({StudySeries{{{0, 5}, {1, 5}}}}, false);
    EXPECT_LT(constant.lo, 5.0);
    EXPECT_GT(constant.hi, 5.0);
    // Rounding noise of a constant result is shown as a constant, not as nine-digit ticks.
    const ValueRange noisy = ShownRange({StudySeries{{{0, 0.4 + 6e-9}, {1, 0.4 + 1e-8}}}}, false);
    EXPECT_LT(noisy.lo, 0.39);
    EXPECT_GT(noisy.hi, 0.41);
}

// No line crosses the frame from top to bottom at the pole or spans the missing point, and the
// present value is a vertical line in the mark's colour.
TEST(StudyPlot, NeverJoinsAcrossAPoleOrAGap) {
    StudyPlotData data = PoleAndGap();
    data.series.push_back({{{0.1, 1}, {0.2, 1}, {0.3, kNone}, {0.4, 1}, {0.5, 1}}, false, true});
    RecordingSurface surface({0, 0, 1200, 400});
    const PlotFrame frame = LayOutStudyPlot(surface, surface.Scale(), data);
    DrawStudyPlot(surface, frame, data);
    const double top = frame.box.top, bottom = frame.box.top + frame.box.height;
    const double gapLeft = *frame.x.map.Pixel(0.2), gapRight = *frame.x.map.Pixel(0.4);
    int marks = 0;
    for (const SurfaceCall& c : surface.Lines()) {
        if (c.pen.colour == kStudyMark) {
            ++marks;
            EXPECT_NEAR(c.x1, *frame.x.map.Pixel(0.25), 0.5);
            continue;
        }
        if (c.pen.colour == kStudyFirst) {
            EXPECT_LT(std::fabs(c.y2 - c.y1), (bottom - top) * 0.9) << c;
            if (c.pen.style == LineStyle::Dotted) {
                EXPECT_FALSE(c.x1 < gapLeft + 1 && c.x2 > gapRight - 1) << c;
            }
        }
    }
    EXPECT_EQ(marks, 1);
}

// The reference's curve is dashed, drawn as short solid pieces with gaps between them that
// together follow the whole curve, and a click never picks it: it is not the design's.
TEST(StudyPlot, ReferenceCurveDashedAndNeverPicked) {
    StudyPlotData data = PoleAndGap();
    StudySeries reference;
    reference.reference = true;
    for (int k = 0; k <= 10; ++k) reference.points.push_back({k / 10.0, 3.0});
    data.series.push_back(reference);
    RecordingSurface surface({0, 0, 1200, 400});
    const PlotFrame frame = LayOutStudyPlot(surface, surface.Scale(), data);
    DrawStudyPlot(surface, frame, data);
    const double y = *frame.y.map.Pixel(3.0);
    const double left = *frame.x.map.Pixel(0.0), right = *frame.x.map.Pixel(1.0);
    double drawn = 0.0, last = left, dashStart = left;
    int dashes = 0;
    for (const SurfaceCall& c : surface.Lines()) {
        if (c.pen.colour != kStudyFirst || c.pen.width != 1) continue;
        ASSERT_NEAR(c.y1, y, 1.0) << c;
        drawn += c.x2 - c.x1;
        // A dash across a point of the curve comes in two pieces that meet.
        if (dashes == 0 || std::fabs(c.x1 - last) > 1e-6) {
            EXPECT_GE(c.x1 - last, dashes == 0 ? -0.5 : 4.5) << c;  // the gap before it
            ++dashes;
            dashStart = c.x1;
        }
        EXPECT_LE(c.x2 - dashStart, 8.5) << c;
        last = c.x2;
    }
    EXPECT_GT(dashes, 20);
    EXPECT_NEAR(drawn / (right - left), 8.0 / 13.0, 0.05);
    EXPECT_GT(last, right - 13.5);
    const auto pick = NearestStudyPoint(frame, data, *frame.x.map.Pixel(0.7), y);
    EXPECT_TRUE(!pick || pick->series == 0);
}

}  // namespace
}  // namespace rs::drawing
