#include "commands/SlopeFieldCommand.h"

#include <cmath>

#include "commands/OdeBinding.h"
#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/Settings.h"
#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "platform/ui/UiServices.h"
#include "plotting/Axes.h"
#include "plotting/BoundingBox.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"
#include "plotting/SlopeField.h"

namespace ms {

namespace {

constexpr int16_t kMsgSpelling = 1200;
constexpr int16_t kMsgOpenBracket = 1202;
constexpr int16_t kMsgFunctionId = 1204;
constexpr int16_t kMsgComma = 1206;
constexpr int16_t kMsgNoFunction = 1208;
constexpr int16_t kMsgSecondParameter = 1210;
constexpr int16_t kMsgOpenBrace = 1214;
constexpr int16_t kMsgStartPointBrace = 1218;
constexpr int16_t kMsgClosingBracket = 1224;
constexpr int16_t kMsgTooManyStartPoints = 1234;
constexpr int16_t kMsgRangeOrder = 1226;
constexpr int16_t kMsgIntervals = 1228;
constexpr int16_t kMsgStartPointOutside = 1232;
constexpr int kMinStatementLength = 26;

}  // namespace

int16_t ParseSlopeFieldArgs(const rt::Text& statement, SlopeFieldArgs& args) {
  args = SlopeFieldArgs{};
  const rt::Text name = rt::Left(statement, 14);
  if (name != u"PlotSlopeField" && name != u"plotslopefield") return kMsgSpelling;
  if (static_cast<long>(statement.size()) < kMinStatementLength) return kMsgSpelling;
  StatementReader r(statement, 15);
  rt::Text id;
  int16_t msgNo = r.Expect(u'[', kMsgOpenBracket);
  if (msgNo == 0) msgNo = r.ReadFunctionId(id, kMsgFunctionId, kIdJoinsLowerOrUnderscore);
  if (msgNo == 0) msgNo = r.Expect(u',', kMsgComma);
  if (msgNo != 0) return msgNo;
  rt::Text firstParm;
  msgNo = FindFunction(id, firstParm, args.fRecord);
  if (msgNo != 0 || !field::IsFunctionRecord(args.fRecord)) return kMsgNoFunction;
  if (Tables.FuncTable[args.fRecord].Parm2.empty()) return kMsgSecondParameter;

  msgNo = field::ReadRange(r, kMsgOpenBrace, args.x);
  if (msgNo == 0) msgNo = field::ReadRange(r, kMsgOpenBrace, args.y);
  if (msgNo != 0) return msgNo;

  // Start points until "]", the last character or a letter. After the tenth an eleventh one is
  // refused with a message of its own.
  while (!r.At(u']') && r.Pos() < r.Length() && !rt::IsLetter(r.Peek()) &&
         args.count < kMaxSlopeStartPoints) {
    auto& point = args.points[static_cast<size_t>(args.count + 1)];
    msgNo = r.Expect(u'{', kMsgStartPointBrace);
    if (msgNo == 0) msgNo = r.ReadRangeValues({&point[0], &point[1]}, u'}');
    if (msgNo != 0) return msgNo;
    ++args.count;
  }
  if (args.count == kMaxSlopeStartPoints && r.At(u'{')) return kMsgTooManyStartPoints;

  msgNo = field::ReadColorLetterAndClose(r, u"g", args.colorLetter, kMsgClosingBracket);
  if (msgNo != 0) return msgNo;
  for (int j = 1; j <= args.count; ++j) {
    const auto& p = args.points[static_cast<size_t>(j)];
    if (!(args.x.lo <= p[0] && p[0] <= args.x.hi && args.y.lo <= p[1] && p[1] <= args.y.hi))
      return kMsgStartPointOutside;
  }
  return field::CheckRanges({&args.x, &args.y}, kMsgRangeOrder, kMsgIntervals);
}

int16_t ProcessPlotSlopeField(const rt::Text& statement) {
  SlopeFieldArgs args;
  int16_t msgNo = ParseSlopeFieldArgs(statement, args);
  for (int j = 1; j <= args.count; ++j)
    FieldTables.SlopeStartPoints[static_cast<size_t>(j)] = args.points[static_cast<size_t>(j)];
  if (args.colorLetter) FieldTables.SlopeFieldColorLetter = *args.colorLetter;
  // A statement whose start points lie in the rectangle sets the mode, even when its ranges are
  // then refused.
  FieldGraph.SlopeFieldMode =
      msgNo == 0 || msgNo == kMsgRangeOrder || msgNo == kMsgIntervals ? -1 : 0;
  if (msgNo != 0) return msgNo;
  const double a = args.x.lo, b = args.x.hi, c = args.y.lo, d = args.y.hi;

  FieldRun run{RunFlags.Replot != 0, {}};
  RunFlags.AbortRun = 0;
  msgNo = BuildSlopeField(SlopeFunctions{field::BindFieldFunction(u"zn", args.fRecord, 2),
                                         field::BindFieldFunction(u"m_", args.fRecord, 2)},
                          a, b, args.x.steps, c, d, args.y.steps, args.count,
                          SlopeFieldOptions{Settings.SlopeFieldStep, Settings.BothDirections != 0},
                          WorksheetProgress(true), run);
  if (!run.box.empty()) ui::Ui().MsgBox(run.box, ui::kOkOnly, field::kAppTitle);
  if (RunFlags.AbortRun != 0 || msgNo != 0 || FieldGraph.AxesWanted == 0) return msgNo;

  if (rt::Sgn(c) == rt::Sgn(d) || rt::Sgn(a) == rt::Sgn(b)) {
    BuildCornerAxes(1.1 * a, 1.1 * b, 1.1 * c, 1.1 * d, 0, 0);
  } else {
    BuildAxes(1.1 * a, 1.1 * b, 1.1 * c, 1.1 * d, -1, 1);
  }
  if (FieldGraph.GridCrossesWanted != 0) {
    // The crosses cover the view box; the field's rectangle belongs to it.
    field::WidenViewBox(a, b, c, d, 0, 0);
    AddGridCrosses(Settings.XYPlaneColor);
  }
  StoreSceneCounts();
  return 0;
}

}  // namespace ms
