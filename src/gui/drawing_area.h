#pragma once
// The drawing of the main window (pctDrg): the paraxial system or the Gaussian beam, whichever
// mode is on, with drag editing of its features and, in the beam mode, the read-out of the beam
// under the cursor. The window only asks it to repaint after a change.
#include <QWidget>
#include <optional>

#include "app/presentation.h"
#include "ui/beam_drag.h"
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
    // The beam under the cursor (distance, radius, wavefront curvature), empty elsewhere. The
    // window places it below the picture and shows it in the beam mode.
    QLabel* HoverLabel() const { return hover_; }

    QSize sizeHint() const override { return {520, 360}; }
    // Low enough that the least window keeps the extras' tallest page whole below it.
    QSize minimumSizeHint() const override { return {240, 144}; }

signals:
    // A drag changed the design: the window shows the new values.
    void designChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    // Paints the current design into `area` on a cleared white background.
    virtual void PaintDrawing(QPainter& painter, const QRect& area);

    // Mouse-down grabs a feature of the drawing, moves drag it, mouse-up lets go.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

    ui::MainWindow& window_;

private:
    // The cursor shape over what a mouse-down would grab, and the beam read-out.
    void Hover(QPointF position);
    void ShowHover(const QString& text, QColor colour);

    QLabel* virtualImage_;
    QLabel* invalidCalcs_;
    QLabel* hover_;
    // Kept between redraws: frozen while a drag is under way, so the picture does not rescale
    // under the mouse and the grab maps pixels with the scale it started with.
    app::DrawingMemory memory_;
    std::optional<ui::DragSession> drag_;
    std::optional<ui::BeamDragSession> beamDrag_;
};

}  // namespace rs::gui
