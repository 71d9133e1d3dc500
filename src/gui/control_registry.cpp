#include "gui/control_registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "gui/qt_text.h"

namespace rs::gui {
namespace {

// 0xBBGGRR as the settings and the logic give colours.
QColor FromBgr(unsigned bgr) {
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                  static_cast<int>((bgr >> 16) & 0xFFu));
}

// Items first (only those that changed), then the caller sets the choice.
template <typename SetCount, typename SetText>
void WriteItems(const ui::ControlView& view, Written& written, SetCount setCount, SetText setText) {
    if (written.items == view.items) return;
    setCount(static_cast<int>(view.items.size()));
    for (std::size_t i = 0; i < view.items.size(); ++i) {
        if (i >= written.items.size() || written.items[i] != view.items[i]) {
            setText(static_cast<int>(i), ToQ(view.items[i]));
        }
    }
    written.items = view.items;
}

// An empty caption in the view leaves the button's caption as it is.
void WriteCaption(QAbstractButton& button, const ui::ControlView& view) {
    const QString text = ToQ(view.text);
    if (!view.text.empty() && button.text() != text) button.setText(text);
}

// Entering a box selects its whole text, so typing replaces it. Deferred, because the mouse
// press that gave the focus would otherwise place the cursor and drop the selection.
class SelectAllOnFocus final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            if (auto* box = qobject_cast<QLineEdit*>(watched)) {
                QTimer::singleShot(0, box, &QLineEdit::selectAll);
            }
        }
        return false;
    }
};

}  // namespace

void WriteView(QCheckBox& box, const ui::ControlView& view, Written&) {
    WriteCaption(box, view);
    if (box.isChecked() != view.checked) box.setChecked(view.checked);
}

void WriteView(QRadioButton& button, const ui::ControlView& view, Written&) {
    WriteCaption(button, view);
    // An exclusive option button is unchecked by checking another one.
    if (view.checked && !button.isChecked()) button.setChecked(true);
}

void WriteView(QPushButton& button, const ui::ControlView& view, Written&) {
    WriteCaption(button, view);
}

void WriteView(QLineEdit& box, const ui::ControlView& view, Written&) {
    const QString text = ToQ(view.text);
    if (box.text() != text) box.setText(text);
}

void WriteView(QLabel& label, const ui::ControlView& view, Written& written) {
    const QString text = ToQ(view.text);
    if (label.text() != text) label.setText(text);
    if (written.highlight == view.highlight) return;
    written.highlight = view.highlight;
    QPalette p = label.palette();
    p.setColor(QPalette::Window, view.highlight
                                     ? FromBgr(view.highlight)
                                     : label.window()->palette().color(QPalette::Window));
    label.setPalette(p);
    label.setAutoFillBackground(view.highlight != 0);
}

void WriteView(QGroupBox& frame, const ui::ControlView& view, Written&) {
    const QString text = ToQ(view.text);
    if (frame.title() != text) frame.setTitle(text);
}

void WriteView(QScrollBar& bar, const ui::ControlView& view, Written&) {
    if (bar.minimum() != view.minimum || bar.maximum() != view.maximum) {
        bar.setRange(view.minimum, view.maximum);
    }
    if (bar.value() != view.position) bar.setValue(view.position);
}

void WriteView(QComboBox& combo, const ui::ControlView& view, Written& written) {
    WriteItems(
        view, written,
        [&combo](int n) {
            while (combo.count() > n) combo.removeItem(combo.count() - 1);
            while (combo.count() < n) combo.addItem(QString());
        },
        [&combo](int i, const QString& t) { combo.setItemText(i, t); });
    if (view.currentIndex >= 0 && combo.currentIndex() != view.currentIndex) {
        combo.setCurrentIndex(view.currentIndex);
    }
}

void WriteView(QListWidget& list, const ui::ControlView& view, Written& written) {
    WriteItems(
        view, written,
        [&list](int n) {
            while (list.count() > n) delete list.takeItem(list.count() - 1);
            while (list.count() < n) list.addItem(QString());
        },
        [&list](int i, const QString& t) { list.item(i)->setText(t); });
    for (std::size_t i = 0; i < view.itemChecked.size() && i < view.items.size(); ++i) {
        QListWidgetItem* item = list.item(static_cast<int>(i));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const Qt::CheckState state = view.itemChecked[i] ? Qt::Checked : Qt::Unchecked;
        // A new item has no check state at all (no box is drawn), which reads as unchecked.
        if (!item->data(Qt::CheckStateRole).isValid() || item->checkState() != state) {
            item->setCheckState(state);
        }
    }
    for (int i = 0; i < list.count(); ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        const bool bold = k < view.itemBold.size() && view.itemBold[k];
        QListWidgetItem* item = list.item(i);
        // An item without a font of its own shows the list's (a column may use a fixed one).
        const QVariant was = item->data(Qt::FontRole);
        if ((was.isValid() ? was.value<QFont>().bold() : false) == bold) continue;
        QFont font = list.font();
        font.setBold(bold);
        item->setFont(font);
    }
    if (view.currentIndex >= 0 && list.currentRow() != view.currentIndex) {
        list.setCurrentRow(view.currentIndex);
    }
}

void WriteView(QTabWidget& tabs, const ui::ControlView& view, Written& written) {
    // The pages are the window's: the view names them, it neither adds nor removes them.
    WriteItems(
        view, written, [](int) {},
        [&tabs](int i, const QString& t) {
            if (i >= tabs.count()) return;
            tabs.setTabText(i, t);
            // A narrow window shortens the captions; the whole name stays under the mouse.
            tabs.setTabToolTip(i, QString(t).remove(QLatin1Char('&')));
        });
    if (view.currentIndex >= 0 && view.currentIndex < tabs.count()) {
        tabs.setCurrentIndex(view.currentIndex);
    }
}

void WriteView(QWidget&, const ui::ControlView&, Written&) {}

void Prepare(QLineEdit& box) {
    box.installEventFilter(new SelectAllOnFocus(&box));
}

void Prepare(QComboBox& combo) {
    // Long entries must not widen the whole column: the popup shows them in full.
    combo.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo.setMinimumContentsLength(16);
}

void Prepare(QPushButton& button) {
    button.setAutoDefault(false);
}

void ControlBinder::Apply(const ui::ControlView& view) {
    const QSignalBlocker block(widget_);
    // WA_ForceDisabled is the widget's own state, whatever its parents are.
    if (widget_->testAttribute(Qt::WA_ForceDisabled) == view.enabled) {
        widget_->setEnabled(view.enabled);
    }
    if (widget_->isHidden() == view.visible) widget_->setVisible(view.visible);
    if (!view.toolTip.empty()) widget_->setToolTip(ToQ(view.toolTip));
    Write(view);
}

void ControlRegistry::Add(QWidget* widget, std::unique_ptr<ControlBinder> binder) {
    binders_[ToStd(widget->objectName())] = std::move(binder);
}

void ControlRegistry::Render(const ui::WindowView& view) {
    for (const ui::ControlView& c : view.controls) {
        const auto it = binders_.find(c.name);
        if (it != binders_.end()) it->second->Apply(c);
    }
}

QWidget* ControlRegistry::Widget(std::string_view name) const {
    const auto it = binders_.find(std::string(name));
    return it == binders_.end() ? nullptr : it->second->Widget();
}

std::vector<std::string> ControlRegistry::Names() const {
    std::vector<std::string> names;
    names.reserve(binders_.size());
    for (const auto& [name, binder] : binders_) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace rs::gui
