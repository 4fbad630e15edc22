#include "plotting/Field3D.h"

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

constexpr int16_t kMsgEvalFirst = 1142;
constexpr int16_t kMsgEvalSecond = 1144;
constexpr int16_t kMsgEvalThird = 1146;

// 0.9 pi: each barb coordinate takes its own direction angle turned by this much either way.
constexpr double kBarbTurn = 2.82743338824;

const rt::Text kTooManyPoints =
    u"On 3D vector count exceeded 3000 (including arrows). Reduce the ranges of x,y, & z.";

}  // namespace

int16_t BuildField3DArrows(const std::array<FieldFunction, 3>& fns, double a, double b, double n,
                           double c, double d, double m, double e, double f, double k,
                           const ProgressSink& progress, FieldRun& run) {
  const int16_t evalMessages[3] = {kMsgEvalFirst, kMsgEvalSecond, kMsgEvalThird};
  const field::GridAxis xs = field::GridAxisOf(a, b, n);
  const field::GridAxis ys = field::GridAxisOf(c, d, m);
  const field::GridAxis zs = field::GridAxisOf(e, f, k);
  const double dx = xs.step;
  const double dy = ys.step;
  const double dz = zs.step;
  int16_t total = field::ProgressTotal((b - a) * (d - c) * (f - e));
  DrawProgress(kGraphProgressBar, total, 0);
  double red = 0, green = 0, blue = 0;
  field::LetterColor(FieldTables.Field3DColorLetter, red, green, blue);
  FieldTablesData& t = FieldTables;

  const int points = field::CountGridPoints({xs, ys, zs}, kMaxFieldPoints);
  if (points > kMaxFieldPoints) {
    run.box = kTooManyPoints;
    return 0;
  }
  // Three segments (six points) per arrow, refused before anything is evaluated or written.
  if (!field::FieldFitsScene(u"PlotField3D", 6L * points, run.box)) return 0;

  // A rebuild draws the kept vectors again; they are evaluated when the table holds no
  // space-field vectors of this grid.
  const bool kept =
      run.replot && t.FieldVectorSourceKind == kVectorsField3D && t.FieldVectorCount == points;
  if (!kept) {
    t.FieldVectorSourceKind = kVectorsField3D;
    t.FieldVectorCount = 0;
    int i = 1;
    for (int layer = 0; layer < zs.Lines(); ++layer) {
      for (int row = 0; row < ys.Lines(); ++row) {
        progress.LetEventsRun();
        if (progress.Aborted()) return 0;
        for (int col = 0; col < xs.Lines() && i <= kMaxFieldPoints; ++col) {
          DrawProgress(kGraphProgressBar, total, static_cast<int16_t>(i));
          const double args[3] = {xs.At(col), ys.At(row), zs.At(layer)};
          Point3 v{};
          for (int q = 0; q < 3; ++q) {
            if (fns[static_cast<size_t>(q)](args, v[static_cast<size_t>(q)]) != 0)
              return evalMessages[q];
          }
          t.FieldVectorTable[i - 1] = v;
          t.FieldVectorCount = static_cast<int16_t>(i);
          ++i;
        }
      }
    }
  }

  // Every arrow has the length FieldVectorScale whatever |v|; the head length is a fifth of the
  // mean grid step (the sum of the three steps over eight) times ArrowHeadScale.
  const double head = 0.2 * View.ArrowHeadScale * (dx + dy + dz) / 8.0;
  const double scale = View.FieldVectorScale;
  int i = 1;
  for (int layer = 0; layer < zs.Lines() && i <= t.FieldVectorCount; ++layer) {
    for (int row = 0; row < ys.Lines() && i <= t.FieldVectorCount; ++row) {
      for (int col = 0; col < xs.Lines() && i <= t.FieldVectorCount; ++col) {
        const double x = xs.At(col), y = ys.At(row), z = zs.At(layer);
        const Point3& v = t.FieldVectorTable[i - 1];
        FieldArrowRec& rec = t.FieldArrowTable[i];
        rec.Start = {x, y, z};
        const double L = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (L == 0) {
          rec.End = rec.Barb1 = rec.Barb2 = rec.Start;
        } else {
          // Direction angles of v; each barb coordinate turns its own angle by 0.9 pi.
          const double alpha = SafeACos(v[0] / L);
          const double beta = SafeACos(v[1] / L);
          const double gamma = SafeACos(v[2] / L);
          rec.End = {x + scale * std::cos(alpha), y + scale * std::cos(beta),
                     z + scale * std::cos(gamma)};
          rec.Barb1 = {rec.End[0] + head * std::cos(alpha - kBarbTurn),
                       rec.End[1] + head * std::cos(beta - kBarbTurn),
                       rec.End[2] + head * std::cos(gamma - kBarbTurn)};
          rec.Barb2 = {rec.End[0] + head * std::cos(alpha + kBarbTurn),
                       rec.End[1] + head * std::cos(beta + kBarbTurn),
                       rec.End[2] + head * std::cos(gamma + kBarbTurn)};
        }
        ++i;
      }
    }
  }

  const int arrows = i - 1;
  for (int q = 1; q <= arrows; ++q) {
    const FieldArrowRec& rec = t.FieldArrowTable[q];
    if (!field::AppendFieldSegment(rec.Start, rec.End, red, green, blue)) break;
    if (!field::AppendFieldSegment(rec.End, rec.Barb1, red, green, blue)) break;
    if (!field::AppendFieldSegment(rec.End, rec.Barb2, red, green, blue)) break;
  }
  StoreSceneCounts();
  return 0;
}

}  // namespace ms
