// The printed report on a paint device: that it stays on one A4 page and that the picture is
// painted into the area below the text. What a report says is the core's (tests/app); the text
// of a finished PDF is read back with the PDF tools in the tests of the CLI.
#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "app/presentation.h"
#include "render/report_page.h"

using rs::engine::ReportPage;

namespace {

// A PDF written to memory, with the number of its pages read from the page objects.
struct PdfInMemory {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    std::optional<QPdfWriter> writer;

    PdfInMemory() {
        buffer.open(QIODevice::WriteOnly);
        writer.emplace(&buffer);
    }
    // Ends the document (the writer writes its trailer when it goes).
    QByteArray Finish() {
        writer.reset();
        return bytes;
    }
};

int PageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(pdf).count(page));
}

ReportPage Rows(int count) {
    ReportPage page;
    page.rows.push_back({{{0, "Kestrelon Raysketcher 0.1.0 paraxiale Berechnung", true, 12},
                          {0, "Sonntag, 6. Dezember 2026", false, 10, true}}});
    for (int i = 0; i < count; ++i) {
        page.rows.push_back({{{1800, "Zeile:\t", false, 10}, {6120, " 1.0mm", false, 10}}});
    }
    return page;
}

// A picture that paints a frame and remembers the surface it was given.
struct PictureProbe {
    int calls = 0;
    rs::drawing::ScaleRect scale;
    double twips = 0;
    rs::render::PicturePainter Painter() {
        return [this](rs::drawing::Surface& s) {
            ++calls;
            scale = s.Scale();
            twips = s.TwipsPerPixel();
            s.Line(0, 0, scale.width, scale.height, {});
        };
    }
};

}  // namespace

class TestPrintedReport : public QObject {
    Q_OBJECT

private slots:

    void onePageA4WithThePictureBelowTheText() {
        PdfInMemory pdf;
        PictureProbe probe;
        rs::render::ReportDecoration decoration{
            "0.1.0", QStringLiteral("Sonntag, 6. Dezember 2026"), probe.Painter()};
        QVERIFY(rs::render::PaintReportPage(*pdf.writer, Rows(30), decoration));
        const QPageLayout layout = pdf.writer->pageLayout();
        QCOMPARE(layout.pageSize().id(), QPageSize::A4);
        QCOMPARE(layout.orientation(), QPageLayout::Portrait);
        const QByteArray bytes = pdf.Finish();
        QCOMPARE(PageCount(bytes), 1);

        // The picture runs from 1440 twips to the right margin (A4 less two half-inch margins
        // and the inch of the indent, in 1/96-inch surface pixels), in screen-sized pixels.
        QCOMPARE(probe.calls, 1);
        QCOMPARE(probe.twips, 15.0);
        const double expectedWidth = (210.0 - 2 * 12.7) / 25.4 * 96.0 - 96.0;
        QVERIFY2(std::abs(probe.scale.width - expectedWidth) < 2.0,
                 qPrintable(QString::number(probe.scale.width)));
        QCOMPARE(probe.scale.left, 0.0);
        QVERIFY(probe.scale.height >= 96.0);
        QVERIFY(probe.scale.height <= probe.scale.width);
    }

    void printerPage() {
        // The window prints through a QPrinter; here one that writes its page to a file. A letter
        // page chosen in the print dialog is turned into the report's A4.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("report.pdf"));
        PictureProbe probe;
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            printer.setPageSize(QPageSize(QPageSize::Letter));
            printer.setPageOrientation(QPageLayout::Landscape);
            const rs::render::ReportDecoration decoration{"0.1.0", QStringLiteral("heute"),
                                                          probe.Painter()};
            QVERIFY(rs::render::PaintReportPage(printer, Rows(30), decoration));
            QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);
            QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        }
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(PageCount(pdf.readAll()), 1);
        QCOMPARE(probe.calls, 1);
        QCOMPARE(probe.twips, 15.0);
    }

    void tooManyRowsStayOnOnePageWithoutPicture() {
        PdfInMemory pdf;
        PictureProbe probe;
        rs::render::ReportDecoration decoration{"0.1.0", QStringLiteral("heute"), probe.Painter()};
        QVERIFY(rs::render::PaintReportPage(*pdf.writer, Rows(400), decoration));
        QCOMPARE(PageCount(pdf.Finish()), 1);
        QCOMPARE(probe.calls, 0);  // no room left for a readable picture

        // An empty page and odd pieces (huge and tiny fonts, far positions) are painted as well.
        PdfInMemory odd;
        ReportPage page;
        page.rows.push_back({});
        page.rows.push_back(
            {{{-100000, "links", true, -5}, {2000000, "rechts", false, 1000, true}}});
        page.rows.push_back({{{0, "\t\xc3", false, 0}}});
        QVERIFY(rs::render::PaintReportPage(*odd.writer, page, {}));
        QCOMPARE(PageCount(odd.Finish()), 1);
    }

    void aBeamPageGoesWithoutPicture() {
        // The beam mode has no drawing yet: its page is the text alone.
        rs::app::DesignState state;
        state.beam.beamMode = true;
        auto& selection = state.beam.axes[0].selection;
        selection.AddValue(0, 100.0f);  // f'
        selection.AddValue(1, 500.0f);  // object waist distance
        selection.AddValue(5, 0.5f);    // object waist radius
        rs::app::SolveDesign(state, false);
        PdfInMemory pdf;
        QVERIFY(
            rs::render::PaintDesignReport(*pdf.writer, Rows(5), state, QStringLiteral("heute")));
        QCOMPARE(PageCount(pdf.Finish()), 1);
    }
};

QTEST_MAIN(TestPrintedReport)
#include "tst_printed_report.moc"
