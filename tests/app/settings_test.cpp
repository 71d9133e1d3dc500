#include "app/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <fstream>
#include <iterator>
#include <random>

#include "support/temp_dir.h"

namespace rs::app {
namespace {

using engine::CVarType;
using engine::kInfinity;

DesignState Load(const std::string& text, DesignState s = {}) {
    LoadSettings(IniFile::FromText("Raysketcher.INI", text), s);
    return s;
}

std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Settings, EncodingsAndOptionRules) {
    EXPECT_EQ(Load("[Options]\nSliderDefaultPercent=5\n").paraxial.sliderDefaultPercent, 10);
    EXPECT_EQ(Load("[Options]\nSliderDefaultPercent=95\n").paraxial.sliderDefaultPercent, 80);

    for (const char* yes : {"WAHR", "  true ", "vrai", "True"}) {
        EXPECT_TRUE(
            Load(std::string("[options]\nmirrormode=") + yes + "\n").paraxial.options.mirrorMode)
            << yes;
    }
    EXPECT_FALSE(Load("[Options]\nMirrorMode=yes\n").paraxial.options.mirrorMode);

    // Advanced: wavelength | separation | n | n'; a zero image index is the mode's standard.
    EXPECT_EQ(Load("[LastValues]\nAdvanced=633|2|1.5|0\n").paraxial.options.advanced,
              (engine::AdvancedOptions{1.5f, 1.0f, 2.0f, 633.0f}));
    const DesignState mirror =
        Load("[LastValues]\nAdvanced=633|2|1.5|1.33\n[Options]\nMirrorMode=True\n");
    EXPECT_EQ(mirror.paraxial.options.advanced.separation, 0.0f);
    EXPECT_EQ(mirror.paraxial.options.advanced.nImage, -1.33f);

    // Values the entry boxes refuse do not come in through the file either.
    EXPECT_EQ(Load("[LastValues]\nAdvanced=-5|2|0.2|7\n").paraxial.options.advanced,
              (engine::AdvancedOptions{1, 1, 2, 546.1f}));

    // Loading over a design (recalling the saved one): refused values and missing keys give the
    // standard value; the image-format choice, the advanced values and the custom circle of
    // confusion stay as they are when their keys are missing.
    DesignState changed;
    changed.window = {1, true, true, true, true, true, 4};
    changed.paraxial.options.advanced.n = 1.5f;
    changed.dof = {1, 0.5f, true};
    changed.beam.extrasOptions.conjDist = 7;
    changed.beam.diode.collimationMode = 1;
    const DesignState s = Load(
        "[Options]\nUnitType=2\n[ExtraGB]\nGBWaveLen=-1\nGBMfactor=50\nGBDiodeParamUserType=4\n"
        "GBDiodeParamUserVal=3\nGBDiodeCollimationMode=7\n",
        changed);
    EXPECT_EQ(s.window, (WindowOptions{0, false, false, false, false, true, 4}));
    EXPECT_EQ(s.paraxial.options.advanced.n, 1.5f);
    EXPECT_EQ(s.dof, (analysis::DofOptions{0, 0.5f, false}));
    EXPECT_EQ(s.beam.WavelengthNm(), beam::kDefaultBeamWavelength);
    EXPECT_EQ(s.beam.extrasOptions, DesignState{}.beam.extrasOptions);
    EXPECT_EQ(s.beam.diode, DesignState{}.beam.diode);
    EXPECT_EQ(Load("[Extra]\nCofCCustomVal=1e39\n", changed).dof.cocCustom, analysis::kDefaultCoC);
}

TEST(Settings, ParameterRecords) {
    DesignState s = Load(
        "[LastValues]\n"
        "VarTypeNos=6\n"
        "1VarTypeVal=5|10|True|False|0|False|0\n"
        "2VarTypeVal=1|-1E+20|True|False|0|False|0\n"
        "3VarTypeVal=9|1|True|False|0|False|0\n"      // not in the catalogue
        "4VarTypeVal=5|20|True|False|0|False|0\n"     // repeated
        "5VarTypeVal=0|100|True\n"                    // too short
        "6VarTypeVal=0|100|True|True|1e39|True|90\n"  // beyond a single: held at its end
        "VarTypeApNos=1\n1VarTypeApVal=1|4|True|False|0|False|0\n"
        "VarTypeGBNos=2\n1VarTypeGBVal=4|1|True|False|0|False|0\n"
        "2VarTypeGBVal=5|0.5|True|False|0|False|0\n");
    const engine::Selection& p = s.paraxial.params;
    ASSERT_EQ(p.Count(), 3);
    EXPECT_EQ(p.At(1), (CVarType{0, 100, true, 90, FLT_MAX, true, true}));
    EXPECT_EQ(p.At(2).nVarType, 1);
    EXPECT_EQ(p.At(3), (CVarType{5, 10, true, 0, 0, false, false}));
    EXPECT_TRUE(s.paraxial.options.objAtInfinity);
    EXPECT_EQ(s.paraxial.aperture.Count(), 1);
    ASSERT_EQ(s.beam.axes[0].selection.Count(), 1);  // the throw is never a beam parameter
    EXPECT_EQ(s.beam.axes[0].selection.Index(1), 5);

    // A count of 0 ignores leftover records; a huge count does not make loading slow.
    EXPECT_EQ(Load("[LastValues]\nVarTypeNos=0\n1VarTypeVal=0|1|True|False|0|False|0\n")
                  .paraxial.params.Count(),
              0);
    EXPECT_EQ(Load("[LastValues]\nVarTypeNos=2147483647\n").paraxial.params.Count(), 0);
}

TEST(Settings, UserSymbolsAndUnits) {
    const std::string file =
        "[Symbols]\nBrennweite: =F'\nvorderer Knotenpunkt =K\n"
        "[Units]\nParax=3, 1, 1, 1, 1, 1, 12, 1, 12, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1\n";
    DesignState s = Load("[Options]\nUnitType=1\n" + file);
    EXPECT_EQ(s.paraxial.symbols.Param(engine::kFocal), "F'");
    EXPECT_EQ(s.paraxial.symbols.Param(engine::kObjDist), "a");
    EXPECT_EQ(s.paraxial.symbols.Cardinal(engine::kN), "K");
    EXPECT_EQ(s.units.UnitCode(units::Group::Parax, 0), 3);
    EXPECT_EQ(s.units.UnitCode(units::Group::Parax, 3), units::kMagnification);
    // Standard symbols ignore the section.
    EXPECT_EQ(Load(file).paraxial.symbols.Param(engine::kFocal), "f'");
}

// Random designs saved and loaded again come back equal, and saving what was loaded writes the
// same file again: every key written is read back to the same value.
TEST(Settings, SaveLoadRoundTrip) {
    test::TempDir dir;
    std::mt19937 rng(7);
    auto real = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    };
    auto single = [&](double lo, double hi) { return static_cast<float>(real(lo, hi)); };
    auto flag = [&] { return rng() % 2 == 1; };
    auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto record = [&](int index) {
        return CVarType{static_cast<std::int16_t>(index),
                        single(-1e4, 1e4),
                        flag(),
                        single(-1e6, 0),
                        single(0, 1e6),
                        flag(),
                        flag()};
    };
    for (int iter = 0; iter < 50; ++iter) {
        DesignState s;
        engine::ParaxialDesign& px = s.paraxial;
        for (int k = 0; k < 3; ++k) {
            const int index = below(9);
            if (!px.params.Contains(index)) px.params.Add(index, record(index));
        }
        if (auto pos = px.params.Find(engine::kObjDist); pos && flag())
            px.params.SetValue(*pos, kInfinity);
        px.options.objAtInfinity =
            px.params.Find(engine::kObjDist) &&
            px.params.At(*px.params.Find(engine::kObjDist)).sVarValue == kInfinity;
        if (flag()) px.aperture.Add(below(5), record(0));
        px.options.advOptions = flag();
        px.options.mirrorMode = flag();
        px.options.advanced = {single(1, 3), single(1, 3), single(-50, 50), single(10, 2000)};
        if (px.options.mirrorMode) {
            px.options.advanced.separation = 0;
            px.options.advanced.nImage = -px.options.advanced.nImage;
        }
        s.window = {below(2), flag(), flag(), flag(), flag(), true, below(20)};
        s.dof = {below(2), single(1e-4, 1), flag()};
        for (int index : {0, 3, 5, 9}) {
            if (flag()) s.beam.axes[0].selection.Add(index, record(index));
        }
        s.beam.beamMode = flag();
        s.beam.SetWavelengthNm(real(100, 2000));
        // The minimum-spot distance and the depth-of-focus growth are not kept.
        s.beam.extrasOptions = {flag(), flag(), real(1, 49), flag(),          real(0, 500),
                                0.0,    0.05,   real(0, 10), real(-1e3, 1e3), below(3)};
        const int kind = 5 + below(3);
        s.beam.diode = {flag(), flag(), below(2), kind, {}, real(1, 49)};
        s.beam.diode.paramValues[static_cast<std::size_t>(kind)] = real(0.001, 10);
        for (units::Group g : units::kAllGroups) {
            for (int slot = 0; slot < units::SlotCount(g); ++slot) {
                const auto list = units::CategoryList(units::CategoryOf(g, slot));
                s.units.SetUnitCode(g, slot, list[rng() % list.size()]);
            }
        }

        IniFile out(dir / "saved.ini");
        ASSERT_TRUE(SaveSettings(s, out).ok);
        const std::string saved = ReadBytes(dir / "saved.ini");
        const DesignState back = Load(saved);
        EXPECT_TRUE(back.paraxial.params == px.params && back.paraxial.aperture == px.aperture &&
                    back.paraxial.options == px.options && back.window == s.window &&
                    back.dof == s.dof && back.units == s.units)
            << iter;
        EXPECT_TRUE(back.beam.axes[0].selection == s.beam.axes[0].selection &&
                    back.beam.beamMode == s.beam.beamMode &&
                    back.beam.WavelengthNm() == s.beam.WavelengthNm() &&
                    back.beam.extrasOptions == s.beam.extrasOptions &&
                    back.beam.diode == s.beam.diode)
            << iter;
        IniFile again(dir / "again.ini");
        ASSERT_TRUE(SaveSettings(back, again).ok);
        ASSERT_EQ(ReadBytes(dir / "again.ini"), saved) << iter;
    }
}

// Damaged files of every kind load without fault into a state the window can show.
TEST(Settings, DamagedFilesKeepTheInvariants) {
    const std::string valid =
        "[Options]\r\nSliderDefaultPercent=20\r\nMirrorMode=False\r\nAdvOptions=True\r\nUnitType="
        "1\r\n"
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
    // Rising indices from the catalogue, at most `capacity` of them.
    auto wellFormed = [](const engine::Selection& sel, int capacity, auto allowed) {
        const auto& e = sel.Entries();
        const auto notRising = [](const CVarType& a, const CVarType& b) {
            return a.nVarType >= b.nVarType;
        };
        return sel.Count() <= capacity &&
               std::adjacent_find(e.begin(), e.end(), notRising) == e.end() &&
               std::all_of(e.begin(), e.end(),
                           [&](const CVarType& r) { return allowed(r.nVarType); });
    };
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
        const DesignState s = Load(bytes);

        ASSERT_TRUE(wellFormed(s.paraxial.params, 3, [](int i) { return i >= 0 && i <= 8; }))
            << iter;
        ASSERT_TRUE(wellFormed(s.paraxial.aperture, 1, [](int i) { return i >= 0 && i <= 4; }))
            << iter;
        ASSERT_TRUE(wellFormed(s.beam.axes[0].selection, 3, beam::IsSelectableBeamIndex)) << iter;
        for (units::Group g : units::kAllGroups) {
            for (int slot = 0; slot < units::SlotCount(g); ++slot) {
                ASSERT_TRUE(units::IsAllowed(g, slot, s.units.UnitCode(g, slot))) << iter;
            }
        }
        ASSERT_TRUE(s.paraxial.sliderDefaultPercent >= 10 && s.paraxial.sliderDefaultPercent <= 80);
    }
}

TEST(Settings, FormPositions) {
    test::TempDir dir;
    IniFile ini(dir / "Raysketcher.INI");
    ASSERT_TRUE(WriteFormPosition(ini, "frmRaysketch", {100, 200, 7000.5, 9000}).ok);
    IniFile again(dir / "Raysketcher.INI");
    EXPECT_EQ(again.ReadIniString("FormPositions", "FormPosn_frmRaysketch"), "100|200|7000.5|9000");
    EXPECT_EQ(ReadFormPosition(again, "frmRaysketch"),
              (std::array<double, 4>{100, 200, 7000.5, 9000}));
    EXPECT_FALSE(ReadFormPosition(again, "popEditParamWave"));
}

}  // namespace
}  // namespace rs::app
