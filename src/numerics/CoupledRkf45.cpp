#include "numerics/CoupledRkf45.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "numerics/Ivp.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"

namespace ms {

namespace {

constexpr int kMaxVars = 4;
constexpr int16_t kMsgVertexLimit = 3990;

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
  int vars;  // unknowns: 2, 3 or 4
  std::array<const rt::Text*, kMaxVars> ids;
  std::array<const char16_t*, kMaxVars> resultNames;  // temporary constant per right-hand side
  double firstStep;                                   // 0 means: tol
  int firstComponent;                                 // component holding X (Y, Z follow)
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

// One Fehlberg step of the system: every right-hand side evaluated at each stage point in turn,
// fourth-order values for all unknowns, the largest of their error estimates.
int16_t CoupledStep(const Member& m, double t, const double* v, double h, double& tNew,
                    double* vNew, double& errEst) {
  using namespace fehlberg;
  std::array<std::array<double, kStages>, kMaxVars> k{};
  std::array<double, kMaxVars + 1> args{};
  for (int i = 0; i < kStages; ++i) {
    args[0] = t + kNode[i] * h;
    for (int j = 0; j < m.vars; ++j) {
      double vi = v[j];
      for (int s = 0; s < i; ++s)
        if (kStage[i][s] != 0) vi += kStage[i][s] * k[j][s];
      args[j + 1] = vi;
    }
    for (int j = 0; j < m.vars; ++j) {
      double f = 0;
      const int16_t msgNo = EvalRhs(m.resultNames[j], *m.ids[j], args.data(), m.vars + 1, f);
      if (msgNo != 0) return msgNo;
      k[j][i] = h * f;
    }
  }
  // The step is as good as its worst unknown: the largest of their error estimates steers it.
  errEst = 0;
  for (int j = 0; j < m.vars; ++j) {
    double err = 0;
    for (int i = 0; i < kStages; ++i)
      if (kError[i] != 0) err += kError[i] * k[j][i];
    if (!(std::fabs(err) <= errEst)) errEst = std::fabs(err);  // NaN included
  }
  tNew = t + h;
  for (int j = 0; j < m.vars; ++j) {
    double x4 = v[j];
    for (int i = 0; i < kStages; ++i)
      if (kOrder4[i] != 0) x4 += kOrder4[i] * k[j][i];
    vNew[j] = x4;
  }
  return 0;
}

// The step of a member as the public steps see it: nothing at all while AbortRun is set, outputs
// untouched on failure.
int16_t MemberStep(const Member& m, double t, const std::array<double, kMaxVars>& v, double h,
                   double& tNew, std::array<double, kMaxVars>& vNew, double& errEst) {
  if (RunFlags.AbortRun) return 0;
  double tn = 0, e = 0;
  std::array<double, kMaxVars> out{};
  if (const int16_t msgNo = CoupledStep(m, t, v.data(), h, tn, out.data(), e); msgNo != 0)
    return msgNo;
  tNew = tn;
  for (int j = 0; j < m.vars; ++j) vNew[static_cast<size_t>(j)] = out[static_cast<size_t>(j)];
  errEst = e;
  return 0;
}

SlotSet SlotsOf(int vars, double mode) {
  if (mode == 1) return Slots(kMode1Slots);
  if (vars == 2) return Slots(kTwoPlainSlots);
  if (vars == 3) return Slots(kThreePlainSlots);
  if (mode == 2) return Slots(kFourSecondOrderSlots);
  return Slots(kFourPlainSlots);
}

double SourceValue(int source, double t, const std::array<double, kMaxVars>& v) {
  if (source == kZero) return 0.0;
  if (source == kT) return t;
  return v[static_cast<size_t>(source - 1)];
}

// Where a solve keeps its rows: its view slots moved by slotOffset, and its count of rows.
struct Target {
  int slotOffset;
  int16_t* pointCount;
};
const Target kViewTarget{0, &Solutions.StoredPointCount};

void StorePoint(const Member& m, const SlotSet& set, const Target& to, int row, double t,
                const std::array<double, kMaxVars>& v) {
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

// The driver shared by the three members.
int16_t Solve(const Member& m, double t0, double tf, const std::array<double, kMaxVars>& start,
              double factor, double tol, double mode, bool setsPlotKind, const Target& to) {
  RunFlags.AbortRun = 0;
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
    double t = t0;
    std::array<double, kMaxVars> v = start;
    double h = m.firstStep > 0 ? m.firstStep : tol;
    double storeRef = start[0];
    int16_t unstored = 1;
    int16_t points = 1;
    bool stopped = false;
    // Row 1 holds the start point, row 2 on the point at which each stored step began; the
    // final step is shortened to land on tf, whose point ends the rows.
    if (tf >= t0) {
      StorePoint(m, slots, to, 1, t0, start);
      OdeResults.InitialSlope = start[1];
    }
    bool firstStep = true;
    while (t < tf && !stopped) {
      if (RunFlags.AbortRun) return 0;
      ui::Ui().DoEvents();
      const bool finalStep = !(t + h < tf);
      const double step = finalStep ? tf - t : h;
      double tNew = t, errEst = 0;
      std::array<double, kMaxVars> vNew = v;
      if (const int16_t msgNo = MemberStep(m, t, v, step, tNew, vNew, errEst); msgNo != 0)
        return msgNo;
      // Esc during the event loop: the step did nothing; leave without drawing.
      if (RunFlags.AbortRun) return 0;
      bool exceeded = false;
      for (int j = 0; j < m.vars; ++j)
        if (!(std::fabs(vNew[static_cast<size_t>(j)]) <= kValueLimit)) exceeded = true;
      if (exceeded) {
        ui::Ui().MsgBox(kValuesExceeded, ui::kOkOnly, u"");
        stopped = true;
        break;
      }
      h = NextStepSize(step, errEst, tol);
      if (!StepAccepted(step, errEst, tol)) continue;
      int16_t store = 0;
      TestStoreFactor(storeRef, vNew[0], factor, store, unstored);
      if (unstored >= kMaxUnstoredSteps) {
        unstored = 0;
        store = -1;
      }
      // The start point is row 1 already.
      if (store && firstStep) {
        store = 0;
        storeRef = vNew[0];
      }
      firstStep = false;
      if (store && points <= kMaxStoredRow) {
        if (points == kMaxStoredRow) {
          ui::Ui().MsgBox(m.pointLimitText, ui::kOkOnly, u"");
          stopped = true;
          points = kMaxStoredRow - 1;
        }
        ++points;
        StorePoint(m, slots, to, points, t, v);
        storeRef = vNew[0];
      }
      t = finalStep ? tf : tNew;
      v = vNew;
    }
    // The end point tf; a full table gives its last row to it.
    if (!stopped && tf > t0) {
      if (points < kMaxStoredRow) ++points;
      StorePoint(m, slots, to, points, tf, v);
    }
    *to.pointCount = points;
    if (setsPlotKind) {
      if (mode == 2) View.PlotKind = 8;
      if (mode == 3) View.PlotKind = 18;
    }
  }
  return BuildCurve(m, mode, to);
}

// The two-equation driver's settings.
Member TwoEquationSolver(const rt::Text& F, const rt::Text& G) {
  return Member{2,
                {&F, &G, nullptr, nullptr},
                {u"f1", u"f2", nullptr, nullptr},
                0.001,
                1,
                kLimitTwoFour,
                kOutsideUpper,
                1e-6,
                false,
                -100000,
                false};
}

}  // namespace

int16_t RKF45Step2(const rt::Text& F, const rt::Text& G, double t, double x, double y, double& tNew,
                   double& xNew, double& yNew, double h, double& errEst) {
  const Member m{2,
                 {&F, &G, nullptr, nullptr},
                 {u"f1", u"f2", nullptr, nullptr},
                 0,
                 1,
                 nullptr,
                 nullptr,
                 0,
                 false,
                 0,
                 false};
  double tn = tNew;
  std::array<double, kMaxVars> v{x, y, 0, 0};
  std::array<double, kMaxVars> out{xNew, yNew, 0, 0};
  const int16_t msgNo = MemberStep(m, t, v, h, tn, out, errEst);
  tNew = tn;
  xNew = out[0];
  yNew = out[1];
  return msgNo;
}

int16_t RKF45Step3(const rt::Text& F, const rt::Text& G, const rt::Text& H, double t, double x,
                   double y, double z, double& tNew, double& xNew, double& yNew, double& zNew,
                   double h, double& errEst) {
  const Member m{3,
                 {&F, &G, &H, nullptr},
                 {u"f1", u"f2", u"f3", nullptr},
                 0,
                 0,
                 nullptr,
                 nullptr,
                 0,
                 false,
                 0,
                 false};
  double tn = tNew;
  std::array<double, kMaxVars> v{x, y, z, 0};
  std::array<double, kMaxVars> out{xNew, yNew, zNew, 0};
  const int16_t msgNo = MemberStep(m, t, v, h, tn, out, errEst);
  tNew = tn;
  xNew = out[0];
  yNew = out[1];
  zNew = out[2];
  return msgNo;
}

int16_t RKF45Step4(const rt::Text& F, const rt::Text& G, const rt::Text& H, const rt::Text& R,
                   double t, double x, double y, double z, double w, double& tNew, double& xNew,
                   double& yNew, double& zNew, double& wNew, double h, double& errEst) {
  const Member m{
      4,    {&F, &G, &H, &R}, {u"f1", u"f1", u"f1", u"f1"}, 0, 0, nullptr, nullptr, 0, false, 0,
      false};
  double tn = tNew;
  std::array<double, kMaxVars> v{x, y, z, w};
  std::array<double, kMaxVars> out{xNew, yNew, zNew, wNew};
  const int16_t msgNo = MemberStep(m, t, v, h, tn, out, errEst);
  tNew = tn;
  xNew = out[0];
  yNew = out[1];
  zNew = out[2];
  wNew = out[3];
  return msgNo;
}

int16_t SolveIVP2(const rt::Text& F, const rt::Text& G, double t0, double tf, double x0, double y0,
                  double factor, double tol) {
  const Member m = TwoEquationSolver(F, G);
  return Solve(m, t0, tf, {x0, y0, 0, 0}, factor, tol, OdePicture.IVPPlotMode, false, kViewTarget);
}

int16_t SolveShootingCurve(const rt::Text& F, const rt::Text& G, double t0, double tf, double x0,
                           double y0, double factor, double tol) {
  const Member m = TwoEquationSolver(F, G);
  return Solve(m, t0, tf, {x0, y0, 0, 0}, factor, tol, 1, false,
               {kShootingSlotBase, &Solutions.ShootingPointCount});
}

int16_t SolveIVP3(const rt::Text& F, const rt::Text& G, const rt::Text& H, double t0, double tf,
                  double x0, double y0, double z0, double factor, double tol, double mode) {
  const Member m{3,
                 {&F, &G, &H, nullptr},
                 {u"f1", u"f2", u"f3", nullptr},
                 0,
                 0,
                 kLimitThree,
                 kOutsideUpper,
                 1e-4,
                 true,
                 -10000,
                 true};
  return Solve(m, t0, tf, {x0, y0, z0, 0}, factor, tol, mode, false, kViewTarget);
}

int16_t SolveIVP4(const rt::Text& F, const rt::Text& G, const rt::Text& H, const rt::Text& R,
                  double t0, double tf, double x0, double y0, double z0, double w0, double factor,
                  double tol, double mode) {
  const Member m{4,
                 {&F, &G, &H, &R},
                 {u"f1", u"f1", u"f1", u"f1"},
                 0,
                 0,
                 kLimitFour,
                 kOutsideLower,
                 1e-4,
                 true,
                 -10000,
                 false};
  return Solve(m, t0, tf, {x0, y0, z0, w0}, factor, tol, mode, true, kViewTarget);
}

}  // namespace ms
