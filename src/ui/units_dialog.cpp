#include "ui/units_dialog.h"
#include "text/tr.h"

#include <algorithm>
#include <array>

namespace rs::ui {
namespace {

using units::Group;

constexpr std::array<UnitListInfo, 24> kLists = {{
    {"cmbParaxConj00_Efl", Group::Parax, 0, false},
    {"cmbParaxConj01_ObjDist", Group::Parax, 1, false},
    {"cmbParaxConj02_ImgDist", Group::Parax, 2, false},
    {"cmbParaxConj03_Track", Group::Parax, 4, false},
    {"cmbParaxFld00_ObjHeight", Group::Parax, 5, false},
    {"cmbParaxFld01_ObjAng", Group::Parax, 6, false},
    {"cmbParaxFld02_ImgHeight", Group::Parax, 7, false},
    {"cmbParaxFld03_ImgAng", Group::Parax, 8, false},
    {"cmbParaxAp00_StopRad", Group::ParaxAp, 0, false},
    {"cmbParaxRes00_CofC", Group::ParaxDOF, 0, false},
    {"cmbParaxDepth00_focus", Group::ParaxDOF, 1, false},
    {"cmbParaxDepth01_field", Group::ParaxDOF, 2, false},
    {"cmbParaxDepth02_nearfar", Group::ParaxDOF, 3, false},
    {"cmbGBConj00_Efl", Group::GB, 0, true},
    {"cmbGBConj01_ObjWaistDist", Group::GB, 1, true},
    {"cmbGBConj02_ImgWaistDist", Group::GB, 2, true},
    {"cmbGBConj03_track", Group::GB, 4, true},
    {"cmbGBBeamObj00_Rad", Group::GB, 5, true},
    {"cmbGBBeamObj01_Div", Group::GB, 6, true},
    {"cmbGBBeamObj02_RayRange", Group::GB, 7, true},
    {"cmbGBBeamImg00_Rad", Group::GB, 8, true},
    {"cmbGBBeamImg01_Div", Group::GB, 9, true},
    {"cmbGBBeamImg02_RayRange", Group::GB, 10, true},
    {"cmbGBExtra00_dist", Group::GBExtra, 0, true},
}};

const UnitListInfo* ListAt(int list) {
    if (list < 0 || list >= static_cast<int>(kLists.size())) return nullptr;
    return &kLists[static_cast<std::size_t>(list)];
}

}  // namespace

std::span<const UnitListInfo> UnitLists() {
    return kLists;
}

UnitsDialogModel::UnitsDialogModel(const units::UnitState& current) : working_(current) {}

std::vector<UnitEntry> UnitsDialogModel::Entries(int list) const {
    std::vector<UnitEntry> entries;
    const UnitListInfo* info = ListAt(list);
    if (!info) return entries;
    for (const int code : units::CategoryList(units::CategoryOf(info->group, info->slot))) {
        entries.push_back({code, text::Tr(units::UnitDisplayName(code))});
    }
    return entries;
}

int UnitsDialogModel::SelectedEntry(int list) const {
    const UnitListInfo* info = ListAt(list);
    if (!info) return -1;
    const int code = working_.UnitCode(info->group, info->slot);
    const auto entries = Entries(list);
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [code](const UnitEntry& e) { return e.code == code; });
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

void UnitsDialogModel::Choose(int list, int code) {
    const UnitListInfo* info = ListAt(list);
    if (!info || working_.UnitCode(info->group, info->slot) == code) return;
    if (!units::IsInCategory(units::CategoryOf(info->group, info->slot), code)) return;
    if (working_.SetUnitCode(info->group, info->slot, code)) changed_ = true;
}

void UnitsDialogModel::Defaults(bool beamTab) {
    for (int list = 0; list < static_cast<int>(kLists.size()); ++list) {
        const UnitListInfo& info = kLists[static_cast<std::size_t>(list)];
        if (info.beamTab == beamTab) Choose(list, units::DefaultUnit(info.group, info.slot));
    }
}

void UnitsDialogModel::DefaultsParaxial() {
    Defaults(false);
}
void UnitsDialogModel::DefaultsBeam() {
    Defaults(true);
}

}  // namespace rs::ui
