#pragma once
// The lists of chosen parameters: at most three general parameters, at most one aperture
// parameter, each kept sorted by catalogue index and addressed by position 1..count.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/var_type.h"

namespace rs::engine {

// Outcome of a selection operation that can only fail through a fault in the calling code.
// `diagnostic` names the fault ("Bad Add:...", "BadDel", ...) and is empty on success.
struct SelectionStatus {
    std::string diagnostic;
    bool ok() const { return diagnostic.empty(); }
};

// The fault of adding `index` to a list of `count` entries that cannot take it.
inline SelectionStatus BadAdd(int count, int index) {
    return {"Bad Add:" + std::to_string(count) + "\t" + std::to_string(index)};
}

class Selection {
public:
    explicit Selection(int capacity) : capacity_(capacity) {}

    int Capacity() const { return capacity_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    bool Full() const { return Count() >= capacity_; }

    // Adds a new entry for `index`, starting from `prefill` when given (the value and limits
    // carried over from the last solution). A full list silently stays as it is (added = false).
    // A repeated index is a caller fault and reported as "Bad Add:<count>\t<index>".
    SelectionStatus Add(int index, const std::optional<CVarType>& prefill = std::nullopt,
                        bool* added = nullptr);
    // Adds `index` with an entered value (no limits); the same outcomes as Add.
    SelectionStatus AddValue(int index, float value, bool* added = nullptr) {
        CVarType entry;
        entry.sVarValue = value;
        entry.bVarValDef = true;
        return Add(index, entry, added);
    }
    // Exchanges `oldIndex` for `newIndex` with the given value (and limits when withLimits).
    SelectionStatus Replace(int oldIndex, int newIndex, float value, bool withLimits = false,
                            float limLow = 0.0f, float limHih = 0.0f);
    SelectionStatus Remove(int index);
    void Clear() { entries_.clear(); }

    // Position (1..count) of an index, or nothing when it is not chosen.
    std::optional<int> Find(int index) const;
    bool Contains(int index) const { return Find(index).has_value(); }

    // Access by position 1..count; a position outside the list is a programming error.
    const CVarType& At(int position) const { return entries_[Slot(position)]; }
    CVarType& Entry(int position) { return entries_[Slot(position)]; }
    int Index(int position) const { return At(position).nVarType; }
    float Value(int position) const { return At(position).sVarValue; }
    bool ValueDefined(int position) const { return At(position).bVarValDef; }

    // Sets the value at `position`; a position outside the list is reported, not fatal.
    SelectionStatus SetValue(int position, float value);

    const std::vector<CVarType>& Entries() const { return entries_; }
    bool AllValuesDefined() const;

    friend bool operator==(const Selection&, const Selection&) = default;

private:
    std::size_t Slot(int position) const;
    void Insert(const CVarType& entry);

    int capacity_;
    std::vector<CVarType> entries_;
};

// Checks the general selection after `justAdded` was added. Returns the rejection message (and
// removes `justAdded` again) when the combination is not allowed; nothing when it is.
std::optional<std::string> CheckCombination(Selection& params, int justAdded);

// The rejection message for the current general selection, without changing it.
std::optional<std::string> CombinationMessage(const Selection& params);

}  // namespace rs::engine
