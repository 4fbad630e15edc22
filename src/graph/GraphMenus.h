// GraphMenus is the option-menu part of the window "frmGraph" (GraphWindow).
// The colour, axes, XY-plane, box, angle-step, dot-spacing, symbol, colour-code and pen items, and
// the mapping of each row's build report (commands/SceneBuild) to the frames, menus and boxes it
// concerns.
#pragma once

#include <array>
#include <cstdint>

class QAction;

namespace ms {
struct ColourChoices;
struct SceneStepReport;
}  // namespace ms

namespace gr {

class GraphWindow;

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
  void mnuCodeYes_Click();
  void mnuCodeNo_Click();
  void mnuFine_Click();
  void mnuMedium_Click();
  // The option items the base menus do not hold.
  void BuildOptionMenus();

  // The frames, menus and boxes that follow one row of the build.
  void ReflectBuildStep(const ms::SceneStepReport& report);
  // "Box ?": the load, the trajectory views and every row of a build enable or disable it.
  void SetBoxEnabled(bool enabled);
  // No colour item offered, as the window loads.
  void ResetColourItems();
  void ResetItemsForLoad();

 private:
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
