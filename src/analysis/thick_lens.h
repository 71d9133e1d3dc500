#pragma once
// A catalogue lens as the bench sees it: its paraxial focal length, where its principal planes
// lie relative to its vertices, its thickness and back focal length, all from a y-nu trace
// through its real surfaces at the design's wavelength and between the design's media. The
// engine keeps treating the design as a thin element with f' and the separation HH'; these
// figures say where the glass stands around those planes.
#include <optional>
#include <span>
#include <vector>

#include "analysis/catalogue_lenses.h"

namespace rs::analysis {

// The catalogue gives every glass by its index at 587.6 nm and its Abbe number. The index at
// another wavelength follows a two-term dispersion n = A + B/λ² fitted through those two
// figures (the F and C lines span n_F − n_C = (n_d − 1)/V). Air and a glass without an Abbe
// number keep their index.
double IndexAt(double nd, double abbe, double wavelengthNm);

// The same lens turned round: its last surface first, every radius negated, every medium
// behind the surface it now follows.
std::vector<CatalogueSurface> TurnedRound(std::span<const CatalogueSurface> surfaces);

// A ray entering parallel to the axis at height 1 from a medium of index `objectIndex`, traced
// through `surfaces` (their own indices) into a medium of index `imageIndex`.
struct ParallelRayTrace {
    double lastHeight = 0.0;  // y at the last surface
    double nu = 0.0;          // n'·u' behind it
};
std::optional<ParallelRayTrace> TraceParallelRay(std::span<const CatalogueSurface> surfaces,
                                                 double objectIndex, double imageIndex);

// One surface of the lens placed on the axis, the first vertex at 0.
struct PlacedSurface {
    double vertex = 0.0;  // mm along the light from the first vertex
    double radius = 0.0;  // mm, 0 a plane surface
    double semiDiameter = 0.0;
    bool glassBehind = false;  // a glass (not air) lies between this surface and the next
};

struct ThickLens {
    double focal = 0.0;           // f' = n'/Φ, mm
    double frontPrincipal = 0.0;  // P from the first vertex, mm along the light
    double backPrincipal = 0.0;   // P' from the last vertex, mm along the light
    double thickness = 0.0;       // first to last vertex
    double separation = 0.0;      // HH', P to P' along the light
    double backFocal = 0.0;       // F' from the last vertex
    double clearAperture = 0.0;   // the smallest semi-diameter: what the lens lets through
    std::vector<PlacedSurface> surfaces;
};

// Where object and image stand from the vertices, signed as a and a' are (along the light, from
// the first vertex to the object and from the last vertex to the image), for an object at `a`
// from P and its image at `aImage` from P'.
struct VertexDistances {
    double front = 0.0;
    double back = 0.0;
};
VertexDistances VertexDistancesOf(const ThickLens& lens, double a, double aImage);

// The thick-lens figures of `surfaces` at `wavelengthNm` between an object medium and an image
// medium; nothing when the lens has no power there or a figure is not finite.
std::optional<ThickLens> ThickLensOf(std::span<const CatalogueSurface> surfaces,
                                     double wavelengthNm, double objectIndex = 1.0,
                                     double imageIndex = 1.0);

}  // namespace rs::analysis
