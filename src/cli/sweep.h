#pragma once
// Design studies on the command line: one chosen parameter stepped from one value to another,
// the design solved at every step through the same road as the result list, and the result
// list's numbers written as CSV, one row per step.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "app/design_state.h"

namespace rs::cli {

// The most steps one sweep takes. The rows of a --csv file are held until the file is written
// in one piece, so this also bounds the memory a sweep needs (a few hundred bytes a row).
inline constexpr std::int64_t kMaxSweepSteps = 1'000'000;

// "NAME=FROM:TO:STEPS": the parameter's symbol as the result list shows it (or its catalogue
// index), the first and last value in the design's display units, and the number of values.
struct SweepPlan {
    std::string name;
    double from = 0;
    double to = 0;
    std::int64_t steps = 1;
};

// The parsed sweep, or the German message naming what is wrong with `text`.
std::variant<SweepPlan, std::string> ParseSweep(std::string_view text);

// The `step`-th of the plan's values (0-based): evenly spaced from FROM to TO, both included;
// a single step is FROM.
double SweepValue(const SweepPlan& plan, std::int64_t step);

// One loaded design swept over a parameter. The columns are fixed by the design's structure
// (mode, mirror, media, diode), so a step whose solve fails keeps them and leaves its cells
// empty.
class DesignSweep {
public:
    // Nothing but the German message when the plan's name is no chosen parameter of the design
    // (the general and the aperture parameters, or the beam parameters of the first axis).
    static std::variant<DesignSweep, std::string> Prepare(const app::DesignState& loaded,
                                                          const SweepPlan& plan);

    // The header cells: the swept parameter first, then every numeric row of the result list,
    // each as "name [unit]".
    const std::vector<std::string>& Header() const { return header_; }

    // Solves the design at step `step` and hands the row's cells (empty where the result list
    // shows no number) to `row`. True when the design was solved.
    bool Step(std::int64_t step, std::vector<std::string>& cells);

    std::int64_t Steps() const { return plan_.steps; }

    // Per column: where its number comes from, in display units; not a number for none.
    struct Number {
        double value;
        bool single;  // from a single-precision table: written with single precision
    };
    using Source = std::function<Number(const app::DesignState&, int axis)>;

private:
    struct Column {
        std::size_t row;  // the result-list row whose text decides whether there is a number
        int axis;         // 0, or 1 for the second diode axis (the bracketed part of the text)
        Source source;
    };

    DesignSweep(app::DesignState state, SweepPlan plan)
        : state_(std::move(state)), plan_(std::move(plan)) {}
    // The numeric rows of the result list after the swept one, in list order.
    void AddColumns(std::string_view sweptName);
    bool SetSweptValue(double displayValue);
    // What decides, after a solve, which rows show a number; and those rows for it.
    std::uint32_t Situation() const;
    const std::vector<bool>& ShownNumbers();

    app::DesignState state_;
    SweepPlan plan_;
    bool beam_ = false;
    int index_ = 0;          // catalogue index of the swept parameter
    bool aperture_ = false;  // the aperture parameter of the paraxial mode
    double factor_ = 1.0;    // internal value per display unit
    std::vector<std::string> header_;
    std::vector<Column> columns_;
    std::vector<std::pair<std::uint32_t, std::vector<bool>>> shownCache_;
};

// A sweep's table over one or more designs: the header once, with a leading "Datei" column
// naming the file when there are several; columns missing from a file's design stay empty.
// The columns are the union of all designs' columns in first-seen order.
struct SweepInput {
    std::string label;  // the file as the user named it
    DesignSweep* sweep;
};
// Writes the CSV text in pieces to `sink` (header first, then row after row). The number of
// steps that could not be solved.
std::int64_t WriteSweepCsv(const std::vector<SweepInput>& inputs,
                           const std::function<void(std::string_view)>& sink);

}  // namespace rs::cli
