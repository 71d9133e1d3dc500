// The window's tests, one Qt Test class per ctest entry: "gui_tests MainFormTest" runs one
// class, "gui_tests" all of them. Nothing here may touch the user's own settings: the per-user
// store is redirected into a folder that disappears with the run.
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <string>
#include <vector>

int RunMainFormTest(int argc, char** argv);
int RunDialogsTest(int argc, char** argv);
int RunDrawingTest(int argc, char** argv);
int RunHelpTest(int argc, char** argv);

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("RaysketcherTests");
    QCoreApplication::setApplicationName("gui_tests");
    // Windows closed and opened again by a test must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir userSettings;
    if (!userSettings.isValid()) return 1;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userSettings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userSettings.path());

    const std::map<std::string, std::function<int(int, char**)>> classes = {
        {"MainFormTest", RunMainFormTest},
        {"DialogsTest", RunDialogsTest},
        {"DrawingTest", RunDrawingTest},
        {"HelpTest", RunHelpTest}};
    // The first argument may name the class; the rest goes to Qt Test.
    std::vector<char*> args(argv, argv + argc);
    if (argc > 1 && classes.count(argv[1])) {
        args.erase(args.begin() + 1);
        return classes.at(argv[1])(static_cast<int>(args.size()), args.data());
    }
    int failed = 0;
    for (const auto& [name, run] : classes) failed += run(argc, argv);
    return failed;
}
