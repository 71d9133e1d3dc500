#pragma once
// The first-order solver: three chosen general parameters in, the complete thin-element system
// out (conjugates, field, object-side focal length), then aperture figures and cardinal points.
#include <functional>

#include "engine/paraxial_design.h"

namespace rs::engine {

// Runs after the system, its aperture figures and its cardinal points are known, before the
// solution is recorded: the place for figures derived from a complete system (depth of field).
using SolveCompletion = std::function<void(ParaxialDesign&)>;

// Solves the design. Returns true when a complete system was computed. An incomplete selection
// returns false with bCalcInvalid false; a failed solve (no solution, division by zero, a value
// beyond single precision, a half-field angle of 90° or more) returns false with bCalcInvalid
// true, records nothing and never leaves a non-finite value in the tables. With
// notifyContinuity the outcome is recorded in the continuity store: a solution is kept, an
// incomplete selection leaves every general value undefined.
bool SolveParaxial(ParaxialDesign& design, bool notifyContinuity,
                   const SolveCompletion& completion = {});

// Both half-field angles of the table, w and w', lie within ±90° (bounds excluded); every
// solution does.
bool FieldAnglesInRange(const ParamTable& table);

// Exactly three parameters chosen and a > 0.
bool IsVirtualObject(const ParaxialDesign& design);
bool IsVirtualImage(const ParaxialDesign& design);
// The object sits exactly in the front focal plane (a = f).
bool ObjectInFrontFocalPlane(const ParaxialDesign& design);

}  // namespace rs::engine
