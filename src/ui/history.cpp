#include "ui/history.h"

#include <utility>

#include "engine/catalogue.h"
#include "text/tr.h"
#include "ui/view_model.h"

namespace rs::ui {

// --- The steps -------------------------------------------------------------------------------

const Snapshot& History::RowState(int row) const {
    return row <= 0 ? start_ : steps_[static_cast<std::size_t>(row - 1)].state;
}

Snapshot& History::RowState(int row) {
    return row <= 0 ? start_ : steps_[static_cast<std::size_t>(row - 1)].state;
}

void History::Record(std::string name, const Snapshot& before, Snapshot after) {
    steps_.resize(static_cast<std::size_t>(current_));
    RowState(current_) = before;
    steps_.push_back({std::move(name), std::move(after)});
    if (steps_.size() > kMaxSteps) {
        start_ = std::move(steps_.front().state);
        steps_.pop_front();
    }
    current_ = Rows() - 1;
}

void History::ReplaceNewest(std::string name, Snapshot after) {
    if (!AtNewestStep()) return;
    steps_.back() = {std::move(name), std::move(after)};
}

std::optional<Snapshot> History::Back() {
    if (current_ == 0) return std::nullopt;
    return RowState(--current_);
}

std::optional<Snapshot> History::Forward() {
    if (current_ + 1 >= Rows()) return std::nullopt;
    return RowState(++current_);
}

std::optional<Snapshot> History::StateOfRow(int row) const {
    if (row < 0 || row >= Rows() || steps_.empty()) return std::nullopt;
    return RowState(row);
}

namespace {

std::size_t SelectionHeap(const engine::Selection& sel) {
    return sel.Entries().capacity() * sizeof(engine::CVarType);
}

std::size_t SnapshotHeap(const Snapshot& s) {
    return SelectionHeap(s.params) + SelectionHeap(s.aperture) + SelectionHeap(s.beam);
}

}  // namespace

std::size_t StepBytes(const HistoryStep& step) {
    // A short name lives inside the string object itself.
    const std::size_t nameHeap =
        step.name.capacity() > std::string().capacity() ? step.name.capacity() + 1 : 0;
    return sizeof(HistoryStep) + SnapshotHeap(step.state) + nameHeap;
}

std::size_t History::Bytes() const {
    std::size_t bytes = sizeof(History) + SnapshotHeap(start_);
    for (const HistoryStep& step : steps_) bytes += StepBytes(step);
    return bytes;
}

std::vector<std::string> HistoryRowTexts(const History& history) {
    std::vector<std::string> rows{text::Tr(kHistoryStartText)};
    for (const HistoryStep& step : history.Steps()) rows.push_back(step.name);
    return rows;
}

// --- Names -----------------------------------------------------------------------------------

namespace {

using engine::CVarType;
using engine::Selection;

struct NamedSet {
    ValueSet set;
    Selection Snapshot::*list;
};
constexpr NamedSet kSets[] = {{ValueSet::General, &Snapshot::params},
                              {ValueSet::Aperture, &Snapshot::aperture},
                              {ValueSet::Beam, &Snapshot::beam}};

// The short name of a quantity: its symbol, or the aperture figure's label (it has no symbol).
std::string Symbol(const WindowState& s, ValueSet set, int index) {
    switch (set) {
        case ValueSet::General:
            return s.design.paraxial.symbols.Param(index);
        case ValueSet::Beam:
            return s.design.beam.symbols.Param(index);
        case ValueSet::Aperture:
            break;
    }
    return text::Tr(engine::ApertureLabel(index));
}

const CVarType* EntryOf(const Selection& sel, int index) {
    const auto pos = sel.Find(index);
    return pos ? &sel.At(*pos) : nullptr;
}

std::string Shown(const WindowState& s, ValueSet set, int index, bool defined, float value) {
    return defined ? ValueText(s, set, index, value) : std::string("–");
}

std::string Switched(std::string_view what, bool on) {
    return on ? text::TrFormat("%1: an", {what}) : text::TrFormat("%1: aus", {what});
}

// "Auswahl: +f', −a" when the chosen parameters differ.
std::optional<std::string> ChoiceName(const WindowState& s, const Snapshot& a, const Snapshot& b) {
    std::string changes;
    auto note = [&](char sign, ValueSet set, int index) {
        if (!changes.empty()) changes += ", ";
        changes += sign == '+' ? "+" : "−";
        changes += Symbol(s, set, index);
    };
    for (const NamedSet& n : kSets) {
        for (const CVarType& e : (b.*n.list).Entries())
            if (!(a.*n.list).Contains(e.nVarType)) note('+', n.set, e.nVarType);
        for (const CVarType& e : (a.*n.list).Entries())
            if (!(b.*n.list).Contains(e.nVarType)) note('-', n.set, e.nVarType);
    }
    if (changes.empty()) return std::nullopt;
    return text::TrFormat("Auswahl: %1", {changes});
}

// The first value that changed ("Brennweite: f' 50.0mm → 60.0mm"); without one, the first limit.
std::optional<std::string> ValueName(const WindowState& s, const Snapshot& a, const Snapshot& b) {
    std::optional<std::string> limit;
    for (const NamedSet& n : kSets) {
        for (const CVarType& e : (b.*n.list).Entries()) {
            const CVarType* old = EntryOf(a.*n.list, e.nVarType);
            if (!old) continue;
            const std::string label = ValueLabel(s, n.set, e.nVarType) + " ";
            auto change = [&](bool wasDef, float was, bool isDef, float is) {
                return Shown(s, n.set, e.nVarType, wasDef, was) + " → " +
                       Shown(s, n.set, e.nVarType, isDef, is);
            };
            if (old->bVarValDef != e.bVarValDef || old->sVarValue != e.sVarValue) {
                return label + change(old->bVarValDef, old->sVarValue, e.bVarValDef, e.sVarValue);
            }
            if (limit) continue;
            if (old->bLimHihDef != e.bLimHihDef || old->sLimHih != e.sLimHih) {
                limit = label + text::Tr("oberer Grenzwert ") +
                        change(old->bLimHihDef, old->sLimHih, e.bLimHihDef, e.sLimHih);
            } else if (old->bLimLowDef != e.bLimLowDef || old->sLimLow != e.sLimLow) {
                limit = label + text::Tr("unterer Grenzwert ") +
                        change(old->bLimLowDef, old->sLimLow, e.bLimLowDef, e.sLimLow);
            }
        }
    }
    return limit;
}

}  // namespace

std::string StepName(const WindowState& s, const Snapshot& a, const Snapshot& b) {
    if (a.mirrorMode != b.mirrorMode)
        return b.mirrorMode ? text::Tr("Spiegelsystem") : text::Tr("Linsensystem");
    if (a.beamMode != b.beamMode) return Switched(text::Tr("Gaußstrahl"), b.beamMode);
    if (a.objAtInfinity != b.objAtInfinity) {
        return Switched(text::Tr("Objektweite unendlich"), b.objAtInfinity);
    }
    if (auto name = ChoiceName(s, a, b)) return *name;
    if (a.imgHgtFixed != b.imgHgtFixed || a.imgHgtOption != b.imgHgtOption)
        return text::Tr("Bildformat");
    if (auto name = ValueName(s, a, b)) return *name;
    if (a.positiveObj != b.positiveObj) {
        return Switched(text::Tr("Positive (virtuelle) Objektweite"), b.positiveObj);
    }
    if (a.drawHaltingRay != b.drawHaltingRay) {
        return Switched(text::Tr("Konstruktionsstrahlen"), b.drawHaltingRay);
    }
    if (a.advanced != b.advanced) return text::Tr("Erweiterte Optionen");
    if (a.cocCustom != b.cocCustom) return text::Tr("Unschärfekreis");
    if (a.beamWavelengthNm != b.beamWavelengthNm) return text::Tr("Wellenlänge");
    if (!(a.diode == b.diode)) return text::Tr("Diodenlaser");
    if (!(a.beamExtras == b.beamExtras)) return text::Tr("Strahloptionen");
    return text::Tr("Änderung");
}

std::string MovedStepName(const WindowState& s, std::string_view prefix, const Snapshot& a,
                          const Snapshot& b) {
    std::string moved;
    for (const NamedSet& n : kSets) {
        for (const CVarType& e : (b.*n.list).Entries()) {
            const CVarType* old = EntryOf(a.*n.list, e.nVarType);
            if (old && old->bVarValDef == e.bVarValDef && old->sVarValue == e.sVarValue) continue;
            moved += (moved.empty() ? ": " : ", ") + Symbol(s, n.set, e.nVarType);
        }
    }
    return std::string(prefix) + moved;
}

}  // namespace rs::ui
