#include "language/Tokens.h"

#include <array>
#include <bitset>

#include "language/Simplify.h"
#include "language/WorksheetTables.h"

namespace ms {
namespace {

// The capitalised names in table order; entry 39 is a placeholder that no statement spells.
constexpr std::array<const char16_t*, 55> kNames = {u"Sin[",
                                                    u"Cos[",
                                                    u"Tan[",
                                                    u"ASin[",
                                                    u"ACos[",
                                                    u"ATan[",
                                                    u"Log[",
                                                    u"Sqrt[",
                                                    u"Inv[",
                                                    u"Exp[",
                                                    u"Unit[",
                                                    u"Sqw[",
                                                    u"Abs[",
                                                    u"Sign[",
                                                    u"Diff[",
                                                    u"vAdd[",
                                                    u"vSub[",
                                                    u"vNorm[",
                                                    u"vCross[",
                                                    u"vDiv[",
                                                    u"sDot[",
                                                    u"sMag[",
                                                    u"vMpy[",
                                                    u"vDiff[",
                                                    u"vEval[",
                                                    u"vTan[",
                                                    u"vUnit[",
                                                    u"Ln[",
                                                    u"Alog[",
                                                    u"Sinh[",
                                                    u"Cosh[",
                                                    u"Tanh[",
                                                    u"Plot[",
                                                    u"sMpy[",
                                                    u"sDiv[",
                                                    u"Zero[",
                                                    u"PlotSlopeField[",
                                                    u"PlotDirField[",
                                                    u"PlotField3D[",
                                                    u"- - -[",
                                                    u"sPwr[",
                                                    u"PlotContour[",
                                                    u"Clip[",
                                                    u"Floor[",
                                                    u"Ceil[",
                                                    u"Int[",
                                                    u"vRotx[",
                                                    u"vRoty[",
                                                    u"vRotz[",
                                                    u"vTran[",
                                                    u"PlotContour1[",
                                                    u"Integ[",
                                                    u"IVP[",
                                                    u"dblInt[",
                                                    u"BVP["};

// A shorter name found inside a longer one leaves the longer one's first letter in front of the
// shorter one's token: "ASin[" becomes "A" + token("Sin[") + "[". Each repair turns such a pair
// into the longer name's token.
struct Repair {
  char16_t letter;
  char16_t found;
  char16_t token;
};
constexpr std::array<Repair, 9> kRepairs = {{
    {u'A', u'\u00C8', u'\u00CB'},
    {u'a', u'\u00C8', u'\u00CB'},
    {u'A', u'\u00C9', u'\u00CC'},
    {u'a', u'\u00C9', u'\u00CC'},
    {u'A', u'\u00CA', u'\u00CD'},
    {u'a', u'\u00CA', u'\u00CD'},
    {u'v', u'\u00D6', u'\u00E0'},
    {u'v', u'\u00CA', u'\u00E2'},
    {u'v', u'\u00D2', u'\u00E3'},
}};

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

char16_t BuiltinTokenChar(int k) {
  return static_cast<char16_t>(k <= 14 ? 0x00C8 + k : 0x00C9 + k);
}

void InitBuiltinNames() {
  for (int k = 0; k < 55; ++k) {
    const rt::Text name = kNames[k];
    const rt::Text token = rt::Text(1, BuiltinTokenChar(k)) + u"[";
    Tables.BuiltinNames[k] = {name, token};
    Tables.BuiltinNames[k + 55] = {rt::LCase(name), token};
  }
}

void TokenizeNames(const rt::Text& src, rt::Text& dst) {
  rt::Text s = src;
  const BracketPairs pairs(s);
  for (const BuiltinRec& b : Tables.BuiltinNames) {
    if (!pairs.Any()) break;
    if (pairs.MayHold(b.Name)) ReplaceAll(s, b.Name, b.Token);
  }
  for (const Repair& r : kRepairs) {
    const char16_t pair[] = {r.letter, r.found};
    ReplaceAll(s, rt::TextView(pair, 2), rt::TextView(&r.token, 1));
  }
  dst = std::move(s);
}

void DetokenizeNames(const rt::Text& src, rt::Text& dst) {
  rt::Text s = src;
  // Only the token characters the text holds are looked for (names put back are plain letters,
  // so no token appears on the way).
  std::array<bool, 0x100> present{};
  bool any = false;
  for (char16_t c : s) {
    if (c >= 0x00C8 && c <= 0x00FF) present[c] = any = true;
  }
  for (const BuiltinRec& b : Tables.BuiltinNames) {
    if (!any) break;
    if (b.Token.empty() || b.Token[0] >= present.size() || !present[b.Token[0]]) continue;
    ReplaceAll(s, b.Token, b.Name);
  }
  dst = RemoveBlanks(s);
}

rt::Text DetokenizeForDisplay(const rt::Text& text) {
  rt::Text s = text;
  for (const BuiltinRec& b : Tables.BuiltinNames) {
    if (b.Token.empty()) continue;
    ReplaceAll(s, rt::TextView(b.Token).substr(0, 1),
               rt::TextView(b.Name).substr(0, b.Name.size() - 1));
  }
  return rt::Replace(s, u"_", u"");
}

}  // namespace ms
