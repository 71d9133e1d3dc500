#pragma once
// Design studies: one chosen parameter stepped from one value to another, the design solved at
// every step through the same road as the result list, and the result list's numbers handed on
// row by row, so that a table of any length needs the memory of one row. The command line's
// --sweep writes them as CSV; a plot of a result against the parameter reads the same rows.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "app/design_state.h"

namespace rs::app {

// The most steps one sweep takes.
inline constexpr std::int64_t kMaxSweepSteps = 1'000'000;

// "NAME=FROM:TO:STEPS": the parameter's symbol as the result list shows it (or its catalogue
// index), the first and last value in the design's display units, and the number of values.
struct SweepPlan {
    std::string name;
    double from = 0;
    double to = 0;
    std::int64_t steps = 1;
    // Spaced evenly in the logarithm instead (FROM and TO of one sign, neither 0).
    bool logarithmic = false;
};

// The parsed sweep, or the German message naming what is wrong with `text`.
std::variant<SweepPlan, std::string> ParseSweep(std::string_view text);

// The `step`-th of the plan's values (0-based): evenly spaced from FROM to TO, both included;
// a single step is FROM.
double SweepValue(const SweepPlan& plan, std::int64_t step);

// What a sweep varies besides the chosen parameters: the wavelength (in nm, as its box shows
// it) and, in the beam mode, the detector's distance behind the element.
enum class SweepTarget { Chosen, Aperture, Wavelength, Detector };

// A parameter a sweep can vary: a chosen general or aperture parameter of the paraxial mode, or
// a chosen beam parameter of the first axis; then the wavelength where the results depend on
// it (the beam mode, or the paraxial one with its advanced options on) and the detector's
// distance while the detector is shown.
struct SweepParameter {
    std::string name;   // as a plan names it: the symbol, an aperture parameter's first word,
                        // "Wellenlänge" or "Detektor"
    std::string label;  // as the result list names it
    std::string unit;
    int index = 0;  // in its catalogue (the chosen and aperture parameters)
    bool aperture = false;
    SweepTarget target = SweepTarget::Chosen;
    double factor = 1.0;  // internal value per display unit
    double value = 0.0;   // the design's value, in display units
    bool limits = false;  // both slider limits set
    double low = 0.0;     // the slider's limits, in display units
    double high = 0.0;
};
std::vector<SweepParameter> SweepParameters(const DesignState& design);

// The parameter `name` (as a plan names it, or a chosen one's catalogue index) among
// SweepParameters; else the German message listing those.
std::variant<SweepParameter, std::string> FindSweptParameter(const DesignState& design,
                                                             const std::string& name);

// One number of a row in display units: not finite where the result list shows no number.
struct SweepNumber {
    double value;
    bool single;  // from a single-precision table: written with single precision
};

// One step's row: the swept value first, then one number per further header cell.
struct SweepRow {
    std::int64_t step;
    bool solved;
    const std::vector<SweepNumber>& numbers;
};
// Takes a row; false stops the sweep (the output cannot take more).
using SweepSink = std::function<bool(const SweepRow&)>;

struct SweepOutcome {
    std::int64_t unsolved = 0;  // steps without a solution
    bool stopped = false;       // the sink stopped the sweep
};

// One loaded design swept over a parameter. The columns are fixed by the design's structure
// (mode, mirror, media, diode), so a step whose solve fails keeps them and leaves its numbers
// not finite.
class DesignSweep {
public:
    // Nothing but the German message when the plan's name is none of SweepParameters. The
    // message quotes names from the design file as they are.
    static std::variant<DesignSweep, std::string> Prepare(const DesignState& loaded,
                                                          const SweepPlan& plan);

    // The header cells: the swept parameter first, then every numeric row of the result list,
    // each as "name [unit]".
    const std::vector<std::string>& Header() const { return header_; }
    // The same cells as name, unit and axis (1: the second diode axis' column of `name`).
    struct ColumnName {
        std::string name;
        std::string unit;
        int axis = 0;
    };
    const std::vector<ColumnName>& Names() const { return names_; }
    std::int64_t Steps() const { return plan_.steps; }

    // Every step in order, each row handed to `sink` as soon as it is solved.
    SweepOutcome Run(const SweepSink& sink);

    using Source = std::function<SweepNumber(const DesignState&, int axis)>;

private:
    struct Column {
        std::size_t row;  // the result-list row whose text decides whether there is a number
        int axis;         // 0, or 1 for the second diode axis (the bracketed part of the text)
        Source source;
    };

    DesignSweep(DesignState state, SweepPlan plan)
        : state_(std::move(state)), plan_(std::move(plan)) {}
    void AddHeader(std::string_view name, std::string_view unit, int axis);
    // The numeric rows of the result list after the swept one, in list order.
    void AddColumns(std::string_view sweptName);
    bool SetSweptValue(double displayValue);
    SweepNumber SweptValue() const;
    // Solves the design at `step` and fills `numbers`. True when the design was solved.
    bool Step(std::int64_t step, std::vector<SweepNumber>& numbers);
    // What decides, after a solve, which rows show a number; and those rows for it.
    std::uint32_t Situation() const;
    const std::vector<bool>& ShownNumbers();

    DesignState state_;
    SweepPlan plan_;
    bool beam_ = false;
    int index_ = 0;          // catalogue index of the swept parameter
    bool aperture_ = false;  // the aperture parameter of the paraxial mode
    SweepTarget target_ = SweepTarget::Chosen;
    double factor_ = 1.0;  // internal value per display unit
    std::vector<std::string> header_;
    std::vector<ColumnName> names_;
    std::vector<Column> columns_;
    std::vector<std::pair<std::uint32_t, std::vector<bool>>> shownCache_;
};

}  // namespace rs::app
