#include "commands/IntegCommand.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "commands/CommandProgressSink.h"
#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"
#include "numerics/Integ.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/UiServices.h"
#include "plotting/SceneStore.h"

namespace ms {

double IntegResult = 0;
rt::Text IntegConstId;

void SplitIntegralConstant(const rt::Text& statement, rt::Text& constId, rt::Text& rest) {
  if (rt::CharAt(statement, 2) == u'=') {
    constId = rt::Left(statement, 1);
    rest = rt::Mid(statement, 3);
  } else {
    constId = rt::Left(statement, 2);
    rest = rt::Mid(statement, 4);
  }
}

int16_t StopAtPole() {
  ui::Ui().MsgBox(
      u"A division by zero encounted given the integral range.\r\nKey Return button to "
      u"return to the worksheet.",
      ui::kOkOnly, u"");
  return kMsgIntegralPole;
}

void StoreIntegralConstant(double value) {
  rt::Text padded = IntegConstId;
  if (padded.size() == 1) padded += u'_';
  for (int k = 1; k <= Tables.ConstCount && k <= kMaxConstants; ++k) {
    ConstRec& rec = Tables.ConstTable[k];
    if (rec.Name == IntegConstId || rec.Name == padded) {
      rec.Name = padded;
      rec.Expr.clear();  // listed empty, as a root of Zero[ is
      rec.ValueText = rt::Str(value);
      rec.Spare1 = 0;
      rec.Locked = 0;
      rec.NotComputed = false;
      return;
    }
  }
}

namespace {

constexpr int16_t kMsgKeyword = 5000;
constexpr int16_t kMsgBracket = 5005;
constexpr int16_t kMsgFunctionLetter = 5010;
constexpr int16_t kMsgCommaAfterF = 5020;
constexpr int16_t kMsgCommaAfterG = 5040;
constexpr int16_t kMsgFunctionList = 5050;
constexpr int16_t kMsgOneParameter = 5060;
constexpr int16_t kMsgClosing = 5080;
constexpr int16_t kMsgSameLimits = 5090;
constexpr int16_t kMsgPanels = 5095;
constexpr int16_t kMsgVertexLimit = 3990;
constexpr int kIntegSlots = kMaxIntegStatements;
static_assert(kIntegSlots == kIntegSlotCount, "one solution slot per integral statement");
constexpr double kMinGridUnit = 1e-6;

// Components of an integral slot.
constexpr int kNodeX = 1;
constexpr int kPlotted = 2;
constexpr int kWork = 3;

// The slot last computed in this run and its final value, for the statement after it.
struct IntegChain {
  int slot = 0;
  double value = 0;
} Chain;

// A one-parameter function record through an assignment text to the temporary constant f1;
// record 0 (not given) binds nothing.
RealFunction BindOneParameter(int16_t record) {
  if (record <= 0) return {};
  return [name = Tables.FuncTable[record].Name](double x, double& value) -> int16_t {
    return EvalFunctionCall(u"f1", name, &x, 1, value);
  };
}

// Looks up a function of exactly one parameter: 5050 when absent or without a parameter, 5060
// when it has a second.
int16_t FindOneParameterFunction(const rt::Text& id, int16_t& index) {
  rt::Text firstParm;
  int16_t found = 0;
  int16_t lookup = 0;
  lookup = FindFunction(id, firstParm, found);
  if (lookup != 0 || firstParm.empty() || found < 1 || found > Tables.FuncCount)
    return kMsgFunctionList;
  if (!Tables.FuncTable[found].Parm2.empty()) return kMsgOneParameter;
  index = found;
  return 0;
}

}  // namespace

void ResetIntegChain() {
  Chain = IntegChain{};
}

int16_t ComputeInteg(int16_t fIndex, int16_t gIndex, int16_t hIndex, double a, double b, double n,
                     int16_t slot) {
  const int panels = static_cast<int>(std::min(n, kMaxIntegPanels));
  if (slot < 1 || slot > kIntegSlots) return kMsgIntegralListFull;
  if (panels < 1) return kMsgPanels;
  const int column = IntegSlot(slot);

  SetSolution(0, kNodeX, column, a);
  SetSolution(0, kWork, column, 0);
  // Continue the curve of the statement just before, when that one was computed in this run.
  const double start = (slot > 1 && Chain.slot == slot - 1) ? Chain.value : 0.0;
  SetSolution(0, kPlotted, column, start);

  // Each panel takes four values of F and one of G and of H each: counted as such for the poll.
  const int valuesPerPanel = 4 + (gIndex > 0 ? 1 : 0) + (hIndex > 0 ? 1 : 0);
  RestartAbortPoll();
  std::optional<CommandProgress> bar;
  RunningIntegral rows;
  const int16_t msgNo =
      RunningSimpson38(BindOneParameter(fIndex), BindOneParameter(gIndex), BindOneParameter(hIndex),
                       a, b, panels, start, CommandProgressSink(bar, valuesPerPanel), rows);
  // The rows finished stay in the slot whatever ended the run.
  for (size_t k = 0; k < rows.x.size(); ++k) {
    const int i = static_cast<int>(k) + 1;
    SetSolution(i, kNodeX, column, rows.x[k]);
    SetSolution(i, kPlotted, column, rows.running[k]);
    SetSolution(i, kWork, column, rows.weighted[k]);
  }
  if (msgNo == kMsgIntegralPole) return StopAtPole();
  if (msgNo != 0 || rows.stopped) return msgNo;
  for (int i = 1; i <= panels; ++i) {
    SetSolution(i, kPlotted, column, SolutionAt(i, kWork, column));
    SetSolution(i, kWork, column, 0);
  }
  IntegResult = SolutionAt(panels, kPlotted, column);
  Chain = {slot, IntegResult};
  StoreIntegralConstant(IntegResult);
  Solutions.SphereMarkersOn = -1;
  Requests.IntegRequested = -1;
  return 0;
}

int16_t PlotIntegCurve(int16_t slot, int n) {
  if (slot < 1 || slot > kIntegSlotCount) return 0;
  const int column = IntegSlot(slot);
  n = std::clamp(n, 0, kSolutionLastRow);
  if (Scene.GridUnitX < kMinGridUnit || Scene.GridUnitY < kMinGridUnit) {
    Scene.GridUnitX = Scene.GridUnitY = Scene.GridUnitZ = 1.0;
  }
  Scene.ViewXMin = Scene.ViewYMin = Scene.ViewZMin = 10000;
  Scene.ViewXMax = Scene.ViewYMax = Scene.ViewZMax = -10000;
  for (int i = 0; i <= n; ++i) {
    const double cx = SolutionAt(i, kNodeX, column) / Scene.GridUnitX;
    const double cy = SolutionAt(i, kPlotted, column) / Scene.GridUnitY;
    CurveWork.CurveX[i] = cx;
    CurveWork.CurveY[i] = cy;
    CurveWork.CurveZ[i] = 0;
    WidenViewBox(cx, cy, 0.0);
  }
  Solutions.CurveSteps = static_cast<int16_t>(n);
  Solutions.IntegRows[static_cast<size_t>(slot)] = static_cast<int16_t>(n);
  for (int i = 0; i <= n; ++i) {
    if (Scene.VertexCount >= kCurveVertexLimit) return kMsgVertexLimit;
    if (StoreCurveVertex(i)) {
      Scene.VertexCount = static_cast<int16_t>(Scene.VertexCount + 2);
      Scene.SegmentCount = static_cast<int16_t>(Scene.SegmentCount + 1);
    }
  }
  if (Scene.VertexCount == 0) {
    ui::Ui().MsgBox(u"The auto axis cannot be applied on one axis to a constant function.",
                    ui::kOkOnly, u"");
    return 0;
  }
  StoreSceneCounts();
  return 0;
}

int16_t ParseIntegArgs(const rt::Text& statement, IntegArgs& args) {
  args = IntegArgs{};
  rt::Text s;
  SplitIntegralConstant(statement, args.constId, s);
  const rt::Text keyword = rt::Left(s, 5);
  if (keyword != u"Integ" && keyword != u"integ") return kMsgKeyword;
  StatementReader r(s, 6);
  rt::Text fId, gId, hId;
  int16_t msgNo = r.Expect(u'[', kMsgBracket);
  if (msgNo == 0) msgNo = r.ReadFunctionId(fId, kMsgFunctionLetter);
  if (msgNo == 0) msgNo = FindOneParameterFunction(fId, args.fRecord);
  if (msgNo == 0) msgNo = r.Expect(u',', kMsgCommaAfterF);
  if (msgNo == 0 && !r.At(u'{')) {
    // G (and H) before the range: the curves that are plotted with the integral.
    msgNo = r.ReadFunctionId(gId, kMsgFunctionList);
    if (msgNo == 0) msgNo = r.Expect(u',', kMsgCommaAfterG);
    if (msgNo == 0 && r.AtUpper()) {
      msgNo = r.ReadFunctionId(hId, kMsgFunctionList);
      if (msgNo == 0) msgNo = r.Expect(u',', kMsgFunctionList);
    }
    if (msgNo == 0 && !r.At(u'{')) msgNo = kMsgFunctionList;
    if (msgNo == 0) msgNo = FindOneParameterFunction(gId, args.gRecord);
    if (msgNo == 0 && !hId.empty()) msgNo = FindOneParameterFunction(hId, args.hRecord);
  }
  if (msgNo != 0) return msgNo;
  r.Skip();  // after "{"

  double n = 0, marker = 0;
  msgNo = r.ReadRangeValues({&args.a, &args.b, &n, &marker}, u'}');
  if (msgNo != 0) return msgNo;
  const double spacing = rt::Int(marker + 0.1);
  args.markerSpacing = spacing < 1 ? 0 : static_cast<int16_t>(std::min<double>(spacing, INT16_MAX));
  if (!r.At(u']')) return kMsgClosing;
  if (args.a == args.b) return kMsgSameLimits;
  // A fractional panel count is taken to the nearest whole number (halves to even), so that the
  // panels computed and the row read for the result are the same.
  args.panels = std::min(rt::RoundHalfEven(std::min(n, 1e9)), kMaxIntegPanels);
  if (!(n > 0) || args.panels < 1) return kMsgPanels;
  return 0;
}

int16_t ProcessInteg(const rt::Text& statement, int16_t slot, bool fromGraph) {
  RunFlags.AbortRun = 0;
  IntegArgs args;
  const int16_t msgNo = ParseIntegArgs(statement, args);
  IntegConstId = args.constId;
  if (args.markerSpacing) Solutions.IntegMarkerSpacing = *args.markerSpacing;
  // Slots are computed in order; a lower or equal slot starts a new run of the chain.
  if (slot <= Chain.slot) ResetIntegChain();
  if (msgNo != 0) return msgNo;
  const double a = args.a, b = args.b, panels = args.panels;
  int16_t fIndex = args.fRecord, gIndex = args.gRecord, hIndex = args.hRecord;
  CurveWork.DotSpacingOn = -1;
  if (!(fromGraph && RunFlags.Replot)) {
    if (const int16_t computed = ComputeInteg(fIndex, gIndex, hIndex, a, b, panels, slot);
        computed != 0)
      return computed;
    // Stopped by Esc: nothing of the slot is drawn, the constant keeps what it held.
    if (RunFlags.AbortRun != 0) return 0;
  } else if (slot < 1 || slot > kIntegSlots) {
    return kMsgIntegralListFull;
  }
  return PlotIntegCurve(slot, static_cast<int>(panels));
}

}  // namespace ms
