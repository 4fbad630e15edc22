#include "plotting/SlopeField.h"

#include <array>
#include <cmath>

#include "language/RunProgress.h"
#include "mathematics/Evaluator.h"
#include "plotting/Axes.h"
#include "plotting/FieldTables.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

namespace ms {

namespace {

constexpr int16_t kMsgEvaluation = 1230;

// 0.9 pi and 1.8 pi: a barb leaves the shaft 18 degrees off its direction.
constexpr double kBarbTurn = 2.82743338824;
constexpr double kBarbSpread = 5.65486677648;
// Below this magnitude a slope is drawn level.
constexpr double kLevelSlope = 0.001;

const rt::Text kTooManyPoints =
    u"Slope field count exceeded 2500 points. Reduce the number of x and y intervals.";

// Colours of the solution traces by the number of their start point (red, green, blue).
constexpr std::array<std::array<double, 3>, kMaxSlopeStartPoints + 1> kTraceColors = {{
    {0, 0, 0},
    {100, 0, 0},
    {100, 0, 100},
    {150, 0, 50},
    {150, 0, 100},
    {150, 0, 150},
    {0, 0, 0},
    {200, 50, 50},
    {200, 50, 200},
    {200, 100, 0},
    {200, 150, 0},
}};

// The trace of y' = F(x, y) by the classical fourth-order Runge-Kutta method (Kutta, 1901) with
// the step sign * SlopeFieldStep (+1 forward, -1 backward) from (x0, y0) while x stays within the
// range end, then its segments in the colour of start point j.
[[nodiscard]] int16_t TraceSlope(double sign, double x0, double y0, double xEnd, double c, double d,
                                 const FieldFunction& slope, int16_t j,
                                 const SlopeFieldOptions& options) {
  int16_t msgNo = 0;
  FieldGraph.SlopeFieldMode = -1;
  const double h = sign * options.step;
  const auto slopeAt = [&slope](double x, double y, double& s) {
    const double args[2] = {x, y};
    return slope(args, s);
  };
  std::array<double, kMaxTraceSteps + 1> X{};
  std::array<double, kMaxTraceSteps + 1> Y{};
  X[0] = x0;
  Y[0] = y0;
  int k = 0;
  const std::array<double, 3>& color = kTraceColors[(j >= 1 && j <= kMaxSlopeStartPoints) ? j : 0];

  int16_t total = field::ProgressTotal(xEnd);
  DrawProgress(kGraphProgressBar, total, 0);
  const auto inRange = [&](double x) { return sign > 0 ? x <= xEnd : x >= xEnd; };
  while (inRange(X[k]) && k < kMaxTraceSteps) {
    DrawProgress(kGraphProgressBar, total, static_cast<int16_t>(k));
    double k1 = 0;
    msgNo = slopeAt(X[k], Y[k], k1);
    if (msgNo != 0) break;
    double k2 = 0;
    msgNo = slopeAt(X[k] + h / 2, Y[k] + h * k1 / 2, k2);
    if (msgNo != 0) break;
    double k3 = 0;
    msgNo = slopeAt(X[k] + h / 2, Y[k] + h * k2 / 2, k3);
    if (msgNo != 0) break;
    double k4 = 0;
    msgNo = slopeAt(X[k] + h, Y[k] + h * k3, k4);
    if (msgNo != 0) break;
    ++k;
    X[k] = X[k - 1] + h;
    Y[k] = Y[k - 1] + h * (k1 + 2 * k2 + 2 * k3 + k4) / 6;
    // The stops are the range ends times 1.1; the last point is put onto the range end.
    if (Y[k] > 1.1 * d) {
      Y[k] = d;
      break;
    }
    if (Y[k] < 1.1 * c) {
      Y[k] = c;
      break;
    }
  }
  if (msgNo != 0) return kMsgEvaluation;
  DrawProgress(kGraphProgressBar, total, 0);

  for (int i = 1; i <= k; ++i) {
    if (!field::AppendFieldSegment({X[i - 1], Y[i - 1], 0}, {X[i], Y[i], 0}, color[0], color[1],
                                   color[2]))
      break;
  }
  StoreSceneCounts();
  return 0;
}

// Segment and barbs of one slope point (x, y, s); dx and dy are the grid steps.
FieldArrowRec SlopeArrow(double x, double y, double s, double dx, double dy, bool barbs) {
  const double half = dx / 2;
  double p1x, p1y, qx, qy;
  if (std::fabs(s) < kLevelSlope) {
    p1x = x - half / 2;
    p1y = y;
    qx = x + half / 2;
    qy = y;
  } else {
    // P1 lies dx / 4 before the grid point along the direction (1, s). hypot and s / r first
    // keep a steep slope's direction where s * s or half * s would overflow.
    const double r = 2 * std::hypot(s, 1.0);
    p1x = x - half / r;
    p1y = y - half * (s / r);
    qx = x + half / r;
    qy = y + half * (s / r);
  }
  const double theta = ATan2(qy - p1y, qx - p1x);
  FieldArrowRec arrow = {};
  arrow.Start = {p1x, p1y, 0};
  // The segment reaches FieldVectorScale / 5 beyond the grid point, whatever the grid spacing.
  arrow.End = {x + View.FieldVectorScale * std::cos(theta) / 5,
               y + View.FieldVectorScale * std::sin(theta) / 5, 0};
  const double L = (dx + dy) / 2;
  if (barbs && L != 0) {
    double phi = ATan2(p1y - y, p1x - x) - kBarbTurn;
    const double head = 0.2 * L * View.ArrowHeadScale;
    arrow.Barb1 = {p1x + head * std::cos(phi), p1y + head * std::sin(phi), 0};
    phi += kBarbSpread;
    arrow.Barb2 = {p1x + head * std::cos(phi), p1y + head * std::sin(phi), 0};
  }
  return arrow;
}

}  // namespace

int16_t BuildSlopeField(const SlopeFunctions& f, double a, double b, double n, double c, double d,
                        double m, int16_t count, const SlopeFieldOptions& options,
                        const ProgressSink& progress, FieldRun& run) {
  FieldGraph.SlopeFieldMode = -1;
  const field::GridAxis xs = field::GridAxisOf(a, b, n);
  const field::GridAxis ys = field::GridAxisOf(c, d, m);
  const double dx = xs.step;
  const double dy = ys.step;
  int16_t total = field::ProgressTotal((b - a) * (d - c));
  double red = 0, green = 0, blue = 0;
  field::LetterColor(FieldTables.SlopeFieldColorLetter, red, green, blue);
  FieldTablesData& t = FieldTables;

  const int points = field::CountGridPoints({xs, ys}, kMaxSlopePoints);
  if (points > kMaxSlopePoints) {
    run.box = kTooManyPoints;
    return 0;
  }
  // A segment with two barbs per point (one segment when both directions are traced), refused
  // before anything is evaluated or written; the solution traces take what room is left.
  if (!field::FieldFitsScene(u"PlotSlopeField", (options.bothDirections ? 2L : 6L) * points,
                             run.box))
    return 0;

  // A rebuild draws the kept slopes again; they are evaluated when none of this grid are kept.
  if (!run.replot || t.SlopePointCount != points) {
    t.SlopePointCount = 0;
    t.SlopePointCountD = 0;
    int i = 1;
    for (int row = 0; row < ys.Lines(); ++row) {
      progress.LetEventsRun();
      if (progress.Aborted()) return 0;
      for (int col = 0; col < xs.Lines() && i <= kMaxSlopePoints; ++col) {
        DrawProgress(kGraphProgressBar, total, static_cast<int16_t>(i));
        const double args[2] = {xs.At(col), ys.At(row)};
        double slope = 0;
        if (f.grid(args, slope) != 0) return kMsgEvaluation;
        t.SlopePointTable[i] = {args[0], args[1], slope};
        ++i;
      }
    }
    DrawProgress(kGraphProgressBar, total, 0);
    t.SlopePointCount = static_cast<int16_t>(i - 1);
    t.SlopePointCountD = i - 1;
  }

  const int stored = t.SlopePointCount;
  for (int i = 1; i <= stored; ++i) {
    const SlopePointRec& p = t.SlopePointTable[i];
    const FieldArrowRec arrow = SlopeArrow(p.X, p.Y, p.Slope, dx, dy, !options.bothDirections);
    // Only x and y of each point are the slope field's; z stays as it stands.
    FieldArrowRec& rec = t.FieldArrowTable[i];
    for (int k = 0; k < 2; ++k) {
      rec.Start[k] = arrow.Start[k];
      rec.End[k] = arrow.End[k];
      rec.Barb1[k] = arrow.Barb1[k];
      rec.Barb2[k] = arrow.Barb2[k];
    }
  }

  const bool barbs = !options.bothDirections;
  for (int i = 1; i <= stored; ++i) {
    const FieldArrowRec& rec = t.FieldArrowTable[i];
    const Point3 p1 = {rec.Start[0], rec.Start[1], 0};
    const Point3 p2 = {rec.End[0], rec.End[1], 0};
    if (!field::AppendFieldSegment(p1, p2, red, green, blue)) break;
    if (barbs) {
      if (!field::AppendFieldSegment(p2, {rec.Barb1[0], rec.Barb1[1], 0}, red, green, blue)) break;
      if (!field::AppendFieldSegment(p2, {rec.Barb2[0], rec.Barb2[1], 0}, red, green, blue)) break;
    }
  }
  StoreSceneCounts();

  for (int16_t j = 1; j <= count && j <= kMaxSlopeStartPoints; ++j) {
    double x0 = t.SlopeStartPoints[j][0];
    double y0 = t.SlopeStartPoints[j][1];
    int16_t msgNo = TraceSlopeForward(x0, y0, a, b, c, d, f.trace, j, options);
    if (msgNo != 0) return msgNo;
    if (options.bothDirections) {
      msgNo = TraceSlopeBackward(x0, y0, a, b, c, d, f.trace, j, options);
      if (msgNo != 0) return msgNo;
    }
  }
  return 0;
}

int16_t TraceSlopeForward(double x0, double y0, double /*a*/, double b, double c, double d,
                          const FieldFunction& slope, int16_t j, const SlopeFieldOptions& options) {
  return TraceSlope(+1, x0, y0, b, c, d, slope, j, options);
}

int16_t TraceSlopeBackward(double x0, double y0, double a, double /*b*/, double c, double d,
                           const FieldFunction& slope, int16_t j,
                           const SlopeFieldOptions& options) {
  return TraceSlope(-1, x0, y0, a, c, d, slope, j, options);
}

}  // namespace ms
