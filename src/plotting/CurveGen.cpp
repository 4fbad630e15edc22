#include "plotting/CurveGen.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "language/Settings.h"
#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "mathematics/FunctionValue.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/UiServices.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

namespace ms {

namespace {

// A segment whose y changes by more than this many grid units per unit of the curve parameter
// is a jump (a step of Floor[, Ceil[, Int[ or a pole).
constexpr double kJumpSlope = 50;
constexpr double kBoxMargin = 0.01;
constexpr int16_t kDefaultDotSpacing = 2000;
// The last point evaluated is PlotSteps + 1, which must lie within the curve tables.
constexpr int kMaxCurveSteps = kSceneLastRow - 1;

// Whether point i of the curve being built has a value (its evaluation succeeded).
std::array<bool, kSceneRows> PointValid{};

// PlotSteps limited to what the curve tables hold.
int CurveSteps() {
  return std::clamp<int>(PlotRequest.PlotSteps, 0, kMaxCurveSteps);
}

Point3 CurvePoint(int i) {
  return {CurveWork.CurveX[i], CurveWork.CurveY[i], CurveWork.CurveZ[i]};
}

void ClearMarks(SegmentRow& row) {
  row[kSegKind] = 0;
  row[kDotMark] = 0;
}

// The single curve marked in PlotSelect, or 0 when none or more than one is.
int SelectedCurve() {
  int selected = 0;
  for (int c = 1; c <= kMaxPlotCurves; ++c) {
    if (PlotRequest.PlotSelect[c]) {
      if (selected) return 0;
      selected = c;
    }
  }
  return selected;
}

void ColourSegment(SegmentRow& row) {
  const int member = CurveWork.FamilyMember;
  int r = 0, g = 0, b = 0;
  if (member >= 1 && member <= static_cast<int>(CurveWork.FamilyRed.size()) &&
      CurveWork.FamilyColorCode) {
    r = CurveWork.FamilyRed[member - 1];
    g = CurveWork.FamilyGreen[member - 1];
    b = CurveWork.FamilyBlue[member - 1];
  } else if (Settings.ColorChanged && SelectedCurve() != 0) {
    rt::SplitRGB(Settings.PlotColorUsed[SelectedCurve()], r, g, b);
  } else {
    return;
  }
  CurveWork.CurveRed = r;
  CurveWork.CurveGreen = g;
  CurveWork.CurveBlue = b;
  row[kRed] = r;
  row[kGreen] = g;
  row[kBlue] = b;
}

}  // namespace

void AcceptCurvePoint(int i, double x, double y, double z, bool valid) {
  if (i < 0 || i >= kSceneRows) return;
  CurveWork.CurveX[i] = x;
  CurveWork.CurveY[i] = y;
  CurveWork.CurveZ[i] = z;
  PointValid[i] = valid;
  if (!valid) return;
  WidenViewBox(x, y, z);
}

bool AddCurveSegment(int k) {
  const int v = Scene.VertexCount;
  const int s = Scene.SegmentCount;
  if (k < 0 || k > kMaxCurveSteps || !SceneHasRoom(2)) return false;
  SegmentRow& row = Scene.SegmentTable[s];
  Scene.VertexXYZ[v] = CurvePoint(k);
  // A point without a value breaks the curve: neither segment touching it is drawn.
  if (!PointValid[k] || IsOutsideViewBox(v)) {
    ClearMarks(row);
    return false;
  }
  if (v >= kCurveVertexLimit || k > PlotRequest.PlotSteps) return false;
  Scene.VertexXYZ[v + 1] = CurvePoint(k + 1);
  if (!PointValid[k + 1]) {
    ClearMarks(row);
    return false;
  }
  const double slope = (CurveWork.CurveY[k + 1] - CurveWork.CurveY[k]) / PlotRequest.PlotDt;
  row[kSegKind] = slope > kJumpSlope ? kSegJumpUp : (slope < -kJumpSlope ? kSegJumpDown : 0);
  if (MathVars.UsedFloor) {
    row[kLimitMarkKind] = 3.0;
  } else if (MathVars.UsedCeil) {
    row[kLimitMarkKind] = 2.0;
  }
  if (MathVars.UsedInt) row[kLimitMarkKind] = CurveWork.CurveX[k] < 0 ? 2.0 : 3.0;
  if (IsOutsideViewBox(v + 1)) {
    ClearMarks(row);
    return false;
  }
  row[kStartPoint] = v;
  row[kEndPoint] = v + 1;
  ColourSegment(row);
  return true;
}

void BuildCurveFromPoints() {
  const int n = CurveSteps();
  if (n <= 0) return;
  Scene.ViewXMin -= kBoxMargin;
  Scene.ViewXMax += kBoxMargin;
  Scene.ViewYMin -= kBoxMargin;
  Scene.ViewYMax += kBoxMargin;
  if (Scene.ViewZMin != 0) Scene.ViewZMin -= kBoxMargin;
  if (Scene.ViewZMax != 0) Scene.ViewZMax += kBoxMargin;

  bool beyondRangeKept = false;
  for (int k = 0; k <= n; ++k) {
    const bool kept = AddCurveSegment(k);
    if (Scene.VertexCount >= kCurveVertexLimit || (!kept && !SceneHasRoom(2))) return;
    if (kept) {
      Scene.SegmentTable[Scene.SegmentCount][kDotMark] = 0;
      Scene.VertexCount = static_cast<int16_t>(Scene.VertexCount + 2);
      Scene.SegmentCount = static_cast<int16_t>(Scene.SegmentCount + 1);
    }
    beyondRangeKept = kept;  // after the loop: whether segment n -> n+1 was kept
  }
  if (Scene.VertexCount == 0) {
    ui::Ui().MsgBox(u"The auto axis cannot be applied on one axis to a constant function.",
                    ui::kOkOnly, field::kAppTitle);
    return;
  }
  // The segment from point n to point n + 1 lies beyond the range: the curve ends at PlotTMax.
  // Only that segment is taken back, never one of an earlier curve or builder.
  if (beyondRangeKept) {
    Scene.VertexCount = static_cast<int16_t>(Scene.VertexCount - 2);
    Scene.SegmentCount = static_cast<int16_t>(Scene.SegmentCount - 1);
  }

  if (CurveWork.DotSpacing == 0) CurveWork.DotSpacing = kDefaultDotSpacing;
  if (CurveWork.DotSpacingOn) {
    const int spacing = std::abs(static_cast<int>(CurveWork.DotSpacing));
    for (int j = 0; j <= n; ++j) {
      if (!SceneHasRoom(2)) break;
      Scene.SegmentTable[Scene.SegmentCount][kDotMark] = 0;
      if (j % spacing != 0 || !PointValid[j]) continue;
      const int s = Scene.SegmentCount;
      AppendSegment(CurvePoint(j), CurvePoint(j), 0, 0, 0);
      Scene.SegmentTable[s][kDotMark] = 1.0;
    }
  }

  const int m = static_cast<int>(rt::Int(n * 0.99));
  CurveWork.ArrowFlagPos = static_cast<int16_t>(CurveWork.ArrowFlagPos + 1);
  const int flag = CurveWork.ArrowFlagPos;
  if (flag >= 1 && flag <= static_cast<int>(PlotRequest.ArrowFlags.size()) &&
      PlotRequest.ArrowFlags[flag - 1] == u'a' && PointValid[m] && PointValid[n]) {
    AddVectorArrow(CurveWork.CurveX[m], CurveWork.CurveY[m], CurveWork.CurveZ[m],
                   CurveWork.CurveX[n], CurveWork.CurveY[n], CurveWork.CurveZ[n],
                   PlotRequest.PlotSteps, CurveWork.CurveRed, CurveWork.CurveGreen,
                   CurveWork.CurveBlue);
  }
}

int16_t GenerateCurvePoints(int32_t xFunction, int32_t yFunction, int32_t zFunction) {
  const int32_t functions[3] = {xFunction, yFunction, zFunction};
  for (int32_t f : functions) {
    if (f < 1 || f > Tables.FuncCount || f > kMaxFunctions) return 0;
  }
  // The parameter's value lives in the value list, above every other entry with its name.
  if (Tables.ValueTop < 0 || Tables.ValueTop + 2 > kMaxValueIndex) return 0;
  Tables.ValueTop += 2;
  ValueRec& parameter = Tables.ValueList[Tables.ValueTop];
  parameter.Name = PlotRequest.PlotVariable;
  parameter.Value = PlotRequest.PlotTMin;

  Scene.GridUnitX = View.UserGridUnitX;
  Scene.GridUnitY = View.UserGridUnitY;
  Scene.GridUnitZ = View.UserGridUnitZ;
  View.ArrowAngleFactor = 1.0;

  // Each component bound once, the parameter its one argument; a component that cannot be bound
  // is run by Evaluate, which reads the parameter's entry.
  std::array<BoundCode, 3> bound;
  std::array<bool, 3> isBound{};
  const bool bind = FunctionBindingsEnabled() && PlotRequest.PlotVariable.size() == 1;
  for (size_t c = 0; c < 3; ++c) {
    isBound[c] =
        bind && BindCode(Tables.FuncTable[functions[c]].Code, PlotRequest.PlotVariable, bound[c]);
  }
  const int n = CurveSteps();
  PoleStandInWatch pole;
  for (int i = 0; i <= n + 1; ++i) {
    std::array<double, 3> v{};
    bool valid = true;
    for (size_t c = 0; c < 3; ++c) {
      const int16_t msgNo = isBound[c] ? RunBound(bound[c], &parameter.Value, v[c])
                                       : Evaluate(Tables.FuncTable[functions[c]].Code, v[c]);
      if (msgNo == kMsgUndefinedName) return msgNo;
      valid = valid && msgNo == 0;
    }
    const double x = v[0] / Scene.GridUnitX;
    const double y = v[1] / Scene.GridUnitY;
    const double z = v[2] / Scene.GridUnitZ;
    // A failed evaluation, a coordinate that is the ±1E+20 stand-in for a pole (1/t at t = 0),
    // or a value beyond the doubles (a grid unit of 0), gives no point.
    valid = !pole.Met() && valid && std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
    AcceptCurvePoint(i, x, y, z, valid);
    // The parameter advances by adding the step, as the range was laid out.
    parameter.Value += PlotRequest.PlotDt;
  }
  BuildCurveFromPoints();
  return 0;
}

}  // namespace ms
