#include "ui/data_backup.h"

#include <utility>

namespace rs::ui {

Snapshot Capture(const app::DesignState& s) {
    Snapshot b;
    b.params = s.paraxial.params;
    b.aperture = s.paraxial.aperture;
    b.beam = s.beam.axes[0].selection;
    b.objAtInfinity = s.paraxial.options.objAtInfinity;
    b.advanced = s.paraxial.options.advanced;
    b.mirrorMode = s.paraxial.options.mirrorMode;
    b.positiveObj = s.window.positiveObj;
    b.drawHaltingRay = s.window.drawHaltingRay;
    b.cocCustom = s.dof.cocCustom;
    b.beamMode = s.beam.beamMode;
    b.beamExtras = s.beam.extrasOptions;
    b.diode = s.beam.diode;
    b.beamWavelengthNm = s.beam.WavelengthNm();
    b.imgHgtFixed = s.window.imgHgtFixed;
    b.imgHgtOption = s.window.imgHgtOption;
    b.lens = s.lens;
    return b;
}

void Restore(app::DesignState& s, const Snapshot& b) {
    s.paraxial.params = b.params;
    s.paraxial.aperture = b.aperture;
    s.beam.axes[0].selection = b.beam;
    s.paraxial.options.objAtInfinity = b.objAtInfinity;
    s.paraxial.options.advanced = b.advanced;
    s.paraxial.options.mirrorMode = b.mirrorMode;
    s.window.positiveObj = b.positiveObj;
    s.window.drawHaltingRay = b.drawHaltingRay;
    s.dof.cocCustom = b.cocCustom;
    s.beam.beamMode = b.beamMode;
    s.beam.extrasOptions = b.beamExtras;
    s.beam.diode = b.diode;
    s.beam.SetWavelengthNm(b.beamWavelengthNm);
    s.window.imgHgtFixed = b.imgHgtFixed;
    s.window.imgHgtOption = b.imgHgtOption;
    s.lens = b.lens;
}

bool DataBackup::Admit(int kind, int index) {
    kind_ = kind;
    if (kind == kBackupDrag) return false;
    if (kind == kBackupSlider) {
        if (index != sliderIndex_) {
            sliderIndex_ = index;
            sliderRun_ = 0;
        }
        if (sliderRun_ != 0) return false;
        sliderRun_ = 1;
        return true;
    }
    sliderRun_ = 0;
    return true;
}

void DataBackup::TakeBackup(int kind, int index, const app::DesignState& current) {
    if (Admit(kind, index)) backup_ = Capture(current);
}

bool DataBackup::TakeBackupOf(int kind, int index, Snapshot before) {
    if (!Admit(kind, index)) return false;
    backup_ = std::move(before);
    return true;
}

void DataBackup::TakeDragBackup(Snapshot atMouseDown) {
    kind_ = kBackupDrag;
    sliderRun_ = 0;
    backup_ = std::move(atMouseDown);
}

bool DataBackup::Undo(app::DesignState& state) {
    if (!backup_) return false;
    Snapshot current = Capture(state);
    Restore(state, *backup_);
    backup_ = std::move(current);
    // A slider moved after an undo starts a new run: without this its movement would join the
    // run before the undo and take no backup, and the next undo would skip past it.
    sliderRun_ = 0;
    return true;
}

}  // namespace rs::ui
