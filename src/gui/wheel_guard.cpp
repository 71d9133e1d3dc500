#include "gui/wheel_guard.h"

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QWheelEvent>

namespace rs::gui {
namespace {

// Whether `bar` scrolls a page or list (it is the bar of a scroll area around it) rather than
// standing for a value as the slider of a parameter does.
bool ScrollsAnArea(const QScrollBar* bar) {
    for (const QWidget* w = bar->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(w)) {
            return area->verticalScrollBar() == bar || area->horizontalScrollBar() == bar;
        }
    }
    return false;
}

// The value control the wheel would change: the widget under the pointer or the control it is
// part of (the line edit of a spin box); none for a scroll area's own bars, which the wheel is
// for.
QWidget* ValueControl(QObject* watched) {
    for (auto* w = qobject_cast<QWidget*>(watched); w != nullptr && !w->isWindow();
         w = w->parentWidget()) {
        if (const auto* bar = qobject_cast<QScrollBar*>(w); bar && ScrollsAnArea(bar)) {
            return nullptr;
        }
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSlider*>(w) ||
            qobject_cast<QAbstractSpinBox*>(w)) {
            return w;
        }
    }
    return nullptr;
}

}  // namespace

void WheelGuard::InstallOnce() {
    if (qApp == nullptr || qApp->findChild<WheelGuard*>(QString(), Qt::FindDirectChildrenOnly)) {
        return;
    }
    qApp->installEventFilter(new WheelGuard(qApp));
}

bool WheelGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return false;
    QWidget* control = ValueControl(watched);
    if (control == nullptr || control->hasFocus()) return false;
    // The page around the control scrolls instead; without one the wheel does nothing here.
    for (QWidget* w = control->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
            QCoreApplication::sendEvent(area->viewport(), event);
            break;
        }
    }
    return true;
}

}  // namespace rs::gui
