#pragma once
// The design history in the window: the "Verlauf" page with the list of steps, and the keys that
// walk it. Both only forward to ui::MainWindow, which decides what a step and a walk are.
class QWidget;

namespace rs::gui {

struct PanelContext;

// The page with lstHistory (a click on an entry restores its state) and the buttons that pin
// the current design as the reference and clear it.
QWidget* BuildHistoryPage(const PanelContext& ctx);
// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y anywhere in `window` walk the history.
void AddHistoryKeys(QWidget* window, const PanelContext& ctx);

}  // namespace rs::gui
