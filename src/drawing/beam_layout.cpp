#include "drawing/beam_layout.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "engine/numbers.h"
#include "text/tr.h"

namespace rs::drawing {

namespace {

using beam::AxialRange;
using beam::BeamAxis;
using beam::BeamDesign;
using namespace beam_picture;
using engine::NarrowToFloat;

constexpr std::array<std::string_view, kBeamScaleChoiceCount> kScaleChoiceTexts = {
    text::TrNoop("Automatisch"),
    text::TrNoop("Fester Abstand von der Objektgröße"),
    text::TrNoop("Fester Abstand ± Linsenposition"),
    text::TrNoop("Fester Abstand von der Bildgröße"),
    text::TrNoop("2-fache Schnittweite "),
    text::TrNoop("3-fache Schnittweite"),
    text::TrNoop("4-fache Schnittweite"),
};

// Diode layouts by the aspect width/height of the surface.
constexpr double kSideBySideAspect = 1.1;
constexpr double kStackedAspect = 0.9;

// Touch rows below the axis (pixels).
constexpr float kBelowAxisRow = 14.0f;
constexpr float kMarkRow = 20.0f;

// A touch coordinate within the range the surface accepts; a fault reads as 0.
float TouchPixel(float v) {
    if (std::isnan(v)) return 0.0f;
    return std::clamp(v, -kLabelPixelLimit, kLabelPixelLimit);
}

}  // namespace

namespace beam_picture {

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

bool AxisValid(const BeamDesign& d, int axis) {
    const BeamAxis& a = d.Axis(axis);
    return a.selection.Count() == 3 && a.valuesDefined && !a.resultInvalid;
}

std::vector<int> DrawnAxes(const BeamDesign& d) {
    std::vector<int> out;
    for (int axis = 0; axis < d.AxisCount(); ++axis) {
        if (AxisValid(d, axis)) out.push_back(axis);
    }
    return out;
}

AxialRange ChoiceRange(const BeamDesign& d, int axis) {
    const AxialRange automatic = beam::BeamDrawingRange(d, axis);
    const BeamAxis& a = d.Axis(axis);
    const double set = d.extrasOptions.drgScale;
    const double distance = std::isfinite(set) && set > 0.0 ? set : automatic.max - automatic.min;
    const double p = Finite(a.extras[beam::kExP]);
    const double pp = Finite(a.extras[beam::kExPImage]);
    const double focal = std::fabs(Finite(a.table[beam::kGbFocal]));
    AxialRange r = automatic;
    switch (d.extrasOptions.drgScaleType) {
        case 1:
            r = {0.0, distance};
            break;
        case 2: {
            const double centre = p + (pp - p) / 2.0;
            r = {centre - distance, centre + distance};
            break;
        }
        case 3: {
            const double waist = Finite(a.extras[beam::kExImageWaist]);
            r = {waist - distance, waist};
            break;
        }
        case 4:
        case 5:
        case 6: {
            const double k = d.extrasOptions.drgScaleType - 2;
            r = {p - k * focal, pp + k * focal};
            break;
        }
        default:
            break;
    }
    // Without a focal length (or with principal planes crossed by more than the multiple) the
    // chosen range is empty: the picture then keeps the automatic one.
    if (!std::isfinite(r.min) || !std::isfinite(r.max) || !(r.min < r.max)) return automatic;
    return r;
}

AxisData Gather(const BeamDesign& d, int axis) {
    const BeamAxis& a = d.Axis(axis);
    const auto t = [&](int i) { return Finite(a.table[static_cast<std::size_t>(i)]); };
    const auto x = [&](int i) { return Finite(a.extras[static_cast<std::size_t>(i)]); };
    AxisData g;
    g.axis = axis;
    g.focal = t(beam::kGbFocal);
    g.s = t(beam::kGbObjDist);
    g.sImg = t(beam::kGbImgDist);
    g.r = std::fabs(t(beam::kGbObjRadius));
    g.zr = std::fabs(t(beam::kGbObjRayleigh));
    g.rImg = std::fabs(t(beam::kGbImgRadius));
    g.zrImg = std::fabs(t(beam::kGbImgRayleigh));
    g.m = Finite(beam::MFactor(d, axis));
    if (!(g.m >= 1.0)) g.m = 1.0;
    g.p = x(beam::kExP);
    g.pp = x(beam::kExPImage);
    g.front = x(beam::kExF);
    g.rear = x(beam::kExFImage);
    g.imageWaist = x(beam::kExImageWaist);
    g.detector = x(beam::kExDetector);
    g.radiusAtElement = std::fabs(x(beam::kExRadiusAtElement));
    g.radiusAtDetector = std::fabs(x(beam::kExRadiusAtDetector));
    g.airy = std::fabs(x(beam::kExAiry));
    g.detectorOn = d.extrasOptions.detectorOn;
    return g;
}

std::array<ScaleRect, 2> AreasFor(BeamLayout layout, const ScaleRect& a) {
    switch (layout) {
        case BeamLayout::SideBySide: {
            const double half = a.width / 2.0;
            return {ScaleRect{a.left, a.top, half, a.height},
                    ScaleRect{a.left + half, a.top, a.width - half, a.height}};
        }
        case BeamLayout::Stacked: {
            const double half = a.height / 2.0;
            return {ScaleRect{a.left, a.top, a.width, half},
                    ScaleRect{a.left, a.top + half, a.width, a.height - half}};
        }
        case BeamLayout::Single:
            break;
    }
    return {a, a};
}

std::optional<BeamAxisFrame> MakeFrame(const ScaleRect& area, const AxialRange& range,
                                       double halfHeight, double textHeight) {
    const double left = area.left, right = area.left + area.width;
    const double top = area.top, bottom = area.top + area.height;
    // The header (axis name, wavelength) has a row of its own: the element's arrow and the beam,
    // which reach the frame's top, never run into it.
    const double header = std::max(kMargin, std::ceil(textHeight) + kHeaderGap);
    const auto main = MakeDrawingScale(
        NarrowToFloat(left + kMargin), NarrowToFloat(right - kMargin), NarrowToFloat(top + header),
        NarrowToFloat(bottom - kMargin - kBottomBand), NarrowToFloat(range.min),
        NarrowToFloat(range.max), NarrowToFloat(-halfHeight), NarrowToFloat(halfHeight));
    if (!main) return std::nullopt;
    BeamAxisFrame frame;
    frame.defined = true;
    frame.area = area;
    frame.header = header;
    frame.main.scale = *main;
    // Square where the width allows; taller than wide where a square could not hold the texts,
    // but never more than the lower half of the area below the axis labels.
    const double most = 0.5 * area.height - 30.0;
    const double k = std::min(kInsetShare * (right - (left + kMargin)), most);
    const double kh = std::min(std::max(k, InsetTextRoom(textHeight)), most);
    // Wide enough for a value row where the area has room for two such insets.
    const double kw =
        std::max(k, std::min(kInsetTextWidth * textHeight, 0.5 * area.width - 3 * kMargin));
    frame.insets = k > 0.0 && std::isfinite(k) && std::isfinite(kh);
    if (frame.insets) {
        const ClipRect world{-kInsetWorld, kInsetWorld, -kInsetWorld, kInsetWorld};
        // Alike, each within the margin on its side: the image inset's frame must not end on
        // the edge of the area, where the surface's own border would hide it.
        const auto object =
            MakeDrawingScale(NarrowToFloat(left + kMargin), NarrowToFloat(left + 2 * kMargin + kw),
                             NarrowToFloat(bottom - kh), NarrowToFloat(bottom), -kInsetWorld,
                             kInsetWorld, -kInsetWorld, kInsetWorld);
        const auto image = MakeDrawingScale(NarrowToFloat(right - 2 * kMargin - kw),
                                            NarrowToFloat(right - kMargin),
                                            NarrowToFloat(bottom - kh), NarrowToFloat(bottom),
                                            -kInsetWorld, kInsetWorld, -kInsetWorld, kInsetWorld);
        if (!object || !image) return std::nullopt;
        frame.objectInset = {*object, world};
        frame.imageInset = {*image, world};
    }
    return frame;
}

double InsetTextRoom(double textHeight) {
    // Title, two value rows and the paddings, and a beam at least three lines high.
    return 6.0 * textHeight + 18.0;
}

void RegisterTouch(BeamTouchPoints& t, const DrawingScale& s, const AxisData& a) {
    const auto X = [&](double x) { return TouchPixel(s.WorldToScreenX(NarrowToFloat(x))); };
    const auto Y = [&](double y) { return TouchPixel(s.WorldToScreenY(NarrowToFloat(y))); };
    t.registered = true;
    t.scale = s;
    t.axisY = Y(0.0);
    t.objectRadiusY = Y(a.m * a.r);
    t.belowAxisY = TouchPixel(t.axisY + kBelowAxisRow);
    t.elementRadiusY = Y(a.m * a.radiusAtElement);
    t.imageRadiusY = Y(a.m * a.rImg);
    t.markY = TouchPixel(t.axisY + kMarkRow);
    t.airyY = Y(a.airy);
    t.objectWaistX = X(0.0);
    t.objectRayleighX = X(a.zr);
    t.frontFocusX = X(a.front);
    t.principalX = X(a.p);
    t.secondPrincipalX = X(a.pp);
    t.rearFocusX = X(a.rear);
    t.imageWaistX = X(a.imageWaist);
    t.imageRayleighX = X(a.imageWaist - a.zrImg);
    t.detectorX = X(a.detector);
}

}  // namespace beam_picture

std::string_view BeamScaleChoiceText(int choice) {
    if (choice < 0 || choice >= kBeamScaleChoiceCount) return {};
    return kScaleChoiceTexts[static_cast<std::size_t>(choice)];
}

BeamLayout BeamLayoutFor(const BeamDesign& design, const ScaleRect& area) {
    if (!design.diode.diodeMode) return BeamLayout::Single;
    const double aspect = area.width / area.height;
    if (!std::isfinite(aspect)) return BeamLayout::Single;
    if (aspect > kSideBySideAspect) return BeamLayout::SideBySide;
    if (aspect < kStackedAspect) return BeamLayout::Stacked;
    return BeamLayout::Single;
}

AxialRange BeamXRange(const BeamDesign& design) {
    const std::vector<int> axes = DrawnAxes(design);
    if (axes.empty()) return ChoiceRange(design, 0);
    AxialRange r = ChoiceRange(design, axes.front());
    for (int axis : axes) {
        const AxialRange one = ChoiceRange(design, axis);
        r.min = std::min(r.min, one.min);
        r.max = std::max(r.max, one.max);
    }
    return r;
}

}  // namespace rs::drawing
