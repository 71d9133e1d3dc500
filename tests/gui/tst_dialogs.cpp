// The dialogs: message, question and input boxes on Qt, the units dialog, the symbols editor
// with its drag and drop, the aperture/field plot with its window, the standard f-numbers, the
// wavelength picker, and the program's command line.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <cmath>
#include <functional>

#include "engine/catalogue.h"
#include "form_fixture.h"
#include "gui/ap_field_plot.h"
#include "gui/ap_field_window.h"
#include "gui/launch_options.h"
#include "gui/qt_dialogs.h"
#include "gui/symbols_form.h"
#include "gui/wavelength_picker.h"

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
    const int i = combo ? combo->findText(unit, Qt::MatchContains) : -1;
    if (i >= 0) combo->setCurrentIndex(i);
    return i >= 0;
}

// Drops `text` on `box` as a drag from another widget would.
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
    // The message, question and input boxes on Qt, each answered once.
    void messageQuestionAndInputBoxes() {
        QtDialogs dialogs;
        QString seen;
        const auto answer = [&seen](QMessageBox::StandardButton button) {
            OnNextModal([&seen, button](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box) return;
                seen = box->windowTitle() + ": " + box->text() + QString::number(box->icon());
                box->button(button)->click();
            });
        };
        answer(QMessageBox::Ok);
        dialogs.Message("Wellenlänge!", ui::Icon::Exclamation);
        QCOMPARE(seen, "Raysketcher: Wellenlänge!" + QString::number(QMessageBox::Warning));
        answer(QMessageBox::No);
        QCOMPARE(dialogs.Question("Speichern?", ui::Icon::Question), ui::Answer::No);
        QCOMPARE(seen, "Raysketcher: Speichern?" + QString::number(QMessageBox::Question));

        OnNextModal([&seen](QWidget* w) {
            auto* box = qobject_cast<QInputDialog*>(w);
            if (!box) return;
            seen = box->labelText() + "|" + box->textValue();
            box->setTextValue("-300");
            box->accept();
        });
        QCOMPARE(dialogs.Input("Entfernung", "negativ! \n\n", "-250"),
                 std::optional<std::string>("-300"));
        QCOMPARE(seen, "negativ! \n\n|-250");
    }

    // Cancel changes nothing, not even the settings file; OK applies and stores.
    void unitsDialogAppliesOnlyOnOk() {
        test::FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        const std::string fileBefore = test::ReadFile(f.path);
        for (const bool ok : {false, true}) {
            bool chosen = false;
            OnNextModal([&](QWidget* w) {
                if (!w || w->objectName() != "frmUnits") return;
                chosen = ChooseUnit(w, "cmbParaxConj00_Efl", "[cm]") &&
                         ChooseUnit(w, "cmbGBBeamObj01_Div", "[deg]");
                test::ClickButton(w->findChild<QPushButton*>(ok ? "comOK" : "comCancel"));
            });
            f.Click(ok ? "comUnits_1" : "comUnits_0");
            QVERIFY(chosen);
            QCOMPARE(f.Box("txtVarType_0")->text(), ok ? "5.0cm" : "50.0mm");
            QCOMPARE(test::ReadFile(f.path) == fileBefore, !ok);
        }
        VERIFY_VIEW(f);
    }

    // The symbols editor: what a drag from its character list carries lands in a box; OK stores
    // it and relabels the window.
    void symbolsEditorTakesDroppedCharacters() {
        test::FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.List("lstSymbols")->setCurrentRow(1);
        OnNextModal([&](QWidget* w) {
            auto* chars = w ? w->findChild<CharacterList*>("lstSymbols") : nullptr;
            if (!chars) return;
            const std::unique_ptr<QMimeData> dragged(chars->mimeData({chars->item(2)}));
            Drop(w->findChild<QLineEdit*>("txtVarType_0"), dragged->text());
            test::ClickButton(w->findChild<QPushButton*>("comOK"));
        });
        f.Click("comSymbols");
        QCOMPARE(f.Button("chkVarType_0")->text(), "Brennweite: f'ý");
        QCOMPARE(app::IniFile(f.path).ReadIniString("Symbols", "Brennweite: "), "f'ý");
        VERIFY_VIEW(f);
    }

    // The small aperture/field plot: the cursor over two regions names both, leaving clears the
    // names; a click at A = 0.25 sets the f-number 2, the plot's undo takes it back. The large
    // plot window keeps its place per user. The standard f-numbers enter the engraved number
    // clicked, and Cancel enters nothing.
    void aperturePlotAndStandardFNumbers() {
        test::FormFixture f(test::Example("camera-50mm-f4-1m.ini"));
        QVERIFY(f.exposed);
        f.form->resize(1400, 900);
        QTest::qWait(0);
        auto* plot = f.Get<ApFieldPlotWidget>("picApFld");
        QVERIFY(plot && plot->isVisible());
        const drawing::PlotFrame& axes = plot->Layout().frame;
        const auto send = [plot](QEvent::Type type, QPointF at, Qt::MouseButton button) {
            QMouseEvent event(type, at, plot->mapToGlobal(at), button,
                              type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
            QApplication::sendEvent(plot, &event);
        };
        const QPointF doubleGauss(*axes.x.map.Pixel(0.14), *axes.y.map.Pixel(20));
        send(QEvent::MouseMove, doubleGauss, Qt::NoButton);
        auto* types = f.Get<QLabel>("lblApFldLensClass");
        QVERIFY2(types->text().startsWith(" Doppel Gauss | "), qPrintable(types->text()));
        QVERIFY(f.Get<QLabel>("lblApFldFNosEff")->text().startsWith("F/3.5"));
        QVERIFY(!f.Get<QLabel>("lblApFldReadOut")->text().isEmpty());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(plot, &leave);
        QVERIFY(types->text().isEmpty());

        // A = 0.25 between its pixels: the position the axis maps to it exactly.
        send(QEvent::MouseButtonRelease, QPointF(*axes.x.map.Pixel(0.25), *axes.y.map.Pixel(10)),
             Qt::LeftButton);
        QCOMPARE(f.S().design.paraxial.apertureTable.Get(engine::kFNumber), 2.0f);
        QVERIFY(f.Button("comApFldUndo")->isEnabled());
        f.Click("comApFldUndo");
        QCOMPARE(f.S().design.paraxial.apertureTable.Get(engine::kFNumber), 4.0f);

        f.Click("comApFldEnlarge");
        QVERIFY(f.form->ApFieldPlot() && f.form->ApFieldPlot()->isVisible());
        f.form->ApFieldPlot()->close();
        QCOMPARE(QString::fromStdString(f.store.Get("ApFieldPlot", "Location", "")).count('|'), 4);

        for (const char* button : {"", "comCancel"}) {
            OnNextModal([button](QWidget* w) {
                auto* list = w ? w->findChild<QListWidget*>("lstFNos0") : nullptr;
                if (!list) return;
                if (*button) return test::ClickButton(w->findChild<QPushButton*>(button));
                const QRect row = list->visualItemRect(list->item(1));  // "F/1.2 (exakt 1.1892)"
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
            });
            f.Click("comApFNosStandard");
            QCOMPARE(f.Box("txtVarTypeAp_0")->text(), "1.2");
        }
        VERIFY_VIEW(f);
    }

    void launchOptions() {
        const auto parsed = [](const QStringList& args) {
            const LaunchOptions o = ParseLaunchOptions(args);
            return QString::fromStdString(o.settingsFile ? o.settingsFile->string() : "") +
                   (o.exitWhenShown ? " exit" : "") + (o.help ? " help" : "") +
                   (o.error.empty() ? "" : " error");
        };
        QCOMPARE(parsed({}), "");
        QCOMPARE(parsed({"--settings=b c.ini", "--exit-when-shown"}), "b c.ini exit");
        QCOMPARE(parsed({"-h"}), " help");
        QCOMPARE(parsed({"--settings"}), " error");
        QVERIFY(HelpText().find("--exit-when-shown") != std::string::npos);
        const LaunchOptions catalogue = ParseLaunchOptions({"--catalogue", "/opt/linsen"});
        QCOMPARE(catalogue.catalogueDir, std::filesystem::path("/opt/linsen"));
        QCOMPARE(parsed({"--catalogue="}), " error");
        QCOMPARE(parsed({"--catalogue", "--exit-when-shown"}), " error");
        QVERIFY(HelpText().find("--catalogue ORDNER") != std::string::npos);

        // The toolkit's own dialogs speak German while the translator lives.
        {
            const std::unique_ptr<QTranslator> german = LoadToolkitTranslations();
            QVERIFY(german);
            QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), "Drucken");
        }
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), "Print");
    }

    // The wavelength picker opens at the wavelength button's bottom left corner at its stored
    // size. Escape picks nothing; a click on the HeNe main line enters "632.8000" as if typed
    // and remembers the line, which is current when the picker opens again. Without a readable
    // list of their own, a click in the user's grid tells so and keeps the picker open.
    void wavelengthPicker() {
        test::FormFixture f(test::Example("hene-focus-100mm.ini"));
        QVERIFY(f.exposed);
        f.Type("txtGBWavelen", "1064");
        const QStringList at1064 = f.Values();
        QStringList typed;
        connect(f.Box("txtGBWavelen"), &QLineEdit::textChanged,
                [&typed](const QString& t) { typed << t; });
        f.store.Save(kPickerPlaceSection, kPickerPlaceKey, "0|0|330|480");
        QTest::qWait(0);  // the window laid out anew for the new values, as a user would see it
        QAbstractButton* button = f.Button("comGBWavelen");

        const auto pick = [&](std::function<void(QWidget*, QTableWidget*)> act) {
            bool opened = false;
            OnNextModal([&opened, act](QWidget* w) {
                auto* laser = w ? w->findChild<QTableWidget*>("ssWavesLaser") : nullptr;
                if (!laser) return;
                opened = true;
                act(w, laser);
                // A failed comparison leaves the picker open; it must not wait for a user.
                if (w->isVisible()) static_cast<QDialog*>(w)->reject();
            });
            f.Click("comGBWavelen");
            return opened;
        };
        QVERIFY(pick([&](QWidget* w, QTableWidget* laser) {
            QCOMPARE(w->windowTitle(), "Laserwellenlängen ");
            QCOMPARE(w->pos(), button->mapToGlobal(QPoint(0, button->height())));
            QCOMPARE(w->size(), QSize(480, 330));
            QTest::keyClick(laser, Qt::Key_Escape);
        }));
        QVERIFY(typed.isEmpty());
        QCOMPARE(f.S().design.beam.WavelengthNm(), 1064.0);

        int heNe = -1;
        QVERIFY(pick([&heNe](QWidget*, QTableWidget* laser) {
            for (int row = 0; row < laser->rowCount() && heNe < 0; ++row) {
                if (laser->item(row, 0)->text() == "632.8" && laser->item(row, 2)->text() == "main")
                    heNe = row;
            }
            if (heNe < 0) return;
            laser->scrollToItem(laser->item(heNe, 0));
            const QRect cell = laser->visualItemRect(laser->item(heNe, 1));
            QTest::mouseClick(laser->viewport(), Qt::LeftButton, {}, cell.center());
        }));
        QCOMPARE(typed, QStringList{"632.8000"});
        QCOMPARE(f.S().design.beam.WavelengthNm(), 632.8);
        QCOMPARE(f.S().backup.Kind(), static_cast<int>(ui::kBackupBeamValue));
        QVERIFY(f.Values() != at1064);
        QCOMPARE(f.store.Get("WaveLine", "Laser", ""), std::to_string(heNe + 1));

        QVERIFY(pick([&](QWidget* w, QTableWidget* laser) {
            QCOMPARE(laser->currentRow(), heNe);
            w->findChild<QTabWidget*>()->setCurrentIndex(2);
            auto* user = w->findChild<QTableWidget*>("ssWavesCustom");
            QTest::mouseClick(user->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
            QVERIFY(w->isVisible());
            QTest::keyClick(user, Qt::Key_Escape);
        }));
        QCOMPARE(f.dialogs.calls.back().text, std::string(wavelengths::kNoUserWavelengths));
        QCOMPARE(f.dialogs.calls.back().icon, ui::Icon::None);
        QCOMPARE(typed.size(), 1);
        VERIFY_VIEW(f);
    }
};

}  // namespace rs::gui

int RunDialogsTest(int argc, char** argv) {
    rs::gui::DialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dialogs.moc"
