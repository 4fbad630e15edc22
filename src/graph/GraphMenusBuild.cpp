// The graph window's menus as a build leaves them: each row's report (commands/SceneBuild) is
// mapped to the frames, menus and boxes it concerns as soon as the row is done.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "commands/SceneBuild.h"
#include "graph/GraphMenus.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/Tokens.h"
#include "numerics/Ivp.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

namespace {

const rt::Text kVertexLimit = u"Vertical limit 30,000 vertices reached.";
const rt::Text kVertexLimitSpelled = u"Vertical limit 30,000 verticies reached.";

}  // namespace

void GraphMenus::TakeBuildOptions(ms::SceneBuildOptions& options) const {
  options.fieldAxes = mnuXY->isEnabled();
  options.fieldGridCrosses = mnuXY->isChecked();
  options.gridCrossesAllowed = mnuXYPlane->isEnabled();
  options.boxChosen = mnuYes->isChecked();
  options.boxAvailable = mnuBox->menuAction()->isEnabled();
}

// "Box ?": the load, the trajectory views and every row of a build enable or disable it; the next
// build starts from what it shows.
void GraphMenus::SetBoxEnabled(bool enabled) {
  SetMenuEnabled(mnuBox, enabled);
}

// The frames, menus and boxes that follow one row of the build: the items its command needs, what
// a command that ran shows, the count, then the box of a stop or what a completed row offers.
void GraphMenus::ReflectBuildStep(const ms::SceneStepReport& r) {
  ItemsForRow(r);
  SetMenuEnabled(mnuBox, r.boxAvailable);
  TakeColourChoices(r.colours);
  w_.Navigation().FramesBeforeRow(r);
  if (r.end == ms::StepEnd::kAborted) return w_.StopBuild(u"", 0, u"");
  if (r.end == ms::StepEnd::kMessage) return StopAtMessage(r);
  ShowRowRan(r);
  if (r.end == ms::StepEnd::kVertexLimit) return StopAtVertexLimit(r);
  OfferAfterRow(r);
}

// The items each command's row sets before it runs.
void GraphMenus::ItemsForRow(const ms::SceneStepReport& r) {
  using ms::SceneStep;
  switch (r.step) {
    case SceneStep::kInteg:
    case SceneStep::kDblInt:
      if (r.step == SceneStep::kInteg) SetMenuEnabled(mnuDotSpacing, false);
      SetMenuEnabled(mnuOptions, false);
      break;
    case SceneStep::kIVP:
    case SceneStep::kContour:
      SetMenuEnabled(mnuDotSpacing, false);
      break;
    case SceneStep::kBVP:
      SetMenuEnabled(mnuDotSpacing, true);
      SetMenuEnabled(mnuIntegColor, false);
      break;
    case SceneStep::kSlopeField:
    case SceneStep::kDirField:
    case SceneStep::kField3D:
      SetMenuEnabled(mnuDotSpacing, false);
      SetMenuEnabled(mnuIntegColor, false);
      break;
    case SceneStep::kCurve:
      if (r.curve == 1) {
        const ms::CommandRequestState& req = ms::Requests;
        SetMenuEnabled(mnuOptions, true);
        mnuOptions->menuAction()->setVisible(true);
        mnuDotSpacing->menuAction()->setVisible(true);
        SetMenuEnabled(mnuDotSpacing, true);
        SetMenuEnabled(mnuIntegColor, req.IntegRequested != 0 || req.DblIntRequested != 0);
      }
      break;
    case SceneStep::kFinish:
      break;
  }
}

// A refused statement: the statement as the user wrote it, its message number and text.
void GraphMenus::StopAtMessage(const ms::SceneStepReport& r) {
  const rt::Text separator =
      r.step == ms::SceneStep::kSlopeField ? rt::Text(u" :  ") : rt::Text(u" : ");
  const rt::Text text = u"Statement : " + ms::DetokenizeForDisplay(r.statement) + u"\r\n" +
                        rt::NumText(r.msgNo) + separator + ms::GetMessageText(r.msgNo);
  w_.StopBuild(text, ui::kExclamation, u"Syntax Error");
}

// What a command that ran shows before its count is checked, then the count.
void GraphMenus::ShowRowRan(const ms::SceneStepReport& r) {
  using ms::SceneStep;
  w_.Navigation().FramesAfterRowRan(r);
  const bool integrals = r.step == SceneStep::kInteg || r.step == SceneStep::kDblInt;
  if (integrals || r.step == SceneStep::kIVP || r.step == SceneStep::kBVP ||
      r.step == SceneStep::kSlopeField) {
    w_.cmdUpdate->show();
  } else if (r.step == SceneStep::kDirField || r.step == SceneStep::kField3D) {
    w_.cmdUpdate->setVisible(r.step == SceneStep::kDirField);
  } else if (r.step == SceneStep::kCurve) {
    if (r.curve == 1) w_.cmdUpdate->show();
    w_.ShowCurveBuilt(r.curve);
  }
  if (r.step != SceneStep::kFinish) w_.ShowCount();
}

// The scene store is full: a Plot[ curve names its number, the other commands the limit.
void GraphMenus::StopAtVertexLimit(const ms::SceneStepReport& r) {
  if (r.step == ms::SceneStep::kCurve) {
    if (r.curve == 1) Graph.PlotLimitReached = -1;
    return w_.StopBuild(u"Space exceeds upper limit for plot #" + rt::IntText(r.curve) +
                            u". Try and reduce number of points to plot.",
                        ui::kOkOnly, ws::kAppTitle);
  }
  const bool spelled = r.step == ms::SceneStep::kField3D || r.step == ms::SceneStep::kContour;
  w_.StopBuild(spelled ? kVertexLimitSpelled : kVertexLimit, ui::kOkOnly, ws::kAppTitle);
}

// What a completed row offers.
void GraphMenus::OfferAfterRow(const ms::SceneStepReport& r) {
  using ms::SceneStep;
  if (r.showColours) ReflectGraphMenus();
  w_.Navigation().FramesAfterRowDone(r);
  switch (r.step) {
    case SceneStep::kIVP:
      mnuOptions->menuAction()->setVisible(true);
      SetMenuEnabled(mnuDotSpacing, false);
      SetMenuEnabled(mnuIntegColor, false);
      // The trajectory views step their points with the increment items.
      SetMenuEnabled(mnuInc, ms::View.PlotKind == 7 || ms::View.PlotKind == 22);
      w_.ShowCount();
      break;
    case SceneStep::kContour:
      w_.cmdUpdate->hide();
      break;
    default:
      break;
  }
}

// The colour choices a build changed are kept as they come, and the colour items show them when
// a row that changed them completed: a choice a stopped row made waits for the next one.
void GraphMenus::TakeColourChoices(const ms::ColourChoices& changed) {
  for (size_t k = 0; k < colours_.curves.size(); ++k) {
    if (changed.curves[k]) colours_.curves[k] = *changed.curves[k];
  }
  if (changed.ivpSolution) colours_.ivpSolution = *changed.ivpSolution;
  if (changed.bvpTrials) colours_.bvpTrials = *changed.bvpTrials;
}

void GraphMenus::ResetColourItems() {
  colours_ = ColourItems{};
  ReflectGraphMenus();
}

void GraphMenus::ReflectGraphMenus() {
  for (size_t k = 0; k < mnuPlot.size(); ++k) mnuPlot[k]->setEnabled(colours_.curves[k]);
  mnuPlotIVPColor->setEnabled(colours_.ivpSolution);
  SetMenuEnabled(mnuBVPcolor, colours_.bvpTrials);
}

}  // namespace gr
