#pragma once
// The prescriptions of the lens-type sketches placed on the axis and traced surface by surface
// with Snell's law (and the law of reflection at mirrors), in double precision, on the
// meridional plane only.
#include <optional>
#include <vector>

#include "drawing/lens_prescriptions.h"

namespace rs::drawing::sketch_optics {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// A surface placed on the axis.
struct Surf {
    double x = 0.0;  // vertex
    double c = 0.0;  // curvature
    double k = 0.0;
    double a4 = 0.0;
    double semi = 0.0;
    double hole = 0.0;
    double nBefore = kAir;
    double nAfter = kAir;
    Role role = Role::Refract;
    double back = 1.0;   // a mirror's substrate side along x
    double drawn = 1.0;  // how much a plate's aspheric profile is exaggerated in the picture
    double glass = 0.0;  // thickness of the glass behind a refracting surface, 0 in air
};

struct System {
    std::vector<Surf> surfs;
    int aperture = 0;
    double launchX = 0.0;  // a plane left of every surface, where rays are aimed from
};

struct Ray {
    double x = 0.0, y = 0.0;
    double dx = 1.0, dy = 0.0;  // unit direction
};

struct Path {
    Ray in;
    std::vector<Point> hits;  // one per surface, in order
    Ray out;                  // after the last surface traced
};

// The profile's distance from the vertex plane at height y, as traced and as drawn (a plate's
// asphere made visible).
double Sag(const Surf& s, double y);
double DrawnSag(const Surf& s, double y);

// The prescription's surfaces at their vertices, with the indices on both sides, a plate's
// drawn exaggeration and the plane the rays are launched from.
System Place(const Prescription& p);

// The rays of one bundle at `angleDeg` (from the upper left) through the whole system, aimed at
// the given fractions of the aperture; a ray that misses a surface, is totally reflected or
// falls into a mirror's hole is left out, and so is a bundle of fewer than two rays.
std::vector<Path> TraceBundle(const System& sys, double angleDeg, const std::vector<double>& fan);

// Lenses and mirrors are made large enough for the rays that pass them.
void FitRims(System& sys, const std::vector<std::vector<Path>>& bundles);

// The point nearest to all rays of a bundle in the least-squares sense.
std::optional<Point> Focus(const std::vector<Path>& paths);

// Where a ray close to the axis crosses it after the system.
std::optional<Point> ParaxialFocus(const System& sys);

}  // namespace rs::drawing::sketch_optics
