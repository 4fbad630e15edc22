#include "numerics/CoupledRkf45.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "numerics/Ivp.h"
#include "numerics/Rkf45.h"
#include "numerics/Rkf45Step.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"

namespace ms {

namespace {

constexpr int kMaxVars = kMaxEquations;

// Sources of a view coordinate: the independent variable, one of the unknowns, or zero.
enum Source : int { kZero = -1, kT = 0, kX = 1, kY = 2, kZ = 3, kW = 4 };

// One view slot of the solution table and what its X, Y and Z are.
struct ViewSlot {
  int slot;
  std::array<int, 3> xyz;
};

constexpr ViewSlot kMode1Slots[] = {
    {1, {kT, kX, kZero}}, {2, {kT, kY, kZero}}, {3, {kX, kY, kZero}}};
constexpr ViewSlot kTwoPlainSlots[] = {
    {15, {kT, kX, kZero}}, {16, {kT, kY, kZero}}, {17, {kX, kY, kZero}}};
constexpr ViewSlot kThreePlainSlots[] = {{1, {kT, kX, kZero}},
                                         {4, {kT, kX, kZero}},
                                         {5, {kT, kY, kZero}},
                                         {6, {kT, kZ, kZero}},
                                         {7, {kX, kY, kZ}}};
constexpr ViewSlot kFourSecondOrderSlots[] = {
    {8, {kT, kX, kZero}},  {9, {kT, kY, kZero}},  {10, {kX, kY, kZero}}, {11, {kT, kZ, kZero}},
    {12, {kT, kW, kZero}}, {13, {kZ, kW, kZero}}, {14, {kX, kZ, kZero}}};
constexpr ViewSlot kFourPlainSlots[] = {{18, {kT, kX, kZero}},
                                        {19, {kT, kY, kZero}},
                                        {20, {kT, kZ, kZero}},
                                        {21, {kT, kW, kZero}},
                                        {22, {kX, kY, kZ}}};

struct SlotSet {
  const ViewSlot* slots;
  int count;
};
template <size_t N>
constexpr SlotSet Slots(const ViewSlot (&s)[N]) {
  return {s, static_cast<int>(N)};
}

// What sets the members of the family apart.
struct Member {
  int vars;            // unknowns: 2, 3 or 4
  double firstStep;    // 0 means: tol
  int firstComponent;  // component holding X (Y, Z follow)
  const char16_t* pointLimitText;
  const char16_t* outsideText;
  double gridMin;
  bool guardTimeGrid;
  double boxMaxStart;
  bool zAxisOnView7;
};

const char16_t* const kValuesExceeded =
    u"Values exceeded 100,000. Click OK to allow partial results plotted.";
const char16_t* const kLimitTwoFour =
    u"Number of data points > 1000, or values > 1E5. Try increasing the Factor value.\r\n"
    u"Continuity may be questioned or division by zero occured.\r\n\r\n"
    u"Click OK to plot the data upto the termination point.";
const char16_t* const kLimitThree =
    u"Number of data points > 1000. Try increasing the factor value.\r\n"
    u"Continuity may be questioned  or division by zero occured.\r\n\r\n"
    u"Click OK to plot the data upto the termination of the computations.";
const char16_t* const kLimitFour =
    u"Number of data points > 1000. Try increasing the Factor value.\r\n"
    u"Continuity may be questioned or division by zero occured.\r\n\r\n"
    u"Click OK to plot the data upto the termination point.";
const char16_t* const kOutsideUpper =
    u"Data Range was outside the scope for plotting. Check the input parameters.";
const char16_t* const kOutsideLower =
    u"Data range was outside the scope for plotting. Check the input parameters.";

SlotSet SlotsOf(int vars, double mode) {
  if (mode == 1) return Slots(kMode1Slots);
  if (vars == 2) return Slots(kTwoPlainSlots);
  if (vars == 3) return Slots(kThreePlainSlots);
  if (mode == 2) return Slots(kFourSecondOrderSlots);
  return Slots(kFourPlainSlots);
}

double SourceValue(int source, double t, const OdeValues& v) {
  if (source == kZero) return 0.0;
  if (source == kT) return t;
  return v[static_cast<size_t>(source - 1)];
}

// Where a solve keeps its rows: its view slots moved by slotOffset, and its count of rows; where
// given, endX receives x at tf of a solve that reached it (and is left alone otherwise).
struct Target {
  int slotOffset;
  int16_t* pointCount;
  std::optional<double>* endX = nullptr;
};
const Target kViewTarget{0, &Solutions.StoredPointCount};

void StorePoint(const Member& m, const SlotSet& set, const Target& to, int row, double t,
                const OdeValues& v) {
  for (int i = 0; i < set.count; ++i) {
    const ViewSlot& vs = set.slots[i];
    for (int c = 0; c < 3; ++c)
      SetSolution(row, m.firstComponent + c, vs.slot + to.slotOffset,
                  RoundToSingle(SourceValue(vs.xyz[static_cast<size_t>(c)], t, v)));
  }
}

// The curve of the view slot PlotKind from the stored rows, with the member's grid-unit guard,
// view box start and components.
int16_t BuildCurve(const Member& m, double mode, const Target& to) {
  const int slot = View.PlotKind;
  if (slot < 1 || slot > kViewSlots) return 0;
  std::optional<double>& gridT = IvpView.TimeGridUnit;
  const bool tooSmall = Scene.GridUnitX < m.gridMin || Scene.GridUnitY < m.gridMin ||
                        Scene.GridUnitZ < m.gridMin ||
                        (m.guardTimeGrid && gridT.has_value() && *gridT < m.gridMin);
  if (tooSmall) {
    Scene.GridUnitX = Scene.GridUnitY = Scene.GridUnitZ = 1.0;
    if (m.guardTimeGrid && gridT.has_value()) *gridT = 1.0;
  }
  if (m.zAxisOnView7 && mode != 1 && slot == 7) View.ZAxisNeeded = -1;
  CurveBuild build;
  build.firstComponent = m.firstComponent;
  build.gridMin = m.gridMin;
  build.guardGridZ = true;
  build.boxMaxStart = m.boxMaxStart;
  build.outsideText = m.outsideText;
  build.lastRow = to.pointCount;
  return BuildSolutionCurve(static_cast<int16_t>(slot + to.slotOffset), build);
}

// True when the slot set holds the view code.
bool HasSlot(const SlotSet& set, int code) {
  for (int i = 0; i < set.count; ++i)
    if (set.slots[i].slot == code) return true;
  return false;
}

// The integration settings of a member's solve.
Rkf45Run RunOf(const Member& m, double t0, double tf, const OdeValues& start, double tol) {
  Rkf45Run run;
  run.equations = m.vars;
  run.t0 = t0;
  run.tf = tf;
  run.y0 = start;
  run.firstStep = m.firstStep > 0 ? m.firstStep : tol;
  run.tol = tol;
  return run;
}

// The driver shared by the three members.
int16_t Solve(const Member& m, const OdeRhs& f, double t0, double tf, const OdeValues& start,
              double factor, double tol, double mode, bool setsPlotKind, const Target& to,
              const ProgressSink& progress) {
  // Start point in row 0 of slot 1: t and the unknowns from the member's first component on.
  const int startComponent = m.firstComponent;
  const int startSlot = 1 + to.slotOffset;
  SetSolution(0, startComponent, startSlot, t0);
  for (int j = 0; j < m.vars; ++j)
    SetSolution(0, startComponent + 1 + j, startSlot, start[static_cast<size_t>(j)]);
  // The text overlays show the solved range; a pending Plot[ keeps its own range.
  if (!Requests.PlotRequested && !Tables.PlotPending) {
    PlotRequest.PlotTMin = t0;
    PlotRequest.PlotTMax = tf;
  }
  const SlotSet slots = SlotsOf(m.vars, mode);
  // The first picture of a mode whose views do not include the current code is the mode's first
  // view, never a slot that this solve does not fill.
  if (!HasSlot(slots, View.PlotKind)) View.PlotKind = View.ODEViewRequest = slots.slots[0].slot;

  if (!RunFlags.Replot) {
    StoredRows rows(start[0]);
    bool stopped = false;
    // Row 1 holds the start point, row 2 on the point at which each stored step began; the
    // final step is shortened to land on tf, whose point ends the rows.
    if (tf >= t0) {
      StorePoint(m, slots, to, 1, t0, start);
      OdeResults.InitialSlope = start[1];
    }
    // Where the last step tried began: the point a solve stopped at the smallest step ends on.
    double lastT = t0;
    OdeValues lastY = start;
    const auto observe = [&](const Rkf45Trial& s) {
      lastT = s.t;
      lastY = s.y;
      for (int j = 0; j < m.vars; ++j)
        if (!(std::fabs(s.yNew[static_cast<size_t>(j)]) <= kValueLimit)) {
          ui::Ui().MsgBox(kValuesExceeded, ui::kOkOnly, u"");
          stopped = true;
          return false;
        }
      if (!s.accepted) return true;
      bool full = false;
      const int16_t row = rows.Next(s.yNew[0], factor, full);
      if (full) {
        ui::Ui().MsgBox(m.pointLimitText, ui::kOkOnly, u"");
        stopped = true;
      }
      if (row != 0) StorePoint(m, slots, to, row, s.t, s.y);
      return !stopped;
    };
    const Rkf45Run run = RunOf(m, t0, tf, start, tol);
    Rkf45End end = Rkf45End::kReachedEnd;
    OdeValues v = start;
    if (const int16_t msgNo = Rkf45Integrate(f, run, progress, observe, end, v); msgNo != 0)
      return msgNo;
    // Esc: leave without drawing.
    if (end == Rkf45End::kAborted) return 0;
    if (end == Rkf45End::kBeyondSmallestStep) {
      ShowBeyondSmallestStep();
      stopped = true;
      if (lastT > t0) StorePoint(m, slots, to, rows.TakeEndRow(), lastT, lastY);
    }
    // The end point tf; a full table gives its last row to it.
    if (!stopped && tf > t0) {
      StorePoint(m, slots, to, rows.TakeEndRow(), tf, v);
      if (to.endX != nullptr) *to.endX = v[0];
    }
    *to.pointCount = rows.Count();
    if (setsPlotKind) {
      if (mode == 2) View.PlotKind = 8;
      if (mode == 3) View.PlotKind = 18;
    }
  }
  return BuildCurve(m, mode, to);
}

// The settings of the member for 2, 3 or 4 unknowns.
Member SystemMember(int vars) {
  if (vars == 2)
    return Member{2, 0.001, 1, kLimitTwoFour, kOutsideUpper, 1e-6, false, -100000, false};
  if (vars == 3) return Member{3, 0, 0, kLimitThree, kOutsideUpper, 1e-4, true, -10000, true};
  return Member{4, 0, 0, kLimitFour, kOutsideLower, 1e-4, true, -10000, false};
}

}  // namespace

int16_t SolveIvpSystem(const OdeRhs& f, int equations, double t0, double tf, const OdeValues& start,
                       double factor, double tol, double mode, const ProgressSink& progress) {
  if (equations < 2 || equations > kMaxVars) return 0;
  return Solve(SystemMember(equations), f, t0, tf, start, factor, tol, mode, equations == 4,
               kViewTarget, progress);
}

int16_t SolveShootingCurve(const OdeRhs& f, double t0, double tf, double x0, double y0,
                           double factor, double tol, const ProgressSink& progress,
                           std::optional<double>& endX) {
  endX.reset();
  return Solve(SystemMember(2), f, t0, tf, {x0, y0, 0, 0}, factor, tol, 1, false,
               {kShootingSlotBase, &Solutions.ShootingPointCount, &endX}, progress);
}

int16_t ShootingCurveEnd(const OdeRhs& f, double t0, double tf, double x0, double y0, double tol,
                         const ProgressSink& progress, std::optional<double>& endX) {
  endX.reset();
  const Member m = SystemMember(2);
  const auto observe = [&](const Rkf45Trial& s) {
    for (int j = 0; j < m.vars; ++j)
      if (!(std::fabs(s.yNew[static_cast<size_t>(j)]) <= kValueLimit)) return false;
    return true;
  };
  Rkf45End end = Rkf45End::kReachedEnd;
  OdeValues v{};
  const int16_t msgNo =
      Rkf45Integrate(f, RunOf(m, t0, tf, {x0, y0, 0, 0}, tol), progress, observe, end, v);
  if (msgNo == 0 && end == Rkf45End::kReachedEnd && tf > t0) endX = v[0];
  return msgNo;
}

}  // namespace ms
