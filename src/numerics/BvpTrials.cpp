#include "numerics/BvpTrials.h"

#include <algorithm>
#include <cmath>

#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "numerics/Bvp.h"
#include "numerics/CoupledRkf45.h"
#include "numerics/Rkf45.h"
#include "numerics/Rkf45Step.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/UiServices.h"
#include "plotting/SceneStore.h"

namespace ms {

BvpTrialData BvpTrials;

namespace {

constexpr int16_t kMsgVertexLimit = 3990;
constexpr double kMinGridUnit = 1e-6;

struct Rgb {
  int16_t red, green, blue;
};
// The curve colour table, indexes 1..10 (entry 0 unused).
constexpr std::array<Rgb, 11> kCurveColors = {{{0, 0, 0},
                                               {255, 0, 0},
                                               {0, 255, 0},
                                               {0, 0, 255},
                                               {0, 255, 255},
                                               {64, 255, 128},
                                               {255, 0, 255},
                                               {128, 128, 128},
                                               {255, 128, 128},
                                               {128, 255, 128},
                                               {128, 128, 255}}};

// Sheet offsets of the three views in BVPFamilyTable: curve k's view v is sheet k - 1 + 10 (v - 1).
constexpr int kSheetsPerView = 10;

// Row j of trial curve k (1..10) in the solution table and the three views of the family table.
void StoreTrialRow(int k, int j, double t, double x, double y) {
  const double ts = RoundToSingle(t), xs = RoundToSingle(x), ys = RoundToSingle(y);
  SetSolution(j, 1, TrialSlot(k), ts);
  SetSolution(j, 2, TrialSlot(k), xs);
  SetSolution(j, 3, TrialSlot(k), ys);
  auto& row = BvpTrials.BVPFamilyTable[static_cast<size_t>(j)];
  const double views[3][2] = {{ts, xs}, {ts, ys}, {xs, ys}};
  for (int v = 0; v < 3; ++v) {
    const auto sheet = static_cast<size_t>(k - 1 + kSheetsPerView * v);
    row[0][sheet] = views[v][0];
    row[1][sheet] = views[v][1];
    row[2][sheet] = 0;
  }
}

// The number of trial curves recorded in entry 0, limited to the table.
int TrialCount() {
  const double count = rt::RoundHalfEven(Bvp.BVPTrialSlopes[0]);
  return count >= 1 ? static_cast<int>(std::min<double>(count, kMaxTrialSlopes)) : 0;
}

// Adds the segment StoreCurveVertex(k) wrote, in the given colour: 0, or 3990 when the store is
// full.
int16_t AddVertex(int k, int16_t red, int16_t green, int16_t blue) {
  if (Scene.VertexCount >= kCurveVertexLimit) return kMsgVertexLimit;
  if (StoreCurveVertex(k)) {
    SegmentRow& row = Scene.SegmentTable[static_cast<size_t>(Scene.SegmentCount)];
    row[kDotMark] = 0;
    row[kRed] = red;
    row[kGreen] = green;
    row[kBlue] = blue;
    Scene.VertexCount = static_cast<int16_t>(Scene.VertexCount + 2);
    Scene.SegmentCount = static_cast<int16_t>(Scene.SegmentCount + 1);
  }
  return 0;
}

}  // namespace

void ResetBvpTrials() {
  for (auto& row : BvpTrials.BVPFamilyTable)
    for (auto& column : row) column.fill(0);
  BvpTrials.BVPEndMiss.fill(0);
  BvpTrials.FamilyDrawn = 0;
}

void GetCurveColor(int16_t index, int16_t& red, int16_t& green, int16_t& blue) {
  const Rgb c =
      index >= 1 && index <= 10 ? kCurveColors[static_cast<size_t>(index)] : kCurveColors[0];
  red = c.red;
  green = c.green;
  blue = c.blue;
}

int16_t PlotBVPFamily(const OdeRhs& f, double t0, double x0, double tb, double xb, double a1,
                      double a2, double mode) {
  if (RunFlags.AbortRun) return 0;
  OdeResults.BVPSolved = -1;
  RunFlags.AbortRun = 0;
  if (!RunFlags.Replot) {
    auto& slopes = Bvp.BVPTrialSlopes;
    if (!Bvp.BVPListGiven) {
      const double ds = (a2 - a1) / mode;
      const double count = std::min<double>(mode, kMaxTrialSlopes);
      slopes[0] = count;
      const int n = TrialCount();
      for (int k = 1; k <= n; ++k) slopes[static_cast<size_t>(k)] = a1 + (k - 1) * ds;
    }
    const int n = TrialCount();
    const double h = (tb - t0) / kTrialSteps;
    for (int k = 1; k <= n; ++k) {
      double t = t0, x = x0, y = slopes[static_cast<size_t>(k)];
      StoreTrialRow(k, 0, t, x, y);
      for (int j = 1; j <= kTrialSteps; ++j) {
        ui::Ui().DoEvents();
        if (RunFlags.AbortRun) return 0;
        OdeValues next{}, slope{};
        double errEst = 0;
        const int16_t msgNo = Rkf45Step(f, 2, t, {x, y, 0, 0}, h, next, errEst, slope);
        if (msgNo != 0) return msgNo;
        const double tNew = t + h, xNew = next[0], yNew = next[1];
        if (BeyondValueLimit(xNew) || BeyondValueLimit(yNew)) {
          // The curve ends at its last point within the limit: the remaining rows repeat it, so
          // that the drawing stops there and the miss is taken from that point.
          for (int r = j; r <= kTrialSteps; ++r) StoreTrialRow(k, r, t, x, y);
          break;
        }
        t = tNew;
        x = xNew;
        y = yNew;
        StoreTrialRow(k, j, t, x, y);
      }
      BvpTrials.BVPEndMiss[static_cast<size_t>(k - 1)] =
          xb - SolutionAt(kTrialSteps, 2, TrialSlot(k));
    }
  }
  return DrawBVPFamily();
}

int16_t DrawBVPFamily() {
  if (Scene.GridUnitX < kMinGridUnit || Scene.GridUnitY < kMinGridUnit ||
      Scene.GridUnitZ < kMinGridUnit)
    Scene.GridUnitX = Scene.GridUnitY = Scene.GridUnitZ = 1.0;
  Scene.ViewXMin = Scene.ViewYMin = Scene.ViewZMin = 10000;
  Scene.ViewXMax = Scene.ViewYMax = Scene.ViewZMax = -10000;
  const int n = TrialCount();
  auto& cx = CurveWork.CurveX;
  auto& cy = CurveWork.CurveY;
  auto& cz = CurveWork.CurveZ;

  if (Bvp.BVPRootsMode) {
    // The end-miss plot: one black polyline through (slope, xb - X(tb)), its last point a dot.
    Solutions.CurveSteps = static_cast<int16_t>(n);
    for (int j = 1; j <= n; ++j) {
      const auto i = static_cast<size_t>(j);
      cx[i] = Bvp.BVPTrialSlopes[i] / Scene.GridUnitX;
      cy[i] = BvpTrials.BVPEndMiss[i - 1] / Scene.GridUnitY;
      cz[i] = 0;
      WidenViewBox(cx[i], cy[i], cz[i]);
    }
    for (int j = 1; j <= n; ++j)
      if (const int16_t msgNo = AddVertex(j, 0, 0, 0); msgNo != 0) return msgNo;
  } else {
    // View codes without a sheet show x against t.
    const int view = View.PlotKind >= 1 && View.PlotKind <= 3 ? View.PlotKind : 1;
    const auto& table = BvpTrials.BVPFamilyTable;
    auto point = [&](int k, int j, double& x, double& y, double& z) {
      const auto sheet = static_cast<size_t>(k - 1 + kSheetsPerView * (view - 1));
      const auto& row = table[static_cast<size_t>(j)];
      x = row[0][sheet] / Scene.GridUnitX;
      y = row[1][sheet] / Scene.GridUnitY;
      z = row[2][sheet] / Scene.GridUnitZ;
    };
    for (int k = 1; k <= n; ++k)
      for (int j = 0; j <= kTrialSteps; ++j) {
        double x = 0, y = 0, z = 0;
        point(k, j, x, y, z);
        WidenViewBox(x, y, z);
      }
    BvpTrials.FamilyDrawn = -1;
    Solutions.CurveSteps = kTrialSteps - 1;
    for (int k = 1; k <= n; ++k) {
      int16_t red = 0, green = 0, blue = 0;
      if (Settings.BVPScanColor) GetCurveColor(static_cast<int16_t>(k), red, green, blue);
      // Rows 1..99 of each curve; the first segment joins point 1 to itself.
      for (int j = 1; j < kTrialSteps; ++j) {
        const auto i = static_cast<size_t>(j);
        point(k, j, cx[i], cy[i], cz[i]);
        if (j == 1) {
          cx[0] = cx[1];
          cy[0] = cy[1];
          cz[0] = cz[1];
        }
        if (const int16_t msgNo = AddVertex(j - 1, red, green, blue); msgNo != 0) return msgNo;
      }
    }
  }
  if (Scene.VertexCount != 0) {
    StoreSceneCounts();
  } else {
    ui::Ui().MsgBox(u"All data is outside the plot domain or zero in value.", ui::kOkOnly, u"");
  }
  return 0;
}

}  // namespace ms
