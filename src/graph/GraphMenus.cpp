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
#include <utility>

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

QAction* CheckableItem(QMenu* menu, const QString& caption, const char* name) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QString::fromLatin1(name));
  item->setCheckable(true);
  return item;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Menu items

void ConnectMenuItem(QAction* item, QObject* context, const std::function<void()>& handler) {
  if (item == nullptr) return;
  QObject::connect(item, &QAction::triggered, context, [item, handler] {
    if (item->isCheckable()) item->setChecked(!item->isChecked());
    handler();
  });
}

void GraphMenus::InitMenus(QMenuBar* bar) {
  InitColourMenu(bar);
  mnuAxis = bar->addMenu(QStringLiteral("Axes Options"));
  mnuDisplayAxes = mnuAxis->addAction(QStringLiteral("Diisplay Axes"));
  mnuDisplayAxes->setCheckable(true);
  mnuXY = mnuAxis->addAction(QStringLiteral("XY-Plane"));
  mnuXY->setCheckable(true);
  mnuData = bar->addAction(QStringLiteral("Display Data"));
  QObject::connect(mnuData, &QAction::triggered, &w_, [] { ShowSetDisplay(); });
  InitDisplayMenu(bar);
  NameItems();
  ConnectItems();
}

// Every menu and item answers to its design name, as the window's controls do.
void GraphMenus::NameItems() {
  const std::pair<QObject*, const char*> names[] = {
      {mnuPlotIVPColor, "mnuPlotIVPColor"},
      {mnuBVPcolor, "mnuBVPcolor"},
      {mnuIntegColor, "mnuIntegColor"},
      {mnuXYPlane, "mnuXYPlane"},
      {mnuAxes, "mnuAxes"},
      {mnuAxis, "mnuAxis"},
      {mnuDisplayAxes, "mnuDisplayAxes"},
      {mnuXY, "mnuXY"},
      {mnuData, "mnuData"},
      {mnuOptions, "mnuOptions"},
      {mnuInc, "mnuInc"},
      {mnu1Deg, "mnu1Deg"},
      {mnu2Deg, "mnu2Deg"},
      {mnuBox, "mnuBox"},
      {mnuYes, "mnuYes"},
      {mnuNo, "mnuNo"},
      {mnuDotSpacing, "mnuDotSpacing"},
      {mnuDotNone, "mnuDotNone"},
      {mnuOSymbol, "mnuOSymbol"},
      {mnuPSymbol, "mnuPSymbol"},
      {mnuXSymbol, "mnuXSymbol"},
  };
  for (const auto& [item, name] : names) item->setObjectName(QString::fromLatin1(name));
}

void GraphMenus::InitColourMenu(QMenuBar* bar) {
  QMenu* color = bar->addMenu(QStringLiteral("Color Options"));
  QMenu* plot = color->addMenu(QStringLiteral("Plot Number"));
  color->setObjectName(QStringLiteral("mnuColor"));
  plot->setObjectName(QStringLiteral("mnuPlot"));
  for (int k = 0; k < 6; ++k) {
    mnuPlot[k] = plot->addAction(QStringLiteral("#%1").arg(k + 1));
    mnuPlot[k]->setObjectName(k == 2 ? QStringLiteral("mnuPLot3")
                                     : QStringLiteral("mnuPlot%1").arg(k + 1));
  }
  Dash3 = plot->addSeparator();
  Dash3->setEnabled(false);
  mnuPlotIVPColor = plot->addAction(QStringLiteral("IVP/BVP Color"));
  mnuBVPcolor = plot->addMenu(QStringLiteral("BVP scan Color?"));
  mnuBVPyes = CheckableItem(mnuBVPcolor, QStringLiteral("Yes"), "mnuBVPyes");
  mnuBVPno = CheckableItem(mnuBVPcolor, QStringLiteral("No"), "mnuBVPno");
  mnuBVPyes->setChecked(ms::Settings.BVPScanColor != 0);
  mnuBVPno->setChecked(ms::Settings.BVPScanColor == 0);
  mnuIntegColor = plot->addAction(QStringLiteral("Integral Color"));
  mnuXYPlane = color->addAction(QStringLiteral("Color XY Plane"));
  mnuXYPlane->setCheckable(true);
  mnuAxes = color->addAction(QStringLiteral("Color Axes"));
}

// "Display Options": the angle step of the arrow keys, the box, and the dot spacing with its
// marker symbol.
void GraphMenus::InitDisplayMenu(QMenuBar* bar) {
  mnuOptions = bar->addMenu(QStringLiteral("Display Options"));
  mnuInc = mnuOptions->addMenu(QStringLiteral("Angle Increments"));
  mnu1Deg = mnuInc->addAction(QStringLiteral("1 \u00B0"));
  mnu2Deg = mnuInc->addAction(QStringLiteral("2 \u00B0"));
  mnuBox = mnuOptions->addMenu(QStringLiteral("Box ?"));
  mnuYes = mnuBox->addAction(QStringLiteral("Yes"));
  mnuNo = mnuBox->addAction(QStringLiteral("No"));
  mnuBox->menuAction()->setEnabled(false);
  mnuDotSpacing = mnuOptions->addMenu(QStringLiteral("Dot n*dt Spacing"));
  mnuDotNone = mnuDotSpacing->addAction(QStringLiteral("None"));
  mnuDotSpacing->addSeparator();
  QMenu* symbol = mnuDotSpacing->addMenu(QStringLiteral("Symbol?"));
  symbol->setObjectName(QStringLiteral("mnuSymbol"));
  mnuOSymbol = symbol->addAction(QStringLiteral("0 symbol"));
  mnuPSymbol = symbol->addAction(QStringLiteral("+ symbol"));
  mnuXSymbol = symbol->addAction(QStringLiteral("X Symbol"));
  for (QAction* a :
       {mnu1Deg, mnu2Deg, mnuYes, mnuNo, mnuDotNone, mnuOSymbol, mnuPSymbol, mnuXSymbol}) {
    a->setCheckable(true);
  }
  // The spacings follow the symbol submenu.
  mnuDot10 = CheckableItem(mnuDotSpacing, QStringLiteral("10 Spacing"), "mnuDot10");
  mnuDot20 = CheckableItem(mnuDotSpacing, QStringLiteral("20 Spacing"), "mnuDot20");
  mnuDot50 = CheckableItem(mnuDotSpacing, QStringLiteral("50 Spacing"), "mnuDot50");
  mnuDot100 = CheckableItem(mnuDotSpacing, QStringLiteral("100 Spacing"), "mnuDot100");
  mnuDotSpacing->addSeparator();
  mnuCustom = CheckableItem(mnuDotSpacing, QStringLiteral("Custom"), "mnuCustom");
}

void GraphMenus::ConnectItems() {
  for (int k = 0; k < 6; ++k) {
    ConnectMenuItem(mnuPlot[static_cast<size_t>(k)], &w_, [this, k] { mnuPlot_Click(k + 1); });
  }
  ConnectMenuItem(mnuPlotIVPColor, &w_, [this] { mnuPlotIVPColor_Click(); });
  ConnectMenuItem(mnuBVPyes, &w_, [this] { mnuBVPyes_Click(); });
  ConnectMenuItem(mnuBVPno, &w_, [this] { mnuBVPno_Click(); });
  ConnectMenuItem(mnuIntegColor, &w_, [this] { mnuIntegColor_Click(); });
  ConnectMenuItem(mnuXYPlane, &w_, [this] { mnuXYPlane_Click(); });
  ConnectMenuItem(mnuAxes, &w_, [this] { mnuAxes_Click(); });
  ConnectMenuItem(mnuDisplayAxes, &w_, [this] { mnuDisplayAxes_Click(); });
  ConnectMenuItem(mnuXY, &w_, [this] { mnuXY_Click(); });
  ConnectMenuItem(mnu1Deg, &w_, [this] { mnu1Deg_Click(); });
  ConnectMenuItem(mnu2Deg, &w_, [this] { mnu2Deg_Click(); });
  ConnectMenuItem(mnuYes, &w_, [this] { mnuYes_Click(); });
  ConnectMenuItem(mnuNo, &w_, [this] { mnuNo_Click(); });
  ConnectMenuItem(mnuDotNone, &w_, [this] { mnuDotNone_Click(); });
  ConnectMenuItem(mnuDot10, &w_, [this] { mnuDot_Click(10); });
  ConnectMenuItem(mnuDot20, &w_, [this] { mnuDot_Click(20); });
  ConnectMenuItem(mnuDot50, &w_, [this] { mnuDot_Click(50); });
  ConnectMenuItem(mnuDot100, &w_, [this] { mnuDot_Click(100); });
  ConnectMenuItem(mnuCustom, &w_, [this] { mnuCustom_Click(); });
  for (QAction* symbol : {mnuOSymbol, mnuPSymbol, mnuXSymbol}) {
    ConnectMenuItem(symbol, &w_, [this, symbol] { mnuSymbol_Click(symbol); });
  }
}

bool GraphMenus::PlusSymbol() const {
  return mnuPSymbol->isChecked();
}

bool GraphMenus::CircleSymbol() const {
  return mnuOSymbol->isChecked();
}

bool GraphMenus::NoDotSpacing() const {
  return mnuDotNone->isChecked();
}

bool GraphMenus::BvpTrialsPlain() const {
  return mnuBVPno->isChecked();
}

void GraphMenus::SetMenuEnabled(QAction* item, bool enabled) {
  if (item != nullptr) item->setEnabled(enabled);
}

void GraphMenus::SetMenuEnabled(QMenu* item, bool enabled) {
  if (item != nullptr) item->menuAction()->setEnabled(enabled);
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
  if (w_.Building() || w_.LoopRunning() || plot < 1 || plot > ms::kPlotColorCount) return;
  const auto k = static_cast<size_t>(plot);
  if (ProcessColor(ms::Settings.PlotColor[k])) {
    ms::Settings.PlotColorUsed[k] = ms::Settings.PlotColor[k];
  }
  ms::Settings.ColorChanged = -1;
  RebuildFromStore();
}

void GraphMenus::mnuPlotIVPColor_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
  SetMenuEnabled(mnuBVPcolor, false);
  colours_.bvpTrials = false;
  ProcessColor(ms::Settings.IVPColor);
  ms::Settings.IVPColorUsed = ms::Settings.IVPColor;
  ms::Settings.ColorChanged = -1;
  RebuildFromStore();
}

void GraphMenus::mnuBVPyes_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
  ms::Settings.BVPScanColor = -1;
  mnuBVPyes->setChecked(true);
  mnuBVPno->setChecked(false);
  colours_.ivpSolution = false;
  mnuPlotIVPColor->setEnabled(false);
  RebuildFromStore();
}

void GraphMenus::mnuBVPno_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
  ms::Settings.BVPScanColor = 0;
  mnuBVPno->setChecked(true);
  mnuBVPyes->setChecked(false);
  colours_.ivpSolution = false;
  mnuPlotIVPColor->setEnabled(false);
  RebuildFromStore();
}

void GraphMenus::mnuIntegColor_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
  ProcessColor(ms::Settings.IntegColor);
  ms::Settings.IntegColorUsed = ms::Settings.IntegColor;
  ms::Settings.ColorChanged = -1;
  RebuildFromStore();
}

void GraphMenus::mnuXYPlane_Click() {
  if (w_.Building() || w_.LoopRunning() || !mnuXY->isChecked()) return;
  ProcessColor(ms::Settings.XYPlaneColor);
  RebuildFromStore();
}

void GraphMenus::mnuAxes_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
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
  if (w_.Building() || w_.LoopRunning()) return;
  const bool show = Graph.ShowAxes == 0;
  Graph.ShowAxes = show ? -1 : 0;
  mnuDisplayAxes->setChecked(show);
  mnuXY->setEnabled(show);
  mnuXYPlane->setEnabled(show);
  mnuAxes->setEnabled(show);
  mnuXY->setChecked(show);
  RebuildFromStore();
}

void GraphMenus::mnuXY_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
  const bool check = !mnuXY->isChecked();
  mnuXY->setChecked(check);
  mnuXYPlane->setEnabled(check);
  RebuildFromStore();
}

// ---------------------------------------------------------------------------------------------
// "Display Options"

void GraphMenus::mnu1Deg_Click() {
  if (!mnu2Deg->isChecked()) return;
  mnu2Deg->setChecked(false);
  mnu1Deg->setChecked(true);
  ms::View.AngleStep = kOneDegree;
}

void GraphMenus::mnu2Deg_Click() {
  if (!mnu1Deg->isChecked()) return;
  mnu1Deg->setChecked(false);
  ms::View.AngleStep = kTwoDegrees;
  mnu2Deg->setChecked(true);
}

void GraphMenus::mnuYes_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
  mnuYes->setChecked(true);
  mnuNo->setChecked(false);
  ms::View.ShowBox = -1;
  w_.GenerateData();
}

void GraphMenus::mnuNo_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
  mnuNo->setChecked(true);
  mnuYes->setChecked(false);
  ms::View.ShowBox = 0;
  w_.GenerateData();
}

void GraphMenus::mnuDotNone_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
  ms::CurveWork.DotSpacingOn = 0;
  mnuDotNone->setChecked(true);
  for (QAction* item : {mnuDot10, mnuDot20, mnuDot50, mnuDot100, mnuCustom}) {
    item->setChecked(false);
  }
  ms::ClearSegmentMarks();
  RebuildFromStore();
}

void GraphMenus::mnuDot_Click(int spacing) {
  if (w_.Building() || w_.LoopRunning()) return;
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

void GraphMenus::mnuCustom_Click() {
  if (w_.Building() || w_.LoopRunning()) return;
  ms::CurveWork.DotSpacingOn = -1;
  for (QAction* item : {mnuDotNone, mnuDot10, mnuDot20, mnuDot50, mnuDot100}) {
    item->setChecked(false);
  }
  mnuCustom->setChecked(true);
  ms::ClearSegmentMarks();
  ShowDotSpacingModal(&w_);
  RebuildFromStore();
}

void GraphMenus::mnuSymbol_Click(QAction* symbol) {
  if (w_.Building() || w_.LoopRunning()) return;
  if (symbol != mnuOSymbol && symbol != mnuPSymbol && symbol != mnuXSymbol) return;
  for (QAction* item : {mnuOSymbol, mnuPSymbol, mnuXSymbol}) item->setChecked(item == symbol);
  ms::ClearSegmentMarks();
  RebuildFromStore();
}

// The check marks and enabled items as the window loads; no box around the picture.
void GraphMenus::ResetItemsForLoad() {
  mnuXY->setChecked(true);
  mnuXY->setEnabled(true);
  mnuXYPlane->setEnabled(true);
  SetMenuEnabled(mnuAxis, true);
  mnuXYPlane->setChecked(false);
  mnuDisplayAxes->setChecked(true);
  mnuOSymbol->setChecked(true);
  SetMenuEnabled(mnuDotSpacing, false);
  mnuDotNone->setChecked(true);
  w_.Drawing().ResetPenForLoad();
  mnu2Deg->setChecked(true);
  mnu1Deg->setChecked(false);
  ms::View.ShowBox = 0;
  SetBoxEnabled(false);
}

}  // namespace gr
