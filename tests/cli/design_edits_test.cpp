// Designs made and changed on the command line: values typed with units into every kind of
// parameter, designs built from nothing that match the example files, saved designs that the
// window's loader opens unchanged, and every bad name or value refused before anything is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "cli/cli.h"
#include "cli/run_in_process.h"
#include "support/temp_dir.h"

namespace rs::cli {
namespace {

TEST(CliEdits, SetTypesValuesAsTheBoxesTakeThem) {
    // Display units (mm, degrees) or any unit of the same kind, with point or comma.
    struct Case {
        std::string design;
        std::vector<std::string> sets;
        std::string expected;  // in the JSON (internal units: mm)
    };
    const std::vector<Case> cases = {
        {"relay-1to1.ini", {"f'=5cm"}, "\"params\":{\"0\":50,\"1\":-200,"},
        {"relay-1to1.ini", {"a=-0,3m", "u=12.5"}, "\"1\":-300,\"2\":150,"},
        {"relay-1to1.ini", {"Blendenradius=0.5cm"}, "\"values\":[5,"},
        {"camera-50mm-f4-1m.ini", {"Blendenzahl=8"}, "\"values\":[3.125,8,"},
        {"hene-focus-100mm.ini", {"s=0.6m", "f'=50"}, "\"params\":{\"0\":50,\"1\":600,"},
        // The catalogue index names a parameter as well as its symbol.
        {"relay-1to1.ini", {"0=80"}, "\"params\":{\"0\":80,"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--settings", Example(c.design), "--json"};
        for (const std::string& set : c.sets) args.insert(args.end(), {"--set", set});
        const Outcome r = RunCli(args);
        EXPECT_EQ(r.code, 0) << c.sets.front() << ": " << r.err;
        EXPECT_NE(r.out.find(c.expected), std::string::npos) << c.sets.front() << ": " << r.out;
    }
}

TEST(CliEdits, NewDesignsMatchTheExampleFilesTheyMirror) {
    struct Case {
        std::vector<std::string> args;
        std::string example;
    };
    const std::vector<Case> cases = {
        {{"--new", "paraxial", "--choose", "f',a,u,Blendenradius", "--set", "f'=100", "--set",
          "a=-20cm", "--set", "u=10", "--set", "Blendenradius=10"},
         "relay-1to1.ini"},
        {{"--new", "beam", "--choose", "f',s,r", "--set", "f'=10cm", "--set", "s=500", "--set",
          "r=0.4"},
         "hene-focus-100mm.ini"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const Outcome made = RunCli(args);
        const Outcome read = RunCli({"--settings", Example(c.example), "--json"});
        EXPECT_EQ(made.code, 0) << made.err;
        EXPECT_EQ(made.out, read.out) << c.example;
    }
}

TEST(CliEdits, SavedDesignOpensInTheWindowsLoaderAsMade) {
    const test::TempDir dir;
    const auto saved = dir / "made.ini";
    const Outcome r =
        RunCli({"--settings", Example("camera-50mm-f4-1m.ini"), "--choose", "f',a,w,Blendenzahl",
                "--set", "w=10", "--set", "f'=35", "--json", "--save", saved.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    app::DesignState opened;
    app::LoadSettings(app::IniFile(saved), opened);
    app::SolveDesign(opened, false);
    EXPECT_EQ(DesignJson(opened) + "\n", r.out);
    // What the example kept beyond the design stays (its comment line).
    std::ifstream in(saved);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first.rfind("; A 50 mm camera lens", 0), 0u) << first;
}

TEST(CliEdits, SettingsFromStandardInputReadLikeTheFile) {
    std::ifstream file(Example("relay-1to1.ini"), std::ios::binary);
    std::stringstream input;
    input << file.rdbuf();
    std::streambuf* const old = std::cin.rdbuf(input.rdbuf());
    const Outcome piped = RunCli({"--settings", "-", "--set", "a=-300"});
    std::cin.rdbuf(old);
    const Outcome read = RunCli({"--settings", Example("relay-1to1.ini"), "--set", "a=-300"});
    EXPECT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(piped.out, read.out);
    EXPECT_NE(read.out.find("Objektweite: a\t-300.0mm"), std::string::npos) << read.out;
}

TEST(CliEdits, BadNamesAndValuesAreOneLineExitTwoAndWriteNothing) {
    const test::TempDir dir;
    const auto saved = dir / "made.ini";
    const auto csv = dir / "table.csv";
    const std::string relay = Example("relay-1to1.ini");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--settings", relay, "--set", "m'=2"},
         "--set: \"m'\" ist kein gewählter Parameter des Systems (gewählt: f', a, u, "
         "Blendenradius)"},
        {{"--settings", relay, "--set", "a=12kg"}, "\"12kg\" ist keine Zahl"},
        // One of the window's value refusals and one of its combination refusals stand for
        // all: which values and choices are refused is the window's and the engine's test.
        {{"--settings", relay, "--set", "a=200"}, "eines realen Objekts negativ!"},
        {{"--settings", relay, "--set", "f'"}, "erwartet NAME=WERT"},
        {{"--settings", Example("object-at-infinity.ini"), "--set", "a=-100"}, "im Unendlichen"},
        {{"--settings", relay, "--choose", "u,u',m'"}, "Unmögliche Kombination"},
        {{"--settings", relay, "--choose", "f',a,x"}, "\"x\" ist kein Parameter des Systems"},
        {{"--settings", relay, "--choose", "f',a,u,m'"}, "höchstens drei Parameter"},
        {{"--new", "beam", "--choose", "f',Blendenzahl"}, "ist kein Parameter des Systems"},
        {{"--new", "lens"}, "erwartet \"paraxial\" oder \"beam\""},
        {{"--new", "paraxial", "--settings", relay}, "liest keine \"--settings\""},
        {{"--settings", "-", "--settings", "-"}, "nur einmal gelesen"},
        {{"--settings", relay, "--settings", relay}, "mehreren \"--settings\" geht --save nicht"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--save", saved.string()});
        const Outcome r = RunCli(args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(std::filesystem::exists(saved)) << c.message;
    }
    // A sweep's table is not begun either.
    const Outcome swept = RunCli(
        {"--settings", relay, "--set", "a=x", "--sweep", "f'=50:100:3", "--csv", csv.string()});
    EXPECT_EQ(swept.code, 2);
    EXPECT_FALSE(std::filesystem::exists(csv));
}

}  // namespace
}  // namespace rs::cli
