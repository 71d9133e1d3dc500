#pragma once
// A beam fitted from measured diameters: the measurement table (positions and second-moment
// diameters, one or two axes), its text form for pasting, CSV files and storing, the
// least-squares fit of the caustic d²(z) = a + b·z + c·z² per axis with the beam it describes,
// and the step that makes the fitted beam the object beam of the design.
//
// Lengths in mm, angles in radians, as everywhere in the core; the caller converts display
// units (the factors of src/units) before and after. The measurement's z axis points along the
// beam, so a waist at z0 lies in front of an element at zE when z0 < zE.
//
// M² convention: the beam engine works on the embedded Gaussian of the design's wavelength
// (radius r, divergence w = λ/(π r)); with the M² switch on, shown radii and divergences are
// M = √M² times those, while the Rayleigh length is the same for both. A measured beam of waist
// radius W0 and half angle Θ therefore enters the design as the embedded beam r = W0/M,
// w = Θ/M, zr = W0/Θ, with M² = π·W0·Θ/λ, which is the π·d0·θ/(4λ) of the fit.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "beam/beam_design.h"

namespace rs::beam {

// --- The measurement --------------------------------------------------------------------------

inline constexpr int kMaxMeasurementAxes = 2;
inline constexpr std::size_t kMaxMeasurementRows = 10000;
inline constexpr std::size_t kMaxMeasurementTextBytes = 1 << 20;

struct MeasurementRow {
    double z = 0.0;                               // position along the beam, mm
    std::array<double, kMaxMeasurementAxes> d{};  // diameter per axis, mm (axis 1 in diode mode)

    friend bool operator==(const MeasurementRow&, const MeasurementRow&) = default;
};

struct MeasurementTable {
    int axisCount = 1;  // diameter columns: 1, or 2 for the two axes of a diode
    std::vector<MeasurementRow> rows;

    friend bool operator==(const MeasurementTable&, const MeasurementTable&) = default;
};

// The units the columns of a text are written in, as mm per unit (units::UnitFactorOf).
struct MeasurementUnits {
    double z = 1.0;
    double d = 1.0;
};

struct MeasurementParse {
    MeasurementTable table;             // every line that could be read
    std::vector<std::string> problems;  // German, one per refused line ("Zeile 4: …")
    bool ok() const { return problems.empty(); }
};

// Reads pasted text or a CSV file: one row per line, z then one or two diameters. Fields are
// separated by tabs, else semicolons, else commas, else blanks, decided per line; decimals may
// use a point or a comma (a comma only where the separator is not one). A first line without
// any number is a header and skipped, as are empty lines and lines starting with '#'. Every
// other line that cannot be read is reported with its number; the readable rows are kept. Text
// beyond kMaxMeasurementTextBytes, or rows beyond kMaxMeasurementRows, are refused.
MeasurementParse ParseMeasurementText(std::string_view text, const MeasurementUnits& units = {});

// One row as the parser reads it back: "z;d" or "z;d1;d2" in mm with the shortest exact texts;
// the form of the settings file and of a CSV export.
std::string MeasurementRowText(const MeasurementRow& row, int axisCount);

// --- The fit ----------------------------------------------------------------------------------

enum class FitWarning { FewPoints, FewNearWaist, FewFarField, MSquaredBelowOne };

struct FitNote {
    FitWarning kind;
    std::string text;  // German
};

// The fitted caustic of one axis.
struct CausticFit {
    double a = 0.0, b = 0.0, c = 0.0;  // d²(z) = a + b·z + c·z² (mm², mm, 1)
    double waistPosition = 0.0;        // z0, mm on the measurement's axis
    double waistDiameter = 0.0;        // d0, mm
    double divergence = 0.0;           // θ, full far-field angle, rad
    double rayleighLength = 0.0;       // zR = d0 / θ, mm
    double mSquared = 0.0;             // π·d0·θ / (4λ)
    std::vector<double> residuals;     // measured minus fitted diameter per row, mm
    double rmsResidual = 0.0;          // mm
    int pointsNearWaist = 0;           // |z − z0| ≤ zR
    int pointsFarField = 0;            // |z − z0| ≥ 2 zR
    std::vector<FitNote> warnings;     // the fit stands, but the data miss the usual advice
};

struct AxisFitOutcome {
    std::optional<CausticFit> fit;
    std::string error;  // German, when there is no fit
};

// The least-squares caustic through the points (z[i], d[i]) at the wavelength λ (mm). Refused
// with a message for mismatched inputs, values that are not finite, diameters not greater than
// 0, a wavelength not greater than 0, fewer than three distinct positions, a parabola without a
// minimum (c ≤ 0) and a waist without a positive square (a − b²/(4c) ≤ 0).
AxisFitOutcome FitCaustic(std::span<const double> z, std::span<const double> d,
                          double wavelengthMm);

struct MeasurementFit {
    int axisCount = 1;
    std::array<AxisFitOutcome, kMaxMeasurementAxes> axes;
};

// Every diameter column of the table fitted on its own.
MeasurementFit FitMeasurement(const MeasurementTable& table, double wavelengthMm);

// The fitted diameter at z: √(d0² + θ²·(z − z0)²), the curve of the plot.
double FittedDiameter(const CausticFit& fit, double z);

// One line of the fitted values as the window and the command line show them, named once here.
struct FitRow {
    std::string_view label;  // German
    double value = 0.0;      // internal units
    int unitIndex = -1;      // beam quantity whose display unit applies; -1 for a plain number
};
std::vector<FitRow> FitRows(const CausticFit& fit);

// --- The fitted beam as the object beam -------------------------------------------------------

// The object beam of one axis as the design describes it (real beam, not the embedded one).
struct FittedObjectBeam {
    double waistDistance = 0.0;  // s, mm; > 0 for a waist in front of the element
    double waistRadius = 0.0;    // W0 = d0 / 2, mm
    double divergence = 0.0;     // Θ = θ / 2, rad
    double mSquared = 0.0;       // π·W0·Θ / λ at the design's wavelength
};
FittedObjectBeam ObjectBeamFromFit(const CausticFit& fit, double elementPosition,
                                   double wavelengthMm);

// The value the engine takes for object-beam index 5..7 (the embedded Gaussian, see above).
double EngineObjectBeamValue(const FittedObjectBeam& beam, int index);

struct AdoptOutcome {
    bool changed = false;
    std::optional<std::string> message;  // refusal, or a note when adopted with a compromise
};

// Makes the fitted beam the object beam: axis 0's selection becomes s, an object-beam parameter
// (the kind it held, on either side, else the waist radius) and the conjugate it held besides s
// (else f', with its solved value when the last solve was valid); M² is stored and its switch
// turned on. In diode mode axis 1 takes its M² and its value of the diode parameter; the two
// axes share one object distance, so a second waist elsewhere is noted. Each value set widens
// its entry's limits by `limitMargin`. Nothing changes when a needed axis has no fit or an M²
// the design cannot hold. The caller takes the undo backup and solves afterwards.
AdoptOutcome AdoptFittedBeam(BeamDesign& design, const MeasurementFit& fit, double elementPosition,
                             double limitMargin);

}  // namespace rs::beam
