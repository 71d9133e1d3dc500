#pragma once
// The command line of the window program.
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>

namespace rs::gui {

struct LaunchOptions {
    std::optional<std::filesystem::path> settingsFile;  // --settings FILE
    bool exitWhenShown = false;                         // --exit-when-shown
    bool help = false;                                  // --help, -h
    std::string error;                                  // German text; empty when usable
};

// `args` without the program name and without the options Qt took for itself.
LaunchOptions ParseLaunchOptions(const QStringList& args);

// What --help prints.
std::string HelpText();

}  // namespace rs::gui
