#include "language/StatementKinds.h"

#include <algorithm>

#include "language/StatementCheckChars.h"
#include "language/WorksheetTables.h"

namespace ms {

using rt::Text;
using rt::TextView;
using namespace syntax;

namespace {

// A constant's expression begins with "-", a letter, a digit, ".", "(" or a scalar function token
// (Sin..Sign, sDot, sMag, Ln..Tanh, Clip..Int); this class matches every other character.
constexpr TokenClass kNotConstantStart = TokenClass(u"!A-Za-z0-9.(")
                                             .Range(Builtin::Sin, Builtin::Sign)
                                             .With(Builtin::SDot)
                                             .With(Builtin::SMag)
                                             .Range(Builtin::Ln, Builtin::Tanh)
                                             .Range(Builtin::Clip, Builtin::Int);
// The same for functions, which may also begin with Diff, sMpy, sDiv and sPwr.
constexpr TokenClass kNotFunctionStart = TokenClass(u"!A-Za-z0-9.(")
                                             .Range(Builtin::Sin, Builtin::Diff)
                                             .With(Builtin::SDot)
                                             .With(Builtin::SMag)
                                             .Range(Builtin::Ln, Builtin::Tanh)
                                             .With(Builtin::SMpy)
                                             .With(Builtin::SDiv)
                                             .With(Builtin::SPwr)
                                             .Range(Builtin::Clip, Builtin::Int);
// Tokens the constant rewrite copies together with their "[".
constexpr TokenClass kConstantPairTokens = TokenClass(u"")
                                               .Range(Builtin::Sin, Builtin::Sign)
                                               .With(Builtin::SDot)
                                               .With(Builtin::SMag)
                                               .With(Builtin::Ln)
                                               .With(Builtin::Alog)
                                               .Range(Builtin::Clip, Builtin::Int);
// Tokens the function and vector-operation rewrites copy together with their "[" (Sin..Alog,
// Clip..Int).
constexpr TokenClass kFunctionPairTokens =
    TokenClass(u"").Range(Builtin::Sin, Builtin::Alog).Range(Builtin::Clip, Builtin::Int);
// Vector-valued operations a vector definition may begin with: vAdd..Alog, vRotx..vTran.
constexpr TokenClass kVectorOperationTokens =
    TokenClass(u"").Range(Builtin::VAdd, Builtin::Alog).Range(Builtin::VRotx, Builtin::VTran);

constexpr TextView kLowerOrDigit = u"[a-z0-9]";

bool StartsWith(const Text& s, TextView prefix) {
  return TextView(s).starts_with(prefix);
}

// Commands that the kind check lets pass unchanged when their token is followed by "[": Zero,
// PlotSlopeField, PlotDirField, Integ, dblInt, IVP, BVP, PlotField3D, PlotContour, PlotContour1.
bool IsKindCommandToken(char16_t c) {
  switch (static_cast<Builtin>(c)) {
    case Builtin::Zero:
    case Builtin::PlotSlopeField:
    case Builtin::PlotDirField:
    case Builtin::Integ:
    case Builtin::DblInt:
    case Builtin::IVP:
    case Builtin::BVP:
    case Builtin::PlotField3D:
    case Builtin::PlotContour:
    case Builtin::PlotContour1:
      return true;
    default:
      return false;
  }
}

// The header check also accepts the placeholder token.
bool IsHeaderCommandToken(char16_t c) {
  return IsKindCommandToken(c) || c == TokenChar(Builtin::Placeholder);
}

// A lower-case letter right after "." is the component letter of a reference such as B.y; it is
// always stored padded (B_.y_), also when it equals a parameter of the definition, so that the
// definition stage can take a reference as five characters.
bool IsComponentLetter(const Text& s, long i) {
  return IsLower(At(s, i)) && At(s, i - 1) == u'.';
}

// Pads a one-letter identifier at the start of a definition: s becomes the identifier letter,
// "_" and the rest, unless the second character keeps a two-letter identifier.
Text PadIdentifier(const Text& text, bool twoLetters) {
  if (twoLetters) return text;
  Text s = text;
  s.insert(1, 1, u'_');
  return s;
}

// The expression of a constant statement from position start of s, with one-letter identifiers
// padded.
void RewriteConstantExpression(const Text& s, long start, Text& out) {
  const long n = rt::Len(s);
  long i = start;
  while (i < n) {
    const char16_t a = At(s, i);
    const char16_t b = At(s, i + 1);
    if (IsComponentLetter(s, i)) {
      out += a;
      out += u'_';
      i += 1;
    } else if (IsLower(a) && Is(b, kLowerOrDigit)) {  // a two-character constant
      out += a;
      out += b;
      i += 2;
    } else if (a == u'E' && (IsLower(b) || b == u'-' || b == u'+' || IsDigit(b))) {
      out += a;  // a two-letter identifier or an exponent
      out += b;
      i += 2;
    } else if (Is(a, kConstantPairTokens)) {  // a token and its "["
      out += a;
      out += b;
      i += 2;
    } else if (IsLower(a) && (b == u'|' || b == u',')) {
      out += a;
      out += u'_';
      out += b;
      i += 2;
    } else if (IsLower(a)) {
      out += a;
      out += u'_';
      i += 1;
    } else if (IsUpper(a) && IsLower(b)) {
      out += a;
      out += b;
      i += 2;
    } else if (IsUpper(a)) {
      out += a;
      out += u'_';
      i += 1;
    } else {
      out += a;
      i += 1;
    }
  }
  if (i == n) {
    const char16_t a = At(s, i);
    out += a;
    if (IsLower(a)) out += u'_';
  }
}

// The expression of a function definition from position start of s, with one-letter identifiers
// padded except the parameters. A user macro name (lower-case then upper-case) is copied up to its
// "["; 224 when it has none.
int16_t RewriteFunctionExpression(const Text& s, long start, TextView parms, Text& out) {
  const auto isParm = [parms](char16_t c) { return c != 0 && parms.find(c) != TextView::npos; };
  const long n = rt::Len(s);
  long i = start;
  while (i < n) {
    const char16_t a = At(s, i);
    const char16_t b = At(s, i + 1);
    const char16_t before = At(s, i - 1);
    if (IsComponentLetter(s, i)) {
      out += a;
      out += u'_';
      i += 1;
    } else if (IsLower(a) && IsUpper(b)) {
      const long bracket = rt::InStr(i, s, u"[");
      if (bracket == 0) {
        return 224;
      }
      out += rt::Mid(s, i, bracket - i + 1);
      i = bracket + 1;
    } else if (isParm(a) && !Is(b, kLowerOrDigit)) {
      out += a;
      i += 1;
    } else if (a == u'E' && Is(before, u"[0-9.]") && (b == u'-' || Is(b, u"[0-9+]"))) {
      out += a;  // exponent
      out += b;
      i += 2;
    } else if (Is(a, kFunctionPairTokens)) {
      out += a;
      out += b;
      i += 2;
    } else if (IsUpper(a) && IsLower(b)) {
      out += a;
      out += b;
      i += 2;
    } else if (IsUpper(a) && !Is(b, u"[a-z_]")) {
      out += a;
      out += u'_';
      i += 1;
    } else if (IsLower(a) && Is(b, kLowerOrDigit)) {
      out += a;
      out += b;
      i += 2;
    } else if (IsLower(a) && !Is(b, u"[a-z0-9_]")) {
      out += a;
      out += u'_';
      i += 1;
    } else {
      out += a;
      i += 1;
    }
  }
  if (i == n) {
    const char16_t a = At(s, i);
    out += a;
    if (IsLower(a) && (IsComponentLetter(s, i) || !isParm(a))) out += u'_';
  }
  return 0;
}

// One component of a vector's component list, positions from..to of s.
int16_t RewriteVectorComponent(const Text& s, long from, long to, char16_t parm, Text& out) {
  long i = from;
  while (i <= to) {
    const char16_t a = At(s, i);
    const char16_t b = i < to ? At(s, i + 1) : u'\0';
    const char16_t before = At(s, i - 1);
    if (IsComponentLetter(s, i)) {
      out += a;
      out += u'_';
      i += 1;
    } else if (IsUpper(a) && (a != u'E' || !Is(before, u"[0-9.]"))) {  // an identifier
      out += a;
      if (IsLower(b)) {
        out += b;
        i += 2;
      } else {
        out += u'_';
        i += 1;
      }
    } else if (a == u'E') {  // an exponent after a digit or "."
      out += a;
      i += 1;
    } else if (a == parm && !Is(b, kLowerOrDigit)) {
      out += a;
      i += 1;
    } else if (a == u'e' && Is(before, u"[0-9.]")) {
      return 227;
    } else if (IsLower(a)) {
      out += a;
      if (Is(b, kLowerOrDigit)) {
        out += b;
        i += 2;
      } else {
        out += u'_';
        i += 1;
      }
    } else {
      out += a;
      i += 1;
    }
  }
  return 0;
}

// Whether a constant of this name is in the table now (statements read so far).
bool IsDefinedConstant(TextView name) {
  const int16_t count = std::min<int16_t>(Tables.ConstCount, kMaxConstants);
  for (int16_t k = 1; k <= count; ++k) {
    if (Tables.ConstTable[static_cast<size_t>(k)].Name == name) return true;
  }
  return false;
}

// Reads the stored expression from position start of s (one-letter identifiers padded) and
// refuses what would fuse into another value once constants and arguments are put in: a name run
// into another name or into a number (abcd, ab2; x2 and xy with x a parameter of parms and no
// constant of that name). With exponents set (constant statements), an exponent "E" also needs the
// digits of a number before it: E1, (2)E1 and a2E1 are refused. 0, kMsgNamesSideBySide or
// kMsgExponentWithoutDigits.
int16_t CheckNamesApart(const Text& s, long start, TextView parms, bool exponents) {
  const auto isParm = [parms](char16_t c) { return c != 0 && parms.find(c) != TextView::npos; };
  const long n = rt::Len(s);
  long nameEnd = 0;  // position of the last character of the last name read
  long i = start;
  while (i <= n) {
    const char16_t a = At(s, i);
    const char16_t b = At(s, i + 1);
    if (a == u'E' && (b == u'-' || b == u'+' || IsDigit(b))) {
      const char16_t before = At(s, i - 1);
      if (exponents && (!Is(before, u"[0-9.]") || i - 1 == nameEnd)) {
        return kMsgExponentWithoutDigits;
      }
      i += 2;
    } else if (IsUpper(a)) {
      i += (IsLower(b) || b == u'_') ? 2 : 1;  // a function or vector identifier
    } else if (IsComponentLetter(s, i)) {
      i += b == u'_' ? 2 : 1;  // the component letter of a reference (A_.x_), no name
    } else if (IsLower(a) && IsUpper(b)) {
      const long bracket = rt::InStr(i, s, u"[");  // a user macro name up to its "["
      i = bracket == 0 ? n + 1 : bracket + 1;
    } else if (IsLower(a)) {
      long end = i;
      while (Is(At(s, end + 1), u"[a-z0-9_]")) ++end;
      const bool parameterBeforeName =
          end == i + 1 && isParm(a) && b != u'_' && !IsDefinedConstant(rt::Mid(s, i, 2));
      if (end > i + 1 || parameterBeforeName) {
        return kMsgNamesSideBySide;
      }
      nameEnd = end;
      i = end + 1;
    } else {
      i += 1;
    }
  }
  return 0;
}

// Matches "{p,p[,p...]}=" at position pos of s with 2 to 5 lower-case parameters.
bool IsMultiParameterList(const Text& s, long pos) {
  if (At(s, pos) != u'{') return false;
  long q = pos + 1;
  int count = 0;
  for (;;) {
    if (!IsLower(At(s, q))) return false;
    ++count;
    ++q;
    if (At(s, q) != u',') break;
    ++q;
  }
  return count >= 2 && count <= 5 && At(s, q) == u'}' && At(s, q + 1) == u'=';
}

bool IsExpressionOpener(char16_t c) {
  return Is(c, u"[<>{.,]") || c == u']';
}

}  // namespace

int16_t CheckStatementKind(const Text& text, Text& outText) {
  int16_t msgNo = 0;
  if (StartsWith(text, u"vMacro[") || (IsKindCommandToken(At(text, 1)) && At(text, 2) == u'[')) {
    outText = text;
    return msgNo;
  }
  if (rt::Len(text) < 3) {
    return 200;
  }
  const char16_t c1 = At(text, 1);
  if (IsLower(c1)) {
    msgNo = CheckConstantStatement(text, outText);
  } else if (c1 == u'<') {
    msgNo = CheckParameterSet(text, outText);
  } else if (IsUpper(c1)) {
    const char16_t c2 = At(text, 2);
    const char16_t kind = (c2 == u'{' || c2 == u'<') ? c2 : At(text, 3);
    if (kind == u'{') {
      msgNo = CheckFunctionStatement(text, outText);
    } else if (kind == u'<') {
      msgNo = CheckVectorStatement(text, outText);
    } else {
      outText = text;
    }
  } else {
    msgNo = 201;
    outText = text;
  }
  return msgNo;
}

int16_t CheckConstantStatement(const Text& text, Text& outText) {
  if (rt::Len(text) < 3) {
    return 201;
  }
  if (!IsLower(At(text, 1))) {
    return 203;
  }
  const Text s = PadIdentifier(text, Is(At(text, 2), kLowerOrDigit));
  if (At(s, 3) != u'=') {
    return 202;
  }
  const char16_t first = At(s, 4);
  if (first != u'-' && Is(first, kNotConstantStart)) {
    return 221;
  }
  Text out = rt::Left(s, 3);
  RewriteConstantExpression(s, 4, out);
  const int16_t msgNo = CheckNamesApart(out, 4, u"", true);
  if (msgNo != 0) return msgNo;
  outText = std::move(out);
  return 0;
}

int16_t CheckFunctionStatement(const Text& text, Text& outText) {
  int16_t msgNo = 0;
  if (rt::Len(text) < 3) {
    return 200;
  }
  if (!IsUpper(At(text, 1))) {
    return 204;
  }
  const Text s = PadIdentifier(text, IsLower(At(text, 2)));
  if (At(s, 3) != u'{') {
    return 211;
  }
  if (!IsLower(At(s, 4))) {
    return 212;
  }
  // The header: parameters at 4, 6, 8, 10, 12 separated by ",", then "}=".
  long parmCount = 0;
  if (At(s, 5) == u'}') {
    if (At(s, 6) != u'=') msgNo = 213;
    parmCount = 1;
  } else if (At(s, 5) == u',') {
    if (!IsLower(At(s, 6))) {
      msgNo = 214;
    } else if (At(s, 7) == u'}') {
      if (At(s, 8) != u'=') msgNo = 215;
      parmCount = 2;
    } else if (At(s, 7) == u',') {
      if (!IsLower(At(s, 8))) {
        msgNo = 216;
      } else if (At(s, 9) == u'}') {
        if (At(s, 10) != u'=') msgNo = 216;
        parmCount = 3;
      } else if (At(s, 9) == u',') {
        if (!IsLower(At(s, 10))) {
          msgNo = 216;
        } else if (At(s, 11) == u'}') {
          if (At(s, 12) != u'=') msgNo = 216;
          parmCount = 4;
        } else if (At(s, 11) == u',') {
          if (!IsLower(At(s, 12)) || At(s, 13) != u'}' || At(s, 14) != u'=') msgNo = 216;
          parmCount = 5;
        } else {
          msgNo = 216;
        }
      } else {
        msgNo = 217;
      }
    } else {
      msgNo = 217;
    }
  } else {
    msgNo = 217;
  }
  if (msgNo != 0) return msgNo;

  Text parms;
  for (long k = 0; k < parmCount; ++k) {
    const char16_t parm = At(s, 4 + 2 * k);
    if (parms.find(parm) != Text::npos) {
      return kMsgRepeatedParameter;
    }
    parms += parm;
  }
  const long start = 5 + 2 * parmCount;  // first character of the expression
  Text out = rt::Left(s, start - 1);

  if (rt::Len(s) == start) {  // an expression of one character
    const char16_t c = At(s, start);
    if (parms.find(c) != Text::npos || IsDigit(c)) {
      out += c;
    } else if (IsLower(c)) {
      out += c;
      out += u'_';
    } else {
      return parmCount == 2 ? 219 : parmCount >= 4 ? 215 : 218;
    }
    outText = std::move(out);
    return msgNo;
  }

  const char16_t first = At(s, start);
  if (first != u'-' && Is(first, kNotFunctionStart)) {
    return 222;
  }
  msgNo = RewriteFunctionExpression(s, start, parms, out);
  if (msgNo != 0) return msgNo;
  msgNo = CheckNamesApart(out, start, parms, false);
  if (msgNo != 0) return msgNo;
  outText = std::move(out);
  return msgNo;
}

int16_t CheckVectorStatement(const Text& text, Text& outText) {
  int16_t msgNo = 0;
  if (rt::Len(text) < 3) {
    return 200;
  }
  if (!IsUpper(At(text, 1))) {
    return 225;
  }
  const Text s = PadIdentifier(text, IsLower(At(text, 2)));
  if (At(s, 3) != u'<') {
    return 226;
  }
  const char16_t parm = At(s, 4);
  if (!IsLower(parm)) {
    return 231;
  }
  if (At(s, 5) != u'>' || At(s, 6) != u'=') {
    return 232;
  }
  const char16_t c7 = At(s, 7);
  if (c7 != u'<') {
    if (Is(c7, kVectorOperationTokens) || (c7 == u'v' && IsUpper(At(s, 8)))) {
      msgNo = CheckVectorHeader(s, outText);
    } else {
      msgNo = 479;
    }
    return msgNo;
  }

  // The component list: "<" X "," Y "," Z ">".
  const long n = rt::Len(s);
  Text out = rt::Left(s, 7);
  long pos = 8;
  for (int component = 1; component <= 3; ++component) {
    const char16_t terminator = component < 3 ? u',' : u'>';
    long end = pos;
    while (end <= n && At(s, end) != terminator) ++end;
    if (end > n) {
      return component < 3 ? 234 : 235;
    }
    msgNo = RewriteVectorComponent(s, pos, end - 1, parm, out);
    if (msgNo != 0) return msgNo;
    out += terminator;
    pos = end + 1;
  }
  if (pos <= n) {
    return 236;
  }
  msgNo = CheckNamesApart(out, 8, TextView(&parm, 1), false);
  if (msgNo != 0) return msgNo;
  outText = std::move(out);
  return msgNo;
}

int16_t CheckVectorHeader(const Text& text, Text& outText) {
  const Text& s = text;
  const long n = rt::Len(s);
  Text out;
  out += At(s, 1);
  long i = 2;
  if (Is(At(s, 2), u"[a-z_]")) {
    out += At(s, 2);
    i = 3;
  } else {
    out += u'_';
  }
  if (At(s, i) != u'<' || !IsLower(At(s, i + 1)) || At(s, i + 2) != u'>' || At(s, i + 3) != u'=') {
    outText = text;  // the caller has checked the header
    return 0;
  }
  out += rt::Mid(s, i, 4);
  i += 4;
  while (i <= n) {
    const char16_t a = At(s, i);
    const char16_t b = At(s, i + 1);
    if (IsComponentLetter(s, i)) {
      out += a;
      out += u'_';
      i += 1;
    } else if (a == u'v' && IsUpper(b)) {  // a user macro name up to its "["
      long bracket = rt::InStr(i, s, u"[");
      if (bracket == 0) bracket = n;
      out += rt::Mid(s, i, bracket - i + 1);
      i = bracket + 1;
    } else if (IsUpper(a)) {
      out += a;
      if (Is(b, u"[a-z_]")) {
        out += b;
        i += 2;
      } else {
        out += u'_';
        i += 1;
      }
    } else if (IsLower(a)) {
      out += a;
      if (Is(b, u"[a-z0-9_]")) {
        out += b;
        i += 2;
      } else {
        if (!Is(b, kFunctionPairTokens)) out += u'_';
        i += 1;
      }
    } else {
      out += a;
      i += 1;
    }
  }
  if (At(s, n) != u']') {
    return 236;
  }
  outText = std::move(out);
  return 0;
}

int16_t CheckParameterSet(const Text& text, Text& outText) {
  const long n = rt::Len(text);
  if (n < 5) {
    return 240;
  }
  Text out = u"<";
  long i = 2;
  for (;;) {
    const char16_t name = At(text, i);
    if (!IsLower(name)) {
      return 241;
    }
    if (At(text, i + 1) != u'=') {
      return 242;
    }
    i += 2;
    const long start = i;
    while (i <= n && At(text, i) != u'>' && At(text, i) != u';') ++i;
    if (i > n) {
      return 243;
    }
    Text value = rt::Mid(text, start, i - start);
    if (value.empty()) {  // "t=" with nothing before the separator
      return 244;
    }
    if (!rt::IsNumeric(value)) {
      if (value.size() == 1 && IsLower(value[0])) {
        value += u'_';  // a constant
      } else if (IsLower(value[0]) && !Is(At(value, 2), kLowerOrDigit)) {
        return 244;
      }
    }
    out += name;
    out += u'=';
    out += value;
    const char16_t separator = At(text, i);
    if (separator == u'>') {
      out += u'>';
      outText = std::move(out);
      return 0;
    }
    if (separator != u';') {
      return 245;
    }
    out += u';';
    ++i;
    if (i > n) {
      return 200;
    }
  }
  return 0;
}

int16_t CheckStatementHeader(const Text& text) {
  int16_t msgNo = 0;
  const char16_t c1 = At(text, 1);
  const char16_t c2 = At(text, 2);
  const char16_t c3 = At(text, 3);
  if (IsHeaderCommandToken(c1) && c2 == u'[') return msgNo;
  const long n = rt::Len(text);
  if (n == 1 && c1 != u'\'') {
    return 2;
  }
  if (c1 == u'\'') return msgNo;
  if ((n > 4 && StartsWith(text, u"Plot")) || (n > 6 && StartsWith(text, u"vMacro"))) return msgNo;
  if (n < 3) {
    return 991;
  }

  if (IsLower(c1)) {
    if (Is(c2, u"[a-z0-9_]") && c3 == u'=') return msgNo;
    if (c2 == u'=') return msgNo;
    if (c2 == u'{') {
      msgNo = 205;
    } else if (Is(c2, kLowerOrDigit)) {
      msgNo = 206;  // the third character is not "="
    } else if (Is(c2, u"[!a-z0-9=]")) {
      msgNo = 207;
    } else {
      msgNo = 228;
    }
    return msgNo;
  }
  if (c1 == u'<') {
    if (IsLower(c2) && c3 == u'=') return msgNo;
    return IsLower(c2) ? 209 : 208;
  }
  if (IsUpper(c1)) {
    const char16_t c4 = At(text, 4);
    const char16_t c5 = At(text, 5);
    // One parameter, two-letter and one-letter identifiers: F{x}= Fa{x}= A<t>= Ab<t>=.
    if (IsLower(c2) && Is(c3, u"[{<]") && IsLower(c4) && Is(c5, u"[}>]") && At(text, 6) == u'=')
      return msgNo;
    if (Is(c2, u"[{<]") && IsLower(c3) && Is(c4, u"[}>]") && c5 == u'=') return msgNo;
    // Two to five parameters.
    if (IsMultiParameterList(text, IsLower(c2) ? 3 : 2)) return msgNo;
  }
  return 228;
}

int16_t CheckVectorUse(const Text& text) {
  const long equals = rt::InStr(text, u"=");
  if (equals == 0 || equals >= rt::Len(text)) return 0;
  const Text e = rt::Mid(text, equals + 1);
  const long n = rt::Len(e);
  const bool macros = Tables.MacroCount >= 1;

  // A lower-case name (or a number) called like a function.
  constexpr TextView kNameOrNumber = u"[a-z0-9.]";
  if (Is(At(e, 1), kNameOrNumber) && (At(e, 2) == u'{' || At(e, 2) == u'}')) {
    return 405;
  }
  for (long i = 1; i < n; ++i) {
    const char16_t before = i > 1 ? At(e, i - 1) : u'=';
    if (Is(At(e, i), kNameOrNumber) && At(e, i + 1) == u'{' && !IsUpper(before)) {
      return 405;
    }
  }

  // Unknown built-in names and vector operations assigned to lower-case names.
  for (long i = 1; i < n; ++i) {
    const char16_t a = At(e, i);
    const char16_t b = At(e, i + 1);
    if (IsUpper(a) && b == u'[' && !macros) {
      return 1300;
    }
    if (IsLower(a) && IsUpper(b) && a != u's' && a != u'v' && !macros) {
      return 660;
    }
  }

  // What may follow an upper-case identifier.
  long i = 1;
  while (i <= n) {
    const char16_t a = At(e, i);
    const char16_t b = At(e, i + 1);
    if (a == u'v' && IsUpper(b)) {
      if (!macros) {
        return 1300;
      }
      i += 1;
    } else if (IsUpper(a) && Is(b, u"[a-z_]")) {
      if (!macros && !IsExpressionOpener(At(e, i + 2))) {
        return 661;
      }
      i += 2;
    } else if (a == u'E' && (b == u'-' || Is(b, u"[+0-9]"))) {
      i += 2;  // exponent
    } else if (IsUpper(a)) {
      if (!macros && !IsExpressionOpener(b)) {
        return 661;
      }
      i += 1;
    } else {
      i += 1;
    }
  }
  return 0;
}

int16_t CheckMacroParameters(const Text& text) {
  constexpr TextView kSymbols = u"#$&@%";
  constexpr int16_t kMissing[] = {643, 644, 645, 646, 647};
  const long equals = rt::InStr(text, u"=");
  const Text header = equals > 0 ? rt::Mid(text, 8, equals - 8) : rt::Mid(text, 8);
  bool inHeader[5] = {};
  bool any = false;
  for (size_t k = 0; k < kSymbols.size(); ++k) {
    inHeader[k] = header.find(kSymbols[k]) != Text::npos;
    any = any || inHeader[k];
  }
  if (!any) {
    return 642;
  }
  if (equals == 0) return 0;
  const long n = rt::Len(text);
  for (long i = equals + 2; i <= n - 1; ++i) {
    const size_t k = kSymbols.find(At(text, i));
    if (k != TextView::npos && !inHeader[k]) {
      return kMissing[k];
    }
  }
  return 0;
}

}  // namespace ms
