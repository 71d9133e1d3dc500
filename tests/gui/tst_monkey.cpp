// Thousands of random clicks, typed texts and slider moves on the real window, as a careless
// user would make them, with the window's invariants checked after each: the logic is idle, the
// selections are sorted and bounded, the result list equals a fresh solve of the same design,
// and every widget shows what the view of the state says.
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <cmath>
#include <random>

#include "form_fixture.h"
#include "app/presentation.h"
#include "ui/view_model.h"

namespace rs::gui {
namespace {

constexpr int kSteps = 5200;

class Monkey {
public:
    explicit Monkey(unsigned seed, const std::string& iniText) : rng_(seed), f_(iniText) {
        f_.dialogs.inputFallback = [this]() -> std::optional<std::string> {
            if (Chance(0.3)) return std::nullopt;
            return Text().toStdString();
        };
        f_.dialogs.questionFallback = [this] { return static_cast<ui::Answer>(Int(0, 2)); };
        for (const std::string& name : f_.form->ControlNames()) {
            QWidget* w = f_.form->Control(name);
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                // Buttons that open windows of their own are left to the dialog tests.
                static const QStringList kModal = {"comUnits_0", "comUnits_1", "comUnits_2",
                                                   "comSymbols", "comPrint",   "comHelp",
                                                   "comAbout",   "comEnd",     "comGBWavelen"};
                if (!kModal.contains(b->objectName())) buttons_.push_back(b);
            } else if (auto* box = qobject_cast<QLineEdit*>(w)) {
                boxes_.push_back(box);
            } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
                sliders_.push_back(bar);
            } else if (auto* list = qobject_cast<QListWidget*>(w)) {
                if (list->objectName() != "lstResNames" && list->objectName() != "lstResVals") {
                    lists_.push_back(list);
                }
            } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
                combos_.push_back(combo);
            }
        }
        for (auto* tabs : f_.form->findChildren<QTabWidget*>()) tabs_.push_back(tabs);
    }

    bool Ready() const { return f_.exposed && !buttons_.empty() && !boxes_.empty(); }

    // Runs `steps` operations (picks of a control the user could not reach do not count);
    // returns the first broken invariant, or nothing.
    std::optional<QString> Run(int steps) {
        int done = 0;
        for (int i = 0; done < steps; ++i) {
            if (i > 50 * steps) return QString("the monkey found nothing to do");
            const QString op = Step();
            if (op == "-") continue;
            ++done;
            if (auto broken = Check()) return QString("step %1 (%2): %3").arg(i).arg(op, *broken);
            f_.dialogs.calls.clear();
        }
        return std::nullopt;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    template <typename T>
    T* Pick(const std::vector<T*>& from) {
        return from[static_cast<std::size_t>(Int(0, static_cast<int>(from.size()) - 1))];
    }

    QString Number() {
        const double exponent = Chance(0.9) ? std::uniform_real_distribution<double>(-2, 4)(rng_)
                                            : std::uniform_real_distribution<double>(-9, 40)(rng_);
        const double v = (Chance(0.5) ? -1 : 1) * (Chance(0.05) ? 0.0 : std::pow(10.0, exponent));
        QString t = QString::number(v, 'g', Int(1, 8));
        if (Chance(0.3)) t.replace('.', ',');
        static const char* kSuffixes[] = {"",   "",    "",    "",  "",   "mm",  "cm", "m",
                                          "µm", "deg", "rad", "x", "nm", " mm", "in", "mrad"};
        return t + QString::fromUtf8(kSuffixes[Int(0, 15)]);
    }

    QString Text() {
        static const char* kOdd[] = {"",      " ",
                                     "abc",   "1e400",
                                     "nan",   "-",
                                     "1e30",  "-1e29",
                                     "1e38",  "0",
                                     "1,5",   "∞",
                                     "12 34", "--1",
                                     "0x10",  "1e-40",
                                     "-0",    "In Unendlich",
                                     "inf",   "99999999999999999999999999999999999999999999"};
        if (Chance(0.15)) return QString::fromUtf8(kOdd[Int(0, 19)]);
        return Number();
    }

    // What a user can reach: shown and enabled (the tab that holds it may be switched first).
    bool Reachable(QWidget* w) const { return w->isVisible() && w->isEnabled(); }

    QString Step() {
        const int kind = Int(0, 99);
        if (kind < 30) {
            QAbstractButton* b = Pick(buttons_);
            if (!Reachable(b)) return "-";
            // The mode switch turns everything upside down: now and then only.
            if (b->objectName() == "chkGaussBeamMode" && !Chance(0.3)) return "-";
            if (b->objectName() == "comClear" && !Chance(0.2)) return "-";
            test::ClickButton(b);
            return "click " + b->objectName();
        }
        if (kind < 62) {
            QLineEdit* box = Pick(boxes_);
            if (!Reachable(box)) return "-";
            const QString text = Text();
            test::TypeInto(box, text, Chance(0.7));
            return "type '" + text + "' into " + box->objectName();
        }
        if (kind < 80) {
            QScrollBar* bar = Pick(sliders_);
            if (!Reachable(bar)) return "-";
            if (Chance(0.5)) {
                bar->setValue(Int(-10, 110));
            } else {
                bar->triggerAction(static_cast<QAbstractSlider::SliderAction>(Int(1, 8)));
            }
            return "slide " + bar->objectName();
        }
        if (kind < 86) {
            QListWidget* list = Pick(lists_);
            if (!Reachable(list) || list->count() == 0) return "-";
            QListWidgetItem* item = list->item(Int(0, list->count() - 1));
            if (item->flags() & Qt::ItemIsUserCheckable) {
                item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked
                                                                      : Qt::Checked);
            } else {
                list->setCurrentItem(item);
            }
            return "list " + list->objectName();
        }
        if (kind < 91) {
            QComboBox* combo = Pick(combos_);
            if (!Reachable(combo) || combo->count() == 0) return "-";
            const int entry = Int(0, combo->count() - 1);
            combo->setCurrentIndex(entry);
            emit combo->activated(entry);
            return "choose " + combo->objectName();
        }
        if (kind < 98) {
            QTabWidget* tabs = Pick(tabs_);
            tabs->setCurrentIndex(Int(0, tabs->count() - 1));
            return "tab " + tabs->objectName();
        }
        if (kind < 99) {
            // Closing: a Cancel keeps the window; otherwise it is opened again.
            if (!f_.form->close()) return "close cancelled";
            f_.form->show();
            f_.form->activateWindow();
            if (!QTest::qWaitForWindowActive(f_.form.get())) return "not active again";
            return "closed and reopened";
        }
        f_.form->Logic().Undo();
        f_.form->Render();
        return "undo";
    }

    static std::optional<QString> CheckSet(const engine::Selection& set, int capacity, int maxIndex,
                                           bool atInfinity, const char* what) {
        if (set.Count() > capacity) return QString("%1: too many").arg(what);
        int last = -1;
        for (const engine::CVarType& e : set.Entries()) {
            if (e.nVarType <= last || e.nVarType > maxIndex) {
                return QString("%1: not sorted or out of range").arg(what);
            }
            last = e.nVarType;
            if (!std::isfinite(e.sVarValue) || !std::isfinite(e.sLimLow) ||
                !std::isfinite(e.sLimHih)) {
                return QString("%1: not finite").arg(what);
            }
            if (atInfinity && e.nVarType == engine::kObjDist) continue;
            if (e.bLimLowDef && e.bLimHihDef &&
                (e.sLimLow > e.sLimHih ||
                 (e.bVarValDef && (e.sVarValue < e.sLimLow || e.sVarValue > e.sLimHih)))) {
                return QString("%1: value outside its limits, index %2").arg(what).arg(e.nVarType);
            }
        }
        return std::nullopt;
    }

    std::optional<QString> Check() const {
        const ui::WindowState& s = f_.S();
        if (!s.machine.IsIdle()) return "not idle";
        if (QApplication::activeModalWidget()) return "a modal window stayed open";
        const app::DesignState& d = s.design;
        for (const auto& broken :
             {CheckSet(d.paraxial.params, 3, 8, d.paraxial.options.objAtInfinity, "params"),
              CheckSet(d.paraxial.aperture, 1, 4, false, "aperture"),
              CheckSet(d.beam.axes[0].selection, 3, 10, false, "beam")}) {
            if (broken) return broken;
        }
        if (d.beam.axes[0].selection.Contains(beam::kGbTrack)) return "t chosen";

        // The list shows what a fresh solve of the same design shows.
        app::DesignState copy = d;
        app::SolveDesign(copy, false);
        engine::ResultListCache cache;
        beam::BeamListCache beamCache;
        const auto rows = app::ResultRows(copy, false, cache, beamCache).rows;
        const QStringList names = f_.Names();
        const QStringList values = f_.Values();
        if (names.size() != static_cast<qsizetype>(rows.size()) || values.size() != names.size()) {
            return "result list length";
        }
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto row = static_cast<qsizetype>(i);
            if (names[row] != QString::fromStdString(rows[i].name) ||
                values[row] != QString::fromStdString(rows[i].value)) {
                return QString("result row %1: '%2' '%3' instead of '%4' '%5'")
                    .arg(row)
                    .arg(names[row], values[row], QString::fromStdString(rows[i].name),
                         QString::fromStdString(rows[i].value));
            }
        }

        // Every widget shows what the view of the state says.
        const ui::WindowView view = ui::BuildView(s);
        if (f_.form->windowTitle() != QString::fromStdString(view.title)) return "title";
        for (const ui::ControlView& c : view.controls) {
            QWidget* w = f_.form->Control(c.name);
            if (!w) continue;
            const QString name = QString::fromStdString(c.name);
            if (w->isHidden() == c.visible) return name + ": visibility";
            if (w->testAttribute(Qt::WA_ForceDisabled) == c.enabled) return name + ": enabled";
            if (auto* box = qobject_cast<QLineEdit*>(w)) {
                if (box->text() != QString::fromStdString(c.text)) {
                    return name + ": '" + box->text() + "' instead of '" +
                           QString::fromStdString(c.text) + "'";
                }
            } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
                if (check->isChecked() != c.checked) return name + ": check mark";
            } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
                if (bar->value() != c.position) return name + ": slider position";
            } else if (auto* label = qobject_cast<QLabel*>(w)) {
                if (label->text() != QString::fromStdString(c.text)) return name + ": label";
            }
        }
        return std::nullopt;
    }

    std::mt19937 rng_;
    test::FormFixture f_;
    std::vector<QAbstractButton*> buttons_;
    std::vector<QLineEdit*> boxes_;
    std::vector<QScrollBar*> sliders_;
    std::vector<QListWidget*> lists_;
    std::vector<QComboBox*> combos_;
    std::vector<QTabWidget*> tabs_;
};

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void randomUseKeepsTheWindowConsistent_data() {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<QString>("example");
        QTest::newRow("empty") << 11u << "";
        QTest::newRow("camera") << 12u << "camera-50mm-f4-1m.ini";
        QTest::newRow("beam") << 13u << "hene-focus-100mm.ini";
        QTest::newRow("diode") << 14u << "diode-circularised.ini";
    }
    void randomUseKeepsTheWindowConsistent() {
        QFETCH(unsigned, seed);
        QFETCH(QString, example);
        Monkey monkey(seed,
                      example.isEmpty() ? std::string() : test::Example(example.toStdString()));
        QVERIFY(monkey.Ready());
        const auto broken = monkey.Run(kSteps / 4 + 1);
        QVERIFY2(!broken, broken ? qPrintable(*broken) : "");
    }
};

}  // namespace rs::gui

int RunMonkeyTest(int argc, char** argv) {
    rs::gui::MonkeyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_monkey.moc"
