#include "render/report_page.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstddef>

#include "app/presentation.h"
#include "render/qt_surface.h"

namespace rs::render {
namespace {

constexpr double kTwipsPerInch = 1440.0;
// Half an inch on every side: within what every printer can reach, and the value column at
// 6120 twips plus a beam report's second axis at 8280 twips still fit in the width left.
constexpr double kMarginMm = 12.7;
// The picture starts at the section headings' indent and runs to the right margin.
constexpr double kPictureLeftTwips = 1440.0;
// Its height to width, that of a typical drawing area of the window.
constexpr double kPictureAspect = 7.0 / 12.0;
// Below this height (inches) a picture is unreadable; the page then goes without one.
constexpr double kMinPictureInches = 1.0;
constexpr double kGapInches = 0.2;
// One surface pixel of the picture on paper: a screen pixel of 1/96 inch, so that the marks
// and labels keep the proportions they have in the window.
constexpr double kSurfacePixelsPerInch = 96.0;
constexpr int kBodyPointSize = 10;
constexpr int kFooterPointSize = 8;

QString FromUtf8(const std::string& text) {
    QString s = QString::fromStdString(text);
    // A tab after a name only moved the print head in the original layout; the value has its
    // own position, so it is a blank here (a tab glyph would print as a box).
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return s;
}

QFont ReportFont(int pointSize, bool bold) {
    QFont font = LabelFont();
    font.setPointSize(std::clamp(pointSize, 4, 72));
    font.setBold(bold);
    return font;
}

}  // namespace

QString LongGermanDate(const QDate& date) {
    return QLocale(QLocale::German, QLocale::Germany).toString(date, QLocale::LongFormat);
}

bool PaintReportPage(QPagedPaintDevice& device, const engine::ReportPage& page,
                     const ReportDecoration& decoration) {
    // Printers that cannot take these keep their own setup; the page is laid out in whatever
    // printable area they report.
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    const double dpiX = device.logicalDpiX(), dpiY = device.logicalDpiY();
    const double pageWidth = device.width(), pageHeight = device.height();
    auto twips = [&](double t) { return t * dpiX / kTwipsPerInch; };

    // Footer: a thin rule, then one line with the program and the date, and the page number.
    const QFont footerFont = ReportFont(kFooterPointSize, false);
    const QFontMetricsF footerMetrics(footerFont, &device);
    const double footerTop = pageHeight - footerMetrics.height() - 0.08 * dpiY;
    const double bodyBottom = footerTop - kGapInches * dpiY;

    double y = 0.0;
    const QFontMetricsF bodyMetrics(ReportFont(kBodyPointSize, false), &device);
    for (const engine::ReportRow& row : page.rows) {
        // An empty row is one line of body text; a row's pieces share one baseline, set by
        // its tallest font.
        double lineHeight = row.pieces.empty() ? bodyMetrics.height() : 0.0;
        double ascent = 0.0;
        for (const engine::ReportPiece& piece : row.pieces) {
            const QFontMetricsF metrics(ReportFont(piece.pointSize, piece.bold), &device);
            lineHeight = std::max(lineHeight, metrics.height());
            ascent = std::max(ascent, metrics.ascent());
        }
        if (y + lineHeight > bodyBottom) break;
        for (const engine::ReportPiece& piece : row.pieces) {
            const QFont font = ReportFont(piece.pointSize, piece.bold);
            const QString text = FromUtf8(piece.text);
            double x = twips(piece.x);
            if (piece.alignRight) {
                x = pageWidth - x - QFontMetricsF(font, &device).horizontalAdvance(text);
            }
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(x, y + ascent), text);
        }
        y += lineHeight;
    }

    if (decoration.picture) {
        const double left = twips(kPictureLeftTwips);
        const double top = y + kGapInches * dpiY;
        const double width = pageWidth - left;
        const double height = std::min(width * kPictureAspect, bodyBottom - top);
        if (width > 0.0 && height >= kMinPictureInches * dpiY) {
            const double scale = dpiX / kSurfacePixelsPerInch;
            painter.save();
            painter.translate(left, top);
            painter.scale(scale, dpiY / kSurfacePixelsPerInch);
            {
                QtSurface surface(
                    painter, QRectF(0.0, 0.0, width / scale, height * kSurfacePixelsPerInch / dpiY),
                    kTwipsPerInch / kSurfacePixelsPerInch);
                decoration.picture(surface);
            }
            painter.restore();
            painter.setPen(QPen(Qt::darkGray, dpiX / kSurfacePixelsPerInch));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(left, top, width, height));
        }
    }

    painter.setPen(QPen(Qt::darkGray, dpiX / kSurfacePixelsPerInch));
    painter.drawLine(QPointF(twips(kPictureLeftTwips), footerTop), QPointF(pageWidth, footerTop));
    painter.setFont(footerFont);
    painter.setPen(Qt::black);
    const double baseline = pageHeight - footerMetrics.descent();
    const QString footer =
        QStringLiteral("Raysketcher %1 – erstellt am %2")
            .arg(QString::fromStdString(decoration.version), decoration.dateText);
    painter.drawText(QPointF(twips(kPictureLeftTwips), baseline), footer);
    const QString pageNumber = QStringLiteral("Seite 1");
    painter.drawText(QPointF(pageWidth - footerMetrics.horizontalAdvance(pageNumber), baseline),
                     pageNumber);
    return painter.end();
}

void PaintDesignPicture(QPainter& painter, const QRectF& area, const app::DesignState& design) {
    QtSurface surface(painter, area);
    surface.Clear();
    app::DrawingMemory memory;
    app::DrawDesign(surface, design, false, memory);
}

bool PaintDesignReport(QPagedPaintDevice& device, const engine::ReportPage& page,
                       const app::DesignState& design, const QString& dateText) {
    ReportDecoration decoration;
    decoration.version = std::string(app::Version());
    decoration.dateText = dateText;
    decoration.picture = [&design](drawing::Surface& surface) {
        app::DrawingMemory memory;
        app::DrawDesign(surface, design, false, memory, true);
    };
    return PaintReportPage(device, page, decoration);
}

}  // namespace rs::render
