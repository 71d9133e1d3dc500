#pragma once
// The stock-lens catalogue: six binary files of fixed-length records (their layouts are written
// down in data/README.md), the lens entries read from them with their traced focal lengths, the
// lookup by catalogue code, the display text of a lens, and where the files are found.
//
// The files are inputs we do not trust: every read is bounds-checked, counts come only from the
// file sizes, and a damaged record or file makes the list shorter, never the program fail.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/file_read.h"

namespace rs::analysis {

enum class CatalogueKind { kSingle, kBestForm, kAchromat, kAirSpacedAchromat, kTriplet, kCylinder };

// "Einzellinse", "Einzellinse bester Form", "Achromat", "Achromat [Luftspalt]", "Triplet",
// "Zylinder".
std::string_view KindText(CatalogueKind kind);

// One refracting surface and the medium behind it up to the next surface. Behind the last
// surface lies air: thickness 0, index 1, no glass.
struct CatalogueSurface {
    double radius = 0.0;        // mm; 0 is a plane surface
    double semiDiameter = 0.0;  // mm; for a cylinder half its height across the cylinder axis
    double thickness = 0.0;     // mm to the next surface
    double index = 1.0;         // refractive index of the medium behind the surface
    double abbe = 0.0;          // the glass's second value (Abbe number), carried along
    std::string glass;          // NormalGlassName of the medium; empty for air

    friend bool operator==(const CatalogueSurface&, const CatalogueSurface&) = default;
};

struct CatalogueLens {
    CatalogueKind kind = CatalogueKind::kSingle;
    std::vector<CatalogueSurface> surfaces;
    std::array<std::string, 4> codes;  // trimmed; unused places empty
    std::string description;           // trimmed; ends with the nominal focal length "F = …"
    std::string series;                // further text, put in front of a display text on request
    std::string coating;               // further text
    bool available = true;             // false: no longer available
    double cylinderLength = 0.0;       // cylinders: length along the cylinder axis (mm)
    std::int16_t shape = 0;            // singles: shape code (see data/README.md), carried
    std::int16_t revision = 0;         // singles: record revision, carried
    std::vector<float> values;         // the record's further values, carried unchanged

    double focalLength = 0.0;  // mm, by the paraxial trace through the surfaces
    double aperture = 0.0;     // mm, the largest semi-diameter

    double Diameter() const { return 2.0 * aperture; }
    // The first non-blank code; empty when the lens has none.
    std::string_view Code() const;
    // The glasses from front to back, each once in a row: "N-BAF10/N-SF10".
    std::string GlassText() const;
};

// Paraxial y-nu trace of a ray parallel to the axis through `surfaces`: f' = −y₁ / u'. Nothing
// when the surfaces have no power or the focal length is not finite.
std::optional<double> TraceFocalLength(std::span<const CatalogueSurface> surfaces);

// Glass names compare in trimmed upper case, and the old name "SF56" stands for "SF56A".
std::string NormalGlassName(std::string_view name);

// The display text: the trimmed description cut before its first "F =" (in any case), with the
// series in front when `withSeries` is set, followed by " ... OBSOLET" for a lens that is no
// longer available.
std::string DisplayText(const CatalogueLens& lens, bool withSeries);

// The lenses in catalogue order and the lookup from each code (trimmed, any case) to its lens.
class LensCatalogue {
public:
    // Adds `lens` unless one of its codes already leads to an earlier lens (the first keeps it).
    bool Add(CatalogueLens lens);
    const std::vector<CatalogueLens>& Lenses() const { return lenses_; }
    const CatalogueLens* Find(std::string_view code) const;
    // Records the reader left out: damaged, without power, or with a code already taken.
    int Skipped() const { return skipped_; }
    void CountSkipped() { ++skipped_; }
    // Files of the folder that gave no lens at all although the sequence names records in them
    // (missing, unreadable, or every record damaged), and a sequence file that names nothing
    // readable: so that an empty list comes with a reason.
    const std::vector<text::FileNotRead>& NotRead() const { return notRead_; }
    void NoteNotRead(text::FileNotRead file) { notRead_.push_back(std::move(file)); }

private:
    std::vector<CatalogueLens> lenses_;
    std::unordered_map<std::string, std::size_t> byCode_;
    int skipped_ = 0;
    std::vector<text::FileNotRead> notRead_;
};

// --- Files -------------------------------------------------------------------------------------

inline constexpr std::string_view kSequenceFile = "SH_SEQ.dat";
// A sequence names at most this many records; the rest of a longer file is not read.
inline constexpr std::size_t kMaxSequenceRecords = 65536;

// Reads the six catalogue files in `dir`. Missing or damaged files leave the list empty or
// shorter (and are named in NotRead()): a trailing partial record is ignored, a sequence record
// naming a record beyond its file's end is skipped, and so is a lens without power, with an index
// below 1, a negative thickness, no aperture or a number that is not finite.
LensCatalogue ReadCatalogueLenses(const std::filesystem::path& dir);

// Writes `lenses` as the six catalogue files in `dir` (created when missing), in their order.
// Returns an empty text when done, otherwise what was wrong (a lens with the wrong number of
// surfaces for its kind, a text too long for its field, a file that could not be written).
std::string WriteCatalogueLenses(const std::filesystem::path& dir,
                                 std::span<const CatalogueLens> lenses);

// --- Where the files are -----------------------------------------------------------------------

// The build tree's generated copy, for a program run from its build folder; empty when this
// build has none.
std::filesystem::path BuildTreeCatalogueDir();

// True when a program in `programDir` runs from the build folder `buildRoot` (lies inside it):
// only such a program reads the build's generated files; an installed one must not quietly read
// a build tree that may be older or newer than itself.
bool RunsFromBuildTree(const std::filesystem::path& programDir,
                       const std::filesystem::path& buildRoot);

// The folders looked at, in order: beside the program, ../share/raysketcher/ relative to it (an
// installed program), then the build tree's copy (<build>/share/raysketcher) when there is one
// and the program lies inside that build folder.
std::vector<std::filesystem::path> CatalogueDirCandidates(
    const std::filesystem::path& programDir,
    const std::filesystem::path& buildTreeDir = BuildTreeCatalogueDir());

struct CatalogueLocation {
    std::optional<std::filesystem::path> dir;     // the first folder holding SH_SEQ.dat
    std::vector<std::filesystem::path> searched;  // every folder looked at, in order
};

// An explicit folder (given by the user) is the only one looked at; otherwise the candidates.
CatalogueLocation FindCatalogueDir(
    const std::optional<std::filesystem::path>& explicitDir,
    const std::filesystem::path& programDir,
    const std::filesystem::path& buildTreeDir = BuildTreeCatalogueDir());

// "keine Katalogdateien gefunden in A, B, C".
std::string CatalogueNotFoundMessage(const CatalogueLocation& location);

}  // namespace rs::analysis
