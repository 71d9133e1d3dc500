#pragma once
// Reading what the user typed into a value box. The box shows "120.0mm"; typing that text back
// must give 120 mm, and typing "12cm" into the same box must give 120 mm too. A number may use
// a point or a comma, carry blanks around it, and end in a unit suffix: the box's own suffix, or
// the suffix of another unit of the same kind (a length for a length, an angle for an angle).
// Anything else is not a number, and neither is a value too large to keep: no box ever takes
// a value whose limits (a margin around it) would leave single precision.
#include <optional>
#include <string>
#include <string_view>

#include "engine/var_type.h"
#include "units/units.h"

namespace rs::units {

// Largest magnitude a typed value may have, in internal units.
inline constexpr double kMaxTypedMagnitude = 1e30;

struct TypedNumber {
    double number = 0.0;  // as typed, in the unit the suffix names
    std::string suffix;   // trimmed; empty when none
};

// Splits "12,5 cm" into 12.5 and "cm". Nothing when the text does not consist of a number
// (the strict reader of src/text) and an optional suffix without digits.
std::optional<TypedNumber> SplitTypedNumber(std::string_view text);

// The internal value typed into a box that shows quantity `slot` of `group`: the number times
// the factor of the unit it was typed in. Nothing for text that is no number, a suffix that
// names no unit of the quantity's kind, or a value beyond kMaxTypedMagnitude.
std::optional<double> ParseQuantity(std::string_view text, const UnitState& units, Group group,
                                    int slot);

// A box with a fixed unit text (for example "nm", or none): the number when the text carries
// no suffix or exactly `suffix`.
std::optional<double> ParsePlainNumber(std::string_view text, std::string_view suffix);

}  // namespace rs::units
