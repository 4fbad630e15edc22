// Statement kinds: what a checked statement is (constant, function, vector, parameter set, macro
// definition), whether its header has an accepted shape, whether its upper-case names are used as
// names may be, and its stored form. The stored form pads every one-letter identifier with "_"
// (a -> a_, F -> F_, A -> A_, and the component letter of a reference: B.y -> B_.y_), so that
// every constant, function and vector identifier is two characters long; the parameters of the
// function or vector being defined and the names of a parameter set stay single letters.
//
// Every check takes the working text of the statement checker (blank-free, unary plus removed,
// built-in names tokenised) and returns 0 or its message number. The rewriting checks set
// outText only on success; text and outText may be the same variable.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Two names, or a name and a number, side by side in an expression (abcd, ab2, x2).
constexpr int16_t kMsgNamesSideBySide = 246;
// An exponent "E" in a constant statement without the digits of a number before it (E1, (2)E1).
constexpr int16_t kMsgExponentWithoutDigits = 247;
// A function header that names one parameter twice (F{x,x}).
constexpr int16_t kMsgRepeatedParameter = 248;

// Decides the kind from the first characters and rewrites the statement into its stored form:
// commands (a command token and "[") and "vMacro[" pass unchanged, a lower-case start is a
// constant, "<" the parameter set, an upper-case identifier followed by "{" a function and by "<"
// a vector; any other upper-case start passes unchanged. 200 (shorter than 3), 201 (other start).
[[nodiscard]] int16_t CheckStatementKind(const rt::Text& text, rt::Text& outText);

// m=10, ab=2*c: 201, 202, 203, 221, 246, 247.
[[nodiscard]] int16_t CheckConstantStatement(const rt::Text& text, rt::Text& outText);
// F{x}=..., Fa{u,v}=... with 1 to 5 parameters: 200, 204, 211-219, 222, 224, 246, 248.
[[nodiscard]] int16_t CheckFunctionStatement(const rt::Text& text, rt::Text& outText);
// A<t>=<F,G,H> or A<t>= followed by a vector operation: 200, 225-227, 231, 232, 234-236, 246,
// 479.
[[nodiscard]] int16_t CheckVectorStatement(const rt::Text& text, rt::Text& outText);
// The whole statement "A<t>=" followed by a vector operation or a macro call: 236.
[[nodiscard]] int16_t CheckVectorHeader(const rt::Text& text, rt::Text& outText);
// <t=2.5;u=ax;r=-2>: 200, 240-245.
[[nodiscard]] int16_t CheckParameterSet(const rt::Text& text, rt::Text& outText);

// The header against the accepted shapes: 2, 205-209, 228, 991.
[[nodiscard]] int16_t CheckStatementHeader(const rt::Text& text);
// The use of upper-case names after the first "=": 405, 660, 661, 1300.
[[nodiscard]] int16_t CheckVectorUse(const rt::Text& text);
// vMacro[...]=...: the parameter symbols of the body must be in the header: 642-647.
[[nodiscard]] int16_t CheckMacroParameters(const rt::Text& text);

}  // namespace ms
