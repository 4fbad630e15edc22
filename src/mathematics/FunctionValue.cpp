#include "mathematics/FunctionValue.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <utility>
#include <vector>

#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Constants.h"
#include "mathematics/Evaluator.h"

namespace ms {

uint32_t BindingGeneration = 0;

namespace {

constexpr int kMaxArguments = 5;
// A value that could not be obtained (as the text path reports a result constant that is missing).
constexpr int16_t kMsgNoValue = 288;
constexpr char16_t kInvToken = TokenChar(Builtin::Inv);

// A function bound for the scope: its code with the argument letters, or the message every value
// gets, or neither (the text path serves it).
struct Binding {
  rt::Text name;
  int16_t record = 0;  // above 0: the record at this place, taken by EvalRecordAt
  int count = 0;
  int16_t funcCount = 0;
  int16_t constCount = 0;
  bool bound = false;
  // The table holds Inv[ elsewhere: every value first evaluates the records as the text path does
  // (see Bind).
  bool evaluatesRecords = false;
  int16_t msgNo = 0;
  BoundCode code;
};

// Function names are one or two characters below U+0080: each such name has a slot of its own in
// NameIndex, each record one in RecordIndex, holding the place of its binding plus one (0: none
// yet). A value finds its binding by one look-up, never by comparing names.
constexpr size_t kNameSlots = 128 * 128;

bool NameSlot(const rt::Text& name, size_t& slot) {
  if (name.empty() || name.size() > 2 || name[0] >= 128 || (name.size() == 2 && name[1] >= 128)) {
    return false;
  }
  slot = static_cast<size_t>(name[0]) * 128 + (name.size() == 2 ? name[1] : 0);
  return true;
}

struct BindingState {
  bool enabled = true;
  int depth = 0;
  std::vector<Binding> bindings;
  std::vector<int16_t> nameIndex = std::vector<int16_t>(kNameSlots, 0);
  std::array<int16_t, kMaxFunctions + 1> recordIndex{};

  void Clear() {
    for (const Binding& b : bindings) {
      size_t slot = 0;
      if (b.record > 0) {
        recordIndex[static_cast<size_t>(b.record)] = 0;
      } else if (NameSlot(b.name, slot)) {
        nameIndex[slot] = 0;
      }
    }
    bindings.clear();
    ++BindingGeneration;
  }
} State;

// Letters that no function text uses (nor "e", which the compiler may read as an exponent mark),
// one per argument; false when there are not enough.
bool FreeLetters(int count, rt::Text& letters) {
  std::array<bool, 26> used{};
  used[static_cast<size_t>(u'e' - u'a')] = true;
  const int funcs = std::clamp<int>(Tables.FuncCount, 0, kMaxFunctions);
  for (int k = 1; k <= funcs; ++k) {
    const FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    for (const rt::Text* t : {&f.Expr, &f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5}) {
      for (char16_t c : *t) {
        if (rt::IsLower(c)) used[static_cast<size_t>(c - u'a')] = true;
      }
    }
  }
  letters.clear();
  for (int i = 25; i >= 0 && static_cast<int>(letters.size()) < count; --i) {
    if (!used[static_cast<size_t>(i)]) letters += static_cast<char16_t>(u'a' + i);
  }
  return static_cast<int>(letters.size()) == count;
}

// A value request lists nothing: the compile and evaluation trace it would leave in the results
// list (expanded calls, "F : Undefined Constant or Parameter" for every function that has
// parameters) is taken out again, so a long command does not fill the list with it.
class TraceGuard {
 public:
  TraceGuard() : lines_(ResultsList.Lines.size()) {}
  ~TraceGuard() {
    if (ResultsList.Lines.size() > lines_) ResultsList.Lines.resize(lines_);
  }
  TraceGuard(const TraceGuard&) = delete;
  TraceGuard& operator=(const TraceGuard&) = delete;

 private:
  size_t lines_;
};

bool UsesInverter() {
  const int funcs = std::clamp<int>(Tables.FuncCount, 0, kMaxFunctions);
  for (int k = 1; k <= funcs; ++k) {
    if (Tables.FuncTable[static_cast<size_t>(k)].Code.find(kInvToken) != rt::Text::npos) {
      return true;
    }
  }
  return false;
}

// Compiles name{letters} as the text path compiles name{numbers}. Inv[ keeps a memory that the
// text path's evaluation of every record changes on every value: a function whose own code holds
// Inv[ stays on the text path. One without it is bound even when other records hold Inv[; each of
// its values then evaluates the compiled records in table order first, as the text path does after
// compiling the table again, so that the memory and the records' values move on alike. Only the
// compile is saved, which is what makes the text path slow (a table holding a high derivative
// expands it on every value).
void Bind(Binding& b) {
  b.funcCount = Tables.FuncCount;
  b.constCount = Tables.ConstCount;
  rt::Text letters;
  if (b.count < 1 || b.count > kMaxArguments || !FreeLetters(b.count, letters)) return;
  rt::Text call = b.name + u"{";
  for (int i = 0; i < b.count; ++i) {
    if (i > 0) call += u',';
    call += letters[static_cast<size_t>(i)];
  }
  call += u"}";
  rt::Text code;
  int16_t msgNo = 0;
  // The compile below evaluates every record once, a run the text path does not make. With Inv[
  // in the table that run would move its memory and the records' values: both are put back.
  const bool inverter = UsesInverter();
  const int16_t memory = MathVars.InvMemory;
  std::vector<double> values;
  const int funcs = std::clamp<int>(Tables.FuncCount, 0, kMaxFunctions);
  if (inverter) {
    for (int k = 1; k <= funcs; ++k)
      values.push_back(Tables.FuncTable[static_cast<size_t>(k)].Value);
  }
  {
    const TraceGuard trace;
    if (b.record > 0) {
      // The record's body inlined with the letters, as EvalRecordAtByText inlines the numbers.
      rt::Text inlined;
      int16_t position = 1;
      msgNo = ExpandFunctionCalls(call, b.record, position, inlined);
      if (msgNo == 0) msgNo = CompileExpressionCode(inlined, code);
    } else {
      msgNo = CompileExpressionCode(u"(" + call + u")", code);
    }
  }
  if (inverter) {
    MathVars.InvMemory = memory;
    for (int k = 1; k <= funcs; ++k)
      Tables.FuncTable[static_cast<size_t>(k)].Value = values[static_cast<size_t>(k - 1)];
  }
  if (msgNo != 0) {
    b.msgNo = msgNo;
    return;
  }
  if (code.find(kInvToken) != rt::Text::npos) return;
  b.evaluatesRecords = inverter;
  b.bound = BindCode(code, letters, b.code);
}

// The binding of name (record 0) or of a record, found by search, made or made again; its place
// is written to index (when there is one).
[[gnu::noinline]] Binding* FindOrBind(const rt::Text& name, int16_t record, int count,
                                      int16_t* index) {
  Binding* b = nullptr;
  for (Binding& other : State.bindings) {
    if (other.name == name && other.record == record && other.count == count) b = &other;
  }
  if (b == nullptr) {
    b = &State.bindings.emplace_back();
    b->funcCount = -1;  // bound below
  }
  if (index != nullptr && State.bindings.size() <= static_cast<size_t>(INT16_MAX)) {
    *index = static_cast<int16_t>(b - State.bindings.data() + 1);
  }
  if (b->funcCount != Tables.FuncCount || b->constCount != Tables.ConstCount) {
    ++BindingGeneration;  // a binding moved or changed
    *b = Binding{};
    b->name = name;
    b->record = record;
    b->count = count;
    Bind(*b);
  }
  return b;
}

// The binding for a value: one look-up in the index while the tables are as it was made with.
inline Binding* BindingFor(const rt::Text& name, int16_t record, int count) {
  if (State.depth == 0 || !State.enabled) return nullptr;
  int16_t* index = nullptr;
  size_t slot = 0;
  if (record > 0) {
    index = &State.recordIndex[static_cast<size_t>(record)];
  } else if (NameSlot(name, slot)) {
    index = &State.nameIndex[slot];
  }
  if (index != nullptr && *index > 0) [[likely]] {
    Binding* b = &State.bindings[static_cast<size_t>(*index - 1)];
    if (b->count == count && b->funcCount == Tables.FuncCount && b->constCount == Tables.ConstCount)
        [[likely]] {
      return b;
    }
  }
  return FindOrBind(name, record, count, index);
}

// Runs a binding on the arguments at full precision, its message in msgNo; false when only the
// text path knows the value (no binding, or an argument that is no number).
bool RunBinding(const Binding* b, const double* args, int count, double& value, int16_t& msgNo) {
  if (b == nullptr || !(b->bound || b->msgNo != 0)) return false;
  if (AnyNoNumber(args, count)) return false;
  if (b->msgNo != 0) {
    msgNo = b->msgNo;
    return true;
  }
  if (b->evaluatesRecords) {
    const TraceGuard trace;
    // The text path's compile leaves the stack pointer at 1 (the compiler's start for every
    // record) before its evaluation.
    MathVars.ValueSP = 1;
    const int16_t recordsMsg = EvaluateFunctions();
    if (recordsMsg > 0) {
      msgNo = recordsMsg;
      return true;
    }
  }
  double v = 0;
  msgNo = RunBound(b->code, args, v);
  if (msgNo == 0) value = WorksheetValue(v);
  return true;
}

// An argument as a literal of an evaluation text: 17 significant digits, which read back as the
// same double (a value typed with 16 or 17 digits reaches the function as typed), in the plain
// form of NumText ("-0.5", "1.0000000000000001E-05"); NumText's "Inf", "NaN" and "0" otherwise.
rt::Text ArgumentText(double a) {
  if (!std::isfinite(a) || a == 0) return rt::NumText(a);
  std::array<char, 32> buf{};
  const auto end =
      std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::general, 17).ptr;
  rt::Text text;
  for (const char* p = buf.data(); p < end; ++p)
    text += static_cast<char16_t>(*p == 'e' ? 'E' : *p);
  return text;
}

}  // namespace

FunctionBindingScope::FunctionBindingScope() {
  if (State.depth++ == 0) State.Clear();
}

FunctionBindingScope::~FunctionBindingScope() {
  if (--State.depth == 0) State.Clear();
}

void SetFunctionBindingsEnabled(bool enabled) {
  State.enabled = enabled;
  State.Clear();
}

bool FunctionBindingsEnabled() {
  return State.enabled;
}

rt::Text StripValueParens(const rt::Text& valueText) {
  if (valueText.size() >= 2 && valueText.front() == u'(' && valueText.back() == u')')
    return valueText.substr(1, valueText.size() - 2);
  return valueText;
}

namespace {

// EvalFunctionCall once the binding of name (nullptr: none) is found.
int16_t EvalWithBinding(const Binding* b, const rt::Text& resultName, const rt::Text& name,
                        const double* args, int count, double& value) {
  // The text path appends a result constant: a full table refuses before anything is run.
  if (b != nullptr && Tables.ConstCount >= kMaxConstants) return kMsgConstantsFull;
  int16_t msgNo = 0;
  if (RunBinding(b, args, count, value, msgNo)) return msgNo;
  return EvalFunctionCallByText(resultName, name, args, count, value);
}

}  // namespace

int16_t EvalFunctionCall(const rt::Text& resultName, const rt::Text& name, const double* args,
                         int count, double& value) {
  return EvalWithBinding(BindingFor(name, 0, count), resultName, name, args, count, value);
}

FunctionCall::FunctionCall(rt::Text resultName, rt::Text name, int count)
    : resultName_(std::move(resultName)), name_(std::move(name)), count_(count) {}

int16_t FunctionCall::Resolve(const double* args, double& value) {
  const Binding* b = BindingFor(name_, 0, count_);
  // Kept only while its values are those of the code alone: RunBinding with nothing else to do.
  const bool plain = b != nullptr && b->bound && b->msgNo == 0 && !b->evaluatesRecords;
  code_ = plain ? &b->code : nullptr;
  generation_ = BindingGeneration;
  funcCount_ = plain ? b->funcCount : 0;
  constCount_ = plain ? b->constCount : 0;
  return EvalWithBinding(b, resultName_, name_, args, count_, value);
}

int16_t EvalRecordAt(int16_t record, const double* args, int count, double& value) {
  if (record < 1 || record > Tables.FuncCount || record > kMaxFunctions) return kMsgNoValue;
  int16_t msgNo = 0;
  if (RunBinding(BindingFor(u"Fr", record, count), args, count, value, msgNo)) return msgNo;
  return EvalRecordAtByText(record, args, count, value);
}

int16_t EvalRecordAtByText(int16_t record, const double* args, int count, double& value) {
  if (record < 1 || record > Tables.FuncCount || record > kMaxFunctions) return kMsgNoValue;
  rt::Text call = u"Fr{";
  for (int i = 0; i < count; ++i) {
    if (i > 0) call += u',';
    call += ArgumentText(args[i]);
  }
  call += u"}";
  const TraceGuard trace;
  int16_t position = 1;
  rt::Text inlined;
  int16_t msgNo = ExpandFunctionCalls(call, record, position, inlined);
  if (msgNo != 0) return msgNo;
  rt::Text valueText;
  msgNo = EvaluateText(inlined, valueText);
  if (msgNo == 0) value = rt::Val(valueText);
  return msgNo;
}

int16_t EvalFunctionCallByText(const rt::Text& resultName, const rt::Text& name, const double* args,
                               int count, double& value) {
  rt::Text text = resultName + u"=(" + name + u"{";
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += u',';
    text += ArgumentText(args[i]);
  }
  text += u"})";
  const int16_t constCountBefore = Tables.ConstCount;
  rt::Text result;
  int16_t msgNo = 0;
  {
    const TraceGuard trace;
    msgNo = EvaluateAssignment(text, result);
  }
  if (msgNo != 0) {
    Tables.ConstCount = constCountBefore;
    return msgNo;
  }
  if (Tables.ConstCount <= constCountBefore || Tables.ConstCount < 1) {
    // The evaluation reported success without leaving its constant: treat as a failed value.
    Tables.ConstCount = constCountBefore;
    return kMsgNoValue;
  }
  value = rt::Val(StripValueParens(Tables.ConstTable[Tables.ConstCount].ValueText));
  Tables.ConstCount = constCountBefore;
  return 0;
}

}  // namespace ms
