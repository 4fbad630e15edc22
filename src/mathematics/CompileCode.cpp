#include "mathematics/CompileCode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "language/Simplify.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/Math.h"
#include "mathematics/MathDerivative.h"

namespace ms {

namespace {

constexpr char16_t kDiffToken = TokenChar(Builtin::Diff);
constexpr char16_t kGrave = u'`';

using rt::IsDigit;
using rt::IsLower;
using rt::IsUpper;

int16_t FunctionCount() {
  return std::clamp<int16_t>(Tables.FuncCount, 0, kMaxFunctions);
}
int16_t ConstantCount() {
  return std::clamp<int16_t>(Tables.ConstCount, 0, kMaxConstants);
}

int ParameterCount(const FuncRec& f) {
  const std::array<const rt::Text*, 5> parms = {&f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5};
  int n = 0;
  while (n < 5 && !parms[static_cast<size_t>(n)]->empty()) ++n;
  return n;
}

// Every statement of a worksheet compiles the whole table again, and most records come back
// unchanged (their calls already expanded, at most one more pair of parentheses around them). The
// text stages after expansion are pure functions of their input text, so their results are kept
// by that text and a record that did not change costs a look-up:
//  - derivative stage: the expanded expression (without a Diff[ call, which reads other records)
//    to the expression it leaves; kept by the text without its enclosing parentheses and whether
//    there were any, the only difference those parentheses make;
//  - code generation: the expression and the literal counter before it to the code and the
//    literals it stores.
struct DerivativeResult {
  rt::Text expr;
};
struct CodeResult {
  rt::Text code;
  std::vector<ValueRec> literals;  // the entries from the counter + 1 on
};
struct StageMemo {
  bool enabled = true;
  std::unordered_map<rt::Text, DerivativeResult> derivative;
  std::unordered_map<rt::Text, CodeResult> code;
  size_t chars = 0;
  void Keep(size_t added) {
    // A bound on what is kept: past it everything is dropped and kept anew.
    constexpr size_t kMaxChars = size_t{1} << 24;
    chars += added;
    if (chars > kMaxChars) {
      derivative.clear();
      code.clear();
      chars = added;
    }
  }
};
StageMemo& Memo() {
  static StageMemo memo;
  return memo;
}

// The text without the parentheses that enclose it whole, and whether there were any.
rt::Text DerivativeKey(const rt::Text& s) {
  size_t lo = 0, hi = s.size();
  for (;;) {
    if (hi - lo < 2 || s[lo] != u'(' || s[hi - 1] != u')') break;
    long depth = 0;
    bool whole = true;
    for (size_t j = lo; j < hi; ++j) {
      if (s[j] == u'(') ++depth;
      if (s[j] == u')' && --depth == 0 && j + 1 < hi) {
        whole = false;
        break;
      }
    }
    if (!whole) break;
    ++lo;
    --hi;
  }
  rt::Text key = s.substr(lo, hi - lo);
  key += lo > 0 ? u'\u0001' : u'\u0002';
  return key;
}

// The literal counter as five digits and a separator, ahead of the expression.
rt::Text CodeKey(int32_t counter, const rt::Text& expr) {
  rt::Text key = rt::IntText(counter) + u"|";
  key += expr;
  return key;
}

}  // namespace

void SetCompileMemoEnabled(bool enabled) {
  ClearCompileMemo();
  Memo().enabled = enabled;
}

void ClearCompileMemo() {
  Memo().derivative.clear();
  Memo().code.clear();
  Memo().chars = 0;
}

// ---------------------------------------------------------------------------------------------
// Preparation

void SubstituteConstants(const rt::Text& expression, rt::Text& result) {
  rt::Text s = expression;
  const int16_t count = ConstantCount();
  for (int16_t k = 1; k <= count; ++k) {
    const ConstRec& c = Tables.ConstTable[static_cast<size_t>(k)];
    if (c.Locked != 0) break;
    if (c.Name.empty()) continue;
    // A value text that is not one group of its own (a negative root, an integral) goes in
    // parentheses, so that x*c with c = -0.5 reads x*(-0.5).
    const rt::Text value = IsOneGroup(c.ValueText) ? c.ValueText : u"(" + c.ValueText + u")";
    s = rt::Replace(s, c.Name, value);
  }
  result = s;
}

int16_t PrepareFunctions(rt::Text& text) {
  int16_t msgNo = 0;
  const int16_t funcs = FunctionCount();
  const int16_t consts = ConstantCount();
  for (int16_t k = 1; k <= funcs; ++k) {
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    TokenizeNames(f.Expr, f.Expr);
  }
  for (int16_t k = 1; k <= consts; ++k) {
    ConstRec& c = Tables.ConstTable[static_cast<size_t>(k)];
    TokenizeNames(c.ValueText, c.ValueText);
  }
  for (int16_t k = 1; k <= consts; ++k) {
    const ConstRec& c = Tables.ConstTable[static_cast<size_t>(k)];
    if (c.Locked != 0) continue;
    for (char16_t ch : c.ValueText) {
      if (rt::CharIs(ch, u"[a-d,f-z,A-D,F-Z]")) {
        msgNo = kMsgConstantNotNumber;
        text = c.ValueText;
        return msgNo;
      }
    }
  }
  for (int16_t k = 1; k <= funcs; ++k) {
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    SubstituteConstants(f.Expr, f.Expr);
  }
  return msgNo;
}

// ---------------------------------------------------------------------------------------------
// Expansion of calls

int16_t ListFunctionCalls(const rt::Text& expression, int16_t& count) {
  int16_t msgNo = 0;
  count = 0;
  const long n = static_cast<long>(expression.size());
  long depth = 0;
  long i = 1;
  while (i <= n - 1) {
    const char16_t c = expression[static_cast<size_t>(i - 1)];
    const char16_t next = expression[static_cast<size_t>(i)];
    if (c == kDiffToken) {
      i += 7;  // the token, "[", the identifier, ",", the variable and "]"
      continue;
    }
    if (c == u'E' && (next == u'-' || next == u'+' || IsDigit(next))) {
      i += 2;
      continue;
    }
    if (IsUpper(c) && (IsLower(next) || next == u'_')) {
      if (i > INT16_MAX) {
        return kMsgExpressionTooLong;
      }
      const long d = std::clamp<long>(depth + 1, INT16_MIN, INT16_MAX);
      if (AppendCall(count, expression.substr(static_cast<size_t>(i - 1), 2),
                     static_cast<int16_t>(i), static_cast<int16_t>(d), msgNo) == 0) {
        return msgNo;
      }
    }
    if (c == u'{') depth += 10;
    if (c == u'}') depth -= 10;
    ++i;
  }
  return 0;
}

void TakeDeepestCall(int16_t count, int16_t& position, rt::Text& identifier) {
  const int16_t n = std::clamp<int16_t>(count, 0, kMaxCalls);
  if (n < 1) return;
  int16_t best = 1;
  for (int16_t k = 2; k <= n; ++k) {
    if (Tables.CallList[static_cast<size_t>(k)].Depth >=
        Tables.CallList[static_cast<size_t>(best)].Depth) {
      best = k;
    }
  }
  CallRec& r = Tables.CallList[static_cast<size_t>(best)];
  identifier = r.Text;
  position = r.Pos;
  r.Depth = 0;
}

int16_t ExpandFunctionCalls(const rt::Text& expression, int16_t recordIndex, int16_t& position,
                            rt::Text& result) {
  int16_t msgNo = 0;
  if (recordIndex < 1 || recordIndex > FunctionCount()) {
    return kMsgFunctionNotFound;
  }
  const FuncRec& callee = Tables.FuncTable[static_cast<size_t>(recordIndex)];
  const size_t n = expression.size();
  const size_t at = static_cast<size_t>(position) - 1;  // the identifier's first character
  // A name without "{" (a function used as a plain operand) runs away like an endless argument.
  if (position < 1 || at + 2 >= n || expression[at + 2] != u'{') {
    return kMsgArgumentOverflow;
  }
  // The arguments, separated by commas at the call's own level; brackets inside an argument
  // (a Diff[ call, a built-in function) keep their commas.
  std::vector<rt::Text> args;
  size_t j = at + 3;
  size_t argStart = j;
  int nesting = 0;
  size_t close = 0;
  for (;; ++j) {
    if (j >= n || j - argStart > static_cast<size_t>(kMaxArgumentLength)) {
      return kMsgArgumentOverflow;
    }
    const char16_t c = expression[j];
    if (c == u'(' || c == u'[' || c == u'{') {
      ++nesting;
    } else if (nesting > 0 && (c == u')' || c == u']' || c == u'}')) {
      --nesting;
    } else if (nesting == 0 && (c == u',' || c == u'}')) {
      args.push_back(expression.substr(argStart, j - argStart));
      if (c == u'}') {
        close = j;
        break;
      }
      if (args.size() == 5) {
        return kMsgArgumentCount;
      }
      argStart = j + 1;
    }
  }
  const int parms = ParameterCount(callee);
  if (parms == 0 && args.size() == 1 && args[0].empty()) args.clear();
  if (static_cast<int>(args.size()) != parms ||
      std::any_of(args.begin(), args.end(), [](const rt::Text& a) { return a.empty(); })) {
    return kMsgArgumentCount;
  }
  // Every parameter letter of the body replaced by its argument in one pass, so an argument
  // that names another parameter (H{y,x}) is not replaced again.
  const std::array<const rt::Text*, 5> names = {&callee.Parm1, &callee.Parm2, &callee.Parm3,
                                                &callee.Parm4, &callee.Parm5};
  const rt::Text body0 = u"(" + callee.Expr + u")";
  rt::Text body;
  body.reserve(body0.size() * 2);
  for (char16_t c : body0) {
    int hit = -1;
    for (int p = 0; p < parms; ++p) {
      const rt::Text& name = *names[static_cast<size_t>(p)];
      if (name.size() == 1 && name[0] == c) {
        hit = p;
        break;
      }
    }
    if (hit < 0) {
      body += c;
    } else {
      body += u"(" + args[static_cast<size_t>(hit)] + u")";
    }
  }
  for (int p = 1; p < parms; ++p) body = u"(" + body + u")";

  rt::Text out = expression.substr(0, at) + body + expression.substr(close + 1);
  if (static_cast<long>(out.size()) > kMaxExpandedLength) {
    return kMsgExpressionTooLong;
  }
  msgNo = 0;
  AddResultLine(out);
  result = std::move(out);
  return msgNo;
}

int16_t ExpandDerivatives() {
  int16_t msgNo = 0;
  const int16_t funcs = FunctionCount();
  if (funcs == 0) return msgNo;
  for (int16_t k = 1; k <= funcs; ++k) {
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    int16_t count = 0;
    msgNo = ListFunctionCalls(f.Expr, count);
    if (msgNo != 0) return msgNo;
    int expansions = 0;
    while (count > 0) {
      int16_t position = 0;
      rt::Text id;
      TakeDeepestCall(count, position, id);
      int16_t callee = 0;
      for (int16_t c = 1; c <= funcs; ++c) {
        if (Tables.FuncTable[static_cast<size_t>(c)].Name == id) {
          callee = c;
          break;
        }
      }
      if (callee == 0) {
        return kMsgFunctionNotFound;
      }
      // A function whose expansion calls itself would grow without end.
      if (callee == k) {
        return kMsgRecursion;
      }
      if (++expansions > kMaxExpansionsPerRecord) {
        return kMsgExpressionTooLong;
      }
      rt::Text expanded;
      msgNo = ExpandFunctionCalls(f.Expr, callee, position, expanded);
      if (msgNo != 0) return msgNo;
      f.Expr = std::move(expanded);
      msgNo = ListFunctionCalls(f.Expr, count);
      if (msgNo != 0) return msgNo;
    }
    std::replace(f.Expr.begin(), f.Expr.end(), u'{', u'[');
    std::replace(f.Expr.begin(), f.Expr.end(), u'}', u']');
  }
  for (int16_t k = 1; k <= funcs; ++k) {
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    // A Diff[ call reads other records, and a text too long for Simplify gets its box: neither
    // is kept.
    const bool keep = Memo().enabled && f.Expr.find(kDiffToken) == rt::Text::npos &&
                      static_cast<long>(f.Expr.size()) < kMaxSimplifyLength / 2;
    rt::Text key;
    if (keep) {
      key = DerivativeKey(f.Expr);
      const auto hit = Memo().derivative.find(key);
      if (hit != Memo().derivative.end()) {
        f.Expr = hit->second.expr;
        continue;
      }
    }
    rt::Text e;
    DetokenizeNames(f.Expr, e);
    Simplify(e, u"[3,9]", e);
    rt::Text d;
    msgNo = ProcessDiff(e, d);
    if (msgNo != 0) return msgNo;
    TokenizeNames(d, f.Expr);
    if (keep && f.Expr.find(kDiffToken) == rt::Text::npos) {
      Memo().Keep(key.size() + f.Expr.size());
      Memo().derivative.emplace(std::move(key), DerivativeResult{f.Expr});
    }
  }
  return msgNo;
}

// ---------------------------------------------------------------------------------------------
// Code generation

int16_t TableStore(const rt::Text& literalText, rt::Text& literalName) {
  if (Tables.LiteralCount < 0 || Tables.LiteralCount >= kLastLiteralCounter) {
    return kMsgValuesFull;
  }
  const int32_t k = ++Tables.LiteralCount;
  Tables.ValueTop = k;
  char16_t digits[5];
  int32_t v = k;
  for (int i = 4; i >= 0; --i) {
    digits[i] = static_cast<char16_t>(u'0' + v % 10);
    v /= 10;
  }
  literalName = u"$" + rt::Text(digits, 5) + u"`";
  double value = rt::Val(literalText);
  // A literal beyond the range of doubles stands for an infinite value.
  if (std::isinf(value)) value = value > 0 ? kGuardInfinity : -kGuardInfinity;
  ValueRec& r = Tables.ValueList[static_cast<size_t>(k)];
  r.Name = literalName;
  r.Value = value;
  return 0;
}

int16_t ReplaceLiterals(const rt::Text& expression, rt::Text& result) {
  int16_t msgNo = 0;
  // Mask a parameter named e (an "e" not after a digit or ".") so it is not an exponent mark.
  rt::Text s = u"(" + expression + u")";
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'e' && !(i > 0 && (IsDigit(s[i - 1]) || s[i - 1] == u'.'))) s[i] = u'!';
  }
  rt::Text out;
  out.reserve(s.size() * 2);
  rt::Text number;
  auto flush = [&]() -> bool {
    if (number.empty()) return true;
    rt::Text name;
    msgNo = TableStore(number, name);
    if (msgNo != 0) return false;
    out += name;
    number.clear();
    return true;
  };
  const size_t n = s.size();
  size_t i = 0;
  while (i < n) {
    const char16_t c = s[i];
    if (IsDigit(c) || c == u'.') {
      number += c;
      ++i;
    } else if (c == u'E' || c == u'e') {
      number += c;
      ++i;
      if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        if (i + 1 >= n || !IsDigit(s[i + 1])) {
          return kMsgExponentDigit;
        }
        number += s[i];
        number += s[i + 1];
        i += 2;
        if (i < n && IsDigit(s[i])) number += s[i++];
      } else if (i < n && IsDigit(s[i])) {
        number += s[i++];
        if (i < n && IsDigit(s[i])) number += s[i++];
      }
    } else {
      if (!flush()) return msgNo;
      out += c;
      ++i;
    }
  }
  if (!flush()) return msgNo;
  for (size_t k = 0; k < out.size(); ++k) {
    if (out[k] == u'!' && !(k > 0 && (IsDigit(out[k - 1]) || out[k - 1] == u'.'))) out[k] = u'e';
  }
  msgNo = 0;
  result = u"(" + out + u")";
  return msgNo;
}

namespace {

bool IsArithmetic(char16_t c) {
  return c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'^';
}

// 0-based position just past the operand that starts at from: its signs, then everything up to the
// next "+", "-", "*", "/" or "," outside brackets (a power belongs to the operand, as -b^2 is
// -(b^2)), or up to the bracket that closes the group around it.
size_t OperandEnd(const rt::Text& s, size_t from) {
  size_t k = from;
  while (k < s.size() && (s[k] == u'-' || s[k] == u'+')) ++k;
  int depth = 0;
  for (; k < s.size(); ++k) {
    const char16_t c = s[k];
    if (c == u'(' || c == u'[') {
      ++depth;
    } else if (c == u')' || c == u']') {
      if (depth == 0) return k;
      --depth;
    } else if (depth == 0 && (c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u',')) {
      // A sign directly after an operator belongs to the operand.
      if (!((c == u'+' || c == u'-') && IsArithmetic(s[k - 1]))) return k;
    }
  }
  return s.size();
}

}  // namespace

void ReplaceMinus(const rt::Text& expression, rt::Text& result) {
  // "M*" negates the operand after it only where a group starts or after "+", where the "*" is
  // the first operator the code pops. A minus directly after "+" reuses that "+"; one after "*",
  // "/", "^" or "-" (texts built by differentiation or vector operations, never typed) gets its
  // operand in parentheses of its own, so a*-b is a*(-b), not a wrongly grouped product.
  const size_t n = expression.size();
  std::vector<int> closeBefore(n + 1, 0);  // ")" written before 0-based position k
  rt::Text out;
  out.reserve(n + n / 2);
  for (size_t i = 0; i < n; ++i) {
    out.append(static_cast<size_t>(closeBefore[i]), u')');
    const char16_t c = expression[i];
    const char16_t before = i == 0 ? u'\0' : expression[i - 1];
    if (c != u'-') {
      out += c;
    } else if (i == 0 || before == u'(' || before == u'[' || before == u',' || before == u'+') {
      out += u"M*";
    } else if (IsArithmetic(before)) {
      out += u"(M*";
      ++closeBefore[OperandEnd(expression, i + 1)];
    } else {
      out += u"+M*";
    }
  }
  out.append(static_cast<size_t>(closeBefore[n]), u')');
  result = std::move(out);
}

void ComputePriorities(const rt::Text& expression, std::vector<int16_t>& priorities) {
  priorities.assign(expression.size(), 0);
  int base = 0;
  for (size_t i = 0; i < expression.size(); ++i) {
    const char16_t c = expression[i];
    int p = 0;
    if (c == u'+' || c == u'-') {
      p = base + 1;
    } else if (c == u'*' || c == u'/') {
      p = base + 2;
    } else if (c == u'^') {
      p = base + 3;
    } else if (IsEvaluatorFunction(c)) {
      p = base + 5;
    } else if (c == u'(' || c == u'[') {
      base += 10;
      continue;
    } else if (c == u')' || c == u']') {
      base -= 10;
      continue;
    }
    priorities[i] = static_cast<int16_t>(std::clamp(p, INT16_MIN + 0, INT16_MAX + 0));
  }
}

int16_t ToStackCode(const rt::Text& expression, const std::vector<int16_t>& priorities,
                    rt::Text& code) {
  struct OpRec {
    char16_t op;
    int16_t priority;
  };
  std::vector<OpRec> stack;  // entry 0 is the sentinel and is never popped
  stack.reserve(64);
  stack.push_back({0, 0});
  // The code is built back to front: every prepend is an append to rev, reversed at the end.
  rt::Text rev;
  rev.reserve(expression.size());
  const size_t n = expression.size();
  for (size_t i = n; i-- > 0;) {
    const char16_t c = expression[i];
    if (c == u']') {
      rev += u'%';
    } else if (c == u'M') {
      rev += u'M';
    } else if (c == kGrave) {
      // The five digits and the accent, prepended as one piece.
      const size_t first = i >= 5 ? i - 5 : 0;
      for (size_t k = i + 1; k-- > first;) rev += expression[k];
    } else if (IsLower(c)) {
      rev += c;
    } else if (c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'^' ||
               IsEvaluatorFunction(c)) {
      const int16_t p = i < priorities.size() ? priorities[i] : 0;
      while (stack.size() > 1 && stack.back().priority > p) {
        rev += stack.back().op;
        stack.pop_back();
      }
      if (stack.size() > static_cast<size_t>(kOpStackTop)) {
        return kMsgExpressionTooLong;
      }
      stack.push_back({c, p});
    }
  }
  while (stack.size() > 1) {
    rev += stack.back().op;
    stack.pop_back();
  }
  std::reverse(rev.begin(), rev.end());
  code = std::move(rev);
  return 0;
}

int16_t CompileAllFunctions() {
  int16_t msgNo = 0;
  Tables.ValueTop = 1;
  Tables.LiteralCount = 1;
  const int16_t funcs = FunctionCount();
  std::vector<int16_t> priorities;
  for (int16_t k = 1; k <= funcs; ++k) {
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    MathVars.ValueSP = 1;
    rt::Text key = CodeKey(Tables.LiteralCount, f.Expr);
    const auto hit = Memo().code.find(key);
    if (Memo().enabled && hit != Memo().code.end() &&
        Tables.LiteralCount + static_cast<int32_t>(hit->second.literals.size()) <
            kLastLiteralCounter) {
      for (const ValueRec& v : hit->second.literals) {
        const int32_t n = ++Tables.LiteralCount;
        Tables.ValueList[static_cast<size_t>(n)] = v;
        Tables.ValueTop = n;
      }
      f.Code = hit->second.code;
      f.Compiled = -1;
      continue;
    }
    const int32_t firstLiteral = Tables.LiteralCount + 1;
    rt::Text literals;
    msgNo = ReplaceLiterals(f.Expr, literals);
    if (msgNo != 0) return msgNo;
    rt::Text infix;
    ReplaceMinus(literals, infix);
    if (static_cast<long>(infix.size()) > kMaxCompileLength) {
      return kMsgExpressionTooLong;
    }
    ComputePriorities(infix, priorities);
    rt::Text code;
    msgNo = ToStackCode(infix, priorities, code);
    if (msgNo != 0) return msgNo;
    f.Code = std::move(code);
    f.Compiled = -1;
    CodeResult kept{f.Code, {}};
    for (int32_t n = firstLiteral; n <= Tables.LiteralCount; ++n) {
      kept.literals.push_back(Tables.ValueList[static_cast<size_t>(n)]);
    }
    if (Memo().enabled) {
      Memo().Keep(key.size() + f.Code.size() + kept.literals.size() * 8);
      Memo().code.emplace(std::move(key), std::move(kept));
    }
  }
  return msgNo;
}

int16_t CompileFunctions(rt::Text& text) {
  int16_t msgNo = PrepareFunctions(text);
  if (msgNo != 0) return msgNo;
  msgNo = ExpandDerivatives();
  if (msgNo != 0) return msgNo;
  return CompileAllFunctions();
}

}  // namespace ms
