#pragma once
// The fixed catalogues of general parameters, aperture parameters and cardinal points, and the
// editable symbol tables that go with them.
#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace rs::engine {

inline constexpr int kParamCount = 21;    // general indices 0..20 (9..19 unused)
inline constexpr int kApertureCount = 5;  // aperture indices 0..4
inline constexpr int kCardinalCount = 6;  // P, P', F, F', N, N'

// General parameter indices.
enum ParamIndex : int {
    kFocal = 0,       // f'
    kObjDist = 1,     // a
    kImgDist = 2,     // a'
    kMagnif = 3,      // m'
    kObjImgDist = 4,  // t
    kObjHeight = 5,   // u
    kObjAngle = 6,    // w
    kImgHeight = 7,   // u'
    kImgAngle = 8,    // w'
    kObjFocal = 20,   // f, always computed
};

// Aperture parameter indices.
enum ApertureIndex : int {
    kStopRadius = 0,
    kFNumber = 1,
    kNA = 2,
    kNAImage = 3,
    kAiryRadius = 4,
};

enum CardinalIndex : int { kP = 0, kPImage = 1, kF = 2, kFImage = 3, kN = 4, kNImage = 5 };

bool IsFieldIndex(int index);  // 5..8
bool IsFieldAngle(int index);  // w and w' (6, 8)

// A half-field angle (radians) describes a system only while |w| < 90°: at 90° its tangent runs
// off to infinity and beyond it turns over, mirroring the field to the other side.
bool FieldAngleInRange(double radians);

// Fixed catalogue entries. Indices outside the table are a programming error.
std::string_view ParamLabel(int index);
std::string_view ParamDefaultSymbol(int index);
std::string_view ParamDefaultUnit(int index);
std::string_view ParamFormat(int index);
float ParamScale(int index);

std::string_view ApertureLabel(int index);
std::string_view ApertureDefaultUnit(int index);
std::string_view ApertureFormat(int index);
float ApertureScale(int index);

std::string_view CardinalLabel(int index);
std::string_view CardinalDefaultSymbol(int index);

// Looks up a user symbol: (key = label text, fallback = default symbol) -> symbol.
using SymbolLookup = std::function<std::string(std::string_view key, std::string_view fallback)>;

// Current symbols of the general parameters and the cardinal points.
class SymbolTable {
public:
    SymbolTable();

    // Mode 0 copies the default symbols; mode 1 asks `lookup` for every labelled entry (the user
    // symbols of the settings file); any other mode leaves the symbols as they are.
    void InitParamSymbols(int mode, const SymbolLookup& lookup = {});
    void InitCardinalSymbols(int mode, const SymbolLookup& lookup = {});

    const std::string& Param(int index) const;
    const std::string& Cardinal(int index) const;

    // The label followed directly by the current symbol ("Brennweite: f'").
    std::string ParamLabelWithSymbol(int index) const;

private:
    std::array<std::string, kParamCount> param_;
    std::array<std::string, kCardinalCount> cardinal_;
};

}  // namespace rs::engine
