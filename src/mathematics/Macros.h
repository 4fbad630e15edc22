// User macros: vector operations named "v" followed by a capital letter and more letters, called
// like a built-in operation (vTally[A,B]). A call is replaced by the macro's body with the
// arguments put in place of the header's one-letter parameters, so that vector expansion sees
// only built-in operations. The worksheet language has no statement that defines a macro, so the
// table stays empty in a run and every call is reported as unknown (605).
#pragma once

#include <array>
#include <cstdint>

#include "language/WorksheetTables.h"

namespace ms {

constexpr int kMacroArgPairs = 8;

struct MacroArgPair {
  Text Placeholder;
  Text Argument;
};

struct MacroState {
  // The parameters of the header and the arguments of the call being substituted; unused pairs
  // hold "".
  std::array<MacroArgPair, kMacroArgPairs + 1> MacroArgPairs;  // 1..8
  // Where the last call found by SubstituteMacroCall stands (1-based) and how long it is.
  long CallStart = 0;
  long CallLength = 0;
};

extern MacroState Macros;

void ResetMacroState();

// True (-1) when every macro call in the text names a macro of MacroTable 1..MacroCount.
int16_t MacroCallsDefined(const Text& text);

// Expands the macro calls of a text: 605 for an unknown macro; the result is the text with every
// call replaced (built-in names spelled out), or the text unchanged when nothing was substituted.
[[nodiscard]] int16_t ApplyMacros(const Text& text, Text& result);

// Expands the macro calls in the DefText of the current (last) vector record.
[[nodiscard]] int16_t ExpandMacros();

// Finds the first call of the macro whose header is given and fills MacroArgPairs with its
// (parameter, argument) pairs; found is -1 when a call was found. 602 header without "[", 604 a
// header whose "]" fits no parameter count 1..8, 665 a parameter that is not a letter, 606 a call
// whose arguments do not fit the header.
[[nodiscard]] int16_t SubstituteMacroCall(const Text& text, const Text& header, int16_t& found);

}  // namespace ms
