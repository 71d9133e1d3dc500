#include "engine/catalogue.h"

#include <cmath>

#include "engine/numbers.h"
#include "engine/require.h"
#include "text/strings.h"
#include "text/tr.h"

namespace rs::engine {
using text::Tr;
using text::TrNoop;
namespace {

struct ParamEntry {
    std::string_view label, symbol, unit, format;
    float scale;
};

constexpr float kDegree = 0.017453292f;  // pi/180 as the angle boxes have always used it

constexpr std::array<ParamEntry, kParamCount> kParams = [] {
    std::array<ParamEntry, kParamCount> t{};
    for (auto& e : t) e = {"", "", "", "", 1.0f};
    t[0] = {TrNoop("Brennweite: "), "f'", "mm", "0.0#", 1.0f};
    t[1] = {TrNoop("Objektweite: "), "a", "mm", "0.0#", 1.0f};
    t[2] = {TrNoop("Bildweite: "), "a'", "mm", "0.0#", 1.0f};
    t[3] = {TrNoop("Vergrößerung: "), "m'", "x", "0.00######", 1.0f};
    t[4] = {TrNoop("Objekt Bildabstand: "), "t", "mm", "0.0#", 1.0f};
    t[5] = {TrNoop("Objekthöhe: "), "u", "mm", "0.0#", 1.0f};
    t[6] = {TrNoop("Objektwinkel: "), "w", "Grad", "0.0##", kDegree};
    t[7] = {TrNoop("Bildhöhe: "), "u'", "mm", "0.0#", 1.0f};
    t[8] = {TrNoop("Bildwinkel: "), "w'", "Grad", "0.0##", kDegree};
    t[20] = {TrNoop("Brennweite [Obj]: "), "f", "mm", "0.0#", 1.0f};
    return t;
}();

constexpr std::array<ParamEntry, kApertureCount> kApertures = {{
    {TrNoop("Blendenradius"), "", "mm", "0.0#", 1.0f},
    {TrNoop("Blendenzahl [unendliche Objektweite]"), "", "", "0.0###", 1.0f},
    {TrNoop("NA [objektseitig] "), "", "", "0.0###", 1.0f},
    {TrNoop("NA' [bildseitig]"), "", "", "0.0###", 1.0f},
    {TrNoop("Airy-Radius"), "", "mm", "0.0###", 1.0f},
}};

constexpr std::array<std::string_view, kCardinalCount> kCardinalLabels = {
    TrNoop("erster Hauptpunkt: "),   TrNoop("zweiter Hauptpunkt: "),
    TrNoop("vorderer Brennpunkt: "), TrNoop("hinterer Brennpunkt: "),
    TrNoop("vorderer Knotenpunkt "), TrNoop("hinterer Knotenpunkt ")};
constexpr std::array<std::string_view, kCardinalCount> kCardinalSymbols = {"P",  "P'", "F",
                                                                           "F'", "N",  "N'"};

const ParamEntry& ParamAt(int i) {
    RS_REQUIRE(i >= 0 && i < kParamCount, "general parameter index out of range");
    return kParams[static_cast<std::size_t>(i)];
}
const ParamEntry& ApertureAt(int i) {
    RS_REQUIRE(i >= 0 && i < kApertureCount, "aperture parameter index out of range");
    return kApertures[static_cast<std::size_t>(i)];
}
std::size_t CardinalSlot(int i) {
    RS_REQUIRE(i >= 0 && i < kCardinalCount, "cardinal point index out of range");
    return static_cast<std::size_t>(i);
}

}  // namespace

bool IsFieldIndex(int index) {
    return index >= 5 && index <= 8;
}

bool IsFieldAngle(int index) {
    return index == kObjAngle || index == kImgAngle;
}

bool FieldAngleInRange(double radians) {
    // No single lies between π/2 and the program's π/2, so a stored angle of 90° counts as
    // reached whichever of the two it is compared with.
    return std::fabs(radians) < kPi / 2.0;
}

std::string_view ParamLabel(int index) {
    return ParamAt(index).label;
}
std::string_view ParamDefaultSymbol(int index) {
    return ParamAt(index).symbol;
}
std::string_view ParamDefaultUnit(int index) {
    return ParamAt(index).unit;
}
std::string_view ParamFormat(int index) {
    return ParamAt(index).format;
}
float ParamScale(int index) {
    return ParamAt(index).scale;
}

std::string_view ApertureLabel(int index) {
    return ApertureAt(index).label;
}
std::string_view ApertureDefaultUnit(int index) {
    return ApertureAt(index).unit;
}
std::string_view ApertureFormat(int index) {
    return ApertureAt(index).format;
}
float ApertureScale(int index) {
    return ApertureAt(index).scale;
}

std::string_view CardinalLabel(int index) {
    return kCardinalLabels[CardinalSlot(index)];
}
std::string_view CardinalDefaultSymbol(int index) {
    return kCardinalSymbols[CardinalSlot(index)];
}

SymbolTable::SymbolTable() {
    InitParamSymbols(0);
    InitCardinalSymbols(0);
}

void SymbolTable::InitParamSymbols(int mode, const SymbolLookup& lookup) {
    if (mode != 0 && mode != 1) return;
    for (int i = 0; i < kParamCount; ++i) {
        const ParamEntry& e = ParamAt(i);
        auto& slot = param_[static_cast<std::size_t>(i)];
        if (mode == 0 || !lookup) {
            slot = std::string(e.symbol);
        } else if (!text::TrimBlanks(e.label).empty()) {
            slot = lookup(e.label, e.symbol);
        }
    }
}

void SymbolTable::InitCardinalSymbols(int mode, const SymbolLookup& lookup) {
    if (mode != 0 && mode != 1) return;
    for (int i = 0; i < kCardinalCount; ++i) {
        auto& slot = cardinal_[static_cast<std::size_t>(i)];
        slot = (mode == 0 || !lookup) ? std::string(CardinalDefaultSymbol(i))
                                      : lookup(CardinalLabel(i), CardinalDefaultSymbol(i));
    }
}

const std::string& SymbolTable::Param(int index) const {
    RS_REQUIRE(index >= 0 && index < kParamCount, "general parameter index out of range");
    return param_[static_cast<std::size_t>(index)];
}
const std::string& SymbolTable::Cardinal(int index) const {
    return cardinal_[CardinalSlot(index)];
}

std::string SymbolTable::ParamLabelWithSymbol(int index) const {
    return Tr(ParamLabel(index)) + Param(index);
}

}  // namespace rs::engine
