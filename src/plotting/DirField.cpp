#include "plotting/DirField.h"

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

constexpr int16_t kMsgSpelling = 1000;
constexpr int16_t kMsgOpenBracket = 1002;
constexpr int16_t kMsgFirstId = 1004;
constexpr int16_t kMsgComma = 1006;
constexpr int16_t kMsgSecondId = 1008;
constexpr int16_t kMsgTwoParameters = 1012;
constexpr int16_t kMsgFirstNotFound = 1014;
constexpr int16_t kMsgSecondNotFound = 1016;
constexpr int16_t kMsgXRangeBrace = 1018;
constexpr int16_t kMsgYRangeBrace = 1024;
constexpr int16_t kMsgClosingBracket = 1026;
constexpr int16_t kMsgRangeOrder = 1028;
constexpr int16_t kMsgIntervals = 1030;
constexpr int16_t kMsgEvalF = 1032;
constexpr int16_t kMsgEvalH = 1034;
constexpr int16_t kMsgEvalG = 1036;

constexpr int kMinStatementLength = 26;
constexpr double kPi = 3.1415926536;
// 0.9 pi and 1.8 pi: a barb leaves the shaft 18 degrees off its direction.
constexpr double kBarbTurn = 2.82743338824;
constexpr double kBarbSpread = 5.65486677648;

const rt::Text kTooManyPoints =
    u"2D vector count <= 3000 (including arrows). Reduce the ranges of x,y, & z.";

bool HasTwoParameters(int16_t index) {
  if (index < 1 || index > Tables.FuncCount) return false;
  const FuncRec& f = Tables.FuncTable[index];
  return !f.Parm1.empty() && !f.Parm2.empty();
}

// Looks a function up; notFound replaces FindFunction's message when it is not 0.
int16_t LookUp(const rt::Text& id, int16_t& index, int16_t notFound) {
  rt::Text firstParm;
  int16_t msgNo = 0;
  index = 0;
  msgNo = FindFunction(id, firstParm, index);
  if (msgNo != 0 || index < 1 || index > Tables.FuncCount)
    return notFound != 0 || msgNo == 0 ? (notFound != 0 ? notFound : int16_t{57}) : msgNo;
  return HasTwoParameters(index) ? 0 : kMsgTwoParameters;
}

}  // namespace

int16_t ParseDirFieldArgs(const rt::Text& statement, DirFieldArgs& args) {
  args = DirFieldArgs{};
  const rt::Text name = rt::Left(statement, 12);
  if ((name != u"PlotDirField" && name != u"plotdirfield") ||
      static_cast<long>(statement.size()) < kMinStatementLength)
    return kMsgSpelling;
  StatementReader r(statement, 13);
  rt::Text fId, hId, gId;
  int16_t msgNo = r.Expect(u'[', kMsgOpenBracket);
  if (msgNo == 0) msgNo = r.ReadFunctionId(fId, kMsgFirstId, kIdJoinsLowerOrUnderscore);
  if (msgNo == 0) msgNo = r.Expect(u',', kMsgComma);
  if (msgNo == 0) msgNo = r.ReadFunctionId(hId, kMsgSecondId);
  if (msgNo == 0) msgNo = r.Expect(u',', kMsgComma);
  if (msgNo == 0 && r.AtUpper()) {
    args.is3D = true;
    msgNo = r.ReadFunctionId(gId, 0, kIdJoinsLowerOrUnderscore);
    if (msgNo == 0) msgNo = LookUp(gId, args.gRecord, 0);
    if (msgNo == 0) msgNo = r.Expect(u',', kMsgComma);
  }
  if (msgNo == 0) msgNo = LookUp(fId, args.fRecord, kMsgFirstNotFound);
  if (msgNo == 0) msgNo = LookUp(hId, args.hRecord, kMsgSecondNotFound);
  if (msgNo == 0) msgNo = field::ReadRange(r, kMsgXRangeBrace, args.x);
  if (msgNo == 0) msgNo = field::ReadRange(r, kMsgYRangeBrace, args.y);
  if (msgNo != 0) return msgNo;

  msgNo = field::ReadColorLetterAndClose(r, u"b", args.colorLetter, kMsgClosingBracket);
  if (msgNo != 0) return msgNo;
  return field::CheckRanges({&args.x, &args.y}, kMsgRangeOrder, kMsgIntervals);
}

int16_t ProcessPlotDirField(const rt::Text& statement) {
  DirFieldArgs args;
  const int16_t parseMsg = ParseDirFieldArgs(statement, args);
  View.ZAxisNeeded = args.is3D ? -1 : 0;
  if (args.colorLetter) FieldTables.DirFieldColorLetter = *args.colorLetter;
  if (parseMsg != 0) return parseMsg;
  const bool is3D = args.is3D;
  const double a = args.x.lo, b = args.x.hi, n = args.x.steps;
  const double c = args.y.lo, d = args.y.hi;
  const double m = args.y.steps;

  double zMin = 200, zMax = -200;
  RunFlags.AbortRun = 0;
  const int16_t msgNo = BuildDirFieldArrows(args.fRecord, args.hRecord, args.gRecord, is3D, a, b, n,
                                            c, d, m, zMin, zMax);
  // The axes follow an evaluation failure too; the caller then reports it.
  if (RunFlags.AbortRun != 0 || FieldGraph.AxesWanted == 0) return msgNo;

  if (is3D) {
    View.RotationAngle = View.FieldRotation;
    View.ElevationAngle = View.FieldElevation;
    FieldGraph.BoxAvailable = -1;
    if (View.ShowBox != 0) AddBoundingBox(a, b, c, d, zMin, zMax);
    if (rt::Sgn(d) == rt::Sgn(c) || rt::Sgn(a) == rt::Sgn(b) || rt::Sgn(zMin) == rt::Sgn(zMax)) {
      BuildCornerAxes(a, b, c, d, zMin, zMax);
    } else {
      BuildAxes(a, b, c, d, zMin, zMax);
    }
  } else {
    // The two-dimensional view: looking down onto the xy plane.
    View.RotationAngle = -kPi / 2;
    View.ElevationAngle = 0;
    if (rt::Sgn(d) == rt::Sgn(c) || rt::Sgn(a) == rt::Sgn(b)) {
      BuildCornerAxes(a, b, c, d, 0, 0);
    } else {
      BuildAxes(1.1 * a, 1.1 * b, 1.1 * c, 1.1 * d, -1, 1);
    }
  }
  return msgNo;
}

int16_t BuildDirFieldArrows(int16_t fIndex, int16_t hIndex, int16_t gIndex, bool is3D, double a,
                            double b, double n, double c, double d, double m, double& zMin,
                            double& zMax) {
  const auto valid = [](int16_t k) { return k >= 1 && k <= Tables.FuncCount; };
  if (!valid(fIndex) || !valid(hIndex)) return !valid(fIndex) ? kMsgEvalF : kMsgEvalH;
  if (is3D && !valid(gIndex)) return kMsgEvalG;
  const double dx = (b - a) / n;
  const double dy = (d - c) / m;
  const rt::Text fId = Tables.FuncTable[fIndex].Name;
  const rt::Text hId = Tables.FuncTable[hIndex].Name;
  const rt::Text gId = is3D ? Tables.FuncTable[gIndex].Name : rt::Text();
  int16_t total = field::ProgressTotal((d - c) * (b - a));
  double red = 0, green = 0, blue = 0;
  field::LetterColor(FieldTables.DirFieldColorLetter, red, green, blue);
  FieldTablesData& t = FieldTables;

  const int points = field::CountGridPoints(a, b, dx, c, d, dy, kMaxFieldPoints);
  if (points > kMaxFieldPoints) {
    ui::Ui().MsgBox(kTooManyPoints, ui::kOkOnly, field::kAppTitle);
    return 0;
  }
  // Three segments (six points) per arrow, refused before anything is evaluated or written.
  if (!field::FieldFitsScene(u"PlotDirField", 6L * points)) return 0;

  // A rebuild draws the kept vectors again; they are evaluated when the table holds no
  // direction-field vectors of this grid.
  const bool kept = RunFlags.Replot != 0 && t.FieldVectorSourceKind == kVectorsDirField &&
                    t.FieldVectorCount == points;
  if (!kept) {
    t.FieldVectorSourceKind = kVectorsDirField;
    t.FieldVectorCount = 0;
    int i = 1;
    for (double y = c; y <= d; y += dy) {
      for (double x = a; x <= b && i <= kMaxFieldPoints; x += dx) {
        ui::Ui().DoEvents();
        if (RunFlags.AbortRun != 0) return 0;
        const double args[2] = {x, y};
        double vx = 0, vy = 0, vz = 0;
        if (field::FunctionAt(u"f1", fId, args, 2, vx) != 0) return kMsgEvalF;
        if (field::FunctionAt(u"f2", hId, args, 2, vy) != 0) return kMsgEvalH;
        if (is3D && field::FunctionAt(u"f2", gId, args, 2, vz) != 0) return kMsgEvalG;
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
