// Built-in name tokens: every built-in function and command name with its "[" becomes one
// character (U+00C8..U+00FF, U+00D7 unused) followed by "[", so that later stages recognise a
// built-in by one character and test classes of built-ins with character ranges.
#pragma once

#include <array>
#include <cstddef>

#include "platform/runtime/Runtime.h"

namespace ms {

// The token characters, in name-table order: entry k of the table is U+00C8 + k up to Diff, and
// U+00C9 + k from vAdd on (U+00D7, the multiplication sign, is left out). Placeholder stands for a
// table entry no statement spells. The order is the stored form's: never reorder or insert.
enum class Builtin : char16_t {
  Sin = 0x00C8,
  Cos,
  Tan,
  ASin,
  ACos,
  ATan,
  Log,
  Sqrt,
  Inv,
  Exp,
  Unit,
  Sqw,
  Abs,
  Sign,
  Diff,
  VAdd = 0x00D8,
  VSub,
  VNorm,
  VCross,
  VDiv,
  SDot,
  SMag,
  VMpy,
  VDiff,
  VEval,
  VTan,
  VUnit,
  Ln,
  Alog,
  Sinh,
  Cosh,
  Tanh,
  Plot,
  SMpy,
  SDiv,
  Zero,
  PlotSlopeField,
  PlotDirField,
  PlotField3D,
  Placeholder,
  SPwr,
  PlotContour,
  Clip,
  Floor,
  Ceil,
  Int,
  VRotx,
  VRoty,
  VRotz,
  VTran,
  PlotContour1,
  Integ,
  IVP,
  DblInt,
  BVP,
};

constexpr char16_t TokenChar(Builtin b) {
  return static_cast<char16_t>(b);
}

// Any built-in name token.
constexpr bool IsBuiltinToken(char16_t c) {
  return c >= TokenChar(Builtin::Sin) && c <= TokenChar(Builtin::BVP);
}

// Whether c is a token from first to last in name-table order.
constexpr bool IsTokenIn(char16_t c, Builtin first, Builtin last) {
  return c >= TokenChar(first) && c <= TokenChar(last);
}

// The built-in functions the evaluator runs on one number: Sin..Sign, Ln..Tanh, Clip..Int.
constexpr bool IsEvaluatorFunction(char16_t c) {
  return IsTokenIn(c, Builtin::Sin, Builtin::Sign) || IsTokenIn(c, Builtin::Ln, Builtin::Tanh) ||
         IsTokenIn(c, Builtin::Clip, Builtin::Int);
}

// A wildcard character class (as rt::CharIs reads it) of plain characters and built-in tokens,
// assembled at compile time, for example TokenClass(u"0-9").Range(Builtin::Sin, Builtin::Tanh)
// reads "[0-9" + Sin + "-" + Tanh + "]".
class TokenClass {
 public:
  constexpr explicit TokenClass(std::u16string_view plain) {
    Put(u'[');
    Put(plain);
  }
  constexpr TokenClass Plain(std::u16string_view plain) const {
    TokenClass r = *this;
    r.Put(plain);
    return r;
  }
  constexpr TokenClass With(Builtin b) const {
    TokenClass r = *this;
    r.Put(TokenChar(b));
    return r;
  }
  constexpr TokenClass Range(Builtin first, Builtin last) const {
    TokenClass r = *this;
    r.Put(TokenChar(first));
    r.Put(u'-');
    r.Put(TokenChar(last));
    return r;
  }
  constexpr rt::TextView View() const { return {chars_.data(), size_ + 1}; }
  constexpr operator rt::TextView() const { return View(); }

 private:
  // The closing "]" always follows the last character put.
  constexpr void Put(char16_t c) {
    chars_[size_++] = c;
    chars_[size_] = u']';
  }
  constexpr void Put(std::u16string_view plain) {
    for (char16_t c : plain) Put(c);
  }
  std::array<char16_t, 48> chars_{};
  size_t size_ = 0;
};

// Fills BuiltinNames: entries 0..54 the capitalised names, 55..109 the same in lower case.
void InitBuiltinNames();

// dst := src with every built-in name replaced by its token. src and dst may be the same text.
void TokenizeNames(const rt::Text& src, rt::Text& dst);
// src with each built-in name that blanks part from a letter written as its token wherever that
// letter and the name, once the blanks are gone, would spell a longer name: "A Sin[x]" is A beside
// Sin[x] (refused as any name beside a call), not ASin[x]. Run before the blanks are removed.
rt::Text KeepNamesApartFromLetters(const rt::Text& src);
// Whether letter is the first letter of a longer name such as "ASin[" (A, a or v).
bool BeginsLongerName(char16_t letter);
// dst := src with every token replaced by its capitalised name, then every blank removed.
void DetokenizeNames(const rt::Text& src, rt::Text& dst);
// The display form: every token character becomes the name without its "[" (so a token followed by
// "[" reads "Sin[" and a lone one "Sin"), and every "_" is dropped.
rt::Text DetokenizeForDisplay(const rt::Text& text);

}  // namespace ms
