#pragma once
// frmSymbols, the editor of the user's symbols: fifteen boxes, and a list of characters that can
// be dragged into them.
#include <QDialog>
#include <QListWidget>
#include <array>

#include "app/ini_file.h"
#include "ui/dialogs.h"
#include "ui/symbols_editor.h"

class QLineEdit;

namespace rs::gui {

// The character list: dragging an entry carries its character as plain text, which every text
// box accepts as a drop.
class CharacterList : public QListWidget {
    Q_OBJECT
public:
    explicit CharacterList(QWidget* parent = nullptr);
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
};

class FrmSymbols : public QDialog {
    Q_OBJECT
public:
    FrmSymbols(app::IniFile& settings, ui::Dialogs& dialogs, QWidget* parent = nullptr);
    // Shows the editor modally; true when new symbols were stored.
    bool Display();
    const ui::SymbolsEditorModel& Model() const { return model_; }

private:
    void Ok();

    app::IniFile& settings_;
    ui::Dialogs& dialogs_;
    ui::SymbolsEditorModel model_;
    std::array<QLineEdit*, ui::kSymbolCount> boxes_{};
};

}  // namespace rs::gui
