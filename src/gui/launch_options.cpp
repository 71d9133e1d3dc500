#include "gui/launch_options.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "text/tr.h"

namespace rs::gui {

LaunchOptions ParseLaunchOptions(const QStringList& args) {
    LaunchOptions o;
    // The path of an option given as "--name PATH" or "--name=PATH": nothing when `args[i]` is
    // another option; an error when the path is missing or empty. "--settings --exit-when-shown"
    // names no file: the next option is no path ("--settings=--x" still is one).
    const auto pathOf = [&](qsizetype& i, const QString& name,
                            const char* missing) -> std::optional<std::filesystem::path> {
        const QString& a = args[i];
        QString value;
        if (a == name) {
            if (i + 1 < args.size() && !args[i + 1].startsWith("--")) value = args[++i];
        } else if (a.startsWith(name + "=")) {
            value = a.mid(name.size() + 1);
        } else {
            return std::nullopt;
        }
        if (value.isEmpty()) {
            o.error = name.toStdString() + ": " + missing;
            return std::filesystem::path();
        }
        return std::filesystem::path(value.toStdString());
    };
    for (qsizetype i = 0; i < args.size() && o.error.empty(); ++i) {
        const QString& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--exit-when-shown") {
            o.exitWhenShown = true;
        } else if (auto file = pathOf(i, "--settings", "Dateiname fehlt")) {
            o.settingsFile = std::move(file);
        } else if (auto dir = pathOf(i, "--catalogue", "Ordner fehlt")) {
            o.catalogueDir = std::move(dir);
        } else if (a == "--lang" || a.startsWith("--lang=")) {
            const QString code =
                a == "--lang" ? (i + 1 < args.size() ? args[++i] : QString()) : a.mid(7);
            o.language = text::LanguageFromCode(code.toStdString());
            if (!o.language) o.error = text::Tr("--lang: de oder en");
        } else {
            o.error = "unbekanntes Argument: " + a.toStdString();
        }
    }
    return o;
}

std::string HelpText() {
    return "Aufruf: raysketcher [--settings DATEI] [--catalogue ORDNER] [--exit-when-shown]\n"
           "\n"
           "Öffnet das Fenster von Raysketcher mit dem zuletzt gespeicherten System.\n"
           "\n"
           "  --settings DATEI   diese Einstellungsdatei statt Raysketcher.INI lesen und\n"
           "                     beim Beenden (auf Wunsch) schreiben\n"
           "  --catalogue ORDNER die Katalog-Linsen (SH_*.dat) aus diesem Ordner, sonst\n"
           "                     neben dem Programm, in ../share/raysketcher oder im\n"
           "                     Build-Ordner; auf der Karte \"Linsen\" gelistet\n"
           "  --exit-when-shown  sofort beenden, sobald das Fenster angezeigt ist, ohne zu\n"
           "                     speichern (misst die Startzeit)\n"
           "  --lang de|en       Sprache des Programms (sonst nach LANGUAGE, LC_ALL,\n"
           "                     LC_MESSAGES, LANG; Deutsch, wenn sie nicht Englisch verlangen)\n"
           "  -h, --help         diese Hilfe\n"
           "\n"
           "Ohne --settings gilt Raysketcher.INI im Programmordner, wenn er beschreibbar ist,\n"
           "sonst $XDG_CONFIG_HOME/raysketcher/Raysketcher.INI.\n"
           "Ohne Bildschirm: QT_QPA_PLATFORM=offscreen setzen, oder raysketcher-cli benutzen.\n"
           "Rückgabewert: 0 nach dem Schließen, 2 bei falschem Aufruf oder (mit\n"
           "--exit-when-shown) nicht lesbarer Einstellungsdatei, 3 wenn der Arbeitsspeicher\n"
           "nicht reicht.\n";
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
