#pragma once
// The mouse wheel over a page that scrolls: a combo box, slider or spin box that does not have
// the keyboard focus lets the wheel scroll the page and keeps its value, as desktop programs do.
// A value changes by the wheel only in the control the user has clicked or tabbed into.
#include <QObject>

namespace rs::gui {

class WheelGuard final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Installs one guard for the whole program; later calls do nothing.
    static void InstallOnce();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace rs::gui
