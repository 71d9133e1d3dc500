#include "gui/qt_dialogs.h"

#include <QAbstractButton>
#include <QInputDialog>
#include <QMessageBox>

#include "gui/qt_text.h"

namespace rs::gui {
namespace {

QMessageBox::Icon ToQtIcon(ui::Icon icon) {
    switch (icon) {
        case ui::Icon::Exclamation:
            return QMessageBox::Warning;
        case ui::Icon::Question:
            return QMessageBox::Question;
        case ui::Icon::Information:
            return QMessageBox::Information;
        case ui::Icon::Critical:
            return QMessageBox::Critical;
        case ui::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtDialogs::Message(std::string_view text, ui::Icon icon) {
    QMessageBox box(ToQtIcon(icon), kAppTitle, ToQ(text), QMessageBox::Ok, parent_);
    box.setObjectName("msgRaysketch");
    box.exec();
}

std::optional<std::string> QtDialogs::Input(std::string_view title, std::string_view prompt,
                                            std::string_view defaultText) {
    QInputDialog dialog(parent_);
    dialog.setObjectName("inputRaysketch");
    dialog.setWindowTitle(ToQ(title));
    dialog.setLabelText(ToQ(prompt));
    dialog.setTextValue(ToQ(defaultText));
    dialog.setOkButtonText(QTr("OK"));
    dialog.setCancelButtonText(QTr("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ToStd(dialog.textValue());
}

ui::Answer QtDialogs::Question(std::string_view text, ui::Icon icon) {
    QMessageBox box(ToQtIcon(icon), kAppTitle, ToQ(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.setObjectName("msgRaysketch");
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.button(QMessageBox::Yes)->setText(QTr("&Ja"));
    box.button(QMessageBox::No)->setText(QTr("&Nein"));
    box.button(QMessageBox::Cancel)->setText(QTr("Abbrechen"));
    switch (box.exec()) {
        case QMessageBox::Yes:
            return ui::Answer::Yes;
        case QMessageBox::No:
            return ui::Answer::No;
        default:
            return ui::Answer::Cancel;
    }
}

ui::Answer QtDialogs::YesNo(std::string_view text, ui::Icon icon) {
    QMessageBox box(ToQtIcon(icon), kAppTitle, ToQ(text), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setObjectName("msgRaysketch");
    box.setDefaultButton(QMessageBox::Yes);
    // Without this the box would take No, the only button of its kind, for Escape.
    box.setEscapeButton(QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(QTr("&Ja"));
    box.button(QMessageBox::No)->setText(QTr("&Nein"));
    return box.exec() == QMessageBox::No ? ui::Answer::No : ui::Answer::Yes;
}

}  // namespace rs::gui
