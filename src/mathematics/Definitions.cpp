#include "mathematics/Definitions.h"

#include "language/CommandArguments.h"
#include "language/StatementCheck.h"
#include "language/Tokens.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Macros.h"
#include "mathematics/VectorOperations.h"

namespace ms {

namespace {

constexpr int16_t kTrue = -1;
constexpr int kMaxComponentCounter = 999;

using rt::IsLower;
using rt::IsUpper;

bool IsDigitOrDot(char16_t c) {
  return rt::IsDigit(c) || c == u'.';
}

// Scalar-valued vector operations: sDot[, sMag[, sMpy[, sDiv[, sPwr[.
bool IsScalarOpToken(char16_t c) {
  return c == TokenChar(Builtin::SDot) || c == TokenChar(Builtin::SMag) ||
         c == TokenChar(Builtin::SMpy) || c == TokenChar(Builtin::SDiv) ||
         c == TokenChar(Builtin::SPwr);
}

// A definition that is a vector operation: it begins with an operation token (vAdd[ .. vDiv[, vMpy[
// .. vUnit[, vRotx[ .. vTran[, or a comma) or with a user macro call ("v" and a capital).
bool IsOperationText(const Text& d) {
  if (d.empty()) return false;
  char16_t c = d[0];
  if (IsTokenIn(c, Builtin::VAdd, Builtin::VDiv) || IsTokenIn(c, Builtin::VMpy, Builtin::VUnit) ||
      IsTokenIn(c, Builtin::VRotx, Builtin::VTran) || c == u',') {
    return true;
  }
  return c == u'v' && d.size() > 1 && IsUpper(d[1]);
}

const Text& ComponentOf(const VecRec& v, char16_t letter, bool& ok) {
  ok = true;
  if (letter == u'x') return v.XExpr;
  if (letter == u'y') return v.YExpr;
  if (letter == u'z') return v.ZExpr;
  ok = false;
  return v.XExpr;
}

// One component of a list: checked, built and stored as a function record named `name`.
int16_t MakeComponent(VecRec& rec, const Text& raw, const Text& name, Text& funcName, Text& expr) {
  int16_t msgNo = ResolveVectorComponentRef(raw, rec.Parm);
  if (msgNo != 0) return msgNo;
  funcName = raw;
  msgNo = ProcessVectorComponentExpr(raw, rec.Parm, expr);
  if (msgNo != 0) return msgNo;
  int16_t index = AppendFunction(msgNo);
  if (msgNo != 0) return msgNo;
  FuncRec& f = Tables.FuncTable[index];
  f = FuncRec{};
  f.Name = name;
  f.Expr = u"(" + expr + u")";
  f.Parm1 = rec.Parm;
  funcName = name;
  return msgNo;
}

// The position of the bracket that closes the one at open (any kind nests), or npos.
size_t ClosingBracket(const Text& s, size_t open) {
  int depth = 0;
  for (size_t j = open; j < s.size(); ++j) {
    const char16_t c = s[j];
    if (c == u'(' || c == u'[' || c == u'{') ++depth;
    if ((c == u')' || c == u']' || c == u'}') && --depth == 0) return j;
  }
  return Text::npos;
}

// Calls nested deeper than this in one component give 508, as an expression beyond capacity.
constexpr int kMaxComponentCallDepth = 100;

int16_t ComponentExpr(const Text& component, const Text& parameter, int depth, Text& result) {
  int16_t msgNo = 0;
  const Text& s = component;
  const size_t n = s.size();
  const char16_t p = parameter.size() == 1 ? parameter[0] : u'\0';
  Text out;
  size_t i = 0;
  while (i < n) {
    char16_t c = s[i];
    if (c == u'E' && i > 0 && IsDigitOrDot(s[i - 1])) {
      out += c;  // exponent letter
      ++i;
    } else if (IsUpper(c)) {
      // Any identifier, one beginning with "E" included: a function, a call, or a component
      // reference.
      Text id = s.substr(i, 2);
      if (i + 2 < n && s[i + 2] == u'{') {
        // A call: its arguments are built first (they may hold calls and component references),
        // then put into the function's body as the compiler does for a call in a definition.
        if (depth >= kMaxComponentCallDepth) return kMsgExpressionTooLong;
        Text parm;
        int16_t f = 0;
        msgNo = FindFunction(id, parm, f);
        if (msgNo != 0) return msgNo;
        const size_t close = ClosingBracket(s, i + 2);
        if (close == Text::npos) return kMsgArgumentOverflow;
        Text args;
        msgNo = ComponentExpr(s.substr(i + 3, close - i - 3), parameter, depth + 1, args);
        if (msgNo != 0) return msgNo;
        Text body;
        size_t end = 0;
        msgNo = SubstituteArguments(u"{" + args + u"}", f, 0, body, end);
        if (msgNo != 0) return msgNo;
        out += body;
        i = close + 1;
      } else if (i + 2 >= n || s[i + 2] != u'.') {
        Text parm;
        int16_t f = 0;
        msgNo = FindFunction(id, parm, f);
        if (msgNo != 0) return msgNo;
        out += u"(" + Tables.FuncTable[f].Expr + u")";
        i += 2;
      } else {
        int16_t vec = 0;
        msgNo = FindVector(id, vec);
        if (msgNo != 0) return msgNo;
        bool ok = false;
        const Text& comp = ComponentOf(Tables.VecTable[vec], i + 3 < n ? s[i + 3] : u'\0', ok);
        if (!ok) {
          return 316;
        }
        // In parentheses, so that the component keeps its value inside a product or power.
        out += u"(" + comp + u")";
        i += 5;
      }
      if (static_cast<long>(out.size()) > kMaxExpandedLength) return kMsgExpressionTooLong;
    } else if (c == p && p != u'\0') {
      out += c;
      ++i;
    } else if (IsLower(c)) {
      out += s.substr(i, 2);
      i += 2;
    } else {
      out += c;
      ++i;
    }
  }
  result = out;
  return msgNo;
}

}  // namespace

int16_t CheckConstantDefined(const Text& id) {
  int count = Tables.ConstCount;
  if (count > kMaxConstants) count = kMaxConstants;
  for (int k = 1; k <= count; ++k) {
    if (Tables.ConstTable[k].Name == id) {
      return 0;
    }
  }
  return 377;
}

int16_t StoreFunctionDefinition(const Text& statement, int k) {
  int16_t msgNo = 0;
  if (k < 1 || k > 5 || statement.size() < static_cast<size_t>(2 * k + 4)) {
    return 305;
  }
  const int16_t index = AppendFunction(msgNo);
  if (msgNo != 0) return msgNo;
  {
    FuncRec& f = Tables.FuncTable[index];
    f = FuncRec{};
    f.Name = statement.substr(0, 2);
    Text* parms[5] = {&f.Parm1, &f.Parm2, &f.Parm3, &f.Parm4, &f.Parm5};
    for (int j = 1; j <= k; ++j)
      *parms[j - 1] = statement.substr(static_cast<size_t>(1 + 2 * j), 1);
  }

  Text stmt = statement;
  if (k == 1) {
    msgNo = ProcessComponentFunction(statement, stmt);
    if (msgNo != 0) return msgNo;
  }
  Text body = stmt.substr(static_cast<size_t>(2 * k + 4));
  if (k == 1) {
    TokenizeNames(stmt, stmt);
    if (stmt.size() > 6 && IsScalarOpToken(stmt[6])) {
      Text scalarExpr = stmt.substr(6);
      msgNo = ExpandVectorExpr(scalarExpr);
      if (msgNo != 0) return msgNo;
      ConstRec result;
      msgNo = PopScalar(result);
      if (msgNo != 0) return msgNo;
      body = result.ValueText;
    }
  }
  Tables.FuncTable[index].Expr = body;
  Tables.FuncTable[index].Code.clear();
  Tables.FuncTable[index].Compiled = 0;

  Text text = body;
  msgNo = PrepareFunctions(text);
  if (msgNo != 0) return msgNo;
  Text substituted;
  SubstituteConstants(Tables.FuncTable[index].Expr, substituted);
  Tables.FuncTable[index].Expr = k == 1 ? u"(" + substituted + u")" : substituted;
  return msgNo;
}

int16_t ProcessComponentFunction(const Text& statement, Text& rebuilt) {
  int16_t msgNo = 0;
  const Text& s = statement;
  const size_t n = s.size();
  Text r;
  size_t i = 6;  // the body's first character
  while (i < n) {
    bool reference =
        IsUpper(s[i]) && i + 2 < n && (IsLower(s[i + 1]) || s[i + 1] == u'_') && s[i + 2] == u'.';
    if (!reference) {
      r += s[i];
      ++i;
      continue;
    }
    int16_t vec = 0;
    msgNo = FindVector(s.substr(i, 2), vec);
    if (msgNo != 0) return msgNo;
    bool ok = false;
    const Text& component = ComponentOf(Tables.VecTable[vec], i + 3 < n ? s[i + 3] : u'\0', ok);
    if (!ok) {
      return 374;
    }
    Text e;
    TokenizeNames(u"(" + component + u")", e);
    if (i + 5 >= n || s[i + 5] != u'|') {
      r += e;
      i += 5;
      continue;
    }
    // A point value follows the "|": every parameter letter of the component takes it.
    bool negative = false;
    if (i + 6 < n && s[i + 6] == u'-') {
      negative = true;
      ++i;
    }
    Text value;
    if (i + 6 < n && IsLower(s[i + 6])) {
      Text id = s.substr(i + 6, 2);
      msgNo = CheckConstantDefined(id);
      if (msgNo != 0) return msgNo;
      value = negative ? u"(-" + id + u")" : id;
      i += 8;
    } else {
      if (i + 6 >= n || !(IsDigitOrDot(s[i + 6]) || s[i + 6] == u'+' || s[i + 6] == u'-')) {
        return 376;
      }
      size_t q = i + 6;
      while (q < n && (IsDigitOrDot(s[q]) || s[q] == u'+' || s[q] == u'E' || s[q] == u'-')) ++q;
      Text number = s.substr(i + 6, q - (i + 6));
      if (!rt::IsNumeric(number)) {
        return 375;
      }
      value = (negative ? u"(-" : u"(") + number + u")";
      i = q;
    }
    r += ReplaceParameterLetter(e, Tables.VecTable[vec].Parm, value);
  }
  rebuilt = rt::Left(s, 6) + r;
  return msgNo;
}

int16_t StoreVectorDefinition(const Text& statement) {
  int16_t msgNo = 0;
  const int16_t index = AppendVector(msgNo);
  if (msgNo != 0) return msgNo;
  {
    VecRec& v = Tables.VecTable[index];
    v = VecRec{};
    v.Name = rt::Left(statement, 2);
    v.Parm = rt::Mid(statement, 4, 1);
    v.DefText = rt::Mid(statement, 7);
    v.Defined = kTrue;
  }
  if (IsOperationText(Tables.VecTable[index].DefText)) {
    msgNo = ExpandMacros();
    if (msgNo != 0) return msgNo;
  }
  VecRec& v = Tables.VecTable[index];
  TokenizeNames(v.DefText, v.DefText);
  v.IsOperation = IsOperationText(v.DefText) ? kTrue : 0;
  return msgNo;
}

int16_t ProcessVectorDefinition(VecRec& rec) {
  int16_t msgNo = 0;
  if (rec.IsOperation) return msgNo;
  const Text& d = rec.DefText;
  const size_t n = d.size();
  if (n < 2 || d.front() != u'<' || d.back() != u'>') {
    return 309;
  }
  // Every upper-case identifier must be a component reference .x, .y or .z, or a function of at
  // most one parameter. An "E" after a digit or "." is an exponent letter.
  for (size_t i = 0; i < n; ++i) {
    char16_t c = d[i];
    if (c == u'E' && i > 0 && IsDigitOrDot(d[i - 1])) continue;
    if (!IsUpper(c)) continue;
    if (i + 2 < n && d[i + 2] == u'.') {
      char16_t letter = i + 3 < n ? d[i + 3] : u'\0';
      if (letter != u'x' && letter != u'y' && letter != u'z') {
        return 316;
      }
    } else {
      Text parm;
      int16_t f = 0;
      msgNo = FindFunction(d.substr(i, 2), parm, f);
      if (msgNo != 0) return msgNo;
      // Without arguments the function takes the vector's parameter, so it may have only one; a
      // call gives its arguments itself.
      const bool call = i + 2 < n && d[i + 2] == u'{';
      if (!call && !Tables.FuncTable[f].Parm2.empty()) {
        return 667;
      }
    }
  }

  int16_t& counter = VectorStacks.ComponentFuncCounter;
  counter += 1;
  if (counter > kMaxComponentCounter) {
    return 515;
  }
  const Text number = rt::IntText(counter);
  ReleaseComponentRecords(rec);

  const size_t comma1 = CommaOutsideBraces(d, 1);
  if (comma1 == Text::npos || comma1 >= n - 1) {
    return 310;
  }
  msgNo = MakeComponent(rec, d.substr(1, comma1 - 1), u"X" + number, rec.XFuncName, rec.XExpr);
  if (msgNo != 0) return msgNo;

  const size_t comma2 = CommaOutsideBraces(d, comma1 + 1);
  if (comma2 == Text::npos || comma2 >= n - 1) {
    return 310;
  }
  msgNo = MakeComponent(rec, d.substr(comma1 + 1, comma2 - comma1 - 1), u"Y" + number,
                        rec.YFuncName, rec.YExpr);
  if (msgNo != 0) return msgNo;

  Text z = d.substr(comma2 + 1, n - 1 - (comma2 + 1));
  if (z.empty()) {
    return 310;
  }
  return MakeComponent(rec, z, u"Z" + number, rec.ZFuncName, rec.ZExpr);
}

int16_t ResolveVectorComponentRef(const Text& component, const Text& parameter) {
  int16_t msgNo = 0;
  const size_t n = component.size();
  const char16_t p = parameter.size() == 1 ? parameter[0] : u'\0';
  size_t i = 0;
  while (i + 1 < n) {  // positions 1 to length - 1
    char16_t c = component[i];
    if (c == p && p != u'\0') {
      i += 1;
    } else if (IsUpper(c)) {
      i += 2;
    } else if (c == u'.') {
      char16_t next = component[i + 1];
      i += (next == u'x' || next == u'y' || next == u'z') ? 3 : 1;
    } else if (IsLower(c)) {
      msgNo = CheckConstantDefined(component.substr(i, 2));
      if (msgNo != 0) return msgNo;
      i += 2;
    } else {
      i += 1;
    }
  }
  return msgNo;
}

int16_t ProcessVectorComponentExpr(const Text& component, const Text& parameter, Text& result) {
  return ComponentExpr(component, parameter, 0, result);
}

}  // namespace ms
