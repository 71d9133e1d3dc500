// The printed report on a PDF page: which report a design gets, that it stays on one A4 page,
// that the picture is painted into the area below the text, and that a refusal paints nothing.
// (The text of the finished PDF is read back with the PDF tools in the tests of the CLI.)
#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "app/presentation.h"
#include "drawing/recording_surface.h"
#include "engine/var_type.h"
#include "gui/printed_report.h"

using rs::engine::ReportPage;
using rs::engine::ReportPiece;
using rs::engine::ReportRow;

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
    rs::gui::PicturePainter Painter() {
        return [this](rs::drawing::Surface& s) {
            ++calls;
            scale = s.Scale();
            twips = s.TwipsPerPixel();
            s.Line(0, 0, scale.width, scale.height, {});
        };
    }
};

rs::app::DesignState Relay(bool mirror = false) {
    rs::app::DesignState state;
    state.paraxial.options.mirrorMode = mirror;
    state.paraxial.params.AddValue(rs::engine::kFocal, mirror ? -100.0f : 100.0f);
    state.paraxial.params.AddValue(rs::engine::kObjDist, -200.0f);
    state.paraxial.params.AddValue(rs::engine::kObjHeight, 10.0f);
    state.paraxial.aperture.AddValue(rs::engine::kStopRadius, 10.0f);
    rs::app::SolveParaxialDesign(state, false);
    return state;
}

bool HasRow(const ReportPage& page, const std::string& text) {
    for (const ReportRow& row : page.rows) {
        for (const ReportPiece& piece : row.pieces) {
            if (piece.text == text) return true;
        }
    }
    return false;
}

}  // namespace

class TestPrintedReport : public QObject {
    Q_OBJECT

private slots:

    void longGermanDate_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("umlaut month")
            << QDate(2025, 3, 31) << QStringLiteral("Montag, 31. März 2025");
        QTest::newRow("leap day") << QDate(2024, 2, 29)
                                  << QStringLiteral("Donnerstag, 29. Februar 2024");
    }

    void longGermanDate() {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(rs::gui::LongGermanDate(date), text);
    }

    void onePageA4WithThePictureBelowTheText() {
        PdfInMemory pdf;
        PictureProbe probe;
        rs::gui::ReportDecoration decoration{"0.1.0", QStringLiteral("Sonntag, 6. Dezember 2026"),
                                             probe.Painter()};
        QVERIFY(rs::gui::PaintReportPage(*pdf.writer, Rows(30), decoration));
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
            const rs::gui::ReportDecoration decoration{"0.1.0", QStringLiteral("heute"),
                                                       probe.Painter()};
            QVERIFY(rs::gui::PaintReportPage(printer, Rows(30), decoration));
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
        rs::gui::ReportDecoration decoration{"0.1.0", QStringLiteral("heute"), probe.Painter()};
        QVERIFY(rs::gui::PaintReportPage(*pdf.writer, Rows(400), decoration));
        QCOMPARE(PageCount(pdf.Finish()), 1);
        QCOMPARE(probe.calls, 0);  // no room left for a readable picture

        // An empty page and odd pieces (huge and tiny fonts, far positions) are painted as well.
        PdfInMemory odd;
        ReportPage page;
        page.rows.push_back({});
        page.rows.push_back(
            {{{-100000, "links", true, -5}, {2000000, "rechts", false, 1000, true}}});
        page.rows.push_back({{{0, "\t\xc3", false, 0}}});
        QVERIFY(rs::gui::PaintReportPage(*odd.writer, page, {}));
        QCOMPARE(PageCount(odd.Finish()), 1);
    }

    void paraxialReportCarriesDepthOfField() {
        const rs::app::DesignState state = Relay();
        const rs::engine::ReportResult report = rs::gui::BuildDesignReport(state, "Sonntag");
        QVERIFY(!report.refusal);
        for (const char* row : {"Schärfentiefe", "Systemdefinition: Linse", "Sonntag"}) {
            QVERIFY2(HasRow(report.page, row), row);
        }
        // The six rows of the panel, with the panel's own names and values.
        const rs::analysis::DofPanel panel = rs::app::DofPanelOf(state);
        for (std::size_t i = 0; i < panel.names.size(); ++i) {
            QVERIFY2(HasRow(report.page, panel.names[i]), panel.names[i].c_str());
        }
        QVERIFY(
            HasRow(rs::gui::BuildDesignReport(Relay(true), "x").page, "Systemdefinition: Spiegel"));

        PdfInMemory pdf;
        const rs::gui::PrintOutcome outcome =
            rs::gui::PrintDesignReport(*pdf.writer, state, QDate(2026, 12, 6));
        QCOMPARE(outcome.kind, rs::gui::PrintOutcome::Kind::Printed);
        QCOMPARE(PageCount(pdf.Finish()), 1);
    }

    void beamReportHasNoPictureYet() {
        rs::app::DesignState state;
        state.beam.beamMode = true;
        auto& selection = state.beam.axes[0].selection;
        selection.AddValue(0, 100.0f);  // f'
        selection.AddValue(1, 500.0f);  // object waist distance
        selection.AddValue(5, 0.5f);    // object waist radius
        rs::app::SolveBeamDesign(state, false);
        const rs::engine::ReportResult report = rs::gui::BuildDesignReport(state, "heute");
        QVERIFY(!report.refusal && !report.page.rows.empty());
        QVERIFY(report.page.rows[0].pieces[0].text.find("Gaußstrahl") != std::string::npos);
        QVERIFY(!rs::gui::DesignPicture(state));

        PdfInMemory pdf;
        QCOMPARE(rs::gui::PrintDesignReport(*pdf.writer, state, QDate(2026, 1, 1)).kind,
                 rs::gui::PrintOutcome::Kind::Printed);
        QCOMPARE(PageCount(pdf.Finish()), 1);
    }

    void refusalPaintsNothing_data() {
        QTest::addColumn<bool>("beam");
        QTest::addColumn<bool>("withoutValue");
        QTest::addColumn<QString>("message");
        QTest::newRow("paraxial, two parameters")
            << false << false << QStringLiteral("Sie haben noch nicht alle Parameter ausgewählt! ");
        QTest::newRow("paraxial, value missing")
            << false << true
            << QStringLiteral("Sie haben noch nicht für alle Parameter Werte eingetragen! ");
        QTest::newRow("beam, two parameters")
            << true << false << QStringLiteral("Sie haben noch nicht alle Parameter ausgewählt! ");
    }

    void refusalPaintsNothing() {
        QFETCH(bool, beam);
        QFETCH(bool, withoutValue);
        QFETCH(QString, message);
        rs::app::DesignState state;
        state.beam.beamMode = beam;
        rs::engine::Selection& selection =
            beam ? state.beam.axes[0].selection : state.paraxial.params;
        selection.AddValue(0, 100.0f);
        selection.AddValue(1, -200.0f);
        if (withoutValue) selection.Add(5);
        PdfInMemory pdf;
        const rs::gui::PrintOutcome outcome =
            rs::gui::PrintDesignReport(*pdf.writer, state, QDate(2026, 12, 6));
        QCOMPARE(outcome.kind, rs::gui::PrintOutcome::Kind::Refused);
        QCOMPARE(QString::fromStdString(outcome.refusal), message);
        QCOMPARE(PageCount(pdf.Finish()), 0);
    }

    void designPictureIsTheWindowsDrawing() {
        rs::app::DesignState state = Relay();
        state.window.drawHaltingRay = true;
        rs::drawing::RecordingSurface recording({0, 0, 600, 350});
        const rs::gui::PicturePainter picture = rs::gui::DesignPicture(state);
        QVERIFY(picture);
        picture(recording);
        // Construction rays: a green central ray; the label of the image.
        bool green = false;
        for (const auto& line : recording.Lines())
            green = green || line.pen.colour == rs::drawing::kGreen;
        QVERIFY(green);
        QVERIFY(recording.FindText("o'") != nullptr);

        // An incomplete design is drawn as the window shows it: cleared, nothing else.
        state.paraxial.params.Clear();
        state.paraxial.params.AddValue(rs::engine::kFocal, 100.0f);
        recording.Forget();
        rs::gui::DesignPicture(state)(recording);
        QCOMPARE(recording.Calls().size(), std::size_t{1});
        QCOMPARE(recording.Calls()[0].kind, rs::drawing::SurfaceCall::Kind::Clear);
    }
};

QTEST_MAIN(TestPrintedReport)
#include "tst_printed_report.moc"
