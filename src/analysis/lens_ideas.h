#pragma once
// Where a design stands among the classical lens and mirror types. Every type occupies an
// elliptical region of the plane of aperture A = 1/(2·N∞) (N∞ the f-number for an object at
// infinity) against the object half-field angle in degrees, both on logarithmic axes. This module
// holds the type catalogues with their regions in that plane, the test which types contain a
// point, the design's own point, the aperture figures at a point, and the move of the design to a
// clicked point. Where the plane lies on screen is the drawing's business.
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
    // The ellipse as a closed polygon of 101 points of the plane (the last one is the first);
    // its edges are straight on the plot's logarithmic axes.
    std::vector<PlotPoint> region;

    // The short name of label `k`, or its full name where it has no short one.
    const std::string& ShortName(std::size_t k) const;
};

// The fifteen lens types or, in mirror mode, the four mirror types, in the order a point is
// tested against them. Built once, never changed.
const std::vector<LensClass>& LensClasses(bool mirror);

// --- The plane and its regions ------------------------------------------------------------------

// The part of the plane a plot shows: A from 0.01 (f-number 50) to 1 (f-number 0.5), the half
// field from 0.1° to 100°, or to 10° in mirror mode.
struct PlaneRange {
    double lo = 0.0;
    double hi = 0.0;
};
PlaneRange ApertureRange();
PlaneRange FieldRange(bool mirror);

// Whether (x, y) lies inside the polygon of (x, y) points by the non-zero winding rule (a point
// on an edge may go either way).
bool InsidePolygon(std::span<const PlotPoint> polygon, double x, double y);

// The types whose regions contain a point: the first two in catalogue order.
struct LensHits {
    std::vector<int> classes;  // indices into LensClasses(mirror), at most two
    // The lens-type field: "" for none, " " + name for one, " " + name + " | " + name for two.
    std::string text;
};
LensHits LensClassesAt(bool mirror, const PlotPoint& point);

// --- The pixels of a plot, for the command line's lens-type lookup ------------------------------

// One logarithmic axis of a plot of `length` pixels with `margin` pixels left free at both ends.
struct PlotAxis {
    bool vertical = false;  // larger values higher up
    int margin = 12;
    double minValue = 0.01;  // value at the start of the axis
    int decades = 2;         // powers of ten covered
    int length = 0;

    int Usable() const { return length - 2 * margin; }
};
struct ApFieldPlot {
    PlotAxis x;
    PlotAxis y;
    bool mirror = false;
};
ApFieldPlot MakeApFieldPlot(int width, int height, bool mirror);
// The pixel of a value, to the nearest whole pixel; nothing for a value that is not positive or
// an axis without usable length.
std::optional<int> AxisPosition(const PlotAxis& axis, double value);
// The value at a pixel; 0 outside the usable length.
double AxisValue(const PlotAxis& axis, double pixel);
// LensClassesAt at the point under a pixel.
LensHits LensClassesAt(const ApFieldPlot& plot, double px, double py);

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
