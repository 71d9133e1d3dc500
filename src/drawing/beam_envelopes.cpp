#include "drawing/beam_envelopes.h"

#include <algorithm>
#include <cmath>

#include "engine/numbers.h"

namespace rs::drawing::beam_picture {

namespace {

using beam::AxialRange;
using engine::NarrowToFloat;

// Which envelope pieces LargestDrawnRadius looks at.
enum class Pieces { All, Continuations, BeyondWaist };

// The largest radius (M included) the envelope pieces of the axis reach.
double LargestDrawnRadius(const AxisData& a, const AxialRange& range, double wavelengthMm,
                          Pieces pieces) {
    double largest = 0.0;
    for (const Segment& seg : Segments(a, range.min, range.max)) {
        if (pieces == Pieces::Continuations && !seg.continuation) continue;
        if (pieces == Pieces::BeyondWaist && !seg.beyondWaist) continue;
        for (const EnvelopePoint& p : Sample(seg, wavelengthMm)) {
            largest = std::max(largest, Finite(std::fabs(p.w) * a.m));
        }
    }
    return largest;
}

void Polyline(Painter& p, const DrawingFrame& f,
              const std::array<EnvelopePoint, kEnvelopeSamples>& pts, double factor,
              const Pen& pen) {
    std::array<WorldPoint, kEnvelopeSamples> world;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        world[i] = {NarrowToFloat(pts[i].x), NarrowToFloat(factor * pts[i].w)};
    }
    p.Curve(f, world, pen);
}

}  // namespace

std::vector<Segment> Segments(const AxisData& a, double xLeft, double xRight) {
    constexpr double kPieces = kEnvelopeSamples - 1;
    std::vector<Segment> out;
    const bool virtualObject = a.s < 0.0;
    const bool virtualImage = a.sImg < 0.0;
    out.push_back({0.0, 1.0, 0.0, a.s / kPieces, a.r, true, virtualObject});
    if (virtualObject && xLeft < a.p) {
        out.push_back({0.0, -1.0, -a.s, (a.s - xLeft) / kPieces, a.r, true, false, true});
    }
    out.push_back({a.imageWaist, -1.0, 0.0, a.sImg / kPieces, a.rImg, false, virtualImage});
    if (virtualImage) {
        if (xRight > a.pp) {
            out.push_back({a.imageWaist, 1.0, -a.sImg, (xRight - a.pp) / kPieces, a.rImg, false,
                           false, true});
        }
    } else if (a.detectorOn) {
        if (a.imageWaist > 0.0 && a.detector > a.imageWaist) {
            out.push_back({a.imageWaist, 1.0, 0.0, (a.detector - a.imageWaist) / kPieces, a.rImg,
                           false, false});
        }
    } else if (xRight > a.imageWaist) {
        // Without a detector the beam does not end at its waist: it goes on to the picture's
        // end (a collimated beam would otherwise leave most of the picture empty).
        out.push_back({a.imageWaist, 1.0, 0.0, (xRight - a.imageWaist) / kPieces, a.rImg, false,
                       false, false, true});
    }
    return out;
}

std::array<EnvelopePoint, kEnvelopeSamples> Sample(const Segment& seg, double wavelengthMm) {
    std::array<EnvelopePoint, kEnvelopeSamples> pts;
    for (int i = 0; i < kEnvelopeSamples; ++i) {
        const double z = seg.z0 + i * seg.step;
        pts[static_cast<std::size_t>(i)] = {Finite(seg.x0 + seg.direction * z),
                                            beam::BeamRadiusAtDistance(seg.waist, z, wavelengthMm)};
    }
    return pts;
}

double FrameHalfHeight(const std::vector<AxisData>& data, const beam::AxialRange& range,
                       double wavelengthMm) {
    // The beam's radius at the element fills the upper half; behind a diverging element the
    // real beam grows beyond it and widens the frame to stay in sight. Beyond a real image
    // waist the beam may widen the frame up to twice that radius (a collimated beam that
    // leaves the element at its waist stays in sight; a strongly diverging one is clipped
    // rather than squeezing the rest of the picture).
    const double lambda = wavelengthMm;
    double half = 0.0;
    for (const AxisData& a : data) {
        const double atElement = a.m * a.radiusAtElement;
        const double beyond =
            std::min(LargestDrawnRadius(a, range, lambda, Pieces::BeyondWaist), 2 * atElement);
        half = std::max(
            {half, atElement, beyond, LargestDrawnRadius(a, range, lambda, Pieces::Continuations)});
    }
    if (!(half > 0.0) || !std::isfinite(half)) {
        half = 0.0;
        for (const AxisData& a : data) {
            half = std::max(half, LargestDrawnRadius(a, range, lambda, Pieces::All));
        }
    }
    return half;
}

void DrawEnvelopes(Painter& p, const AxisPicture& ap) {
    const AxisData& a = ap.data;
    const DrawingFrame& f = ap.frame->main;
    const double lambda = p.design().WavelengthMm();
    const bool print = p.options().printing;
    for (const Segment& seg : Segments(a, f.clip.xMin, f.clip.xMax)) {
        const auto pts = Sample(seg, lambda);
        const Pen base = AxisPen(ap, seg.objectSide ? kRed : kBlue, seg.virtualPart);
        Polyline(p, f, pts, 1.0, base);
        if (a.m > 1.0) {
            Polyline(p, f, pts, a.m, AxisPen(ap, MColour(seg.objectSide, print), seg.virtualPart));
        }
    }
}

void DrawReferenceEnvelopes(Painter& p, const AxisPicture& ap, const beam::BeamDesign& reference) {
    const int axis = ap.data.axis;
    if (!AxisValid(reference, axis)) return;
    const AxisData r = Gather(reference, axis);
    const DrawingFrame& f = ap.frame->main;
    for (const Segment& seg : Segments(r, f.clip.xMin, f.clip.xMax)) {
        Polyline(p, f, Sample(seg, reference.WavelengthMm()), r.m,
                 AxisPen(ap, kReferenceGrey, seg.virtualPart));
    }
    const double top = r.m * r.radiusAtElement > 0.0 ? r.m * r.radiusAtElement : f.scale.worldYMax;
    p.Line(f, r.p, 0.0, r.p, top, {kReferenceGrey, LineStyle::Solid, 2});
}

}  // namespace rs::drawing::beam_picture

namespace rs::drawing {

std::optional<BeamUnderPixel> BeamAtPixel(const beam::BeamDesign& design,
                                          const BeamDrawingMemory& memory, double px, double py) {
    using namespace beam_picture;
    constexpr double kBelowAxis = 15.0;
    if (!std::isfinite(px) || !std::isfinite(py)) return std::nullopt;
    for (int axis : DrawnAxes(design)) {
        const BeamAxisFrame& frame = memory.axes[static_cast<std::size_t>(axis)];
        if (!frame.defined) continue;
        const ScaleRect& area = frame.area;
        const DrawingScale& s = frame.main.scale;
        const double axisY = s.WorldToScreenY(0.0f);
        if (px < area.left || px > area.left + area.width || py < area.top + frame.header ||
            py > axisY + kBelowAxis) {
            continue;
        }
        const double x = s.ScreenToWorldX(
            NarrowToFloat(std::clamp(px, double{-kLabelPixelLimit}, double{kLabelPixelLimit})));
        const AxisData a = Gather(design, axis);
        for (const Segment& seg : Segments(a, frame.main.clip.xMin, frame.main.clip.xMax)) {
            const double from = seg.x0 + seg.direction * seg.z0;
            const double to = seg.x0 + seg.direction * (seg.z0 + (kEnvelopeSamples - 1) * seg.step);
            if (x < std::min(from, to) || x > std::max(from, to)) continue;
            const double waistX = seg.objectSide ? 0.0 : a.imageWaist;
            return BeamUnderPixel{axis, seg.objectSide, std::fabs(x - waistX)};
        }
    }
    return std::nullopt;
}

}  // namespace rs::drawing
