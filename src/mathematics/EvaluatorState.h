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
constexpr int16_t kMsgStackOverflow = 611;      // code would push past slot 30,000
constexpr int16_t kMsgInverseSineDomain = 612;  // ASin[ or ACos[ of a number outside [-1, 1]
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
  // Counts the results the guards gave the ±1E+20 stand-in for a pole: a number other than 0
  // divided by 0, 0 to a negative power, Tan[ at ±π/2. A method sampling a function tells by it a
  // pole's stand-in from a large value. Only its changes count.
  uint32_t PoleStandIns = 0;
};

extern MathState MathVars;

// Tells whether one of the guard counters above changed since the watch began or since Met was
// last asked: whether a value computed in between rests on a guard's stand-in.
class GuardCountWatch {
 public:
  explicit GuardCountWatch(const uint32_t& counter) : counter_(&counter), count_(counter) {}
  bool Met() {
    const uint32_t now = *counter_;
    const bool met = now != count_;
    count_ = now;
    return met;
  }

 private:
  const uint32_t* counter_;
  uint32_t count_;
};

// Whether a value rests on the ±1E+20 stand-in for a pole (1/0, Tan[ at π/2): such a value is no
// point of a curve or field, however it compares with its neighbours.
class PoleStandInWatch : public GuardCountWatch {
 public:
  PoleStandInWatch() : GuardCountWatch(MathVars.PoleStandIns) {}
};

}  // namespace ms

// The worksheet's π under its short name for code that reads it unqualified. It lives outside
// namespace ms so that a module's own local kPi inside ms still takes precedence.
inline constexpr double kPi = ms::kWorksheetPi;
