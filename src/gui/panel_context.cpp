#include "gui/panel_context.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "gui/qt_text.h"

namespace rs::gui {

void PanelContext::OnEdited(QLineEdit* box, std::function<void(std::string_view)> apply) const {
    On(box, &QLineEdit::editingFinished,
       [box, apply = std::move(apply)] { apply(ToStd(box->text())); });
}

void PanelContext::OnPressed(QAbstractButton* button, std::function<void()> apply) const {
    On(button, &QAbstractButton::clicked, [apply = std::move(apply)](bool) { apply(); });
}

QString Indexed(const char* base, int index) {
    return QString("%1_%2").arg(base).arg(index);
}

void FitRows(QListWidget* list, int rows) {
    const int row = list->fontMetrics().height() + 6;
    list->setFixedHeight(rows * row + 2 * list->frameWidth() + 2);
}

QLabel* MakeCaption(const PanelContext& ctx, const QString& name) {
    QLabel* label = ctx.controls.Make<QLabel>(name);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

QPushButton* MakeUnitsButton(const PanelContext& ctx, int tab) {
    QPushButton* button = ctx.controls.Make<QPushButton>(Indexed("comUnits", tab));
    ctx.OnPressed(button, ctx.commands.openUnits);
    return button;
}

}  // namespace rs::gui
