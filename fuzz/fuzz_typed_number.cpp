// What a user may type into a value box: the number reader with its unit suffixes, for every
// quantity of every unit group and for a box with a fixed unit text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "units/typed_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)rs::units::SplitTypedNumber(text);
    static const rs::units::UnitState units;
    for (const rs::units::Group group : rs::units::kAllGroups) {
        for (int slot = 0; slot < rs::units::SlotCount(group); ++slot) {
            const auto v = rs::units::ParseQuantity(text, units, group, slot);
            // A value that is taken is finite and within the documented bound.
            if (v && !(std::fabs(*v) <= rs::units::kMaxTypedMagnitude)) __builtin_trap();
        }
    }
    (void)rs::units::ParsePlainNumber(text, "nm");
    (void)rs::units::ParsePlainNumber(text, "");
    return 0;
}
