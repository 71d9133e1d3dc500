#pragma once
// The settings file: a private-profile text file ("[Section]" lines followed by "key=value"
// lines), Windows-1252 on disk and UTF-8 inside. Sections and keys match without regard to case
// (ASCII letters and the Windows-1252 letters alike, so "VERGRÖSSERUNG: " finds
// "Vergrößerung: "). Every write is atomic: a temporary file in the same folder is written,
// flushed and renamed over the old one; a failure is reported with the file's path.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rs::app {

// The parsed file, kept line by line so that a write changes only the line it must.
class IniDocument {
public:
    // Tolerant: any bytes parse; lines that are neither sections nor "key=value" are kept as
    // they are and otherwise ignored. Input is Windows-1252.
    static IniDocument Parse(std::string_view cp1252Text);
    // Windows-1252 text with CR LF line ends.
    std::string Serialize() const;

    // The raw value (UTF-8, not trimmed) of the first matching key in the first matching
    // section, or nothing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Sets a value, creating section or key as needed (a new section goes at the end, a new key
    // at the end of its section).
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes a key; true when it was there.
    bool Remove(std::string_view section, std::string_view key);
    bool HasSection(std::string_view section) const;
    // Keys of a section, in file order (empty when the section is missing).
    std::vector<std::string> Keys(std::string_view section) const;

private:
    struct Line {
        std::string text;     // UTF-8, without line end
        std::string section;  // for "[x]" lines: the section name
        std::string key;      // for key lines: the key (trimmed)
        std::string value;    // for key lines: everything after the first '='
        enum Kind { kOther, kSection, kKey } kind = kOther;
    };
    std::vector<Line> lines_;
};

struct WriteStatus {
    bool ok = true;
    std::string message;  // German text naming the file when !ok
};

class IniFile {
public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }
    // Reads the file again; a missing or unreadable file reads as empty.
    void Reload();

    // The 200-character buffer rules: a missing or empty value gives `def`; a value is cut to
    // 199 characters, NUL characters count as blanks, the result is trimmed of blanks.
    std::string ReadIniString(std::string_view section, std::string_view key,
                              std::string_view def = "") const;
    // The integer value; 0 when missing or not a number.
    int ReadIniInt(std::string_view section, std::string_view key) const;

    // Writes one value to disk at once (creating file, section or key as needed); the file is
    // re-read first so that changes by others to other lines are kept.
    WriteStatus WriteIniString(std::string_view section, std::string_view key,
                               std::string_view value);

    // Batch writing: stage any number of values, then write them in one atomic save.
    void Stage(std::string_view section, std::string_view key, std::string_view value);
    WriteStatus Commit();

    const IniDocument& Document() const { return doc_; }

private:
    std::filesystem::path path_;
    IniDocument doc_;
};

// Where the settings file lives: `explicitFile` when given; otherwise "Raysketcher.INI" in the
// program's folder when that folder is writable; otherwise $XDG_CONFIG_HOME/raysketcher/
// (default ~/.config/raysketcher/) — created when needed.
std::filesystem::path SettingsFilePath(const std::optional<std::filesystem::path>& explicitFile,
                                       const std::filesystem::path& programDir);

}  // namespace rs::app
