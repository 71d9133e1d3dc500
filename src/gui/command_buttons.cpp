// The command buttons below the mode box: print, clear, recall, undo, help, about and end.
#include <QFontMetrics>
#include <QGridLayout>
#include <QPushButton>

#include "gui/panel_context.h"
#include "gui/panels.h"

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
        {"comPrint", "Drucken des aktuellen Systems", commands.print},
        {"comClear", "Löschen des aktuellen Systems", [&logic] { logic.Clear(); }},
        {"comRecall", "Laden des zuletzt gespeicherten Systems", [&logic] { logic.Recall(); }},
        {"comUndo", "Rückgängig: letzte Handlung", [&logic] { logic.Undo(); }},
        {"comHelp", "", commands.help},
        {"comAbout", "", commands.about},
    };
    int k = 0;
    for (const ButtonDef& def : buttons) {
        auto* button = ctx.controls.Make<QPushButton>(def.name);
        if (*def.tip) button->setToolTip(def.tip);
        ctx.OnPressed(button, def.action);
        grid->addWidget(button, k / 4, k % 4);
        ++k;
    }
    // Closing asks its questions in closeEvent, outside any handler.
    auto* end = ctx.controls.Make<QPushButton>("comEnd");
    QObject::connect(end, &QPushButton::clicked, ctx.receiver, commands.close);
    grid->addWidget(end, 1, 3);
    // The buttons share the column's width rather than setting it.
    for (QPushButton* button : box->findChildren<QPushButton*>()) {
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }
    return box;
}

void KeepRoomForCaptions(QWidget* buttons) {
    for (QPushButton* button : buttons->findChildren<QPushButton*>()) {
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
    }
}

}  // namespace rs::gui
