#pragma once
// The drawing of the main window (pctDrg). The window only asks it to repaint after a change;
// what is painted, and later the drag editing on it, live here and in src/drawing, so the window
// does not change when the drawings arrive.
#include <QWidget>

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

protected:
    void paintEvent(QPaintEvent* event) override;
    // Paints the current design into `area` on a cleared white background. Empty for now.
    virtual void PaintDrawing(QPainter& painter, const QRect& area);

    ui::MainWindow& window_;

private:
    QLabel* virtualImage_;
    QLabel* invalidCalcs_;
};

}  // namespace rs::gui
