#include "ui/reference.h"

#include "app/presentation.h"
#include "engine/numbers.h"
#include "text/tr.h"
#include "units/typed_number.h"

namespace rs::ui {

app::DesignState ReferenceAsShown(const app::DesignState& current,
                                  const app::DesignState& reference) {
    app::DesignState shown = reference;
    // The reference is read in the current units and names, so that equal rows look equal.
    shown.units = current.units;
    shown.window.unitType = current.window.unitType;
    shown.paraxial.symbols = current.paraxial.symbols;
    shown.beam.symbols = current.beam.symbols;
    app::SolveDesign(shown, false);
    return shown;
}

engine::ResultList ReferenceRows(const app::DesignState& shown) {
    engine::ResultListCache cache;
    beam::BeamListCache beamCache;
    return app::ResultRows(shown, false, cache, beamCache);
}

bool SameMode(const app::DesignState& a, const app::DesignState& b) {
    return a.beam.beamMode == b.beam.beamMode;
}

std::vector<ComparedRow> CompareRows(const engine::ResultList& current,
                                     const engine::ResultList& reference) {
    std::vector<bool> taken(reference.rows.size(), false);
    std::vector<ComparedRow> out;
    out.reserve(current.rows.size());
    for (const engine::ResultRow& row : current.rows) {
        ComparedRow c;
        c.name = row.name;
        c.id = row.id;
        c.value = row.value;
        for (std::size_t k = 0; k < reference.rows.size(); ++k) {
            if (taken[k] || reference.rows[k].name != row.name) continue;
            taken[k] = true;
            c.reference = reference.rows[k].value;
            break;
        }
        if (!c.reference) {
            // A row only the current design lists (a held lens, a nodal point) has nothing to
            // compare with; it differs only when it shows something.
            c.differs = !row.value.empty();
            out.push_back(std::move(c));
            continue;
        }
        const auto a = units::SplitTypedNumber(row.value);
        const auto b = units::SplitTypedNumber(*c.reference);
        if (a && b && a->suffix == b->suffix) {
            c.number = a->number;
            c.referenceNumber = b->number;
            c.difference = b->number - a->number;
            c.unit = a->suffix;
            c.differs = !engine::SameValue(a->number, b->number);
        } else {
            c.differs = row.value != *c.reference;
        }
        out.push_back(std::move(c));
    }
    return out;
}

std::string OtherModeNote(const app::DesignState& reference) {
    return reference.beam.beamMode
               ? text::Tr(
                     "Die Referenz ist ein Gaußstrahl-System; ihre Werte zeigt der "
                     "Gaußstrahl-Modus.")
               : text::Tr(
                     "Die Referenz ist ein paraxiales System; ihre Werte zeigt der "
                     "paraxiale Modus.");
}

}  // namespace rs::ui
