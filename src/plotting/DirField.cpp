#include "plotting/DirField.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "language/RunProgress.h"
#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "mathematics/EvaluatorState.h"
#include "plotting/Axes.h"
#include "plotting/BoundingBox.h"
#include "plotting/FieldTables.h"
#include "plotting/SceneStore.h"

namespace ms {

namespace {

constexpr int16_t kMsgEvalF = 1032;
constexpr int16_t kMsgEvalH = 1034;
constexpr int16_t kMsgEvalG = 1036;

// 0.9 pi and 1.8 pi: a barb leaves the shaft 18 degrees off its direction.
constexpr double kBarbTurn = 2.82743338824;
constexpr double kBarbSpread = 5.65486677648;

// Marks a grid point whose height G has no value there; its arrow is left out.
constexpr double kNoHeight = std::numeric_limits<double>::quiet_NaN();

const rt::Text kTooManyPoints =
    u"2D vector count <= 3000 (including arrows). Reduce the ranges of x,y, & z.";

}  // namespace

int16_t BuildDirFieldArrows(const DirFieldFunctions& fn, bool is3D, double a, double b, double n,
                            double c, double d, double m, double& zMin, double& zMax,
                            const ProgressSink& progress, FieldRun& run) {
  const field::GridAxis xs = field::GridAxisOf(a, b, n);
  const field::GridAxis ys = field::GridAxisOf(c, d, m);
  const double dx = xs.step;
  const double dy = ys.step;
  int16_t total = field::ProgressTotal((d - c) * (b - a));
  double red = 0, green = 0, blue = 0;
  field::LetterColor(FieldTables.DirFieldColorLetter, red, green, blue);
  FieldTablesData& t = FieldTables;

  const int points = field::CountGridPoints({xs, ys}, kMaxFieldPoints);
  if (points > kMaxFieldPoints) {
    run.box = kTooManyPoints;
    return 0;
  }
  // Three segments (six points) per arrow, refused before anything is evaluated or written.
  if (!field::FieldFitsScene(u"PlotDirField", 6L * points, run.box)) return 0;

  // A rebuild draws the kept vectors again; they are evaluated when the table holds no
  // direction-field vectors of this grid.
  const bool kept =
      run.replot && t.FieldVectorSourceKind == kVectorsDirField && t.FieldVectorCount == points;
  if (!kept) {
    t.FieldVectorSourceKind = kVectorsDirField;
    t.FieldVectorCount = 0;
    int i = 1;
    bool anyHeight = false;
    for (int row = 0; row < ys.Lines(); ++row) {
      for (int col = 0; col < xs.Lines(); ++col) {
        progress.LetEventsRun();
        if (progress.Aborted()) return 0;
        const double args[2] = {xs.At(col), ys.At(row)};
        double vx = 0, vy = 0, vz = 0;
        if (fn.f(args, vx) != 0) return kMsgEvalF;
        if (fn.h(args, vy) != 0) return kMsgEvalH;
        if (is3D) {
          GuardCountWatch undefined(MathVars.UndefinedQuotients);
          PoleStandInWatch pole;
          if (fn.g(args, vz) != 0) return kMsgEvalG;
          // A height that rests on one of the evaluator's stand-ins, 0 for 0/0 or +-1E+20 for a
          // pole (both counted) or for an overflow, is no height: the arrow there is left out, as
          // Plot[ leaves such a point out of its curve.
          if (undefined.Met() || pole.Met() || std::fabs(vz) == kGuardInfinity) vz = kNoHeight;
        }
        t.FieldVectorTable[i - 1] = {vx, vy, vz};
        t.FieldVectorCount = static_cast<int16_t>(i);
        // The height range starts from the first height: the 200 and -200 passed in are no
        // heights and would stretch the box and axes of a field that lies above or below them.
        if (!std::isnan(vz)) {
          if (!anyHeight || vz < zMin) zMin = vz;
          if (!anyHeight || vz > zMax) zMax = vz;
          anyHeight = true;
        }
        DrawProgress(kGraphProgressBar, total, static_cast<int16_t>(i));
        ++i;
      }
    }
    // Every height left out: the field has none to draw.
    if (!anyHeight) zMin = zMax = 0;
    t.FieldZMin = zMin;
    t.FieldZMax = zMax;
  }
  zMin = t.FieldZMin;
  zMax = t.FieldZMax;

  // Every arrow has the length FieldVectorScale whatever the size of its vector.
  const double L = (dx + dy) / 2;
  int i = 1;
  for (int row = 0; row < ys.Lines() && i <= t.FieldVectorCount; ++row) {
    for (int col = 0; col < xs.Lines() && i <= t.FieldVectorCount; ++col) {
      const double x = xs.At(col), y = ys.At(row);
      const Point3& v = t.FieldVectorTable[i - 1];
      FieldArrowRec& rec = t.FieldArrowTable[i];
      rec.Start[0] = x;
      rec.Start[1] = y;
      if (std::fabs(L) - 0.0001 <= 0) {
        // A grid this fine has no room for an arrow: the point alone, its end and both barbs
        // on the grid point.
        rec.End = {x, y, v[2]};
        rec.Barb1[0] = rec.Barb2[0] = x;
        rec.Barb1[1] = rec.Barb2[1] = y;
      } else {
        const double theta = ATan2(v[1], v[0]);
        const double ex = x + View.FieldVectorScale * std::cos(theta);
        const double ey = y + View.FieldVectorScale * std::sin(theta);
        const double head = 0.2 * L * View.ArrowHeadScale;
        double phi = theta - kBarbTurn;
        rec.End = {ex, ey, v[2]};
        rec.Barb1[0] = ex + head * std::cos(phi);
        rec.Barb1[1] = ey + head * std::sin(phi);
        phi += kBarbSpread;
        rec.Barb2[0] = ex + head * std::cos(phi);
        rec.Barb2[1] = ey + head * std::sin(phi);
      }
      DrawProgress(kGraphProgressBar, total, static_cast<int16_t>(i));
      ++i;
    }
  }
  DrawProgress(kGraphProgressBar, total, 0);

  const int arrows = i - 1;
  int leftOut = 0;
  for (int k = 1; k <= arrows; ++k) {
    const FieldArrowRec& rec = t.FieldArrowTable[k];
    const double z = rec.End[2];
    if (std::isnan(z)) {
      ++leftOut;
      continue;
    }
    const Point3 end = {rec.End[0], rec.End[1], z};
    if (!field::AppendFieldSegment({rec.Start[0], rec.Start[1], z}, end, red, green, blue)) break;
    if (!field::AppendFieldSegment(end, {rec.Barb1[0], rec.Barb1[1], z}, red, green, blue)) break;
    if (!field::AppendFieldSegment(end, {rec.Barb2[0], rec.Barb2[1], z}, red, green, blue)) break;
  }
  StoreSceneCounts();
  // A lifted field whose every height was left out has nothing to show: G has no value anywhere.
  if (arrows > 0 && leftOut == arrows) return kMsgEvalG;
  return 0;
}

}  // namespace ms
