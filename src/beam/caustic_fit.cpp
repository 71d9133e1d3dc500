#include "beam/caustic_fit.h"

#include <algorithm>
#include <cmath>

#include "beam/beam_extras.h"
#include "beam/diode.h"
#include "engine/continuity.h"
#include "engine/numbers.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"
#include "text/vb_format.h"
#include "units/typed_number.h"

namespace rs::beam {
using text::Tr;
using text::TrFormat;
using text::TrNFormat;
using text::TrNoop;
namespace {

// --- Text -------------------------------------------------------------------------------------

// More refused lines than this are summed up in one last message.
constexpr std::size_t kMaxReportedProblems = 20;

std::string LineText(std::size_t lineNo) {
    return TrFormat("Zeile %1: ", {std::to_string(lineNo)});
}

char SeparatorOf(std::string_view line) {
    for (char sep : {'\t', ';', ','}) {
        if (line.find(sep) != std::string_view::npos) return sep;
    }
    return ' ';
}

// The fields of one line, trimmed; trailing empty fields (a separator at the end of the line,
// as spreadsheets write for an empty last column) are dropped. Blanks separate in runs.
std::vector<std::string_view> Fields(std::string_view line) {
    const char sep = SeparatorOf(line);
    std::vector<std::string_view> fields;
    for (std::string_view f : text::SplitFields(line, sep)) {
        f = text::TrimBlanks(f);
        if (sep == ' ' && f.empty()) continue;
        fields.push_back(f);
    }
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
    return fields;
}

struct LineOutcome {
    std::optional<MeasurementRow> row;
    std::string problem;
};

LineOutcome ReadRow(const std::vector<std::string_view>& fields, int axisCount,
                    const MeasurementUnits& units) {
    const auto columns = static_cast<std::size_t>(axisCount) + 1;
    if (fields.size() != columns) {
        return {std::nullopt, TrNFormat("%1 Spalte statt %2", "%1 Spalten statt %2", fields.size(),
                                        {std::to_string(fields.size()), std::to_string(columns)})};
    }
    MeasurementRow row;
    for (std::size_t i = 0; i < columns; ++i) {
        const auto number = text::ParseTypedNumber(fields[i]);
        if (!number) return {std::nullopt, TrFormat("„%1“ ist keine Zahl", {fields[i]})};
        const double v = *number * (i == 0 ? units.z : units.d);
        if (!std::isfinite(v) || std::fabs(v) > units::kMaxTypedMagnitude) {
            return {std::nullopt, TrFormat("„%1“ ist zu groß", {fields[i]})};
        }
        if (i == 0) {
            row.z = v;
        } else if (v > 0.0) {
            row.d[i - 1] = v;
        } else {
            return {std::nullopt, Tr("Durchmesser müssen größer als 0 sein")};
        }
    }
    return {row, {}};
}

bool NoNumbers(const std::vector<std::string_view>& fields) {
    return std::none_of(fields.begin(), fields.end(),
                        [](std::string_view f) { return text::ParseTypedNumber(f).has_value(); });
}

// --- Least squares ----------------------------------------------------------------------------

// Solves min |X·β − y| for the n×3 matrix X (column-major) by Householder reflections, which
// keep the conditioning of X instead of squaring it as the normal equations would. Nothing when
// X has no full rank.
std::optional<std::array<double, 3>> LeastSquares3(std::vector<double> x, std::vector<double> y) {
    const std::size_t n = y.size();
    auto at = [&](std::size_t row, std::size_t col) -> double& { return x[col * n + row]; };
    std::array<double, 3> diag{};
    for (std::size_t k = 0; k < 3; ++k) {
        double norm = 0.0;
        for (std::size_t i = k; i < n; ++i) norm = std::hypot(norm, at(i, k));
        if (!(norm > 0.0)) return std::nullopt;
        const double alpha = at(k, k) > 0.0 ? -norm : norm;
        // v = x_k − alpha·e_k, stored in place; H = I − 2 v vᵀ / (vᵀ v).
        at(k, k) -= alpha;
        double vv = 0.0;
        for (std::size_t i = k; i < n; ++i) vv += at(i, k) * at(i, k);
        auto reflect = [&](auto&& column) {
            double dot = 0.0;
            for (std::size_t i = k; i < n; ++i) dot += at(i, k) * column(i);
            const double scale = 2.0 * dot / vv;
            for (std::size_t i = k; i < n; ++i) column(i) -= scale * at(i, k);
        };
        for (std::size_t j = k + 1; j < 3; ++j) {
            reflect([&](std::size_t i) -> double& { return at(i, j); });
        }
        reflect([&](std::size_t i) -> double& { return y[i]; });
        diag[k] = alpha;
    }
    // A pivot far below its column's size means the positions cannot separate the terms.
    constexpr double kRankTolerance = 1e-10;
    std::array<double, 3> beta{};
    for (std::size_t k = 3; k-- > 0;) {
        if (std::fabs(diag[k]) <= kRankTolerance * std::sqrt(static_cast<double>(n))) {
            return std::nullopt;
        }
        double sum = y[k];
        for (std::size_t j = k + 1; j < 3; ++j) sum -= at(k, j) * beta[j];
        beta[k] = sum / diag[k];
    }
    return beta;
}

int DistinctCount(std::span<const double> z) {
    std::vector<double> sorted(z.begin(), z.end());
    std::sort(sorted.begin(), sorted.end());
    return static_cast<int>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
}

std::string Count(int n) {
    return std::to_string(n);
}

void AddWarnings(CausticFit& f, int n) {
    if (n < 10) {
        f.warnings.push_back(
            {FitWarning::FewPoints, TrNFormat("Nur %1 Messpunkte; empfohlen sind mindestens zehn.",
                                              "Nur %1 Messpunkte; empfohlen sind mindestens zehn.",
                                              static_cast<unsigned long>(n), {Count(n)})});
    }
    // "About half" in each region: at least two in five points.
    auto region = [&](int count, FitWarning kind, std::string_view where) {
        if (5 * count >= 2 * n) return;
        f.warnings.push_back(
            {kind,
             TrNFormat("Nur %1 von %2 Punkten liegen %3; empfohlen ist etwa die Hälfte.",
                       "Nur %1 von %2 Punkten liegen %3; empfohlen ist etwa die Hälfte.",
                       static_cast<unsigned long>(count), {Count(count), Count(n), Tr(where)})});
    };
    region(f.pointsNearWaist, FitWarning::FewNearWaist,
           TrNoop("innerhalb einer Rayleighlänge um die Taille"));
    region(f.pointsFarField, FitWarning::FewFarField,
           TrNoop("weiter als zwei Rayleighlängen von der Taille entfernt"));
    // A perfect beam measured without error comes out at 1 only to the last digits.
    if (f.mSquared < 1.0 && !engine::SameValue(f.mSquared, 1.0)) {
        f.warnings.push_back(
            {FitWarning::MSquaredBelowOne,
             Tr("M² ist kleiner als 1: Diese Messwerte können keinen realen Strahl beschreiben.")});
    }
}

AxisFitOutcome Refused(std::string message) {
    return {std::nullopt, std::move(message)};
}

}  // namespace

MeasurementParse ParseMeasurementText(std::string_view text, const MeasurementUnits& units) {
    MeasurementParse out;
    if (text.size() > kMaxMeasurementTextBytes) {
        out.problems.push_back(TrFormat("Der Text ist zu lang (höchstens %1 kB).",
                                        {std::to_string(kMaxMeasurementTextBytes / 1024)}));
        return out;
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // spreadsheets write a BOM

    std::size_t lineNo = 0, refused = 0;
    bool firstLine = true;
    int axisCount = 0;  // decided by the first row
    for (std::string_view raw : text::SplitFields(text, '\n')) {
        ++lineNo;
        const std::string_view line = text::TrimBlanks(raw, " \t\r");
        if (line.empty() || line.front() == '#') continue;
        const auto fields = Fields(line);
        const bool header = firstLine && NoNumbers(fields);
        firstLine = false;
        if (header) continue;
        if (out.table.rows.size() >= kMaxMeasurementRows) {
            out.problems.push_back(LineText(lineNo) +
                                   TrFormat("mehr als %1 Messpunkte; der Rest wurde nicht gelesen.",
                                            {std::to_string(kMaxMeasurementRows)}));
            break;
        }
        if (axisCount == 0 && (fields.size() == 2 || fields.size() == 3)) {
            axisCount = static_cast<int>(fields.size()) - 1;
        }
        const LineOutcome r =
            axisCount == 0
                ? LineOutcome{std::nullopt, Tr("z und ein oder zwei Durchmesser erwartet")}
                : ReadRow(fields, axisCount, units);
        if (r.row) {
            out.table.rows.push_back(*r.row);
        } else if (++refused <= kMaxReportedProblems) {
            out.problems.push_back(LineText(lineNo) + r.problem + ".");
        }
    }
    if (refused > kMaxReportedProblems) {
        const std::size_t more = refused - kMaxReportedProblems;
        out.problems.push_back(TrNFormat("… und %1 weitere fehlerhafte Zeile.",
                                         "… und %1 weitere fehlerhafte Zeilen.", more,
                                         {std::to_string(more)}));
    }
    out.table.axisCount = std::max(axisCount, 1);
    if (out.table.rows.empty() && out.problems.empty()) {
        out.problems.push_back(Tr("Keine Messwerte gefunden."));
    }
    return out;
}

std::string MeasurementRowText(const MeasurementRow& row, int axisCount) {
    std::string line = text::ShortestText(row.z);
    for (int i = 0; i < std::clamp(axisCount, 1, kMaxMeasurementAxes); ++i) {
        line += ";" + text::ShortestText(row.d[static_cast<std::size_t>(i)]);
    }
    return line;
}

AxisFitOutcome FitCaustic(std::span<const double> z, std::span<const double> d,
                          double wavelengthMm) {
    if (z.size() != d.size())
        return Refused(Tr("Positionen und Durchmesser passen nicht zusammen."));
    if (!(wavelengthMm > 0.0) || !std::isfinite(wavelengthMm)) {
        return Refused(Tr("Die Wellenlänge muss größer als 0 sein."));
    }
    const auto finite = [](double v) { return std::isfinite(v); };
    if (!std::all_of(z.begin(), z.end(), finite) || !std::all_of(d.begin(), d.end(), finite)) {
        return Refused(Tr("Die Messung enthält Werte, die keine endlichen Zahlen sind."));
    }
    if (!std::all_of(d.begin(), d.end(), [](double v) { return v > 0.0; })) {
        return Refused(Tr("Alle Durchmesser müssen größer als 0 sein."));
    }
    if (DistinctCount(z) < 3) {
        return Refused(Tr("Für die Anpassung sind mindestens drei verschiedene Positionen nötig."));
    }

    // Centred and scaled positions t in [−1, 1] and diameters up to 1 keep the columns 1, t, t²
    // of one size, so the fit loses no digits to a measurement far from z = 0.
    const std::size_t n = z.size();
    double zMean = 0.0;
    for (double v : z) zMean += v / static_cast<double>(n);
    double zScale = 0.0, dScale = 0.0;
    for (double v : z) zScale = std::max(zScale, std::fabs(v - zMean));
    for (double v : d) dScale = std::max(dScale, v);
    std::vector<double> x(3 * n), y(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = (z[i] - zMean) / zScale;
        x[i] = 1.0;
        x[n + i] = t;
        x[2 * n + i] = t * t;
        y[i] = (d[i] / dScale) * (d[i] / dScale);
    }
    const auto beta = LeastSquares3(std::move(x), std::move(y));
    if (!beta) return Refused(Tr("Die Positionen liegen zu dicht beieinander für eine Anpassung."));
    const auto [A, B, C] = *beta;
    if (!(C > 0.0)) {
        return Refused(
            Tr("Die angepasste Kaustik hat kein Minimum (c ≤ 0): Die Messung zeigt "
               "keine Strahltaille."));
    }
    const double tWaist = -B / (2.0 * C);
    const double d0Squared = A + B * tWaist / 2.0;  // A − B²/(4C)
    if (!(d0Squared > 0.0)) {
        return Refused(
            Tr("Die Anpassung ergibt kein positives Taillenquadrat "
               "(a − b²/(4c) ≤ 0): Die Messung beschreibt keinen Strahl."));
    }

    CausticFit f;
    const double d2 = dScale * dScale, s = zScale;
    f.c = d2 * C / (s * s);
    f.b = d2 * (B / s) - 2.0 * f.c * zMean;
    f.a = d2 * (A - B * zMean / s) + f.c * zMean * zMean;
    f.waistPosition = zMean + s * tWaist;
    f.waistDiameter = dScale * std::sqrt(d0Squared);
    f.divergence = dScale * std::sqrt(C) / s;
    f.rayleighLength = f.waistDiameter / f.divergence;
    f.mSquared = engine::kPi * f.waistDiameter * f.divergence / (4.0 * wavelengthMm);
    for (double v : {f.a, f.b, f.c, f.waistPosition, f.waistDiameter, f.divergence,
                     f.rayleighLength, f.mSquared}) {
        if (!std::isfinite(v)) return Refused(Tr("Die Anpassung ergibt keine endlichen Werte."));
    }

    double sumSquares = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double r = d[i] - FittedDiameter(f, z[i]);
        f.residuals.push_back(r);
        sumSquares += r * r;
        const double distance = std::fabs(z[i] - f.waistPosition);
        f.pointsNearWaist += distance <= f.rayleighLength ? 1 : 0;
        f.pointsFarField += distance >= 2.0 * f.rayleighLength ? 1 : 0;
    }
    f.rmsResidual = std::sqrt(sumSquares / static_cast<double>(n));
    AddWarnings(f, static_cast<int>(n));
    return {std::move(f), {}};
}

MeasurementFit FitMeasurement(const MeasurementTable& table, double wavelengthMm) {
    MeasurementFit out;
    out.axisCount = std::clamp(table.axisCount, 1, kMaxMeasurementAxes);
    std::vector<double> z;
    for (const auto& row : table.rows) z.push_back(row.z);
    for (std::size_t axis = 0; axis < static_cast<std::size_t>(out.axisCount); ++axis) {
        std::vector<double> d;
        for (const auto& row : table.rows) d.push_back(row.d[axis]);
        out.axes[axis] = FitCaustic(z, d, wavelengthMm);
    }
    return out;
}

double FittedDiameter(const CausticFit& fit, double z) {
    return std::hypot(fit.waistDiameter, fit.divergence * (z - fit.waistPosition));
}

std::vector<FitRow> FitRows(const CausticFit& fit) {
    return {
        {TrNoop("Taillenposition z0: "), fit.waistPosition, kGbObjDist},
        {TrNoop("Taillendurchmesser d0: "), fit.waistDiameter, kGbObjRadius},
        {TrNoop("Divergenz θ (voller Winkel): "), fit.divergence, kGbObjDiv},
        {TrNoop("Rayleighlänge zR: "), fit.rayleighLength, kGbObjRayleigh},
        {"M²: ", fit.mSquared, -1},
        {TrNoop("Residuum (RMS): "), fit.rmsResidual, kGbObjRadius},
    };
}

// --- Adoption ---------------------------------------------------------------------------------

FittedObjectBeam ObjectBeamFromFit(const CausticFit& fit, double elementPosition,
                                   double wavelengthMm) {
    FittedObjectBeam beam;
    beam.waistDistance = elementPosition - fit.waistPosition;
    beam.waistRadius = fit.waistDiameter / 2.0;
    beam.divergence = fit.divergence / 2.0;
    beam.mSquared = engine::kPi * beam.waistRadius * beam.divergence / wavelengthMm;
    return beam;
}

double EngineObjectBeamValue(const FittedObjectBeam& beam, int index) {
    const double m = std::sqrt(beam.mSquared);
    if (index == kGbObjRadius) return beam.waistRadius / m;
    if (index == kGbObjDiv) return beam.divergence / m;
    return beam.waistRadius / beam.divergence;  // the Rayleigh length needs no M
}

namespace {

// The object-beam kind axis 0 keeps: the one it held on either side, else the waist radius.
int AdoptedKind(const engine::Selection& sel) {
    for (const auto& e : sel.Entries()) {
        if (IsObjectBeam(e.nVarType)) return e.nVarType;
    }
    for (const auto& e : sel.Entries()) {
        if (IsImageBeam(e.nVarType)) return e.nVarType - 3;
    }
    return kGbObjRadius;
}

// The conjugate that stays beside s: the one held (f', s' or m), else f'. While circularising
// the cylinders need f'.
int AdoptedConjugate(const BeamDesign& design) {
    if (!Circularising(design)) {
        for (const auto& e : design.axes[0].selection.Entries()) {
            if (e.nVarType == kGbFocal || e.nVarType == kGbImgDist || e.nVarType == kGbMagnif) {
                return e.nVarType;
            }
        }
    }
    return kGbFocal;
}

std::string MmText(double v) {
    return text::Format(v, "0.0##") + " mm";
}

}  // namespace

AdoptOutcome AdoptFittedBeam(BeamDesign& design, const MeasurementFit& fit, double elementPosition,
                             double limitMargin) {
    const int axes = design.diode.diodeMode ? 2 : 1;
    if (axes > fit.axisCount) {
        return {false, Tr("Im Diodenmodus braucht die Messung Durchmesser für beide Achsen.")};
    }
    std::array<FittedObjectBeam, 2> beams{};
    for (int i = 0; i < axes; ++i) {
        const AxisFitOutcome& outcome = fit.axes[static_cast<std::size_t>(i)];
        if (!outcome.fit) return {false, Tr("Keine gültige Anpassung: ") + outcome.error};
        beams[static_cast<std::size_t>(i)] =
            ObjectBeamFromFit(*outcome.fit, elementPosition, design.WavelengthMm());
        const double m2 = beams[static_cast<std::size_t>(i)].mSquared;
        if (!IsValidMSquared(m2) ||
            !engine::FitsFloat(beams[static_cast<std::size_t>(i)].waistDistance)) {
            return {false, TrFormat("M² = %1 kann nicht übernommen werden (erlaubt: 0 < M² < 50).",
                                    {text::Format(m2, "0.0#")})};
        }
    }

    BeamAxis& a0 = design.axes[0];
    const engine::Selection old = a0.selection;
    const int kind = AdoptedKind(old), conjugate = AdoptedConjugate(design);
    const bool solved = !a0.resultInvalid && a0.valuesDefined;
    auto entryFor = [&](int index) {
        engine::CVarType e;
        if (const auto pos = old.Find(index)) {
            e = old.At(*pos);
        } else {
            e.nVarType = static_cast<std::int16_t>(index);
            e.bVarValDef = solved && engine::FitsFloat(a0.table[static_cast<std::size_t>(index)]);
            e.sVarValue =
                e.bVarValDef ? static_cast<float>(a0.table[static_cast<std::size_t>(index)]) : 0.0f;
        }
        return e;
    };
    auto set = [&](engine::CVarType e, double value) {
        e.sVarValue = static_cast<float>(value);
        e.bVarValDef = true;
        engine::ExtendLimitsToValue(e, value, 1.0, limitMargin);
        return e;
    };
    engine::CVarType third = entryFor(conjugate);
    if (third.bVarValDef) engine::ExtendLimitsToValue(third, third.sVarValue, 1.0, limitMargin);
    const engine::CVarType records[] = {third, set(entryFor(kGbObjDist), beams[0].waistDistance),
                                        set(entryFor(kind), EngineObjectBeamValue(beams[0], kind))};
    engine::Selection adopted(old.Capacity());
    for (const auto& e : records) adopted.Add(e.nVarType, e);
    a0.selection = adopted;
    design.extrasOptions.mFactorUse = true;
    design.extrasOptions.mFactor = beams[0].mSquared;

    AdoptOutcome out{true, std::nullopt};
    if (axes == 2) {
        design.diode.mFactor = beams[1].mSquared;
        design.diode.paramKind = kind;
        design.diode.paramValues[static_cast<std::size_t>(kind)] =
            EngineObjectBeamValue(beams[1], kind);
        const double apart = beams[1].waistDistance - beams[0].waistDistance;
        if (std::fabs(apart) > 1e-6 * std::max(1.0, std::fabs(beams[0].waistDistance))) {
            out.message = TrFormat(
                "Die Taillen der beiden Achsen liegen %1 auseinander; beide Achsen erhalten die "
                "Objektweite der ersten.",
                {MmText(std::fabs(apart))});
        }
    }
    if (Circularising(design)) {
        out.message =
            Tr("Beim Zirkularisieren bestimmt der Kollimationsmodus die Objektweite; "
               "die gemessene Lage der Taille wird nicht verwendet.");
    }
    return out;
}

}  // namespace rs::beam
