// GraphMenus is the option-menu part of the window "frmGraph" (GraphWindow).
// The colour, axes, XY-plane, box, angle-step, dot-spacing, symbol, colour-code and pen items, and
// the mapping of each row's build report (commands/SceneBuild) to the frames, menus and boxes it
// concerns.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace ms {
struct ColourChoices;
struct SceneBuildOptions;
struct SceneStepReport;
}  // namespace ms

namespace gr {

class GraphWindow;

// Connects a menu item to its handler. A checkable item has already moved its own check mark when
// the handler runs; the handlers decide every mark themselves from the state the user clicked on,
// so the move is undone first.
void ConnectMenuItem(QAction* item, QObject* context, const std::function<void()>& handler);

class GraphMenus {
 public:
  explicit GraphMenus(GraphWindow& window) : w_(window) {}

  // The colour chooser: the colour dialog starts from the colour last chosen in this window;
  // the chosen colour is stored in the argument. True when a colour was chosen, false (argument
  // unchanged) when the dialog was cancelled.
  bool ProcessColor(int32_t& color);
  void mnuPlot_Click(int plot);  // "#1" .. "#6"
  void mnuPlotIVPColor_Click();
  void mnuBVPyes_Click();
  void mnuBVPno_Click();
  void mnuIntegColor_Click();
  void mnuXYPlane_Click();
  void mnuAxes_Click();
  void mnuDisplayAxes_Click();
  void mnuXY_Click();
  void mnu1Deg_Click();
  void mnu2Deg_Click();
  void mnuYes_Click();
  void mnuNo_Click();
  void mnuDotNone_Click();
  void mnuDot_Click(int spacing);  // "10 Spacing" .. "100 Spacing"
  void mnuCustom_Click();
  void mnuSymbol_Click(QAction* symbol);  // mnuOSymbol, mnuPSymbol or mnuXSymbol
  // Creates the option menus on the bar ("Color Options", "Axes Options", "Display Data",
  // "Display Options") and connects their items.
  void InitMenus(QMenuBar* bar);
  // The marker along curves that "Symbol?" has chosen, and whether "Dot n*dt Spacing" is "None".
  bool PlusSymbol() const;
  bool CircleSymbol() const;
  bool NoDotSpacing() const;
  // "BVP scan Color?" answered "No": the trial curves are drawn in one colour.
  bool BvpTrialsPlain() const;

  // --- Items, named as the window's design names them ---------------------------------------
  std::array<QAction*, 6> mnuPlot{};  // "#1" .. "#6" (mnuPlot1, mnuPlot2, mnuPLot3, ...)
  QAction* Dash3 = nullptr;
  QAction* mnuPlotIVPColor = nullptr;
  QMenu* mnuBVPcolor = nullptr;
  QAction* mnuBVPyes = nullptr;
  QAction* mnuBVPno = nullptr;
  QAction* mnuIntegColor = nullptr;
  QAction* mnuXYPlane = nullptr;
  QAction* mnuAxes = nullptr;
  QMenu* mnuAxis = nullptr;
  QAction* mnuDisplayAxes = nullptr;
  QAction* mnuXY = nullptr;
  QAction* mnuData = nullptr;  // "Display Data": shows the display-options window
  QMenu* mnuOptions = nullptr;
  QMenu* mnuInc = nullptr;
  QAction* mnu1Deg = nullptr;
  QAction* mnu2Deg = nullptr;
  QMenu* mnuBox = nullptr;
  QAction* mnuYes = nullptr;
  QAction* mnuNo = nullptr;
  QMenu* mnuDotSpacing = nullptr;
  QAction* mnuDotNone = nullptr;
  QAction* mnuOSymbol = nullptr;
  QAction* mnuPSymbol = nullptr;
  QAction* mnuXSymbol = nullptr;
  QAction* mnuDot10 = nullptr;
  QAction* mnuDot20 = nullptr;
  QAction* mnuDot50 = nullptr;
  QAction* mnuDot100 = nullptr;
  QAction* mnuCustom = nullptr;

  // What the items choose of a build: the field axes and grid crosses (XY-Plane), the crosses
  // allowed (Color XY Plane), the box chosen and offered ("Box ?").
  void TakeBuildOptions(ms::SceneBuildOptions& options) const;
  // The frames, menus and boxes that follow one row of the build.
  void ReflectBuildStep(const ms::SceneStepReport& report);
  // "Box ?": the load, the trajectory views and every row of a build enable or disable it.
  void SetBoxEnabled(bool enabled);
  // No colour item offered, as the window loads.
  void ResetColourItems();
  void ResetItemsForLoad();

 private:
  void InitColourMenu(QMenuBar* bar);
  void InitDisplayMenu(QMenuBar* bar);
  void NameItems();
  void ConnectItems();
  static void SetMenuEnabled(QAction* item, bool enabled);
  static void SetMenuEnabled(QMenu* item, bool enabled);
  // The steps of ReflectBuildStep, in its order.
  void ItemsForRow(const ms::SceneStepReport& r);
  void StopAtMessage(const ms::SceneStepReport& r);
  void ShowRowRan(const ms::SceneStepReport& r);
  void StopAtVertexLimit(const ms::SceneStepReport& r);
  void OfferAfterRow(const ms::SceneStepReport& r);
  void TakeColourChoices(const ms::ColourChoices& changed);
  void ReflectGraphMenus();
  // Replot set, arrows counted from the first curve again, then the build.
  void RebuildFromStore();

  GraphWindow& w_;
  // The colour the colour dialog starts from: the last colour chosen in this window (black first).
  int32_t dialogColor_ = 0;
  // Which colour items are offered: a Plot[ curve's #1 to #6, the IVP solution's, the BVP
  // trial curves'. Kept as the builds and the colour items change them, shown by the items.
  struct ColourItems {
    std::array<bool, 6> curves{};
    bool ivpSolution = false;
    bool bvpTrials = false;
  };
  ColourItems colours_;
};

}  // namespace gr
