#pragma once
// The f-numbers engraved on camera lenses: whole, half and third stops, rounded for the ring.
// Each engraved number stands for an exact one, a power of the twelfth root of two, so that a
// user sees both and enters the engraved one (as stored designs know it).
#include <string>
#include <string_view>

namespace rs::analysis {

inline constexpr int kStandardFNumberCount = 27;

// The engraved number of list entry 0..26 as the list writes it ("1.2"); empty outside.
std::string_view StandardFNumberText(int entry);
// The exact value the entry stands for: 2^(k/12) with the whole k nearest to it (1.1892 for
// 1.2, 12.699 for 13, √2^j for every full stop); 0 outside the list.
double ExactFNumber(int entry);
// The list row: "F/1.2" and, where the exact value differs in the first four decimals, the exact
// one beside it ("F/1.2      (exakt 1.1892)").
std::string StandardFNumberRow(int entry);

// The hint shown before the list, while the user has not asked to see it no more.
std::string FStopMessage();
inline constexpr std::string_view kFStopSection = "ShowFirstMessage";
inline constexpr std::string_view kFStopKey = "FStopFunction";

}  // namespace rs::analysis
