#include "numerics/Roots.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/Settings.h"
#include "language/Simplify.h"
#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"
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
constexpr int16_t kMsgSameSign = 287;       // F has the same sign at both ends of the bracket
constexpr int16_t kMsgNoValue = 288;        // F cannot be evaluated inside the bracket
constexpr int16_t kMsgDiscontinuity = 289;  // the sign change is a pole or a jump, not a zero

// Near a zero of a continuous F the values at the ends of the bracket fall as the bracket
// shrinks; through a pole they grow, across a jump they stay. The converged bracket is bisected
// on to kFurtherShrink of its width (about 20 halvings, well above the doubles where the guarded
// division turns an overflowing quotient into 0); the smaller end magnitude then is compared with
// that of the converged bracket (a zero loses at least kZeroShrink of it) and with the larger
// magnitude at the bracket as given (a zero's is at most kZeroScale of it).
constexpr double kFurtherShrink = 1e-6;
constexpr double kZeroShrink = 0.5;
constexpr double kZeroScale = 1e-6;

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

}  // namespace

int16_t EvalFunctionAtX(int16_t funcIndex, double x, double& fx) {
  if (funcIndex < 1 || funcIndex > Tables.FuncCount) return kMsgFunctionNotFound;
  return EvalFunctionCall(u"fa", Tables.FuncTable[funcIndex].Name, &x, 1, fx);
}

int16_t BisectZero(int16_t funcIndex, double& a, double& b, double& root, double tol,
                   bool showProgress) {
  double fa = 0, fb = 0;
  if (EvalFunctionAtX(funcIndex, a, fa) != 0 || EvalFunctionAtX(funcIndex, b, fb) != 0)
    return kMsgNoValue;
  if (rt::Sgn(fa) == rt::Sgn(fb)) return kMsgSameSign;
  // A bracket already within tolerance runs no step: its midpoint is the root.
  root = (a + b) / 2;
  // Each step halves the bracket: log2(|b - a| / tol) steps reach the tolerance.
  const double steps = std::ceil(std::log2(std::fabs(b - a) / tol));
  std::optional<CommandProgress> progress;
  if (showProgress)
    progress.emplace(std::isfinite(steps) ? std::min<double>(steps, kMaxBisections) : 1);
  for (int step = 0; std::fabs(b - a) > tol && step < kMaxBisections; ++step) {
    if (progress) progress->Step(step);
    const double m = (a + b) / 2;
    root = m;
    // The bracket can no longer be halved in double precision: m is as close as it gets.
    if (m == a || m == b) break;
    if (PollAbort()) return 0;
    double fm = 0;
    if (EvalFunctionAtX(funcIndex, m, fm) != 0) return kMsgNoValue;
    if (rt::Sgn(fm) != rt::Sgn(fa)) {
      b = m;
      fb = fm;
    } else {
      a = m;
      fa = fm;
    }
  }
  if (progress) progress->Step(kMaxBisections);
  return 0;
}

int16_t CheckSignChange(int16_t funcIndex, double a0, double b0, double a, double b,
                        bool& discontinuity) {
  discontinuity = false;
  double fa0 = 0, fb0 = 0, fa = 0, fb = 0;
  if (EvalFunctionAtX(funcIndex, a0, fa0) != 0 || EvalFunctionAtX(funcIndex, b0, fb0) != 0 ||
      EvalFunctionAtX(funcIndex, a, fa) != 0 || EvalFunctionAtX(funcIndex, b, fb) != 0)
    return kMsgNoValue;
  const double converged = std::min(std::fabs(fa), std::fabs(fb));
  double m = 0;
  if (const int16_t msgNo =
          BisectZero(funcIndex, a, b, m, std::fabs(b - a) * kFurtherShrink, false);
      msgNo != 0)
    return msgNo;
  if (EvalFunctionAtX(funcIndex, a, fa) != 0 || EvalFunctionAtX(funcIndex, b, fb) != 0)
    return kMsgNoValue;
  const double last = std::min(std::fabs(fa), std::fabs(fb));
  // NaN or infinity at the ends is no zero either.
  discontinuity = !(last < kZeroShrink * converged ||
                    last < kZeroScale * std::max(std::fabs(fa0), std::fabs(fb0)));
  return 0;
}

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
  double r1 = args.a, r2 = args.b;
  const rt::Text& resultId = args.resultId;
  double root = 0;
  RestartAbortPoll();
  msgNo = BisectZero(args.fRecord, r1, r2, root, args.tol);
  if (msgNo != 0) return msgNo;
  // A search stopped by Esc has no converged bracket to judge.
  if (RunFlags.AbortRun == 0) {
    bool discontinuity = false;
    msgNo = CheckSignChange(args.fRecord, args.a, args.b, r1, r2, discontinuity);
    if (msgNo != 0) return msgNo;
    if (discontinuity) return kMsgDiscontinuity;
  }
  const int16_t index = AppendConstant(msgNo);
  if (msgNo != 0) return msgNo;
  ConstRec& rec = Tables.ConstTable[index];
  rec.Kind = 0;
  rec.Name = resultId;
  rec.Expr.clear();
  rec.ValueText = rt::FormatSignificant(root, Settings.DisplayDigits);
  rec.Spare1 = 0;
  rec.Locked = 0;
  // Stopped by Esc: the constant is there for later statements, its value listed as not computed.
  rec.NotComputed = RunFlags.AbortRun != 0;
  return 0;
}

}  // namespace ms
