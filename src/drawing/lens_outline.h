#pragma once
// The outline of a real lens in world millimetres, for the pictures that draw a catalogue lens
// held by the design: each surface's profile at its vertex and the rims that close each glass.
#include <vector>

#include "analysis/thick_lens.h"
#include "drawing/surface.h"

namespace rs::drawing {

struct OutlinePoint {
    double x = 0.0;
    double y = 0.0;
};
using OutlinePath = std::vector<OutlinePoint>;

// The colour every picture draws a real lens's outline in.
inline constexpr Colour kLensOutlineColour = 0x800000;

// The whole lens, or only its half above the axis (for pictures that show the upper half only,
// as the beam picture does).
enum class OutlineHalves { Both, Upper };

// The paths of `lens` with its first vertex at `firstVertexX` (x along the axis, y up): one
// profile per surface from its lower (or, for the upper half, the axis) to its upper rim, then
// the upper and the lower rim line of every glass between two surfaces.
std::vector<OutlinePath> LensOutline(const analysis::ThickLens& lens, double firstVertexX,
                                     OutlineHalves halves = OutlineHalves::Both);

// The first vertex of `lens` when its front principal plane stands at `principalX`.
double FirstVertexX(const analysis::ThickLens& lens, double principalX);

}  // namespace rs::drawing
