#include "mathematics/CompileCode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "language/Simplify.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/Derivatives.h"
#include "mathematics/Evaluator.h"

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
// What the compile knows of record k from its last compile, so that a record that comes back as
// it left (or with the one pair of parentheses a definition statement puts around every body)
// costs one comparison instead of the whole road:
//  - out: the text the record held when its last compile ended;
//  - settled[0] / settled[1]: that text, given bare / in one pair of parentheses, went through
//    every stage unchanged (tokens, constants, no call, no brace, no Diff[) up to the derivative
//    stage, which gave out back;
//  - in: another text (the one a record is made with) that went through those stages unchanged
//    and gave out, so that the next Execute of the same worksheet finds it settled at once;
//  - namePairs, inPairs: the two-character names out and in hold (a lower-case letter and its
//    successor), so that a new constant is substituted only into the records that mention it;
//  - the code compiled from out after counter literals, and the literals it stores.
struct RecordSlot {
  rt::Text out;
  bool settled[2] = {false, false};
  rt::Text in;
  std::vector<uint32_t> namePairs;
  std::vector<uint32_t> inPairs;
  bool codeValid = false;
  int32_t codeCounter = 0;
  rt::Text code;
  std::vector<ValueRec> literals;
  // The record's Code was last written by the code generation with this code. Only the code
  // generation writes Code; everywhere else a record is only ever reset to an empty one, which
  // the length tells apart. This spares comparing long codes at every statement.
  bool codeInRecord = false;
};

// A constant's value text that tokens leave as it is, and whether it holds a letter other than
// an exponent mark (which makes it no number).
struct ConstSlot {
  rt::Text text;
  bool letter = false;
};

bool HoldsLetter(const rt::Text& s) {
  return std::any_of(s.begin(), s.end(),
                     [](char16_t ch) { return rt::CharIs(ch, u"[a-d,f-z,A-D,F-Z]"); });
}

struct StageMemo {
  bool enabled = true;
  std::unordered_map<rt::Text, DerivativeResult> derivative;
  std::unordered_map<rt::Text, CodeResult> code;
  std::vector<RecordSlot> slots;     // by FuncTable index
  std::vector<ConstSlot> constants;  // by ConstTable index
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

// Whether two texts are equal, compared as bytes (the long texts of vector components make this
// the compile's main cost for a settled record).
bool SameText(rt::TextView a, rt::TextView b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

RecordSlot& Slot(int16_t k) {
  std::vector<RecordSlot>& slots = Memo().slots;
  if (slots.size() <= static_cast<size_t>(k)) slots.resize(static_cast<size_t>(k) + 1);
  return slots[static_cast<size_t>(k)];
}

uint32_t PairKey(char16_t a, char16_t b) {
  return (static_cast<uint32_t>(a) << 16) | b;
}

// The distinct two-character names a text holds: every lower-case letter with its successor.
// The text in parentheses adds the pair of its last character and ")".
std::vector<uint32_t> NamePairsOf(const rt::Text& s) {
  std::vector<uint32_t> pairs;
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsLower(s[i])) pairs.push_back(PairKey(s[i], i + 1 < s.size() ? s[i + 1] : u')'));
  }
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
  return pairs;
}

// Whether a constant's value goes into the bodies that name it. The result constant of an
// integral whose computation has not ended holds a placeholder, not a value of this run: a body
// keeps its name, as it keeps the name of a constant defined further down, until the value is
// there.
bool HasValue(const ConstRec& c) {
  return !c.Name.empty() && !c.NotComputed;
}

// The names SubstituteConstants replaces: every constant up to the first locked one, in table
// order. A text in which none of them occurs comes out of the substitution as it went in.
class ConstantNames {
 public:
  ConstantNames() {
    const int16_t count = ConstantCount();
    for (int16_t k = 1; k <= count; ++k) {
      const ConstRec& c = Tables.ConstTable[static_cast<size_t>(k)];
      if (c.Locked != 0) break;
      if (!HasValue(c)) continue;
      if (c.Name.size() == 2 && IsLower(c.Name[0])) {
        pairs_.push_back(PairKey(c.Name[0], c.Name[1]));
        byPair_.push_back({PairKey(c.Name[0], c.Name[1]), k});
      } else {
        others_.push_back(c.Name);
      }
    }
    std::sort(pairs_.begin(), pairs_.end());
    std::sort(byPair_.begin(), byPair_.end());
  }
  // Whether every name is a pair, so that NextIn finds every constant that occurs.
  bool OnlyPairs() const { return others_.empty(); }
  // The first constant after table index `after` whose name occurs in s, or 0.
  int16_t NextIn(const rt::Text& s, int16_t after) const {
    int16_t next = 0;
    for (size_t i = 0; i + 1 < s.size(); ++i) {
      if (!IsLower(s[i])) continue;
      const std::pair<uint32_t, int16_t> from{PairKey(s[i], s[i + 1]), after + 1};
      const auto it = std::lower_bound(byPair_.begin(), byPair_.end(), from);
      if (it != byPair_.end() && it->first == from.first && (next == 0 || it->second < next)) {
        next = it->second;
      }
    }
    return next;
  }
  // Whether some name occurs in s.
  bool AnyIn(const rt::Text& s) const {
    for (size_t i = 0; i + 1 < s.size() && !pairs_.empty(); ++i) {
      if (IsLower(s[i]) && Has(PairKey(s[i], s[i + 1]))) return true;
    }
    return std::any_of(others_.begin(), others_.end(),
                       [&](const rt::Text& n) { return s.find(n) != rt::Text::npos; });
  }
  // Whether some name is among a text's name pairs (only when every name is such a pair).
  bool AnyOf(const std::vector<uint32_t>& namePairs) const {
    if (!others_.empty()) return true;
    return std::any_of(namePairs.begin(), namePairs.end(), [&](uint32_t p) { return Has(p); });
  }

 private:
  bool Has(uint32_t pair) const { return std::binary_search(pairs_.begin(), pairs_.end(), pair); }
  std::vector<uint32_t> pairs_;
  std::vector<std::pair<uint32_t, int16_t>> byPair_;  // each pair name with its table index
  std::vector<rt::Text> others_;
};

// 0 when s is the slot's text, 1 when it is that text in one pair of parentheses, 2 when it is
// the slot's other settled text, else -1.
int Variant(const RecordSlot& slot, const rt::Text& s) {
  const rt::Text& out = slot.out;
  if (SameText(s, out)) return 0;
  if (s.size() == out.size() + 2 && s.front() == u'(' && s.back() == u')' &&
      SameText(rt::TextView(s).substr(1, out.size()), out)) {
    return 1;
  }
  if (!slot.in.empty() && SameText(s, slot.in)) return 2;
  return -1;
}

// Variant for record f of slot: read from what the record knows of its text when it can be.
int KnownVariant(const RecordSlot& slot, const FuncRec& f) {
  const int wraps = f.ExprWraps;
  if ((wraps == 0 || wraps == 1) && f.Expr.size() == slot.out.size() + 2 * wraps) return wraps;
  return Variant(slot, f.Expr);
}

// Whether the text of variant v takes the short road with the constants as they are now.
bool Settled(const RecordSlot& slot, int v, const ConstantNames& names) {
  if (v == 2) return !names.AnyOf(slot.inPairs) && !names.AnyOf(slot.namePairs);
  return v >= 0 && slot.settled[v] && !names.AnyOf(slot.namePairs);
}

// One compile of the table: which records take the short road, and for the others the text each
// began with (kept only while the memo is on).
struct CompilePass {
  std::vector<int8_t> variant;  // -1: the whole road; else the settled variant (see Variant)
  std::vector<rt::Text> input;
  bool learn;  // the pass runs every stage, so what the records went through can be learnt
  CompilePass(int16_t funcs, bool learnFromIt)
      : variant(static_cast<size_t>(funcs) + 1, -1),
        input(static_cast<size_t>(funcs) + 1),
        learn(learnFromIt && Memo().enabled) {}
  bool Short(int16_t k) const {
    return static_cast<size_t>(k) < variant.size() && variant[static_cast<size_t>(k)] >= 0;
  }
  int Variant(int16_t k) const { return Short(k) ? variant[static_cast<size_t>(k)] : -1; }
  bool Learns(int16_t k) const { return learn && static_cast<size_t>(k) < input.size(); }
  // Whether record k began as it reached the point of the question (text).
  bool Began(int16_t k, const rt::Text& text) const {
    return Learns(k) && SameText(input[static_cast<size_t>(k)], text);
  }
};

void Substitute(const ConstantNames& names, const rt::Text& expression, rt::Text& result) {
  if (!names.AnyIn(expression)) {
    result = expression;
    return;
  }
  // A value text that is not one group of its own (a negative root, an integral) goes in
  // parentheses, so that x*c with c = -0.5 reads x*(-0.5).
  const auto replace = [](rt::Text& s, const ConstRec& c) {
    s = rt::Replace(s, c.Name, IsOneGroup(c.ValueText) ? c.ValueText : u"(" + c.ValueText + u")");
  };
  rt::Text s = expression;
  if (names.OnlyPairs()) {
    // Table order, as below, but only the constants that occur in the text as it stands when
    // their turn comes: a text costs a scan per name it holds, not one per constant.
    for (int16_t k = names.NextIn(s, 0); k != 0; k = names.NextIn(s, k)) {
      replace(s, Tables.ConstTable[static_cast<size_t>(k)]);
    }
    result = std::move(s);
    return;
  }
  const int16_t count = ConstantCount();
  for (int16_t k = 1; k <= count; ++k) {
    const ConstRec& c = Tables.ConstTable[static_cast<size_t>(k)];
    if (c.Locked != 0) break;
    if (!HasValue(c)) continue;
    replace(s, c);
  }
  result = s;
}

// The value texts of the constants in tokens; a text already seen to come back unchanged is not
// read again.
void TokenizeConstants() {
  const int16_t consts = ConstantCount();
  std::vector<ConstSlot>& known = Memo().constants;
  if (Memo().enabled && known.size() <= static_cast<size_t>(consts)) {
    known.resize(static_cast<size_t>(consts) + 1);
  }
  for (int16_t k = 1; k <= consts; ++k) {
    ConstRec& c = Tables.ConstTable[static_cast<size_t>(k)];
    if (Memo().enabled && SameText(c.ValueText, known[static_cast<size_t>(k)].text)) continue;
    rt::Text tokenized;
    TokenizeNames(c.ValueText, tokenized);
    if (Memo().enabled && SameText(tokenized, c.ValueText)) {
      known[static_cast<size_t>(k)] = ConstSlot{tokenized, HoldsLetter(tokenized)};
    }
    c.ValueText = std::move(tokenized);
  }
}

// The first constant up to the first locked one whose value text is no number, or 0.
int16_t FirstNonNumber() {
  const int16_t consts = ConstantCount();
  const std::vector<ConstSlot>& known = Memo().constants;
  for (int16_t k = 1; k <= consts; ++k) {
    const ConstRec& c = Tables.ConstTable[static_cast<size_t>(k)];
    if (c.Locked != 0) continue;
    const bool seen = Memo().enabled && static_cast<size_t>(k) < known.size() &&
                      SameText(c.ValueText, known[static_cast<size_t>(k)].text);
    if (seen ? known[static_cast<size_t>(k)].letter : HoldsLetter(c.ValueText)) return k;
  }
  return 0;
}

int16_t Prepare(rt::Text& text, CompilePass& pass) {
  int16_t msgNo = 0;
  const int16_t funcs = FunctionCount();
  const ConstantNames names;
  for (int16_t k = 1; k <= funcs; ++k) {
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    if (Memo().enabled && static_cast<size_t>(k) < pass.variant.size()) {
      const RecordSlot& slot = Slot(k);
      const int v = KnownVariant(slot, f);
      if (Settled(slot, v, names)) {
        pass.variant[static_cast<size_t>(k)] = static_cast<int8_t>(v);
        continue;
      }
      if (pass.learn) pass.input[static_cast<size_t>(k)] = f.Expr;
    }
    f.ExprWraps = -1;
    TokenizeNames(f.Expr, f.Expr);
  }
  TokenizeConstants();
  if (const int16_t bad = FirstNonNumber(); bad != 0) {
    text = Tables.ConstTable[static_cast<size_t>(bad)].ValueText;
    return kMsgConstantNotNumber;
  }
  for (int16_t k = 1; k <= funcs; ++k) {
    if (pass.Short(k)) continue;
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    Substitute(names, f.Expr, f.Expr);
  }
  return msgNo;
}

// After the derivative stage of a record that took the whole road: the slot learns its text, and
// whether the text it began with (bare or in parentheses) gave that text through unchanged stages.
void Learn(int16_t k, const rt::Text& input, bool unchangedToDerivative) {
  const rt::Text& result = Tables.FuncTable[static_cast<size_t>(k)].Expr;
  RecordSlot& slot = Slot(k);
  if (!SameText(slot.out, result)) {
    slot = RecordSlot{};
    slot.out = result;
    slot.namePairs = NamePairsOf(result);
  }
  Tables.FuncTable[static_cast<size_t>(k)].ExprWraps = 0;
  if (!unchangedToDerivative || result.find(kDiffToken) != rt::Text::npos) return;
  const int v = Variant(slot, input);
  if (v == 0 || v == 1) {
    slot.settled[v] = true;
  } else if (v < 0) {
    slot.in = input;
    slot.inPairs = NamePairsOf(input);
  }
}

}  // namespace

void SetCompileMemoEnabled(bool enabled) {
  ClearCompileMemo();
  Memo().enabled = enabled;
}

void ClearCompileMemo() {
  Memo().derivative.clear();
  Memo().code.clear();
  Memo().slots.clear();
  Memo().constants.clear();
  Memo().chars = 0;
  // The records' texts are no longer known as the texts of slots.
  for (FuncRec& f : Tables.FuncTable) f.ExprWraps = -1;
}

// ---------------------------------------------------------------------------------------------
// Preparation

void SubstituteConstants(const rt::Text& expression, rt::Text& result) {
  Substitute(ConstantNames(), expression, result);
}

int16_t PrepareFunctions(rt::Text& text) {
  CompilePass pass(FunctionCount(), false);
  return Prepare(text, pass);
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

int16_t SubstituteArguments(const rt::Text& expression, int16_t recordIndex, size_t open,
                            rt::Text& body, size_t& close) {
  if (recordIndex < 1 || recordIndex > FunctionCount()) {
    return kMsgFunctionNotFound;
  }
  const FuncRec& callee = Tables.FuncTable[static_cast<size_t>(recordIndex)];
  const size_t n = expression.size();
  // A name without "{" (a function used as a plain operand) runs away like an endless argument.
  if (open >= n || expression[open] != u'{') {
    return kMsgArgumentOverflow;
  }
  // The arguments, separated by commas at the call's own level; brackets inside an argument
  // (a Diff[ call, a built-in function) keep their commas.
  std::vector<rt::Text> args;
  size_t j = open + 1;
  size_t argStart = j;
  int nesting = 0;
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
  rt::Text out;
  out.reserve(body0.size() * 2);
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
      out += c;
    } else {
      out += u"(" + args[static_cast<size_t>(hit)] + u")";
      // A body that alone passes the length an expansion may have stops at once.
      if (static_cast<long>(out.size()) > kMaxExpandedLength) return kMsgExpressionTooLong;
    }
  }
  for (int p = 1; p < parms; ++p) out = u"(" + out + u")";
  body = std::move(out);
  return 0;
}

int16_t ExpandFunctionCalls(const rt::Text& expression, int16_t recordIndex, int16_t& position,
                            rt::Text& result) {
  if (position < 1) {
    return recordIndex < 1 || recordIndex > FunctionCount() ? kMsgFunctionNotFound
                                                            : kMsgArgumentOverflow;
  }
  const size_t at = static_cast<size_t>(position) - 1;  // the identifier's first character
  rt::Text body;
  size_t close = 0;
  const int16_t msgNo = SubstituteArguments(expression, recordIndex, at + 2, body, close);
  if (msgNo != 0) return msgNo;
  rt::Text out = expression.substr(0, at) + body + expression.substr(close + 1);
  if (static_cast<long>(out.size()) > kMaxExpandedLength) {
    return kMsgExpressionTooLong;
  }
  AddResultLine(out);
  result = std::move(out);
  return 0;
}

namespace {

int16_t Expand(CompilePass& pass) {
  int16_t msgNo = 0;
  const int16_t funcs = FunctionCount();
  if (funcs == 0) return msgNo;
  // Whole-road records whose text reached the derivative stage as it began.
  std::vector<bool> unchanged(static_cast<size_t>(funcs) + 1, false);
  for (int16_t k = 1; k <= funcs; ++k) {
    if (pass.Short(k)) continue;
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    f.ExprWraps = -1;
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
    unchanged[static_cast<size_t>(k)] = pass.Began(k, f.Expr);
  }
  for (int16_t k = 1; k <= funcs; ++k) {
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    if (pass.Short(k)) {
      // Settled: the stage gives the slot's text.
      if (pass.Variant(k) == 1) {
        f.Expr.pop_back();
        f.Expr.erase(0, 1);
      } else if (pass.Variant(k) == 2) {
        f.Expr = Memo().slots[static_cast<size_t>(k)].out;
      }
      f.ExprWraps = 0;
      continue;
    }
    // A Diff[ call reads other records, and a text too long for Simplify gets its box: neither
    // is kept.
    const bool noDiff = f.Expr.find(kDiffToken) == rt::Text::npos;
    const bool keep =
        Memo().enabled && noDiff && static_cast<long>(f.Expr.size()) < kMaxSimplifyLength / 2;
    rt::Text key;
    if (keep) {
      key = DerivativeKey(f.Expr);
      const auto hit = Memo().derivative.find(key);
      if (hit != Memo().derivative.end()) {
        f.Expr = hit->second.expr;
        if (pass.Learns(k)) Learn(k, pass.input[static_cast<size_t>(k)], unchanged[k]);
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
    if (pass.Learns(k)) Learn(k, pass.input[static_cast<size_t>(k)], noDiff && unchanged[k]);
  }
  return msgNo;
}

}  // namespace

int16_t ExpandDerivatives() {
  CompilePass pass(FunctionCount(), false);
  return Expand(pass);
}

// ---------------------------------------------------------------------------------------------
// Code generation

namespace {

// ValueTop set to top, the rows above it counted as used.
void LowerValueTop(int32_t top) {
  Tables.ValueRowsUsed = std::max({Tables.ValueRowsUsed, Tables.ValueTop, top});
  Tables.ValueTop = top;
}

}  // namespace

int16_t TableStore(const rt::Text& literalText, rt::Text& literalName) {
  if (Tables.LiteralCount < 0 || Tables.LiteralCount >= kLastLiteralCounter) {
    return kMsgValuesFull;
  }
  const int32_t k = ++Tables.LiteralCount;
  LowerValueTop(k);
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

namespace {

// The slot's code for record k when it was compiled from the record's text after the same
// literals: the literals stored again and the code set; false when the code must be made.
bool ReuseSlotCode(int16_t k, FuncRec& f, bool textIsSlots) {
  if (!Memo().enabled || static_cast<size_t>(k) >= Memo().slots.size()) return false;
  RecordSlot& slot = Memo().slots[static_cast<size_t>(k)];
  if (!slot.codeValid || slot.codeCounter != Tables.LiteralCount ||
      Tables.LiteralCount + static_cast<int32_t>(slot.literals.size()) >= kLastLiteralCounter ||
      !(textIsSlots || SameText(f.Expr, slot.out))) {
    return false;
  }
  for (const ValueRec& v : slot.literals) {
    const int32_t n = ++Tables.LiteralCount;
    ValueRec& r = Tables.ValueList[static_cast<size_t>(n)];
    if (r.Name != v.Name) r.Name = v.Name;
    r.Value = v.Value;
    LowerValueTop(n);
  }
  if (!(slot.codeInRecord && f.Code.size() == slot.code.size()) && !SameText(f.Code, slot.code)) {
    f.Code = slot.code;
  }
  slot.codeInRecord = true;
  f.Compiled = -1;
  return true;
}

// Record k's Code has just been written other than from its slot: the slot keeps it when it was
// made from the slot's text.
void KeepSlotCode(int16_t k, const FuncRec& f, int32_t counter, int32_t firstLiteral) {
  if (!Memo().enabled || static_cast<size_t>(k) >= Memo().slots.size()) return;
  RecordSlot& slot = Memo().slots[static_cast<size_t>(k)];
  slot.codeInRecord = false;
  if (!SameText(slot.out, f.Expr)) return;
  slot.codeValid = true;
  slot.codeCounter = counter;
  slot.code = f.Code;
  slot.codeInRecord = true;
  slot.literals.assign(Tables.ValueList.begin() + firstLiteral,
                       Tables.ValueList.begin() + Tables.LiteralCount + 1);
}

// pass: the compile whose stages have just left every record it learnt from, or took the short
// road, holding its slot's text.
int16_t GenerateCode(const CompilePass* pass) {
  int16_t msgNo = 0;
  LowerValueTop(1);
  Tables.LiteralCount = 1;
  const int16_t funcs = FunctionCount();
  std::vector<int16_t> priorities;
  for (int16_t k = 1; k <= funcs; ++k) {
    FuncRec& f = Tables.FuncTable[static_cast<size_t>(k)];
    MathVars.ValueSP = 1;
    if (ReuseSlotCode(k, f, pass != nullptr && (pass->Short(k) || pass->Learns(k)))) continue;
    const int32_t counter = Tables.LiteralCount;
    rt::Text key = CodeKey(Tables.LiteralCount, f.Expr);
    const auto hit = Memo().code.find(key);
    if (Memo().enabled && hit != Memo().code.end() &&
        Tables.LiteralCount + static_cast<int32_t>(hit->second.literals.size()) <
            kLastLiteralCounter) {
      for (const ValueRec& v : hit->second.literals) {
        const int32_t n = ++Tables.LiteralCount;
        Tables.ValueList[static_cast<size_t>(n)] = v;
        LowerValueTop(n);
      }
      f.Code = hit->second.code;
      f.Compiled = -1;
      KeepSlotCode(k, f, counter, counter + 1);
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
    KeepSlotCode(k, f, counter, firstLiteral);
  }
  return msgNo;
}

}  // namespace

int16_t CompileAllFunctions() {
  return GenerateCode(nullptr);
}

int16_t CompileFunctions(rt::Text& text) {
  CompilePass pass(FunctionCount(), true);
  int16_t msgNo = Prepare(text, pass);
  if (msgNo != 0) return msgNo;
  msgNo = Expand(pass);
  if (msgNo != 0) return msgNo;
  return GenerateCode(&pass);
}

}  // namespace ms
