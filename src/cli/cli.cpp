#include "cli/cli.h"

#include <cmath>
#include <optional>
#include <ostream>

#include "analysis/lens_choice.h"
#include "analysis/lens_ideas.h"
#include "app/presentation.h"
#include "engine/aperture.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"
#include "wavelengths/wavelengths.h"

namespace rs::cli {
using text::Tr;
using text::TrNoop;

std::string JsonString(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    static const char* hex = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 15];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// Numbers as the shortest text that reads back exactly; JSON has no infinities.
std::string JsonNumber(float v) {
    return std::isfinite(v) ? text::ShortestText(v) : "null";
}
std::string JsonNumber(double v) {
    return std::isfinite(v) ? text::ShortestText(v) : "null";
}

namespace {

// The plot whose regions name a design's lens types: 640 by 480 pixels, the plane 12 pixels
// inside its edges.
constexpr analysis::PlaneToPixels kLensTypePlot{12, 640 - 12, 480 - 12, 12};

std::string JsonBool(bool b) {
    return b ? "true" : "false";
}

template <typename Range>
std::string JsonArray(const Range& values) {
    std::string out = "[";
    bool first = true;
    for (const auto& v : values) {
        if (!first) out += ",";
        out += JsonNumber(v);
        first = false;
    }
    return out + "]";
}

std::string JsonRows(const engine::ResultList& list) {
    std::string j = "[";
    bool first = true;
    for (const auto& row : list.rows) {
        if (!first) j += ",";
        // The third entry, the row's German catalogue name, stays when the names follow --lang.
        j += "[" + JsonString(row.name) + "," + JsonString(row.value) + "," + JsonString(row.id) +
             "]";
        first = false;
    }
    return j + "]";
}

std::string BeamJson(const app::DesignState& state, bool valid, const engine::ResultList& rows) {
    const beam::BeamDesign& b = state.beam;
    std::string j = "{\"mode\":\"beam\",\"valid\":" + JsonBool(valid) + ",\"axes\":[";
    for (int axis = 0; axis < b.AxisCount(); ++axis) {
        const beam::BeamAxis& a = b.axes[static_cast<std::size_t>(axis)];
        if (axis > 0) j += ",";
        j += "{\"valid\":" + JsonBool(!a.resultInvalid) +
             ",\"valuesDefined\":" + JsonBool(a.valuesDefined) +
             ",\"objBeamMissing\":" + JsonBool(a.objBeamMissing) +
             ",\"imgBeamMissing\":" + JsonBool(a.imgBeamMissing) + ",\"params\":{";
        bool first = true;
        for (int i = 0; i < beam::kBeamTableSize; ++i) {
            if (!beam::IsBeamQuantity(i)) continue;
            if (!first) j += ",";
            j +=
                "\"" + std::to_string(i) + "\":" + JsonNumber(a.table[static_cast<std::size_t>(i)]);
            first = false;
        }
        j += "},\"extras\":" + JsonArray(a.extras);
        // Every drawn axis's picture shows the same x range.
        const auto range = app::BeamDrawingRangeOf(state);
        if (range && a.valuesDefined && !a.resultInvalid) {
            j +=
                ",\"drawingRange\":[" + JsonNumber(range->min) + "," + JsonNumber(range->max) + "]";
        }
        j += "}";
    }
    j += "]";
    j += ",\"rows\":" + JsonRows(rows);
    j += ",\"title\":" + JsonString(engine::WindowTitle(app::Version(), app::TitleStateOf(state)));
    j += ",\"invalidLabel\":" + JsonBool(beam::ShowInvalidLabel(b));
    return j + "}";
}

}  // namespace

std::string NotReadJson(const std::vector<text::FileNotRead>& files) {
    std::string j = "[";
    for (const text::FileNotRead& f : files) {
        if (j.size() > 1) j += ",";
        j += "{\"file\":" + JsonString(f.file.string()) + ",\"reason\":" + JsonString(f.reason) +
             "}";
    }
    return j + "]";
}

std::string WavelengthList(const std::filesystem::path& userFile, const wavelengths::UserList& user,
                           bool json) {
    // Built-in names hold their note after a bar; a user's name may hold a bar of its own.
    const auto entry = [json](std::string_view list, const wavelengths::WaveRecord& r) {
        const wavelengths::NameParts parts = list == "Benutzer"
                                                 ? wavelengths::NameParts{r.name, {}, false}
                                                 : wavelengths::SplitName(r.name);
        const std::string first(text::TrimBlanks(parts.first));
        const std::string second(text::TrimBlanks(parts.second));
        if (json) {
            return "{\"name\":" + JsonString(first) + ",\"note\":" + JsonString(second) +
                   ",\"nm\":" + JsonNumber(r.nm) + "}";
        }
        return Tr(list) + "\t" + PlainText(first) + "\t" + PlainText(second) + "\t" +
               text::ShortestText(r.nm) + "\n";
    };
    const auto list = [&](std::string_view name, const std::vector<wavelengths::WaveRecord>& rows) {
        std::string s;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (json && i > 0) s += ",";
            s += entry(name, rows[i]);
        }
        return json ? "[" + s + "]" : s;
    };
    if (!json) {
        return list(TrNoop("Laser"), wavelengths::LaserLines()) +
               list(TrNoop("Glaskatalog"), wavelengths::GlassCatalogueLines()) +
               list(TrNoop("Benutzer"), user.entries);
    }
    return "{\"laser\":" + list("", wavelengths::LaserLines()) +
           ",\"glassCatalogue\":" + list("", wavelengths::GlassCatalogueLines()) +
           ",\"user\":{\"file\":" + JsonString(userFile.string()) +
           ",\"readable\":" + JsonBool(user.readable) +
           ",\"entries\":" + list("Benutzer", user.entries) + ",\"notRead\":" +
           (user.notRead ? JsonString(user.notRead->reason) : std::string("null")) + "}}\n";
}

std::string LensList(const analysis::LensCatalogue& catalogue, bool json) {
    std::string s = json ? "[" : Tr("Code,Art,f' [mm],Durchmesser [mm],Glas,lieferbar") + "\n";
    bool first = true;
    for (const analysis::CatalogueLens& lens : catalogue.Lenses()) {
        if (json) {
            s += std::string(first ? "" : ",") + "{\"code\":" + JsonString(lens.Code()) +
                 ",\"kind\":" + JsonString(analysis::KindText(lens.kind)) +
                 ",\"f\":" + JsonNumber(lens.focalLength) +
                 ",\"diameter\":" + JsonNumber(static_cast<float>(lens.Diameter())) +
                 ",\"glass\":" + JsonString(lens.GlassText()) +
                 ",\"available\":" + JsonBool(lens.available) + "}";
        } else {
            s += CsvField(lens.Code()) + "," + CsvField(Tr(analysis::KindText(lens.kind))) + "," +
                 text::ShortestText(lens.focalLength) + "," +
                 text::ShortestText(static_cast<float>(lens.Diameter())) + "," +
                 CsvField(lens.GlassText()) + "," + (lens.available ? Tr("ja") : Tr("nein")) + "\n";
        }
        first = false;
    }
    return json ? s + "]\n" : s;
}

namespace {

// The lenses the grid lists for a solved beam: one list, or one per axis with cylinders.
std::string CatalogueLensesJson(const app::DesignState& state,
                                const analysis::LensCatalogue& catalogue) {
    const auto need = app::CatalogueNeedOf(state);
    if (!need) return "[]";
    const auto rows = [&](const analysis::ElementNeed& element) {
        std::string s = "[";
        bool first = true;
        for (const auto& r : analysis::ChooseLenses(catalogue, element, need->cylinders)) {
            s += std::string(first ? "" : ",") + "{\"code\":" + JsonString(r.code) +
                 ",\"kind\":" + JsonString(r.kind) + ",\"f\":" + JsonNumber(r.focalLength) +
                 ",\"diameter\":" + JsonNumber(static_cast<float>(r.diameter)) +
                 ",\"glass\":" + JsonString(r.glass) + ",\"deviation\":" + JsonNumber(r.deviation) +
                 "}";
            first = false;
        }
        return s + "]";
    };
    if (!need->cylinders) return rows(need->elements.front());
    return "[" + rows(need->elements[0]) + "," + rows(need->elements[1]) + "]";
}

// Where the design stands among the lens types, as the window's plot would name it.
std::string LensTypesJson(const engine::ParaxialDesign& d) {
    const auto point = analysis::DesignPoint(d);
    std::string j = ",\"apertureField\":";
    j += point ? "{\"A\":" + JsonNumber(point->a) + ",\"angle\":" + JsonNumber(point->angle) + "}"
               : std::string("null");
    j += ",\"lensTypes\":[";
    if (point) {
        const bool mirror = d.options.mirrorMode;
        const auto& types = analysis::LensClasses(mirror);
        const analysis::LensHits hits = analysis::LensClassesAt(mirror, kLensTypePlot, *point);
        for (std::size_t k = 0; k < hits.classes.size(); ++k) {
            if (k > 0) j += ",";
            j += JsonString(types[static_cast<std::size_t>(hits.classes[k])].names.front());
        }
    }
    return j + "]";
}

}  // namespace

std::string DesignJson(const app::DesignState& state, const analysis::LensCatalogue* catalogue) {
    const bool valid = app::DesignSolved(state);
    engine::ResultListCache cache;
    beam::BeamListCache beamCache;
    const engine::ResultList rows = app::ResultRows(state, false, cache, beamCache);
    if (state.beam.beamMode) {
        std::string j = BeamJson(state, valid, rows);
        if (catalogue) {
            j.pop_back();  // the closing brace
            j += ",\"catalogueLenses\":" + CatalogueLensesJson(state, *catalogue) +
                 ",\"catalogueNotRead\":" + NotReadJson(catalogue->NotRead()) + "}";
        }
        return j;
    }
    const engine::ParaxialDesign& d = state.paraxial;
    std::string j = "{";
    j += "\"mode\":" + JsonString(state.beam.beamMode ? "beam" : "paraxial");
    j += ",\"valid\":" + JsonBool(valid);
    j += ",\"calcInvalid\":" + JsonBool(d.bCalcInvalid);
    j += ",\"params\":{";
    bool first = true;
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 20}) {
        if (!first) j += ",";
        j += "\"" + std::to_string(i) + "\":" + JsonNumber(d.paramTable.Get(i));
        first = false;
    }
    j += "}";
    std::array<float, engine::kApertureCount> ap{};
    for (int i = 0; i < engine::kApertureCount; ++i)
        ap[static_cast<std::size_t>(i)] = d.apertureTable.Get(i);
    j += ",\"aperture\":{\"defined\":" + JsonBool(!d.bApertureUndefined) +
         ",\"values\":" + JsonArray(ap) + ",\"mtfCutOff\":" + JsonNumber(d.mtfCutOff) +
         ",\"effectiveFNumber\":" + JsonNumber(engine::EffectiveFNumber(d)) + "}";
    j += ",\"cardinalPoints\":" + JsonArray(d.cardinal);
    j += ",\"dof\":{\"valid\":" + JsonBool(state.dofResults.valid) +
         ",\"values\":" + JsonArray(state.dofResults.values) + "}";
    j += LensTypesJson(d);
    const auto status = engine::UpdateConjugateStatus(d);
    j += ",\"status\":" + JsonString(status ? status->text : "");
    j += ",\"rows\":" + JsonRows(rows);
    j += ",\"title\":" + JsonString(engine::WindowTitle(app::Version(), app::TitleStateOf(state)));
    return j + "}";
}

// --reference: design A and its reference B side by side, row by row.

std::string ComparisonText(const std::vector<ui::ComparedRow>& rows) {
    std::string out;
    for (const ui::ComparedRow& row : rows) {
        out += PlainText(row.name) + "\t" + PlainText(row.value) + "\t" +
               PlainText(row.reference.value_or("")) + "\n";
    }
    return out;
}

std::string ComparisonJson(const app::DesignState& a, const std::vector<ui::ComparedRow>& rows) {
    std::string j = "{\"mode\":";
    j += a.beam.beamMode ? "\"beam\"" : "\"paraxial\"";
    j += ",\"rows\":[";
    bool first = true;
    for (const ui::ComparedRow& row : rows) {
        j += first ? "" : ",";
        first = false;
        j += "{\"name\":" + JsonString(row.name) + ",\"id\":" + JsonString(row.id);
        if (row.difference) {
            // A row with a number: both numbers and the difference B - A, in the unit shown.
            j += ",\"unit\":" + JsonString(row.unit) + ",\"a\":" + JsonNumber(*row.number) +
                 ",\"b\":" + JsonNumber(*row.referenceNumber) +
                 ",\"difference\":" + JsonNumber(*row.difference);
        } else {
            j += ",\"textA\":" + JsonString(row.value) +
                 ",\"textB\":" + (row.reference ? JsonString(*row.reference) : std::string("null"));
        }
        j += ",\"differs\":" + std::string(row.differs ? "true" : "false") + "}";
    }
    return j + "]}\n";
}

}  // namespace rs::cli
