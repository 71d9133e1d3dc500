// The command line in-process: sweeps as CSV against the optics and against the result list,
// several design files in one call, and the one-line refusal of every bad argument.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/settings.h"
#include "cli/cli.h"
#include "cli/run_in_process.h"
#include "support/temp_dir.h"
#include "ui/study.h"

namespace rs::cli {
namespace {

const std::string kData = RAYSKETCHER_TEST_DATA;

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::stringstream in(s);
    std::string part;
    while (std::getline(in, part, sep)) parts.push_back(part);
    if (!s.empty() && s.back() == sep) parts.emplace_back();
    return parts;
}

// The CSV as rows of cells (our tables quote nothing: no name holds a comma).
std::vector<std::vector<std::string>> Table(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Split(csv, '\n')) {
        if (!line.empty()) rows.push_back(Split(line, ','));
    }
    return rows;
}

int Column(const std::vector<std::string>& header, const std::string& cell) {
    for (std::size_t k = 0; k < header.size(); ++k) {
        if (header[k] == cell) return static_cast<int>(k);
    }
    ADD_FAILURE() << "no column " << cell;
    return 0;
}

// The window's study saved as CSV is the same sweep from the command line, byte for byte, in
// both modes.
TEST(Sweep, TheWindowsStudyTableIsTheCommandLinesTable) {
    struct Case {
        std::string file;
        std::string parameter;
        double from, to;
        std::string sweep;
    };
    for (const Case& c :
         {Case{kData + "/relay.ini", "a", -1000, -150, "a=-1000:-150:400"},
          Case{Example("hene-focus-100mm.ini"), "s", -1000, 1000, "s=-1000:1000:400"}}) {
        app::DesignState design;
        app::LoadSettings(app::IniFile(c.file), design);
        app::StudyChoice& study = design.beam.beamMode ? design.studyBeam : design.study;
        study.parameter = c.parameter;
        study.rangeSet = true;
        study.from = c.from;
        study.to = c.to;
        const Outcome r = RunCli({"--settings", c.file, "--sweep", c.sweep});
        EXPECT_EQ(ui::StudyCsv(design, 400), r.out) << c.file;
    }
}

// Where the list shows no number the cell stays empty: the image at infinity (a = f) and an
// object on the lens, which has no solution at all.
TEST(Sweep, CellsWithoutANumberStayEmpty) {
    const Outcome r = RunCli({"--settings", kData + "/relay.ini", "--sweep", "a=-200:0:5"});
    EXPECT_EQ(r.code, kNotSolved);  // one value without a solution
    const auto rows = Table(r.out);
    ASSERT_EQ(rows.size(), 6u);
    const auto& header = rows.front();
    const auto cell = [&](std::size_t row, const char* name) {
        return rows[row][static_cast<std::size_t>(Column(header, name))];
    };
    EXPECT_EQ(cell(3, "Objektweite: a [mm]"), "-100");
    EXPECT_EQ(cell(3, "Bildweite: a' [mm]"), "");
    EXPECT_EQ(cell(3, "Brennweite: f' [mm]"), "100");
    EXPECT_EQ(cell(3, "Blendenzahl effektiv []"), "");
    EXPECT_EQ(cell(4, "Bildweite: a' [mm]"), "-100");  // a virtual image is still a number
    EXPECT_EQ(rows[5].front(), "0");
    for (std::size_t k = 1; k < header.size(); ++k) EXPECT_EQ(rows[5][k], "") << header[k];
}

// A CSV row and the result list of the same design agree to the digits the list shows, in both
// modes and for both axes of a diode.
TEST(Sweep, ARowAgreesWithTheResultList) {
    struct Case {
        std::string file;
        std::string sweep;
    };
    for (const Case& c : {Case{kData + "/relay.ini", "a=-200:-200:1"},
                          Case{kData + "/relay-media.ini", "u=10:10:1"},
                          Case{Example("camera-50mm-f4-1m.ini"), "Blendenzahl=4:4:1"},
                          Case{Example("concave-mirror.ini"), "f'=-250:-250:1"},
                          Case{Example("hene-focus-100mm.ini"), "s=500:500:1"},
                          Case{Example("diode-circularised.ini"), "s=4:4:1"}}) {
        SCOPED_TRACE(c.file);
        const Outcome list = RunCli({"--settings", c.file});
        const Outcome sweep = RunCli({"--settings", c.file, "--sweep", c.sweep});
        ASSERT_EQ(sweep.code, kSolved) << sweep.err;
        const auto rows = Table(sweep.out);
        ASSERT_EQ(rows.size(), 2u);
        int compared = 0;
        for (std::size_t k = 0; k < rows[0].size(); ++k) {
            std::string name = rows[0][k].substr(0, rows[0][k].rfind(" ["));
            const bool second = name.ends_with(" (2. Achse)");
            if (second) name.resize(name.size() - 11);
            // The list's line of that name, and its number for the axis.
            std::optional<std::string> found;
            for (const std::string& line : Split(list.out, '\n')) {
                const auto tab = line.find('\t');
                std::string lineName = line.substr(0, tab);
                while (!lineName.empty() && lineName.back() == ' ') lineName.pop_back();
                if (lineName == name) found = line.substr(tab + 1);
            }
            ASSERT_TRUE(found.has_value()) << name;
            std::string text = *found;
            const auto open = text.find('[');
            text = second ? text.substr(open + 1) : text.substr(0, open);
            const auto start = text.find_first_of("-0123456789");
            if (start == std::string::npos) {
                EXPECT_EQ(rows[1][k], "") << name;
                continue;
            }
            char* end = nullptr;
            const double shown = std::strtod(text.c_str() + start, &end);
            const std::string digits(text.c_str() + start, static_cast<const char*>(end));
            const auto point = digits.find('.');
            const auto exponent = digits.find_first_of("eE");
            const int decimals =
                point == std::string::npos
                    ? 0
                    : static_cast<int>(std::min(exponent, digits.size()) - point - 1);
            const double scale = exponent == std::string::npos
                                     ? 1
                                     : std::pow(10.0, std::stoi(digits.substr(exponent + 1)));
            ASSERT_FALSE(rows[1][k].empty()) << name;
            EXPECT_NEAR(std::stod(rows[1][k]), shown, 0.51 * std::pow(10.0, -decimals) * scale)
                << name << ": " << text;
            ++compared;
        }
        EXPECT_GE(compared, 10);
        // Every row of the list that shows a number has its column.
        for (const std::string& line : Split(list.out, '\n')) {
            const auto tab = line.find('\t');
            if (line.find_first_of("0123456789", tab) == std::string::npos) continue;
            std::string name = line.substr(0, tab);
            while (!name.empty() && name.back() == ' ') name.pop_back();
            const bool listed = std::any_of(rows[0].begin(), rows[0].end(), [&](const auto& h) {
                return h.starts_with(name + " [");
            });
            EXPECT_TRUE(listed) << name;
        }
    }
}

TEST(Sweep, SeveralFilesShareOneTable) {
    const Outcome r =
        RunCli({"--settings", kData + "/relay.ini", "--settings", Example("camera-50mm-f4-1m.ini"),
                "--settings", Example("hene-focus-100mm.ini"), "--sweep", "f'=50:100:2"});
    ASSERT_EQ(r.code, kSolved) << r.err;
    const auto rows = Table(r.out);
    ASSERT_EQ(rows.size(), 7u);
    const auto& header = rows[0];
    EXPECT_EQ(header[0], "Datei");
    EXPECT_EQ(header[1], "Brennweite: f' [mm]");
    // The beam's columns follow the paraxial ones; a paraxial row leaves them empty.
    const int beamImage = Column(header, "Bildweite: s' [mm]");
    const int image = Column(header, "Bildweite: a' [mm]");
    EXPECT_GT(beamImage, image);
    EXPECT_EQ(rows[1][0], kData + "/relay.ini");
    EXPECT_EQ(rows[6][0], Example("hene-focus-100mm.ini"));
    EXPECT_EQ(rows[1][static_cast<std::size_t>(beamImage)], "");
    EXPECT_EQ(rows[6][static_cast<std::size_t>(image)], "");
    EXPECT_NE(rows[6][static_cast<std::size_t>(beamImage)], "");
    for (const auto& row : rows) EXPECT_EQ(row.size(), header.size());
}

TEST(Cli, SeveralFilesInOrder) {
    const Outcome json =
        RunCli({"--json", "--settings", Example("hene-focus-100mm.ini"), "--settings",
                kData + "/does-not-exist.ini", "--settings", kData + "/relay.ini"});
    EXPECT_EQ(json.code, kUsage);  // the worst of the three
    ASSERT_TRUE(json.out.starts_with("[{\"mode\":\"beam\"")) << json.out;
    EXPECT_NE(json.out.find("},null,{\"mode\":\"paraxial\""), std::string::npos);
    EXPECT_TRUE(json.out.ends_with("}]\n"));
    EXPECT_NE(json.err.find("does-not-exist.ini"), std::string::npos);

    const Outcome text =
        RunCli({"--settings", kData + "/relay.ini", "--settings", kData + "/incomplete.ini"});
    EXPECT_EQ(text.code, kNotSolved);
    const auto second = text.out.find("Datei\t" + kData + "/incomplete.ini\n");
    EXPECT_TRUE(text.out.starts_with("Datei\t" + kData + "/relay.ini\nBrennweite: f'\t 100.0mm"));
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(text.out.find("Brennweite: f'\t\n", second), std::string::npos);
}

// A file a reader left out is named on stderr, one line each, and in the JSON; the exit code
// stays that of the design.
TEST(Cli, FilesNotReadAreNamed) {
    namespace fs = std::filesystem;
    const test::TempDir dir;
    const fs::path catalogue = dir / "katalog";
    fs::copy(std::string(RAYSKETCHER_TEST_BIN) + "/../../share/raysketcher", catalogue);
    fs::remove(catalogue / "SH_L1.dat");
    fs::create_directory(catalogue / "SH_L1.dat");
    const Outcome beam = RunCli({"--settings", Example("hene-focus-100mm.ini"), "--json",
                                 "--catalogue", catalogue.string()});
    EXPECT_EQ(beam.code, kSolved) << beam.err;
    EXPECT_NE(beam.err.find("SH_L1.dat\" wurde nicht gelesen"), std::string::npos) << beam.err;
    EXPECT_EQ(std::count(beam.err.begin(), beam.err.end(), '\n'), 1) << beam.err;
    EXPECT_NE(
        beam.out.find("\"catalogueNotRead\":[{\"file\":\"" + (catalogue / "SH_L1.dat").string()),
        std::string::npos)
        << beam.out;

    const fs::path design = dir / "system.ini";
    fs::copy_file(kData + "/relay.ini", design);
    fs::create_directories(dir / "UserData" / "WaveLen.lst");
    const Outcome waves = RunCli({"--wavelengths", "--json", "--settings", design.string()});
    EXPECT_EQ(waves.code, kSolved);
    EXPECT_NE(waves.err.find("WaveLen.lst\" wurde nicht gelesen"), std::string::npos) << waves.err;
    EXPECT_NE(waves.out.find("\"entries\":[],\"notRead\":\""), std::string::npos) << waves.out;
}

// Every bad argument: exit code 2 and one line naming it.
TEST(Cli, BadArgumentsAreNamed) {
    const std::string relay = kData + "/relay.ini";
    struct Case {
        std::vector<std::string> args;
        std::string named;
    };
    const std::vector<Case> cases = {
        {{"--frobnicate"}, "\"--frobnicate\""},
        {{"--settings"}, "\"--settings\" fehlt der Wert"},
        {{"--settings="}, "\"--settings\""},
        {{"--settings", relay, "--sweep"}, "\"--sweep\" fehlt der Wert"},
        {{"--settings", relay, "--sweep", "a"}, "\"a\""},
        {{"--settings", relay, "--sweep", "=1:2:3"}, "\"=1:2:3\""},
        {{"--settings", relay, "--sweep", "a=1:2"}, "\"a=1:2\""},
        {{"--settings", relay, "--sweep", "a=x:2:3"}, "VON \"x\""},
        {{"--settings", relay, "--sweep", "a=1:inf:3"}, "BIS \"inf\""},
        {{"--settings", relay, "--sweep", "a=1:1e999:3"}, "BIS \"1e999\""},
        {{"--settings", relay, "--sweep", "a=1:2:0"}, "SCHRITTE \"0\""},
        {{"--settings", relay, "--sweep", "a=1:2:-4"}, "SCHRITTE \"-4\""},
        {{"--settings", relay, "--sweep", "a=1:2:2.5"}, "SCHRITTE \"2.5\""},
        {{"--settings", relay, "--sweep", "a=1:2:1000001"}, "SCHRITTE \"1000001\""},
        {{"--settings", relay, "--sweep", "a=1:2:99999999999999999999"}, "SCHRITTE"},
        {{"--settings", relay, "--sweep", "a'=1:2:3"}, "\"a'\" ist kein gewählter Parameter"},
        {{"--settings", relay, "--sweep", "2=1:2:3"}, "\"2\" ist kein gewählter Parameter"},
        {{"--settings", relay, "--sweep", "a=1:2:3", "--sweep", "a=1:2:3"}, "\"--sweep\""},
        {{"--settings", relay, "--csv", "x.csv"}, "\"--csv\" ohne \"--sweep\""},
        {{"--settings", relay, "--sweep", "a=1:2:3", "--csv="}, "leerer Dateiname"},
        {{"--settings", relay, "--sweep", "a=1:2:3", "--json"}, "--json"},
        {{"--settings", relay, "--sweep", "a=1:2:3", "--png", "x.png"}, "--png"},
        {{"--settings", relay, "--settings", relay, "--pdf", "x.pdf"}, "mehreren \"--settings\""},
        {{"--settings", relay, "--size", "0x5"}, "\"0x5\""},
        {{"--settings", relay, "--plot", "x.png"}, "\"--plot\" ohne \"--sweep\""},
        {{"--settings", relay, "--sweep", "a=1:2:3", "--y", "a"}, "\"--y\" ohne \"--plot\""},
        {{"--settings", relay, "--sweep", "a=1:2:3", "--plot", "x.jpg"}, "\"x.jpg\""},
        {{"--settings", relay, "--sweep", "a=1:2:3", "--plot", "x.png", "--y", "a,b,c"},
         "\"a,b,c\""},
        {{"--settings", relay, "--settings", relay, "--sweep", "a=1:2:3", "--plot", "x.svg"},
         "mehreren \"--settings\""},
        // Without the advanced options the paraxial results do not follow the wavelength.
        {{"--settings", relay, "--sweep", "Wellenlänge=400:700:3"},
         "\"Wellenlänge\" ist kein gewählter Parameter"},
    };
    for (const Case& c : cases) {
        const Outcome r = RunCli(c.args);
        std::string call;
        for (const auto& a : c.args) call += a + " ";
        EXPECT_EQ(r.code, kUsage) << call;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << call << "\n" << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << call << "\n" << r.err;
        EXPECT_EQ(r.out, "") << call;
    }
}

// A result --y cannot plot is refused before anything is written: no table, no picture.
TEST(Cli, AnUnknownPlotQuantityWritesNothing) {
    const test::TempDir dir;
    const Outcome r = RunCli({"--settings", kData + "/relay.ini", "--sweep", "a=-300:-200:3",
                              "--plot", (dir / "s.png").string(), "--csv", (dir / "s.csv").string(),
                              "--y", "Bildweite: a',Unsinn"});
    EXPECT_EQ(r.code, kUsage);
    EXPECT_NE(r.err.find("--y: \"Unsinn\""), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace rs::cli
