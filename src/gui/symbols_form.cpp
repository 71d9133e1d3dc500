#include "gui/symbols_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "text/tr.h"

namespace rs::gui {

CharacterList::CharacterList(QWidget* parent) : QListWidget(parent) {
    setObjectName("lstSymbols");
    // A grid of characters, read left to right.
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setGridSize(QSize(26, 26));
    setUniformItemSizes(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

QMimeData* CharacterList::mimeData(const QList<QListWidgetItem*>& items) const {
    auto* data = new QMimeData;
    QString text;
    for (const QListWidgetItem* item : items) text += item->text();
    data->setText(text);
    return data;
}

FrmSymbols::FrmSymbols(app::IniFile& settings, ui::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs), model_(settings) {
    setObjectName("frmSymbols");
    setWindowTitle(QTr("Benutzerdef. Symbole"));

    auto frame = [this](const char* name, const char* title, int first, int last) {
        auto* box = new QGroupBox(QTr(title));
        box->setObjectName(name);
        auto* grid = new QGridLayout(box);
        grid->setVerticalSpacing(3);
        for (int k = first; k <= last; ++k) {
            const bool point = k >= 9;
            const int index = point ? k - 9 : k;
            auto* label = new QLabel(ToQ(text::Tr(ui::SymbolsEditorModel::Label(k))));
            label->setObjectName(QString(point ? "lblCardPoint_%1" : "lblVarType_%1").arg(index));
            auto* edit = new QLineEdit(ToQ(model_.Symbol(k)));
            edit->setObjectName(ToQ(ui::SymbolsEditorModel::BoxName(k)));
            edit->setFixedWidth(70);
            connect(edit, &QLineEdit::editingFinished, this,
                    [this, k, edit] { model_.SetSymbol(k, ToStd(edit->text())); });
            boxes_[static_cast<std::size_t>(k)] = edit;
            grid->addWidget(label, k - first, 0);
            grid->addWidget(edit, k - first, 1);
        }
        grid->setColumnStretch(0, 1);
        return box;
    };

    auto* boxes = new QVBoxLayout;
    boxes->addWidget(frame("fraOptConj", text::TrNoop("Symbole der Abstandsparameter:"), 0, 4));
    boxes->addWidget(frame("fraOptFld", text::TrNoop("Symbole der Feldparameter:"), 5, 8));
    boxes->addWidget(frame("fraCardPoints", text::TrNoop("Symbole der Kardinalelemente:"), 9, 14));

    auto* characters = new CharacterList;
    for (const std::string& c : ui::SymbolsEditorModel::CharacterList()) {
        auto* item = new QListWidgetItem(ToQ(c), characters);
        item->setTextAlignment(Qt::AlignCenter);
    }
    characters->setMinimumWidth(8 * 26 + 24);
    auto* note = new QLabel(
        QTr("Geben Sie die Zeichen direkt ein oder wählen Sie sie per 'drag & drop' aus der Liste "
            "aus. \n\nJedes Symbol kann aus einem oder mehreren Zeichen bestehen."));
    note->setObjectName("lbl");
    note->setWordWrap(true);
    auto* right = new QVBoxLayout;
    right->addWidget(characters, 1);
    right->addWidget(note);

    auto* columns = new QHBoxLayout;
    columns->addLayout(boxes);
    columns->addLayout(right, 1);

    auto* ok = new QPushButton(QTr("&OK"));
    ok->setObjectName("comOK");
    auto* cancel = new QPushButton(QTr("&Abbrechen"));
    cancel->setObjectName("comCancel");
    // Enter in a box stores that box only; it must not close the editor.
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &FrmSymbols::Ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

void FrmSymbols::Ok() {
    // A box that still has the focus (or just took a dropped character) counts as left.
    for (int k = 0; k < ui::kSymbolCount; ++k) {
        model_.SetSymbol(k, ToStd(boxes_[static_cast<std::size_t>(k)]->text()));
    }
    if (model_.Ok(settings_, dialogs_)) accept();
}

bool FrmSymbols::Display() {
    return exec() == QDialog::Accepted && model_.Changed();
}

}  // namespace rs::gui
