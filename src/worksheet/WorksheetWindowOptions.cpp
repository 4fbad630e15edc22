// The option menus: display precision, RK-4 increment, slope-field direction, discontinuities and
// the preset colours. Each item sets one shared setting that the builders read when they next run.
#include <QAction>

#include "language/Settings.h"
#include "platform/ui/QtUiServices.h"
#include "worksheet/WorksheetWindow.h"

namespace ws {

namespace {

constexpr double kSlopeSteps[5] = {0.2, 0.1, 0.05, 0.02, 0.01};

// The colour dialog of the preset colours, starting from black as the chooser of a freshly loaded
// graph window does. The graph window is not loaded for it: a load would build the pending
// requests (solve, trace, show their messages) in the middle of picking a colour. A cancel leaves
// the colour unchanged (false).
bool ChooseColor(int32_t& color) {
  int32_t chosen = 0;
  if (!ui::Ui().ColorDialog(0, chosen)) return false;
  color = chosen;
  return true;
}

}  // namespace

void WorksheetWindow::SetDisplayDigits(int digits) {
  if (digits < 4 || digits > 8) return;
  ms::Settings.DisplayDigits = static_cast<int16_t>(digits);
  for (int d = 4; d <= 8; ++d) mnuDigits[d]->setChecked(d == digits);
}

void WorksheetWindow::SetSlopeFieldStep(int itemIndex) {
  if (itemIndex < 0 || itemIndex >= 5) return;
  ms::Settings.SlopeFieldStep = kSlopeSteps[itemIndex];
  for (int i = 0; i < 5; ++i) mnuRK[i]->setChecked(i == itemIndex);
}

void WorksheetWindow::mnuFDir_click() {
  // A checkable item toggles its own mark before the handler runs; the mark is set here.
  if (ms::Settings.BothDirections != 0) ms::Settings.BothDirections = 0;
  mnuFDir->setChecked(true);
  mnuBDir->setChecked(false);
}

void WorksheetWindow::mnuBDir_click() {
  if (ms::Settings.BothDirections == 0) ms::Settings.BothDirections = -1;
  mnuBDir->setChecked(true);
  mnuFDir->setChecked(false);
}

void WorksheetWindow::mnuContYes_click() {
  ms::Settings.DiscontinuityOn = -1;
  ms::Settings.NoLimitMarkers = 0;
  mnuContYes->setChecked(true);
  mnuNoMarkers->setChecked(false);
  mnuContNo->setChecked(false);
}

void WorksheetWindow::mnuNoMarkers_click() {
  ms::Settings.DiscontinuityOn = -1;
  ms::Settings.NoLimitMarkers = -1;
  mnuNoMarkers->setChecked(true);
  mnuContYes->setChecked(false);
  mnuContNo->setChecked(false);
}

void WorksheetWindow::mnuContNo_click() {
  ms::Settings.DiscontinuityOn = 0;
  ms::Settings.NoLimitMarkers = 0;
  mnuContNo->setChecked(true);
  mnuContYes->setChecked(false);
  mnuNoMarkers->setChecked(false);
}

void WorksheetWindow::mnuPreSetGrid_click() {
  ChooseColor(ms::Settings.XYPlaneColor);
}

void WorksheetWindow::mnuPreSetAxes_click() {
  ChooseColor(ms::Settings.AxesColor);
  int r = 0, g = 0, b = 0;
  rt::SplitRGB(ms::Settings.AxesColor, r, g, b);
  ms::Settings.AxesR = r;
  ms::Settings.AxesG = g;
  ms::Settings.AxesB = b;
}

void WorksheetWindow::PresetPlotColor(int plot) {
  if (plot < 1 || plot > ms::kPlotColorCount) return;
  // A cancel keeps the curve's colour.
  if (ChooseColor(ms::Settings.PlotColor[plot])) {
    ms::Settings.PlotColorUsed[plot] = ms::Settings.PlotColor[plot];
  }
  ms::Settings.ColorChanged = -1;
}

}  // namespace ws
