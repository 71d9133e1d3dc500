#include "gui/drawing_area.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "app/presentation.h"
#include "render/qt_surface.h"
#include "ui/main_window.h"

namespace rs::gui {

DrawingArea::DrawingArea(ui::MainWindow& window, QWidget* parent)
    : QWidget(parent), window_(window) {
    setObjectName("pctDrg");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The drawing paints its whole area itself: no background fill by the toolkit first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button pressed set the cursor over grabbable features.
    setMouseTracking(true);

    virtualImage_ = new QLabel("Virtuelles Bild", this);
    virtualImage_->setObjectName("lblVirtualImage");
    invalidCalcs_ = new QLabel("Zu diesem Parameter-Satz gibt es keine Lösungen.", this);
    invalidCalcs_->setObjectName("lblInvalidCalcs");
    for (QLabel* label : {virtualImage_, invalidCalcs_}) {
        label->setMargin(4);
        label->setAutoFillBackground(true);
        label->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        label->hide();
    }
    QFont bold = invalidCalcs_->font();
    bold.setBold(true);
    invalidCalcs_->setFont(bold);

    // The notes sit in the drawing's top left corner, in front of it.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(virtualImage_, 0, Qt::AlignLeft);
    layout->addWidget(invalidCalcs_, 0, Qt::AlignLeft);
    layout->addStretch(1);
}

void DrawingArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintDrawing(painter, rect());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void DrawingArea::PaintDrawing(QPainter& painter, const QRect& area) {
    const ui::WindowState& state = window_.State();
    render::QtSurface surface(painter, QRectF(area));
    app::DrawDesign(surface, state.design, state.machine.IsDragging(), extents_, touch_);
}

void DrawingArea::mousePressEvent(QMouseEvent* event) {
    if (drag_) return;
    const QPointF p = event->position();
    drag_ = ui::BeginParaxialDrag(window_, touch_, p.x(), p.y());
    if (!drag_) return;
    emit designChanged();
    update();
}

void DrawingArea::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    if (!drag_) {
        const ui::DragTarget target = ui::TargetAt(window_.State(), touch_, p.x(), p.y());
        const bool h = ui::MovesHorizontally(target), v = ui::MovesVertically(target);
        setCursor(h && v ? Qt::SizeAllCursor
                  : h    ? Qt::SizeHorCursor
                  : v    ? Qt::SizeVerCursor
                         : Qt::ArrowCursor);
        return;
    }
    if (ui::DragTo(window_, *drag_, p.x(), p.y())) {
        emit designChanged();
        update();
    }
}

void DrawingArea::mouseReleaseEvent(QMouseEvent*) {
    if (!drag_) return;
    ui::EndParaxialDrag(window_, *drag_);
    drag_.reset();
    emit designChanged();
    update();
}

}  // namespace rs::gui
