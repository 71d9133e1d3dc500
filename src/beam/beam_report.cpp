#include "beam/beam_report.h"

#include <cmath>

#include "beam/beam_extras.h"
#include "text/strings.h"
#include "text/tr.h"
#include "text/vb_format.h"

namespace rs::beam {
using text::Tr;
namespace {

using engine::ResultRow;
using text::Format;

constexpr const char* kSeparator = "  ";

bool HasMedia(const BeamReportContext& c) {
    return c.objectIndex != 1.0 || c.imageIndex != 1.0;
}

// Whether an axis has a value to show at `index`: everything of a valid solve, and the given
// beam side with its derived partners even without a solution.
bool Shown(const BeamAxis& axis, int index) {
    if (!axis.resultInvalid) return true;
    if (index >= kGbObjRadius && index <= kGbObjRayleigh) return !axis.objBeamMissing;
    if (index >= kGbImgRadius && index <= kGbImgRayleigh) return !axis.imgBeamMissing;
    return false;
}

bool Diode(const BeamDesign& d) {
    return d.diode.diodeMode;
}

// The number of one axis for a parameter row.
double AxisValue(const BeamDesign& d, const BeamReportContext& c, int axis, int index) {
    const double m = ScalesWithM(index) ? MFactor(d, axis) : 1.0;
    return d.axes[static_cast<std::size_t>(axis)].table[static_cast<std::size_t>(index)] /
           c.Unit(index).factor * m;
}

// A value cell of parameter `index`: both axes in diode mode, the unit behind.
std::string ParamCell(const BeamDesign& d, const BeamReportContext& c, int index) {
    const BeamAxis& a0 = d.axes[0];
    if (!Shown(a0, index)) return "";
    const double a = AxisValue(d, c, 0, index);
    std::string cell = (a >= 0 ? " " : "") + BeamNumber(a, BeamFormat(index));
    if (Diode(d) && Shown(d.axes[1], index)) {
        cell += " [" + BeamNumber(AxisValue(d, c, 1, index), BeamFormat(index)) + "]";
    }
    return cell + c.Unit(index).suffix;
}

// An extras cell (radii at the element or the detector, Airy radius), only after a valid solve.
std::string ExtraCell(const BeamDesign& d, const BeamReportContext& c, int extra, int unitIndex,
                      std::string_view format, bool withM, bool scientific) {
    auto number = [&](int axis) {
        const double m = withM ? MFactor(d, axis) : 1.0;
        const double v =
            d.axes[static_cast<std::size_t>(axis)].extras[static_cast<std::size_t>(extra)] * m /
            c.Unit(unitIndex).factor;
        if (!scientific) return Format(v, format);
        return (v >= 0 ? " " : "") + BeamNumber(v, text::TrimBlanks(format));
    };
    std::string cell = number(0);
    if (Diode(d) && !d.axes[1].resultInvalid) {
        cell += " [" + std::string(text::TrimBlanks(number(1))) + "]";
    }
    return cell + c.Unit(unitIndex).suffix;
}

std::string ParaxialImageCell(const BeamDesign& d, const BeamReportContext& c,
                              std::string_view smallFormat) {
    const double v = d.axes[0].table[kGbParaxImage];
    if (std::fabs(static_cast<float>(v)) >= static_cast<float>(kParaxImageAtInfinity))
        return Tr(" unendlich");
    const engine::DisplayUnit u = c.Unit(kGbParaxImage);
    const double shown = v / u.factor;
    return Format(shown, std::fabs(v) >= 100000 ? " 0.00e+0#" : smallFormat) + u.suffix;
}

std::string MirrorRadiusCell(const BeamDesign& d, const BeamReportContext& c) {
    const engine::DisplayUnit u = c.Unit(kGbFocal);
    return Format(2.0 * d.axes[0].table[kGbFocal] / u.factor, BeamFormat(kGbFocal)) + u.suffix +
           (d.axes[0].table[kGbObjFocal] < 0 ? Tr("    [Konkav]") : Tr("    [Konvex]"));
}

std::string RatioCell(const BeamDesign& d, int extra) {
    const BeamAxis& a = d.axes[0];
    if (a.resultInvalid || a.table[kGbObjFocal] == 0) return " ";
    return Format(a.extras[static_cast<std::size_t>(extra)], " 0.0#####");
}

}  // namespace

bool ScalesWithM(int index) {
    return index == kGbObjRadius || index == kGbObjDiv || index == kGbImgRadius ||
           index == kGbImgDiv;
}

std::string BeamLabel(const BeamDesign& d, int index) {
    return Tr(BeamLongName(index)) + d.symbols.Param(index);
}

engine::DisplayUnit BeamReportContext::Unit(int index) const {
    if (unit) return unit(index);
    return {BeamFactor(index), std::string(BeamUnitLabel(index))};
}

std::string BeamNumber(double value, std::string_view format) {
    const float magnitude = static_cast<float>(std::fabs(value));
    const bool ordinary = magnitude > 0.0001f && magnitude <= 1e6f;
    return Format(value, ordinary ? format : "0.0#e+0#");
}

bool ShowInvalidLabel(const BeamDesign& design) {
    return design.axes[0].valuesDefined && design.axes[0].resultInvalid;
}

namespace {

std::string QualityCell(const BeamDesign& d) {
    std::string value = Format(d.extrasOptions.mFactor, " 0.0");
    if (Diode(d)) value += " [" + Format(d.diode.mFactor, "0.0]");
    return value;
}

// The rows the list shows below parameter `index` (none for most).
std::vector<ResultRow> RowsBelow(const BeamDesign& d, const BeamReportContext& c, int index) {
    const BeamAxis& a0 = d.axes[0];
    const bool valid = !a0.resultInvalid;
    std::vector<ResultRow> rows;
    if (index == kGbFocal && HasMedia(c))
        rows.push_back(engine::NamedRow(BeamLabel(d, kGbObjFocal), ParamCell(d, c, kGbObjFocal),
                                        BeamLongName(kGbObjFocal)));
    if (index == kGbFocal && c.mirrorMode) {
        rows.push_back(engine::NamedRow(Tr(engine::kMirrorRadiusRow) + " ",
                                        valid ? MirrorRadiusCell(d, c) : "",
                                        engine::kMirrorRadiusRow));
    }
    if (index == kGbImgDist) {
        rows.push_back(engine::NamedRow(Tr(BeamLongName(kGbParaxImage)),
                                        valid ? ParaxialImageCell(d, c, " 0.0##") : "",
                                        BeamLongName(kGbParaxImage)));
    }
    if (index == kGbTrack) rows.push_back({kSeparator, kSeparator, ""});
    if (index == kGbObjRayleigh) {
        rows.push_back({kSeparator, kSeparator, ""});
        rows.push_back(engine::NamedRow(
            Tr(ExtraName(kExRadiusAtElement)),
            valid ? ExtraCell(d, c, kExRadiusAtElement, kGbObjRadius, " 0.0##", true, false) : "",
            ExtraName(kExRadiusAtElement)));
        rows.push_back({kSeparator, kSeparator, ""});
    }
    if (index == kGbImgRadius) {
        rows.push_back(engine::NamedRow(
            Tr(ExtraName(kExRadiusAtDetector)) + ": " + d.symbols.Extra(kExRadiusAtDetector),
            valid && d.extrasOptions.detectorOn
                ? ExtraCell(d, c, kExRadiusAtDetector, kGbImgRadius, " 0.0###", true, false)
                : "",
            ExtraName(kExRadiusAtDetector)));
        rows.push_back(
            engine::NamedRow(Tr(ExtraName(kExAiry)) + ": " + d.symbols.Extra(kExAiry),
                             // A collimated beam has no image plane, so no Airy disc to speak of.
                             valid && std::fabs(a0.table[kGbParaxImage]) < kParaxImageAtInfinity
                                 ? ExtraCell(d, c, kExAiry, kGbImgRadius, " 0.0###", false, true)
                                 : "",
                             ExtraName(kExAiry)));
    }
    return rows;
}

}  // namespace

engine::ResultList FillBeamResultList(const BeamDesign& d, const BeamReportContext& c,
                                      BeamListCache& cache) {
    engine::ResultList list;
    auto& rows = list.rows;
    if (d.extrasOptions.mFactorUse) {
        rows.push_back(engine::NamedRow(Tr("MultiMode: M²"), QualityCell(d), "MultiMode: M²"));
    } else {
        rows.push_back(engine::NamedRow(Tr("Single Mode"), "", "Single Mode"));
    }
    for (int i = kGbFocal; i <= kGbImgRayleigh; ++i) {
        rows.push_back(engine::NamedRow(BeamLabel(d, i), ParamCell(d, c, i), BeamLongName(i)));
        for (ResultRow& row : RowsBelow(d, c, i)) rows.push_back(std::move(row));
    }
    for (const int ratio : {kExRatioS, kExRatioSImage}) {
        rows.push_back(
            engine::NamedRow(Tr(ExtraName(ratio)), RatioCell(d, ratio), ExtraName(ratio)));
    }

    const BeamListCache now{true, Diode(d), HasMedia(c), c.mirrorMode};
    list.rewriteNames = !cache.filled || cache.diode != now.diode || cache.media != now.media ||
                        cache.mirror != now.mirror;
    cache = now;
    return list;
}

namespace {

// A printed value pair: the first axis, and in diode mode the second axis in a column of its
// own instead of the list's brackets.
using PrintedCells = std::pair<std::string, std::string>;

PrintedCells PrintedParamCells(const BeamDesign& d, const BeamReportContext& c, int index) {
    auto one = [&](int axis) -> std::string {
        const BeamAxis& a = d.axes[static_cast<std::size_t>(axis)];
        if (!Shown(a, index)) return "";
        const double v = AxisValue(d, c, axis, index);
        return (v >= 0 ? " " : "") + BeamNumber(v, BeamFormat(index)) + c.Unit(index).suffix;
    };
    return {one(0), Diode(d) ? one(1) : std::string()};
}

PrintedCells PrintedExtraCells(const BeamDesign& d, const BeamReportContext& c, int extra,
                               int unitIndex, bool withM) {
    if (d.axes[0].resultInvalid) return {};
    auto one = [&](int axis) {
        const double m = withM ? MFactor(d, axis) : 1.0;
        const double v =
            d.axes[static_cast<std::size_t>(axis)].extras[static_cast<std::size_t>(extra)] * m /
            c.Unit(unitIndex).factor;
        return Format(v, " 0.0##") + c.Unit(unitIndex).suffix;
    };
    return {one(0), Diode(d) && !d.axes[1].resultInvalid ? one(1) : std::string()};
}

void WriteBeamUserVariables(engine::ReportWriter& out, const BeamDesign& d,
                            const BeamReportContext& c) {
    out.Heading(Tr("Benutzerdefinierte Variablen"));
    for (const engine::CVarType& e : d.axes[0].selection.Entries()) {
        std::string value;
        if (e.nVarType == kGbObjDist && c.objAtInfinity) {
            value = Tr(" Unendlich");
        } else {
            const engine::DisplayUnit u = c.Unit(e.nVarType);
            value = Format(e.sVarValue / u.factor, BeamFormat(e.nVarType)) + " " + u.suffix;
        }
        out.Row(BeamLabel(d, e.nVarType) + ":\t", value);
    }
}

std::string SystemHeading(const BeamDesign& d) {
    if (!d.extrasOptions.mFactorUse) return Tr("Systemdefinition: ");
    std::string m = Format(d.extrasOptions.mFactor, " 0.0");
    if (Diode(d)) m += Format(d.diode.mFactor, " 0.0");
    return Tr("Systemdefinition [Multimode-Ergebnisse] M²: ") + m;
}

// The printed rows below parameter `index`: the paraxial image and the extras.
void WriteRowsBelow(engine::ReportWriter& out, const BeamDesign& d, const BeamReportContext& c,
                    int index) {
    auto extra = [&](int ex, int unitIndex, bool withM) {
        auto [e0, e1] = PrintedExtraCells(d, c, ex, unitIndex, withM);
        // A collimated beam has no image plane, so no Airy disc to speak of.
        if (ex == kExAiry && std::fabs(d.axes[0].table[kGbParaxImage]) >= kParaxImageAtInfinity)
            e0 = e1 = "";
        out.Row(Tr(ExtraName(ex)), e0, e1);
    };
    if (index == kGbImgDist) {
        out.Row(Tr("Paraxiale"), d.axes[0].resultInvalid ? "" : ParaxialImageCell(d, c, " 0.0##"));
    }
    if (index == kGbObjRayleigh) extra(kExRadiusAtElement, kGbObjRadius, true);
    if (index == kGbImgRadius) {
        if (d.extrasOptions.detectorOn) extra(kExRadiusAtDetector, kGbImgRadius, true);
        extra(kExAiry, kGbImgRadius, false);
    }
}

}  // namespace

engine::ReportResult BuildBeamReport(const BeamDesign& d, const BeamReportContext& c,
                                     const engine::ReportInput& input) {
    engine::ReportResult result;
    result.refusal = engine::ReportRefusal(d.axes[0].selection);
    if (result.refusal) return result;
    engine::ReportWriter out(result.page, Diode(d) ? 8 : 10);
    out.Title(Tr("Kestrelon Raysketcher ") + input.version + Tr(" Gaußstrahl"), input.dateText);
    if (!input.heldLens.empty()) out.Note(input.heldLens);
    if (Diode(d)) out.Note(Tr("Diodenlaser [rechteckiger Strahl]"));
    out.Blank();
    WriteBeamUserVariables(out, d, c);
    out.Blank();
    out.Heading(SystemHeading(d));
    for (int i = kGbFocal; i <= kGbImgRayleigh; ++i) {
        auto [v0, v1] = PrintedParamCells(d, c, i);
        out.Row(Tr(BeamReportName(i)) + d.symbols.Param(i) + ":  ", v0, v1);
        WriteRowsBelow(out, d, c, i);
    }
    return result;
}

}  // namespace rs::beam
