#include "ui/main_window.h"

// What the units dialog and the symbols editor hand back, and the page the print dialog prints.
#include <utility>

#include "app/presentation.h"
#include "text/tr.h"

namespace rs::ui {

void MainWindow::ReloadSymbols() {
    ApplyChange({kNoBackup, 0, false, true}, [&](app::DesignState& d) {
        LoadSymbols(d);
        return false;
    });
}

void MainWindow::ApplyUnits(const units::UnitState& chosen) {
    ApplyChange({kNoBackup, 0, false, true}, [&](app::DesignState& d) {
        d.units = chosen;
        for (const auto& [key, value] : units::SaveUnits(chosen)) {
            if (!SaveImmediate("Units", key, value)) break;  // one message is enough
        }
        return false;
    });
}

// --- Printing -------------------------------------------------------------------------------

std::optional<engine::ReportPage> MainWindow::PrintPage(std::string_view dateText) {
    BusyScope busy(s_.machine);
    if (!busy) return std::nullopt;
    engine::ReportResult report = app::BuildReport(s_.design, dateText);
    if (report.refusal) {
        dialogs_.Message(text::Tr(*report.refusal), Icon::Exclamation);
        return std::nullopt;
    }
    return std::move(report.page);
}

}  // namespace rs::ui
