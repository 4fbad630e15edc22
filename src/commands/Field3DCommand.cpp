#include "commands/Field3DCommand.h"

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
#include "plotting/Field3D.h"
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
constexpr int kMinStatementLength = 26;

int16_t LookUp(const rt::Text& id, int16_t& index, int16_t notFound) {
  rt::Text firstParm;
  int16_t msgNo = 0;
  index = 0;
  msgNo = FindFunction(id, firstParm, index);
  if (msgNo != 0 || !field::IsFunctionRecord(index)) return notFound;
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

  FieldRun run{RunFlags.Replot != 0, {}};
  RunFlags.AbortRun = 0;
  msgNo = BuildField3DArrows({field::BindFieldFunction(u"f1", args.fRecord, 3),
                              field::BindFieldFunction(u"f2", args.gRecord, 3),
                              field::BindFieldFunction(u"f3", args.hRecord, 3)},
                             a, b, n, c, d, m, e, f, k, WorksheetProgress(true), run);
  if (!run.box.empty()) ui::Ui().MsgBox(run.box, ui::kOkOnly, field::kAppTitle);
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

}  // namespace ms
