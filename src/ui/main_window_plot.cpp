#include "ui/main_window.h"

// The aperture/field plot: a click into it moves the design, and its own undo takes the click
// back.
#include <utility>

#include "analysis/lens_ideas.h"

namespace rs::ui {

void MainWindow::ApFieldParamsChng(double a, double angle) {
    ApplyChange({kBackupApField, 0, true, true, true}, [&](app::DesignState& d) {
        WindowState::ApFieldBackup before{d.paraxial.params, d.paraxial.aperture};
        if (!analysis::MoveToApertureField(d.paraxial, {a, angle})) return false;
        MatchVarTypeTxtSliderAp();
        s_.apFldBackup = std::move(before);
        return true;
    });
}

void MainWindow::ApFieldUndo() {
    if (!s_.apFldUndoEnabled || !s_.apFldBackup) return;
    ApplyChange({kBackupApField, 0, true, true}, [&](app::DesignState& d) {
        d.paraxial.params = s_.apFldBackup->params;
        d.paraxial.aperture = s_.apFldBackup->aperture;
        // The object at infinity is a property of a chosen object distance.
        if (!d.paraxial.params.Contains(engine::kObjDist)) d.paraxial.options.objAtInfinity = false;
        MatchVarTypeTxtSliderAp();
        d.paraxial.aperture = s_.apFldBackup->aperture;  // exactly: the click widened its limits
        SetSliderFromValueAp();
        s_.apFldBackup.reset();
        return true;
    });
}

}  // namespace rs::ui
