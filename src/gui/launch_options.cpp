#include "gui/launch_options.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace rs::gui {

LaunchOptions ParseLaunchOptions(const QStringList& args) {
    LaunchOptions o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--exit-when-shown") {
            o.exitWhenShown = true;
        } else if (a == "--settings" || a.startsWith("--settings=")) {
            QString file;
            if (a == "--settings") {
                if (i + 1 >= args.size()) {
                    o.error = "--settings: Dateiname fehlt";
                    return o;
                }
                file = args[++i];
            } else {
                file = a.mid(static_cast<qsizetype>(sizeof("--settings=") - 1));
            }
            if (file.isEmpty()) {
                o.error = "--settings: Dateiname fehlt";
                return o;
            }
            o.settingsFile = std::filesystem::path(file.toStdString());
        } else {
            o.error = "unbekanntes Argument: " + a.toStdString();
            return o;
        }
    }
    return o;
}

std::string HelpText() {
    return "Aufruf: raysketcher [--settings DATEI] [--exit-when-shown]\n"
           "\n"
           "Öffnet das Fenster von Raysketcher mit dem zuletzt gespeicherten System.\n"
           "\n"
           "  --settings DATEI   diese Einstellungsdatei statt Raysketcher.INI lesen und\n"
           "                     beim Beenden (auf Wunsch) schreiben\n"
           "  --exit-when-shown  sofort beenden, sobald das Fenster angezeigt ist, ohne zu\n"
           "                     speichern (misst die Startzeit)\n"
           "  -h, --help         diese Hilfe\n"
           "\n"
           "Ohne --settings gilt Raysketcher.INI im Programmordner, wenn er beschreibbar ist,\n"
           "sonst $XDG_CONFIG_HOME/raysketcher/Raysketcher.INI.\n"
           "Ohne Bildschirm: QT_QPA_PLATFORM=offscreen setzen, oder raysketcher-cli benutzen.\n"
           "Rückgabewert: 0 nach dem Schließen, 2 bei falschem Aufruf.\n";
}

std::unique_ptr<QTranslator> LoadToolkitTranslations() {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

}  // namespace rs::gui
