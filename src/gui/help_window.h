#pragma once
// The help window: the pages of the manual (compiled into the program, the same files as the
// HTML manual beside it) with their contents list, back and forward, and a find field that
// looks through the current page and then the others. The page of new features opens by itself
// the first time a user starts this version.
#include <QDialog>
#include <QString>
#include <QUrl>
#include <span>

#include "ui/help_pages.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace rs::gui {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    using Page = ui::HelpPage;
    using PageInfo = ui::HelpPageInfo;
    // Every page in the order of the contents.
    static std::span<const PageInfo> Pages();
    // Where the window reads a page from: the page in the language the program speaks.
    static QUrl PageUrl(Page page);

    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the window (without blocking the main window) on `page`.
    void ShowPage(Page page);
    // The page shown (Contents for anything that is none of the pages).
    Page CurrentPage() const;

private:
    // The parts of the window, built once by the constructor.
    QHBoxLayout* BuildFindBar();
    int BuildContents();  // returns the width the longest title needs
    void BuildBrowser();
    void ConnectNavigation();

    // Enter in the find field: the next hit on this page, else the first on a following page,
    // else the first on this page from its top.
    void FindNext();
    void ShowFindResult(const QString& text);
    void SourceChanged(const QUrl& url);

    QListWidget* contents_;
    QTextBrowser* browser_;
    QPushButton* back_;
    QPushButton* forward_;
    QLineEdit* find_;
    QLabel* findResult_;
};

// The page that explains the control with the keyboard focus (or the nearest of its parents
// that has one): F1 in the windows of the program. Beam mode shares the value boxes with the
// paraxial parameters.
HelpWindow::Page HelpPageFor(const QWidget* focus, bool beamMode);

}  // namespace rs::gui
