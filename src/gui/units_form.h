#pragma once
// frmUnits, the units dialog: one drop-down list per quantity on two tabs. It edits a copy of
// the user's units; the caller takes the copy only when Display() reports OK with a change.
#include <QDialog>
#include <vector>

#include "ui/units_dialog.h"

class QComboBox;

namespace rs::gui {

class FrmUnits : public QDialog {
    Q_OBJECT
public:
    FrmUnits(const units::UnitState& current, QWidget* parent = nullptr);
    // Shows the dialog modally; true when it closed with OK and something was changed.
    bool Display();
    const ui::UnitsDialogModel& Model() const { return model_; }

private:
    // Shows the working copy in every list.
    void Fill();

    ui::UnitsDialogModel model_;
    std::vector<QComboBox*> lists_;  // in the order of ui::UnitLists()
    bool filling_ = false;
};

}  // namespace rs::gui
