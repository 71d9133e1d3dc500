#include "app/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <fstream>
#include <random>
#include <vector>

#include "analysis/thick_lens.h"
#include "app/presentation.h"
#include "beam/diode.h"
#include "support/temp_dir.h"

namespace rs::app {
namespace {

using engine::CVarType;
using engine::kInfinity;

DesignState Load(const std::string& text, DesignState s = {}) {
    LoadSettings(IniFile::FromText("Raysketcher.INI", text), s);
    return s;
}

// The file SaveSettings writes for `s`.
std::string Saved(const DesignState& s, const test::TempDir& dir) {
    IniFile out(dir / "saved.ini");
    EXPECT_TRUE(SaveSettings(s, out).ok);
    return test::ReadFile(dir / "saved.ini");
}

// A design with every kept value chosen at random.
DesignState RandomDesign(std::mt19937& rng) {
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
    s.beam.diode = {flag(), flag(), below(2), 5 + below(3), {}, real(1, 49)};
    // The file keeps the kind in effect, which axis 0's third parameter may force.
    const int kind = beam::DiodeParamKind(s.beam);
    s.beam.diode.paramKind = kind;
    s.beam.diode.paramValues[static_cast<std::size_t>(kind)] = real(0.001, 10);
    for (units::Group g : units::kAllGroups) {
        for (int slot = 0; slot < units::SlotCount(g); ++slot) {
            const auto list = units::CategoryList(units::CategoryOf(g, slot));
            s.units.SetUnitCode(g, slot, list[rng() % list.size()]);
        }
    }
    if (flag()) {
        s.lens = HeldLens{"AC100-12",
                          "Achromat N-BAF10/N-SF10 Ø 12.7 mm",
                          flag(),
                          {{real(40, 80), 6.35, real(1, 5), 1.67003, 47.11, "N-BAF10"},
                           {real(-60, -30), 6.35, 1.2, 1.72825, 28.53, "N-SF10"},
                           {real(-3000, -1000), 6.35, 0, 1, 0, ""}},
                          single(50, 150),
                          single(-5, 5)};
    }
    s.measurement.table.axisCount = 1 + below(2);
    for (int row = below(20); row > 0; --row) {
        s.measurement.table.rows.push_back({real(-1e3, 1e3), {real(1e-3, 10), real(1e-3, 10)}});
        if (s.measurement.table.axisCount == 1) s.measurement.table.rows.back().d[1] = 0;
    }
    s.measurement.elementPosition = real(-1e3, 1e3);
    s.measurement.zUnit = units::CategoryList(units::CategoryOf(units::Group::GB, 1))[below(4)];
    s.measurement.dUnit = units::CategoryList(units::CategoryOf(units::Group::GB, 5))[below(4)];
    // The studies: names as typed (a missing one is the default), a range or none.
    for (StudyChoice* c : {&s.study, &s.studyBeam}) {
        const char* names[] = {"", "a", "Blendenzahl", "Bildweite: a'", "r': Taille"};
        c->parameter = names[below(5)];
        c->quantity = names[below(5)];
        c->quantity2 = names[below(5)];
        c->logarithmic = flag();
        c->rangeSet = flag();
        if (c->rangeSet) {
            c->from = real(-1e3, 0);
            c->to = real(1, 1e4);
        }
    }
    return s;
}

// Everything the file keeps is equal.
bool SameKeptDesign(const DesignState& a, const DesignState& b) {
    const engine::ParaxialDesign& px = b.paraxial;
    return a.paraxial.params == px.params && a.paraxial.aperture == px.aperture &&
           a.paraxial.options == px.options && a.window == b.window && a.dof == b.dof &&
           a.units == b.units && a.beam.axes[0].selection == b.beam.axes[0].selection &&
           a.beam.beamMode == b.beam.beamMode && a.beam.WavelengthNm() == b.beam.WavelengthNm() &&
           a.beam.extrasOptions == b.beam.extrasOptions && a.beam.diode == b.beam.diode &&
           a.lens == b.lens && a.measurement == b.measurement && a.study == b.study &&
           a.studyBeam == b.studyBeam;
}

// Random designs saved and loaded again come back equal, and saving what was loaded writes the
// same file again: every key written is read back to the same value.
TEST(Settings, SaveLoadRoundTrip) {
    const test::TempDir dir;
    std::mt19937 rng(7);
    for (int iter = 0; iter < 50; ++iter) {
        SCOPED_TRACE(iter);
        const DesignState s = RandomDesign(rng);
        const std::string saved = Saved(s, dir);
        const DesignState back = Load(saved);
        EXPECT_TRUE(SameKeptDesign(back, s));
        ASSERT_EQ(Saved(back, dir), saved);
    }
}

// Diode designs saved and loaded solve to the same two axes: whichever kind describes axis 1,
// with or without circularisation, with the kind forced by axis 0's third parameter or free, and
// with a kind chosen beside the forced one still kept (as the list once kept it).
TEST(Settings, DiodeDesignsComeBackWithBothAxes) {
    using namespace beam;
    const test::TempDir dir;
    const std::string file =
        "[ExtraGB]\nGaussianBeam=True\nGBWaveLen=808\nGaussianBeamRect=True\n"
        "GBDiodeParamUserType=7\nGBDiodeParamUserVal=0.28577154222546697\n[LastValues]\n"
        "VarTypeGBNos=3\n1VarTypeGBVal=0|4|True|False|0|False|0\n"
        "2VarTypeGBVal=1|4|True|False|0|False|0\n";
    const auto record = [](std::string third) {
        return "3VarTypeGBVal=" + third + "|True|False|0|False|0";
    };
    for (const char* third : {"", "5|0.05", "6|0.1", "7|0.01", "9|0.002"}) {
        for (bool circularise : {false, true}) {
            for (int kept = kGbObjRadius; kept <= kGbObjRayleigh; ++kept) {
                SCOPED_TRACE(::testing::Message() << third << " " << circularise << " " << kept);
                DesignState s = Load(file + (*third ? record(third) : ""));
                s.beam.diode.circularise = circularise;
                SolveDesign(s, false);
                s.beam.diode.paramKind = kept;
                s.beam.diode.paramValues[static_cast<std::size_t>(kept)] = 0.001 * kept;
                SolveDesign(s, false);
                DesignState back = Load(Saved(s, dir));
                SolveDesign(back, false);
                EXPECT_EQ(std::pair(DiodeParamKind(back.beam), DiodeParamValue(back.beam)),
                          std::pair(DiodeParamKind(s.beam), DiodeParamValue(s.beam)));
                EXPECT_TRUE(back.beam.axes == s.beam.axes && DesignSolved(back) == (*third != 0));
            }
        }
    }
    // Axis 0's kind changed since the file was read, solved or not: the saved file keeps axis
    // 1's beam of 0.03 rad.
    for (const int third : {kGbObjRadius, kGbObjRayleigh, kGbImgRayleigh}) {
        for (bool solve : {false, true}) {
            SCOPED_TRACE(::testing::Message() << third << " " << solve);
            DesignState s = Load(file + record("6|0.1"));
            SolveDesign(s, false);
            s.beam.axes[0].selection.Remove(kGbObjDiv);
            s.beam.axes[0].selection.Add(third,
                                         CVarType{static_cast<std::int16_t>(third),
                                                  third == kGbObjRadius ? 0.0025f : 0.025f, true});
            if (solve) SolveDesign(s, false);
            DesignState back = Load(Saved(s, dir));
            SolveDesign(back, false);
            ASSERT_TRUE(DesignSolved(back));
            EXPECT_NEAR(back.beam.axes[1].table[kGbObjDiv], 0.03, 1e-9);
        }
    }
    // The file's kind beside the one axis 0's divergence forces: its value describes axis 1's
    // beam, here a divergence of 0.03 rad as its Rayleigh length at 808 nm.
    const DesignState old = Load(file + record("6|0.1"));
    EXPECT_EQ(old.beam.diode.paramKind, kGbObjDiv);
    EXPECT_NEAR(DiodeParamValue(old.beam), 0.03, 1e-9);
}

// Damaged copies of saved files load without fault into a state the window can show.
TEST(Settings, DamagedFilesKeepTheInvariants) {
    const test::TempDir dir;
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
    std::string valid;
    for (int iter = 0; iter < 10000; ++iter) {
        if (iter % 100 == 0) valid = Saved(RandomDesign(rng), dir);
        std::string bytes = valid;
        const int kind = iter % 3;
        if (kind == 0) {  // flips
            for (int k = 0; k < 1 + static_cast<int>(rng() % 8); ++k) {
                bytes[rng() % bytes.size()] = static_cast<char>(rng() % 256);
            }
        } else if (kind == 1) {  // truncation
            bytes.resize(rng() % bytes.size());
        } else {  // structural noise
            for (int k = 0; k < 1 + static_cast<int>(rng() % 10); ++k) {
                bytes.insert(bytes.begin() + static_cast<long>(rng() % bytes.size()),
                             noise[rng() % (noise.size())]);
            }
        }
        SCOPED_TRACE(iter);
        const DesignState s = Load(bytes);
        ASSERT_TRUE(wellFormed(s.paraxial.params, 3, [](int i) { return i >= 0 && i <= 8; }));
        ASSERT_TRUE(wellFormed(s.paraxial.aperture, 1, [](int i) { return i >= 0 && i <= 4; }));
        ASSERT_TRUE(wellFormed(s.beam.axes[0].selection, 3, beam::IsSelectableBeamIndex));
        for (units::Group g : units::kAllGroups) {
            for (int slot = 0; slot < units::SlotCount(g); ++slot) {
                ASSERT_TRUE(units::IsAllowed(g, slot, s.units.UnitCode(g, slot)));
            }
        }
        ASSERT_TRUE(s.paraxial.sliderDefaultPercent >= 10 && s.paraxial.sliderDefaultPercent <= 80);
        // A held lens that comes back is one with power.
        if (s.lens) {
            ASSERT_TRUE(analysis::ThickLensOf(s.lens->surfaces, 587.6));
        }
    }
}

// The reference design rides in its own section beside the design, written and read by the
// design's own keys: a complete design comes back whole, an incomplete one is no reference, and
// neither disturbs the design saved beside it.
TEST(Settings, ReferenceRoundTripBesideTheDesign) {
    const test::TempDir dir;
    std::mt19937 rng(11);
    int complete = 0;
    for (int iter = 0; iter < 60; ++iter) {
        SCOPED_TRACE(iter);
        const DesignState design = RandomDesign(rng);
        const DesignState reference = RandomDesign(rng);
        std::filesystem::remove(dir / "both.ini");
        IniFile file(dir / "both.ini");
        StageSettings(design, file);
        StageReference(&reference, file);
        ASSERT_TRUE(file.Commit().ok);
        const IniFile back(dir / "both.ini");
        DesignState loaded;
        LoadSettings(back, loaded);
        EXPECT_TRUE(SameKeptDesign(loaded, design));
        const auto kept = LoadReference(back);
        const bool whole =
            reference.beam.beamMode ? BeamComplete(reference) : ParaxialComplete(reference);
        ASSERT_EQ(kept.has_value(), whole);
        if (!kept) continue;
        ++complete;
        EXPECT_TRUE(SameKeptDesign(*kept, reference));
        // Cleared, the file keeps no reference; the design stays.
        IniFile again(dir / "both.ini");
        StageReference(nullptr, again);
        ASSERT_TRUE(again.Commit().ok);
        EXPECT_FALSE(LoadReference(IniFile(dir / "both.ini")));
    }
    EXPECT_GT(complete, 2);  // the random designs did try the whole round trip
}

TEST(Settings, MissingOrDamagedReferenceOpensWithout) {
    const std::string design =
        "[LastValues]\nVarTypeNos=3\n1VarTypeVal=0|100|True|True|110|True|90\n"
        "2VarTypeVal=1|-200|True|True|-180|True|-220\n3VarTypeVal=5|10|True|True|11|True|9\n";
    const std::string cases[] = {
        "",
        "[Referenz]\nGemerkt=False\nLastValues.VarTypeNos=3\n",
        "[Referenz]\nGemerkt=ja\n",
        // Records that cannot be read: fewer than three parameters come back.
        "[Referenz]\nGemerkt=True\nLastValues.VarTypeNos=3\nLastValues.1VarTypeVal=0|1\n"
        "LastValues.2VarTypeVal=|||\nLastValues.3VarTypeVal=\xFF\n",
        "[Referenz]\nGemerkt=True\nExtraGB.GaussianBeam=True\nLastValues.VarTypeNos=3\n"
        "LastValues.1VarTypeVal=0|100|True|True|110|True|90\n",
    };
    const DesignState alone = Load(design);
    for (const std::string& reference : cases) {
        SCOPED_TRACE(reference);
        const IniFile file = IniFile::FromText("Raysketcher.INI", design + reference);
        EXPECT_FALSE(LoadReference(file));
        DesignState loaded;
        LoadSettings(file, loaded);
        EXPECT_TRUE(SameKeptDesign(loaded, alone));
    }
}

// What a file written by hand or by an older version may hold beyond what the program writes.
TEST(Settings, ForeignSpellingsAndRefusedValues) {
    for (const char* yes : {"WAHR", "  true ", "vrai"}) {
        EXPECT_TRUE(Load(std::string("[options]\nmirrormode=") + yes).paraxial.options.mirrorMode)
            << yes;
    }
    EXPECT_FALSE(Load("[Options]\nMirrorMode=yes\n").paraxial.options.mirrorMode);
    // A file without studies, or with a range that is none, leaves the defaults to the window.
    EXPECT_EQ(Load("[Options]\nMirrorMode=False\n").study, StudyChoice{});
    const DesignState noRange = Load("[Study]\nGBParam=s\nGBFrom=5\nGBTo=5\nFrom=x\nTo=3\n");
    EXPECT_EQ(noRange.studyBeam.parameter, "s");
    EXPECT_FALSE(noRange.studyBeam.rangeSet);
    EXPECT_FALSE(noRange.study.rangeSet);

    // Advanced: wavelength | separation | n | n'; a zero image index is the mode's standard,
    // and values the entry boxes refuse do not come in through the file either.
    EXPECT_EQ(Load("[LastValues]\nAdvanced=633|2|1.5|0\n").paraxial.options.advanced,
              (engine::AdvancedOptions{1.5f, 1.0f, 2.0f, 633.0f}));
    const DesignState mirror =
        Load("[LastValues]\nAdvanced=633|2|1.5|1.33\n[Options]\nMirrorMode=True\n");
    EXPECT_EQ(mirror.paraxial.options.advanced.separation, 0.0f);
    EXPECT_EQ(mirror.paraxial.options.advanced.nImage, -1.33f);
    EXPECT_EQ(Load("[LastValues]\nAdvanced=-5|2|0.2|7\n").paraxial.options.advanced,
              (engine::AdvancedOptions{1, 1, 2, 546.1f}));

    // A value beyond a single is held at its end; a huge count does not make loading slow.
    const engine::Selection params =
        Load("[LastValues]\nVarTypeNos=2147483647\n1VarTypeVal=0|100|True|True|1e39|True|90\n")
            .paraxial.params;
    ASSERT_EQ(params.Count(), 1);
    EXPECT_EQ(params.At(1), (CVarType{0, 100, true, 90, FLT_MAX, true, true}));

    // The user's symbols count only with the user's symbol set.
    const std::string symbols = "[Symbols]\nBrennweite: =F'\nvorderer Knotenpunkt =K\n";
    const DesignState own = Load("[Options]\nUnitType=1\n" + symbols);
    EXPECT_EQ(own.paraxial.symbols.Param(engine::kFocal), "F'");
    EXPECT_EQ(own.paraxial.symbols.Cardinal(engine::kN), "K");
    EXPECT_EQ(Load(symbols).paraxial.symbols.Param(engine::kFocal), "f'");

    // Loading over a design (recalling the saved one): refused values and missing keys give the
    // standard value; the image-format choice, the advanced values and the custom circle of
    // confusion stay as they are when their keys are missing.
    DesignState changed;
    changed.window = {1, true, true, true, true, true, 4};
    changed.paraxial.options.advanced.n = 1.5f;
    changed.dof = {1, 0.5f, true};
    changed.beam.extrasOptions.conjDist = 7;
    changed.beam.diode.collimationMode = 1;
    const DesignState over = Load(
        "[Options]\nUnitType=2\n[ExtraGB]\nGBWaveLen=-1\nGBMfactor=50\nGBDiodeParamUserType=4\n"
        "GBDiodeParamUserVal=3\nGBDiodeCollimationMode=7\n",
        changed);
    EXPECT_EQ(over.window, (WindowOptions{0, false, false, false, false, true, 4}));
    EXPECT_EQ(over.paraxial.options.advanced.n, 1.5f);
    EXPECT_EQ(over.dof, (analysis::DofOptions{0, 0.5f, false}));
    EXPECT_EQ(over.beam.WavelengthNm(), beam::kDefaultBeamWavelength);
    EXPECT_EQ(over.beam.extrasOptions, DesignState{}.beam.extrasOptions);
    EXPECT_EQ(over.beam.diode, DesignState{}.beam.diode);
    EXPECT_EQ(Load("[Extra]\nCofCCustomVal=1e39\n", changed).dof.cocCustom, analysis::kDefaultCoC);
}

// Every key (and every field of a key with several) holding a value at the ends of the number
// range: what loads is what saving writes, and loading that again gives the same design. A value
// is judged as it is held, so one that a single cannot hold is refused, not taken as 0.
TEST(Settings, ExtremeValuesComeBackAsLoaded) {
    const test::TempDir dir;
    std::mt19937 rng(3);
    DesignState design = RandomDesign(rng);
    design.paraxial.aperture.Add(engine::kStopRadius, CVarType{0, 10, true});
    const std::string base = Saved(design, dir);
    const char* extremes[] = {"1e-320", "-1e-320", "1e39", "nan", "2147483648"};
    std::size_t lineStart = 0;
    int variants = 0;
    while (lineStart < base.size()) {
        const std::size_t lineEnd = std::min(base.find('\n', lineStart), base.size());
        const std::size_t eq = base.find('=', lineStart);
        if (eq < lineEnd) {
            // The value's fields: the whole value, or each field between bars.
            std::vector<std::pair<std::size_t, std::size_t>> fields;
            for (std::size_t from = eq + 1;;) {
                const std::size_t bar = std::min(base.find('|', from), lineEnd);
                fields.emplace_back(from, bar);
                if (bar >= lineEnd) break;
                from = bar + 1;
            }
            for (const auto& [from, to] : fields) {
                for (const char* extreme : extremes) {
                    std::string file = base;
                    file.replace(from, to - from, extreme);
                    SCOPED_TRACE(file.substr(lineStart, file.find('\n', lineStart) - lineStart));
                    const DesignState once = Load(file);
                    ASSERT_TRUE(SameKeptDesign(Load(Saved(once, dir)), once));
                    ++variants;
                }
            }
        }
        lineStart = lineEnd + 1;
    }
    EXPECT_GT(variants, 200);
    EXPECT_EQ(Load("[Extra]\nCofCType=1\nCofCCustomVal=1e-320\n").dof.cocCustom,
              analysis::kDefaultCoC);
}

// The measurement: a file without its section (or a state loaded over an earlier one) opens with
// an empty table in mm; a row still missing its second diameter comes back so; rows that cannot
// be read, counts beyond the keys and units the columns may not use are left out.
TEST(Settings, MeasurementSectionMissingPartialOrDamaged) {
    DesignState before;
    before.measurement.table.rows.push_back({1, {2, 3}});
    before.measurement.zUnit = units::kMetre;
    EXPECT_EQ(Load("[Options]\nUnitType=0\n", before).measurement, MeasurementState{});

    const test::TempDir dir;
    DesignState partial;
    partial.measurement.table = {2, {{-5, {0.5, 0.25}}, {7.5, {0.75, 0}}, {9, {0, 0}}}};
    const MeasurementState back = Load(Saved(partial, dir)).measurement;
    EXPECT_EQ(back.table.axisCount, 2);
    ASSERT_EQ(back.table.rows.size(), 2U);
    EXPECT_EQ(back.table.rows[1], (beam::MeasurementRow{7.5, {0.75, 0}}));

    const MeasurementState damaged =
        Load(
            "[Messung]\nEinheitZ=13\nEinheitD=0\nAchsen=1\nZeilen=5\nZeile1=1;0,5\n"
            "Zeile2=x;1\nZeile3=2;-1\nZeile4=3;1;2\n")
            .measurement;
    EXPECT_EQ(damaged.zUnit, units::kMillimetre);
    EXPECT_EQ(damaged.dUnit, units::kMicron);
    ASSERT_EQ(damaged.table.rows.size(), 1U);
    EXPECT_EQ(damaged.table.rows[0], (beam::MeasurementRow{1, {0.5, 0}}));
}

}  // namespace
}  // namespace rs::app
