#pragma once
// frmRaysketch, the main window on Qt. It owns the widgets and nothing else: every widget event
// calls one operation of the window logic (ui::MainWindow or the extras panel operations) and
// then Render() copies the view of the new state onto the widgets by object name.
#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_file.h"
#include "app/user_settings_store.h"
#include "gui/about_window.h"
#include "gui/control_registry.h"
#include "gui/help_window.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

class QSplitter;
class QVBoxLayout;

namespace rs::gui {

class DrawingArea;
class FrmApFldPlot;
class FrmStudy;
struct LensCatalogueSource;
struct PanelContext;

class FrmRaysketch : public QMainWindow {
    Q_OBJECT
public:
    // The ports must outlive the window. `dialogs` answers every question of the window logic
    // (tests pass a scripted one); `userStore` holds the per-user marker of the new-features note.
    FrmRaysketch(ui::Dialogs& dialogs, app::IniFile& settings, app::UserSettingsStore& userStore,
                 QWidget* parent = nullptr);

    // Loads the last design and options from the settings file, solves and shows it, and places
    // the window as it was last closed.
    void Startup();
    // Copies the view of the current state onto the widgets. Signals are blocked meanwhile, so
    // the program's own changes to its controls never reach the handlers.
    void Render();

    ui::MainWindow& Logic() { return logic_; }
    const ui::MainWindow& Logic() const { return logic_; }

    // The widget standing for control `name` ("txtVarType_0"), or null.
    QWidget* Control(std::string_view name) const;
    // Object names of every control Render() writes.
    std::vector<std::string> ControlNames() const;

    // The window's least size, the same for every design and mode: the parameter pages scroll
    // and the results stand above the extras where the room runs out.
    static constexpr QSize kMinimumSize{790, 500};

    // Placement in twips (top, left, height, width) relative to the screen's usable area.
    ui::WindowRect CurrentPlacement() const;
    void RestorePlacement();

    // The new-features note on first activation; off for runs that only measure the start.
    void SetNewFeatureNoteEnabled(bool on) { newFeatureNote_ = on; }
    HelpWindow* Help() const { return help_; }
    // The Info window while it is open.
    AboutWindow* About() const { return about_; }
    // The aperture/field plot window, once it was opened.
    FrmApFldPlot* ApFieldPlot() const { return apFieldPlot_; }
    // The study window, once it was opened.
    FrmStudy* Study() const { return study_; }

signals:
    // The window was shown for the first time.
    void Shown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Runs one handler of the logic and renders the result. A handler that shows a dialog runs
    // a nested event loop; events reaching the window meanwhile (a box losing the focus to the
    // dialog) find the logic busy and are dropped here.
    void Act(const std::function<void()>& handler);

    // The two columns of the window, built once by the constructor. The settings column hands
    // back its command buttons too, whose captions need room kept for them.
    struct SettingsColumn {
        QVBoxLayout* column;
        QWidget* buttons;
    };
    SettingsColumn BuildSettingsColumn(const PanelContext& ctx);
    QSplitter* BuildOutputColumn(const PanelContext& ctx);

    // Shares the right column's height between the picture and the results.
    void ShareHeight();
    // Keeps the share the user gave the results by moving the divider.
    void KeepResultsShare();

    void OpenUnits();
    void OpenSymbols();
    // comGBWavelen: a wavelength picked from the lists is entered as if typed.
    void PickWavelength();
    void PrintReport();
    void ShowHelp(bool newFeatures);
    // F1: the help on the page of the control with the focus.
    void ShowHelpPage(HelpWindow::Page page);
    void ShowAbout();
    void OpenApFieldPlot();
    void OpenStudy();
    void ChooseStandardFNumber();

    ui::Dialogs& dialogs_;
    app::IniFile& settings_;
    app::UserSettingsStore& userStore_;
    ui::MainWindow logic_;
    // Every widget event reaches the logic through this receiver. It goes before the widgets
    // (they die in QWidget's destructor, after the logic), so a box losing the focus as the
    // window goes reaches nothing.
    QObject handlers_;

    ControlRegistry controls_;
    DrawingArea* drawing_ = nullptr;
    QSplitter* split_ = nullptr;
    QWidget* lower_ = nullptr;  // the results with the extras
    HelpWindow* help_ = nullptr;
    QPointer<AboutWindow> about_;
    FrmApFldPlot* apFieldPlot_ = nullptr;
    FrmStudy* study_ = nullptr;
    bool firstShow_ = true;
    bool newFeatureNote_ = true;
};

// Hands the catalogue read at start-up to the lens grid of `window`.
void SetLensCatalogue(FrmRaysketch& window, LensCatalogueSource source);

}  // namespace rs::gui
