#include "plotting/DirField.h"

#include <cmath>

#include "language/RunProgress.h"
#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
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

const rt::Text kTooManyPoints =
    u"2D vector count <= 3000 (including arrows). Reduce the ranges of x,y, & z.";

}  // namespace

int16_t BuildDirFieldArrows(const DirFieldFunctions& fn, bool is3D, double a, double b, double n,
                            double c, double d, double m, double& zMin, double& zMax,
                            const ProgressSink& progress, FieldRun& run) {
  const double dx = (b - a) / n;
  const double dy = (d - c) / m;
  int16_t total = field::ProgressTotal((d - c) * (b - a));
  double red = 0, green = 0, blue = 0;
  field::LetterColor(FieldTables.DirFieldColorLetter, red, green, blue);
  FieldTablesData& t = FieldTables;

  const int points = field::CountGridPoints(a, b, dx, c, d, dy, kMaxFieldPoints);
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
    for (double y = c; y <= d; y += dy) {
      for (double x = a; x <= b && i <= kMaxFieldPoints; x += dx) {
        progress.LetEventsRun();
        if (progress.Aborted()) return 0;
        const double args[2] = {x, y};
        double vx = 0, vy = 0, vz = 0;
        if (fn.f(args, vx) != 0) return kMsgEvalF;
        if (fn.h(args, vy) != 0) return kMsgEvalH;
        if (is3D && fn.g(args, vz) != 0) return kMsgEvalG;
        t.FieldVectorTable[i - 1] = {vx, vy, vz};
        t.FieldVectorCount = static_cast<int16_t>(i);
        // The height range starts from the first value: the 200 and -200 passed in are no
        // heights and would stretch the box and axes of a field that lies above or below them.
        if (i == 1 || vz < zMin) zMin = vz;
        if (i == 1 || vz > zMax) zMax = vz;
        DrawProgress(kGraphProgressBar, total, static_cast<int16_t>(i));
        ++i;
      }
    }
    t.FieldZMin = zMin;
    t.FieldZMax = zMax;
  }
  zMin = t.FieldZMin;
  zMax = t.FieldZMax;

  // Every arrow has the length FieldVectorScale whatever the size of its vector.
  const double L = (dx + dy) / 2;
  int i = 1;
  for (double y = c; y <= d && i <= t.FieldVectorCount; y += dy) {
    for (double x = a; x <= b && i <= t.FieldVectorCount; x += dx) {
      const Point3& v = t.FieldVectorTable[i - 1];
      FieldArrowRec& rec = t.FieldArrowTable[i];
      rec.Start[0] = x;
      rec.Start[1] = y;
      if (std::fabs(L) - 0.0001 <= 0) {
        rec.End = {x, y, v[2]};
        rec.Barb1[0] = rec.Barb1[1] = 0;
        rec.Barb2[0] = rec.Barb2[1] = 0;
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
  for (int k = 1; k <= arrows; ++k) {
    const FieldArrowRec& rec = t.FieldArrowTable[k];
    const double z = rec.End[2];
    const Point3 end = {rec.End[0], rec.End[1], z};
    if (!field::AppendFieldSegment({rec.Start[0], rec.Start[1], z}, end, red, green, blue)) break;
    if (!field::AppendFieldSegment(end, {rec.Barb1[0], rec.Barb1[1], z}, red, green, blue)) break;
    if (!field::AppendFieldSegment(end, {rec.Barb2[0], rec.Barb2[1], z}, red, green, blue)) break;
  }
  StoreSceneCounts();
  return 0;
}

}  // namespace ms
