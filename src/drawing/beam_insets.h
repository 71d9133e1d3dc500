#pragma once
// The two insets of an axis's picture: the beam around the object and the image waist at a
// scale where the waist can be read, with its diameter and Rayleigh length.
#include <vector>

#include "drawing/beam_painter.h"

namespace rs::drawing::beam_picture {

// The insets of the axis `ap`; in a shared area they hold the waists of every axis in `data`.
void DrawInsets(Painter& p, const AxisPicture& ap, const std::vector<AxisData>& data);

}  // namespace rs::drawing::beam_picture
