// raysketcher: the window program.
#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QTranslator>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "app/ini_file.h"
#include "gui/launch_options.h"
#include "gui/lens_grid.h"
#include "gui/main_form.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_user_settings_store.h"

namespace {

// The program's icon, drawn rather than shipped: a biconvex lens with a ray through its focus.
QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(size / 64.0, size / 64.0);
            QPainterPath lens;
            lens.moveTo(32, 4);
            lens.quadTo(46, 32, 32, 60);
            lens.quadTo(18, 32, 32, 4);
            p.setPen(QPen(QColor(20, 60, 140), 2));
            p.setBrush(QColor(150, 200, 255));
            p.drawPath(lens);
            p.setPen(QPen(QColor(200, 30, 30), 3));
            p.drawLine(QPointF(2, 18), QPointF(32, 18));
            p.drawLine(QPointF(32, 18), QPointF(62, 50));
            p.setPen(QPen(Qt::black, 1.5));
            p.drawLine(QPointF(2, 32), QPointF(62, 32));
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Qt ends the process when it finds no display; say it in words the user reads, and where to go.
bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Help comes before Qt, so it works without a display.
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
    QApplication app(argc, argv);
    QApplication::setApplicationName("Raysketcher");
    QApplication::setOrganizationName("Kestrelon");
    // Every dialog the user sees speaks German, the toolkit's standard ones too.
    const std::unique_ptr<QTranslator> toolkitTexts = rs::gui::LoadToolkitTranslations();

    const rs::gui::LaunchOptions options = rs::gui::ParseLaunchOptions(app.arguments().mid(1));
    if (!options.error.empty()) {
        std::cerr << "raysketcher: " << options.error << "\n(raysketcher --help)\n";
        return 2;
    }
    std::error_code ec;
    if (options.settingsFile && std::filesystem::is_directory(*options.settingsFile, ec)) {
        std::cerr << "raysketcher: " << options.settingsFile->string()
                  << " ist ein Ordner, keine Einstellungsdatei\n";
        return 2;
    }

    const std::filesystem::path programDir =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    rs::app::IniFile settings(rs::app::SettingsFilePath(options.settingsFile, programDir));
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
    return QApplication::exec();
}
