#pragma once
// The picture of the sign convention for the manual: a converging thin lens in air with a real
// object and its real, inverted image, the focal points, the chief ray and the ray parallel to
// the axis, and every key quantity (a, a', f, f', u, u', w, w') as a labelled arrow with its sign.
#include "drawing/surface.h"

namespace rs::drawing {

// Clears the surface and draws the picture, scaled to fit the surface's scale rectangle, with
// every line and label inside it.
void DrawSignConvention(Surface& surface);

}  // namespace rs::drawing
