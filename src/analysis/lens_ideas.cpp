#include "analysis/lens_ideas.h"

#include <algorithm>
#include <cmath>

#include "engine/catalogue.h"
#include "engine/continuity.h"
#include "engine/numbers.h"
#include "engine/selection.h"
#include "text/tr.h"
#include "text/vb_format.h"

namespace rs::analysis {
using text::Tr;
using text::TrNoop;
namespace {

constexpr double kRegionPi = 3.141592654;  // the regions' own π, as their outlines were drawn
constexpr int kOutlinePoints = 101;
constexpr double kDegree = engine::kPi / 180.0;

// Click ranges of the plane.
constexpr double kMinAperture = 0.01, kMaxAperture = 1.0;
constexpr double kMinAngle = 0.1, kMaxAngle = 90.0;

LensClass Type(std::vector<std::string> names, std::vector<std::string> shortNames,
               std::vector<PlotPoint> labels, std::array<PlotPoint, 3> region) {
    LensClass c;
    c.names = std::move(names);
    c.shortNames = std::move(shortNames);
    c.labelPositions = std::move(labels);
    c.regionPoints = region;
    return c;
}

std::vector<LensClass> BuildLenses() {
    return {
        Type({TrNoop("Fischauge")}, {TrNoop("Fisch")}, {{0.09, 97}},
             {{{0.052, 92}, {0.15, 80}, {0.085, 60}}}),
        Type({TrNoop("Angulon"), TrNoop("Biogon")}, {}, {{0.06, 80}, {0.06, 65}},
             {{{0.033, 70}, {0.11, 55}, {0.05, 48}}}),
        Type({TrNoop("Retrofokus")}, {TrNoop("Retro")}, {{0.165, 55}},
             {{{0.11, 75}, {0.26, 38}, {0.14, 35}}}),
        Type({TrNoop("Doppel Gauss")}, {TrNoop("D Gauss")}, {{0.22, 22}},
             {{{0.1, 30}, {0.52, 14}, {0.2, 12}}}),
        Type({TrNoop("Triplet")}, {}, {{0.075, 15}}, {{{0.038, 30}, {0.205, 8}, {0.082, 11}}}),
        Type({TrNoop("Landschaftslinse")}, {}, {{0.046, 13}},
             {{{0.028, 16}, {0.068, 8.5}, {0.039, 8}}}),
        Type({TrNoop("Petzval")}, {}, {{0.4, 8.5}}, {{{0.22, 14}, {0.61, 7}, {0.3, 7}}}),
        Type({TrNoop("Mikroskopobjektiv")}, {TrNoop("Mikro")}, {{0.4, 1.5}},
             {{{0.16, 1.7}, {0.92, 0.8}, {0.3, 0.6}}}),
        Type({TrNoop("Achromatisches Dublet")}, {TrNoop("Achromat")}, {{0.08, 0.55}},
             {{{0.06, 0.9}, {0.15, 0.27}, {0.07, 0.3}}}),
        Type({TrNoop("Optical Disk Objektiv")}, {TrNoop("OD Obj")}, {{0.45, 0.5}},
             {{{0.25, 0.5}, {0.9, 0.37}, {0.41, 0.3}}}),
        Type({TrNoop("Halo")}, {}, {{0.2, 0.6}}, {{{0.125, 1.1}, {0.25, 0.2}, {0.105, 0.4}}}),
        Type({TrNoop("Orthometar")}, {}, {{0.07, 40}}, {{{0.04, 45}, {0.11, 28}, {0.055, 26}}}),
        Type({TrNoop("Hemiplanar")}, {}, {{0.07, 5}}, {{{0.04, 10}, {0.105, 2.2}, {0.042, 0.4}}}),
        Type({TrNoop("Tessar")}, {}, {{0.13, 20}}, {{{0.09, 25}, {0.1666, 15}, {0.1, 15}}}),
        Type({TrNoop(" aufgesp. Triplet")}, {}, {{0.21, 13}},
             {{{0.1666, 15}, {0.25, 10}, {0.18, 9}}}),
    };
}

std::vector<LensClass> BuildMirrors() {
    return {
        Type({TrNoop(" Schmidt Cass")}, {}, {{0.18, 5}},
             {{{0.117, 6.35}, {0.28, 3.7}, {0.15, 3.2}}}),
        Type({TrNoop("Schmidt")}, {}, {{0.45, 4}}, {{{0.27, 5.8}, {0.65, 2.2}, {0.33, 2.6}}}),
        Type({TrNoop("Cassegrain"), TrNoop("Ritchey-Chretien")}, {}, {{0.11, 1.0}, {0.08, 1.2}},
             {{{0.05, 1.2}, {0.2, 0.65}, {0.09, 0.6}}}),
        Type({TrNoop("Parabel")}, {}, {{0.045, 0.35}},
             {{{0.025, 0.33}, {0.1, 0.28}, {0.05, 0.21}}}),
    };
}

// The pixel of `value` on one logarithmic axis of `range` from pixel `from` to pixel `to`:
// the share of the range rounded to whole pixels first, so that the sign of `to − from` does
// not decide which way a half pixel goes.
std::optional<double> AxisPixel(const PlaneRange& range, double from, double to, double value) {
    if (!(value > 0.0) || !std::isfinite(value)) return std::nullopt;
    const double share =
        (std::log10(value) - std::log10(range.lo)) / (std::log10(range.hi) - std::log10(range.lo));
    const double along = std::round((to - from) * share);
    // Far outside the axis a position is no pixel any more.
    if (!(std::fabs(along) < 1e6)) return std::nullopt;
    return from + along;
}

// One type's ellipse in pixels: centre, half long axis a along (cs, sn), half-width b.
struct Ellipse {
    PlotPixel centre;
    double a = 0.0;
    double cs = 0.0;
    double sn = 0.0;
    double b = 0.0;
};

std::optional<Ellipse> RegionEllipse(bool mirror, const PlaneToPixels& plot,
                                     const LensClass& type) {
    std::array<PlotPixel, 3> p;
    for (std::size_t k = 0; k < 3; ++k) {
        const auto pixel = PixelOf(mirror, plot, type.regionPoints[k]);
        if (!pixel) return std::nullopt;
        p[k] = *pixel;
    }
    Ellipse e;
    e.centre = {std::round((p[0].x + p[1].x) / 2), std::round((p[0].y + p[1].y) / 2)};
    const PlotPixel h{std::round((p[1].x - p[0].x) / 2), std::round((p[1].y - p[0].y) / 2)};
    e.a = std::hypot(h.x, h.y);
    if (!(e.a > 0.0)) return std::nullopt;
    e.cs = h.x / e.a;
    e.sn = h.y / e.a;
    e.b = std::hypot(p[2].x - e.centre.x, p[2].y - e.centre.y);
    return e;
}

std::vector<PlotPixel> Trace(const Ellipse& e) {
    std::vector<PlotPixel> outline(kOutlinePoints);
    for (int t = 0; t < kOutlinePoints; ++t) {
        const double theta = 2.0 * kRegionPi * t / (kOutlinePoints - 1);
        const double ct = std::cos(theta), st = std::sin(theta);
        outline[static_cast<std::size_t>(t)] = {
            std::round(e.centre.x + e.a * e.cs * ct - e.b * e.sn * st),
            std::round(e.centre.y + e.a * e.sn * ct + e.b * e.cs * st)};
    }
    return outline;
}

// Whether a pixel may lie inside the traced ellipse: every traced pixel lies within the larger
// half axis of the centre, give or take its rounding, and so does every point of the polygon.
bool NearEllipse(const Ellipse& e, double x, double y) {
    return std::hypot(x - e.centre.x, y - e.centre.y) <= std::max(e.a, e.b) + 1.0;
}

// The design's f-number at infinity and object field angle (radians), as solved.
struct DesignAperture {
    double fNumber = 0.0;
    double angle = 0.0;
};

std::optional<DesignAperture> SolvedAperture(const engine::ParaxialDesign& d) {
    if (d.bCalcInvalid || d.bApertureUndefined) return std::nullopt;
    return DesignAperture{d.apertureTable.Get(engine::kFNumber),
                          d.paramTable.Get(engine::kObjAngle)};
}

bool HasFieldParameter(const engine::Selection& params) {
    for (int k = 1; k <= params.Count(); ++k) {
        if (engine::IsFieldIndex(params.Index(k))) return true;
    }
    return false;
}

double SignOf(double current) {
    return current < 0.0 ? -1.0 : 1.0;
}

// Sets the value of the chosen parameter `index` and widens its limits to it.
void SetChosen(engine::Selection& set, int index, double value, double margin) {
    const int position = *set.Find(index);
    set.SetValue(position, static_cast<float>(value));
    engine::ExtendLimitsToValue(set.Entry(position), value, 1.0, margin);
}

}  // namespace

const std::string& LensClass::ShortName(std::size_t k) const {
    if (k < shortNames.size() && !shortNames[k].empty()) return shortNames[k];
    return names.at(k);
}

const std::vector<LensClass>& LensClasses(bool mirror) {
    static const std::vector<LensClass> lenses = BuildLenses();
    static const std::vector<LensClass> mirrors = BuildMirrors();
    return mirror ? mirrors : lenses;
}

PlaneRange ApertureRange() {
    return {0.01, 1.0};
}

PlaneRange FieldRange(bool mirror) {
    return {0.1, mirror ? 10.0 : 100.0};
}

std::optional<PlotPixel> PixelOf(bool mirror, const PlaneToPixels& plot, const PlotPoint& point) {
    if (!(plot.x1 > plot.x0) || !(plot.y0 > plot.y1)) return std::nullopt;
    const auto x = AxisPixel(ApertureRange(), plot.x0, plot.x1, point.a);
    const auto y = AxisPixel(FieldRange(mirror), plot.y0, plot.y1, point.angle);
    if (!x || !y) return std::nullopt;
    return PlotPixel{*x, *y};
}

std::vector<std::vector<PlotPixel>> LensOutlines(bool mirror, const PlaneToPixels& plot) {
    std::vector<std::vector<PlotPixel>> outlines;
    for (const LensClass& type : LensClasses(mirror)) {
        const auto ellipse = RegionEllipse(mirror, plot, type);
        outlines.push_back(ellipse ? Trace(*ellipse) : std::vector<PlotPixel>{});
    }
    return outlines;
}

bool InsidePolygon(std::span<const PlotPixel> polygon, double x, double y) {
    if (polygon.size() < 3 || !std::isfinite(x) || !std::isfinite(y)) return false;
    int winding = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const PlotPixel& a = polygon[i];
        const PlotPixel& b = polygon[(i + 1) % polygon.size()];
        // Which side of the edge a→b the point lies on.
        const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y) {
            if (b.y > y && side > 0.0) ++winding;
        } else if (b.y <= y && side < 0.0) {
            --winding;
        }
    }
    return winding != 0;
}

LensHits LensClassesAt(bool mirror, const PlaneToPixels& plot, double px, double py) {
    LensHits hits;
    const std::vector<LensClass>& types = LensClasses(mirror);
    // A hover tests every type: only those whose ellipse comes near the pixel are traced.
    for (std::size_t i = 0; i < types.size() && hits.classes.size() < 2; ++i) {
        const auto ellipse = RegionEllipse(mirror, plot, types[i]);
        if (ellipse && NearEllipse(*ellipse, px, py) && InsidePolygon(Trace(*ellipse), px, py)) {
            hits.classes.push_back(static_cast<int>(i));
        }
    }
    for (std::size_t k = 0; k < hits.classes.size(); ++k) {
        hits.text += (k == 0 ? " " : " | ") +
                     Tr(types[static_cast<std::size_t>(hits.classes[k])].names.front());
    }
    return hits;
}

LensHits LensClassesAt(bool mirror, const PlaneToPixels& plot, const PlotPoint& point) {
    const auto pixel = PixelOf(mirror, plot, point);
    return pixel ? LensClassesAt(mirror, plot, pixel->x, pixel->y) : LensHits{};
}

std::optional<PlotPoint> DesignPoint(const engine::ParaxialDesign& design) {
    const auto solved = SolvedAperture(design);
    if (!solved || solved->fNumber == 0.0 || solved->angle == 0.0) return std::nullopt;
    const PlotPoint point{1.0 / (2.0 * std::fabs(solved->fNumber)),
                          std::fabs(solved->angle) / kDegree};
    if (!std::isfinite(point.a) || !std::isfinite(point.angle)) return std::nullopt;
    return point;
}

std::optional<ApertureFigures> ApertureFieldAt(const PlotPoint& point,
                                               const engine::ParaxialDesign& design) {
    const double imageDistance = design.paramTable.Get(engine::kImgDist);
    const double focal = design.paramTable.Get(engine::kFocal);
    if (!(point.a > 0.0) || !(point.angle > 0.0) || imageDistance == 0.0 || focal == 0.0) {
        return std::nullopt;
    }
    ApertureFigures f;
    f.point = point;
    f.fNumber = 1.0 / (2.0 * point.a);
    f.workingFNumber = std::fabs(f.fNumber * imageDistance / focal);
    f.stopRadius = std::fabs(focal) / (2.0 * f.fNumber);
    f.imageNA =
        design.options.ImageIndex() * std::sin(std::atan(f.stopRadius / std::fabs(imageDistance)));
    return f;
}

bool ClickAccepted(const engine::ParaxialDesign& design, const PlotPoint& point) {
    // A half field of 90° or more describes no system: the click stops below it.
    return !design.bCalcInvalid && design.params.Count() == 3 && design.params.AllValuesDefined() &&
           design.aperture.Count() == 1 && HasFieldParameter(design.params) &&
           point.a >= kMinAperture && point.a <= kMaxAperture && point.angle >= kMinAngle &&
           point.angle < kMaxAngle;
}

std::string ApFieldReadOut(const engine::ParaxialDesign& design, const ApertureFigures& f,
                           double angleFactor, std::string_view angleUnit) {
    if (!ClickAccepted(design, f.point) || !(angleFactor > 0.0)) return {};
    return text::Format(f.point.angle * kDegree / angleFactor, "0.0##") + std::string(angleUnit) +
           "  F/" + text::Format(f.fNumber, "0.0##") + "  F(eff)/" +
           text::Format(f.workingFNumber, "0.0##") +
           "  NA':" + text::Format(std::fabs(f.imageNA), "0.0##");
}

std::string FNumberText(double fNumber) {
    return "F/" + text::Format(fNumber, "0.0##");
}

bool MoveToApertureField(engine::ParaxialDesign& design, const PlotPoint& point) {
    if (!ClickAccepted(design, point)) return false;
    const auto current = SolvedAperture(design);
    if (!current) return false;
    if (const auto now = DesignPoint(design);
        now && engine::SameValue(now->a, point.a) && engine::SameValue(now->angle, point.angle)) {
        return false;
    }
    const double fNumber = SignOf(current->fNumber) / (2.0 * point.a);
    const double angle = SignOf(current->angle) * point.angle * kDegree;
    const double margin = design.Margin();

    // The field: w itself, or w in the place of a chosen field parameter (the image angle
    // first, then the heights) where the combination stays allowed.
    engine::Selection params = design.params;
    if (!params.Contains(engine::kObjAngle)) {
        bool placed = false;
        for (int old : {engine::kImgAngle, engine::kObjHeight, engine::kImgHeight}) {
            if (!params.Contains(old)) continue;
            engine::Selection trial = params;
            if (!trial.Replace(old, engine::kObjAngle, static_cast<float>(angle)).ok() ||
                engine::CombinationMessage(trial)) {
                continue;
            }
            params = std::move(trial);
            placed = true;
            break;
        }
        if (!placed) return false;
    }
    SetChosen(params, engine::kObjAngle, angle, margin);

    // The aperture: the f-number, or the stop radius that gives it; any other figure gives way
    // to the f-number.
    engine::Selection aperture = design.aperture;
    const int chosen = aperture.Index(1);
    if (chosen == engine::kStopRadius) {
        const double focal = design.paramTable.Get(engine::kFocal);
        SetChosen(aperture, chosen, std::fabs(focal) / (2.0 * std::fabs(fNumber)), margin);
    } else {
        if (chosen != engine::kFNumber &&
            !aperture.Replace(chosen, engine::kFNumber, static_cast<float>(fNumber)).ok()) {
            return false;
        }
        SetChosen(aperture, engine::kFNumber, fNumber, margin);
    }
    design.params = std::move(params);
    design.aperture = std::move(aperture);
    return true;
}

}  // namespace rs::analysis
