#include "gui/measurement_tab.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/panel_context.h"
#include "gui/qt_text.h"
#include "render/qt_surface.h"

namespace rs::gui {

MeasurementGridTable::MeasurementGridTable(const PanelContext& ctx)
    : logic_(ctx.logic), act_(ctx.act) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // The edit is taken once the signal has returned: taking it fills the grid anew, which
    // must not delete the item that is still reporting its change.
    connect(this, &QTableWidget::itemChanged, ctx.receiver, [this](QTableWidgetItem* item) {
        const int row = item->row(), column = item->column();
        const std::string text = ToStd(item->text());
        QMetaObject::invokeMethod(
            this,
            [this, row, column, text] {
                act_([&] { ui::ApplyMeasurementCell(logic_, row, column, text); });
            },
            Qt::QueuedConnection);
    });
}

void MeasurementGridTable::showEvent(QShowEvent* event) {
    QTableWidget::showEvent(event);
    Refresh();
}

void MeasurementGridTable::Refresh() {
    // An open editor keeps what the user is typing; the grid follows once it is taken.
    if (!isVisible() || state() == QAbstractItemView::EditingState) return;
    ui::MeasurementGrid grid = ui::MeasurementGridOf(logic_.State().design);
    if (shown_ && shown_->header == grid.header && shown_->cells == grid.cells) return;
    const QSignalBlocker block(this);
    const int current = currentRow();
    setColumnCount(static_cast<int>(grid.header.size()));
    QStringList header;
    for (const std::string& caption : grid.header) header << ToQ(caption);
    setHorizontalHeaderLabels(header);
    setRowCount(static_cast<int>(grid.cells.size()) + 1);
    for (int row = 0; row < rowCount(); ++row) {
        const auto r = static_cast<std::size_t>(row);
        for (int column = 0; column < columnCount(); ++column) {
            const QString text = r < grid.cells.size()
                                     ? ToQ(grid.cells[r][static_cast<std::size_t>(column)])
                                     : QString();
            QTableWidgetItem* cell = item(row, column);
            if (!cell) {
                setItem(row, column, new QTableWidgetItem(text));
            } else if (cell->text() != text) {
                cell->setText(text);
            }
        }
    }
    if (current >= rowCount()) setCurrentCell(rowCount() - 1, 0);
    shown_ = std::move(grid);
}

std::vector<int> MeasurementGridTable::ChosenRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
    return rows;
}

void MeasurementGridTable::Paste() {
    const std::string text = ToStd(QApplication::clipboard()->text());
    act_([&] { logic_.TakeMeasurementText(text, false); });
}

void MeasurementGridTable::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        return;
    }
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState &&
        !ChosenRows().empty()) {
        const std::vector<int> rows = ChosenRows();
        act_([&] { ui::RemoveMeasurementRows(logic_, rows); });
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void WriteView(MeasurementGridTable& grid, const ui::ControlView&, Written&) {
    grid.Refresh();
}

CausticPlotWidget::CausticPlotWidget(const ui::MainWindow& logic) : logic_(logic) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 110);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CausticPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    render::QtSurface surface(painter, QRectF(rect()));
    const drawing::CausticPlotData data = ui::CausticPlotOf(logic_.State().design);
    const drawing::PlotFrame frame = drawing::LayOutCausticPlot(surface, surface.Scale(), data);
    drawing::DrawCausticPlot(surface, frame, data);
}

void WriteView(CausticPlotWidget& plot, const ui::ControlView&, Written&) {
    if (plot.isVisible()) plot.update();
}

QWidget* BuildMeasurementPage(const PanelContext& ctx) {
    ui::MainWindow& logic = ctx.logic;
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(10);

    // Left: the table, its units and its buttons.
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    auto* grid = ctx.controls.Make<MeasurementGridTable>("grdGBMeasure", ctx);
    left->addWidget(grid, 1);
    auto* unitRow = new QHBoxLayout;
    for (int column = 0; column < 2; ++column) {
        auto* combo = ctx.controls.Make<QComboBox>(Indexed("cmbGBMeasureUnit", column));
        combo->setMinimumContentsLength(8);
        ctx.On(combo, &QComboBox::activated,
               [&logic, column](int entry) { ui::ChooseMeasurementUnit(logic, column, entry); });
        unitRow->addWidget(MakeCaption(ctx, Indexed("lblGBMeasureUnit", column)));
        unitRow->addWidget(combo, 1);
    }
    left->addLayout(unitRow);
    auto* buttonRow = new QHBoxLayout;
    auto* paste = ctx.controls.Make<QPushButton>("comGBMeasurePaste");
    ctx.OnPressed(paste, [&logic] {
        logic.TakeMeasurementText(ToStd(QApplication::clipboard()->text()), false);
    });
    auto* import = ctx.controls.Make<QPushButton>("comGBMeasureImport");
    ctx.OnPressed(import, [&logic, page] {
        const QString file = QFileDialog::getOpenFileName(
            page, ToQ(ui::kMeasurementImportTitle), QString(), ToQ(ui::kMeasurementImportFilter));
        if (!file.isEmpty()) logic.ImportMeasurementFile(file.toStdString());
    });
    auto* remove = ctx.controls.Make<QPushButton>("comGBMeasureRemove");
    ctx.OnPressed(remove, [&logic, grid] { ui::RemoveMeasurementRows(logic, grid->ChosenRows()); });
    for (QPushButton* button : {paste, import, remove}) buttonRow->addWidget(button);
    left->addLayout(buttonRow);
    columns->addLayout(left, 2);

    // Right: the plot, the fit and its warnings, the element and Übernehmen.
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(ctx.controls.Make<CausticPlotWidget>("picGBMeasure", ctx.logic), 1);
    auto* results = new QHBoxLayout;
    auto* fit = ctx.controls.Make<QLabel>("lblGBMeasureFit");
    fit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* notes = ctx.controls.Make<QLabel>("lblGBMeasureNotes");
    notes->setWordWrap(true);
    notes->setMargin(2);
    notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    results->addWidget(fit);
    results->addWidget(notes, 1);
    right->addLayout(results);
    auto* adoptRow = new QHBoxLayout;
    auto* element = ctx.controls.Make<QLineEdit>("txtGBMeasureElement");
    element->setToolTip("Lage der Linse oder des Spiegels auf der z-Achse der Messung");
    element->setFixedWidth(100);
    ctx.OnEdited(element, [&logic](std::string_view t) { ui::ApplyElementPositionText(logic, t); });
    auto* adopt = ctx.controls.Make<QPushButton>("comGBMeasureAdopt");
    adopt->setToolTip("Den angepassten Strahl als Objektstrahl übernehmen");
    ctx.OnPressed(adopt, [&logic] { logic.AdoptMeasuredBeam(); });
    adoptRow->addWidget(MakeCaption(ctx, "lblGBMeasureElement"));
    adoptRow->addWidget(element);
    adoptRow->addWidget(adopt);
    adoptRow->addStretch(1);
    right->addLayout(adoptRow);
    columns->addLayout(right, 3);
    return page;
}

}  // namespace rs::gui
