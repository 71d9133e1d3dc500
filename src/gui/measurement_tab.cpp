#include "gui/measurement_tab.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
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
    setMinimumSize(180, 150);
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

namespace {

// The page's three parts stand side by side where the tab is wide and one below the other (the
// page scrolling up and down) where it stands narrow below the results of a small window.
class MeasurementPage final : public QWidget {
public:
    MeasurementPage() : parts_(new QBoxLayout(QBoxLayout::TopToBottom, this)) {
        parts_->setContentsMargins(8, 8, 8, 8);
        parts_->setSpacing(10);
    }
    QBoxLayout* Parts() const { return parts_; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        const auto direction =
            width() >= kSideBySide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
        if (parts_->direction() != direction) parts_->setDirection(direction);
    }

private:
    // Wider than the three parts need side by side, so the choice never swings to and fro.
    static constexpr int kSideBySide = 720;
    QBoxLayout* parts_;
};

// The table, its units and its buttons; `page` parents the file dialog.
QGridLayout* BuildTablePart(const PanelContext& ctx, QWidget* page) {
    ui::MainWindow& logic = ctx.logic;
    auto* tablePart = new QGridLayout;
    tablePart->setVerticalSpacing(4);
    auto* grid = ctx.controls.Make<MeasurementGridTable>("grdGBMeasure", ctx);
    grid->setMinimumSize(150, 110);
    tablePart->addWidget(grid, 0, 0, 1, 2);
    tablePart->setRowStretch(0, 1);
    for (int column = 0; column < 2; ++column) {
        auto* combo = ctx.controls.Make<QComboBox>(Indexed("cmbGBMeasureUnit", column));
        combo->setMinimumContentsLength(6);
        ctx.On(combo, &QComboBox::activated,
               [&logic, column](int entry) { ui::ChooseMeasurementUnit(logic, column, entry); });
        tablePart->addWidget(MakeCaption(ctx, Indexed("lblGBMeasureUnit", column)), 1 + column, 0);
        tablePart->addWidget(combo, 1 + column, 1);
    }
    auto* paste = ctx.controls.Make<QPushButton>("comGBMeasurePaste");
    ctx.OnPressed(paste, [&logic] {
        logic.TakeMeasurementText(ToStd(QApplication::clipboard()->text()), false);
    });
    auto* import = ctx.controls.Make<QPushButton>("comGBMeasureImport");
    ctx.OnPressed(import, [&logic, page] {
        const QString file = QFileDialog::getOpenFileName(
            page, QTr(ui::kMeasurementImportTitle), QString(), QTr(ui::kMeasurementImportFilter));
        if (!file.isEmpty()) logic.ImportMeasurementFile(file.toStdString());
    });
    auto* remove = ctx.controls.Make<QPushButton>("comGBMeasureRemove");
    ctx.OnPressed(remove, [&logic, grid] { ui::RemoveMeasurementRows(logic, grid->ChosenRows()); });
    tablePart->addWidget(paste, 3, 0);
    tablePart->addWidget(import, 3, 1);
    tablePart->addWidget(remove, 4, 0, 1, 2);
    tablePart->setColumnStretch(1, 1);
    return tablePart;
}

// The fit and its warnings, the element and Übernehmen.
QGridLayout* BuildFitPart(const PanelContext& ctx) {
    ui::MainWindow& logic = ctx.logic;
    auto* fitPart = new QGridLayout;
    fitPart->setVerticalSpacing(4);
    auto* fit = ctx.controls.Make<QLabel>("lblGBMeasureFit");
    fit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* notes = ctx.controls.Make<QLabel>("lblGBMeasureNotes");
    notes->setWordWrap(true);
    notes->setMargin(2);
    notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fitPart->addWidget(fit, 0, 0, 1, 3);
    fitPart->addWidget(notes, 1, 0, 1, 3);
    fitPart->setRowStretch(2, 1);
    auto* element = ctx.controls.Make<QLineEdit>("txtGBMeasureElement");
    element->setToolTip(QTr("Lage der Linse oder des Spiegels auf der z-Achse der Messung"));
    element->setFixedWidth(100);
    ctx.OnEdited(element, [&logic](std::string_view t) { ui::ApplyElementPositionText(logic, t); });
    auto* adopt = ctx.controls.Make<QPushButton>("comGBMeasureAdopt");
    adopt->setToolTip(QTr("Den angepassten Strahl als Objektstrahl übernehmen"));
    ctx.OnPressed(adopt, [&logic] { logic.AdoptMeasuredBeam(); });
    fitPart->addWidget(MakeCaption(ctx, "lblGBMeasureElement"), 3, 0, 1, 3);
    fitPart->addWidget(element, 4, 0);
    fitPart->addWidget(adopt, 4, 1);
    fitPart->setColumnStretch(2, 1);
    return fitPart;
}

}  // namespace

QWidget* BuildMeasurementPage(const PanelContext& ctx) {
    auto* page = new MeasurementPage;
    page->Parts()->addLayout(BuildTablePart(ctx, page), 2);
    auto* plot = ctx.controls.Make<CausticPlotWidget>("picGBMeasure", ctx.logic);
    page->Parts()->addWidget(plot, 3);
    page->Parts()->addLayout(BuildFitPart(ctx), 2);
    return Scrolled(page);
}

}  // namespace rs::gui
