// The evaluator of compiled code and the guarded numeric functions.
//
// Compiled code is a string in prefix order, run from its last character to its first on a stack
// of doubles: literal operands are five digits and a grave accent (the value is ValueList entry k
// under the name "$", the digits and the accent), parameters one lower-case letter looked up by
// name (the latest ValueList entry wins), operators "+", "*", "/", "^", "M" (negate, with the "*"
// to its left skipped) and the built-in function tokens. The string is decoded once into a list of
// operations (kept in a small cache keyed by the code text) and one switch loop runs them.
//
// The guarded functions replace every arithmetic failure by a fixed value: 1E+20 stands for an
// infinite result, -1E+20 for a negative infinite one, 0 for an undefined one. Only a negative
// number under a square root (610), the logarithm of a number that is not positive (993), a
// negative base with no odd root (603) and an unknown name (-1) become messages.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace ms {

// π as the worksheet writes it (never the full double π) and the stand-in for an infinite value.
constexpr double kWorksheetPi = 3.1415926536;
constexpr double kGuardInfinity = 1E+20;

constexpr int kValueStackTop = 30000;  // ValueStack slots 0..30000

// Message numbers of the evaluator.
constexpr int16_t kMsgUndefinedName = -1;
constexpr int16_t kMsgNegativePower = 603;
constexpr int16_t kMsgNegativeSqrt = 610;
constexpr int16_t kMsgStackOverflow = 611;  // code would push past slot 30,000
constexpr int16_t kMsgLogNotPositive = 993;

// The evaluator's state. ValueSP is owned by the compiler, which sets it to 1 before it compiles
// each function; the evaluator never resets it, and well-formed code leaves it where it found it.
struct MathState {
  std::array<double, kValueStackTop + 1> ValueStack{};
  int16_t ValueSP = 0;
  // Last non-zero result of Inv[ (0 until the first non-zero argument).
  int16_t InvMemory = 0;
  // Set (-1) whenever Floor[, Ceil[ or Int[ is evaluated; the graph window clears them.
  int16_t UsedFloor = 0;
  int16_t UsedCeil = 0;
  int16_t UsedInt = 0;
};

extern MathState MathVars;

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
// Stops at once on -1 (unknown name), 603, 610, 611 and 993.
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

// The guarded functions.
double SafeDivide(double a, double b);
// x^y into result: 603 (result 0) for a negative base with no odd root, else 0.
[[nodiscard]] int16_t SafePower(double x, double y, double& result);
double SafeTan(double x);
double SafeSqrt(double x);
double UnitStep(double x);
double SafeASin(double x);
double SafeACos(double x);
double SafeATan(double x);
double ATan2(double y, double x);  // angle in [-π/2, 3π/2)
double SafeLn(double x);
double SafeExp(double x);
double SafeLog10(double x);
double Alog10(double x);
double SquareWave(double x);
int16_t SignOf(double x);
int16_t InverterMemory(double x);
double ClipUnit(double x);
// Floor, ceiling and truncation of Floor[, Ceil[ and Int[ (computed in double, so large arguments
// stay exact); each sets its Used flag.
double FloorInt(double x);
double CeilInt(double x);
double TruncInt(double x);

}  // namespace ms

// The worksheet's π under its short name for code that reads it unqualified. It lives outside
// namespace ms so that a module's own local kPi inside ms still takes precedence.
inline constexpr double kPi = ms::kWorksheetPi;
