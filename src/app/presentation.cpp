#include "app/presentation.h"

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
    t.beamMode = state.beam.gaussianBeam;
    t.diodeMode = state.beam.rect;
    t.circularise = state.beam.circularise;
    t.circulariseMode = state.beam.collimationMode;
    return t;
}

}  // namespace rs::app
