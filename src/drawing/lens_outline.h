#pragma once
// The outline of a real lens in world millimetres, for the pictures that draw a catalogue lens
// held by the design: each surface's profile at its vertex and the rims that close each glass.
#include <vector>

#include "analysis/thick_lens.h"

namespace rs::drawing {

struct OutlinePoint {
    double x = 0.0;
    double y = 0.0;
};
using OutlinePath = std::vector<OutlinePoint>;

// The paths of `lens` with its first vertex at `firstVertexX` (x along the axis, y up): one
// profile per surface from its lower to its upper rim, then the upper and the lower rim line of
// every glass between two surfaces.
std::vector<OutlinePath> LensOutline(const analysis::ThickLens& lens, double firstVertexX);

// The first vertex of `lens` when its front principal plane stands at `principalX`.
double FirstVertexX(const analysis::ThickLens& lens, double principalX);

}  // namespace rs::drawing
