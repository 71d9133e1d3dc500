#pragma once
// The Gaussian-beam part of the design: per beam axis the chosen parameters, the solved table,
// the status flags and the extras table; shared by both axes the wavelength, the alternative
// root, the extras options and the diode-laser settings. Axis 1 exists only in diode mode.
#include <array>
#include <string>
#include <string_view>

#include "engine/catalogue.h"
#include "engine/continuity.h"
#include "engine/selection.h"

namespace rs::beam {

inline constexpr int kBeamTableSize = 21;  // indices 0..10, 15 and 20 carry quantities
inline constexpr int kExtrasCount = 19;
// A paraxial image distance "at infinity" (object waist in the front focal plane).
inline constexpr double kParaxImageAtInfinity = 5e20;
inline constexpr double kDefaultBeamWavelength = 632.8;  // nm

enum BeamIndex : int {
    kGbFocal = 0,         // f'
    kGbObjDist = 1,       // s, object waist in front of the element
    kGbImgDist = 2,       // s', image waist behind the element
    kGbMagnif = 3,        // m, waist magnification
    kGbTrack = 4,         // t, waist to waist (never chosen)
    kGbObjRadius = 5,     // r
    kGbObjDiv = 6,        // w, half angle
    kGbObjRayleigh = 7,   // zr
    kGbImgRadius = 8,     // r'
    kGbImgDiv = 9,        // w'
    kGbImgRayleigh = 10,  // zr'
    kGbParaxImage = 15,   // geometric image distance of the object waist
    kGbObjFocal = 20,     // f = -f'
};

// The indices a user can choose: the quantities 0..10 except the waist-to-waist distance, which
// is always a result.
bool IsSelectableBeamIndex(int index);
inline bool IsObjectBeam(int index) {
    return index >= kGbObjRadius && index <= kGbObjRayleigh;
}
inline bool IsImageBeam(int index) {
    return index >= kGbImgRadius && index <= kGbImgRayleigh;
}

// Extras table (positions measured from the object waist along the beam).
enum ExtraIndex : int {
    kExWaist = 0,
    kExP = 1,
    kExPImage = 2,
    kExF = 3,
    kExFImage = 4,
    kExN = 5,
    kExNImage = 6,
    kExImageWaist = 7,
    kExImageWaistMax = 8,
    kExMinSpotPos = 9,
    kExDetector = 10,
    kExGeometricImage = 11,
    kExMinSpotRadius = 12,
    kExRadiusAtElement = 13,
    kExAiry = 14,
    kExRadiusAtDetector = 15,
    kExRatioS = 16,
    kExRatioSImage = 17,
    kExRatioZr = 18,
};

struct BeamAxis {
    std::array<double, kBeamTableSize> table{};
    engine::Selection selection{3};
    bool valuesDefined = false;
    bool resultInvalid = false;
    bool objBeamMissing = false;
    bool imgBeamMissing = false;
    std::array<double, kExtrasCount> extras{};

    friend bool operator==(const BeamAxis&, const BeamAxis&) = default;
};

// Options of the beam extras panel.
struct BeamExtrasOptions {
    bool showExtra = true;
    bool mFactorUse = false;
    double mFactor = 1.0;  // M² of axis 0
    bool detectorOn = false;
    double detectorDistance = 0.0;  // mm behind the element, as typed
    double minSpotDistance = 0.0;   // mm; 0 while none was entered
    double dofFraction = 0.05;      // growth of the beam radius for the depth of focus
    // Scale choices of the beam drawing, kept for the drawing.
    double drgScale = 0.0;
    double conjDist = 100.0;
    int drgScaleType = 0;

    friend bool operator==(const BeamExtrasOptions&, const BeamExtrasOptions&) = default;
};

struct DiodeSettings {
    bool diodeMode = false;
    bool circularise = false;
    int collimationMode = 0;  // 0 minimum divergence (s = f'), 1 maximum waist distance
    int paramKind = 6;        // object-beam index 5, 6 or 7 given for axis 1
    std::array<double, 11> paramValues{};  // one stored value per index 0..10
    double mFactor = 1.0;                  // M² of axis 1

    friend bool operator==(const DiodeSettings&, const DiodeSettings&) = default;
};

// Beam catalogue: long name (result list, symbol key), report name, unit label, display factor
// and number format per index. Indices outside 0..20 are a programming error;
// unused indices give empty texts.
bool IsBeamQuantity(int index);  // 0..10, 15, 20
std::string_view BeamLongName(int index);
std::string_view BeamReportName(int index);
std::string_view BeamUnitLabel(int index);
std::string_view BeamFormat(int index);
double BeamFactor(int index);

// Extras catalogue: name per extras index 0..18.
std::string_view ExtraName(int index);

// Current beam and extras symbols (defaults, or the user's from section "SymbolsGB").
class BeamSymbols {
public:
    BeamSymbols();
    // Mode 0: defaults; mode 1: `lookup(key = long name or extras name, fallback = default)`.
    void Init(int mode, const engine::SymbolLookup& lookup = {});
    const std::string& Param(int index) const;
    const std::string& Extra(int index) const;

private:
    std::array<std::string, kBeamTableSize> param_;
    std::array<std::string, kExtrasCount> extra_;
};

struct BeamDesign {
    bool beamMode = false;
    bool altSolution = false;
    std::array<BeamAxis, engine::kBeamAxisCount> axes;
    BeamExtrasOptions extrasOptions;
    DiodeSettings diode;
    BeamSymbols symbols;

    double WavelengthNm() const { return wavelengthNm_; }
    // Wavelength in mm as the formulas use it (nm·1e-6).
    double WavelengthMm() const { return wavelengthNm_ * 1e-6; }
    // A wavelength of 0 stands for the standard 632.8 nm.
    void SetWavelengthNm(double nm) { wavelengthNm_ = nm == 0 ? kDefaultBeamWavelength : nm; }

    // Number of axes in use: 2 in diode mode, else 1.
    int AxisCount() const { return diode.diodeMode ? 2 : 1; }
    // Axis 0 or 1; any other number is a programming error.
    BeamAxis& Axis(int axis);
    const BeamAxis& Axis(int axis) const;

private:
    double wavelengthNm_ = kDefaultBeamWavelength;
};

}  // namespace rs::beam
