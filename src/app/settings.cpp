#include "app/settings.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "text/number_text.h"
#include "text/strings.h"

namespace rs::app {
namespace {

using engine::CVarType;

constexpr const char* kOptions = "Options";
constexpr const char* kLastValues = "LastValues";
constexpr const char* kExtra = "Extra";
constexpr const char* kExtraGB = "ExtraGB";

// No set holds more than three parameters; a count beyond this in a damaged file must not make
// the loader look up millions of keys.
constexpr int kMaxRecordKeys = 100;

float ToSingle(double v) {
    return static_cast<float>(std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

bool GetBool(const IniFile& ini, const char* section, const char* key, bool def) {
    const std::string raw = ini.ReadIniString(section, key, "");
    return raw.empty() ? def : ReadBool(raw);
}

double GetNumber(const IniFile& ini, const char* section, const char* key, double def) {
    const std::string raw = ini.ReadIniString(section, key, "");
    return raw.empty() ? def : text::ReadNumberTolerant(raw);
}

int GetInt(const IniFile& ini, const char* section, const char* key, int def) {
    const std::string raw = ini.ReadIniString(section, key, "");
    return raw.empty() ? def : text::ReadIntTolerant(raw);
}

// Reads one parameter set: its count key, then the numbered records. `accept` decides whether a
// record may join (index in its catalogue, not chosen yet); `add` takes it.
template <typename Accept, typename Add>
void LoadRecords(const IniFile& ini, const char* countKey, const char* recordSuffix, Accept accept,
                 Add add) {
    const int count = std::min(ini.ReadIniInt(kLastValues, countKey), kMaxRecordKeys);
    for (int i = 1; i <= count; ++i) {
        const std::string text = ini.ReadIniString(kLastValues, std::to_string(i) + recordSuffix, "");
        const auto record = ParseRecord(text);
        if (record && accept(*record)) add(*record);
    }
}

void StageRecords(IniFile& ini, const char* countKey, const char* recordSuffix,
                  const std::vector<CVarType>& records) {
    ini.Stage(kLastValues, countKey, std::to_string(records.size()));
    for (std::size_t i = 0; i < records.size(); ++i) {
        ini.Stage(kLastValues, std::to_string(i + 1) + recordSuffix, RecordText(records[i]));
    }
}

bool InRange(double v, double low, double high) { return v >= low && v <= high; }

}  // namespace

bool IsSelectableBeamIndex(int index) { return index >= 0 && index <= 10 && index != 4; }

int ClampSliderPercent(int stored) { return std::clamp(stored, 10, 80); }

bool ReadBool(std::string_view text) {
    std::string t(text::TrimBlanks(text));
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) {
        return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    });
    return t == "true" || t == "wahr" || t == "vrai";
}

std::string BoolText(bool value) { return value ? "True" : "False"; }
std::string NumberText(float value) { return text::ShortestText(value); }
std::string NumberText(double value) { return text::ShortestText(value); }

std::optional<CVarType> ParseRecord(std::string_view textIn) {
    const auto f = text::SplitFields(textIn, '|', 7);
    if (f.size() < 7) return std::nullopt;
    CVarType r;
    const int index = text::ReadIntTolerant(f[0]);
    if (index < INT16_MIN || index > INT16_MAX) return std::nullopt;
    r.nVarType = static_cast<std::int16_t>(index);
    r.sVarValue = ToSingle(text::ReadNumberTolerant(f[1]));
    r.bVarValDef = ReadBool(f[2]);
    r.bLimHihDef = ReadBool(f[3]);
    r.sLimHih = ToSingle(text::ReadNumberTolerant(f[4]));
    r.bLimLowDef = ReadBool(f[5]);
    r.sLimLow = ToSingle(text::ReadNumberTolerant(f[6]));
    return r;
}

std::string RecordText(const CVarType& r) {
    return std::to_string(r.nVarType) + "|" + NumberText(r.sVarValue) + "|" + BoolText(r.bVarValDef) +
           "|" + BoolText(r.bLimHihDef) + "|" + NumberText(r.sLimHih) + "|" +
           BoolText(r.bLimLowDef) + "|" + NumberText(r.sLimLow);
}

engine::SymbolLookup SymbolsFrom(const IniFile& ini, std::string section) {
    return [&ini, section = std::move(section)](std::string_view key, std::string_view fallback) {
        return ini.ReadIniString(section, key, fallback);
    };
}

void LoadSettings(const IniFile& ini, DesignState& state) {
    engine::ParaxialDesign& px = state.paraxial;
    engine::OptionState& opt = px.options;

    px.sliderDefaultPercent = ClampSliderPercent(ini.ReadIniInt(kOptions, "SliderDefaultPercent"));

    // The three parameter sets start empty; a record joins its set only when its index belongs
    // to the catalogue and is not chosen yet (a damaged file must not produce a set the window
    // cannot show).
    px.params.Clear();
    px.aperture.Clear();
    state.beam.axes[0].selection.Clear();
    opt.objAtInfinity = false;
    LoadRecords(
        ini, "VarTypeNos", "VarTypeVal",
        [&](const CVarType& r) {
            return r.nVarType >= 0 && r.nVarType <= 8 && !px.params.Contains(r.nVarType);
        },
        [&](const CVarType& r) {
            bool added = false;
            px.params.Add(r.nVarType, r, &added);
            if (added && r.nVarType == engine::kObjDist && r.sVarValue == engine::kInfinity) {
                opt.objAtInfinity = true;
            }
        });
    const std::string fixed = ini.ReadIniString(kLastValues, "ImgHgtFixed2", "");
    if (!fixed.empty()) {
        state.window.imgHgtFixed = ReadBool(fixed);
        if (state.window.imgHgtFixed) {
            state.window.imgHgtOption = ini.ReadIniInt(kLastValues, "ImgHgtOption2");
        }
    }
    LoadRecords(
        ini, "VarTypeApNos", "VarTypeApVal",
        [&](const CVarType& r) { return r.nVarType >= 0 && r.nVarType <= 4; },
        [&](const CVarType& r) { px.aperture.Add(r.nVarType, r); });
    engine::Selection& beam = state.beam.axes[0].selection;
    LoadRecords(
        ini, "VarTypeGBNos", "VarTypeGBVal",
        [&](const CVarType& r) { return IsSelectableBeamIndex(r.nVarType) && !beam.Contains(r.nVarType); },
        [&](const CVarType& r) { beam.Add(r.nVarType, r); });

    // Advanced values: wavelength | separation | n | n'. Values the entry boxes would refuse
    // keep the current ones, so a damaged file cannot bring in a negative wavelength or index.
    engine::AdvancedOptions& adv = opt.advanced;
    std::optional<double> nImage;
    const std::string advanced = ini.ReadIniString(kLastValues, "Advanced", "");
    if (!advanced.empty()) {
        const auto f = text::SplitFields(advanced, '|', 4);
        if (f.size() == 4) {
            const double wl = text::ReadNumberTolerant(f[0]);
            const double sep = text::ReadNumberTolerant(f[1]);
            const double n = text::ReadNumberTolerant(f[2]);
            const double nImg = text::ReadNumberTolerant(f[3]);
            if (wl == 0 || InRange(wl, 10, 1e6)) adv.wavelength = static_cast<float>(wl);
            if (InRange(sep, -FLT_MAX, FLT_MAX)) adv.separation = static_cast<float>(sep);
            if (InRange(n, 1, 3)) adv.n = static_cast<float>(n);
            if (nImg == 0 || InRange(std::fabs(nImg), 1, 3)) nImage = nImg;
        }
    }

    WindowOptions& win = state.window;
    win.unitType = ini.ReadIniInt(kOptions, "UnitType") == 1 ? 1 : 0;
    win.hideRemConj = GetBool(ini, kOptions, "HideRemConj", false);
    win.drawPoints = GetBool(ini, kOptions, "DrawPoints", false);
    opt.advOptions = GetBool(ini, kOptions, "AdvOptions", false);
    opt.mirrorMode = GetBool(ini, kOptions, "MirrorMode", false);
    win.positiveObj = GetBool(ini, kOptions, "PositiveObj", false);
    win.drawHaltingRay = GetBool(ini, kOptions, "DrawHaltingRay", false);

    // The image index follows the mode: positive in a lens, negative in a mirror, which also has
    // no principal-plane separation.
    if (nImage) adv.nImage = static_cast<float>(*nImage == 0 ? 1.0 : std::fabs(*nImage));
    adv.nImage = std::fabs(adv.nImage);
    if (opt.mirrorMode) {
        adv.separation = 0;
        adv.nImage = -adv.nImage;
    }

    analysis::DofOptions& dof = state.dof;
    dof.showExtra = GetBool(ini, kExtra, "ShowExtra", false);
    dof.cocType = GetInt(ini, kExtra, "CofCType", 0);
    const std::string coc = ini.ReadIniString(kExtra, "CofCCustomVal", "");
    if (!coc.empty()) {
        const double c = text::ReadNumberTolerant(coc);
        dof.cocCustom = (c > 0 && c <= FLT_MAX) ? static_cast<float>(c) : analysis::kDefaultCoC;
    }

    beam::BeamDesign& gb = state.beam;
    beam::BeamExtrasOptions& gx = gb.extrasOptions;
    const beam::BeamExtrasOptions standardExtras;
    const beam::DiodeSettings standardDiode;
    gb.beamMode = GetBool(ini, kExtraGB, "GaussianBeam", false);
    gx.showExtra = GetBool(ini, kExtraGB, "ShowExtraGB", standardExtras.showExtra);
    const double waveLen = GetNumber(ini, kExtraGB, "GBWaveLen", beam::kDefaultBeamWavelength);
    gb.SetWavelengthNm(waveLen > 0 ? waveLen : beam::kDefaultBeamWavelength);
    gx.mFactorUse = GetBool(ini, kExtraGB, "GBMfactorUse", standardExtras.mFactorUse);
    gx.mFactor = GetNumber(ini, kExtraGB, "GBMfactor", standardExtras.mFactor);
    if (!(gx.mFactor > 0 && gx.mFactor < 50)) gx.mFactor = standardExtras.mFactor;
    gx.drgScale = GetNumber(ini, kExtraGB, "GBDrgScale", standardExtras.drgScale);
    gx.conjDist = GetNumber(ini, kExtraGB, "GBConjDist", standardExtras.conjDist);
    gx.drgScaleType = GetInt(ini, kExtraGB, "GBDrgScaleType", standardExtras.drgScaleType);
    gx.detectorOn = GetBool(ini, kExtraGB, "GBDetDistUse", standardExtras.detectorOn);
    gx.detectorDistance = GetNumber(ini, kExtraGB, "GBDetDst", standardExtras.detectorDistance);
    beam::DiodeSettings& diode = gb.diode;
    diode.diodeMode = GetBool(ini, kExtraGB, "GaussianBeamRect", standardDiode.diodeMode);
    diode.mFactor = GetNumber(ini, kExtraGB, "GBDiodeMfactor", standardDiode.mFactor);
    if (!(diode.mFactor > 0 && diode.mFactor < 50)) diode.mFactor = standardDiode.mFactor;
    // The diode's own beam parameter: a kind outside 5..7 falls back to the divergence, whose
    // value (0) is then taken from axis 0 when it is first needed.
    diode.paramValues = {};
    const int kind = GetInt(ini, kExtraGB, "GBDiodeParamUserType", 0);
    if (kind >= 5 && kind <= 7) {
        diode.paramKind = kind;
        const double v = GetNumber(ini, kExtraGB, "GBDiodeParamUserVal", 0);
        diode.paramValues[static_cast<std::size_t>(kind)] = v > 0 ? v : 0;
    } else {
        diode.paramKind = 6;
    }
    diode.circularise = GetBool(ini, kExtraGB, "GBDideCircularise", standardDiode.circularise);
    diode.collimationMode =
        GetInt(ini, kExtraGB, "GBDiodeCollimationMode", standardDiode.collimationMode) == 1 ? 1 : 0;

    units::LoadUnits(state.units, [&](std::string_view key) { return ini.ReadIniString("Units", key, ""); });

    const int symbolMode = win.unitType == 1 ? 1 : 0;
    const engine::SymbolLookup symbols = SymbolsFrom(ini);
    px.symbols.InitParamSymbols(symbolMode, symbols);
    px.symbols.InitCardinalSymbols(symbolMode, symbols);
    gb.symbols.Init(symbolMode, SymbolsFrom(ini, "SymbolsGB"));
}

WriteStatus SaveSettings(const DesignState& state, IniFile& ini) {
    const engine::ParaxialDesign& px = state.paraxial;
    const engine::OptionState& opt = px.options;

    StageRecords(ini, "VarTypeNos", "VarTypeVal", px.params.Entries());
    ini.Stage(kLastValues, "ImgHgtFixed2", BoolText(state.window.imgHgtFixed));
    ini.Stage(kLastValues, "ImgHgtOption2",
              std::to_string(state.window.imgHgtFixed ? state.window.imgHgtOption : 0));
    StageRecords(ini, "VarTypeApNos", "VarTypeApVal", px.aperture.Entries());
    StageRecords(ini, "VarTypeGBNos", "VarTypeGBVal", state.beam.axes[0].selection.Entries());

    const engine::AdvancedOptions& adv = opt.advanced;
    ini.Stage(kLastValues, "Advanced",
              NumberText(adv.wavelength) + "|" + NumberText(adv.separation) + "|" +
                  NumberText(adv.n) + "|" + NumberText(adv.nImage));
    const WindowOptions& win = state.window;
    ini.Stage(kOptions, "UnitType", std::to_string(win.unitType));
    ini.Stage(kOptions, "HideRemConj", BoolText(win.hideRemConj));
    ini.Stage(kOptions, "DrawPoints", BoolText(win.drawPoints));
    ini.Stage(kOptions, "AdvOptions", BoolText(opt.advOptions));
    ini.Stage(kOptions, "MirrorMode", BoolText(opt.mirrorMode));
    ini.Stage(kOptions, "PositiveObj", BoolText(win.positiveObj));
    ini.Stage(kOptions, "DrawHaltingRay", BoolText(win.drawHaltingRay));

    ini.Stage(kExtra, "ShowExtra", BoolText(state.dof.showExtra));
    ini.Stage(kExtra, "CofCType", std::to_string(state.dof.cocType));
    ini.Stage(kExtra, "CofCCustomVal", NumberText(state.dof.cocCustom));

    const beam::BeamDesign& gb = state.beam;
    const beam::BeamExtrasOptions& gx = gb.extrasOptions;
    ini.Stage(kExtraGB, "GaussianBeam", BoolText(gb.beamMode));
    ini.Stage(kExtraGB, "ShowExtraGB", BoolText(gx.showExtra));
    ini.Stage(kExtraGB, "GBWaveLen", NumberText(gb.WavelengthNm()));
    ini.Stage(kExtraGB, "GBMfactorUse", BoolText(gx.mFactorUse));
    ini.Stage(kExtraGB, "GBMfactor", NumberText(gx.mFactor));
    ini.Stage(kExtraGB, "GBDrgScale", NumberText(gx.drgScale));
    ini.Stage(kExtraGB, "GBConjDist", NumberText(gx.conjDist));
    ini.Stage(kExtraGB, "GBDrgScaleType", std::to_string(gx.drgScaleType));
    ini.Stage(kExtraGB, "GBDetDistUse", BoolText(gx.detectorOn));
    ini.Stage(kExtraGB, "GBDetDst", NumberText(gx.detectorDistance));
    const beam::DiodeSettings& diode = gb.diode;
    ini.Stage(kExtraGB, "GaussianBeamRect", BoolText(diode.diodeMode));
    ini.Stage(kExtraGB, "GBDiodeMfactor", NumberText(diode.mFactor));
    ini.Stage(kExtraGB, "GBDiodeParamUserType", std::to_string(diode.paramKind));
    if (diode.paramKind >= 5 && diode.paramKind <= 7) {
        ini.Stage(kExtraGB, "GBDiodeParamUserVal",
                  NumberText(diode.paramValues[static_cast<std::size_t>(diode.paramKind)]));
    }
    ini.Stage(kExtraGB, "GBDideCircularise", BoolText(diode.circularise));
    ini.Stage(kExtraGB, "GBDiodeCollimationMode", std::to_string(diode.collimationMode));

    for (const auto& [key, value] : units::SaveUnits(state.units)) ini.Stage("Units", key, value);
    return ini.Commit();
}

std::optional<std::array<double, 4>> ReadFormPosition(const IniFile& ini, std::string_view form) {
    const std::string raw = ini.ReadIniString("FormPositions", "FormPosn_" + std::string(form), "");
    if (raw.empty()) return std::nullopt;
    const auto f = text::SplitFields(raw, '|', 4);
    if (f.size() != 4) return std::nullopt;
    std::array<double, 4> pos{};
    for (std::size_t i = 0; i < 4; ++i) pos[i] = text::ReadNumberTolerant(f[i]);
    return pos;
}

WriteStatus WriteFormPosition(IniFile& ini, std::string_view form, const std::array<double, 4>& pos) {
    std::string value;
    for (std::size_t i = 0; i < 4; ++i) value += (i ? "|" : "") + NumberText(pos[i]);
    return ini.WriteIniString("FormPositions", "FormPosn_" + std::string(form), value);
}

}  // namespace rs::app
