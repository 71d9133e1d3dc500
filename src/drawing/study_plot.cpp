#include "drawing/study_plot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rs::drawing {
namespace {

constexpr int kMostXLabels = 8;
constexpr int kMostYLabels = 6;
constexpr double kConstantShare = 1e-6;

FrameAxis ValueAxis(const ValueRange& r, double from, double to, std::string title, int labels) {
    FrameAxis axis{{r.lo, r.hi, AxisScale::Linear, from, to}, {}, std::move(title), {}};
    axis.ticks = NiceTicks(axis.map, labels);
    for (const Tick& t : axis.ticks) axis.grid.push_back(t.value);
    return axis;
}

// The widest number the vertical axes write, for the room beside the frame.
std::string WidestLabel(const ValueRange& left, const std::optional<ValueRange>& right) {
    std::string widest = "0";
    const auto consider = [&](const ValueRange& r) {
        const AxisMap probe{r.lo, r.hi, AxisScale::Linear, 0.0, 100.0};
        for (const Tick& t : NiceTicks(probe, kMostYLabels)) {
            if (t.label.size() > widest.size()) widest = t.label;
        }
    };
    consider(left);
    if (right) consider(*right);
    return widest;
}

bool HasRight(const StudyPlotData& data) {
    return !data.y2Title.empty();
}

}  // namespace

ValueRange ShownRange(const std::vector<StudySeries>& series, bool rightAxis) {
    std::vector<double> values;
    for (const StudySeries& s : series) {
        if (s.rightAxis != rightAxis) continue;
        for (const DataPoint& p : s.points) {
            if (std::isfinite(p.y) && std::isfinite(p.x)) values.push_back(p.y);
        }
    }
    if (values.empty()) return {0.0, 1.0};
    std::sort(values.begin(), values.end());
    const auto at = [&](double share) {
        return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
    };
    // The middle nine tenths and half their span again on either side hold every value of a
    // curve that changes smoothly; a curve towards a pole is cut there.
    const double inner = at(0.95) - at(0.05);
    double lo = std::max(values.front(), at(0.05) - inner / 2);
    double hi = std::min(values.back(), at(0.95) + inner / 2);
    // A curve that changes by less than a millionth of its value is constant to the eye: its
    // rounding noise (a circularised diode's waist, say) would otherwise fill the axis with
    // nine-digit labels.
    if (!(hi - lo > kConstantShare * std::max(std::fabs(lo), std::fabs(hi)))) {
        const double half = lo == 0.0 ? 1.0 : std::fabs(lo) * 0.1;
        return {lo - half, lo + half};
    }
    const double pad = (hi - lo) * 0.05;
    return {lo - pad, hi + pad};
}

PlotFrame LayOutStudyPlot(const Surface& surface, const ScaleRect& area,
                          const StudyPlotData& data) {
    const ValueRange left = ShownRange(data.series, false);
    std::optional<ValueRange> right;
    if (HasRight(data)) right = ShownRange(data.series, true);
    PlotFrame frame;
    frame.box = FrameBox(surface, area, WidestLabel(left, right), right.has_value());
    if (!right) {
        // Room for half the last number of the bottom axis, which is centred on the frame's end.
        const double last = std::max(data.xFrom, data.xTo);
        const double half =
            surface.MeasureText(TickLabel(last, std::fabs(data.xTo - data.xFrom) / 10)).width / 2;
        frame.box.width = std::max(0.0, frame.box.width - std::ceil(half));
    }
    const ScaleRect& b = frame.box;
    frame.x.map = {std::min(data.xFrom, data.xTo), std::max(data.xFrom, data.xTo), data.xScale,
                   b.left, b.left + b.width};
    frame.x.title = data.xTitle;
    // About one number per hundred pixels, which leaves room for the widest of them.
    const int xLabels = std::clamp(static_cast<int>(b.width / 100), 2, kMostXLabels);
    frame.x.ticks = NiceTicks(frame.x.map, xLabels);
    for (const Tick& t : frame.x.ticks) {
        if (t.rank == 0) frame.x.grid.push_back(t.value);
    }
    const int yLabels = std::clamp(static_cast<int>(b.height / 50), 2, kMostYLabels);
    frame.y = ValueAxis(left, b.top + b.height, b.top, data.yTitle, yLabels);
    if (right) {
        frame.y2 = ValueAxis(*right, b.top + b.height, b.top, data.y2Title, yLabels);
        frame.y2->grid.clear();  // one grid is enough
    }
    return frame;
}

void DrawStudyPlot(Surface& surface, const PlotFrame& frame, const StudyPlotData& data) {
    surface.Clear();
    const ScaleRect& b = frame.box;
    if (!(b.width > 0 && b.height > 0)) return;
    DrawFrame(surface, frame);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const StudySeries& s : data.series) {
        const AxisMap& y = s.rightAxis && frame.y2 ? frame.y2->map : frame.y.map;
        // A pole between two points: one beyond the top, the next beyond the bottom.
        const auto side = [&](double value) {
            const auto p = y.Pixel(value);
            if (!p) return 0;
            return *p < b.top ? -1 : *p > b.top + b.height ? 1 : 0;
        };
        std::vector<DataPoint> points;
        points.reserve(s.points.size() + 8);
        int last = 0;
        for (const DataPoint& p : s.points) {
            const int now = side(p.y);
            if (!points.empty() && now != 0 && now == -last) points.push_back({nan, nan});
            points.push_back(p);
            last = now;
        }
        const Pen pen{s.rightAxis ? kStudySecond : kStudyFirst,
                      s.secondAxis ? LineStyle::Dotted : LineStyle::Solid, 2};
        if (s.reference) {
            DrawDashedCurve(surface, frame, points, {pen.colour, LineStyle::Solid, 1}, s.rightAxis);
        } else {
            DrawCurve(surface, frame, points, pen, s.rightAxis);
        }
    }
    if (data.current) {
        if (const auto x = frame.x.map.Pixel(*data.current); x && frame.x.map.Covers(*x)) {
            surface.Line(std::round(*x), b.top, std::round(*x), b.top + b.height,
                         {kStudyMark, LineStyle::Solid, 1});
        }
    }
    if (!data.note.empty()) {
        const TextExtent e = surface.MeasureText(data.note);
        surface.Text(b.left + std::max(4.0, (b.width - e.width) / 2), b.top + 4, data.note, kBlack);
    }
}

void DrawStudyPicture(Surface& surface, const ScaleRect& area, const StudyPlotData& data) {
    DrawStudyPlot(surface, LayOutStudyPlot(surface, area, data), data);
}

std::optional<StudyPick> NearestStudyPoint(const PlotFrame& frame, const StudyPlotData& data,
                                           double px, double py) {
    std::optional<StudyPick> best;
    double bestDistance = 0;
    for (std::size_t k = 0; k < data.series.size(); ++k) {
        const StudySeries& s = data.series[k];
        // A click sets the design's parameter; the reference's curve is only to look at.
        if (s.reference) continue;
        const auto i = NearestPoint(frame, s.points, px, py, s.rightAxis);
        if (!i) continue;
        const AxisMap& y = s.rightAxis && frame.y2 ? frame.y2->map : frame.y.map;
        const double d =
            std::hypot(*frame.x.map.Pixel(s.points[*i].x) - px, *y.Pixel(s.points[*i].y) - py);
        if (!best || d < bestDistance) {
            best = StudyPick{k, *i};
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace rs::drawing
