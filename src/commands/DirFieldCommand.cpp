#include "commands/DirFieldCommand.h"

#include <cmath>

#include "commands/OdeBinding.h"
#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"
#include "plotting/BoundingBox.h"
#include "plotting/DirField.h"
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
constexpr int kMinStatementLength = 26;
constexpr double kPi = 3.1415926536;

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

// F and H (and G for the lifted field) as the builder calls them; H and G share a result name.
DirFieldFunctions BindDirField(const DirFieldArgs& args) {
  DirFieldFunctions fn{field::BindFieldFunction(u"f1", args.fRecord, 2),
                       field::BindFieldFunction(u"f2", args.hRecord, 2), nullptr};
  if (args.is3D) fn.g = field::BindFieldFunction(u"f2", args.gRecord, 2);
  return fn;
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
  FieldRun run{RunFlags.Replot != 0, {}};
  RunFlags.AbortRun = 0;
  const int16_t msgNo = BuildDirFieldArrows(BindDirField(args), is3D, a, b, n, c, d, m, zMin, zMax,
                                            WorksheetProgress(true), run);
  if (!run.box.empty()) ui::Ui().MsgBox(run.box, ui::kOkOnly, field::kAppTitle);
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

}  // namespace ms
