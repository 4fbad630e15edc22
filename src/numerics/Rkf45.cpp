#include "numerics/Rkf45.h"

#include <cfloat>
#include <cmath>

#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/WorksheetTables.h"
#include "numerics/Rkf45Control.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/UiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"

namespace ms {

OdeResultsState OdeResults;

namespace {

constexpr double kFirstStep = 0.001;

// Solution-table slots of the single-equation solver: x against t, x' against t, x' against x.
constexpr int kSlotXT = 1;
constexpr int kSlotSlopeT = 2;
constexpr int kSlotSlopeX = 3;

const char16_t* const kValuesExceeded =
    u"Values exceeded 100,000. Click OK to allow partial results plotted.";
const char16_t* const kTooManyPoints =
    u"Number of data points > 1000. Try increasing the Factor value.\r\n"
    u"Continuity may be questioned or division by zero occured.\r\n\r\n"
    u"Click OK to plot the data upto the termination point.";

// Writes one stored point into the three view slots (components 1..3).
void StorePoint(int row, double t, double x, double slope) {
  const double ts = RoundToSingle(t);
  const double xs = RoundToSingle(x);
  const double ss = RoundToSingle(slope);
  const int slots[3] = {kSlotXT, kSlotSlopeT, kSlotSlopeX};
  const double xs3[3] = {ts, ts, xs};
  const double ys3[3] = {xs, ss, ss};
  for (int i = 0; i < 3; ++i) {
    SetSolution(row, 1, slots[i], xs3[i]);
    SetSolution(row, 2, slots[i], ys3[i]);
    SetSolution(row, 3, slots[i], 0.0);
  }
}

}  // namespace

void ResetOdeResults() {
  OdeResults = OdeResultsState{};
}

void ShowBeyondSmallestStep() {
  ui::Ui().MsgBox(GetMessageText(kMsgBeyondSmallestStep), ui::kOkOnly, u"");
}

double RoundToSingle(double v) {
  if (!(std::fabs(v) <= static_cast<double>(FLT_MAX))) return v;
  return static_cast<double>(static_cast<float>(v));
}

void TestStoreFactor(double prev, double cur, double factor, int16_t& store, int16_t& count) {
  bool due = false;
  if (prev > 0 && cur > 0) {
    due = (cur > prev && prev * factor <= cur) || (prev > cur && cur * factor <= prev);
  } else if (prev < 0 && cur < 0) {
    due = (cur > prev && cur * factor >= prev) || (prev > cur && prev * factor >= cur);
  } else {
    due = (prev < 0 && cur > 0) || (prev > 0 && cur < 0);
  }
  if (due) {
    store = -1;
    count = 0;
  } else {
    count = static_cast<int16_t>(count + 1);
  }
}

int16_t StoredRows::Next(double value, double factor, bool& full) {
  full = false;
  int16_t store = 0;
  TestStoreFactor(storeRef_, value, factor, store, unstored_);
  if (unstored_ >= kMaxUnstoredSteps) {
    unstored_ = 0;
    store = -1;
  }
  if (store && firstStep_) {
    store = 0;
    storeRef_ = value;
  }
  firstStep_ = false;
  if (!store || points_ > kMaxStoredRow) return 0;
  // A full table gives its last row to this point.
  if (points_ == kMaxStoredRow) {
    full = true;
    points_ = kMaxStoredRow - 1;
  }
  ++points_;
  storeRef_ = value;
  return points_;
}

int16_t StoredRows::TakeEndRow() {
  if (points_ < kMaxStoredRow) ++points_;
  return points_;
}

int16_t SolveIVP1(const OdeRhs& f, double t0, double tf, double x0, double factor, double tol,
                  const ProgressSink& progress) {
  const double tEnd = tf, fac = factor;
  SetSolution(0, 1, kSlotXT, t0);
  SetSolution(0, 2, kSlotXT, x0);
  OdeResults.IVPStartT = t0;
  // The text overlays show the solved range; a pending Plot[ keeps its own range.
  if (!Requests.PlotRequested && !Tables.PlotPending) {
    PlotRequest.PlotTMin = t0;
    PlotRequest.PlotTMax = tEnd;
  }
  // The views of one equation are slots 1 to 3; a code left from another problem shows the first.
  if (View.ODEViewRequest < kSlotXT || View.ODEViewRequest > kSlotSlopeX)
    View.ODEViewRequest = View.PlotKind = kSlotXT;

  if (!RunFlags.Replot) {
    StoredRows rows(x0);
    bool stopped = false;
    bool firstStep = true;
    // Row 1 holds the start point, row 2 on the point at which each stored step began; the
    // final step is shortened to land on tf, whose point ends the rows.
    // Where the last step tried began: the point a solve stopped at the smallest step ends on.
    double lastT = t0, lastX = x0, lastSlope = 0;
    const auto observe = [&](const Rkf45Trial& s) {
      const double x = s.y[0], x4 = s.yNew[0], slope = s.slope[0];
      lastT = s.t;
      lastX = x;
      lastSlope = slope;
      if (s.t == OdeResults.IVPStartT) OdeResults.InitialSlope = slope;
      if (firstStep) StorePoint(1, t0, x0, slope);
      if (!(std::fabs(x4) <= kValueLimit) || !(std::fabs(slope) <= kValueLimit)) {
        stopped = true;
        ui::Ui().MsgBox(kValuesExceeded, ui::kOkOnly, u"");
        Solutions.StoredPointCount = rows.Count();
        return false;
      }
      if (!s.accepted) return true;
      firstStep = false;
      bool full = false;
      const int16_t row = rows.Next(x4, fac, full);
      if (full) {
        ui::Ui().MsgBox(kTooManyPoints, ui::kOkOnly, u"");
        stopped = true;
        Solutions.StoredPointCount = kMaxStoredRow;
      }
      if (row != 0) StorePoint(row, s.t, x, slope);
      return !stopped;
    };
    Rkf45Run run;
    run.t0 = t0;
    run.tf = tEnd;
    run.y0[0] = x0;
    run.firstStep = kFirstStep;
    run.tol = tol;
    Rkf45End end = Rkf45End::kReachedEnd;
    OdeValues yEnd{x0};
    if (const int16_t msgNo = Rkf45Integrate(f, run, progress, observe, end, yEnd); msgNo != 0)
      return msgNo;
    if (end == Rkf45End::kAborted) return 0;
    if (end == Rkf45End::kBeyondSmallestStep) {
      ShowBeyondSmallestStep();
      stopped = true;
      if (lastT > t0) StorePoint(rows.TakeEndRow(), lastT, lastX, lastSlope);
      Solutions.StoredPointCount = rows.Count();
    }
    if (!stopped && tEnd >= t0) {
      // The end point tf with its own slope; a full table gives its last row to it.
      const double x = yEnd[0];
      double slope = 0;
      if (const int16_t msgNo = f(tEnd, &x, &slope); msgNo != 0) return msgNo;
      if (t0 == tEnd) {
        OdeResults.InitialSlope = slope;
        StorePoint(1, t0, x0, slope);
      } else {
        StorePoint(rows.TakeEndRow(), tEnd, x, slope);
      }
    }
    if (!stopped) Solutions.StoredPointCount = rows.Count();
  }
  return BuildSolutionCurve(View.ODEViewRequest);
}

}  // namespace ms
