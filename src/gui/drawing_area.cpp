#include "gui/drawing_area.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/main_window.h"

namespace rs::gui {

DrawingArea::DrawingArea(ui::MainWindow& window, QWidget* parent)
    : QWidget(parent), window_(window) {
    setObjectName("pctDrg");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The drawing paints its whole area itself: no background fill by the toolkit first.
    setAttribute(Qt::WA_OpaquePaintEvent);

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

void DrawingArea::PaintDrawing(QPainter&, const QRect&) {}

}  // namespace rs::gui
