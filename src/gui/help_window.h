#pragma once
// The help window: an overview of the program and the page of new features, which opens by
// itself the first time a user starts this version.
#include <QDialog>

class QTabWidget;

namespace rs::gui {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    enum class Page { Overview = 0, NewFeatures = 1 };
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the window (without blocking the main window) on `page`.
    void ShowPage(Page page);
    Page CurrentPage() const;

private:
    QTabWidget* pages_;
};

}  // namespace rs::gui
