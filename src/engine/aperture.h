#pragma once
// Cardinal points and aperture figures of a solved system.
#include <optional>

#include "engine/paraxial_design.h"

namespace rs::engine {

// Fills design.cardinal from the solved ParamTable (positions measured from P). Returns false,
// leaving the points as they were, when a position does not fit a single.
bool ComputeCardinalPoints(ParaxialDesign& design);

enum class ApertureOutcome {
    Undefined,  // no aperture parameter chosen or no value: tables keep their contents
    Computed,
    Failed,  // the figures have no finite value (for example a' = 0): the solve fails
};

// Derives the stop radius from the chosen aperture parameter and every other figure from it;
// the chosen figure keeps the value the user entered. Also computes the MTF cut-off. The solver
// records the figures once its whole solve has succeeded.
ApertureOutcome ComputeAperture(ParaxialDesign& design);

// Working f-number |a'/(2·r)| of the current system; 0 when a' = 0 or r = 0.
double EffectiveFNumber(const ParaxialDesign& design);

// Inverse sine for the aperture formulas. Only defined for |x| < 1: a numerical aperture of
// one or more has no real ray behind it.
std::optional<double> ArcSin(double x);

}  // namespace rs::engine
