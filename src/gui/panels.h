#pragma once
// The panels of the main window. Each builder makes its widgets through the context's registry,
// wires their events to the logic and returns the panel for the window to lay out; captions,
// items and states arrive with the first Render.
class QTabWidget;
class QWidget;

namespace rs::gui {

struct PanelContext;

// The option tabs of the left column.
QWidget* BuildParamsTab(const PanelContext& ctx);
QWidget* BuildSlidersTab(const PanelContext& ctx);
QWidget* BuildAdvancedTab(const PanelContext& ctx);

// Below the tabs: the modes and display options, and the command buttons.
QWidget* BuildModeBox(const PanelContext& ctx);
QWidget* BuildButtons(const PanelContext& ctx);
// Each of the buttons keeps room for its caption; called once the view has given the captions.
void KeepRoomForCaptions(QWidget* buttons);
// Ctrl+P and Ctrl+Q anywhere in `window` click Drucken and Ende (Ctrl+Z walks the history).
void AddCommandKeys(QWidget* window, QWidget* buttons);

// Below the drawing: the result list and the extras of either mode.
QWidget* BuildResults(const PanelContext& ctx);
QTabWidget* BuildExtraInfo(const PanelContext& ctx);
// The paraxial extras' page with the small aperture/field plot.
QWidget* BuildApFieldPage(const PanelContext& ctx);
QTabWidget* BuildExtraInfoGB(const PanelContext& ctx);

}  // namespace rs::gui
