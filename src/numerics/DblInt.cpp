#include "numerics/DblInt.h"

#include <cmath>

#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"
#include "mathematics/Math.h"
#include "platform/ui/UiServices.h"

namespace ms {

rt::Text IntegConstId;

namespace {

// Limit and integrand values that cannot be evaluated count as 0.
double EvalLimitFunc(const rt::Text& name, double u) {
  double v = 0;
  return EvalFunctionCall(u"f1", name, &u, 1, v) == 0 ? v : 0.0;
}

double EvalFxyCall(const rt::Text& name, double x, double y) {
  const double args[2] = {x, y};
  double v = 0;
  return EvalFunctionCall(u"f1", name, args, 2, v) == 0 ? v : 0.0;
}

// Half an even panel count as a loop bound; counts beyond any feasible run are held at a bound
// that keeps the conversion defined (the user stops such a run with Esc).
long HalfCount(double panels) {
  const double half = panels / 2;
  return half > 1e15 ? static_cast<long>(1e15) : static_cast<long>(half);
}

// A node value at the guarded division's infinity (or beyond, or not a number) is a pole of the
// integrand or of a limit function on the region: the rule stops at the first one.
struct PoleWatch {
  bool hit = false;
  double operator()(double v) {
    if (!(std::fabs(v) < kGuardInfinity)) hit = true;
    return v;
  }
};

// Composite Simpson rule over [lo, hi] with an even panel count, sampling g in the order: even
// interior nodes, odd nodes, then the two ends. Every node polls for Esc (PollAbort), so that a run
// of any length stops within a fraction of a second; an aborted rule, or one whose nodes met a
// pole, returns 0.
template <typename G>
double Simpson(double lo, double hi, double panels, const PoleWatch& pole, G g) {
  const double k = (hi - lo) / panels;
  const long half = HalfCount(panels);
  double even = 0, odd = 0;
  for (long j = 1; j <= half - 1; ++j) {
    if (PollAbort() || pole.hit) return 0;
    even += g(lo + 2.0 * j * k);
  }
  for (long j = 1; j <= half; ++j) {
    if (PollAbort() || pole.hit) return 0;
    odd += g(lo + (2.0 * j - 1) * k);
  }
  const double g0 = g(lo);
  const double gn = g(hi);
  if (pole.hit) return 0;
  return (2 * even + g0 + 4 * odd + gn) * k / 3;
}

// The outer rule over [a, b] of the inner rule between the limit functions C and D of the outer
// variable u; the inner variable v is y (F(u, v)) or x (F(v, u)).
double NestedSimpson(const rt::Text& f, const rt::Text& c, const rt::Text& d, double a, double b,
                     double outerPanels, double innerPanels, bool yInner, bool& pole) {
  PoleWatch watch;
  const double result = Simpson(a, b, outerPanels, watch, [&](double u) {
    const double lo = watch(EvalLimitFunc(c, u));
    const double hi = watch(EvalLimitFunc(d, u));
    return Simpson(lo, hi, innerPanels, watch, [&](double v) {
      return watch(yInner ? EvalFxyCall(f, u, v) : EvalFxyCall(f, v, u));
    });
  });
  pole = watch.hit;
  return result;
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
                    double m, double n, bool& pole) {
  return NestedSimpson(f, c, d, a, b, n, m, true, pole);
}

double DblIntXFirst(const rt::Text& f, const rt::Text& c, const rt::Text& d, double a, double b,
                    double m, double n, bool& pole) {
  return NestedSimpson(f, c, d, a, b, m, n, false, pole);
}

int16_t StopAtPole() {
  ui::Ui().MsgBox(
      u"A division by zero encounted given the integral range.\r\nKey Return button to "
      u"return to the worksheet.",
      ui::kOkOnly, u"");
  return kMsgIntegralPole;
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

int16_t ComputeDblInt(int16_t fIndex, int16_t cIndex, int16_t dIndex, double a, double b, double m,
                      double n, const rt::Text& variable, double& result) {
  const rt::Text f = Tables.FuncTable[fIndex].Name;
  const rt::Text c = Tables.FuncTable[cIndex].Name;
  const rt::Text d = Tables.FuncTable[dIndex].Name;
  bool pole = false;
  result = variable == u"y" ? DblIntYFirst(f, c, d, a, b, m, n, pole)
                            : DblIntXFirst(f, c, d, a, b, m, n, pole);
  if (RunFlags.AbortRun) return 0;
  if (pole) return StopAtPole();
  StoreIntegralConstant(result);
  return 0;
}

int16_t ParseDblIntArgs(const rt::Text& statement, DblIntArgs& args) {
  args = DblIntArgs{};
  rt::Text s;
  SplitIntegralConstant(statement, args.constId, s);
  const rt::Text keyword = rt::Left(s, 6);
  if (keyword != u"dblInt" && keyword != u"dblint") return 6000;
  StatementReader r(s, 7);
  int16_t msgNo = r.Expect(u'[', 6005);
  rt::Text ids[3];
  for (rt::Text& id : ids) {
    if (msgNo == 0) msgNo = r.ReadFunctionId(id, 6010);
    if (msgNo == 0) msgNo = r.Expect(u',', 6020);
  }
  if (msgNo == 0) msgNo = r.Expect(u'{', 6030);
  double n = 0, m = 0;
  if (msgNo == 0) msgNo = r.ReadRangeValues({&args.a, &args.b, &n, &m}, u',');
  if (msgNo != 0) return msgNo;
  const char16_t var = r.Peek();
  if (var != u'x' && var != u'y') return 6052;
  if (r.Peek(1) != u'}' || r.Peek(2) != u']') return 6080;
  args.variable = rt::Text(1, var);

  rt::Text parm;
  int16_t lookup = 0;
  lookup = FindFunction(ids[0], parm, args.fRecord);
  if (lookup != 0 || parm.empty()) return 6050;
  if (Tables.FuncTable[args.fRecord].Parm2.empty()) return 6060;
  lookup = FindFunction(ids[1], parm, args.cRecord);
  if (lookup != 0) return 6050;
  if (!Tables.FuncTable[args.cRecord].Parm2.empty()) return 6060;
  lookup = FindFunction(ids[2], parm, args.dRecord);
  if (lookup != 0 || !Tables.FuncTable[args.dRecord].Parm2.empty()) return 6060;
  if (args.a == args.b) return 6090;
  args.m = EvenPanelCount(m);
  args.n = EvenPanelCount(n);
  if (args.m <= 0 || args.n <= 0) return 6092;
  return 0;
}

int16_t ProcessDblInt(const rt::Text& statement) {
  RunFlags.AbortRun = 0;
  RestartAbortPoll();
  DblIntArgs args;
  const int16_t msgNo = ParseDblIntArgs(statement, args);
  IntegConstId = args.constId;
  if (msgNo != 0) return msgNo;
  double result = 0;
  return ComputeDblInt(args.fRecord, args.cRecord, args.dRecord, args.a, args.b, args.m, args.n,
                       args.variable, result);
}

}  // namespace ms
