#include "app/settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "app/presentation.h"
#include "support/temp_dir.h"

namespace rs::app {
namespace {

using engine::CVarType;
using engine::kInfinity;

void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

DesignState LoadText(const test::TempDir& dir, const std::string& text) {
    const auto path = dir / "Raysketcher.INI";
    WriteFile(path, text);
    DesignState s;
    LoadSettings(IniFile(path), s);
    return s;
}

TEST(Settings, EncodingsAndOptionRules) {
    test::TempDir dir;
    EXPECT_EQ(LoadText(dir, "[Options]\nSliderDefaultPercent=5\n").paraxial.sliderDefaultPercent, 10);
    EXPECT_EQ(LoadText(dir, "[Options]\nSliderDefaultPercent=95\n").paraxial.sliderDefaultPercent, 80);
    EXPECT_EQ(LoadText(dir, "").paraxial.sliderDefaultPercent, 10);

    for (const char* yes : {"WAHR", "  true ", "vrai", "True"}) {
        EXPECT_TRUE(LoadText(dir, std::string("[options]\nmirrormode=") + yes + "\n").paraxial.options.mirrorMode)
            << yes;
    }
    EXPECT_FALSE(LoadText(dir, "[Options]\nMirrorMode=yes\n").paraxial.options.mirrorMode);

    // Advanced: wavelength | separation | n | n'; a zero image index is the mode's standard.
    DesignState lens = LoadText(dir, "[LastValues]\nAdvanced=633|2|1.5|0\n");
    EXPECT_EQ(lens.paraxial.options.advanced,
              (engine::AdvancedOptions{1.5f, 1.0f, 2.0f, 633.0f}));
    DesignState mirror =
        LoadText(dir, "[LastValues]\nAdvanced=633|2|1.5|1.33\n[Options]\nMirrorMode=True\n");
    EXPECT_EQ(mirror.paraxial.options.advanced.separation, 0.0f);
    EXPECT_EQ(mirror.paraxial.options.advanced.nImage, -1.33f);
    // Values the entry boxes refuse do not come in through the file either.
    DesignState odd = LoadText(dir, "[LastValues]\nAdvanced=-5|2|0.2|7\n");
    EXPECT_EQ(odd.paraxial.options.advanced, (engine::AdvancedOptions{1, 1, 2, 546.1f}));
    EXPECT_EQ(LoadText(dir, "[LastValues]\nAdvanced=  \n").paraxial.options.advanced,
              engine::AdvancedOptions{});

    DesignState extra = LoadText(dir, "[Extra]\nCofCCustomVal=0\nCofCType=1\n");
    EXPECT_EQ(extra.dof.cocCustom, 0.025f);
    EXPECT_EQ(extra.dof.cocType, 1);
}

TEST(Settings, ParameterRecords) {
    test::TempDir dir;
    DesignState s = LoadText(dir,
                             "[LastValues]\n"
                             "VarTypeNos=6\n"
                             "1VarTypeVal=5|10|True|False|0|False|0\n"
                             "2VarTypeVal=1|-1E+20|True|False|0|False|0\n"
                             "3VarTypeVal=9|1|True|False|0|False|0\n"     // not in the catalogue
                             "4VarTypeVal=5|20|True|False|0|False|0\n"    // repeated
                             "5VarTypeVal=0|100|True\n"                   // too short
                             "6VarTypeVal=0|100|True|True|110|True|90\n"
                             "VarTypeApNos=1\n1VarTypeApVal=1|4|True|False|0|False|0\n"
                             "VarTypeGBNos=2\n1VarTypeGBVal=4|1|True|False|0|False|0\n"
                             "2VarTypeGBVal=5|0.5|True|False|0|False|0\n");
    const engine::Selection& p = s.paraxial.params;
    ASSERT_EQ(p.Count(), 3);
    EXPECT_EQ(p.Index(1), 0);
    EXPECT_EQ(p.Index(2), 1);
    EXPECT_EQ(p.Index(3), 5);
    EXPECT_EQ(p.At(3).sVarValue, 10.0f);
    EXPECT_EQ(p.At(1), (CVarType{0, 100, true, 90, 110, true, true}));
    EXPECT_TRUE(s.paraxial.options.objAtInfinity);
    EXPECT_EQ(s.paraxial.aperture.Count(), 1);
    ASSERT_EQ(s.beam.axes[0].selection.Count(), 1);  // the throw is never a beam parameter
    EXPECT_EQ(s.beam.axes[0].selection.Index(1), 5);

    // A count of 0 ignores leftover records; a huge count does not make loading slow.
    EXPECT_EQ(LoadText(dir, "[LastValues]\nVarTypeNos=0\n1VarTypeVal=0|1|True|False|0|False|0\n")
                  .paraxial.params.Count(),
              0);
    EXPECT_EQ(LoadText(dir, "[LastValues]\nVarTypeNos=2147483647\n").paraxial.params.Count(), 0);
    EXPECT_EQ(LoadText(dir, "[LastValues]\nImgHgtFixed2=True\nImgHgtOption2=4\n").window.imgHgtOption, 4);
}

TEST(Settings, UserSymbolsAndUnits) {
    test::TempDir dir;
    DesignState s = LoadText(dir,
                             "[Options]\nUnitType=1\n"
                             "[Symbols]\nBrennweite: =F'\nvorderer Knotenpunkt =K\n"
                             "[Units]\nParax=3, 1, 1, 1, 1, 1, 12, 1, 12, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1\n");
    EXPECT_EQ(s.paraxial.symbols.Param(engine::kFocal), "F'");
    EXPECT_EQ(s.paraxial.symbols.Param(engine::kObjDist), "a");
    EXPECT_EQ(s.paraxial.symbols.Cardinal(engine::kN), "K");
    EXPECT_EQ(s.units.UnitCode(units::Group::Parax, 0), 3);
    EXPECT_EQ(s.units.UnitCode(units::Group::Parax, 3), units::kMagnification);

    // Standard symbols ignore the section.
    DesignState standard = LoadText(dir, "[Symbols]\nBrennweite: =F'\n");
    EXPECT_EQ(standard.paraxial.symbols.Param(engine::kFocal), "f'");
}

// Random designs saved and loaded again come back equal.
TEST(Settings, SaveLoadRoundTrip) {
    test::TempDir dir;
    std::mt19937 rng(7);
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto flag = [&] { return rng() % 2 == 1; };
    auto record = [&](int index) {
        CVarType r{static_cast<std::int16_t>(index), static_cast<float>(real(-1e4, 1e4)), flag(),
                   static_cast<float>(real(-1e6, 0)), static_cast<float>(real(0, 1e6)), flag(), flag()};
        return r;
    };
    for (int iter = 0; iter < 300; ++iter) {
        DesignState s;
        engine::ParaxialDesign& px = s.paraxial;
        for (int k = 0; k < 3; ++k) {
            const int index = static_cast<int>(rng() % 9);
            if (!px.params.Contains(index)) px.params.Add(index, record(index));
        }
        if (auto pos = px.params.Find(engine::kObjDist); pos && flag()) px.params.SetValue(*pos, kInfinity);
        px.options.objAtInfinity = px.params.Find(engine::kObjDist) &&
                                   px.params.At(*px.params.Find(engine::kObjDist)).sVarValue == kInfinity;
        if (flag()) px.aperture.Add(static_cast<int>(rng() % 5), record(0));
        px.options.advOptions = flag();
        px.options.mirrorMode = flag();
        px.options.advanced = {static_cast<float>(real(1, 3)), static_cast<float>(real(1, 3)),
                               static_cast<float>(real(-50, 50)), static_cast<float>(real(10, 2000))};
        if (px.options.mirrorMode) {
            px.options.advanced.separation = 0;
            px.options.advanced.nImage = -px.options.advanced.nImage;
        }
        s.window = {static_cast<int>(rng() % 2), flag(), flag(), flag(), flag(), true,
                    static_cast<int>(rng() % 20)};
        s.dof = {static_cast<int>(rng() % 2), static_cast<float>(real(1e-4, 1)), flag()};
        for (int index : {0, 3, 5, 9}) {
            if (flag()) s.beam.axes[0].selection.Add(index, record(index));
        }
        s.beam.beamMode = flag();
        s.beam.SetWavelengthNm(real(100, 2000));
        s.beam.extrasOptions.mFactorUse = flag();
        s.beam.extrasOptions.mFactor = real(1, 49);
        s.beam.extrasOptions.conjDist = real(-1e3, 1e3);
        s.beam.extrasOptions.drgScaleType = static_cast<int>(rng() % 3);
        s.beam.extrasOptions.detectorDistance = real(0, 500);
        s.beam.diode.diodeMode = flag();
        s.beam.diode.paramKind = 5 + static_cast<int>(rng() % 3);
        s.beam.diode.paramValues[static_cast<std::size_t>(s.beam.diode.paramKind)] = real(0.001, 10);
        s.beam.diode.circularise = flag();
        s.beam.diode.collimationMode = static_cast<int>(rng() % 2);
        for (units::Group g : units::kAllGroups) {
            for (int slot = 0; slot < units::SlotCount(g); ++slot) {
                const auto list = units::CategoryList(units::CategoryOf(g, slot));
                s.units.SetUnitCode(g, slot, list[rng() % list.size()]);
            }
        }

        const auto path = dir / ("design" + std::to_string(iter % 3) + ".ini");
        IniFile out(path);
        ASSERT_TRUE(SaveSettings(s, out).ok);
        DesignState back;
        LoadSettings(IniFile(path), back);
        EXPECT_EQ(back.paraxial.params, px.params) << iter;
        EXPECT_EQ(back.paraxial.aperture, px.aperture) << iter;
        EXPECT_EQ(back.paraxial.options, px.options) << iter;
        EXPECT_EQ(back.window, s.window) << iter;
        EXPECT_EQ(back.dof, s.dof) << iter;
        EXPECT_EQ(back.beam.axes[0].selection, s.beam.axes[0].selection) << iter;
        EXPECT_EQ(back.beam.beamMode, s.beam.beamMode) << iter;
        EXPECT_EQ(back.beam.WavelengthNm(), s.beam.WavelengthNm()) << iter;
        EXPECT_EQ(back.beam.extrasOptions, s.beam.extrasOptions) << iter;
        EXPECT_EQ(back.beam.diode, s.beam.diode) << iter;
        EXPECT_EQ(back.units, s.units) << iter;
    }
}

// Damaged files of every kind load without fault into a state the window can show.
TEST(Settings, DamagedFilesKeepTheInvariants) {
    test::TempDir dir;
    const std::string valid =
        "[Options]\r\nSliderDefaultPercent=20\r\nMirrorMode=False\r\nAdvOptions=True\r\nUnitType=1\r\n"
        "[LastValues]\r\nVarTypeNos=3\r\n1VarTypeVal=0|100|True|True|110|True|90\r\n"
        "2VarTypeVal=1|-200|True|True|-180|True|-220\r\n3VarTypeVal=5|10|True|False|0|False|0\r\n"
        "VarTypeApNos=1\r\n1VarTypeApVal=0|10|True|False|0|False|0\r\n"
        "VarTypeGBNos=3\r\n1VarTypeGBVal=0|100|True|False|0|False|0\r\n"
        "2VarTypeGBVal=1|200|True|False|0|False|0\r\n3VarTypeGBVal=5|0.5|True|False|0|False|0\r\n"
        "ImgHgtFixed2=True\r\nImgHgtOption2=3\r\nAdvanced=632.8|5|1.2|1.5\r\n"
        "[Extra]\r\nShowExtra=True\r\nCofCType=0\r\nCofCCustomVal=0.03\r\n"
        "[ExtraGB]\r\nGBWaveLen=1064\r\nGBDiodeParamUserType=5\r\nGBDiodeParamUserVal=2\r\n"
        "[Units]\r\nParax=1, 1, 1, 13, 1, 1, 12, 1, 12, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1\r\n"
        "ParaxAp=1, 17, 17, 17, 1\r\nParaxDOF=1, 1, 1, 15, 15, 15\r\n"
        "[Symbols]\r\nBrennweite: =F'\r\n";
    std::mt19937 rng(99);
    const std::string noise = "[]=|\r\n\0,-+.eE9 \xF6\xFF;";
    const auto path = dir / "Raysketcher.INI";
    for (int iter = 0; iter < 10000; ++iter) {
        std::string bytes = valid;
        const int kind = iter % 4;
        if (kind == 0) {  // flips
            for (int k = 0; k < 1 + static_cast<int>(rng() % 8); ++k) {
                bytes[rng() % bytes.size()] = static_cast<char>(rng() % 256);
            }
        } else if (kind == 1) {  // truncation
            bytes.resize(rng() % bytes.size());
        } else if (kind == 2) {  // structural noise
            for (int k = 0; k < 1 + static_cast<int>(rng() % 10); ++k) {
                bytes.insert(bytes.begin() + static_cast<long>(rng() % bytes.size()),
                             noise[rng() % (noise.size())]);
            }
        } else {  // binary garbage
            bytes.assign(rng() % 600, '\0');
            for (char& c : bytes) c = static_cast<char>(rng() % 256);
        }
        WriteFile(path, bytes);
        DesignState s;
        LoadSettings(IniFile(path), s);

        const engine::Selection& p = s.paraxial.params;
        ASSERT_LE(p.Count(), 3);
        for (int k = 1; k <= p.Count(); ++k) {
            ASSERT_TRUE(p.Index(k) >= 0 && p.Index(k) <= 8);
            if (k > 1) {
                ASSERT_LT(p.Index(k - 1), p.Index(k));
            }
        }
        ASSERT_LE(s.paraxial.aperture.Count(), 1);
        if (s.paraxial.aperture.Count()) {
            ASSERT_LE(s.paraxial.aperture.Index(1), 4);
        }
        const engine::Selection& gb = s.beam.axes[0].selection;
        ASSERT_LE(gb.Count(), 3);
        for (int k = 1; k <= gb.Count(); ++k) {
            ASSERT_TRUE(IsSelectableBeamIndex(gb.Index(k)));
            if (k > 1) {
                ASSERT_LT(gb.Index(k - 1), gb.Index(k));
            }
        }
        for (units::Group g : units::kAllGroups) {
            for (int slot = 0; slot < units::SlotCount(g); ++slot) {
                ASSERT_TRUE(units::IsAllowed(g, slot, s.units.UnitCode(g, slot)));
            }
        }
        ASSERT_TRUE(s.paraxial.sliderDefaultPercent >= 10 && s.paraxial.sliderDefaultPercent <= 80);
        // Whatever came in can be solved and shown.
        SolveParaxialDesign(s, true);
        engine::ResultListCache cache;
        ParaxialResultRows(s, true, false, cache);
        DofPanelOf(s);
    }
}

TEST(Settings, SaveReportsFailureAndFormPositions) {
    test::TempDir dir;
    IniFile missingFolder(dir / "no-such-folder" / "Raysketcher.INI");
    const WriteStatus st = SaveSettings(DesignState{}, missingFolder);
    EXPECT_FALSE(st.ok);
    EXPECT_NE(st.message.find("no-such-folder"), std::string::npos);

    IniFile ini(dir / "Raysketcher.INI");
    ASSERT_TRUE(WriteFormPosition(ini, "frmRaysketch", {100, 200, 7000.5, 9000}).ok);
    IniFile again(dir / "Raysketcher.INI");
    EXPECT_EQ(again.ReadIniString("FormPositions", "FormPosn_frmRaysketch"), "100|200|7000.5|9000");
    EXPECT_EQ(ReadFormPosition(again, "frmRaysketch"), (std::array<double, 4>{100, 200, 7000.5, 9000}));
    EXPECT_FALSE(ReadFormPosition(again, "popEditParamWave"));
}

}  // namespace
}  // namespace rs::app
