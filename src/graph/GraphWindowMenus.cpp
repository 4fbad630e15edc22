// The graph window's option menus: colours of the curves, the axes and the XY plane through the
// colour chooser, the axes, XY plane and box switches, the arrow-key angle step, the dot spacing
// and marker symbol along curves, the colour coding of families of curves and the printer pen.
// Items that change what is built into the scene rebuild it; the others only move check marks.
// Items that rebuild are dropped while a build or a family or animation loop is under way (the
// commands and the loops let events run).
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "graph/ContourProgressWindow.h"
#include "graph/DisplaySettingsDialog.h"
#include "graph/DotSpacingDialog.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "platform/ui/UiServices.h"
#include "plotting/SceneStore.h"

namespace gr {

namespace {

// Angle steps of the arrow keys (radians): one and two degrees.
constexpr double kOneDegree = 3.1415926536 / 180;
constexpr double kTwoDegrees = 6.2831853072 / 180;

// Draw widths of the window's own pen for the two printer pens. The window's pen is not the
// picture's: the picture keeps drawing one-pixel lines, the printer takes its width from the pen
// flag.
constexpr int kFineDrawWidth = 1;
constexpr int kMediumDrawWidth = 4;

// A checkable item has already moved its own check mark when its handler runs; the handlers
// below decide every mark themselves from the state the user clicked on, so the move is undone
// first.
template <typename Handler>
void ConnectItem(QAction* item, QObject* context, Handler handler) {
  if (item == nullptr) return;
  QObject::connect(item, &QAction::triggered, context, [item, handler] {
    if (item->isCheckable()) item->setChecked(!item->isChecked());
    handler();
  });
}

QAction* CheckableItem(QMenu* menu, const QString& caption, const char* name) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QString::fromLatin1(name));
  item->setCheckable(true);
  return item;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Menu items

void GraphWindow::BuildOptionMenus() {
  // "BVP scan Color?" holds its two answers already; they get their names and marks.
  const QList<QAction*> answers = mnuBVPcolor->actions();
  if (answers.size() >= 2) {
    mnuBVPyes = answers[0];
    mnuBVPno = answers[1];
    mnuBVPyes->setObjectName(QStringLiteral("mnuBVPyes"));
    mnuBVPno->setObjectName(QStringLiteral("mnuBVPno"));
    mnuBVPyes->setCheckable(true);
    mnuBVPno->setCheckable(true);
    mnuBVPyes->setChecked(ms::Settings.BVPScanColor != 0);
    mnuBVPno->setChecked(ms::Settings.BVPScanColor == 0);
  }

  // The spacings follow the symbol submenu of "Dot n*dt Spacing".
  mnuDot10 = CheckableItem(mnuDotSpacing, QStringLiteral("10 Spacing"), "mnuDot10");
  mnuDot20 = CheckableItem(mnuDotSpacing, QStringLiteral("20 Spacing"), "mnuDot20");
  mnuDot50 = CheckableItem(mnuDotSpacing, QStringLiteral("50 Spacing"), "mnuDot50");
  mnuDot100 = CheckableItem(mnuDotSpacing, QStringLiteral("100 Spacing"), "mnuDot100");
  mnuDotSpacing->addSeparator();
  mnuCustom = CheckableItem(mnuDotSpacing, QStringLiteral("Custom"), "mnuCustom");

  // "Color Code Plots?" stands in the "Family of Curves" menu between "Set Up" and "Generate
  // Curves"; the menu is created here when the families' items have not created it.
  if (mnuFamily == nullptr) mnuFamily = menuBar()->addMenu(QStringLiteral("Family of Curves"));
  mnuColorCode = new QMenu(QStringLiteral("Color Code Plots?"), mnuFamily);
  if (mnuPlotSet != nullptr && mnuFamily->actions().contains(mnuPlotSet)) {
    mnuFamily->insertMenu(mnuPlotSet, mnuColorCode);
  } else {
    mnuFamily->addMenu(mnuColorCode);
  }
  mnuColorCode->setObjectName(QStringLiteral("mnuColorCode"));
  mnuCodeYes = CheckableItem(mnuColorCode, QStringLiteral("Yes"), "mnuCodeYes");
  mnuCodeNo = CheckableItem(mnuColorCode, QStringLiteral("No"), "mnuCodeNo");
  mnuCodeYes->setChecked(true);

  for (int k = 0; k < 6; ++k) {
    ConnectItem(mnuPlot[static_cast<size_t>(k)], this, [this, k] { mnuPlot_Click(k + 1); });
  }
  ConnectItem(mnuPlotIVPColor, this, [this] { mnuPlotIVPColor_Click(); });
  ConnectItem(mnuBVPyes, this, [this] { mnuBVPyes_Click(); });
  ConnectItem(mnuBVPno, this, [this] { mnuBVPno_Click(); });
  ConnectItem(mnuIntegColor, this, [this] { mnuIntegColor_Click(); });
  ConnectItem(mnuXYPlane, this, [this] { mnuXYPlane_Click(); });
  ConnectItem(mnuAxes, this, [this] { mnuAxes_Click(); });
  ConnectItem(mnuDisplayAxes, this, [this] { mnuDisplayAxes_Click(); });
  ConnectItem(mnuXY, this, [this] { mnuXY_Click(); });
  ConnectItem(mnu1Deg, this, [this] { mnu1Deg_Click(); });
  ConnectItem(mnu2Deg, this, [this] { mnu2Deg_Click(); });
  ConnectItem(mnuYes, this, [this] { mnuYes_Click(); });
  ConnectItem(mnuNo, this, [this] { mnuNo_Click(); });
  ConnectItem(mnuDotNone, this, [this] { mnuDotNone_Click(); });
  ConnectItem(mnuDot10, this, [this] { mnuDot_Click(10); });
  ConnectItem(mnuDot20, this, [this] { mnuDot_Click(20); });
  ConnectItem(mnuDot50, this, [this] { mnuDot_Click(50); });
  ConnectItem(mnuDot100, this, [this] { mnuDot_Click(100); });
  ConnectItem(mnuCustom, this, [this] { mnuCustom_Click(); });
  for (QAction* symbol : {mnuOSymbol, mnuPSymbol, mnuXSymbol}) {
    ConnectItem(symbol, this, [this, symbol] { mnuSymbol_Click(symbol); });
  }
  ConnectItem(mnuCodeYes, this, [this] { mnuCodeYes_Click(); });
  ConnectItem(mnuCodeNo, this, [this] { mnuCodeNo_Click(); });
  ConnectItem(mnuFine, this, [this] { mnuFine_Click(); });
  ConnectItem(mnuMedium, this, [this] { mnuMedium_Click(); });
}

// ---------------------------------------------------------------------------------------------
// Colour chooser

bool GraphWindow::ProcessColor(int32_t& color) {
  int32_t chosen = dialogColor_;
  if (!ui::Ui().ColorDialog(dialogColor_, chosen)) return false;
  dialogColor_ = chosen;
  color = chosen;
  return true;
}

bool GraphWindow::PresetColor(int32_t& color) {
  // The colour dialog opens directly, starting from black as the chooser of a freshly loaded
  // graph window does. The graph window is not loaded for it: a load would build the pending
  // requests (solve, trace, show their messages) in the middle of picking a colour.
  int32_t chosen = 0;
  if (!ui::Ui().ColorDialog(0, chosen)) return false;
  color = chosen;
  return true;
}

void GraphWindow::RebuildFromStore() {
  ms::RunFlags.Replot = -1;
  // Curves are counted from the first again, so that each keeps its own arrow mark.
  ms::CurveWork.ArrowFlagPos = 0;
  GenerateData();
}

// ---------------------------------------------------------------------------------------------
// "Color Options"

// A cancelled dialog leaves the curve colour as it is: the chosen-colour copy is 0 after every
// Execute and load, and taking it would turn the curve black.
void GraphWindow::mnuPlot_Click(int plot) {
  if (building_ || LoopRunning() || plot < 1 || plot > ms::kPlotColorCount) return;
  const auto k = static_cast<size_t>(plot);
  if (ProcessColor(ms::Settings.PlotColor[k])) {
    ms::Settings.PlotColorUsed[k] = ms::Settings.PlotColor[k];
  }
  ms::Settings.ColorChanged = -1;
  RebuildFromStore();
}

void GraphWindow::mnuPlotIVPColor_Click() {
  if (building_ || LoopRunning()) return;
  SetMenuEnabled(mnuBVPcolor, false);
  colours_.bvpTrials = false;
  ProcessColor(ms::Settings.IVPColor);
  ms::Settings.IVPColorUsed = ms::Settings.IVPColor;
  ms::Settings.ColorChanged = -1;
  RebuildFromStore();
}

void GraphWindow::mnuBVPyes_Click() {
  if (building_ || LoopRunning()) return;
  ms::Settings.BVPScanColor = -1;
  mnuBVPyes->setChecked(true);
  mnuBVPno->setChecked(false);
  colours_.ivpSolution = false;
  mnuPlotIVPColor->setEnabled(false);
  RebuildFromStore();
}

void GraphWindow::mnuBVPno_Click() {
  if (building_ || LoopRunning()) return;
  ms::Settings.BVPScanColor = 0;
  mnuBVPno->setChecked(true);
  mnuBVPyes->setChecked(false);
  colours_.ivpSolution = false;
  mnuPlotIVPColor->setEnabled(false);
  RebuildFromStore();
}

void GraphWindow::mnuIntegColor_Click() {
  if (building_ || LoopRunning()) return;
  ProcessColor(ms::Settings.IntegColor);
  ms::Settings.IntegColorUsed = ms::Settings.IntegColor;
  ms::Settings.ColorChanged = -1;
  RebuildFromStore();
}

void GraphWindow::mnuXYPlane_Click() {
  if (building_ || LoopRunning() || !mnuXY->isChecked()) return;
  ProcessColor(ms::Settings.XYPlaneColor);
  RebuildFromStore();
}

void GraphWindow::mnuAxes_Click() {
  if (building_ || LoopRunning()) return;
  ProcessColor(ms::Settings.AxesColor);
  int r = 0, g = 0, b = 0;
  rt::SplitRGB(ms::Settings.AxesColor, r, g, b);
  Graph.AxesRGBChosen = {r, g, b};
  ms::Settings.AxesR = r;
  ms::Settings.AxesG = g;
  ms::Settings.AxesB = b;
  RebuildFromStore();
}

// ---------------------------------------------------------------------------------------------
// "Axes Options"

void GraphWindow::mnuDisplayAxes_Click() {
  if (building_ || LoopRunning()) return;
  const bool show = Graph.ShowAxes == 0;
  Graph.ShowAxes = show ? -1 : 0;
  mnuDisplayAxes->setChecked(show);
  mnuXY->setEnabled(show);
  mnuXYPlane->setEnabled(show);
  mnuAxes->setEnabled(show);
  mnuXY->setChecked(show);
  RebuildFromStore();
}

void GraphWindow::mnuXY_Click() {
  if (building_ || LoopRunning()) return;
  const bool check = !mnuXY->isChecked();
  mnuXY->setChecked(check);
  mnuXYPlane->setEnabled(check);
  RebuildFromStore();
}

// ---------------------------------------------------------------------------------------------
// "Display Options"

void GraphWindow::mnu1Deg_Click() {
  if (!mnu2Deg->isChecked()) return;
  mnu2Deg->setChecked(false);
  mnu1Deg->setChecked(true);
  ms::View.AngleStep = kOneDegree;
}

void GraphWindow::mnu2Deg_Click() {
  if (!mnu1Deg->isChecked()) return;
  mnu1Deg->setChecked(false);
  ms::View.AngleStep = kTwoDegrees;
  mnu2Deg->setChecked(true);
}

void GraphWindow::mnuYes_Click() {
  if (building_ || LoopRunning()) return;
  mnuYes->setChecked(true);
  mnuNo->setChecked(false);
  ms::View.ShowBox = -1;
  GenerateData();
}

void GraphWindow::mnuNo_Click() {
  if (building_ || LoopRunning()) return;
  mnuNo->setChecked(true);
  mnuYes->setChecked(false);
  ms::View.ShowBox = 0;
  GenerateData();
}

void GraphWindow::mnuDotNone_Click() {
  if (building_ || LoopRunning()) return;
  ms::CurveWork.DotSpacingOn = 0;
  mnuDotNone->setChecked(true);
  for (QAction* item : {mnuDot10, mnuDot20, mnuDot50, mnuDot100, mnuCustom}) {
    item->setChecked(false);
  }
  ms::ClearSegmentMarks();
  RebuildFromStore();
}

void GraphWindow::mnuDot_Click(int spacing) {
  if (building_ || LoopRunning()) return;
  const std::array<std::pair<QAction*, int>, 4> items = {
      {{mnuDot10, 10}, {mnuDot20, 20}, {mnuDot50, 50}, {mnuDot100, 100}}};
  QAction* chosen = nullptr;
  for (const auto& [item, value] : items) {
    if (value == spacing) chosen = item;
  }
  if (chosen == nullptr) return;
  mnuDotNone->setChecked(false);
  ms::CurveWork.DotSpacing = static_cast<int16_t>(spacing);
  ms::CurveWork.DotSpacingOn = -1;
  for (const auto& [item, value] : items) item->setChecked(item == chosen);
  mnuCustom->setChecked(false);
  ms::ClearSegmentMarks();
  RebuildFromStore();
}

void GraphWindow::mnuCustom_Click() {
  if (building_ || LoopRunning()) return;
  ms::CurveWork.DotSpacingOn = -1;
  for (QAction* item : {mnuDotNone, mnuDot10, mnuDot20, mnuDot50, mnuDot100}) {
    item->setChecked(false);
  }
  mnuCustom->setChecked(true);
  ms::ClearSegmentMarks();
  ShowDotSpacingModal(this);
  RebuildFromStore();
}

void GraphWindow::mnuSymbol_Click(QAction* symbol) {
  if (building_ || LoopRunning()) return;
  if (symbol != mnuOSymbol && symbol != mnuPSymbol && symbol != mnuXSymbol) return;
  for (QAction* item : {mnuOSymbol, mnuPSymbol, mnuXSymbol}) item->setChecked(item == symbol);
  ms::ClearSegmentMarks();
  RebuildFromStore();
}

// ---------------------------------------------------------------------------------------------
// "Family of Curves" colour coding and the printer pen

void GraphWindow::mnuCodeYes_Click() {
  ms::CurveWork.FamilyColorCode = -1;
  mnuCodeYes->setChecked(true);
  mnuCodeNo->setChecked(false);
}

void GraphWindow::mnuCodeNo_Click() {
  ms::CurveWork.FamilyColorCode = 0;
  mnuCodeNo->setChecked(true);
  mnuCodeYes->setChecked(false);
}

void GraphWindow::mnuFine_Click() {
  Graph.FinePen = -1;
  drawWidth_ = kFineDrawWidth;
  mnuFine->setChecked(true);
  mnuMedium->setChecked(false);
}

void GraphWindow::mnuMedium_Click() {
  Graph.FinePen = 0;
  drawWidth_ = kMediumDrawWidth;
  mnuMedium->setChecked(true);
  mnuFine->setChecked(false);
}

}  // namespace gr
