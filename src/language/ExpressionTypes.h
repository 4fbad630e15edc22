// Statement kinds: what a checked statement is (constant, function, vector, parameter set, macro
// definition), whether its header has an accepted shape, whether its upper-case names are used as
// names may be, and its stored form. The stored form pads every one-letter identifier with "_"
// (a -> a_, F -> F_, A -> A_, and the component letter of a reference: B.y -> B_.y_), so that
// every constant, function and vector identifier is two characters long; the parameters of the
// function or vector being defined and the names of a parameter set stay single letters.
//
// Every check takes the working text of the statement checker (blank-free, unary plus removed,
// built-in names tokenised) and sets msgNo to 0 or to its message number. The rewriting checks set
// outText only on success; text and outText may be the same variable.
#pragma once

#include <cstdint>

#include "platform/runtime/Runtime.h"

namespace ms {

// Decides the kind from the first characters and rewrites the statement into its stored form:
// commands (a command token and "[") and "vMacro[" pass unchanged, a lower-case start is a
// constant, "<" the parameter set, an upper-case identifier followed by "{" a function and by "<"
// a vector; any other upper-case start passes unchanged. 200 (shorter than 3), 201 (other start).
void CheckStatementKind(const rt::Text& text, rt::Text& outText, int16_t& msgNo);

// m=10, ab=2*c: 201, 202, 203, 221.
void CheckConstantStatement(const rt::Text& text, rt::Text& outText, int16_t& msgNo);
// F{x}=..., Fa{u,v}=... with 1 to 5 parameters: 200, 204, 211-219, 222, 224.
void CheckFunctionStatement(const rt::Text& text, rt::Text& outText, int16_t& msgNo);
// A<t>=<F,G,H> or A<t>= followed by a vector operation: 200, 225-227, 231, 232, 234-236, 479.
void CheckVectorStatement(const rt::Text& text, rt::Text& outText, int16_t& msgNo);
// The whole statement "A<t>=" followed by a vector operation or a macro call: 236.
void CheckVectorHeader(const rt::Text& text, rt::Text& outText, int16_t& msgNo);
// <t=2.5;u=ax;r=-2>: 200, 240-245.
void CheckParameterSet(const rt::Text& text, rt::Text& outText, int16_t& msgNo);

// The header against the accepted shapes: 2, 205-209, 228, 991.
void CheckStatementHeader(const rt::Text& text, int16_t& msgNo);
// The use of upper-case names after the first "=": 405, 660, 661, 1300.
void CheckVectorUse(const rt::Text& text, int16_t& msgNo);
// vMacro[...]=...: the parameter symbols of the body must be in the header: 642-647.
void CheckMacroParameters(const rt::Text& text, int16_t& msgNo);

}  // namespace ms
