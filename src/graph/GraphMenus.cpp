// The graph window's option menus: colours of the curves, the axes and the XY plane through the
// colour chooser, the axes, XY plane and box switches, the arrow-key angle step, the dot spacing
// and marker symbol along curves, the colour coding of families of curves and the printer pen.
// Items that change what is built into the scene rebuild it; the others only move check marks.
// Items that rebuild are dropped while a build or a family or animation loop is under way (the
// commands and the loops let events run).
#include "graph/GraphMenus.h"

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

void GraphMenus::BuildOptionMenus() {
  // "BVP scan Color?" holds its two answers already; they get their names and marks.
  const QList<QAction*> answers = w_.mnuBVPcolor->actions();
  if (answers.size() >= 2) {
    w_.mnuBVPyes = answers[0];
    w_.mnuBVPno = answers[1];
    w_.mnuBVPyes->setObjectName(QStringLiteral("mnuBVPyes"));
    w_.mnuBVPno->setObjectName(QStringLiteral("mnuBVPno"));
    w_.mnuBVPyes->setCheckable(true);
    w_.mnuBVPno->setCheckable(true);
    w_.mnuBVPyes->setChecked(ms::Settings.BVPScanColor != 0);
    w_.mnuBVPno->setChecked(ms::Settings.BVPScanColor == 0);
  }

  // The spacings follow the symbol submenu of "Dot n*dt Spacing".
  w_.mnuDot10 = CheckableItem(w_.mnuDotSpacing, QStringLiteral("10 Spacing"), "mnuDot10");
  w_.mnuDot20 = CheckableItem(w_.mnuDotSpacing, QStringLiteral("20 Spacing"), "mnuDot20");
  w_.mnuDot50 = CheckableItem(w_.mnuDotSpacing, QStringLiteral("50 Spacing"), "mnuDot50");
  w_.mnuDot100 = CheckableItem(w_.mnuDotSpacing, QStringLiteral("100 Spacing"), "mnuDot100");
  w_.mnuDotSpacing->addSeparator();
  w_.mnuCustom = CheckableItem(w_.mnuDotSpacing, QStringLiteral("Custom"), "mnuCustom");

  // "Color Code Plots?" stands in the "Family of Curves" menu between "Set Up" and "Generate
  // Curves"; the menu is created here when the families' items have not created it.
  if (w_.mnuFamily == nullptr)
    w_.mnuFamily = w_.menuBar()->addMenu(QStringLiteral("Family of Curves"));
  w_.mnuColorCode = new QMenu(QStringLiteral("Color Code Plots?"), w_.mnuFamily);
  if (w_.mnuPlotSet != nullptr && w_.mnuFamily->actions().contains(w_.mnuPlotSet)) {
    w_.mnuFamily->insertMenu(w_.mnuPlotSet, w_.mnuColorCode);
  } else {
    w_.mnuFamily->addMenu(w_.mnuColorCode);
  }
  w_.mnuColorCode->setObjectName(QStringLiteral("mnuColorCode"));
  w_.mnuCodeYes = CheckableItem(w_.mnuColorCode, QStringLiteral("Yes"), "mnuCodeYes");
  w_.mnuCodeNo = CheckableItem(w_.mnuColorCode, QStringLiteral("No"), "mnuCodeNo");
  w_.mnuCodeYes->setChecked(true);

  for (int k = 0; k < 6; ++k) {
    ConnectItem(w_.mnuPlot[static_cast<size_t>(k)], &w_, [this, k] { mnuPlot_Click(k + 1); });
  }
  ConnectItem(w_.mnuPlotIVPColor, &w_, [this] { mnuPlotIVPColor_Click(); });
  ConnectItem(w_.mnuBVPyes, &w_, [this] { mnuBVPyes_Click(); });
  ConnectItem(w_.mnuBVPno, &w_, [this] { mnuBVPno_Click(); });
  ConnectItem(w_.mnuIntegColor, &w_, [this] { mnuIntegColor_Click(); });
  ConnectItem(w_.mnuXYPlane, &w_, [this] { mnuXYPlane_Click(); });
  ConnectItem(w_.mnuAxes, &w_, [this] { mnuAxes_Click(); });
  ConnectItem(w_.mnuDisplayAxes, &w_, [this] { mnuDisplayAxes_Click(); });
  ConnectItem(w_.mnuXY, &w_, [this] { mnuXY_Click(); });
  ConnectItem(w_.mnu1Deg, &w_, [this] { mnu1Deg_Click(); });
  ConnectItem(w_.mnu2Deg, &w_, [this] { mnu2Deg_Click(); });
  ConnectItem(w_.mnuYes, &w_, [this] { mnuYes_Click(); });
  ConnectItem(w_.mnuNo, &w_, [this] { mnuNo_Click(); });
  ConnectItem(w_.mnuDotNone, &w_, [this] { mnuDotNone_Click(); });
  ConnectItem(w_.mnuDot10, &w_, [this] { mnuDot_Click(10); });
  ConnectItem(w_.mnuDot20, &w_, [this] { mnuDot_Click(20); });
  ConnectItem(w_.mnuDot50, &w_, [this] { mnuDot_Click(50); });
  ConnectItem(w_.mnuDot100, &w_, [this] { mnuDot_Click(100); });
  ConnectItem(w_.mnuCustom, &w_, [this] { mnuCustom_Click(); });
  for (QAction* symbol : {w_.mnuOSymbol, w_.mnuPSymbol, w_.mnuXSymbol}) {
    ConnectItem(symbol, &w_, [this, symbol] { mnuSymbol_Click(symbol); });
  }
  ConnectItem(w_.mnuCodeYes, &w_, [this] { mnuCodeYes_Click(); });
  ConnectItem(w_.mnuCodeNo, &w_, [this] { mnuCodeNo_Click(); });
  ConnectItem(w_.mnuFine, &w_, [this] { mnuFine_Click(); });
  ConnectItem(w_.mnuMedium, &w_, [this] { mnuMedium_Click(); });
}

// ---------------------------------------------------------------------------------------------
// Colour chooser

bool GraphMenus::ProcessColor(int32_t& color) {
  int32_t chosen = dialogColor_;
  if (!ui::Ui().ColorDialog(dialogColor_, chosen)) return false;
  dialogColor_ = chosen;
  color = chosen;
  return true;
}

void GraphMenus::RebuildFromStore() {
  ms::RunFlags.Replot = -1;
  // Curves are counted from the first again, so that each keeps its own arrow mark.
  ms::CurveWork.ArrowFlagPos = 0;
  w_.GenerateData();
}

// ---------------------------------------------------------------------------------------------
// "Color Options"

// A cancelled dialog leaves the curve colour as it is: the chosen-colour copy is 0 after every
// Execute and load, and taking it would turn the curve black.
void GraphMenus::mnuPlot_Click(int plot) {
  if (w_.building_ || w_.LoopRunning() || plot < 1 || plot > ms::kPlotColorCount) return;
  const auto k = static_cast<size_t>(plot);
  if (ProcessColor(ms::Settings.PlotColor[k])) {
    ms::Settings.PlotColorUsed[k] = ms::Settings.PlotColor[k];
  }
  ms::Settings.ColorChanged = -1;
  RebuildFromStore();
}

void GraphMenus::mnuPlotIVPColor_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  w_.SetMenuEnabled(w_.mnuBVPcolor, false);
  colours_.bvpTrials = false;
  ProcessColor(ms::Settings.IVPColor);
  ms::Settings.IVPColorUsed = ms::Settings.IVPColor;
  ms::Settings.ColorChanged = -1;
  RebuildFromStore();
}

void GraphMenus::mnuBVPyes_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  ms::Settings.BVPScanColor = -1;
  w_.mnuBVPyes->setChecked(true);
  w_.mnuBVPno->setChecked(false);
  colours_.ivpSolution = false;
  w_.mnuPlotIVPColor->setEnabled(false);
  RebuildFromStore();
}

void GraphMenus::mnuBVPno_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  ms::Settings.BVPScanColor = 0;
  w_.mnuBVPno->setChecked(true);
  w_.mnuBVPyes->setChecked(false);
  colours_.ivpSolution = false;
  w_.mnuPlotIVPColor->setEnabled(false);
  RebuildFromStore();
}

void GraphMenus::mnuIntegColor_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  ProcessColor(ms::Settings.IntegColor);
  ms::Settings.IntegColorUsed = ms::Settings.IntegColor;
  ms::Settings.ColorChanged = -1;
  RebuildFromStore();
}

void GraphMenus::mnuXYPlane_Click() {
  if (w_.building_ || w_.LoopRunning() || !w_.mnuXY->isChecked()) return;
  ProcessColor(ms::Settings.XYPlaneColor);
  RebuildFromStore();
}

void GraphMenus::mnuAxes_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
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

void GraphMenus::mnuDisplayAxes_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  const bool show = Graph.ShowAxes == 0;
  Graph.ShowAxes = show ? -1 : 0;
  w_.mnuDisplayAxes->setChecked(show);
  w_.mnuXY->setEnabled(show);
  w_.mnuXYPlane->setEnabled(show);
  w_.mnuAxes->setEnabled(show);
  w_.mnuXY->setChecked(show);
  RebuildFromStore();
}

void GraphMenus::mnuXY_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  const bool check = !w_.mnuXY->isChecked();
  w_.mnuXY->setChecked(check);
  w_.mnuXYPlane->setEnabled(check);
  RebuildFromStore();
}

// ---------------------------------------------------------------------------------------------
// "Display Options"

void GraphMenus::mnu1Deg_Click() {
  if (!w_.mnu2Deg->isChecked()) return;
  w_.mnu2Deg->setChecked(false);
  w_.mnu1Deg->setChecked(true);
  ms::View.AngleStep = kOneDegree;
}

void GraphMenus::mnu2Deg_Click() {
  if (!w_.mnu1Deg->isChecked()) return;
  w_.mnu1Deg->setChecked(false);
  ms::View.AngleStep = kTwoDegrees;
  w_.mnu2Deg->setChecked(true);
}

void GraphMenus::mnuYes_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  w_.mnuYes->setChecked(true);
  w_.mnuNo->setChecked(false);
  ms::View.ShowBox = -1;
  w_.GenerateData();
}

void GraphMenus::mnuNo_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  w_.mnuNo->setChecked(true);
  w_.mnuYes->setChecked(false);
  ms::View.ShowBox = 0;
  w_.GenerateData();
}

void GraphMenus::mnuDotNone_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  ms::CurveWork.DotSpacingOn = 0;
  w_.mnuDotNone->setChecked(true);
  for (QAction* item : {w_.mnuDot10, w_.mnuDot20, w_.mnuDot50, w_.mnuDot100, w_.mnuCustom}) {
    item->setChecked(false);
  }
  ms::ClearSegmentMarks();
  RebuildFromStore();
}

void GraphMenus::mnuDot_Click(int spacing) {
  if (w_.building_ || w_.LoopRunning()) return;
  const std::array<std::pair<QAction*, int>, 4> items = {
      {{w_.mnuDot10, 10}, {w_.mnuDot20, 20}, {w_.mnuDot50, 50}, {w_.mnuDot100, 100}}};
  QAction* chosen = nullptr;
  for (const auto& [item, value] : items) {
    if (value == spacing) chosen = item;
  }
  if (chosen == nullptr) return;
  w_.mnuDotNone->setChecked(false);
  ms::CurveWork.DotSpacing = static_cast<int16_t>(spacing);
  ms::CurveWork.DotSpacingOn = -1;
  for (const auto& [item, value] : items) item->setChecked(item == chosen);
  w_.mnuCustom->setChecked(false);
  ms::ClearSegmentMarks();
  RebuildFromStore();
}

void GraphMenus::mnuCustom_Click() {
  if (w_.building_ || w_.LoopRunning()) return;
  ms::CurveWork.DotSpacingOn = -1;
  for (QAction* item : {w_.mnuDotNone, w_.mnuDot10, w_.mnuDot20, w_.mnuDot50, w_.mnuDot100}) {
    item->setChecked(false);
  }
  w_.mnuCustom->setChecked(true);
  ms::ClearSegmentMarks();
  ShowDotSpacingModal(&w_);
  RebuildFromStore();
}

void GraphMenus::mnuSymbol_Click(QAction* symbol) {
  if (w_.building_ || w_.LoopRunning()) return;
  if (symbol != w_.mnuOSymbol && symbol != w_.mnuPSymbol && symbol != w_.mnuXSymbol) return;
  for (QAction* item : {w_.mnuOSymbol, w_.mnuPSymbol, w_.mnuXSymbol})
    item->setChecked(item == symbol);
  ms::ClearSegmentMarks();
  RebuildFromStore();
}

// ---------------------------------------------------------------------------------------------
// "Family of Curves" colour coding and the printer pen

void GraphMenus::mnuCodeYes_Click() {
  ms::CurveWork.FamilyColorCode = -1;
  w_.mnuCodeYes->setChecked(true);
  w_.mnuCodeNo->setChecked(false);
}

void GraphMenus::mnuCodeNo_Click() {
  ms::CurveWork.FamilyColorCode = 0;
  w_.mnuCodeNo->setChecked(true);
  w_.mnuCodeYes->setChecked(false);
}

void GraphMenus::mnuFine_Click() {
  Graph.FinePen = -1;
  w_.drawWidth_ = kFineDrawWidth;
  w_.mnuFine->setChecked(true);
  w_.mnuMedium->setChecked(false);
}

void GraphMenus::mnuMedium_Click() {
  Graph.FinePen = 0;
  w_.drawWidth_ = kMediumDrawWidth;
  w_.mnuMedium->setChecked(true);
  w_.mnuFine->setChecked(false);
}

// The check marks and enabled items as the window loads; no box around the picture.
void GraphMenus::ResetItemsForLoad() {
  w_.mnuXY->setChecked(true);
  w_.mnuXY->setEnabled(true);
  w_.mnuXYPlane->setEnabled(true);
  w_.SetMenuEnabled(w_.mnuAxis, true);
  w_.mnuXYPlane->setChecked(false);
  w_.mnuDisplayAxes->setChecked(true);
  w_.mnuOSymbol->setChecked(true);
  w_.SetMenuEnabled(w_.mnuDotSpacing, false);
  w_.mnuDotNone->setChecked(true);
  w_.mnuFine->setChecked(false);
  w_.mnuMedium->setChecked(true);
  w_.mnu2Deg->setChecked(true);
  w_.mnu1Deg->setChecked(false);
  ms::View.ShowBox = 0;
  SetBoxEnabled(false);
}

}  // namespace gr
