#pragma once
// What the beam engine takes from the rest of the design for one solve.
#include "engine/continuity.h"

namespace rs::beam {

struct BeamContext {
    double principalPlaneSeparation = 0.0;  // effective e of the paraxial options
    double imageIndex = 1.0;                // effective n' of the paraxial options
    // Where solves record their outcome for the value continuity; none when null.
    engine::DataContinuity* continuity = nullptr;
};

}  // namespace rs::beam
