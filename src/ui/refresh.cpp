#include "ui/refresh.h"

#include "app/presentation.h"
#include "beam/gaussian_beam.h"

namespace rs::ui {

bool ParaxialComplete(const app::DesignState& design) {
    const engine::Selection& p = design.paraxial.params;
    return p.Count() == 3 && p.AllValuesDefined();
}

bool BeamComplete(const app::DesignState& design) {
    const engine::Selection& b = design.beam.axes[0].selection;
    return b.Count() == 3 && b.AllValuesDefined();
}

void SolveDesign(app::DesignState& design, bool record) {
    app::SolveParaxialDesign(design, record && ParaxialComplete(design));
    if (design.beam.beamMode) {
        beam::SolveAllAxes(design.beam, app::BeamContextOf(design, record && BeamComplete(design)));
    }
}

engine::ParaxialDesign PresentedParaxial(const app::DesignState& design) {
    engine::ParaxialDesign shown = design.paraxial;
    if (!ParaxialComplete(design)) shown.bCalcInvalid = true;
    return shown;
}

engine::ResultList ListedRows(const app::DesignState& design, bool dragging,
                              engine::ResultListCache& cache, beam::BeamListCache& beamCache) {
    if (design.beam.beamMode) {
        engine::ResultList list =
            beam::FillBeamResultList(design.beam, app::BeamReportContextOf(design), beamCache);
        if (dragging) list.rewriteNames = false;
        return list;
    }
    const engine::ParaxialDesign shown = PresentedParaxial(design);
    return engine::FillResultList(shown, app::ParaxialUnits(design.units),
                                  engine::WavelengthText(shown), false, dragging, cache);
}

}  // namespace rs::ui
