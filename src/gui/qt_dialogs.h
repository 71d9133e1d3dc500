#pragma once
// The dialogs the window logic asks for, answered by real Qt message and input boxes. Every box
// is titled with the application title, like the program's other messages.
#include <QPointer>
#include <QWidget>

#include "ui/dialogs.h"

namespace rs::gui {

inline constexpr const char* kAppTitle = "Raysketcher";

class QtDialogs final : public ui::Dialogs {
public:
    // `parent` (the main window, set once it exists) keeps the boxes on top of it.
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Message(std::string_view text, ui::Icon icon) override;
    std::optional<std::string> Input(std::string_view title, std::string_view prompt,
                                     std::string_view defaultText) override;
    ui::Answer Question(std::string_view text, ui::Icon icon) override;
    // Yes and No only; Escape and closing the box answer Yes, which changes nothing.
    ui::Answer YesNo(std::string_view text, ui::Icon icon) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace rs::gui
