#include "ui/main_window.h"

// Which parameters are chosen: the general, aperture and beam check boxes.
#include "beam/gaussian_beam.h"
#include "engine/continuity.h"
#include "engine/selection.h"

namespace rs::ui {

void MainWindow::SetParamChecked(int index, bool checked) {
    ApplyChange({kBackupSelection, 0, false}, [&](app::DesignState& d) {
        engine::ParaxialDesign& p = d.paraxial;
        if (d.beam.beamMode || index < 0 || index > engine::kImgAngle) return false;
        if (checked == p.params.Contains(index)) return false;
        // A fourth parameter: the box simply stays unchecked.
        if (checked && p.params.Full()) return false;
        if (Reported(checked ? p.AddParam(index) : p.params.Remove(index))) return false;
        if (checked) {
            // A combination that is not allowed takes the new parameter back out.
            if (auto message = engine::CheckCombination(p.params, index)) {
                dialogs_.Message(*message, Icon::Exclamation);
                return false;
            }
        }
        if (p.options.objAtInfinity && !p.params.Contains(engine::kObjDist)) {
            p.options.objAtInfinity = false;
        }
        return true;
    });
}

void MainWindow::SetApertureChecked(int index, bool checked) {
    ApplyChange({kBackupSelection, 0, false}, [&](app::DesignState& d) {
        engine::ParaxialDesign& p = d.paraxial;
        if (d.beam.beamMode || index < 0 || index > engine::kNAImage) return false;
        if (checked == p.aperture.Contains(index)) return false;
        // A second aperture box unchecks itself at once.
        if (checked && p.aperture.Full()) return false;
        return !Reported(checked ? p.AddAperture(index) : p.aperture.Remove(index));
    });
}

void MainWindow::SetBeamChecked(int index, bool checked) {
    ApplyChange({kBackupBeamSelection, 0, false}, [&](app::DesignState& d) {
        beam::BeamDesign& b = d.beam;
        if (!b.beamMode || !beam::IsSelectableBeamIndex(index)) return false;
        engine::Selection& sel = b.axes[0].selection;
        if (checked == sel.Contains(index)) return false;
        const engine::Selection previous = sel;
        const auto prefill = d.paraxial.continuity.PrefillBeam(0, index, d.paraxial.Margin());
        const beam::ToggleOutcome outcome = beam::ToggleBeamParam(b, index, checked, prefill);
        if (outcome.message) dialogs_.Message(*outcome.message, Icon::Exclamation);
        return !(sel == previous);
    });
}

}  // namespace rs::ui
