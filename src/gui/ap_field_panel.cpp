// The "Systeme" page of the paraxial extras: the small aperture/field plot, the lens types and
// the f-number under the cursor with the aperture figures there, the plot's own undo and the
// button that opens the large plot window.
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "gui/ap_field_plot.h"
#include "gui/panel_context.h"
#include "gui/panels.h"
#include "gui/qt_text.h"

namespace rs::gui {

QWidget* BuildApFieldPage(const PanelContext& ctx) {
    ui::MainWindow& logic = ctx.logic;
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    auto* plot = ctx.controls.Make<ApFieldPlotWidget>("picApFld", logic,
                                                      ApFieldPlotWidget::Style{true, false});
    grid->addWidget(plot, 0, 0);

    // Beside the plot, so that the plot keeps the page's height: what lies under the cursor,
    // each text wrapping in a narrow column, and the buttons.
    auto* side = new QVBoxLayout;
    side->setSpacing(4);
    auto* types = ctx.controls.Make<QLabel>("lblApFldLensClass");
    types->setToolTip(QTr("Objektivtypen unter dem Mauszeiger"));
    QFont bold = types->font();
    bold.setBold(true);
    types->setFont(bold);
    auto* fNumber = ctx.controls.Make<QLabel>("lblApFldFNosEff");
    fNumber->setToolTip(QTr("Blendenzahl unter dem Mauszeiger"));
    auto* readOut = ctx.controls.Make<QLabel>("lblApFldReadOut");
    readOut->setToolTip(
        QTr("Objektwinkel, Blendenzahl, effektive Blendenzahl und bildseitige "
            "numerische Apertur, die ein Klick ergäbe"));
    // Room for the longest word of the names (they wrap), and lines for two names and for the
    // read-out, fixed so that the page does not change its size while the mouse moves. The
    // word is measured in the language shown: an English name wraps where the German one is
    // one word.
    int longestWord = 0;
    for (const QString& word : QTr("Mikroskopobjektiv").split(' ', Qt::SkipEmptyParts)) {
        longestWord = std::max(longestWord, types->fontMetrics().horizontalAdvance(word));
    }
    const int sideWidth = longestWord + 4;
    for (const auto& [label, lines] : {std::pair{types, 3}, {fNumber, 1}, {readOut, 3}}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFixedSize(sideWidth, lines * label->fontMetrics().lineSpacing() + 2);
        side->addWidget(label);
    }
    side->addStretch(1);
    auto* undo = ctx.controls.Make<QPushButton>("comApFldUndo");
    undo->setToolTip(QTr("Den letzten Klick in das Diagramm zurücknehmen"));
    ctx.OnPressed(undo, [&logic] { logic.ApFieldUndo(); });
    side->addWidget(undo);
    auto* enlarge = ctx.controls.Make<QPushButton>("comApFldEnlarge");
    enlarge->setToolTip(QTr("Das Diagramm in einem eigenen Fenster, mit Beispielsystemen"));
    ctx.OnPressed(enlarge, ctx.commands.openApFieldPlot);
    side->addWidget(enlarge);
    grid->addLayout(side, 0, 1);
    grid->setColumnStretch(0, 1);

    plot->OnHover([types, fNumber, readOut](const ui::ApFieldHover& hover) {
        types->setText(ToQ(hover.lensTypes));
        fNumber->setText(ToQ(hover.fNumber));
        readOut->setText(ToQ(hover.readOut));
    });
    plot->OnClick(
        [act = ctx.act, &logic](const analysis::PlotPoint& point, const std::vector<int>&) {
            act([&] { ui::ApFieldClick(logic, point); });
        });
    return page;
}

}  // namespace rs::gui
