#pragma once
// The aperture/field plot on screen: the plot with its two axis strips (the angles left of it,
// the f-numbers below), the lens types under the cursor highlighted, and the design's
// cross-hair. The same widget serves the small plot of the main window (picApFld) and the large
// one of the plot window; what the cursor reads out and what a click does come from
// ui/ap_field_view.h, the widget only measures pixels and paints.
//
// Painting all the regions with their names takes about a millisecond and a half, too long for
// every mouse move: the plot without marks is kept as an image for its size and mode, and only
// the highlighted outlines and the cross-hair are painted over it.
#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <functional>
#include <optional>

#include "analysis/lens_ideas.h"
#include "gui/control_registry.h"
#include "ui/ap_field_view.h"

namespace rs::gui {

class ApFieldPlotWidget final : public QWidget {
    Q_OBJECT
public:
    struct Style {
        bool shortNames = true;   // the small plot: short names
        bool allNumbers = false;  // the large plot: a number at every f-number tick
    };
    ApFieldPlotWidget(const ui::MainWindow& window, Style style, QWidget* parent = nullptr);

    // The texts under the cursor, each time they may have changed (empty when it left the plot).
    void OnHover(std::function<void(const ui::ApFieldHover&)> hover) { hover_ = std::move(hover); }
    // Mouse-up over the plot, at plot pixel (px, py) with the types there.
    void OnClick(std::function<void(double px, double py, const std::vector<int>& classes)> click) {
        click_ = std::move(click);
    }

    // Follows the window's state: the catalogue of the mode and the design's point. Repaints
    // only what changed; with the cursor over the plot its read-out is taken anew.
    void Refresh();

    // The plot's geometry: its axes and regions, and where its top left corner lies in the
    // widget. Plot pixels are widget pixels minus that corner.
    const analysis::ApFieldPlot& Plot() const { return plot_; }
    QPointF PlotCorner() const { return plotArea_.topLeft(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The plot and strip areas, and the plot's axes and regions, for the current size and mode.
    void Arrange();
    // The plot without marks and its strips, painted into the kept image.
    void PaintFixedPart();
    void Hover(QPointF position);
    void Unhover();

    const ui::MainWindow& window_;
    Style style_;
    double stripWidth_ = 0.0;   // the field strip's, in the label font
    double stripHeight_ = 0.0;  // the aperture strip's
    QRectF plotArea_;
    ui::ApFieldPlotView shown_;
    analysis::ApFieldPlot plot_;
    std::vector<int> highlighted_;
    std::optional<QPointF> cursor_;  // while over the widget
    QPixmap fixed_;                  // null when it must be painted anew
    std::function<void(const ui::ApFieldHover&)> hover_;
    std::function<void(double, double, const std::vector<int>&)> click_;
};

// The view names the plot so that every rendering of the window has it follow the state.
void WriteView(ApFieldPlotWidget& plot, const ui::ControlView& view, Written& written);

}  // namespace rs::gui
