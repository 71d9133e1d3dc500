#pragma once
// "Info...": the program's name, version, build date, the toolkit version it runs on, the
// licence, where this machine keeps the settings and the user's wavelength list, where the
// stock-lens catalogue was found, and two links: the HTML manual in the browser and the folder of
// the user's files.
#include <QDialog>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <optional>

class QLabel;

namespace rs::gui {

// Hands a file or folder to the desktop (the browser, the file manager); false when it could
// not. Tests pass one that only records the url.
using UrlOpener = std::function<bool(const QUrl&)>;
bool OpenWithDesktop(const QUrl& url);

// What the window tells about this installation.
struct AboutFacts {
    std::filesystem::path settingsFile;
    std::string settingsNote;          // why the settings are where they are; mostly empty
    std::string catalogue;             // the catalogue's folder, or where it was looked for
    std::filesystem::path programDir;  // the folder of the running program
};

// The HTML manual's index.html: the installed copy (share/doc/raysketcher beside the program's
// bin folder), else the one the build made; nothing when neither is there.
std::optional<std::filesystem::path> ManualIndex(const std::filesystem::path& programDir);

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(AboutFacts facts, UrlOpener opener = OpenWithDesktop,
                         QWidget* parent = nullptr);

private:
    void OpenManual();
    void OpenUserFolder();
    // Opens `path`; when that fails, says so with `failure` ("… %1 …", %1 the path).
    void Open(const std::filesystem::path& path, const QString& failure);
    void SetStatus(const QString& text);

    AboutFacts facts_;
    UrlOpener opener_;
    QLabel* status_;
};

}  // namespace rs::gui
