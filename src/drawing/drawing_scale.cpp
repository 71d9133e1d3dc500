#include "drawing/drawing_scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "engine/numbers.h"

namespace rs::drawing {

namespace {

// Too large a value becomes an infinity, which is then caught as a fault.
using engine::NarrowToFloat;

bool AllFinite(std::initializer_list<double> values) {
    for (double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// Whole pixels within the device-safe range; NaN stays NaN so the caller can report it.
double LimitedPixel(double v) {
    if (std::isnan(v)) return v;
    return std::round(std::fmax(-kLabelPixelLimit, std::fmin(kLabelPixelLimit, v)));
}

// The first `count` characters of a UTF-8 text.
std::string_view FirstChars(std::string_view text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0u) == 0x80u) continue;
        if (chars == count) return text.substr(0, i);
        ++chars;
    }
    return text;
}

enum : unsigned { kLeft = 1, kRight = 2, kBelow = 4, kAbove = 8 };

unsigned OutCode(const ClipRect& r, double x, double y) {
    unsigned code = 0;
    if (x < r.xMin) code |= kLeft;
    if (x > r.xMax) code |= kRight;
    if (y < r.yMin) code |= kBelow;
    if (y > r.yMax) code |= kAbove;
    return code;
}

// Infinite coordinates are replaced by very large finite ones so that crossings keep a
// meaning; differences of two such values still fit a double.
constexpr double kHugeCoordinate = 1e300;

double Tame(double v) {
    return std::fmax(-kHugeCoordinate, std::fmin(kHugeCoordinate, v));
}

}  // namespace

std::optional<DrawingScale> MakeDrawingScale(float screenLeft, float screenRight, float screenTop,
                                             float screenBottom, float worldXMin, float worldXMax,
                                             float worldYMin, float worldYMax) {
    if (!AllFinite({screenLeft, screenRight, screenTop, screenBottom, worldXMin, worldXMax,
                    worldYMin, worldYMax})) {
        return std::nullopt;
    }
    DrawingScale s;
    s.screenLeft = screenLeft;
    s.screenBottom = screenBottom;
    s.scaleX = NarrowToFloat((double{screenRight} - screenLeft) / (double{worldXMax} - worldXMin));
    s.scaleY = NarrowToFloat((double{screenBottom} - screenTop) / (double{worldYMax} - worldYMin));
    s.worldXMax = worldXMax;
    s.worldXMin = worldXMin;
    s.worldYMax = worldYMax;
    s.worldYMin = worldYMin;
    // A zero, subnormal or infinite scale cannot be inverted by the screen-to-world conversions.
    if (!std::isnormal(s.scaleX) || !std::isnormal(s.scaleY)) return std::nullopt;
    return s;
}

ClipRect MakeClipRect(const DrawingScale& scale, float screenTop, float screenBottom,
                      bool useScreenWidth, float screenLeft, float screenRight) {
    ClipRect r;
    r.xMin = scale.worldXMin;
    r.xMax = scale.worldXMax;
    r.yMax = scale.ScreenToWorldY(screenTop);
    r.yMin = scale.ScreenToWorldY(screenBottom);
    if (useScreenWidth) {
        r.xMin = scale.ScreenToWorldX(screenLeft);
        r.xMax = scale.ScreenToWorldX(screenRight);
    }
    return r;
}

bool PointInRect(const ClipRect& rect, double x, double y) {
    return rect.xMin <= x && x <= rect.xMax && rect.yMin <= y && y <= rect.yMax;
}

bool ClipLine(const ClipRect& rect, double& x1, double& y1, double& x2, double& y2) {
    for (double v : {x1, y1, x2, y2, rect.xMin, rect.xMax, rect.yMin, rect.yMax}) {
        if (std::isnan(v)) return false;
    }
    x1 = Tame(x1), y1 = Tame(y1), x2 = Tame(x2), y2 = Tame(y2);
    // In exact arithmetic each end point moves at most twice; rounding near a corner can make
    // a point hop between two edges, so the passes are bounded and such a line (visible over
    // no more than a rounding error) counts as invisible.
    for (int pass = 0; pass < 16; ++pass) {
        const unsigned c1 = OutCode(rect, x1, y1);
        const unsigned c2 = OutCode(rect, x2, y2);
        if (c1 == 0 && c2 == 0) return true;
        if ((c1 & c2) != 0) return false;
        const bool moveFirst = c1 != 0;
        const unsigned code = moveFirst ? c1 : c2;
        double& x = moveFirst ? x1 : x2;
        double& y = moveFirst ? y1 : y2;
        const double ox = moveFirst ? x2 : x1;
        const double oy = moveFirst ? y2 : y1;
        // Crossings are measured from the other end: when this end lies very far out (an
        // object at infinity) the visible part keeps its digits. The other end is never beyond
        // the same edge, so each fraction lies in [0, 1] and its denominator is not zero.
        double nx = x, ny = y;
        if (code & kLeft) {
            ny = oy + (y - oy) * ((rect.xMin - ox) / (x - ox));
            nx = rect.xMin;
        }
        if (code & kRight) {
            ny = oy + (y - oy) * ((rect.xMax - ox) / (x - ox));
            nx = rect.xMax;
        }
        if (code & kBelow) {
            nx = ox + (x - ox) * ((rect.yMin - oy) / (y - oy));
            ny = rect.yMin;
        }
        if (code & kAbove) {
            nx = ox + (x - ox) * ((rect.yMax - oy) / (y - oy));
            ny = rect.yMax;
        }
        if (std::isnan(nx) || std::isnan(ny)) return false;
        x = nx;
        y = ny;
    }
    return false;
}

std::optional<DrawingFrame> FitEqualScale(const ScaleRect& area, const DrawingExtents& e,
                                          bool dragging) {
    const double sl = area.left + kFitMargin;
    const double sr = area.left + area.width - kFitMargin;
    const double st = area.top + kFitMargin;
    const double sb = area.top + area.height - kFitMargin;
    const double w = double{e.xMax} - e.xMin;
    const double h = double{e.yMax} - e.yMin;
    const double sw = sr - sl;
    const double sh = sb - st;
    const double cx = sl + sw / 2.0;
    const double cy = (st + sb) / 2.0;
    const double screenAspect = std::fabs(sw / sh);
    const double worldAspect = std::fabs(w / h);
    if (!std::isnormal(screenAspect) || !std::isnormal(worldAspect)) return std::nullopt;

    double left = sl, right = sr, top = st, bottom = sb;
    if (worldAspect <= screenAspect) {
        // Relatively taller world: full height, narrower and centred horizontally.
        const double half = std::fabs(sw) * (worldAspect / screenAspect) / 2.0;
        left = cx - half;
        right = cx + half;
    } else {
        const double half = std::fabs(sh) * (screenAspect / worldAspect) / 2.0;
        top = cy - half;
        bottom = cy + half;
    }
    auto scale = MakeDrawingScale(NarrowToFloat(left), NarrowToFloat(right), NarrowToFloat(top),
                                  NarrowToFloat(bottom), e.xMin, e.xMax, e.yMin, e.yMax);
    if (!scale) return std::nullopt;
    // The shrunk range was rounded to single precision; take its scale from the full one so
    // that a millimetre is exactly as long along y as along x.
    if (worldAspect <= screenAspect) {
        scale->scaleX = std::copysign(std::fabs(scale->scaleY), scale->scaleX);
    } else {
        scale->scaleY = std::copysign(std::fabs(scale->scaleX), scale->scaleY);
    }
    DrawingFrame frame{*scale, MakeClipRect(*scale, NarrowToFloat(st), NarrowToFloat(sb), dragging,
                                            NarrowToFloat(sl), NarrowToFloat(sr))};
    const ClipRect& c = frame.clip;
    if (!AllFinite({c.xMin, c.xMax, c.yMin, c.yMax})) return std::nullopt;
    return frame;
}

namespace {

enum class Piece { Fault, Hidden, Visible };

// The pixels of the visible part of one world line.
Piece ClippedPixels(const DrawingFrame& frame, float x1, float y1, float x2, float y2,
                    PixelPoint& a, PixelPoint& b) {
    double cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
    if (std::isnan(cx1) || std::isnan(cy1) || std::isnan(cx2) || std::isnan(cy2)) {
        return Piece::Fault;
    }
    if (!ClipLine(frame.clip, cx1, cy1, cx2, cy2)) return Piece::Hidden;
    const DrawingScale& s = frame.scale;
    a = {std::round(s.WorldToScreenX(NarrowToFloat(cx1))),
         std::round(s.WorldToScreenY(NarrowToFloat(cy1)))};
    b = {std::round(s.WorldToScreenX(NarrowToFloat(cx2))),
         std::round(s.WorldToScreenY(NarrowToFloat(cy2)))};
    return AllFinite({a.x, a.y, b.x, b.y}) ? Piece::Visible : Piece::Fault;
}

}  // namespace

DrawnLine DrawTracedLine(Surface& surface, const DrawingFrame& frame, float x1, float y1, float x2,
                         float y2, const Pen& pen) {
    DrawnLine drawn;
    const Piece piece = ClippedPixels(frame, x1, y1, x2, y2, drawn.a, drawn.b);
    drawn.visible = piece == Piece::Visible;
    drawn.ok = piece != Piece::Fault;
    if (drawn.visible) surface.Line(drawn.a.x, drawn.a.y, drawn.b.x, drawn.b.y, pen);
    return drawn;
}

bool DrawLine(Surface& surface, const DrawingFrame& frame, float x1, float y1, float x2, float y2,
              const Pen& pen) {
    return DrawTracedLine(surface, frame, x1, y1, x2, y2, pen).ok;
}

bool DrawPolyline(Surface& surface, const DrawingFrame& frame, std::span<const WorldPoint> points,
                  const Pen& pen) {
    std::vector<PixelPoint> run;
    run.reserve(points.size());
    const auto flush = [&] {
        if (run.size() >= 2) surface.Polyline(run, pen);
        run.clear();
    };
    for (std::size_t i = 1; i < points.size(); ++i) {
        PixelPoint a, b;
        const WorldPoint &p = points[i - 1], &q = points[i];
        const Piece piece = ClippedPixels(frame, p.x, p.y, q.x, q.y, a, b);
        if (piece == Piece::Fault) {
            flush();
            return false;
        }
        if (piece == Piece::Hidden) {
            flush();
            continue;
        }
        // A piece that starts where the last one ended continues the run.
        if (run.empty() || !(run.back() == a)) {
            flush();
            run.push_back(a);
        }
        run.push_back(b);
    }
    flush();
    return true;
}

bool DrawBox(Surface& surface, const DrawingFrame& frame, float x1, float y1, float x2, float y2,
             Colour colour, bool filled) {
    const DrawingScale& s = frame.scale;
    const double px1 = LimitedPixel(s.WorldToScreenX(x1));
    const double py1 = LimitedPixel(s.WorldToScreenY(y1));
    const double px2 = LimitedPixel(s.WorldToScreenX(x2));
    const double py2 = LimitedPixel(s.WorldToScreenY(y2));
    if (!AllFinite({px1, py1, px2, py2})) return false;
    surface.Box(px1, py1, px2, py2, colour, filled);
    return true;
}

bool DrawLabel(Surface& surface, const DrawingFrame& frame, float x, float y, std::string_view text,
               Colour colour, bool insideOnly, float dx, float dy) {
    if (std::isnan(x) || std::isnan(y)) return false;
    const float px = frame.scale.WorldToScreenX(x) + dx;
    const float py = frame.scale.WorldToScreenY(y) + dy;
    if (insideOnly) {
        if (!PointInRect(frame.clip, x, y)) return true;
        const double rx = std::round(px), ry = std::round(py);
        if (!AllFinite({rx, ry})) return false;
        surface.Text(rx, ry, text, colour);
        return true;
    }
    return DrawLabelAt(surface, px, py, text, colour);
}

bool DrawLabelAt(Surface& surface, double px, double py, std::string_view text, Colour colour) {
    const double rx = LimitedPixel(px), ry = LimitedPixel(py);
    if (std::isnan(rx) || std::isnan(ry)) return false;
    surface.Text(rx, ry, text, colour);
    return true;
}

bool DrawRotatedText(Surface& surface, std::string_view text, float x, float y, float angle,
                     float size, std::string_view fontName, bool bold) {
    const double twips = surface.TwipsPerPixel();
    if (!AllFinite({x, y, angle, size, twips}) || !(twips > 0.0)) return false;
    const double height = 20.0 * size / twips;
    // Beyond this a font size is a fault of the caller, and the conversion to int must stay
    // defined.
    if (!(std::fabs(height) <= kLabelPixelLimit)) return false;
    RotatedFont font;
    font.faceName = std::string(FirstChars(fontName, 32));
    font.escapement = static_cast<int>(std::lround(std::fmod(double{angle}, 360.0) * 10.0));
    font.weight = (bold || surface.FontIsBold()) ? 800 : 400;
    font.pixelHeight = static_cast<int>(std::lround(height));
    surface.RotatedText(LimitedPixel(x), LimitedPixel(y), text, font);
    return true;
}

// --- Labels ---------------------------------------------------------------------------------

bool Overlap(const PixelBox& a, const PixelBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const PixelBox& inner, const PixelBox& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

bool Crosses(const PixelBox& box, PixelPoint a, PixelPoint b) {
    // Liang-Barsky against the pixels the box covers: a line on the row just below a label
    // (one drawn at y = bottom) is beside it, not under it.
    const double dx = b.x - a.x, dy = b.y - a.y;
    const std::array<std::pair<double, double>, 4> edges = {{{-dx, a.x - box.left},
                                                             {dx, box.right - 1.0 - a.x},
                                                             {-dy, a.y - box.top},
                                                             {dy, box.bottom - 1.0 - a.y}}};
    double t0 = 0.0, t1 = 1.0;
    for (const auto& [p, q] : edges) {
        if (!std::isfinite(p) || !std::isfinite(q)) return false;
        if (p == 0.0) {
            if (q < 0.0) return false;
            continue;
        }
        const double r = q / p;
        if (p < 0.0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
    }
    return true;
}

namespace {

double Limited(double v) {
    return std::clamp(v, -double{kLabelPixelLimit}, double{kLabelPixelLimit});
}

}  // namespace

bool LabelPlacer::Free(const PixelBox& box) const {
    const PixelBox padded{box.left - kPadding, box.top, box.right + kPadding, box.bottom};
    return std::none_of(placed_.begin(), placed_.end(),
                        [&](const PixelBox& b) { return Overlap(padded, b); });
}

LabelOutcome LabelPlacer::Place(const LabelRequest& r) {
    if (r.text.empty()) return LabelOutcome::NoRoom;
    const TextExtent e = Measure(r.text);
    // Lexicographic badness of a candidate: outside its bounds, over another label, over a line
    // it names, lines crossed. The first candidate of the least badness wins.
    using Badness = std::tuple<bool, bool, bool, std::size_t>;
    Badness best;
    PixelBox chosen;
    bool any = false;
    for (const PixelPoint& c : r.candidates) {
        const double x = std::round(Limited(c.x)), y = std::round(Limited(c.y));
        if (std::isnan(x) || std::isnan(y)) continue;
        const PixelBox box{x, y, x + e.width, y + e.height};
        const auto crosses = [&box](const PixelSegment& s) { return Crosses(box, s.a, s.b); };
        const Badness badness{
            !Inside(box, r.bounds), !Free(box),
            std::any_of(r.named.begin(), r.named.end(), crosses),
            static_cast<std::size_t>(std::count_if(lines_.begin(), lines_.end(), crosses))};
        if (!any || badness < best) {
            best = badness;
            chosen = box;
            any = true;
        }
        if (badness == Badness{false, false, false, 0}) break;
    }
    if (!any) return r.always ? LabelOutcome::Fault : LabelOutcome::NoRoom;
    if (!r.always && (std::get<0>(best) || std::get<1>(best))) return LabelOutcome::NoRoom;
    if (!DrawLabelAt(surface_, chosen.left, chosen.top, r.text, r.colour)) {
        return LabelOutcome::Fault;
    }
    placed_.push_back(chosen);
    return LabelOutcome::Placed;
}

LabelOutcome LabelPlacer::Place(double px, double py, std::string_view text, Colour colour,
                                const PixelBox& bounds) {
    const PixelPoint at{px, py};
    return Place({text, colour, bounds, {&at, 1}});
}

}  // namespace rs::drawing
