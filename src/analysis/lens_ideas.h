#pragma once
// Where a design stands among the classical lens and mirror types. Every type occupies an
// elliptical region of the plane of aperture A = 1/(2·N∞) (N∞ the f-number for an object at
// infinity) against the object half-field angle in degrees, both on logarithmic axes. This module
// holds the type catalogues, each region's outline on a plot and the test which types contain a
// pixel, the design's own point, the aperture figures at a point, and the move of the design to
// a clicked point. Where a plot lies on the surface is the drawing's business; it hands over
// only the pixels where the plane's axes end.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/paraxial_design.h"

namespace rs::analysis {

// A point of the plane: A = 1/(2·N∞) and the half-field angle in degrees.
struct PlotPoint {
    double a = 0.0;
    double angle = 0.0;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

struct LensClass {
    std::vector<std::string> names;  // one per label
    std::vector<std::string> shortNames;
    std::vector<PlotPoint> labelPositions;
    // P1 and P2 end the ellipse's long axis, P3 fixes its half-width.
    std::array<PlotPoint, 3> regionPoints{};

    // The short name of label `k`, or its full name where it has no short one.
    const std::string& ShortName(std::size_t k) const;
};

// The fifteen lens types or, in mirror mode, the four mirror types, in the order a point is
// tested against them. Built once, never changed.
const std::vector<LensClass>& LensClasses(bool mirror);

// --- The plane and its regions on a plot ---------------------------------------------------------

// The part of the plane a plot shows: A from 0.01 (f-number 50) to 1 (f-number 0.5), the half
// field from 0.1° to 100°, or to 10° in mirror mode.
struct PlaneRange {
    double lo = 0.0;
    double hi = 0.0;
};
PlaneRange ApertureRange();
PlaneRange FieldRange(bool mirror);

// A pixel of a plot.
struct PlotPixel {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const PlotPixel&, const PlotPixel&) = default;
};

// Where the plane lies on a plot: the whole pixels of the ends of its two logarithmic axes. A
// runs from ApertureRange().lo at x0 to its hi at x1 > x0, the angle from FieldRange(mirror).lo
// at y0 to its hi at y1 < y0 (larger angles higher up). A plot without room between the ends
// of an axis shows no point and no region.
struct PlaneToPixels {
    double x0 = 0.0;
    double x1 = 0.0;
    double y0 = 0.0;
    double y1 = 0.0;
};

// The whole pixel of a plane point; nothing for a coordinate that is not positive, one so far
// off that it is no pixel any more, or a plot without room.
std::optional<PlotPixel> PixelOf(bool mirror, const PlaneToPixels& plot, const PlotPoint& point);

// Each type's region as it is drawn and hit on one plot: its three points in whole pixels, the
// ellipse with the long axis from P1 to P2 and the half-width |P3 − centre|, traced as a closed
// polygon of 101 whole pixels (the last one is the first). A region is shaped in pixels, so its
// extent in the plane follows the plot's aspect. One outline per type of LensClasses(mirror);
// empty where a point has no pixel or the long axis no length (a plot too small to show it).
std::vector<std::vector<PlotPixel>> LensOutlines(bool mirror, const PlaneToPixels& plot);

// Whether (x, y) lies inside the polygon by the non-zero winding rule (a point on an edge may go
// either way).
bool InsidePolygon(std::span<const PlotPixel> polygon, double x, double y);

// The types whose outlines on a plot contain a pixel: the first two in catalogue order.
struct LensHits {
    std::vector<int> classes;  // indices into LensClasses(mirror), at most two
    // The lens-type field: "" for none, " " + name for one, " " + name + " | " + name for two.
    std::string text;
};
LensHits LensClassesAt(bool mirror, const PlaneToPixels& plot, double px, double py);
// The types at a plane point as the plot shows them: at the point's whole pixel.
LensHits LensClassesAt(bool mirror, const PlaneToPixels& plot, const PlotPoint& point);

// --- The design in the plane ---------------------------------------------------------------------

// The design's own point from its f-number at infinity and its object field angle, by their
// magnitudes (a positive object height gives a negative angle, a mirror a negative f-number);
// nothing without a solved aperture and field, or when either is 0.
std::optional<PlotPoint> DesignPoint(const engine::ParaxialDesign& design);

// The aperture figures the design would have at a plot point.
struct ApertureFigures {
    PlotPoint point;
    double fNumber = 0.0;         // N∞ = 1/(2·A)
    double workingFNumber = 0.0;  // |N∞ · a' / f'|
    double imageNA = 0.0;         // n' · sin(atan(r / |a'|))
    double stopRadius = 0.0;      // |f'| / (2·N∞)
};

// Nothing off the plane (A or the angle not positive), or when a' or f' is 0.
std::optional<ApertureFigures> ApertureFieldAt(const PlotPoint& point,
                                               const engine::ParaxialDesign& design);

// Whether a click at `point` may move the design: a valid solve with three general parameters,
// an aperture parameter and a field parameter chosen, 0.01 ≤ A ≤ 1 and 0.1 ≤ angle ≤ 90.
bool ClickAccepted(const engine::ParaxialDesign& design, const PlotPoint& point);

// The read-out under the cursor: "12.5Grad  F/2.0  F(eff)/2.222  NA':0.22" (the angle in its
// display unit `angleUnit`, scaled by `angleFactor` from degrees); empty when a click would not
// be accepted there.
std::string ApFieldReadOut(const engine::ParaxialDesign& design, const ApertureFigures& figures,
                           double angleFactor, std::string_view angleUnit);
// The f-number field beside the plot: "F/2.0".
std::string FNumberText(double fNumber);

// Moves the design to a plot point: the f-number at infinity becomes 1/(2·A) (the chosen
// aperture parameter keeps its kind where it is the f-number or the stop radius, otherwise the
// f-number takes its place) and the object field angle becomes `angle` (set where w is chosen,
// otherwise w takes the place of a chosen field parameter where the combination allows it),
// each keeping the sign of the design's current value. False, with the design unchanged, when
// the click is not accepted, repeats the current point, or no allowed choice holds w.
bool MoveToApertureField(engine::ParaxialDesign& design, const PlotPoint& point);

}  // namespace rs::analysis
