// The dialogs: message, question and input boxes on Qt, the units dialog, the symbols editor
// with its drag and drop, and the program's command line.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "form_fixture.h"
#include "gui/launch_options.h"
#include "gui/qt_dialogs.h"
#include "gui/symbols_form.h"
#include "gui/units_form.h"

namespace rs::gui {
namespace {

// Runs `act` on the next modal window as soon as it is up; the code that opens it blocks until
// `act` closes it.
void OnNextModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = nullptr;
        for (int i = 0; i < 500 && !(modal = QApplication::activeModalWidget()); ++i) {
            QTest::qWait(10);
        }
        act(modal);
    });
}

// Chooses the entry of a units list whose text contains `unit`, as the user would.
bool ChooseUnit(QWidget* dialog, const char* list, const QString& unit) {
    auto* combo = dialog->findChild<QComboBox*>(list);
    if (!combo) return false;
    const int i = combo->findText(unit, Qt::MatchContains);
    if (i < 0) return false;
    combo->setCurrentIndex(i);
    return true;
}

void Drop(QLineEdit* box, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPoint at(box->width() - 2, box->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    // A message (answer -1) and a question answered with each of its buttons.
    void messageAndQuestionBoxes_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("message") << int(QMessageBox::Ok) << -1;
        QTest::newRow("yes") << int(QMessageBox::Yes) << int(ui::Answer::Yes);
        QTest::newRow("no") << int(QMessageBox::No) << int(ui::Answer::No);
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << int(ui::Answer::Cancel);
    }
    void messageAndQuestionBoxes() {
        QFETCH(int, button);
        QFETCH(int, answer);
        QtDialogs dialogs;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        OnNextModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) return;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->button(static_cast<QMessageBox::StandardButton>(button))->click();
        });
        if (answer < 0) {
            const char* wave = "Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! ";
            dialogs.Message(wave, ui::Icon::Exclamation);
            QCOMPARE(title, "Raysketcher");
            QCOMPARE(text, wave);
            QCOMPARE(icon, QMessageBox::Warning);
        } else {
            QCOMPARE(
                int(dialogs.Question("Möchten Sie diese Daten speichern?", ui::Icon::Question)),
                answer);
            QCOMPARE(icon, QMessageBox::Question);
        }
    }

    void inputBoxGivesTheTextOrNothing() {
        QtDialogs dialogs;
        QString prompt, preset;
        OnNextModal([&](QWidget* w) {
            auto* box = qobject_cast<QInputDialog*>(w);
            if (!box) return;
            prompt = box->labelText();
            preset = box->textValue();
            box->setTextValue("-250");
            box->accept();
        });
        QCOMPARE(dialogs.Input("Entfernung Objekt-erste Linsenfläche", "negativ! \n\n", "-250"),
                 std::optional<std::string>("-250"));
        QCOMPARE(prompt, "negativ! \n\n");
        QCOMPARE(preset, "-250");
        OnNextModal([](QWidget* w) {
            if (w) w->close();
        });
        QCOMPARE(dialogs.Input("Aperturwerte", "Blendenzahl", "1"), std::nullopt);
    }

    // Cancel changes nothing, not even the settings file; OK applies and stores.
    void unitsDialogAppliesOnlyOnOk_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cancel") << false << "50.0mm";
        QTest::newRow("ok") << true << "5.0cm";
    }
    void unitsDialogAppliesOnlyOnOk() {
        QFETCH(bool, ok);
        QFETCH(QString, shown);
        test::FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        const units::UnitState before = f.S().design.units;
        const std::string fileBefore = test::ReadFile(f.path);
        bool chosen = false;
        OnNextModal([&](QWidget* w) {
            if (!w || w->objectName() != "frmUnits") return;
            chosen = ChooseUnit(w, "cmbParaxConj00_Efl", "[cm]") &&
                     ChooseUnit(w, "cmbGBBeamObj01_Div", "[deg]");
            test::ClickButton(w->findChild<QPushButton*>(ok ? "comOK" : "comCancel"));
        });
        f.Click(ok ? "comUnits_1" : "comUnits_0");
        QVERIFY(chosen);
        QCOMPARE(f.Text("txtVarType_0"), shown);
        QCOMPARE(f.Values().at(0), " " + shown);
        QCOMPARE(f.S().design.units == before, !ok);
        QCOMPARE(test::ReadFile(f.path) == fileBefore, !ok);
        if (ok) QVERIFY(!app::IniFile(f.path).ReadIniString("Units", "Parax").empty());
    }

    void symbolsEditorTakesDroppedCharacters() {
        test::TempDir dir;
        app::IniFile ini(dir / "Raysketcher.INI");
        test::ScriptedDialogs dialogs;
        FrmSymbols editor(ini, dialogs);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        auto* chars = editor.findChild<CharacterList*>("lstSymbols");
        QVERIFY(chars);
        QCOMPARE(chars->count(), static_cast<int>(ui::SymbolsEditorModel::CharacterList().size()));

        // What a drag from the list carries lands in the box.
        const std::unique_ptr<QMimeData> dragged(chars->mimeData({chars->item(2)}));
        QCOMPARE(dragged->text(), "ý");
        auto* focal = editor.findChild<QLineEdit*>("txtVarType_0");
        Drop(focal, dragged->text());
        QCOMPARE(focal->text(), "f'ý");

        // Two equal symbols are refused and the editor stays open.
        auto* objDist = editor.findChild<QLineEdit*>("txtVarType_1");
        objDist->setText("P");
        test::ClickButton(editor.findChild<QPushButton*>("comOK"));
        QCOMPARE(dialogs.Messages().size(), std::size_t{1});
        QVERIFY(editor.isVisible());
        objDist->setText("s");
        test::ClickButton(editor.findChild<QPushButton*>("comOK"));
        QVERIFY(!editor.isVisible());
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(ini.ReadIniString("Symbols", "Brennweite: "), "f'ý");
        QCOMPARE(ini.ReadIniString("Symbols", "Objektweite: "), "s");
    }

    void symbolsEditorRelabelsTheWindow() {
        test::FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.List("lstSymbols")->setCurrentRow(1);
        OnNextModal([&](QWidget* w) {
            if (!w) return;
            w->findChild<QLineEdit*>("txtVarType_0")->setText("F1");
            test::ClickButton(w->findChild<QPushButton*>("comOK"));
        });
        f.Click("comSymbols");
        QCOMPARE(f.Button("chkVarType_0")->text(), "Brennweite: F1");
        QCOMPARE(f.Names().at(0), "Brennweite: F1");
        // Cancel stores nothing.
        OnNextModal([&](QWidget* w) {
            if (!w) return;
            w->findChild<QLineEdit*>("txtVarType_0")->setText("G");
            test::ClickButton(w->findChild<QPushButton*>("comCancel"));
        });
        f.Click("comSymbols");
        QCOMPARE(f.Button("chkVarType_0")->text(), "Brennweite: F1");
    }

    void launchOptions_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<bool>("exitWhenShown");
        QTest::addColumn<bool>("help");
        QTest::addColumn<bool>("error");
        QTest::newRow("none") << QStringList{} << "" << false << false << false;
        QTest::newRow("settings=") << QStringList{"--settings=b c.ini", "--exit-when-shown"}
                                   << "b c.ini" << true << false << false;
        QTest::newRow("help") << QStringList{"-h"} << "" << false << true << false;
        QTest::newRow("missing file") << QStringList{"--settings"} << "" << false << false << true;
        QTest::newRow("unknown") << QStringList{"--frobnicate"} << "" << false << false << true;
    }
    void launchOptions() {
        QFETCH(QStringList, args);
        QFETCH(QString, settings);
        QFETCH(bool, exitWhenShown);
        QFETCH(bool, help);
        QFETCH(bool, error);
        const LaunchOptions o = ParseLaunchOptions(args);
        QCOMPARE(QString::fromStdString(o.settingsFile ? o.settingsFile->string() : ""), settings);
        QCOMPARE(o.exitWhenShown, exitWhenShown);
        QCOMPARE(o.help, help);
        QCOMPARE(!o.error.empty(), error);
        QVERIFY(HelpText().find("--exit-when-shown") != std::string::npos);
    }
};

}  // namespace rs::gui

int RunDialogsTest(int argc, char** argv) {
    rs::gui::DialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dialogs.moc"
