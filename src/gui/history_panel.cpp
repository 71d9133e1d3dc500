#include "gui/history_panel.h"

#include <QKeySequence>
#include <QListWidget>
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
