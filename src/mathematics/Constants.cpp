#include "mathematics/Constants.h"

#include <charconv>
#include <cmath>

#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Definitions.h"
#include "mathematics/Evaluator.h"
#include "mathematics/VectorOperations.h"

namespace ms {

namespace {

using rt::IsLower;
using rt::IsUpper;

bool IsNumberChar(char16_t c) {
  return rt::IsDigit(c) || c == u'.' || c == u'+' || c == u'E' || c == u'-';
}

// Compiles the whole function table with one temporary record after the last and evaluates it. On
// every exit FuncCount is restored and the temporary slot cleared. Success: value and, when wanted,
// the expression as the compile left it.
int16_t EvaluateThroughTemporary(const Text& name, const Text& parm1, const Text& parm2,
                                 const Text& expr, double& value, Text* compiledExpr,
                                 Text* code = nullptr) {
  const int16_t savedCount = Tables.FuncCount;
  int16_t msgNo = 0;
  const int16_t index = AppendFunction(msgNo);
  if (msgNo != 0) return msgNo;
  FuncRec& temp = Tables.FuncTable[index];
  temp = FuncRec{};
  temp.Name = name;
  temp.Parm1 = parm1;
  temp.Parm2 = parm2;
  temp.Expr = expr;

  Text text = expr;
  msgNo = CompileFunctions(text);
  if (msgNo == 0 && code != nullptr) *code = Tables.FuncTable[index].Code;
  if (msgNo == 0) msgNo = EvaluateFunctions();
  if (msgNo == 0) {
    value = Tables.FuncTable[index].Value;
    if (compiledExpr != nullptr) *compiledExpr = Tables.FuncTable[index].Expr;
  }
  Tables.FuncTable[index] = FuncRec{};
  Tables.FuncCount = savedCount;
  return msgNo;
}

size_t MatchingBrace(const Text& s, size_t open) {
  int depth = 0;
  for (size_t j = open; j < s.size(); ++j) {
    if (s[j] == u'{') ++depth;
    if (s[j] == u'}' && --depth == 0) return j;
  }
  return Text::npos;
}

// Every user function call F_{...} up to its matching "}" wrapped in parentheses, calls nested in
// its arguments as well; a call whose braces do not close is copied as it stands.
Text WrapCalls(const Text& s) {
  Text out;
  size_t i = 0;
  while (i < s.size()) {
    if (IsUpper(s[i]) && i + 2 < s.size() && s[i + 2] == u'{') {
      size_t close = MatchingBrace(s, i + 2);
      if (close != Text::npos) {
        out += u"(" + s.substr(i, 3) + WrapCalls(s.substr(i + 3, close - i - 3)) + u"})";
        i = close + 1;
        continue;
      }
    }
    out += s[i];
    ++i;
  }
  return out;
}

// Replaces the component reference at i (identifier, ".", letter, "_", "|", argument) in the
// expression; i moves past the argument.
int16_t ResolveReference(const Text& e, size_t& i, Text& out) {
  int16_t msgNo = 0;
  int16_t vec = 0;
  msgNo = FindVector(e.substr(i, 2), vec);
  if (msgNo != 0) return msgNo;
  if (i + 5 >= e.size() || e[i + 5] != u'|') {
    return 630;
  }
  const VecRec& v = Tables.VecTable[vec];
  Text component;
  switch (e[i + 3]) {
    case u'x':
      component = v.XExpr;
      break;
    case u'y':
      component = v.YExpr;
      break;
    case u'z':
      component = v.ZExpr;
      break;
    default:
      return 620;
  }
  Text wrapped;
  TokenizeNames(u"(" + component + u")", wrapped);

  size_t p = i + 6;
  bool negative = false;
  if (p < e.size() && e[p] == u'-') {
    negative = true;
    ++p;
  }
  Text value;
  if (p < e.size() && IsLower(e[p])) {
    Text id = e.substr(p, 2);
    msgNo = CheckConstantDefined(id);
    if (msgNo != 0) return msgNo;
    value = negative ? u"(-" + id + u")" : id;
    p += 2;
  } else {
    if (p >= e.size() || !IsNumberChar(e[p])) {
      return 376;
    }
    size_t q = p;
    while (q < e.size() && IsNumberChar(e[q])) ++q;
    Text number = e.substr(p, q - p);
    if (!rt::IsNumeric(number)) {
      return 375;
    }
    value = (negative ? u"(-" : u"(") + number + u")";
    p = q;
  }
  out += ReplaceParameterLetter(wrapped, v.Parm, value);
  i = p;
  return msgNo;
}

}  // namespace

Text ValueToText(double value) {
  if (std::isnan(value)) return u"0";
  if (std::isinf(value)) return value > 0 ? u"1E+20" : u"-1E+20";
  if (value == 0) return u"0";
  return rt::RoundTripText(value);
}

int16_t EvaluateAssignment(const Text& text, Text& valueText) {
  int16_t msgNo = 0;
  const Text name = rt::Left(text, 2);
  const Text expr = rt::Mid(text, 4);
  if (Tables.ConstCount >= kMaxConstants) {
    return kMsgConstantsFull;
  }
  double value = 0;
  Text compiled;
  msgNo = EvaluateThroughTemporary(u"Xx", u"t", u"x", expr, value, &compiled);
  if (msgNo != 0) return msgNo;
  const Text number = ValueToText(value);
  const int16_t index = AppendConstant(msgNo);
  if (msgNo != 0) return msgNo;
  ConstRec& rec = Tables.ConstTable[index];
  rec = ConstRec{};
  rec.Name = name;
  rec.Expr = compiled;
  rec.ValueText = u"(" + number + u")";
  valueText = name + u"=" + number;
  return msgNo;
}

int16_t CompileExpressionCode(const Text& expression, Text& code) {
  int16_t msgNo = 0;
  double value = 0;
  msgNo = EvaluateThroughTemporary(u"Xx", u"t", u"x", expression, value, nullptr, &code);
  if (msgNo == kMsgUndefinedName) msgNo = 0;
  return msgNo;
}

int16_t EvaluateText(const Text& text, Text& valueText) {
  int16_t msgNo = 0;
  if (rt::IsNumeric(text)) {
    valueText = text;
    return msgNo;
  }
  double value = 0;
  msgNo = EvaluateThroughTemporary(u"X$", u"x", u"", text, value, nullptr);
  if (msgNo != 0) return msgNo;
  valueText = ValueToText(value);
  return msgNo;
}

int16_t CheckConstantHeader(const Text& statement) {
  int depth = 0;
  for (size_t i = 0; i < statement.size(); ++i) {
    char16_t c = statement[i];
    if (IsUpper(c) && i + 2 < statement.size() && statement[i + 2] == u'{') ++depth;
    if (c == u'}') --depth;
    if (c == u',' && depth <= 0) {
      return 418;
    }
  }
  return 0;
}

int16_t ProcessConstantStatement(const Text& statement) {
  int16_t msgNo = 0;
  Text s;
  TokenizeNames(statement, s);
  msgNo = CheckConstantHeader(s);
  if (msgNo != 0) return msgNo;

  const Text e = rt::Mid(s, 4);
  Text out;
  size_t i = 0;
  while (i < e.size()) {
    if (IsUpper(e[i]) && i + 2 < e.size() && e[i + 2] == u'.') {
      msgNo = ResolveReference(e, i, out);
      if (msgNo != 0) return msgNo;
      continue;
    }
    out += e[i];
    ++i;
  }
  const Text rebuilt = rt::Left(s, 2) + u"=" + WrapCalls(out);
  Text valueText;
  return EvaluateAssignment(rebuilt, valueText);
}

}  // namespace ms
