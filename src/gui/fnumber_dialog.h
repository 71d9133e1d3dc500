#pragma once
// frmApFNosStandard: the f-numbers engraved on camera lenses as a list, with the exact value
// where it differs. A click on an entry or Enter chooses it; Cancel, Escape or closing the window
// chooses nothing.
#include <QDialog>
#include <optional>

#include "ui/standard_fnumbers.h"

class QListWidget;

namespace rs::gui {

class FrmApFNosStandard final : public QDialog, public ui::FNumberPicker {
    Q_OBJECT
public:
    explicit FrmApFNosStandard(QWidget* parent = nullptr);

    // Shows the list modally, centred on the screen: the chosen entry, or nothing.
    std::optional<int> Display() override;

private:
    void Choose(int row);

    QListWidget* list_;
    std::optional<int> chosen_;
};

}  // namespace rs::gui
