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

// The largest settings file that is read; a bigger one is refused with a message.
inline constexpr int kMaxSettingsFileMiB = 64;

// Far above what this program writes (a few dozen sections, some hundred keys): a file with more
// is damaged or not ours, and is refused rather than indexed.
inline constexpr std::size_t kMaxIniSections = 4096;
inline constexpr std::size_t kMaxIniKeys = 65536;

// The parsed file. Its bytes are kept once as they were read; only sections and keys are indexed,
// so blank lines, comments and other lines cost nothing beyond their bytes, and a write changes
// only the line it must.
class IniDocument {
public:
    // Tolerant: any bytes parse; lines that are neither sections nor "key=value" are kept as
    // they are and otherwise ignored (so are ';' comments and keys above the first section).
    // Input is Windows-1252; lines end at LF, a CR before it is dropped. When a section or a
    // key occurs twice, the first one counts. A leading UTF-8 byte-order mark is skipped.
    // A text with more than kMaxIniSections sections or kMaxIniKeys keys gives an empty
    // document that is TooLarge().
    static IniDocument Parse(std::string cp1252Text);
    // Windows-1252 text with CR LF line ends.
    std::string Serialize() const;
    // The parsed text had more sections or keys than are indexed; it was not read.
    bool TooLarge() const { return tooLarge_; }

    // The raw value (UTF-8, not trimmed) of the first matching key in the first matching
    // section, or nothing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Sets a value, creating section or key as needed (a new section goes at the end, a new key
    // after the last key of its section); an existing key keeps its spelling and only its value
    // changes. Texts are reduced to what Windows-1252 can hold, CR and LF in the value become
    // blanks. A section or key that could not be read back from the file (a key with '=' or
    // starting with ';', a line break in a name, ...) leaves the document unchanged.
    void Set(std::string_view section, std::string_view key, std::string_view value);

private:
    // A section line, a key line, or a run of other lines between them.
    struct Entry {
        enum Kind { kRun, kSection, kKey } kind = kRun;
        std::size_t begin = 0;  // in text_: the line (a run: its lines with their ends)
        std::size_t end = 0;
        bool owned = false;       // set in memory: `line` holds the one line, without its end
        std::string line;         // Windows-1252
        std::string folded;       // sections and keys: the name as names are compared
        std::size_t valueAt = 0;  // keys: where the value starts in the line
    };
    std::string_view Text(const Entry& e) const;
    std::optional<std::pair<std::size_t, std::size_t>> FindSection(const std::string& folded) const;
    bool EndsBlank() const;

    std::string text_;  // the bytes as read, Windows-1252
    std::vector<Entry> entries_;
    bool tooLarge_ = false;
};

struct WriteStatus {
    bool ok = true;
    std::string message;  // when !ok: German text saying what failed and why
};

class IniFile {
public:
    // Reads the file at once.
    explicit IniFile(std::filesystem::path path);
    // The file at `path` as if it held `cp1252Text`, without reading it; writes go to `path`.
    static IniFile FromText(std::filesystem::path path, std::string_view cp1252Text);

    // The document as read plus everything set since (also what a failed write left staged).
    const IniDocument& Document() const { return doc_; }

    // Where the file is (or will be written): the folder the user's own lists live beside.
    const std::filesystem::path& Path() const { return path_; }

    // Reads the file again; a missing or unreadable file reads as empty. A file that exists
    // but cannot be read (a folder, a device or a pipe, which is never waited on, no permission,
    // or far too big to be ours: over kMaxSettingsFileMiB, or more than kMaxIniSections sections
    // or kMaxIniKeys keys) is never overwritten: writes to it fail and name the reason.
    void Reload();
    // Why the last read found nothing although the file is there (German, naming the file);
    // empty when it was read or does not exist.
    const std::string& ReadProblem() const { return readProblem_; }

    // The 200-character buffer rules: a missing or empty value gives `def`; a value is cut to
    // 199 characters, NUL characters count as blanks, the result is trimmed of blanks. Blanks
    // around the value in the file do not count towards the 199; an all-blank value gives `def`.
    std::string ReadIniString(std::string_view section, std::string_view key,
                              std::string_view def = "") const;
    // The integer value; 0 when missing or not a number. Reads a leading [sign] digits and
    // ignores the rest ("12abc" is 12); numbers beyond the int range give INT_MIN or INT_MAX.
    int ReadIniInt(std::string_view section, std::string_view key) const;

    // Writes one value to disk at once (creating file, section or key as needed); the file is
    // re-read first so that changes by others to other lines are kept. That re-read also drops
    // values staged but not yet committed. After a failed write the value is still set in the
    // document, so reads show it.
    WriteStatus WriteIniString(std::string_view section, std::string_view key,
                               std::string_view value);

    // Batch writing: stage any number of values, then write them in one atomic save. Staged
    // values go into the document at once (reads see them); Commit writes the document as it
    // was last read plus everything set since, without reading the file again. After a failed
    // Commit the staged values stay, so it can be tried again.
    void Stage(std::string_view section, std::string_view key, std::string_view value);
    WriteStatus Commit();

private:
    IniFile() = default;
    // Parses the file's bytes; a damaged file (too many sections or keys) is a read problem.
    void Take(std::string cp1252Text);

    std::filesystem::path path_;
    IniDocument doc_;
    std::string readProblem_;  // the file is there but could not be read: do not replace it
};

// Where the settings file lives: `explicitFile` when given; otherwise "Raysketcher.INI" in the
// program's folder when that folder is writable; otherwise $XDG_CONFIG_HOME/raysketcher/
// (default ~/.config/raysketcher/, with the account's home folder when HOME is not set either).
// Empty when there is no such folder at all: reads find nothing and a save says why. Finding
// the path creates nothing: that folder is made by the first save into it (IniFile::Commit),
// so a program that only reads leaves no trace. The program's folder counts as writable when it
// is a folder we may create files in and an existing settings file there is writable.
std::filesystem::path SettingsFilePath(const std::optional<std::filesystem::path>& explicitFile,
                                       const std::filesystem::path& programDir);
// What the user must be told about where the settings go (German), because neither HOME nor
// XDG_CONFIG_HOME named the place: where they will be saved, or that they cannot be. Empty
// when the place is the usual one.
std::string SettingsLocationNote(const std::filesystem::path& settingsFile);

// Writes `bytes` to a new file beside `target` and renames it over the target, so that readers
// see the old file or the new one, never half of one; the temporary file never stays. Links are
// followed (also a dangling one: its target is created), an existing file keeps its owner and
// permissions, and a write-protected one (no owner write bit, even for root) is refused. Only
// for regular files: a rename would replace a device or a pipe with a file, and the file's other
// hard links keep the old content. A failure's message is a German sentence saying why.
WriteStatus ReplaceFile(const std::filesystem::path& target, std::string_view bytes);
// The German sentence for a failed write's errno.
std::string WriteFailureReason(int error);
// Writes all of `bytes` to `fd`, resuming after interruptions; false on any failure.
bool WriteAll(int fd, std::string_view bytes);

// What the file can hold: texts go to disk as Windows-1252, so a character without a code there
// is already '?' in memory. This keeps reads before and after a save alike.
std::string Storable(std::string_view utf8);

}  // namespace rs::app
