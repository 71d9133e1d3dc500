#include "app/presentation.h"

#include "beam/gaussian_beam.h"
#include "engine/solver.h"

namespace rs::app {

std::string_view Version() { return RAYSKETCHER_VERSION; }

bool SolveParaxialDesign(DesignState& state, bool notifyContinuity) {
    return engine::SolveParaxial(state.paraxial, notifyContinuity,
                                 [&state](engine::ParaxialDesign& design) {
                                     analysis::ComputeDOF(state.dof, design, state.dofResults);
                                 });
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

engine::ResultList ParaxialResultRows(const DesignState& state, bool rewriteNames, bool dragging,
                                      engine::ResultListCache& cache) {
    return engine::FillResultList(state.paraxial, ParaxialUnits(state.units),
                                  engine::WavelengthText(state.paraxial), rewriteNames, dragging,
                                  cache);
}

analysis::DofPanel DofPanelOf(const DesignState& state) {
    return analysis::BuildDofPanel(state.dof, state.dofResults, state.paraxial,
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

void SolveBeamDesign(DesignState& state, bool notifyContinuity) {
    beam::SolveAllAxes(state.beam, BeamContextOf(state, notifyContinuity));
}

bool BeamSolved(const DesignState& state) {
    for (int axis = 0; axis < state.beam.AxisCount(); ++axis) {
        const beam::BeamAxis& a = state.beam.axes[static_cast<std::size_t>(axis)];
        if (a.selection.Count() < 3 || !a.valuesDefined || a.resultInvalid) return false;
    }
    return true;
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

engine::ResultList BeamResultRows(const DesignState& state, beam::BeamListCache& cache) {
    return beam::FillBeamResultList(state.beam, BeamReportContextOf(state), cache);
}

}  // namespace rs::app
