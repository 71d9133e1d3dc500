// Finds and loads the export module only when a file is asked for, so the program itself links
// no toolkit library.
#include <dlfcn.h>

#include <ostream>
#include <string>
#include <system_error>

#include "cli/export.h"
#include "cli/export_module.h"
#include "text/tr.h"

namespace rs::cli {
using text::Tr;
using text::TrFormat;
namespace {

void ToStream(void* context, const char* text, size_t size) {
    static_cast<std::ostream*>(context)->write(text, static_cast<std::streamsize>(size));
}

std::string Listed(const std::vector<std::filesystem::path>& paths) {
    std::string s;
    for (const auto& p : paths) s += (s.empty() ? "\"" : ", \"") + p.string() + "\"";
    return s;
}

}  // namespace

std::vector<std::filesystem::path> ExportModuleCandidates(const std::filesystem::path& programDir) {
    // RAYSKETCHER_EXPORT_MODULE_DIR: the installed module folder relative to the installed
    // program's folder (bin -> lib/raysketcher), set by the build.
    return {programDir / kExportModuleName,
            (programDir / RAYSKETCHER_EXPORT_MODULE_DIR / kExportModuleName).lexically_normal()};
}

namespace {

// The module's entry point, or nothing with the message on `err` when the module is missing,
// cannot be loaded or is not ours.
RaysketcherExportEntry LoadExportEntry(const std::filesystem::path& programDir, std::ostream& err) {
    const std::vector<std::filesystem::path> candidates = ExportModuleCandidates(programDir);
    // The first module that is there is the one: a broken one in the build tree is reported, not
    // passed over for an installed one of another build.
    std::optional<std::filesystem::path> found;
    for (const auto& candidate : candidates) {
        std::error_code ec;
        if (std::filesystem::exists(candidate, ec)) {
            found = candidate;
            break;
        }
    }
    if (!found) {
        err << "raysketcher-cli: "
            << TrFormat("Das Modul für PDF, SVG und PNG (%1) fehlt; gesucht wurde %2.",
                        {kExportModuleName, Listed(candidates)})
            << "\n";
        return nullptr;
    }
    // Kept loaded until the program ends: the toolkit it started may still have work at exit.
    void* module = ::dlopen(found->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = ::dlerror();
        err << "raysketcher-cli: "
            << TrFormat("Das Modul für PDF, SVG und PNG \"%1\" lässt sich nicht laden: %2",
                        {found->string(), reason ? std::string(reason) : Tr("unbekannter Fehler")})
            << "\n";
        return nullptr;
    }
    auto entry =
        reinterpret_cast<RaysketcherExportEntry>(::dlsym(module, RAYSKETCHER_EXPORT_ENTRY));
    if (entry == nullptr) {
        err << "raysketcher-cli: "
            << TrFormat(
                   "Das Modul für PDF, SVG und PNG \"%1\" ist beschädigt oder gehört zu einer "
                   "anderen Version (ihm fehlt %2).",
                   {found->string(), RAYSKETCHER_EXPORT_ENTRY})
            << "\n";
    }
    return entry;
}

}  // namespace

ExportResult WriteExports(const ExportDesign& design, const ExportRequest& request,
                          const std::filesystem::path& programDir, std::ostream& err) {
    if (!request.Any()) return ExportResult::Written;
    const RaysketcherExportEntry entry = LoadExportEntry(programDir, err);
    if (entry == nullptr) return ExportResult::Failed;
    const std::string path = design.file.string();
    const std::string pdf = request.pdf ? request.pdf->string() : "";
    const std::string svg = request.svg ? request.svg->string() : "";
    const std::string png = request.png ? request.png->string() : "";
    RaysketcherExportJob job{};
    job.abi = RAYSKETCHER_EXPORT_ABI;
    job.settingsPath = path.c_str();
    job.settingsText = design.bytes.data();
    job.settingsSize = design.bytes.size();
    job.pdf = request.pdf ? pdf.c_str() : nullptr;
    job.svg = request.svg ? svg.c_str() : nullptr;
    job.png = request.png ? png.c_str() : nullptr;
    job.width = request.size.width;
    job.height = request.size.height;
    job.studyPoints = request.studyPoints;
    job.report = &ToStream;
    job.context = &err;
    switch (entry(&job)) {
        case kRaysketcherExportWritten:
            return ExportResult::Written;
        case kRaysketcherExportRefused:
            return ExportResult::Refused;
        default:
            return ExportResult::Failed;
    }
}

}  // namespace rs::cli
