#pragma once
// frmApFldPlot: the aperture/field plot in a window of its own, larger than in the main window,
// with every f-number numbered and the types' full names, and sample pictures of the lens or
// mirror types: a cross-section of the chosen type (picLens) and its ray path (picLensRays),
// chosen on a tab strip (tabSampleLenses, or tabSamplesMirrors in the mirror mode) or by a
// click into a type's region. Hover and click work as in the small plot. The window does not
// block the main window; it keeps its place per user (ui/placement.h).
#include <QDialog>
#include <functional>

#include "app/user_settings_store.h"
#include "ui/main_window.h"

class QHideEvent;
class QLabel;
class QTabBar;

namespace rs::gui {

// A window of its own placed where the user left it last time (under `section` of the per-user
// store, ui/placement.h), or centred at its preferred size; and its place stored as it closes.
void PlaceAsKept(QWidget& window, const app::UserSettingsStore& store, const char* section);
void KeepPlace(const QWidget& window, const QHideEvent& event, app::UserSettingsStore& store,
               const char* section);

class ApFieldPlotWidget;
class LensSketchView;

class FrmApFldPlot final : public QDialog {
    Q_OBJECT
public:
    // Runs one handler of the window logic and renders the main window (its Act).
    using Act = std::function<void(const std::function<void()>&)>;
    // `logic` and `store` must outlive the window.
    FrmApFldPlot(ui::MainWindow& logic, app::UserSettingsStore& store, Act act,
                 QWidget* parent = nullptr);

    // Shows the window where the user left it last time (or centred), in front.
    void Open();
    // Follows the main window after a change: the design's point, the mode and its samples.
    void Refresh();

    ApFieldPlotWidget* Plot() const { return plot_; }

protected:
    // Closing, Escape or the main window closing: the place is stored.
    void hideEvent(QHideEvent* event) override;

private:
    QTabBar* Samples() const;
    void ShowSample();

    ui::MainWindow& logic_;
    app::UserSettingsStore& store_;
    Act act_;
    ApFieldPlotWidget* plot_;
    QTabBar* lensTabs_;
    QTabBar* mirrorTabs_;
    LensSketchView* lens_;
    LensSketchView* rays_;
};

}  // namespace rs::gui
