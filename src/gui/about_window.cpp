#include "gui/about_window.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtGlobal>
#include <system_error>

#include "analysis/catalogue_lenses.h"
#include "app/presentation.h"
#include "gui/qt_text.h"
#include "text/language.h"
#include "text/tr.h"
#include "wavelengths/wavelengths.h"

#ifndef RAYSKETCHER_BUILD_DATE
#define RAYSKETCHER_BUILD_DATE __DATE__
#endif
#ifndef RAYSKETCHER_MANUAL_BUILD_DIR
#define RAYSKETCHER_MANUAL_BUILD_DIR ""
#endif

namespace rs::gui {
namespace {

namespace fs = std::filesystem;

QString PathText(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// A path shown whole and copyable, however long it is.
QLineEdit* PathBox(const QString& name, const QString& text) {
    auto* box = new QLineEdit(text);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setCursorPosition(0);
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 40);
    return box;
}

QLabel* Wrapped(const QString& name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace

bool OpenWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

// The manual's pages in the language in use where they are there, else the index of both.
std::optional<fs::path> ManualIndexIn(const fs::path& dir) {
    const fs::path own = dir / text::LanguageCode(text::LanguageInUse()) / "index.html";
    if (IsFile(own)) return own.lexically_normal();
    if (IsFile(dir / "index.html")) return (dir / "index.html").lexically_normal();
    return std::nullopt;
}

std::optional<fs::path> ManualIndex(const fs::path& programDir) {
    if (auto installed = ManualIndexIn(programDir / ".." / "share" / "doc" / "raysketcher")) {
        return installed;
    }
    // The build's copy (<build>/share/doc/raysketcher) only for a program run from that build.
    const fs::path builtDir = RAYSKETCHER_MANUAL_BUILD_DIR;
    if (!builtDir.empty() && analysis::RunsFromBuildTree(
                                 programDir, (builtDir / ".." / ".." / "..").lexically_normal())) {
        return ManualIndexIn(builtDir);
    }
    return std::nullopt;
}

AboutWindow::AboutWindow(AboutFacts facts, UrlOpener opener, QWidget* parent)
    : QDialog(parent), facts_(std::move(facts)), opener_(std::move(opener)) {
    setObjectName("frmAbout");
    setWindowTitle(QTr("Info"));
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* title = new QLabel("<b>Raysketcher</b>");
    title->setObjectName("lblAboutTitle");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    title->setFont(big);
    auto* purpose = Wrapped("lblAboutPurpose",
                            QTr("Paraxiale Vorauslegung und Gaußstrahlen für eine dünne Linse oder "
                                "einen Spiegel."));

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(QTr("Version:"), Wrapped("lblAboutVersion", ToQ(app::Version())));
    form->addRow(QTr("Erstellt am:"), Wrapped("lblAboutBuildDate", RAYSKETCHER_BUILD_DATE));
    form->addRow(QTr("Qt-Version:"), Wrapped("lblAboutQt", QString::fromLatin1(qVersion())));
    form->addRow(QTr("Sprache:"),
                 Wrapped("lblAboutLanguage", ToQ(text::LanguageName(text::LanguageInUse()))));
    form->addRow(QTr("Lizenz:"),
                 Wrapped("lblAboutLicence", QTr("MIT-Lizenz, © Die Raysketcher-Entwickler")));
    const bool noSettingsFile = facts_.settingsFile.empty();
    form->addRow(
        QTr("Einstellungsdatei:"),
        PathBox("txtAboutSettings", noSettingsFile ? QTr("keine (kein Ordner dafür gefunden)")
                                                   : PathText(facts_.settingsFile)));
    if (!facts_.settingsNote.empty()) {
        form->addRow(QString(),
                     Wrapped("lblAboutSettingsNote", ToQ(text::Tr(facts_.settingsNote))));
    }
    // The file the wavelength picker reads the user's own lines from.
    form->addRow(
        QTr("Eigene Wellenlängen:"),
        PathBox("txtAboutWavelengths",
                noSettingsFile ? QTr("keine (kein Ordner dafür gefunden)")
                               : PathText(wavelengths::UserWavelengthFile(facts_.settingsFile))));
    form->addRow(QTr("Linsenkatalog:"),
                 Wrapped("lblAboutCatalogue", ToQ(text::Tr(facts_.catalogue))));

    auto* manual = new QPushButton(QTr("&Handbuch im Browser"));
    manual->setObjectName("comAboutManual");
    auto* folder = new QPushButton(QTr("&Ordner der Benutzerdateien"));
    folder->setObjectName("comAboutUserFolder");
    folder->setEnabled(!noSettingsFile);
    connect(manual, &QPushButton::clicked, this, &AboutWindow::OpenManual);
    connect(folder, &QPushButton::clicked, this, &AboutWindow::OpenUserFolder);
    auto* links = new QHBoxLayout;
    links->addWidget(manual);
    links->addWidget(folder);
    links->addStretch(1);

    status_ = Wrapped("lblAboutStatus", QString());
    status_->hide();  // until a link has something to say

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QTr("&Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(purpose);
    layout->addSpacing(6);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addLayout(links);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(std::max(sizeHint().width(), 560), sizeHint().height());
}

void AboutWindow::OpenManual() {
    const std::optional<fs::path> index = ManualIndex(facts_.programDir);
    if (!index) {
        SetStatus(QTr("Das Handbuch wurde nicht gefunden (gesucht in %1). Die Hilfe des Programms "
                      "enthält dieselben Seiten.")
                      .arg(PathText(facts_.programDir / ".." / "share" / "doc" / "raysketcher")));
        return;
    }
    Open(*index, QTr("Das Handbuch %1 konnte nicht geöffnet werden."));
}

void AboutWindow::OpenUserFolder() {
    // The settings file's folder, which also holds UserData with the user's wavelengths.
    const fs::path folder = facts_.settingsFile.parent_path();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        SetStatus(QTr("Den Ordner %1 gibt es noch nicht; er entsteht beim ersten Speichern der "
                      "Einstellungen.")
                      .arg(PathText(folder)));
        return;
    }
    Open(folder, QTr("Der Ordner %1 konnte nicht geöffnet werden."));
}

void AboutWindow::Open(const fs::path& path, const QString& failure) {
    SetStatus(opener_(QUrl::fromLocalFile(PathText(path))) ? QString()
                                                           : failure.arg(PathText(path)));
}

void AboutWindow::SetStatus(const QString& text) {
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
}

}  // namespace rs::gui
