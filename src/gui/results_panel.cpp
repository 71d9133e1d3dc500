// The result list: names and values in two lists that the user sees as one list of two columns.
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "gui/panel_context.h"
#include "gui/panels.h"

namespace rs::gui {

QWidget* BuildResults(const PanelContext& ctx) {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* names = ctx.controls.Make<QListWidget>("lstResNames");
    auto* values = ctx.controls.Make<QListWidget>("lstResVals");
    // Values in a fixed-pitch font, so the digits of positive and negative numbers line up.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(names->font().pointSizeF());
    values->setFont(fixed);
    names->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    names->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    values->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    names->setMinimumWidth(170);
    values->setMinimumWidth(120);
    names->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    values->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    for (QListWidget* list : {names, values}) {
        list->setUniformItemSizes(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        // Both columns share one row height, whatever their fonts.
        QObject::connect(
            list->model(), &QAbstractItemModel::rowsInserted, list,
            [names, values, list](const QModelIndex&, int first, int last) {
                const int height =
                    std::max(names->fontMetrics().height(), values->fontMetrics().height()) + 4;
                for (int i = first; i <= last; ++i) {
                    list->item(i)->setSizeHint({0, height});
                }
            });
    }
    // One list of two columns for the user: scrolling and choosing a row keep both in step.
    QObject::connect(values->verticalScrollBar(), &QScrollBar::valueChanged,
                     names->verticalScrollBar(), &QScrollBar::setValue);
    QObject::connect(names->verticalScrollBar(), &QScrollBar::valueChanged,
                     values->verticalScrollBar(), &QScrollBar::setValue);
    QObject::connect(names, &QListWidget::currentRowChanged, values, [values](int r) {
        const QSignalBlocker block(values);
        values->setCurrentRow(r);
    });
    QObject::connect(values, &QListWidget::currentRowChanged, names, [names](int r) {
        const QSignalBlocker block(names);
        names->setCurrentRow(r);
    });
    row->addWidget(names, 4);
    row->addWidget(values, 3);
    return box;
}

}  // namespace rs::gui
