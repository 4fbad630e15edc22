// The picture build as the window shows it: the core runs the pending commands in their fixed
// order (commands/SceneBuild) and reports each row; the window's frames, menus and boxes follow
// each report, and a completed build is drawn.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>

#include "commands/SceneBuild.h"
#include "graph/GraphState.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/Tokens.h"
#include "numerics/Bvp.h"
#include "numerics/Ivp.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"
#include "worksheet/WorksheetWindow.h"

namespace gr {

namespace {

constexpr int32_t kProgressDone = 0x00FF00;  // pure green: the curve was built
const rt::Text kVertexLimit = u"Vertical limit 30,000 vertices reached.";
const rt::Text kVertexLimitSpelled = u"Vertical limit 30,000 verticies reached.";

}  // namespace

// "Box ?": the load, the trajectory views and every row of a build enable or disable it; the next
// build starts from what it shows.
void GraphWindow::SetBoxEnabled(bool enabled) {
  SetMenuEnabled(mnuBox, enabled);
}

// The initial value command chooses which frames of view buttons the window shows.
void GraphWindow::ReflectOdeViews(const std::array<bool, ms::kLastIvpFrame + 1>& views) {
  static_assert(ms::kLastIvpFrame + 1 == 10);
  const std::array<QGroupBox*, ms::kLastIvpFrame + 1> frames = {
      nullptr, nullptr, nullptr, nullptr, nullptr, Frame5, Frame6, Frame7, Frame8, Frame9};
  for (int f = ms::kFirstIvpFrame; f <= ms::kLastIvpFrame; ++f) {
    frames[static_cast<size_t>(f)]->setVisible(views[static_cast<size_t>(f)]);
  }
}

// Ends a build early with a box. The window is left usable: the pointer back to normal, Return
// shown and the build flag cleared, so that the user can go on or leave.
void GraphWindow::StopBuild(const rt::Text& text, int style, const rt::Text& title) {
  if (!text.empty()) ui::Ui().MsgBox(text, style, title);
  SetBusyPointer(false);
  ShowReturn(true);
  Graph.Generating = 0;
}

// The frames, menus and boxes that follow one row of the build: the items its command needs, what
// a command that ran shows, the count, then the box of a stop or what a completed row offers.
void GraphWindow::ReflectBuildStep(const ms::SceneStepReport& r) {
  using ms::SceneStep;
  const ms::CommandRequestState& req = ms::Requests;
  const bool integrals = r.step == SceneStep::kInteg || r.step == SceneStep::kDblInt;
  // The items each command's row sets before it runs.
  switch (r.step) {
    case SceneStep::kInteg:
    case SceneStep::kDblInt:
      if (r.step == SceneStep::kInteg) SetMenuEnabled(mnuDotSpacing, false);
      SetMenuEnabled(mnuOptions, false);
      Frame7->hide();
      Frame8->hide();
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
  SetMenuEnabled(mnuBox, r.boxAvailable);
  TakeColourChoices(r.colours);
  if (r.odeViews) ReflectOdeViews(*r.odeViews);

  if (r.end == ms::StepEnd::kAborted) return StopBuild(u"", 0, u"");
  if (r.end == ms::StepEnd::kMessage) {
    const rt::Text separator =
        r.step == SceneStep::kSlopeField ? rt::Text(u" :  ") : rt::Text(u" : ");
    const rt::Text text = u"Statement : " + ms::DetokenizeForDisplay(r.statement) + u"\r\n" +
                          rt::NumText(r.msgNo) + separator + ms::GetMessageText(r.msgNo);
    return StopBuild(text, ui::kExclamation, u"Syntax Error");
  }

  // What a command that ran shows before its count is checked.
  if (integrals || r.step == SceneStep::kIVP || r.step == SceneStep::kBVP ||
      r.step == SceneStep::kSlopeField) {
    Frame2->show();
    if (r.step != SceneStep::kIVP) Frame5->setVisible(r.step == SceneStep::kBVP);
    cmdUpdate->show();
  } else if (r.step == SceneStep::kDirField || r.step == SceneStep::kField3D) {
    Frame2->hide();
    Frame5->hide();
    cmdUpdate->setVisible(r.step == SceneStep::kDirField);
  } else if (r.step == SceneStep::kCurve) {
    if (r.curve == 1) {
      Frame2->show();
      if (ms::Solutions.IVPOrder1 != 0) {
        Frame5->show();
        Frame6->hide();
      }
      cmdUpdate->show();
    }
    SetLabelBackground(PlotLabels[static_cast<size_t>(r.curve - 1)], kProgressDone);
  }
  if (r.step != SceneStep::kFinish) ShowCount();

  if (r.end == ms::StepEnd::kVertexLimit) {
    if (r.step == SceneStep::kCurve) {
      if (r.curve == 1) Graph.PlotLimitReached = -1;
      return StopBuild(u"Space exceeds upper limit for plot #" + rt::IntText(r.curve) +
                           u". Try and reduce number of points to plot.",
                       ui::kOkOnly, ws::kAppTitle);
    }
    const bool spelled = r.step == SceneStep::kField3D || r.step == SceneStep::kContour;
    return StopBuild(spelled ? kVertexLimitSpelled : kVertexLimit, ui::kOkOnly, ws::kAppTitle);
  }

  // What a completed row offers.
  if (r.showColours) ReflectGraphMenus();
  switch (r.step) {
    case SceneStep::kIVP:
      mnuOptions->menuAction()->setVisible(true);
      SetMenuEnabled(mnuDotSpacing, false);
      SetMenuEnabled(mnuIntegColor, false);
      // The trajectory views step their points with the increment items.
      SetMenuEnabled(mnuInc, ms::View.PlotKind == 7 || ms::View.PlotKind == 22);
      ShowCount();
      break;
    case SceneStep::kBVP:
      if (ms::Bvp.Frame5Shown != 0)
        Frame5->setTitle(QStringLiteral("BVP: {ta,X(ta)} --> {tb,X(tb)}"));
      break;
    case SceneStep::kSlopeField:
    case SceneStep::kDirField:
      Frame5->hide();
      break;
    case SceneStep::kContour:
      Frame2->hide();
      Frame5->hide();
      Frame6->hide();
      cmdUpdate->hide();
      break;
    default:
      break;
  }
}

void GraphWindow::GenerateData() {
  // A build started from inside a build that has not unwound (a key during a long command)
  // would pull the scene from under it.
  if (building_) return;
  struct BuildingGuard {
    bool& flag;
    explicit BuildingGuard(bool& f) : flag(f) { flag = true; }
    ~BuildingGuard() { flag = false; }
  } guard(building_);
  // The picture has the keys after every build, however it ended: the zoom and turn keys act on
  // it and never type into a scale box.
  const auto keysToPicture = qScopeGuard([this] { DisplayBox->setFocus(); });
  // A solve that switches to its mode's first view (its own rows) marks that view's button, as a
  // press of the button would have.
  const int16_t viewBefore = ms::View.PlotKind;
  const auto markSwitchedView = qScopeGuard([this, viewBefore] {
    if (ms::View.PlotKind != viewBefore) MarkViewButton(ms::View.PlotKind);
  });

  ShowReturn(false);
  SetBusyPointer(true);
  Graph.Generating = -1;

  ms::SceneBuildOptions options;
  options.overlay = Graph.OverlayMode != 0;
  options.keptVertexCount = Graph.SavedVertexCount;
  options.keptSegmentCount = Graph.SavedSegmentCount;
  options.fieldAxes = mnuXY->isEnabled();
  options.fieldGridCrosses = mnuXY->isChecked();
  options.gridCrossesAllowed = mnuXYPlane->isEnabled();
  options.showAxes = Graph.ShowAxes != 0;
  options.boxChosen = mnuYes->isChecked();
  options.boxAvailable = mnuBox->menuAction()->isEnabled();
  options.timeGridUnit = Graph.GridUnitT;
  const ms::SceneBuildReport report =
      ms::BuildScene(options, [this](const ms::SceneStepReport& r) { ReflectBuildStep(r); });
  Graph.SavedVertexCount = report.keptVertexCount;
  Graph.SavedSegmentCount = report.keptSegmentCount;
  if (report.timeGridUnit) Graph.GridUnitT = *report.timeGridUnit;
  if (!report.completed) return;

  ShowCount();
  updateplot();
  Graph.Generating = 0;
}

}  // namespace gr
