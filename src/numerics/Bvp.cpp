#include "numerics/Bvp.h"

#include <algorithm>

#include "language/CommandArguments.h"
#include "language/WorksheetTables.h"
#include "numerics/BvpTrials.h"
#include "numerics/LinearShooting.h"

namespace ms {

BvpStateData Bvp;

namespace {

constexpr int kMinLength = 18;
constexpr double kMinTolerance = 1e-5;

// Messages of the statement's form.
constexpr int16_t kMsgSpelling = 3500;
constexpr int16_t kMsgFormat = 3501;
constexpr int16_t kMsgBracket = 3505;
constexpr int16_t kMsgFunctionId = 3510;
constexpr int16_t kMsgCommaBeforeBrace = 3515;
constexpr int16_t kMsgParameters = 3520;
constexpr int16_t kMsgCommaAfterId = 3530;
constexpr int16_t kMsgOpenBrace = 3535;
constexpr int16_t kMsgLinearClose = 3045;
constexpr int16_t kMsgLinearBounds = 3050;
constexpr int16_t kMsgSlopesBrace = 3552;
constexpr int16_t kMsgSlopesEnd = 3555;
constexpr int16_t kMsgSettingsBrace = 3556;
constexpr int16_t kMsgClose = 3557;
constexpr int16_t kMsgTolerance = 3558;
constexpr int16_t kMsgFactor = 3059;
constexpr int16_t kMsgBounds = 3560;
// The linear form needs at least one step.
constexpr int16_t kMsgSteps = 336;

// The function must take three parameters (t, x, y).
int16_t CheckFunction(const rt::Text& id) {
  rt::Text firstParm;
  int16_t index = 0;
  int16_t msgNo = 0;
  msgNo = FindFunction(id, firstParm, index);
  if (msgNo != 0) return msgNo;
  if (index < 1 || index > Tables.FuncCount) return kMsgParameters;
  const FuncRec& f = Tables.FuncTable[static_cast<size_t>(index)];
  return f.Parm1.empty() || f.Parm2.empty() || f.Parm3.empty() ? kMsgParameters : 0;
}

// Of the two delimiters, the one that occurs first from the reader's position on; fallback when
// neither does.
char16_t NextDelimiter(const StatementReader& r, char16_t a, char16_t b, char16_t fallback) {
  for (long q = r.Pos(); q <= r.Length(); ++q) {
    const char16_t c = rt::CharAt(r.Text(), q);
    if (c == a || c == b) return c;
  }
  return fallback;
}

// The list form {s1;s2;...;sk}: the first slope has been read into a1 and its ";" passed. Up to
// ten slopes are kept (an eleventh takes the tenth's place and ends the list); a1 is left holding
// the last slope read.
int16_t ReadSlopeList(StatementReader& r, BvpArgs& args) {
  double& a1 = args.a1;
  args.listGiven = true;
  int count = 1;
  args.slopes[1] = a1;
  args.slopesWritten = 1;
  for (;;) {
    const char16_t delimiter = NextDelimiter(r, u';', u'}', u'\0');
    if (delimiter == u'\0') return kMsgSlopesEnd;
    const int16_t msgNo = r.ReadRangeValue(a1, delimiter);
    if (msgNo != 0) return msgNo;
    const bool eleventh = count == kMaxTrialSlopes;
    if (count < kMaxTrialSlopes) ++count;
    args.slopes[static_cast<size_t>(count)] = a1;
    args.slopesWritten = std::max(args.slopesWritten, count);
    if (delimiter == u'}' || eleventh) {
      args.slopes[0] = count;
      args.listComplete = true;
      return 0;
    }
  }
}

}  // namespace

void ResetBvpState() {
  Bvp = BvpStateData{};
  ResetLinearShooting();
  ResetBvpTrials();
}

int16_t ParseBvpArgs(const rt::Text& statement, BvpArgs& args) {
  args = BvpArgs{};
  const rt::Text keyword = statement.substr(0, 3);
  if (keyword != u"BVP" && keyword != u"bvp") return kMsgSpelling;
  if (static_cast<int>(statement.size()) < kMinLength) return kMsgFormat;
  StatementReader r(statement, 4);
  int16_t msgNo = r.Expect(u'[', kMsgBracket);
  if (msgNo == 0) msgNo = r.ReadFunctionId(args.F, kMsgFunctionId);
  if (msgNo == 0) msgNo = r.Expect(u',', kMsgCommaAfterId);
  if (msgNo == 0) msgNo = r.ReadFunctionId(args.G, kMsgFunctionId);
  if (msgNo == 0) msgNo = r.Expect(u',', kMsgCommaBeforeBrace);
  if (msgNo == 0) msgNo = CheckFunction(args.F);
  if (msgNo == 0) msgNo = CheckFunction(args.G);
  if (msgNo == 0) msgNo = r.Expect(u'{', kMsgOpenBrace);
  if (msgNo == 0) msgNo = r.ReadRangeValues({&args.t0, &args.x0, &args.tb}, u',');
  if (msgNo != 0) return msgNo;
  const char16_t afterXb = NextDelimiter(r, u',', u'}', u'}');
  msgNo = r.ReadRangeValue(args.xb, afterXb);
  if (msgNo != 0) return msgNo;

  if (afterXb == u',') {
    // Linear form: {t0,x0,tb,xb,n}].
    args.linear = true;
    msgNo = r.ReadRangeValue(args.n, u'}');
    if (msgNo != 0) return msgNo;
    if (!r.At(u']')) return kMsgLinearClose;
    if (args.tb <= args.t0) return kMsgLinearBounds;
    if (!(args.n >= 1)) return kMsgSteps;
    return 0;
  }

  // Shooting forms: {t0,x0,tb,xb}{a1,a2}{factor,tol,mode}] or {...}{s1;s2;...}{...}].
  msgNo = r.Expect(u'{', kMsgSlopesBrace);
  if (msgNo != 0) return msgNo;
  args.listGiven = false;
  const char16_t afterFirst = NextDelimiter(r, u',', u';', u',');
  msgNo = r.ReadRangeValue(args.a1, afterFirst);
  if (msgNo == 0) {
    if (afterFirst == u',') {
      msgNo = r.ReadRangeValue(args.a2, u'}');
    } else {
      msgNo = ReadSlopeList(r, args);
      args.a2 = 0;
    }
  }
  if (msgNo == 0) msgNo = r.Expect(u'{', kMsgSettingsBrace);
  if (msgNo == 0) msgNo = r.ReadRangeValues({&args.factor, &args.tol, &args.mode}, u'}');
  if (msgNo != 0) return msgNo;
  if (!r.At(u']')) return kMsgClose;
  if (args.tol < kMinTolerance) return kMsgTolerance;
  if (args.factor < 0) return kMsgFactor;
  if (args.tb <= args.t0) return kMsgBounds;
  return 0;
}

}  // namespace ms
