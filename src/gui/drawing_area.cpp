#include "gui/drawing_area.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "app/presentation.h"
#include "gui/qt_text.h"
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

    virtualImage_ = new QLabel(QTr("Virtuelles Bild"), this);
    virtualImage_->setObjectName("lblVirtualImage");
    invalidCalcs_ = new QLabel(QTr("Zu diesem Parameter-Satz gibt es keine Lösungen."), this);
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

    // The read-out of the beam, in a row of its own below the picture (the window places it):
    // two lines high whether it shows something or not, so the picture never jumps.
    hover_ = new QLabel;
    hover_->setObjectName("lblGBHoverInfo");
    hover_->setTextFormat(Qt::PlainText);
    hover_->setMinimumWidth(0);
    hover_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    hover_->setFixedHeight(2 * hover_->fontMetrics().lineSpacing() + 4);

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
    app::DrawDesign(surface, state.design, state.machine.IsDragging(), memory_, false,
                    state.referenceShown ? &*state.referenceShown : nullptr);
}

void DrawingArea::mousePressEvent(QMouseEvent* event) {
    if (drag_ || beamDrag_) return;
    const QPointF p = event->position();
    if (window_.State().design.beam.beamMode) {
        beamDrag_ = ui::BeginBeamDrag(window_, memory_.beam.touch, p.x(), p.y());
        if (!beamDrag_) return;
    } else {
        drag_ = ui::BeginParaxialDrag(window_, memory_.touch, p.x(), p.y());
        if (!drag_) return;
    }
    ShowHover({}, {});
    emit designChanged();
    update();
}

void DrawingArea::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    bool moved = false;
    if (drag_) {
        moved = ui::DragTo(window_, *drag_, p.x(), p.y());
    } else if (beamDrag_) {
        moved = ui::BeamDragTo(window_, *beamDrag_, p.x(), p.y());
    } else {
        Hover(p);
        return;
    }
    if (moved) {
        emit designChanged();
        update();
    }
}

void DrawingArea::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_) {
        ui::EndParaxialDrag(window_, *drag_);
        drag_.reset();
    } else if (beamDrag_) {
        ui::EndBeamDrag(window_, *beamDrag_);
        beamDrag_.reset();
    } else {
        return;
    }
    emit designChanged();
    // Painted now, so the read-out under the still mouse uses the new picture's scale rather
    // than the one frozen during the drag.
    repaint();
    Hover(event->position());
}

void DrawingArea::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!drag_ && !beamDrag_) ShowHover({}, {});
}

void DrawingArea::Hover(QPointF p) {
    const ui::WindowState& state = window_.State();
    bool h = false, v = false;
    if (state.design.beam.beamMode) {
        const ui::BeamDragTarget target = ui::BeamTargetAt(state, memory_.beam.touch, p.x(), p.y());
        h = ui::MovesHorizontally(target);
        v = ui::MovesVertically(target);
        const auto info = state.machine.IsIdle()
                              ? ui::BeamHoverInfo(state.design, memory_.beam, p.x(), p.y())
                              : std::nullopt;
        if (info) {
            ShowHover(QString::fromStdString(info->text), render::ToQColor(info->colour));
        } else {
            ShowHover({}, {});
        }
    } else {
        const ui::DragTarget target = ui::TargetAt(state, memory_.touch, p.x(), p.y());
        h = ui::MovesHorizontally(target);
        v = ui::MovesVertically(target);
        ShowHover({}, {});
    }
    setCursor(h && v ? Qt::SizeAllCursor
              : h    ? Qt::SizeHorCursor
              : v    ? Qt::SizeVerCursor
                     : Qt::ArrowCursor);
}

void DrawingArea::ShowHover(const QString& text, QColor colour) {
    if (text.isEmpty()) {
        hover_->clear();
        return;
    }
    QPalette palette = hover_->palette();
    palette.setColor(QPalette::WindowText, colour);
    hover_->setPalette(palette);
    hover_->setText(text);
}

}  // namespace rs::gui
