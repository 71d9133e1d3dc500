#pragma once
// The design history of one run of the program. Every change that takes an undo backup is one
// step here, named after what it changed; the user walks back and forward through the steps, and
// picking an entry of the list restores its state as a new step. Each step holds one Snapshot,
// what the one-step backup holds, and nothing of it is written anywhere.
//
// Rows of the list: row 0 is the state before the oldest step kept, row k the state after step k.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "text/tr.h"
#include "ui/data_backup.h"

namespace rs::ui {

struct WindowState;

struct HistoryStep {
    std::string name;
    Snapshot state;  // the state the step led to
};

class History {
public:
    static constexpr std::size_t kMaxSteps = 200;

    // A new step from `before` to `after`, after the current row: the steps ahead of it are
    // dropped. The current row takes `before` as its state, so that going back returns to just
    // what the step started from, switches that take no step (the beam mode) included. Beyond
    // kMaxSteps the oldest step goes.
    void Record(std::string name, const Snapshot& before, Snapshot after);
    // True when the current row is the newest step, which a continuing run (one slider moved
    // again) may replace.
    bool AtNewestStep() const { return !steps_.empty() && current_ == Rows() - 1; }
    // The state the newest step started from.
    const Snapshot& BeforeNewest() const { return RowState(Rows() - 2); }
    // The newest step went on: its name and state are replaced (only when AtNewestStep).
    void ReplaceNewest(std::string name, Snapshot after);

    // One row back or forward: the state to put back, or nothing at either end.
    std::optional<Snapshot> Back();
    std::optional<Snapshot> Forward();
    // The state of row `row`, or nothing for a row that is not there.
    std::optional<Snapshot> StateOfRow(int row) const;

    int Rows() const { return static_cast<int>(steps_.size()) + 1; }
    int Current() const { return current_; }
    const std::deque<HistoryStep>& Steps() const { return steps_; }
    // Memory held by the history, its steps' heap storage included.
    std::size_t Bytes() const;

private:
    const Snapshot& RowState(int row) const;
    Snapshot& RowState(int row);

    Snapshot start_;
    std::deque<HistoryStep> steps_;
    int current_ = 0;
};

// Memory of one step: the snapshot with its parameter lists, and the name.
std::size_t StepBytes(const HistoryStep& step);

// The list's texts: row 0 names the start, row k step k.
inline constexpr const char* kHistoryStartText = text::TrNoop("Anfang");
std::vector<std::string> HistoryRowTexts(const History& history);

// Names of steps, in the window's display texts (labels with the current symbols, values in the
// current units). A change is named after what it changed: one value ("Brennweite: f' 50.0mm →
// 60.0mm"), the choice of parameters, a mode or option; `prefix` (a drag, a plot click) names
// the way and lists the symbols of the values it moved.
std::string StepName(const WindowState& state, const Snapshot& before, const Snapshot& after);
std::string MovedStepName(const WindowState& state, std::string_view prefix, const Snapshot& before,
                          const Snapshot& after);

// The keys that walk the history; the toolkit binds them and forwards to MainWindow::Walk.
enum class HistoryWalk { Back, Forward };
struct HistoryKey {
    const char* keys;  // portable key-sequence text
    HistoryWalk walk;
};
inline constexpr HistoryKey kHistoryKeys[] = {
    {"Ctrl+Z", HistoryWalk::Back},
    {"Ctrl+Shift+Z", HistoryWalk::Forward},
    {"Ctrl+Y", HistoryWalk::Forward},
};

}  // namespace rs::ui
