#include "drawing/beam_drawing.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "engine/numbers.h"
#include "text/vb_format.h"

namespace rs::drawing {

namespace {

using beam::AxialRange;
using beam::BeamAxis;
using beam::BeamDesign;
using engine::NarrowToFloat;

constexpr std::array<std::string_view, kBeamScaleChoiceCount> kScaleChoiceTexts = {
    "Automatisch",
    "Fester Abstand von der Objektgröße",
    "Fester Abstand ± Linsenposition",
    "Fester Abstand von der Bildgröße",
    "2-fache Schnittweite ",
    "3-fache Schnittweite",
    "4-fache Schnittweite",
};

// Diode layouts by the aspect width/height of the surface.
constexpr double kSideBySideAspect = 1.1;
constexpr double kStackedAspect = 0.9;

// Pixel layout of one axis's picture: a margin on every side, and below the main frame a band
// that, with the lower half of the frame, holds the axis labels and the insets.
constexpr double kMargin = 15.0;
constexpr double kBottomBand = 30.0;
constexpr double kInsetShare = 0.333;  // of the width, for each inset
constexpr float kInsetWorld = 5.0f;    // insets span ±5 along both directions

// Marks along the axis (pixels).
constexpr float kTick = 4.0f;         // tick below the axis
constexpr double kLabelGap = 6.0;     // axis to the first label row
constexpr double kRowGap = 2.0;       // between label rows
constexpr float kArrowAlong = 3.0f;   // element arrowheads, along the axis
constexpr float kArrowAcross = 5.0f;  // element arrowheads, across the axis
constexpr float kDetectorMinHeight = 15.0f;
constexpr double kDetectorOverBeam = 1.3;  // detector bar height over the beam radius there
constexpr int kLabelRows = 2;

// Insets: the beam from −2 to +2 Rayleigh lengths around its waist.
constexpr double kInsetReach = 2.0;     // Rayleigh lengths each way
constexpr double kInsetHalfX = 4.4;     // world x of ±kInsetReach
constexpr double kInsetPadding = 3.0;   // pixels between the frame and its texts
constexpr float kWaistArrow = 3.0f;     // pixels
constexpr double kSampleLength = 14.0;  // line sample before a legend text (pixels)

// Touch rows below the axis (pixels).
constexpr float kBelowAxisRow = 14.0f;
constexpr float kMarkRow = 20.0f;

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

// A touch coordinate within the range the surface accepts; a fault reads as 0.
float TouchPixel(float v) {
    if (std::isnan(v)) return 0.0f;
    return std::clamp(v, -kLabelPixelLimit, kLabelPixelLimit);
}

bool AxisValid(const BeamDesign& d, int axis) {
    const BeamAxis& a = d.Axis(axis);
    return a.selection.Count() == 3 && a.valuesDefined && !a.resultInvalid;
}

// The axes that are drawn: axis 0 when it has a solution, axis 1 besides in diode mode.
std::vector<int> DrawnAxes(const BeamDesign& d) {
    std::vector<int> out;
    for (int axis = 0; axis < d.AxisCount(); ++axis) {
        if (AxisValid(d, axis)) out.push_back(axis);
    }
    return out;
}

// The range of one axis under the chosen scale.
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

// What one axis's picture needs from its solution, every figure finite.
struct AxisData {
    int axis = 0;
    double focal = 0, s = 0, sImg = 0;
    double r = 0, zr = 0, rImg = 0, zrImg = 0;  // waist radii as magnitudes
    double m = 1;                               // M, the factor of the real beam's radii
    double p = 0, pp = 0, front = 0, rear = 0, imageWaist = 0, detector = 0;
    double radiusAtElement = 0, radiusAtDetector = 0, airy = 0;
    bool detectorOn = false;
};

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

// One envelope piece: point i lies at x0 + direction·z with the radius of the waist at the
// distance z = z0 + i·step.
struct Segment {
    double x0 = 0.0;
    double direction = 1.0;
    double z0 = 0.0;
    double step = 0.0;
    double waist = 0.0;
    bool objectSide = true;
    bool virtualPart = false;   // where the beam only seems to come from or go to
    bool continuation = false;  // the real beam on the far side of a virtual waist
    bool beyondWaist = false;   // the real beam behind a real image waist, without a detector
};

// The envelope pieces of one axis between the picture's ends xLeft and xRight: from the object
// waist to the element and from the element to the image waist, and beyond the image waist up
// to a detector behind it (without one, to the picture's end). A waist on the far side of the
// element is virtual: the piece between it and the element is dotted, and the real beam is drawn
// from the element to the picture's end on its side, so a diverging element shows the beam it sends
// on.
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

struct EnvelopePoint {
    double x = 0.0;
    double w = 0.0;
};

std::array<EnvelopePoint, kEnvelopeSamples> Sample(const Segment& seg, double wavelengthMm) {
    std::array<EnvelopePoint, kEnvelopeSamples> pts;
    for (int i = 0; i < kEnvelopeSamples; ++i) {
        const double z = seg.z0 + i * seg.step;
        pts[static_cast<std::size_t>(i)] = {Finite(seg.x0 + seg.direction * z),
                                            beam::BeamRadiusAtDistance(seg.waist, z, wavelengthMm)};
    }
    return pts;
}

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

// "0.8 mm", "794.2 mm", "12.5 µm": lengths as the insets print them.
std::string LengthText(double mm) {
    const double a = std::fabs(mm);
    if (a >= 1e5) return text::Format(mm, "0.0#e+0") + " mm";
    if (a >= 10.0) return text::Format(mm, "0.0") + " mm";
    if (a >= 1.0) return text::Format(mm, "0.0#") + " mm";
    if (a >= 0.1) return text::Format(mm, "0.0##") + " mm";
    const double um = mm * 1000.0;
    if (std::fabs(um) >= 1.0) return text::Format(um, "0.0#") + " µm";
    if (std::fabs(um) >= 0.01 || um == 0.0) return text::Format(um, "0.0##") + " µm";
    return text::Format(um, "0.0#e+0") + " µm";
}

std::string MSquaredText(double m) {
    return text::Format(m * m, "0.0#");
}

// Everything of one axis that is drawn onto its frames.
struct AxisPicture {
    AxisData data;
    const BeamAxisFrame* frame = nullptr;
    bool shared = false;              // both diode axes in one area
    const AxisData* first = nullptr;  // axis 0, when this is axis 1 drawn into its area
};

// Draws through the primitives and remembers the first fault; after it nothing more is drawn.
// Every text goes through the label placer, which refuses a text that would overlap one printed
// before.
class Painter {
public:
    Painter(Surface& surface, const BeamDesign& design, const BeamDrawingOptions& options)
        : surface_(surface), d_(design), o_(options), labels_(surface) {}

    bool ok() const { return ok_; }

    void Line(const DrawingFrame& f, double x1, double y1, double x2, double y2, const Pen& pen) {
        if (ok_) {
            ok_ = DrawLine(surface_, f, NarrowToFloat(x1), NarrowToFloat(y1), NarrowToFloat(x2),
                           NarrowToFloat(y2), pen);
        }
    }

    void Curve(const DrawingFrame& f, std::span<const WorldPoint> points, const Pen& pen) {
        if (ok_) ok_ = DrawPolyline(surface_, f, points, pen);
    }

    void Box(const DrawingFrame& f, double x1, double y1, double x2, double y2) {
        if (ok_) {
            ok_ = DrawBox(surface_, f, NarrowToFloat(x1), NarrowToFloat(y1), NarrowToFloat(x2),
                          NarrowToFloat(y2), kBlack, false);
        }
    }

    TextExtent Measure(std::string_view text) const { return surface_.MeasureText(text); }

    // Prints the text with its top-left corner at the first of the pixel points where it lies
    // inside `bounds` and overlaps no text printed before; true when printed.
    bool Label(std::span<const PixelPoint> at, std::string_view text, Colour colour,
               const PixelBox& bounds) {
        if (!ok_) return false;
        const LabelOutcome outcome = labels_.Place({text, colour, bounds, at});
        ok_ = outcome != LabelOutcome::Fault;
        return outcome == LabelOutcome::Placed;
    }
    bool Label(double px, double py, std::string_view text, Colour colour, const PixelBox& bounds) {
        const PixelPoint at{px, py};
        return Label({&at, 1}, text, colour, bounds);
    }

    const BeamDesign& design() const { return d_; }
    const BeamDrawingOptions& options() const { return o_; }

private:
    Surface& surface_;
    const BeamDesign& d_;
    const BeamDrawingOptions& o_;
    LabelPlacer labels_;
    bool ok_ = true;
};

PixelBox AreaBox(const ScaleRect& a) {
    return {a.left, a.top, a.left + a.width, a.top + a.height};
}

// --- Main picture ----------------------------------------------------------------------------

// A labelled point on the axis, in order of importance.
struct Mark {
    double x = 0.0;
    std::string text;
    Colour colour = kBlack;
};

class MainPicture {
public:
    MainPicture(Painter& painter, const AxisPicture& ap)
        : p_(painter), a_(ap.data), f_(ap.frame->main), area_(ap.frame->area), ap_(ap) {}

    void Axis() {
        if (ap_.first) return;  // axis 0 drew it
        p_.Line(f_, f_.scale.worldXMin, 0.0, f_.scale.worldXMax, 0.0, {});
    }

    // The title of the picture (the axis in diode mode) and the wavelength with M².
    void Header() {
        const double top = area_.top + 1.0;
        double x = area_.left + kMargin;
        const PixelBox bounds = AreaBox(area_);
        const BeamDesign& d = p_.design();
        if (ap_.shared) {
            if (ap_.first) return;
            // Which line belongs to which axis: a sample of each line style with its name.
            for (int axis = 0; axis < 2; ++axis) {
                const double th = p_.Measure(AxisName(axis)).height;
                const double y = top + std::round(th / 2.0);
                LineSample(x, y, axis == 0 ? LineStyle::Solid : LineStyle::Dotted);
                x += kSampleLength + 4.0;
                if (p_.Label(x, top, AxisName(axis), kBlack, bounds)) {
                    x += p_.Measure(AxisName(axis)).width + 12.0;
                }
            }
        } else if (d.diode.diodeMode) {
            p_.Label(x, top, AxisName(a_.axis), kBlack, bounds);
        }
        if (ap_.first) return;
        std::string info = "λ = " + text::Format(d.WavelengthNm(), "0.0##") + " nm";
        const double m0 = a_.m;
        const double m1 = ap_.shared ? Gather(d, 1).m : 1.0;
        if (m0 > 1.0 || m1 > 1.0) {
            info += "   M² = " + MSquaredText(m0);
            if (ap_.shared) info += " [" + MSquaredText(m1) + "]";
        }
        const double w = p_.Measure(info).width;
        p_.Label(area_.left + area_.width - kMargin - w, top, info, kBlack, bounds);
    }

    void Marks() {
        const Pen pen = AxisPen(kBlack);
        // The element: a bar at P up to the beam radius there, arrowheads outwards on a
        // converging element and inwards on a diverging one; a thin bar at P' when the
        // principal planes are apart.
        const double top =
            a_.m * a_.radiusAtElement > 0.0 ? a_.m * a_.radiusAtElement : f_.scale.worldYMax;
        const bool apart = Apart(a_);
        p_.Line(f_, a_.p, 0.0, a_.p, top, {kBlack, pen.style, 2});
        if (apart) p_.Line(f_, a_.pp, 0.0, a_.pp, top, pen);
        const double along = Dx(kArrowAlong);
        const double head = a_.focal >= 0.0 ? -Dy(kArrowAcross) : Dy(kArrowAcross);
        for (double x : apart ? std::vector{a_.p, a_.pp} : std::vector{a_.p}) {
            p_.Line(f_, x, top, x - along, top + head, pen);
            p_.Line(f_, x, top, x + along, top + head, pen);
        }
        // The waists: a line from the axis to the real beam's radius.
        const Colour object = kRed, image = kBlue;
        p_.Line(f_, 0.0, 0.0, 0.0, a_.m * a_.r, AxisPen(object, a_.s < 0.0));
        p_.Line(f_, a_.imageWaist, 0.0, a_.imageWaist, a_.m * a_.rImg,
                AxisPen(image, a_.sImg < 0.0));
        // One Rayleigh length from each waist, towards the element, where it lies in between:
        // the real beam's radius there is √2 times its waist radius.
        if (a_.zr > 0.0 && a_.zr < std::fabs(a_.s)) {
            const double x = a_.s > 0.0 ? a_.zr : -a_.zr;
            p_.Line(f_, x, 0.0, x, std::sqrt(2.0) * a_.m * a_.r, {object, LineStyle::Dotted, 1});
        }
        if (a_.zrImg > 0.0 && a_.zrImg < std::fabs(a_.sImg)) {
            const double x = a_.sImg > 0.0 ? a_.imageWaist - a_.zrImg : a_.imageWaist + a_.zrImg;
            p_.Line(f_, x, 0.0, x, std::sqrt(2.0) * a_.m * a_.rImg, {image, LineStyle::Dotted, 1});
        }
        if (a_.detectorOn) {
            const double h = std::max(kDetectorOverBeam * a_.m * a_.radiusAtDetector,
                                      double{Dy(kDetectorMinHeight)});
            p_.Line(f_, a_.detector, 0.0, a_.detector, h, {kMagenta, pen.style, 2});
        }

        const std::vector<Mark> others = ap_.first ? MarksOf(*ap_.first) : std::vector<Mark>{};
        for (const Mark& m : MarksOf(a_)) {
            p_.Line(f_, m.x, 0.0, m.x, -Dy(kTick), {m.colour});
            // The second axis's point where the first has the same one is labelled already.
            const bool same = std::any_of(others.begin(), others.end(), [&](const Mark& o) {
                return o.text == m.text && std::fabs(Px(o.x) - Px(m.x)) < 1.0f;
            });
            if (!same) Place(m);
        }
    }

    void Envelopes() {
        const BeamDesign& d = p_.design();
        const double lambda = d.WavelengthMm();
        const bool print = p_.options().printing;
        for (const Segment& seg : Segments(a_, f_.clip.xMin, f_.clip.xMax)) {
            const auto pts = Sample(seg, lambda);
            const Colour base = seg.objectSide ? kRed : kBlue;
            const Colour mColour = seg.objectSide ? (print ? kObjectBeamMPrint : kObjectBeamMScreen)
                                                  : (print ? kImageBeamMPrint : kImageBeamMScreen);
            Polyline(pts, 1.0, AxisPen(base, seg.virtualPart));
            if (a_.m > 1.0) Polyline(pts, a_.m, AxisPen(mColour, seg.virtualPart));
        }
    }

private:
    float Px(double x) const { return f_.scale.WorldToScreenX(NarrowToFloat(x)); }

    // P' is drawn and labelled where it stands apart from P.
    bool Apart(const AxisData& a) const { return std::fabs(Px(a.pp) - Px(a.p)) >= 1.0f; }

    // The labelled points of an axis, most important first.
    std::vector<Mark> MarksOf(const AxisData& a) const {
        const auto& sym = p_.design().symbols;
        std::vector<Mark> marks = {
            {a.p, sym.Extra(beam::kExP), kBlack},
            {a.imageWaist, sym.Param(beam::kGbImgRadius), kBlue},
            {0.0, sym.Param(beam::kGbObjRadius), kRed},
        };
        if (a.detectorOn) marks.push_back({a.detector, sym.Extra(beam::kExDetector), kMagenta});
        marks.push_back({a.rear, sym.Extra(beam::kExFImage), kBlack});
        marks.push_back({a.front, sym.Extra(beam::kExF), kBlack});
        if (Apart(a)) marks.push_back({a.pp, sym.Extra(beam::kExPImage), kBlack});
        return marks;
    }
    float Dx(float px) const { return f_.scale.ScreenToWorldDX(px); }
    float Dy(float py) const { return f_.scale.ScreenToWorldDY(py); }

    // The second diode axis in the shared area is told apart by its dotted lines, as is the
    // virtual part of a beam.
    Pen AxisPen(Colour colour, bool isVirtual = false) const {
        return {colour, VirtualStyle(isVirtual || ap_.first != nullptr), 1};
    }

    static std::string AxisName(int axis) { return axis == 0 ? "Achse 1" : "Achse 2"; }

    // A short line in the header row, above the frame's clip.
    void LineSample(double x, double y, LineStyle style) {
        const DrawingScale& s = f_.scale;
        const DrawingFrame header{
            s, MakeClipRect(s, NarrowToFloat(area_.top), NarrowToFloat(area_.top + kMargin), true,
                            NarrowToFloat(area_.left), NarrowToFloat(area_.left + area_.width))};
        p_.Line(header, s.ScreenToWorldX(NarrowToFloat(x)), s.ScreenToWorldY(NarrowToFloat(y)),
                s.ScreenToWorldX(NarrowToFloat(x + kSampleLength)),
                s.ScreenToWorldY(NarrowToFloat(y)), {kBlack, style, 1});
    }

    void Polyline(const std::array<EnvelopePoint, kEnvelopeSamples>& pts, double factor,
                  const Pen& pen) {
        std::array<WorldPoint, kEnvelopeSamples> world;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            world[i] = {NarrowToFloat(pts[i].x), NarrowToFloat(factor * pts[i].w)};
        }
        p_.Curve(f_, world, pen);
    }

    // A mark's label centred below its tick, in the first row where it overlaps no other
    // text; dropped when no row has room. Marks of the second diode axis in a shared area
    // carry the axis number, and are left out where the first axis has the same point.
    void Place(const Mark& m) {
        if (!PointInRect(f_.clip, m.x, 0.0)) return;
        std::string text = m.text;
        if (ap_.first) text += "[2]";
        const TextExtent e = p_.Measure(text);
        const double axis = f_.scale.WorldToScreenY(0.0f);
        const PixelBox bounds = AreaBox(area_);
        const double x = std::clamp(double{Px(m.x)} - e.width / 2.0, bounds.left,
                                    std::max(bounds.left, bounds.right - e.width));
        std::array<PixelPoint, kLabelRows> rows;
        for (int row = 0; row < kLabelRows; ++row) {
            rows[static_cast<std::size_t>(row)] = {x,
                                                   axis + kLabelGap + row * (e.height + kRowGap)};
        }
        p_.Label(rows, text, m.colour, bounds);
    }

    Painter& p_;
    const AxisData& a_;
    const DrawingFrame& f_;
    const ScaleRect& area_;
    const AxisPicture& ap_;
};

// --- Insets ---------------------------------------------------------------------------------

// A waist shown in an inset.
struct InsetWaist {
    double r = 0.0;   // waist radius of the embedded beam (mm)
    double zr = 0.0;  // Rayleigh length (mm)
    double m = 1.0;   // M
    LineStyle style = LineStyle::Solid;
};

bool Showable(const InsetWaist& w) {
    return std::isfinite(w.r) && std::isfinite(w.zr) && std::isfinite(w.m) && w.r > 0.0 &&
           w.zr > 0.0 && w.m >= 1.0 && std::isfinite(w.m * w.r * 10.0);
}

// The beam around one waist: both halves of the envelope over ±2 Rayleigh lengths, the waist
// diameter as a double arrow, dotted marks one Rayleigh length either side (where the radius
// has grown by √2), and the values. With both diode axes in one inset the two beams share one
// scale (x in the larger Rayleigh length, y in the larger radius), so they can be compared.
class InsetPicture {
public:
    InsetPicture(Painter& painter, const DrawingFrame& frame, bool objectSide)
        : p_(painter), f_(frame), objectSide_(objectSide) {}

    void Draw(const std::vector<InsetWaist>& all, bool virtualWaist) {
        const DrawingScale& s = f_.scale;
        const double left = s.WorldToScreenX(-kInsetWorld);
        const double right = s.WorldToScreenX(kInsetWorld) - 1.0;
        const double top = s.WorldToScreenY(kInsetWorld);
        const double bottom = s.WorldToScreenY(-kInsetWorld) - 1.0;
        p_.Box(f_, -kInsetWorld, kInsetWorld, s.ScreenToWorldX(NarrowToFloat(right)),
               s.ScreenToWorldY(NarrowToFloat(bottom)));
        const PixelBox inner{left + 1.0, top + 1.0, right, bottom};

        std::vector<InsetWaist> waists;
        std::copy_if(all.begin(), all.end(), std::back_inserter(waists), Showable);

        // Texts: a title at the top, the values at the bottom. They give way to the beam when
        // the inset is small: first the values, then the title.
        const BeamDesign& d = p_.design();
        const auto& sym = d.symbols;
        std::string title = objectSide_ ? "Objekttaille" : "Bildtaille";
        if (virtualWaist) title += " (virtuell)";
        const int rIndex = objectSide_ ? beam::kGbObjRadius : beam::kGbImgRadius;
        const int zrIndex = objectSide_ ? beam::kGbObjRayleigh : beam::kGbImgRayleigh;
        const bool legend = waists.size() > 1;
        const double sample = legend ? kSampleLength + 4.0 : 0.0;
        std::vector<Row> rows;
        for (const InsetWaist& w : waists) {
            const std::string diameter =
                "2" + sym.Param(rIndex) + " = " + LengthText(2 * w.m * w.r);
            const std::string rayleigh = sym.Param(zrIndex) + " = " + LengthText(w.zr);
            std::string both = diameter;
            both += "   ";
            both += rayleigh;
            const double room = inner.right - inner.left - 2 * kInsetPadding - sample;
            if (p_.Measure(both).width <= room) {
                rows.push_back({both, w.style, legend});
            } else {
                rows.push_back({diameter, w.style, legend});
                rows.push_back({rayleigh, w.style, false});
            }
        }
        const double th = p_.Measure(title).height;
        const double minBeam = std::max(3.0 * th, 0.4 * (inner.bottom - inner.top));
        const auto beamHeight = [&](bool withTitle, std::size_t rowCount) {
            const double used = (withTitle ? th + kInsetPadding : 0.0) +
                                static_cast<double>(rowCount) * (th + 1.0) + 3 * kInsetPadding;
            return inner.bottom - inner.top - used;
        };
        bool withTitle = true;
        if (beamHeight(true, rows.size()) < minBeam) rows.clear();
        if (beamHeight(true, 0) < minBeam) withTitle = false;

        const Colour colour = objectSide_ ? kRed : kBlue;
        if (withTitle) {
            p_.Label(inner.left + kInsetPadding, inner.top + kInsetPadding, title, colour, inner);
        }
        double y = inner.bottom - kInsetPadding - static_cast<double>(rows.size()) * (th + 1.0);
        for (const Row& row : rows) {
            double x = inner.left + kInsetPadding;
            if (row.sample) SampleLine(x, y + std::round(th / 2.0), row.style, colour);
            if (legend) x += sample;
            p_.Label(x, y, row.text, colour, inner);
            y += th + 1.0;
        }
        if (waists.empty()) return;

        // The beam's band in pixels, then as world coordinates of the inset.
        const double bandTop = inner.top + (withTitle ? th + 2 * kInsetPadding : kInsetPadding);
        const double bandBottom = inner.bottom - kInsetPadding -
                                  static_cast<double>(rows.size()) * (th + 1.0) -
                                  (rows.empty() ? 0.0 : kInsetPadding);
        const double centreY = s.ScreenToWorldY(NarrowToFloat((bandTop + bandBottom) / 2.0));
        const double halfY = 0.95 * s.ScreenToWorldDY(NarrowToFloat((bandBottom - bandTop) / 2.0));

        double zUnit = 0.0, largest = 0.0;
        for (const InsetWaist& w : waists) zUnit = std::max(zUnit, w.zr);
        for (const InsetWaist& w : waists) {
            largest = std::max(largest, w.m * w.r * std::hypot(1.0, kInsetReach * zUnit / w.zr));
        }
        if (!(largest > 0.0) || !std::isfinite(largest)) return;
        const auto X = [&](double z) { return z / zUnit * (kInsetHalfX / kInsetReach); };
        const auto Y = [&](double w) { return centreY + w / largest * halfY; };

        p_.Line(f_, -kInsetWorld, centreY, kInsetWorld, centreY, {kBlack, LineStyle::Dotted, 1});
        const bool print = p_.options().printing;
        const Colour mColour = objectSide_ ? (print ? kObjectBeamMPrint : kObjectBeamMScreen)
                                           : (print ? kImageBeamMPrint : kImageBeamMScreen);
        for (const InsetWaist& w : waists) {
            Hyperbola(w, 1.0, zUnit, {colour, w.style, 1}, X, Y);
            if (w.m > 1.0) Hyperbola(w, w.m, zUnit, {mColour, w.style, 1}, X, Y);
            const double rz = std::sqrt(2.0) * w.m * w.r;
            for (double side : {-1.0, 1.0}) {
                p_.Line(f_, X(side * w.zr), Y(-rz), X(side * w.zr), Y(rz),
                        {kBlack, LineStyle::Dotted, 1});
            }
            WaistArrow(Y(-w.m * w.r), Y(w.m * w.r), w.style);
        }
    }

private:
    struct Row {
        std::string text;
        LineStyle style = LineStyle::Solid;
        bool sample = false;  // a line sample before the text tells the axes apart
    };

    // Upper and lower half of the envelope over ±2 Rayleigh lengths of the larger beam.
    template <typename FX, typename FY>
    void Hyperbola(const InsetWaist& w, double factor, double zUnit, const Pen& pen, const FX& X,
                   const FY& Y) {
        constexpr double kPieces = kEnvelopeSamples - 1;
        const double reach = kInsetReach * zUnit;
        std::array<EnvelopePoint, kEnvelopeSamples> pts;
        for (int i = 0; i < kEnvelopeSamples; ++i) {
            const double z = -reach + 2.0 * reach * i / kPieces;
            pts[static_cast<std::size_t>(i)] = {X(z), factor * w.r * std::hypot(1.0, z / w.zr)};
        }
        for (double side : {-1.0, 1.0}) {
            std::array<WorldPoint, kEnvelopeSamples> world;
            for (std::size_t i = 0; i < pts.size(); ++i) {
                world[i] = {NarrowToFloat(pts[i].x), NarrowToFloat(Y(side * pts[i].w))};
            }
            p_.Curve(f_, world, pen);
        }
    }

    // The waist diameter: a vertical double arrow between the two halves of the real beam.
    void WaistArrow(double yLow, double yHigh, LineStyle style) {
        const Pen pen{kBlack, style, 1};
        p_.Line(f_, 0.0, yLow, 0.0, yHigh, pen);
        const double dx = f_.scale.ScreenToWorldDX(kWaistArrow);
        const double dy = f_.scale.ScreenToWorldDY(kWaistArrow + 1.0f);
        // Heads only where the arrow is long enough to carry them.
        if (yHigh - yLow < 3.0 * dy) return;
        p_.Line(f_, 0.0, yHigh, -dx, yHigh - dy, pen);
        p_.Line(f_, 0.0, yHigh, dx, yHigh - dy, pen);
        p_.Line(f_, 0.0, yLow, -dx, yLow + dy, pen);
        p_.Line(f_, 0.0, yLow, dx, yLow + dy, pen);
    }

    void SampleLine(double x, double y, LineStyle style, Colour colour) {
        const DrawingScale& s = f_.scale;
        p_.Line(f_, s.ScreenToWorldX(NarrowToFloat(x)), s.ScreenToWorldY(NarrowToFloat(y)),
                s.ScreenToWorldX(NarrowToFloat(x + kSampleLength)),
                s.ScreenToWorldY(NarrowToFloat(y)), {colour, style, 1});
    }

    Painter& p_;
    const DrawingFrame& f_;
    bool objectSide_;
};

// --- Frames ---------------------------------------------------------------------------------

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

// The main scale and the insets of one area; nothing when a scale cannot be made.
std::optional<BeamAxisFrame> MakeFrame(const ScaleRect& area, const AxialRange& range,
                                       double halfHeight) {
    const double left = area.left, right = area.left + area.width;
    const double top = area.top, bottom = area.top + area.height;
    const auto main = MakeDrawingScale(
        NarrowToFloat(left + kMargin), NarrowToFloat(right - kMargin), NarrowToFloat(top + kMargin),
        NarrowToFloat(bottom - kMargin - kBottomBand), NarrowToFloat(range.min),
        NarrowToFloat(range.max), NarrowToFloat(-halfHeight), NarrowToFloat(halfHeight));
    if (!main) return std::nullopt;
    BeamAxisFrame frame;
    frame.defined = true;
    frame.area = area;
    frame.main.scale = *main;
    const double k = std::min(kInsetShare * (right - (left + kMargin)), 0.5 * area.height - 30.0);
    frame.insets = k > 0.0 && std::isfinite(k);
    if (frame.insets) {
        const ClipRect world{-kInsetWorld, kInsetWorld, -kInsetWorld, kInsetWorld};
        // Alike, each within the margin on its side: the image inset's frame must not end on
        // the edge of the area, where the surface's own border would hide it.
        const auto object =
            MakeDrawingScale(NarrowToFloat(left + kMargin), NarrowToFloat(left + 2 * kMargin + k),
                             NarrowToFloat(bottom - k), NarrowToFloat(bottom), -kInsetWorld,
                             kInsetWorld, -kInsetWorld, kInsetWorld);
        const auto image =
            MakeDrawingScale(NarrowToFloat(right - 2 * kMargin - k), NarrowToFloat(right - kMargin),
                             NarrowToFloat(bottom - k), NarrowToFloat(bottom), -kInsetWorld,
                             kInsetWorld, -kInsetWorld, kInsetWorld);
        if (!object || !image) return std::nullopt;
        frame.objectInset = {*object, world};
        frame.imageInset = {*image, world};
    }
    return frame;
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

}  // namespace

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

RedrawOutcome RedrawBeam(Surface& surface, const BeamDesign& design,
                         const BeamDrawingOptions& options, BeamDrawingMemory& memory) {
    surface.Clear();
    if (!design.beamMode || !AxisValid(design, 0)) {
        // Nothing drawn, nothing to grab; a drag under way keeps what it grabbed.
        if (!options.dragging) memory.touch.registered = false;
        return RedrawOutcome::NotSolved;
    }
    const std::vector<int> axes = DrawnAxes(design);
    std::vector<AxisData> data;
    data.reserve(axes.size());
    for (int axis : axes) data.push_back(Gather(design, axis));

    // Frames: made anew outside a drag; frozen during one (those never made are made now).
    const ScaleRect whole = surface.Scale();
    const bool frozen = options.dragging && memory.axes[0].defined;
    if (!frozen) memory.layout = BeamLayoutFor(design, whole);
    const std::array<ScaleRect, 2> areas = AreasFor(memory.layout, whole);
    const bool shared = memory.layout == BeamLayout::Single && axes.size() > 1;
    if (!options.dragging) {
        const AxialRange range = BeamXRange(design);
        // The beam's radius at the element fills the upper half; behind a diverging element
        // the real beam grows beyond it and widens the frame to stay in sight. Beyond a real
        // image waist the beam may widen the frame up to twice that radius (a collimated beam
        // that leaves the element at its waist stays in sight; a strongly diverging one is
        // clipped rather than squeezing the rest of the picture).
        const double lambda = design.WavelengthMm();
        double half = 0.0;
        for (const AxisData& a : data) {
            const double atElement = a.m * a.radiusAtElement;
            const double beyond =
                std::min(LargestDrawnRadius(a, range, lambda, Pieces::BeyondWaist), 2 * atElement);
            half = std::max({half, atElement, beyond,
                             LargestDrawnRadius(a, range, lambda, Pieces::Continuations)});
        }
        if (!(half > 0.0) || !std::isfinite(half)) {
            half = 0.0;
            for (const AxisData& a : data) {
                half = std::max(half, LargestDrawnRadius(a, range, lambda, Pieces::All));
            }
        }
        memory.axes = {};
        for (const AxisData& a : data) {
            const auto frame = MakeFrame(areas[static_cast<std::size_t>(a.axis)], range, half);
            if (!frame) return RedrawOutcome::Stopped;
            memory.axes[static_cast<std::size_t>(a.axis)] = *frame;
        }
    } else {
        for (const AxisData& a : data) {
            BeamAxisFrame& frame = memory.axes[static_cast<std::size_t>(a.axis)];
            if (frame.defined) continue;
            // Made once, from its own range and beam, until the drag ends.
            const auto made = MakeFrame(areas[static_cast<std::size_t>(a.axis)],
                                        ChoiceRange(design, a.axis), a.m * a.radiusAtElement);
            if (!made) return RedrawOutcome::Stopped;
            frame = *made;
        }
    }

    Painter painter(surface, design, options);
    for (const AxisData& a : data) {
        BeamAxisFrame& frame = memory.axes[static_cast<std::size_t>(a.axis)];
        const ScaleRect& area = frame.area;
        // Lines stay below the header row. While dragging a feature may be pulled beyond the
        // frozen range: the clip then spans the whole width of the axis's area (the surface's,
        // but for the other axis's half when the two stand side by side).
        frame.main.clip =
            MakeClipRect(frame.main.scale, NarrowToFloat(area.top + kMargin),
                         NarrowToFloat(area.top + area.height), options.dragging,
                         NarrowToFloat(area.left), NarrowToFloat(area.left + area.width));
        if (!options.dragging && a.axis == 0) RegisterTouch(memory.touch, frame.main.scale, a);

        const AxisPicture ap{a, &frame, shared, shared && a.axis == 1 ? &data.front() : nullptr};
        MainPicture main(painter, ap);
        main.Axis();
        main.Header();
        main.Marks();
        main.Envelopes();
        if (!frame.insets || ap.first) continue;
        // A shared area shows both axes' waists in one pair of insets.
        std::vector<InsetWaist> objectWaists, imageWaists;
        for (const AxisData& b : data) {
            if (!shared && b.axis != a.axis) continue;
            const LineStyle style = b.axis == 1 && shared ? LineStyle::Dotted : LineStyle::Solid;
            objectWaists.push_back({b.r, b.zr, b.m, style});
            imageWaists.push_back({b.rImg, b.zrImg, b.m, style});
        }
        InsetPicture(painter, frame.objectInset, true).Draw(objectWaists, a.s < 0.0);
        InsetPicture(painter, frame.imageInset, false).Draw(imageWaists, a.sImg < 0.0);
    }
    return painter.ok() ? RedrawOutcome::Drawn : RedrawOutcome::Stopped;
}

}  // namespace rs::drawing
