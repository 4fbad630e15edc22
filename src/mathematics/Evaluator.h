// The evaluator of compiled code.
//
// Compiled code is a string in prefix order, run from its last character to its first on a stack
// of doubles: literal operands are five digits and a grave accent (the value is ValueList entry k
// under the name "$", the digits and the accent), parameters one lower-case letter looked up by
// name (the latest ValueList entry wins), operators "+", "*", "/", "^", "M" (negate, with the "*"
// to its left skipped) and the built-in function tokens. The string is decoded once into a list of
// operations (kept in a small cache keyed by the code text) and one switch loop runs them.

#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mathematics/EvaluatorState.h"
#include "mathematics/GuardedFunctions.h"
#include "platform/runtime/Runtime.h"

namespace ms {

// Start-up state: empty stack, ValueSP 0, InvMemory 0, the three flags cleared, decode cache empty.
void ResetMathState();

// The lines the compiler and the evaluator add to the worksheet window's results list (List2);
// the window shows them, and the results listing empties the list before it writes its own.
// Every value request of a plot recompiles and adds its lines, so the list is capped: lines past
// kMaxResultLines are dropped.
constexpr size_t kMaxResultLines = 32767;

struct ResultsListState {
  std::vector<rt::Text> Lines;
};

extern ResultsListState ResultsList;

void AddResultLine(const rt::Text& line);
void ClearResultsList();

// Runs one compiled code string and returns its message; result is written only when that is 0.
// The message starts as msgBefore (the one standing before the run): every successful look-up and
// every power with a non-zero base sets it to 0, so only code that pushes no operand ends with it.
// Stops at once on -1 (unknown name), 603, 610, 611, 612 and 993, with ValueSP back where the run
// found it.
[[nodiscard]] int16_t Evaluate(const rt::Text& code, double& result, int16_t msgBefore = 0);

// Compiled code bound once for many runs on numbers. Literal operands carry their values; the
// one-letter operands named in the binding's argument letters read the run's arguments; every other
// name is resolved once, at binding, against the value list as Evaluate would resolve it then. A
// run gives exactly what Evaluate gives for the same code with the arguments standing in the value
// list, on a private stack (ValueStack and ValueSP are not touched).
struct BoundOperation {
  uint8_t op = 0;
  uint8_t power = 0;  // whole exponent of a power
  int32_t arg = 0;    // argument slot
  double value = 0;   // constant operand or factor
};

struct BoundCode {
  std::vector<BoundOperation> ops;  // in execution order
  int maxDepth = 0;                 // deepest stack of a run
  // Every pop finds a value and a run ends with exactly one: only such code is bound.
  bool wellFormed = false;
};

// Decodes code and binds it; argLetters holds one letter per argument slot. False (bound not
// usable) when the code is not well formed or needs more than the value stack holds.
bool BindCode(const rt::Text& code, const rt::Text& argLetters, BoundCode& bound);

// One run of bound code on args: the message Evaluate returns for the same code started with 0;
// result is written only when it is 0.
[[nodiscard]] int16_t RunBound(const BoundCode& bound, const double* args, double& result);

// Evaluates records 1 to FuncCount and stores each result in Value, drawing the worksheet's
// progress bar. A -1 is listed ("F : Undefined Constant or Parameter") and the next record
// follows, starting from it; a positive number stops the loop. Records with one-character names
// (after dropping a trailing "_") are listed with their value. Returns the last record's message.
[[nodiscard]] int16_t EvaluateFunctions();

// ValueList look-up by name, from ValueTop down to 1: 0 and the index, or -1 and index 0.
[[nodiscard]] int16_t LookupValueName(const rt::Text& name, int32_t& index);

// ValueStack: a push raises ValueSP and stores; a pop reads and lowers it. A pop with ValueSP
// below 1 is refused: -1 returned and value 0. A push past the last slot is refused (returns
// false, nothing changed).
bool PushValue(double value);
[[nodiscard]] int16_t PopValue(double& value);

}  // namespace ms
