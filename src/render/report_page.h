#pragma once
// The printed report: the text rows the core composes, the current drawing below them and a
// footer, on one A4 portrait page of a printer or a PDF writer. The window's print command and
// raysketcher-cli --pdf both end here, so paper and PDF look the same.
#include <QDate>
#include <QPagedPaintDevice>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "app/design_state.h"
#include "drawing/surface.h"
#include "engine/report.h"

namespace rs::gui {

// The long date of the report, "Sonntag, 6. Dezember 2026".
QString LongGermanDate(const QDate& date);

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

// The report of the design in its current mode, as the print command composes it (with the
// depth-of-field rows on a paraxial page), or the refusal for an incomplete selection.
engine::ReportResult BuildDesignReport(const app::DesignState& design, std::string_view dateText);

// The paraxial drawing of the design as the window shows it (outside a drag); empty in beam
// mode, whose drawing is not painted yet.
PicturePainter DesignPicture(const app::DesignState& design);

struct PrintOutcome {
    enum class Kind { Printed, Refused, DeviceFailed };
    Kind kind = Kind::Printed;
    std::string refusal;  // with Refused: the message for the user; nothing was painted
};

// Builds the report of `design` dated `date` and paints it with its picture on `device`.
PrintOutcome PrintDesignReport(QPagedPaintDevice& device, const app::DesignState& design,
                               const QDate& date);

}  // namespace rs::gui
