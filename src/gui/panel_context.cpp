#include "gui/panel_context.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "gui/qt_text.h"

namespace rs::gui {
namespace {

class PageScroller final : public QScrollArea {
public:
    QSize minimumSizeHint() const override {
        return {Across(widget() ? widget()->minimumSizeHint().width() : 0),
                QScrollArea::minimumSizeHint().height()};
    }
    // The widest the page has wished to be: a caption that gets shorter (NA' chosen instead of
    // Blendenzahl) leaves the column as it is, so the panels beside it do not move.
    QSize sizeHint() const override {
        const QSize page = widget() ? widget()->sizeHint() : QSize();
        widest_ = std::max(widest_, Across(page.width()));
        return {widest_, page.height() + 2 * frameWidth()};
    }

protected:
    // The page's wishes changed (a caption, a widget shown or hidden): so do the area's. The
    // page tells its parent, the viewport.
    bool viewportEvent(QEvent* e) override {
        if (e->type() == QEvent::LayoutRequest) updateGeometry();
        return QScrollArea::viewportEvent(e);
    }

private:
    int Across(int page) const {
        return page + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    }

    mutable int widest_ = 0;
};

}  // namespace

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

QScrollArea* Scrolled(QWidget* page) {
    auto* area = new PageScroller;
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    area->setWidget(page);
    // The tab's own colour shows through, as if the page were not scrolled at all.
    area->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    return area;
}

QPushButton* MakeUnitsButton(const PanelContext& ctx, int tab) {
    QPushButton* button = ctx.controls.Make<QPushButton>(Indexed("comUnits", tab));
    ctx.OnPressed(button, ctx.commands.openUnits);
    return button;
}

}  // namespace rs::gui
