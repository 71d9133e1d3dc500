#pragma once
// Display units. Every length is held internally in millimetres and every angle in radians; what
// the user sees is the internal value divided by the factor of the unit chosen for that
// quantity. This module holds the fixed unit catalogue, the allowed units and defaults of every
// quantity ("slot"), the user's current choices (UnitState), the autoscale pseudo-units and the
// text form in which the choices are kept in the settings file.
//
// Unit codes are plain ints because they are what the settings file stores. Catalogue lookups
// with a code outside 0..17, and slot lookups outside a group, are programming errors and stop
// the program (RS_REQUIRE); everything that reads user input (LoadUnits, SetUnitCode,
// CodeForSuffix, SameCategoryFamily) checks instead and never stops.
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rs::units {

// ---------------------------------------------------------------------------------------------
// Catalogue

inline constexpr int kUnitCount = 18;

enum Unit : int {
    kMicron = 0,
    kMillimetre = 1,
    kCentimetre = 2,
    kMetre = 3,
    kKilometre = 4,
    kMil = 5,
    kInch = 6,
    kFoot = 7,
    kMile = 8,
    kRadian = 9,
    kMilliradian = 10,
    kArcMinute = 11,
    kDegree = 12,
    kMagnification = 13,  // suffix "x", never converted
    kCyclesPerMm = 14,    // suffix "cy/mm", never converted
    kMetricAuto = 15,     // pseudo-unit, resolved by ResolveAuto
    kImperialAuto = 16,   // pseudo-unit, resolved by ResolveAuto
    kNoDimension = 17,
};

bool IsValidCode(int code);  // 0..17
// Lengths are codes 0..8, angles 9..12; everything else is neither.
bool IsLengthUnit(int code);
bool IsAngleUnit(int code);
// True when a value typed in unit `a` may be converted into unit `b`: both lengths or both
// angles. False for any invalid code.
bool SameCategoryFamily(int a, int b);

// Catalogue entries of a valid code. Suffixes and names are static UTF-8 text.
std::string_view UnitDisplayName(int code);  // "Millimeters [mm]"; empty for 13, 14, 17
std::string_view UnitSuffixOf(int code);     // "mm"; empty for the autoscale codes and 17
double UnitFactorOf(int code);               // base units (mm or rad) per unit, full double

// The code whose suffix is exactly `suffix` (case-sensitive, no trimming), for typed values
// such as "12cm". Only lengths and angles are recognised; besides the catalogue suffixes the
// spellings "um" and "μm" (Greek mu) for microns, "inch" for inches, "Grad" and "°" for
// degrees are accepted. (No "'" for arc minutes: in imperial habit it means feet.)
std::optional<int> CodeForSuffix(std::string_view suffix);

// ---------------------------------------------------------------------------------------------
// Categories: which codes a slot may take, in the order the units dialog lists them.

inline constexpr int kCategoryCount = 6;

// Category `category` in 0..5 (programming error otherwise).
std::span<const int> CategoryList(int category);
bool IsInCategory(int category, int code);  // false for a category outside 0..5

// ---------------------------------------------------------------------------------------------
// Groups and slots

enum class Group { Parax, ParaxAp, ParaxDOF, GB, GBExtra };
inline constexpr int kGroupCount = 5;
inline constexpr std::array<Group, kGroupCount> kAllGroups = {
    Group::Parax, Group::ParaxAp, Group::ParaxDOF, Group::GB, Group::GBExtra};

// The magnification slot of Parax and GB always holds kMagnification.
inline constexpr int kMagnificationSlot = 3;

// Slots of the depth-of-field group.
enum DofSlot : int {
    kDofCircleOfConfusion = 0,
    kDofFocus = 1,
    kDofField = 2,
    kDofNearFar = 3,  // near, far and hyperfocal distances; 4 and 5 are spare
};

int SlotCount(Group group);              // 21, 5, 6, 21, 1
std::string_view GroupKey(Group group);  // settings key: "Parax", "ParaxAp", ...
// Parax, ParaxAp and ParaxDOF hand out their factors in single precision.
bool IsParaxialGroup(Group group);

// Fixed per-slot data; `slot` must be inside the group.
int CategoryOf(Group group, int slot);
int DefaultUnit(Group group, int slot);
// True when `code` may be stored in the slot: the slot's default or a code of its category,
// except that the magnification slots accept only kMagnification. (Some defaults lie outside
// the category, e.g. kNoDimension for the f-number; accepting them keeps a reset always
// possible.) False for a slot outside the group.
bool IsAllowed(Group group, int slot, int code);

// The factor of `code` as the group hands it out: for the paraxial groups the catalogue factor
// rounded to single precision (so static_cast<float> of the result is exact), for GB and
// GBExtra the full double. Use this for a unit typed behind a number, so that "12mm" and "12" in
// a box shown in mm give the same internal value.
double FactorForGroup(Group group, int code);

// ---------------------------------------------------------------------------------------------
// Autoscale

// A concrete unit chosen for one value.
struct ResolvedUnit {
    int code;
    float factor;
    std::string_view suffix;
};

// For kMetricAuto and kImperialAuto: the unit for a value of magnitude |valueMm| millimetres,
// judged in single precision against thresholds rounded to single precision; a value exactly
// at a threshold takes the larger unit. Metric: below 0.01 mm µm, below 500 mm mm, below
// 500 000 mm m, else km (never cm). Imperial: below 10 mil mil, below 500 in in, below 1000 ft
// ft, else mile. Infinite and out-of-single-range magnitudes take the largest unit; so does NaN,
// for which no "below" comparison holds. Any other code is returned unchanged.
int ResolveAuto(int code, double valueMm);

// ---------------------------------------------------------------------------------------------
// The user's choices

// The current unit code of every slot of the five groups. A default-constructed state holds the
// defaults. The units dialog edits a copy and assigns it back on OK: copy and assignment are
// the whole copy-out/copy-in mechanism.
class UnitState {
public:
    UnitState();

    int UnitCode(Group group, int slot) const;
    // Stores `code` when IsAllowed; otherwise returns false and changes nothing.
    bool SetUnitCode(Group group, int slot, int code);

    // FactorForGroup of the slot's current code.
    double UnitFactor(Group group, int slot) const;
    std::string_view UnitSuffix(Group group, int slot) const;

    // The depth-of-field display: the slot's code, autoscale resolved for `valueMm`.
    ResolvedUnit AutoUnit(int dofSlot, double valueMm) const;

    friend bool operator==(const UnitState&, const UnitState&) = default;

private:
    static constexpr int kTotalSlots = 21 + 5 + 6 + 21 + 1;
    std::array<int, kTotalSlots> codes_{};
};

// ---------------------------------------------------------------------------------------------
// Settings file (section "Units", one key per group)

// Value of a key of the section, or empty when it is missing.
using UnitKeyReader = std::function<std::string(std::string_view key)>;

// Resets `state` to the defaults, then applies each group's key: the value is split at ",";
// with the wrong number of pieces the whole key is ignored; each piece, trimmed of blanks, must
// be an optional sign and decimal digits naming a code allowed for its slot, otherwise that slot
// keeps its default. The magnification slots stay kMagnification whatever is stored.
void LoadUnits(UnitState& state, const UnitKeyReader& readKey);

// (key, value) pairs in group order; a value is the slot codes joined by ", ".
std::vector<std::pair<std::string, std::string>> SaveUnits(const UnitState& state);

}  // namespace rs::units
