#pragma once
// Figures derived from a solved beam axis: cardinal and waist positions, beam radii at the
// element and the detector, ratios; the depth of focus, the minimum-spot tool, the axial range
// of the beam drawing, and the accept/refuse rules of the extras value boxes.
#include "beam/beam_context.h"
#include "beam/beam_design.h"

namespace rs::beam {

// Fills axis.extras of a successfully solved axis.
void ComputeExtras(BeamDesign& design, int axis, const BeamContext& context);

}  // namespace rs::beam
