#pragma once
// The extras panels beside the result list: the depth-of-field panel of the paraxial mode and the
// beam options (options, diode laser, depth of focus). Their controls join the window's view like
// every other control, and every change goes through MainWindow::ApplyChange, so undo, solving
// and the common tail of a change stay in one place.
#include <string_view>

#include "ui/main_window.h"
#include "ui/view_model.h"

namespace rs::ui {

// Appends the controls of both panels to `view` (BuildView calls it):
//   depth of field: lblDOFName_0..5, lblDOFVal_0..5, lblDOFStatus, txtDOFCoC, optCoCType_0..1;
//   beam options: chkGBExtraM2Use, txtGBExtraMFactor, chkGBExtraDetector, txtGBExtraDetector,
//   txtGMExtraMinSpotD, lblGBExtraMinSpotRes, cmbGBDrgScales, txtGBExtraDrgScale;
//   diode laser: chkGBExtraDiodeMode, cmbGBExtraDiodeParamType, txtGBExtraDiodeParamVal,
//   txtGBExtraDiodeMFactor, chkGBExtraBeamRectCircularise, cmbGBExtraBeamRectCircMode,
//   cmbGBExtraDiodeParamMatched;
//   depth of focus: lstGBExtraDOFPercent, lblGBExtraDOFVal.
void AddExtrasControls(const WindowState& state, WindowView& view);

// Box texts as the view shows them; a box left unedited changes nothing.
std::string CoCBoxText(const WindowState& state);
std::string DiodeParamBoxText(const WindowState& state);

// --- Depth of field ----------------------------------------------------------------------------

void ApplyCoCText(MainWindow& window, std::string_view text);  // txtDOFCoC
void ChooseCoCType(MainWindow& window, int type);              // optCoCType(type)

// --- Beam options ------------------------------------------------------------------------------

void SetMFactorUse(MainWindow& window, bool on);  // chkGBExtraM2Use
// txtGBExtraMFactor (axis 0) and txtGBExtraDiodeMFactor (axis 1).
void ApplyMFactorText(MainWindow& window, int axis, std::string_view text);
void SetDetectorOn(MainWindow& window, bool on);                    // chkGBExtraDetector
void ApplyDetectorText(MainWindow& window, std::string_view text);  // txtGBExtraDetector
void ApplyMinSpotText(MainWindow& window, std::string_view text);   // txtGMExtraMinSpotD
void ChooseDofEntry(MainWindow& window, int entry);                 // lstGBExtraDOFPercent
// The x range of the beam picture: the list choice, and the fixed distance D the choices 1 to 3
// use (a number of mm, optionally followed by "mm"; 0 = not set, the automatic width). Neither
// is an undo step: they change the view, not the design.
void ChooseDrawingScale(MainWindow& window, int entry);                    // cmbGBDrgScales
void ApplyDrawingDistanceText(MainWindow& window, std::string_view text);  // txtGBExtraDrgScale
std::string DrawingDistanceText(const WindowState& state);

// --- Diode laser -------------------------------------------------------------------------------

void SetDiodeMode(MainWindow& window, bool on);            // chkGBExtraDiodeMode
void SetCircularise(MainWindow& window, bool on);          // chkGBExtraBeamRectCircularise
void ChooseCollimationMode(MainWindow& window, int mode);  // cmbGBExtraBeamRectCircMode
void ChooseDiodeParamKind(MainWindow& window, int entry);  // cmbGBExtraDiodeParamType
void ApplyDiodeParamText(MainWindow& window, std::string_view text);  // txtGBExtraDiodeParamVal

}  // namespace rs::ui
