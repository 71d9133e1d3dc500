#pragma once
// The drawing port on a QPainter: the same code paints the picture in the window, into a
// QImage for PNG export, into an SVG generator and onto a printed page.
//
// The surface works in "surface pixels": the coordinates of the painter as the caller set it
// up. On a screen widget or an image they are device pixels; on paper the caller scales the
// painter so that one surface pixel is a screen-sized pixel (1/96 inch), which keeps the
// drawing's pixel-sized marks (arrowheads, ticks, margins) and its labels in proportion.
#include <QFont>
#include <QRectF>

#include "drawing/surface.h"

class QColor;
class QPainter;

namespace rs::render {

// 0xBBGGRR (red in the low byte) as the drawings store colours.
QColor ToQColor(drawing::Colour colour);

// The label font of every drawing: a plain sans serif, sized in pixels so that it measures the
// same on every device (9 pt on a 96-dpi screen).
QFont LabelFont();

class QtSurface : public drawing::Surface {
public:
    // Paints through `painter` inside `area` (in the painter's current coordinates), and
    // nothing outside it. `twipsPerPixel`: 1440 divided by the surface pixels per inch.
    QtSurface(QPainter& painter, const QRectF& area, double twipsPerPixel = 15.0);
    // Restores the painter's state as the caller left it.
    ~QtSurface() override;
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

    void Clear() override;
    void Line(double x1, double y1, double x2, double y2, const drawing::Pen& pen) override;
    void Polyline(std::span<const drawing::PixelPoint> points, const drawing::Pen& pen) override;
    void Box(double x1, double y1, double x2, double y2, drawing::Colour colour,
             bool filled) override;
    void Circle(double cx, double cy, double radius, drawing::Colour colour, bool filled) override;
    void Text(double x, double y, std::string_view text, drawing::Colour colour) override;
    drawing::TextExtent MeasureText(std::string_view text) const override;
    void RotatedText(double x, double y, std::string_view text,
                     const drawing::RotatedFont& font) override;
    drawing::ScaleRect Scale() const override;
    bool FontIsBold() const override { return font_.bold(); }
    double TwipsPerPixel() const override { return twipsPerPixel_; }

private:
    QPainter& painter_;
    QRectF area_;
    double twipsPerPixel_;
    QFont font_;
};

}  // namespace rs::render
