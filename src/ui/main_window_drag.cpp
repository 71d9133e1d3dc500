#include "ui/main_window.h"

// Dragging in the drawings: the window's side of a drag, one undo step from mouse-down to
// mouse-up.
#include <utility>

#include "app/presentation.h"
#include "text/tr.h"

namespace rs::ui {

bool MainWindow::BeginDrag() {
    return s_.machine.TryEnter(Busy::Dragging);
}

bool MainWindow::DragChange(std::optional<Snapshot>& before,
                            const std::function<bool(app::DesignState&)>& change,
                            const std::function<bool(const app::DesignState&)>& accept) {
    if (!s_.machine.IsDragging()) return false;
    // A step the solve refuses is taken back whole: the previous design, its solution and its
    // picture stay.
    std::optional<app::DesignState> prior;
    if (accept) prior = s_.design;
    if (!change(s_.design)) return false;
    Recalculate(true);
    if (prior && !accept(s_.design)) {
        s_.design = std::move(*prior);
        s_.results = app::ResultRows(s_.design, true, s_.resultCache, s_.beamCache);
        return false;
    }
    // The whole drag is one undo step: the state at mouse-down, stored on the first change.
    if (before) {
        s_.backup.TakeDragBackup(std::move(*before));
        before.reset();
        s_.dragChanged = true;
    }
    s_.changePending = true;
    return true;
}

void MainWindow::EndDrag(const std::function<void(app::DesignState&)>& settle) {
    if (!s_.machine.IsDragging()) return;
    if (settle) settle(s_.design);
    // The whole drag is one step of the history, from mouse-down to what mouse-up settled.
    if (std::exchange(s_.dragChanged, false) && s_.backup.Backup()) {
        const Snapshot& atMouseDown = *s_.backup.Backup();
        RecordStep(
            atMouseDown,
            MovedStepName(s_, text::Tr("Zeichnung gezogen"), atMouseDown, Capture(s_.design)),
            false);
    }
    s_.machine.Leave();
    Refresh(false);
    FinishUpdate(false);
}

}  // namespace rs::ui
