#include "app/presentation.h"

#include "app/held_lens.h"
#include "beam/beam_extras.h"
#include "beam/gaussian_beam.h"
#include "engine/solver.h"

namespace rs::app {

std::string_view Version() {
    return RAYSKETCHER_VERSION;
}

bool ParaxialComplete(const DesignState& state) {
    const engine::Selection& p = state.paraxial.params;
    return p.Count() == 3 && p.AllValuesDefined();
}

bool BeamComplete(const DesignState& state) {
    const engine::Selection& b = state.beam.axes[0].selection;
    return b.Count() == 3 && b.AllValuesDefined();
}

void SolveDesign(DesignState& state, bool record) {
    ForgetEditedLens(state);
    engine::SolveParaxial(state.paraxial, record, [&state](engine::ParaxialDesign& design) {
        analysis::ComputeDOF(state.dof, design, state.dofResults);
    });
    if (state.beam.beamMode) beam::SolveAllAxes(state.beam, BeamContextOf(state, record));
}

bool DesignSolved(const DesignState& state) {
    if (!state.beam.beamMode) return ParaxialComplete(state) && !state.paraxial.bCalcInvalid;
    for (int axis = 0; axis < state.beam.AxisCount(); ++axis) {
        const beam::BeamAxis& a = state.beam.axes[static_cast<std::size_t>(axis)];
        if (a.selection.Count() < 3 || !a.valuesDefined || a.resultInvalid) return false;
    }
    return true;
}

engine::ParaxialDesign PresentedParaxial(const DesignState& state) {
    engine::ParaxialDesign shown = state.paraxial;
    if (!ParaxialComplete(state)) shown.bCalcInvalid = true;
    return shown;
}

engine::ReportUnits ParaxialUnits(const units::UnitState& u) {
    engine::ReportUnits r;
    r.param = [&u](int index) {
        return engine::DisplayUnit{u.UnitFactor(units::Group::Parax, index),
                                   std::string(u.UnitSuffix(units::Group::Parax, index))};
    };
    r.aperture = [&u](int index) {
        return engine::DisplayUnit{u.UnitFactor(units::Group::ParaxAp, index),
                                   std::string(u.UnitSuffix(units::Group::ParaxAp, index))};
    };
    return r;
}

analysis::DofUnitLookup DofUnits(const units::UnitState& u) {
    return [&u](int row, double valueMm) {
        // Rows 3 to 5 (near, far and hyperfocal distance) share one unit slot.
        const int slot = row <= units::kDofField ? row : units::kDofNearFar;
        const units::ResolvedUnit unit = u.AutoUnit(slot, valueMm);
        return analysis::DofDisplayUnit{unit.factor, std::string(unit.suffix)};
    };
}

engine::ResultList ResultRows(const DesignState& state, bool dragging,
                              engine::ResultListCache& cache, beam::BeamListCache& beamCache) {
    if (state.beam.beamMode) {
        engine::ResultList list =
            beam::FillBeamResultList(state.beam, BeamReportContextOf(state), beamCache);
        if (dragging) list.rewriteNames = false;
        return list;
    }
    const engine::ParaxialDesign shown = PresentedParaxial(state);
    const engine::ReportUnits units = ParaxialUnits(state.units);
    const bool hadLensRows = cache.lensRows;
    engine::ResultList list =
        engine::FillResultList(shown, units, engine::WavelengthText(shown), false, dragging, cache);
    const std::vector<engine::ResultRow> lensRows = HeldLensRows(state, shown, units);
    list.rows.insert(list.rows.end(), lensRows.begin(), lensRows.end());
    if (!dragging && hadLensRows != !lensRows.empty()) list.rewriteNames = true;
    if (list.rewriteNames) cache.lensRows = !lensRows.empty();
    return list;
}

analysis::DofPanel PresentedDofPanel(const DesignState& state) {
    return analysis::BuildDofPanel(state.dof, state.dofResults, PresentedParaxial(state),
                                   DofUnits(state.units));
}

engine::TitleState TitleStateOf(const DesignState& state) {
    engine::TitleState t;
    t.mirrorMode = state.paraxial.options.mirrorMode;
    t.beamMode = state.beam.beamMode;
    t.diodeMode = state.beam.diode.diodeMode;
    t.circularise = state.beam.diode.circularise;
    t.circulariseMode = state.beam.diode.collimationMode;
    return t;
}

beam::BeamContext BeamContextOf(DesignState& state, bool notifyContinuity) {
    const engine::OptionState& o = state.paraxial.options;
    return {o.PrincipalPlaneSeparation(), o.ImageIndex(),
            notifyContinuity ? &state.paraxial.continuity : nullptr};
}

beam::BeamReportContext BeamReportContextOf(const DesignState& state) {
    beam::BeamReportContext c;
    const units::UnitState& u = state.units;
    c.unit = [&u](int index) {
        return engine::DisplayUnit{u.UnitFactor(units::Group::GB, index),
                                   std::string(u.UnitSuffix(units::Group::GB, index))};
    };
    const engine::OptionState& o = state.paraxial.options;
    c.objectIndex = o.ObjectIndex();
    c.imageIndex = o.ImageIndex();
    c.mirrorMode = o.mirrorMode;
    c.objAtInfinity = o.objAtInfinity;
    return c;
}

engine::ReportResult BuildReport(const DesignState& state, std::string_view dateText) {
    engine::ReportInput input;
    input.version = std::string(Version());
    input.dateText = std::string(dateText);
    input.heldLens = HeldLensTitle(state);
    if (state.beam.beamMode) {
        return beam::BuildBeamReport(state.beam, BeamReportContextOf(state), input);
    }
    const analysis::DofPanel dof = PresentedDofPanel(state);
    for (std::size_t row = 0; row < dof.names.size(); ++row) {
        input.dofRows.emplace_back(dof.names[row], dof.values[row]);
    }
    return engine::BuildParaxialReport(state.paraxial, ParaxialUnits(state.units), input);
}

drawing::ParaxialDrawingOptions DrawingOptionsOf(const DesignState& state, bool dragging) {
    drawing::ParaxialDrawingOptions o;
    o.hideRemoteConjugates = state.window.hideRemConj;
    o.drawPoints = state.window.drawPoints;
    o.constructionRays = state.window.drawHaltingRay;
    o.dragging = dragging;
    o.lens = HeldThickLens(state);
    return o;
}

void DrawDesign(drawing::Surface& surface, const DesignState& state, bool dragging,
                DrawingMemory& memory, bool printing, const DesignState* reference) {
    if (state.beam.beamMode) {
        drawing::BeamDrawingOptions options;
        options.printing = printing;
        if (reference && reference->beam.beamMode && BeamComplete(*reference)) {
            options.reference = &reference->beam;
        }
        options.dragging = dragging;
        options.lengthUnit = state.units.UnitCode(units::Group::GBExtra, 0);
        options.lens = HeldThickLens(state);
        // An incomplete selection keeps the tables of an older solve: nothing to draw then.
        if (!BeamComplete(state)) {
            surface.Clear();
            memory.beam.touch.registered = false;
            return;
        }
        drawing::RedrawBeam(surface, state.beam, options, memory.beam);
        return;
    }
    drawing::ParaxialDrawingOptions options = DrawingOptionsOf(state, dragging);
    std::optional<engine::ParaxialDesign> behind;
    if (reference && !reference->beam.beamMode && ParaxialComplete(*reference)) {
        behind = reference->paraxial;
        options.reference = &*behind;
    }
    drawing::RedrawParaxial(surface, PresentedParaxial(state), options, memory.extents,
                            memory.touch);
}

std::optional<CatalogueNeed> CatalogueNeedOf(const DesignState& state) {
    const beam::BeamDesign& b = state.beam;
    if (!DesignSolved(state)) return std::nullopt;
    CatalogueNeed need;
    if (!b.beamMode) {
        // A mirror is not taken from the lens catalogue.
        if (state.paraxial.options.mirrorMode) return std::nullopt;
        // The lens must pass the stop where one is solved: its clear radius at least the stop
        // radius; without one any width will do.
        const engine::ParaxialDesign& p = state.paraxial;
        const double stop = p.bApertureUndefined ? 0.0 : p.apertureTable.Get(engine::kStopRadius);
        need.elements.push_back(
            {p.paramTable.Get(engine::kFocal), stop / analysis::kClearRadiusFactor});
        return need;
    }
    need.cylinders = b.diode.diodeMode && b.diode.circularise;
    for (int axis = 0; axis < (need.cylinders ? 2 : 1); ++axis) {
        const beam::BeamAxis& a = b.Axis(axis);
        need.elements.push_back(
            {a.table[beam::kGbFocal], beam::MFactor(b, axis) * a.extras[beam::kExRadiusAtElement]});
    }
    return need;
}

analysis::LensGrid CatalogueGridOf(const analysis::LensCatalogue& catalogue,
                                   const CatalogueNeed& need) {
    if (need.cylinders && need.elements.size() == 2) {
        return analysis::BuildLensGrid(catalogue, {need.elements[0], need.elements[1]});
    }
    return need.elements.empty() ? analysis::LensGrid{analysis::LensGridHeader(false), {}, {}}
                                 : analysis::BuildLensGrid(catalogue, need.elements[0]);
}

std::optional<beam::AxialRange> BeamDrawingRangeOf(const DesignState& state) {
    if (!state.beam.beamMode || !BeamComplete(state)) return std::nullopt;
    const beam::BeamAxis& axis = state.beam.axes[0];
    if (!axis.valuesDefined || axis.resultInvalid) return std::nullopt;
    return drawing::BeamXRange(state.beam);
}

}  // namespace rs::app
