#include "engine/report.h"

#include <cmath>

#include "engine/aperture.h"
#include "engine/solver.h"
#include "text/tr.h"
#include "text/vb_format.h"

namespace rs::engine {
using text::Tr;
namespace {

using text::Format;

constexpr unsigned kYellow = 65535;
constexpr unsigned kRed = 255;

constexpr const char* kDashes = "    ----";
constexpr const char* kFiller = "    ---";

constexpr int kSectionX = 1440;
constexpr int kNameX = 1800;
constexpr int kValueX = 6120;
constexpr int kSecondAxisX = 8280;

// A blank in front of non-negative numbers, so that signs line up.
std::string Signed(double v, const std::string& formatted) {
    return v >= 0 ? " " + formatted : formatted;
}

std::string ApertureNumber(const ReportUnits& units, int index, double v) {
    const DisplayUnit u = units.Aperture(index);
    return Format(v / u.factor, ApertureFormat(index)) + u.suffix;
}

}  // namespace

ResultRow NamedRow(std::string name, std::string value, std::string_view german) {
    while (!german.empty() && (german.back() == ' ' || german.back() == ':')) {
        german.remove_suffix(1);
    }
    return {std::move(name), std::move(value), std::string(german)};
}

DisplayUnit ReportUnits::Param(int index) const {
    if (param) return param(index);
    return {ParamScale(index), std::string(ParamDefaultUnit(index))};
}

DisplayUnit ReportUnits::Aperture(int index) const {
    if (aperture) return aperture(index);
    return {ApertureScale(index), std::string(ApertureDefaultUnit(index))};
}

bool ImageAtInfinity(const ParaxialDesign& design) {
    return !design.bCalcInvalid && design.params.Count() == 3 && design.params.AllValuesDefined() &&
           ObjectInFrontFocalPlane(design);
}

std::string ValueText(const ParaxialDesign& design, const ReportUnits& units, int index, float v,
                      bool forPrint) {
    const bool imageAtInfinity = ImageAtInfinity(design);
    if (index == kObjDist && v == kInfinity) return Tr("unendlich");
    if (index == kImgDist && imageAtInfinity) return Tr(" In Unendlich");
    if ((index == kMagnif || index == kObjImgDist || index == kImgHeight) && imageAtInfinity) {
        return " ---";
    }
    const DisplayUnit u = units.Param(index);
    std::string text = Signed(v, Format(v / u.factor, ParamFormat(index))) + u.suffix;
    if (index == kObjDist && v > 0) text += Tr("     [Virtuell]");
    if (index == kFocal && forPrint) {
        if (design.options.mirrorMode) {
            text += v < 0 ? Tr("    [Konkav]") : Tr("    [Konvex]");
        } else {
            text += v < 0 ? Tr("    [Negativ]") : Tr("    [Positiv]");
        }
    }
    return text;
}

namespace {

// The value of a general parameter in the list and the report, with the texts of an object at
// infinity in front of the general rule.
std::string SystemValueText(const ParaxialDesign& design, const ReportUnits& units, int index,
                            bool forPrint) {
    if (design.options.objAtInfinity) {
        switch (index) {
            case kObjImgDist:
            case kObjHeight:
                return " ---";
            case kObjDist:
                return Tr(" In Unendlich");
            case kMagnif:
                return Tr(" Null");
            default:
                break;
        }
    }
    return ValueText(design, units, index, design.paramTable.Get(index), forPrint);
}

bool ShowsObjFocalRow(const ParaxialDesign& d) {
    return !d.options.mirrorMode &&
           (d.options.ObjectIndex() != 1.0 || d.options.ImageIndex() != 1.0);
}
bool ShowsNodalRows(const ParaxialDesign& d) {
    return !d.options.mirrorMode && d.options.ObjectIndex() != d.options.ImageIndex();
}

}  // namespace

std::string WavelengthText(const ParaxialDesign& design) {
    return Format(design.options.TestWavelength(), "0nm");
}

namespace {

// What every row of the result list asks of the design.
struct ListFacts {
    const ParaxialDesign& design;
    const ReportUnits& units;
    bool valid = false;
    bool imageAtInfinity = false;
    bool apertureDefined = false;
    bool objFocalRow = false;
    bool nodalRows = false;
};

ResultRow GeneralRow(const ListFacts& f, int index) {
    return NamedRow(f.design.symbols.ParamLabelWithSymbol(index),
                    f.valid ? SystemValueText(f.design, f.units, index, false) : std::string(),
                    ParamLabel(index));
}

std::string MirrorRadiusValue(const ListFacts& f) {
    const ParamTable& p = f.design.paramTable;
    const DisplayUnit u = f.units.Param(kFocal);
    return Format(2.0 * p.Get(kFocal) / u.factor, ParamFormat(kFocal)) + u.suffix +
           (p.Get(kObjFocal) >= 0 ? Tr("    [Konvex]") : Tr("    [Konkav]"));
}

// A nodal point's distance from its principal point, named with both symbols.
ResultRow NodalRow(const ListFacts& f, const char* name, int node, int principal) {
    const SymbolTable& sym = f.design.symbols;
    std::string value;
    if (f.valid) {
        const DisplayUnit u = f.units.Param(kObjFocal);
        const double dist = static_cast<double>(f.design.cardinal[static_cast<std::size_t>(node)]) -
                            f.design.cardinal[static_cast<std::size_t>(principal)];
        value = Format(dist / u.factor, ParamFormat(kObjFocal)) + u.suffix;
    }
    return NamedRow(Tr(name) + sym.Cardinal(node) + sym.Cardinal(principal), value, name);
}

std::vector<ResultRow> SystemRows(const ListFacts& f) {
    std::vector<ResultRow> rows{GeneralRow(f, kFocal)};
    if (f.objFocalRow) {
        rows.push_back(NamedRow(
            f.design.symbols.ParamLabelWithSymbol(kObjFocal),
            f.valid ? ValueText(f.design, f.units, kObjFocal, f.design.paramTable.Get(kObjFocal))
                    : "",
            ParamLabel(kObjFocal)));
    }
    if (f.design.options.mirrorMode) {
        rows.push_back(
            NamedRow(Tr(kMirrorRadiusRow), f.valid ? MirrorRadiusValue(f) : "", kMirrorRadiusRow));
    }
    if (f.nodalRows) {
        rows.push_back(NodalRow(f, kNodalPoint1Row, kN, kP));
        rows.push_back(NodalRow(f, kNodalPoint2Row, kNImage, kPImage));
    }
    for (int i = kObjDist; i <= kImgAngle; ++i) rows.push_back(GeneralRow(f, i));
    return rows;
}

std::string ApertureValue(const ListFacts& f, int index, std::string_view wavelengthText) {
    if (!f.valid) return " ";
    if (!f.apertureDefined) return kDashes;
    const bool starred = index == kNA || index == kNAImage || index == kAiryRadius;
    // Image-side figures have no meaning for an image at infinity.
    if (starred && f.imageAtInfinity) return "";
    std::string text =
        " " + ApertureNumber(f.units, index, std::fabs(f.design.apertureTable.Get(index)));
    if (index == kAiryRadius) text += " [" + std::string(wavelengthText) + "]";
    if (starred) text += "*";
    return text;
}

std::string EffectiveFNumberValue(const ListFacts& f) {
    if (!f.valid) return " ";
    if (!f.apertureDefined) return kDashes;
    const double fe = std::fabs(EffectiveFNumber(f.design));
    return fe > 10000 ? "----" : " " + ApertureNumber(f.units, kFNumber, fe);
}

std::string MtfCutOffValue(const ListFacts& f) {
    if (!f.valid) return f.apertureDefined ? "" : " ";
    if (!f.apertureDefined) return kDashes;
    return Format(f.design.mtfCutOff, " 0") + "lp/mm*";
}

// The aperture block; fillers keep it at the same height whichever optional rows the system
// block shows.
std::vector<ResultRow> ApertureRows(const ListFacts& f, std::string_view wavelengthText) {
    std::vector<ResultRow> rows;
    auto aperture = [&](int index) {
        rows.push_back(NamedRow(Tr(ApertureLabel(index)), ApertureValue(f, index, wavelengthText),
                                ApertureLabel(index)));
    };
    aperture(kStopRadius);
    aperture(kFNumber);
    rows.push_back(
        NamedRow(Tr(kEffectiveFNumberRow), EffectiveFNumberValue(f), kEffectiveFNumberRow));
    if (!f.objFocalRow) rows.push_back({kFiller, " ", ""});
    aperture(kNA);
    aperture(kNAImage);
    if (!f.nodalRows) {
        rows.push_back({kFiller, " ", ""});
        rows.push_back(NamedRow(Tr("(Näherung)"), " ", "(Näherung)"));
    }
    aperture(kAiryRadius);
    rows.push_back(NamedRow(Tr(kMtfCutOffRow), MtfCutOffValue(f), kMtfCutOffRow));
    return rows;
}

}  // namespace

ResultList FillResultList(const ParaxialDesign& design, const ReportUnits& units,
                          std::string_view wavelengthText, bool rewriteNames, bool dragging,
                          ResultListCache& cache) {
    const ListFacts facts{design,
                          units,
                          !design.bCalcInvalid,
                          ImageAtInfinity(design),
                          !design.bApertureUndefined,
                          ShowsObjFocalRow(design),
                          ShowsNodalRows(design)};
    ResultList list;
    list.rows = SystemRows(facts);
    for (ResultRow& row : ApertureRows(facts, wavelengthText)) list.rows.push_back(std::move(row));

    const bool mirror = design.options.mirrorMode;
    const bool layoutChanged = !cache.filled || cache.objFocalRow != facts.objFocalRow ||
                               cache.nodalRows != facts.nodalRows || cache.mirrorRow != mirror;
    list.rewriteNames = !dragging && (rewriteNames || layoutChanged);
    if (list.rewriteNames)
        cache = {true, facts.objFocalRow, facts.nodalRows, mirror, cache.lensRows};
    return list;
}

std::optional<StatusLabel> UpdateConjugateStatus(const ParaxialDesign& design) {
    if (design.bCalcInvalid) return std::nullopt;
    const bool vo = IsVirtualObject(design);
    const bool vi = IsVirtualImage(design);
    const bool inf = ImageAtInfinity(design);
    if (vo) {
        if (inf) return StatusLabel{Tr("Virtuelles Objekt - Bild im Unendlichen"), kYellow};
        return StatusLabel{vi ? Tr("Virtuelles Objekt/Bild") : Tr("Virtuelles Objekt"), kRed};
    }
    if (inf) return StatusLabel{Tr("Bild im Unendlichen"), kYellow};
    if (vi) return StatusLabel{Tr("Virtuelles Bild"), kRed};
    return std::nullopt;
}

std::string StartupCaption(std::string_view version) {
    return Tr("Kestrelon: Linsensystem Raysketcher") + std::string(version);
}

std::string WindowTitle(std::string_view version, const TitleState& s) {
    std::string title = Tr("Kestrelon: System Raysketcher ") + std::string(version);
    if (!s.beamMode) {
        title += s.mirrorMode ? Tr("    [Spiegelsystem]") : Tr("    [Linsensystem]");
        title += Tr("   paraxiale Berechnung");
        return title;
    }
    title += Tr("   Berechnung von Gaußschen Strahlen");
    if (s.diodeMode) {
        title += Tr(" Diode");
        if (s.circularise) {
            title += s.circulariseMode == 1 ? Tr(" [zirkularisiert - max Taillenabstand]")
                                            : Tr(" [zirkularisiert - min Divergenz]");
        }
    }
    return title;
}

std::optional<std::string> ReportRefusal(const Selection& selection) {
    if (selection.Count() < 3) return Tr("Sie haben noch nicht alle Parameter ausgewählt! ");
    if (!selection.AllValuesDefined()) {
        return Tr("Sie haben noch nicht für alle Parameter Werte eingetragen! ");
    }
    return std::nullopt;
}

void ReportWriter::Title(std::string title, std::string dateText) {
    page_.rows.push_back(
        {{{0, std::move(title), true, 12}, {0, std::move(dateText), false, 10, true}}});
}

void ReportWriter::Note(std::string text) {
    page_.rows.push_back({{{kSectionX, std::move(text), false, 10}}});
}

void ReportWriter::Blank() {
    page_.rows.push_back({});
}

void ReportWriter::Heading(std::string text) {
    page_.rows.push_back({{{kSectionX, std::move(text), true, size_}}});
}

void ReportWriter::Row(std::string name, std::string value, std::string second) {
    ReportRow r{{{kNameX, std::move(name), false, size_}}};
    if (!value.empty()) r.pieces.push_back({kValueX, std::move(value), false, size_});
    if (!second.empty()) r.pieces.push_back({kSecondAxisX, std::move(second), false, size_});
    page_.rows.push_back(std::move(r));
}

namespace {

void WriteUserVariables(ReportWriter& out, const ParaxialDesign& design, const ReportUnits& units) {
    out.Heading(Tr("Benutzerdefinierte Variablen"));
    for (const CVarType& e : design.params.Entries()) {
        std::string value;
        if (e.nVarType == kObjDist && design.options.objAtInfinity) {
            value = Tr(" Unendlich");
        } else {
            const DisplayUnit u = units.Param(e.nVarType);
            value = Signed(e.sVarValue, Format(e.sVarValue / u.factor, ParamFormat(e.nVarType))) +
                    u.suffix;
        }
        out.Row(design.symbols.ParamLabelWithSymbol(e.nVarType) + ":\t", value);
    }
    if (design.aperture.Count() > 0) {
        const CVarType& e = design.aperture.At(1);
        out.Row(Tr(ApertureLabel(e.nVarType)) + ":\t",
                Signed(e.sVarValue, ApertureNumber(units, e.nVarType, e.sVarValue)));
    }
}

// The printed aperture figure `index`; a failed solve leaves the figures of an earlier system in
// the table, so it prints none.
std::string PrintedApertureValue(const ParaxialDesign& design, const ReportUnits& units,
                                 int index) {
    if (design.bCalcInvalid) return "";
    const double v = design.apertureTable.Get(index);
    std::string value = Signed(v, ApertureNumber(units, index, v));
    if (!ImageAtInfinity(design)) {
        if (index == kAiryRadius) value += " [" + WavelengthText(design) + "]";
        if (index == kNA || index == kNAImage || index == kAiryRadius) value += "*";
    }
    return value;
}

void WriteApertureFigures(ReportWriter& out, const ParaxialDesign& design,
                          const ReportUnits& units) {
    const bool valid = !design.bCalcInvalid;
    for (int i = kStopRadius; i <= kAiryRadius; ++i) {
        out.Row(Tr(ApertureLabel(i)) + ":  ", PrintedApertureValue(design, units, i));
        if (i == kFNumber) {
            out.Row(Tr("Blendenzahl effektiv"),
                    valid
                        ? " " + ApertureNumber(units, kFNumber, std::fabs(EffectiveFNumber(design)))
                        : "");
        }
    }
    std::string mtf = " ";
    if (valid && !ImageAtInfinity(design)) mtf = Format(design.mtfCutOff, " 0") + "lp/mm*";
    out.Row(Tr("MTF-Grenzfrequenz"), mtf);
}

void WriteSystemDefinition(ReportWriter& out, const ParaxialDesign& design,
                           const ReportUnits& units) {
    out.Heading(design.options.mirrorMode ? Tr("Systemdefinition: Spiegel")
                                          : Tr("Systemdefinition: Linse"));
    for (int i = kFocal; i <= kImgAngle; ++i) {
        out.Row(design.symbols.ParamLabelWithSymbol(i) + ":  ",
                design.bCalcInvalid ? "" : SystemValueText(design, units, i, true));
    }
    if (!design.bApertureUndefined) WriteApertureFigures(out, design, units);
}

void WriteAdvancedOptions(ReportWriter& out, const ParaxialDesign& design) {
    out.Heading(Tr("Erweiterte Optionen"));
    const AdvancedOptions& adv = design.options.advanced;
    if (design.options.advOptions) {
        out.Row(
            Tr("Entfernung zwischen den Hauptebenen:"),
            " " + (design.options.mirrorMode ? std::string("0") : Format(adv.separation, "0.0##")));
        out.Row(Tr("Brechungsindex im Objektraum:"), " " + Format(adv.n, "0.0000"));
        out.Row(Tr("Brechungsindex im Bildraum:"), " " + Format(adv.nImage, "0.0000"));
    }
    // The wavelength the figures were computed with (the standard one while the options are off).
    out.Row(Tr("Wellenlänge [für Beugungsbetrachtung]"), " " + WavelengthText(design));
}

}  // namespace

ReportResult BuildParaxialReport(const ParaxialDesign& design, const ReportUnits& units,
                                 const ReportInput& input) {
    ReportResult result;
    result.refusal = ReportRefusal(design.params);
    if (result.refusal) return result;
    ReportWriter out(result.page);
    out.Title(Tr("Kestrelon Raysketcher ") + input.version + Tr(" paraxiale Berechnung"),
              input.dateText);
    if (!input.heldLens.empty()) out.Note(input.heldLens);
    out.Blank();
    WriteUserVariables(out, design, units);
    out.Blank();
    WriteSystemDefinition(out, design, units);
    out.Blank();
    WriteAdvancedOptions(out, design);
    out.Blank();
    out.Heading(Tr("Schärfentiefe"));
    for (const auto& [name, value] : input.dofRows) out.Row(name, " " + value);
    return result;
}

}  // namespace rs::engine
