// Compiled code decoded into a list of operations, shared by the evaluator, which runs it, and the
// binder, which turns it into bound code for runs on numbers.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "language/WorksheetTables.h"
#include "mathematics/Evaluator.h"

namespace ms::code {

// ---------------------------------------------------------------------------------------------
// Decoded code

enum class Op : uint8_t {
  kLiteral,  // arg: slot in Program::literals
  kName,     // arg: slot in Program::names, resolved once per run
  kBadName,  // a grave accent too close to the start: the name cannot be formed
  kAdd,
  kMul,
  kDiv,
  kPow,
  kNeg,
  kSin,
  kCos,
  kTan,
  kSinh,
  kCosh,
  kTanh,
  kSqrt,
  kAbs,
  kLog,
  kLn,
  kExp,
  kASin,
  kACos,
  kATan,
  kAlog,
  kUnit,
  kSqw,
  kSign,
  kInv,
  kClip,
  kFloor,
  kCeil,
  kInt,
  // Operations of bound code only.
  kConst,     // push value
  kArg,       // push argument arg
  kAddConst,  // the top and a constant: value + top (the push and "+" of the evaluator in one)
  kMulConst,
  kDivConst,  // value / top
  kAddArg,
  kMulArg,
  kDivArg,
  kPowWhole,     // the top to the whole power arg (2 to kMaxProductPower), the exponent bound away
  kPowWholeArg,  // push value times argument arg to the whole power power
  kScaledArg,    // push value times argument arg
  kSinArg,       // push the sine of argument arg
  kCosArg,
};

constexpr int kLiteralNameLength = 7;

// A literal operand: its value list index and the name that entry must still carry.
struct LiteralOperand {
  int32_t k = 0;
  char16_t name[kLiteralNameLength] = {};
};

struct Program {
  // In execution order (last character of the code first); a literal's arg is its slot in
  // literals, a name's its slot in names.
  std::vector<BoundOperation> ops;
  std::vector<LiteralOperand> literals;
  std::vector<rt::Text> names;    // distinct parameter names (and odd literal names)
  std::vector<int32_t> resolved;  // ValueList index of each name for the current run, 0 absent
  // Stack depth relative to the start of the run, assuming no pop is refused: the lowest depth
  // at which a pop happens and the highest depth after a push.
  int minPopDepth = 0;
  int maxDepth = 0;
};

struct LetterRows;

// Decodes code, read from its last character to its first as the stack machine does, into p.
void Decode(const rt::Text& code, Program& p);

// Resolves every name of the program against the value list as it stands: the entry with the
// highest index at or below ValueTop wins. letters, when given, holds the list's one-character
// names as they stand.
void ResolveNames(Program& p, const LetterRows* letters = nullptr);

// Whether a value list name is the seven characters of a literal operand.
inline bool LiteralNameMatches(const rt::Text& stored, const char16_t* expected) {
  return stored.size() == kLiteralNameLength &&
         std::memcmp(stored.data(), expected, sizeof(char16_t) * kLiteralNameLength) == 0;
}

// The value list entry a literal or name operand reads as the list stands (names resolved by
// ResolveNames), 0 when a run would stop on it.
inline int32_t OperandEntry(const Program& p, const BoundOperation& in, int32_t top) {
  if (static_cast<Op>(in.op) == Op::kName) return p.resolved[static_cast<size_t>(in.arg)];
  const LiteralOperand& lit = p.literals[static_cast<size_t>(in.arg)];
  const bool holds =
      lit.k >= 1 && lit.k <= top &&
      LiteralNameMatches(Tables.ValueList[static_cast<size_t>(lit.k)].Name, lit.name);
  return holds ? lit.k : 0;
}

}  // namespace ms::code
