#include "app/settings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <variant>

#include "app/held_lens.h"
#include "app/presentation.h"
#include "beam/beam_extras.h"
#include "beam/caustic_fit.h"
#include "beam/diode.h"
#include "engine/numbers.h"
#include "text/number_text.h"
#include "text/strings.h"

namespace rs::app {
namespace {

using engine::CVarType;

constexpr const char* kOptions = "Options";
constexpr const char* kLastValues = "LastValues";
constexpr const char* kExtra = "Extra";
constexpr const char* kExtraGB = "ExtraGB";

// Where the design's keys are read and written: the file's own sections, or, for the reference
// design, one section of their own that holds each key as "<section>.<key>". One reader and one
// writer thus serve both designs, and the reference can never miss a key the design has.
class Sections {
public:
    explicit Sections(const IniFile& file, std::string prefix = {})
        : in_(&file), prefix_(std::move(prefix)) {}
    explicit Sections(IniFile& file, std::string prefix = {})
        : in_(&file), out_(&file), prefix_(std::move(prefix)) {}

    std::string ReadIniString(std::string_view section, std::string_view key,
                              std::string_view def = "") const {
        return prefix_.empty() ? in_->ReadIniString(section, key, def)
                               : in_->ReadIniString(prefix_, Key(section, key), def);
    }
    int ReadIniInt(std::string_view section, std::string_view key) const {
        return prefix_.empty() ? in_->ReadIniInt(section, key)
                               : in_->ReadIniInt(prefix_, Key(section, key));
    }
    void Stage(std::string_view section, std::string_view key, std::string_view value) {
        if (prefix_.empty()) {
            out_->Stage(section, key, value);
        } else {
            out_->Stage(prefix_, Key(section, key), value);
        }
    }
    // The file itself, for what belongs to the user rather than to one design (the symbols).
    const IniFile& File() const { return *in_; }

private:
    static std::string Key(std::string_view section, std::string_view key) {
        return std::string(section) + "." + std::string(key);
    }
    const IniFile* in_;
    IniFile* out_ = nullptr;
    std::string prefix_;
};

// No set holds more than three parameters; a count beyond this in a damaged file must not make
// the loader look up millions of keys.
constexpr int kMaxRecordKeys = 100;

std::string BoolText(bool value) {
    return value ? "True" : "False";
}
std::string NumberText(float value) {
    return text::ShortestText(value);
}
std::string NumberText(double value) {
    return text::ShortestText(value);
}

bool InRange(double v, double low, double high) {
    return v >= low && v <= high;
}

// "index|value|defined|hiDefined|hi|lowDefined|low"; nothing when fewer than seven fields.
// Numbers beyond single precision are held at its end.
std::optional<CVarType> ParseRecord(std::string_view textIn) {
    const auto f = text::SplitFields(textIn, '|', 7);
    if (f.size() < 7) return std::nullopt;
    CVarType r;
    const int index = text::ReadIntTolerant(f[0]);
    if (index < INT16_MIN || index > INT16_MAX) return std::nullopt;
    r.nVarType = static_cast<std::int16_t>(index);
    r.sVarValue = engine::ClampToFloat(text::ReadNumberTolerant(f[1]));
    r.bVarValDef = ReadBool(f[2]);
    r.bLimHihDef = ReadBool(f[3]);
    r.sLimHih = engine::ClampToFloat(text::ReadNumberTolerant(f[4]));
    r.bLimLowDef = ReadBool(f[5]);
    r.sLimLow = engine::ClampToFloat(text::ReadNumberTolerant(f[6]));
    return r;
}

std::string RecordText(const CVarType& r) {
    return std::to_string(r.nVarType) + "|" + NumberText(r.sVarValue) + "|" +
           BoolText(r.bVarValDef) + "|" + BoolText(r.bLimHihDef) + "|" + NumberText(r.sLimHih) +
           "|" + BoolText(r.bLimLowDef) + "|" + NumberText(r.sLimLow);
}

// --- The key table ---------------------------------------------------------------------------

// How a plain value is written and read back. Every value travels as a double, which holds each
// of these exactly.
enum class Codec {
    Flag,      // "True" / "False"; see ReadBool
    Int,       // a decimal integer at the start of the value text
    WholeInt,  // the same, read by the file's integer reader, which sees past 199 characters
    Single,    // shortest text of a single; a number beyond its range is refused
    Double,    // shortest text of a double
};

// One key holding one value of the design.
struct Setting {
    const char* section;
    const char* key;
    Codec codec;
    double (*get)(const DesignState&);
    void (*set)(DesignState&, double);
    double standard;                   // what a missing key or a refused value gives
    bool (*accept)(double) = nullptr;  // nullptr: every value is taken
    bool missingKeeps = false;         // a missing key leaves the value as it is
};

// Keys whose value is more than one plain value read and write themselves.
struct Irregular {
    void (*load)(const Sections&, DesignState&);
    void (*save)(const DesignState&, Sections&);
};

using Entry = std::variant<Setting, Irregular>;

using Options = engine::OptionState;
using Dof = analysis::DofOptions;
using Extras = beam::BeamExtrasOptions;
using Diode = beam::DiodeSettings;

// The part of the design that holds members of `Owner` (const when the design is).
template <class Owner, class State>
auto& PartOf(State& s) {
    if constexpr (std::is_same_v<Owner, WindowOptions>) return (s.window);
    if constexpr (std::is_same_v<Owner, Options>) return (s.paraxial.options);
    if constexpr (std::is_same_v<Owner, Dof>) return (s.dof);
    if constexpr (std::is_same_v<Owner, Extras>) return (s.beam.extrasOptions);
    if constexpr (std::is_same_v<Owner, Diode>) return (s.beam.diode);
}

template <class Owner, class T>
Owner OwnerOf(T Owner::*);

// The plain value `Member`; its standard is the member's value in a fresh design.
template <auto Member>
constexpr Entry Value(const char* section, const char* key, Codec codec,
                      bool (*accept)(double) = nullptr, bool missingKeeps = false) {
    using Owner = decltype(OwnerOf(Member));
    using T = std::remove_cvref_t<decltype(std::declval<Owner&>().*Member)>;
    return Setting{
        section,
        key,
        codec,
        [](const DesignState& s) { return static_cast<double>(PartOf<Owner>(s).*Member); },
        [](DesignState& s, double v) { PartOf<Owner>(s).*Member = static_cast<T>(v); },
        static_cast<double>(Owner{}.*Member),
        accept,
        missingKeeps};
}

bool ZeroOrOne(double v) {
    return v == 0 || v == 1;
}
bool Positive(double v) {
    return v > 0;
}
bool PositiveSingle(double v) {
    return v > 0 && engine::FitsFloat(v);
}
bool IsDiodeParamKind(double v) {
    return v >= 5 && v <= 7;
}

// Reads one parameter set: its count key, then the numbered records. `accept` decides whether a
// record may join (index in its catalogue, not chosen yet); `add` takes it.
template <typename Accept, typename Add>
void LoadRecords(const Sections& ini, const char* countKey, const char* recordSuffix, Accept accept,
                 Add add) {
    const int count = std::min(ini.ReadIniInt(kLastValues, countKey), kMaxRecordKeys);
    for (int i = 1; i <= count; ++i) {
        const std::string text =
            ini.ReadIniString(kLastValues, std::to_string(i) + recordSuffix, "");
        const auto record = ParseRecord(text);
        if (record && accept(*record)) add(*record);
    }
}

void SaveRecords(Sections& ini, const char* countKey, const char* recordSuffix,
                 const engine::Selection& selection) {
    const std::vector<CVarType>& records = selection.Entries();
    ini.Stage(kLastValues, countKey, std::to_string(records.size()));
    for (std::size_t i = 0; i < records.size(); ++i) {
        ini.Stage(kLastValues, std::to_string(i + 1) + recordSuffix, RecordText(records[i]));
    }
}

// The three parameter sets start empty; a record joins its set only when its index belongs to
// the catalogue and is not chosen yet (a damaged file must not produce a set the window cannot
// show).
void LoadParams(const Sections& ini, DesignState& state) {
    engine::ParaxialDesign& px = state.paraxial;
    px.params.Clear();
    px.options.objAtInfinity = false;
    LoadRecords(
        ini, "VarTypeNos", "VarTypeVal",
        [&](const CVarType& r) {
            return r.nVarType >= 0 && r.nVarType <= 8 && !px.params.Contains(r.nVarType);
        },
        [&](const CVarType& r) {
            bool added = false;
            px.params.Add(r.nVarType, r, &added);
            if (added && r.nVarType == engine::kObjDist && r.sVarValue == engine::kInfinity) {
                px.options.objAtInfinity = true;
            }
        });
}
void SaveParams(const DesignState& state, Sections& ini) {
    SaveRecords(ini, "VarTypeNos", "VarTypeVal", state.paraxial.params);
}

void LoadAperture(const Sections& ini, DesignState& state) {
    engine::Selection& aperture = state.paraxial.aperture;
    aperture.Clear();
    LoadRecords(
        ini, "VarTypeApNos", "VarTypeApVal",
        [&](const CVarType& r) { return r.nVarType >= 0 && r.nVarType <= 4; },
        [&](const CVarType& r) { aperture.Add(r.nVarType, r); });
}
void SaveAperture(const DesignState& state, Sections& ini) {
    SaveRecords(ini, "VarTypeApNos", "VarTypeApVal", state.paraxial.aperture);
}

void LoadBeamParams(const Sections& ini, DesignState& state) {
    engine::Selection& beam = state.beam.axes[0].selection;
    beam.Clear();
    LoadRecords(
        ini, "VarTypeGBNos", "VarTypeGBVal",
        [&](const CVarType& r) {
            return beam::IsSelectableBeamIndex(r.nVarType) && !beam.Contains(r.nVarType);
        },
        [&](const CVarType& r) { beam.Add(r.nVarType, r); });
}
void SaveBeamParams(const DesignState& state, Sections& ini) {
    SaveRecords(ini, "VarTypeGBNos", "VarTypeGBVal", state.beam.axes[0].selection);
}

// The image-format choice: the entry counts only while the image height is fixed.
void LoadImageHeight(const Sections& ini, DesignState& state) {
    const std::string fixed = ini.ReadIniString(kLastValues, "ImgHgtFixed2", "");
    if (fixed.empty()) return;
    state.window.imgHgtFixed = ReadBool(fixed);
    if (state.window.imgHgtFixed) {
        state.window.imgHgtOption = ini.ReadIniInt(kLastValues, "ImgHgtOption2");
    }
}
void SaveImageHeight(const DesignState& state, Sections& ini) {
    ini.Stage(kLastValues, "ImgHgtFixed2", BoolText(state.window.imgHgtFixed));
    ini.Stage(kLastValues, "ImgHgtOption2",
              std::to_string(state.window.imgHgtFixed ? state.window.imgHgtOption : 0));
}

// Advanced values: wavelength | separation | n | n'. Values the entry boxes would refuse keep
// the current ones, so a damaged file cannot bring in a negative wavelength or index. The image
// index is stored as a magnitude here; the mode gives it its sign once the options are read.
void LoadAdvanced(const Sections& ini, DesignState& state) {
    const std::string advanced = ini.ReadIniString(kLastValues, "Advanced", "");
    if (advanced.empty()) return;
    const auto f = text::SplitFields(advanced, '|', 4);
    if (f.size() != 4) return;
    engine::AdvancedOptions& adv = state.paraxial.options.advanced;
    const double wl = text::ReadNumberTolerant(f[0]);
    const double sep = text::ReadNumberTolerant(f[1]);
    const double n = text::ReadNumberTolerant(f[2]);
    const double nImg = text::ReadNumberTolerant(f[3]);
    if (wl == 0 || InRange(wl, 10, 1e6)) adv.wavelength = static_cast<float>(wl);
    if (engine::FitsFloat(sep)) adv.separation = static_cast<float>(sep);
    if (InRange(n, 1, 3)) adv.n = static_cast<float>(n);
    if (nImg == 0 || InRange(std::fabs(nImg), 1, 3)) {
        adv.nImage = static_cast<float>(nImg == 0 ? 1.0 : std::fabs(nImg));
    }
}
void SaveAdvanced(const DesignState& state, Sections& ini) {
    const engine::AdvancedOptions& adv = state.paraxial.options.advanced;
    ini.Stage(kLastValues, "Advanced",
              NumberText(adv.wavelength) + "|" + NumberText(adv.separation) + "|" +
                  NumberText(adv.n) + "|" + NumberText(adv.nImage));
}

// The diode's own beam parameter: a kind outside 5..7 falls back to the divergence, whose value
// (0) is then taken from axis 0 when it is first needed; a value counts only with a valid kind.
// The file holds the kind in effect, which axis 0 may force (so its beam parameters and the
// wavelength are read before); a kind it overrules gives way with its value.
void LoadDiodeParam(const Sections& ini, DesignState& state) {
    beam::DiodeSettings& diode = state.beam.diode;
    diode.paramValues = {};
    const std::string kindText = ini.ReadIniString(kExtraGB, "GBDiodeParamUserType", "");
    const int kind = kindText.empty() ? 0 : text::ReadIntTolerant(kindText);
    if (!IsDiodeParamKind(kind)) {
        diode.paramKind = beam::kGbObjDiv;
        return;
    }
    diode.paramKind = kind;
    const std::string valueText = ini.ReadIniString(kExtraGB, "GBDiodeParamUserVal", "");
    const double v = valueText.empty() ? 0 : text::ReadNumberTolerant(valueText);
    diode.paramValues[static_cast<std::size_t>(kind)] = v > 0 ? v : 0;
    beam::AdoptDiodeParamKind(state.beam);
}
void SaveDiodeParam(const DesignState& state, Sections& ini) {
    // The kind in force with axis 1's beam, also when no solve has adopted it yet.
    beam::BeamDesign design = state.beam;
    beam::AdoptDiodeParamKind(design);
    const int kind = design.diode.paramKind;
    ini.Stage(kExtraGB, "GBDiodeParamUserType", std::to_string(kind));
    ini.Stage(kExtraGB, "GBDiodeParamUserVal",
              NumberText(design.diode.paramValues[static_cast<std::size_t>(kind)]));
}

void LoadUnitChoices(const Sections& ini, DesignState& state) {
    units::LoadUnits(state.units,
                     [&](std::string_view key) { return ini.ReadIniString("Units", key, ""); });
}
void SaveUnitChoices(const DesignState& state, Sections& ini) {
    for (const auto& [key, value] : units::SaveUnits(state.units)) ini.Stage("Units", key, value);
}

// The catalogue lens the design holds; an older file without the key holds none.
void LoadHeldLens(const Sections& ini, DesignState& state) {
    state.lens = ParseHeldLens(
        [&ini](const std::string& key) { return ini.ReadIniString(kLastValues, key, ""); });
}
void SaveHeldLens(const DesignState& state, Sections& ini) {
    if (!state.lens) {
        ini.Stage(kLastValues, kHeldLensKey, "");
        return;
    }
    for (const auto& [key, value] : HeldLensKeys(*state.lens)) ini.Stage(kLastValues, key, value);
}

// The measurement of the "Messung" tab: its units, the element's position, the number of diameter
// columns and one key per row in the row's own text form. A file without the section opens with
// an empty table; rows that cannot be read are left out, so a damaged file never brings in a row
// the table could not hold. A row may hold fewer diameters than the table has columns.
constexpr const char* kMeasurement = "Messung";

void LoadMeasurement(const Sections& ini, DesignState& state) {
    MeasurementState& m = state.measurement;
    m = MeasurementState{};
    const auto unit = [&](const char* key, int slot, int& code) {
        const std::string raw = ini.ReadIniString(kMeasurement, key, "");
        const int read = raw.empty() ? code : text::ReadIntTolerant(raw);
        if (units::IsAllowed(units::Group::GB, slot, read)) code = read;
    };
    unit("EinheitZ", beam::kGbObjDist, m.zUnit);
    unit("EinheitD", beam::kGbObjRadius, m.dUnit);
    const double position =
        text::ReadNumberTolerant(ini.ReadIniString(kMeasurement, "Element", ""));
    if (std::isfinite(position) && engine::FitsFloat(position)) m.elementPosition = position;
    m.table.axisCount =
        std::clamp(ini.ReadIniInt(kMeasurement, "Achsen"), 1, beam::kMaxMeasurementAxes);
    const int count = std::clamp(ini.ReadIniInt(kMeasurement, "Zeilen"), 0,
                                 static_cast<int>(beam::kMaxMeasurementRows));
    for (int i = 1; i <= count; ++i) {
        const beam::MeasurementParse row = beam::ParseMeasurementText(
            ini.ReadIniString(kMeasurement, "Zeile" + std::to_string(i), ""));
        if (row.ok() && row.table.rows.size() == 1 && row.table.axisCount <= m.table.axisCount) {
            m.table.rows.push_back(row.table.rows.front());
        }
    }
}
void SaveMeasurement(const DesignState& state, Sections& ini) {
    const MeasurementState& m = state.measurement;
    ini.Stage(kMeasurement, "EinheitZ", std::to_string(m.zUnit));
    ini.Stage(kMeasurement, "EinheitD", std::to_string(m.dUnit));
    ini.Stage(kMeasurement, "Element", NumberText(m.elementPosition));
    ini.Stage(kMeasurement, "Achsen", std::to_string(m.table.axisCount));
    // A row still waiting for its second diameter is kept with the first; one without any
    // diameter has nothing worth keeping.
    int written = 0;
    for (const beam::MeasurementRow& row : m.table.rows) {
        int given = 0;
        while (given < m.table.axisCount && row.d[static_cast<std::size_t>(given)] > 0) ++given;
        if (given == 0) continue;
        ini.Stage(kMeasurement, "Zeile" + std::to_string(++written),
                  beam::MeasurementRowText(row, given));
    }
    ini.Stage(kMeasurement, "Zeilen", std::to_string(written));
}

// The studies, one key prefix per mode; a file without them gives the default studies.
constexpr const char* kStudy = "Study";
constexpr std::array kStudyPrefixes = {"", "GB"};

template <class State>
auto& StudyOf(State& state, std::size_t mode) {
    return mode == 0 ? state.study : state.studyBeam;
}

void LoadStudies(const Sections& ini, DesignState& state) {
    for (std::size_t mode = 0; mode < kStudyPrefixes.size(); ++mode) {
        const std::string p = kStudyPrefixes[mode];
        const auto read = [&](const char* key) { return ini.ReadIniString(kStudy, p + key, ""); };
        StudyChoice c;
        c.parameter = read("Param");
        c.quantity = read("Y");
        c.quantity2 = read("Y2");
        c.logarithmic = ReadBool(read("Log"));
        const auto from = text::ParseTypedNumber(read("From"));
        const auto to = text::ParseTypedNumber(read("To"));
        c.rangeSet = from && to && std::isfinite(*from) && std::isfinite(*to) && *from != *to;
        if (c.rangeSet) {
            c.from = *from;
            c.to = *to;
        }
        StudyOf(state, mode) = std::move(c);
    }
}
void SaveStudies(const DesignState& state, Sections& ini) {
    for (std::size_t mode = 0; mode < kStudyPrefixes.size(); ++mode) {
        const std::string p = kStudyPrefixes[mode];
        const StudyChoice& c = StudyOf(state, mode);
        ini.Stage(kStudy, p + "Param", c.parameter);
        ini.Stage(kStudy, p + "Y", c.quantity);
        ini.Stage(kStudy, p + "Y2", c.quantity2);
        ini.Stage(kStudy, p + "Log", BoolText(c.logarithmic));
        ini.Stage(kStudy, p + "From", c.rangeSet ? NumberText(c.from) : "");
        ini.Stage(kStudy, p + "To", c.rangeSet ? NumberText(c.to) : "");
    }
}

constexpr bool kMissingKeeps = true;

// Every key the design is saved under, in the order a new file lists them; loading reads them in
// the same order.
constexpr Entry kEntries[] = {
    Irregular{LoadParams, SaveParams},
    Irregular{LoadImageHeight, SaveImageHeight},
    Irregular{LoadAperture, SaveAperture},
    Irregular{LoadBeamParams, SaveBeamParams},
    Irregular{LoadAdvanced, SaveAdvanced},
    Value<&WindowOptions::unitType>(kOptions, "UnitType", Codec::WholeInt, ZeroOrOne),
    Value<&WindowOptions::hideRemConj>(kOptions, "HideRemConj", Codec::Flag),
    Value<&WindowOptions::drawPoints>(kOptions, "DrawPoints", Codec::Flag),
    Value<&Options::advOptions>(kOptions, "AdvOptions", Codec::Flag),
    Value<&Options::mirrorMode>(kOptions, "MirrorMode", Codec::Flag),
    Value<&WindowOptions::positiveObj>(kOptions, "PositiveObj", Codec::Flag),
    Value<&WindowOptions::drawHaltingRay>(kOptions, "DrawHaltingRay", Codec::Flag),
    Value<&Dof::showExtra>(kExtra, "ShowExtra", Codec::Flag),
    Value<&Dof::cocType>(kExtra, "CofCType", Codec::Int),
    Value<&Dof::cocCustom>(kExtra, "CofCCustomVal", Codec::Single, PositiveSingle, kMissingKeeps),
    Setting{kExtraGB, "GaussianBeam", Codec::Flag,
            [](const DesignState& s) { return s.beam.beamMode ? 1.0 : 0.0; },
            [](DesignState& s, double v) { s.beam.beamMode = v != 0; }, 0},
    Value<&Extras::showExtra>(kExtraGB, "ShowExtraGB", Codec::Flag),
    Setting{kExtraGB, "GBWaveLen", Codec::Double,
            [](const DesignState& s) { return s.beam.WavelengthNm(); },
            [](DesignState& s, double v) { s.beam.SetWavelengthNm(v); },
            beam::kDefaultBeamWavelength, Positive},
    Value<&Extras::mFactorUse>(kExtraGB, "GBMfactorUse", Codec::Flag),
    Value<&Extras::mFactor>(kExtraGB, "GBMfactor", Codec::Double, beam::IsValidMSquared),
    Value<&Extras::drgScale>(kExtraGB, "GBDrgScale", Codec::Double),
    Value<&Extras::conjDist>(kExtraGB, "GBConjDist", Codec::Double),
    Value<&Extras::drgScaleType>(kExtraGB, "GBDrgScaleType", Codec::Int),
    Value<&Extras::detectorOn>(kExtraGB, "GBDetDistUse", Codec::Flag),
    Value<&Extras::detectorDistance>(kExtraGB, "GBDetDst", Codec::Double),
    Value<&Diode::diodeMode>(kExtraGB, "GaussianBeamRect", Codec::Flag),
    Value<&Diode::mFactor>(kExtraGB, "GBDiodeMfactor", Codec::Double, beam::IsValidMSquared),
    Irregular{LoadDiodeParam, SaveDiodeParam},
    Value<&Diode::circularise>(kExtraGB, "GBDideCircularise", Codec::Flag),
    Value<&Diode::collimationMode>(kExtraGB, "GBDiodeCollimationMode", Codec::Int, ZeroOrOne),
    Irregular{LoadUnitChoices, SaveUnitChoices},
    Irregular{LoadHeldLens, SaveHeldLens},
    Irregular{LoadMeasurement, SaveMeasurement},
    Irregular{LoadStudies, SaveStudies},
};

void Load(const Sections& ini, const Setting& k, DesignState& state) {
    const std::string raw = ini.ReadIniString(k.section, k.key, "");
    if (raw.empty()) {
        if (!k.missingKeeps) k.set(state, k.standard);
        return;
    }
    double v = 0;
    switch (k.codec) {
        case Codec::Flag:
            v = ReadBool(raw) ? 1 : 0;
            break;
        case Codec::Int:
            v = text::ReadIntTolerant(raw);
            break;
        case Codec::WholeInt:
            v = ini.ReadIniInt(k.section, k.key);
            break;
        case Codec::Single:
        case Codec::Double:
            v = text::ReadNumberTolerant(raw);
            break;
    }
    if (k.codec == Codec::Single && !engine::FitsFloat(v)) {
        k.set(state, k.standard);
        return;
    }
    // The value is judged as it is held (a single drops what lies below its smallest number), so
    // a value that passes is also one that saving writes and the next load takes again.
    k.set(state, v);
    if (k.accept && !k.accept(k.get(state))) k.set(state, k.standard);
}

void Save(const DesignState& state, const Setting& k, Sections& ini) {
    const double v = k.get(state);
    std::string text;
    switch (k.codec) {
        case Codec::Flag:
            text = BoolText(v != 0);
            break;
        case Codec::Int:
        case Codec::WholeInt:
            text = std::to_string(static_cast<int>(v));
            break;
        case Codec::Single:
            text = NumberText(static_cast<float>(v));
            break;
        case Codec::Double:
            text = NumberText(v);
            break;
    }
    ini.Stage(k.section, k.key, text);
}

}  // namespace

bool ReadBool(std::string_view text) {
    std::string t(text::TrimBlanks(text));
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) {
        return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    });
    return t == "true" || t == "wahr" || t == "vrai";
}

engine::SymbolLookup SymbolsFrom(const IniFile& ini, std::string section) {
    return [&ini, section = std::move(section)](std::string_view key, std::string_view fallback) {
        return ini.ReadIniString(section, key, fallback);
    };
}

namespace {

void LoadDesign(const Sections& ini, DesignState& state) {
    // The slider percentage is the user's own edit of the file; the program never writes it.
    state.paraxial.sliderDefaultPercent =
        std::clamp(ini.File().ReadIniInt(kOptions, "SliderDefaultPercent"), 10, 80);

    for (const Entry& entry : kEntries) {
        if (const auto* k = std::get_if<Setting>(&entry)) {
            Load(ini, *k, state);
        } else {
            std::get<Irregular>(entry).load(ini, state);
        }
    }

    // The image index follows the mode: positive in a lens, negative in a mirror, which also has
    // no principal-plane separation.
    engine::OptionState& opt = state.paraxial.options;
    opt.advanced.nImage = std::fabs(opt.advanced.nImage);
    if (opt.mirrorMode) {
        opt.advanced.separation = 0;
        opt.advanced.nImage = -opt.advanced.nImage;
    }

    // The symbols are the user's, shared by every design the file holds.
    const int symbolMode = state.window.unitType == 1 ? 1 : 0;
    const engine::SymbolLookup symbols = SymbolsFrom(ini.File());
    state.paraxial.symbols.InitParamSymbols(symbolMode, symbols);
    state.paraxial.symbols.InitCardinalSymbols(symbolMode, symbols);
    state.beam.symbols.Init(symbolMode, SymbolsFrom(ini.File(), "SymbolsGB"));
}

void StageDesign(const DesignState& state, Sections& ini) {
    for (const Entry& entry : kEntries) {
        if (const auto* k = std::get_if<Setting>(&entry)) {
            Save(state, *k, ini);
        } else {
            std::get<Irregular>(entry).save(state, ini);
        }
    }
}

constexpr const char* kReference = "Referenz";
// Set while a reference is kept; clearing it sets only this flag, the old keys stay unread.
constexpr const char* kReferencePinned = "Gemerkt";

}  // namespace

void LoadSettings(const IniFile& ini, DesignState& state) {
    LoadDesign(Sections(ini), state);
}

WriteStatus SaveSettings(const DesignState& state, IniFile& ini) {
    StageSettings(state, ini);
    return ini.Commit();
}

void StageSettings(const DesignState& state, IniFile& ini) {
    Sections sections(ini);
    StageDesign(state, sections);
}

std::optional<DesignState> LoadReference(const IniFile& ini) {
    if (!ReadBool(ini.ReadIniString(kReference, kReferencePinned, ""))) return std::nullopt;
    DesignState reference;
    LoadDesign(Sections(ini, kReference), reference);
    // The loader takes what it can read; a reference that does not come out as a complete
    // design of its mode was damaged and has nothing to compare with.
    const bool complete =
        reference.beam.beamMode ? BeamComplete(reference) : ParaxialComplete(reference);
    if (!complete) return std::nullopt;
    return reference;
}

void StageReference(const DesignState* reference, IniFile& ini) {
    ini.Stage(kReference, kReferencePinned, BoolText(reference != nullptr));
    if (!reference) return;
    Sections sections(ini, kReference);
    StageDesign(*reference, sections);
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

WriteStatus WriteFormPosition(IniFile& ini, std::string_view form,
                              const std::array<double, 4>& pos) {
    std::string value;
    for (std::size_t i = 0; i < 4; ++i) value += (i ? "|" : "") + NumberText(pos[i]);
    return ini.WriteIniString("FormPositions", "FormPosn_" + std::string(form), value);
}

}  // namespace rs::app
