// The result list: names and values in two lists that the user sees as one list of two columns,
// and while a reference is pinned a third, its values, headed "Referenz".
// The value column keeps the width its formats need (a longer value widens it, so none is ever
// cut); the names take the rest, and a name cut short shows itself whole as a tool tip.
#include <QFontDatabase>
#include <QGridLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

#include "gui/panel_context.h"
#include "gui/panels.h"

namespace rs::gui {
namespace {

// Room an item keeps beside its text (the style's margins on either side).
constexpr int kItemPadding = 12;
// Characters the value column keeps room for whatever it shows at the moment: a value with its
// unit and a marker (" -1234.57mm     [Virtuell]"), so that a value growing by a digit while a
// slider runs does not move the panels beside the list.
constexpr int kValueChars = 25;
// The rows the list shows at the least.
constexpr int kLeastRows = 6;

// A column that wishes to be as wide and as high as its texts.
class ResultColumn final : public QListWidget {
public:
    static int RowHeight(const QListWidget& names, const QListWidget& values) {
        return std::max(names.fontMetrics().height(), values.fontMetrics().height()) + 2;
    }
    int TextWidth(int leastChars = 0) const {
        int widest = fontMetrics().horizontalAdvance(QString(leastChars, QLatin1Char('0')));
        for (int i = 0; i < count(); ++i) {
            // A marked (bold) item has a font of its own, wider than the list's.
            const QListWidgetItem* it = item(i);
            const QVariant own = it->data(Qt::FontRole);
            const QFontMetrics metrics(own.isValid() ? own.value<QFont>() : font());
            widest = std::max(widest, metrics.horizontalAdvance(it->text()));
        }
        return widest + kItemPadding + 2 * frameWidth();
    }
    QSize sizeHint() const override {
        const int rows =
            count() > 0 ? count() * sizeHintForRow(0) : QListWidget::sizeHint().height();
        return {TextWidth(), rows + 2 * frameWidth()};
    }
};

// Shows the whole text of an item whose text does not fit its row.
class CutTextTips final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip) {
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        }
        const QString text = index.data(Qt::DisplayRole).toString();
        if (view->fontMetrics().horizontalAdvance(text) + kItemPadding > option.rect.width()) {
            QToolTip::showText(event->globalPos(), text, view, option.rect);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
};

// Characters the reference's column keeps room for at the least: its heading, and something to
// point at for the tool tip while it is empty. Its values do not move while the design changes,
// so it fits them as they are.
constexpr int kReferenceChars = 9;
// Beside the reference the value column keeps room for a plain value only ("-0.66666663x"): two
// full reserves would leave the names a sliver in a small window. A longer value still widens it.
constexpr int kValueCharsBesideReference = 13;

// A value column as wide as its texts (at least `leastChars` digits) and, where it has one, its
// scroll bar.
void FitColumn(ResultColumn* column, int leastChars) {
    const bool bar = column->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    const int width =
        column->TextWidth(leastChars) + (bar ? column->verticalScrollBar()->sizeHint().width() : 0);
    if (column->width() != width || column->minimumWidth() != width) column->setFixedWidth(width);
}

// The value column: its full reserve and scroll bar alone, less beside the reference's column.
void FitValues(ResultColumn* values, const QWidget* reference) {
    FitColumn(values, reference->isHidden() ? kValueChars : kValueCharsBesideReference);
}

// The last column shown carries the scroll bar: the values' own goes while the reference's
// column is shown beside them, and the room they kept goes to the names.
class ScrollBarAtEnd final : public QObject {
public:
    ScrollBarAtEnd(ResultColumn* values, QListWidget* reference)
        : QObject(values), values_(values), reference_(reference) {
        reference->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == reference_ &&
            (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
            values_->setVerticalScrollBarPolicy(event->type() == QEvent::ShowToParent
                                                    ? Qt::ScrollBarAlwaysOff
                                                    : Qt::ScrollBarAsNeeded);
            FitValues(values_, reference_);
        }
        return false;
    }

private:
    ResultColumn* values_;
    QListWidget* reference_;
};

// Fonts, scroll bars and row heights of both columns. The values are in a fixed-pitch font, so
// the digits of positive and negative numbers line up.
void StyleColumns(ResultColumn* names, ResultColumn* values, ResultColumn* reference) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(names->font().pointSizeF());
    values->setFont(fixed);
    reference->setFont(fixed);
    names->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    values->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    reference->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    new ScrollBarAtEnd(values, reference);
    for (QListWidget* list : {static_cast<QListWidget*>(names), static_cast<QListWidget*>(values),
                              static_cast<QListWidget*>(reference)}) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideRight);
        list->setItemDelegate(new CutTextTips(list));
        list->setUniformItemSizes(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        // Both columns share one row height, whatever their fonts.
        QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list,
                         [names, values, list](const QModelIndex&, int first, int last) {
                             const int height = ResultColumn::RowHeight(*names, *values);
                             for (int i = first; i <= last; ++i) {
                                 list->item(i)->setSizeHint({0, height});
                             }
                         });
    }
}

// However low the window, the list keeps room for its first rows; the picture gives way. The
// value column reserves its width, with room for the scroll bar it may need, the reference's
// column takes what its values need; the names take the rest.
void SizeColumns(ResultColumn* names, ResultColumn* values, ResultColumn* reference) {
    names->setMinimumWidth(90);
    for (QListWidget* list : {static_cast<QListWidget*>(names), static_cast<QListWidget*>(values),
                              static_cast<QListWidget*>(reference)}) {
        list->setMinimumHeight(kLeastRows * ResultColumn::RowHeight(*names, *values) +
                               2 * list->frameWidth());
    }
    names->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    for (ResultColumn* column : {values, reference}) {
        column->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        const auto fit = [column, values, reference] {
            if (column == values) {
                FitValues(values, reference);
            } else {
                FitColumn(reference, kReferenceChars);
            }
        };
        QAbstractItemModel* model = column->model();
        QObject::connect(model, &QAbstractItemModel::dataChanged, column, fit);
        QObject::connect(model, &QAbstractItemModel::rowsInserted, column, fit);
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, column, fit);
        fit();
    }
    // A cut name leaves the names column wishing to be wider.
    QObject::connect(names->model(), &QAbstractItemModel::dataChanged, names,
                     [names] { names->updateGeometry(); });
}

// One list of two columns for the user: scrolling and choosing a row keep both in step.
void CoupleColumns(ResultColumn* names, ResultColumn* values) {
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
}

}  // namespace

QWidget* BuildResults(const PanelContext& ctx) {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    auto* names = new ResultColumn;
    auto* values = new ResultColumn;
    auto* reference = new ResultColumn;
    names->setObjectName("lstResNames");
    values->setObjectName("lstResVals");
    reference->setObjectName("lstResRef");
    for (ResultColumn* column : {names, values, reference}) {
        ctx.controls.Bind<QListWidget>(column);
    }
    StyleColumns(names, values, reference);
    SizeColumns(names, values, reference);
    CoupleColumns(names, values);
    CoupleColumns(names, reference);
    CoupleColumns(values, reference);
    auto* heading = new QLabel;
    heading->setObjectName("lblResRef");
    ctx.controls.Bind<QLabel>(heading);
    heading->setIndent(4);
    grid->addWidget(heading, 0, 2);
    grid->addWidget(names, 1, 0);
    grid->addWidget(values, 1, 1);
    grid->addWidget(reference, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    return box;
}

}  // namespace rs::gui
