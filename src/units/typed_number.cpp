#include "units/typed_number.h"

#include <cmath>

#include "text/number_text.h"
#include "text/strings.h"

namespace rs::units {
namespace {

bool HasDigit(std::string_view s) {
    for (const char c : s) {
        if (c >= '0' && c <= '9') return true;
    }
    return false;
}

std::optional<double> Bounded(double v) {
    if (!std::isfinite(v) || std::fabs(v) > kMaxTypedMagnitude) return std::nullopt;
    return v;
}

}  // namespace

std::optional<TypedNumber> SplitTypedNumber(std::string_view textIn) {
    const std::string_view t = text::TrimBlanks(textIn);
    if (const auto whole = text::ParseTypedNumber(t)) return TypedNumber{*whole, {}};
    // The longest leading number wins, so "1e5m" is 1e5 metres and not 1 of a unit "e5m".
    for (std::size_t cut = t.size(); cut-- > 1;) {
        const std::string_view suffix = text::TrimBlanks(t.substr(cut));
        if (suffix.empty() || HasDigit(suffix)) continue;
        if (const auto number = text::ParseTypedNumber(t.substr(0, cut))) {
            return TypedNumber{*number, std::string(suffix)};
        }
    }
    return std::nullopt;
}

std::optional<double> ParseQuantity(std::string_view text, const UnitState& units, Group group,
                                    int slot) {
    const auto typed = SplitTypedNumber(text);
    if (!typed) return std::nullopt;
    const int shown = units.UnitCode(group, slot);
    double factor = units.UnitFactor(group, slot);
    if (!typed->suffix.empty() && typed->suffix != units.UnitSuffix(group, slot)) {
        const auto code = units::CodeForSuffix(typed->suffix);
        if (!code || !units::SameCategoryFamily(*code, shown)) return std::nullopt;
        factor = units::FactorForGroup(group, *code);
    }
    return Bounded(typed->number * factor);
}

std::optional<double> ParsePlainNumber(std::string_view text, std::string_view suffix) {
    const auto typed = SplitTypedNumber(text);
    if (!typed || (!typed->suffix.empty() && typed->suffix != suffix)) return std::nullopt;
    return Bounded(typed->number);
}

}  // namespace rs::units
