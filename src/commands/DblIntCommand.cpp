#include "commands/DblIntCommand.h"

#include <limits>
#include <optional>

#include "commands/CommandProgressSink.h"
#include "commands/IntegCommand.h"
#include "language/CommandArguments.h"
#include "language/CommandRequests.h"
#include "language/RunProgress.h"
#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"
#include "numerics/DblInt.h"

namespace ms {
namespace {

// The message of a limit or integrand value that cannot be evaluated (a negative under Sqrt[,
// ASin[ of 2, Ln[ of 0), handed to the rule as not a number. On the region's edge the rule counts
// such a value as 0 (rounding puts y^2 just past 1 - x^2 there); inside it the integral has no
// real value, and the command gives the message of that value, the last one met, instead of a
// number.
struct EvaluationFailure {
  int16_t msgNo = 0;
  double Take(int16_t m, double v) {
    if (m == 0) return v;
    msgNo = m;
    return std::numeric_limits<double>::quiet_NaN();
  }
};

LineFunction BindLimit(const rt::Text& name, EvaluationFailure& failure) {
  return [name, &failure](double u) {
    double v = 0;
    const int16_t msgNo = EvalFunctionCall(u"f1", name, &u, 1, v);
    return failure.Take(msgNo, v);
  };
}

PlaneFunction BindIntegrand(const rt::Text& name, EvaluationFailure& failure) {
  return [name, &failure](double x, double y) {
    const double args[2] = {x, y};
    double v = 0;
    const int16_t msgNo = EvalFunctionCall(u"f1", name, args, 2, v);
    return failure.Take(msgNo, v);
  };
}

}  // namespace

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
  const bool yInner = args.variable == u"y";
  std::optional<CommandProgress> bar;
  bool pole = false, undefinedInside = false;
  EvaluationFailure failure;
  // y inner: over x in [a, b] (n panels) of y in [C{x}, D{x}] (m panels); x inner the other way.
  const double result =
      NestedSimpson(BindIntegrand(Tables.FuncTable[args.fRecord].Name, failure),
                    BindLimit(Tables.FuncTable[args.cRecord].Name, failure),
                    BindLimit(Tables.FuncTable[args.dRecord].Name, failure), args.a, args.b,
                    yInner ? args.n : args.m, yInner ? args.m : args.n, yInner,
                    CommandProgressSink(bar), pole, &undefinedInside);
  if (RunFlags.AbortRun) return 0;
  if (undefinedInside) return failure.msgNo;
  if (pole) return StopAtPole();
  StoreIntegralConstant(result);
  return 0;
}

}  // namespace ms
