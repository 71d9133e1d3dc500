#include "engine/selection.h"

#include <algorithm>

#include "engine/require.h"
#include "text/tr.h"

namespace rs::engine {
using text::Tr;

SelectionStatus Selection::Add(int index, const std::optional<CVarType>& prefill, bool* added) {
    if (added) *added = false;
    if (Full()) return {};
    if (Contains(index)) return BadAdd(Count(), index);
    CVarType entry = prefill.value_or(CVarType{});
    entry.nVarType = static_cast<std::int16_t>(index);
    Insert(entry);
    if (added) *added = true;
    return {};
}

SelectionStatus Selection::Replace(int oldIndex, int newIndex, float value, bool withLimits,
                                   float limLow, float limHih) {
    auto pos = Find(oldIndex);
    if (!pos) return {"BadDel"};
    if (newIndex != oldIndex && Contains(newIndex)) return BadAdd(Count(), newIndex);
    entries_.erase(entries_.begin() + (*pos - 1));
    CVarType entry;
    entry.nVarType = static_cast<std::int16_t>(newIndex);
    entry.sVarValue = value;
    entry.bVarValDef = true;
    if (withLimits) {
        entry.sLimLow = limLow;
        entry.sLimHih = limHih;
        entry.bLimLowDef = entry.bLimHihDef = true;
    }
    Insert(entry);
    return {};
}

SelectionStatus Selection::Remove(int index) {
    auto pos = Find(index);
    if (!pos) return {"BadDel"};
    entries_.erase(entries_.begin() + (*pos - 1));
    return {};
}

std::optional<int> Selection::Find(int index) const {
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        if (entries_[k].nVarType == index) return static_cast<int>(k) + 1;
    }
    return std::nullopt;
}

std::size_t Selection::Slot(int position) const {
    RS_REQUIRE(position >= 1 && position <= Count(), "selection position out of range");
    return static_cast<std::size_t>(position - 1);
}

SelectionStatus Selection::SetValue(int position, float value) {
    if (position < 1 || position > Count()) return {"BadValue as no type defined"};
    Entry(position).sVarValue = value;
    return {};
}

bool Selection::AllValuesDefined() const {
    return std::all_of(entries_.begin(), entries_.end(),
                       [](const CVarType& e) { return e.bVarValDef; });
}

void Selection::Insert(const CVarType& entry) {
    auto at = std::find_if(entries_.begin(), entries_.end(),
                           [&](const CVarType& e) { return e.nVarType > entry.nVarType; });
    entries_.insert(at, entry);
}

std::optional<std::string> CombinationMessage(const Selection& params) {
    const std::string angles =
        Tr("Objekt- und Bildwinkel können nicht unabhängig voneinander definiert werden! ");
    const int c = params.Count();
    if (c < 2) return std::nullopt;
    const int i1 = params.Index(1), i2 = params.Index(2);
    if (c == 2) {
        if (i1 == 6 && i2 == 8) return angles;
        return std::nullopt;
    }
    const int i3 = params.Index(3);
    if (i3 < 5) return Tr("Sie müssen mindestens eine Feld-Option wählen! ");
    if (i1 >= 5) return Tr("Sie müssen ein oder zwei Abstände wählen! ");
    if (i1 == 3 && ((i2 == 5 && i3 == 7) || (i2 == 6 && i3 == 8))) {
        return Tr(
            "Unmögliche Kombination; ergibt nahezu immer einen nicht konsistenten Wert für "
            "die Vergrößerung! ");
    }
    // The object distance is fixed by object height and object angle, and also by object height
    // with the image angle (which fixes the object angle); likewise for the image side.
    if (i1 == 1 && i2 == 5 && (i3 == 6 || i3 == 8)) {
        return Tr(
            "Unmögliche Kombination; ergibt nahezu immer einen nicht konsistenten Wert für "
            "die Objektweite! ");
    }
    if (i1 == 2 && ((i2 == 7 && i3 == 8) || (i2 == 6 && i3 == 7))) {
        return Tr(
            "Unmögliche Kombination; ergibt nahezu immer einen nicht konsistenten Wert für "
            "die Bildweite! ");
    }
    if ((i1 == 6 || i2 == 6) && i3 == 8) return angles;
    return std::nullopt;
}

std::optional<std::string> CheckCombination(Selection& params, int justAdded) {
    auto message = CombinationMessage(params);
    if (message) params.Remove(justAdded);
    return message;
}

}  // namespace rs::engine
