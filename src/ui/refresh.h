#pragma once
// Solving and listing the design the way the window does after every change, shared by the
// handlers and by anyone who wants to check that the window shows what its design says.
#include "app/design_state.h"
#include "beam/beam_context.h"
#include "beam/beam_report.h"
#include "engine/report.h"

namespace rs::ui {

// The general selection has three parameters, each with a value.
bool ParaxialComplete(const app::DesignState& design);
// Axis 0 of the beam has three parameters, each with a value.
bool BeamComplete(const app::DesignState& design);

// Solves the paraxial design (and, in beam mode, every beam axis). With `record` a complete
// solution is kept in the continuity store, so a parameter chosen next starts from it; an
// incomplete selection never wipes the store.
void SolveDesign(app::DesignState& design, bool record);

// The rows of the result list for the current mode, from the tables as they are. While the
// general selection is incomplete the paraxial values are blank: the tables then hold an
// older (or a half-finished, failed) solve, not the system on screen.
engine::ResultList ListedRows(const app::DesignState& design, bool dragging,
                              engine::ResultListCache& cache, beam::BeamListCache& beamCache);

// The paraxial design as the window presents it: the design itself, or, while incomplete, a copy
// marked as without solution.
engine::ParaxialDesign PresentedParaxial(const app::DesignState& design);

}  // namespace rs::ui
