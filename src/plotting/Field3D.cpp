#include "plotting/Field3D.h"

#include <cmath>

#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"
#include "plotting/BoundingBox.h"
#include "plotting/FieldTables.h"
#include "plotting/SceneStore.h"

namespace ms {

namespace {

constexpr int16_t kMsgSpelling = 1100;
constexpr int16_t kMsgOpenBracket = 1102;
constexpr int16_t kMsgFirstId = 1104;
constexpr int16_t kMsgComma = 1106;
constexpr int16_t kMsgSecondId = 1108;
constexpr int16_t kMsgThirdId = 1109;
constexpr int16_t kMsgFirstNotFound = 1114;
constexpr int16_t kMsgThreeParameters = 1116;
constexpr int16_t kMsgSecondNotFound = 1118;
constexpr int16_t kMsgThirdNotFound = 1120;
constexpr int16_t kMsgXRangeBrace = 1122;
constexpr int16_t kMsgYRangeBrace = 1128;
constexpr int16_t kMsgZRangeBrace = 1132;
constexpr int16_t kMsgClosingBracket = 1136;
constexpr int16_t kMsgRangeOrder = 1138;
constexpr int16_t kMsgIntervals = 1140;
constexpr int16_t kMsgEvalFirst = 1142;
constexpr int16_t kMsgEvalSecond = 1144;
constexpr int16_t kMsgEvalThird = 1146;

constexpr int kMinStatementLength = 26;
// 0.9 pi: each barb coordinate takes its own direction angle turned by this much either way.
constexpr double kBarbTurn = 2.82743338824;

const rt::Text kTooManyPoints =
    u"On 3D vector count exceeded 3000 (including arrows). Reduce the ranges of x,y, & z.";

bool ValidIndex(int16_t index) {
  return index >= 1 && index <= Tables.FuncCount;
}

int16_t LookUp(const rt::Text& id, int16_t& index, int16_t notFound) {
  rt::Text firstParm;
  int16_t msgNo = 0;
  index = 0;
  msgNo = FindFunction(id, firstParm, index);
  if (msgNo != 0 || !ValidIndex(index)) return notFound;
  const FuncRec& fn = Tables.FuncTable[index];
  if (fn.Parm1.empty() || fn.Parm2.empty() || fn.Parm3.empty()) return kMsgThreeParameters;
  return 0;
}

}  // namespace

int16_t ParseField3DArgs(const rt::Text& statement, Field3DArgs& args) {
  args = Field3DArgs{};
  const rt::Text name = rt::Left(statement, 11);
  if (name != u"PlotField3D" && name != u"plotfield3d") return kMsgSpelling;
  StatementReader r(statement, 12);
  int16_t msgNo = r.Expect(u'[', kMsgOpenBracket);
  if (msgNo != 0) return msgNo;
  if (static_cast<long>(statement.size()) < kMinStatementLength) return kMsgSpelling;
  const int16_t idMessages[3] = {kMsgFirstId, kMsgSecondId, kMsgThirdId};
  rt::Text ids[3];
  for (int k = 0; k < 3 && msgNo == 0; ++k) {
    msgNo =
        r.ReadFunctionId(ids[k], idMessages[k], k == 0 ? kIdJoinsLowerOrUnderscore : kIdJoinsLower);
    if (msgNo == 0) msgNo = r.Expect(u',', kMsgComma);
  }
  if (msgNo == 0) msgNo = LookUp(ids[0], args.fRecord, kMsgFirstNotFound);
  if (msgNo == 0) msgNo = LookUp(ids[1], args.gRecord, kMsgSecondNotFound);
  if (msgNo == 0) msgNo = LookUp(ids[2], args.hRecord, kMsgThirdNotFound);
  if (msgNo == 0) msgNo = field::ReadRange(r, kMsgXRangeBrace, args.x);
  if (msgNo == 0) msgNo = field::ReadRange(r, kMsgYRangeBrace, args.y);
  if (msgNo == 0) msgNo = field::ReadRange(r, kMsgZRangeBrace, args.z);
  if (msgNo != 0) return msgNo;

  msgNo = field::ReadColorLetterAndClose(r, u"b", args.colorLetter, kMsgClosingBracket);
  if (msgNo != 0) return msgNo;
  return field::CheckRanges({&args.x, &args.y, &args.z}, kMsgRangeOrder, kMsgIntervals);
}

int16_t ProcessPlotField3D(const rt::Text& statement) {
  Field3DArgs args;
  int16_t msgNo = ParseField3DArgs(statement, args);
  if (args.colorLetter) FieldTables.Field3DColorLetter = *args.colorLetter;
  // A statement read to its end asks for the z axis, even when its ranges are then refused.
  if (msgNo == 0 || msgNo == kMsgRangeOrder || msgNo == kMsgIntervals) View.ZAxisNeeded = -1;
  if (msgNo != 0) return msgNo;
  const double a = args.x.lo, b = args.x.hi, n = args.x.steps;
  const double c = args.y.lo, d = args.y.hi, m = args.y.steps;
  const double e = args.z.lo, f = args.z.hi, k = args.z.steps;
  View.RotationAngle = View.FieldRotation;
  View.ElevationAngle = View.FieldElevation;

  RunFlags.AbortRun = 0;
  msgNo = BuildField3DArrows(args.fRecord, args.gRecord, args.hRecord, a, b, n, c, d, m, e, f, k);
  if (RunFlags.AbortRun != 0) return msgNo;
  if (View.ShowBox != 0) AddBoundingBox(a, b, c, d, e, f);
  if (FieldGraph.AxesWanted == 0) return msgNo;
  if (rt::Sgn(d) == rt::Sgn(c) || rt::Sgn(a) == rt::Sgn(b) || rt::Sgn(e) == rt::Sgn(f)) {
    BuildCornerAxes(1.1 * a, 1.1 * b, 1.1 * c, 1.1 * d, 1.1 * e, 1.1 * f);
  } else {
    BuildAxes(1.1 * a, 1.1 * b, 1.1 * c, 1.1 * d, 1.1 * e, 1.1 * f);
  }
  return msgNo;
}

int16_t BuildField3DArrows(int16_t fIndex, int16_t gIndex, int16_t hIndex, double a, double b,
                           double n, double c, double d, double m, double e, double f, double k) {
  const int16_t indexes[3] = {fIndex, gIndex, hIndex};
  const int16_t evalMessages[3] = {kMsgEvalFirst, kMsgEvalSecond, kMsgEvalThird};
  for (int q = 0; q < 3; ++q) {
    if (!ValidIndex(indexes[q])) return evalMessages[q];
  }
  const rt::Text ids[3] = {Tables.FuncTable[fIndex].Name, Tables.FuncTable[gIndex].Name,
                           Tables.FuncTable[hIndex].Name};
  const rt::Text resultNames[3] = {u"f1", u"f2", u"f3"};
  const double dx = (b - a) / n;
  const double dy = (d - c) / m;
  const double dz = (f - e) / k;
  int16_t total = field::ProgressTotal((b - a) * (d - c) * (f - e));
  DrawProgress(kGraphProgressBar, total, 0);
  double red = 0, green = 0, blue = 0;
  field::LetterColor(FieldTables.Field3DColorLetter, red, green, blue);
  FieldTablesData& t = FieldTables;

  const int points = field::CountGridPoints3D(a, b, dx, c, d, dy, e, f, dz, kMaxFieldPoints);
  if (points > kMaxFieldPoints) {
    ui::Ui().MsgBox(kTooManyPoints, ui::kOkOnly, field::kAppTitle);
    return 0;
  }
  // Three segments (six points) per arrow, refused before anything is evaluated or written.
  if (!field::FieldFitsScene(u"PlotField3D", 6L * points)) return 0;

  // A rebuild draws the kept vectors again; they are evaluated when the table holds no
  // space-field vectors of this grid.
  const bool kept = RunFlags.Replot != 0 && t.FieldVectorSourceKind == kVectorsField3D &&
                    t.FieldVectorCount == points;
  if (!kept) {
    t.FieldVectorSourceKind = kVectorsField3D;
    t.FieldVectorCount = 0;
    int i = 1;
    for (double z = e; z <= f; z += dz) {
      for (double y = c; y <= d; y += dy) {
        ui::Ui().DoEvents();
        if (RunFlags.AbortRun != 0) return 0;
        for (double x = a; x <= b && i <= kMaxFieldPoints; x += dx) {
          DrawProgress(kGraphProgressBar, total, static_cast<int16_t>(i));
          const double args[3] = {x, y, z};
          Point3 v{};
          for (int q = 0; q < 3; ++q) {
            if (field::FunctionAt(resultNames[q], ids[q], args, 3, v[static_cast<size_t>(q)]) != 0)
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
  for (double z = e; z <= f && i <= t.FieldVectorCount; z += dz) {
    for (double y = c; y <= d && i <= t.FieldVectorCount; y += dy) {
      for (double x = a; x <= b && i <= t.FieldVectorCount; x += dx) {
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
