#include "gui/fnumber_dialog.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "analysis/f_stops.h"
#include "gui/qt_text.h"
#include "ui/placement.h"

namespace rs::gui {

FrmApFNosStandard::FrmApFNosStandard(QWidget* parent) : QDialog(parent), list_(new QListWidget) {
    setObjectName("frmApFNosStandard");
    setWindowTitle(QTr("Standard-Blendenzahlen"));
    list_->setObjectName("lstFNos0");
    // The rows line up their exact values in a column.
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (int entry = 0; entry < analysis::kStandardFNumberCount; ++entry) {
        list_->addItem(ToQ(analysis::StandardFNumberRow(entry)));
    }
    const QFontMetrics metrics(list_->font());
    list_->setMinimumWidth(metrics.horizontalAdvance(list_->item(1)->text()) + 48);
    list_->setMinimumHeight(16 * (metrics.height() + 2));
    // A click chooses at once; Enter chooses the current row.
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Choose(list_->row(item)); });
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Choose(list_->row(item)); });

    auto* cancel = new QPushButton(QTr("&Abbrechen"));
    cancel->setObjectName("comCancel");
    // Enter belongs to the list, not to the button.
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(list_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
}

void FrmApFNosStandard::Choose(int row) {
    if (row < 0 || row >= analysis::kStandardFNumberCount) return;
    chosen_ = row;
    accept();
}

std::optional<int> FrmApFNosStandard::Display() {
    chosen_.reset();
    adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        const ui::WindowRect r =
            ui::RestorePlacement(std::nullopt, width(), height(), area.width(), area.height());
        move(area.x() + qRound(r.left), area.y() + qRound(r.top));
    }
    list_->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return chosen_;
}

}  // namespace rs::gui
