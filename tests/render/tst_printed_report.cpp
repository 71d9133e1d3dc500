// The printed report on a paint device: one A4 page, the picture painted below the text. What a
// report says is the core's (tests/app); the CLI's tests read the text of finished PDFs back,
// a beam design's too.
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "render/report_page.h"

using rs::engine::ReportPage;

namespace {

ReportPage Rows(int count) {
    ReportPage page;
    page.rows.push_back({{{0, "Kestrelon Raysketcher 0.1.0 paraxiale Berechnung", true, 12},
                          {0, "Sonntag, 6. Dezember 2026", false, 10, true}}});
    for (int i = 0; i < count; ++i) {
        page.rows.push_back({{{1800, "Zeile:\t", false, 10}, {6120, " 1.0mm", false, 10}}});
    }
    return page;
}

// Prints `page` through a printer that writes a PDF, on the letter page in landscape a user may
// have chosen. The number of pages written, or -1 when painting failed or the printer was not
// turned to A4 portrait.
int PrintedPages(const ReportPage& page, const rs::render::PicturePainter& picture) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(QPageLayout::Landscape);
        if (!rs::render::PaintReportPage(printer, page, {"0.1.0", "heute", picture}) ||
            printer.pageLayout().pageSize().id() != QPageSize::A4 ||
            printer.pageLayout().orientation() != QPageLayout::Portrait) {
            return -1;
        }
    }
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(pdf.readAll()).count(pageObject));
}

}  // namespace

class TestPrintedReport : public QObject {
    Q_OBJECT

private slots:
    void onePageA4WithThePictureBelowTheText() {
        int calls = 0;
        rs::drawing::ScaleRect scale;
        double twips = 0;
        const auto probe = [&](rs::drawing::Surface& s) {
            ++calls;
            scale = s.Scale();
            twips = s.TwipsPerPixel();
            s.Line(0, 0, scale.width, scale.height, {});
        };
        QCOMPARE(PrintedPages(Rows(30), probe), 1);
        // The picture runs from 1440 twips to the right margin (A4 less two half-inch margins
        // and the inch of the indent, in 1/96-inch surface pixels), in screen-sized pixels.
        QCOMPARE(calls, 1);
        QCOMPARE(twips, 15.0);
        const double expectedWidth = (210.0 - 2 * 12.7) / 25.4 * 96.0 - 96.0;
        QVERIFY(std::abs(scale.width - expectedWidth) < 2.0);
        QCOMPARE(scale.left, 0.0);
        QVERIFY(scale.height >= 96.0 && scale.height <= scale.width);

        // Too many rows stay on one page, without the picture there is no readable room for.
        calls = 0;
        QCOMPARE(PrintedPages(Rows(400), probe), 1);
        QCOMPARE(calls, 0);
    }
};

QTEST_MAIN(TestPrintedReport)
#include "tst_printed_report.moc"
