#include "commands/ZeroCommand.h"

#include <optional>

#include "commands/CommandProgressSink.h"
#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/Settings.h"
#include "language/Simplify.h"
#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"
#include "numerics/Roots.h"
#include "platform/runtime/FormatSignificant.h"

namespace ms {
namespace {

constexpr int16_t kMsgKeyword = 280;
constexpr int16_t kMsgTooShort = 281;
constexpr int16_t kMsgComma = 282;
constexpr int16_t kMsgBrace = 283;
constexpr int16_t kMsgConstantId = 284;
constexpr int16_t kMsgResultBrace = 285;
constexpr int16_t kMsgTolerance = 286;
constexpr int16_t kMsgFunctionNotFound = 57;
constexpr int16_t kMsgDiscontinuity = 289;  // the sign change is a pole or a jump, not a zero

// A constant identifier: "[a-z]" then optionally "[a-z0-9_]", a one-letter one completed with "_".
int16_t ReadConstantId(StatementReader& r, rt::Text& id) {
  return r.ReadIdentifier(id, u"[a-z]", kIdJoinsLowerDigitOrUnderscore, kMsgConstantId);
}

// One bracket value: a number up to the delimiter, or a constant identifier whose value text gives
// the number. The reader is left on the delimiter after a number, after the identifier otherwise.
int16_t ReadBracketValue(StatementReader& r, char16_t delimiter, double& value) {
  int16_t pos = r.Pos();
  rt::Text number;
  bool found = false;
  int16_t msgNo = 0;
  msgNo = ScanNumber(r.Text(), pos, number, found, rt::Text(1, delimiter));
  if (msgNo != 0) return msgNo;
  if (found) {
    value = rt::Val(number);
    r.SetPos(pos);
    return 0;
  }
  rt::Text id;
  msgNo = ReadConstantId(r, id);
  int16_t index = 0;
  if (msgNo == 0) msgNo = FindRangeConstant(id, index);
  if (msgNo == 0) value = RangeConstantValue(index);
  return msgNo;
}

// F(x) for the function record through an assignment text to the temporary constant fa.
RealFunction BindZeroFunction(int16_t record) {
  return [record](double x, double& fx) -> int16_t {
    if (record < 1 || record > Tables.FuncCount) return kMsgFunctionNotFound;
    return EvalFunctionCall(u"fa", Tables.FuncTable[record].Name, &x, 1, fx);
  };
}

}  // namespace

int16_t ParseZeroArgs(const rt::Text& statement, ZeroArgs& args) {
  args = ZeroArgs{};
  const rt::Text head = rt::Left(statement, 5);
  if (head != u"Zero[" && head != u"zero[") return kMsgKeyword;
  if (statement.size() < 12) return kMsgTooShort;
  StatementReader r(statement, 6);
  rt::Text funcId, firstParam;
  // Every function name starts with an upper-case letter: any other character is not found.
  int16_t msgNo = r.ReadFunctionId(funcId, kMsgFunctionNotFound, kIdJoinsLowerDigitOrUnderscore);
  if (msgNo == 0) msgNo = FindFunction(funcId, firstParam, args.fRecord);
  if (msgNo == 0) msgNo = r.Expect(u',', kMsgComma);
  if (msgNo == 0) msgNo = r.Expect(u'{', kMsgBrace);
  for (double* value : {&args.a, &args.b}) {
    if (msgNo == 0) msgNo = ReadBracketValue(r, u',', *value);
    if (msgNo == 0) msgNo = r.Expect(u',', kMsgComma);
  }
  if (msgNo == 0) msgNo = ReadConstantId(r, args.resultId);
  if (msgNo == 0) msgNo = r.Expect(u'}', kMsgResultBrace);
  if (msgNo != 0 || r.At(u']')) return msgNo;
  const bool byConstant = rt::IsLower(r.Peek());
  msgNo = ReadBracketValue(r, u']', args.tol);
  if (msgNo == 0 && byConstant && !r.At(u']')) msgNo = kMsgTolerance;
  return msgNo;
}

int16_t ProcessZero(const rt::Text& statement) {
  ZeroArgs args;
  int16_t msgNo = ParseZeroArgs(statement, args);
  if (msgNo != 0) return msgNo;
  const RealFunction f = BindZeroFunction(args.fRecord);
  std::optional<CommandProgress> bar;
  const ProgressSink progress = CommandProgressSink(bar);
  double r1 = args.a, r2 = args.b;
  double root = 0;
  RestartAbortPoll();
  msgNo = BisectZero(f, r1, r2, root, args.tol, progress);
  if (msgNo != 0) return msgNo;
  // A search stopped by Esc has no converged bracket to judge.
  if (RunFlags.AbortRun == 0) {
    bool discontinuity = false;
    msgNo = CheckSignChange(f, args.a, args.b, r1, r2, discontinuity, progress);
    if (msgNo != 0) return msgNo;
    if (discontinuity) return kMsgDiscontinuity;
  }
  const int16_t index = AppendConstant(msgNo);
  if (msgNo != 0) return msgNo;
  ConstRec& rec = Tables.ConstTable[index];
  rec.Kind = 0;
  rec.Name = args.resultId;
  rec.Expr.clear();
  rec.ValueText = rt::FormatSignificant(root, Settings.DisplayDigits);
  rec.Spare1 = 0;
  rec.Locked = 0;
  // Stopped by Esc: the constant is there for later statements, its value listed as not computed.
  rec.NotComputed = RunFlags.AbortRun != 0;
  return 0;
}

}  // namespace ms
