#include "commands/SceneBuild.h"

#include <algorithm>

#include "commands/GraphCommands.h"
#include "commands/IntegCommand.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "numerics/Bvp.h"
#include "numerics/BvpTrials.h"
#include "plotting/Axes.h"
#include "plotting/BoundingBox.h"
#include "plotting/CurveGen.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

namespace ms {

namespace {

int Sgn(double v) {
  return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

void SetBox(bool available) {
  FieldGraph.BoxAvailable = available ? -1 : 0;
}

bool CurveRequested(int k) {
  const auto& spec = PlotRequest.PlotSpec;
  const int base = 3 * (k - 1);
  return spec[static_cast<size_t>(base)] != 0 && spec[static_cast<size_t>(base + 1)] != 0 &&
         spec[static_cast<size_t>(base + 2)] != 0;
}

// One build under way: its options and what the rows leave for the end.
struct Build {
  const SceneBuildOptions& options;
  int integSlots = 0;
  bool replotAfterBuild = false;  // an integral row completed
};

// The ODE views a solve changed, taken once.
void TakeOdeViews(SceneStepReport& report) {
  if (!IvpView.ViewsChanged) return;
  report.odeViews = IvpView.Views;
  IvpView.ViewsChanged = false;
}

// The BVP trial curves a solve drew, taken once: their colours may be chosen.
void TakeTrialCurves(SceneStepReport& report) {
  if (BvpTrials.FamilyDrawn == 0) return;
  report.colours.bvpTrials = true;
  BvpTrials.FamilyDrawn = 0;
}

// Runs one command of a row; false when the build is to stop (Esc or a message). Every command
// but the contours tests the Esc flag.
bool RunCommand(const Build& b, SceneStepReport& report, GraphCommand command,
                const rt::Text& statement, int16_t slot) {
  // The field commands read whether to add axes and grid crosses and may make a box available.
  FieldGraph.AxesWanted = b.options.fieldAxes ? -1 : 0;
  FieldGraph.GridCrossesWanted = b.options.fieldGridCrosses ? -1 : 0;
  const int16_t msgNo = RunGraphCommand(command, statement, slot);
  ++report.statementsRun;
  TakeOdeViews(report);
  TakeTrialCurves(report);
  if (command != GraphCommand::kContour && RunFlags.AbortRun != 0) {
    report.end = StepEnd::kAborted;
    return false;
  }
  if (command == GraphCommand::kField3D) SetBox(true);
  if (msgNo != 0) {
    report.end = StepEnd::kMessage;
    report.msgNo = msgNo;
    report.statement = statement;
    report.slot = slot;
    // A refused slope field keeps "Box ?" as it was.
    if (command != GraphCommand::kSlopeField) SetBox(false);
    return false;
  }
  return true;
}

// Counts stored for the drawing; false past the vertex limit.
bool VertexTail(SceneStepReport& report) {
  StoreSceneCounts();
  if (Scene.VertexCountD > kCurveVertexLimit) {
    report.end = StepEnd::kVertexLimit;
    SetBox(false);
    return false;
  }
  return true;
}

// Integ[ and dblInt[: both kinds share one count of slots; each list holds only its own kind's
// statements.
void RunIntegrals(Build& b, SceneStepReport& report, GraphCommand command,
                  std::array<rt::Text, kMaxIntegStatements>& stmts) {
  FieldGraph.SlopeFieldMode = 0;
  for (int i = 1; i <= b.integSlots; ++i) {
    if (!RunCommand(b, report, command, stmts[static_cast<size_t>(i - 1)],
                    static_cast<int16_t>(i))) {
      return;
    }
  }
  b.replotAfterBuild = true;
  VertexTail(report);
}

void RunInteg(Build& b, SceneStepReport& r) {
  RunIntegrals(b, r, GraphCommand::kInteg, Requests.IntegStmts);
}
void RunDblInt(Build& b, SceneStepReport& r) {
  RunIntegrals(b, r, GraphCommand::kDblInt, Requests.DblIntStmts);
}

void RunIvp(Build& b, SceneStepReport& r) {
  FieldGraph.SlopeFieldMode = 0;
  if (!RunCommand(b, r, GraphCommand::kIVP, Requests.IVPStmt, 0) || !VertexTail(r)) return;
  r.colours.ivpSolution = true;
  r.showColours = true;
  // The trajectory views offer the box; the others do not, unless stored curves are drawn again.
  if (View.PlotKind == 7 || View.PlotKind == 22) {
    SetBox(true);
  } else if (RunFlags.Replot == 0) {
    SetBox(false);
  }
}

void RunBvp(Build& b, SceneStepReport& r) {
  FieldGraph.SlopeFieldMode = 0;
  if (!RunCommand(b, r, GraphCommand::kBVP, Requests.BVPStmt, 0) || !VertexTail(r)) return;
  if (Settings.BVPScanColor != 0) {
    r.colours.ivpSolution = false;
    r.showColours = true;
  }
  if (Bvp.BVPTrialSlopes[0] == 0) {
    r.colours.ivpSolution = true;
    r.colours.bvpTrials = false;
    r.showColours = true;
  }
}

void RunSlopeField(Build& b, SceneStepReport& r) {
  SetBox(false);
  if (RunCommand(b, r, GraphCommand::kSlopeField, Requests.SlopeFieldStmt, 0)) VertexTail(r);
}

void RunDirField(Build& b, SceneStepReport& r) {
  FieldGraph.SlopeFieldMode = 0;
  if (RunCommand(b, r, GraphCommand::kDirField, Requests.DirFieldStmt, 0)) VertexTail(r);
}

void RunField3D(Build& b, SceneStepReport& r) {
  FieldGraph.SlopeFieldMode = 0;
  SetBox(true);
  if (RunCommand(b, r, GraphCommand::kField3D, Requests.Field3DStmt, 0)) VertexTail(r);
}

// The contour command keeps VertexCountD current itself.
void RunContour(Build& b, SceneStepReport& r) {
  FieldGraph.SlopeFieldMode = 0;
  SetBox(false);
  if (!RunCommand(b, r, GraphCommand::kContour, Requests.ContourStmt, 0)) return;
  Scene.SegmentCountD = Scene.SegmentCount;
  if (Scene.VertexCountD > kCurveVertexLimit) {
    r.end = StepEnd::kVertexLimit;
    SetBox(false);
  }
}

// A Plot[ curve: its points, then the limit, reached already at the limit itself.
void RunCurve(Build&, SceneStepReport& r) {
  const int k = r.curve;
  for (int j = 1; j <= kMaxPlotCurves; ++j) {
    PlotRequest.PlotSelect[static_cast<size_t>(j)] = j == k ? -1 : 0;
  }
  const int base = 3 * (k - 1);
  const auto& spec = PlotRequest.PlotSpec;
  const int16_t msgNo =
      GenerateCurvePoints(spec[static_cast<size_t>(base)], spec[static_cast<size_t>(base + 1)],
                          spec[static_cast<size_t>(base + 2)]);
  ++r.statementsRun;
  if (msgNo != 0) {
    r.end = StepEnd::kMessage;
    r.msgNo = msgNo;
    r.statement = PlotRequest.PlotStatement;
    SetBox(false);
    return;
  }
  if (k == 1 || k == 4) SetBox(true);
  StoreSceneCounts();
  if (Scene.VertexCountD >= kCurveVertexLimit) {
    r.end = StepEnd::kVertexLimit;
    if (k == 1) SetBox(false);
    return;
  }
  r.colours.curves[static_cast<size_t>(k - 1)] = true;
  r.showColours = true;
}

// Grid crosses, axes and the box.
void RunFinish(Build& b, SceneStepReport& r) {
  const CommandRequestState& req = Requests;
  const SceneStoreData& s = Scene;
  View.ZAxisNeeded = (s.ViewZMin != 0 || s.ViewZMax != 0) ? -1 : 0;
  if (View.ElevationAngle != 0 && ((req.IVPRequested != 0 && View.ODEViewRequest != 7) ||
                                   (req.BVPRequested != 0 && View.ODEViewRequest != 22))) {
    View.SavedRotation = View.RotationAngle;
    View.SavedElevation = View.ElevationAngle;
  }

  const bool anything = CurveRequested(1) || req.IVPRequested != 0 || req.BVPRequested != 0 ||
                        req.IntegRequested != 0 || req.DblIntRequested != 0;
  if (anything && b.options.showAxes) {
    const auto inside = [](double v) { return v > -100 && v < 100; };
    if (inside(s.ViewXMin) && inside(s.ViewXMax) && inside(s.ViewYMin) && inside(s.ViewYMax) &&
        inside(s.ViewZMin) && inside(s.ViewZMax) && b.options.gridCrossesAllowed &&
        s.VertexCountD < kGridVertexLimit) {
      AddGridCrosses(Settings.XYPlaneColor);
    }
    if (Scene.VertexCountD > kCurveVertexLimit) {
      r.end = StepEnd::kVertexLimit;
      return;
    }
    AddSceneAxes();
  }

  if (View.ShowBox != 0 && b.options.boxChosen) {
    const bool commandBox = req.SlopeFieldRequested != 0 || req.DirFieldRequested != 0 ||
                            req.IVPRequested != 0 || req.BVPRequested != 0 ||
                            req.Field3DRequested != 0 || req.ContourRequested != 0 ||
                            req.Contour1Requested != 0;
    if (!commandBox) {
      AddBoundingBox(s.ViewXMin, s.ViewXMax, s.ViewYMin, s.ViewYMax, s.ViewZMin, s.ViewZMax);
    }
    if (req.IVPRequested != 0 && (View.PlotKind == 22 || View.PlotKind == 7)) {
      AddBoundingBox(s.ViewXMin, s.ViewXMax, s.ViewYMin, s.ViewYMax, s.ViewZMin, s.ViewZMax);
    }
  }
  StoreSceneCounts();
}

// Widens the view box to the one the kept scene was drawn over (an empty kept box, +10,000 to
// -10,000, widens nothing).
void WidenToKeptBox(const std::array<double, 6>& kept) {
  SceneStoreData& s = Scene;
  double* const mins[3] = {&s.ViewXMin, &s.ViewYMin, &s.ViewZMin};
  double* const maxs[3] = {&s.ViewXMax, &s.ViewYMax, &s.ViewZMax};
  for (size_t k = 0; k < 3; ++k) {
    if (kept[2 * k] > kept[2 * k + 1]) continue;
    *mins[k] = std::min(*mins[k], kept[2 * k]);
    *maxs[k] = std::max(*maxs[k], kept[2 * k + 1]);
  }
}

struct SceneRow {
  SceneStep step;
  int16_t curve;
  bool (*requested)(int16_t curve);
  void (*run)(Build&, SceneStepReport&);
};

bool Always(int16_t) {
  return true;
}
bool Curve(int16_t k) {
  return CurveRequested(k);
}

// The fixed order of the build.
constexpr SceneRow kRows[] = {
    {SceneStep::kInteg, 0, [](int16_t) { return Requests.IntegRequested != 0; }, RunInteg},
    {SceneStep::kDblInt, 0, [](int16_t) { return Requests.DblIntRequested != 0; }, RunDblInt},
    {SceneStep::kIVP, 0, [](int16_t) { return Requests.IVPRequested != 0; }, RunIvp},
    {SceneStep::kBVP, 0, [](int16_t) { return Requests.BVPRequested != 0; }, RunBvp},
    {SceneStep::kSlopeField, 0, [](int16_t) { return Requests.SlopeFieldRequested != 0; },
     RunSlopeField},
    {SceneStep::kDirField, 0, [](int16_t) { return Requests.DirFieldRequested != 0; }, RunDirField},
    {SceneStep::kField3D, 0, [](int16_t) { return Requests.Field3DRequested != 0; }, RunField3D},
    {SceneStep::kContour, 0,
     [](int16_t) { return Requests.ContourRequested != 0 || Requests.Contour1Requested != 0; },
     RunContour},
    {SceneStep::kCurve, 1, Curve, RunCurve},
    {SceneStep::kCurve, 2, Curve, RunCurve},
    {SceneStep::kCurve, 3, Curve, RunCurve},
    {SceneStep::kCurve, 4, Curve, RunCurve},
    {SceneStep::kCurve, 5, Curve, RunCurve},
    {SceneStep::kCurve, 6, Curve, RunCurve},
    {SceneStep::kFinish, 0, Always, RunFinish},
};

}  // namespace

SceneBuildReport BuildScene(const SceneBuildOptions& options, const SceneStepObserver& observer) {
  SceneBuildReport report;
  // An overlay keeps the picture's box, so that one set of axes spans every member.
  const std::array<double, 6> keptBox = {Scene.ViewXMin, Scene.ViewXMax, Scene.ViewYMin,
                                         Scene.ViewYMax, Scene.ViewZMin, Scene.ViewZMax};
  StartSceneBuild();
  if (options.overlay) {
    Scene.VertexCount = options.keptVertexCount;
    Scene.SegmentCount = options.keptSegmentCount;
  }
  report.keptVertexCount = Scene.VertexCount;
  report.keptSegmentCount = Scene.SegmentCount;

  // The ODE a picture shows is the one solved in this build: its axis letters and view buttons
  // follow this build's commands only, never an earlier solve's.
  OdePicture.IVPOrder1 = OdePicture.IVPOrder2 = OdePicture.IVPOrder3 = OdePicture.IVPOrder4 = 0;
  IvpView.Views = OdeViewGroup::kNone;
  IvpView.ViewsChanged = true;

  // Every build starts from the same flags whatever the last build or a stray key left: an Esc
  // pressed while nothing ran stops nothing, the z axis follows this build's box, the Plot[
  // arrow marks count from the first curve and the slope-field mode is this build's.
  RunFlags.AbortRun = 0;
  View.ZAxisNeeded = 0;
  CurveWork.ArrowFlagPos = 0;
  FieldGraph.SlopeFieldMode = 0;

  Build b{options};
  FieldGraph.BoxAvailable = options.boxAvailable ? -1 : 0;
  IvpView.TimeGridUnit = options.timeGridUnit;
  ResetIntegChain();
  b.integSlots = std::clamp<int>(Requests.IntegStmtCount, 0, kMaxIntegStatements);

  bool stopped = false;
  int16_t contentVertices = 0, contentSegments = 0;
  for (const SceneRow& row : kRows) {
    if (!row.requested(row.curve)) continue;
    if (row.step == SceneStep::kFinish) {
      // What a later overlay keeps: the curves, not the axes and letters laid over them.
      contentVertices = Scene.VertexCount;
      contentSegments = Scene.SegmentCount;
      if (options.overlay) WidenToKeptBox(keptBox);
    }
    SceneStepReport& step = report.steps.emplace_back();
    step.step = row.step;
    step.curve = row.curve;
    row.run(b, step);
    TakeOdeViews(step);
    step.boxAvailable = FieldGraph.BoxAvailable != 0;
    if (observer) observer(step);
    if (step.Stopped()) {
      stopped = true;
      break;
    }
  }
  if (stopped) {
    // The picture shows what this build made before it stopped, never the last build's scene.
    StoreSceneCounts();
  } else {
    report.completed = true;
    report.keptVertexCount = contentVertices;
    report.keptSegmentCount = contentSegments;
  }
  // The integral rows ask later builds to draw their stored curves again; the rows after them in
  // this build still computed what they had not computed yet.
  if (b.replotAfterBuild) RunFlags.Replot = -1;
  report.timeGridUnit = IvpView.TimeGridUnit;
  IvpView.TimeGridUnit.reset();
  return report;
}

void AddSceneAxes() {
  const SceneStoreData& s = Scene;
  const double X0 = s.ViewXMin, X1 = s.ViewXMax, Y0 = s.ViewYMin, Y1 = s.ViewYMax;
  const double Z0 = s.ViewZMin, Z1 = s.ViewZMax;
  const bool zAxis = View.ZAxisNeeded != 0;
  const double scaledZ0 = zAxis ? 1.1 * Z0 : -1, scaledZ1 = zAxis ? 1.1 * Z1 : 1;
  const double plainZ0 = zAxis ? Z0 : -1, plainZ1 = zAxis ? Z1 : 1;
  const double zeroZ0 = zAxis ? 1.1 * Z0 : 0, zeroZ1 = zAxis ? 1.1 * Z1 : 0;

  if (Sgn(X0) != Sgn(X1) && Sgn(Y0) != Sgn(Y1)) {
    BuildAxes(1.1 * X0, 1.1 * X1, 1.1 * Y0, 1.1 * Y1, scaledZ0, scaledZ1);
  } else if (X0 >= 0 && X1 > 0 && Y0 >= 0 && Y1 > 0) {
    if (!zAxis) {
      BuildAxes(0, 1.1 * X1, 0, 1.1 * Y1, 0, 0);
    } else {
      BuildAxesNoLabels(0, 1.1 * X1, 0, 1.1 * Y1, 1.1 * Z0, 1.1 * Z1);
    }
  } else if (Y0 >= 0 && Y1 > 0 && Sgn(X0) != Sgn(X1)) {
    BuildAxes(1.1 * X0, 1.1 * X1, 0, 1.1 * Y1, scaledZ0, scaledZ1);
  } else if (Y0 < 0 && Y1 <= 0 && Sgn(X0) != Sgn(X1)) {
    BuildAxes(1.1 * X0, 1.1 * X1, 1.1 * Y0, 0, plainZ0, plainZ1);
  } else if (X0 >= 0 && X1 > 0 && Y0 <= 0 && Y1 > 0) {
    BuildAxes(0, 1.1 * X1, 1.1 * Y0, 1.1 * Y1, scaledZ0, scaledZ1);
  } else if (X0 < 0 && X1 <= 0 && Y0 < 0 && Y1 > 0) {
    BuildAxes(1.1 * X0, 0, 1.1 * Y0, 1.1 * Y1, scaledZ0, scaledZ1);
  } else if (X0 < 0 && X1 <= 0 && Y0 >= 0 && Y1 > 0) {
    BuildAxesNoLabels(1.1 * X0, 0, 0, 1.1 * Y1, zeroZ0, zeroZ1);
  } else if (X0 < 0 && X1 <= 0 && Y0 < 0 && Y1 <= 0) {
    BuildAxesNoLabels(1.1 * X0, 0, 1.1 * Y0, 0, zeroZ0, zeroZ1);
  } else if (X0 >= 0 && X1 > 0 && Y0 < 0 && Y1 <= 0) {
    BuildAxesNoLabels(0, 1.1 * X1, 1.1 * Y0, 0, zeroZ0, zeroZ1);
  } else {
    BuildAxes(X0, X1, Y0, Y1, plainZ0, plainZ1);
  }
}

}  // namespace ms
