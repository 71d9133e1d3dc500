// The main window driven through its widgets: names, captions and tool tips of the controls,
// value entry, selections, sliders, limits, modes, the extras panels, closing and placement.
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include "app/settings.h"
#include "form_fixture.h"
#include "gui/help_window.h"
#include "app/presentation.h"
#include "ui/view_model.h"

namespace rs::gui {
namespace {

using test::FormFixture;
using Strings = std::vector<std::string>;

// The result list a fresh solve of a copy of the window's design gives.
QStringList FreshColumn(const ui::WindowState& s, bool names) {
    app::DesignState copy = s.design;
    app::SolveDesign(copy, false);
    engine::ResultListCache cache;
    beam::BeamListCache beamCache;
    QStringList out;
    for (const engine::ResultRow& row : app::ResultRows(copy, false, cache, beamCache).rows) {
        out << QString::fromStdString(names ? row.name : row.value);
    }
    return out;
}

int RowOf(const FormFixture& f, const QString& name) {
    return static_cast<int>(f.Names().indexOf(name));
}

QStringList TabTexts(const FormFixture& f, const char* name) {
    auto* tabs = f.form->findChild<QTabWidget*>(name);
    QStringList out;
    for (int i = 0; tabs && i < tabs->count(); ++i) out << tabs->tabText(i);
    return out;
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    // A few representative buttons; that every control exists is checked below.
    void controlsCarryTheirCaptionsAndTips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        QTest::newRow("symbols") << "comSymbols"
                                 << "..."
                                 << "Ändern Sie die benutzerdefinierten Symbole";
        QTest::newRow("undo") << "comUndo"
                              << "&Rückgängig"
                              << "Rückgängig: letzte Handlung";
        QTest::newRow("units 2") << "comUnits_2"
                                 << "Einheiten"
                                 << "";
        QTest::newRow("beam mode") << "chkGaussBeamMode"
                                   << "Gaußstrahl"
                                   << "Gaußschen Strahlmode anzeigen";
        QTest::newRow("points") << "chkDrawParaxPoints"
                                << "Brenn-, Haupt- && Knoten-Punkte darstellen"
                                << "";
    }
    void controlsCarryTheirCaptionsAndTips() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, tip);
        FormFixture f;
        QAbstractButton* b = f.Button(name.toStdString());
        QVERIFY2(b, qPrintable(name));
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->toolTip(), tip);
    }

    void listsFramesAndTabs() {
        FormFixture f;
        QCOMPARE(test::Items(f.List("lstMirrorMode")),
                 QStringList({"Linsensystem", "Spiegelsystem"}));
        QCOMPARE(test::Items(f.List("lstOptions")),
                 QStringList({"Konstruktionsstrahlen anzeigen", "Extrainformationen anzeigen"}));
        auto* formats = f.Get<QComboBox>("cmbImagHeight");
        QCOMPARE(formats->count(), 52);
        QCOMPARE(formats->itemText(51), "Fernsehformat 1-1/4inch [12.9 x 17.1]  10.7mm");
        QCOMPARE(f.Get<QGroupBox>("fraOptAp1")->title(), "&Apertur [optional]");
        QCOMPARE(TabTexts(f, "tabOptions"),
                 QStringList({"&Allgemeine Parameter", "Regler", "&Erweiterte Optionen"}));
        QCOMPARE(TabTexts(f, "tabExtraInfoGB"),
                 QStringList({"&Optionen", "Diodenlaser", "&Schärfentiefe", "&Linsen"}));
        QVERIFY(f.form->findChild<QWidget*>("pctDrg")->isVisible());
    }

    // The view names every control the window logic wants shown; each has its widget, except
    // those of windows still to come.
    void everyControlOfTheViewHasItsWidget() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        const QStringList later = {"comApFNosStandard", "comApFldUndo"};
        const ui::WindowView view = ui::BuildView(f.S());
        QVERIFY2(view.controls.size() > 120, qPrintable(QString::number(view.controls.size())));
        for (const ui::ControlView& c : view.controls) {
            const QString name = QString::fromStdString(c.name);
            if (later.contains(name)) continue;
            QWidget* w = f.form->findChild<QWidget*>(name);
            QVERIFY2(w, qPrintable(name + " has no widget"));
            QCOMPARE(f.form->Control(c.name), w);
            QCOMPARE(!w->testAttribute(Qt::WA_ForceDisabled), c.enabled);
            QCOMPARE(!w->isHidden(), c.visible);
        }
    }

    void typedValueAppliesOnEnterAndOnLeavingTheBox() {
        FormFixture f;
        QVERIFY(f.exposed);
        for (const char* box : {"chkVarType_0", "chkVarType_1", "chkVarType_5"}) f.Click(box);
        QVERIFY(f.S().design.paraxial.params.Count() == 3);
        f.Type("txtVarType_0", "100");
        QCOMPARE(f.Text("txtVarType_0"), "100.0mm");
        f.Type("txtVarType_1", "-20cm", false);  // leaving the box applies it as well
        QCOMPARE(f.Text("txtVarType_1"), "-200.0mm");
        QVERIFY(f.Values().at(RowOf(f, "Bildweite: a'")).trimmed().isEmpty());  // incomplete
        f.Type("txtVarType_2", "10,0");
        QCOMPARE(f.Values().at(RowOf(f, "Bildweite: a'")), " 200.0mm");
        QCOMPARE(f.Values(), FreshColumn(f.S(), false));
        QCOMPARE(f.Names(), FreshColumn(f.S(), true));
        QVERIFY(!f.Get<QLabel>("lblSliders")->isVisibleTo(f.form.get()));

        // Garbage gives the value back; the box of an entry refused keeps no trace of it.
        f.Type("txtVarType_0", "abc");
        QCOMPARE(f.Text("txtVarType_0"), "100.0mm");
        QVERIFY(f.dialogs.calls.empty());
        f.Click("comUndo");
        QCOMPARE(f.Text("txtVarType_2"), "");
        QVERIFY(f.Values().at(RowOf(f, "Bildweite: a'")).trimmed().isEmpty());
    }

    void focusSelectsTheWholeText() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        QLineEdit* box = f.Box("txtVarType_0");
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(4, box->height() / 2));
        QTRY_COMPARE(box->selectedText(), "50.0mm");
        QTest::keyClicks(box, "60");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), "60.0mm");
    }

    void rejectedSelectionUnchecksItsBoxAndTells() {
        FormFixture f;
        QVERIFY(f.exposed);
        f.Click("chkVarType_6");
        f.Click("chkVarType_8");
        QCOMPARE(f.dialogs.Messages(),
                 Strings({"Objekt- und Bildwinkel können nicht unabhängig voneinander definiert "
                          "werden! "}));
        QVERIFY(f.Button("chkVarType_6")->isChecked());
        QVERIFY(!f.Button("chkVarType_8")->isChecked());
        QCOMPARE(f.S().design.paraxial.params.Count(), 1);

        // A fourth parameter and a second aperture parameter simply stay unchecked.
        for (const char* box :
             {"chkVarType_0", "chkVarType_1", "chkVarType_2", "chkVarTypeAp_0", "chkVarTypeAp_1"}) {
            f.Click(box);
        }
        QVERIFY(!f.Button("chkVarType_2")->isChecked());
        QVERIFY(!f.Button("chkVarTypeAp_1")->isChecked());
        QVERIFY(f.Button("chkVarTypeAp_0")->isChecked());
        QCOMPARE(f.dialogs.Messages().size(), std::size_t{1});
    }

    void beamModeSwitchChangesTitleAndFrames() {
        FormFixture f;
        QVERIFY(f.exposed);
        QWidget* w = f.form.get();
        auto shown = [&](const char* name) { return f.form->Control(name)->isVisibleTo(w); };
        f.Click("chkGaussBeamMode");
        QVERIFY(w->windowTitle().contains("Berechnung von Gaußschen Strahlen"));
        QVERIFY(!shown("fraOptFld") && !shown("lstMirrorMode") && !shown("tabExtraInfo"));
        QVERIFY(shown("fraGaussBeamObj") && shown("lstOptionsGB") && shown("tabExtraInfoGB"));
        QVERIFY(!shown("chkVarTypeGB_4"));  // the waist-to-waist distance is never offered

        f.Click("chkGaussBeamMode");
        QVERIFY(w->windowTitle().contains("paraxiale Berechnung"));
        QVERIFY(shown("fraOptFld") && !shown("fraGaussBeamObj"));
        f.List("lstMirrorMode")->setCurrentRow(1);
        QVERIFY(w->windowTitle().contains("[Spiegelsystem]"));
    }

    void sliderStepMovesTheValueWithOneUndoStep() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        auto* bar = f.Get<QScrollBar>("hscVarValue_0");
        QCOMPARE(bar->value(), 50);
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(f.Text("txtVarType_0"), "45.0mm");
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(f.Text("txtVarType_0"), "46.0mm");
        QCOMPARE(f.Values(), FreshColumn(f.S(), false));
        f.Click("comUndo");  // the whole run of the slider
        QCOMPARE(f.Text("txtVarType_0"), "50.0mm");
        QCOMPARE(bar->value(), 50);
    }

    // The program's own changes to its controls never come back as events: a typed value that
    // moves the slider does not make the slider apply a (rounded) value of its own.
    void renderNeverReentersTheHandlers() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.Type("txtVarType_0", "52.37");
        QCOMPARE(f.Get<QScrollBar>("hscVarValue_0")->value(), 74);
        QCOMPARE(f.S().design.paraxial.params.At(1).sVarValue, 52.37f);
        // Rendering again changes nothing at all.
        const ui::Snapshot before = ui::Capture(f.S().design);
        f.form->Render();
        f.form->Render();
        QVERIFY(ui::Capture(f.S().design) == before);
        QCOMPARE(f.S().backup.Kind(), static_cast<int>(ui::kBackupTypedValue));
    }

    void limitBoxesKeepGarbageAndRefuseWithTheirMessage() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.form->findChild<QTabWidget*>("tabOptions")->setCurrentIndex(1);
        f.Type("txtVarLimHi_0", "viel");
        QCOMPARE(f.Text("txtVarLimHi_0"), "viel");
        f.Type("txtVarLimHi_0", "47");
        QCOMPARE(f.dialogs.Messages(),
                 Strings({"Oberer Grenzwert muß größer als aktueller Wert sein!"}));
        QCOMPARE(f.Text("txtVarLimHi_0"), "55.0mm");
        f.Type("txtVarLimLow_0", "25");
        QCOMPARE(f.Text("txtVarLimLow_0"), "25.0mm");
        QCOMPARE(f.Get<QScrollBar>("hscVarValue_0")->value(), 83);
        // The image angle has no limits: its slider cannot be used.
        QVERIFY(!f.Get<QScrollBar>("hscVarValue_2")->isEnabled());
    }

    void checkListsAndSymbolChoice() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        QListWidget* options = f.List("lstOptions");
        QVERIFY(f.form->Control("tabExtraInfo")->isVisible());
        options->item(1)->setCheckState(Qt::Unchecked);  // as a click on its check mark does
        QVERIFY(!f.S().design.dof.showExtra);
        QVERIFY(!f.form->Control("tabExtraInfo")->isVisible());
        options->item(0)->setCheckState(Qt::Checked);
        QVERIFY(f.S().design.window.drawHaltingRay);

        QVERIFY(!f.Button("comSymbols")->isEnabled());
        f.List("lstSymbols")->setCurrentRow(1);
        QVERIFY(f.Button("comSymbols")->isEnabled());
        QCOMPARE(f.settings->ReadIniString("Options", "UnitType"), "1");
    }

    void extrasPanelsGoThroughTheLogic() {
        FormFixture f(test::Example("hene-focus-100mm.ini"));
        QVERIFY(f.exposed);
        QWidget* w = f.form.get();
        f.Click("chkGBExtraM2Use");
        f.Type("txtGBExtraMFactor", "4");
        QCOMPARE(f.Values().at(0), " 4.0");
        f.Type("txtGBExtraMFactor", "50");  // refused: the box shows the stored value again
        QCOMPARE(f.Text("txtGBExtraMFactor"), "4.0");
        f.Click("comUndo");
        QCOMPARE(f.Text("txtGBExtraMFactor"), "1.0");

        f.Click("chkGBExtraDiodeMode");
        f.Click("chkGBExtraBeamRectCircularise");
        QVERIFY(w->windowTitle().endsWith(" [zirkularisiert - min Divergenz]"));
        QVERIFY(!f.Button("chkVarTypeGB_0")->isEnabled());
        f.Get<QComboBox>("cmbGBExtraBeamRectCircMode")->setCurrentIndex(1);
        emit f.Get<QComboBox>("cmbGBExtraBeamRectCircMode")->activated(1);
        QVERIFY(w->windowTitle().endsWith(" [zirkularisiert - max Taillenabstand]"));

        const QString fivePercent = f.Get<QLabel>("lblGBExtraDOFVal")->text();
        f.List("lstGBExtraDOFPercent")->setCurrentRow(5);
        QVERIFY(f.Get<QLabel>("lblGBExtraDOFVal")->text() != fivePercent);
    }

    void depthOfFieldPanelAndCircleOfConfusion() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        const QString hyperfocal = f.Get<QLabel>("lblDOFVal_5")->text();
        f.Type("txtDOFCoC", "0.05");
        QCOMPARE(f.Get<QLabel>("lblDOFVal_0")->text(), "  0.050mm");
        QVERIFY(f.Get<QLabel>("lblDOFVal_5")->text() != hyperfocal);
        f.Type("txtDOFCoC", "-1");  // refused
        QCOMPARE(f.Text("txtDOFCoC"), " 0.050mm");
        f.Click("comUndo");
        QCOMPARE(f.Get<QLabel>("lblDOFVal_5")->text(), hyperfocal);
        f.Click("optCoCType_1");
        QVERIFY(!f.Box("txtDOFCoC")->isEnabled());
    }

    void closingAsksAndCancelKeepsTheWindow() {
        {
            FormFixture empty;  // nothing chosen: nothing to ask
            QVERIFY(empty.exposed);
            QVERIFY(empty.form->close());
            QVERIFY(empty.dialogs.calls.empty());
        }
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.dialogs.Reply(ui::Answer::Cancel);
        QVERIFY(!f.form->close());
        QVERIFY(f.form->isVisible());
        QCOMPARE(f.dialogs.calls.back().text, "Möchten Sie diese Daten speichern?");
        // The placement is stored before the question, so even a cancelled close keeps it.
        app::IniFile reread(f.path);
        QVERIFY(app::ReadFormPosition(reread, "frmRaysketch").has_value());

        f.Type("txtVarType_0", "70");
        f.dialogs.Reply(ui::Answer::Yes);
        QVERIFY(f.form->close());
        reread.Reload();
        QCOMPARE(reread.ReadIniString("LastValues", "1VarTypeVal").substr(0, 5), "0|70|");
    }

    void placementIsRestoredFromTheSettingsFile() {
        FormFixture first;
        QVERIFY(first.exposed);
        const QRect area = first.form->screen()->availableGeometry();
        const QRect g = first.form->geometry();
        if (!area.contains(g))
            QSKIP("the screen is smaller than the window (ctest gives it a larger one)");
        // First start: centred, at least the standard size.
        QVERIFY(std::abs((g.left() - area.left()) - (area.right() - g.right())) <= 2);
        QVERIFY(g.width() >= 12300 * first.form->screen()->logicalDotsPerInch() / 1440 - 1);

        FormFixture again("[FormPositions]\r\nFormPosn_frmRaysketch=300|450|12000|19500\r\n");
        QVERIFY(again.exposed);
        const ui::WindowRect now = again.form->CurrentPlacement();
        QVERIFY(std::abs(now.top - 300) <= 30 && std::abs(now.left - 450) <= 30);
        QVERIFY(std::abs(now.height - 12000) <= 30 && std::abs(now.width - 19500) <= 30);
    }

    void newFeatureNoteShowsTheHelp() {
        FormFixture f({}, true);
        QVERIFY(f.exposed);
        QTRY_VERIFY(f.form->Help() && f.form->Help()->isVisible());
        QCOMPARE(f.form->Help()->CurrentPage(), HelpWindow::Page::NewFeatures);
        QCOMPARE(f.store.Get("NewFeature", "V22", ""), "-1");
    }

    void printRefusesAnIncompleteDesign() {
        FormFixture f;
        QVERIFY(f.exposed);
        f.Click("chkVarType_0");
        f.Click("comPrint");
        QCOMPARE(f.dialogs.Messages().size(), std::size_t{1});
        QVERIFY(!QApplication::activeModalWidget());
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
