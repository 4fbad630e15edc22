// Character tests shared by the statement checker and the statement-kind checks. Positions are
// 1-based as everywhere in the language; a position outside the text reads as the empty character
// 0, which belongs to no class, so every look-ahead and look-behind is safe at the text's ends.
#pragma once

#include "language/Tokens.h"
#include "platform/runtime/Runtime.h"

namespace ms::syntax {

using rt::IsDigit;
using rt::IsLetter;
using rt::IsLower;
using rt::IsUpper;

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

}  // namespace ms::syntax
