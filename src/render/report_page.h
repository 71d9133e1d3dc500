#pragma once
// The printed report: the text rows the core composes, the current drawing below them and a
// footer, on one A4 portrait page of a printer or a PDF writer. The window's print command and
// raysketcher-cli --pdf both end here, so paper and PDF look the same.
#include <QDate>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "app/design_state.h"
#include "drawing/study_plot.h"
#include "drawing/surface.h"
#include "engine/report.h"

namespace rs::render {

// The long date of the report in the language in use: "Sonntag, 6. Dezember 2026", in English
// "Sunday, 6 December 2026".
QString LongDate(const QDate& date);

// Paints the current drawing onto a surface; left empty while a mode has no drawing.
using PicturePainter = std::function<void(drawing::Surface&)>;

// What the page carries besides the report's rows.
struct ReportDecoration {
    std::string version;     // the program's version, for the footer
    QString dateText;        // the long date, for the footer
    PicturePainter picture;  // empty: no picture on the page
};

// Sets `device` to A4 portrait and paints `page` on one page: each row at the height its
// largest font needs, each piece at its x in twips from the left margin (a right-aligned piece
// ends x twips before the right margin), the picture in a frame below the text from 1440 twips
// on, and the footer. Rows that would run into the footer are left out rather than starting a
// second page. False when the device cannot be painted on.
bool PaintReportPage(QPagedPaintDevice& device, const engine::ReportPage& page,
                     const ReportDecoration& decoration);

// Paints the design's picture as the window shows it (outside a drag) into `area` of an active
// painter, on a cleared background.
void PaintDesignPicture(QPainter& painter, const QRectF& area, const app::DesignState& design);

// Paints a study's plot into `area` of an active painter, as the window shows it.
void PaintStudyPicture(QPainter& painter, const QRectF& area, const drawing::StudyPlotData& data);

// Paints `page` with the design's picture below it (when its mode has one), as PaintReportPage;
// with `study` that plot takes the picture's place (the window's study tab is the one shown).
bool PaintDesignReport(QPagedPaintDevice& device, const engine::ReportPage& page,
                       const app::DesignState& design, const QString& dateText,
                       const drawing::StudyPlotData* study = nullptr);

}  // namespace rs::render
