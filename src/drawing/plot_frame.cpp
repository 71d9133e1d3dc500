#include "drawing/plot_frame.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "drawing/drawing_scale.h"
#include "text/vb_format.h"

namespace rs::drawing {
namespace {

constexpr double kTickLength = 4.0;
constexpr Colour kFrameColour = 0x909090;
constexpr Colour kGridColour = 0xD8D8D8;
// Beyond this a pixel position is no position any more (and would overflow a device).
constexpr double kPixelLimit = 1e6;
// A logarithmic axis of more decades gets powers of ten only.
constexpr int kMostDecadesWithMultiples = 12;

enum class AxisSide { Bottom, Left, Right };

double Transformed(AxisScale scale, double v) {
    return scale == AxisScale::Logarithmic ? std::log10(v) : v;
}

bool Overlap(const LabelSpan& a, const LabelSpan& b) {
    return a.lo < b.hi && b.lo < a.hi;
}

// A title along `room` pixels: whole, or its first word where the whole would be cut, or
// nothing where not even that fits.
std::string FittingTitle(const Surface& surface, std::string_view title, double room) {
    for (const std::string_view t : {title, title.substr(0, title.find(' '))}) {
        if (!t.empty() && surface.MeasureText(t).width <= room) return std::string(t);
    }
    return {};
}

// The pixel of a tick that lies on the axis (a rounding error beyond an end still counts).
std::optional<double> TickPixel(const AxisMap& map, double value) {
    const auto p = map.Pixel(value);
    if (!p) return std::nullopt;
    const double lo = std::min(map.from, map.to) - 0.5, hi = std::max(map.from, map.to) + 0.5;
    if (*p < lo || *p > hi) return std::nullopt;
    return std::round(*p);
}

void DrawAxis(Surface& surface, const PlotFrame& frame, const FrameAxis& axis, AxisSide side) {
    const ScaleRect& b = frame.box;
    const double left = b.left, right = b.left + b.width, top = b.top, bottom = b.top + b.height;
    const double textHeight = surface.MeasureText("0").height;
    struct Placed {
        double pixel;
        std::size_t tick;
        double width;
    };
    std::vector<Placed> labelled;
    std::vector<LabelSpan> spans;
    const Pen grid{kGridColour, LineStyle::Dotted, 1};
    for (const double v : axis.grid) {
        const auto p = TickPixel(axis.map, v);
        if (!p || std::fabs(*p - axis.map.from) < 1 || std::fabs(*p - axis.map.to) < 1) continue;
        if (side == AxisSide::Bottom) surface.Line(*p, top, *p, bottom, grid);
        if (side == AxisSide::Left) surface.Line(left, *p, right, *p, grid);
    }
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        const Tick& tick = axis.ticks[i];
        const auto p = TickPixel(axis.map, tick.value);
        if (!p) continue;
        const double length = tick.rank == 0 && !tick.label.empty() ? 2 * kTickLength : kTickLength;
        switch (side) {
            case AxisSide::Bottom:
                surface.Line(*p, bottom, *p, bottom + length, {});
                break;
            case AxisSide::Left:
                surface.Line(left - length, *p, left, *p, {});
                break;
            case AxisSide::Right:
                surface.Line(right, *p, right + length, *p, {});
                break;
        }
        if (tick.label.empty()) continue;
        const double w = surface.MeasureText(tick.label).width;
        labelled.push_back({*p, i, w});
        spans.push_back(side == AxisSide::Bottom
                            ? LabelSpan{*p - w / 2 - 2, *p + w / 2 + 2, tick.rank}
                            : LabelSpan{*p - textHeight / 2, *p + textHeight / 2, tick.rank});
    }
    const double labelGap = 2 * kTickLength + 2;
    for (const std::size_t k : KeptLabels(spans)) {
        const Placed& l = labelled[k];
        const std::string& text = axis.ticks[l.tick].label;
        switch (side) {
            case AxisSide::Bottom:
                surface.Text(l.pixel - l.width / 2, bottom + labelGap, text, kBlack);
                break;
            case AxisSide::Left:
                surface.Text(left - labelGap - l.width, l.pixel - textHeight / 2, text, kBlack);
                break;
            case AxisSide::Right:
                surface.Text(right + labelGap, l.pixel - textHeight / 2, text, kBlack);
                break;
        }
    }
    const bool across = side == AxisSide::Bottom;
    const std::string title = FittingTitle(surface, axis.title, across ? b.width : b.height);
    if (title.empty()) return;
    const double w = surface.MeasureText(title).width;
    if (across) {
        surface.Text(left + (b.width - w) / 2, bottom + labelGap + 1.5 * textHeight, title, kBlack);
        return;
    }
    // Turned, rising beyond the widest number of its side.
    double widest = 0.0;
    for (const Placed& l : labelled) widest = std::max(widest, l.width);
    const double x = side == AxisSide::Left ? left - labelGap - widest - 2 - textHeight
                                            : right + labelGap + widest + 2;
    (void)DrawRotatedText(surface, title, static_cast<float>(x),
                          static_cast<float>(top + (b.height + w) / 2), 90.0f, 8.0f, "DejaVu Sans",
                          false);
}

}  // namespace

bool AxisMap::Valid() const {
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(from) || !std::isfinite(to)) {
        return false;
    }
    if (scale == AxisScale::Logarithmic && !(lo > 0.0 && hi > 0.0)) return false;
    const double span = Transformed(scale, hi) - Transformed(scale, lo);
    return span != 0.0 && std::isfinite(span) && from != to;
}

std::optional<double> AxisMap::Pixel(double value) const {
    if (!Valid() || !std::isfinite(value)) return std::nullopt;
    if (scale == AxisScale::Logarithmic && !(value > 0.0)) return std::nullopt;
    const double tlo = Transformed(scale, lo);
    const double share = (Transformed(scale, value) - tlo) / (Transformed(scale, hi) - tlo);
    const double p = from + share * (to - from);
    if (!(std::fabs(p) < kPixelLimit)) return std::nullopt;
    return p;
}

double AxisMap::Value(double pixel) const {
    if (!Valid() || !std::isfinite(pixel)) return std::nan("");
    const double tlo = Transformed(scale, lo);
    const double t = tlo + (pixel - from) / (to - from) * (Transformed(scale, hi) - tlo);
    return scale == AxisScale::Logarithmic ? std::pow(10.0, t) : t;
}

bool AxisMap::Covers(double pixel) const {
    return pixel >= std::min(from, to) && pixel <= std::max(from, to);
}

std::string TickLabel(double value, double step) {
    if (value == 0.0) return "0";
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e7 || magnitude < 1e-5) {
        // A whole mantissa without its point: "1e-8", "1.5e-8".
        std::string label = text::Format(value, "0.##e+0");
        if (const auto dot = label.find(".e"); dot != std::string::npos) label.erase(dot, 1);
        return label;
    }
    const int decimals =
        step > 0.0 ? std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 12) : 0;
    return text::Format(value, decimals == 0 ? "0" : "0." + std::string(decimals, '0'));
}

std::vector<Tick> NiceTicks(const AxisMap& axis, int maxLabels) {
    std::vector<Tick> ticks;
    if (!axis.Valid() || maxLabels < 1) return ticks;
    const double lo = std::min(axis.lo, axis.hi), hi = std::max(axis.lo, axis.hi);
    if (axis.scale == AxisScale::Logarithmic) {
        const int first = static_cast<int>(std::floor(std::log10(lo) + 1e-9));
        const int last = static_cast<int>(std::ceil(std::log10(hi) - 1e-9));
        const int decades = last - first;
        const bool multiples = decades <= kMostDecadesWithMultiples;
        const int room = std::max(1, maxLabels - 1);
        const int every = multiples ? 1 : (decades + room - 1) / room;
        // Powers on multiples of the step: 1e-20, 1e-10, 1, 1e+10 rather than odd ones.
        const int start = multiples ? first : -((-first) / every) * every;
        int powers = 0;
        for (int d = start; d <= last; d += every) {
            const double power = std::pow(10.0, d);
            for (int m = 1; m <= (multiples ? 9 : 1); ++m) {
                const double v = m * power;
                if (v < lo * (1 - 1e-9) || v > hi * (1 + 1e-9)) continue;
                const bool number = m == 1 || m == 2 || m == 5;
                powers += m == 1 ? 1 : 0;
                ticks.push_back({v, number ? TickLabel(v, power) : "", m == 1 ? 0 : 1});
            }
        }
        // A range with fewer than two powers of ten reads better with round linear steps.
        if (powers >= 2) return ticks;
        AxisMap linear = axis;
        linear.scale = AxisScale::Linear;
        return NiceTicks(linear, maxLabels);
    }
    const double raw = (hi - lo) / maxLabels;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        const double step = m * power;
        const double k0 = std::ceil(lo / step - 1e-9), k1 = std::floor(hi / step + 1e-9);
        // Steps too fine for the digits of the values tell nothing apart.
        if (!(std::fabs(k0) < 1e12 && std::fabs(k1) < 1e12)) return ticks;
        if (k1 - k0 + 1 > maxLabels) continue;
        for (double k = k0; k <= k1; ++k) {
            const double v = k == 0 ? 0.0 : k * step;
            ticks.push_back({v, TickLabel(v, step), 0});
        }
        break;
    }
    return ticks;
}

std::vector<std::size_t> KeptLabels(std::span<const LabelSpan> spans) {
    std::vector<std::size_t> main;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (spans[i].rank == 0) main.push_back(i);
    }
    std::vector<std::size_t> kept;
    for (std::size_t step = 1; step <= std::max<std::size_t>(1, main.size()); step *= 2) {
        kept.clear();
        bool overlaps = false;
        for (std::size_t k = 0; k < main.size(); k += step) {
            overlaps = overlaps || (!kept.empty() && Overlap(spans[kept.back()], spans[main[k]]));
            kept.push_back(main[k]);
        }
        if (!overlaps) break;
    }
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (spans[i].rank == 0) continue;
        const bool free = std::none_of(kept.begin(), kept.end(),
                                       [&](std::size_t k) { return Overlap(spans[k], spans[i]); });
        if (free) kept.push_back(i);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

double BottomAxisHeight(const Surface& surface) {
    // Ticks, a row of numbers, half a row of space and the title.
    return 2 * kTickLength + 2 + 2.5 * surface.MeasureText("0").height + 2;
}

double SideAxisWidth(const Surface& surface, const std::string& widestLabel) {
    return surface.MeasureText("0").height + surface.MeasureText(widestLabel).width +
           2 * kTickLength + 6;
}

ScaleRect FrameBox(const Surface& surface, const ScaleRect& area, const std::string& widestLabel,
                   bool rightAxis) {
    const double side = std::ceil(SideAxisWidth(surface, widestLabel));
    // Half a row above the box for the top number of a side axis.
    const double top = std::ceil(surface.MeasureText("0").height / 2);
    const double right = rightAxis ? side : top;
    ScaleRect box{area.left + side, area.top + top, area.width - side - right,
                  area.height - top - std::ceil(BottomAxisHeight(surface))};
    box.width = std::max(0.0, box.width);
    box.height = std::max(0.0, box.height);
    return box;
}

void DrawFrame(Surface& surface, const PlotFrame& frame) {
    const ScaleRect& b = frame.box;
    if (!(b.width > 0.0 && b.height > 0.0)) return;
    DrawAxis(surface, frame, frame.x, AxisSide::Bottom);
    DrawAxis(surface, frame, frame.y, AxisSide::Left);
    if (frame.y2) DrawAxis(surface, frame, *frame.y2, AxisSide::Right);
    surface.Box(b.left, b.top, b.left + b.width, b.top + b.height, kFrameColour, false);
}

void DrawClippedPolyline(Surface& surface, const ScaleRect& box, std::span<const PixelPoint> points,
                         const Pen& pen) {
    const ClipRect clip{box.left, box.left + box.width, box.top, box.top + box.height};
    std::vector<PixelPoint> run;
    const auto flush = [&] {
        if (run.size() >= 2) surface.Polyline(run, pen);
        run.clear();
    };
    for (std::size_t i = 1; i < points.size(); ++i) {
        double x1 = points[i - 1].x, y1 = points[i - 1].y, x2 = points[i].x, y2 = points[i].y;
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2) ||
            !ClipLine(clip, x1, y1, x2, y2)) {
            flush();
            continue;
        }
        // A piece continues the run only where the run ended inside the box.
        if (!run.empty() && !(run.back() == PixelPoint{x1, y1})) flush();
        if (run.empty()) run.push_back({x1, y1});
        run.push_back({x2, y2});
    }
    flush();
}

namespace {

std::vector<PixelPoint> CurvePixels(const PlotFrame& frame, std::span<const DataPoint> points,
                                    bool rightAxis) {
    const AxisMap& ymap = rightAxis && frame.y2 ? frame.y2->map : frame.y.map;
    const double nan = std::nan("");
    std::vector<PixelPoint> pixels;
    pixels.reserve(points.size());
    for (const DataPoint& p : points) {
        const auto x = frame.x.map.Pixel(p.x);
        const auto y = ymap.Pixel(p.y);
        pixels.push_back(x && y ? PixelPoint{*x, *y} : PixelPoint{nan, nan});
    }
    return pixels;
}

// The visible part of a curve as dashes of kDash pixels with gaps of kGap between them,
// measured along the curve; the pieces are separated by points without a position. Each piece
// is clipped first, so a curve running off towards a pole costs no more than one in the box.
std::vector<PixelPoint> Dashes(const ScaleRect& box, std::span<const PixelPoint> points) {
    constexpr double kDash = 8.0;
    constexpr double kGap = 5.0;
    const ClipRect clip{box.left, box.left + box.width, box.top, box.top + box.height};
    const double nan = std::nan("");
    std::vector<PixelPoint> out;
    double phase = 0.0;  // how far into the present dash and gap
    for (std::size_t i = 1; i < points.size(); ++i) {
        double x1 = points[i - 1].x, y1 = points[i - 1].y, x2 = points[i].x, y2 = points[i].y;
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2) ||
            !ClipLine(clip, x1, y1, x2, y2)) {
            continue;
        }
        const double length = std::hypot(x2 - x1, y2 - y1);
        const auto at = [&](double along) {
            const double t = length > 0.0 ? along / length : 0.0;
            return PixelPoint{x1 + t * (x2 - x1), y1 + t * (y2 - y1)};
        };
        for (double done = 0.0; done < length;) {
            const bool on = phase < kDash;
            const double step = std::min((on ? kDash : kDash + kGap) - phase, length - done);
            if (on) {
                const PixelPoint from = at(done);
                if (out.empty() || !(out.back() == from)) {
                    out.push_back({nan, nan});
                    out.push_back(from);
                }
                out.push_back(at(done + step));
            }
            done += step;
            phase += step;
            if (phase >= kDash + kGap) phase = 0.0;
        }
    }
    return out;
}

}  // namespace

void DrawCurve(Surface& surface, const PlotFrame& frame, std::span<const DataPoint> points,
               const Pen& pen, bool rightAxis) {
    DrawClippedPolyline(surface, frame.box, CurvePixels(frame, points, rightAxis), pen);
}

void DrawDashedCurve(Surface& surface, const PlotFrame& frame, std::span<const DataPoint> points,
                     const Pen& pen, bool rightAxis) {
    DrawClippedPolyline(surface, frame.box,
                        Dashes(frame.box, CurvePixels(frame, points, rightAxis)), pen);
}

std::optional<ReadOut> ReadOutAt(const PlotFrame& frame, double px, double py) {
    const ScaleRect& b = frame.box;
    if (!(px >= b.left && px <= b.left + b.width && py >= b.top && py <= b.top + b.height)) {
        return std::nullopt;
    }
    ReadOut r{frame.x.map.Value(px), frame.y.map.Value(py), std::nullopt};
    if (frame.y2) r.y2 = frame.y2->map.Value(py);
    return r;
}

std::optional<std::size_t> NearestPoint(const PlotFrame& frame, std::span<const DataPoint> points,
                                        double px, double py, bool rightAxis) {
    const std::vector<PixelPoint> pixels = CurvePixels(frame, points, rightAxis);
    std::optional<std::size_t> best;
    double bestDistance = 0.0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const double d = std::hypot(pixels[i].x - px, pixels[i].y - py);
        if (std::isfinite(d) && (!best || d < bestDistance)) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace rs::drawing
