// The main window driven through its widgets, as a user drives it: the wiring from a widget
// event to the window logic and back. What the logic decides is tested in tests/ui; here every
// test that changes the window ends with all widgets showing what the view of the state says.
#include <QTabWidget>
#include <QTest>

#include "app/settings.h"
#include "form_fixture.h"
#include "gui/help_window.h"

namespace rs::gui {

using test::FormFixture;

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

    void beamModeAndItsExtrasPanel() {
        FormFixture f(test::Example("hene-focus-100mm.ini"));
        QVERIFY(f.exposed);
        f.Click("chkGBExtraM2Use");
        f.Type("txtGBExtraMFactor", "4");
        QCOMPARE(f.Values().at(0), " 4.0");
        f.Click("chkGaussBeamMode");  // back to the paraxial design
        QVERIFY(!f.S().design.beam.beamMode);
        VERIFY_VIEW(f);
    }

    void closingAsksAndCancelKeepsTheWindow() {
        FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.dialogs.Reply(ui::Answer::Cancel);
        QVERIFY(!f.form->close());
        QVERIFY(f.form->isVisible());
        QCOMPARE(f.dialogs.calls.back().text, "Möchten Sie diese Daten speichern?");
        f.Type("txtVarType_0", "70");
        f.dialogs.Reply(ui::Answer::Yes);
        QVERIFY(f.form->close());
        QCOMPARE(app::IniFile(f.path).ReadIniString("LastValues", "1VarTypeVal").substr(0, 5),
                 "0|70|");
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
