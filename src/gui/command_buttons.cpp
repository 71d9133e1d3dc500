// The command buttons below the mode box: print, clear, recall, undo, help, about and end.
#include <QFontMetrics>
#include <QGridLayout>
#include <QPushButton>
#include <QShortcut>
#include <utility>

#include "gui/panel_context.h"
#include "gui/panels.h"
#include "gui/qt_text.h"
#include "text/tr.h"

namespace rs::gui {

QWidget* BuildButtons(const PanelContext& ctx) {
    ui::MainWindow& logic = ctx.logic;
    const WindowCommands& commands = ctx.commands;
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    struct ButtonDef {
        const char* name;
        const char* tip;
        std::function<void()> action;
    };
    const ButtonDef buttons[] = {
        {"comPrint", text::TrNoop("Drucken des aktuellen Systems (Strg+P)"), commands.print},
        {"comClear", text::TrNoop("Löschen des aktuellen Systems"), [&logic] { logic.Clear(); }},
        {"comRecall", text::TrNoop("Laden des zuletzt gespeicherten Systems"),
         [&logic] { logic.Recall(); }},
        {"comUndo", text::TrNoop("Rückgängig: letzte Handlung"), [&logic] { logic.Undo(); }},
        {"comHelp", "", commands.help},
        {"comAbout", "", commands.about},
    };
    int k = 0;
    for (const ButtonDef& def : buttons) {
        auto* button = ctx.controls.Make<QPushButton>(def.name);
        if (*def.tip) button->setToolTip(QTr(def.tip));
        ctx.OnPressed(button, def.action);
        grid->addWidget(button, k / 4, k % 4);
        ++k;
    }
    // Closing asks its questions in closeEvent, outside any handler.
    auto* end = ctx.controls.Make<QPushButton>("comEnd");
    end->setToolTip(QTr("Programm beenden (Strg+Q)"));
    QObject::connect(end, &QPushButton::clicked, ctx.receiver, commands.close);
    grid->addWidget(end, 1, 3);
    // The buttons share the column's width rather than setting it.
    for (QPushButton* button : box->findChildren<QPushButton*>()) {
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }
    return box;
}

void KeepRoomForCaptions(QWidget* buttons) {
    // The style's own measure of a button with this caption: its margins and frame included.
    for (QPushButton* button : buttons->findChildren<QPushButton*>()) {
        button->setMinimumWidth(button->sizeHint().width());
    }
}

void AddCommandKeys(QWidget* window, QWidget* buttons) {
    const std::pair<QKeySequence, const char*> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_P), "comPrint"},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), "comEnd"},
    };
    for (const auto& [sequence, name] : keys) {
        auto* button = buttons->findChild<QPushButton*>(name);
        if (button == nullptr) continue;
        auto* key = new QShortcut(sequence, window);
        key->setContext(Qt::WindowShortcut);
        // As a click: a disabled button (nothing to undo) ignores it.
        QObject::connect(key, &QShortcut::activated, button, &QPushButton::click);
    }
}

}  // namespace rs::gui
