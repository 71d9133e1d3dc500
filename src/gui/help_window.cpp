#include "gui/help_window.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "gui/qt_text.h"
#include "manual_resources.h"
#include "text/language.h"
#include "ui/help_pages.h"

namespace rs::gui {
namespace {

using Page = HelpWindow::Page;

// The manual's root in the resource; below it one folder per language.
constexpr const char* kRoot = ":/handbuch/";

// Where page `page` of the language in use lies in the resource.
QString PageResource(Page page) {
    return QString(kRoot) + QString::fromStdString(ui::HelpPagePath(page, text::LanguageInUse()));
}

// The page a url shows, or -1 for anything else.
int IndexOfUrl(const QUrl& url) {
    const QString file = url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery).fileName();
    for (std::size_t i = 0; i < ui::HelpPages().size(); ++i) {
        if (file == QLatin1String(ui::HelpPages()[i].file)) return static_cast<int>(i);
    }
    return -1;
}

// Whether page `index` holds `text` as the find field looks for it (case aside).
bool PageHolds(int index, const QString& text) {
    QFile file(PageResource(ui::HelpPages()[static_cast<std::size_t>(index)].page));
    if (!file.open(QIODevice::ReadOnly)) return false;
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));
    return !document.find(text).isNull();
}

}  // namespace

std::span<const HelpWindow::PageInfo> HelpWindow::Pages() {
    return ui::HelpPages();
}

QUrl HelpWindow::PageUrl(Page page) {
    return QUrl("qrc" + PageResource(page));
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    manual::InitResources();
    setObjectName("frmHelp");
    setWindowTitle(QTr("Raysketcher – Hilfe"));
    // The help never keeps the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setSizeGripEnabled(true);

    QHBoxLayout* bar = BuildFindBar();
    const int listWidth = BuildContents();
    BuildBrowser();
    auto* split = new QSplitter(Qt::Horizontal);
    split->setObjectName("splHelp");
    split->setChildrenCollapsible(false);
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QTr("&Schließen"));
    // Enter belongs to the find field, never to a default button.
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);
    ConnectNavigation();

    // Room for the contents and a page with its pictures, within the screen.
    const QScreen* screen =
        parent && parent->screen() ? parent->screen() : QApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const int width = std::min(960, area.width() * 95 / 100);
    const int height = std::min(720, area.height() * 90 / 100);
    split->setSizes({listWidth, width - listWidth});
    resize(width, height);
}

QHBoxLayout* HelpWindow::BuildFindBar() {
    back_ = new QPushButton(QTr("◀ &Zurück"));
    back_->setObjectName("comHelpBack");
    forward_ = new QPushButton(QTr("&Vor ▶"));
    forward_->setObjectName("comHelpForward");
    for (QPushButton* button : {back_, forward_}) {
        button->setEnabled(false);
        button->setAutoDefault(false);
    }
    find_ = new QLineEdit;
    find_->setObjectName("txtHelpFind");
    find_->setClearButtonEnabled(true);
    find_->setPlaceholderText(QTr("Wort, dann Eingabetaste"));
    auto* findLabel = new QLabel(QTr("&Suchen:"));
    findLabel->setBuddy(find_);
    findResult_ = new QLabel;
    findResult_->setObjectName("lblHelpFind");
    findResult_->setMinimumWidth(fontMetrics().horizontalAdvance(QTr("nicht gefunden")) + 8);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addSpacing(12);
    bar->addWidget(findLabel);
    bar->addWidget(find_, 1);
    bar->addWidget(findResult_, 1);
    return bar;
}

int HelpWindow::BuildContents() {
    contents_ = new QListWidget;
    contents_->setObjectName("lstHelpContents");
    int widest = 0;
    for (const PageInfo& info : ui::HelpPages()) {
        const QString title = QTr(info.title);
        contents_->addItem(title);
        widest = std::max(widest, contents_->fontMetrics().horizontalAdvance(title));
    }
    // As wide as the longest title, so the page keeps the rest.
    const int listWidth = widest + 2 * contents_->frameWidth() + 12;
    contents_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    contents_->setMinimumWidth(std::min(listWidth, 140));
    contents_->setMaximumWidth(listWidth);
    return listWidth;
}

void HelpWindow::BuildBrowser() {
    browser_ = new QTextBrowser;
    browser_->setObjectName("txtHelpPage");
    browser_->setOpenExternalLinks(false);
    browser_->setOpenLinks(true);
    if (!QFile::exists(PageResource(Page::Contents))) {
        browser_->setHtml(
            QTr("<h2>Hilfe</h2><p>Die Seiten des Handbuchs fehlen in diesem Programm. "
                "Bitte bauen Sie es neu.</p>"));
    }
}

void HelpWindow::ConnectNavigation() {
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::SourceChanged);
    connect(contents_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != IndexOfUrl(browser_->source())) {
            browser_->setSource(PageUrl(ui::HelpPages()[static_cast<std::size_t>(row)].page));
        }
    });
    connect(find_, &QLineEdit::returnPressed, this, &HelpWindow::FindNext);
    connect(find_, &QLineEdit::textEdited, this, [this] {
        // A new word is looked for from the top of the page.
        findResult_->clear();
        browser_->moveCursor(QTextCursor::Start);
    });
}

void HelpWindow::ShowPage(Page page) {
    browser_->setSource(PageUrl(page));
    show();
    raise();
    activateWindow();
}

HelpWindow::Page HelpWindow::CurrentPage() const {
    const int index = IndexOfUrl(browser_->source());
    return index < 0 ? Page::Contents : ui::HelpPages()[static_cast<std::size_t>(index)].page;
}

void HelpWindow::SourceChanged(const QUrl& url) {
    const int index = IndexOfUrl(url);
    const QSignalBlocker blocker(contents_);
    contents_->setCurrentRow(index);
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QTr("Raysketcher – Hilfe")
                                   : QTr("Raysketcher – Hilfe: %1").arg(title));
}

void HelpWindow::FindNext() {
    const QString text = find_->text().trimmed();
    if (text.isEmpty()) {
        findResult_->clear();
        return;
    }
    if (browser_->find(text)) {
        ShowFindResult(QString());
        return;
    }
    const int current = std::max(0, IndexOfUrl(browser_->source()));
    const int count = static_cast<int>(ui::HelpPages().size());
    for (int step = 1; step < count; ++step) {
        const int index = (current + step) % count;
        if (!PageHolds(index, text)) continue;
        browser_->setSource(PageUrl(ui::HelpPages()[static_cast<std::size_t>(index)].page));
        browser_->moveCursor(QTextCursor::Start);
        browser_->find(text);
        ShowFindResult(
            QTr("auf „%1“").arg(QTr(ui::HelpPages()[static_cast<std::size_t>(index)].title)));
        return;
    }
    // No other page has it: once more from the top of this one.
    browser_->moveCursor(QTextCursor::Start);
    ShowFindResult(browser_->find(text) ? QTr("wieder von oben") : QTr("nicht gefunden"));
}

void HelpWindow::ShowFindResult(const QString& text) {
    findResult_->setText(text);
}

// --- F1 ------------------------------------------------------------------------------------------

HelpWindow::Page HelpPageFor(const QWidget* focus, bool beamMode) {
    std::vector<std::string> names;
    std::vector<ui::FocusStep> chain;
    for (const QWidget* w = focus; w != nullptr; w = w->parentWidget()) {
        names.push_back(w->objectName().section('_', 0, 0).toStdString());
    }
    std::size_t i = 0;
    for (const QWidget* w = focus; w != nullptr; w = w->parentWidget(), ++i) {
        const auto* tabs = qobject_cast<const QTabWidget*>(w);
        chain.push_back({names[i], tabs != nullptr, tabs ? tabs->currentIndex() : -1});
    }
    return ui::HelpPageFor(chain, beamMode);
}

}  // namespace rs::gui
