// Catalogue lenses and measured beams on the command line: --lens takes a lens as the window's
// button does (and --set afterwards still changes the design), --fit recovers a known beam from
// its sampled caustic and carries it into a saved design; bad codes, files and fits are refused
// with exit 2 and nothing written.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "beam/beam_design.h"
#include "cli/cli.h"
#include "cli/run_in_process.h"
#include "support/temp_dir.h"

namespace rs::cli {
namespace {

// The number after "\"key\":" in a JSON text; NaN when the key is missing.
double JsonValue(const std::string& json, const std::string& key) {
    const auto at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return std::nan("");
    return std::stod(json.substr(at + key.size() + 3));
}

TEST(CliLens, TakesTheLensBeforeSetAndRefusesWhatTheWindowRefuses) {
    const test::TempDir dir;
    const std::string relay = Example("relay-1to1.ini");
    struct Case {
        std::vector<std::string> args;
        int code;
        double focal;    // f' of the JSON; NaN where nothing is printed
        bool heldSaved;  // the saved file names the lens
        std::string err;
    };
    const double none = std::nan("");
    const std::vector<Case> cases = {
        {{"--settings", relay, "--lens", "px10-3"}, 0, 9.96, true, ""},
        // --set of f' comes after the lens and lets it go.
        {{"--settings", relay, "--lens", "PX10-3", "--set", "f'=20"}, 0, 20, false, ""},
        {{"--settings", relay, "--lens", "NOPE-1"}, 2, none, false, "\"NOPE-1\""},
        {{"--settings", Example("concave-mirror.ini"), "--lens", "PX10-3"},
         2,
         none,
         false,
         "Spiegelsystem"},
    };
    for (const Case& c : cases) {
        const auto saved = dir / "lens.ini";
        std::filesystem::remove(saved);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--json", "--save", saved.string()});
        const Outcome r = RunCli(args);
        SCOPED_TRACE(c.args[3]);
        EXPECT_EQ(r.code, c.code) << r.err;
        if (std::isnan(c.focal)) {
            EXPECT_EQ(r.out, "");
            EXPECT_FALSE(std::filesystem::exists(saved));
            EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            continue;
        }
        EXPECT_NEAR(JsonValue(r.out, "0"), c.focal, 0.01) << r.out;
        EXPECT_EQ(test::ReadFile(saved).find("PX10-3") != std::string::npos, c.heldSaved);
    }
}

// A beam of waist diameter d0 at z0 with M², sampled at z and written as "z;d" in mm.
struct KnownBeam {
    double d0, z0, mSquared;
    double Diameter(double z, double wavelengthMm) const {
        const double theta = 4 * mSquared * wavelengthMm / (std::numbers::pi * d0);
        return std::sqrt(d0 * d0 + theta * theta * (z - z0) * (z - z0));
    }
};

std::filesystem::path WriteCaustic(const test::TempDir& dir, const std::vector<KnownBeam>& axes,
                                   double wavelengthMm) {
    const auto file = dir / "caustic.csv";
    std::ofstream out(file);
    out.precision(17);
    out << "z [mm];d [mm]\n";
    for (double z = -3000; z <= 3000; z += 250) {
        out << z;
        for (const KnownBeam& b : axes) out << ";" << b.Diameter(z, wavelengthMm);
        out << "\n";
    }
    return file;
}

// How well the fit recovers a beam is the fit's own test; here the route: both axes in order,
// and the wavelength option reaching the fit.
TEST(CliFit, RecoversTheSampledBeamPerAxis) {
    const test::TempDir dir;
    const std::vector<KnownBeam> axes = {{0.8, -200, 1.2}, {2.0, 300, 3.0}};
    const Outcome r = RunCli(
        {"--fit", WriteCaustic(dir, axes, 1064e-6).string(), "--json", "--wavelength", "1064"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string rest = r.out;
    for (const KnownBeam& b : axes) {
        const auto at = rest.find("\"waistPosition\"");
        ASSERT_NE(at, std::string::npos) << r.out;
        rest = rest.substr(at);
        EXPECT_NEAR(JsonValue(rest, "waistPosition"), b.z0, 1e-6);
        EXPECT_NEAR(JsonValue(rest, "waistDiameter"), b.d0, 1e-9);
        EXPECT_NEAR(JsonValue(rest, "mSquared"), b.mSquared, 1e-9);
        rest = rest.substr(1);
    }
}

// Which measurements the fit refuses, and with which words, is the fit's own test; here that a
// refusal reaches the command line as exit 2 with nothing written.
TEST(CliFit, RefusesBadFilesAndFitsWithExit2) {
    const test::TempDir dir;
    const auto file = dir / "bad.csv";
    std::ofstream(file) << "z;d\n1;1\n2;1\n";
    const Outcome r = RunCli({"--fit", file.string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("drei verschiedene Positionen"), std::string::npos) << r.err;
    EXPECT_EQ(RunCli({"--fit", (dir / "missing.csv").string()}).code, 2);
}

TEST(CliFit, ElementAtSavesTheDesignWithTheAdoptedBeam) {
    const test::TempDir dir;
    const KnownBeam known{1.0, 100, 1.5};
    const auto csv = WriteCaustic(dir, {known}, 632.8e-6);
    const auto saved = dir / "adopted.ini";
    const Outcome r = RunCli(
        {"--new", "beam", "--fit", csv.string(), "--element-at", "500", "--save", saved.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    app::DesignState opened;
    app::LoadSettings(app::IniFile(saved), opened);
    app::SolveDesign(opened, false);
    const auto& table = opened.beam.axes[0].table;
    EXPECT_NEAR(table[beam::kGbObjDist], 400, 1e-3);
    // The embedded Gaussian: the real waist radius over √M².
    EXPECT_NEAR(table[beam::kGbObjRadius], known.d0 / 2 / std::sqrt(known.mSquared), 1e-6);
    EXPECT_EQ(opened.measurement.elementPosition, 500);
    EXPECT_EQ(opened.measurement.table.rows.size(), 25u);
}

}  // namespace
}  // namespace rs::cli
