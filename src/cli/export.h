#pragma once
// Files raysketcher-cli writes besides its text output: the printed report as PDF and the
// drawing as SVG or PNG, painted by the same code as the window's print command and drawing.
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "app/design_state.h"

namespace rs::cli {

inline constexpr int kDefaultPictureWidth = 1200;
inline constexpr int kDefaultPictureHeight = 700;
inline constexpr int kMaxPictureSide = 10000;

struct PictureSize {
    int width = kDefaultPictureWidth;
    int height = kDefaultPictureHeight;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// "WIDTHxHEIGHT" in pixels, each 1 to kMaxPictureSide; nothing for any other text.
std::optional<PictureSize> ParsePictureSize(std::string_view text);

// Writes `bytes` to `file`. A new or regular file is replaced atomically (never half written,
// its permissions kept); a write-protected one is refused, root or not. Any other existing target
// (a device, a pipe) is opened and written directly, every write checked. Nothing when written,
// else the German message naming the file.
std::optional<std::string> WriteOutputFile(const std::filesystem::path& file,
                                           std::string_view bytes);

struct ExportRequest {
    std::optional<std::filesystem::path> pdf;
    std::optional<std::filesystem::path> svg;
    std::optional<std::filesystem::path> png;
    PictureSize size;
    bool Any() const { return pdf || svg || png; }
};

enum class ExportResult {
    Written,  // every requested file
    Refused,  // the report was refused (incomplete selection); the message went to `err`
    Failed,   // a file could not be written; the message went to `err`
};

// Writes the requested files for the loaded and solved `state`. Starts the toolkit without a
// display (the offscreen platform, unless the environment names another) when no application
// object exists yet. In beam mode the pictures show the beam (one picture per diode axis).
ExportResult WriteExports(const app::DesignState& state, const ExportRequest& request,
                          std::ostream& err);

}  // namespace rs::cli
