#include "mathematics/Evaluator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "language/RunProgress.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/DecodedCode.h"
#include "mathematics/GuardedFunctions.h"

namespace ms {

MathState MathVars;
ResultsListState ResultsList;

using namespace code;

namespace {

// The operation of a built-in function token, or false when c is none of them.
bool TokenOp(char16_t c, Op& op) {
  struct FunctionOp {
    Builtin token;
    Op op;
  };
  static constexpr FunctionOp kFunctionOps[] = {
      {Builtin::Sin, Op::kSin},   {Builtin::Cos, Op::kCos},   {Builtin::Tan, Op::kTan},
      {Builtin::Sinh, Op::kSinh}, {Builtin::Cosh, Op::kCosh}, {Builtin::Tanh, Op::kTanh},
      {Builtin::Sqrt, Op::kSqrt}, {Builtin::Abs, Op::kAbs},   {Builtin::Log, Op::kLog},
      {Builtin::Ln, Op::kLn},     {Builtin::Exp, Op::kExp},   {Builtin::ASin, Op::kASin},
      {Builtin::ACos, Op::kACos}, {Builtin::ATan, Op::kATan}, {Builtin::Alog, Op::kAlog},
      {Builtin::Unit, Op::kUnit}, {Builtin::Sqw, Op::kSqw},   {Builtin::Sign, Op::kSign},
      {Builtin::Inv, Op::kInv},   {Builtin::Clip, Op::kClip}, {Builtin::Floor, Op::kFloor},
      {Builtin::Ceil, Op::kCeil}, {Builtin::Int, Op::kInt},
  };
  for (const FunctionOp& f : kFunctionOps) {
    if (TokenChar(f.token) == c) {
      op = f.op;
      return true;
    }
  }
  return false;
}

int32_t NameSlot(Program& p, const rt::Text& name) {
  for (size_t s = 0; s < p.names.size(); ++s) {
    if (p.names[s] == name) return static_cast<int32_t>(s);
  }
  p.names.push_back(name);
  return static_cast<int32_t>(p.names.size() - 1);
}

}  // namespace

namespace code {

void Decode(const rt::Text& code, Program& p) {
  const long n = static_cast<long>(code.size());
  int depth = 0;
  int minPop = 0;
  int maxDepth = 0;
  auto pushed = [&] {
    ++depth;
    if (depth > maxDepth) maxDepth = depth;
  };
  auto popUnary = [&] { minPop = std::min(minPop, depth); };
  auto popBinary = [&] {
    minPop = std::min(minPop, depth - 1);
    --depth;
  };
  for (long i = n; i >= 1; --i) {
    const char16_t c = code[static_cast<size_t>(i - 1)];
    BoundOperation in{};
    if (c == u'`') {
      if (i == 1) continue;
      if (i < 6) {
        in.op = static_cast<uint8_t>(Op::kBadName);
        p.ops.push_back(in);
        continue;
      }
      // The five characters before the accent; the digits are then read again as ordinary
      // characters and skipped.
      bool digits = true;
      int32_t k = 0;
      for (long j = i - 5; j <= i - 1; ++j) {
        const char16_t d = code[static_cast<size_t>(j - 1)];
        if (d < u'0' || d > u'9') digits = false;
        k = k * 10 + (d - u'0');
      }
      rt::Text name = u"$" + code.substr(static_cast<size_t>(i - 6), 5) + u"`";
      if (digits) {
        LiteralOperand lit;
        lit.k = k;
        std::memcpy(lit.name, name.data(), sizeof(lit.name));
        in.op = static_cast<uint8_t>(Op::kLiteral);
        in.arg = static_cast<int32_t>(p.literals.size());
        p.literals.push_back(lit);
      } else {
        in.op = static_cast<uint8_t>(Op::kName);
        in.arg = NameSlot(p, name);
      }
      p.ops.push_back(in);
      pushed();
    } else if (rt::IsLower(c)) {
      in.op = static_cast<uint8_t>(Op::kName);
      in.arg = NameSlot(p, rt::Text(1, c));
      p.ops.push_back(in);
      pushed();
    } else if (c == u'+' || c == u'*' || c == u'/' || c == u'^') {
      in.op = static_cast<uint8_t>(c == u'+'   ? Op::kAdd
                                   : c == u'*' ? Op::kMul
                                   : c == u'/' ? Op::kDiv
                                               : Op::kPow);
      p.ops.push_back(in);
      popBinary();
    } else if (c == u'M') {
      in.op = static_cast<uint8_t>(Op::kNeg);
      p.ops.push_back(in);
      popUnary();
      --i;  // the "*" of "M*"
    } else if (Op op; TokenOp(c, op)) {
      in.op = static_cast<uint8_t>(op);
      p.ops.push_back(in);
      popUnary();
    }
  }
  minPop = std::min(minPop, depth);  // the final pop
  p.minPopDepth = minPop;
  p.maxDepth = maxDepth;
  p.resolved.assign(p.names.size(), 0);
}

}  // namespace code

namespace {

// A cache of decoded programs keyed by the code text, with the last few hits kept apart: curve
// generation evaluates the same three codes (x, y, z) in turn at every point.
constexpr size_t kRecentPrograms = 4;

struct RecentProgram {
  const rt::Text* key = nullptr;
  Program* program = nullptr;
};

struct DecodeCache {
  std::unordered_map<rt::Text, std::unique_ptr<Program>> map;
  std::array<RecentProgram, kRecentPrograms> recent{};
  size_t next = 0;  // the recent slot written next

  void Clear() {
    map.clear();
    recent.fill(RecentProgram{});
    next = 0;
  }
};

DecodeCache& Cache() {
  static DecodeCache cache;
  return cache;
}

constexpr size_t kMaxCachedPrograms = 2048;

// Equality of two texts by one memory comparison (the character-wise compare of char16_t
// strings does not vectorise).
bool SameText(const rt::Text& a, const rt::Text& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

Program& ProgramFor(const rt::Text& code) {
  DecodeCache& c = Cache();
  for (const RecentProgram& r : c.recent) {
    if (r.program != nullptr && SameText(*r.key, code)) return *r.program;
  }
  auto it = c.map.find(code);
  if (it == c.map.end()) {
    if (c.map.size() >= kMaxCachedPrograms) c.Clear();
    auto prog = std::make_unique<Program>();
    Decode(code, *prog);
    it = c.map.emplace(code, std::move(prog)).first;
  }
  c.recent[c.next] = {&it->first, it->second.get()};
  c.next = (c.next + 1) % kRecentPrograms;
  return *it->second;
}

}  // namespace

namespace code {

// The rows of the one-character ASCII names of the value list up to ValueTop (the highest row of
// each, 0 for none), read once for a loop of evaluations, which leaves the list as it is.
struct LetterRows {
  int32_t top = 0;
  std::array<int32_t, 128> row{};
  LetterRows() {
    top = std::min(Tables.ValueTop, kMaxValueIndex);
    for (int32_t k = 1; k <= top; ++k) {
      const rt::Text& n = Tables.ValueList[static_cast<size_t>(k)].Name;
      if (n.size() == 1 && n[0] < row.size()) row[n[0]] = k;
    }
  }
};

void ResolveNames(Program& p, const LetterRows* letters) {
  const int32_t top = std::min(Tables.ValueTop, kMaxValueIndex);
  for (size_t s = 0; s < p.names.size(); ++s) {
    const rt::Text& name = p.names[s];
    int32_t found = 0;
    if (name.size() == 1 && letters != nullptr && letters->top == top &&
        name[0] < letters->row.size()) {
      found = letters->row[name[0]];
    } else if (name.size() == 1) {
      const char16_t c = name[0];
      for (int32_t k = top; k >= 1; --k) {
        const rt::Text& n = Tables.ValueList[static_cast<size_t>(k)].Name;
        if (n.size() == 1 && n[0] == c) {
          found = k;
          break;
        }
      }
    } else {
      for (int32_t k = top; k >= 1; --k) {
        if (Tables.ValueList[static_cast<size_t>(k)].Name == name) {
          found = k;
          break;
        }
      }
    }
    p.resolved[s] = found;
  }
}

}  // namespace code

namespace {

// The one-argument built-in functions that cannot stop a run.
inline double Unary(Op op, double a) {
  double r = 0;
  switch (op) {
    case Op::kSin:
      r = std::sin(a);
      break;
    case Op::kCos:
      r = std::cos(a);
      break;
    case Op::kTan:
      r = SafeTan(a);
      break;
    case Op::kSinh:
      r = (SafeExp(a) - SafeExp(-a)) / 2;
      break;
    case Op::kCosh:
      r = (SafeExp(a) + SafeExp(-a)) / 2;
      break;
    case Op::kTanh: {
      const double e = SafeExp(2 * a);
      r = (e - 1) / (e + 1);
      break;
    }
    case Op::kAbs:
      r = a < 0 ? -a : a;
      break;
    case Op::kExp:
      r = SafeExp(a);
      break;
    case Op::kASin:
      r = SafeASin(a);
      break;
    case Op::kACos:
      r = SafeACos(a);
      break;
    case Op::kATan:
      r = SafeATan(a);
      break;
    case Op::kAlog:
      r = Alog10(a);
      break;
    case Op::kUnit:
      r = UnitStep(a);
      break;
    case Op::kSqw:
      r = SquareWave(a);
      break;
    case Op::kSign:
      r = SignOf(a);
      break;
    case Op::kInv:
      r = InverterMemory(a);
      break;
    case Op::kClip:
      r = ClipUnit(a);
      break;
    case Op::kFloor:
      r = FloorInt(a);
      break;
    case Op::kCeil:
      r = CeilInt(a);
      break;
    case Op::kInt:
      r = TruncInt(a);
      break;
    default:
      break;
  }
  return std::isnan(r) ? 0 : r;
}

// Where a run keeps its stack. kBound: bound code on a private stack, every pop and push proved
// safe at binding. kShared: decoded code on MathVars.ValueStack from ValueSP, operands read from
// the value list on every run, the caller having proved from the program's depths that no pop or
// push is refused. kChecked: the same with every pop and push tested (a refused pop yields 0 and
// sets -1 without stopping; a push past the last slot stops with 611).
enum class RunMode { kBound, kShared, kChecked };

// The one evaluation loop. The top of the stack is held in tos; st[d - 1] down to st[0] hold the
// values under it, st[0] being the slot under the run's first push (for the shared stack
// ValueStack[ValueSP] at the start; pops of malformed code may reach below it). The shared modes
// also store every value they place in its slot, so ValueStack is left exactly as a push and pop
// of each value would leave it, slots above the final ValueSP included (code run after ValueSP
// is raised again reads them), and ValueSP where a stop left it (a negative logarithm with a 0
// pushed first).
template <RunMode kMode>
int16_t RunOps(const std::vector<BoundOperation>& ops, const Program* p, const double* args,
               double* st, int base, double& result, int16_t msgBefore) {
  constexpr bool kShared = kMode != RunMode::kBound;
  constexpr bool kChecked = kMode == RunMode::kChecked;
  int d = 0;
  double tos = kShared ? st[0] : 0;
  int16_t msg = kShared ? msgBefore : 0;
  int32_t top = 0;
  if constexpr (kShared) top = std::min(Tables.ValueTop, kMaxValueIndex);

  auto pop = [&]() -> double {
    if constexpr (kChecked) {
      if (base + d < 1) {
        msg = kMsgUndefinedName;
        return 0;
      }
    }
    const double v = tos;
    tos = st[--d];
    return v;
  };
  auto push = [&](double v) -> bool {
    if constexpr (kChecked) {
      if (base + d >= kValueStackTop) {
        msg = kMsgStackOverflow;
        return false;
      }
    }
    st[d++] = tos;
    tos = v;
    if constexpr (kShared) st[d] = tos;
    return true;
  };
  // The value a pop would give, without popping.
  auto peek = [&]() -> double {
    if constexpr (kChecked) {
      if (base + d < 1) return 0;
    }
    return tos;
  };
  // The top and the value under it replaced by f(top, under); the top replaced by f(top).
  auto binary = [&](auto f) {
    if constexpr (kChecked) {
      const double a = pop();
      const double b = pop();
      push(f(a, b));
    } else {
      tos = f(tos, st[--d]);
      if constexpr (kShared) st[d] = tos;
    }
  };
  auto unary = [&](auto f) {
    if constexpr (kChecked) {
      push(f(pop()));
    } else {
      tos = f(tos);
      if constexpr (kShared) st[d] = tos;
    }
  };
  // A stop: the run takes back what it pushed (the values stay in their slots; what code without
  // operands popped below its start stays popped) and returns code, so that code stopped on every
  // record of the table, or at every point of a curve, leaves the stack as deep as one expression
  // needs and not as deep as all of them together.
  auto stop = [&](int16_t code) -> int16_t {
    if constexpr (kShared) MathVars.ValueSP = static_cast<int16_t>(base + std::min(d, 0));
    return code;
  };
  // A literal or name operand: value list entry k, 0 when it does not hold the operand. The
  // message of a refused push, else 0.
  auto pushEntry = [&](int32_t k) -> int16_t {
    if (k == 0) return kMsgUndefinedName;
    msg = 0;
    if (!push(Tables.ValueList[static_cast<size_t>(k)].Value)) return msg;
    return 0;
  };

  for (const BoundOperation& in : ops) {
    switch (static_cast<Op>(in.op)) {
      case Op::kLiteral:
      case Op::kName:
        if constexpr (kShared) {
          if (const int16_t m = pushEntry(OperandEntry(*p, in, top)); m != 0) return stop(m);
        }
        break;
      case Op::kConst:
        push(in.value);
        break;
      case Op::kArg:
        push(args[in.arg]);
        break;
      case Op::kAddConst:
        tos = Guard(in.value + tos);
        break;
      case Op::kMulConst:
        tos = Guard(in.value * tos);
        break;
      case Op::kDivConst:
        tos = SafeDivide(in.value, tos);
        break;
      case Op::kAddArg:
        tos = Guard(args[in.arg] + tos);
        break;
      case Op::kMulArg:
        tos = Guard(args[in.arg] * tos);
        break;
      case Op::kDivArg:
        tos = SafeDivide(args[in.arg], tos);
        break;
      case Op::kBadName:
        return stop(kMsgUndefinedName);
      case Op::kAdd:
        binary([](double a, double b) { return Guard(a + b); });
        break;
      case Op::kMul:
        binary([](double a, double b) { return Guard(a * b); });
        break;
      case Op::kDiv:
        binary([](double a, double b) { return SafeDivide(a, b); });
        break;
      case Op::kPow:
        binary([&](double a, double b) {
          double r = 0;
          const int16_t m = SafePower(a, b, r);
          // A zero or undefined base leaves the message standing.
          if (a > 0 || a < 0) msg = m;
          return r;
        });
        if (msg != 0) return stop(msg);
        break;
      case Op::kPowWhole:
        tos = WholePower(tos, in.power);
        break;
      case Op::kSinArg:
        push(Unary(Op::kSin, args[in.arg]));
        break;
      case Op::kCosArg:
        push(Unary(Op::kCos, args[in.arg]));
        break;
      case Op::kScaledArg:
        push(Guard(in.value * args[in.arg]));
        break;
      case Op::kPowWholeArg:
        push(Guard(in.value * WholePower(args[in.arg], in.power)));
        break;
      case Op::kSin:  // the commonest functions without a second dispatch
        unary([](double a) { return Unary(Op::kSin, a); });
        break;
      case Op::kCos:
        unary([](double a) { return Unary(Op::kCos, a); });
        break;
      case Op::kNeg:
        unary([](double a) { return Guard(-a); });
        break;
      case Op::kSqrt:
        if (peek() < 0) {
          pop();
          return stop(kMsgNegativeSqrt);
        }
        unary(SafeSqrt);
        break;
      case Op::kASin:
      case Op::kACos:
        // Outside [-1, 1] neither has a real value: refused as a negative under Sqrt[ is. Only
        // ±1 themselves are the ends of the range (no rounding margin).
        if (std::fabs(peek()) > 1) {
          pop();
          return stop(kMsgInverseSineDomain);
        }
        unary([op = static_cast<Op>(in.op)](double a) { return Unary(op, a); });
        break;
      case Op::kLog:
      case Op::kLn:
        if (peek() <= 0) {
          unary([](double) { return 0.0; });
          return stop(kMsgLogNotPositive);
        }
        if (static_cast<Op>(in.op) == Op::kLog) {
          unary(SafeLog10);
        } else {
          unary(SafeLn);
        }
        break;
      default: {
        const Op op = static_cast<Op>(in.op);
        unary([op](double a) { return Unary(op, a); });
        break;
      }
    }
  }
  if constexpr (kShared) {
    const double r = pop();
    if (msg == 0) result = r;
    MathVars.ValueSP = static_cast<int16_t>(base + d);
    return msg;
  } else {
    result = tos;
    return 0;
  }
}

}  // namespace

void ResetMathState() {
  MathVars = MathState{};
  Cache().Clear();
}

void AddResultLine(const rt::Text& line) {
  if (ResultsList.Lines.size() < kMaxResultLines) ResultsList.Lines.push_back(line);
}

void ClearResultsList() {
  ResultsList.Lines.clear();
}

namespace {

int16_t EvaluateWith(const rt::Text& code, double& result, int16_t msgBefore,
                     const LetterRows* letters) {
  Program& p = ProgramFor(code);
  ResolveNames(p, letters);
  const int base = MathVars.ValueSP;
  if (base < 0 || base > kValueStackTop) {
    // Only a caller writing ValueSP itself gets here: start from an empty stack.
    MathVars.ValueSP = 0;
  }
  const int sp = MathVars.ValueSP;
  double* const st = MathVars.ValueStack.data() + sp;
  if (sp + p.minPopDepth >= 1 && sp + p.maxDepth <= kValueStackTop) {
    return RunOps<RunMode::kShared>(p.ops, &p, nullptr, st, sp, result, msgBefore);
  }
  return RunOps<RunMode::kChecked>(p.ops, &p, nullptr, st, sp, result, msgBefore);
}

}  // namespace

int16_t Evaluate(const rt::Text& code, double& result, int16_t msgBefore) {
  return EvaluateWith(code, result, msgBefore, nullptr);
}

int16_t EvaluateFunctions() {
  int16_t msgNo = 0;
  int16_t total = Tables.FuncCount;
  DrawProgress(kWorksheetProgressBar, total, 0);
  const int16_t count = std::min<int16_t>(Tables.FuncCount, kMaxFunctions);
  // Every record looks its parameters up: the list's letters are read once for all of them.
  const LetterRows letters;
  for (int16_t i = 1; i <= count; ++i) {
    DrawProgress(kWorksheetProgressBar, total, i);
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(i)];
    double value = f.Value;
    msgNo = EvaluateWith(f.Code, value, msgNo, &letters);
    if (msgNo > 0) return msgNo;
    rt::Text name = f.Name;
    if (name.size() >= 2 && name[1] == u'_') name.resize(1);
    if (msgNo == kMsgUndefinedName) {
      AddResultLine(name + u" : Undefined Constant or Parameter");
      continue;
    }
    f.Value = value;
    if (name.size() == 1) AddResultLine(name + u" : " + rt::Str(value));
  }
  return msgNo;
}

int16_t LookupValueName(const rt::Text& name, int32_t& index) {
  const int32_t top = std::min(Tables.ValueTop, kMaxValueIndex);
  for (int32_t k = top; k >= 1; --k) {
    if (Tables.ValueList[static_cast<size_t>(k)].Name == name) {
      index = k;
      return 0;
    }
  }
  index = 0;
  return kMsgUndefinedName;
}

bool PushValue(double value) {
  if (MathVars.ValueSP < 0 || MathVars.ValueSP >= kValueStackTop) return false;
  ++MathVars.ValueSP;
  MathVars.ValueStack[static_cast<size_t>(MathVars.ValueSP)] = value;
  return true;
}

int16_t PopValue(double& value) {
  if (MathVars.ValueSP < 1 || MathVars.ValueSP > kValueStackTop) {
    value = 0;
    return kMsgUndefinedName;
  }
  value = MathVars.ValueStack[static_cast<size_t>(MathVars.ValueSP--)];
  return 0;
}

int16_t RunBound(const BoundCode& bound, const double* args, double& result) {
  // Shallow code (nearly all) keeps its stack in the frame; deeper code in a vector kept per
  // thread.
  constexpr int kFrameDepth = 32;
  double frame[kFrameDepth];
  double* st = frame;
  if (bound.maxDepth + 2 > kFrameDepth) {
    thread_local std::vector<double> scratch;
    if (scratch.size() < static_cast<size_t>(bound.maxDepth) + 2) {
      scratch.resize(static_cast<size_t>(bound.maxDepth) + 2);
    }
    st = scratch.data();
  }
  return RunOps<RunMode::kBound>(bound.ops, nullptr, args, st, 0, result, 0);
}

}  // namespace ms
