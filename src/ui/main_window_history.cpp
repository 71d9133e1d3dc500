#include "text/tr.h"
#include "ui/main_window.h"

// The design history: walking it with the keys, and picking a step from its list.
#include <utility>

namespace rs::ui {

void MainWindow::Walk(HistoryWalk walk) {
    ApplyChange({kBackupHistory, 0, true, true}, [&](app::DesignState& d) {
        const auto state = walk == HistoryWalk::Back ? s_.history.Back() : s_.history.Forward();
        if (!state) return false;
        Restore(d, *state);
        return true;
    });
}

void MainWindow::PickHistoryRow(int row) {
    const auto state = s_.history.StateOfRow(row);
    if (!state) return;
    const std::string name = row == 0 ? std::string(kHistoryStartText)
                                      : s_.history.Steps()[static_cast<std::size_t>(row - 1)].name;
    ApplyChange({kBackupHistory, 0, true, true, false, text::TrFormat("Zurück zu: %1", {name})},
                [&](app::DesignState& d) {
                    if (Capture(d) == *state) return false;
                    Restore(d, *state);
                    return true;
                });
}

}  // namespace rs::ui
