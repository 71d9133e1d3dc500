// The main window driven through its widgets, as a user drives it: the wiring from a widget
// event to the window logic and back. What the logic decides is tested in tests/ui; here every
// test that changes the window ends with all widgets showing what the view of the state says.
#include <QClipboard>
#include <QGroupBox>
#include <QHelpEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include "app/held_lens.h"
#include "app/settings.h"
#include "form_fixture.h"
#include "gui/help_window.h"
#include "gui/lens_grid.h"
#include "gui/measurement_tab.h"
#include "gui/qt_text.h"
#include "gui/study_plot.h"
#include "render/qt_surface.h"
#include "scoped_language.h"
#include "ui/catalogue_lens_choice.h"

namespace rs::gui {

using test::FormFixture;

namespace {

// A caption `w` shows cut short, or nothing: a label's or a check box's that wants more width than
// it has, a push button's whose text is wider than the button.
std::optional<QString> CutCaption(QWidget* w) {
    const QString name = w->objectName();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!label->wordWrap() && label->sizeHint().width() > label->width()) {
            return name + ": '" + label->text() + "' cut";
        }
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        const QString text = QString(button->text()).remove('&');
        if (button->fontMetrics().horizontalAdvance(text) + 8 > button->width()) {
            return name + ": '" + text + "' cut";
        }
    } else if (auto* box = qobject_cast<QAbstractButton*>(w)) {
        if (box->sizeHint().width() > box->width()) return name + ": '" + box->text() + "' cut";
    }
    return std::nullopt;
}

// The first visible control of `page` that overlaps another or shows its caption cut, or
// nothing.
std::optional<QString> CrowdedControl(QWidget* page) {
    std::vector<std::pair<QWidget*, QRect>> controls;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page)) continue;
        const QString name = w->objectName();
        if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            if (frame->minimumSizeHint().width() > frame->width()) return name + ": title cut";
            continue;
        }
        if (const auto cut = CutCaption(w)) return cut;
        if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w) &&
            !qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w)) {
            continue;
        }
        const QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
        for (const auto& [other, o] : controls) {
            if (r.intersects(o)) return name + " over " + other->objectName();
        }
        controls.emplace_back(w, r);
    }
    return std::nullopt;
}

// The design `example` in a window of `size` pixels (stored as its placement, in twips).
std::string ExampleAtSize(const char* example, QSize size) {
    return test::Example(example) + "\r\n[FormPositions]\r\nFormPosn_frmRaysketch=0|0|" +
           std::to_string(size.height() * 15) + "|" + std::to_string(size.width() * 15) + "\r\n";
}

struct ReadableCase {
    const char* example;
    QSize size;
    int rows;
    bool english;
};

QString At(const char* example, QSize size) {
    return QString("%1 at %2×%3: ").arg(example).arg(size.width()).arg(size.height());
}

// What of the window shows unreadable, or nothing: the window is smaller than its layout
// needs, a control of the parameter page lies over another, a label or button shows its caption
// cut, the result list shows fewer than `rows` rows or a value cut (a diode's with its second
// axis in brackets), or a name cut short does not tell itself as a tool tip.
std::optional<QString> UnreadablePart(FormFixture& f, int rows) {
    QWidget* central = f.form->centralWidget();
    const QSize hint = central->minimumSizeHint();
    if (hint.width() > central->width() || hint.height() > central->height()) {
        return QString("needs %1×%2").arg(hint.width()).arg(hint.height());
    }
    if (auto crowded = CrowdedControl(f.form->Control("fraOptConj")->parentWidget())) {
        return crowded;
    }
    for (QWidget* w : central->findChildren<QWidget*>()) {
        if (!w->isVisible() ||
            (qobject_cast<QAbstractButton*>(w) == nullptr && qobject_cast<QLabel*>(w) == nullptr)) {
            continue;
        }
        if (auto cut = CutCaption(w)) return cut;
    }

    QListWidget* values = f.List("lstResVals");
    QListWidget* names = f.List("lstResNames");
    const int shown = names->viewport()->height() / names->sizeHintForRow(0);
    if (shown < std::min(rows, names->count())) return QString::number(shown) + " rows";
    const int room = values->viewport()->width() - 2 * values->spacing();
    for (const QString& value : f.Values()) {
        if (values->fontMetrics().horizontalAdvance(value) >= room) return value + " cut";
    }
    const QStringList texts = f.Names();
    const auto cut = std::find_if(texts.begin(), texts.end(), [&](const QString& n) {
        return names->fontMetrics().horizontalAdvance(n) > names->viewport()->width();
    });
    if (cut == texts.end()) return std::nullopt;
    const QRect row = names->visualItemRect(names->item(int(cut - texts.begin())));
    QHelpEvent help(QEvent::ToolTip, row.center(), names->viewport()->mapToGlobal(row.center()));
    QApplication::sendEvent(names->viewport(), &help);
    if (!QTest::qWaitFor([&] { return QToolTip::text() == *cut; })) {
        return *cut + " cut without a tool tip";
    }
    return std::nullopt;
}
}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void typedValueAppliesOnEnterAndOnLeavingTheBox() {
        FormFixture f;
        QVERIFY(f.exposed);
        f.Click("chkVarType_0");
        f.Click("comPrint");  // an incomplete design is refused before any printer dialog
        QCOMPARE(f.dialogs.Messages().size(), std::size_t{1});
        for (const char* box : {"chkVarType_1", "chkVarType_5"}) f.Click(box);
        f.Type("txtVarType_0", "100");
        QCOMPARE(f.S().design.paraxial.params.At(1).sVarValue, 100.0f);
        f.Type("txtVarType_1", "-20cm", false);  // leaving the box applies it as well
        QCOMPARE(f.S().design.paraxial.params.At(2).sVarValue, -200.0f);
        f.Type("txtVarType_2", "10,0");
        QVERIFY(!f.S().design.paraxial.bCalcInvalid);
        f.Click("chkVarType_2");  // a rejected fourth parameter leaves its box unchecked

        // A click into a box selects its whole text, so that typing replaces it.
        QLineEdit* box = f.Box("txtVarType_0");
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(4, box->height() / 2));
        QTRY_COMPARE(box->selectedText(), "100.0mm");
        QTest::keyClicks(box, "60");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(f.S().design.paraxial.params.At(1).sVarValue, 60.0f);
        VERIFY_VIEW(f);
    }

    // The slider, a limit box, an option list and a combo box. The program's own changes to
    // its controls never come back as events: a typed value that moves the slider does not make
    // the slider apply a (rounded) value of its own.
    void sliderLimitsListsAndCombos() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.Type("txtVarType_0", "52.37");
        QCOMPARE(f.Get<QScrollBar>("hscVarValue_0")->value(), 74);
        QCOMPARE(f.S().design.paraxial.params.At(1).sVarValue, 52.37f);
        const ui::Snapshot before = ui::Capture(f.S().design);
        f.form->Render();
        QVERIFY(ui::Capture(f.S().design) == before);
        QCOMPARE(f.S().backup.Kind(), static_cast<int>(ui::kBackupTypedValue));

        f.Get<QScrollBar>("hscVarValue_0")->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QVERIFY(f.S().design.paraxial.params.At(1).sVarValue > 52.37f);
        f.form->findChild<QTabWidget*>("tabOptions")->setCurrentIndex(1);
        f.Type("txtVarLimLow_0", "25");
        QCOMPARE(f.S().design.paraxial.params.At(1).sLimLow, 25.0f);
        f.List("lstOptions")->item(0)->setCheckState(Qt::Checked);  // as a click on its mark
        QVERIFY(f.S().design.window.drawHaltingRay);
        auto* formats = f.Get<QComboBox>("cmbImagHeight");
        formats->setCurrentIndex(3);
        emit formats->activated(3);
        QCOMPARE(f.S().design.window.imgHgtOption, 3);
        VERIFY_VIEW(f);
    }

    // The study tab follows every change of the design while it is shown, and a click into
    // its plot moves the design there; the study's window shows the same study.
    void studyTabFollowsTheDesignAndAClickMovesIt() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        auto* panel = f.Get<StudyPanel>("picStudy");
        QVERIFY(panel);
        f.Get<QTabWidget>("tabExtraInfo")->setCurrentIndex(3);
        StudyPlotWidget* plot = panel->Plot();
        QTRY_VERIFY(plot->isVisible());
        const std::string objectBox =
            "txtVarType_" +
            std::to_string(*f.S().design.paraxial.params.Find(engine::kObjDist) - 1);
        f.Type(objectBox, "-950");
        QCOMPARE(*plot->Data().current, -950.0);
        QVERIFY(!plot->Data().series.empty());

        const QPoint middle = plot->rect().center();
        QTest::mouseMove(plot, middle);
        QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, middle);
        const double moved = *plot->Data().current;
        QVERIFY(moved != -950.0);
        QCOMPARE(static_cast<double>(f.S().design.paraxial.params.Value(
                     *f.S().design.paraxial.params.Find(engine::kObjDist))),
                 moved);
        QVERIFY(!f.form->findChild<QLabel*>("lblStudyReadOut")->text().isEmpty());

        test::ClickButton(f.form->findChild<QAbstractButton*>("comStudyWindow"));
        QVERIFY(f.form->Study() && f.form->Study()->isVisible());
        QCOMPARE(*f.form->Study()->Panel()->Plot()->Data().current, moved);
        f.form->Study()->close();
    }

    void beamModeAndItsExtrasPanel() {
        FormFixture f(test::Example("hene-focus-100mm.ini") +
                      "\r\n[SymbolsGB]\r\nObjektweite: =q\r\n");
        QVERIFY(f.exposed);
        // A check box names its quantity as the result list does, in either symbol set.
        for (const QString caption : {"Objektweite: s", "Objektweite: q"}) {
            if (caption.endsWith('q')) f.List("lstSymbols")->setCurrentRow(1);
            QCOMPARE(f.Button("chkVarTypeGB_1")->text(), caption);
            QVERIFY(f.Names().contains(caption));
        }
        // The extras' captions, shortened in a narrow window, keep their whole name as a tip.
        const auto* extras = f.form->findChild<QTabWidget*>("tabExtraInfoGB");
        QCOMPARE(extras->tabToolTip(2), "Schärfentiefe");
        f.Click("chkGBExtraM2Use");
        f.Type("txtGBExtraMFactor", "4");
        QCOMPARE(f.Values().at(0), " 4.0");
        f.Click("chkGaussBeamMode");  // back to the paraxial design
        QVERIFY(!f.S().design.beam.beamMode);
        VERIFY_VIEW(f);
    }

    // The "Linsen" tab lists the catalogue lenses for the solved beam once it is shown, or the
    // nearest ones with a word why; a chosen line is described below the grid, and a new design
    // brings new lenses. A circularised diode gets a cylinder for each axis.
    void lensGridFollowsTheBeam() {
        for (const char* example : {"hene-focus-100mm.ini", "diode-circularised.ini"}) {
            FormFixture f(test::Example(example));
            QVERIFY(f.exposed);
            SetLensCatalogue(*f.form,
                             ReadLensCatalogue(std::nullopt, ToStd(qApp->applicationDirPath())));
            auto* grid = f.Get<LensGridTable>("ssGBExtraLenses");
            QCOMPARE(grid->rowCount(), 0);  // nothing is done while it cannot be seen
            f.List("lstOptionsGB")->item(0)->setCheckState(Qt::Checked);
            f.form->findChild<QTabWidget*>("tabExtraInfoGB")->setCurrentIndex(3);
            QVERIFY(grid->isVisible() && grid->rowCount() > 0);
            QVERIFY(f.Get<QLabel>("lblGBExtraLensDescr")->text().isEmpty());

            const int row = std::min(grid->rowCount() - 1, 1);
            grid->scrollToItem(grid->item(row, 0));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualItemRect(grid->item(row, 0)).center());
            const QString description = f.Get<QLabel>("lblGBExtraLensDescr")->text();
            QCOMPARE(description, ToQ(analysis::LensGridDescription(grid->Grid(), row)));
            QVERIFY(!description.isEmpty());
            // Which lenses are listed, and how, is the lens choice's own test; here the window
            // hands it both axes of a diode and a new focal length.
            if (std::string(example).starts_with("diode")) {
                QCOMPARE(grid->horizontalHeaderItem(0)->text(), "Zylinder 1");
                continue;
            }
            f.Type("txtVarType_0", "50");
            QCOMPARE(grid->item(0, 1)->text(), "50.0");
            QVERIFY(f.Get<QLabel>("lblGBExtraLensDescr")->text().isEmpty());
            // Nothing within ±10 % of 87 mm: the nearest lenses, and the label says why.
            f.Type("txtVarType_0", "87");
            QVERIFY(grid->rowCount() > 0);
            QVERIFY(f.Get<QLabel>("lblGBExtraLensDescr")->text().startsWith("Keine Linse"));
            VERIFY_VIEW(f);
        }
    }

    // The paraxial "Linsen" tab: a chosen line taken with "Übernehmen" adds the lens's rows to
    // the results, and the stop-radius button, enabled only once a lens is held, sets the
    // aperture to the lens's clear radius.
    void paraxialLensTabTakesALens() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        SetLensCatalogue(*f.form,
                         ReadLensCatalogue(std::nullopt, ToStd(qApp->applicationDirPath())));
        f.form->findChild<QTabWidget*>("tabExtraInfo")->setCurrentIndex(2);
        auto* grid = f.Get<LensGridTable>("ssExtraLenses");
        QVERIFY(grid->isVisible() && grid->rowCount() > 0);
        QVERIFY(!f.Button("cmdExtraLensStop")->isEnabled());
        const qsizetype rows = f.Names().size();
        f.Click("cmdExtraLensTake");  // no line chosen: nothing is taken
        QCOMPARE(f.Names().size(), rows);

        const QPoint line = grid->visualItemRect(grid->item(0, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, line);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, line);
        QVERIFY(f.S().design.lens.has_value());
        QCOMPARE(f.Names().size(), rows + 4);
        QVERIFY(f.Names().contains(app::kLensThicknessRow));

        const auto offered = ui::OfferedStopRadius(f.S().design);
        QVERIFY(offered && f.Button("cmdExtraLensStop")->isEnabled());
        f.Click("cmdExtraLensStop");
        engine::Selection aperture = f.S().design.paraxial.aperture;
        QVERIFY(aperture.Contains(engine::kStopRadius));
        QCOMPARE(aperture.Entry(*aperture.Find(engine::kStopRadius)).sVarValue,
                 static_cast<float>(*offered));
        VERIFY_VIEW(f);
    }

    // The "Messung" tab: rows pasted from the clipboard with a comma or a point as decimal mark
    // (button and Ctrl+V), a row typed into the grid's last line, the plot drawn, and
    // Übernehmen making the fitted beam the object beam.
    void measurementTabPastesTypesAndAdopts() {
        FormFixture f(test::Example("hene-focus-100mm.ini"));
        QVERIFY(f.exposed);
        f.List("lstOptionsGB")->item(0)->setCheckState(Qt::Checked);
        f.form->findChild<QTabWidget*>("tabExtraInfoGB")->setCurrentIndex(4);
        auto* grid = f.Get<MeasurementGridTable>("grdGBMeasure");
        QVERIFY(grid->isVisible());
        QCOMPARE(grid->rowCount(), 1);
        QApplication::clipboard()->setText("z;d\n0;1,2\n50;0,8\n");
        f.Click("comGBMeasurePaste");
        QApplication::clipboard()->setText("100\t0.5\n150\t0.8\n");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->item(1, 1)->text(), "0.8");
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), "d [mm]");

        for (const auto& [column, text] : {std::pair{0, "200"}, std::pair{1, "1,2"}}) {
            grid->setCurrentCell(4, column);
            grid->editItem(grid->item(4, column));
            QTest::keyClicks(QApplication::focusWidget(), text);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTRY_COMPARE(grid->rowCount(), 6);
        }
        QTRY_COMPARE(grid->item(4, 1)->text(), "1.2");
        QCOMPARE(f.S().design.measurement.table.rows.size(), 5U);

        auto* plot = f.Get<QWidget>("picGBMeasure");
        const QImage picture = plot->grab().toImage();
        bool curve = false;
        for (int x = 0; x < picture.width() && !curve; ++x) {
            for (int y = 0; y < picture.height() && !curve; ++y) {
                curve = picture.pixelColor(x, y) == render::ToQColor(drawing::kCausticColours[0]);
            }
        }
        QVERIFY(curve);

        f.Type("txtGBMeasureElement", "300");
        f.Click("comGBMeasureAdopt");
        QCOMPARE(f.S().backup.Kind(), int(ui::kBackupMeasurement));
        QVERIFY(f.S().design.beam.extrasOptions.mFactorUse);
        VERIFY_VIEW(f);
    }

    // At its start the window takes its placement from the settings file and shows the note on
    // new features once.
    void startupPlacementAndNewFeatureNote() {
        FormFixture f("[FormPositions]\r\nFormPosn_frmRaysketch=300|450|12000|19500\r\n", true);
        QVERIFY(f.exposed);
        const ui::WindowRect now = f.form->CurrentPlacement();
        QVERIFY(std::abs(now.top - 300) <= 30 && std::abs(now.left - 450) <= 30);
        QVERIFY(std::abs(now.height - 12000) <= 30 && std::abs(now.width - 19500) <= 30);
        QTRY_VERIFY(f.form->Help() && f.form->Help()->isVisible());
        QCOMPARE(f.form->Help()->CurrentPage(), HelpWindow::Page::NewFeatures);
        QCOMPARE(f.store.Get("NewFeature", "V22", ""), "-1");

        // Stored past the screen's bottom right corner, and smaller than the window can be: at
        // its least size, moved back onto the screen (1920 by 1080 pixels).
        FormFixture off("[FormPositions]\r\nFormPosn_frmRaysketch=15000|27000|3000|5000\r\n");
        QVERIFY(off.exposed);
        const QRect shown = off.form->geometry();
        QCOMPARE(shown.size(), FrmRaysketch::kMinimumSize);
        QCOMPARE(shown.bottomRight(), QPoint(1919, 1079));
    }

    // Every design opens at the default size. At the window's least size and at 1280 by 800
    // pixels, in both modes, the window reads whole (see UnreadablePart). The English texts are
    // longer than many German ones: at the least size, in both modes, the window still reads
    // whole, and it speaks English.
    void windowKeepsEverythingReadable() {
        FormFixture plain(test::Example("camera-50mm-f4-1m.ini"));
        const ui::WindowRect opened = plain.form->CurrentPlacement();
        QCOMPARE(std::pair(qRound(opened.width), qRound(opened.height)), std::pair(12300, 8400));
        const QSize least = plain.form->minimumSize();
        QVERIFY(least.width() <= 820 && least.height() <= 560);
        for (const auto& [example, size, rows, english] :
             {ReadableCase{"camera-50mm-f4-1m.ini", least, 6, false},
              ReadableCase{"camera-50mm-f4-1m.ini", {1280, 800}, 12, false},
              ReadableCase{"diode-circularised.ini", least, 6, false},
              ReadableCase{"diode-circularised.ini", {1280, 800}, 12, false},
              ReadableCase{"camera-50mm-f4-1m.ini", least, 6, true},
              ReadableCase{"diode-circularised.ini", least, 6, true}}) {
            std::optional<test::ScopedLanguage> language;
            if (english) language.emplace(text::Language::English);
            FormFixture f(ExampleAtSize(example, size));
            QVERIFY(f.exposed);
            QCOMPARE(f.form->size(), size);
            if (english) QCOMPARE(f.Button("comPrint")->text(), "&Print");
            const auto problem = UnreadablePart(f, rows);
            QVERIFY2(!problem, qPrintable(At(example, size) + problem.value_or("")));
        }
    }

    // The divider between the drawing and the results stays where the user left it: the next
    // window opens with the same share. A value running up and down while a slider is dragged
    // leaves the value column as wide as it was.
    void resultsKeepTheirRoom() {
        FormFixture f(ExampleAtSize("camera-50mm-f4-1m.ini", {1280, 800}));
        QVERIFY(f.exposed);
        auto* split = f.form->findChild<QSplitter*>("splDrawing");
        const int total = split->sizes().value(0) + split->sizes().value(1);
        split->setSizes({total / 2, total - total / 2});
        emit split->splitterMoved(total / 2, 1);
        QCOMPARE(f.store.Get("MainWindow", "ResultsShare", ""), "500");

        // The next window, at another size, in the same user's store.
        test::TempDir dir;
        app::IniFile settings(dir / "Raysketcher.INI");
        FrmRaysketch next(f.dialogs, settings, f.store);
        next.SetNewFeatureNoteEnabled(false);
        next.Startup();
        next.show();
        QVERIFY(QTest::qWaitForWindowExposed(&next));
        const QList<int> shared = next.findChild<QSplitter*>("splDrawing")->sizes();
        QVERIFY(std::abs(shared.value(1) * 1000 / (shared.value(0) + shared.value(1)) - 500) <= 5);

        QListWidget* values = f.List("lstResVals");
        const int width = values->width();
        auto* slider = f.Get<QScrollBar>("hscVarValue_0");
        for (int p :
             {slider->minimum(), slider->maximum(), (slider->minimum() + slider->maximum()) / 2}) {
            slider->setValue(p);
            QCOMPARE(values->width(), width);
        }
    }

    // The wheel over a combo box or slider without the focus leaves its value alone; with the
    // focus it changes it. Ctrl+Z steps back, Ctrl+P prints and Ctrl+Q ends (asking first: Cancel
    // keeps the window, Yes closes it); a tab clicked takes the focus, so F1 there opens the page
    // of that tab.
    void wheelKeysAndTabsActAsOnTheDesktop() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.form->findChild<QTabWidget*>("tabOptions")->setCurrentIndex(1);
        auto* slider = f.Get<QScrollBar>("hscVarValue_0");
        const auto wheel = [](QWidget* w) {
            QWheelEvent turn(QPointF(w->rect().center()),
                             QPointF(w->mapToGlobal(w->rect().center())), QPoint(), QPoint(0, -120),
                             Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w, &turn);
        };
        f.List("lstResNames")->setFocus();
        const int before = slider->value();
        wheel(slider);
        QCOMPARE(slider->value(), before);
        slider->setFocus();
        wheel(slider);
        QVERIFY(slider->value() != before);

        const float focal = f.S().design.paraxial.params.At(1).sVarValue;
        f.Type("txtVarType_0", "70");
        QVERIFY(f.S().design.paraxial.params.At(1).sVarValue != focal);
        f.List("lstResNames")->setFocus();
        QTest::keyClick(f.form.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.S().design.paraxial.params.At(1).sVarValue, focal);

        QTabBar* systems = f.form->findChild<QTabWidget*>("tabExtraInfo")->tabBar();
        QTest::mouseClick(systems, Qt::LeftButton, {}, systems->tabRect(0).center());
        QCOMPARE(HelpPageFor(QApplication::focusWidget(), false), HelpWindow::Page::Plot);

        f.Type("txtVarType_0", "70");
        f.List("lstResNames")->setFocus();
        f.dialogs.Reply(ui::Answer::Cancel);
        QTest::keyClick(f.form.get(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(f.dialogs.calls.back().text, "Möchten Sie diese Daten speichern?");
        QVERIFY(f.form->isVisible());
        VERIFY_VIEW(f);
        f.dialogs.Reply(ui::Answer::Yes);
        QVERIFY(f.form->close());
    }

    // In front of a blank paraxial drawing, the reason: too few parameters, then no solution.
    void blankDrawingSaysWhy() {
        FormFixture f;
        QVERIFY(f.exposed);
        auto* note = f.Get<QLabel>("lblInvalidCalcs");
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), "Bitte wählen Sie drei Parameter.");
        for (const char* box : {"chkVarType_0", "chkVarType_4", "chkVarType_5"}) f.Click(box);
        f.Type("txtVarType_0", "100");
        f.Type("txtVarType_1", "300");
        QVERIFY(!note->isVisible());  // a value still missing: nothing to solve yet
        f.Type("txtVarType_2", "10");
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), "Zu diesem Parameter-Satz gibt es keine Lösungen.");
        f.Type("txtVarType_1", "500");
        QVERIFY(!note->isVisible());
        VERIFY_VIEW(f);
    }

    void resultColumnsScrollAndSelectTogether() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.form->resize(f.form->minimumSizeHint());
        QListWidget* names = f.List("lstResNames");
        QListWidget* values = f.List("lstResVals");
        values->setCurrentRow(3);
        QCOMPARE(names->currentRow(), 3);
        values->verticalScrollBar()->setValue(values->verticalScrollBar()->maximum());
        QCOMPARE(names->verticalScrollBar()->value(), values->verticalScrollBar()->value());
        QCOMPARE(names->visualItemRect(names->item(5)).top(),
                 values->visualItemRect(values->item(5)).top());
    }
};

}  // namespace rs::gui

int RunMainFormTest(int argc, char** argv) {
    rs::gui::MainFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_main_form.moc"
