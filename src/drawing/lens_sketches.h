#pragma once
// Sample pictures of the classical lens and mirror types of the aperture/field plot: for each
// type of analysis::LensClasses a schematic cross-section, and the same system with the path of
// a few rays from an object at infinity. The systems are approximate prescriptions of our own,
// traced surface by surface with Snell's law, so the pictures show what the types look like and
// how they bend light, not any particular lens.
#include "drawing/surface.h"

namespace rs::drawing {

enum class SketchKind { Lens, Rays };

// Clears the surface and draws type `index` of analysis::LensClasses(mirror) as a schematic
// cross-section (Lens) or with its ray path (Rays), fitted into the surface's scale rectangle
// with equal scales along x and y, and its name at the bottom left. Nothing but the clear for an
// index outside the catalogue; on a surface too small for a picture only what fits (the name, or
// nothing).
void DrawLensTypeSketch(Surface& surface, bool mirror, int index, SketchKind kind);

}  // namespace rs::drawing
