#include "app/ini_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "text/number_text.h"

namespace rs::app {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

void WriteBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// The names in a folder, sorted: an atomic write leaves no temporary file behind.
std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// What a round trip must give: every line's bytes, each ended by CR LF.
std::string Normalised(const std::string& text) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t nl = std::min(text.find('\n', pos), text.size());
        std::string line = text.substr(pos, nl - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out += line + "\r\n";
        pos = nl + 1;
    }
    return out;
}

TEST(IniFile, ReadingRules) {
    std::string umlauts;
    for (int i = 0; i < 250; ++i) umlauts += "ä";
    const std::string utf8 =
        "Verwaist=1\n; Kommentar\n[ Options ]\r\nUnitType=1\r\n"
        "  SliderDefaultPercent = 25  \nBlanks=   \n"
        "Müll ohne Gleichheitszeichen\nNul=a\0b\0\nLangUml="s +
        umlauts + "\nSchnitt=" + std::string(198, 'x') +
        "   yyy\n[Symbols]\nVergrößerung: =m'\n[ÄÖÜŠ]\nSchlüssel=Wert\n"
        "[options]\nUnitType=7\nSpät=x\n[S]\nk0= -17 \nk1=12abc\nk2=3.9\n"
        "k3=0x1F\nk4=2147483648\nk5=-99999999999999999999\nk6=\n";
    const IniFile ini = IniFile::FromText("a.ini", text::Utf8ToCp1252(utf8));
    const struct {
        const char *section, *key;
        std::string expected;
        // clang-format off
    } cases[] = {
        {"OPTIONS", "unittype", "1"},  // the first of two equal sections counts
        {"Options", "Spät", "-"}, {"Options", " SliderDefaultPercent ", "25"},
        {"Options", "Blanks", "-"}, {"Options", "; Kommentar", "-"}, {"Options", "Verwaist", "-"},
        {"Options", "Nul", "a b"}, {"Options", "Schnitt", std::string(198, 'x')},
        {"Options", "LangUml", umlauts.substr(0, 2 * 199)},  // 199 characters, not bytes
        {"SYMBOLS", "VERGRÖSSERUNG: ", "m'"}, {"äöüš", "SCHLÜSSEL", "Wert"}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ReadIniString(c.section, c.key, "-"), c.expected)
            << c.section << "/" << c.key;
    }
    const int ints[] = {-17, 12, 3, 0, INT_MAX, INT_MIN, 0};
    for (std::size_t i = 0; i < std::size(ints); ++i) {
        EXPECT_EQ(ini.ReadIniInt("s", "K" + std::to_string(i)), ints[i]) << i;
    }
}

// A byte-order mark written by an editor does not hide the first section, and a save drops it.
TEST(IniFile, Utf8ByteOrderMarkIsSkipped) {
    const test::TempDir dir;
    const fs::path path = dir.path() / "bom.ini";
    WriteBytes(path, "\xEF\xBB\xBF[Options]\r\nMirrorMode=True\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadIniString("Options", "MirrorMode"), "True");
    ASSERT_TRUE(ini.WriteIniString("Options", "UnitType", "1").ok);
    EXPECT_EQ(test::ReadFile(path), "[Options]\r\nMirrorMode=True\r\nUnitType=1\r\n");
}

// A write changes its own line only, keeps odd lines and the file's permissions, reads the file
// again first, and writes Windows-1252.
TEST(IniFile, WritesChangeOnlyTheirLine) {
    const test::TempDir dir;
    const fs::path p = dir / "Raysketcher.INI";
    const std::string head = "; von Hand\r\n[Options]\r\n";
    const std::string odd = "\x01\x81\xFF ohne Gleichheitszeichen\r\n[kaputt\r\nCR\rinnen=1\r\n";
    const std::string tail = "; Ende Options\r\n\r\n[Other]\r\nUnitType=9\r\n\r\n";
    WriteBytes(p, head + "  unittype = 1\r\n" + odd + tail);
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(p, perms);
    IniFile ini(p);

    ASSERT_TRUE(ini.WriteIniString("OPTIONS", "UnitType", "5").ok);
    EXPECT_EQ(test::ReadFile(p), head + "  unittype =5\r\n" + odd + tail);
    EXPECT_EQ(fs::status(p).permissions(), perms);
    // A new key follows the section's last key, ahead of its comments and blank lines.
    ASSERT_TRUE(ini.WriteIniString("Options", "Neu", " a=b ").ok);
    EXPECT_EQ(test::ReadFile(p), head + "  unittype =5\r\n" + odd + "Neu= a=b \r\n" + tail);

    // What someone else wrote meanwhile stays; a new section goes at the end, after a blank line.
    WriteBytes(p, "[A]\nx=1");
    ASSERT_TRUE(ini.WriteIniString("Symbols", "Vergrößerung: ", "µm\n\u03b1").ok);
    EXPECT_EQ(test::ReadFile(p),
              "[A]\r\nx=1\r\n\r\n[Symbols]\r\nVergr\xF6\xDF"
              "erung: =\xB5m ?\r\n");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Raysketcher.INI"});

    // Names that would not read back as themselves change nothing.
    IniDocument doc = IniDocument::Parse("[S]\r\nk=1\r\n");
    for (const char* key : {"a=b", "; x", "[x]", "a\nb", "a\rb"}) doc.Set("S", key, "v");
    for (const char* section : {"a\nb", "x\r"}) doc.Set(section, "k", "v");
    EXPECT_EQ(doc.Serialize(), "[S]\r\nk=1\r\n");
}

TEST(IniFile, FailedWritesAreReportedAndLeaveNothingBehind) {
    const test::TempDir dir;
    const auto expectFailure = [](const WriteStatus& s, const fs::path& p, const char* reason) {
        EXPECT_FALSE(s.ok);
        EXPECT_EQ(s.message, "Die Einstellungen konnten nicht in die Datei \"" + p.string() +
                                 "\" geschrieben werden. " + reason);
    };
    const fs::path noFolder = dir / "fehlt" / "a.ini";
    expectFailure(IniFile(noFolder).WriteIniString("A", "k", "v"), noFolder,
                  "Der Ordner existiert nicht.");
    EXPECT_TRUE(Entries(dir.path()).empty());

    // The target turns into a folder after loading: the rename fails, the staged value stays
    // and a later commit succeeds.
    const fs::path p = dir / "b.ini";
    IniFile ini(p);
    ini.Stage("A", "k", "v");
    fs::create_directory(p);
    expectFailure(ini.Commit(), p, "Das ist ein Ordner.");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"b.ini"});
    fs::remove(p);
    ASSERT_TRUE(ini.Commit().ok);
    EXPECT_EQ(test::ReadFile(p), "[A]\r\nk=v\r\n");

    // A design file of some megabytes is read; one far too big to be ours reads as empty, says
    // why, and a save refuses with that reason instead of replacing it.
    const fs::path large = dir / "gross.ini";
    WriteBytes(large, "[A]\nk=1\n; " + std::string(10u << 20, 'x') + "\n");
    EXPECT_EQ(IniFile(large).ReadIniString("A", "k", "-"), "1");
    const fs::path big = dir / "riesig.ini";
    WriteBytes(big, "[A]\nk=1\n");
    const auto bigSize = (std::uintmax_t{kMaxSettingsFileMiB} << 20) + 1;
    fs::resize_file(big, bigSize);  // sparse: costs no disk
    IniFile huge(big);
    EXPECT_EQ(huge.ReadIniString("A", "k", "-"), "-");
    const std::string reason = "Die Datei \"" + big.string() + "\" ist größer als 64 MiB";
    EXPECT_EQ(huge.ReadProblem().rfind(reason, 0), 0u) << huge.ReadProblem();
    const WriteStatus refused = huge.WriteIniString("A", "k", "v");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find(reason), std::string::npos) << refused.message;
    EXPECT_EQ(fs::file_size(big), bigSize);

    // A write-protected file stays as it is, also for root, whom access() lets write anything.
    const fs::path locked = dir / "fest.ini";
    WriteBytes(locked, "[A]\nk=1\n");
    fs::permissions(locked, fs::perms::owner_read);
    expectFailure(IniFile(locked).WriteIniString("A", "k", "2"), locked,
                  "Die Datei ist schreibgeschützt.");
    EXPECT_EQ(test::ReadFile(locked), "[A]\nk=1\n");

    // A folder or a pipe in place of the file is named as such (the pipe is not waited on).
    EXPECT_NE(IniFile(dir.path()).ReadProblem().find("ist ein Ordner"), std::string::npos);
    const fs::path fifo = dir / "pipe.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_NE(IniFile(fifo).ReadProblem().find("keine gewöhnliche Datei"), std::string::npos);

    // Blank lines cost nothing and the most sections and keys that are kept still read; one
    // section or key more names the file as damaged, and it is not replaced.
    std::string most = std::string(1u << 20, '\n') + "[A]\n";
    for (std::size_t i = 0; i < kMaxIniKeys; ++i) most += "k=" + std::to_string(i) + "\n";
    for (std::size_t i = 1; i < kMaxIniSections; ++i) most += "[x]\n";
    const fs::path full = dir / "voll.ini";
    const struct {
        std::string text;
        bool damaged;
    } limits[] = {{most, false}, {most + "k=x\n", true}, {most + "[y]\n", true}};
    for (const auto& c : limits) {
        WriteBytes(full, c.text);
        IniFile ini(full);
        EXPECT_EQ(ini.ReadIniString("A", "k", "-"), c.damaged ? "-" : "0");
        EXPECT_EQ(ini.ReadProblem().find("ist beschädigt (mehr als 4096 Abschnitte oder 65536 "
                                         "Einträge)") != std::string::npos,
                  c.damaged);
        if (c.damaged) {
            EXPECT_FALSE(ini.WriteIniString("A", "k", "v").ok);
        }
    }
    EXPECT_EQ(test::ReadFile(full), limits[2].text);
}

// Links stay links, also dangling ones; a file keeps its owner when root saves it; a name at the
// file system's limit still leaves room for the temporary name.
TEST(IniFile, ReplaceKeepsLinksOwnersAndLongNames) {
    const test::TempDir dir;
    const fs::path dangling = dir / "verweis.ini";
    fs::create_directory(dir / "echt");
    fs::create_symlink(fs::path("echt") / "neu.ini", dangling);
    ASSERT_TRUE(ReplaceFile(dangling, "a").ok);
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(test::ReadFile(dir / "echt" / "neu.ini"), "a");

    const fs::path loop = dir / "kreis";
    fs::create_symlink(loop.filename(), loop);
    EXPECT_EQ(ReplaceFile(loop, "a").message, "Die Verknüpfungen führen im Kreis.");

    const fs::path longName = dir / (std::string(250, 'n') + ".ini");
    ASSERT_TRUE(ReplaceFile(longName, "1").ok);
    ASSERT_TRUE(ReplaceFile(longName, "2").ok);
    EXPECT_EQ(test::ReadFile(longName), "2");
    EXPECT_EQ(Entries(dir.path()).size(), 4u);

    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    const fs::path others = dir / "fremd.ini";
    WriteBytes(others, "[A]\n");
    ASSERT_EQ(::chown(others.c_str(), 4321, 4322), 0);
    ASSERT_TRUE(IniFile(others).WriteIniString("A", "k", "v").ok);
    struct stat st {};
    ASSERT_EQ(::stat(others.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 4322u);
}

// Random and damaged files: parsing never fails, a round trip keeps every line, and a value set
// in any such file can be read back after saving without disturbing the others.
TEST(IniDocumentProperty, DamagedFilesRoundTrip) {
    std::mt19937 rng(20240611);
    const std::string valid =
        "; Raysketcher\r\n[Options]\r\nUnitType=1\r\nHideRemConj=True\r\n\r\n[LastValues]\r\n"
        "VarTypeNos=1\r\n1VarTypeVal=0|100|True|False|0|False|0\r\n[Symbols]\r\nVergr\xF6\xDF"
        "erung: =m'\r\n";
    const std::string structural = "[]=;\n\r\0 \xDF\xF6"s;
    const auto byte = [&] {
        return rng() % 10 < 4 ? structural[rng() % structural.size()] : static_cast<char>(rng());
    };
    for (int round = 0; round < 4000; ++round) {
        std::string s = valid;
        if (round % 2 == 0) {
            s.resize(rng() % 200);
            for (char& c : s) c = byte();
        } else {
            for (unsigned e = 0, edits = 1 + rng() % 6; e < edits && !s.empty(); ++e) {
                const std::size_t at = rng() % s.size();
                const unsigned how = rng() % 3;
                if (how == 0) s[at] = static_cast<char>(rng());
                if (how == 1) s.insert(at, 1, byte());
                if (how == 2) s.resize(at);
            }
        }
        SCOPED_TRACE(round);
        IniDocument doc = IniDocument::Parse(s);
        const std::string out = doc.Serialize();
        ASSERT_EQ(out, Normalised(s));
        ASSERT_EQ(IniDocument::Parse(out).Serialize(), out);
        const auto record = doc.Get("LastValues", "1VarTypeVal");
        doc.Set("Options", "Neu", "wert");
        doc.Set("Symbols", "Vergrößerung: ", "M");
        const IniDocument saved = IniDocument::Parse(doc.Serialize());
        ASSERT_EQ(saved.Get("options", "neu"), "wert");
        ASSERT_EQ(saved.Get("SYMBOLS", "vergrößerung:"), "M");
        ASSERT_EQ(saved.Get("LastValues", "1VarTypeVal"), record);
    }
}

// Sets an environment variable for one test and puts the old value back afterwards.
class EnvGuard {
public:
    explicit EnvGuard(const char* name) : name_(name) {
        if (const char* v = std::getenv(name)) old_ = v;
    }
    ~EnvGuard() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    void Set(const char* value) const { value ? ::setenv(name_, value, 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The tests run as root in CI, where every existing folder counts as writable; an unwritable
// program folder is therefore stood in for by a missing one or a settings file that is a folder.
TEST(IniFile, SettingsFilePath) {
    const test::TempDir dir;
    const EnvGuard xdg("XDG_CONFIG_HOME"), home("HOME");
    const fs::path program = dir / "prog";
    fs::create_directory(program);
    xdg.Set((dir / "xdg").c_str());
    home.Set((dir / "home").c_str());

    EXPECT_EQ(SettingsFilePath(fs::path("eigene.ini"), program), fs::path("eigene.ini"));
    EXPECT_EQ(SettingsFilePath(std::nullopt, program), program / "Raysketcher.INI");
    const fs::path inXdg = dir / "xdg" / "raysketcher" / "Raysketcher.INI";
    EXPECT_EQ(SettingsFilePath(std::nullopt, dir / "fehlt"), inXdg);
    // Reading creates no folder; the first save does.
    EXPECT_EQ(IniFile(inXdg).ReadIniString("A", "k", "-"), "-");
    EXPECT_FALSE(fs::exists(inXdg.parent_path()));
    ASSERT_TRUE(IniFile(inXdg).WriteIniString("A", "k", "v").ok);
    EXPECT_TRUE(fs::is_regular_file(inXdg));
    fs::create_directory(program / "Raysketcher.INI");
    const fs::path inHome = dir / "home" / ".config" / "raysketcher" / "Raysketcher.INI";
    for (const char* value : {"", "relativ/cfg", static_cast<const char*>(nullptr)}) {
        xdg.Set(value);
        EXPECT_EQ(SettingsFilePath(std::nullopt, program), inHome) << (value ? value : "unset");
    }
    EXPECT_EQ(SettingsLocationNote(inHome), "");

    // Without both variables the account's home folder is used, never the current folder, and
    // the user is told where; without any folder a save says why it cannot be.
    home.Set(nullptr);
    const fs::path fallback = SettingsFilePath(std::nullopt, program);
    EXPECT_TRUE(fallback.empty() || fallback.is_absolute()) << fallback;
    if (!fallback.empty()) {
        EXPECT_EQ(SettingsLocationNote(fallback),
                  "Weder HOME noch XDG_CONFIG_HOME ist gesetzt. Die Einstellungen werden in \"" +
                      fallback.string() + "\" gespeichert.");
    }
    EXPECT_EQ(SettingsLocationNote(dir / "eigene.ini"), "");
    const WriteStatus nowhere = IniFile(fs::path()).WriteIniString("A", "k", "v");
    EXPECT_FALSE(nowhere.ok);
    EXPECT_EQ(nowhere.message, SettingsLocationNote(fs::path()));
    EXPECT_NE(nowhere.message.find("können nicht gespeichert werden"), std::string::npos);
}

}  // namespace
}  // namespace rs::app
