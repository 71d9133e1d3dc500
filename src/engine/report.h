#pragma once
// The texts of a paraxial solution: the result list of the main window, the status label for
// virtual and infinite conjugates, the window title, and the content of the printed report.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/paraxial_design.h"
#include "text/tr.h"

namespace rs::engine {

// Display unit of one quantity: shown number = internal value / factor, then the suffix.
struct DisplayUnit {
    double factor = 1.0;
    std::string suffix;
};

// Where the display units come from (the units the user chose); by default the catalogue's own.
struct ReportUnits {
    std::function<DisplayUnit(int index)> param;     // general index 0..20
    std::function<DisplayUnit(int index)> aperture;  // aperture index 0..4
    DisplayUnit Param(int index) const;
    DisplayUnit Aperture(int index) const;
};

// True when a valid solve put the object in the front focal plane: the image is at infinity.
bool ImageAtInfinity(const ParaxialDesign& design);

// The value text of general parameter `index` with value `v` (internal units); `forPrint` adds
// the focal-length marker of the printed report.
std::string ValueText(const ParaxialDesign& design, const ReportUnits& units, int index, float v,
                      bool forPrint = false);

// Names of result-list rows that are not a parameter's own label; whoever reads the list by
// name (the command line's sweep) uses these.
inline constexpr const char* kMirrorRadiusRow = text::TrNoop("Spiegelradius");
inline constexpr const char* kEffectiveFNumberRow = text::TrNoop("Blendenzahl effektiv");
inline constexpr const char* kMtfCutOffRow = text::TrNoop("MTF-Grenzfrequenz");
inline constexpr const char* kNodalPoint1Row =
    text::TrNoop("Knotenpunkt 1 ");  // followed by the two symbols
inline constexpr const char* kNodalPoint2Row = text::TrNoop("Knotenpunkt 2 ");

struct ResultRow {
    std::string name;  // in the language in use
    std::string value;
    // The row's German catalogue name without symbol and colon ("Brennweite"), the same in
    // every language; empty for the fillers.
    std::string id;
    friend bool operator==(const ResultRow&, const ResultRow&) = default;
};

// A row named `name` after catalogue text `german`; its id is that text without the trailing
// ": " or blank that a symbol follows.
ResultRow NamedRow(std::string name, std::string value, std::string_view german);

// Which optional rows the name column showed last time.
struct ResultListCache {
    bool filled = false;
    bool objFocalRow = false;
    bool nodalRows = false;
    bool mirrorRow = false;
    bool lensRows = false;  // the rows of a held catalogue lens (app/held_lens.h)
};

struct ResultList {
    std::vector<ResultRow> rows;
    // Whether the name column must be rewritten: asked for, or the optional rows changed, and
    // never while a feature of the drawing is dragged (then only values change).
    bool rewriteNames = false;
};

ResultList FillResultList(const ParaxialDesign& design, const ReportUnits& units,
                          std::string_view wavelengthText, bool rewriteNames, bool dragging,
                          ResultListCache& cache);

// The wavelength as the advanced box shows it ("546nm").
std::string WavelengthText(const ParaxialDesign& design);

struct StatusLabel {
    std::string text;
    unsigned colour = 0;  // 0xBBGGRR: 65535 yellow, 255 red
};
// The label beside the drawing; nothing when it is hidden.
std::optional<StatusLabel> UpdateConjugateStatus(const ParaxialDesign& design);

// Window titles: the caption set while the window is built, and the one rebuilt on every mode
// change. The beam texts are appended in beam mode.
std::string StartupCaption(std::string_view version);
struct TitleState {
    bool mirrorMode = false;
    bool beamMode = false;
    bool diodeMode = false;
    bool circularise = false;
    int circulariseMode = 0;  // 0 minimum divergence, 1 maximum waist distance
};
std::string WindowTitle(std::string_view version, const TitleState& state);

// The printed report as text placed on a page: rows from top to bottom, each with its pieces
// at horizontal positions in twips from the left margin.
struct ReportPiece {
    int x = 0;
    std::string text;
    bool bold = false;
    int pointSize = 10;
    bool alignRight = false;  // x is the right edge (the date in the header)
};
struct ReportRow {
    std::vector<ReportPiece> pieces;  // empty: an empty line
};
struct ReportPage {
    std::vector<ReportRow> rows;
};
struct ReportInput {
    std::string version;
    std::string dateText;                                      // the long date, already in words
    std::vector<std::pair<std::string, std::string>> dofRows;  // name, value
    std::string heldLens{};  // the catalogue lens the design holds, named below the title; or empty
};
// The report, or the refusal message when the selection is incomplete.
struct ReportResult {
    std::optional<std::string> refusal;
    ReportPage page;
};
// The refusal of a report while the selection is incomplete; nothing once it is complete.
std::optional<std::string> ReportRefusal(const Selection& selection);

// Places rows on a report page at the report's columns: headings at the section column, a row's
// name at the name column, its value (and a second axis's value) at the value columns. Every
// heading and row is set in the writer's point size.
class ReportWriter {
public:
    explicit ReportWriter(ReportPage& page, int pointSize = 10) : page_(page), size_(pointSize) {}
    void Title(std::string title, std::string dateText);  // bold, with the date at the right
    void Note(std::string text);                          // plain text at the section column
    void Blank();
    void Heading(std::string text);
    void Row(std::string name, std::string value, std::string second = {});

private:
    ReportPage& page_;
    int size_;
};

ReportResult BuildParaxialReport(const ParaxialDesign& design, const ReportUnits& units,
                                 const ReportInput& input);

}  // namespace rs::engine
