// raysketcher: the window program.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string_view>

#include "app/ini_file.h"
#include "app/language_setup.h"
#include "gui/launch_options.h"
#include "gui/lens_grid.h"
#include "gui/main_form.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_user_settings_store.h"

namespace {

// The program's icon: the desktop's installed copy of our SVG when the theme has it, else the
// same file compiled into the program.
QIcon AppIcon() {
    return QIcon::fromTheme(QStringLiteral("de.kestrelon.Raysketcher"),
                            QIcon(QStringLiteral(":/icons/de.kestrelon.Raysketcher.svg")));
}

// Qt ends the process when it finds no display; say it in words the user reads, and where to go.
bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// Running out of memory ends the program with words instead of an abort: on stderr always, in a
// box when the toolkit is up. Both only try; there may be too little memory even for them.
constexpr const char* kOutOfMemory =
    "Der Arbeitsspeicher reicht nicht aus; Raysketcher wird beendet. Nicht gespeicherte "
    "Änderungen gehen verloren.";
void ReportOutOfMemory(bool toolkitUp) {
    std::cerr << "raysketcher: " << kOutOfMemory << "\n";
    if (!toolkitUp) return;
    try {
        QMessageBox::critical(nullptr, QStringLiteral("Raysketcher"),
                              QString::fromUtf8(kOutOfMemory));
    } catch (...) {  // NOLINT(bugprone-empty-catch): stderr has it already
    }
}

int Run(QApplication& app, const rs::gui::LaunchOptions& options) {
    std::error_code ec;
    if (options.settingsFile && std::filesystem::is_directory(*options.settingsFile, ec)) {
        std::cerr << "raysketcher: " << options.settingsFile->string()
                  << " ist ein Ordner, keine Einstellungsdatei\n";
        return 2;
    }

    const std::filesystem::path programDir =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    rs::app::IniFile settings(rs::app::SettingsFilePath(options.settingsFile, programDir));
    // Nobody is there to close a message box: a settings file that cannot be read is said on
    // stderr, and the run fails.
    if (options.exitWhenShown && !settings.ReadProblem().empty()) {
        std::cerr << "raysketcher: " << settings.ReadProblem() << "\n";
        return 2;
    }
    rs::gui::QtDialogs dialogs;
    rs::gui::QtUserSettingsStore userStore;

    const QIcon icon = AppIcon();
    QApplication::setWindowIcon(icon);
    rs::gui::FrmRaysketch window(dialogs, settings, userStore);
    window.setWindowIcon(icon);
    // The stock lenses, read once; without them the lens tab says where they were looked for.
    rs::gui::LensCatalogueSource catalogue =
        rs::gui::ReadLensCatalogue(options.catalogueDir, programDir);
    if (options.catalogueDir && !catalogue.location.dir) {
        std::cerr << "raysketcher: " << rs::analysis::CatalogueNotFoundMessage(catalogue.location)
                  << "\n";
    }
    rs::gui::SetLensCatalogue(window, std::move(catalogue));
    dialogs.SetParent(&window);
    window.SetNewFeatureNoteEnabled(!options.exitWhenShown);
    window.Startup();
    if (options.exitWhenShown) {
        // exit(), not quit(): leave at once, without the closing questions.
        QObject::connect(&window, &rs::gui::FrmRaysketch::Shown, &window,
                         [] { QTimer::singleShot(0, [] { QCoreApplication::exit(0); }); });
    }
    window.show();
    return app.exec();
}

// The program's folder before the toolkit is up (it answers the same later).
std::filesystem::path ProgramDir(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    // Help comes before Qt, so it works without a display; in the language asked for.
    std::optional<rs::text::Language> language;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--lang" && i + 1 < argc) language = rs::text::LanguageFromCode(argv[i + 1]);
        if (a.starts_with("--lang=")) language = rs::text::LanguageFromCode(a.substr(7));
    }
    rs::app::StartLanguage(language, ProgramDir(argc > 0 ? argv[0] : ""));
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << rs::gui::HelpText();
            return 0;
        }
    }
    if (!DisplayAvailable()) {
        std::cerr << "raysketcher: kein Bildschirm gefunden (DISPLAY ist nicht gesetzt).\n"
                     "Für Ergebnisse ohne Fenster: raysketcher-cli --settings DATEI\n";
        return 2;
    }
    std::unique_ptr<QApplication> app;
    try {
        app = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationName("Raysketcher");
        QApplication::setOrganizationName("Kestrelon");
        const rs::gui::LaunchOptions options = rs::gui::ParseLaunchOptions(app->arguments().mid(1));
        // Again after the toolkit's setlocale(LC_ALL, ""), which undid the message and number
        // locales of the first set-up.
        rs::app::StartLanguage(
            options.language,
            std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()));
        // In German every dialog the user sees speaks German, the toolkit's standard ones too.
        const std::unique_ptr<QTranslator> toolkitTexts =
            rs::text::LanguageInUse() == rs::text::Language::German
                ? rs::gui::LoadToolkitTranslations()
                : nullptr;
        if (!options.error.empty()) {
            std::cerr << "raysketcher: " << options.error << "\n(raysketcher --help)\n";
            return 2;
        }
        return Run(*app, options);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(app != nullptr);
        return 3;
    }
}
