#include "cli/fit_and_lens.h"

#include <cmath>
#include <ostream>

#include "app/presentation.h"
#include "beam/beam_report.h"
#include "beam/caustic_fit.h"
#include "cli/cli.h"
#include "text/file_read.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"

namespace rs::cli {
using text::Tr;
using text::TrFormat;
namespace {

std::string Once(std::string_view name) {
    return TrFormat("\"%1\" darf nur einmal angegeben werden", {name});
}

std::optional<std::string> TakeNumber(std::string_view option, std::string_view text,
                                      std::optional<double>& to, bool positive) {
    if (to) return Once(option);
    const auto v = text::ParseTypedNumber(text);
    if (!v || !std::isfinite(*v) || (positive && *v <= 0)) {
        return std::string(option) + " \"" + std::string(text) + "\": " +
               (positive ? Tr("erwartet eine Zahl größer als 0") : Tr("erwartet eine Zahl"));
    }
    to = *v;
    return std::nullopt;
}

std::string AxisName(int axis) {
    return TrFormat("%1. Achse", {std::to_string(axis + 1)});
}

// The measurement of the file, or nothing after the messages naming what could not be read.
std::optional<beam::MeasurementTable> ReadMeasurement(const std::filesystem::path& file,
                                                      std::ostream& err) {
    const text::FileRead read = text::ReadFileBounded(file, beam::kMaxMeasurementTextBytes);
    if (read.failure != text::ReadFailure::kNone) {
        const text::FileNotRead notRead{
            file, text::ReadFailureText(read.failure, beam::kMaxMeasurementTextBytes)};
        err << "raysketcher-cli: " << PlainText(notRead.Message()) << "\n";
        return std::nullopt;
    }
    const beam::MeasurementParse parsed =
        beam::ParseMeasurementText(text::TextFileToUtf8(read.bytes));
    // A fit of some of the rows would look like one of all of them.
    for (const std::string& problem : parsed.problems)
        err << "raysketcher-cli: " << PlainText(file.string()) << ": " << PlainText(problem)
            << "\n";
    if (!parsed.ok()) return std::nullopt;
    if (parsed.table.rows.empty()) {
        err << "raysketcher-cli: " << PlainText(file.string()) << ": " << Tr("keine Messwerte")
            << "\n";
        return std::nullopt;
    }
    return parsed.table;
}

std::string FitJson(const beam::MeasurementFit& fit, double wavelengthMm) {
    const auto number = [](double v) { return text::ShortestText(v); };
    std::string j = "{\"wavelength\":" + number(wavelengthMm) + ",\"axes\":[";
    for (int axis = 0; axis < fit.axisCount; ++axis) {
        const beam::CausticFit& f = *fit.axes[static_cast<std::size_t>(axis)].fit;
        j += std::string(axis > 0 ? "," : "") + "{\"waistPosition\":" + number(f.waistPosition) +
             ",\"waistDiameter\":" + number(f.waistDiameter) +
             ",\"divergence\":" + number(f.divergence) +
             ",\"rayleighLength\":" + number(f.rayleighLength) +
             ",\"mSquared\":" + number(f.mSquared) + ",\"rmsResidual\":" + number(f.rmsResidual) +
             ",\"warnings\":[";
        for (std::size_t k = 0; k < f.warnings.size(); ++k)
            j += (k > 0 ? "," : "") + JsonString(f.warnings[k].text);
        j += "]}";
    }
    return j + "]}\n";
}

// The window's fitted values, one "name<TAB>value" line each in the design's beam units, then
// its warnings as "Hinweis" lines; a line per axis name when there are two.
std::string FitLines(const beam::MeasurementFit& fit, const units::UnitState& u) {
    std::string lines;
    for (int axis = 0; axis < fit.axisCount; ++axis) {
        const beam::CausticFit& f = *fit.axes[static_cast<std::size_t>(axis)].fit;
        if (fit.axisCount > 1) lines += AxisName(axis) + "\n";
        for (const beam::FitRow& row : beam::FitRows(f)) {
            const std::string value =
                row.unitIndex < 0
                    ? beam::BeamNumber(row.value, "0.00")
                    : beam::BeamNumber(row.value / u.UnitFactor(units::Group::GB, row.unitIndex),
                                       "0.0###") +
                          " " + std::string(u.UnitSuffix(units::Group::GB, row.unitIndex));
            lines += std::string(text::TrimBlanks(Tr(row.label), " :")) + "\t" + value + "\n";
        }
        for (const beam::FitNote& note : f.warnings)
            lines += Tr("Hinweis") + "\t" + note.text + "\n";
    }
    return lines;
}

}  // namespace

std::optional<std::string> FitRequest::TakeFile(std::string_view name) {
    if (file) return Once("--fit");
    if (name.empty()) return Tr("\"--fit\" mit leerem Dateinamen");
    file = std::filesystem::path(name);
    return std::nullopt;
}

std::optional<std::string> FitRequest::TakeWavelength(std::string_view nm) {
    return TakeNumber("--wavelength", nm, wavelengthNm, true);
}

std::optional<std::string> FitRequest::TakeElementAt(std::string_view z) {
    return TakeNumber("--element-at", z, elementAt, false);
}

std::optional<std::string> FitRequest::CombinationProblem(const DesignEdits& edits,
                                                          std::size_t settingsFiles,
                                                          bool others) const {
    if (!file) {
        if (wavelengthNm || elementAt) return Tr("--wavelength und --element-at nur mit --fit");
        return std::nullopt;
    }
    if (others) return Tr("\"--fit\" gibt nur die Anpassung aus (mit --json als JSON)");
    if (settingsFiles > 1) return Tr("Mit mehreren \"--settings\" geht --fit nicht");
    if (elementAt) {
        if (!edits.save) {
            return Tr("--element-at übernimmt den Strahl ins System und braucht --save");
        }
        if (settingsFiles == 0 && !edits.newBeam) {
            return Tr("--element-at braucht ein System: --settings DATEI oder --new beam");
        }
        // The window fits at the design's wavelength when it takes the beam.
        if (wavelengthNm)
            return Tr("Mit --element-at gilt die Wellenlänge des Systems, nicht --wavelength");
    } else if (edits.save || edits.Changes()) {
        return Tr(
            "--new, --choose, --lens, --set und --save gehen mit --fit nur zusammen mit "
            "--element-at");
    }
    return std::nullopt;
}

std::optional<std::string> FindRequestedLens(DesignEdits& edits,
                                             const analysis::CatalogueLocation& where,
                                             std::ostream& err) {
    if (!where.dir) return analysis::CatalogueNotFoundMessage(where);
    const analysis::LensCatalogue catalogue = analysis::ReadCatalogueLenses(*where.dir);
    for (const text::FileNotRead& f : catalogue.NotRead())
        err << "raysketcher-cli: " << PlainText(f.Message()) << "\n";
    const analysis::CatalogueLens* lens = catalogue.Find(*edits.lensCode);
    if (!lens) {
        return TrFormat("Die Linse \"%1\" steht nicht im Katalog.", {PlainText(*edits.lensCode)});
    }
    edits.lens = *lens;
    return std::nullopt;
}

int RunFit(const FitRequest& request, bool json, LoadedDesign* design, std::ostream& out,
           std::ostream& err) {
    const auto table = ReadMeasurement(*request.file, err);
    if (!table) return kUsage;
    beam::BeamDesign beamAt = design ? design->state.beam : beam::BeamDesign{};
    if (request.wavelengthNm) beamAt.SetWavelengthNm(*request.wavelengthNm);
    const beam::MeasurementFit fit = beam::FitMeasurement(*table, beamAt.WavelengthMm());
    for (int axis = 0; axis < fit.axisCount; ++axis) {
        const beam::AxisFitOutcome& outcome = fit.axes[static_cast<std::size_t>(axis)];
        if (outcome.fit) continue;
        err << "raysketcher-cli: " << (fit.axisCount > 1 ? AxisName(axis) + ": " : "")
            << PlainText(outcome.error) << "\n";
        return kUsage;
    }
    if (request.elementAt && design) {
        app::DesignState& d = design->state;
        const beam::AdoptOutcome adopted =
            beam::AdoptFittedBeam(d.beam, fit, *request.elementAt, d.paraxial.Margin());
        if (adopted.message) err << "raysketcher-cli: " << PlainText(*adopted.message) << "\n";
        if (!adopted.changed && adopted.message) return kUsage;
        // The measurement stays with the design, as the window keeps its table.
        d.measurement.table = *table;
        d.measurement.elementPosition = *request.elementAt;
        app::SolveDesign(d, false);
        StageBytes(*design);
    }
    const units::UnitState u = design ? design->state.units : units::UnitState{};
    out << (json ? FitJson(fit, beamAt.WavelengthMm()) : FitLines(fit, u));
    return kSolved;
}

}  // namespace rs::cli
