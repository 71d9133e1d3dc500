#include "engine/report.h"

#include <cmath>

#include "engine/aperture.h"
#include "engine/solver.h"
#include "text/vb_format.h"

namespace rs::engine {
namespace {

using text::Format;

constexpr unsigned kYellow = 65535;
constexpr unsigned kRed = 255;

constexpr const char* kDashes = "    ----";
constexpr const char* kFiller = "    ---";

constexpr int kSectionX = 1440;
constexpr int kNameX = 1800;
constexpr int kValueX = 6120;

// A blank in front of non-negative numbers, so that signs line up.
std::string Signed(double v, const std::string& formatted) {
    return v >= 0 ? " " + formatted : formatted;
}

std::string ApertureNumber(const ReportUnits& units, int index, double v) {
    const DisplayUnit u = units.Aperture(index);
    return Format(v / u.factor, ApertureFormat(index)) + u.suffix;
}

}  // namespace

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
    if (index == kObjDist && v == kInfinity) return "unendlich";
    if (index == kImgDist && imageAtInfinity) return " In Unendlich";
    if ((index == kMagnif || index == kObjImgDist || index == kImgHeight) && imageAtInfinity) {
        return " ---";
    }
    const DisplayUnit u = units.Param(index);
    std::string text = Signed(v, Format(v / u.factor, ParamFormat(index))) + u.suffix;
    if (index == kObjDist && v > 0) text += "     [Virtuell]";
    if (index == kFocal && forPrint) {
        if (design.options.mirrorMode) {
            text += v < 0 ? "    [Konkav]" : "    [Konvex]";
        } else {
            text += v < 0 ? "    [Negativ]" : "    [Positiv]";
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
                return " In Unendlich";
            case kMagnif:
                return " Null";
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

ResultList FillResultList(const ParaxialDesign& design, const ReportUnits& units,
                          std::string_view wavelengthText, bool rewriteNames, bool dragging,
                          ResultListCache& cache) {
    const bool valid = !design.bCalcInvalid;
    const bool imageAtInfinity = ImageAtInfinity(design);
    const bool mirror = design.options.mirrorMode;
    const bool objFocalRow = ShowsObjFocalRow(design);
    const bool nodalRows = ShowsNodalRows(design);
    const SymbolTable& sym = design.symbols;
    const ParamTable& p = design.paramTable;

    ResultList list;
    auto& rows = list.rows;
    auto general = [&](int index) {
        rows.push_back({sym.ParamLabelWithSymbol(index),
                        valid ? SystemValueText(design, units, index, false) : std::string()});
    };

    general(kFocal);
    if (objFocalRow) {
        rows.push_back({sym.ParamLabelWithSymbol(kObjFocal),
                        valid ? ValueText(design, units, kObjFocal, p.Get(kObjFocal)) : ""});
    }
    if (mirror) {
        std::string value;
        if (valid) {
            const DisplayUnit u = units.Param(kFocal);
            value = Format(2.0 * p.Get(kFocal) / u.factor, ParamFormat(kFocal)) + u.suffix +
                    (p.Get(kObjFocal) >= 0 ? "    [Konvex]" : "    [Konkav]");
        }
        rows.push_back({kMirrorRadiusRow, value});
    }
    if (nodalRows) {
        const DisplayUnit u = units.Param(kObjFocal);
        auto nodal = [&](const char* name, int node, int principal) {
            std::string value;
            if (valid) {
                const double dist =
                    static_cast<double>(design.cardinal[static_cast<std::size_t>(node)]) -
                    design.cardinal[static_cast<std::size_t>(principal)];
                value = Format(dist / u.factor, ParamFormat(kObjFocal)) + u.suffix;
            }
            rows.push_back({name + sym.Cardinal(node) + sym.Cardinal(principal), value});
        };
        nodal(kNodalPoint1Row, kN, kP);
        nodal(kNodalPoint2Row, kNImage, kPImage);
    }
    for (int i = kObjDist; i <= kImgAngle; ++i) general(i);

    // Aperture block.
    const bool apertureDefined = !design.bApertureUndefined;
    auto apertureValue = [&](int index) -> std::string {
        if (!valid) return " ";
        if (!apertureDefined) return kDashes;
        const bool starred = index == kNA || index == kNAImage || index == kAiryRadius;
        // Image-side figures have no meaning for an image at infinity.
        if (starred && imageAtInfinity) return "";
        std::string text =
            " " + ApertureNumber(units, index, std::fabs(design.apertureTable.Get(index)));
        if (index == kAiryRadius) text += " [" + std::string(wavelengthText) + "]";
        if (starred) text += "*";
        return text;
    };
    auto aperture = [&](int index) {
        rows.push_back({std::string(ApertureLabel(index)), apertureValue(index)});
    };
    aperture(kStopRadius);
    aperture(kFNumber);
    {
        std::string value;
        if (!valid) {
            value = " ";
        } else if (!apertureDefined) {
            value = kDashes;
        } else {
            const double fe = std::fabs(EffectiveFNumber(design));
            value = fe > 10000 ? "----" : " " + ApertureNumber(units, kFNumber, fe);
        }
        rows.push_back({kEffectiveFNumberRow, value});
    }
    if (!objFocalRow) rows.push_back({kFiller, " "});
    aperture(kNA);
    aperture(kNAImage);
    if (!nodalRows) {
        rows.push_back({kFiller, " "});
        rows.push_back({"(Näherung)", " "});
    }
    aperture(kAiryRadius);
    {
        std::string value;
        if (valid && apertureDefined) {
            value = Format(design.mtfCutOff, " 0") + "lp/mm*";
        } else if (!valid) {
            value = apertureDefined ? "" : " ";
        } else {
            value = kDashes;
        }
        rows.push_back({kMtfCutOffRow, value});
    }

    const bool layoutChanged = !cache.filled || cache.objFocalRow != objFocalRow ||
                               cache.nodalRows != nodalRows || cache.mirrorRow != mirror;
    list.rewriteNames = !dragging && (rewriteNames || layoutChanged);
    if (list.rewriteNames) cache = {true, objFocalRow, nodalRows, mirror, cache.lensRows};
    return list;
}

std::optional<StatusLabel> UpdateConjugateStatus(const ParaxialDesign& design) {
    if (design.bCalcInvalid) return std::nullopt;
    const bool vo = IsVirtualObject(design);
    const bool vi = IsVirtualImage(design);
    const bool inf = ImageAtInfinity(design);
    if (vo) {
        if (inf) return StatusLabel{"Virtuelles Objekt - Bild im Unendlichen", kYellow};
        return StatusLabel{vi ? "Virtuelles Objekt/Bild" : "Virtuelles Objekt", kRed};
    }
    if (inf) return StatusLabel{"Bild im Unendlichen", kYellow};
    if (vi) return StatusLabel{"Virtuelles Bild", kRed};
    return std::nullopt;
}

std::string StartupCaption(std::string_view version) {
    return "Kestrelon: Linsensystem Raysketcher" + std::string(version);
}

std::string WindowTitle(std::string_view version, const TitleState& s) {
    std::string title = "Kestrelon: System Raysketcher " + std::string(version);
    if (!s.beamMode) {
        title += s.mirrorMode ? "    [Spiegelsystem]" : "    [Linsensystem]";
        title += "   paraxiale Berechnung";
        return title;
    }
    title += "   Berechnung von Gaußschen Strahlen";
    if (s.diodeMode) {
        title += " Diode";
        if (s.circularise) {
            title += s.circulariseMode == 1 ? " [zirkularisiert - max Taillenabstand]"
                                            : " [zirkularisiert - min Divergenz]";
        }
    }
    return title;
}

ReportResult BuildParaxialReport(const ParaxialDesign& design, const ReportUnits& units,
                                 const ReportInput& input) {
    ReportResult result;
    if (design.params.Count() < 3) {
        result.refusal = "Sie haben noch nicht alle Parameter ausgewählt! ";
        return result;
    }
    if (!design.params.AllValuesDefined()) {
        result.refusal = "Sie haben noch nicht für alle Parameter Werte eingetragen! ";
        return result;
    }
    const bool valid = !design.bCalcInvalid;
    const bool imageAtInfinity = ImageAtInfinity(design);
    const SymbolTable& sym = design.symbols;
    auto& rows = result.page.rows;
    auto blank = [&] { rows.push_back({}); };
    auto heading = [&](std::string text) {
        rows.push_back({{{kSectionX, std::move(text), true}}});
    };
    auto row = [&](std::string name, std::string value) {
        ReportRow r{{{kNameX, std::move(name)}}};
        if (!value.empty()) r.pieces.push_back({kValueX, std::move(value)});
        rows.push_back(std::move(r));
    };

    rows.push_back(
        {{{0, "Kestrelon Raysketcher " + input.version + " paraxiale Berechnung", true, 12},
          {0, input.dateText, false, 10, true}}});
    blank();

    heading("Benutzerdefinierte Variablen");
    for (const CVarType& e : design.params.Entries()) {
        std::string value;
        if (e.nVarType == kObjDist && design.options.objAtInfinity) {
            value = " Unendlich";
        } else {
            const DisplayUnit u = units.Param(e.nVarType);
            value = Signed(e.sVarValue, Format(e.sVarValue / u.factor, ParamFormat(e.nVarType))) +
                    u.suffix;
        }
        row(sym.ParamLabelWithSymbol(e.nVarType) + ":\t", value);
    }
    if (design.aperture.Count() > 0) {
        const CVarType& e = design.aperture.At(1);
        row(std::string(ApertureLabel(e.nVarType)) + ":\t",
            Signed(e.sVarValue, ApertureNumber(units, e.nVarType, e.sVarValue)));
    }
    blank();

    heading(design.options.mirrorMode ? "Systemdefinition: Spiegel" : "Systemdefinition: Linse");
    for (int i = kFocal; i <= kImgAngle; ++i) {
        row(sym.ParamLabelWithSymbol(i) + ":  ",
            valid ? SystemValueText(design, units, i, true) : "");
    }
    if (!design.bApertureUndefined) {
        const std::string wavelength = WavelengthText(design);
        for (int i = kStopRadius; i <= kAiryRadius; ++i) {
            std::string value;
            // A failed solve leaves the figures of an earlier system in the table: print none.
            if (valid) {
                const double v = design.apertureTable.Get(i);
                value = Signed(v, ApertureNumber(units, i, v));
                if (!imageAtInfinity) {
                    if (i == kAiryRadius) value += " [" + wavelength + "]";
                    if (i == kNA || i == kNAImage || i == kAiryRadius) value += "*";
                }
            }
            row(std::string(ApertureLabel(i)) + ":  ", value);
            if (i == kFNumber) {
                row("Blendenzahl effektiv",
                    valid
                        ? " " + ApertureNumber(units, kFNumber, std::fabs(EffectiveFNumber(design)))
                        : "");
            }
        }
        std::string mtf = " ";
        if (valid && !imageAtInfinity) mtf = Format(design.mtfCutOff, " 0") + "lp/mm*";
        row("MTF-Grenzfrequenz", mtf);
    }
    blank();

    heading("Erweiterte Optionen");
    const AdvancedOptions& adv = design.options.advanced;
    if (design.options.advOptions) {
        row("Entfernung zwischen den Hauptebenen:",
            " " + (design.options.mirrorMode ? std::string("0") : Format(adv.separation, "0.0##")));
        row("Brechungsindex im Objektraum:", " " + Format(adv.n, "0.0000"));
        row("Brechungsindex im Bildraum:", " " + Format(adv.nImage, "0.0000"));
    }
    // The wavelength the figures were computed with (the standard one while the options are off).
    row("Wellenlänge [für Beugungsbetrachtung]", " " + WavelengthText(design));
    blank();

    heading("Schärfentiefe");
    for (const auto& [name, value] : input.dofRows) row(name, " " + value);
    return result;
}

}  // namespace rs::engine
