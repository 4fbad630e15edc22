#include "numerics/Bvp.h"

#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "numerics/BvpTrials.h"
#include "numerics/Ivp.h"
#include "numerics/LinearShooting.h"
#include "numerics/Rkf45.h"
#include "numerics/SecantShooting.h"
#include "numerics/SolutionStore.h"
#include "plotting/SceneStore.h"

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

using rt::IsLower;
using rt::IsUpper;

// A function identifier at p (one upper-case letter, optionally one lower-case one) in its
// two-character form; p is left after it.
bool ReadFunctionId(const rt::Text& s, int& p, rt::Text& id) {
  if (!IsUpper(rt::CharAt(s, p))) return false;
  id.assign(1, rt::CharAt(s, p));
  if (IsLower(rt::CharAt(s, p + 1))) {
    id += rt::CharAt(s, p + 1);
    p += 2;
  } else {
    id += u'_';
    p += 1;
  }
  return true;
}

// The function must take three parameters (t, x, y).
void CheckFunction(const rt::Text& id, int16_t& msgNo) {
  rt::Text firstParm;
  int16_t index = 0;
  FindFunction(id, firstParm, index, msgNo);
  if (msgNo != 0) return;
  if (index < 1 || index > Tables.FuncCount) {
    msgNo = kMsgParameters;
    return;
  }
  const FuncRec& f = Tables.FuncTable[static_cast<size_t>(index)];
  if (f.Parm1.empty() || f.Parm2.empty() || f.Parm3.empty()) msgNo = kMsgParameters;
}

// Of the two delimiters, the one that occurs first from p on; `fallback` when neither does.
char16_t FirstOf(const rt::Text& s, int p, char16_t a, char16_t b, char16_t fallback) {
  for (int q = p; q <= static_cast<int>(s.size()); ++q) {
    const char16_t c = rt::CharAt(s, q);
    if (c == a || c == b) return c;
  }
  return fallback;
}

// One value read by the range-value reader; p is left after its delimiter.
bool ReadValue(const rt::Text& s, int& p, double& value, char16_t delimiter, int16_t& msgNo) {
  if (p > INT16_MAX) {
    msgNo = kMsgFormat;
    return false;
  }
  int16_t pos = static_cast<int16_t>(p);
  ParseRangeValueDiffEq(s, pos, value, rt::Text(1, delimiter), msgNo);
  p = pos;
  return msgNo == 0;
}

// The list form {s1;s2;...;sk}: the first slope has been read into a1 and its ";" passed. Up to
// ten slopes are kept (an eleventh takes the tenth's place and ends the list).
void ReadSlopeList(const rt::Text& s, int& p, double& a1, int16_t& msgNo) {
  auto& slopes = Bvp.BVPTrialSlopes;
  Bvp.BVPListGiven = -1;
  int count = 1;
  slopes[1] = a1;
  for (;;) {
    const char16_t delimiter = FirstOf(s, p, u';', u'}', u'\0');
    if (delimiter == u'\0') {
      msgNo = kMsgSlopesEnd;
      return;
    }
    if (!ReadValue(s, p, a1, delimiter, msgNo)) return;
    const bool eleventh = count == kMaxTrialSlopes;
    if (count < kMaxTrialSlopes) ++count;
    slopes[static_cast<size_t>(count)] = a1;
    if (delimiter == u'}' || eleventh) {
      slopes[0] = count;
      return;
    }
  }
}

}  // namespace

void ResetBvpState() {
  Bvp = BvpStateData{};
  ResetLinearShooting();
  ResetBvpTrials();
}

void ProcessBVP(rt::Text& statement, int16_t& msgNo) {
  msgNo = 0;
  const rt::Text& s = statement;
  Solutions.IVPOrder1 = -1;
  Bvp.Frame5Shown = -1;
  Bvp.Frame5Caption = u"BVP: {ta,X(ta)} --> {tb,X(tb)}";
  View.ZAxisNeeded = 0;

  const rt::Text keyword = s.substr(0, 3);
  if (keyword != u"BVP" && keyword != u"bvp") {
    msgNo = kMsgSpelling;
    return;
  }
  if (static_cast<int>(s.size()) < kMinLength) {
    msgNo = kMsgFormat;
    return;
  }
  if (rt::CharAt(s, 4) != u'[') {
    msgNo = kMsgBracket;
    return;
  }
  int p = 5;
  rt::Text F, G;
  if (!ReadFunctionId(s, p, F)) {
    msgNo = kMsgFunctionId;
    return;
  }
  if (rt::CharAt(s, p) != u',') {
    msgNo = kMsgCommaAfterId;
    return;
  }
  ++p;
  if (!ReadFunctionId(s, p, G)) {
    msgNo = kMsgFunctionId;
    return;
  }
  if (rt::CharAt(s, p) != u',') {
    msgNo = kMsgCommaBeforeBrace;
    return;
  }
  CheckFunction(F, msgNo);
  if (msgNo != 0) return;
  CheckFunction(G, msgNo);
  if (msgNo != 0) return;
  ++p;
  if (rt::CharAt(s, p) != u'{') {
    msgNo = kMsgOpenBrace;
    return;
  }
  ++p;
  double t0 = 0, x0 = 0, tb = 0, xb = 0;
  if (!ReadValue(s, p, t0, u',', msgNo) || !ReadValue(s, p, x0, u',', msgNo) ||
      !ReadValue(s, p, tb, u',', msgNo))
    return;
  const char16_t afterXb = FirstOf(s, p, u',', u'}', u'}');
  if (!ReadValue(s, p, xb, afterXb, msgNo)) return;

  if (afterXb == u',') {
    // Linear form: {t0,x0,tb,xb,n}].
    double n = 0;
    if (!ReadValue(s, p, n, u'}', msgNo)) return;
    if (rt::CharAt(s, p) != u']') {
      msgNo = kMsgLinearClose;
      return;
    }
    if (tb <= t0) {
      msgNo = kMsgLinearBounds;
      return;
    }
    if (!(n >= 1)) {
      msgNo = kMsgSteps;
      return;
    }
    SolveBVPLinear(F, G, t0, x0, tb, xb, n, msgNo);
    if (!RunFlags.AbortRun) {
      OdeResults.BVPSolved = 0;
      Bvp.BVPTrialSlopes[0] = 0;
    }
    return;
  }

  // Shooting forms: {t0,x0,tb,xb}{a1,a2}{factor,tol,mode}] or {...}{s1;s2;...}{...}].
  if (rt::CharAt(s, p) != u'{') {
    msgNo = kMsgSlopesBrace;
    return;
  }
  ++p;
  Bvp.BVPListGiven = 0;
  double a1 = 0, a2 = 0;
  const char16_t afterFirst = FirstOf(s, p, u',', u';', u',');
  if (!ReadValue(s, p, a1, afterFirst, msgNo)) return;
  if (afterFirst == u',') {
    if (!ReadValue(s, p, a2, u'}', msgNo)) return;
  } else {
    ReadSlopeList(s, p, a1, msgNo);
    if (msgNo != 0) return;
    a2 = 0;
  }
  if (rt::CharAt(s, p) != u'{') {
    msgNo = kMsgSettingsBrace;
    return;
  }
  ++p;
  double factor = 0, tol = 0, mode = 0;
  if (!ReadValue(s, p, factor, u',', msgNo) || !ReadValue(s, p, tol, u',', msgNo) ||
      !ReadValue(s, p, mode, u'}', msgNo))
    return;
  if (rt::CharAt(s, p) != u']') {
    msgNo = kMsgClose;
    return;
  }
  if (tol < kMinTolerance) {
    msgNo = kMsgTolerance;
    return;
  }
  if (factor < 0) {
    msgNo = kMsgFactor;
    return;
  }
  if (tb <= t0) {
    msgNo = kMsgBounds;
    return;
  }
  Bvp.BVPRootsMode = mode < 0 ? -1 : 0;
  if (mode < 0) mode = -mode;
  if (mode == 0) {
    ShootBVP(F, G, t0, x0, tb, xb, a1, a2, factor, tol, msgNo);
  } else {
    PlotBVPFamily(F, G, t0, x0, tb, xb, a1, a2, mode, msgNo);
  }
}

}  // namespace ms
