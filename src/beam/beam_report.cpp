#include "beam/beam_report.h"

#include <cmath>

#include "beam/beam_extras.h"
#include "text/strings.h"
#include "text/vb_format.h"

namespace rs::beam {
namespace {

using engine::ResultRow;
using text::Format;

constexpr const char* kSeparator = "  ";
constexpr int kSectionX = 1440;
constexpr int kNameX = 1800;
constexpr int kValueX = 6120;
constexpr int kSecondAxisX = 8280;

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
        return " unendlich";
    const engine::DisplayUnit u = c.Unit(kGbParaxImage);
    const double shown = v / u.factor;
    return Format(shown, std::fabs(v) >= 100000 ? " 0.00e+0#" : smallFormat) + u.suffix;
}

std::string MirrorRadiusCell(const BeamDesign& d, const BeamReportContext& c) {
    const engine::DisplayUnit u = c.Unit(kGbFocal);
    return Format(2.0 * d.axes[0].table[kGbFocal] / u.factor, BeamFormat(kGbFocal)) + u.suffix +
           (d.axes[0].table[kGbObjFocal] < 0 ? "    [Konkav]" : "    [Konvex]");
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
    return std::string(BeamLongName(index)) + d.symbols.Param(index);
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

engine::ResultList FillBeamResultList(const BeamDesign& d, const BeamReportContext& c,
                                      BeamListCache& cache) {
    engine::ResultList list;
    auto& rows = list.rows;
    const BeamAxis& a0 = d.axes[0];
    const bool valid = !a0.resultInvalid;

    if (d.extrasOptions.mFactorUse) {
        std::string value = Format(d.extrasOptions.mFactor, " 0.0");
        if (Diode(d)) value += " [" + Format(d.diode.mFactor, "0.0]");
        rows.push_back({"MultiMode: M²", value});
    } else {
        rows.push_back({"Single Mode", ""});
    }
    for (int i = kGbFocal; i <= kGbImgRayleigh; ++i) {
        rows.push_back({BeamLabel(d, i), ParamCell(d, c, i)});
        if (i == kGbFocal && HasMedia(c))
            rows.push_back({BeamLabel(d, kGbObjFocal), ParamCell(d, c, kGbObjFocal)});
        if (i == kGbFocal && c.mirrorMode) {
            rows.push_back(
                {std::string(engine::kMirrorRadiusRow) + " ", valid ? MirrorRadiusCell(d, c) : ""});
        }
        if (i == kGbImgDist) {
            rows.push_back({std::string(BeamLongName(kGbParaxImage)),
                            valid ? ParaxialImageCell(d, c, " 0.0##") : ""});
        }
        if (i == kGbTrack) rows.push_back({kSeparator, kSeparator});
        if (i == kGbObjRayleigh) {
            rows.push_back({kSeparator, kSeparator});
            rows.push_back(
                {std::string(ExtraName(kExRadiusAtElement)),
                 valid ? ExtraCell(d, c, kExRadiusAtElement, kGbObjRadius, " 0.0##", true, false)
                       : ""});
            rows.push_back({kSeparator, kSeparator});
        }
        if (i == kGbImgRadius) {
            rows.push_back(
                {std::string(ExtraName(kExRadiusAtDetector)) + ": " +
                     d.symbols.Extra(kExRadiusAtDetector),
                 valid && d.extrasOptions.detectorOn
                     ? ExtraCell(d, c, kExRadiusAtDetector, kGbImgRadius, " 0.0###", true, false)
                     : ""});
            rows.push_back({std::string(ExtraName(kExAiry)) + ": " + d.symbols.Extra(kExAiry),
                            // A collimated beam has no image plane, so no Airy disc to speak of.
                            valid && std::fabs(a0.table[kGbParaxImage]) < kParaxImageAtInfinity
                                ? ExtraCell(d, c, kExAiry, kGbImgRadius, " 0.0###", false, true)
                                : ""});
        }
    }
    rows.push_back({std::string(ExtraName(kExRatioS)), RatioCell(d, kExRatioS)});
    rows.push_back({std::string(ExtraName(kExRatioSImage)), RatioCell(d, kExRatioSImage)});

    const BeamListCache now{true, Diode(d), HasMedia(c), c.mirrorMode};
    list.rewriteNames = !cache.filled || cache.diode != now.diode || cache.media != now.media ||
                        cache.mirror != now.mirror;
    cache = now;
    return list;
}

engine::ReportResult BuildBeamReport(const BeamDesign& d, const BeamReportContext& c,
                                     const engine::ReportInput& input) {
    using engine::ReportPiece;
    using engine::ReportRow;
    engine::ReportResult result;
    const engine::Selection& sel = d.axes[0].selection;
    if (sel.Count() < 3) {
        result.refusal = "Sie haben noch nicht alle Parameter ausgewählt! ";
        return result;
    }
    if (!sel.AllValuesDefined()) {
        result.refusal = "Sie haben noch nicht für alle Parameter Werte eingetragen! ";
        return result;
    }
    auto& rows = result.page.rows;
    auto blank = [&] { rows.push_back({}); };
    const int size = Diode(d) ? 8 : 10;
    auto heading = [&](std::string text) {
        rows.push_back({{{kSectionX, std::move(text), true, size}}});
    };
    auto row = [&](std::string name, std::string value, std::string second = {}) {
        ReportRow r{{{kNameX, std::move(name), false, size}}};
        if (!value.empty()) r.pieces.push_back({kValueX, std::move(value), false, size});
        if (!second.empty()) r.pieces.push_back({kSecondAxisX, std::move(second), false, size});
        rows.push_back(std::move(r));
    };

    rows.push_back({{{0, "Kestrelon Raysketcher " + input.version + " Gaußstrahl", true, 12},
                     {0, input.dateText, false, 10, true}}});
    if (Diode(d)) rows.push_back({{{kSectionX, "Diodenlaser [rechteckiger Strahl]", false, 10}}});
    blank();
    heading("Benutzerdefinierte Variablen");
    for (const engine::CVarType& e : sel.Entries()) {
        std::string value;
        if (e.nVarType == kGbObjDist && c.objAtInfinity) {
            value = " Unendlich";
        } else {
            const engine::DisplayUnit u = c.Unit(e.nVarType);
            value = Format(e.sVarValue / u.factor, BeamFormat(e.nVarType)) + " " + u.suffix;
        }
        row(BeamLabel(d, e.nVarType) + ":\t", value);
    }
    blank();
    if (d.extrasOptions.mFactorUse) {
        std::string m = Format(d.extrasOptions.mFactor, " 0.0");
        if (Diode(d)) m += Format(d.diode.mFactor, " 0.0");
        heading("Systemdefinition [Multimode-Ergebnisse] M²: " + m);
    } else {
        heading("Systemdefinition: ");
    }

    const bool valid = !d.axes[0].resultInvalid;
    // In print the second axis has a column of its own instead of brackets.
    auto cells = [&](int index) -> std::pair<std::string, std::string> {
        auto one = [&](int axis) -> std::string {
            const BeamAxis& a = d.axes[static_cast<std::size_t>(axis)];
            if (!Shown(a, index)) return "";
            const double v = AxisValue(d, c, axis, index);
            return (v >= 0 ? " " : "") + BeamNumber(v, BeamFormat(index)) + c.Unit(index).suffix;
        };
        return {one(0), Diode(d) ? one(1) : std::string()};
    };
    auto extra = [&](int ex, int unitIndex, bool withM) -> std::pair<std::string, std::string> {
        if (!valid) return {};
        auto one = [&](int axis) {
            const double m = withM ? MFactor(d, axis) : 1.0;
            return Format(
                       d.axes[static_cast<std::size_t>(axis)].extras[static_cast<std::size_t>(ex)] *
                           m / c.Unit(unitIndex).factor,
                       " 0.0##") +
                   c.Unit(unitIndex).suffix;
        };
        return {one(0), Diode(d) && !d.axes[1].resultInvalid ? one(1) : std::string()};
    };
    for (int i = kGbFocal; i <= kGbImgRayleigh; ++i) {
        auto [v0, v1] = cells(i);
        row(std::string(BeamReportName(i)) + d.symbols.Param(i) + ":  ", v0, v1);
        if (i == kGbImgDist) row("Paraxiale", valid ? ParaxialImageCell(d, c, " 0.0##") : "");
        if (i == kGbObjRayleigh) {
            auto [e0, e1] = extra(kExRadiusAtElement, kGbObjRadius, true);
            row(std::string(ExtraName(kExRadiusAtElement)), e0, e1);
        }
        if (i == kGbImgRadius) {
            if (d.extrasOptions.detectorOn) {
                auto [e0, e1] = extra(kExRadiusAtDetector, kGbImgRadius, true);
                row(std::string(ExtraName(kExRadiusAtDetector)), e0, e1);
            }
            auto [e0, e1] = extra(kExAiry, kGbImgRadius, false);
            if (std::fabs(d.axes[0].table[kGbParaxImage]) >= kParaxImageAtInfinity) e0 = e1 = "";
            row(std::string(ExtraName(kExAiry)), e0, e1);
        }
    }
    return result;
}

}  // namespace rs::beam
