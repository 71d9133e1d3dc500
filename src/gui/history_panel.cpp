#include "gui/history_panel.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "gui/panel_context.h"
#include "gui/qt_text.h"
#include "ui/history.h"

namespace rs::gui {

QWidget* BuildHistoryPage(const PanelContext& ctx) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);
    auto* list = ctx.controls.Make<QListWidget>("lstHistory");
    list->setToolTip(QTr("Ein Klick auf einen Schritt stellt seinen Zustand wieder her"));
    // The names end in the values they set: shortened in the middle, both ends stay readable.
    list->setTextElideMode(Qt::ElideMiddle);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Only a click picks a step; the window moving the current row is no pick.
    ctx.On(list, &QListWidget::itemClicked, [&logic = ctx.logic, list](QListWidgetItem* item) {
        logic.PickHistoryRow(list->row(item));
    });
    column->addWidget(list);
    // The reference stands beside the history: both are about comparing with an earlier state.
    auto* buttons = new QHBoxLayout;
    auto* pin = ctx.controls.Make<QPushButton>("comPinReference");
    ctx.OnPressed(pin, [&logic = ctx.logic] { logic.PinReference(); });
    auto* clear = ctx.controls.Make<QPushButton>("comClearReference");
    ctx.OnPressed(clear, [&logic = ctx.logic] { logic.ClearReference(); });
    buttons->addWidget(pin);
    buttons->addWidget(clear);
    buttons->addStretch(1);
    column->addLayout(buttons);
    return page;
}

void AddHistoryKeys(QWidget* window, const PanelContext& ctx) {
    for (const ui::HistoryKey& k : ui::kHistoryKeys) {
        auto* key = new QShortcut(QKeySequence(QString::fromLatin1(k.keys)), window);
        key->setContext(Qt::WindowShortcut);
        ctx.On(key, &QShortcut::activated,
               [&logic = ctx.logic, walk = k.walk] { logic.Walk(walk); });
    }
}

}  // namespace rs::gui
