#pragma once
// The "Linsen" page of the beam options: the stock lenses that suit the solved beam (one per
// line, or a cylinder per axis for a circularised diode) and the description of the lens chosen
// in the grid. The catalogue is read once when the program starts; the grid is filled anew only
// while it can be seen and only when what the design asks of a lens has changed, so dragging
// with the page hidden costs nothing.
#include <QTableWidget>
#include <filesystem>
#include <optional>

#include "analysis/catalogue_lenses.h"
#include "analysis/lens_choice.h"
#include "app/presentation.h"
#include "gui/control_registry.h"

class QLabel;

namespace rs::ui {
class MainWindow;
}

namespace rs::gui {

struct PanelContext;

// The stock lenses as read at start-up, and where they were looked for.
struct LensCatalogueSource {
    analysis::LensCatalogue lenses;
    analysis::CatalogueLocation location;
};

// The catalogue in `explicitDir` (the user's --catalogue) or in the usual folders beside the
// program; empty when no folder holds one.
LensCatalogueSource ReadLensCatalogue(const std::optional<std::filesystem::path>& explicitDir,
                                      const std::filesystem::path& programDir);

// ssGBExtraLenses and ssExtraLenses: read-only, whole lines selected, the header from the grid's
// texts.
class LensGridTable final : public QTableWidget {
    Q_OBJECT
public:
    LensGridTable(const ui::MainWindow& logic, QLabel* description);

    void SetCatalogue(LensCatalogueSource source);
    // Fills the grid from the current design when it can be seen and the design asks for other
    // lenses than those it shows.
    void Refresh();

    const analysis::LensGrid& Grid() const { return grid_; }
    // The lens of the chosen line that "Übernehmen" takes; nothing without one.
    const analysis::CatalogueLens* ChosenLens() const;
    // The catalogue handed over at start-up with where it was looked for; nothing before that.
    const std::optional<LensCatalogueSource>& Source() const { return source_; }
    // What the empty grid says when no catalogue was found (where it was looked for) or files of
    // it were not read (which, and why); empty otherwise.
    QString Note() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Fill(const analysis::LensGrid& grid, bool cylinders);
    void Describe();

    const ui::MainWindow& logic_;
    QLabel* description_;
    std::optional<LensCatalogueSource> source_;
    analysis::LensGrid grid_;
    // What the rows were chosen for; nothing before the first fill.
    std::optional<std::optional<app::CatalogueNeed>> shownFor_;
};

// The view lists the grid so that every change of the design reaches it.
void WriteView(LensGridTable& grid, const ui::ControlView& view, Written& written);

// The names of one page's controls: the beam mode's and the paraxial mode's page each have
// their own grid. Without `stop` the page has no stop-radius button.
struct LensPageNames {
    const char* grid;
    const char* description;
    const char* take;
    const char* turned;
    const char* stop = nullptr;
};
inline constexpr LensPageNames kBeamLensPage{"ssGBExtraLenses", "lblGBExtraLensDescr",
                                             "cmdGBExtraLensTake", "chkGBExtraLensTurned"};
inline constexpr LensPageNames kParaxialLensPage{"ssExtraLenses", "lblExtraLensDescr",
                                                 "cmdExtraLensTake", "chkExtraLensTurned",
                                                 "cmdExtraLensStop"};

// The page: the grid above its description label, then "Übernehmen" (as a double click on a
// line does) with its "gewendet" switch, and the stop-radius button where there is one.
QWidget* BuildLensesPage(const PanelContext& ctx, const LensPageNames& names);

}  // namespace rs::gui
