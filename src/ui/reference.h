#pragma once
// The reference design: a whole design the user pinned to compare the current one with. It is
// solved by the same engine and listed in the current units and symbols, so its rows line up
// with the current ones by name; each pair of rows is compared on the values as they are shown.
#include <optional>
#include <string>
#include <vector>

#include "app/design_state.h"
#include "engine/report.h"

namespace rs::ui {

// The reference as `current` would show it: solved, in the current units and symbols.
app::DesignState ReferenceAsShown(const app::DesignState& current,
                                  const app::DesignState& reference);
// The result list of a reference as shown.
engine::ResultList ReferenceRows(const app::DesignState& shown);

// Both are paraxial or both are beam designs; only then do their rows mean the same things.
bool SameMode(const app::DesignState& a, const app::DesignState& b);

// One row of the current list beside the reference's row of the same name.
struct ComparedRow {
    std::string name;
    std::string id;                        // the row's fixed catalogue name, as in --json
    std::string value;                     // the current design's text
    std::optional<std::string> reference;  // nothing when the reference lists no such row
    bool differs = false;                  // the shown values are not the same
    // Where both texts are numbers in one unit: the numbers, and the reference's minus the
    // current one, in that unit (`unit`, the shown suffix).
    std::optional<double> number;
    std::optional<double> referenceNumber;
    std::optional<double> difference;
    std::string unit;
};

// The current rows in order, each with the first reference row of its name not yet taken.
// Numbers are compared with the program's equality; other texts (and numbers shown in different
// units) by their text.
std::vector<ComparedRow> CompareRows(const engine::ResultList& current,
                                     const engine::ResultList& reference);

// What the reference column shows when the modes differ (its tool tip).
std::string OtherModeNote(const app::DesignState& reference);

}  // namespace rs::ui
