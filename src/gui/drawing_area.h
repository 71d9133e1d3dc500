#pragma once
// The drawing of the main window (pctDrg). The window only asks it to repaint after a change;
// what is painted, and later the drag editing on it, live here and in src/drawing, so the window
// does not change when the drawings arrive.
#include <QWidget>
#include <optional>

#include "drawing/drawing_scale.h"
#include "drawing/paraxial_drawing.h"
#include "ui/paraxial_drag.h"

namespace rs::ui {
class MainWindow;
}

class QLabel;

namespace rs::gui {

class DrawingArea : public QWidget {
    Q_OBJECT
public:
    explicit DrawingArea(ui::MainWindow& window, QWidget* parent = nullptr);

    // The two notes shown over the drawing.
    QLabel* VirtualImageLabel() const { return virtualImage_; }
    QLabel* InvalidCalcsLabel() const { return invalidCalcs_; }

    QSize sizeHint() const override { return {520, 360}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

signals:
    // A drag changed the design: the window shows the new values.
    void designChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    // Paints the current design into `area` on a cleared white background.
    virtual void PaintDrawing(QPainter& painter, const QRect& area);

    // Mouse-down grabs a feature of the paraxial drawing, moves drag it, mouse-up lets go.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    ui::MainWindow& window_;

private:
    QLabel* virtualImage_;
    QLabel* invalidCalcs_;
    // Kept between redraws: frozen while a drag is under way, so the picture does not rescale
    // under the mouse and the grab maps pixels with the scale it started with.
    drawing::DrawingExtents extents_;
    drawing::ParaxialTouchPoints touch_;
    std::optional<ui::DragSession> drag_;
};

}  // namespace rs::gui
