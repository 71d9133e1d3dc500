#pragma once
// The "Messung" page of the beam options: the table of measured diameters, its unit choices and
// buttons, the plot of the fitted caustic, the fit's values and warnings, and the element's
// position with "Übernehmen". The page only copies what ui::measurement_panel says onto its
// widgets and hands every edit to it.
#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "gui/control_registry.h"
#include "ui/measurement_panel.h"

namespace rs::ui {
class MainWindow;
}

namespace rs::gui {

struct PanelContext;

// grdGBMeasure: one line per row and an empty last line for a new row. Ctrl+V pastes, Delete
// removes the chosen lines. Filled anew only while it can be seen and only when its texts
// changed, so a long table costs nothing while the user works elsewhere.
class MeasurementGridTable final : public QTableWidget {
    Q_OBJECT
public:
    explicit MeasurementGridTable(const PanelContext& ctx);

    void Refresh();
    // The lines chosen, for comGBMeasureRemove.
    std::vector<int> ChosenRows() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Paste();

    ui::MainWindow& logic_;
    std::function<void(const std::function<void()>&)> act_;
    std::optional<ui::MeasurementGrid> shown_;
};
void WriteView(MeasurementGridTable& grid, const ui::ControlView& view, Written& written);

// picGBMeasure: the caustic plot on the Surface port.
class CausticPlotWidget final : public QWidget {
    Q_OBJECT
public:
    explicit CausticPlotWidget(const ui::MainWindow& logic);
    QSize sizeHint() const override { return {320, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ui::MainWindow& logic_;
};
void WriteView(CausticPlotWidget& plot, const ui::ControlView& view, Written& written);

QWidget* BuildMeasurementPage(const PanelContext& ctx);

}  // namespace rs::gui
