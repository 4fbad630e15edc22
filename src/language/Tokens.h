// Built-in name tokens: every built-in function and command name with its "[" becomes one
// character (U+00C8..U+00FF, U+00D7 unused) followed by "[", so that later stages recognise a
// built-in by one character and test classes of built-ins with character ranges.
#pragma once

#include "platform/runtime/Runtime.h"

namespace ms {

// Token character of table entry k (0..54); entry 55 + k has the same token.
char16_t BuiltinTokenChar(int k);

// Fills BuiltinNames: entries 0..54 the capitalised names, 55..109 the same in lower case.
void InitBuiltinNames();

// dst := src with every built-in name replaced by its token. src and dst may be the same text.
void TokenizeNames(const rt::Text& src, rt::Text& dst);
// dst := src with every token replaced by its capitalised name, then every blank removed.
void DetokenizeNames(const rt::Text& src, rt::Text& dst);
// The display form: every token character becomes the name without its "[" (so a token followed by
// "[" reads "Sin[" and a lone one "Sin"), and every "_" is dropped.
rt::Text DetokenizeForDisplay(const rt::Text& text);

}  // namespace ms
