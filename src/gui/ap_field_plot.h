#pragma once
// The aperture/field plot on screen: the plot in its frame with the two axes (the angles left of
// it, the f-numbers below), the lens types under the cursor highlighted, and the design's
// cross-hair. The same widget serves the small plot of the main window (picApFld) and the large
// one of the plot window; what the cursor reads out and what a click does come from
// ui/ap_field_view.h, the widget only measures pixels and paints.
//
// Painting all the regions with their names takes about a millisecond and a half, too long for
// every mouse move: the plot without highlights is kept as an image for its size, mode and
// design, and only the highlighted outlines and the cross-hair are painted over it.
#include <QPixmap>
#include <QPointF>
#include <QWidget>
#include <functional>
#include <optional>

#include "analysis/lens_ideas.h"
#include "drawing/ap_field_drawing.h"
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
    // Mouse-up over the plot, at a point of the plane with the types there.
    void OnClick(std::function<void(const analysis::PlotPoint&, const std::vector<int>&)> click) {
        click_ = std::move(click);
    }

    // Follows the window's state: the catalogue of the mode and the design's point. Repaints
    // only what changed; with the cursor over the plot its read-out is taken anew.
    void Refresh();

    // Where the plot lies in the widget: its frame, axes and regions in widget pixels.
    const drawing::ApFieldLayout& Layout() const { return layout_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The frame, axes and regions for the current size and mode.
    void Arrange();
    // The plot without highlights, painted into the kept image.
    void PaintFixedPart();
    void Hover(QPointF position);
    void Unhover();

    const ui::MainWindow& window_;
    Style style_;
    QSize axesRoom_;  // what the axes take beside and below the frame, in the label font
    ui::ApFieldPlotView shown_;
    drawing::ApFieldLayout layout_;
    std::vector<int> highlighted_;
    std::optional<QPointF> cursor_;  // while over the widget
    QPixmap fixed_;                  // null when it must be painted anew
    std::function<void(const ui::ApFieldHover&)> hover_;
    std::function<void(const analysis::PlotPoint&, const std::vector<int>&)> click_;
};

// The view names the plot so that every rendering of the window has it follow the state.
void WriteView(ApFieldPlotWidget& plot, const ui::ControlView& view, Written& written);

}  // namespace rs::gui
