// Golden pictures of the paraxial and the beam drawing, painted through the same path as the window
// and the exports (design file -> solve -> DrawDesign -> QtSurface -> image), and of the sample
// sketches of the lens and mirror types, compared with the committed pictures in
// tests/data/golden with a tolerance.
//
// Fonts differ between machines, so the goldens contain no glyphs: the labels are painted as
// the grey outline of a box of fixed size (7 pixels per character, 13 high), which keeps their
// placement under test. Everything else is the real surface.
//
// On a mismatch the actual picture and a difference picture are written to golden-actual/ in
// the build folder. After an intended change of the drawing, rewrite the goldens with
//   RAYSKETCHER_UPDATE_GOLDEN=1 build/tests/render/drawing_golden
// and look at every changed picture before committing it.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <functional>

#include "analysis/lens_ideas.h"
#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "drawing/ap_field_drawing.h"
#include "drawing/lens_sketches.h"
#include "render/qt_surface.h"

namespace {

using rs::drawing::Colour;
using rs::drawing::Pen;

constexpr int kWidth = 480;
constexpr int kHeight = 280;
// A pixel differs when one of its channels is this far off; antialiasing that varies between
// toolkit versions stays below it.
constexpr int kChannelThreshold = 64;
// At most this share of all pixels may differ. A single ray of the pictures covers well over
// it (the test of the comparison itself checks that), a shifted edge here and there does not.
constexpr double kTolerance = 0.0015;
constexpr Colour kLabelBox = 0xA0A0A0;

// Forwards to the real surface, with text replaced by its box.
class FontFreeSurface : public rs::drawing::Surface {
public:
    explicit FontFreeSurface(rs::drawing::Surface& inner) : inner_(inner) {}
    // Lines for which this returns true are left out (to prove the comparison sees them).
    std::function<bool(const Pen&)> dropLine;

    void Clear() override { inner_.Clear(); }
    void Line(double x1, double y1, double x2, double y2, const Pen& pen) override {
        if (dropLine && dropLine(pen)) return;
        inner_.Line(x1, y1, x2, y2, pen);
    }
    void Polyline(std::span<const rs::drawing::PixelPoint> points, const Pen& pen) override {
        if (dropLine && dropLine(pen)) return;
        inner_.Polyline(points, pen);
    }
    void Box(double x1, double y1, double x2, double y2, Colour c, bool filled) override {
        inner_.Box(x1, y1, x2, y2, c, filled);
    }
    void Circle(double cx, double cy, double r, Colour c, bool filled) override {
        inner_.Circle(cx, cy, r, c, filled);
    }
    void Text(double x, double y, std::string_view text, Colour) override {
        const rs::drawing::TextExtent e = MeasureText(text);
        inner_.Box(x, y, x + e.width - 1, y + e.height - 1, kLabelBox, false);
    }
    rs::drawing::TextExtent MeasureText(std::string_view text) const override {
        double chars = 0;
        for (unsigned char c : text) chars += (c & 0xC0) != 0x80 ? 1 : 0;
        return {7.0 * chars, 13.0};
    }
    void RotatedText(double x, double y, std::string_view text,
                     const rs::drawing::RotatedFont&) override {
        Text(x, y, text, kLabelBox);
    }
    rs::drawing::ScaleRect Scale() const override { return inner_.Scale(); }
    bool FontIsBold() const override { return inner_.FontIsBold(); }
    double TwipsPerPixel() const override { return inner_.TwipsPerPixel(); }

private:
    rs::drawing::Surface& inner_;
};

rs::app::DesignState Load(const QString& name) {
    rs::app::DesignState state;
    const rs::app::IniFile ini(
        (QStringLiteral(RAYSKETCHER_GOLDEN_DIR "/") + name + QStringLiteral(".ini")).toStdString());
    rs::app::LoadSettings(ini, state);
    rs::app::SolveDesign(state, false);
    return state;
}

QImage Render(const rs::app::DesignState& state,
              const std::function<bool(const Pen&)>& dropLine = {}) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::gray);  // Clear must paint the whole picture
    QPainter painter(&image);
    {
        rs::render::QtSurface surface(painter, QRectF(0, 0, kWidth, kHeight));
        FontFreeSurface fontFree(surface);
        fontFree.dropLine = dropLine;
        rs::app::DrawingMemory memory;
        rs::app::DrawDesign(fontFree, state, false, memory);
    }
    painter.end();
    return image;
}

// Every type of the catalogue as its cross-section and beside it with its rays, a few types to
// a row, each in a cell of its own as in the aperture/field window.
QImage RenderSketchSheet(bool mirror) {
    constexpr int kCellWidth = 120, kCellHeight = 72, kTypesPerRow = 3;
    const int count = static_cast<int>(rs::analysis::LensClasses(mirror).size());
    const int rows = (count + kTypesPerRow - 1) / kTypesPerRow;
    QImage image(2 * kTypesPerRow * kCellWidth, rows * kCellHeight, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    for (int index = 0; index < count; ++index) {
        for (const auto kind : {rs::drawing::SketchKind::Lens, rs::drawing::SketchKind::Rays}) {
            const int column = 2 * (index % kTypesPerRow) + (kind == rs::drawing::SketchKind::Rays);
            const QRectF cell(column * kCellWidth, index / kTypesPerRow * kCellHeight, kCellWidth,
                              kCellHeight);
            rs::render::QtSurface surface(painter, cell);
            FontFreeSurface fontFree(surface);
            rs::drawing::DrawLensTypeSketch(fontFree, mirror, index, kind);
        }
    }
    painter.end();
    return image;
}

struct Difference {
    int pixels = 0;
    int total = 0;
    QImage picture;  // differing pixels red on a faint copy of the expected picture
    bool WithinTolerance() const { return pixels <= kTolerance * total; }
};

Difference Compare(const QImage& actual, const QImage& expected) {
    Difference d;
    d.total = expected.width() * expected.height();
    d.picture = QImage(expected.size(), QImage::Format_RGB32);
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
            const bool differs = std::abs(qRed(a) - qRed(e)) > kChannelThreshold ||
                                 std::abs(qGreen(a) - qGreen(e)) > kChannelThreshold ||
                                 std::abs(qBlue(a) - qBlue(e)) > kChannelThreshold;
            d.pixels += differs ? 1 : 0;
            const int faint = 200 + qGray(e) / 5;
            d.picture.setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(faint, faint, faint));
        }
    }
    return d;
}

// Compares `actual` with the golden picture `name`, or rewrites that when asked to.
void CheckAgainstGolden(const QImage& actual, const QString& name) {
    const QString goldenFile = QStringLiteral(RAYSKETCHER_GOLDEN_DIR "/") + name + ".png";
    if (qEnvironmentVariableIsSet("RAYSKETCHER_UPDATE_GOLDEN")) {
        QVERIFY(actual.save(goldenFile));
        qInfo("rewrote %s", qPrintable(goldenFile));
        return;
    }
    const QImage golden = QImage(goldenFile).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!golden.isNull(), qPrintable("no golden picture " + goldenFile +
                                          " (RAYSKETCHER_UPDATE_GOLDEN=1 writes it)"));
    QCOMPARE(golden.size(), actual.size());
    const Difference d = Compare(actual, golden);
    if (!d.WithinTolerance()) {
        const QString dir = QStringLiteral(RAYSKETCHER_ACTUAL_DIR);
        QDir().mkpath(dir);
        actual.save(dir + "/" + name + ".png");
        d.picture.save(dir + "/" + name + "-diff.png");
        QFAIL(qPrintable(QStringLiteral("%1 of %2 pixels differ from %3; the picture and the "
                                        "difference are in %4")
                             .arg(d.pixels)
                             .arg(d.total)
                             .arg(goldenFile, dir)));
    }
}

}  // namespace

class TestDrawingGolden : public QObject {
    Q_OBJECT

private slots:
    void matchesGolden_data();
    void matchesGolden();
    void comparisonSeesAMissingRay();
    void lensSketchesMatchGolden_data();
    void lensSketchesMatchGolden();
    void apFieldPlotMatchesGolden_data();
    void apFieldPlotMatchesGolden();
};

void TestDrawingGolden::matchesGolden_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("lens with focal points") << QStringLiteral("lens");
    QTest::newRow("concave mirror") << QStringLiteral("mirror");
    QTest::newRow("virtual image") << QStringLiteral("virtual-image");
    QTest::newRow("object at infinity") << QStringLiteral("infinity");
    QTest::newRow("construction rays") << QStringLiteral("construction");
    QTest::newRow("beam with M² and detector") << QStringLiteral("beam");
    QTest::newRow("circularised diode, axes side by side") << QStringLiteral("diode");
}

namespace {

// The aperture/field plot as its widget paints it: the plot in its frame with both axes, the
// types at the design's point highlighted and the design's mark.
QImage RenderApField(QSize size, bool mirror, bool large, rs::analysis::PlotPoint design) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    {
        rs::render::QtSurface surface(painter, QRectF(0, 0, size.width(), size.height()));
        FontFreeSurface fontFree(surface);
        const rs::drawing::ApFieldLayout layout = rs::drawing::LayOutApFieldPlot(
            fontFree, {0, 0, double(size.width()), double(size.height())}, mirror, large);
        rs::drawing::ApFieldDrawing options;
        options.design = design;
        options.highlighted = rs::analysis::LensClassesAt(mirror, layout.plane, design).classes;
        options.shortNames = !large;
        options.colours = true;
        rs::drawing::DrawApFieldPlot(fontFree, layout, options);
    }
    painter.end();
    return image;
}

}  // namespace

void TestDrawingGolden::matchesGolden() {
    QFETCH(QString, name);
    CheckAgainstGolden(Render(Load(name)), name);
}

void TestDrawingGolden::comparisonSeesAMissingRay() {
    // The tolerance must not swallow a real fault: leave out the red marginal ray of the
    // object side (the first red line drawn) and the picture no longer matches.
    const rs::app::DesignState lens = Load(QStringLiteral("lens"));
    const QImage complete = Render(lens);
    bool dropped = false;
    const QImage withoutRay = Render(lens, [&](const Pen& pen) {
        if (dropped || pen.colour != rs::drawing::kRed) return false;
        dropped = true;
        return true;
    });
    QVERIFY(dropped);
    QVERIFY(Compare(complete, complete).pixels == 0);
    QVERIFY(!Compare(withoutRay, complete).WithinTolerance());
    // And a different system is not mistaken for this one.
    QVERIFY(!Compare(Render(Load(QStringLiteral("construction"))), complete).WithinTolerance());
}

void TestDrawingGolden::lensSketchesMatchGolden_data() {
    QTest::addColumn<bool>("mirror");
    QTest::addColumn<QString>("name");
    QTest::newRow("lens types") << false << QStringLiteral("lens-sketches");
    QTest::newRow("mirror types") << true << QStringLiteral("mirror-sketches");
}

void TestDrawingGolden::lensSketchesMatchGolden() {
    QFETCH(bool, mirror);
    QFETCH(QString, name);
    CheckAgainstGolden(RenderSketchSheet(mirror), name);
}

void TestDrawingGolden::apFieldPlotMatchesGolden_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("mirror");
    QTest::addColumn<bool>("large");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("angle");
    // The design sits where two regions meet and their names are near.
    QTest::newRow("small, lenses") << QStringLiteral("apfield-small-lens") << QSize(360, 260)
                                   << false << false << 0.16 << 15.0;
    QTest::newRow("large, lenses")
        << QStringLiteral("apfield-large-lens") << QSize(800, 440) << false << true << 0.16 << 15.0;
    QTest::newRow("small, mirrors") << QStringLiteral("apfield-small-mirror") << QSize(360, 260)
                                    << true << false << 0.45 << 4.0;
    QTest::newRow("large, mirrors")
        << QStringLiteral("apfield-large-mirror") << QSize(800, 440) << true << true << 0.45 << 4.0;
}

void TestDrawingGolden::apFieldPlotMatchesGolden() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, mirror);
    QFETCH(bool, large);
    QFETCH(double, a);
    QFETCH(double, angle);
    CheckAgainstGolden(RenderApField(size, mirror, large, {a, angle}), name);
}

QTEST_MAIN(TestDrawingGolden)
#include "tst_drawing_golden.moc"
