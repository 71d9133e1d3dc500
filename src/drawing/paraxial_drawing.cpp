#include "drawing/paraxial_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/lens_outline.h"
#include "engine/catalogue.h"
#include "engine/numbers.h"
#include "engine/solver.h"
#include "engine/var_type.h"
#include "text/tr.h"

namespace rs::drawing {

namespace {

using engine::ParaxialDesign;

// Conjugate labels as the picture shows them.
constexpr std::string_view kObjectText = "o";
constexpr const char* kObjectInfinityText = text::TrNoop("o [unendlich]");
constexpr const char* kObjectRemoteText = text::TrNoop("o [entfernt]");
constexpr std::string_view kImageText = "o'";
constexpr const char* kImageInfinityText = text::TrNoop("o [unendlich]");
constexpr const char* kImageRemoteText = text::TrNoop("o' [entfernt]");

// A conjugate counts as remote when it is more than this many times farther from the element
// than the other one.
constexpr float kRemoteRatio = 10.0f;

// Pixel sizes of the marks.
constexpr float kArrowAlong = 3.0f;   // lens arrowheads, along the axis
constexpr float kMirrorAlong = 8.0f;  // mirror decoration, along the axis
constexpr float kMarkAcross = 4.0f;   // both, across the axis
constexpr float kTickHalf = 2.0f;     // focal and nodal ticks are 4 pixels high
constexpr float kNodalLabelGap = 10.0f;
// A held lens's outline: dark blue, apart from the black planes and rays.
constexpr float kHiddenLabelGap = 10.0f;
// Labels stand beside what they name, never on it.
constexpr double kAxisGap = 2.0;  // between the axis (or an arrow's tip) and a label
constexpr double kLineGap = 3.0;  // between a vertical line and a label beside it
// A hidden conjugate's label looks this many half text heights up and down the edge for room.
constexpr int kEdgeSteps = 12;
// A focal or nodal point's label looks this many half text heights farther from the axis.
constexpr int kTickSteps = 4;

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
    if (o.lens && !c.mirror) {
        // The glass of a held lens stays in the picture.
        const double first = FirstVertexX(*o.lens, d.cardinal[engine::kP]);
        include(static_cast<float>(first));
        include(static_cast<float>(first + o.lens->thickness));
        for (const analysis::PlacedSurface& surface : o.lens->surfaces) {
            yMax = std::max(yMax, static_cast<float>(surface.semiDiameter));
        }
    }
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
        : surface_(surface),
          frame_(frame),
          d_(design),
          o_(options),
          c_(c),
          s_(s),
          labels_(surface) {
        const ScaleRect area = surface.Scale();
        bounds_ = {area.left, area.top, area.left + area.width, area.top + area.height};
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

    // Every line in one colour, for a design drawn behind another.
    void Tint(Colour colour) { tint_ = colour; }

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
        objectArrow_ = Line(c_.a, 0.0f, c_.a, c_.u, {kBlack, VirtualStyle(c_.virtObj), 1});
        imageArrow_ = Line(ix_, 0.0f, ix_, iy_, {kBlack, VirtualStyle(c_.virtImg), 1});
    }

    void Element() {
        // A tinted element is behind the picture: it must not blank out what lies under it.
        if (!tint_) Box(p_, s_, pp_, -s_);
        plane_ = Line(p_, s_, p_, -s_, {kBlack, LineStyle::Solid, 2});
        const float x = pp_;
        const float up = Dy(kMarkAcross);
        if (c_.mirror) {
            secondPlane_ = Line(x, s_, x, -s_, {kBlack, LineStyle::Solid, 2});
            // The ends bend towards the focal point: a concave mirror (f' < 0) opens towards
            // the incoming light, a convex one away from it.
            const float along = Dx(kMirrorAlong) * (c_.fp < 0.0f ? -1.0f : 1.0f);
            Line(x, s_, x + along, s_ + up, {});
            Line(x, -s_, x + along, -s_ - up, {});
        } else {
            secondPlane_ = Line(x, s_, x, -s_, {});
            // Heads point outwards on a converging lens and inwards on a diverging one.
            const float along = Dx(kArrowAlong);
            const float head = c_.fp > 0.0f ? -up : up;
            for (float side : {1.0f, -1.0f}) {
                const float tip = side * s_;
                Line(x, tip, x - along, tip + side * head, {});
                Line(x, tip, x + along, tip + side * head, {});
            }
        }
    }

    // A held catalogue lens: its surfaces at their vertices, to scale, around the planes.
    void Lens() {
        if (!o_.lens || c_.mirror) return;
        for (const OutlinePath& path : LensOutline(*o_.lens, FirstVertexX(*o_.lens, p_))) {
            for (std::size_t k = 1; k < path.size() && ok_; ++k) {
                Line(static_cast<float>(path[k - 1].x), static_cast<float>(path[k - 1].y),
                     static_cast<float>(path[k].x), static_cast<float>(path[k].y),
                     {kLensOutlineColour});
            }
        }
    }

    void Points() {
        const auto& cp = d_.cardinal;
        ticks_[0] = Tick(cp[engine::kF], kBlue);
        ticks_[1] = Tick(cp[engine::kFImage], kBlue);
        // Nodal points differ from the principal points only between different media.
        if (!NodalPointsShown()) return;
        ticks_[2] = Tick(cp[engine::kN], kMagenta);
        ticks_[3] = Tick(cp[engine::kNImage], kMagenta);
    }

    // Every label, once every line is drawn, so each can find a place that leaves the lines
    // visible: the conjugates first, then the principal points, then the focal and nodal points.
    void Labels() {
        const std::string objText = c_.objAtInfinity ? text::Tr(kObjectInfinityText)
                                    : c_.objHidden   ? text::Tr(kObjectRemoteText)
                                                     : std::string(kObjectText);
        const std::string imgText = c_.imgAtInfinity ? text::Tr(kImageInfinityText)
                                    : c_.imgHidden   ? text::Tr(kImageRemoteText)
                                                     : std::string(kImageText);
        ConjugateLabel(objText, c_.a, c_.u, p_, c_.objHidden, c_.imgHidden, true, objectArrow_);
        ConjugateLabel(imgText, ix_, iy_, pp_, c_.imgHidden, c_.objHidden, c_.mirror, imageArrow_);

        const auto& sym = d_.symbols;
        if (!o_.drawPoints) {
            // Behind the element first: a mirror has no rays there.
            LineLabel(sym.Cardinal(engine::kP), p_, false, plane_);
            return;
        }
        // The pair stands apart, each on its own side, as the planes do.
        const bool swapped = c_.hh < 0.0f;
        LineLabel(sym.Cardinal(engine::kP), p_, !swapped, plane_);
        LineLabel(sym.Cardinal(engine::kPImage), pp_, swapped, secondPlane_);

        const auto& cp = d_.cardinal;
        const double axis = Py(0.0f);
        const double below = axis + kTickHalf + 1.0;
        // In a mirror F and F' coincide, as do N and N'.
        const int pair = c_.mirror ? 1 : 0;
        TickLabel(sym.Cardinal(engine::kF), cp[engine::kF], below, -pair, ticks_[0]);
        TickLabel(sym.Cardinal(engine::kFImage), cp[engine::kFImage], below, pair, ticks_[1]);
        if (!NodalPointsShown()) return;
        const double above = axis - kNodalLabelGap - Measure("N").height;
        TickLabel(sym.Cardinal(engine::kN), cp[engine::kN], above, -pair, ticks_[2]);
        TickLabel(sym.Cardinal(engine::kNImage), cp[engine::kNImage], above, pair, ticks_[3]);
    }

private:
    float Px(float x) const { return frame_.scale.WorldToScreenX(x); }
    float Py(float y) const { return frame_.scale.WorldToScreenY(y); }
    float Dx(float px) const { return frame_.scale.ScreenToWorldDX(px); }
    float Dy(float py) const { return frame_.scale.ScreenToWorldDY(py); }
    TextExtent Measure(std::string_view text) const { return surface_.MeasureText(text); }

    // Draws a clipped line; where it is visible the labels leave it free.
    std::optional<PixelSegment> Line(float x1, float y1, float x2, float y2, const Pen& pen) {
        if (!ok_) return std::nullopt;
        Pen drawnPen = pen;
        if (tint_) drawnPen.colour = *tint_;
        const DrawnLine drawn = DrawTracedLine(surface_, frame_, x1, y1, x2, y2, drawnPen);
        ok_ = drawn.ok;
        if (!drawn.visible) return std::nullopt;
        labels_.KeepClear(drawn.a, drawn.b);
        return PixelSegment{drawn.a, drawn.b};
    }
    void Box(float x1, float y1, float x2, float y2) {
        if (ok_) ok_ = DrawBox(surface_, frame_, x1, y1, x2, y2, kWhite, true);
    }
    // Prints at the best of the candidate places (top-left corners): every label of this
    // picture is printed, over a line only where no candidate has room.
    void Label(std::span<const PixelPoint> at, std::string_view text,
               const std::optional<PixelSegment>& named) {
        if (!ok_) return;
        const std::span<const PixelSegment> lines =
            named ? std::span<const PixelSegment>(&*named, 1) : std::span<const PixelSegment>();
        ok_ = labels_.Place({text, kBlack, bounds_, at, lines, true}) != LabelOutcome::Fault;
    }

    bool NodalPointsShown() const { return d_.options.ObjectIndex() != d_.options.ImageIndex(); }

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

    std::optional<PixelSegment> Tick(float x, Colour colour) {
        return Line(x, Dy(kTickHalf), x, -Dy(kTickHalf), {colour});
    }

    // The label of a vertical line through the axis at x (a principal plane): beside it, just
    // below or above the axis, on the left first or on the right first; then beyond its ends.
    void LineLabel(std::string_view text, float x, bool leftFirst,
                   const std::optional<PixelSegment>& line) {
        const TextExtent e = Measure(text);
        const double px = Px(x), axis = Py(0.0f);
        const double left = px - kLineGap - e.width, right = px + kLineGap;
        const double first = leftFirst ? left : right, second = leftFirst ? right : left;
        const double below = axis + kAxisGap, above = axis - kAxisGap - e.height;
        const PixelPoint at[] = {{first, below},
                                 {second, below},
                                 {first, above},
                                 {second, above},
                                 {px - e.width / 2.0, Py(-s_) + kAxisGap},
                                 {px - e.width / 2.0, Py(s_) - kAxisGap - e.height}};
        Label(at, text, line);
    }

    // The label of a tick on the axis, centred on it at row `py` (or, for a pair of points
    // that can coincide, moved left (pair < 0) by 0.75 or right by 0.7 of its width); then on
    // the other side of the axis, then beside the tick; then, where rays crowd around a focus,
    // farther from the axis, a half text height at a time.
    void TickLabel(std::string_view text, float x, double py, int pair,
                   const std::optional<PixelSegment>& tick) {
        const TextExtent e = Measure(text);
        const double px = Px(x), axis = Py(0.0f);
        const double shift = pair < 0 ? -0.75 * e.width : (pair > 0 ? 0.7 * e.width : 0.0);
        const double centred = px - e.width / 2.0 + shift;
        const double other = py > axis ? axis - kTickHalf - 1.0 - e.height : axis + kTickHalf + 1.0;
        std::vector<PixelPoint> at;
        for (int k = 0; k <= kTickSteps; ++k) {
            const double away = k * e.height / 2.0;
            const double first = py > axis ? py + away : py - away;
            const double second = other > axis ? other + away : other - away;
            for (const double row : {first, second}) {
                at.push_back({centred, row});
                at.push_back({px + kLineGap, row});
                at.push_back({px - kLineGap - e.width, row});
            }
        }
        Label(at, text, tick);
    }

    // The label of a conjugate arrow at (x, tip). `leftwards`: a hidden conjugate's label
    // belongs at the left edge (the object, and a mirror's image).
    void ConjugateLabel(std::string_view text, float x, float tip, float element, bool hidden,
                        bool otherHidden, bool leftwards,
                        const std::optional<PixelSegment>& arrow) {
        const TextExtent ext = Measure(text);
        const double tw = ext.width, th = ext.height;
        const DrawingScale& sc = frame_.scale;
        const double ax = Px(x), axis = Py(0.0f), ty = Py(tip);
        std::vector<PixelPoint> at;
        if (hidden) {
            // At the edge of the picture, at the height of the tip (or at the top when the tip
            // is out of range), moving up and down the edge to leave the rays visible.
            const double left = Px(sc.worldXMin), right = Px(sc.worldXMax);
            double px = 0.0;
            if (leftwards) {
                px = std::max(ax - kHiddenLabelGap, left);
            } else {
                px = std::min(ax, right);
                if (px + tw > right) px -= tw + kHiddenLabelGap;
            }
            const bool tipInside = tip >= sc.worldYMin && tip <= sc.worldYMax;
            const double py = tipInside ? ty : Py(sc.worldYMax);
            at.push_back({px, py});
            for (int k = 1; k <= kEdgeSteps; ++k) {
                at.push_back({px, py + k * th / 2.0});
                at.push_back({px, py - k * th / 2.0});
            }
            Label(at, text, arrow);
            return;
        }
        // Centred on the arrow on the other side of the axis; beyond the tip; beside the tip,
        // on the side facing the element, then on the outer one.
        const double across = tip > 0.0f ? axis + kAxisGap : axis - kAxisGap - th;
        const double beyond = tip > 0.0f ? ty - kAxisGap - th : ty + kAxisGap;
        const double besideY = tip > 0.0f ? ty : ty - th;
        const double inner = x < element ? ax + kLineGap : ax - kLineGap - tw;
        const double outer = x < element ? ax - kLineGap - tw : ax + kLineGap;
        if (otherHidden) {
            // This conjugate ends the picture, so the outer side has no room.
            at = {{inner, besideY}, {ax - tw / 2.0, across}, {ax - tw / 2.0, beyond}};
        } else {
            at = {{ax - tw / 2.0, across}, {ax - tw / 2.0, beyond}, {inner, besideY},
                  {outer, besideY},        {inner, across},         {outer, across}};
        }
        Label(at, text, arrow);
    }

    Surface& surface_;
    const DrawingFrame& frame_;
    const ParaxialDesign& d_;
    const ParaxialDrawingOptions& o_;
    const Conditions& c_;
    const float s_;
    LabelPlacer labels_;
    PixelBox bounds_;
    float p_ = 0.0f, pp_ = 0.0f;   // P and P'
    float ix_ = 0.0f, iy_ = 0.0f;  // the image point as drawn
    // Where the named lines went, for their labels.
    std::optional<PixelSegment> objectArrow_, imageArrow_, plane_, secondPlane_;
    std::array<std::optional<PixelSegment>, 4> ticks_;  // F, F', N, N'
    std::optional<Colour> tint_;
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

    if (options.reference && Solved(*options.reference)) {
        // The reference goes first, so the picture is drawn over it; a fault in it stops only
        // the reference.
        const ParaxialDesign& ref = *options.reference;
        const Conditions rc = Derive(ref, options);
        Picture behind(surface, *frame, ref, options, rc, SizeReference(rc, options, extents));
        behind.Tint(kReferenceGrey);
        if (options.constructionRays) {
            behind.ConstructionRays();
        } else {
            behind.Fans();
        }
        behind.Arrows();
        behind.Element();
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
    picture.Lens();
    if (options.drawPoints) picture.Points();
    picture.Labels();
    return picture.ok() ? RedrawOutcome::Drawn : RedrawOutcome::Stopped;
}

}  // namespace rs::drawing
