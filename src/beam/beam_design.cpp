#include "beam/beam_design.h"

#include "engine/require.h"
#include "text/tr.h"

namespace rs::beam {
using text::TrNoop;
namespace {

struct BeamEntry {
    std::string_view longName, reportName, symbol, unit, format;
    double factor;
};

constexpr std::array<BeamEntry, kBeamTableSize> kBeamEntries = [] {
    std::array<BeamEntry, kBeamTableSize> t{};
    for (auto& e : t) e = {"", "", "", "", "", 1.0};
    t[0] = {TrNoop("Brennweite: "), TrNoop("Brennweite: "), "f'", "mm", "0.0#", 1.0};
    t[1] = {TrNoop("Objektweite: "), TrNoop("Abstand 'Objekttaille': "), "s", "mm", "0.0#", 1.0};
    t[2] = {TrNoop("Bildweite: "), TrNoop("Abstand 'Bildtaille': "), "s'", "mm", "0.0#", 1.0};
    t[3] = {TrNoop("Vergrößerung:"), TrNoop("Vergrößerung:"), "m", "x", "0.00##", 1.0};
    t[4] = {TrNoop("Taille zu Taillet: "), TrNoop("Taille zu Taillet: "), "t", "mm", "0.0#", 1.0};
    t[5] = {TrNoop("Strahl rad [in]: "), TrNoop("Strahltaille radius: "), "r", "mm", "0.0###", 1.0};
    // Divergences are held in radians and shown in milliradians.
    t[6] = {TrNoop("Strahl div [in]:"), TrNoop("Strahldivergenz: "), "w", "mrad", "0.0##", 0.001};
    t[7] = {TrNoop("Rayeigh [in]: "), TrNoop("Rayleighlänge: "), "zr", "mm", "0.0#", 1.0};
    t[8] = {
        TrNoop("Strahl rad [aus]: "), TrNoop("Strahltaille radius: "), "r'", "mm", "0.0###", 1.0};
    t[9] = {TrNoop("Strahl div [aus]:"), TrNoop("Strahldivergenz: "), "w'", "mrad", "0.0##", 0.001};
    t[10] = {TrNoop("Rayleigh [aus]:"), TrNoop("Rayleighlänge: "), "zr'", "mm", "0.0#", 1.0};
    t[15] = {TrNoop("paraxialer Bildabstand"), TrNoop("paraxiale bildweite"), "", "", "", 1.0};
    t[20] = {TrNoop("Brennweite: "), TrNoop("Brennweite: "), "f", "mm", "0.0#", 1.0};
    return t;
}();

struct ExtraEntry {
    std::string_view name, symbol;
};

constexpr std::array<ExtraEntry, kExtrasCount> kExtraEntries = {{
    {"", ""},
    {TrNoop("erster Hauptpunkt: "), "P"},
    {TrNoop("zweiter Hauptpunkt: "), "P'"},
    {TrNoop("vorderer Brennpunkt: "), "F"},
    {TrNoop("hinterer Brennpunkt: "), "F'"},
    {TrNoop("vorderer Knotenpunkt: "), "N"},
    {TrNoop("hinterer Knotenpunkt: "), "N'"},
    {TrNoop("Bildposition "), "s'"},
    {TrNoop("Bildpos. [max]: "), "s'm"},
    {TrNoop("Position des kleinsten Spots"), "sp"},
    {TrNoop("Detektorposition"), "d"},
    {TrNoop("geometrische Bildposition"), "l'"},
    {TrNoop("Radius des kleinsten Spots"), "Rsp"},
    {TrNoop("Strahlradius [Linse]"), "R"},
    {TrNoop("Airy-Radius"), "rA'"},
    {TrNoop("Strahlradius [Detektor]"), "Rd"},
    {TrNoop("Verhältnis s/f"), "s/f"},
    {TrNoop("Verhältnis s'/f"), "s'/f"},
    {TrNoop("Verhältnis zr/f"), "zr/f"},
}};

std::size_t BeamSlot(int index) {
    RS_REQUIRE(index >= 0 && index < kBeamTableSize, "beam parameter index out of range");
    return static_cast<std::size_t>(index);
}
std::size_t AxisSlot(int axis) {
    RS_REQUIRE(axis >= 0 && axis < engine::kBeamAxisCount, "beam axis out of range");
    return static_cast<std::size_t>(axis);
}
std::size_t ExtraSlot(int index) {
    RS_REQUIRE(index >= 0 && index < kExtrasCount, "beam extras index out of range");
    return static_cast<std::size_t>(index);
}

}  // namespace

bool IsSelectableBeamIndex(int index) {
    return index >= 0 && index <= kGbImgRayleigh && index != kGbTrack;
}

BeamAxis& BeamDesign::Axis(int axis) {
    return axes[AxisSlot(axis)];
}
const BeamAxis& BeamDesign::Axis(int axis) const {
    return axes[AxisSlot(axis)];
}

bool IsBeamQuantity(int index) {
    return (index >= 0 && index <= 10) || index == kGbParaxImage || index == kGbObjFocal;
}

std::string_view BeamLongName(int index) {
    return kBeamEntries[BeamSlot(index)].longName;
}
std::string_view BeamReportName(int index) {
    return kBeamEntries[BeamSlot(index)].reportName;
}
std::string_view BeamUnitLabel(int index) {
    return kBeamEntries[BeamSlot(index)].unit;
}
std::string_view BeamFormat(int index) {
    return kBeamEntries[BeamSlot(index)].format;
}
double BeamFactor(int index) {
    return kBeamEntries[BeamSlot(index)].factor;
}

std::string_view ExtraName(int index) {
    return kExtraEntries[ExtraSlot(index)].name;
}

BeamSymbols::BeamSymbols() {
    Init(0);
}

void BeamSymbols::Init(int mode, const engine::SymbolLookup& lookup) {
    if (mode != 0 && mode != 1) return;
    const bool user = mode == 1 && static_cast<bool>(lookup);
    // Entries without a name have no key in the settings file and always keep their default.
    for (int i = 0; i < kBeamTableSize; ++i) {
        const BeamEntry& e = kBeamEntries[BeamSlot(i)];
        param_[BeamSlot(i)] =
            user && !e.longName.empty() ? lookup(e.longName, e.symbol) : std::string(e.symbol);
    }
    for (int i = 0; i < kExtrasCount; ++i) {
        const ExtraEntry& e = kExtraEntries[ExtraSlot(i)];
        extra_[ExtraSlot(i)] =
            user && !e.name.empty() ? lookup(e.name, e.symbol) : std::string(e.symbol);
    }
}

const std::string& BeamSymbols::Param(int index) const {
    return param_[BeamSlot(index)];
}
const std::string& BeamSymbols::Extra(int index) const {
    return extra_[ExtraSlot(index)];
}

}  // namespace rs::beam
