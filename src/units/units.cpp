#include "units/units.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "engine/numbers.h"
#include "engine/require.h"
#include "text/strings.h"

namespace rs::units {
namespace {

struct UnitEntry {
    std::string_view displayName;
    std::string_view suffix;
    double factor;
};

constexpr std::array<UnitEntry, kUnitCount> kCatalogue = {{
    {"Microns [µm]", "µm", 0.001},                       // 0 UM
    {"Millimeters [mm]", "mm", 1.0},                     // 1 MM
    {"Centimeters [cm]", "cm", 10.0},                    // 2 CM
    {"Meters [m]", "m", 1000.0},                         // 3 M
    {"Kilometers [km]", "km", 1000000.0},                // 4 KM
    {"Mils [mil]", "mil", 0.0254},                       // 5 MIL
    {"Inches [in]", "in", 25.4},                         // 6 INCH
    {"Feet [ft]", "ft", 304.8},                          // 7 FOOT
    {"Miles [mi]", "mi", 1609344.0},                     // 8 MILE
    {"Radians [rad]", "rad", 1.0},                       // 9 RAD
    {"Milliradians [mrad]", "mrad", 0.001},              // 10 MRAD
    {"Min of Arc [min]", "min", engine::kPi / 10800.0},  // 11 MIN
    {"Degrees [deg]", "deg", engine::kPi / 180.0},       // 12 DEG
    {"", "x", 1.0},                                      // 13 MAG
    {"", "cy/mm", 1.0},                                  // 14 CY_MM
    {"Metric - autoscale", "", 1.0},                     // 15 METRIC
    {"Imperial - autoscale", "", 1.0},                   // 16 IMP
    {"", "", 1.0},                                       // 17 NO_DIM
}};

// Category 1 repeats category 0 on purpose: heights have their own list so that it can differ
// from the distances' one without touching the settings format.
constexpr std::array<int, 9> kAllLengths = {0, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr std::array<int, 9> kHeightLengths = {0, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr std::array<int, 7> kShortLengths = {0, 1, 2, 3, 5, 6, 7};
constexpr std::array<int, 3> kSmallLengths = {0, 1, 5};
constexpr std::array<int, 5> kDepthLengths = {1, 2, 5, 15, 16};
constexpr std::array<int, 4> kAngles = {9, 10, 11, 12};

constexpr std::array<std::span<const int>, kCategoryCount> kCategories = {
    kAllLengths, kHeightLengths, kShortLengths, kSmallLengths, kDepthLengths, kAngles};

constexpr std::array<int, kGroupCount> kSlotCounts = {21, 5, 6, 21, 1};
constexpr std::array<std::string_view, kGroupCount> kGroupKeys = {"Parax", "ParaxAp", "ParaxDOF",
                                                                  "GB", "GBExtra"};

int GroupIndex(Group group) {
    const int index = static_cast<int>(group);
    RS_REQUIRE(index >= 0 && index < kGroupCount, "unknown unit group");
    return index;
}

void RequireCode(int code) {
    RS_REQUIRE(IsValidCode(code), "unit code outside the catalogue");
}

void RequireSlot(Group group, int slot) {
    RS_REQUIRE(slot >= 0 && slot < SlotCount(group), "unit slot outside its group");
}

bool IsMagnificationSlot(Group group, int slot) {
    return (group == Group::Parax || group == Group::GB) && slot == kMagnificationSlot;
}

// Position of a slot in UnitState's flat array.
int FlatIndex(Group group, int slot) {
    RequireSlot(group, slot);
    int offset = 0;
    for (int g = 0; g < GroupIndex(group); ++g) offset += kSlotCounts[g];
    return offset + slot;
}

float SingleThreshold(double multiple, int code) {
    return static_cast<float>(multiple * UnitFactorOf(code));
}

// An optional sign followed by decimal digits and nothing else; nothing for any other text and
// for numbers beyond int.
std::optional<int> ParseCode(std::string_view piece) {
    piece = text::TrimBlanks(piece);
    // from_chars takes a minus but no plus (and no "+-").
    if (piece.size() > 1 && piece[0] == '+' && piece[1] != '-') piece.remove_prefix(1);
    int value = 0;
    const char* const last = piece.data() + piece.size();
    const auto [end, error] = std::from_chars(piece.data(), last, value);
    if (error != std::errc{} || end != last) return std::nullopt;
    return value;
}

void LoadGroup(UnitState& state, Group group, std::string_view text) {
    if (text::TrimBlanks(text).empty()) return;
    const std::vector<std::string_view> pieces = text::SplitFields(text, ',');
    if (static_cast<int>(pieces.size()) != SlotCount(group)) return;
    // Rejected pieces leave the slot at the default it was reset to. SetUnitCode refuses
    // anything but kMagnification for the magnification slots, so they need no extra step.
    for (int slot = 0; slot < SlotCount(group); ++slot) {
        if (const auto code = ParseCode(pieces[static_cast<std::size_t>(slot)])) {
            state.SetUnitCode(group, slot, *code);
        }
    }
}

}  // namespace

bool IsValidCode(int code) {
    return code >= 0 && code < kUnitCount;
}
bool IsLengthUnit(int code) {
    return code >= kMicron && code <= kMile;
}
bool IsAngleUnit(int code) {
    return code >= kRadian && code <= kDegree;
}

bool SameCategoryFamily(int a, int b) {
    return (IsLengthUnit(a) && IsLengthUnit(b)) || (IsAngleUnit(a) && IsAngleUnit(b));
}

std::string_view UnitDisplayName(int code) {
    RequireCode(code);
    return kCatalogue[static_cast<std::size_t>(code)].displayName;
}

std::string_view UnitSuffixOf(int code) {
    RequireCode(code);
    return kCatalogue[static_cast<std::size_t>(code)].suffix;
}

double UnitFactorOf(int code) {
    RequireCode(code);
    return kCatalogue[static_cast<std::size_t>(code)].factor;
}

std::optional<int> CodeForSuffix(std::string_view suffix) {
    struct Spelling {
        std::string_view text;
        int code;
    };
    // clang-format off
    static constexpr std::array<Spelling, 19> kSpellings = {{
        {"µm", kMicron},
        {"μm", kMicron},  // Greek mu, which some keyboards produce instead of the micro sign
        {"um", kMicron},
        {"mm", kMillimetre},
        {"cm", kCentimetre},
        {"m", kMetre},
        {"km", kKilometre},
        {"mil", kMil},
        {"in", kInch},
        {"inch", kInch},
        {"ft", kFoot},
        {"mi", kMile},
        {"ml", kMile},  // what earlier versions showed for the mile: typed and stored texts
        {"rad", kRadian},
        {"mrad", kMilliradian},
        {"min", kArcMinute},
        {"deg", kDegree},
        {"Grad", kDegree},
        {"°", kDegree},
    }};
    // clang-format on
    for (const auto& spelling : kSpellings) {
        if (spelling.text == suffix) return spelling.code;
    }
    return std::nullopt;
}

std::span<const int> CategoryList(int category) {
    RS_REQUIRE(category >= 0 && category < kCategoryCount, "unit category outside 0..5");
    return kCategories[static_cast<std::size_t>(category)];
}

bool IsInCategory(int category, int code) {
    if (category < 0 || category >= kCategoryCount) return false;
    for (int member : CategoryList(category)) {
        if (member == code) return true;
    }
    return false;
}

int SlotCount(Group group) {
    return kSlotCounts[static_cast<std::size_t>(GroupIndex(group))];
}

std::string_view GroupKey(Group group) {
    return kGroupKeys[static_cast<std::size_t>(GroupIndex(group))];
}

bool IsParaxialGroup(Group group) {
    return group == Group::Parax || group == Group::ParaxAp || group == Group::ParaxDOF;
}

int CategoryOf(Group group, int slot) {
    RequireSlot(group, slot);
    switch (group) {
        case Group::Parax:
            if (slot == 5 || slot == 7) return 1;  // heights
            if (slot == 6 || slot == 8) return 5;  // field angles
            return 0;
        case Group::ParaxAp:
            return slot == 0 ? 2 : 0;  // a stop radius in km or miles makes no sense
        case Group::ParaxDOF:
            return slot == kDofCircleOfConfusion ? 3 : 4;
        case Group::GB:
            return (slot == 6 || slot == 9) ? 5 : 0;  // divergences
        case Group::GBExtra:
            return 0;
    }
    return 0;
}

int DefaultUnit(Group group, int slot) {
    RequireSlot(group, slot);
    if (IsMagnificationSlot(group, slot)) return kMagnification;
    switch (group) {
        case Group::Parax:
            return (slot == 6 || slot == 8) ? kDegree : kMillimetre;
        case Group::ParaxAp:
            return (slot == 0 || slot == 4) ? kMillimetre : kNoDimension;
        case Group::ParaxDOF:
            return slot <= kDofField ? kMillimetre : kMetricAuto;
        case Group::GB:
            return (slot == 6 || slot == 9) ? kMilliradian : kMillimetre;
        case Group::GBExtra:
            return kMillimetre;
    }
    return kMillimetre;
}

bool IsAllowed(Group group, int slot, int code) {
    if (slot < 0 || slot >= SlotCount(group)) return false;
    if (code == DefaultUnit(group, slot)) return true;
    if (IsMagnificationSlot(group, slot)) return false;
    return IsInCategory(CategoryOf(group, slot), code);
}

double FactorForGroup(Group group, int code) {
    const double factor = UnitFactorOf(code);
    return IsParaxialGroup(group) ? static_cast<double>(static_cast<float>(factor)) : factor;
}

int ResolveAuto(int code, double valueMm) {
    if (code != kMetricAuto && code != kImperialAuto) return code;
    // |value| in single precision; beyond its range the magnitude is infinite.
    const float magnitude = engine::NarrowToFloat(std::fabs(valueMm));
    if (code == kMetricAuto) {
        if (magnitude < SingleThreshold(10.0, kMicron)) return kMicron;
        if (magnitude < SingleThreshold(0.5, kMetre)) return kMillimetre;
        if (magnitude < SingleThreshold(0.5, kKilometre)) return kMetre;
        return kKilometre;
    }
    if (magnitude < SingleThreshold(10.0, kMil)) return kMil;
    if (magnitude < SingleThreshold(500.0, kInch)) return kInch;
    if (magnitude < SingleThreshold(1000.0, kFoot)) return kFoot;
    return kMile;
}

UnitState::UnitState() {
    static_assert(kTotalSlots == [] {
        int total = 0;
        for (int count : kSlotCounts) total += count;
        return total;
    }());
    for (Group group : kAllGroups) {
        for (int slot = 0; slot < SlotCount(group); ++slot) {
            codes_[static_cast<std::size_t>(FlatIndex(group, slot))] = DefaultUnit(group, slot);
        }
    }
}

int UnitState::UnitCode(Group group, int slot) const {
    return codes_[static_cast<std::size_t>(FlatIndex(group, slot))];
}

bool UnitState::SetUnitCode(Group group, int slot, int code) {
    if (!IsAllowed(group, slot, code)) return false;
    codes_[static_cast<std::size_t>(FlatIndex(group, slot))] = code;
    return true;
}

double UnitState::UnitFactor(Group group, int slot) const {
    return FactorForGroup(group, UnitCode(group, slot));
}

std::string_view UnitState::UnitSuffix(Group group, int slot) const {
    return UnitSuffixOf(UnitCode(group, slot));
}

ResolvedUnit UnitState::AutoUnit(int dofSlot, double valueMm) const {
    const int code = ResolveAuto(UnitCode(Group::ParaxDOF, dofSlot), valueMm);
    return {code, static_cast<float>(UnitFactorOf(code)), UnitSuffixOf(code)};
}

void LoadUnits(UnitState& state, const UnitKeyReader& readKey) {
    state = UnitState{};
    for (Group group : kAllGroups) {
        LoadGroup(state, group, readKey(GroupKey(group)));
    }
}

std::vector<std::pair<std::string, std::string>> SaveUnits(const UnitState& state) {
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(kAllGroups.size());
    for (Group group : kAllGroups) {
        std::string value;
        for (int slot = 0; slot < SlotCount(group); ++slot) {
            if (slot > 0) value += ", ";
            value += std::to_string(state.UnitCode(group, slot));
        }
        pairs.emplace_back(std::string(GroupKey(group)), std::move(value));
    }
    return pairs;
}

}  // namespace rs::units
