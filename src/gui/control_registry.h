#pragma once
// The named controls of the main window. Each widget is registered with a binder of its own
// type, which knows how to write a ui::ControlView onto it: rendering the whole view is one loop
// over the view's controls, and adding a kind of widget is one more WriteView overload.
#include <QString>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/view_model.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QWidget;

namespace rs::gui {

// What a binder keeps of its last write, so unchanged items and colours are not written again.
struct Written {
    std::vector<std::string> items;  // lists, combo boxes, tab strips
    unsigned highlight = 0;          // label back colour
};

// One function per kind of widget: writes what the view says beyond enabled and visible.
void WriteView(QCheckBox& box, const ui::ControlView& view, Written& written);
void WriteView(QRadioButton& button, const ui::ControlView& view, Written& written);
void WriteView(QPushButton& button, const ui::ControlView& view, Written& written);
void WriteView(QLineEdit& box, const ui::ControlView& view, Written& written);
void WriteView(QLabel& label, const ui::ControlView& view, Written& written);
void WriteView(QGroupBox& frame, const ui::ControlView& view, Written& written);
void WriteView(QScrollBar& bar, const ui::ControlView& view, Written& written);
void WriteView(QComboBox& combo, const ui::ControlView& view, Written& written);
void WriteView(QListWidget& list, const ui::ControlView& view, Written& written);
void WriteView(QTabWidget& tabs, const ui::ControlView& view, Written& written);
// Panels and the drawing are only shown, hidden, enabled and disabled.
void WriteView(QWidget& panel, const ui::ControlView& view, Written& written);

// Settings every control of a kind shares, given as it is made.
void Prepare(QLineEdit& box);
void Prepare(QComboBox& combo);
void Prepare(QPushButton& button);
inline void Prepare(QWidget&) {}

class ControlBinder {
public:
    explicit ControlBinder(QWidget* widget) : widget_(widget) {}
    virtual ~ControlBinder() = default;
    ControlBinder(const ControlBinder&) = delete;
    ControlBinder& operator=(const ControlBinder&) = delete;

    QWidget* Widget() const { return widget_; }
    // Writes the view with the widget's signals blocked, so the program's own changes to its
    // controls never reach the handlers.
    void Apply(const ui::ControlView& view);

private:
    virtual void Write(const ui::ControlView& view) = 0;
    QWidget* widget_;
};

template <typename W>
class Binder final : public ControlBinder {
public:
    explicit Binder(W* widget) : ControlBinder(widget), widget_(widget) {}

private:
    void Write(const ui::ControlView& view) override { WriteView(*widget_, view, written_); }
    W* widget_;
    Written written_;
};

class ControlRegistry {
public:
    // A new widget for control `name` ("chkVarType_3"), made from `args` and registered.
    template <typename W, typename... Args>
    W* Make(const QString& name, Args&&... args) {
        auto* widget = new W(std::forward<Args>(args)...);
        widget->setObjectName(name);
        Prepare(*widget);
        return Bind(widget);
    }
    // Registers a widget made elsewhere under its object name.
    template <typename W>
    W* Bind(W* widget) {
        Add(widget, std::make_unique<Binder<W>>(widget));
        return widget;
    }

    // Writes every control of `view` that has a widget; the controls of windows still to come
    // have none.
    void Render(const ui::WindowView& view);

    QWidget* Widget(std::string_view name) const;
    std::vector<std::string> Names() const;  // sorted

private:
    void Add(QWidget* widget, std::unique_ptr<ControlBinder> binder);
    std::unordered_map<std::string, std::unique_ptr<ControlBinder>> binders_;
};

}  // namespace rs::gui
