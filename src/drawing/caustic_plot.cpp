#include "drawing/caustic_plot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rs::drawing {
namespace {

// Points along each fitted curve: enough that a caustic whose waist lies inside the range
// looks smooth at any window width.
constexpr int kCurveSteps = 200;
constexpr double kPointRadius = 2.5;
constexpr double kRoom = 0.05;  // share of a range left free at each end

struct Range {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void Take(double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    bool Empty() const { return lo > hi; }
};

Range ZRange(const CausticPlotData& data) {
    Range r;
    for (const CausticPlotAxis& axis : data.axes) {
        for (const DataPoint& p : axis.measured) r.Take(p.x);
        if (axis.fit) r.Take(axis.fit->waistPosition);
    }
    if (r.Empty()) return {0.0, 1.0};
    const double room = r.hi > r.lo ? kRoom * (r.hi - r.lo) : std::max(1.0, std::fabs(r.lo));
    return {r.lo - room, r.hi + room};
}

double RadiusReach(const CausticPlotData& data, const Range& z) {
    double reach = 0.0;
    for (const CausticPlotAxis& axis : data.axes) {
        for (const DataPoint& p : axis.measured) {
            if (std::isfinite(p.y)) reach = std::max(reach, std::fabs(p.y) / 2.0);
        }
        if (axis.fit) {
            for (double at : {z.lo, z.hi}) {
                reach = std::max(reach, beam::FittedDiameter(*axis.fit, at) / 2.0);
            }
        }
    }
    return reach > 0.0 && std::isfinite(reach) ? reach * (1.0 + 2.0 * kRoom) : 1.0;
}

FrameAxis Axis(double lo, double hi, double from, double to, std::string title) {
    FrameAxis axis{{lo, hi, AxisScale::Linear, from, to}, {}, std::move(title), {}};
    axis.ticks = NiceTicks(axis.map, 8);
    for (const Tick& t : axis.ticks) {
        if (t.rank == 0) axis.grid.push_back(t.value);
    }
    return axis;
}

void DrawPoints(Surface& surface, const PlotFrame& frame, const CausticPlotAxis& axis,
                const CausticPlotData& data, Colour colour, bool hollow) {
    for (const DataPoint& p : axis.measured) {
        const auto x = frame.x.map.Pixel(p.x / data.zFactor);
        if (!x || !frame.x.map.Covers(*x)) continue;
        for (double sign : {1.0, -1.0}) {
            const auto y = frame.y.map.Pixel(sign * p.y / 2.0 / data.dFactor);
            if (!y || !frame.y.map.Covers(*y)) continue;
            surface.Circle(std::round(*x), std::round(*y), kPointRadius, colour, !hollow);
        }
    }
}

void DrawFit(Surface& surface, const PlotFrame& frame, const beam::CausticFit& fit,
             const CausticPlotData& data, const Pen& pen) {
    const double lo = frame.x.map.lo, hi = frame.x.map.hi;
    for (double sign : {1.0, -1.0}) {
        std::vector<DataPoint> curve;
        for (int i = 0; i <= kCurveSteps; ++i) {
            const double z = lo + (hi - lo) * i / kCurveSteps;
            curve.push_back(
                {z, sign * beam::FittedDiameter(fit, z * data.zFactor) / 2.0 / data.dFactor});
        }
        DrawCurve(surface, frame, curve, pen);
    }
    // The waist: a line across at z0 from edge to edge of the beam, and "z0" above it.
    const auto x = frame.x.map.Pixel(fit.waistPosition / data.zFactor);
    const auto top = frame.y.map.Pixel(fit.waistDiameter / 2.0 / data.dFactor);
    const auto bottom = frame.y.map.Pixel(-fit.waistDiameter / 2.0 / data.dFactor);
    if (!x || !top || !bottom || !frame.x.map.Covers(*x)) return;
    const PixelPoint across[] = {{std::round(*x), std::round(*top)},
                                 {std::round(*x), std::round(*bottom)}};
    DrawClippedPolyline(surface, frame.box, across, {pen.colour, LineStyle::Solid, 2});
    const TextExtent e = surface.MeasureText("z0");
    const double labelY = std::max(frame.box.top + 1.0, std::round(*top) - e.height - 2.0);
    if (frame.y.map.Covers(labelY)) {
        surface.Text(std::round(*x) - e.width / 2.0, labelY, "z0", pen.colour);
    }
}

}  // namespace

PlotFrame LayOutCausticPlot(const Surface& surface, const ScaleRect& area,
                            const CausticPlotData& data) {
    const Range z = ZRange(data);
    const double reach = RadiusReach(data, z) / data.dFactor;
    PlotFrame frame;
    frame.box = FrameBox(surface, area, TickLabel(-reach, reach / 4.0), false);
    const ScaleRect& b = frame.box;
    frame.x = Axis(z.lo / data.zFactor, z.hi / data.zFactor, b.left, b.left + b.width, data.zTitle);
    frame.y = Axis(-reach, reach, b.top + b.height, b.top, data.dTitle);
    return frame;
}

void DrawCausticPlot(Surface& surface, const PlotFrame& frame, const CausticPlotData& data) {
    surface.Clear();
    if (!frame.x.map.Valid() || !frame.y.map.Valid() || frame.box.width < 4 ||
        frame.box.height < 4) {
        return;
    }
    DrawFrame(surface, frame);
    // The axis line, faintly, to show what the radii are measured from.
    const auto axisLine = frame.y.map.Pixel(0.0);
    if (axisLine) {
        surface.Line(frame.box.left, std::round(*axisLine), frame.box.left + frame.box.width,
                     std::round(*axisLine), {0xA0A0A0, LineStyle::Dotted, 1});
    }
    for (std::size_t i = 0; i < data.axes.size() && i < kCausticColours.size(); ++i) {
        const Colour colour = kCausticColours[i];
        const Pen pen{colour, i == 0 ? LineStyle::Solid : LineStyle::Dotted, 1};
        if (data.axes[i].fit) DrawFit(surface, frame, *data.axes[i].fit, data, pen);
        DrawPoints(surface, frame, data.axes[i], data, colour, i != 0);
    }
}

}  // namespace rs::drawing
