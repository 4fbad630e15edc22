// Character tests shared by the statement checker and the statement-kind checks. Positions are
// 1-based as everywhere in the language; a position outside the text reads as the empty character
// 0, which belongs to no class, so every look-ahead and look-behind is safe at the text's ends.
#pragma once

#include "platform/runtime/Runtime.h"

namespace ms::syntax {

using rt::IsDigit;
using rt::IsLetter;
using rt::IsLower;
using rt::IsUpper;

// Any built-in name token (the character that stands for a name and its "[").
inline bool IsToken(char16_t c) {
  return c >= u'\u00C8' && c <= u'\u00FF';
}
inline bool IsOperator(char16_t c) {
  return c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'^';
}

// The character at 1-based position pos, 0 outside the text.
inline char16_t At(const rt::Text& s, long pos) {
  return rt::CharAt(s, pos);
}

// The character matches a wildcard class such as u"[a-z0-9]"; the empty character never does.
inline bool Is(char16_t c, rt::TextView charClass) {
  return rt::CharIs(c, charClass);
}

// Token characters of the commands, as the checks recognise them at the start of a statement.
inline constexpr char16_t kTokenZero = u'\u00EC';
inline constexpr char16_t kTokenPlotSlopeField = u'\u00ED';
inline constexpr char16_t kTokenPlotDirField = u'\u00EE';
inline constexpr char16_t kTokenPlotField3D = u'\u00EF';
inline constexpr char16_t kTokenPlaceholder = u'\u00F0';
inline constexpr char16_t kTokenPlotContour = u'\u00F2';
inline constexpr char16_t kTokenPlotContour1 = u'\u00FB';
inline constexpr char16_t kTokenInteg = u'\u00FC';
inline constexpr char16_t kTokenIVP = u'\u00FD';
inline constexpr char16_t kTokenDblInt = u'\u00FE';
inline constexpr char16_t kTokenBVP = u'\u00FF';
inline constexpr char16_t kTokenDiff = u'\u00D6';

}  // namespace ms::syntax
