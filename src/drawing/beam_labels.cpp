#include "drawing/beam_labels.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "text/tr.h"
#include "text/vb_format.h"
#include "units/units.h"

namespace rs::drawing::beam_picture {

namespace {

using beam::BeamDesign;
using engine::NarrowToFloat;

// Marks along the axis (pixels).
constexpr float kTick = 4.0f;         // tick below the axis
constexpr double kLabelGap = 6.0;     // axis to the first label row
constexpr double kRowGap = 2.0;       // between label rows
constexpr float kArrowAlong = 3.0f;   // element arrowheads, along the axis
constexpr float kArrowAcross = 5.0f;  // element arrowheads, across the axis
constexpr float kDetectorMinHeight = 15.0f;
constexpr double kDetectorOverBeam = 1.3;  // detector bar height over the beam radius there
constexpr int kLabelRows = 2;
constexpr float kScaleTick = 3.0f;      // length-scale ticks, above the axis (pixels)
constexpr double kLeastTickGap = 60.0;  // pixels between length-scale ticks, at least
constexpr double kMostTicks = 200.0;

// The round step (1, 2 or 5 times a power of ten) at least `least` long.
double RoundStep(double least) {
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double k : {1.0, 2.0, 5.0, 10.0}) {
        if (k * power >= least) return k * power;
    }
    return 10.0 * power;
}

std::string MSquaredText(double m) {
    return text::Format(m * m, "0.0#");
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

    // Ticks above the axis at round steps of the length unit, as distances from the object
    // waist, numbered below the axis where the marks' labels leave room; the last number
    // carries the unit. Read off together with the marks, they give the picture's distances.
    void LengthScale() {
        if (ap_.first) return;  // axis 0 drew it
        const DrawingScale& s = f_.scale;
        const double width = double{s.worldXMax} - s.worldXMin;
        int code = units::ResolveAuto(p_.options().lengthUnit, width);
        if (!units::IsLengthUnit(code)) code = units::kMillimetre;
        const double factor = units::UnitFactorOf(code);  // mm per unit
        const double step = RoundStep(kLeastTickGap / (double{s.scaleX} * factor));
        if (!std::isfinite(step) || !(step > 0.0)) return;
        const double first = std::ceil(s.worldXMin / factor / step);
        const double last = std::floor(s.worldXMax / factor / step);
        if (!(last - first <= kMostTicks)) return;
        // From the right: the rightmost number that finds room carries the unit.
        bool unitPending = true;
        for (double k = last; k >= first; --k) {
            const double x = k * step * factor;
            p_.Line(f_, x, 0.0, x, Dy(kScaleTick), {kBlack});
            const double value = k * step + 0.0;  // + 0.0: no "-0"
            std::string number = text::Format(value, value == std::round(value) ? "0" : "0.###");
            if (unitPending) number += " " + std::string(units::UnitSuffixOf(code));
            if (Place({x, number, kBlack})) unitPending = false;
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

    Pen AxisPen(Colour colour, bool isVirtual = false) const {
        return beam_picture::AxisPen(ap_, colour, isVirtual);
    }

    static std::string AxisName(int axis) {
        return axis == 0 ? text::Tr("Achse 1") : text::Tr("Achse 2");
    }

    // A short line in the header row, above the frame's clip.
    void LineSample(double x, double y, LineStyle style) {
        const DrawingScale& s = f_.scale;
        const DrawingFrame header{
            s,
            MakeClipRect(s, NarrowToFloat(area_.top), NarrowToFloat(area_.top + ap_.frame->header),
                         true, NarrowToFloat(area_.left), NarrowToFloat(area_.left + area_.width))};
        p_.Line(header, s.ScreenToWorldX(NarrowToFloat(x)), s.ScreenToWorldY(NarrowToFloat(y)),
                s.ScreenToWorldX(NarrowToFloat(x + kSampleLength)),
                s.ScreenToWorldY(NarrowToFloat(y)), {kBlack, style, 1});
    }

    // A mark's label centred below its tick, in the first row where it overlaps no other
    // text; dropped when no row has room. Marks of the second diode axis in a shared area
    // carry the axis number, and are left out where the first axis has the same point. True when
    // printed.
    bool Place(const Mark& m) {
        if (!PointInRect(f_.clip, m.x, 0.0)) return false;
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
        return p_.Label(rows, text, m.colour, bounds);
    }

    Painter& p_;
    const AxisData& a_;
    const DrawingFrame& f_;
    const ScaleRect& area_;
    const AxisPicture& ap_;
};

}  // namespace

void DrawAxisAndLabels(Painter& p, const AxisPicture& ap) {
    MainPicture main(p, ap);
    main.Axis();
    main.Header();
    main.Marks();
    main.LengthScale();
}

}  // namespace rs::drawing::beam_picture
