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

std::optional<fs::path> ManualIndex(const fs::path& programDir) {
    const fs::path installed = programDir / ".." / "share" / "doc" / "raysketcher" / "index.html";
    if (IsFile(installed)) return installed.lexically_normal();
    // The build's copy (<build>/share/doc/raysketcher) only for a program run from that build.
    const fs::path builtDir = RAYSKETCHER_MANUAL_BUILD_DIR;
    const fs::path built = builtDir / "index.html";
    if (!builtDir.empty() &&
        analysis::RunsFromBuildTree(programDir,
                                    (builtDir / ".." / ".." / "..").lexically_normal()) &&
        IsFile(built)) {
        return built;
    }
    return std::nullopt;
}

AboutWindow::AboutWindow(AboutFacts facts, UrlOpener opener, QWidget* parent)
    : QDialog(parent), facts_(std::move(facts)), opener_(std::move(opener)) {
    setObjectName("frmAbout");
    setWindowTitle("Info");
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* title = new QLabel("<b>Raysketcher</b>");
    title->setObjectName("lblAboutTitle");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    title->setFont(big);
    auto* purpose = Wrapped("lblAboutPurpose",
                            "Paraxiale Vorauslegung und Gaußstrahlen für eine dünne Linse oder "
                            "einen Spiegel.");

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow("Version:", Wrapped("lblAboutVersion", ToQ(app::Version())));
    form->addRow("Erstellt am:", Wrapped("lblAboutBuildDate", RAYSKETCHER_BUILD_DATE));
    form->addRow("Qt-Version:", Wrapped("lblAboutQt", QString::fromLatin1(qVersion())));
    form->addRow(QTr("Sprache:"),
                 Wrapped("lblAboutLanguage", ToQ(text::LanguageName(text::LanguageInUse()))));
    form->addRow("Lizenz:", Wrapped("lblAboutLicence", "MIT-Lizenz, © Die Raysketcher-Entwickler"));
    const bool noSettingsFile = facts_.settingsFile.empty();
    form->addRow("Einstellungsdatei:",
                 PathBox("txtAboutSettings", noSettingsFile ? "keine (kein Ordner dafür gefunden)"
                                                            : PathText(facts_.settingsFile)));
    if (!facts_.settingsNote.empty()) {
        form->addRow(QString(), Wrapped("lblAboutSettingsNote", ToQ(facts_.settingsNote)));
    }
    // The file the wavelength picker reads the user's own lines from.
    form->addRow(
        "Eigene Wellenlängen:",
        PathBox("txtAboutWavelengths",
                noSettingsFile ? "keine (kein Ordner dafür gefunden)"
                               : PathText(wavelengths::UserWavelengthFile(facts_.settingsFile))));
    form->addRow("Linsenkatalog:", Wrapped("lblAboutCatalogue", ToQ(facts_.catalogue)));

    auto* manual = new QPushButton("&Handbuch im Browser");
    manual->setObjectName("comAboutManual");
    auto* folder = new QPushButton("&Ordner der Benutzerdateien");
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
    buttons->button(QDialogButtonBox::Close)->setText("&Schließen");
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
        SetStatus("Das Handbuch wurde nicht gefunden (gesucht in " +
                  PathText(facts_.programDir / ".." / "share" / "doc" / "raysketcher") +
                  "). Die Hilfe des Programms enthält dieselben Seiten.");
        return;
    }
    Open(*index, "Das Handbuch");
}

void AboutWindow::OpenUserFolder() {
    // The settings file's folder, which also holds UserData with the user's wavelengths.
    const fs::path folder = facts_.settingsFile.parent_path();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        SetStatus("Den Ordner " + PathText(folder) +
                  " gibt es noch nicht; er entsteht beim ersten Speichern der Einstellungen.");
        return;
    }
    Open(folder, "Der Ordner");
}

void AboutWindow::Open(const fs::path& path, const QString& what) {
    SetStatus(opener_(QUrl::fromLocalFile(PathText(path)))
                  ? QString()
                  : what + " " + PathText(path) + " konnte nicht geöffnet werden.");
}

void AboutWindow::SetStatus(const QString& text) {
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
}

}  // namespace rs::gui
