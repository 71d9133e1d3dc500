#pragma once
// A main window on the offscreen platform with a settings file of its own in a fresh folder,
// answered by scripted dialogs, and the moves of a user: clicking, typing, pressing Enter.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "app/user_settings_store.h"
#include "gui/main_form.h"
#include "support/temp_dir.h"
#include "ui/scripted_dialogs.h"
#include "ui/view_model.h"

// Every widget shows what the view of the window's state says.
#define VERIFY_VIEW(f)                                              \
    do {                                                            \
        const auto mismatch = (f).ViewMismatch();                   \
        QVERIFY2(!mismatch, mismatch ? qPrintable(*mismatch) : ""); \
    } while (false)

namespace rs::test {

// The text of one of the example designs.
inline std::string Example(const std::string& name) {
    return ReadFile(std::filesystem::path(RAYSKETCHER_EXAMPLES) / name);
}

inline QStringList Items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// Clicks a button where a user would: a check box or option button on its indicator, any other
// button in its middle. Disabled widgets ignore it, as they ignore the user.
inline void ClickButton(QAbstractButton* button) {
    const bool indicator = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                      indicator ? QPoint(8, button->height() / 2) : button->rect().center());
}

// Typing into a box: into it (its text is selected), the keys, then Enter, or leaving the box.
inline void TypeInto(QLineEdit* box, const QString& text, bool enter = true) {
    // A user's click into the box activates its window first.
    if (!box->window()->isActiveWindow()) {
        box->window()->activateWindow();
        (void)QTest::qWaitForWindowActive(box->window());
    }
    box->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    if (enter) {
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        box->window()->setFocus(Qt::TabFocusReason);  // the box loses the focus
        box->clearFocus();
    }
}

class FormFixture {
public:
    explicit FormFixture(const std::string& iniText = {}, bool noteEnabled = false) {
        if (!iniText.empty()) std::ofstream(path, std::ios::binary) << iniText;
        settings = std::make_unique<app::IniFile>(path);
        form = std::make_unique<gui::FrmRaysketch>(dialogs, *settings, store);
        form->SetNewFeatureNoteEnabled(noteEnabled);
        form->Startup();
        form->show();
        form->activateWindow();
        exposed =
            QTest::qWaitForWindowExposed(form.get()) && QTest::qWaitForWindowActive(form.get());
    }

    template <typename W>
    W* Get(const std::string& name) const {
        return qobject_cast<W*>(form->Control(name));
    }
    QLineEdit* Box(const std::string& name) const { return Get<QLineEdit>(name); }
    QListWidget* List(const std::string& name) const { return Get<QListWidget>(name); }
    QAbstractButton* Button(const std::string& name) const { return Get<QAbstractButton>(name); }

    void Click(const std::string& name) { ClickButton(Button(name)); }
    void Type(const std::string& name, const QString& text, bool enter = true) {
        TypeInto(Box(name), text, enter);
    }
    QStringList Names() const { return Items(List("lstResNames")); }
    QStringList Values() const { return Items(List("lstResVals")); }
    const ui::WindowState& S() const { return form->Logic().State(); }

    // The first widget that does not show what the view of the window's state says, or
    // nothing: the window title, every registered control's visibility and enabled state, the
    // texts of boxes and labels, check marks, slider positions and the result columns.
    std::optional<QString> ViewMismatch() const {
        const ui::WindowView view = ui::BuildView(S());
        if (form->windowTitle() != QString::fromStdString(view.title)) return "title";
        std::size_t checked = 0;
        for (const ui::ControlView& c : view.controls) {
            QWidget* w = form->Control(c.name);
            const QString name = QString::fromStdString(c.name);
            if (!w) continue;  // a control the window does not have yet
            ++checked;
            if (w->isHidden() == c.visible) return name + ": visibility";
            if (w->testAttribute(Qt::WA_ForceDisabled) == c.enabled) return name + ": enabled";
            const QString text = QString::fromStdString(c.text);
            if (auto* box = qobject_cast<QLineEdit*>(w)) {
                if (box->text() != text)
                    return name + ": '" + box->text() + "', not '" + text + "'";
            } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
                if (check->isChecked() != c.checked) return name + ": check mark";
            } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
                if (bar->value() != c.position) return name + ": slider position";
            } else if (auto* label = qobject_cast<QLabel*>(w)) {
                if (label->text() != text) return name + ": '" + label->text() + "'";
            }
        }
        if (checked < 100) return QString("only %1 controls in the view").arg(checked);
        QStringList names, values;
        for (const engine::ResultRow& row : S().results.rows) {
            names << QString::fromStdString(row.name);
            values << QString::fromStdString(row.value);
        }
        if (Names() != names) return "result names";
        if (Values() != values) return "result values";
        return std::nullopt;
    }

    TempDir dir;
    std::filesystem::path path = dir / "Raysketcher.INI";
    ScriptedDialogs dialogs;
    app::MemoryUserSettingsStore store;
    std::unique_ptr<app::IniFile> settings;
    std::unique_ptr<gui::FrmRaysketch> form;
    bool exposed = false;
};

}  // namespace rs::test
