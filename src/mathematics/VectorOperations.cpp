#include "mathematics/VectorOperations.h"

#include <algorithm>
#include <vector>

#include "language/CommandArguments.h"
#include "language/Simplify.h"
#include "language/Tokens.h"
#include "mathematics/Constants.h"
#include "mathematics/Derivatives.h"
#include "mathematics/Macros.h"

namespace ms {

VectorStackState VectorStacks;

namespace {

constexpr int16_t kTrue = -1;
constexpr int kMaxComponentCounter = 999;

// Kinds of scalar records (the Kind field of a scalar-stack ConstRec).
constexpr int16_t kScalarIdent = 0;   // a constant or function identifier, in Name
constexpr int16_t kScalarBuilt = 1;   // a text built by an operation ("d$", "m$", "xx")
constexpr int16_t kScalarNumber = 2;  // a number ("nPwr", "nDer")
constexpr int16_t kScalarParm = 3;    // the parameter of the vector being defined ("#")

using rt::IsDigit;
using rt::IsLower;
using rt::IsUpper;

bool IsIdentChar(char16_t c) {
  return IsUpper(c) || IsLower(c) || IsDigit(c) || c == u'_' || c == u'.';
}
// Tokens that begin an expression with a scalar value: sDot[, sMag[, Ln[, Alog[, sMpy[, sDiv[,
// sPwr[ (the expression is given itself rather than as a vector identifier).
bool IsScalarLead(char16_t c) {
  return c == TokenChar(Builtin::SDot) || c == TokenChar(Builtin::SMag) ||
         c == TokenChar(Builtin::Ln) || c == TokenChar(Builtin::Alog) ||
         c == TokenChar(Builtin::SMpy) || c == TokenChar(Builtin::SDiv) ||
         c == TokenChar(Builtin::SPwr);
}
// Tokens whose result is a scalar left on the scalar stack.
bool IsScalarOp(char16_t c) {
  return c == TokenChar(Builtin::SDot) || c == TokenChar(Builtin::SMag) ||
         c == TokenChar(Builtin::SMpy) || c == TokenChar(Builtin::SDiv) ||
         c == TokenChar(Builtin::SPwr);
}
bool IsFunctionId(const Text& id) {
  return id.size() == 2 && IsUpper(id[0]) && (IsLower(id[1]) || id[1] == u'_');
}

int16_t& ComponentCounter() {
  return VectorStacks.ComponentFuncCounter;
}

Text CounterText(int n) {
  return rt::IntText(n);
}

ConstRec MakeScalar(const Text& name, int16_t kind, const Text& text) {
  ConstRec rec;
  rec.Kind = kind;
  rec.Name = name;
  rec.ValueText = text;
  return rec;
}

// An operand as it is pasted into a built text: in parentheses, so that no result depends on how
// the operand was written (a cross product's component is a difference, a scalar a product).
Text P(const Text& s) {
  return IsOneGroup(s) ? s : u"(" + s + u")";
}

// The operand text of a scalar: a built text or number, a constant by its name, a function
// identifier by its function's expression; a negated operand as "(-(" s "))". Pasted outside
// brackets it goes in parentheses (P).
[[nodiscard]] int16_t ScalarText(const ConstRec& s, Text& out) {
  if (s.Kind == kScalarBuilt || s.Kind == kScalarNumber) {
    out = s.ValueText;
  } else if (s.Kind == kScalarIdent && IsFunctionId(s.Name)) {
    Text parm;
    int16_t index = 0;
    int16_t msgNo = 0;
    msgNo = FindFunction(s.Name, parm, index);
    if (msgNo != 0) return msgNo;
    out = Tables.FuncTable[index].Expr;
  } else {
    out = s.Name;
  }
  if (s.Spare2 != 0) out = u"(-" + P(out) + u")";
  return 0;
}

// A vector result record: the expressions given, empty function names, Name the expression being
// expanded, DefText the statement, Parm that of the operand.
VecRec MakeVectorResult(const VecRec& a, const Text& x, const Text& y, const Text& z) {
  VecRec r;
  r.Name = VectorStacks.CurrentExpr;
  r.Parm = a.Parm;
  r.DefText = VectorStacks.CurrentStatement;
  r.XExpr = x;
  r.YExpr = y;
  r.ZExpr = z;
  r.Defined = kTrue;
  r.IsOperation = kTrue;
  return r;
}

// The vector result whose components are c[k] / m (m a text in parentheses).
VecRec DividedBy(const VecRec& a, const Text c[3], const Text& m) {
  return MakeVectorResult(a, u"(" + P(c[0]) + u"/" + m + u")", u"(" + P(c[1]) + u"/" + m + u")",
                          u"(" + P(c[2]) + u"/" + m + u")");
}

// Component c (0 x, 1 y, 2 z) of a vector record.
const Text& Comp(const VecRec& v, int c) {
  return c == 0 ? v.XExpr : (c == 1 ? v.YExpr : v.ZExpr);
}
const Text& CompName(const VecRec& v, int c) {
  return c == 0 ? v.XFuncName : (c == 1 ? v.YFuncName : v.ZFuncName);
}

// "Diff[" name "," parm tail "]" through the differentiator; the result comes back spelled out and
// in parentheses.
[[nodiscard]] int16_t DiffComponent(const Text& funcName, const Text& parm, const Text& tail,
                                    Text& out) {
  return ProcessDiff(u"Diff[" + funcName + u"," + parm + tail + u"]", out);
}

// The three first derivatives of a named vector's component functions.
[[nodiscard]] int16_t TangentParts(const VecRec& a, Text d[3]) {
  for (int c = 0; c < 3; ++c) {
    // Only a vector with component functions (a named vector) can be differentiated.
    if (CompName(a, c).empty()) return 325;
    if (const int16_t msgNo = DiffComponent(CompName(a, c), a.Parm, u"", d[c]); msgNo != 0) {
      return msgNo;
    }
  }
  return 0;
}

// |d|, in parentheses.
Text MagnitudeOf(const Text d[3]) {
  return u"(((" + d[0] + u")^2+(" + d[1] + u")^2+(" + d[2] + u")^2)^.5)";
}

[[nodiscard]] int16_t OpVNorm(const VecRec& a) {
  Text d[3];
  int16_t msgNo = TangentParts(a, d);
  if (msgNo != 0) return msgNo;
  Text m = MagnitudeOf(d);
  Text t[3];
  for (int c = 0; c < 3; ++c) t[c] = u"(" + P(d[c]) + u"/" + m + u")";

  // The unit tangent is differentiated through one temporary function record, removed again on
  // every exit.
  if (ComponentCounter() + 1 > kMaxComponentCounter || Tables.FuncCount >= kMaxFunctions) {
    return 510;
  }
  int16_t savedCount = Tables.FuncCount;
  ComponentCounter() += 1;
  int16_t index = AppendFunction(msgNo);
  if (msgNo != 0) {
    ComponentCounter() -= 1;
    return msgNo;
  }
  FuncRec& temp = Tables.FuncTable[index];
  temp = FuncRec{};
  temp.Name = u"X" + CounterText(ComponentCounter());
  temp.Parm1 = a.Parm;
  Text n[3];
  for (int c = 0; c < 3 && msgNo == 0; ++c) {
    Text tokens;
    TokenizeNames(t[c], tokens);
    Tables.FuncTable[index].Expr = tokens;
    msgNo = DiffComponent(Tables.FuncTable[index].Name, a.Parm, u"", n[c]);
  }
  Tables.FuncTable[index] = FuncRec{};
  Tables.FuncCount = savedCount;
  ComponentCounter() -= 1;
  if (msgNo != 0) return msgNo;
  Text nm = MagnitudeOf(n);
  return PushVector(DividedBy(a, n, nm));
}

// The order of vDiff[: the scalar on top of the stack when there is one.
[[nodiscard]] int16_t DiffOrder(Text& order) {
  order = u"1";
  if (VectorStacks.ScalarSP < 1) return 0;
  ConstRec s;
  if (const int16_t msgNo = PopScalar(s); msgNo != 0) return msgNo;
  if (s.Kind == kScalarNumber) {
    order = s.ValueText;
  } else if (s.Kind == kScalarBuilt) {
    return PushScalar(s);  // a computed scalar belongs to another operation
  } else if (s.Kind == kScalarIdent && s.Name.size() == 2 && IsLower(s.Name[0])) {
    // A constant gives its expression; any other lower-case name is no order.
    int16_t index = 0;
    if (FindConstant(s.Name, index) != 0) return 378;
    order = Tables.ConstTable[index].Expr;
  } else if (s.Kind == kScalarParm) {
    return 378;
  } else {
    return 996;
  }
  return 0;
}

}  // namespace

void ResetVectorStacks() {
  // Cleared in place: the state is too large for a temporary on the stack.
  for (auto& rec : VectorStacks.VecStack) rec = VecRec{};
  for (auto& rec : VectorStacks.ScalarStack) rec = ConstRec{};
  VectorStacks.VecSP = 0;
  VectorStacks.ScalarSP = 0;
  VectorStacks.CurrentStatement.clear();
  VectorStacks.CurrentExpr.clear();
  VectorStacks.LastXName.clear();
  VectorStacks.LastYName.clear();
  VectorStacks.LastZName.clear();
  VectorStacks.ComponentFuncCounter = 0;
}

int16_t FindVector(const Text& id, int16_t& index) {
  int count = Tables.VecCount;
  if (count > kMaxVectors) count = kMaxVectors;
  for (int k = 1; k <= count; ++k) {
    if (Tables.VecTable[k].Name == id) {
      index = static_cast<int16_t>(k);
      return 0;
    }
  }
  index = 0;
  return 325;
}

int16_t FindConstant(const Text& id, int16_t& index) {
  int count = Tables.ConstCount;
  if (count > kMaxConstants) count = kMaxConstants;
  for (int k = 1; k <= count; ++k) {
    if (Tables.ConstTable[k].Name == id) {
      index = static_cast<int16_t>(k);
      return 0;
    }
  }
  return 326;
}

namespace {

// One push and one pop for both operand stacks (slots 1..size, slot 0 unused): a full stack gives
// 510 and an empty pop emptyMsg; neither changes anything.
template <typename Rec, size_t N>
[[nodiscard]] int16_t PushOnto(std::array<Rec, N>& stack, int16_t& sp, const Rec& rec) {
  if (sp >= static_cast<int16_t>(N - 1)) return 510;
  stack[static_cast<size_t>(++sp)] = rec;
  return 0;
}

template <typename Rec, size_t N>
[[nodiscard]] int16_t PopFrom(std::array<Rec, N>& stack, int16_t& sp, Rec& rec, int16_t emptyMsg) {
  if (sp < 1) return emptyMsg;
  rec = stack[static_cast<size_t>(sp--)];
  return 0;
}

}  // namespace

int16_t PushVector(const VecRec& rec) {
  return PushOnto(VectorStacks.VecStack, VectorStacks.VecSP, rec);
}

int16_t PopVector(VecRec& rec) {
  return PopFrom(VectorStacks.VecStack, VectorStacks.VecSP, rec, 327);
}

int16_t PushScalar(const ConstRec& rec) {
  return PushOnto(VectorStacks.ScalarStack, VectorStacks.ScalarSP, rec);
}

int16_t PopScalar(ConstRec& rec) {
  return PopFrom(VectorStacks.ScalarStack, VectorStacks.ScalarSP, rec, 328);
}

int16_t ParseVDiffArgs(const Text& text, Text& result) {
  Text out;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    if (text[i] != TokenChar(Builtin::VDiff)) {
      out += text[i];
      ++i;
      continue;
    }
    // Token, "[" and the two-character vector identifier.
    if (i + 3 >= n || text[i + 1] != u'[') return 540;
    out += text.substr(i, 4);
    i += 4;
    if (i < n && text[i] == u']') {
      out += u",1]";
      i += 1;
    } else if (i + 2 < n && text[i] == u',' && text[i + 1] >= u'1' && text[i + 1] <= u'9' &&
               text[i + 2] == u']') {
      out += text.substr(i, 3);
      i += 3;
    } else {
      return 540;
    }
  }
  result = out;
  return 0;
}

int16_t ExpandVectorMacros(const Text& text, Text& result) {
  Text expanded;
  if (!text.empty() && IsScalarOp(text[0])) {
    Text rest;
    if (const int16_t msgNo = ApplyMacros(text.substr(1), rest); msgNo != 0) return msgNo;
    expanded = text.substr(0, 1) + rest;
  } else if (const int16_t msgNo = ApplyMacros(text, expanded); msgNo != 0) {
    return msgNo;
  }
  Text tokens;
  TokenizeNames(expanded, tokens);
  Text out;
  const size_t last = tokens.empty() ? 0 : tokens.size() - 1;  // the last character is not copied
  size_t i = 0;
  while (i < last) {
    char16_t c = tokens[i];
    if (c == u'[' || c == u']' || c == u',') {
      ++i;
    } else if (IsUpper(c) || IsLower(c)) {
      out += tokens.substr(i, 2);
      i += 2;
    } else {
      out += c;
      ++i;
    }
  }
  result = out;
  return 0;
}

namespace {

// The operands an operation takes from the stacks, popped in this order before it builds: the
// vector on top (a) and the one under it (b); a vector and then a scalar, given as its operand
// text (st); a scalar as text; two scalar records, the top one first (sa, sb).
enum class Takes { Nothing, Vector, TwoVectors, VectorAndScalar, Scalar, TwoScalars };

struct Operands {
  VecRec a, b;
  Text st;
  ConstRec sa, sb;
};

[[nodiscard]] int16_t PopOperands(Takes takes, Operands& o) {
  int16_t msgNo = 0;
  ConstRec s;
  switch (takes) {
    case Takes::Nothing:
      break;
    case Takes::Vector:
      msgNo = PopVector(o.a);
      break;
    case Takes::TwoVectors:
      msgNo = PopVector(o.a);
      if (msgNo == 0) msgNo = PopVector(o.b);
      break;
    case Takes::VectorAndScalar:
      msgNo = PopVector(o.a);
      if (msgNo == 0) msgNo = PopScalar(s);
      if (msgNo == 0) msgNo = ScalarText(s, o.st);
      break;
    case Takes::Scalar:
      msgNo = PopScalar(s);
      if (msgNo == 0) msgNo = ScalarText(s, o.st);
      break;
    case Takes::TwoScalars:
      msgNo = PopScalar(o.sa);
      if (msgNo == 0) msgNo = PopScalar(o.sb);
      break;
  }
  return msgNo;
}

[[nodiscard]] int16_t PushResult(const VecRec& a, const Text c[3]) {
  return PushVector(MakeVectorResult(a, c[0], c[1], c[2]));
}
[[nodiscard]] int16_t PushBuiltScalar(const Text& marker, const Text& text) {
  return PushScalar(MakeScalar(marker, kScalarBuilt, text));
}

// Component k is "(" P(a_k) op P(b_k) ")", spelled out.
[[nodiscard]] int16_t ComponentWise(const Operands& o, const char16_t* op) {
  Text c[3];
  for (int k = 0; k < 3; ++k)
    DetokenizeNames(u"(" + P(Comp(o.a, k)) + op + P(Comp(o.b, k)) + u")", c[k]);
  return PushResult(o.a, c);
}

int16_t BuildVAdd(const Operands& o) {
  return ComponentWise(o, u"+");
}
int16_t BuildVSub(const Operands& o) {
  return ComponentWise(o, u"-");
}

// Component k is a(k+1)*b(k+2) - a(k+2)*b(k+1), indices taken modulo 3.
int16_t BuildVCross(const Operands& o) {
  Text c[3];
  for (int k = 0; k < 3; ++k) {
    const int k1 = (k + 1) % 3, k2 = (k + 2) % 3;
    c[k] = u"(" + P(Comp(o.a, k1)) + u"*" + P(Comp(o.b, k2)) + u"-" + P(Comp(o.a, k2)) + u"*" +
           P(Comp(o.b, k1)) + u")";
  }
  return PushResult(o.a, c);
}

int16_t BuildSDot(const Operands& o) {
  const VecRec &a = o.a, &b = o.b;
  return PushBuiltScalar(u"d$", u"(" + P(b.XExpr) + u"*" + P(a.XExpr) + u"+" + P(b.YExpr) + u"*" +
                                    P(a.YExpr) + u"+" + P(b.ZExpr) + u"*" + P(a.ZExpr) + u")");
}

int16_t BuildSMag(const Operands& o) {
  const Text parts[3] = {o.a.XExpr, o.a.YExpr, o.a.ZExpr};
  return PushBuiltScalar(u"m$", MagnitudeOf(parts));
}

int16_t BuildVUnit(const Operands& o) {
  const VecRec& a = o.a;
  const Text parts[3] = {a.XExpr, a.YExpr, a.ZExpr};
  const Text m = u"Sqrt[" + P(a.XExpr) + u"^2+" + P(a.YExpr) + u"^2+" + P(a.ZExpr) + u"^2]";
  return PushVector(DividedBy(a, parts, m));
}

int16_t BuildVTan(const Operands& o) {
  Text d[3];
  if (const int16_t msgNo = TangentParts(o.a, d); msgNo != 0) return msgNo;
  return PushVector(DividedBy(o.a, d, MagnitudeOf(d)));
}

int16_t BuildVNorm(const Operands& o) {
  return OpVNorm(o.a);
}

// The rotations by the angle st about one axis: the axis component stays, the other two turn.
struct Turn {
  Text x, y, z;  // the components, each as one group
  Text cs, sn;   // "*Cos[" st "]" and "*Sin[" st "]"
};
Turn TurnOf(const Operands& o) {
  return {P(o.a.XExpr), P(o.a.YExpr), P(o.a.ZExpr), u"*Cos[" + o.st + u"]", u"*Sin[" + o.st + u"]"};
}

int16_t BuildVRotx(const Operands& o) {
  const Turn t = TurnOf(o);
  const Text c[3] = {t.x, u"(" + t.y + t.cs + u"-" + t.z + t.sn + u")",
                     u"(" + t.y + t.sn + u"+" + t.z + t.cs + u")"};
  return PushResult(o.a, c);
}
int16_t BuildVRoty(const Operands& o) {
  const Turn t = TurnOf(o);
  const Text c[3] = {u"(" + t.x + t.cs + u"+" + t.z + t.sn + u")", t.y,
                     u"(-" + t.x + t.sn + u"+" + t.z + t.cs + u")"};
  return PushResult(o.a, c);
}
int16_t BuildVRotz(const Operands& o) {
  const Turn t = TurnOf(o);
  const Text c[3] = {u"(" + t.x + t.cs + u"-" + t.y + t.sn + u")",
                     u"(" + t.x + t.sn + u"+" + t.y + t.cs + u")", t.z};
  return PushResult(o.a, c);
}

int16_t BuildVMpy(const Operands& o) {
  Text c[3];
  for (int k = 0; k < 3; ++k) c[k] = u"(" + P(o.st) + u"*" + P(Comp(o.a, k)) + u")";
  return PushResult(o.a, c);
}
int16_t BuildVDiv(const Operands& o) {
  Text c[3];
  for (int k = 0; k < 3; ++k) c[k] = u"(" + P(Comp(o.a, k)) + u"/" + P(o.st) + u")";
  return PushResult(o.a, c);
}

// Each component evaluated with the parameter letter replaced by the scalar.
int16_t BuildVEval(const Operands& o) {
  Text c[3];
  for (int k = 0; k < 3; ++k) {
    Text value;
    const int16_t msgNo =
        EvaluateText(u"(" + ReplaceParameterLetter(Comp(o.a, k), o.a.Parm, P(o.st)) + u")", value);
    if (msgNo != 0) return msgNo;
    DetokenizeNames(value, c[k]);
  }
  return PushResult(o.a, c);
}

// The translation by three scalars, popped after the vector: x first.
int16_t BuildVTran(const Operands& o) {
  Text t[3];
  for (int k = 0; k < 3; ++k) {
    ConstRec s;
    int16_t msgNo = PopScalar(s);
    if (msgNo == 0) msgNo = ScalarText(s, t[k]);
    if (msgNo != 0) return msgNo;
  }
  Text c[3];
  for (int k = 0; k < 3; ++k) c[k] = u"(" + P(Comp(o.a, k)) + u"+" + P(t[k]) + u")";
  return PushResult(o.a, c);
}

// "(" P(sa) op P(sb) ")" as a built scalar.
[[nodiscard]] int16_t ScalarArithmetic(const Operands& o, const char16_t* op,
                                       const char16_t* marker) {
  Text ta, tb;
  int16_t msgNo = ScalarText(o.sa, ta);
  if (msgNo == 0) msgNo = ScalarText(o.sb, tb);
  if (msgNo != 0) return msgNo;
  return PushBuiltScalar(marker, u"(" + P(ta) + op + P(tb) + u")");
}

int16_t BuildSMpy(const Operands& o) {
  return ScalarArithmetic(o, u"*", u"m$");
}
int16_t BuildSDiv(const Operands& o) {
  return ScalarArithmetic(o, u"/", u"d$");
}
// The exponent must be a number or a constant (1320 for a computed one).
int16_t BuildSPwr(const Operands& o) {
  const ConstRec& sb = o.sb;
  const bool constant = sb.Kind == kScalarIdent && sb.Name.size() == 2 && IsLower(sb.Name[0]);
  if (!constant && sb.Kind != kScalarNumber) return 1320;
  return ScalarArithmetic(o, u"^", u"m$");
}

// The derivatives of the component functions, of the order DiffOrder finds.
int16_t BuildVDiff(const Operands& o) {
  Text order;
  if (const int16_t msgNo = DiffOrder(order); msgNo != 0) return msgNo;
  Text c[3];
  for (int k = 0; k < 3; ++k) {
    if (CompName(o.a, k).empty()) return 325;
    const int16_t msgNo = DiffComponent(CompName(o.a, k), o.a.Parm, u"," + order, c[k]);
    if (msgNo != 0) return msgNo;
  }
  return PushResult(o.a, c);
}

// "#": the parameter of the vector being defined, as a scalar.
int16_t BuildParameter(const Operands&) {
  Text parm;
  if (Tables.VecCount >= 1 && Tables.VecCount <= kMaxVectors) {
    parm = Tables.VecTable[Tables.VecCount].Parm;
  }
  return PushScalar(MakeScalar(parm, kScalarParm, u""));
}

// "-": the negated scalar.
int16_t BuildNegation(const Operands& o) {
  return PushBuiltScalar(u"xx", u"(-" + P(o.st) + u")");
}

struct VectorOpRow {
  char16_t token;
  Takes takes;
  int16_t (*build)(const Operands& o);
};

constexpr VectorOpRow kVectorOps[] = {
    {TokenChar(Builtin::VAdd), Takes::TwoVectors, BuildVAdd},
    {TokenChar(Builtin::VSub), Takes::TwoVectors, BuildVSub},
    {TokenChar(Builtin::VCross), Takes::TwoVectors, BuildVCross},
    {TokenChar(Builtin::SDot), Takes::TwoVectors, BuildSDot},
    {TokenChar(Builtin::VUnit), Takes::Vector, BuildVUnit},
    {TokenChar(Builtin::SMag), Takes::Vector, BuildSMag},
    {TokenChar(Builtin::VTan), Takes::Vector, BuildVTan},
    {TokenChar(Builtin::VNorm), Takes::Vector, BuildVNorm},
    {TokenChar(Builtin::VRotx), Takes::VectorAndScalar, BuildVRotx},
    {TokenChar(Builtin::VRoty), Takes::VectorAndScalar, BuildVRoty},
    {TokenChar(Builtin::VRotz), Takes::VectorAndScalar, BuildVRotz},
    {TokenChar(Builtin::VMpy), Takes::VectorAndScalar, BuildVMpy},
    {TokenChar(Builtin::VDiv), Takes::VectorAndScalar, BuildVDiv},
    {TokenChar(Builtin::VEval), Takes::VectorAndScalar, BuildVEval},
    {TokenChar(Builtin::VTran), Takes::Vector, BuildVTran},
    {TokenChar(Builtin::SMpy), Takes::TwoScalars, BuildSMpy},
    {TokenChar(Builtin::SDiv), Takes::TwoScalars, BuildSDiv},
    {TokenChar(Builtin::SPwr), Takes::TwoScalars, BuildSPwr},
    {TokenChar(Builtin::VDiff), Takes::Vector, BuildVDiff},
    {u'#', Takes::Nothing, BuildParameter},
    {u'-', Takes::Scalar, BuildNegation},
};

// What each character of the reduced text of an expansion is. A letter begins a two-character
// identifier (the reduction copies them in pairs, so its second character may be a digit, as in
// the constant k1); the one digit after a vDiff[ token and its vector identifier is the
// derivative order the vDiff[ normalisation wrote; every other character is an operation, a sign
// or part of a number.
enum class ScanRole : uint8_t { kOther, kIdentifier, kOrder };

std::vector<ScanRole> ScanRoles(const Text& scan) {
  const size_t n = scan.size();
  std::vector<ScanRole> roles(n, ScanRole::kOther);
  size_t i = 0;
  while (i < n) {
    if (!(IsUpper(scan[i]) || IsLower(scan[i]))) {
      if (IsDigit(scan[i]) && i >= 3 && scan[i - 3] == TokenChar(Builtin::VDiff) &&
          roles[i - 2] == ScanRole::kIdentifier && roles[i - 1] == ScanRole::kIdentifier) {
        roles[i] = ScanRole::kOrder;
      }
      ++i;
      continue;
    }
    roles[i] = ScanRole::kIdentifier;
    if (i + 1 < n) roles[i + 1] = ScanRole::kIdentifier;
    i += 2;
  }
  return roles;
}

}  // namespace

int16_t VectorOp(char16_t token) {
  for (const VectorOpRow& row : kVectorOps) {
    if (row.token != token) continue;
    Operands o;
    const int16_t msgNo = PopOperands(row.takes, o);
    return msgNo != 0 ? msgNo : row.build(o);
  }
  return 1310;
}

int16_t ExpandVectorExpr(const Text& idOrExpr) {
  int16_t msgNo = 0;
  // A failed expansion may have left records behind; none may feed the next one.
  VectorStacks.VecSP = 0;
  VectorStacks.ScalarSP = 0;

  Text expr;
  int16_t vecIndex = 0;
  const bool scalarLead = !idOrExpr.empty() && IsScalarLead(idOrExpr[0]);
  if (!scalarLead) {
    // The current vector is the last record; look it up by name only when the caller named another
    // one.
    if (Tables.VecCount >= 1 && Tables.VecCount <= kMaxVectors &&
        Tables.VecTable[Tables.VecCount].Name == idOrExpr) {
      vecIndex = Tables.VecCount;
    } else {
      msgNo = FindVector(idOrExpr, vecIndex);
      if (msgNo != 0) return msgNo;
    }
    TokenizeNames(Tables.VecTable[vecIndex].DefText, expr);
    VectorStacks.CurrentStatement = Tables.VecTable[vecIndex].DefText;
  } else {
    expr = idOrExpr;
    VectorStacks.CurrentStatement = idOrExpr;
  }
  VectorStacks.CurrentExpr = idOrExpr;

  for (size_t i = 0; i < expr.size(); ++i) {
    if (IsUpper(expr[i]) && (i == 0 || (expr[i - 1] != u'[' && expr[i - 1] != u','))) {
      return 650;
    }
  }

  Text normal;
  msgNo = ParseVDiffArgs(expr, normal);
  if (msgNo != 0) return msgNo;
  Text scan;
  msgNo = ExpandVectorMacros(normal, scan);
  if (msgNo != 0) return msgNo;
  const bool hasSPwr = normal.find(TokenChar(Builtin::SPwr)) != Text::npos;
  const std::vector<ScanRole> roles = ScanRoles(scan);
  const auto role = [&roles](long at) { return roles[static_cast<size_t>(at)]; };

  long j = static_cast<long>(scan.size()) - 1;
  while (j >= 0) {
    const char16_t c = scan[static_cast<size_t>(j)];
    if (!IsIdentChar(c)) {
      msgNo = VectorOp(c);
      if (msgNo != 0) return msgNo;
      --j;
      continue;
    }
    if (role(j) == ScanRole::kOrder) {
      msgNo = PushScalar(MakeScalar(u"nDer", kScalarNumber, Text(1, c)));
      if (msgNo != 0) return msgNo;
      --j;
      continue;
    }
    if (hasSPwr && role(j) == ScanRole::kOther && (IsDigit(c) || c == u'.' || c == u'+')) {
      // The number runs leftwards up to an identifier, a derivative order or any other character.
      long k = j;
      while (k >= 0) {
        char16_t d = scan[static_cast<size_t>(k)];
        if (role(k) != ScanRole::kOther || !(IsDigit(d) || d == u'.' || d == u'+' || d == u'-')) {
          break;
        }
        --k;
      }
      Text number = scan.substr(static_cast<size_t>(k + 1), static_cast<size_t>(j - k));
      if (!rt::IsNumeric(number)) return 1330;
      msgNo = PushScalar(MakeScalar(u"nPwr", kScalarNumber, rt::NumText(rt::Val(number))));
      if (msgNo != 0) return msgNo;
      j = k;
      continue;
    }
    if (j < 1 ||
        !(IsUpper(scan[static_cast<size_t>(j - 1)]) || IsLower(scan[static_cast<size_t>(j - 1)]))) {
      return 1330;
    }
    const Text id = scan.substr(static_cast<size_t>(j - 1), 2);
    const bool negated = j >= 2 && scan[static_cast<size_t>(j - 2)] == u'-';
    if (IsUpper(id[0])) {
      int16_t index = 0;
      const int16_t findMsg = FindVector(id, index);
      if (findMsg != 0) {
        // A function identifier stands for a scalar: its expression is the operand.
        Text parm;
        int16_t fIndex = 0;
        int16_t funcMsg = 0;
        funcMsg = FindFunction(id, parm, fIndex);
        if (funcMsg != 0) return findMsg;
        ConstRec f = MakeScalar(id, kScalarIdent, u"");
        f.Spare2 = negated ? kTrue : 0;
        msgNo = PushScalar(f);
        if (msgNo != 0) return msgNo;
      } else {
        VecRec v = Tables.VecTable[index];
        const Text* names[3] = {&v.XFuncName, &v.YFuncName, &v.ZFuncName};
        Text* exprs[3] = {&v.XExpr, &v.YExpr, &v.ZExpr};
        for (int k = 0; k < 3; ++k) {
          Text parm;
          int16_t fIndex = 0;
          msgNo = FindFunction(*names[k], parm, fIndex);
          if (msgNo != 0) return msgNo;
          *exprs[k] = Tables.FuncTable[fIndex].Expr;
        }
        Tables.VecTable[index] = v;
        msgNo = PushVector(v);
        if (msgNo != 0) return msgNo;
      }
    } else {
      int16_t index = 0;
      msgNo = FindConstant(id, index);
      if (msgNo != 0) return msgNo;
      ConstRec k = Tables.ConstTable[index];
      k.Kind = kScalarIdent;
      k.Spare2 = negated ? kTrue : 0;
      msgNo = PushScalar(k);
      if (msgNo != 0) return msgNo;
    }
    j -= negated ? 3 : 2;
  }

  if (!expr.empty() && IsScalarOp(expr[0])) return 0;  // the caller pops the scalar result
  // Ln[ or Alog[ at the head of a scalar expression is no vector operation.
  if (scalarLead) return 1310;

  VecRec result;
  msgNo = PopVector(result);
  if (msgNo != 0) return msgNo;
  ReleaseComponentRecords(Tables.VecTable[vecIndex]);
  if (ComponentCounter() + 1 > kMaxComponentCounter || Tables.FuncCount + 3 > kMaxFunctions) {
    return 510;
  }
  ComponentCounter() += 1;
  const Text number = CounterText(ComponentCounter());
  VectorStacks.LastXName = u"X" + number;
  VectorStacks.LastYName = u"Y" + number;
  VectorStacks.LastZName = u"Z" + number;

  // The vector keeps its identifier, parameter and definition text; its component fields are
  // replaced.
  VecRec& cur = Tables.VecTable[vecIndex];
  cur.XFuncName = VectorStacks.LastXName;
  cur.YFuncName = VectorStacks.LastYName;
  cur.ZFuncName = VectorStacks.LastZName;
  cur.XExpr = result.XExpr;
  cur.YExpr = result.YExpr;
  cur.ZExpr = result.ZExpr;
  cur.Defined = kTrue;
  cur.IsOperation = kTrue;

  const Text* names[3] = {&cur.XFuncName, &cur.YFuncName, &cur.ZFuncName};
  const Text* exprs[3] = {&cur.XExpr, &cur.YExpr, &cur.ZExpr};
  for (int k = 0; k < 3; ++k) {
    int16_t index = AppendFunction(msgNo);
    if (msgNo != 0) return msgNo;
    FuncRec& f = Tables.FuncTable[index];
    f = FuncRec{};
    f.Name = *names[k];
    f.Expr = *exprs[k];
    f.Parm1 = cur.Parm;
  }
  return 0;
}

void ReleaseComponentRecords(VecRec& rec) {
  if (rec.ComponentMakes < 2) {
    ++rec.ComponentMakes;
    return;
  }
  const int16_t count = std::min<int16_t>(Tables.FuncCount, kMaxFunctions);
  std::vector<bool> leaves(static_cast<size_t>(count) + 1, false);
  int16_t first = 0;
  for (const Text* name : {&rec.XFuncName, &rec.YFuncName, &rec.ZFuncName}) {
    if (name->empty()) continue;
    for (int16_t k = count; k >= 1; --k) {
      if (!leaves[static_cast<size_t>(k)] &&
          Tables.FuncTable[static_cast<size_t>(k)].Name == *name) {
        leaves[static_cast<size_t>(k)] = true;
        if (first == 0 || k < first) first = k;
        break;
      }
    }
  }
  if (first == 0) return;
  int16_t to = first;
  for (int16_t k = first; k <= count; ++k) {
    if (leaves[static_cast<size_t>(k)]) continue;
    FuncRec& moved = Tables.FuncTable[static_cast<size_t>(to++)];
    moved = std::move(Tables.FuncTable[static_cast<size_t>(k)]);
    // The compile knows a record by its place in the table: a record that moved is compiled
    // afresh, as a new one is.
    moved.Code.clear();
    moved.Compiled = 0;
    moved.ExprWraps = -1;
  }
  for (int16_t k = to; k <= count; ++k) Tables.FuncTable[static_cast<size_t>(k)] = FuncRec{};
  Tables.FuncCount = static_cast<int16_t>(to - 1);
}

Text ReplaceParameterLetter(const Text& expr, const Text& parm, const Text& value) {
  if (parm.size() != 1) return expr;
  const char16_t p = parm[0];
  Text out;
  size_t i = 0;
  const size_t n = expr.size();
  while (i < n) {
    char16_t c = expr[i];
    char16_t next = i + 1 < n ? expr[i + 1] : 0;
    if (IsUpper(c) && (IsLower(next) || next == u'_')) {
      // A function or vector identifier (its second letter may be the parameter's).
      out += expr.substr(i, 2);
      i += 2;
    } else if (IsLower(c) && (IsLower(next) || IsDigit(next) || next == u'_')) {
      // A two-character constant identifier.
      out += expr.substr(i, 2);
      i += 2;
    } else if (c == p) {
      out += value;
      ++i;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

}  // namespace ms
