#pragma once
// The design as the user sees it: solving with every derived figure, and the texts of the
// result list and the depth-of-field panel in the user's display units. The window and the
// command-line program both go through here.
#include <string_view>

#include "app/design_state.h"
#include "beam/beam_context.h"
#include "beam/beam_report.h"
#include "engine/report.h"

namespace rs::app {

// The program's version, "major.minor.revision".
std::string_view Version();

// Solves the paraxial design and, after a successful solve, its depth of field.
bool SolveParaxialDesign(DesignState& state, bool notifyContinuity);

// Display units of the paraxial quantities and of the depth-of-field rows.
engine::ReportUnits ParaxialUnits(const units::UnitState& units);
analysis::DofUnitLookup DofUnits(const units::UnitState& units);

engine::ResultList ParaxialResultRows(const DesignState& state, bool rewriteNames, bool dragging,
                                      engine::ResultListCache& cache);
analysis::DofPanel DofPanelOf(const DesignState& state);

engine::TitleState TitleStateOf(const DesignState& state);

// What the beam engine takes from the paraxial options; with `notifyContinuity` the solves
// record their values for the continuity of newly chosen parameters.
beam::BeamContext BeamContextOf(DesignState& state, bool notifyContinuity);
// Solves every beam axis in use (with the extras of each solved axis).
void SolveBeamDesign(DesignState& state, bool notifyContinuity);
// True when axis 0 (and axis 1 in diode mode) has three chosen values and a solution.
bool BeamSolved(const DesignState& state);

beam::BeamReportContext BeamReportContextOf(const DesignState& state);
engine::ResultList BeamResultRows(const DesignState& state, beam::BeamListCache& cache);

}  // namespace rs::app
