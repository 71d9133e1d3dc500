#include "app/ini_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <utility>

#include "text/file_read.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"

namespace rs::app {
using text::Tr;
using text::TrFormat;
using text::TrNoop;
namespace fs = std::filesystem;
namespace {

constexpr const char* kFileName = "Raysketcher.INI";
// The old reader used a 200-character buffer, one of which was the terminating NUL.
constexpr std::size_t kValueChars = 199;
// Far beyond any settings file this program writes (a few kilobytes), yet a design file of some
// megabytes (long comments, many sections of other tools) is still read. A bigger file is not
// ours: parsed, every line costs some hundred bytes, and replacing it with our few lines would
// destroy it.
constexpr std::size_t kMaxFileBytes = std::size_t{kMaxSettingsFileMiB} << 20;

// Names and values are trimmed of every kind of blank, a stray CR included.
std::string_view Trim(std::string_view s) {
    return text::TrimBlanks(s, " \t\r\v\f");
}

// Calls `sink` with each character of the trimmed name in the form in which names are compared:
// letters in lower case and 'ß' spelled "ss" (so "VERGRÖSSERUNG" finds "Vergrößerung", as it
// does on Windows). Names in the document are always valid UTF-8 of Windows-1252 characters;
// a stray byte would simply stand for itself. Works without allocating, because every look-up
// runs over names of the file.
template <class Sink>
void ForEachFolded(std::string_view utf8, Sink&& sink) {
    const std::string_view t = Trim(utf8);
    for (std::size_t i = 0; i < t.size();) {
        const auto b = static_cast<unsigned char>(t[i]);
        std::size_t len = (b & 0xE0) == 0xC0   ? 2
                          : (b & 0xF0) == 0xE0 ? 3
                          : (b & 0xF8) == 0xF0 ? 4
                                               : 1;
        char32_t cp = b;
        if (len > 1 && len <= t.size() - i) {
            cp = b & (0x7F >> len);
            for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (t[i + k] & 0x3F);
        } else {
            len = 1;
        }
        i += len;
        if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) {
            cp += 0x20;
        } else if (cp == 0x160 || cp == 0x152 || cp == 0x17D) {  // Š Œ Ž
            cp += 1;
        } else if (cp == 0x178) {  // Ÿ
            cp = 0xFF;
        } else if (cp == 0xDF) {
            sink(U's');
            cp = U's';
        }
        sink(cp);
    }
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A UTF-8 name in the form in which names are compared, once, so that a look-up compares bytes.
std::string Folded(std::string_view utf8) {
    std::string out;
    ForEachFolded(utf8, [&](char32_t c) { AppendUtf8(out, c); });
    return out;
}

// A name as asked for; characters the file cannot hold are '?' there, too.
std::string Fold(std::string_view utf8) {
    return Folded(Storable(utf8));
}

enum class Shape { kOther, kSection, kKey };

struct LineParts {
    Shape shape = Shape::kOther;
    std::string_view name;   // section name or key, trimmed
    std::string_view value;  // key lines: everything after the first '='
};

LineParts Split(std::string_view line) {
    const std::string_view t = Trim(line);
    if (!t.empty() && t.front() == ';') return {};
    if (!t.empty() && t.front() == '[') {
        // Up to the last ']', so that a name may itself hold a ']'; anything after it is ignored.
        const auto close = t.rfind(']');
        if (close != std::string_view::npos) {
            return {Shape::kSection, Trim(t.substr(1, close - 1)), {}};
        }
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return {};
    return {Shape::kKey, Trim(line.substr(0, eq)), line.substr(eq + 1)};
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

// --- Atomic file replacement ----------------------------------------------------------------

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;  // a device that takes nothing more
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

namespace {

// Makes the rename itself survive a power cut; a failure here changes nothing for the caller.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string WriteFailureReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return Tr("Das Schreiben in diesen Ordner ist nicht erlaubt.");
        case EROFS:
            return Tr("Das Dateisystem ist schreibgeschützt.");
        case ENOENT:
        case ENOTDIR:
            return Tr("Der Ordner existiert nicht.");
        case ENOSPC:
        case EDQUOT:
            return Tr("Der Datenträger ist voll.");
        case ENAMETOOLONG:
            return Tr("Der Name ist zu lang.");
        case EISDIR:
            return Tr("Das ist ein Ordner.");
        case ELOOP:
            return Tr("Die Verknüpfungen führen im Kreis.");
        default:
            return TrFormat("Systemfehler %1.", {std::to_string(error)});
    }
}

namespace {

// The file a link leads to, also when it does not exist yet (a dangling link is written at
// its target, so the link stays). Nothing when the links go round in circles.
std::optional<fs::path> FollowLinks(fs::path path) {
    std::error_code ec;
    for (int hops = 0; hops < 40; ++hops) {
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) return std::nullopt;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

// "name.tmp<pid>-<n>" beside the target, the name cut so that the whole stays within the
// file system's limit for one name.
fs::path TemporaryBeside(const fs::path& target, unsigned serial) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 16 ? static_cast<std::size_t>(limit) : 255;
    const std::string suffix = ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(serial);
    std::string name = target.filename().string();
    if (name.size() + suffix.size() > nameMax) name.resize(nameMax - suffix.size());
    return folder / (name + suffix);
}

}  // namespace

WriteStatus ReplaceFile(const fs::path& requested, std::string_view bytes) {
    const auto fail = [](std::string why) { return WriteStatus{false, std::move(why)}; };
    // A link is followed, so that the file it points to is replaced and the link stays.
    const std::optional<fs::path> followed = FollowLinks(requested);
    if (!followed) return fail(WriteFailureReason(ELOOP));
    const fs::path& target = *followed;
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    // A write-protected file is the user's way of freezing it; rename would not care. The mode
    // bits count, not only access(), which lets root write anything.
    if (existed && (::access(target.c_str(), W_OK) != 0 || (old.st_mode & S_IWUSR) == 0)) {
        return fail(Tr("Die Datei ist schreibgeschützt."));
    }

    static std::atomic<unsigned> counter{0};
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = TemporaryBeside(target, counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return fail(WriteFailureReason(errno));
    }
    if (fd < 0) return fail(WriteFailureReason(EEXIST));
    if (existed) {
        // The file stays its owner's, also when root saves it (else the owner's next save
        // would be refused), and keeps its permissions; chown may clear set-id bits, so the
        // mode comes after it. Both only try: an ordinary user cannot give files away.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            (void)::fchown(fd, old.st_uid, old.st_gid);
        }
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    int error = 0;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!ok) error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        std::error_code ec;
        fs::remove(temp, ec);
        return fail(WriteFailureReason(error));
    }
    SyncFolder(target.has_parent_path() ? target.parent_path() : fs::path("."));
    return {};
}

namespace {

WriteStatus WriteFailure(const fs::path& path, const std::string& reason = {}) {
    return {false,
            TrFormat("Die Einstellungen konnten nicht in die Datei \"%1\" geschrieben werden.",
                     {path.string()}) +
                (reason.empty() ? "" : " " + reason)};
}

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// $XDG_CONFIG_HOME/raysketcher, by default ~/.config/raysketcher. With neither variable set the
// home folder of the user's account stands in for HOME; without one there is no such folder
// (empty), never the current folder, which may be anyone's. Only a save creates it.
fs::path PerUserSettingsFolder() {
    fs::path base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && fs::path(xdg).is_absolute()) {
        base = xdg;
    } else if (EnvironmentSet("HOME")) {
        base = fs::path(std::getenv("HOME")) / ".config";
    } else {
        const passwd* account = ::getpwuid(::getuid());
        if (account == nullptr || account->pw_dir == nullptr ||
            !fs::path(account->pw_dir).is_absolute()) {
            return {};
        }
        base = fs::path(account->pw_dir) / ".config";
    }
    return base / "raysketcher";
}

constexpr const char* kNoHome = TrNoop("Weder HOME noch XDG_CONFIG_HOME ist gesetzt");

// True when we may create files in `folder`.
bool FolderWritable(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

// --- IniDocument ------------------------------------------------------------------------------

IniDocument IniDocument::Parse(std::string cp1252Text) {
    IniDocument doc;
    // Editors that save as UTF-8 may put a byte-order mark first; left in, it would make the
    // first section header unreadable. Our own writes never carry one.
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (std::string_view(cp1252Text).starts_with(kUtf8Bom)) cp1252Text.erase(0, kUtf8Bom.size());
    doc.text_ = std::move(cp1252Text);
    const std::string_view text = doc.text_;
    std::size_t sections = 0, keys = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > pos && text[end - 1] == '\r') --end;
        // Names and the structure are ASCII, the same in Windows-1252 as in UTF-8.
        const LineParts parts = Split(text.substr(pos, end - pos));
        // Keys above the first section can never be found: they belong to the run.
        if (parts.shape == Shape::kSection || (parts.shape == Shape::kKey && sections > 0)) {
            const bool section = parts.shape == Shape::kSection;
            if (section ? ++sections > kMaxIniSections : ++keys > kMaxIniKeys) {
                IniDocument refused;
                refused.tooLarge_ = true;
                return refused;
            }
            Entry e;
            e.kind = section ? Entry::kSection : Entry::kKey;
            e.begin = pos;
            e.end = end;
            e.folded = Folded(text::Cp1252ToUtf8(parts.name));
            if (!section)
                e.valueAt = static_cast<std::size_t>(parts.value.data() - text.data()) - pos;
            doc.entries_.push_back(std::move(e));
        } else if (!doc.entries_.empty() && doc.entries_.back().kind == Entry::kRun) {
            doc.entries_.back().end = next;
        } else {
            Entry run;
            run.begin = pos;
            run.end = next;
            doc.entries_.push_back(std::move(run));
        }
        pos = next;
    }
    return doc;
}

std::string_view IniDocument::Text(const Entry& e) const {
    return e.owned ? std::string_view(e.line)
                   : std::string_view(text_).substr(e.begin, e.end - e.begin);
}

std::string IniDocument::Serialize() const {
    std::string out;
    out.reserve(text_.size() + text_.size() / 16 + 64);
    const auto addLine = [&](std::string_view line) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        out += line;
        out += "\r\n";
    };
    for (const Entry& e : entries_) {
        const std::string_view t = Text(e);
        if (e.kind != Entry::kRun || e.owned) {
            out += t;
            out += "\r\n";
            continue;
        }
        for (std::size_t pos = 0; pos < t.size();) {
            const std::size_t nl = std::min(t.find('\n', pos), t.size());
            addLine(t.substr(pos, nl - pos));
            pos = nl + 1;
        }
    }
    return out;
}

std::optional<std::pair<std::size_t, std::size_t>> IniDocument::FindSection(
    const std::string& folded) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].kind != Entry::kSection || entries_[i].folded != folded) continue;
        std::size_t end = i + 1;
        while (end < entries_.size() && entries_[end].kind != Entry::kSection) ++end;
        return std::make_pair(i, end);
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const auto span = FindSection(Fold(section));
    if (!span) return std::nullopt;
    const std::string folded = Fold(key);
    for (std::size_t i = span->first + 1; i < span->second; ++i) {
        const Entry& e = entries_[i];
        if (e.kind == Entry::kKey && e.folded == folded) {
            return text::Cp1252ToUtf8(Text(e).substr(e.valueAt));
        }
    }
    return std::nullopt;
}

bool IniDocument::EndsBlank() const {
    if (entries_.empty()) return true;
    std::string_view last = Text(entries_.back());
    if (entries_.back().kind == Entry::kRun && !entries_.back().owned) {
        if (!last.empty() && last.back() == '\n') last.remove_suffix(1);
        const std::size_t nl = last.rfind('\n');
        if (nl != std::string_view::npos) last.remove_prefix(nl + 1);
    }
    return Trim(last).empty();
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (tooLarge_ || HasLineBreak(section) || HasLineBreak(key)) return;
    const std::string sec = Storable(section);
    const std::string k = Storable(key);
    std::string v = Storable(value);
    std::replace_if(
        v.begin(), v.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');

    // Names are written as given; they must read back as themselves, or the value would be
    // lost in a line that means something else.
    const std::string header = "[" + sec + "]";
    const std::string keyLine = k + "=";
    const LineParts h = Split(header);
    const LineParts kl = Split(keyLine);
    if (h.shape != Shape::kSection || h.name != Trim(sec)) return;
    if (kl.shape != Shape::kKey || kl.name != Trim(k)) return;

    const auto owned = [](Entry::Kind kind, const std::string& utf8Line, std::string folded,
                          std::size_t valueAt) {
        Entry e;
        e.kind = kind;
        e.owned = true;
        e.line = text::Utf8ToCp1252(utf8Line);
        e.folded = std::move(folded);
        e.valueAt = valueAt;
        return e;
    };
    const std::string foldedSection = Fold(sec);
    const std::string foldedKey = Fold(k);
    const std::string newKeyLine = k + "=" + v;
    const std::size_t keyValueAt = text::Utf8ToCp1252(keyLine).size();
    const auto span = FindSection(foldedSection);
    if (!span) {
        // A blank line between sections, as people write them by hand.
        if (!EndsBlank()) entries_.push_back(owned(Entry::kRun, "", {}, 0));
        entries_.push_back(owned(Entry::kSection, header, foldedSection, 0));
        entries_.push_back(owned(Entry::kKey, newKeyLine, foldedKey, keyValueAt));
        return;
    }
    std::size_t insertAt = span->first + 1;
    for (std::size_t i = span->first + 1; i < span->second; ++i) {
        Entry& e = entries_[i];
        if (e.kind != Entry::kKey) continue;
        if (e.folded == foldedKey) {
            // Only the value changes; the key keeps its spelling and blanks.
            e.line = std::string(Text(e).substr(0, e.valueAt)) + text::Utf8ToCp1252(v);
            e.owned = true;
            return;
        }
        insertAt = i + 1;
    }
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                    owned(Entry::kKey, newKeyLine, foldedKey, keyValueAt));
}

// --- IniFile ----------------------------------------------------------------------------------

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {
    Reload();
}

IniFile IniFile::FromText(std::filesystem::path path, std::string_view cp1252Text) {
    IniFile file;
    file.path_ = std::move(path);
    file.Take(std::string(cp1252Text));
    return file;
}

void IniFile::Take(std::string cp1252Text) {
    doc_ = IniDocument::Parse(std::move(cp1252Text));
    if (doc_.TooLarge()) {
        readProblem_ = TrFormat(
            "Die Datei %1 ist beschädigt (mehr als %2 Abschnitte oder %3 Einträge) und damit "
            "keine Einstellungsdatei; sie wird weder gelesen noch überschrieben.",
            {Quoted(path_), std::to_string(kMaxIniSections), std::to_string(kMaxIniKeys)});
    }
}

void IniFile::Reload() {
    doc_ = IniDocument{};
    readProblem_.clear();
    text::FileRead read = text::ReadFileBounded(path_, kMaxFileBytes);
    switch (read.failure) {
        case text::ReadFailure::kNone:
            Take(std::move(read.bytes));
            return;
        case text::ReadFailure::kMissing:  // a first start: nothing to keep
            return;
        case text::ReadFailure::kFolder:
            readProblem_ = TrFormat("%1 ist ein Ordner, keine Einstellungsdatei.", {Quoted(path_)});
            return;
        case text::ReadFailure::kNotRegular:
            readProblem_ = TrFormat("%1 ist keine gewöhnliche Datei (ein Gerät oder eine Pipe).",
                                    {Quoted(path_)});
            return;
        case text::ReadFailure::kTooBig:
            readProblem_ = TrFormat(
                "Die Datei %1 ist größer als %2 MiB und damit keine Einstellungsdatei; sie wird "
                "weder gelesen noch überschrieben.",
                {Quoted(path_), std::to_string(kMaxSettingsFileMiB)});
            return;
        case text::ReadFailure::kNoAccess:
        case text::ReadFailure::kError:
            // no permission on the file or a folder of the path, a loop of links, ...
            readProblem_ = TrFormat("Die Datei %1 kann nicht gelesen werden.", {Quoted(path_)});
            return;
    }
}

std::string IniFile::ReadIniString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
    const std::optional<std::string> raw = doc_.Get(section, key);
    if (!raw) return std::string(def);
    std::string value = *raw;
    std::replace(value.begin(), value.end(), '\0', ' ');
    // Blanks around the value never reached the buffer; the cut counts characters, not bytes.
    std::string_view t = Trim(value);
    std::size_t chars = 0, end = 0;
    for (; end < t.size(); ++end) {
        if ((static_cast<unsigned char>(t[end]) & 0xC0) == 0x80) continue;
        if (chars == kValueChars) break;
        ++chars;
    }
    t = Trim(t.substr(0, end));
    return t.empty() ? std::string(def) : std::string(t);
}

int IniFile::ReadIniInt(std::string_view section, std::string_view key) const {
    const std::optional<std::string> raw = doc_.Get(section, key);
    if (!raw) return 0;
    std::string value = *raw;
    std::replace(value.begin(), value.end(), '\0', ' ');
    const std::string_view t = Trim(value);
    std::size_t i = 0;
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    // Saturates just beyond the int range, so that any number of digits is safe.
    constexpr long long kCap = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        magnitude = std::min(kCap, magnitude * 10 + (t[i] - '0'));
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
}

WriteStatus IniFile::WriteIniString(std::string_view section, std::string_view key,
                                    std::string_view value) {
    Reload();
    doc_.Set(section, key, value);
    return Commit();
}

void IniFile::Stage(std::string_view section, std::string_view key, std::string_view value) {
    doc_.Set(section, key, value);
}

WriteStatus IniFile::Commit() {
    if (path_.empty()) return {false, SettingsLocationNote(path_)};
    if (!readProblem_.empty()) return WriteFailure(path_, readProblem_);
    // Our own per-user folder is made by the first save into it, never by reading.
    std::error_code ec;
    if (path_.has_parent_path() && path_.parent_path() == PerUserSettingsFolder()) {
        fs::create_directories(path_.parent_path(), ec);  // a failure shows in the write
    }
    const WriteStatus written = ReplaceFile(path_, doc_.Serialize());
    return written.ok ? written : WriteFailure(path_, written.message);
}

std::filesystem::path SettingsFilePath(const std::optional<std::filesystem::path>& explicitFile,
                                       const std::filesystem::path& programDir) {
    if (explicitFile) return *explicitFile;

    fs::path besideProgram = programDir / kFileName;
    std::error_code ec;
    const bool iniThere = fs::exists(besideProgram, ec);
    if (FolderWritable(programDir) && (!iniThere || (!fs::is_directory(besideProgram, ec) &&
                                                     ::access(besideProgram.c_str(), W_OK) == 0))) {
        return besideProgram;
    }
    const fs::path perUser = PerUserSettingsFolder();
    return perUser.empty() ? fs::path() : perUser / kFileName;
}

std::string SettingsLocationNote(const fs::path& settingsFile) {
    if (settingsFile.empty()) {
        return Tr(kNoHome) +
               Tr(", und für dieses Benutzerkonto ist kein persönlicher Ordner bekannt: Die "
                  "Einstellungen können nicht gespeichert werden. Eine Datei lässt sich mit "
                  "--settings DATEI angeben.");
    }
    if (EnvironmentSet("XDG_CONFIG_HOME") || EnvironmentSet("HOME") ||
        settingsFile.parent_path() != PerUserSettingsFolder()) {
        return {};
    }
    return Tr(kNoHome) +
           TrFormat(". Die Einstellungen werden in %1 gespeichert.", {Quoted(settingsFile)});
}

std::string Storable(std::string_view utf8) {
    return text::Cp1252ToUtf8(text::Utf8ToCp1252(utf8));
}

}  // namespace rs::app
