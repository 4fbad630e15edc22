#include "numerics/DblInt.h"

#include <cmath>

#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/WorksheetTables.h"
#include "numerics/FunctionValue.h"
#include "platform/ui/UiServices.h"

namespace ms {

rt::Text IntegConstId;

namespace {

using rt::IsUpper;

// Limit and integrand values that cannot be evaluated count as 0.
double EvalLimitFunc(const rt::Text& name, double u) {
  double v = 0;
  int16_t msgNo = 0;
  EvalFunctionCall(u"f1", name, &u, 1, v, msgNo);
  return msgNo == 0 ? v : 0.0;
}

double EvalFxyCall(const rt::Text& name, double x, double y) {
  const double args[2] = {x, y};
  double v = 0;
  int16_t msgNo = 0;
  EvalFunctionCall(u"f1", name, args, 2, v, msgNo);
  return msgNo == 0 ? v : 0.0;
}

// Half an even panel count as a loop bound; counts beyond any feasible run are held at a bound
// that keeps the conversion defined (the user stops such a run with Esc).
long HalfCount(double panels) {
  const double half = panels / 2;
  return half > 1e15 ? static_cast<long>(1e15) : static_cast<long>(half);
}

// Composite Simpson rule over [lo, hi] with an even panel count, sampling g in the order: even
// interior nodes, odd nodes, then the two ends. Every node polls for Esc (PollAbort), so that a run
// of any length stops within a fraction of a second; an aborted rule returns 0.
template <typename G>
double Simpson(double lo, double hi, double panels, G g) {
  const double k = (hi - lo) / panels;
  const long half = HalfCount(panels);
  double even = 0, odd = 0;
  for (long j = 1; j <= half - 1; ++j) {
    if (PollAbort()) return 0;
    even += g(lo + 2.0 * j * k);
  }
  for (long j = 1; j <= half; ++j) {
    if (PollAbort()) return 0;
    odd += g(lo + (2.0 * j - 1) * k);
  }
  const double g0 = g(lo);
  const double gn = g(hi);
  return (2 * even + g0 + 4 * odd + gn) * k / 3;
}

}  // namespace

double EvenPanelCount(double count) {
  double whole = rt::Int(count + 0.1);
  if (std::fmod(whole, 2.0) != 0) whole += 1;
  return whole;
}

void SplitIntegralConstant(const rt::Text& statement, rt::Text& constId, rt::Text& rest) {
  if (rt::CharAt(statement, 2) == u'=') {
    constId = rt::Left(statement, 1);
    rest = rt::Mid(statement, 3);
  } else {
    constId = rt::Left(statement, 2);
    rest = rt::Mid(statement, 4);
  }
}

double DblIntYFirst(const rt::Text& f, const rt::Text& c, const rt::Text& d, double a, double b,
                    double m, double n) {
  return Simpson(a, b, n, [&](double x) {
    const double lo = EvalLimitFunc(c, x);
    const double hi = EvalLimitFunc(d, x);
    return Simpson(lo, hi, m, [&](double y) { return EvalFxyCall(f, x, y); });
  });
}

double DblIntXFirst(const rt::Text& f, const rt::Text& c, const rt::Text& d, double a, double b,
                    double m, double n) {
  return Simpson(a, b, m, [&](double y) {
    const double lo = EvalLimitFunc(c, y);
    const double hi = EvalLimitFunc(d, y);
    return Simpson(lo, hi, n, [&](double x) { return EvalFxyCall(f, x, y); });
  });
}

void StoreIntegralConstant(double value) {
  rt::Text padded = IntegConstId;
  if (padded.size() == 1) padded += u'_';
  for (int k = 1; k <= Tables.ConstCount && k <= kMaxConstants; ++k) {
    ConstRec& rec = Tables.ConstTable[k];
    if (rec.Name == IntegConstId || rec.Name == padded) {
      rec.Name = padded;
      rec.Expr.clear();  // listed empty, as a root of Zero[ is
      rec.ValueText = rt::Str(value);
      rec.Spare1 = 0;
      rec.Locked = 0;
      rec.NotComputed = false;
      return;
    }
  }
}

void ComputeDblInt(int16_t fIndex, int16_t cIndex, int16_t dIndex, double a, double b, double m,
                   double n, const rt::Text& variable, double& result) {
  const rt::Text f = Tables.FuncTable[fIndex].Name;
  const rt::Text c = Tables.FuncTable[cIndex].Name;
  const rt::Text d = Tables.FuncTable[dIndex].Name;
  result = variable == u"y" ? DblIntYFirst(f, c, d, a, b, m, n) : DblIntXFirst(f, c, d, a, b, m, n);
  if (!RunFlags.AbortRun) StoreIntegralConstant(result);
}

void ProcessDblInt(rt::Text& statement, int16_t& /*slot*/, int16_t& msgNo) {
  msgNo = 0;
  RunFlags.AbortRun = 0;
  RestartAbortPoll();
  rt::Text s;
  SplitIntegralConstant(statement, IntegConstId, s);
  const rt::Text keyword = rt::Left(s, 6);
  if (keyword != u"dblInt" && keyword != u"dblint") {
    msgNo = 6000;
    return;
  }
  if (rt::CharAt(s, 7) != u'[') {
    msgNo = 6005;
    return;
  }
  int p = 8;
  rt::Text ids[3];
  for (rt::Text& id : ids) {
    if (!IsUpper(rt::CharAt(s, p))) {
      msgNo = 6010;
      return;
    }
    id = ReadFunctionId(s, p);
    if (rt::CharAt(s, p) != u',') {
      msgNo = 6020;
      return;
    }
    ++p;
  }
  if (rt::CharAt(s, p) != u'{') {
    msgNo = 6030;
    return;
  }
  ++p;
  double values[4] = {0, 0, 0, 0};  // a, b, n, m
  for (double& v : values) {
    int16_t pos = static_cast<int16_t>(p);
    ParseRangeValue(s, pos, v, u",", msgNo);
    if (msgNo != 0) return;
    p = pos;
  }
  const char16_t var = rt::CharAt(s, p);
  if (var != u'x' && var != u'y') {
    msgNo = 6052;
    return;
  }
  if (rt::CharAt(s, p + 1) != u'}' || rt::CharAt(s, p + 2) != u']') {
    msgNo = 6080;
    return;
  }

  int16_t fIndex = 0, cIndex = 0, dIndex = 0;
  rt::Text parm;
  int16_t lookup = 0;
  FindFunction(ids[0], parm, fIndex, lookup);
  if (lookup != 0 || parm.empty()) {
    msgNo = 6050;
    return;
  }
  if (Tables.FuncTable[fIndex].Parm2.empty()) {
    msgNo = 6060;
    return;
  }
  FindFunction(ids[1], parm, cIndex, lookup);
  if (lookup != 0) {
    msgNo = 6050;
    return;
  }
  if (!Tables.FuncTable[cIndex].Parm2.empty()) {
    msgNo = 6060;
    return;
  }
  FindFunction(ids[2], parm, dIndex, lookup);
  if (lookup != 0 || !Tables.FuncTable[dIndex].Parm2.empty()) {
    msgNo = 6060;
    return;
  }
  const double a = values[0], b = values[1];
  if (a == b) {
    msgNo = 6090;
    return;
  }
  const double m = EvenPanelCount(values[3]);
  const double n = EvenPanelCount(values[2]);
  if (m <= 0 || n <= 0) {
    msgNo = 6092;
    return;
  }
  double result = 0;
  ComputeDblInt(fIndex, cIndex, dIndex, a, b, m, n, rt::Text(1, var), result);
}

}  // namespace ms
