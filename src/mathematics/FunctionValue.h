// The value of a worksheet function at given arguments. Its definition is an assignment text such
// as "f1=(F_{1.5,2})" compiled and evaluated through EvaluateAssignment, the temporary result
// constant it appends read and removed again: the arguments are written with 17 significant
// digits (they read back as the same doubles), the result comes back through its value text, which
// reads back as the same double.
// Inside a FunctionBindingScope a command gets its values without the text: each
// function is compiled once, as that text would compile it with letters in place of the
// arguments, and run on the arguments as they are, to the last bit (a value typed with 17 digits
// reaches the function as typed); the result is the double itself, 0 for an undefined value and
// the guard value for an infinite one.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"
#include "platform/runtime/Runtime.h"

namespace ms {

// Counts the clears of the bindings and the bindings made, so that a FunctionCall can tell whether
// the code it kept still stands.
extern uint32_t BindingGeneration;

// "Inf" and "NaN" in the text are no numbers: only the text path knows what they give. Both have
// every exponent bit set; the arguments' tests are independent of each other, so they overlap.
inline bool AnyNoNumber(const double* args, int count) {
  constexpr uint64_t kExponent = 0x7ff0000000000000;
  bool noNumber = false;
  for (int i = 0; i < count; ++i)
    noNumber |= (std::bit_cast<uint64_t>(args[i]) & kExponent) == kExponent;
  return noNumber;
}

// The result as a value of the worksheet: 0 for an undefined one, the guard value for an infinite
// one, otherwise the double itself.
inline double WorksheetValue(double v) {
  if (std::isnan(v)) return 0;
  if (std::isinf(v)) return v > 0 ? kGuardInfinity : -kGuardInfinity;
  return v;
}

// Evaluates name{args[0],...,args[count-1]} with the result constant called resultName (two
// characters, e.g. u"f1"). Arguments are written with 17 significant digits. Returns 0 and
// value holds the result, or the evaluator's message with value untouched and both the function
// and constant tables as they were.
[[nodiscard]] int16_t EvalFunctionCall(const rt::Text& resultName, const rt::Text& name,
                                       const double* args, int count, double& value);

// name{args[0],...,args[count-1]} with the result constant resultName, its binding looked up on
// the first value and kept while it stands: every value is the one EvalFunctionCall gives, without
// the look-up. For a command that asks the same functions for many values.
class FunctionCall {
 public:
  FunctionCall() = default;
  FunctionCall(rt::Text resultName, rt::Text name, int count);

  [[nodiscard]] int16_t operator()(const double* args, double& value) {
    // While nothing the binding depends on has changed, its code is run as RunBinding runs it.
    if (code_ != nullptr && generation_ == BindingGeneration && funcCount_ == Tables.FuncCount &&
        constCount_ == Tables.ConstCount && Tables.ConstCount < kMaxConstants &&
        !AnyNoNumber(args, count_)) [[likely]] {
      double v = 0;
      const int16_t msgNo = RunBound(*code_, args, v);
      if (msgNo == 0) value = WorksheetValue(v);
      return msgNo;
    }
    return Resolve(args, value);
  }

  const rt::Text& ResultName() const { return resultName_; }
  const rt::Text& Name() const { return name_; }

 private:
  // Looks the binding up, keeps its code where that alone gives the value, and gives the value.
  [[nodiscard]] int16_t Resolve(const double* args, double& value);

  rt::Text resultName_, name_;
  int count_ = 0;
  // The code of the binding found, while it runs without the text path (nullptr otherwise), and
  // what it was made with.
  const BoundCode* code_ = nullptr;
  uint32_t generation_ = 0;
  int16_t funcCount_ = 0, constCount_ = 0;
};

// The text form of EvalFunctionCall, also inside a scope (for comparisons in tests).
[[nodiscard]] int16_t EvalFunctionCallByText(const rt::Text& resultName, const rt::Text& name,
                                             const double* args, int count, double& value);

// The value of function record `record` taken by its place in the table, never by its name (a
// command's own records may share a name with a user's function): the record's body with the
// arguments for its parameters, each in parentheses, as the compiler inlines a call, evaluated as
// an expression. Arguments pass through their text form, the result keeps its double value (0 for
// an undefined one, the guard value for an infinite one). Returns 0 on success; a record that
// does not exist gives 288. Inside a FunctionBindingScope the record is bound once and takes its
// arguments at full precision.
[[nodiscard]] int16_t EvalRecordAt(int16_t record, const double* args, int count, double& value);
// Its text form, also inside a scope (for comparisons in tests).
[[nodiscard]] int16_t EvalRecordAtByText(int16_t record, const double* args, int count,
                                         double& value);

// While one of these lives, EvalFunctionCall binds each function it is asked for once and reuses
// the binding for every later value, found by the function's name or record in one look-up. A
// command opens one around its run: the function and constant tables do not change while it runs.
// Scopes nest; the outermost one forgets the bindings when it ends. A binding is also dropped when
// the count of functions or constants has changed since it was made.
class FunctionBindingScope {
 public:
  FunctionBindingScope();
  ~FunctionBindingScope();
  FunctionBindingScope(const FunctionBindingScope&) = delete;
  FunctionBindingScope& operator=(const FunctionBindingScope&) = delete;
};

// Bindings are on from the start; off, every value takes the text path (the differential test
// compares the two), and Plot[ curves run their code through Evaluate.
void SetFunctionBindingsEnabled(bool enabled);
bool FunctionBindingsEnabled();

// The value text of a constant without its enclosing parentheses: "(2.5)" gives "2.5"; a text
// without them is returned unchanged.
rt::Text StripValueParens(const rt::Text& valueText);

}  // namespace ms
