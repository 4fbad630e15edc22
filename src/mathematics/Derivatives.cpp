#include "mathematics/Derivatives.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "language/CommandArguments.h"
#include "language/Simplify.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"

namespace ms {

namespace {

constexpr int16_t kMsgDiffComma = 530;
constexpr int16_t kMsgDiffVariable = 531;
constexpr int16_t kMsgDiffAfterVariable = 532;
constexpr int16_t kMsgDiffOrderNotDigit = 533;
constexpr int16_t kMsgDiffOrderRange = 534;
constexpr int16_t kMsgDiffNoClose = 535;
constexpr int16_t kMsgDiffBadPoint = 536;
constexpr int16_t kMsgDiffOverflow = 537;
constexpr int16_t kMsgDiffTooDeep = 538;
// How many characters of prefixes one loop of Differentiate prepares again (about thirty
// preparations of the longest text).
constexpr long kDiffRecleanBudget = 1000000;

using rt::IsDigit;
using rt::IsLower;

bool Short(const rt::Text& a) {
  return a.size() == 1;
}

// A built-in call in token form: the token, "[", the argument and "]".
rt::Text Call(Builtin token, const rt::Text& arg) {
  return rt::Text(1, TokenChar(token)) + u"[" + arg + u"]";
}

// The character at 1-based position p, or 0 outside the text.

rt::Text Differentiate(const rt::Text& e0, const rt::Text& x, int16_t& msgNo, int depth);

// f of the chain rule f(a) * a' for a built-in function at the top, or "" when the whole
// derivative is 0.
rt::Text OuterDerivative(char16_t token, const rt::Text& a) {
  switch (static_cast<Builtin>(token)) {
    case Builtin::Sin:
      return Call(Builtin::Cos, a);
    case Builtin::Cos:
      return u"0-" + Call(Builtin::Sin, a);
    case Builtin::Tan:
      return MakeSquare(MakeQuotient(u"1", Call(Builtin::Cos, a)));
    case Builtin::Sinh:
      return Call(Builtin::Cosh, a);
    case Builtin::Cosh:
      return Call(Builtin::Sinh, a);
    case Builtin::Tanh:
      return MakeSquare(MakeQuotient(u"1", Call(Builtin::Cosh, a)));
    case Builtin::ASin:
      return MakeQuotient(u"1", Call(Builtin::Sqrt, u"1-" + MakeSquare(a)));
    case Builtin::ACos:
      return MakeQuotient(u"-1", Call(Builtin::Sqrt, u"1-" + MakeSquare(a)));
    case Builtin::ATan:
      return MakeQuotient(u"1", MakeSum(u"1", MakeSquare(a)));
    case Builtin::Ln:
      return MakeQuotient(u"1", a);
    case Builtin::Log:
      return MakeQuotient(u"1/" + MakeLn(u"10"), a);
    case Builtin::Exp:
      return Call(Builtin::Exp, a);
    case Builtin::Alog:
      return MakeProduct(Call(Builtin::Alog, a), MakeLn(u"10"));
    case Builtin::Sqrt:
      return MakeQuotient(u"0.5", Call(Builtin::Sqrt, a));
    case Builtin::Abs:
      return Call(Builtin::Sign, a);
    case Builtin::Clip:
      // Slope 1 inside (-1, 1), 0 where Clip holds its bound: 1 - Unit[|a| - 1].
      return u"1-" + Call(Builtin::Unit, Call(Builtin::Abs, a) + u"-1");
    case Builtin::Unit:
    case Builtin::Sqw:
    case Builtin::Sign:
    case Builtin::Inv:
    case Builtin::Floor:
    case Builtin::Ceil:
    case Builtin::Int:
    default:
      return u"";
  }
}

// e0 made ready to split: the length limit, a leading sign made explicit, cleaned, unbalanced
// outer brackets dropped. Cleaning may drop the brackets around a sum that starts with a sign, as
// in "(-x+2)" built by a call, a chain rule or a vector component: the sign is made explicit after
// cleaning as well, so that "-x" never stands alone as an operand (two characters would read as a
// constant identifier).
[[nodiscard]] int16_t PrepareOperand(const rt::Text& e0, rt::Text& e) {
  if (static_cast<long>(e0.size()) > kMaxDiffLength) return kMsgDiffOverflow;
  e = e0;
  if (e[0] == u'+' || e[0] == u'-') e = u"(0" + e + u")";
  if (const int16_t msgNo = CleanExpr(e, e); msgNo != 0) return msgNo;
  e = TrimUnbalancedParens(e);
  if (const int16_t msgNo = CleanExpr(e, e); msgNo != 0) return msgNo;
  if (!e.empty() && (e[0] == u'+' || e[0] == u'-')) e.insert(0, 1, u'0');
  return 0;
}

// One split of an expression at its top operator.
struct Split {
  char16_t op = 0;
  rt::Text u, v;
  bool uFree = false, vFree = false;
  bool same = false;  // u and v are the same text
};

// Whether the rule of the split needs the derivative of u.
bool NeedsLeft(const Split& s) {
  switch (s.op) {
    case u'+':
    case u'*':
    case u'/':
      return !s.uFree;
    case u'-':
      return !s.uFree && !s.same;
    case u'^':
      return true;
    default:
      return false;
  }
}

// Whether the rule needs u's derivative but not u itself: then u's own split can be taken in
// the same loop instead of one recursion deeper, so a long sum (or a product with a constant
// factor on the right) is differentiated term by term.
bool LeftDerivativeOnly(const Split& s) {
  if (!NeedsLeft(s)) return false;
  return s.op == u'+' || s.op == u'-' || ((s.op == u'*' || s.op == u'/') && s.vFree);
}

// The derivative by the rule of the split, with du the derivative of u where NeedsLeft;
// v's derivative is taken here, one recursion deeper.
rt::Text ApplyRule(const Split& s, const rt::Text& du, const rt::Text& x, int16_t& msgNo,
                   int depth) {
  const rt::Text& u = s.u;
  const rt::Text& v = s.v;
  const bool uFree = s.uFree, vFree = s.vFree;
  auto d = [&](const rt::Text& t) { return Differentiate(t, x, msgNo, depth + 1); };
  switch (s.op) {
    case u'+': {
      if (uFree && vFree) return u"0";
      if (uFree) return d(v);
      if (vFree) return du;
      const rt::Text dv = d(v);
      if (msgNo != 0) return u"";
      return MakeSum(du, dv);
    }
    case u'-': {
      if ((uFree && vFree) || s.same) return u"0";
      if (uFree) {
        const rt::Text dv = d(v);
        if (msgNo != 0) return u"";
        return MakeDifference(u"0", dv);
      }
      if (vFree) return du;
      const rt::Text dv = d(v);
      if (msgNo != 0) return u"";
      return MakeDifference(du, dv);
    }
    case u'*': {
      if (uFree && vFree) return u"0";
      if (vFree) return MakeProduct(v, du);
      const rt::Text dv = d(v);
      if (msgNo != 0) return u"";
      if (uFree) return MakeProduct(u, dv);
      return MakeSum(MakeProduct(u, dv), MakeProduct(v, du));
    }
    case u'/': {
      if (uFree && vFree) return u"0";
      if (vFree) return MakeQuotient(du, v);
      const rt::Text dv = d(v);
      if (msgNo != 0) return u"";
      if (uFree) return MakeQuotient(MakeProduct(u"-1*(" + u + u")", dv), MakeProduct(v, v));
      return MakeQuotient(MakeDifference(MakeProduct(v, du), MakeProduct(u, dv)),
                          MakeProduct(v, v));
    }
    case u'^': {
      const rt::Text powerTerm = MakeProduct(MakeProduct(v, PowerRuleTerm(u, v)), du);
      if (vFree) return powerTerm;
      const rt::Text dv = d(v);
      if (msgNo != 0) return u"";
      return MakeSum(powerTerm, MakeProduct(MakeProduct(MakeLn(u), MakePower(u, v)), dv));
    }
    default:
      return u"0";
  }
}

// Whether the text is one group in parentheses, "(...)", that cleaning would strip.
bool IsOneGroupView(std::u16string_view t) {
  if (t.size() < 2 || t.front() != u'(' || t.back() != u')') return false;
  long depth = 0;
  for (size_t j = 0; j + 1 < t.size(); ++j) {
    if (t[j] == u'(') ++depth;
    if (t[j] == u')' && --depth == 0) return false;
  }
  return true;
}

// The derivative of e0. A chain of left operands (a long sum, a product with free factors on the
// right) is taken in a loop rather than one recursion per operand; recursion is left for the
// right operands, the arguments of built-ins and the rules that need u itself.
//
// Within the loop, a left operand that is a prefix of the cleaned text, cut at an operator of its
// top level, is cleaned already: cleaning it again would change it only where it ends with ")]"
// (a group filling a bracket) or is one group in parentheses. Such a prefix is split at the next
// operator of the same level without a new cleaning and scan, which keeps a long sum linear; the
// other cases go through the whole preparation (deeply nested single letters aside, which the
// terms' own cleaning takes off all the same), those ending with ")]" within a budget.
rt::Text Differentiate(const rt::Text& e0, const rt::Text& x, int16_t& msgNo, int depth) {
  if (depth > kMaxDiffDepth) {
    msgNo = kMsgDiffTooDeep;
    return u"";
  }
  // The left operands taken in this loop, outermost first: each waits for its u's derivative.
  std::vector<Split> pending;
  rt::Text next = e0;
  rt::Text e;  // the prepared text
  // e's operators of the split's level left of it, ascending, each with whether the text before
  // it has as many ")" as "(" (TrimUnbalancedParens would leave it alone).
  std::vector<std::pair<long, bool>> sameLevel;
  bool balanced = false;  // the same for the operator of the current split
  size_t firstVar = 0;    // where the variable first stands in e (npos: nowhere)
  long length = 0;        // the part of e still to split: its first length characters
  bool prefix = false;    // next is that part of e, prepared already
  // Characters that may still be prepared again for a prefix ending with ")]" (see below).
  long cleaningBudget = kDiffRecleanBudget;
  rt::Text result;
  std::vector<int32_t> priorities;
  for (;;) {
    // Each turn takes a shorter left operand; the bound only guards against a cleaning that
    // would not shorten it.
    if (static_cast<long>(pending.size()) > kMaxDiffLength) {
      msgNo = kMsgDiffTooDeep;
      return u"";
    }
    long pos = 0;
    if (prefix) {
      pos = sameLevel.back().first;
      balanced = sameLevel.back().second;
      sameLevel.pop_back();
    } else {
      if (next.empty()) {
        result.clear();
        break;
      }
      msgNo = PrepareOperand(next, e);
      if (msgNo != 0) return u"";
      rt::Text op;
      SplitTopOperator(e, op, pos);
      if (op.empty()) {
        if (e.size() == 1) {
          result = e == x ? u"1" : u"0";
        } else {
          result = IsNumericStr(e) || IsFreeOfVar(e, x) ? u"0" : u"1";
        }
        break;
      }
      if (IsBuiltinToken(op[0])) {
        const rt::Text a = BracketArgument(e);
        const rt::Text f = OuterDerivative(op[0], a);
        if (f.empty()) {
          result = u"0";
          break;
        }
        const rt::Text da = Differentiate(a, x, msgNo, depth + 1);
        if (msgNo != 0) return u"";
        result = MakeProduct(f, da);
        break;
      }
      length = static_cast<long>(e.size());
      firstVar = x.empty() ? rt::Text::npos : e.find(x[0]);
      ScanOperators(e, priorities);
      sameLevel.clear();
      // Only a split at the outermost level leaves prefixes that need no new preparation.
      const int32_t level = priorities[static_cast<size_t>(pos - 1)];
      long parens = 0;
      for (long q = 1; q <= pos && level < 10; ++q) {
        if (q == pos) {
          balanced = parens == 0;
        } else if (priorities[static_cast<size_t>(q - 1)] == level) {
          sameLevel.emplace_back(q, parens == 0);
        }
        const char16_t c = e[static_cast<size_t>(q - 1)];
        parens += c == u'(' ? 1 : c == u')' ? -1 : 0;
      }
    }
    const std::u16string_view whole(e);
    const std::u16string_view uView = whole.substr(0, static_cast<size_t>(pos - 1));
    Split s;
    s.op = e[static_cast<size_t>(pos - 1)];
    s.v = e.substr(static_cast<size_t>(pos), static_cast<size_t>(length - pos));
    const bool uEmpty = uView.empty();
    // A sign in first place after cleaning reads as "0-" followed by the rest.
    const std::u16string_view u = uEmpty && (s.op == u'+' || s.op == u'-') ? u"0" : uView;
    if (IsNumericStr(s.v) && rt::IsNumeric(u)) {
      result = u"0";
      break;
    }
    // As IsFreeOfVar: two characters are a constant identifier.
    s.uFree = u.size() == 2 || uEmpty || firstVar == rt::Text::npos || firstVar >= u.size();
    s.vFree = IsFreeOfVar(s.v, x);
    s.same = u == s.v;
    if (LeftDerivativeOnly(s)) {
      pending.push_back(std::move(s));
      // A prefix ending with ")]" is prepared again while the budget lasts; past it, the text
      // may keep a group in a bracket that the cleaning would have dropped, which changes how
      // the derivative is written, never its value.
      bool clean = balanced && !sameLevel.empty() && !IsOneGroupView(u);
      if (clean && u.size() >= 2 && u.substr(u.size() - 2) == u")]" &&
          static_cast<long>(u.size()) <= cleaningBudget) {
        cleaningBudget -= static_cast<long>(u.size());
        clean = false;
      }
      prefix = clean;
      if (prefix) {
        length = pos - 1;
      } else {
        next = rt::Text(u);
      }
      continue;
    }
    s.u = rt::Text(u);
    rt::Text du;
    if (NeedsLeft(s)) {
      du = Differentiate(s.u, x, msgNo, depth + 1);
      if (msgNo != 0) return u"";
    }
    result = ApplyRule(s, du, x, msgNo, depth);
    if (msgNo != 0) return u"";
    break;
  }
  for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
    result = ApplyRule(*it, result, x, msgNo, depth);
    if (msgNo != 0) return u"";
  }
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Small routines

bool IsNumericStr(const rt::Text& s) {
  return rt::IsNumeric(s);
}

bool StrEquals(const rt::Text& a, const rt::Text& b) {
  return a == b;
}

bool IsFreeOfVar(const rt::Text& e, const rt::Text& x) {
  if (e.size() == 2) return true;  // a two-character constant identifier
  if (x.empty()) return true;
  return e.find(x[0]) == rt::Text::npos;
}

rt::Text TrimUnbalancedParens(const rt::Text& e) {
  const long open = std::count(e.begin(), e.end(), u'(');
  const long close = std::count(e.begin(), e.end(), u')');
  if (open > close && !e.empty() && e.front() == u'(') return rt::Mid(e, open - close + 1);
  if (close > open && !e.empty() && e.back() == u')') {
    return rt::Left(e, static_cast<long>(e.size()) - (close - open));
  }
  return e;
}

rt::Text BracketArgument(const rt::Text& e) {
  const size_t open = e.find(u'[');
  if (open == rt::Text::npos) return u"";
  int depth = 1;
  for (size_t i = open + 1; i < e.size(); ++i) {
    if (e[i] == u'[') ++depth;
    if (e[i] == u']' && --depth == 0) return e.substr(open + 1, i - open - 1);
  }
  return e.substr(open + 1);
}

void ScanOperators(const rt::Text& e, std::vector<int32_t>& priorities) {
  priorities.assign(e.size(), 0);
  int32_t depth = 0;
  for (size_t i = 0; i < e.size(); ++i) {
    const char16_t c = e[i];
    int32_t& p = priorities[i];
    if (c == u'+' || c == u'-') {
      // The sign of an exponent (1E-5, 2.5e+3) belongs to its number.
      const bool exponentSign = i >= 2 && (e[i - 1] == u'E' || e[i - 1] == u'e') &&
                                (IsDigit(e[i - 2]) || e[i - 2] == u'.');
      p = exponentSign ? -1 : depth + 1;
    } else if (c == u'*' || c == u'/') {
      p = depth + 2;
    } else if (c == u'^') {
      p = depth + 3;
    } else if (IsBuiltinToken(c)) {
      p = depth + 5;
    } else if (c == u'(' || c == u'[') {
      depth += 10;
    } else if (c == u')' || c == u']') {
      depth -= 10;
    } else if (IsDigit(c) || IsLower(c) || rt::IsUpper(c) || c == u' ' || c == u',' || c == u'.') {
      p = -1;
    }
  }
}

void SplitTopOperator(const rt::Text& e, rt::Text& op, long& position) {
  std::vector<int32_t> pr;
  ScanOperators(e, pr);
  long best = 0;
  int32_t bestPriority = 0;
  for (size_t i = 0; i < pr.size(); ++i) {
    const int32_t p = pr[i];
    if (p > 0 && p <= 100 && (best == 0 || p <= bestPriority)) {
      best = static_cast<long>(i) + 1;
      bestPriority = p;
    }
  }
  if (best == 0) {
    op.clear();
    position = 0;
    return;
  }
  op = rt::Text(1, e[static_cast<size_t>(best - 1)]);
  position = best;
}

int16_t CleanExpr(const rt::Text& input, rt::Text& output) {
  int16_t msgNo = 0;
  rt::Text t = DropParensOnSingle(input, msgNo);
  if (msgNo != 0) return msgNo;
  t = DropParensOnNumber(t);
  t = DropNestedBrackets(t);
  t = DropParensOnSingle(t, msgNo);
  if (msgNo != 0) return msgNo;
  Simplify(t, u"[3,9]", t);
  output = t;
  return 0;
}

rt::Text SpliceAt(const rt::Text& s, long position, const rt::Text& insert) {
  if (position < 1 || position > static_cast<long>(s.size())) return s;
  return rt::Left(s, position - 1) + insert + rt::Mid(s, position + 1);
}

rt::Text SubstituteVar(const rt::Text& expression, const rt::Text& var, const rt::Text& value) {
  if (var.empty()) return expression;
  rt::Text out;
  out.reserve(expression.size());
  for (char16_t c : expression) {
    if (c == var[0]) {
      out += u"(" + value + u")";
    } else {
      out += c;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Builders. Folded numbers use the plain number-to-text form, whose leading blank the next
// cleaning removes.

rt::Text MakeSum(const rt::Text& a, const rt::Text& b) {
  if (IsNumericStr(a) && IsNumericStr(b)) return rt::Str(rt::Val(a) + rt::Val(b));
  if (b == u"0") return u"(" + a + u")";
  if (a == u"0") return u"(" + b + u")";
  if (a == b) return Short(a) ? u"2*" + a : u"2*(" + a + u")";
  // A folded negative number (the derivative of 3-x is -1) is subtracted: a "+" directly before
  // its sign would be a double operator.
  if (!b.empty() && b[0] == u'-') {
    return IsNumericStr(b) ? u"(" + a + b + u")" : u"(" + a + u"+(" + b + u"))";
  }
  return u"(" + a + u"+" + b + u")";
}

rt::Text MakeDifference(const rt::Text& a, const rt::Text& b) {
  if (IsNumericStr(a) && IsNumericStr(b)) return rt::Str(rt::Val(a) - rt::Val(b));
  if (a == b) return u"0";
  if (b == u"0") return Short(a) ? a : u"(" + a + u")";
  if (a == u"0") return Short(b) ? u"(0-" + b + u")" : u"(0-(" + b + u"))";
  if (Short(a) && Short(b)) return u"(" + a + u"-" + b + u")";
  return u"((" + a + u")-(" + b + u"))";
}

rt::Text MakeProduct(const rt::Text& a, const rt::Text& b) {
  if (IsNumericStr(a) && IsNumericStr(b)) return rt::Str(rt::Val(a) * rt::Val(b));
  if (a == u"1") return Short(b) ? b : u"(" + b + u")";
  if (a == u"-1") return Short(b) ? u"(0-" + b + u")" : u"(0-(" + b + u"))";
  if (b == u"1") return Short(a) ? a : u"(" + a + u")";
  if (b == u"-1") return Short(a) ? u"(0-" + a + u")" : u"(0-(" + a + u"))";
  if (Short(a) && Short(b)) return u"(" + a + u"*" + b + u")";
  return u"(" + a + u")*(" + b + u")";
}

rt::Text MakeQuotient(const rt::Text& a, const rt::Text& b) {
  if (IsNumericStr(a) && IsNumericStr(b)) {
    const double bv = rt::Val(b);
    if (bv == 0) return a + u"/0";
    return rt::Str(rt::Val(a) / bv);
  }
  if (a == u"0") return u"0";
  if (b == u"1") return Short(a) ? a : u"(" + a + u")";
  if (Short(a) && Short(b)) return u"(" + a + u"/" + b + u")";
  return u"(" + a + u")/(" + b + u")";
}

rt::Text MakeSquare(const rt::Text& a) {
  if (IsNumericStr(a)) {
    const double v = rt::Val(a);
    return rt::Str(v * v);
  }
  if (Short(a)) return a + u"^2";
  return u"(" + a + u")*(" + a + u")";
}

rt::Text MakePower(const rt::Text& a, const rt::Text& b) {
  if (a == u"0") return u"0";
  if (b == u"0") return u"1";
  if (b == u"1") {
    if (Short(a)) return a;
    if (a == u"-1") return u"-1";
    return u"(" + a + u")";
  }
  if (Short(a) && Short(b)) return a + u"^" + b;
  if (Short(a)) return a + u"^(" + b + u")";
  if (Short(b)) return u"(" + a + u")^" + b;
  return u"(" + a + u")^(" + b + u")";
}

// The logarithm is written as its token, so that a later pass (a higher derivative) sees a
// built-in function it can differentiate.
rt::Text MakeLn(const rt::Text& a) {
  return Call(Builtin::Ln, a);
}

rt::Text PowerRuleTerm(const rt::Text& a, const rt::Text& n) {
  if (a == u"0") return u"0";
  if (IsNumericStr(n)) {
    const double nv = rt::Val(n);
    if (nv == 1) return u"1";
    if (nv == 2) {
      if (Short(a)) return a;
      if (a == u"-1") return u"-1";
      return u"(" + a + u")";
    }
    if (nv == 3 && (a == u"1" || a == u"-1")) return u"1";
    const rt::Text m = rt::Str(nv - 1);
    return Short(a) ? a + u"^(" + m + u")" : u"(" + a + u")^(" + m + u")";
  }
  return Short(a) ? a + u"^(" + n + u"-1)" : u"(" + a + u")^(" + n + u"-1)";
}

// ---------------------------------------------------------------------------------------------
// Differentiation and the Diff[ driver

int16_t Differentiate(const rt::Text& e, const rt::Text& x, rt::Text& derivative) {
  int16_t msgNo = 0;
  derivative = Differentiate(e, x, msgNo, 0);
  return msgNo;
}

namespace {

// A number behind signs and brackets, as a negative constant leaves a point such as -k1:
// "-(-2)" is 2, "+(-(3))" is -3, and "(0-2)", the reader's form of "(-2)", is -2. Any other text
// comes back unchanged.
rt::Text FoldSigns(const rt::Text& t) {
  bool negative = false;
  size_t from = 0, to = t.size();
  for (;;) {
    if (to - from >= 2 && t[from] == u'0' && (t[from + 1] == u'+' || t[from + 1] == u'-')) {
      ++from;
    } else if (from < to && (t[from] == u'+' || t[from] == u'-')) {
      negative = negative != (t[from] == u'-');
      ++from;
    } else if (to - from >= 2 && t[from] == u'(' && t[to - 1] == u')') {
      ++from;
      --to;
    } else {
      break;
    }
  }
  const rt::Text number = t.substr(from, to - from);
  if (number.empty() || !IsNumericStr(number)) return t;
  return negative ? u"-" + number : number;
}

}  // namespace

int16_t ParseDiffOrder(const rt::Text& text, long pos, long& rawLength, rt::Text& point) {
  point.clear();
  const long close = rt::InStr(pos, text, u"]");
  if (pos < 1 || close == 0) return kMsgDiffNoClose;
  rawLength = close - pos;
  rt::Text cleaned;
  if (const int16_t msgNo = CleanExpr(rt::Mid(text, pos, rawLength), cleaned); msgNo != 0) {
    return msgNo;
  }
  if (!IsNumericStr(cleaned)) cleaned = FoldSigns(cleaned);
  if (!IsNumericStr(cleaned)) return kMsgDiffBadPoint;
  point = cleaned;
  return 0;
}

namespace {

// The point after "|" at position bar: a constant identifier (a lower-case letter, one more
// character and "]") or a number up to "]". Sets the position of the closing "]".
[[nodiscard]] int16_t ParsePoint(const rt::Text& text, long bar, int16_t& form,
                                 int16_t identifierForm, rt::Text& point, long& callEnd) {
  if (IsLower(rt::CharAt(text, bar + 1)) && rt::CharAt(text, bar + 3) == u']') {
    form = identifierForm;
    point = rt::Mid(text, bar + 1, 2);
    callEnd = bar + 3;
    return 0;
  }
  long length = 0;
  if (const int16_t msgNo = ParseDiffOrder(text, bar + 1, length, point); msgNo != 0) return msgNo;
  form = static_cast<int16_t>(identifierForm + 1);
  callEnd = bar + length + 1;
  return 0;
}

}  // namespace

int16_t ParseDiffArgs(const rt::Text& text, long q, int16_t& form, rt::Text& point, int16_t& order,
                      long& callEnd) {
  const char16_t c = rt::CharAt(text, q);
  order = 1;
  point.clear();
  if (c == u']') {
    form = 1;
    callEnd = q;
    return 0;
  }
  if (c == u'|') return ParsePoint(text, q, form, 2, point, callEnd);
  if (c != u',') return kMsgDiffAfterVariable;
  const char16_t n = rt::CharAt(text, q + 1);
  if (!IsDigit(n)) return kMsgDiffOrderNotDigit;
  if (n == u'0') return kMsgDiffOrderRange;
  order = static_cast<int16_t>(n - u'0');
  const char16_t after = rt::CharAt(text, q + 2);
  if (after == u']') {
    form = 4;
    callEnd = q + 2;
    return 0;
  }
  if (after == u'|') return ParsePoint(text, q + 2, form, 5, point, callEnd);
  // A second digit makes the order 10 or more; anything else is not an order.
  return IsDigit(after) ? kMsgDiffOrderRange : kMsgDiffOrderNotDigit;
}

int16_t ProcessDiff(const rt::Text& expression, rt::Text& result) {
  rt::Text t;
  int16_t msgNo = CleanExpr(expression, t);
  if (msgNo != 0) return msgNo;
  long start = 1;
  for (;;) {
    const long p = rt::InStr(start, t, u"Diff[");
    if (p == 0) break;
    // The identifier after "Diff[" has two, three or four characters and ends at a comma.
    long idLength = 4;
    if (rt::CharAt(t, p + 7) == u',') {
      idLength = 2;
    } else if (rt::CharAt(t, p + 8) == u',') {
      idLength = 3;
    }
    if (rt::CharAt(t, p + 5 + idLength) != u',') return kMsgDiffComma;
    const rt::Text id = rt::Mid(t, p + 5, idLength);
    const long varPos = p + 5 + idLength + 1;
    const char16_t var = rt::CharAt(t, varPos);
    if (!IsLower(var)) return kMsgDiffVariable;
    const long q = varPos + 1;
    const char16_t tail = rt::CharAt(t, q);
    if (tail != u']' && tail != u',' && tail != u'|') return kMsgDiffAfterVariable;
    rt::Text firstParm;
    int16_t index = 0;
    msgNo = FindFunction(id, firstParm, index);
    if (msgNo != 0) return msgNo;
    if (index < 1 || index > kMaxFunctions) return 57;
    int16_t form = 0;
    int16_t order = 1;
    rt::Text point;
    long callEnd = 0;
    msgNo = ParseDiffArgs(t, q, form, point, order, callEnd);
    if (msgNo != 0) return msgNo;

    const rt::Text variable(1, var);
    rt::Text d;
    msgNo = CleanExpr(Tables.FuncTable[static_cast<size_t>(index)].Expr, d);
    if (msgNo != 0) return msgNo;
    for (int k = 0; k < order; ++k) {
      msgNo = Differentiate(d, variable, d);
      if (msgNo != 0) return msgNo;
      msgNo = CleanExpr(d, d);
      if (msgNo != 0) return msgNo;
    }
    if (form == 2 || form == 3 || form == 5 || form == 6) d = SubstituteVar(d, variable, point);
    const rt::Text inserted = u"(" + d + u")";
    t = rt::Left(t, p - 1) + inserted + rt::Mid(t, callEnd + 1);
    start = p + static_cast<long>(inserted.size());
  }
  msgNo = CleanExpr(t, t);
  if (msgNo != 0) return msgNo;
  DetokenizeNames(t, t);
  // Spelled out, the names make the text longer: one the simplifier would refuse at the next
  // compile is refused here, at the statement that asked for the derivative.
  if (static_cast<long>(t.size()) > kMaxSimplifyLength) return kMsgSimplifyTooLong;
  result = t;
  return 0;
}

}  // namespace ms
