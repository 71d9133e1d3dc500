#include "gui/lens_grid.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextOption>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/panel_context.h"
#include "gui/qt_text.h"
#include "ui/main_window.h"

namespace rs::gui {
namespace {

bool SameNeed(const std::optional<app::CatalogueNeed>& a,
              const std::optional<app::CatalogueNeed>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    if (a->cylinders != b->cylinders || a->elements.size() != b->elements.size()) return false;
    for (std::size_t i = 0; i < a->elements.size(); ++i) {
        if (a->elements[i].focalLength != b->elements[i].focalLength ||
            a->elements[i].beamRadius != b->elements[i].beamRadius) {
            return false;
        }
    }
    return true;
}

// A label of a fixed number of lines as wide as the page. It wraps its text within them but never
// asks for another size: a size that followed the text would move the panels around at every
// click.
class LinesLabel final : public QLabel {
public:
    explicit LinesLabel(int lines) {
        setWordWrap(true);
        setFixedHeight(lines * fontMetrics().lineSpacing() + 2 * frameWidth() + 2);
    }
    bool hasHeightForWidth() const override { return false; }
    QSize sizeHint() const override { return {0, height()}; }
    QSize minimumSizeHint() const override { return {0, height()}; }
};

}  // namespace

LensCatalogueSource ReadLensCatalogue(const std::optional<std::filesystem::path>& explicitDir,
                                      const std::filesystem::path& programDir) {
    LensCatalogueSource source;
    source.location = analysis::FindCatalogueDir(explicitDir, programDir);
    if (source.location.dir) source.lenses = analysis::ReadCatalogueLenses(*source.location.dir);
    return source;
}

LensGridTable::LensGridTable(const ui::MainWindow& logic, QLabel* description)
    : logic_(logic), description_(description) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A few lines and the header are enough; the page gives the grid whatever else it has.
    setMinimumHeight(horizontalHeader()->sizeHint().height() +
                     3 * verticalHeader()->defaultSectionSize() + 2 * frameWidth());
    connect(this, &QTableWidget::itemSelectionChanged, this, [this] { Describe(); });
}

void LensGridTable::SetCatalogue(LensCatalogueSource source) {
    source_ = std::move(source);
    // Without a catalogue the whole area says where it was looked for: no columns, nothing to
    // scroll to and nothing to describe.
    const bool missing = !source_->location.dir;
    horizontalHeader()->setHidden(missing);
    setHorizontalScrollBarPolicy(missing ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    description_->setHidden(missing);
    shownFor_.reset();
    Refresh();
}

void LensGridTable::paintEvent(QPaintEvent* event) {
    QTableWidget::paintEvent(event);
    // A missing catalogue, or a grid without lines, says why in the empty area.
    const QString note = Note().isEmpty() ? ToQ(grid_.note) : Note();
    if (rowCount() > 0 || note.isEmpty()) return;
    // Folder names break where they must, so each shows whole however narrow the grid is.
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    QTextOption wrap(Qt::AlignLeft | Qt::AlignTop);
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(QRectF(viewport()->rect().adjusted(6, 4, -6, -4)), note, wrap);
}

QString LensGridTable::Note() const {
    if (!source_) return {};
    // A catalogue found but with files left out names each of them, with the reason.
    if (source_->location.dir) {
        QStringList notRead;
        for (const text::FileNotRead& file : source_->lenses.NotRead()) {
            notRead << ToQ(file.Message());
        }
        return notRead.join('\n');
    }
    QString text = ToQ(analysis::CatalogueNotFoundMessage(source_->location));
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

void LensGridTable::showEvent(QShowEvent* event) {
    QTableWidget::showEvent(event);
    Refresh();
}

void LensGridTable::Refresh() {
    // Hidden (another tab, the panel closed, the paraxial mode): filled when it is shown.
    if (!isVisible()) return;
    const bool found = source_ && source_->location.dir;
    std::optional<app::CatalogueNeed> need = app::CatalogueNeedOf(logic_.State().design);
    // Without a catalogue only the form of the grid follows the design.
    if (!found && need) need->elements.clear();
    if (shownFor_ && SameNeed(*shownFor_, need)) return;
    shownFor_ = need;
    const bool cylinders = need && need->cylinders;
    Fill(need && found ? app::CatalogueGridOf(source_->lenses, *need)
                       : analysis::LensGrid{analysis::LensGridHeader(cylinders), {}, {}},
         cylinders);
}

void LensGridTable::Fill(const analysis::LensGrid& grid, bool cylinders) {
    grid_ = grid;
    {
        const QSignalBlocker block(this);
        clearSelection();
        setRowCount(0);
        setColumnCount(static_cast<int>(grid_.header.size()));
        QStringList header;
        for (const std::string& caption : grid_.header) header << ToQ(caption);
        setHorizontalHeaderLabels(header);
        setRowCount(static_cast<int>(grid_.cells.size()));
        for (int row = 0; row < rowCount(); ++row) {
            const auto& cells = grid_.cells[static_cast<std::size_t>(row)];
            for (int column = 0; column < columnCount(); ++column) {
                const auto c = static_cast<std::size_t>(column);
                setItem(row, column, new QTableWidgetItem(c < cells.size() ? ToQ(cells[c]) : ""));
            }
        }
        // Without a catalogue, the tip says where it was looked for, as the empty grid does.
        const QString note = Note();
        setToolTip(note.isEmpty() ? ToQ(analysis::LensChoiceToolTip(cylinders)) : note);
        // The last column takes no more than the room that is left (but keeps its caption);
        // a description cut short there shows whole in the label below.
        resizeColumnsToContents();
        const int last = columnCount() - 1;
        int others = 0;
        for (int column = 0; column < last; ++column) others += columnWidth(column);
        const int room =
            std::max(viewport()->width() - others, horizontalHeader()->sectionSizeHint(last));
        if (last >= 0 && columnWidth(last) > room) setColumnWidth(last, room);
    }
    Describe();
}

const analysis::CatalogueLens* LensGridTable::ChosenLens() const {
    const QList<QTableWidgetItem*> chosen = selectedItems();
    if (chosen.isEmpty()) return nullptr;
    const auto row = static_cast<std::size_t>(chosen[0]->row());
    return row < grid_.lenses.size() ? grid_.lenses[row] : nullptr;
}

void LensGridTable::Describe() {
    // Without a chosen line the label says why the lines are not the usual ones, if they are not.
    QString text = ToQ(grid_.note);
    const QList<QTableWidgetItem*> chosen = selectedItems();
    if (!chosen.isEmpty()) text = ToQ(analysis::LensGridDescription(grid_, chosen[0]->row()));
    if (description_->text() != text) description_->setText(text);
}

void WriteView(LensGridTable& grid, const ui::ControlView&, Written&) {
    grid.Refresh();
}

QWidget* BuildLensesPage(const PanelContext& ctx, const LensPageNames& names) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(4);
    // Two lines, for a circularised diode's pair of cylinders.
    auto* description = ctx.controls.Make<LinesLabel>(names.description, 2);
    description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* grid = ctx.controls.Make<LensGridTable>(names.grid, ctx.logic, description);
    column->addWidget(grid, 1);
    column->addWidget(description);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    auto* take = ctx.controls.Make<QPushButton>(names.take);
    take->setToolTip("Die gewählte Linse in den Entwurf übernehmen (auch per Doppelklick)");
    // Only this page reads it: the design keeps whether the held lens is turned.
    auto* turned = new QCheckBox("gewendet");
    turned->setObjectName(names.turned);
    turned->setToolTip("Die Linse umgekehrt einsetzen (zweite Fläche zuerst)");
    auto takeChosen = [grid, turned, &logic = ctx.logic] {
        if (const analysis::CatalogueLens* lens = grid->ChosenLens()) {
            logic.TakeCatalogueLens(*lens, turned->isChecked());
        }
    };
    ctx.OnPressed(take, takeChosen);
    ctx.On(grid, &QTableWidget::cellDoubleClicked, [takeChosen](int, int) { takeChosen(); });
    buttons->addWidget(take);
    buttons->addWidget(turned);
    buttons->addStretch(1);
    if (names.stop != nullptr) {
        auto* stop = ctx.controls.Make<QPushButton>(names.stop);
        stop->setToolTip(
            "Den freien Radius der übernommenen Linse als Blendenradius setzen (ein Schritt, "
            "rückgängig zu machen)");
        ctx.OnPressed(stop, [&logic = ctx.logic] { logic.UseLensStopRadius(); });
        buttons->addWidget(stop);
    }
    column->addLayout(buttons);
    return page;
}

}  // namespace rs::gui
