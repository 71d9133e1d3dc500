#include "drawing/paraxial_drawing.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "engine/catalogue.h"
#include "engine/numbers.h"
#include "engine/solver.h"
#include "engine/var_type.h"

namespace rs::drawing {

namespace {

using engine::ParaxialDesign;

// Conjugate labels as the picture shows them.
constexpr std::string_view kObjectText = "o";
constexpr std::string_view kObjectInfinityText = "o [unendlich]";
constexpr std::string_view kObjectRemoteText = "o [entfernt]";
constexpr std::string_view kImageText = "o'";
constexpr std::string_view kImageInfinityText = "o [unendlich]";
constexpr std::string_view kImageRemoteText = "o' [entfernt]";

// A conjugate counts as remote when it is more than this many times farther from the element
// than the other one.
constexpr float kRemoteRatio = 10.0f;

// Pixel sizes of the marks.
constexpr float kArrowAlong = 3.0f;   // lens arrowheads, along the axis
constexpr float kMirrorAlong = 8.0f;  // mirror decoration, along the axis
constexpr float kMarkAcross = 4.0f;   // both, across the axis
constexpr float kTickHalf = 2.0f;     // focal and nodal ticks are 4 pixels high
constexpr float kNodalLabelGap = 10.0f;
constexpr float kHiddenLabelGap = 10.0f;
constexpr float kBesideArrowGap = 2.0f;

// What one redraw derives from the solution before it draws anything.
struct Conditions {
    float a = 0, ap = 0, u = 0, up = 0, wp = 0, fp = 0, r = 0;
    float hh = 0;  // principal-plane separation
    bool mirror = false;
    bool apertureDefined = false;
    bool objAtInfinity = false, objHidden = false;
    bool imgAtInfinity = false, imgHidden = false;
    bool virtObj = false, virtImg = false;
};

Conditions Derive(const ParaxialDesign& d, const ParaxialDrawingOptions& o) {
    const engine::ParamTable& t = d.paramTable;
    Conditions c;
    c.a = t.Get(engine::kObjDist);
    c.ap = t.Get(engine::kImgDist);
    c.u = t.Get(engine::kObjHeight);
    c.up = t.Get(engine::kImgHeight);
    c.wp = t.Get(engine::kImgAngle);
    c.fp = t.Get(engine::kFocal);
    c.r = d.apertureTable.Get(engine::kStopRadius);
    c.hh = static_cast<float>(d.options.PrincipalPlaneSeparation());
    c.mirror = d.options.mirrorMode;
    c.apertureDefined = !d.bApertureUndefined;
    // Remoteness is compared in double so that ten times a large distance cannot overflow.
    const double absA = std::fabs(double{c.a}), absAp = std::fabs(double{c.ap});
    c.objAtInfinity = c.a == engine::kInfinity || d.options.objAtInfinity;
    c.objHidden = c.objAtInfinity || (o.hideRemoteConjugates && absA > kRemoteRatio * absAp);
    c.imgAtInfinity = engine::ObjectInFrontFocalPlane(d) || c.ap == engine::kInfinity;
    c.imgHidden = c.imgAtInfinity || (o.hideRemoteConjugates && absAp > kRemoteRatio * absA);
    c.virtObj = engine::IsVirtualObject(d);
    c.virtImg = engine::IsVirtualImage(d);
    return c;
}

float Sign(float v) {
    return v > 0.0f ? 1.0f : (v < 0.0f ? -1.0f : 0.0f);
}

DrawingExtents Extents(const ParaxialDesign& d, const ParaxialDrawingOptions& o,
                       const Conditions& c) {
    float xMin = 1.0e30f, xMax = -1.0e30f;
    auto include = [&](float x) {
        xMin = std::min(xMin, x);
        xMax = std::max(xMax, x);
    };
    if (c.objHidden) {
        xMin = -std::fabs(c.ap);
    } else {
        include(c.a);
        include(0.0f);
    }
    include(c.hh);
    if (!c.imgHidden) {
        include(c.hh + c.ap);
    } else {
        // Room on the image side as far out as the object lies on its side.
        const bool ahead = c.mirror ? c.virtObj : !c.virtObj;
        include(ahead ? c.hh - c.a : c.hh + c.a);
    }
    for (float p : d.cardinal) include(p);
    const float r = std::fabs(c.r);
    if (c.apertureDefined) {
        if (xMin == 0.0f) xMin = -r;
        if (c.mirror) {
            if (xMax == 0.0f) xMax = r;
        } else if (xMax == c.hh) {
            xMax += r;
        }
    }
    float yMax = 0.0f;
    if (!c.objHidden) yMax = std::max(yMax, std::fabs(c.u));
    if (c.apertureDefined) yMax = std::max(yMax, r);
    if (!c.imgHidden) yMax = std::max(yMax, std::fabs(c.up));
    if (c.apertureDefined) {
        if (c.objHidden) {
            yMax = std::max(yMax, r * 1.2f + std::fabs(c.up));
        } else if (c.imgHidden) {
            yMax = std::max(yMax, r + std::fabs(c.u));
        }
    }
    if (yMax == 0.0f) yMax = std::fabs(xMin - xMax) * 0.1f;
    // The focal ray of a diverging element or a virtual object leaves the arrows' height.
    if (o.constructionRays && (c.fp < 0.0f || c.virtObj)) yMax *= 1.1f;
    return {xMax, xMin, yMax, -yMax, true};
}

// Half-height of the element and of the fans.
float SizeReference(const Conditions& c, const ParaxialDrawingOptions& o, const DrawingExtents& e) {
    float s = 0.0f;
    if (!o.constructionRays && c.apertureDefined) {
        s = std::fabs(c.r);
    } else {
        // The larger conjugate height, leaving out a hidden conjugate's. Without an aperture
        // the fans use the same rule, so the element never collapses onto the axis.
        const float au = std::fabs(c.u), aup = std::fabs(c.up);
        if (aup >= au) {
            s = c.imgHidden ? au : aup;
        } else {
            s = c.objHidden ? aup : au;
        }
    }
    if (!(s > 0.0f) || !std::isfinite(s)) s = 0.5f * e.yMax;
    return s;
}

bool Solved(const ParaxialDesign& d) {
    return !d.bCalcInvalid && d.params.Count() == 3 && d.params.AllValuesDefined();
}

// Draws through the primitives and remembers the first fault; after it, nothing more is drawn.
class Picture {
public:
    Picture(Surface& surface, const DrawingFrame& frame, const ParaxialDesign& design,
            const ParaxialDrawingOptions& options, const Conditions& c, float s)
        : surface_(surface), frame_(frame), d_(design), o_(options), c_(c), s_(s) {
        p_ = design.cardinal[engine::kP];
        pp_ = design.cardinal[engine::kPImage];
        if (c.imgAtInfinity) {
            // The rays leave the picture in the direction of the image angle.
            const float side = c.mirror ? -1.0f : 1.0f;
            ix_ = side * std::fabs(c.ap);
            iy_ = side * std::fabs(c.up) * Sign(c.wp);
        } else {
            ix_ = c.hh + c.ap;
            iy_ = c.up;
        }
    }

    bool ok() const { return ok_; }

    void Axis() { Line(frame_.scale.worldXMin, 0.0f, frame_.scale.worldXMax, 0.0f, {}); }

    void Fans() {
        const float heights[] = {0.0f, s_, -s_};
        for (float h : heights) Ray(c_.a, c_.u, p_, h, kBlack, c_.virtObj);
        Ray(c_.a, 0.0f, p_, s_, kRed, c_.virtObj);
        for (float h : heights) Ray(ix_, iy_, pp_, h, kBlack, c_.virtImg);
        // The axial image point shares the image point's position, also when that stands in
        // for an image at infinity.
        Ray(ix_, 0.0f, pp_, s_, kRed, c_.virtImg);
    }

    void ConstructionRays() {
        if (!c_.objHidden) {
            Ray(c_.a, c_.u, p_, c_.u, kRed, c_.virtObj);
            Ray(ix_, iy_, pp_, c_.u, kRed, c_.virtImg);
        }
        // A mirror's nodal points sit at its centre of curvature; its central ray is drawn
        // through the vertex.
        const float n = c_.mirror ? p_ : d_.cardinal[engine::kN];
        const float nn = c_.mirror ? pp_ : d_.cardinal[engine::kNImage];
        Ray(c_.a, c_.u, n, 0.0f, kGreen, c_.virtObj);
        Ray(ix_, iy_, nn, 0.0f, kGreen, c_.virtImg);
        if (!c_.imgHidden) {
            Ray(c_.a, c_.u, p_, c_.up, kBlue, c_.virtObj);
            Ray(ix_, iy_, pp_, c_.up, kBlue, c_.virtImg);
        }
    }

    void Arrows() {
        Line(c_.a, 0.0f, c_.a, c_.u, {kBlack, VirtualStyle(c_.virtObj), 1});
        Line(ix_, 0.0f, ix_, iy_, {kBlack, VirtualStyle(c_.virtImg), 1});
        const std::string_view objText = c_.objAtInfinity ? kObjectInfinityText
                                         : c_.objHidden   ? kObjectRemoteText
                                                          : kObjectText;
        const std::string_view imgText = c_.imgAtInfinity ? kImageInfinityText
                                         : c_.imgHidden   ? kImageRemoteText
                                                          : kImageText;
        ConjugateLabel(objText, c_.a, c_.u, p_, c_.objHidden, c_.imgHidden, true);
        ConjugateLabel(imgText, ix_, iy_, pp_, c_.imgHidden, c_.objHidden, c_.mirror);
    }

    void Element() {
        Box(p_, s_, pp_, -s_);
        Line(p_, s_, p_, -s_, {kBlack, LineStyle::Solid, 2});
        const float x = pp_;
        const float up = Dy(kMarkAcross);
        if (c_.mirror) {
            Line(x, s_, x, -s_, {kBlack, LineStyle::Solid, 2});
            // The ends bend towards the focal point: a concave mirror (f' < 0) opens towards
            // the incoming light, a convex one away from it.
            const float along = Dx(kMirrorAlong) * (c_.fp < 0.0f ? -1.0f : 1.0f);
            Line(x, s_, x + along, s_ + up, {});
            Line(x, -s_, x + along, -s_ - up, {});
        } else {
            Line(x, s_, x, -s_, {});
            // Heads point outwards on a converging lens and inwards on a diverging one.
            const float along = Dx(kArrowAlong);
            const float head = c_.fp > 0.0f ? -up : up;
            for (float side : {1.0f, -1.0f}) {
                const float tip = side * s_;
                Line(x, tip, x - along, tip + side * head, {});
                Line(x, tip, x + along, tip + side * head, {});
            }
        }
        const double axis = Py(0.0f);
        const auto& sym = d_.symbols;
        if (o_.drawPoints) {
            PairLabels(sym.Cardinal(engine::kP), p_, sym.Cardinal(engine::kPImage), pp_, axis,
                       c_.hh < 0.0f);
        } else {
            CentredLabel(sym.Cardinal(engine::kP), p_, axis, 0.0f);
        }
    }

    void Points() {
        const auto& sym = d_.symbols;
        const auto& cp = d_.cardinal;
        const double axis = Py(0.0f);
        Tick(cp[engine::kF], kBlue);
        Tick(cp[engine::kFImage], kBlue);
        // In a mirror F and F' coincide, as do N and N'.
        if (c_.mirror) {
            PairLabels(sym.Cardinal(engine::kF), cp[engine::kF], sym.Cardinal(engine::kFImage),
                       cp[engine::kFImage], axis + kTickHalf, false);
        } else {
            CentredLabel(sym.Cardinal(engine::kF), cp[engine::kF], axis + kTickHalf, 0.0f);
            CentredLabel(sym.Cardinal(engine::kFImage), cp[engine::kFImage], axis + kTickHalf,
                         0.0f);
        }
        // Nodal points differ from the principal points only between different media.
        if (d_.options.ObjectIndex() == d_.options.ImageIndex()) return;
        Tick(cp[engine::kN], kMagenta);
        Tick(cp[engine::kNImage], kMagenta);
        const double above = axis - kNodalLabelGap - Measure("N").height;
        if (c_.mirror) {
            PairLabels(sym.Cardinal(engine::kN), cp[engine::kN], sym.Cardinal(engine::kNImage),
                       cp[engine::kNImage], above, false);
        } else {
            CentredLabel(sym.Cardinal(engine::kN), cp[engine::kN], above, 0.0f);
            CentredLabel(sym.Cardinal(engine::kNImage), cp[engine::kNImage], above, 0.0f);
        }
    }

private:
    float Px(float x) const { return frame_.scale.WorldToScreenX(x); }
    float Py(float y) const { return frame_.scale.WorldToScreenY(y); }
    float Dx(float px) const { return frame_.scale.ScreenToWorldDX(px); }
    float Dy(float py) const { return frame_.scale.ScreenToWorldDY(py); }
    TextExtent Measure(std::string_view text) const { return surface_.MeasureText(text); }

    void Line(float x1, float y1, float x2, float y2, const Pen& pen) {
        if (ok_) ok_ = DrawLine(surface_, frame_, x1, y1, x2, y2, pen);
    }
    void Box(float x1, float y1, float x2, float y2) {
        if (ok_) ok_ = DrawBox(surface_, frame_, x1, y1, x2, y2, kWhite, true);
    }
    void LabelAt(double px, double py, std::string_view text) {
        if (ok_) ok_ = DrawLabelAt(surface_, px, py, text, kBlack);
    }

    // A ray part between a conjugate point and the element. A virtual part is dotted and
    // continued beyond the element, away from the virtual point, by the horizontal length s:
    // the real ray that the dotted part extends.
    void Ray(float vx, float vy, float ex, float ey, Colour colour, bool isVirtual) {
        Line(vx, vy, ex, ey, {colour, VirtualStyle(isVirtual), 1});
        if (!isVirtual || !ok_) return;
        const double run = double{ex} - vx;
        if (run == 0.0) {
            ok_ = false;  // a vertical ray has no slope to continue with: the redraw's fault
            return;
        }
        const double dir = run > 0.0 ? 1.0 : -1.0;
        const double cx = ex + dir * s_;
        const double cy = ey + (double{ey} - vy) / run * dir * s_;
        if (!std::isfinite(cx) || !std::isfinite(cy)) {
            ok_ = false;
            return;
        }
        // Beyond single precision the end lies far outside anyway; clipping takes it as such.
        Line(ex, ey, engine::NarrowToFloat(cx), engine::NarrowToFloat(cy), {colour});
    }

    void Tick(float x, Colour colour) { Line(x, Dy(kTickHalf), x, -Dy(kTickHalf), {colour}); }

    void CentredLabel(std::string_view text, float x, double py, double shift) {
        LabelAt(Px(x) - Measure(text).width / 2.0 + shift, py, text);
    }

    // Two labels of points that can coincide, pushed apart: the left one of the pair moves
    // left by 0.75 of its width, the right one right by 0.7 of its width.
    void PairLabels(std::string_view first, float x1, std::string_view second, float x2, double py,
                    bool secondIsLeft) {
        const double w1 = Measure(first).width;
        const double w2 = Measure(second).width;
        if (secondIsLeft) {
            CentredLabel(first, x1, py, 0.7 * w1);
            CentredLabel(second, x2, py, -0.75 * w2);
        } else {
            CentredLabel(first, x1, py, -0.75 * w1);
            CentredLabel(second, x2, py, 0.7 * w2);
        }
    }

    // The label of a conjugate arrow at (x, tip). `leftwards`: a hidden conjugate's label
    // belongs at the left edge (the object, and a mirror's image).
    void ConjugateLabel(std::string_view text, float x, float tip, float element, bool hidden,
                        bool otherHidden, bool leftwards) {
        const TextExtent ext = Measure(text);
        const double tw = ext.width, th = ext.height;
        const DrawingScale& sc = frame_.scale;
        double px = 0.0, py = 0.0;
        if (hidden) {
            const double left = Px(sc.worldXMin), right = Px(sc.worldXMax);
            if (leftwards) {
                px = std::max(double{Px(x)} - kHiddenLabelGap, left);
            } else {
                px = std::min(double{Px(x)}, right);
                if (px + tw > right) px -= tw + kHiddenLabelGap;
            }
            const bool tipInside = tip >= sc.worldYMin && tip <= sc.worldYMax;
            py = tipInside ? Py(tip) : Py(sc.worldYMax);
        } else if (otherHidden) {
            // Beside the arrow, next to the tip, on the side facing the element: this
            // conjugate ends the picture, so the outer side has no room.
            px = x < element ? Px(x) + kBesideArrowGap : Px(x) - kBesideArrowGap - tw;
            py = tip > 0.0f ? Py(tip) : Py(tip) - th;
        } else {
            // Centred on the arrow, on the other side of the axis.
            px = Px(x) - tw / 2.0;
            py = tip <= 0.0f ? Py(0.0f) - 1.2 * th : Py(0.0f);
        }
        LabelAt(px, py, text);
    }

    Surface& surface_;
    const DrawingFrame& frame_;
    const ParaxialDesign& d_;
    const ParaxialDrawingOptions& o_;
    const Conditions& c_;
    const float s_;
    float p_ = 0.0f, pp_ = 0.0f;   // P and P'
    float ix_ = 0.0f, iy_ = 0.0f;  // the image point as drawn
    bool ok_ = true;
};

}  // namespace

DrawingExtents ComputeParaxialExtents(const ParaxialDesign& design,
                                      const ParaxialDrawingOptions& options) {
    return Extents(design, options, Derive(design, options));
}

RedrawOutcome RedrawParaxial(Surface& surface, const ParaxialDesign& design,
                             const ParaxialDrawingOptions& options, DrawingExtents& extents,
                             ParaxialTouchPoints& touch) {
    surface.Clear();
    if (!Solved(design)) return RedrawOutcome::NotSolved;
    const Conditions c = Derive(design, options);
    if (!options.dragging || !extents.defined) extents = Extents(design, options, c);
    const auto frame = FitEqualScale(surface.Scale(), extents, options.dragging);
    if (!frame) return RedrawOutcome::Stopped;
    const float s = SizeReference(c, options, extents);

    if (!options.dragging) {
        touch.registered = true;
        touch.scale = frame->scale;
        touch.axisY = 0.0f;
        touch.objectTipY = c.u;
        touch.imageTipY = c.up;
        touch.apertureTopY = c.r;
        touch.apertureBottomY = -c.r;
        touch.objectX = c.a;
        touch.frontFocusX = design.cardinal[engine::kF];
        touch.principalX = design.cardinal[engine::kP];
        touch.secondPrincipalX = c.hh;
        touch.rearFocusX = design.cardinal[engine::kFImage];
        touch.imageX = c.hh + c.ap;
    }

    Picture picture(surface, *frame, design, options, c, s);
    picture.Axis();
    if (options.constructionRays) {
        picture.ConstructionRays();
    } else {
        picture.Fans();
    }
    picture.Arrows();
    picture.Element();
    if (options.drawPoints) picture.Points();
    return picture.ok() ? RedrawOutcome::Drawn : RedrawOutcome::Stopped;
}

}  // namespace rs::drawing
