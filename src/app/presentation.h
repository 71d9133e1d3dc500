#pragma once
// The one road from a design to what the user sees. The window, the command-line program and
// the printed report all solve, list, report and draw a design through these functions, so the
// three can never disagree about what a design shows.
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/lens_choice.h"
#include "app/design_state.h"
#include "beam/beam_context.h"
#include "beam/beam_report.h"
#include "drawing/beam_drawing.h"
#include "drawing/paraxial_drawing.h"
#include "engine/report.h"

namespace rs::app {

// The program's version, "major.minor.revision".
std::string_view Version();

// --- Solving -------------------------------------------------------------------------------

// The general selection has three parameters, each with a value.
bool ParaxialComplete(const DesignState& state);
// Axis 0 of the beam has three parameters, each with a value.
bool BeamComplete(const DesignState& state);

// Solves the paraxial design with its depth of field and, in beam mode, every beam axis in use.
// With `record` the continuity store follows the solve: a solution is kept, so a parameter
// chosen next starts from it; an incomplete selection leaves its values undefined, so a
// parameter chosen next starts empty; a failed solve leaves the store as it was.
void SolveDesign(DesignState& state, bool record);

// After SolveDesign: the current mode has a complete selection and a solution (in diode mode on
// both axes).
bool DesignSolved(const DesignState& state);

// --- Presenting ----------------------------------------------------------------------------

// The paraxial design as it is shown: the design itself, or, while the selection is incomplete,
// a copy marked as without solution (the tables then hold an older or a half-finished solve, not
// the system on screen).
engine::ParaxialDesign PresentedParaxial(const DesignState& state);

// Display units of the paraxial quantities and of the depth-of-field rows.
engine::ReportUnits ParaxialUnits(const units::UnitState& units);
analysis::DofUnitLookup DofUnits(const units::UnitState& units);

// The rows of the result list for the current mode. `dragging` keeps the name column as it is.
engine::ResultList ResultRows(const DesignState& state, bool dragging,
                              engine::ResultListCache& cache, beam::BeamListCache& beamCache);

// The depth-of-field panel of the presented design (blank while incomplete).
analysis::DofPanel PresentedDofPanel(const DesignState& state);

engine::TitleState TitleStateOf(const DesignState& state);

// What the beam engine takes from the paraxial options; with `notifyContinuity` the solves
// record their values for the continuity of newly chosen parameters.
beam::BeamContext BeamContextOf(DesignState& state, bool notifyContinuity);
beam::BeamReportContext BeamReportContextOf(const DesignState& state);

// --- Printing ------------------------------------------------------------------------------

// The printed report of the current mode dated `dateText` (the long date in words), with the
// depth-of-field rows on a paraxial page, or the refusal for an incomplete selection.
engine::ReportResult BuildReport(const DesignState& state, std::string_view dateText);

// --- Drawing -------------------------------------------------------------------------------

// The options of the paraxial picture as the user set them.
drawing::ParaxialDrawingOptions DrawingOptionsOf(const DesignState& state, bool dragging);

// What the pictures keep between redraws: frozen while a drag is under way, so the picture does
// not rescale under the mouse and a grab maps pixels with the scale it started with.
struct DrawingMemory {
    drawing::DrawingExtents extents;     // paraxial picture
    drawing::ParaxialTouchPoints touch;  // paraxial picture
    drawing::BeamDrawingMemory beam;     // beam picture
};

// Draws the picture of the current mode onto `surface`: the paraxial system or the beam (a
// cleared surface without a solution). With `printing` the colours meant for paper are used.
// A solved `reference` of the same mode is drawn in light grey behind it, at its scale.
void DrawDesign(drawing::Surface& surface, const DesignState& state, bool dragging,
                DrawingMemory& memory, bool printing = false,
                const DesignState* reference = nullptr);

// --- Catalogue lenses ------------------------------------------------------------------------

// What the lens grid looks for after a solve: in beam mode the solved f' and the real (M-scaled)
// beam radius at the element, with a circularised diode one cylinder per axis; in the paraxial
// mode f' and a radius that lets the lens pass the solved stop radius. Nothing without a
// solution (of both axes in diode mode).
struct CatalogueNeed {
    std::vector<analysis::ElementNeed> elements;  // one, or one per axis for the cylinders
    bool cylinders = false;
};
std::optional<CatalogueNeed> CatalogueNeedOf(const DesignState& state);
// The grid for the need (one element, or both axes with cylinders).
analysis::LensGrid CatalogueGridOf(const analysis::LensCatalogue& catalogue,
                                   const CatalogueNeed& need);

// The x range (mm from the object waist) the beam picture shows, or nothing outside the beam
// mode or without a beam solution.
std::optional<beam::AxialRange> BeamDrawingRangeOf(const DesignState& state);

}  // namespace rs::app
