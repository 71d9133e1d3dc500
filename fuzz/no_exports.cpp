// The fuzz build has no toolkit: the CLI's picture and report exports, which only the argument
// handling reaches, are stood in for. The fuzz targets never call them.
#include <cstdlib>

#include "cli/export.h"

namespace rs::cli {

std::optional<PictureSize> ParsePictureSize(std::string_view) {
    return std::nullopt;
}

std::optional<std::string> WriteOutputFile(const std::filesystem::path&, std::string_view) {
    std::abort();
}

ExportResult WriteExports(const app::DesignState&, const ExportRequest& request, std::ostream&) {
    if (request.Any()) std::abort();
    return ExportResult::Written;
}

}  // namespace rs::cli
