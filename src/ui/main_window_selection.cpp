#include "ui/main_window.h"

// Which parameters are chosen: the general, aperture and beam check boxes. The rules are in
// entry_rules.h, shared with the command line; the window shows their messages.
#include "text/tr.h"
#include "ui/entry_rules.h"

namespace rs::ui {

void MainWindow::SetParamChecked(int index, bool checked) {
    ApplyChange({kBackupSelection, 0, false},
                [&](app::DesignState& d) { return Shown(ChooseParam(d, index, checked)); });
}

void MainWindow::SetApertureChecked(int index, bool checked) {
    ApplyChange({kBackupSelection, 0, false},
                [&](app::DesignState& d) { return Shown(ChooseAperture(d, index, checked)); });
}

void MainWindow::SetBeamChecked(int index, bool checked) {
    ApplyChange({kBackupBeamSelection, 0, false},
                [&](app::DesignState& d) { return Shown(ChooseBeamParam(d, index, checked)); });
}

bool MainWindow::Shown(const ChoiceOutcome& outcome) {
    if (outcome.message) dialogs_.Message(text::Tr(*outcome.message), outcome.icon);
    return outcome.changed;
}

}  // namespace rs::ui
