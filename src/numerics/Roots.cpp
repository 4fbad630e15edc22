#include "numerics/Roots.h"

#include <cmath>

#include "language/CommandArguments.h"
#include "language/Settings.h"
#include "language/Simplify.h"
#include "language/WorksheetTables.h"
#include "numerics/FunctionValue.h"
#include "platform/runtime/FormatSignificant.h"

namespace ms {
namespace {

using rt::IsLower;

// A one- or two-character constant identifier at p ("[a-z]" then optionally "[a-z0-9_]"); a
// one-letter identifier is completed with "_". p is advanced past it.
rt::Text ReadConstantId(const rt::Text& s, int& p) {
  rt::Text id(1, rt::CharAt(s, p));
  if (rt::CharIs(rt::CharAt(s, p + 1), u"[a-z0-9_]")) {
    id += rt::CharAt(s, p + 1);
    p += 2;
  } else {
    id += u'_';
    p += 1;
  }
  return id;
}

// One bracket value: a number up to the delimiter, or a constant identifier whose value text gives
// the number. p is left on the delimiter after a number, after the identifier otherwise.
void ReadBracketValue(const rt::Text& s, int& p, const rt::Text& delimiter, double& value,
                      int16_t& msgNo) {
  int16_t pos = static_cast<int16_t>(p);
  rt::Text number;
  bool found = false;
  ScanNumber(s, pos, number, found, delimiter, msgNo);
  if (msgNo != 0) return;
  if (found) {
    value = rt::Val(number);
    p = pos;
    return;
  }
  if (!IsLower(rt::CharAt(s, p))) {
    msgNo = 284;
    return;
  }
  const rt::Text id = ReadConstantId(s, p);
  int16_t index = 0;
  FindRangeConstant(id, index, msgNo);
  if (msgNo != 0) return;
  rt::Text simplified;
  Simplify(Tables.ConstTable[index].ValueText, u"[2,2,2]", simplified);
  value = rt::Val(StripValueParens(simplified));
}

}  // namespace

void EvalFunctionAtX(int16_t& funcIndex, double& x, double& fx, double& /*tol*/, int16_t& msgNo) {
  if (funcIndex < 1 || funcIndex > Tables.FuncCount) {
    msgNo = 57;
    return;
  }
  EvalFunctionCall(u"fa", Tables.FuncTable[funcIndex].Name, &x, 1, fx, msgNo);
}

void BisectZero(int16_t& funcIndex, double& a, double& b, double& root, double& tol,
                int16_t& msgNo) {
  double fa = 0, fb = 0;
  msgNo = 0;
  EvalFunctionAtX(funcIndex, a, fa, tol, msgNo);
  if (msgNo == 0) EvalFunctionAtX(funcIndex, b, fb, tol, msgNo);
  if (msgNo != 0) {
    msgNo = 288;
    return;
  }
  if (rt::Sgn(fa) == rt::Sgn(fb)) {
    msgNo = 287;
    return;
  }
  // A bracket already within tolerance runs no step: its midpoint is the root.
  root = (a + b) / 2;
  for (int step = 0; std::fabs(b - a) > tol && step < kMaxBisections; ++step) {
    const double m = (a + b) / 2;
    root = m;
    // The bracket can no longer be halved in double precision: m is as close as it gets.
    if (m == a || m == b) break;
    double fm = 0;
    double mm = m;
    EvalFunctionAtX(funcIndex, mm, fm, tol, msgNo);
    if (msgNo != 0) {
      msgNo = 288;
      return;
    }
    if (rt::Sgn(fm) != rt::Sgn(fa)) {
      b = m;
      fb = fm;
    } else {
      a = m;
      fa = fm;
    }
  }
}

void ProcessZero(rt::Text& statement, int16_t& msgNo) {
  msgNo = 0;
  const rt::Text& s = statement;
  const rt::Text head = rt::Left(s, 5);
  if (head != u"Zero[" && head != u"zero[") {
    msgNo = 280;
    return;
  }
  if (s.size() < 12) {
    msgNo = 281;
    return;
  }
  double tol = 0.00001;
  int p = 6;
  rt::Text funcId(1, rt::CharAt(s, 6));
  if (rt::CharIs(rt::CharAt(s, 7), u"[a-z0-9_]")) {
    funcId += rt::CharAt(s, 7);
    p = 8;
  } else {
    funcId += u'_';
    p = 7;
  }
  rt::Text firstParam;
  int16_t funcIndex = 0;
  FindFunction(funcId, firstParam, funcIndex, msgNo);
  if (msgNo != 0) return;

  if (rt::CharAt(s, p) != u',') {
    msgNo = 282;
    return;
  }
  ++p;
  if (rt::CharAt(s, p) != u'{') {
    msgNo = 283;
    return;
  }
  ++p;
  double r1 = 0, r2 = 0;
  for (double* r : {&r1, &r2}) {
    ReadBracketValue(s, p, u",", *r, msgNo);
    if (msgNo != 0) return;
    if (rt::CharAt(s, p) != u',') {
      msgNo = 282;
      return;
    }
    ++p;
  }
  if (!IsLower(rt::CharAt(s, p))) {
    msgNo = 284;
    return;
  }
  const rt::Text resultId = ReadConstantId(s, p);
  if (rt::CharAt(s, p) != u'}') {
    msgNo = 285;
    return;
  }
  ++p;
  if (rt::CharAt(s, p) != u']') {
    const bool byConstant = IsLower(rt::CharAt(s, p));
    ReadBracketValue(s, p, u"]", tol, msgNo);
    if (msgNo != 0) return;
    if (byConstant && rt::CharAt(s, p) != u']') {
      msgNo = 286;
      return;
    }
  }
  double root = 0;
  BisectZero(funcIndex, r1, r2, root, tol, msgNo);
  if (msgNo != 0) return;
  const int16_t index = AppendConstant(msgNo);
  if (msgNo != 0) return;
  ConstRec& rec = Tables.ConstTable[index];
  rec.Kind = 0;
  rec.Name = resultId;
  rec.Expr.clear();
  rec.ValueText = rt::FormatSignificant(root, Settings.DisplayDigits);
  rec.Spare1 = 0;
  rec.Locked = 0;
}

}  // namespace ms
