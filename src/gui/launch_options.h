#pragma once
// The command line of the window program, and what it sets up before the window opens.
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "text/language.h"

class QTranslator;

namespace rs::gui {

struct LaunchOptions {
    std::optional<std::filesystem::path> settingsFile;  // --settings FILE
    std::optional<std::filesystem::path> catalogueDir;  // --catalogue DIR
    bool exitWhenShown = false;                         // --exit-when-shown
    bool help = false;                                  // --help, -h
    std::optional<text::Language> language;             // --lang de|en
    std::string error;                                  // German text; empty when usable
};

// `args` without the program name and without the options Qt took for itself.
LaunchOptions ParseLaunchOptions(const QStringList& args);

// What --help prints.
std::string HelpText();

// The toolkit's own German texts (print and page dialogs, file dialogs, the buttons of message
// boxes), installed on the running application while the returned translator lives. Null when
// they are not installed on this machine: those dialogs then speak English, which is no error.
std::unique_ptr<QTranslator> LoadToolkitTranslations();

}  // namespace rs::gui
