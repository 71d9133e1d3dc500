#pragma once
// The design study as the window shows it: which parameter runs over which range, which results
// are plotted against it, the curves themselves, what the cursor reads out, and the study's
// CSV table. Everything goes through the one sweep engine (app/sweep.h) that the command line's
// --sweep uses, so a study and the same sweep agree to the byte.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/design_state.h"
#include "app/sweep.h"
#include "drawing/plot_frame.h"
#include "drawing/study_plot.h"
#include "engine/report.h"

namespace rs::ui {

class MainWindow;

// Points of a curve on screen: about one per three pixels of a wide plot.
inline constexpr std::int64_t kStudyPoints = 400;

// The mode's study with every choice the user left open filled in.
struct Study {
    app::SweepParameter parameter;
    app::SweepPlan plan;  // the parameter's name and range (steps left at 1)
    std::string quantity;
    std::string quantity2;  // empty: none
};
// Nothing while no parameter is chosen that a sweep can vary.
std::optional<Study> ResolveStudy(const app::DesignState& design);

// Whether a range may be shown logarithmically: it spans more than two decades and does not
// reach or cross 0.
bool LogarithmicOffered(double from, double to);

// What the study's controls show.
struct StudyView {
    std::vector<std::string> parameters;  // as the result list names them
    int parameter = -1;
    std::vector<std::string> quantities;  // every result row with a number
    int quantity = -1;
    int quantity2 = -1;  // -1: none
    std::string fromText;
    std::string toText;
    std::string unit;  // of the range
    bool logOffered = false;
    bool logarithmic = false;
};
StudyView StudyViewOf(const app::DesignState& design);

// The curves of the mode's study with `points` values of the parameter. With a `reference` (as
// the design shows it) that can run the same parameter over the same range, its curves of the
// same results follow, marked as the reference's.
drawing::StudyPlotData ComputeStudy(const app::DesignState& design, std::int64_t points,
                                    const app::DesignState* reference = nullptr);

// What the cursor at pixel (px, py) reads out: x and y of the nearest curve point in display
// units, and the parameter's value a click there gives. Nothing away from the curves.
struct StudyHover {
    std::string readOut;
    double value = 0.0;
};
std::optional<StudyHover> StudyHoverAt(const drawing::PlotFrame& frame,
                                       const drawing::StudyPlotData& data, double px, double py);

// The mode's study as --sweep NAME=FROM:TO:STEPS --plot draws it: the plan's parameter over its
// range (linear), against the results named in `quantities` (one or two, as the result list
// names them), or without any against the mode's default. Set into the design, it draws the very
// curves the window's study with the same choices draws. Else the German message naming the
// name that is neither a parameter nor a plotted result.
std::variant<app::StudyChoice, std::string> StudyChoiceOfPlan(
    const app::DesignState& design, const app::SweepPlan& plan,
    const std::vector<std::string>& quantities);
// Makes `choice` the study of the design's mode.
void SetStudyChoice(app::DesignState& design, app::StudyChoice choice);

// The study's choices in words, for the printed page: "Studie: Bildweite: a' [mm] über
// Objektweite: a [mm] von -1000.0 bis -150.0". Empty while there is no study.
std::string StudyCaption(const app::DesignState& design);

// The printed page while the study is the extras tab shown: the study's choices in words below
// the report's rows, and the plot (returned, drawn with as many points as on screen) in place
// of the design's picture.
drawing::StudyPlotData AddStudyToReport(engine::ReportPage& page, const app::DesignState& design);

// The study's table with `steps` values, as `raysketcher-cli --sweep` writes it for the same
// design and NAME=FROM:TO:STEPS. Empty while there is no study.
std::string StudyCsv(const app::DesignState& design, std::int64_t steps);

// The study's controls (each changes the mode's stored study, not the design).
void ChooseStudyParameter(MainWindow& window, int entry);
void ChooseStudyQuantity(MainWindow& window, bool second, int entry);  // second: -1 for none
void ApplyStudyRange(MainWindow& window, bool upper, std::string_view text);
void SetStudyLogarithmic(MainWindow& window, bool on);

}  // namespace rs::ui
