#pragma once
// The logic of the units dialog: it edits a copy of the user's unit choices and hands the copy
// back only on OK with a change. The toolkit dialog shows one drop-down list per quantity.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "units/units.h"

namespace rs::ui {

struct UnitListInfo {
    std::string_view name;  // object name of the drop-down list
    units::Group group;
    int slot;
    bool beamTab;  // on the tab "Gaußsche Strahleinheiten"
};

// Every list of the dialog, paraxial tab first.
std::span<const UnitListInfo> UnitLists();

struct UnitEntry {
    int code;
    std::string text;  // the unit's display name
};

class UnitsDialogModel {
public:
    explicit UnitsDialogModel(const units::UnitState& current);

    // Entries of list `list` (an index into UnitLists()), in the order of its category.
    std::vector<UnitEntry> Entries(int list) const;
    // Position of the selected entry in Entries(list).
    int SelectedEntry(int list) const;
    // The user picked `code` in list `list`; a code the list does not offer changes nothing.
    void Choose(int list, int code);
    // "&Standard [paraxiale]" and "&Standard [Gaußsche]": every list of that tab to its default.
    void DefaultsParaxial();
    void DefaultsBeam();

    bool Changed() const { return changed_; }
    const units::UnitState& Working() const { return working_; }

private:
    void Defaults(bool beamTab);

    units::UnitState working_;
    bool changed_ = false;
};

}  // namespace rs::ui
