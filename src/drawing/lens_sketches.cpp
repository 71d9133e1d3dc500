#include "drawing/lens_sketches.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "analysis/lens_ideas.h"
#include "drawing/drawing_scale.h"
#include "drawing/lens_trace.h"
#include "engine/numbers.h"
#include "text/tr.h"

namespace rs::drawing {
namespace {

using engine::NarrowToFloat;
using sketch_optics::DrawnSag;
using sketch_optics::kAir;
using sketch_optics::Path;
using sketch_optics::Point;
using sketch_optics::Prescription;
using sketch_optics::Ray;
using sketch_optics::Role;
using sketch_optics::Surf;
using sketch_optics::System;

constexpr Colour kGlassOutline = 0x8B0000;  // dark blue
constexpr Colour kAxialRays = kRed;
constexpr Colour kFieldRays = kBlue;

// Sizes in the pictures: a stop's bars and a mirror's substrate, both as a share of their
// semi-diameter.
constexpr double kStopBar = 0.4;
constexpr double kMirrorBacking = 0.06;

struct Stroke {
    std::vector<WorldPoint> points;
    Pen pen;
};

struct Sketch {
    std::vector<Stroke> strokes;
    std::optional<Point> focusMark;
};

WorldPoint W(double x, double y) {
    return {NarrowToFloat(x), NarrowToFloat(y)};
}

// The surface from height y0 to y1 as drawn, a sphere sampled by angle (so a hemisphere keeps
// its round rim), anything else by height.
void AppendArc(std::vector<WorldPoint>& out, const Surf& s, double y0, double y1,
               double shift = 0.0) {
    constexpr int kSamples = 40;
    const bool sphere = s.c != 0.0 && s.k == 0.0 && s.a4 == 0.0;
    for (int i = 0; i <= kSamples; ++i) {
        const double f = static_cast<double>(i) / kSamples;
        double y = y0 + (y1 - y0) * f;
        if (sphere) {
            const double r = 1.0 / std::fabs(s.c);
            const double a0 = std::asin(std::clamp(y0 / r, -1.0, 1.0));
            const double a1 = std::asin(std::clamp(y1 / r, -1.0, 1.0));
            y = r * std::sin(a0 + (a1 - a0) * f);
        }
        out.push_back(W(s.x + DrawnSag(s, y) + shift, y));
    }
}

// A lens element between two refracting surfaces: both faces, a flat where one face is
// smaller, and the cylindrical rim.
Stroke Element(const Surf& front, const Surf& rear) {
    const double rim = std::max(front.semi, rear.semi);
    const double frontEdge = front.x + DrawnSag(front, front.semi);
    const double rearEdge = rear.x + DrawnSag(rear, rear.semi);
    Stroke e{{}, {kGlassOutline, LineStyle::Solid, 1}};
    AppendArc(e.points, front, front.semi, -front.semi);
    e.points.push_back(W(frontEdge, -rim));
    e.points.push_back(W(rearEdge, -rim));
    AppendArc(e.points, rear, -rear.semi, rear.semi);
    e.points.push_back(W(rearEdge, rim));
    e.points.push_back(W(frontEdge, rim));
    e.points.push_back(e.points.front());
    return e;
}

// A mirror between heights y0 < y1 on one side of the axis, with its substrate behind it.
Stroke MirrorPiece(const Surf& s, double y0, double y1) {
    const double backing = s.back * std::max(kMirrorBacking * s.semi, 0.8);
    Stroke m{{}, {kGlassOutline, LineStyle::Solid, 1}};
    AppendArc(m.points, s, y0, y1);
    AppendArc(m.points, s, y1, y0, backing);
    m.points.push_back(m.points.front());
    return m;
}

void AddSystem(Sketch& sketch, const System& sys, const Prescription& p) {
    const std::vector<Surf>& s = sys.surfs;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i].role == Role::Mirror) {
            if (s[i].hole > 0.0) {
                sketch.strokes.push_back(MirrorPiece(s[i], s[i].hole, s[i].semi));
                sketch.strokes.push_back(MirrorPiece(s[i], -s[i].semi, -s[i].hole));
            } else {
                sketch.strokes.push_back(MirrorPiece(s[i], -s[i].semi, s[i].semi));
            }
        } else if (s[i].role == Role::Stop) {
            const double bar = std::max(kStopBar * s[i].semi, 1.0);
            const Pen pen{kBlack, LineStyle::Solid, 3};
            sketch.strokes.push_back({{W(s[i].x, s[i].semi), W(s[i].x, s[i].semi + bar)}, pen});
            sketch.strokes.push_back({{W(s[i].x, -s[i].semi), W(s[i].x, -s[i].semi - bar)}, pen});
        } else if (s[i].nAfter != kAir && i + 1 < s.size()) {
            sketch.strokes.push_back(Element(s[i], s[i + 1]));
        }
    }
    if (p.focalSurface) {
        Surf f;
        f.x = p.focalSurface->x;
        f.c = 1.0 / p.focalSurface->radius;
        Stroke film{{}, {kBlack, LineStyle::Solid, 1}};
        AppendArc(film.points, f, -p.focalSurface->semi, p.focalSurface->semi);
        sketch.strokes.push_back(film);
    }
}

void AddBundle(Sketch& sketch, const System& sys, const Prescription& p,
               const std::vector<Path>& paths, Colour colour) {
    const auto focus = sketch_optics::Focus(paths);
    // The rays set out from one wavefront, a plane across the bundle before its first hit.
    double front = 0.0;
    for (const Path& path : paths) {
        const Point first = path.hits.front();
        const double along = first.x * path.in.dx + first.y * path.in.dy;
        if (&path == &paths.front() || along < front) front = along;
    }
    for (const Path& path : paths) {
        Stroke r{{}, {colour, LineStyle::Solid, 1}};
        const Point first = path.hits.front();
        const double back = p.lead + first.x * path.in.dx + first.y * path.in.dy - front;
        r.points.push_back(W(first.x - back * path.in.dx, first.y - back * path.in.dy));
        for (std::size_t i = 0; i < path.hits.size(); ++i) {
            const Surf& s = sys.surfs[i];
            // On a plate the ray meets the profile as drawn.
            const double y = path.hits[i].y;
            const double x = s.drawn != 1.0 ? s.x + DrawnSag(s, y) : path.hits[i].x;
            r.points.push_back(W(x, y));
        }
        const Ray& o = path.out;
        // Without a focus (a bundle leaving parallel) the rays run on for the lead's length;
        // a focus on or before the last surface ends them there.
        double run = p.lead;
        if (focus) run = std::max(0.0, (focus->x - o.x) * o.dx + (focus->y - o.y) * o.dy);
        r.points.push_back(W(o.x + run * o.dx, o.y + run * o.dy));
        sketch.strokes.push_back(std::move(r));
    }
}

Sketch MakeSketch(const Prescription& p, SketchKind kind) {
    System sys = sketch_optics::Place(p);
    // The rays are traced for the lens picture too: they size its elements.
    const std::vector<Path> axial = sketch_optics::TraceBundle(sys, 0.0, p.axialFan);
    std::vector<Path> field;
    if (p.fieldAngle != 0.0) field = sketch_optics::TraceBundle(sys, p.fieldAngle, p.fieldFan);
    sketch_optics::FitRims(sys, {axial, field});
    Sketch sketch;
    AddSystem(sketch, sys, p);
    if (kind == SketchKind::Rays) {
        AddBundle(sketch, sys, p, axial, kAxialRays);
        AddBundle(sketch, sys, p, field, kFieldRays);
    }
    if (p.markFocus) sketch.focusMark = sketch_optics::ParaxialFocus(sys);
    return sketch;
}

std::string Caption(const analysis::LensClass& type) {
    std::string caption;
    for (const std::string& german : type.names) {
        const std::string name = text::Tr(german);
        const auto first = name.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        if (!caption.empty()) caption += " / ";
        caption += name.substr(first);
    }
    return caption;
}

// Below this many pixels a picture would be a smudge.
constexpr double kSmallestPicture = 24.0;
constexpr double kCaptionGap = 3.0;
constexpr double kFocusDot = 2.5;

// The world rectangle of everything drawn, with a little room around it, and whether it has
// any width at all.
struct SketchBounds {
    DrawingExtents extents;
    bool hasWidth = false;
};

SketchBounds Bounds(const Sketch& sketch) {
    double xMin = 1e30, xMax = -1e30, yMin = 0.0, yMax = 0.0;
    const auto include = [&](double x, double y) {
        xMin = std::min(xMin, x);
        xMax = std::max(xMax, x);
        yMin = std::min(yMin, y);
        yMax = std::max(yMax, y);
    };
    for (const Stroke& s : sketch.strokes) {
        for (const WorldPoint& w : s.points) include(w.x, w.y);
    }
    if (sketch.focusMark) include(sketch.focusMark->x, sketch.focusMark->y);
    const double padX = 0.03 * (xMax - xMin), padY = 0.04 * (yMax - yMin);
    return {{NarrowToFloat(xMax + padX), NarrowToFloat(xMin - padX), NarrowToFloat(yMax + padY),
             NarrowToFloat(yMin - padY), true},
            xMax > xMin};
}

// The axis, the strokes and the focus mark, until a primitive meets a floating-point fault.
void Paint(Surface& surface, const DrawingFrame& frame, const DrawingExtents& extents,
           const Sketch& sketch) {
    bool ok = DrawLine(surface, frame, extents.xMin, 0.0f, extents.xMax, 0.0f,
                       {kBlack, LineStyle::Dotted, 1});
    for (const Stroke& s : sketch.strokes) {
        if (!ok) break;
        ok = DrawPolyline(surface, frame, s.points, s.pen);
    }
    if (ok && sketch.focusMark) {
        const double fx =
            std::round(frame.scale.WorldToScreenX(NarrowToFloat(sketch.focusMark->x)));
        const double fy =
            std::round(frame.scale.WorldToScreenY(NarrowToFloat(sketch.focusMark->y)));
        if (std::isfinite(fx) && std::isfinite(fy)) {
            surface.Circle(fx, fy, kFocusDot, kBlack, true);
            (void)DrawLabelAt(surface, fx - 4, fy + kFocusDot + 1, "F", kBlack);
        }
    }
}

}  // namespace

void DrawLensTypeSketch(Surface& surface, bool mirror, int index, SketchKind kind) {
    surface.Clear();
    const std::vector<analysis::LensClass>& types = analysis::LensClasses(mirror);
    const std::vector<Prescription>& systems = sketch_optics::Prescriptions(mirror);
    if (index < 0 || index >= static_cast<int>(types.size()) ||
        index >= static_cast<int>(systems.size())) {
        return;
    }
    const ScaleRect area = surface.Scale();
    if (!(area.width > 0.0) || !(area.height > 0.0)) return;

    const std::string caption = Caption(types[static_cast<std::size_t>(index)]);
    const TextExtent text = surface.MeasureText(caption);
    const bool captionFits =
        text.width + 2 * kCaptionGap <= area.width && text.height + 2 * kCaptionGap <= area.height;
    ScaleRect pictureArea = area;
    if (captionFits) pictureArea.height -= text.height + kCaptionGap;

    const Sketch drawn = MakeSketch(systems[static_cast<std::size_t>(index)], kind);
    const SketchBounds bounds = Bounds(drawn);
    const bool roomy = bounds.hasWidth && pictureArea.width - 2 * kFitMargin >= kSmallestPicture &&
                       pictureArea.height - 2 * kFitMargin >= kSmallestPicture;
    const auto frame = roomy ? FitEqualScale(pictureArea, bounds.extents, false) : std::nullopt;
    if (frame) Paint(surface, *frame, bounds.extents, drawn);
    if (captionFits) {
        (void)DrawLabelAt(surface, area.left + kCaptionGap,
                          area.top + area.height - text.height - kCaptionGap, caption, kBlack);
    }
}

}  // namespace rs::drawing
