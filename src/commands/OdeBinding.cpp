#include "commands/OdeBinding.h"

#include <array>

#include "language/CommandRequests.h"
#include "mathematics/FunctionValue.h"
#include "numerics/Rkf45.h"
#include "platform/ui/UiServices.h"

namespace ms {

namespace {

RhsEvaluator CurrentEvaluator = &EvalFunctionCall;
constexpr std::array<const char16_t*, 3> kResultNames = {u"f1", u"f2", u"f3"};

}  // namespace

RhsEvaluator& RhsEvaluatorEntry() {
  return CurrentEvaluator;
}

void ResetRhsEvaluator() {
  CurrentEvaluator = &EvalFunctionCall;
}

OdeRhs BindWorksheetRhs(const rt::Text* ids, int n) {
  if (n < 1 || n > kMaxEquations) n = 0;
  // Each function is looked up once for the solve; a test's evaluator gets every value by name.
  std::array<FunctionCall, kMaxEquations> calls;
  for (int j = 0; j < n; ++j) {
    const char16_t* resultName = n == kMaxEquations ? u"f1" : kResultNames[static_cast<size_t>(j)];
    calls[static_cast<size_t>(j)] = FunctionCall(resultName, ids[j], n + 1);
  }
  return [calls, n](double t, const double y[], double dydt[]) mutable -> int16_t {
    std::array<double, kMaxEquations + 1> args{};
    args[0] = t;
    for (int j = 0; j < n; ++j) args[static_cast<size_t>(j + 1)] = y[j];
    const bool direct = CurrentEvaluator == &EvalFunctionCall;
    for (int j = 0; j < n; ++j) {
      FunctionCall& call = calls[static_cast<size_t>(j)];
      double v = 0;
      const int16_t msgNo =
          direct ? call(args.data(), v)
                 : CurrentEvaluator(call.ResultName(), call.Name(), args.data(), n + 1, v);
      if (msgNo != 0) return kMsgRhsFailed;
      dydt[j] = v;
    }
    return 0;
  };
}

ProgressSink WorksheetProgress(bool heedEsc) {
  ProgressSink sink;
  sink.letEventsRun = [] { ui::Ui().DoEvents(); };
  if (heedEsc) sink.aborted = [] { return RunFlags.AbortRun != 0; };
  return sink;
}

}  // namespace ms
