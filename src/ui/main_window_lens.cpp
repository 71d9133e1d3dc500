#include "ui/main_window.h"

// Catalogue lenses: taking one into the design.
#include "ui/catalogue_lens_choice.h"

namespace rs::ui {

void MainWindow::TakeCatalogueLens(const analysis::CatalogueLens& lens, bool turned) {
    ApplyChange({kBackupLens}, [&](app::DesignState& d) {
        const LensTake take = ui::TakeCatalogueLens(d, lens, turned);
        if (take.refusal) dialogs_.Message(*take.refusal, Icon::Exclamation);
        return take.changed;
    });
}

void MainWindow::UseLensStopRadius() {
    ApplyChange({kBackupTypedValue}, [](app::DesignState& d) { return UseOfferedStopRadius(d); });
}

}  // namespace rs::ui
