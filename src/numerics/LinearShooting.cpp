#include "numerics/LinearShooting.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <tuple>

#include "language/CommandRequests.h"
#include "numerics/Bvp.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/UiServices.h"
#include "plotting/SceneStore.h"

namespace ms {

LinearShootingData LinearShooting;

namespace {

constexpr int16_t kMsgNoValue = kMsgRhsFailed;
constexpr int16_t kMsgVertexLimit = 3990;
constexpr double kMinGridUnit = 1e-5;
// The difference of the two runs at tb must stand out from the integration error of that
// difference by this factor (known to half its size, it has its sign and its order), and from
// rounding by kRoundoffShare of the runs' size.
constexpr double kErrorMargin = 2.0;
constexpr double kRoundoffShare = 1e-12;
// The classical Runge-Kutta error falls by 2^4 with the step halved: the error at h is 16/15 of
// the difference of the values at h and h/2 (Richardson).
constexpr double kRichardsonRk4 = 16.0 / 15;
// The end difference is 0 (no unique solution) when it stays lost in an integration error below
// this share of the runs' size; the finer runs that decide it stop at kMaxCheckSteps steps.
constexpr double kSingularShare = 1e-9;
constexpr int kMaxCheckSteps = 1 << 15;
// The check run meets xb to this share of the largest value the combination passes through, when
// the combination's own integration error is smaller.
constexpr double kCheckRoundoffShare = 1e-9;

using RunValues = std::array<double, kBvpLastRow + 1>;

// Classical fourth-order Runge-Kutta (Kutta 1901): stage nodes, the weights of the stages in the
// stage points, and the weights of the final combination.
constexpr std::array<double, 4> kRk4Node = {0.0, 0.5, 0.5, 1.0};
constexpr std::array<double, 4> kRk4StageWeight = {0.0, 0.5, 0.5, 1.0};  // of the previous stage
constexpr std::array<double, 4> kRk4Weight = {1.0 / 6, 2.0 / 6, 2.0 / 6, 1.0 / 6};

// Writes the three view triples of a row: (t, x, 0), (t, d, 0), (x, d, 0), rounded.
void WriteViews(BvpRow& row, double t, double x, double d) {
  const double ts = RoundToSingle(t), xs = RoundToSingle(x), ds = RoundToSingle(d);
  const double views[3][3] = {{ts, xs, 0}, {ts, ds, 0}, {xs, ds, 0}};
  for (int v = 0; v < 3; ++v)
    for (int c = 0; c < 3; ++c) row[static_cast<size_t>(kBvpViewColumn[v] + c)] = views[v][c];
}

enum class RunEnd { kDone, kReturn, kFailed, kBeyondLimit };

// One fixed-step run from (t0, x, y) of last steps of size h. With a table, rows 0..last are
// written into it and xs receives x of every row at full precision (the table holds it rounded);
// xEnd receives x of the last row. Row i lies at t0 + i h, so that rounding does not accumulate,
// and no step is taken beyond the last row. The run ends past |x| or |x'| = limit (or at a value
// that is no number).
RunEnd FixedStepRun(const OdeRhs& f, double t0, double x, double y, double h, int last,
                    BvpTable* table, RunValues* xs, double& xEnd, double limit = kBvpValueLimit) {
  for (int i = 0;; ++i) {
    const double t = t0 + i * h;
    if (table) {
      WriteViews((*table)[static_cast<size_t>(i)], t, x, y);
      (*xs)[static_cast<size_t>(i)] = x;
    }
    if (i == last) {
      xEnd = x;
      return RunEnd::kDone;
    }
    if (RunFlags.AbortRun) return RunEnd::kReturn;
    ui::Ui().DoEvents();
    if (RunFlags.AbortRun) return RunEnd::kReturn;
    double tNew = 0, xNew = 0, yNew = 0;
    if (RK4Step2(f, t, x, y, tNew, xNew, yNew, h) != 0) return RunEnd::kFailed;
    if (!(std::fabs(xNew) <= limit && std::fabs(yNew) <= limit)) return RunEnd::kBeyondLimit;
    x = xNew;
    y = yNew;
  }
}

double Column(const BvpTable& table, int row, int column) {
  return table[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

// The message of a run that did not reach its last row (0 for Esc), or nothing for one that did.
std::optional<int16_t> RunMessage(RunEnd end) {
  if (end == RunEnd::kFailed) return kMsgNoValue;
  if (end == RunEnd::kBeyondLimit) return kMsgRunBeyondLimit;
  if (end != RunEnd::kDone) return int16_t{0};
  return std::nullopt;
}

// x(tb) of the runs from (x0, 0) and (x0, 1) in `steps` steps of h into ends; the message of a
// run that did not get there (0 for Esc), or nothing.
std::optional<int16_t> EndValues(const OdeRhs& f, double t0, double x0, double h, int steps,
                                 double (&ends)[2]) {
  for (int k = 0; k < 2; ++k) {
    const RunEnd end = FixedStepRun(f, t0, x0, k, h, steps, nullptr, nullptr, ends[k]);
    if (const std::optional<int16_t> msgNo = RunMessage(end)) return msgNo;
  }
  return std::nullopt;
}

// Whether d(tb) at step h stands out from its integration error, estimated from d(tb) at h/2,
// and from the rounding of runs of the given size.
bool EndDifferenceStandsOut(double d, double dHalf, double size) {
  const double error = std::fabs(d - dHalf) * kRichardsonRk4;
  return std::fabs(d) > std::max(kErrorMargin * error, kRoundoffShare * size);
}

// d(tb) = dFine at step h (steps of it) did not stand out at the user's step. Halving the step
// until it does tells a problem with one solution, whose steps were too coarse (2114), from one
// whose homogeneous equation has a solution through both boundaries (2110: d(tb) stays lost in an
// error that falls below kSingularShare of the runs' size). Gives up with 2114 past
// kMaxCheckSteps. The messages of a run pass through.
int16_t SingularOrTooCoarse(const OdeRhs& f, double t0, double x0, double h, int steps,
                            double dFine, double size) {
  for (; steps <= kMaxCheckSteps / 2; h /= 2, steps *= 2) {
    double ends[2] = {0, 0};
    if (const std::optional<int16_t> msgNo = EndValues(f, t0, x0, h / 2, 2 * steps, ends))
      return *msgNo;
    const double dHalf = ends[1] - ends[0];
    if (EndDifferenceStandsOut(dFine, dHalf, size)) return kMsgTooFewSteps;
    if (std::fabs(dFine - dHalf) * kRichardsonRk4 <= kSingularShare * size)
      return kMsgNoUniqueSolution;
    dFine = dHalf;
  }
  return kMsgTooFewSteps;
}

}  // namespace

void ResetLinearShooting() {
  for (BvpTable* table : {&LinearShooting.BVPRunTable1, &LinearShooting.BVPRunTable2,
                          &LinearShooting.BVPSolutionTable})
    for (BvpRow& row : *table) row.fill(0);
  LinearShooting.SolutionLastRow = -1;
}

int16_t RK4Step2(const OdeRhs& f, double t, double x, double y, double& tNew, double& xNew,
                 double& yNew, double h) {
  std::array<double, 4> kx{}, ky{};
  for (size_t s = 0; s < 4; ++s) {
    const double prevX = s == 0 ? 0.0 : kx[s - 1];
    const double prevY = s == 0 ? 0.0 : ky[s - 1];
    const double ts = t + kRk4Node[s] * h;
    const double xs = x + kRk4StageWeight[s] * prevX;
    const double ys = y + kRk4StageWeight[s] * prevY;
    const double stage[2] = {xs, ys};
    double dydt[2] = {0, 0};
    if (const int16_t msgNo = f(ts, stage, dydt); msgNo != 0) return msgNo;
    kx[s] = h * dydt[0];
    ky[s] = h * dydt[1];
  }
  double dx = 0, dy = 0;
  for (size_t s = 0; s < 4; ++s) {
    dx += kRk4Weight[s] * kx[s];
    dy += kRk4Weight[s] * ky[s];
  }
  tNew = t + h;
  xNew = x + dx;
  yNew = y + dy;
  return 0;
}

int16_t SolveBVPLinear(const OdeRhs& f, double t0, double x0, double tb, double xb, double n) {
  RunFlags.AbortRun = 0;
  if (RunFlags.Replot) return DrawBVPLinear(LinearShooting.SolutionLastRow);
  // One row per step: more than the table's rows do not fit.
  const int steps = static_cast<int>(rt::RoundHalfEven(std::min(n, kBvpLastRow + 1.0)));
  if (!(steps >= 1)) return 0;
  if (steps > kBvpLastRow) {
    ui::Ui().MsgBox(u"Out of space, for now", ui::kOkOnly, u"");
    return 0;
  }
  // The step is taken from the rounded count so that the last row lies at tb.
  const double h = (tb - t0) / steps;

  // Superposition: x1 starts from (x0, 0) and x2 from (x0, 1). Both meet x0 at t0 and, for an
  // equation linear in x and x', so does every x1 + c (x2 - x1); x2 - x1 solves the homogeneous
  // equation, so c is chosen to meet xb at tb. A forcing term is carried by both runs alike. A run
  // that cannot reach tb leaves nothing to combine: a curve meeting xb anywhere else is no answer.
  RunValues x1{}, x2{};
  for (const auto& [table, start, xs] : {std::tuple{&LinearShooting.BVPRunTable1, 0.0, &x1},
                                         std::tuple{&LinearShooting.BVPRunTable2, 1.0, &x2}}) {
    double xEnd = 0;
    const RunEnd end = FixedStepRun(f, t0, x0, start, h, steps, table, xs, xEnd);
    if (const std::optional<int16_t> msgNo = RunMessage(end)) return *msgNo;
  }
  // The integration error of d(tb) = x2(tb) - x1(tb), from the same two runs at half the step:
  // the classical Runge-Kutta error falls by 2^4, so the coarse runs' error is 16/15 of the
  // difference of the two end values (Richardson).
  double halfStepEnd[2] = {0, 0};
  if (const std::optional<int16_t> msgNo = EndValues(f, t0, x0, h / 2, 2 * steps, halfStepEnd))
    return *msgNo;

  const BvpTable& run1 = LinearShooting.BVPRunTable1;
  const int tCol = kBvpViewColumn[0];
  const int last = steps;
  RunValues d{};
  double size = 0;
  for (int i = 0; i <= last; ++i) {
    const size_t r = static_cast<size_t>(i);
    d[r] = x2[r] - x1[r];
    size = std::max({size, std::fabs(x1[r]), std::fabs(x2[r])});
  }
  const double dEnd = d[static_cast<size_t>(last)];
  const double dHalf = halfStepEnd[1] - halfStepEnd[0];
  // d(tb) lost in its integration error: these steps cannot tell whether d(tb) is 0. Finer runs
  // decide between a problem without a unique solution and too few steps.
  if (!EndDifferenceStandsOut(dEnd, dHalf, size))
    return SingularOrTooCoarse(f, t0, x0, h / 2, 2 * steps, dHalf, size);
  const double c = (xb - x1[static_cast<size_t>(last)]) / dEnd;
  RunValues xs{}, ds{};
  for (int i = 0; i <= last; ++i) {
    xs[static_cast<size_t>(i)] = x1[static_cast<size_t>(i)] + c * d[static_cast<size_t>(i)];
    if (!std::isfinite(xs[static_cast<size_t>(i)])) return kMsgNoValue;
  }
  // The combination meets xb for an equation linear in x and x' only: one more run from its start
  // slope c must end at xb within the integration error the combination has at tb (from the runs
  // at half the step), or within rounding of the values the combination passes through. The
  // combination itself may pass 100000, and so may this run: it is held to numbers only.
  double scale = std::fabs(xb);
  for (int i = 0; i <= last; ++i)
    scale = std::max(
        scale, std::fabs(x1[static_cast<size_t>(i)]) + std::fabs(c * d[static_cast<size_t>(i)]));
  const double combinedError = std::fabs(xb - (halfStepEnd[0] + c * dHalf)) * kRichardsonRk4;
  double xCheck = 0;
  const RunEnd checked = FixedStepRun(f, t0, x0, c, h, steps, nullptr, nullptr, xCheck,
                                      std::numeric_limits<double>::max());
  if (checked == RunEnd::kBeyondLimit) return kMsgNotLinear;
  if (const std::optional<int16_t> msgNo = RunMessage(checked)) return *msgNo;
  if (!(std::fabs(xCheck - xb) <=
        std::max(kErrorMargin * combinedError, kCheckRoundoffShare * scale)))
    return kMsgNotLinear;
  // x' of the combination by central differences, one-sided at the first and the last row.
  for (int i = 1; i < last; ++i)
    ds[static_cast<size_t>(i)] =
        (xs[static_cast<size_t>(i + 1)] - xs[static_cast<size_t>(i - 1)]) / (2 * h);
  ds[static_cast<size_t>(last)] =
      (xs[static_cast<size_t>(last)] - xs[static_cast<size_t>(last - 1)]) / h;
  ds[0] = (xs[1] - xs[0]) / h;
  OdeResults.InitialSlope = ds[0];
  for (int i = 0; i <= last; ++i)
    WriteViews(LinearShooting.BVPSolutionTable[static_cast<size_t>(i)], Column(run1, i, tCol),
               xs[static_cast<size_t>(i)], ds[static_cast<size_t>(i)]);
  LinearShooting.SolutionLastRow = static_cast<int16_t>(last);
  return DrawBVPLinear(last);
}

int16_t DrawBVPLinear(int lastRow) {
  if (Scene.GridUnitX < kMinGridUnit || Scene.GridUnitY < kMinGridUnit ||
      Scene.GridUnitZ < kMinGridUnit)
    Scene.GridUnitX = Scene.GridUnitY = Scene.GridUnitZ = 1.0;
  Scene.ViewXMin = Scene.ViewYMin = Scene.ViewZMin = 10000;
  Scene.ViewXMax = Scene.ViewYMax = Scene.ViewZMax = -10000;
  const int last = std::clamp(lastRow, -1, kBvpLastRow);
  const int view = View.PlotKind >= 1 && View.PlotKind <= 3 ? View.PlotKind : 1;
  const int col = kBvpViewColumn[view - 1];
  const BvpTable& table = LinearShooting.BVPSolutionTable;
  for (int i = 0; i <= last; ++i) {
    CurveWork.CurveX[static_cast<size_t>(i)] = Column(table, i, col) / Scene.GridUnitX;
    CurveWork.CurveY[static_cast<size_t>(i)] = Column(table, i, col + 1) / Scene.GridUnitY;
    CurveWork.CurveZ[static_cast<size_t>(i)] = Column(table, i, col + 2) / Scene.GridUnitZ;
    WidenViewBox(CurveWork.CurveX[static_cast<size_t>(i)], CurveWork.CurveY[static_cast<size_t>(i)],
                 CurveWork.CurveZ[static_cast<size_t>(i)]);
  }
  Solutions.CurveSteps = static_cast<int16_t>(std::max(last, 0));
  bool lastWritten = false;
  for (int i = 0; i <= last; ++i) {
    if (Scene.VertexCount >= kCurveVertexLimit) return kMsgVertexLimit;
    lastWritten = StoreCurveVertex(i);
    if (lastWritten) {
      Scene.SegmentTable[static_cast<size_t>(Scene.SegmentCount)][kDotMark] = 0;
      Scene.VertexCount = static_cast<int16_t>(Scene.VertexCount + 2);
      Scene.SegmentCount = static_cast<int16_t>(Scene.SegmentCount + 1);
    }
  }
  if (Scene.VertexCount == 0) {
    ui::Ui().MsgBox(u"The auto axes cannot be applied on one axis to a constant function.",
                    ui::kOkOnly, u"");
    return 0;
  }
  // The last row only ends the curve: its dot segment is taken back.
  if (lastWritten) {
    Scene.VertexCount = static_cast<int16_t>(Scene.VertexCount + 1);
    Scene.SegmentCount = static_cast<int16_t>(Scene.SegmentCount - 1);
  }
  StoreSceneCounts();
  return 0;
}

}  // namespace ms
