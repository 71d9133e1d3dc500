// The stock-lens catalogue: our generated files, their traced focal lengths, damaged files, the
// display text, where the files are found, and the choice of lenses for a solved element.
#include "analysis/catalogue_lenses.h"

#include "analysis/lens_choice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <random>

#include "support/numeric.h"
#include "support/temp_dir.h"

namespace rs::analysis {
namespace {

namespace fs = std::filesystem;

const LensCatalogue& Generated() {
    static const LensCatalogue catalogue = ReadCatalogueLenses(BuildTreeCatalogueDir());
    return catalogue;
}

// A singlet of N-BK7 in the smallest form the writer takes.
CatalogueLens Singlet(std::string code, double r1, double r2, double semi = 12.7) {
    CatalogueLens lens;
    lens.codes[0] = std::move(code);
    lens.surfaces = {{r1, semi, 4.0, 1.5168, 64.17, "N-BK7"}, {r2, semi, 0.0, 1.0, 0.0, ""}};
    lens.description = "N-BK7 F = 100 mm";
    return lens;
}

// A sequence file of (type code, record number) pairs.
void WriteSequence(const fs::path& path, const std::vector<std::pair<int, int>>& records) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& [code, number] : records) {
        const auto n = static_cast<unsigned>(number);
        const char bytes[6] = {static_cast<char>(code),           0,
                               static_cast<char>(n & 0xFF),       static_cast<char>(n >> 8 & 0xFF),
                               static_cast<char>(n >> 16 & 0xFF), static_cast<char>(n >> 24)};
        out.write(bytes, 6);
    }
}

std::vector<std::string> Codes(const LensCatalogue& catalogue) {
    std::vector<std::string> codes;
    for (const CatalogueLens& lens : catalogue.Lenses()) codes.emplace_back(lens.Code());
    return codes;
}

TEST(CatalogueLenses, GeneratedCatalogueHasEveryKindAndBothCodes) {
    const LensCatalogue& catalogue = Generated();
    ASSERT_GE(catalogue.Lenses().size(), 150u);
    EXPECT_EQ(catalogue.Skipped(), 0);
    for (CatalogueKind kind :
         {CatalogueKind::kSingle, CatalogueKind::kBestForm, CatalogueKind::kAchromat,
          CatalogueKind::kAirSpacedAchromat, CatalogueKind::kTriplet, CatalogueKind::kCylinder}) {
        EXPECT_TRUE(std::ranges::any_of(catalogue.Lenses(), [&](const CatalogueLens& l) {
            return l.kind == kind;
        })) << KindText(kind);
    }
    // Every lens meets the nominal focal length it was made for (the generator's first value).
    for (const CatalogueLens& lens : catalogue.Lenses()) {
        EXPECT_REL_TOL(lens.focalLength, lens.values.at(0), 0.01) << lens.Code();
    }
    // Both codes of a lens lead to it, in any case and with blanks around.
    const CatalogueLens* byName = catalogue.Find("AC100-25");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(catalogue.Find(" " + byName->codes[1] + " "), byName);
    EXPECT_EQ(catalogue.Find("ac100-25"), byName);
    EXPECT_EQ(catalogue.Find("XX1-1"), nullptr);
    EXPECT_EQ(byName->GlassText(), "N-BAF10/N-SF10");
    EXPECT_EQ(catalogue.Find("AS100-25")->GlassText(), "N-BK7/N-F2");
    EXPECT_EQ(catalogue.Find("FX100-25")->kind, CatalogueKind::kBestForm);
    EXPECT_REL(catalogue.Find("CX10-8")->cylinderLength, 10.0);
    EXPECT_TRUE(std::ranges::any_of(catalogue.Lenses(),
                                    [](const CatalogueLens& l) { return !l.available; }));
}

// 1/f' = (n − 1)·(1/R1 − 1/R2 + (n − 1)·d / (n·R1·R2)), a plane surface counting as R = ∞.
double ThickLens(double n, double r1, double r2, double d) {
    const double c1 = r1 == 0 ? 0 : 1 / r1, c2 = r2 == 0 ? 0 : 1 / r2;
    return 1 / ((n - 1) * (c1 - c2 + (n - 1) * d * c1 * c2 / n));
}

TEST(CatalogueLenses, TraceMatchesTheThickLensFormula) {
    for (const char* code : {"PX100-25", "BX50-25", "FX100-50", "PV30-25", "HX3-3", "CV50-20"}) {
        const CatalogueLens& lens = *Generated().Find(code);
        const CatalogueSurface& s = lens.surfaces[0];
        EXPECT_REL(lens.focalLength,
                   ThickLens(s.index, s.radius, lens.surfaces[1].radius, s.thickness))
            << code;
    }
    // A plano-convex lens does not depend on its thickness; plane on both sides has no power.
    EXPECT_REL(*TraceFocalLength(Singlet("A", 51.68, 0).surfaces), 51.68 / 0.5168);
    EXPECT_FALSE(TraceFocalLength(Singlet("A", 0, 0).surfaces));
}

TEST(CatalogueLenses, DamagedFilesLeaveTheRest) {
    test::TempDir dir;
    const fs::path src = BuildTreeCatalogueDir();
    const std::size_t all = Generated().Lenses().size();
    auto copy = [&] {
        for (const auto& f : fs::directory_iterator(src)) {
            fs::copy_file(f.path(), dir.path() / f.path().filename(),
                          fs::copy_options::overwrite_existing);
        }
    };
    auto count = [&](CatalogueKind kind, const LensCatalogue& c) {
        return std::ranges::count(c.Lenses(), kind, &CatalogueLens::kind);
    };

    // No files, or no sequence: nothing, and nothing to report.
    EXPECT_TRUE(ReadCatalogueLenses(dir.path()).Lenses().empty());
    EXPECT_TRUE(ReadCatalogueLenses(dir.path()).NotRead().empty());
    copy();
    // A triplet file that is missing, and an achromat file cut inside its third record: the
    // first two achromats stay, the rest of the sequence record is skipped, nothing else changes.
    fs::remove(dir / "SH_L3.dat");
    fs::resize_file(dir / "SH_L2.dat", 2 * 205 + 100);
    // A partial sequence record at the end is ignored.
    std::ofstream(dir / "SH_SEQ.dat", std::ios::app | std::ios::binary) << "\x01\x00\x01";
    const LensCatalogue cut = ReadCatalogueLenses(dir.path());
    EXPECT_EQ(count(CatalogueKind::kAchromat, cut), 2);
    EXPECT_EQ(count(CatalogueKind::kTriplet, cut), 0);
    EXPECT_EQ(count(CatalogueKind::kCylinder, cut), count(CatalogueKind::kCylinder, Generated()));
    EXPECT_EQ(cut.Lenses().size() + static_cast<std::size_t>(cut.Skipped()), all);
    // The missing triplet file is named; the cut achromat file still gave lenses.
    ASSERT_EQ(cut.NotRead().size(), 1u);
    EXPECT_EQ(cut.NotRead()[0].Message(),
              "\"" + (dir / "SH_L3.dat").string() + "\" wurde nicht gelesen: nicht vorhanden");

    // Hand-made records: no power, an index below 1, a number that is not finite, a code taken
    // already, and a sequence record past the end of its file are all left out.
    std::vector<CatalogueLens> lenses = {Singlet("GOOD", 50, -50), Singlet("FLAT", 0, 0),
                                         Singlet("THIN", 50, -50), Singlet("NAN", 50, -50),
                                         Singlet("good", 40, -40), Singlet("PLANO", 0, -50)};
    lenses[2].surfaces[0].index = 0.9;
    lenses[3].surfaces[1].radius = std::numeric_limits<double>::quiet_NaN();
    lenses[0].surfaces[0].glass = " sf56 ";
    ASSERT_EQ(WriteCatalogueLenses(dir.path(), lenses), "");
    // Record 9999 past the end, an unknown type code, and a lens after the end code.
    WriteSequence(
        dir / "SH_SEQ.dat",
        {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 9999}, {9, 1}, {1, 5}, {1, 6}, {6, 0}, {1, 1}});
    const LensCatalogue handMade = ReadCatalogueLenses(dir.path());
    EXPECT_EQ(Codes(handMade), (std::vector<std::string>{"GOOD", "PLANO"}));
    EXPECT_EQ(handMade.Skipped(), 5);
    EXPECT_EQ(handMade.Find("GOOD")->surfaces[0].glass, "SF56A");

    // Files of any content and size: whatever is read, nothing breaks. (A fresh folder each
    // round: rewriting a file in place is slow on some file systems.)
    std::mt19937 random(7);
    for (int round = 0; round < 30; ++round) {
        const fs::path folder = dir / std::to_string(round);
        fs::create_directory(folder);
        std::vector<std::pair<int, int>> sequence(random() % 50);
        for (auto& [code, number] : sequence) {
            code = static_cast<int>(random() % 8);
            number = static_cast<int>(random() % 16) - 2;
        }
        WriteSequence(folder / "SH_SEQ.dat", sequence);
        for (const char* name :
             {"SH_L1.dat", "SH_L2.dat", "SH_L2a.dat", "SH_L3.dat", "SH_C1.dat"}) {
            std::string bytes(random() % 3000, '\0');
            for (char& b : bytes) b = static_cast<char>(random());
            std::ofstream(folder / name, std::ios::binary) << bytes;
        }
        const LensCatalogue garbage = ReadCatalogueLenses(folder);
        for (const CatalogueLens& lens : garbage.Lenses()) {
            EXPECT_TRUE(std::isfinite(lens.focalLength) && lens.focalLength != 0);
        }
    }

    // A folder of damaged files: every file the sequence names is reported as damaged.
    const fs::path damaged = dir / "damaged";
    fs::create_directory(damaged);
    WriteSequence(damaged / "SH_SEQ.dat", {{1, 1}, {1, 2}, {5, 1}, {6, 0}});
    std::ofstream(damaged / "SH_L1.dat", std::ios::binary) << std::string(2000, '\xff');
    std::ofstream(damaged / "SH_C1.dat", std::ios::binary) << std::string(2000, '\xff');
    const LensCatalogue none = ReadCatalogueLenses(damaged);
    EXPECT_TRUE(none.Lenses().empty());
    ASSERT_EQ(none.NotRead().size(), 2u);
    EXPECT_EQ(none.NotRead()[0].file, damaged / "SH_L1.dat");
    EXPECT_EQ(none.NotRead()[0].reason, "beschädigt (keiner der 2 Einträge ist lesbar)");
    EXPECT_EQ(none.NotRead()[1].file, damaged / "SH_C1.dat");
}

TEST(CatalogueLenses, DisplayText) {
    CatalogueLens lens = Singlet("A", 50, -50);
    lens.description = "  N-BK7 Ø 25.4 mm f = 100 mm ";
    lens.series = "Bikonvex";
    EXPECT_EQ(DisplayText(lens, false), "N-BK7 Ø 25.4 mm");
    EXPECT_EQ(DisplayText(lens, true), "Bikonvex N-BK7 Ø 25.4 mm");
    lens.available = false;
    lens.description = "ohne Brennweite";
    EXPECT_EQ(DisplayText(lens, false), "ohne Brennweite ... OBSOLET");
    // Read back: the 8-bit text becomes UTF-8 again.
    EXPECT_EQ(DisplayText(*Generated().Find("PX100-25"), true), "Plankonvex N-BK7 Ø 25.4 mm");
    EXPECT_EQ(DisplayText(*Generated().Find("BX25-25"), false), "N-BK7 Ø 25.4 mm ... OBSOLET");
}

TEST(CatalogueLenses, FoundBesideTheProgramInstalledOrInTheBuildTree) {
    test::TempDir root;
    const fs::path bin = root / "bin", share = root / "share" / "raysketcher",
                   build = root / "build";
    EXPECT_EQ(CatalogueDirCandidates(bin, build), (std::vector<fs::path>{bin, share, build}));
    EXPECT_EQ(CatalogueDirCandidates(bin, {}).size(), 2u);
    // An installed program never reads a build tree it does not lie in.
    const fs::path buildCopy = root / "b" / "share" / "raysketcher";
    EXPECT_EQ(CatalogueDirCandidates(root / "b" / "src" / "cli", buildCopy).back(), buildCopy);
    EXPECT_EQ(CatalogueDirCandidates(root / "usr" / "bin", buildCopy).size(), 2u);
    EXPECT_EQ(CatalogueDirCandidates(root / "bb" / "bin", buildCopy).size(), 2u);

    EXPECT_FALSE(FindCatalogueDir(std::nullopt, bin, build).dir);
    EXPECT_EQ(CatalogueNotFoundMessage(FindCatalogueDir(std::nullopt, bin, build)),
              "keine Katalogdateien gefunden in " + bin.string() + ", " + share.string() + ", " +
                  build.string());
    for (const fs::path& dir : {build, share, bin}) {
        fs::create_directories(dir);
        std::ofstream(dir / "SH_SEQ.dat") << "";
        EXPECT_EQ(FindCatalogueDir(std::nullopt, bin, build).dir, dir);
    }
    // A folder the user names is the only place looked at.
    const CatalogueLocation named = FindCatalogueDir(root / "elsewhere", bin, build);
    EXPECT_FALSE(named.dir);
    EXPECT_EQ(named.searched, std::vector<fs::path>{root / "elsewhere"});
}

TEST(LensChoice, NearestFocalLengthWithRoomForTheBeam) {
    const LensCatalogue& catalogue = Generated();
    const std::vector<LensChoiceRow> rows = ChooseLenses(catalogue, {100.0, 2.0}, false);
    ASSERT_GE(rows.size(), 10u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_LE(std::fabs(rows[i].focalLength - 100.0), 10.0) << rows[i].code;
        EXPECT_GE(rows[i].diameter, 6.0) << rows[i].code;
        EXPECT_NE(rows[i].lens->kind, CatalogueKind::kCylinder);
        EXPECT_REL(rows[i].deviation, rows[i].focalLength - 100.0);
        if (i > 0) {
            EXPECT_LE(std::fabs(rows[i - 1].deviation), std::fabs(rows[i].deviation));
        }
    }
    const auto pcx = std::ranges::find(rows, "PX100-25", &LensChoiceRow::code);
    ASSERT_NE(pcx, rows.end());
    EXPECT_EQ(pcx->kind, "Einzellinse");
    EXPECT_EQ(pcx->glass, "N-BK7");
    EXPECT_EQ(pcx->text, "N-BK7 Ø 25.4 mm");
    // A wider beam leaves the half-inch lenses out; a negative f' finds negative lenses.
    for (const LensChoiceRow& row : ChooseLenses(catalogue, {100.0, 5.0}, false)) {
        EXPECT_GE(row.diameter, 15.0);
    }
    EXPECT_LT(ChooseLenses(catalogue, {-100.0, 2.0}, false).front().focalLength, 0);
    EXPECT_TRUE(ChooseLenses(catalogue, {0.0, 2.0}, false).empty());

    const LensGrid grid = BuildLensGrid(catalogue, ElementNeed{100.0, 2.0});
    EXPECT_EQ(grid.header[0], "Komponente");
    EXPECT_EQ(grid.header[2], "  T  ");
    ASSERT_EQ(grid.cells.size(), rows.size());
    EXPECT_EQ(grid.cells[0][0], rows[0].code);
    EXPECT_EQ(LensGridDescription(grid, static_cast<int>(rows.size())), "");
    EXPECT_FALSE(LensChoiceToolTip(false).empty());
}

TEST(LensChoice, CircularisedDiodeTakesOneCylinderPerAxis) {
    const LensGrid grid =
        BuildLensGrid(Generated(), std::array<ElementNeed, 2>{{{10, 1}, {30, 2}}});
    EXPECT_EQ(grid.header[0], "Zylinder 1");
    EXPECT_EQ(grid.header[1], " Zylinder 2 ");
    EXPECT_EQ(grid.header[2], "  EFL's ");
    ASSERT_FALSE(grid.cells.empty());
    EXPECT_EQ(grid.cells[0][0], "CX10-8");
    EXPECT_EQ(grid.cells[0][1], "CX30-20");
    EXPECT_EQ(grid.cells[0][2], "10.0 / 30.0");
    EXPECT_EQ(LensGridDescription(grid, 0),
              "Zyl. plankonvex N-BK7 8 × 10 mm\nZyl. plankonvex N-BK7 20 × 22 mm");
    // Only cylinders, and only when asked for.
    for (const LensChoiceRow& row : ChooseLenses(Generated(), {10, 1}, true)) {
        EXPECT_EQ(row.lens->kind, CatalogueKind::kCylinder);
    }
}

}  // namespace
}  // namespace rs::analysis
