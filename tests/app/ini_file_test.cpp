#include "app/ini_file.h"

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

// A fresh folder per test, so that no test sees another's files or the user's own settings.
class IniFileTest : public ::testing::Test {
protected:
    const fs::path& dir() const { return tmp_.path(); }
    static void WriteBytes(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    test::TempDir tmp_;
};

// What a round trip must give: every line's bytes, each ended by CR LF.
std::string Normalised(const std::string& text) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(pos, nl - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out += line + "\r\n";
        pos = nl + 1;
    }
    return out;
}

std::string Umlauts(int n) {
    std::string u;
    while (n-- > 0) u += "ä";
    return u;
}

TEST(IniFile, ReadingRules) {
    const std::string utf8 =
        "Verwaist=1\n; Kommentar\n[ Options ]\r\nUnitType=1\r\n  SliderDefaultPercent = 25  \n"
        "Leer=\nBlanks=   \n; Kommentar=nein\nMüll ohne Gleichheitszeichen\n"
        "Nul=a\0b\0\nNuls=\0\0\nLang="s +
        std::string(250, 'x') + "\nLangUml=" + Umlauts(250) + "\nSchnitt=" + std::string(198, 'x') +
        "   yyy\n[Symbols]\nVergrößerung: =m'\nBrennweite: =f'\n[ÄÖÜŠ]\nSchlüssel=Wert\n"
        "[options]\nUnitType=7\nSpät=x\n[S]\n"
        "k0= -17 \nk1=+5\nk2=12abc\nk3=3.9\nk4=0x1F\nk5=- "
        "4\nk6=2147483648\nk7=-99999999999999999999\n"
        "k8=000000000000000000000000000000000000000000008\nk9=\n";
    const IniFile ini = IniFile::FromText("a.ini", text::Utf8ToCp1252(utf8));

    const struct {
        const char *section, *key;
        std::string expected;
        // clang-format off
    } cases[] = {
        {"OPTIONS", "unittype", "1"},  // the first of two equal sections counts
        {"Options", "Spät", "-"}, {"Options", " SliderDefaultPercent ", "25"},
        {"Options", "Leer", "-"}, {"Options", "Blanks", "-"}, {"Options", "; Kommentar", "-"},
        {"Options", "Verwaist", "-"}, {"Fehlt", "UnitType", "-"}, {"Options", "Nul", "a b"},
        {"Options", "Nuls", "-"}, {"Options", "Schnitt", std::string(198, 'x')},
        {"Options", "Lang", std::string(199, 'x')}, {"Options", "LangUml", Umlauts(199)},
        {"SYMBOLS", "VERGRÖSSERUNG: ", "m'"}, {"symbols", "vergrößerung:", "m'"},
        {"Symbols", "  Brennweite:  ", "f'"}, {"äöüš", "SCHLÜSSEL", "Wert"}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ReadIniString(c.section, c.key, "-"), c.expected)
            << c.section << "/" << c.key;
    }
    const int ints[] = {-17, 5, 12, 3, 0, 0, INT_MAX, INT_MIN, 8, 0};
    for (std::size_t i = 0; i < std::size(ints); ++i) {
        EXPECT_EQ(ini.ReadIniInt("s", "K" + std::to_string(i)), ints[i]) << i;
    }
    EXPECT_EQ(ini.ReadIniInt("S", "fehlt"), 0);
}

TEST_F(IniFileTest, WritesChangeOnlyTheirLine) {
    const fs::path p = dir() / "Raysketcher.INI";
    const std::string head = "; von Hand\r\n[Options]\r\n";
    const std::string odd = "\x01\x81\xFF ohne Gleichheitszeichen\r\n[kaputt\r\nCR\rinnen=1\r\n";
    const std::string tail = "; Ende Options\r\n\r\n[Other]\r\nUnitType=9\r\n\r\n";
    WriteBytes(p, head + "  unittype = 1\r\n" + odd + tail);
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    IniFile ini(p);

    ASSERT_TRUE(ini.WriteIniString("OPTIONS", "UnitType", "5").ok);
    EXPECT_EQ(ReadBytes(p), head + "  unittype =5\r\n" + odd + tail);
    EXPECT_EQ(fs::status(p).permissions(),  // the replacement keeps the old file's permissions
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A new key follows the section's last key, ahead of its comments and blank lines.
    ASSERT_TRUE(ini.WriteIniString("Options", "Neu", " a=b ").ok);
    EXPECT_EQ(ReadBytes(p), head + "  unittype =5\r\n" + odd + "Neu= a=b \r\n" + tail);
    EXPECT_EQ(IniFile(p).ReadIniString("options", "neu"), "a=b");

    // A write reads the file again, keeping what someone else wrote meanwhile. A new section
    // goes at the end; a file without a blank last line gets one first.
    WriteBytes(p, "[A]\nx=1");
    ASSERT_TRUE(ini.WriteIniString("Symbols", "Vergrößerung: ", "m'").ok);
    EXPECT_EQ(ReadBytes(p),
              "[A]\r\nx=1\r\n\r\n[Symbols]\r\nVergr\xF6\xDF"
              "erung: =m'\r\n");
    EXPECT_EQ(IniFile(p).ReadIniString("SYMBOLS", "VERGRÖSSERUNG: "), "m'");

    // A missing file is created; characters beyond Windows-1252 become '?', line breaks blanks.
    fs::remove(p);
    ASSERT_TRUE(ini.WriteIniString("Units", "Parax", "µm\n\u03b1").ok);
    EXPECT_EQ(ReadBytes(p), "[Units]\r\nParax=\xB5m ?\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Raysketcher.INI"});

    // Names that would not read back as themselves change nothing.
    IniDocument doc = IniDocument::Parse("[S]\r\nk=1\r\n");
    for (const char* key : {"a=b", "; x", "[x]", "a\nb", "a\rb"}) doc.Set("S", key, "v");
    for (const char* section : {"a\nb", "x\r"}) doc.Set(section, "k", "v");
    EXPECT_EQ(doc.Serialize(), "[S]\r\nk=1\r\n");
}

TEST_F(IniFileTest, StagedValuesWaitForTheCommit) {
    const fs::path p = dir() / "a.ini";
    WriteBytes(p, "[A]\nalt=1\n");
    IniFile mine(p);
    mine.Stage("A", "x", "1");
    mine.Stage("B", "y", "2");
    EXPECT_EQ(mine.ReadIniString("B", "y"), "2");
    EXPECT_EQ(ReadBytes(p), "[A]\nalt=1\n");  // nothing on disk before the commit
    ASSERT_TRUE(mine.Commit().ok);
    EXPECT_EQ(ReadBytes(p), "[A]\r\nalt=1\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
}

TEST_F(IniFileTest, FailedWritesAreReportedAndLeaveNothingBehind) {
    const auto expectFailure = [](const WriteStatus& s, const fs::path& p) {
        EXPECT_FALSE(s.ok);
        EXPECT_EQ(s.message, "Die Einstellungen konnten nicht in die Datei \"" + p.string() +
                                 "\" geschrieben werden.");
    };
    const fs::path noFolder = dir() / "fehlt" / "a.ini";
    expectFailure(IniFile(noFolder).WriteIniString("A", "k", "v"), noFolder);
    EXPECT_TRUE(Entries().empty());

    const fs::path folder = dir() / "ordner.ini";
    fs::create_directory(folder);
    expectFailure(IniFile(folder).WriteIniString("A", "k", "v"), folder);
    EXPECT_EQ(Entries(), std::vector<std::string>{"ordner.ini"});
    EXPECT_TRUE(fs::is_empty(folder));

    // The target turns into a folder after loading: the rename fails, the staged value stays
    // and a later commit succeeds.
    const fs::path p = dir() / "b.ini";
    IniFile ini(p);
    ini.Stage("A", "k", "v");
    fs::create_directory(p);
    expectFailure(ini.Commit(), p);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"b.ini", "ordner.ini"}));
    fs::remove(p);
    ASSERT_TRUE(ini.Commit().ok);
    EXPECT_EQ(ReadBytes(p), "[A]\r\nk=v\r\n");

    // A file far too big to be ours reads as empty and is not replaced.
    const fs::path big = dir() / "gross.ini";
    WriteBytes(big, std::string(2u << 20, 'x'));
    IniFile huge(big);
    EXPECT_EQ(huge.ReadIniString("A", "k", "-"), "-");
    expectFailure(huge.WriteIniString("A", "k", "v"), big);
    EXPECT_EQ(fs::file_size(big), 2u << 20);
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
    for (int round = 0; round < 4001; ++round) {
        std::string s = valid;
        if (round == 4000) {  // the largest file the reader takes, also as one single line
            s.resize(1u << 20);
            for (char& c : s) c = static_cast<char>(rng());
            if (rng() % 2) std::replace(s.begin(), s.end(), '\n', '=');
        } else if (round % 2 == 0) {
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
        const auto count = doc.Get("LastValues", "VarTypeNos");
        const auto record = doc.Get("LastValues", "1VarTypeVal");
        doc.Set("Options", "Neu", "wert");
        doc.Set("Symbols", "Vergrößerung: ", "M");
        const IniDocument saved = IniDocument::Parse(doc.Serialize());
        ASSERT_EQ(saved.Get("options", "neu"), "wert");
        ASSERT_EQ(saved.Get("SYMBOLS", "vergrößerung:"), "M");
        ASSERT_EQ(saved.Get("LastValues", "VarTypeNos"), count);
        ASSERT_EQ(saved.Get("LastValues", "1VarTypeVal"), record);
    }
}

// Sets an environment variable for one test and puts the old value back afterwards.
class EnvGuard {
public:
    explicit EnvGuard(const char* name) : name_(name) {
        const char* v = std::getenv(name);
        if (v != nullptr) old_ = v;
    }
    ~EnvGuard() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    void Set(const char* value) const { value ? ::setenv(name_, value, 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The tests run as root in CI, where every existing folder counts as writable; an unwritable
// program folder is therefore stood in for by a missing folder, a file, or a settings file
// that is a folder.
TEST_F(IniFileTest, SettingsFilePath) {
    const EnvGuard xdg("XDG_CONFIG_HOME"), home("HOME");
    const fs::path program = dir() / "prog";
    fs::create_directory(program);
    const fs::path config = dir() / "xdg";
    xdg.Set(config.c_str());
    home.Set((dir() / "home").c_str());

    EXPECT_EQ(SettingsFilePath(fs::path("eigene.ini"), program), fs::path("eigene.ini"));
    EXPECT_EQ(SettingsFilePath(std::nullopt, program), program / "Raysketcher.INI");

    const fs::path inXdg = config / "raysketcher" / "Raysketcher.INI";
    WriteBytes(dir() / "datei", "");
    for (const fs::path& unwritable : {dir() / "fehlt", dir() / "datei"}) {
        EXPECT_EQ(SettingsFilePath(std::nullopt, unwritable), inXdg) << unwritable;
    }
    EXPECT_TRUE(fs::is_directory(inXdg.parent_path()));
    fs::create_directory(program / "Raysketcher.INI");
    EXPECT_EQ(SettingsFilePath(std::nullopt, program), inXdg);

    const fs::path inHome = dir() / "home" / ".config" / "raysketcher" / "Raysketcher.INI";
    for (const char* value : {"", "relativ/cfg", static_cast<const char*>(nullptr)}) {
        xdg.Set(value);
        EXPECT_EQ(SettingsFilePath(std::nullopt, program), inHome) << (value ? value : "unset");
    }
    EXPECT_TRUE(fs::is_directory(inHome.parent_path()));

    home.Set(nullptr);
    const fs::path cwd = fs::current_path();
    fs::current_path(dir());
    const fs::path inCwd = SettingsFilePath(std::nullopt, program);
    fs::current_path(cwd);
    EXPECT_EQ(inCwd, fs::canonical(dir()) / "raysketcher" / "Raysketcher.INI");
}

}  // namespace
}  // namespace rs::app
