#pragma once
// Files raysketcher-cli writes besides its text output: the printed report as PDF and the
// drawing as SVG or PNG, painted by the same code as the window's print command and drawing.
// The painting needs the toolkit, so it lives in a module of its own (raysketcher-export.so)
// that the program loads only when a file is asked for; the text and JSON output never load
// a toolkit library. What is declared here needs no toolkit.
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/design_state.h"  // named by the fuzz build's stand-in (fuzz/no_exports.cpp)

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

// A file the program writes, piece by piece. A new or regular file (also through links) is
// written to a temporary file beside it that replaces it only when Commit finds every piece
// written, so a failed or unfinished output leaves the old file as it was (owner and
// permissions kept); a write-protected one is refused, root or not. Any other existing target
// (a device, a pipe) is written as it is, every write checked. A pipe nobody reads from is a
// failure, never a wait: neither at the start (no reader) nor later (the reader went away;
// SIGPIPE must be ignored, as the program does).
class OutputFile {
public:
    // The open file, or the German message naming the file.
    static std::variant<std::unique_ptr<OutputFile>, std::string> Open(
        const std::filesystem::path& file);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // An uncommitted temporary file goes with it.
    ~OutputFile();

    // False once any write has failed; later pieces are dropped.
    bool Write(std::string_view bytes);
    // Puts the file in place. Nothing when all was written, else the German message naming the
    // file (the temporary file is gone then too).
    std::optional<std::string> Commit();

private:
    explicit OutputFile(std::filesystem::path file) : file_(std::move(file)) {}
    std::string Failed(int error) const;

    std::filesystem::path file_;    // as the user named it
    std::filesystem::path target_;  // a regular file's place, links followed; empty for others
    std::filesystem::path temp_;    // beside target_ until committed
    int fd_ = -1;
    int error_ = 0;  // the first failure's errno
};

// Writes `bytes` to `file` in one piece through OutputFile. Nothing when written, else the
// German message naming the file.
std::optional<std::string> WriteOutputFile(const std::filesystem::path& file,
                                           std::string_view bytes);

struct ExportRequest {
    std::optional<std::filesystem::path> pdf;
    std::optional<std::filesystem::path> svg;
    std::optional<std::filesystem::path> png;
    PictureSize size;
    // Above 0: the SVG and PNG show the design's study with this many points (--plot).
    std::int64_t studyPoints = 0;
    bool Any() const { return pdf || svg || png; }
};

enum class ExportResult {
    Written,  // every requested file
    Refused,  // the report was refused (incomplete selection); the message went to `err`
    Failed,   // a file could not be written, or the module is missing; the message went to `err`
};

// The design the files show: the settings file's bytes exactly as the text output read them,
// and where the file lies (its folder holds the user's own lists).
struct ExportDesign {
    std::filesystem::path file;
    std::string_view bytes;
};

// The file name of the export module, and where it is looked for: beside the program (the
// build tree) first, then in the installed library folder relative to the program's folder.
inline constexpr const char* kExportModuleName = "raysketcher-export.so";
std::vector<std::filesystem::path> ExportModuleCandidates(const std::filesystem::path& programDir);

// Loads the export module and writes the requested files for the design (loaded and solved
// there as here). The toolkit starts without a display (the offscreen platform, unless the
// environment names another). In beam mode the pictures show the beam (one picture per diode
// axis). A module that cannot be found or loaded is Failed, with a message naming where it was
// looked for.
ExportResult WriteExports(const ExportDesign& design, const ExportRequest& request,
                          const std::filesystem::path& programDir, std::ostream& err);

}  // namespace rs::cli
