// The plot frame: axis mapping both ways, round tick values, labels that never overlap, curves
// clipped to the frame with gaps kept, and the read-out under the cursor.
#include "drawing/plot_frame.h"

#include <gtest/gtest.h>

#include <cmath>

#include "drawing/recording_surface.h"

namespace rs::drawing {
namespace {

std::vector<std::string> Labels(const std::vector<Tick>& ticks, int rank) {
    std::vector<std::string> labels;
    for (const Tick& t : ticks) {
        if (t.rank == rank && !t.label.empty()) labels.push_back(t.label);
    }
    return labels;
}

TEST(AxisMap, MapsBothWaysAndRefusesWhatHasNoPlace) {
    struct Case {
        AxisMap map;
        double value, pixel;
    };
    for (const Case& c : {
             Case{{0, 10, AxisScale::Linear, 100, 200}, 2.5, 125},
             Case{{-5, 5, AxisScale::Linear, 300, 100}, 0, 200},  // rising upwards
             Case{{0.01, 1, AxisScale::Logarithmic, 12, 212}, 0.1, 112},
             Case{{0.1, 100, AxisScale::Logarithmic, 400, 100}, 1, 300},
             Case{{10, 0, AxisScale::Linear, 0, 100}, 2, 80},  // reversed range
         }) {
        ASSERT_TRUE(c.map.Valid());
        EXPECT_NEAR(*c.map.Pixel(c.value), c.pixel, 1e-9);
        EXPECT_NEAR(c.map.Value(c.pixel), c.value, 1e-12);
        EXPECT_TRUE(c.map.Covers(c.pixel));
        // Beyond the ends the mapping goes on, but the axis does not cover it.
        const double beyond = c.map.to + (c.map.to - c.map.from);
        EXPECT_NEAR(*c.map.Pixel(c.map.Value(beyond)), beyond, 1e-6);
        EXPECT_FALSE(c.map.Covers(beyond));
    }
    const AxisMap log{0.01, 1, AxisScale::Logarithmic, 0, 100};
    EXPECT_FALSE(log.Pixel(0) || log.Pixel(-1) || log.Pixel(NAN) || log.Pixel(INFINITY));
    EXPECT_FALSE(AxisMap{}.Pixel(1e300));  // no pixel any more
    for (const AxisMap& invalid :
         {AxisMap{1, 1, AxisScale::Linear, 0, 100}, AxisMap{0, 1, AxisScale::Logarithmic, 0, 100},
          AxisMap{0, NAN, AxisScale::Linear, 0, 100}, AxisMap{0, 1, AxisScale::Linear, 50, 50}}) {
        EXPECT_FALSE(invalid.Valid());
        EXPECT_FALSE(invalid.Pixel(0.5));
        EXPECT_TRUE(std::isnan(invalid.Value(10)));
        EXPECT_TRUE(NiceTicks(invalid, 5).empty());
    }
}

TEST(NiceTicks, RoundStepsOnLinearAndDecadesOnLogarithmicAxes) {
    struct Case {
        double lo, hi;
        AxisScale scale;
        int maxLabels;
        std::vector<std::string> main, room;
    };
    const auto lin = AxisScale::Linear, log = AxisScale::Logarithmic;
    for (const Case& c : {
             Case{0, 10, lin, 6, {"0", "2", "4", "6", "8", "10"}, {}},
             Case{0, 10, lin, 5, {"0", "5", "10"}, {}},
             Case{-3.2, 7.1, lin, 8, {"-2", "0", "2", "4", "6"}, {}},
             Case{-0.03, -0.01, lin, 3, {"-0.03", "-0.02", "-0.01"}, {}},
             Case{1.0001, 1.0004, lin, 4, {"1.0001", "1.0002", "1.0003", "1.0004"}, {}},
             Case{7e-9, 2.1e-8, lin, 3, {"1e-8", "1.5e-8", "2e-8"}, {}},
             Case{5, -5, lin, 3, {"-5", "0", "5"}, {}},
             Case{0.01, 1, log, 8, {"0.01", "0.1", "1"}, {"0.02", "0.05", "0.2", "0.5"}},
             Case{0.3, 300, log, 8, {"1", "10", "100"}, {"0.5", "2", "5", "20", "50", "200"}},
             Case{2, 8, log, 4, {"2", "4", "6", "8"}, {}},  // within a decade: linear steps
             Case{1e-20, 1e20, log, 5, {"1e-20", "1e-10", "1", "1e+10", "1e+20"}, {}},
         }) {
        const std::vector<Tick> ticks = NiceTicks({c.lo, c.hi, c.scale, 0, 100}, c.maxLabels);
        EXPECT_EQ(Labels(ticks, 0), c.main) << c.lo << ".." << c.hi;
        EXPECT_EQ(Labels(ticks, 1), c.room) << c.lo << ".." << c.hi;
    }
    // Short unnumbered ticks between the powers of a logarithmic axis: 2…9 in each decade.
    const std::vector<Tick> log2 = NiceTicks({0.1, 10, log, 0, 100}, 8);
    EXPECT_EQ(log2.size(), 19u);
}

TEST(KeptLabels, EveryOtherUntilNoneOverlapsThenTheOthersWhereFree) {
    // Five main labels 10 pixels apart, 14 wide: every other one stays.
    std::vector<LabelSpan> spans;
    for (int k = 0; k < 5; ++k) spans.push_back({k * 10.0 - 7, k * 10.0 + 7, 0});
    EXPECT_EQ(KeptLabels(spans), (std::vector<std::size_t>{0, 2, 4}));
    // 30 wide: only the first and the last of every fourth.
    for (LabelSpan& s : spans) s.lo -= 8, s.hi += 8;
    EXPECT_EQ(KeptLabels(spans), (std::vector<std::size_t>{0, 4}));
    // Lower-rank labels only where they overlap nothing kept.
    const std::vector<LabelSpan> mixed = {{0, 10, 0}, {8, 18, 1}, {20, 30, 1}, {40, 50, 0}};
    EXPECT_EQ(KeptLabels(mixed), (std::vector<std::size_t>{0, 2, 3}));
}

TEST(PlotFrame, LabelsOfADrawnFrameNeverOverlap) {
    // A narrow, low frame with far too many ticks for its numbers.
    RecordingSurface surface({0, 0, 200, 120});
    PlotFrame frame;
    frame.box = FrameBox(surface, surface.Scale(), "-0.0005", true);
    const ScaleRect& b = frame.box;
    frame.x.map = {-1000, 1000, AxisScale::Linear, b.left, b.left + b.width};
    frame.x.ticks = NiceTicks(frame.x.map, 40);
    frame.y.map = {1e-3, 1e3, AxisScale::Logarithmic, b.top + b.height, b.top};
    frame.y.ticks = NiceTicks(frame.y.map, 40);
    frame.y2 =
        FrameAxis{{-0.0005, 0.0005, AxisScale::Linear, b.top + b.height, b.top}, {}, "Zweite", {}};
    frame.y2->ticks = NiceTicks(frame.y2->map, 40);
    DrawFrame(surface, frame);
    const auto texts = surface.Texts();
    ASSERT_GE(texts.size(), 6u);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TextExtent a = surface.MeasureText(texts[i].text);
        EXPECT_GE(texts[i].x1, 0) << texts[i];
        EXPECT_LE(texts[i].x1 + a.width, 200) << texts[i];
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const TextExtent e = surface.MeasureText(texts[j].text);
            EXPECT_TRUE(
                texts[i].x1 + a.width <= texts[j].x1 || texts[j].x1 + e.width <= texts[i].x1 ||
                texts[i].y1 + a.height <= texts[j].y1 || texts[j].y1 + e.height <= texts[i].y1)
                << texts[i] << " / " << texts[j];
        }
    }
}

TEST(PlotFrame, CurvesAreClippedAndGapsNeverBridged) {
    RecordingSurface surface;
    PlotFrame frame;
    frame.box = {100, 50, 100, 100};  // x 100…200, y 50…150
    frame.x.map = {0, 10, AxisScale::Linear, 100, 300};
    frame.y.map = {0, 10, AxisScale::Linear, 150, 50};
    // Out of the box to the right and back in, then a gap (NaN).
    const double nan = std::nan("");
    const std::vector<DataPoint> curve = {{1, 5}, {4, 5},   {7, 5}, {4, 8},
                                          {2, 8}, {nan, 3}, {1, 3}, {3, 3}};
    DrawCurve(surface, frame, curve, {});
    const auto lines = surface.Lines();
    for (const SurfaceCall& l : lines) {
        for (const auto& [x, y] : {std::pair{l.x1, l.y1}, std::pair{l.x2, l.y2}}) {
            EXPECT_TRUE(x >= 100 && x <= 200 && y >= 50 && y <= 150) << l;
        }
        // Nothing joins the pieces before and after the gap (y 70 and y 120).
        EXPECT_FALSE(l.y1 == 70 && l.y2 == 120) << l;
    }
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].x2, 200);  // clipped where the curve leaves the box
    EXPECT_EQ(lines[2].x1, 200);  // and starts again where it comes back
    EXPECT_DOUBLE_EQ(lines[2].y1, 80);

    // The read-out: data under a pixel inside the box, nothing outside; the nearest point.
    frame.y2 = FrameAxis{{1, 100, AxisScale::Logarithmic, 150, 50}, {}, {}, {}};
    const auto r = ReadOutAt(frame, 150, 100);
    ASSERT_TRUE(r && r->y2);
    EXPECT_DOUBLE_EQ(r->x, 2.5);
    EXPECT_DOUBLE_EQ(r->y, 5);
    EXPECT_DOUBLE_EQ(*r->y2, 10);
    EXPECT_FALSE(ReadOutAt(frame, 99, 100));
    EXPECT_EQ(NearestPoint(frame, curve, 181, 70), 3u);
    EXPECT_EQ(NearestPoint(frame, curve, 0, 0, true), 0u);  // log axis: {1,5} at y2 = 5
    EXPECT_FALSE(NearestPoint(frame, std::vector<DataPoint>{{nan, 1}}, 0, 0));
}

}  // namespace
}  // namespace rs::drawing
