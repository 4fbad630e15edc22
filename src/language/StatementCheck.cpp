#include "language/StatementCheck.h"

#include <algorithm>
#include <array>

#include "language/Simplify.h"
#include "language/StatementCheckChars.h"
#include "language/StatementKinds.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"

namespace ms {

using rt::Text;
using rt::TextView;
using namespace syntax;

namespace {

bool StartsWith(const Text& s, TextView prefix) {
  return TextView(s).starts_with(prefix);
}

// Commands are carried out by their own readers and skip the checks. Each is recognised in the
// two spellings shown.
struct Spellings {
  TextView capitalised;
  TextView lower;
};
constexpr Spellings kCommandPrefixes[] = {
    {u"Plot[", u"plot["},
    {u"Zero[", u"zero["},
    {u"PlotSlopeField[", u"plotslopefield["},
    {u"PlotDirField[", u"plotdirfield["},
    {u"IVP[", u"ivp["},
    {u"BVP[", u"bvp["},
    {u"PlotField3D[", u"plotfield3d["},
    {u"PlotContour[", u"plotcontour["},
    {u"PlotContour1[", u"plotcontour1["},
};

// The integrals stand after a constant identifier of one or two letters: a=Integ[, ab=dblInt[.
constexpr Spellings kIntegralNames[] = {{u"Integ[", u"integ["}, {u"dblInt[", u"dblint["}};

bool IsCommandStatement(const Text& s) {
  for (const Spellings& command : kCommandPrefixes) {
    if (StartsWith(s, command.capitalised) || StartsWith(s, command.lower)) return true;
  }
  for (const Spellings& integral : kIntegralNames) {
    for (TextView name : {integral.capitalised, integral.lower}) {
      const long len = static_cast<long>(name.size());
      if (rt::Mid(s, 3, len) == name || rt::Mid(s, 4, len) == name) return true;
    }
  }
  return false;
}

// Bracket kinds: 0 none, 1 parentheses, 2 square brackets, 3 braces, 4 angle brackets.
int BracketKind(char16_t c) {
  switch (c) {
    case u'(':
    case u')':
      return 1;
    case u'[':
    case u']':
      return 2;
    case u'{':
    case u'}':
      return 3;
    case u'<':
    case u'>':
      return 4;
    default:
      return 0;
  }
}

bool IsMatchingPair(char16_t open, char16_t close) {
  return (open == u'(' && close == u')') || (open == u'[' && close == u']') ||
         (open == u'{' && close == u'}') || (open == u'<' && close == u'>');
}

// Scalar function tokens, each of which must be followed by its "[": Sin through sDiv in table
// order, and Clip, Floor, Ceil, Int.
bool IsScalarFunctionToken(char16_t c) {
  return IsTokenIn(c, Builtin::Sin, Builtin::SDiv) || IsTokenIn(c, Builtin::Clip, Builtin::Int);
}

// What may follow each character in the stored form ("-" is listed apart where a rule takes it).
constexpr TokenClass kAfterEquals = TokenClass(u"(0-9. a-zA-DF-Z")
                                        .Range(Builtin::Sin, Builtin::Tanh)
                                        .Range(Builtin::Clip, Builtin::VTran);
constexpr TextView kAfterFiller = u"[} ){+*/^,.|=<>;]";
constexpr TokenClass kAfterOpenParen = TokenClass(u"0-9. (a-zA-Z+")
                                           .Range(Builtin::Sin, Builtin::Tanh)
                                           .Range(Builtin::Clip, Builtin::VTran);
constexpr TextView kAfterCloseParen = u"[)+*/^}>,]";
constexpr TokenClass kAfterOpenBracket = TokenClass(u"0-9(+a-zA-Z. ")
                                             .Range(Builtin::Sin, Builtin::Tanh)
                                             .With(Builtin::SMpy)
                                             .With(Builtin::SDiv)
                                             .With(Builtin::SPwr)
                                             .Range(Builtin::Clip, Builtin::VTran);
constexpr TextView kAfterCloseBracket = u"[+*/^)},>]";
constexpr TokenClass kAfterOpenBrace = TokenClass(u"0-9.(+ a-zA-Z")
                                           .Range(Builtin::Sin, Builtin::Tanh)
                                           .Range(Builtin::Clip, Builtin::VTran);
constexpr TextView kAfterCloseBrace = u"[)+*/^},=>]";
constexpr TextView kAfterLower = u"[{})a-z_0-9+*/^,|<>=.;]";
constexpr TextView kAfterUpper = u"[a-z_ SCT]";
constexpr TextView kAfterDigit = u"[})E0-9+*/^.|,;>=]";
constexpr TextView kAfterPoint = u"[})E0-9+*/^>xyz]";
constexpr TokenClass kAfterComma = TokenClass(u"(a-z0-9A-Z+. ")
                                       .Range(Builtin::Sin, Builtin::Tanh)
                                       .With(Builtin::SMpy)
                                       .With(Builtin::SDiv)
                                       .With(Builtin::SPwr)
                                       .Range(Builtin::Clip, Builtin::VTran)
                                       .Plain(u"#");
constexpr TextView kAfterBar = u"[(a-z0-9.+]";
constexpr TokenClass kAfterOperator = TokenClass(u"(0-9a-zA-Z.")
                                          .Range(Builtin::Sin, Builtin::Tanh)
                                          .Range(Builtin::Clip, Builtin::VTran);
constexpr TokenClass kAfterAngle = TokenClass(u"(0-9a-zA-DF-Z.")
                                       .Range(Builtin::Sin, Builtin::Tanh)
                                       .Range(Builtin::Clip, Builtin::Int)
                                       .Plain(u"+");
// Characters that may stand before a "[" that does not follow a built-in name token.
constexpr TextView kBeforeBracket = u"[a-z,0-9!@#$%^&*()_=+`~\\|;:'<.>/?]";

// A character of the stored form and its successor, as the adjacency rules see them.
struct AdjacentPair {
  const Text& text;
  long i;      // 1-based position of a
  char16_t a;  // the character judged
  char16_t b;  // its successor
  bool macros;
};

// One row of the adjacency rules: the characters it is about, what may follow them (a class and
// single characters outside it, "-" and the brackets, which the class syntax cannot list), and the
// message when anything else does. A row with its own test decides the pair itself.
struct AdjacencyRule {
  bool (*about)(char16_t a);
  TextView mayFollow;
  TextView alsoFollow;
  int16_t failure;
  bool recordOnly = false;  // the verdict stands until the next judged pair replaces it
  int16_t (*ownTest)(const AdjacentPair& p, int16_t failure) = nullptr;

  // 0 when p.b may follow p.a, otherwise the message.
  int16_t Judge(const AdjacentPair& p) const {
    if (ownTest != nullptr) return ownTest(p, failure);
    const bool ok = Is(p.b, mayFollow) || (p.b != 0 && alsoFollow.find(p.b) != TextView::npos);
    return ok ? 0 : failure;
  }
};

template <char16_t C>
bool IsChar(char16_t a) {
  return a == C;
}

// A padding "_" before a digit in a constant taking a vector component (m=A.x|2 without its "|")
// gives 630; every other failure after the padding 451.
int16_t AfterPadding(const AdjacentPair& p, int16_t failure) {
  if (p.b == u'-' || p.b == u']' || Is(p.b, kAfterFiller)) return 0;
  const bool componentArgument =
      IsLower(At(p.text, 1)) && At(p.text, p.i - 2) == u'.' && Is(At(p.text, p.i - 1), u"[xyz]");
  return componentArgument && IsDigit(p.b) ? 630 : failure;
}

// A capital before "[" is a macro call, and without macros no built-in name (1300); an "E" may
// open an exponent.
int16_t AfterCapital(const AdjacentPair& p, int16_t failure) {
  if (p.b == u'[') return p.macros ? 0 : 1300;
  const bool exponent = p.a == u'E' && (p.b == u'-' || Is(p.b, u"[0-9+]"));
  return Is(p.b, kAfterUpper) || exponent ? 0 : failure;
}

// In the order they are tried; the first row about a character judges it.
constexpr AdjacencyRule kAdjacencyRules[] = {
    {IsChar<u'='>, kAfterEquals, u"-", 666, true},
    {IsChar<u'<'>, kAfterAngle, u"-", 477, true},
    {IsChar<u'_'>, kAfterFiller, u"-]", 451, false, AfterPadding},
    {IsChar<u'('>, kAfterOpenParen, u"-", 444},
    {IsChar<u')'>, kAfterCloseParen, u"-]", 445},
    {IsChar<u'['>, kAfterOpenBracket, u"-", 446},
    {IsChar<u']'>, kAfterCloseBracket, u"-]", 447},
    {IsChar<u'{'>, kAfterOpenBrace, u"-", 448},
    {IsChar<u'}'>, kAfterCloseBrace, u"-]", 449},
    {IsLower, kAfterLower, u"-][", 465},
    {IsUpper, kAfterUpper, u"", 466, false, AfterCapital},
    {IsDigit, kAfterDigit, u"-]", 467},
    {IsChar<u'.'>, kAfterPoint, u"-]", 468},
    {IsChar<u','>, kAfterComma, u"-", 469},
    {IsChar<u'|'>, kAfterBar, u"-", 470},
    {IsScalarFunctionToken, u"", u"[", 475},
    {IsOperator, kAfterOperator, u"", 476},
};

const AdjacencyRule* RuleAbout(char16_t a) {
  for (const AdjacencyRule& rule : kAdjacencyRules) {
    if (rule.about(a)) return &rule;
  }
  return nullptr;
}

}  // namespace

void RemoveUnaryPlus(const Text& text, Text& outText) {
  Text out;
  out.reserve(text.size());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const char16_t c = text[i];
    if (i + 1 < n && text[i + 1] == u'+' && TextView(u"=([{,|<").find(c) != TextView::npos) {
      out += c;
      out += u' ';
      i += 2;
    } else {
      out += c;
      i += 1;
    }
  }
  outText = RemoveBlanks(out);
}

int16_t CheckBracketBalance(const Text& text) {
  int16_t msgNo = 0;
  long paren = 0, square = 0, brace = 0, angle = 0;
  Text skeleton;
  for (char16_t c : text) {
    switch (c) {
      case u'(':
        ++paren;
        break;
      case u')':
        if (--paren < 0) msgNo = 260;
        break;
      case u'[':
        ++square;
        break;
      case u']':
        if (--square < 0) msgNo = 261;
        break;
      case u'{':
        ++brace;
        break;
      case u'}':
        if (--brace < 0) msgNo = 262;
        break;
      case u'<':
        ++angle;
        break;
      case u'>':
        if (--angle < 0) msgNo = 269;
        break;
      default:
        continue;
    }
    if (msgNo != 0) return msgNo;
    skeleton += c;
  }
  if (paren != 0) {
    msgNo = 263;
  } else if (square != 0) {
    msgNo = 264;
  } else if (brace != 0) {
    msgNo = 265;
  } else if (angle != 0) {
    msgNo = 270;
  }
  if (msgNo != 0) return msgNo;

  // A pair closed around a bracket of another kind: (..[..), [..(..], {..(..}, <..[..>.
  for (size_t i = 0; i + 2 < skeleton.size(); ++i) {
    const char16_t a = skeleton[i];
    const char16_t b = skeleton[i + 1];
    const char16_t c = skeleton[i + 2];
    if (IsMatchingPair(a, c) && BracketKind(b) != BracketKind(a)) {
      return 275;
    }
  }
  return msgNo;
}

size_t CommaOutsideBraces(const Text& text, size_t from) {
  long depth = 0;
  for (size_t i = from; i < text.size(); ++i) {
    if (text[i] == u'{') ++depth;
    if (text[i] == u'}' && depth > 0) --depth;
    if (text[i] == u',' && depth == 0) return i;
  }
  return Text::npos;
}

int16_t CheckVectorComponentBalance(const Text& text) {
  int16_t msgNo = 0;
  const size_t equals = text.find(u'=');
  if (equals == Text::npos) return msgNo;
  const size_t n = text.size();
  size_t i = equals + 1;
  while (i < n) {
    if (text[i] != u'<') {
      ++i;
      continue;
    }
    // The components end at the first ",", the second "," and the next ">"; a comma between the
    // braces of a call separates its arguments, not components.
    size_t from = i + 1;
    for (int component = 1; component <= 3; ++component) {
      const size_t end = component < 3 ? CommaOutsideBraces(text, from) : text.find(u'>', from);
      if (end == Text::npos) return msgNo;
      msgNo = CheckBracketBalance(text.substr(from, end - from));
      if (msgNo != 0) return msgNo;
      from = end + 1;
    }
    i = from;
  }
  return msgNo;
}

int16_t CheckEmptyGroups(const Text& text) {
  struct Pair {
    TextView chars;
    int16_t msg;
  };
  static constexpr Pair kEmpty[] = {{u"<>", 427}, {u"()", 428}, {u"[]", 429},
                                    {u"{}", 430}, {u"[[", 431}, {u"{{", 432}};
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    for (const Pair& p : kEmpty) {
      if (text[i] == p.chars[0] && text[i + 1] == p.chars[1]) {
        return p.msg;
      }
    }
  }
  return 0;
}

int16_t CheckBraceUse(const Text& text) {
  static constexpr TextView kExempt[] = {
      u"Plot[",         u"plot[",        u"vMacro[",      u"Zero[",  u"zero[",  u"PlotContour1[",
      u"plotcontour1[", u"PlotContour[", u"plotcontour[", u"Integ[", u"integ[", u"dblInt[",
      u"dblint[",       u"IVP[",         u"ivp[",         u"BVP[",   u"bvp["};
  for (TextView prefix : kExempt) {
    if (StartsWith(text, prefix)) return 0;
  }
  const char16_t fourth = At(text, 4);
  if (fourth == TokenChar(Builtin::Integ) || fourth == TokenChar(Builtin::DblInt)) return 0;

  const long n = rt::Len(text);
  for (long i = 2; i <= n; ++i) {
    if (At(text, i) == u'{' && !IsLetter(At(text, i - 1))) {
      return 267;
    }
  }
  for (long i = 3; i <= n; ++i) {
    if (At(text, i) == u'{' && IsLower(At(text, i - 2))) {
      return 268;
    }
  }
  return 0;
}

int16_t CheckLastSymbol(const Text& text) {
  const long n = rt::Len(text);
  if (n == 0) return 0;
  if (n == 3 && At(text, 3) == u'.') {
    return 400;
  }
  if (n == 4 && IsLower(At(text, 1)) && Is(At(text, 2), u"[a-z0-9]") &&
      (At(text, 4) == u'.' || At(text, 4) == u',')) {
    return 400;
  }
  const char16_t last = At(text, n);
  if (last == u'_' || IsLower(last) || IsDigit(last) || Is(last, u"[.)}>]") || last == u']')
    return 0;
  return (IsOperator(last) || last == u'|') ? 478 : 400;
}

int16_t CheckDecimalPoints(const Text& text) {
  int points = 0;
  bool digit = false;
  for (char16_t c : text) {
    if (IsDigit(c)) {
      digit = true;
    } else if (c == u'.') {
      ++points;
    } else {
      points = 0;
      digit = false;
    }
    if (digit && points > 1) {
      return 436;
    }
  }
  if (text == u".") {
    return 437;
  }
  if (At(text, 1) == u'.' && !IsDigit(At(text, 2))) {
    return 438;
  }
  const long n = rt::Len(text);
  for (long i = 2; i < n; ++i) {
    if (At(text, i) != u'.') continue;
    const char16_t a = At(text, i - 1);
    const char16_t c = At(text, i + 1);
    if ((IsDigit(a) && c == u'E') || (IsLetter(a) && Is(c, u"[xyz]"))) continue;
    if ((!IsDigit(a) && !IsDigit(c)) || (IsDigit(a) && Is(c, u"[a-df-zA-Z]")) ||
        (IsLetter(a) && IsDigit(c))) {
      return 438;
    }
  }
  return 0;
}

int16_t CheckOperatorPairs(const Text& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (IsOperator(text[i]) && IsOperator(text[i + 1])) {
      return 435;
    }
  }
  return 0;
}

int16_t CheckEqualsCount(const Text& text) {
  int16_t msgNo = 0;
  if (At(text, 1) == u'<') return msgNo;
  const size_t first = text.find(u'=');
  if (first != Text::npos && text.find(u'=', first + 1) != Text::npos) msgNo = 410;
  return msgNo;
}

int16_t CheckCommaUse(const Text& text) {
  int16_t msgNo = 0;
  Text t;
  TokenizeNames(text, t);
  // The multi-argument vector and scalar operations take their commas themselves: vAdd..vUnit,
  // sMpy, sDiv, sPwr, vRotx..vTran.
  static constexpr TokenClass kOwnCommas = TokenClass(u"")
                                               .Range(Builtin::VAdd, Builtin::VUnit)
                                               .With(Builtin::SMpy)
                                               .With(Builtin::SDiv)
                                               .With(Builtin::SPwr)
                                               .Range(Builtin::VRotx, Builtin::VTran);
  for (char16_t c : t) {
    if (Is(c, kOwnCommas)) return msgNo;
  }
  const long n = rt::Len(t);
  // A component vector A<t>=<X,Y,Z> or Ab<t>=<X,Y,Z> has exactly its two commas outside the
  // braces of calls.
  if (n >= 7 && (At(t, 6) == u'<' || At(t, 7) == u'<')) {
    const Text rest = rt::Mid(t, 7);
    int commas = 0;
    for (size_t from = 0; (from = CommaOutsideBraces(rest, from)) != Text::npos; ++from) ++commas;
    if (commas != 2) msgNo = 412;
    return msgNo;
  }
  // Elsewhere commas belong inside the braces of a user function call or inside Diff[...].
  long depth = 0;
  long i = 1;
  while (i <= n) {
    const char16_t c = At(t, i);
    if (c == TokenChar(Builtin::Diff)) {
      const long close = rt::InStr(i, t, u"]");
      if (close == n) return msgNo;
      if (close > 0) {
        i = close + 1;
        continue;
      }
    } else if (c == u'{') {
      ++depth;
    } else if (c == u'}') {
      --depth;
    } else if (c == u',' && depth <= 0) {
      return 412;
    }
    ++i;
  }
  return msgNo;
}

int16_t CheckNumberFormat(const Text& text) {
  // Every number of the statement is checked, those after a "," too (the arguments of a call, the
  // components of a vector): a number that ends scans on to the next.
  const long n = rt::Len(text);
  long i = 1;
  while (i <= n) {
    if (!IsDigit(At(text, i))) {
      ++i;
      continue;
    }
    // The mantissa.
    while (IsDigit(At(text, i))) ++i;
    if (At(text, i) == u'.') {
      ++i;
      while (IsDigit(At(text, i))) ++i;
    }
    const char16_t c = At(text, i);
    if (c == u'e') {
      return 419;
    }
    if (c != u'E') continue;  // the number has ended; scan on from here

    // The exponent: an optional sign and one or two digits.
    ++i;
    if (i > n) {
      return 420;
    }
    if (At(text, i) == u'.') {
      return 421;
    }
    if (At(text, i) == u',') {
      return 418;
    }
    if (At(text, i) == u'+' || At(text, i) == u'-') {
      ++i;
      if (i > n) {
        return 422;
      }
      if (At(text, i) == u',') {
        return 418;
      }
    }
    if (!IsDigit(At(text, i))) {
      return 423;
    }
    ++i;
    if (IsDigit(At(text, i))) {
      ++i;
      if (IsDigit(At(text, i))) {
        return 424;
      }
    }
    if (At(text, i) == u'.') {
      return 421;
    }
    // A second exponent (1E2E3): the exponent is not a whole number.
    if (At(text, i) == u'E' || At(text, i) == u'e') {
      return 423;
    }
  }
  return 0;
}

int16_t CheckSymbolAdjacency(const Text& text) {
  if (StartsWith(text, u"PlotContour1[")) return 0;
  const long n = rt::Len(text);
  const bool macros = Tables.MacroCount >= 1;

  // Pass 1: each character judges its successor by the first rule about it. The rows of "=" and
  // "<" only record a verdict, which the next judged pair replaces; every other row ends the check
  // when its test fails.
  int16_t verdict = 0;
  for (long i = 1; i < n; ++i) {
    const AdjacentPair pair{text, i, At(text, i), At(text, i + 1), macros};
    const AdjacencyRule* rule = RuleAbout(pair.a);
    if (rule == nullptr) continue;  // no rule for this character
    const int16_t judged = rule->Judge(pair);
    if (rule->recordOnly) {
      verdict = judged;
      continue;
    }
    if (judged != 0) {
      return judged;
    }
    verdict = 0;
  }

  // Pass 2: user macro names, and what stands before "[": a built-in name token or a character
  // that cannot be the end of a name.
  for (long i = 1; i < n; ++i) {
    const char16_t a = At(text, i);
    const char16_t b = At(text, i + 1);
    if (a == u'v' && IsUpper(b)) {
      if (!macros) {
        return 1300;
      }
      verdict = 0;
    } else if (b == u'[' && !macros) {
      if (IsBuiltinToken(a) || Is(a, kBeforeBracket) || a == u'{' || a == u'}' || a == u'[' ||
          a == u']' || a == u'-') {
        verdict = 0;
      } else {
        return 450;
      }
    }
  }
  return verdict;
}

int16_t CheckStatementSyntax(Text& statement, Text& outText) {
  if (statement.empty()) return 0;
  Text work = RemoveBlanks(statement);
  if (work.empty()) return 0;

  // A failing check leaves the working text as it stood in outText.
  const auto fail = [&](int16_t msgNo) {
    outText = work;
    return msgNo;
  };

  if (IsCommandStatement(work)) {
    // Appended as typed (blank-free, not tokenised); the command's reader checks it.
  } else if (StartsWith(work, u"vMacro[")) {
    if (const int16_t msgNo = CheckMacroParameters(work); msgNo != 0) return fail(msgNo);
  } else {
    // The statement as handed in (blank-free), read by the equals and comma checks.
    const Text handedIn = work;
    RemoveUnaryPlus(work, work);
    TokenizeNames(work, work);

    using Check = int16_t (*)(const Text&);
    static constexpr Check kCharacterChecks[] = {
        CheckBracketBalance, CheckVectorComponentBalance, CheckEmptyGroups,  CheckBraceUse,
        CheckLastSymbol,     CheckDecimalPoints,          CheckOperatorPairs};
    for (Check check : kCharacterChecks) {
      if (const int16_t msgNo = check(work); msgNo != 0) return fail(msgNo);
    }
    for (Check check : {CheckEqualsCount, CheckCommaUse}) {
      if (const int16_t msgNo = check(handedIn); msgNo != 0) return fail(msgNo);
    }
    for (Check check : {CheckNumberFormat, CheckStatementHeader, CheckVectorUse}) {
      if (const int16_t msgNo = check(work); msgNo != 0) return fail(msgNo);
    }
    if (const int16_t msgNo = CheckStatementKind(work, work); msgNo != 0) return fail(msgNo);
    if (const int16_t msgNo = CheckSymbolAdjacency(work); msgNo != 0) return fail(msgNo);
  }

  int16_t msgNo = 0;
  AppendStatement(Tables.CurrentStmtNo, work, msgNo);
  if (msgNo != 0) return fail(msgNo);
  statement.clear();
  outText.clear();
  return 0;
}

}  // namespace ms
