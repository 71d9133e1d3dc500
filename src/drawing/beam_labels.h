#pragma once
// The labelled parts of the main picture: the axis, the header with the axis names and the
// wavelength, the element, the waists, the detector and the marks along the axis.
#include "drawing/beam_painter.h"

namespace rs::drawing::beam_picture {

// The axis, the header and the marks with their labels, in that order.
void DrawAxisAndLabels(Painter& p, const AxisPicture& ap);

}  // namespace rs::drawing::beam_picture
