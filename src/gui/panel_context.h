#pragma once
// What the panels of the main window are built with: the registry their controls join, the
// window logic their events call, and the window's own commands. A widget event runs one
// operation of the logic through Act, which renders the new state afterwards.
#include <QObject>
#include <QString>
#include <functional>
#include <string_view>
#include <utility>

#include "gui/control_registry.h"
#include "ui/main_window.h"

class QAbstractButton;
class QLabel;
class QScrollArea;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace rs::gui {

// What the window does itself: its dialogs, printing, help and closing.
struct WindowCommands {
    std::function<void()> openUnits;
    std::function<void()> openSymbols;
    std::function<void()> print;
    std::function<void()> help;
    std::function<void()> about;
    std::function<void()> close;
    std::function<void()> openApFieldPlot;        // the large aperture/field plot window
    std::function<void()> chooseStandardFNumber;  // the engraved f-numbers
    std::function<void()> openStudy;              // the study in a window of its own
};

struct PanelContext {
    ControlRegistry& controls;
    ui::MainWindow& logic;
    // The receiver of every connection; it goes before the widgets do, so a box losing the
    // focus as the window closes reaches the logic no more.
    QObject* receiver;
    std::function<void(const std::function<void()>&)> act;
    WindowCommands commands;

    // Runs `apply` with the arguments of `signal` as one handler of the logic.
    template <typename Sender, typename Owner, typename... Args, typename Apply>
    void On(Sender* sender, void (Owner::*signal)(Args...), Apply apply) const {
        QObject::connect(sender, signal, receiver,
                         [act = act, apply](Args... args) { act([&] { apply(args...); }); });
    }
    // Enter and leaving the box both end in editingFinished.
    void OnEdited(QLineEdit* box, std::function<void(std::string_view)> apply) const;
    // A button running a handler that takes no arguments.
    void OnPressed(QAbstractButton* button, std::function<void()> apply) const;
};

// "chkVarType" and 3 give "chkVarType_3".
QString Indexed(const char* base, int index);
// A list with a few fixed entries is made just tall enough for them.
void FitRows(QListWidget* list, int rows);
// A label that only names its neighbour.
QLabel* MakeCaption(const PanelContext& ctx, const QString& name);
// The units button of option tab `tab`.
QPushButton* MakeUnitsButton(const PanelContext& ctx, int tab);
// A page that scrolls up and down when the window is too low for it, but never sideways: the
// area asks for the width the page needs, whatever its captions are at the moment.
QScrollArea* Scrolled(QWidget* page);

}  // namespace rs::gui
