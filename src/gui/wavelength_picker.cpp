#include "gui/wavelength_picker.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "gui/qt_text.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"
#include "ui/placement.h"

namespace rs::gui {
namespace {

namespace wl = wavelengths;

// A grid row's cells: the wavelength, the name and, where the row has more, the rest in one
// column. Blanks that lined the columns up in a fixed-pitch grid are dropped.
QStringList Cells(const std::string& row, int columns) {
    const QStringList parts = ToQ(row).split('\t');
    QStringList cells;
    QStringList rest;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString part = parts[i].trimmed();
        if (i < columns - 1) {
            cells << part;
        } else if (!part.isEmpty()) {
            rest << part;
        }
    }
    while (cells.size() < columns - 1) cells << QString();
    cells << rest.join(' ');
    return cells;
}

// A grid that wishes to be as wide as its columns and high enough for a good part of a list.
class WaveTable final : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    QSize sizeHint() const override {
        return {horizontalHeader()->length() + verticalScrollBar()->sizeHint().width() +
                    2 * frameWidth(),
                horizontalHeader()->sizeHint().height() +
                    kRowsShown * verticalHeader()->defaultSectionSize() + 2 * frameWidth()};
    }

private:
    static constexpr int kRowsShown = 16;
};

// The stored size, or nothing: "top|left|height|width".
std::optional<ui::WindowRect> StoredPlace(const app::UserSettingsStore& store) {
    const std::string raw = store.Get(kPickerPlaceSection, kPickerPlaceKey, "");
    const auto f = text::SplitFields(raw, '|');
    if (f.size() != 4) return std::nullopt;
    for (const std::string_view field : f) {
        if (text::TrimBlanks(field).empty()) return std::nullopt;
    }
    return ui::WindowRect{text::ReadNumberTolerant(f[0]), text::ReadNumberTolerant(f[1]),
                          text::ReadNumberTolerant(f[2]), text::ReadNumberTolerant(f[3])};
}

}  // namespace

PopEditParamWave::PopEditParamWave(app::UserSettingsStore& store, ui::Dialogs& dialogs,
                                   const std::filesystem::path& settingsFile, QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs) {
    setObjectName("popEditParamWave");
    setWindowTitle(QTr("Laserwellenlängen "));

    const std::filesystem::path userFile = wl::UserWavelengthFile(settingsFile);
    const wl::UserList user = wl::ReadUserWavelengths(userFile);
    userUnreadable_ = !user.readable;
    userNotRead_ = user.notRead;

    grids_[0].list = wl::WaveList::Laser;
    grids_[1].list = wl::WaveList::GlassCat;
    grids_[2].list = wl::WaveList::User;
    auto* tabs = new QTabWidget;
    tabs->setObjectName("tabWaves");
    tabs->addTab(MakeGrid(grids_[0], wl::LaserLines(), wl::LaserRow,
                          {QTr("Wellenlänge [nm]"), QTr("Name"), QTr("Zusatz")}),
                 QTr("&Laserlinien"));
    tabs->addTab(MakeGrid(grids_[1], wl::GlassCatalogueLines(), wl::GlassRow,
                          {QTr("Wellenlänge [nm]"), QTr("Linie"), QTr("Quelle")}),
                 QTr("&Glaskatalog-Linien"));
    QWidget* userPage =
        MakeGrid(grids_[2], user.entries, wl::UserRow, {QTr("Wellenlänge [nm]"), QTr("Name")});
    if (user.notRead) {
        // The file is there but was not read: the empty grid comes with the reason.
        auto* page = new QWidget;
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        pageLayout->addWidget(userPage, 1);
        auto* note = new QLabel(QString::fromStdString(user.notRead->Message()));
        note->setObjectName("lblWavesCustomNotRead");
        note->setWordWrap(true);
        pageLayout->addWidget(note);
        userPage = page;
    }
    tabs->addTab(userPage, QTr("&benutzerdefiniert"));
    grids_[0].table->setObjectName("ssWavesLaser");
    grids_[1].table->setObjectName("ssWavesFraun");
    grids_[2].table->setObjectName("ssWavesCustom");
    // Where the user's own lines go, for the user who finds the grid empty.
    grids_[2].table->setToolTip(QTr("Eigene Wellenlängen, eine je Zeile als Name|Wellenlänge "
                                    "in nm, aus der Datei\n%1")
                                    .arg(QString::fromStdString(userFile.string())));
    // The keys reach a grid as soon as its tab is shown.
    connect(tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab >= 0 && tab < static_cast<int>(grids_.size())) {
            grids_[static_cast<std::size_t>(tab)].table->setFocus();
        }
    });

    auto* cancel = new QPushButton(QTr("&Abbrechen"));
    cancel->setObjectName("comCancel");
    // Enter picks the current line; it must never press the button instead.
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);
    // Every tab's title shows whole.
    const QMargins margins = layout->contentsMargins();
    setMinimumSize(tabs->tabBar()->sizeHint().width() + margins.left() + margins.right() + 8, 240);
    grids_[0].table->setFocus();
}

QTableWidget* PopEditParamWave::MakeGrid(WaveGrid& grid, const std::vector<wl::WaveRecord>& records,
                                         std::string (*row)(const wl::WaveRecord&),
                                         const QStringList& header) {
    grid.records = records;
    auto* table = new WaveTable(static_cast<int>(records.size()), header.size());
    grid.table = table;
    table->setHorizontalHeaderLabels(header);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    table->setWordWrap(false);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setSectionsClickable(false);
    for (int r = 0; r < table->rowCount(); ++r) {
        const QStringList cells = Cells(row(records[static_cast<std::size_t>(r)]), header.size());
        for (int c = 0; c < header.size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(ToQ(text::Tr(ToStd(cells[c])))));
    }
    table->resizeColumnsToContents();
    if (const auto remembered = wl::PreselectedRow(
            store_.Get(wl::kRememberSection, wl::RememberKey(grid.list), "0"), table->rowCount())) {
        table->setCurrentCell(*remembered - 1, 0);
        table->scrollToItem(table->item(*remembered - 1, 0), QAbstractItemView::PositionAtCenter);
    }
    table->installEventFilter(this);
    table->viewport()->installEventFilter(this);
    return table;
}

int PopEditParamWave::RowAt(const WaveGrid& grid, QPoint pos) {
    const QModelIndex index = grid.table->indexAt(pos);
    return index.isValid() ? index.row() + 1 : 0;
}

bool PopEditParamWave::eventFilter(QObject* watched, QEvent* event) {
    for (WaveGrid& grid : grids_) {
        if (watched == grid.table && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
            Choose(grid, grid.table->currentRow() + 1);
            return true;
        }
        if (!grid.table || watched != grid.table->viewport()) continue;
        // A click picks the line it was pressed and released on; the header is not part of the
        // viewport, and the empty area below the lines is line 0.
        const bool press = event->type() == QEvent::MouseButtonPress;
        if (!press && event->type() != QEvent::MouseButtonRelease) return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        const int row = RowAt(grid, mouse->position().toPoint());
        if (press)
            grid.pressedRow = row;
        else if (row == grid.pressedRow)
            Choose(grid, row);
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

void PopEditParamWave::Choose(WaveGrid& grid, int row) {
    const wl::RowChoice choice = wl::ChooseRow(
        grid.records, row, grid.list == wl::WaveList::User && userUnreadable_, userNotRead_);
    if (choice.message) {
        dialogs_.Message(*choice.message, ui::Icon::None);
        return;
    }
    if (!choice.nm) return;
    store_.Save(wl::kRememberSection, wl::RememberKey(grid.list), std::to_string(row));
    chosen_ = choice.nm;
    accept();
}

QSize PopEditParamWave::RestoredSize(const QRect& screen) const {
    const QSize hint = sizeHint();
    const ui::WindowRect r = ui::RestorePlacement(StoredPlace(store_), hint.width(), hint.height(),
                                                  screen.width(), screen.height());
    return QSize(static_cast<int>(r.width), static_cast<int>(r.height)).expandedTo(minimumSize());
}

std::optional<float> PopEditParamWave::Pick(QPoint anchor) {
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    if (!screen)
        screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    resize(RestoredSize(area));
    // The frame the window system adds, as the calling window has it.
    const QWidget* caller = parentWidget() ? parentWidget()->window() : nullptr;
    const QSize frame = caller ? caller->frameGeometry().size() - caller->size() : QSize();
    const wl::WindowPoint at =
        wl::AtMouse(anchor.x(), anchor.y(), width() + frame.width(), height() + frame.height(),
                    {area.left(), area.top(), area.width(), area.height()});
    move(std::max(at.x, area.left()), std::max(at.y, area.top()));
    chosen_.reset();
    exec();
    return chosen_;
}

void PopEditParamWave::done(int result) {
    const QRect g = geometry();
    store_.Save(kPickerPlaceSection, kPickerPlaceKey,
                std::to_string(g.top()) + "|" + std::to_string(g.left()) + "|" +
                    std::to_string(g.height()) + "|" + std::to_string(g.width()));
    QDialog::done(result);
}

std::optional<float> PickWavelength(QWidget* button, app::UserSettingsStore& store,
                                    ui::Dialogs& dialogs,
                                    const std::filesystem::path& settingsFile) {
    PopEditParamWave picker(store, dialogs, settingsFile, button->window());
    return picker.Pick(button->mapToGlobal(QPoint(0, button->height())));
}

}  // namespace rs::gui
