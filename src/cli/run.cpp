// The command line: its arguments, the design files it reads and which output it writes.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <fstream>
#include <iterator>
#include <new>
#include <optional>
#include <ostream>

#include "app/ini_file.h"
#include "app/language_setup.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "app/sweep_csv.h"
#include "cli/cli.h"
#include "cli/design_edits.h"
#include "cli/export.h"
#include "cli/fit_and_lens.h"
#include "cli/help_text.h"
#include "text/tr.h"
#include "ui/reference.h"
#include "ui/study.h"
#include "wavelengths/wavelengths.h"

namespace rs::cli {
using text::Tr;
using text::TrFormat;
namespace {

namespace fs = std::filesystem;

struct Options {
    std::vector<fs::path> settings;
    bool json = false;
    bool wavelengthList = false;
    bool lensList = false;
    std::optional<fs::path> catalogueDir;
    ExportRequest exports;
    std::optional<app::SweepPlan> sweep;
    std::optional<fs::path> csv;
    std::optional<fs::path> reference;
    std::optional<fs::path> plot;
    std::vector<std::string> y;  // the plot's results; empty: the mode's default
    DesignEdits edits;
    FitRequest fit;
};

// Walks the argument list; an option's value comes as "--name VALUE" or "--name=VALUE".
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}
    bool AtEnd() const { return i_ >= args_.size(); }
    const std::string& Current() const { return args_[i_]; }
    void Advance() { ++i_; }
    // The value when the current argument is option `name`; nothing when it is another option.
    // Missing() tells afterwards that `name` came without its value.
    std::optional<std::string> Value(std::string_view name) {
        const std::string& a = args_[i_];
        if (a == name) {
            // "--png --json": the next option is not a file name; "--png=--x" still is.
            if (i_ + 1 >= args_.size() || args_[i_ + 1].starts_with("--")) {
                missing_ = true;
                return std::nullopt;
            }
            return args_[++i_];
        }
        if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 &&
            a[name.size()] == '=') {
            return a.substr(name.size() + 1);
        }
        return std::nullopt;
    }
    bool Missing() const { return missing_; }

private:
    const std::vector<std::string>& args_;
    std::size_t i_ = 0;
    bool missing_ = false;
};

// The picture --plot writes, by the file name's ending (of any case).
bool HasEnding(const fs::path& file, std::string_view ending) {
    std::string e = file.extension().string();
    std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return std::tolower(c); });
    return e == ending;
}
bool PlotIsSvg(const fs::path& file) {
    return HasEnding(file, ".svg");
}
bool PlotIsPng(const fs::path& file) {
    return HasEnding(file, ".png");
}

std::string Once(std::string_view name) {
    return TrFormat("\"%1\" darf nur einmal angegeben werden", {name});
}

// Takes the current argument into `o`; the German message when it is bad.
std::optional<std::string> TakeArgument(ArgumentReader& r, Options& o) {
    const std::string& a = r.Current();
    if (a == "--json") {
        o.json = true;
    } else if (a == "--wavelengths") {
        o.wavelengthList = true;
    } else if (a == "--list-lenses") {
        o.lensList = true;
    } else if (auto dir = r.Value("--catalogue")) {
        o.catalogueDir = *dir;
    } else if (auto v = r.Value("--settings")) {
        if (v->empty()) return Tr("\"--settings\" mit leerem Dateinamen");
        o.settings.emplace_back(*v);
    } else if (auto pdf = r.Value("--pdf")) {
        o.exports.pdf = *pdf;
    } else if (auto svg = r.Value("--svg")) {
        o.exports.svg = *svg;
    } else if (auto png = r.Value("--png")) {
        o.exports.png = *png;
    } else if (auto size = r.Value("--size")) {
        const auto parsed = ParsePictureSize(*size);
        if (!parsed) {
            return TrFormat("ungültige Größe \"%1\" (erwartet BREITExHÖHE in Pixeln, je 1 bis %2)",
                            {*size, std::to_string(kMaxPictureSide)});
        }
        o.exports.size = *parsed;
    } else if (auto sweep = r.Value("--sweep")) {
        if (o.sweep) return Once("--sweep");
        auto parsed = app::ParseSweep(*sweep);
        if (auto* message = std::get_if<std::string>(&parsed)) return *message;
        o.sweep = std::get<app::SweepPlan>(parsed);
    } else if (auto ref = r.Value("--reference")) {
        if (o.reference) return Once("--reference");
        if (ref->empty()) return text::Tr("\"--reference\" mit leerem Dateinamen");
        o.reference = *ref;
    } else if (auto csv = r.Value("--csv")) {
        if (o.csv) return Once("--csv");
        o.csv = *csv;
    } else if (auto plot = r.Value("--plot")) {
        if (o.plot) return Once("--plot");
        o.plot = *plot;
    } else if (auto y = r.Value("--y")) {
        if (!o.y.empty()) return Once("--y");
        for (std::string_view name : text::SplitFields(*y, ',')) o.y.emplace_back(name);
        const bool blank = std::any_of(o.y.begin(), o.y.end(), [](const std::string& n) {
            return text::TrimBlanks(n).empty();
        });
        if (o.y.size() > 2 || blank) {
            return TrFormat(
                "--y erwartet einen oder zwei Namen der Ergebnisliste, durch Komma getrennt: "
                "\"%1\"",
                {*y});
        }
    } else if (auto v = r.Value("--new")) {
        return o.edits.TakeNew(*v);
    } else if (auto v = r.Value("--choose")) {
        return o.edits.TakeChoose(*v);
    } else if (auto v = r.Value("--set")) {
        return o.edits.TakeSet(*v);
    } else if (auto v = r.Value("--save")) {
        return o.edits.TakeSave(*v);
    } else if (r.Value("--lang")) {
        // Taken before everything else (LanguageArgument), so that every message speaks it.
    } else if (auto v = r.Value("--lens")) {
        if (o.edits.lensCode) return Once("--lens");
        o.edits.lensCode = *v;
    } else if (auto v = r.Value("--fit")) {
        return o.fit.TakeFile(*v);
    } else if (auto v = r.Value("--wavelength")) {
        return o.fit.TakeWavelength(*v);
    } else if (auto v = r.Value("--element-at")) {
        return o.fit.TakeElementAt(*v);
    } else if (r.Missing()) {
        return TrFormat("Nach \"%1\" fehlt der Wert.", {a});
    } else {
        return TrFormat("unbekanntes Argument \"%1\"", {a});
    }
    return std::nullopt;
}

// What the options cannot do together.
std::optional<std::string> CombinationProblem(const Options& o) {
    for (const auto* file : {&o.exports.pdf, &o.exports.svg, &o.exports.png, &o.csv, &o.plot}) {
        if (*file && (*file)->empty())
            return Tr("Ein leerer Dateiname kann nicht geschrieben werden.");
    }
    if (o.csv && !o.sweep) return Tr("\"--csv\" ohne \"--sweep\": nur ein Sweep schreibt CSV");
    if (o.plot && !o.sweep) {
        return Tr("\"--plot\" ohne \"--sweep\": nur ein Sweep zeichnet eine Studie");
    }
    if (!o.y.empty() && !o.plot) return Tr("\"--y\" ohne \"--plot\": nur das Diagramm hat Größen");
    if (o.plot && !PlotIsSvg(*o.plot) && !PlotIsPng(*o.plot)) {
        return TrFormat(
            "\"--plot\" schreibt SVG oder PNG: der Dateiname endet auf .svg oder .png, nicht "
            "\"%1\"",
            {o.plot->string()});
    }
    if (o.plot && o.settings.size() > 1) {
        return Tr("Mit mehreren \"--settings\" geht --plot nicht: ein Diagramm zeigt ein System");
    }
    if (o.sweep && (o.json || o.exports.Any() || o.wavelengthList || o.lensList)) {
        return Tr(
            "\"--sweep\" schreibt nur CSV (und mit --plot das Diagramm) und geht nicht mit "
            "--json, --pdf, --svg, --png, --wavelengths oder --list-lenses zusammen");
    }
    if (o.reference && (o.settings.size() != 1 || o.sweep || o.exports.Any() || o.wavelengthList ||
                        o.lensList || o.fit.file || o.edits.save)) {
        return text::Tr(
            "\"--reference\" vergleicht genau ein \"--settings\" mit einer Datei "
            "und geht nicht mit --sweep, --pdf, --svg, --png, --save, --fit, "
            "--wavelengths oder --list-lenses zusammen");
    }
    if (o.settings.size() > 1 && (o.exports.Any() || o.wavelengthList)) {
        return Tr("Mit mehreren \"--settings\" gehen --pdf, --svg, --png und --wavelengths nicht");
    }
    if (auto problem = o.fit.CombinationProblem(
            o.edits, o.settings.size(),
            o.sweep || o.exports.Any() || o.wavelengthList || o.lensList)) {
        return problem;
    }
    return o.edits.CombinationProblem(
        o.settings.size(),
        static_cast<int>(std::count(o.settings.begin(), o.settings.end(), kStandardInput)),
        o.wavelengthList || o.lensList);
}

// The arguments, or the one-line German message naming the bad one. `help` is set for --help.
std::variant<Options, std::string> ParseArguments(const std::vector<std::string>& args,
                                                  bool& help) {
    Options o;
    for (ArgumentReader r(args); !r.AtEnd(); r.Advance()) {
        if (r.Current() == "--help" || r.Current() == "-h") {
            help = true;
            return o;
        }
        if (auto problem = TakeArgument(r, o)) return *problem;
    }
    if (auto problem = CombinationProblem(o)) return *problem;
    return o;
}

// A design file as read and solved for the output; its bytes are kept only when the exports or
// the edits need them.
using Loaded = LoadedDesign;

int LoadDesignFile(const fs::path& file, bool keepBytes, Loaded& loaded, std::ostream& err) {
    std::error_code ec;
    if (fs::status(file, ec).type() == fs::file_type::not_found) {
        err << "raysketcher-cli: " << TrFormat("Die Datei \"%1\" gibt es nicht.", {file.string()})
            << "\n";
        return kUsage;
    }
    // A folder, a device, a file without read permission or one far too big: the reader names
    // the reason, and an empty design would only mislead.
    const app::IniFile ini(file);
    if (!ini.ReadProblem().empty()) {
        err << "raysketcher-cli: " << ini.ReadProblem() << "\n";
        return kUsage;
    }
    loaded.file = file;
    if (keepBytes) {
        // The exports load the design from these very bytes, so pictures and list agree.
        std::ifstream in(file, std::ios::binary);
        loaded.bytes.assign(std::istreambuf_iterator<char>(in), {});
        app::LoadSettings(app::IniFile::FromText(file, loaded.bytes), loaded.state);
    } else {
        app::LoadSettings(ini, loaded.state);
    }
    return kSolved;
}

// Loads one design file (or makes the design of --new, or reads standard input), applies the
// edits and solves it; the message and kUsage when it cannot be read or an edit is refused.
int LoadDesign(const DesignEdits& edits, const fs::path& file, bool keepBytes, Loaded& loaded,
               std::ostream& err) {
    loaded.file = file;
    if (!edits.newBeam && file != kStandardInput &&
        LoadDesignFile(file, keepBytes || edits.save || edits.Changes(), loaded, err) != kSolved) {
        return kUsage;
    }
    if (const auto problem = PrepareDesign(edits, loaded)) {
        err << "raysketcher-cli: " << PlainText(*problem) << "\n";
        return kUsage;
    }
    app::SolveDesign(loaded.state, false);
    return kSolved;
}

// Writes --save: the design as the window saves it, through the rules of every output file.
int SaveDesign(const DesignEdits& edits, const Loaded& loaded, std::ostream& err) {
    if (!edits.save) return kSolved;
    if (const auto problem = WriteOutputFile(*edits.save, loaded.bytes)) {
        err << "raysketcher-cli: " << *problem << "\n";
        return kExportFailed;
    }
    return kSolved;
}

// 2 beats 1 beats 0 (and 3, an unwritable output, beats everything).
int Worse(int a, int b) {
    return std::max(a, b);
}

int RunSweep(const Options& o, const std::vector<fs::path>& files, const fs::path& programDir,
             std::ostream& out, std::ostream& err) {
    // Every file is read and checked before anything is written, so a bad name leaves no half
    // table behind.
    std::vector<app::DesignSweep> sweeps;
    Loaded plotted;  // the one design of --plot
    for (const fs::path& file : files) {
        Loaded loaded;
        if (const int rc = LoadDesign(o.edits, file, o.plot.has_value(), loaded, err);
            rc != kSolved) {
            return rc;
        }
        auto prepared = app::DesignSweep::Prepare(loaded.state, *o.sweep);
        if (auto* message = std::get_if<std::string>(&prepared)) {
            err << "raysketcher-cli: " << PlainText(file.string()) << ": " << PlainText(*message)
                << "\n";
            return kUsage;
        }
        sweeps.push_back(std::move(std::get<app::DesignSweep>(prepared)));
        // --plot: the sweep becomes the study of the design's mode, which the export module
        // draws as the window's study tab does; --save keeps the design's own study.
        std::optional<app::StudyChoice> study;
        if (o.plot) {
            auto choice = ui::StudyChoiceOfPlan(loaded.state, *o.sweep, o.y);
            if (auto* message = std::get_if<std::string>(&choice)) {
                err << "raysketcher-cli: " << PlainText(*message) << "\n";
                return kUsage;
            }
            study = std::get<app::StudyChoice>(std::move(choice));
        }
        if (const int rc = SaveDesign(o.edits, loaded, err); rc != kSolved) return rc;
        if (study) {
            ui::SetStudyChoice(loaded.state, std::move(*study));
            StageBytes(loaded);
            plotted = std::move(loaded);
        }
    }
    std::vector<app::SweepInput> inputs;
    for (std::size_t k = 0; k < files.size(); ++k)
        inputs.push_back({files[k].string(), &sweeps[k]});
    // The rows go out as they are solved: to the output, or to the file, which replaces an old
    // one only when the table is complete.
    std::unique_ptr<OutputFile> csv;
    if (o.csv) {
        auto opened = OutputFile::Open(*o.csv);
        if (auto* message = std::get_if<std::string>(&opened)) {
            err << "raysketcher-cli: " << *message << "\n";
            return kExportFailed;
        }
        csv = std::move(std::get<std::unique_ptr<OutputFile>>(opened));
    }
    const app::CsvOutcome written = app::WriteSweepCsv(inputs, [&](std::string_view chunk) {
        if (csv) return csv->Write(chunk);
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        return out.good();
    });
    out.flush();
    if (csv) {
        if (const auto problem = csv->Commit()) {
            err << "raysketcher-cli: " << *problem << "\n";
            return kExportFailed;
        }
    } else if (written.stopped || !out) {
        err << "raysketcher-cli: " << Tr("Die Tabelle kann nicht ausgegeben werden.") << "\n";
        return kExportFailed;
    }
    if (o.plot) {
        ExportRequest plot;
        (PlotIsSvg(*o.plot) ? plot.svg : plot.png) = *o.plot;
        plot.size = o.exports.size;
        plot.studyPoints = o.sweep->steps;
        if (WriteExports({plotted.file, plotted.bytes}, plot, programDir, err) !=
            ExportResult::Written) {
            return kExportFailed;
        }
    }
    return written.unsolved > 0 ? kNotSolved : kSolved;
}

// --fit, on the design given (for its wavelength, and to take the beam with --element-at).
int RunFitOn(const Options& o, const std::vector<fs::path>& files, std::ostream& out,
             std::ostream& err) {
    Loaded loaded;
    if (const int rc = LoadDesign(o.edits, files.front(), true, loaded, err); rc != kSolved) {
        return rc;
    }
    if (const int rc = RunFit(o.fit, o.json, &loaded, out, err); rc != kSolved) return rc;
    return SaveDesign(o.edits, loaded, err);
}

// --reference: design A (with the edits) beside design B, solved in A's units and symbols.
int RunReference(const Options& o, const fs::path& file, std::ostream& out, std::ostream& err) {
    Loaded a;
    if (const int rc = LoadDesign(o.edits, file, false, a, err); rc != kSolved) return rc;
    if (*o.reference == kStandardInput) {
        err << "raysketcher-cli: "
            << text::Tr("Die Referenz kann nicht von der Standardeingabe gelesen werden.") << "\n";
        return kUsage;
    }
    Loaded b;
    if (LoadDesignFile(*o.reference, false, b, err) != kSolved) return kUsage;
    if (!ui::SameMode(a.state, b.state)) {
        err << "raysketcher-cli: "
            << (a.state.beam.beamMode
                    ? text::Tr("A ist ein Gaußstrahl-System, die Referenz ein paraxiales; sie "
                               "lassen sich nicht Zeile für Zeile vergleichen.")
                    : text::Tr("A ist ein paraxiales System, die Referenz ein Gaußstrahl-System; "
                               "sie lassen sich nicht Zeile für Zeile vergleichen."))
            << "\n";
        return kUsage;
    }
    const app::DesignState shown = ui::ReferenceAsShown(a.state, b.state);
    engine::ResultListCache cache;
    beam::BeamListCache beamCache;
    const std::vector<ui::ComparedRow> rows = ui::CompareRows(
        app::ResultRows(a.state, false, cache, beamCache), ui::ReferenceRows(shown));
    out << (o.json ? ComparisonJson(a.state, rows) : ComparisonText(rows));
    return app::DesignSolved(a.state) && app::DesignSolved(shown) ? kSolved : kNotSolved;
}

// Whether two names lead to one file: the same device and inode when both exist, else the same
// normalised absolute path.
bool SameFile(const fs::path& a, const fs::path& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    }
    std::error_code ec;
    const fs::path na = fs::weakly_canonical(fs::absolute(a, ec), ec).lexically_normal();
    const fs::path nb = fs::weakly_canonical(fs::absolute(b, ec), ec).lexically_normal();
    return na == nb;
}

// An output that would overwrite a design file being read: the German message naming both.
std::optional<std::string> OutputOverDesign(const Options& o, const std::vector<fs::path>& files) {
    for (const auto* output :
         {&o.exports.pdf, &o.exports.svg, &o.exports.png, &o.csv, &o.plot, &o.edits.save}) {
        if (!*output) continue;
        for (const fs::path& file : files) {
            // Standard input and the design of --new are no file to protect.
            if (file.empty() || file == kStandardInput || !SameFile(**output, file)) continue;
            return TrFormat(
                "Die Ausgabedatei \"%1\" ist die Einstellungsdatei \"%2\", die gelesen wird; sie "
                "wird nicht überschrieben.",
                {PlainText((*output)->string()), PlainText(file.string())});
        }
    }
    return std::nullopt;
}

// One line per file a reader left out, so that a short or empty list comes with its reason.
void ReportNotRead(const std::vector<text::FileNotRead>& files, std::ostream& err) {
    for (const text::FileNotRead& f : files)
        err << "raysketcher-cli: " << PlainText(f.Message()) << "\n";
}

// The catalogue for the lens list and for the lenses of a beam design in --json. Its files are
// read only when a beam design needs them: a paraxial run starts faster.
class CatalogueSource {
public:
    CatalogueSource(std::optional<analysis::CatalogueLocation> where, std::ostream& err)
        : where_(std::move(where)), err_(err) {}
    analysis::LensCatalogue* For(const app::DesignState& state) {
        if (!state.beam.beamMode || !where_ || !where_->dir) return nullptr;
        if (!catalogue_) {
            catalogue_ = analysis::ReadCatalogueLenses(*where_->dir);
            ReportNotRead(catalogue_->NotRead(), err_);
        }
        return &*catalogue_;
    }

private:
    std::optional<analysis::CatalogueLocation> where_;
    std::ostream& err_;
    std::optional<analysis::LensCatalogue> catalogue_;
};

// The result list or JSON of one loaded design; with exports (only one file can have them) the
// files too. The outcome of the file.
int PrintDesign(const Options& o, const Loaded& loaded, bool several, CatalogueSource& catalogue,
                const fs::path& programDir, std::ostream& out, std::ostream& err) {
    const app::DesignState& state = loaded.state;
    if (o.json) {
        out << DesignJson(state, catalogue.For(state)) << (several ? "" : "\n");
    } else {
        engine::ResultListCache cache;
        beam::BeamListCache beamCache;
        for (const auto& row : app::ResultRows(state, false, cache, beamCache).rows) {
            out << PlainText(row.name) << "\t" << PlainText(row.value) << "\n";
        }
    }
    const int solved = app::DesignSolved(state) ? kSolved : kNotSolved;
    if (!o.exports.Any()) return solved;
    out.flush();
    switch (WriteExports({loaded.file, loaded.bytes}, o.exports, programDir, err)) {
        case ExportResult::Failed:
            return kExportFailed;
        case ExportResult::Refused:
            return kNotSolved;
        case ExportResult::Written:
            break;
    }
    return solved;
}

// Every design file in turn: a list each (headed by its name when there are several) or one
// JSON object each (an array of them when there are several).
int RunDesigns(const Options& o, const std::vector<fs::path>& files, CatalogueSource& catalogue,
               const fs::path& programDir, std::ostream& out, std::ostream& err) {
    const bool several = files.size() > 1;
    int worst = kSolved;
    if (several && o.json) out << "[";
    for (std::size_t k = 0; k < files.size(); ++k) {
        const fs::path& file = files[k];
        if (several && o.json && k > 0) out << ",";
        if (several && !o.json) out << Tr("Datei") << "\t" << PlainText(file.string()) << "\n";
        Loaded loaded;
        if (const int rc = LoadDesign(o.edits, file, o.exports.Any(), loaded, err); rc != kSolved) {
            if (several && o.json) out << "null";
            worst = Worse(worst, rc);
            continue;
        }
        const int rc = PrintDesign(o, loaded, several, catalogue, programDir, out, err);
        // An unwritable export ends the run at once.
        if (rc == kExportFailed) return rc;
        if (SaveDesign(o.edits, loaded, err) == kExportFailed) return kExportFailed;
        worst = Worse(worst, rc);
    }
    if (several && o.json) out << "]\n";
    return worst;
}

// The design files: those given, else the program's own settings file.
std::vector<fs::path> DesignFiles(const Options& o, const fs::path& programDir) {
    // The design of --new has no file.
    if (o.edits.newBeam) return {fs::path()};
    std::vector<fs::path> files;
    for (const fs::path& given : o.settings) {
        files.push_back(given == kStandardInput ? given : app::SettingsFilePath(given, programDir));
    }
    if (files.empty()) files.push_back(app::SettingsFilePath(std::nullopt, programDir));
    return files;
}

int RunArguments(const std::vector<std::string>& args, const fs::path& programDir,
                 std::ostream& out, std::ostream& err) {
    bool help = false;
    auto parsed = ParseArguments(args, help);
    if (help) {
        out << HelpText();
        return kSolved;
    }
    if (auto* message = std::get_if<std::string>(&parsed)) {
        err << "raysketcher-cli: " << *message << Tr(" (Aufrufe: raysketcher-cli --help)") << "\n";
        return kUsage;
    }
    Options& o = std::get<Options>(parsed);

    std::optional<analysis::CatalogueLocation> where;
    if (o.lensList || o.json || o.edits.lensCode) {
        where = analysis::FindCatalogueDir(o.catalogueDir, programDir);
        if (!where->dir && (o.lensList || o.catalogueDir)) {
            err << "raysketcher-cli: " << analysis::CatalogueNotFoundMessage(*where) << "\n";
            return kUsage;
        }
    }
    if (o.lensList) {
        const analysis::LensCatalogue catalogue = analysis::ReadCatalogueLenses(*where->dir);
        ReportNotRead(catalogue.NotRead(), err);
        out << LensList(catalogue, o.json);
        return kSolved;
    }
    if (o.edits.lensCode) {
        if (const auto problem = FindRequestedLens(o.edits, *where, err)) {
            err << "raysketcher-cli: " << *problem << "\n";
            return kUsage;
        }
    }
    const std::vector<fs::path> files = DesignFiles(o, programDir);
    if (o.wavelengthList) {
        // The user's list lies beside the settings file, which itself need not exist.
        const fs::path userFile = wavelengths::UserWavelengthFile(files.front());
        // The command line reads only: no folder is made for a missing list.
        const wavelengths::UserList user = wavelengths::ReadUserWavelengths(userFile, false);
        if (user.notRead) ReportNotRead({*user.notRead}, err);
        out << WavelengthList(userFile, user, o.json);
        return kSolved;
    }
    // Without a design the fit needs none: its wavelength is then the standard one.
    if (o.fit.file && o.settings.empty() && !o.edits.newBeam) {
        return RunFit(o.fit, o.json, nullptr, out, err);
    }
    if (files.front().empty() && !o.edits.newBeam) {
        err << "raysketcher-cli: " << Tr("Keine Einstellungsdatei: ")
            << app::SettingsLocationNote(files.front()) << "\n";
        return kUsage;
    }
    if (const auto problem = OutputOverDesign(o, files)) {
        err << "raysketcher-cli: " << *problem << "\n";
        return kUsage;
    }
    if (o.sweep) return RunSweep(o, files, programDir, out, err);
    if (o.fit.file) return RunFitOn(o, files, out, err);
    if (o.reference) return RunReference(o, files.front(), out, err);
    CatalogueSource catalogue(std::move(where), err);
    return RunDesigns(o, files, catalogue, programDir, out, err);
}

// The language of --lang; `unknown` names a value that is no language.
struct LanguageChoice {
    std::optional<text::Language> chosen;
    std::optional<std::string> unknown;
};
LanguageChoice LanguageArgument(const std::vector<std::string>& args) {
    LanguageChoice choice;
    for (ArgumentReader r(args); !r.AtEnd(); r.Advance()) {
        if (const auto code = r.Value("--lang")) {
            choice.chosen = text::LanguageFromCode(*code);
            if (!choice.chosen) choice.unknown = *code;
        }
    }
    return choice;
}

}  // namespace

int Run(const std::vector<std::string>& args, const std::filesystem::path& programDir,
        std::ostream& out, std::ostream& err) {
    // A reader of a pipe that goes away early makes the next write fail (EPIPE), reported as
    // such, instead of ending the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
    const LanguageChoice language = LanguageArgument(args);
    app::StartLanguage(language.chosen, programDir);
    if (language.unknown) {
        err << "raysketcher-cli: "
            << TrFormat("unbekannte Sprache \"%1\" (de oder en)", {*language.unknown}) << "\n";
        return kUsage;
    }
    try {
        return RunArguments(args, programDir, out, err);
    } catch (const std::bad_alloc&) {
        err << "raysketcher-cli: " << Tr("Für diese Aufgabe reicht der Speicher nicht.") << "\n";
        return kUsage;
    }
}

}  // namespace rs::cli
