#include "ui/main_window.h"

// The reference design: pinning the current design to compare with, and letting it go. Neither
// goes through ApplyChange: the design itself stays as it is, so there is nothing to undo.
#include "app/presentation.h"
#include "app/settings.h"

namespace rs::ui {

void MainWindow::PinReference() {
    BusyScope busy(s_.machine);
    if (!busy || !app::DesignSolved(s_.design)) return;
    s_.reference = s_.design;
    SaveReference();
    Recalculate(false);
}

void MainWindow::ClearReference() {
    BusyScope busy(s_.machine);
    if (!busy || !s_.reference) return;
    s_.reference.reset();
    SaveReference();
    Recalculate(false);
}

void MainWindow::SaveReference() {
    app::StageReference(s_.reference ? &*s_.reference : nullptr, settings_);
    const app::WriteStatus status = settings_.Commit();
    if (!status.ok) dialogs_.Message(status.message, Icon::Exclamation);
}

}  // namespace rs::ui
