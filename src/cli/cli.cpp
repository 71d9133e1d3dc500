#include "cli/cli.h"

#include <cmath>
#include <optional>
#include <ostream>

#include "analysis/lens_choice.h"
#include "analysis/lens_ideas.h"
#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "cli/export.h"
#include "engine/aperture.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "wavelengths/wavelengths.h"

namespace rs::cli {
namespace {

constexpr const char* kHelp =
    "Aufruf: raysketcher-cli [--settings DATEI] [--json] [--pdf DATEI] [--svg DATEI]\n"
    "                        [--png DATEI] [--size BREITExHÖHE]\n"
    "       raysketcher-cli --wavelengths [--settings DATEI] [--json]\n"
    "       raysketcher-cli --list-lenses [--catalogue ORDNER] [--json]\n"
    "\n"
    "Lädt eine Einstellungsdatei (Raysketcher.INI) genau so, wie das Programm sie beim Start\n"
    "lädt, berechnet das gespeicherte System und gibt die Ergebnisliste aus: eine Zeile je\n"
    "Eintrag, Name und Wert durch einen Tabulator getrennt. Die Datei wird nie geschrieben.\n"
    "\n"
    "  --settings DATEI  die Einstellungsdatei (sonst die Datei des Programms)\n"
    "  --json            ein JSON-Objekt statt der Liste: mode, valid, calcInvalid, params\n"
    "                    (interne Einheiten: mm, rad), aperture, cardinalPoints, dof, status,\n"
    "                    rows, title\n"
    "  --pdf DATEI       schreibt zusätzlich den Ausdruck des Systems als PDF (eine Seite A4)\n"
    "  --svg DATEI       schreibt zusätzlich die Zeichnung als SVG\n"
    "  --png DATEI       schreibt zusätzlich die Zeichnung als PNG\n"
    "  --size BxH        Breite x Höhe der Zeichnung in Pixeln, je 1 bis 10000\n"
    "                    (Vorgabe 1200x700)\n"
    "  --wavelengths     listet statt eines Systems die Wellenlängen der Auswahl: Laserlinien,\n"
    "                    Glaskatalog-Linien und die eigenen aus UserData/WaveLen.lst neben der\n"
    "                    Einstellungsdatei (Liste, Name, Zusatz, Wellenlänge in nm)\n"
    "  --list-lenses     listet statt eines Systems die Katalog-Linsen (Code, Art, f',\n"
    "                    Durchmesser, Glas, lieferbar) als CSV, mit --json als JSON\n"
    "  --catalogue ORDNER  die Katalogdateien aus diesem Ordner (sonst neben dem Programm,\n"
    "                    in ../share/raysketcher oder im Build-Ordner); im Gaußstrahl-Modus\n"
    "                    nennt --json die passenden Linsen als \"catalogueLenses\"\n"
    "  --help            diese Hilfe\n"
    "\n"
    "Die Ausgaben brauchen keinen Bildschirm. Im Gaußstrahl-Modus zeigt die Zeichnung den\n"
    "Strahl (im Diodenlaser-Modus beide Achsen); --json nennt dann je Achse \"drawingRange\".\n"
    "\n"
    "Rückgabewert: 0 berechnet, 1 unvollständig oder ohne Lösung (bei unvollständiger\n"
    "Auswahl entsteht kein PDF), 2 Aufruffehler oder Datei nicht lesbar, 3 Ausgabedatei\n"
    "nicht schreibbar.\n";

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

// A name or value for the text output: its tabs and line ends separate the fields and rows, and
// an escape character would reach the terminal, so every control character becomes a '?'.
std::string PlainText(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) c = '?';
    }
    return out;
}

// Numbers as the shortest text that reads back exactly; JSON has no infinities.
std::string JsonNumber(float v) {
    return std::isfinite(v) ? text::ShortestText(v) : "null";
}
std::string JsonNumber(double v) {
    return std::isfinite(v) ? text::ShortestText(v) : "null";
}
// The plot size whose regions name a design's lens types.
constexpr int kLensTypePlotWidth = 640;
constexpr int kLensTypePlotHeight = 480;

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
        j += "[" + JsonString(row.name) + "," + JsonString(row.value) + "]";
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

// The three lists of the wavelength picker: as lines "list, first name, second name, nm" with
// tabs, or as one JSON object.
std::string WavelengthList(const std::filesystem::path& userFile, bool json) {
    // The command line reads only: no folder is made for a missing list.
    const wavelengths::UserList user = wavelengths::ReadUserWavelengths(userFile, false);
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
        return std::string(list) + "\t" + PlainText(first) + "\t" + PlainText(second) + "\t" +
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
        return list("Laser", wavelengths::LaserLines()) +
               list("Glaskatalog", wavelengths::GlassCatalogueLines()) +
               list("Benutzer", user.entries);
    }
    return "{\"laser\":" + list("", wavelengths::LaserLines()) +
           ",\"glassCatalogue\":" + list("", wavelengths::GlassCatalogueLines()) +
           ",\"user\":{\"file\":" + JsonString(userFile.string()) +
           ",\"readable\":" + JsonBool(user.readable) +
           ",\"entries\":" + list("Benutzer", user.entries) + "}}\n";
}

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view s) {
    if (s.find_first_of(",\"\n") == std::string_view::npos) return std::string(s);
    std::string out = "\"";
    for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string LensList(const analysis::LensCatalogue& catalogue, bool json) {
    std::string s = json ? "[" : "Code,Art,f' [mm],Durchmesser [mm],Glas,lieferbar\n";
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
            s += CsvField(lens.Code()) + "," + CsvField(analysis::KindText(lens.kind)) + "," +
                 text::ShortestText(lens.focalLength) + "," +
                 text::ShortestText(static_cast<float>(lens.Diameter())) + "," +
                 CsvField(lens.GlassText()) + "," + (lens.available ? "ja" : "nein") + "\n";
        }
        first = false;
    }
    return json ? s + "]\n" : s;
}

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
            j += ",\"catalogueLenses\":" + CatalogueLensesJson(state, *catalogue) + "}";
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
    // Where the design stands among the lens types, as the window's plot would name it.
    const auto point = analysis::DesignPoint(d);
    j += ",\"apertureField\":";
    j += point ? "{\"A\":" + JsonNumber(point->a) + ",\"angle\":" + JsonNumber(point->angle) + "}"
               : std::string("null");
    j += ",\"lensTypes\":[";
    if (point) {
        const analysis::ApFieldPlot plot = analysis::MakeApFieldPlot(
            kLensTypePlotWidth, kLensTypePlotHeight, d.options.mirrorMode);
        const auto x = analysis::AxisPosition(plot.x, point->a);
        const auto y = analysis::AxisPosition(plot.y, point->angle);
        if (x && y) {
            const auto& types = analysis::LensClasses(plot.mirror);
            const analysis::LensHits hits = analysis::LensClassesAt(plot, *x, *y);
            for (std::size_t k = 0; k < hits.classes.size(); ++k) {
                if (k > 0) j += ",";
                j += JsonString(types[static_cast<std::size_t>(hits.classes[k])].names.front());
            }
        }
    }
    j += "]";
    const auto status = engine::UpdateConjugateStatus(d);
    j += ",\"status\":" + JsonString(status ? status->text : "");
    j += ",\"rows\":" + JsonRows(rows);
    j += ",\"title\":" + JsonString(engine::WindowTitle(app::Version(), app::TitleStateOf(state)));
    return j + "}";
}

int Run(const std::vector<std::string>& args, const std::filesystem::path& programDir,
        std::ostream& out, std::ostream& err) {
    std::optional<std::filesystem::path> settings;
    bool json = false;
    bool wavelengthList = false;
    bool lensList = false;
    std::optional<std::filesystem::path> catalogueDir;
    ExportRequest exports;
    // The value of an option given as "--name VALUE" or "--name=VALUE"; nothing when `a` is
    // another option. `missing` is set when the value is absent.
    bool missing = false;
    auto valueOf = [&](std::size_t& i, std::string_view name) -> std::optional<std::string> {
        const std::string& a = args[i];
        if (a == name) {
            // "--png --json": the next option is not a file name; "--png=--x" still is.
            if (i + 1 >= args.size() || args[i + 1].starts_with("--")) {
                missing = true;
                return std::nullopt;
            }
            return args[++i];
        }
        if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 &&
            a[name.size()] == '=') {
            return a.substr(name.size() + 1);
        }
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << kHelp;
            return kSolved;
        }
        if (a == "--json") {
            json = true;
        } else if (a == "--wavelengths") {
            wavelengthList = true;
        } else if (a == "--list-lenses") {
            lensList = true;
        } else if (auto dir = valueOf(i, "--catalogue")) {
            catalogueDir = *dir;
        } else if (auto v = valueOf(i, "--settings")) {
            settings = *v;
        } else if (auto pdf = valueOf(i, "--pdf")) {
            exports.pdf = *pdf;
        } else if (auto svg = valueOf(i, "--svg")) {
            exports.svg = *svg;
        } else if (auto png = valueOf(i, "--png")) {
            exports.png = *png;
        } else if (auto size = valueOf(i, "--size")) {
            const auto parsed = ParsePictureSize(*size);
            if (!parsed) {
                err << "raysketcher-cli: ungültige Größe \"" << *size
                    << "\" (erwartet BREITExHÖHE in Pixeln, je 1 bis " << kMaxPictureSide << ")\n\n"
                    << kHelp;
                return kUsage;
            }
            exports.size = *parsed;
        } else if (missing) {
            err << "raysketcher-cli: Nach \"" << a << "\" fehlt der Wert.\n\n" << kHelp;
            return kUsage;
        } else {
            err << "raysketcher-cli: unbekanntes Argument \"" << a << "\"\n\n" << kHelp;
            return kUsage;
        }
    }
    for (const auto* file : {&exports.pdf, &exports.svg, &exports.png}) {
        if (*file && (*file)->empty()) {
            err << "raysketcher-cli: Ein leerer Dateiname kann nicht geschrieben werden.\n\n"
                << kHelp;
            return kUsage;
        }
    }

    // The catalogue, where one is wanted: the lens list, or the lenses of a beam design.
    std::optional<analysis::LensCatalogue> catalogue;
    if (lensList || json) {
        const analysis::CatalogueLocation where =
            analysis::FindCatalogueDir(catalogueDir, programDir);
        if (where.dir) {
            catalogue = analysis::ReadCatalogueLenses(*where.dir);
        } else if (lensList || catalogueDir) {
            err << "raysketcher-cli: " << analysis::CatalogueNotFoundMessage(where) << "\n";
            return kUsage;
        }
    }
    if (lensList) {
        out << LensList(*catalogue, json);
        return kSolved;
    }
    const std::filesystem::path file = app::SettingsFilePath(settings, programDir);
    if (wavelengthList) {
        // The user's list lies beside the settings file, which itself need not exist.
        out << WavelengthList(wavelengths::UserWavelengthFile(file), json);
        return kSolved;
    }
    if (file.empty()) {
        err << "raysketcher-cli: Keine Einstellungsdatei: " << app::SettingsLocationNote(file)
            << "\n";
        return kUsage;
    }
    std::error_code ec;
    if (std::filesystem::status(file, ec).type() == std::filesystem::file_type::not_found) {
        err << "raysketcher-cli: Die Datei \"" << file.string() << "\" gibt es nicht.\n";
        return kUsage;
    }
    // A folder, a device, a file without read permission or one far too big: the reader names
    // the reason, and an empty design would only mislead.
    const app::IniFile ini(file);
    if (!ini.ReadProblem().empty()) {
        err << "raysketcher-cli: " << ini.ReadProblem() << "\n";
        return kUsage;
    }

    app::DesignState state;
    app::LoadSettings(ini, state);
    app::SolveDesign(state, false);
    if (json) {
        out << DesignJson(state, catalogue ? &*catalogue : nullptr) << "\n";
    } else {
        engine::ResultListCache cache;
        beam::BeamListCache beamCache;
        for (const auto& row : app::ResultRows(state, false, cache, beamCache).rows) {
            out << PlainText(row.name) << "\t" << PlainText(row.value) << "\n";
        }
    }
    out.flush();
    switch (WriteExports(state, exports, err)) {
        case ExportResult::Failed:
            return kExportFailed;
        case ExportResult::Refused:
            return kNotSolved;
        case ExportResult::Written:
            break;
    }
    return app::DesignSolved(state) ? kSolved : kNotSolved;
}

}  // namespace rs::cli
