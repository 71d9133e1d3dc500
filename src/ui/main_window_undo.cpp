#include "ui/main_window.h"

// Undo, clear and recall: the design goes back a step, is emptied, or is read again from the
// settings file.
#include "app/settings.h"
#include "text/tr.h"
#include "ui/main_window_internal.h"

namespace rs::ui {

using window_detail::NormaliseImageFormat;
using window_detail::ResetAdvancedValues;

void MainWindow::Undo() {
    // The exchange is a step of its own: a second press, or Ctrl+Z, gives back what it took.
    ApplyChange({kNoBackup, 0, true, true, false, text::Tr("Rückgängig")},
                [this](app::DesignState& d) { return s_.backup.Undo(d); });
}

void MainWindow::Clear() {
    ApplyChange({kBackupClear, 0, false, true, false, text::Tr("Löschen")},
                [](app::DesignState& d) {
                    engine::ParaxialDesign& p = d.paraxial;
                    p.params.Clear();
                    p.aperture.Clear();
                    p.options.objAtInfinity = false;
                    ResetAdvancedValues(d);
                    // The tables and the continuity store would otherwise bring the cleared system
                    // back, in the list and in the next parameter chosen.
                    p.paramTable.Clear();
                    p.apertureTable.Clear();
                    p.cardinal = {};
                    p.mtfCutOff = 0.0f;
                    p.bCalcInvalid = false;
                    p.bApertureUndefined = true;
                    p.continuity.Clear();

                    const bool showDof = d.dof.showExtra;
                    d.dof = analysis::DofOptions{};
                    d.dof.showExtra = showDof;
                    d.dofResults = analysis::DofResults{};

                    beam::BeamDesign& b = d.beam;
                    for (beam::BeamAxis& axis : b.axes) axis = beam::BeamAxis{};
                    const bool showBeamExtras = b.extrasOptions.showExtra;
                    b.extrasOptions = beam::BeamExtrasOptions{};
                    b.extrasOptions.showExtra = showBeamExtras;
                    b.SetWavelengthNm(beam::kDefaultBeamWavelength);
                    b.diode.diodeMode = false;
                    b.diode.circularise = false;
                    return true;
                });
}

void MainWindow::Recall() {
    ApplyChange({kBackupSelection, 0, true, true, false, text::Tr("Gespeichertes System geladen")},
                [this](app::DesignState& d) {
                    d.paraxial.params.Clear();
                    d.paraxial.aperture.Clear();
                    d.beam.axes[0].selection.Clear();
                    settings_.Reload();
                    app::LoadSettings(settings_, d);
                    NormaliseImageFormat(d.window);
                    return true;
                });
}

}  // namespace rs::ui
