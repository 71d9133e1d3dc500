// Below the option tabs: beam mode, symbol set, lens or mirror, and the display options of
// either mode.
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>

#include "gui/panel_context.h"
#include "gui/panels.h"
#include "gui/qt_text.h"

namespace rs::gui {
namespace {

// A list of fixed entries, `rows` tall, whose current row is a choice of the logic.
QListWidget* ChoiceList(const PanelContext& ctx, const char* name, int rows,
                        std::function<void(int)> choose) {
    auto* list = ctx.controls.Make<QListWidget>(name);
    FitRows(list, rows);
    ctx.On(list, &QListWidget::currentRowChanged, std::move(choose));
    return list;
}

}  // namespace

QWidget* BuildModeBox(const PanelContext& ctx) {
    ui::MainWindow& logic = ctx.logic;
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    QListWidget* mirror =
        ChoiceList(ctx, "lstMirrorMode", 2, [&logic](int row) { logic.ChooseMirrorMode(row); });
    mirror->setToolTip(QTr("Wählen Sie zwischen Linsensystem und Spiegelsystem"));
    QListWidget* symbols =
        ChoiceList(ctx, "lstSymbols", 2, [&logic](int row) { logic.ChooseSymbolSet(row); });
    symbols->setToolTip(QTr("Wählen Sie die Parameter-Symbole "));
    auto* editSymbols = ctx.controls.Make<QPushButton>("comSymbols");
    editSymbols->setToolTip(QTr("Ändern Sie die benutzerdefinierten Symbole"));
    editSymbols->setFixedWidth(32);
    ctx.OnPressed(editSymbols, ctx.commands.openSymbols);

    // Lists of options with check marks: a changed mark is the choice.
    auto* options = ctx.controls.Make<QListWidget>("lstOptions");
    FitRows(options, 2);
    ctx.On(options, &QListWidget::itemChanged, [&logic, options](QListWidgetItem* item) {
        logic.SetListOption(options->row(item), item->checkState() == Qt::Checked);
    });
    auto* optionsGB = ctx.controls.Make<QListWidget>("lstOptionsGB");
    FitRows(optionsGB, 1);
    ctx.On(optionsGB, &QListWidget::itemChanged, [&logic](QListWidgetItem* item) {
        logic.SetBeamExtrasShown(item->checkState() == Qt::Checked);
    });

    auto* beam = ctx.controls.Make<QCheckBox>("chkGaussBeamMode");
    beam->setToolTip(QTr("Gaußschen Strahlmode anzeigen"));
    ctx.On(beam, &QCheckBox::clicked, [&logic](bool on) { logic.SetBeamMode(on); });

    auto* symbolRow = new QHBoxLayout;
    symbolRow->setSpacing(4);
    symbolRow->addWidget(symbols, 1);
    symbolRow->addWidget(editSymbols, 0, Qt::AlignTop);
    // The lists take the width the column has; their own wish (256 pixels) would widen it.
    for (QListWidget* list : {mirror, symbols, options, optionsGB}) {
        list->setSizePolicy(QSizePolicy::Ignored, list->sizePolicy().verticalPolicy());
    }

    grid->addWidget(beam, 0, 0, 1, 2);
    grid->addLayout(symbolRow, 1, 0);
    grid->addWidget(mirror, 1, 1);
    grid->addWidget(options, 2, 0, 1, 2);
    grid->addWidget(optionsGB, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

}  // namespace rs::gui
