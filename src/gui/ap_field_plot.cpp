#include "gui/ap_field_plot.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "drawing/ap_field_drawing.h"
#include "render/qt_surface.h"

namespace rs::gui {
namespace {

// The least plot between the strips: room for the regions' outlines, if not for every name.
constexpr int kLeastPlotWidth = 130;
constexpr int kLeastPlotHeight = 110;

}  // namespace

ApFieldPlotWidget::ApFieldPlotWidget(const ui::MainWindow& window, Style style, QWidget* parent)
    : QWidget(parent), window_(window), style_(style), shown_(ui::ApFieldPlotOf(window.State())) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::CrossCursor);
    // The strips are as large as their texts in the drawings' label font.
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    const render::QtSurface surface(painter, QRectF(0, 0, 1, 1));
    stripWidth_ = std::ceil(drawing::FieldStripWidth(surface));
    stripHeight_ = std::ceil(drawing::ApertureStripHeight(surface));
}

QSize ApFieldPlotWidget::sizeHint() const {
    const QSize plot = style_.shortNames ? QSize(300, 220) : QSize(720, 380);
    return {static_cast<int>(stripWidth_) + plot.width(),
            plot.height() + static_cast<int>(stripHeight_)};
}

QSize ApFieldPlotWidget::minimumSizeHint() const {
    return {static_cast<int>(stripWidth_) + kLeastPlotWidth,
            kLeastPlotHeight + static_cast<int>(stripHeight_)};
}

void ApFieldPlotWidget::Arrange() {
    const int plotWidth = std::max(0, width() - static_cast<int>(stripWidth_));
    const int plotHeight = std::max(0, height() - static_cast<int>(stripHeight_));
    plotArea_ = QRectF(stripWidth_, 0, plotWidth, plotHeight);
    plot_ = analysis::MakeApFieldPlot(plotWidth, plotHeight, shown_.mirror);
    fixed_ = QPixmap();
}

void ApFieldPlotWidget::Refresh() {
    const ui::ApFieldPlotView now = ui::ApFieldPlotOf(window_.State());
    if (now != shown_) {
        const bool modeChanged = now.mirror != shown_.mirror;
        shown_ = now;
        if (modeChanged) {
            Arrange();
            highlighted_.clear();
        }
        update();
    }
    // The read-out depends on the whole design: under a resting cursor it is taken anew.
    if (cursor_) Hover(*cursor_);
}

void ApFieldPlotWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void ApFieldPlotWidget::PaintFixedPart() {
    const qreal ratio = devicePixelRatioF();
    fixed_ = QPixmap(size() * ratio);
    fixed_.setDevicePixelRatio(ratio);
    fixed_.fill(Qt::white);
    QPainter painter(&fixed_);
    {
        render::QtSurface surface(painter, plotArea_);
        drawing::ApFieldDrawing plain;
        plain.shortNames = style_.shortNames;
        plain.colours = true;
        drawing::DrawApFieldPlot(surface, plot_, plain);
    }
    {
        render::QtSurface surface(
            painter, QRectF(plotArea_.left(), plotArea_.bottom(), plotArea_.width(), stripHeight_));
        drawing::DrawApertureStrip(surface, plot_.x, style_.allNumbers);
    }
    render::QtSurface surface(painter, QRectF(0, 0, stripWidth_, plotArea_.height()));
    drawing::DrawFieldStrip(surface, plot_.y);
}

void ApFieldPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (fixed_.isNull() || fixed_.deviceIndependentSize().toSize() != size()) PaintFixedPart();
    painter.drawPixmap(0, 0, fixed_);
    {
        render::QtSurface surface(painter, plotArea_);
        drawing::ApFieldDrawing marks;
        marks.design = shown_.design;
        marks.highlighted = highlighted_;
        marks.shortNames = style_.shortNames;
        marks.colours = true;
        drawing::DrawApFieldMarks(surface, plot_, marks);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ApFieldPlotWidget::Hover(QPointF position) {
    cursor_ = position;
    const QPointF p = position - plotArea_.topLeft();
    ui::ApFieldHover hover = ui::ApFieldHoverAt(window_.State(), plot_, p.x(), p.y());
    if (hover.classes != highlighted_) {
        highlighted_ = hover.classes;
        update(plotArea_.toAlignedRect());
    }
    if (hover_) hover_(hover);
}

void ApFieldPlotWidget::Unhover() {
    cursor_.reset();
    if (!highlighted_.empty()) {
        highlighted_.clear();
        update(plotArea_.toAlignedRect());
    }
    if (hover_) hover_({});
}

void ApFieldPlotWidget::mouseMoveEvent(QMouseEvent* event) {
    Hover(event->position());
}

void ApFieldPlotWidget::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    Unhover();
}

void ApFieldPlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !click_) return;
    const QPointF p = event->position() - plotArea_.topLeft();
    click_(p.x(), p.y(), analysis::LensClassesAt(plot_, p.x(), p.y()).classes);
}

void WriteView(ApFieldPlotWidget& plot, const ui::ControlView&, Written&) {
    plot.Refresh();
}

}  // namespace rs::gui
