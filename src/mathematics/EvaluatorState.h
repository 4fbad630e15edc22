// The evaluator's state and constants, shared by the evaluator and the guarded functions.
#pragma once

#include <array>
#include <cstdint>

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
  // Counts the divisions 0/0 that the guard gave 0 for, so that a method sampling a function can
  // tell a value at a removable point (sin x / x at 0) from a true zero. Only its changes count.
  uint32_t UndefinedQuotients = 0;
};

extern MathState MathVars;

}  // namespace ms

// The worksheet's π under its short name for code that reads it unqualified. It lives outside
// namespace ms so that a module's own local kPi inside ms still takes precedence.
inline constexpr double kPi = ms::kWorksheetPi;
