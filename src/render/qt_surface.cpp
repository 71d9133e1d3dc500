#include "render/qt_surface.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace rs::render {
namespace {

// Label height in surface pixels: 9 pt at 96 pixels per inch.
constexpr int kLabelPixels = 12;
// Beyond these a width or a font size is nonsense from a caller; they are limited rather than
// handed to the raster engine, which would spend seconds on a line thousands of pixels wide.
constexpr int kMaxPenWidth = 64;
constexpr int kMaxFontPixels = 1000;
// Dotted lines: dash and gap lengths in pen widths. Two on, two off stays visible as a dotted
// line also where antialiasing spreads a diagonal dot over neighbouring pixels.
constexpr double kDot = 2.0;
constexpr double kGap = 2.0;
// Pixels of white drawn around a label's glyphs.
constexpr double kHalo = 1.0;

bool Finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QColor ToQColor(drawing::Colour colour) {
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

QFont LabelFont() {
    QFont font;
    // The first family that is installed wins; the style hint catches machines with none of them.
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kLabelPixels);
    return font;
}

QtSurface::QtSurface(QPainter& painter, const QRectF& area, double twipsPerPixel)
    : painter_(painter),
      area_(area.normalized()),
      twipsPerPixel_(twipsPerPixel > 0.0 && std::isfinite(twipsPerPixel) ? twipsPerPixel : 15.0),
      font_(LabelFont()) {
    painter_.save();
    // Labels of far-away points are printed at up to 100000 pixels; on a printed page they
    // must not land on the report's text.
    painter_.setClipRect(area_, Qt::IntersectClip);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setFont(font_);
}

QtSurface::~QtSurface() {
    painter_.restore();
}

void QtSurface::Clear() {
    painter_.fillRect(area_, Qt::white);
}

void QtSurface::Line(double x1, double y1, double x2, double y2, const drawing::Pen& pen) {
    if (!Finite({x1, y1, x2, y2})) return;
    const int width = std::clamp(pen.width, 1, kMaxPenWidth);
    QPen qpen(ToQColor(pen.colour), width);
    const bool dotted = pen.style == drawing::LineStyle::Dotted;
    const bool axisAligned = x1 == x2 || y1 == y2;
    if (dotted) {
        qpen.setDashPattern({kDot, kGap});
        qpen.setCapStyle(Qt::FlatCap);
    } else {
        // Square caps make an axis-parallel line cover exactly the pixels from end to end; round
        // ones let slanted rays meet cleanly at the element.
        qpen.setCapStyle(axisAligned ? Qt::SquareCap : Qt::RoundCap);
    }
    // Coordinates name whole pixels; the centre of pixel (x, y) is (x + 0.5, y + 0.5). A line of
    // odd width runs through pixel centres, one of even width along pixel edges, so that both
    // cover whole pixels. Parallel to an axis they are drawn without antialiasing: the axis and
    // the planes stay one crisp line instead of two grey ones.
    const double shift = width % 2 == 1 ? 0.5 : 0.0;
    painter_.setRenderHint(QPainter::Antialiasing, !axisAligned);
    painter_.setPen(qpen);
    painter_.drawLine(QPointF(x1 + shift, y1 + shift), QPointF(x2 + shift, y2 + shift));
}

void QtSurface::Polyline(std::span<const drawing::PixelPoint> points, const drawing::Pen& pen) {
    if (points.size() < 2) return;
    const int width = std::clamp(pen.width, 1, kMaxPenWidth);
    const double shift = width % 2 == 1 ? 0.5 : 0.0;
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const drawing::PixelPoint& p : points) {
        if (!Finite({p.x, p.y})) return;
        polygon.append(QPointF(p.x + shift, p.y + shift));
    }
    QPen qpen(ToQColor(pen.colour), width);
    if (pen.style == drawing::LineStyle::Dotted) {
        qpen.setDashPattern({kDot, kGap});
        qpen.setCapStyle(Qt::FlatCap);
    } else {
        qpen.setCapStyle(Qt::RoundCap);
        qpen.setJoinStyle(Qt::RoundJoin);
    }
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setPen(qpen);
    painter_.drawPolyline(polygon);
}

void QtSurface::Box(double x1, double y1, double x2, double y2, drawing::Colour colour,
                    bool filled) {
    if (!Finite({x1, y1, x2, y2})) return;
    const double left = std::min(x1, x2), top = std::min(y1, y2);
    const double width = std::fabs(x2 - x1), height = std::fabs(y2 - y1);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    if (filled) {
        // Both corner pixels belong to the box.
        painter_.fillRect(QRectF(left, top, width + 1.0, height + 1.0), ToQColor(colour));
        return;
    }
    QPen qpen(ToQColor(colour), 1);
    qpen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(qpen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRectF(left + 0.5, top + 0.5, width, height));
}

void QtSurface::Circle(double cx, double cy, double radius, drawing::Colour colour, bool filled) {
    if (!Finite({cx, cy, radius}) || radius < 0.0) return;
    const QColor qcolour = ToQColor(colour);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setPen(QPen(qcolour, 1));
    painter_.setBrush(filled ? QBrush(qcolour) : QBrush(Qt::NoBrush));
    painter_.drawEllipse(QPointF(cx + 0.5, cy + 0.5), radius, radius);
}

void QtSurface::Text(double x, double y, std::string_view text, drawing::Colour colour) {
    if (!Finite({x, y}) || text.empty()) return;
    const QFontMetricsF metrics(font_, painter_.device());
    const QPointF baseline(x, y + metrics.ascent());
    const QString s = FromUtf8(text);
    // Labels sit on the axis and on the element's plane (P is centred on it): a thin white
    // halo around the glyphs interrupts the lines beneath, so the letters stay readable. The
    // halo is the text itself in white, moved by a pixel in the eight directions: the toolkit
    // draws those from its glyph cache, where stroking the glyphs' outlines would cost a
    // thousand times as much for every label of every redraw.
    painter_.setFont(font_);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setPen(Qt::white);
    for (const QPointF offset :
         {QPointF(-kHalo, -kHalo), QPointF(0, -kHalo), QPointF(kHalo, -kHalo), QPointF(-kHalo, 0),
          QPointF(kHalo, 0), QPointF(-kHalo, kHalo), QPointF(0, kHalo), QPointF(kHalo, kHalo)}) {
        painter_.drawText(baseline + offset, s);
    }
    painter_.setPen(ToQColor(colour));
    painter_.drawText(baseline, s);
}

drawing::TextExtent QtSurface::MeasureText(std::string_view text) const {
    const QFontMetricsF metrics(font_, painter_.device());
    return {metrics.horizontalAdvance(FromUtf8(text)), metrics.height()};
}

void QtSurface::RotatedText(double x, double y, std::string_view text,
                            const drawing::RotatedFont& font) {
    if (!Finite({x, y}) || text.empty()) return;
    QFont turned = font_;
    if (!font.faceName.empty()) {
        QStringList families = font_.families();
        families.prepend(FromUtf8(font.faceName));
        turned.setFamilies(families);
    }
    if (font.pixelHeight != 0) {
        const long long height = std::llabs(static_cast<long long>(font.pixelHeight));
        turned.setPixelSize(static_cast<int>(std::clamp<long long>(height, 1, kMaxFontPixels)));
    }
    turned.setBold(font.weight >= 600);
    const QFontMetricsF metrics(turned, painter_.device());
    painter_.save();
    painter_.setFont(turned);
    painter_.setPen(Qt::black);
    painter_.translate(x, y);
    // Escapement counts tenths of a degree counter-clockwise; the painter turns clockwise on a
    // surface whose y axis points down.
    painter_.rotate(-static_cast<double>(font.escapement) / 10.0);
    painter_.drawText(QPointF(0.0, metrics.ascent()), FromUtf8(text));
    painter_.restore();
}

drawing::ScaleRect QtSurface::Scale() const {
    return {area_.left(), area_.top(), area_.width(), area_.height()};
}

}  // namespace rs::render
