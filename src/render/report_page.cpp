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
#include "text/tr.h"

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
    // The report model ends a user variable's name with a tab, the separator between name and
    // value; on the page every value has a column of its own, so the tab prints as a blank (a
    // tab glyph would print as a box).
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return s;
}

QFont ReportFont(int pointSize, bool bold) {
    QFont font = LabelFont();
    font.setPointSize(std::clamp(pointSize, 4, 72));
    font.setBold(bold);
    return font;
}

// The page's measures in device pixels.
struct PageGeometry {
    double dpiX = 0.0;
    double dpiY = 0.0;
    double width = 0.0;
    double height = 0.0;
    double footerTop = 0.0;   // the footer's rule
    double bodyBottom = 0.0;  // the text and the picture end above this
    double Twips(double t) const { return t * dpiX / kTwipsPerInch; }
};

PageGeometry GeometryOf(const QPagedPaintDevice& device, const QFontMetricsF& footerMetrics) {
    PageGeometry g;
    g.dpiX = device.logicalDpiX();
    g.dpiY = device.logicalDpiY();
    g.width = device.width();
    g.height = device.height();
    g.footerTop = g.height - footerMetrics.height() - 0.08 * g.dpiY;
    g.bodyBottom = g.footerTop - kGapInches * g.dpiY;
    return g;
}

// Paints the rows from the top down as far as they fit; returns the height they took.
double PaintRows(QPainter& painter, const QPagedPaintDevice& device, const PageGeometry& g,
                 const engine::ReportPage& page) {
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
        if (y + lineHeight > g.bodyBottom) break;
        for (const engine::ReportPiece& piece : row.pieces) {
            const QFont font = ReportFont(piece.pointSize, piece.bold);
            const QString text = FromUtf8(piece.text);
            double x = g.Twips(piece.x);
            if (piece.alignRight) {
                x = g.width - x - QFontMetricsF(font, &device).horizontalAdvance(text);
            }
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(x, y + ascent), text);
        }
        y += lineHeight;
    }
    return y;
}

// The picture below the text, framed, when at least a readable height is left for it.
void PaintPicture(QPainter& painter, const PageGeometry& g, double textBottom,
                  const PicturePainter& picture) {
    const double left = g.Twips(kPictureLeftTwips);
    const double top = textBottom + kGapInches * g.dpiY;
    const double width = g.width - left;
    const double height = std::min(width * kPictureAspect, g.bodyBottom - top);
    if (width <= 0.0 || height < kMinPictureInches * g.dpiY) return;
    const double scale = g.dpiX / kSurfacePixelsPerInch;
    painter.save();
    painter.translate(left, top);
    painter.scale(scale, g.dpiY / kSurfacePixelsPerInch);
    {
        QtSurface surface(painter,
                          QRectF(0.0, 0.0, width / scale, height * kSurfacePixelsPerInch / g.dpiY),
                          kTwipsPerInch / kSurfacePixelsPerInch);
        picture(surface);
    }
    painter.restore();
    painter.setPen(QPen(Qt::darkGray, g.dpiX / kSurfacePixelsPerInch));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(left, top, width, height));
}

// A thin rule, then one line with the program and the date, and the page number.
void PaintFooter(QPainter& painter, const PageGeometry& g, const QFontMetricsF& footerMetrics,
                 const ReportDecoration& decoration) {
    painter.setPen(QPen(Qt::darkGray, g.dpiX / kSurfacePixelsPerInch));
    painter.drawLine(QPointF(g.Twips(kPictureLeftTwips), g.footerTop),
                     QPointF(g.width, g.footerTop));
    painter.setFont(ReportFont(kFooterPointSize, false));
    painter.setPen(Qt::black);
    const double baseline = g.height - footerMetrics.descent();
    const QString footer =
        QString::fromStdString(text::Tr("Raysketcher %1 – erstellt am %2"))
            .arg(QString::fromStdString(decoration.version), decoration.dateText);
    painter.drawText(QPointF(g.Twips(kPictureLeftTwips), baseline), footer);
    const QString pageNumber = QString::fromStdString(text::Tr("Seite 1"));
    painter.drawText(QPointF(g.width - footerMetrics.horizontalAdvance(pageNumber), baseline),
                     pageNumber);
}

}  // namespace

QString LongDate(const QDate& date) {
    // The locale whose long date the language in use writes; only the date follows it, the
    // numbers of the page keep their decimal point.
    // Translators: the locale name of the language, e.g. en_GB.
    const QLocale locale(QString::fromStdString(text::Tr("de_DE")));
    return locale.toString(date, QLocale::LongFormat);
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

    const QFontMetricsF footerMetrics(ReportFont(kFooterPointSize, false), &device);
    const PageGeometry geometry = GeometryOf(device, footerMetrics);
    const double textBottom = PaintRows(painter, device, geometry, page);
    if (decoration.picture) PaintPicture(painter, geometry, textBottom, decoration.picture);
    PaintFooter(painter, geometry, footerMetrics, decoration);
    return painter.end();
}

void PaintDesignPicture(QPainter& painter, const QRectF& area, const app::DesignState& design) {
    QtSurface surface(painter, area);
    surface.Clear();
    app::DrawingMemory memory;
    app::DrawDesign(surface, design, false, memory);
}

void PaintStudyPicture(QPainter& painter, const QRectF& area, const drawing::StudyPlotData& data) {
    QtSurface surface(painter, area);
    drawing::DrawStudyPicture(surface, surface.Scale(), data);
}

bool PaintDesignReport(QPagedPaintDevice& device, const engine::ReportPage& page,
                       const app::DesignState& design, const QString& dateText,
                       const drawing::StudyPlotData* study) {
    ReportDecoration decoration;
    decoration.version = std::string(app::Version());
    decoration.dateText = dateText;
    if (study) {
        decoration.picture = [study](drawing::Surface& surface) {
            drawing::DrawStudyPicture(surface, surface.Scale(), *study);
        };
    } else {
        decoration.picture = [&design](drawing::Surface& surface) {
            app::DrawingMemory memory;
            app::DrawDesign(surface, design, false, memory, true);
        };
    }
    return PaintReportPage(device, page, decoration);
}

}  // namespace rs::render
