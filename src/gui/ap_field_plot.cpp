#include "gui/ap_field_plot.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "render/qt_surface.h"

namespace rs::gui {
namespace {

// The least frame between the axes: room for the regions' outlines, if not for every name.
constexpr int kLeastPlotWidth = 130;
constexpr int kLeastPlotHeight = 110;

// A surface that only measures texts in the drawings' label font.
template <typename Use>
auto WithProbe(const QRectF& area, Use use) {
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    const render::QtSurface surface(painter, area);
    return use(surface);
}

}  // namespace

ApFieldPlotWidget::ApFieldPlotWidget(const ui::MainWindow& window, Style style, QWidget* parent)
    : QWidget(parent), window_(window), style_(style), shown_(ui::ApFieldPlotOf(window.State())) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::CrossCursor);
    // The axes take as much room as their texts in the drawings' label font.
    const QRectF area(0, 0, 1000, 1000);
    const drawing::ScaleRect box = WithProbe(area, [&](const drawing::Surface& surface) {
        return drawing::LayOutApFieldPlot(surface, {0, 0, 1000, 1000}, false, false).frame.box;
    });
    axesRoom_ = QSize(static_cast<int>(std::ceil(1000 - box.width)),
                      static_cast<int>(std::ceil(1000 - box.height)));
}

QSize ApFieldPlotWidget::sizeHint() const {
    const QSize plot = style_.shortNames ? QSize(300, 220) : QSize(720, 380);
    return plot + axesRoom_;
}

QSize ApFieldPlotWidget::minimumSizeHint() const {
    return QSize(kLeastPlotWidth, kLeastPlotHeight) + axesRoom_;
}

void ApFieldPlotWidget::Arrange() {
    const QRectF area(rect());
    layout_ = WithProbe(area, [&](const drawing::Surface& surface) {
        return drawing::LayOutApFieldPlot(surface, surface.Scale(), shown_.mirror,
                                          style_.allNumbers);
    });
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
        // The names make way for the design's mark: the kept plot is painted anew.
        fixed_ = QPixmap();
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
    QPainter painter(&fixed_);
    render::QtSurface surface(painter, QRectF(rect()));
    drawing::ApFieldDrawing plain;
    plain.design = shown_.design;
    plain.shortNames = style_.shortNames;
    plain.colours = true;
    drawing::DrawApFieldPlot(surface, layout_, plain);
}

void ApFieldPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (fixed_.isNull() || fixed_.deviceIndependentSize().toSize() != size()) PaintFixedPart();
    painter.drawPixmap(0, 0, fixed_);
    {
        render::QtSurface surface(painter, QRectF(rect()));
        drawing::ApFieldDrawing marks;
        marks.design = shown_.design;
        marks.highlighted = highlighted_;
        marks.shortNames = style_.shortNames;
        marks.colours = true;
        drawing::DrawApFieldMarks(surface, layout_, marks);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ApFieldPlotWidget::Hover(QPointF position) {
    cursor_ = position;
    ui::ApFieldHover hover =
        ui::ApFieldHoverAt(window_.State(), layout_, position.x(), position.y());
    if (hover.classes != highlighted_) {
        highlighted_ = hover.classes;
        update();
    }
    if (hover_) hover_(hover);
}

void ApFieldPlotWidget::Unhover() {
    cursor_.reset();
    if (!highlighted_.empty()) {
        highlighted_.clear();
        update();
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
    const ui::ApFieldHover at =
        ui::ApFieldHoverAt(window_.State(), layout_, event->position().x(), event->position().y());
    click_(at.point, at.classes);
}

void WriteView(ApFieldPlotWidget& plot, const ui::ControlView&, Written&) {
    plot.Refresh();
}

}  // namespace rs::gui
