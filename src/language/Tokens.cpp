#include "language/Tokens.h"

#include <algorithm>
#include <array>
#include <bitset>

#include "language/Simplify.h"
#include "language/WorksheetTables.h"

namespace ms {
namespace {

// The capitalised names in table order, each with its token; the Placeholder entry is spelled by no
// statement.
struct BuiltinName {
  Builtin token;
  const char16_t* name;
};
constexpr std::array<BuiltinName, kBuiltinCount / 2> kNames = {{
    {Builtin::Sin, u"Sin["},
    {Builtin::Cos, u"Cos["},
    {Builtin::Tan, u"Tan["},
    {Builtin::ASin, u"ASin["},
    {Builtin::ACos, u"ACos["},
    {Builtin::ATan, u"ATan["},
    {Builtin::Log, u"Log["},
    {Builtin::Sqrt, u"Sqrt["},
    {Builtin::Inv, u"Inv["},
    {Builtin::Exp, u"Exp["},
    {Builtin::Unit, u"Unit["},
    {Builtin::Sqw, u"Sqw["},
    {Builtin::Abs, u"Abs["},
    {Builtin::Sign, u"Sign["},
    {Builtin::Diff, u"Diff["},
    {Builtin::VAdd, u"vAdd["},
    {Builtin::VSub, u"vSub["},
    {Builtin::VNorm, u"vNorm["},
    {Builtin::VCross, u"vCross["},
    {Builtin::VDiv, u"vDiv["},
    {Builtin::SDot, u"sDot["},
    {Builtin::SMag, u"sMag["},
    {Builtin::VMpy, u"vMpy["},
    {Builtin::VDiff, u"vDiff["},
    {Builtin::VEval, u"vEval["},
    {Builtin::VTan, u"vTan["},
    {Builtin::VUnit, u"vUnit["},
    {Builtin::Ln, u"Ln["},
    {Builtin::Alog, u"Alog["},
    {Builtin::Sinh, u"Sinh["},
    {Builtin::Cosh, u"Cosh["},
    {Builtin::Tanh, u"Tanh["},
    {Builtin::Plot, u"Plot["},
    {Builtin::SMpy, u"sMpy["},
    {Builtin::SDiv, u"sDiv["},
    {Builtin::Zero, u"Zero["},
    {Builtin::PlotSlopeField, u"PlotSlopeField["},
    {Builtin::PlotDirField, u"PlotDirField["},
    {Builtin::PlotField3D, u"PlotField3D["},
    {Builtin::Placeholder, u"- - -["},
    {Builtin::SPwr, u"sPwr["},
    {Builtin::PlotContour, u"PlotContour["},
    {Builtin::Clip, u"Clip["},
    {Builtin::Floor, u"Floor["},
    {Builtin::Ceil, u"Ceil["},
    {Builtin::Int, u"Int["},
    {Builtin::VRotx, u"vRotx["},
    {Builtin::VRoty, u"vRoty["},
    {Builtin::VRotz, u"vRotz["},
    {Builtin::VTran, u"vTran["},
    {Builtin::PlotContour1, u"PlotContour1["},
    {Builtin::Integ, u"Integ["},
    {Builtin::IVP, u"IVP["},
    {Builtin::DblInt, u"dblInt["},
    {Builtin::BVP, u"BVP["},
}};

// The table holds every token once, in enumerator order.
constexpr bool InEnumeratorOrder() {
  for (size_t k = 1; k < kNames.size(); ++k) {
    const char16_t prev = TokenChar(kNames[k - 1].token), cur = TokenChar(kNames[k].token);
    const bool skipsTimes =
        kNames[k - 1].token == Builtin::Diff && kNames[k].token == Builtin::VAdd;
    if (cur != prev + 1 && !skipsTimes) return false;
  }
  return kNames.front().token == Builtin::Sin && kNames.back().token == Builtin::BVP;
}
static_assert(InEnumeratorOrder());

// The longer names that begin with a letter followed by a shorter name ("ASin[" is "A" + "Sin["),
// in both halves of the table. They are read before the table order reaches the shorter names, and
// only as they are spelled: a letter before a shorter name is the letter beside that built-in
// ("aSin[x]" is a beside Sin[x], which the checker refuses), not a longer name.
constexpr std::array<Builtin, 6> kLongerNames = {
    {Builtin::ASin, Builtin::ACos, Builtin::ATan, Builtin::VDiff, Builtin::VTan, Builtin::VUnit}};

bool IsLongerName(const BuiltinRec& b) {
  if (b.Token.empty()) return false;
  for (Builtin longer : kLongerNames) {
    if (b.Token[0] == TokenChar(longer)) return true;
  }
  return false;
}

// Replaces every occurrence of find in s; most names are absent from a statement, so the search
// alone decides and no copy is made then.
void ReplaceAll(rt::Text& s, rt::TextView find, rt::TextView with) {
  if (find.empty() || s.find(find) == rt::Text::npos) return;
  s = rt::Replace(s, find, with);
}

// The pairs of plain characters that stand right before a "[" in a text. A built-in name can only
// be found where its last two characters before its "[" stand so; a replacement puts a token
// character before its "[", so it never makes a new pair.
class BracketPairs {
 public:
  explicit BracketPairs(const rt::Text& s) {
    for (size_t i = 2; i < s.size(); ++i) {
      if (s[i] == u'[' && s[i - 1] < 128 && s[i - 2] < 128) {
        pairs_.set(Key(s[i - 2], s[i - 1]));
        any_ = true;
      }
    }
  }
  bool Any() const { return any_; }
  // Whether name (ending in "[") may occur.
  bool MayHold(const rt::Text& name) const {
    const size_t n = name.size();
    if (n < 3 || name[n - 2] >= 128 || name[n - 3] >= 128) return true;
    return pairs_.test(Key(name[n - 3], name[n - 2]));
  }

 private:
  static size_t Key(char16_t a, char16_t b) { return static_cast<size_t>(a) * 128 + b; }
  std::bitset<128 * 128> pairs_;
  bool any_ = false;
};

}  // namespace

void InitBuiltinNames() {
  constexpr size_t kCount = kNames.size();
  for (size_t k = 0; k < kCount; ++k) {
    const rt::Text name = kNames[k].name;
    const rt::Text token = rt::Text(1, TokenChar(kNames[k].token)) + u"[";
    Tables.BuiltinNames[k] = {name, token};
    Tables.BuiltinNames[k + kCount] = {rt::LCase(name), token};
  }
}

void TokenizeNames(const rt::Text& src, rt::Text& dst) {
  rt::Text s = src;
  const BracketPairs pairs(s);
  if (pairs.Any()) {
    for (const BuiltinRec& b : Tables.BuiltinNames) {
      if (IsLongerName(b) && pairs.MayHold(b.Name)) ReplaceAll(s, b.Name, b.Token);
    }
    for (const BuiltinRec& b : Tables.BuiltinNames) {
      if (pairs.MayHold(b.Name)) ReplaceAll(s, b.Name, b.Token);
    }
  }
  dst = std::move(s);
}

namespace {

// Whether letter followed by name (a name of the table) spells another name of the table, as "A"
// and "Sin[" spell "ASin[" and "A" and "log[" spell "Alog[".
bool SpellsLongerName(char16_t letter, rt::TextView name) {
  return std::any_of(Tables.BuiltinNames.begin(), Tables.BuiltinNames.end(),
                     [&](const BuiltinRec& b) {
                       return b.Name.size() == name.size() + 1 && b.Name[0] == letter &&
                              rt::TextView(b.Name).substr(1) == name;
                     });
}

}  // namespace

bool BeginsLongerName(char16_t letter) {
  return std::any_of(Tables.BuiltinNames.begin(), Tables.BuiltinNames.end(),
                     [&](const BuiltinRec& b) { return SpellsLongerName(letter, b.Name); });
}

rt::Text KeepNamesApartFromLetters(const rt::Text& src) {
  if (src.find(u' ') == rt::Text::npos) return src;
  rt::Text s = src;
  for (size_t p = 1; p < s.size(); ++p) {
    if (s[p - 1] != u' ') continue;
    size_t q = p - 1;  // the first of the blanks before p
    while (q > 0 && s[q - 1] == u' ') --q;
    if (q == 0 || !rt::IsLetter(s[q - 1])) continue;
    for (const BuiltinRec& b : Tables.BuiltinNames) {
      if (b.Name.empty() || s.compare(p, b.Name.size(), b.Name) != 0) continue;
      if (SpellsLongerName(s[q - 1], b.Name)) s.replace(p, b.Name.size(), b.Token);
      break;
    }
  }
  return s;
}

void DetokenizeNames(const rt::Text& src, rt::Text& dst) {
  rt::Text s = src;
  // Only the token characters the text holds are looked for (names put back are plain letters,
  // so no token appears on the way).
  std::array<bool, 0x100> present{};
  bool any = false;
  for (char16_t c : s) {
    if (IsBuiltinToken(c)) present[c] = any = true;
  }
  for (const BuiltinRec& b : Tables.BuiltinNames) {
    if (!any) break;
    if (b.Token.empty() || b.Token[0] >= present.size() || !present[b.Token[0]]) continue;
    ReplaceAll(s, b.Token, b.Name);
  }
  dst = RemoveBlanks(s);
}

rt::Text DetokenizeForDisplay(const rt::Text& text) {
  // One pass over the text: listings hold expanded expressions of many thousand characters, and a
  // search of the whole text per built-in name made listing them take seconds. A token reads as
  // the first name that has it (the capitalised names come first).
  std::array<const BuiltinRec*, 0x100> byToken{};
  for (const BuiltinRec& b : Tables.BuiltinNames) {
    if (b.Token.empty() || b.Name.empty() || b.Token[0] >= byToken.size()) continue;
    if (byToken[b.Token[0]] == nullptr) byToken[b.Token[0]] = &b;
  }
  rt::Text s;
  s.reserve(text.size() + text.size() / 4);
  for (const char16_t c : text) {
    if (c == u'_') continue;
    const BuiltinRec* b = c < byToken.size() ? byToken[c] : nullptr;
    if (b != nullptr) {
      s.append(b->Name, 0, b->Name.size() - 1);
    } else {
      s.push_back(c);
    }
  }
  return s;
}

}  // namespace ms
