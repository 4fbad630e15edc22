#include <algorithm>

#include "language/WorksheetTables.h"
#include "mathematics/DecodedCode.h"
#include "mathematics/Evaluator.h"
#include "mathematics/GuardedFunctions.h"

namespace ms {

using namespace code;

namespace {

// The fused form of an operand push followed by a binary operation, or false.
bool FusedOp(Op operand, Op binary, Op& fused) {
  const bool isConst = operand == Op::kConst;
  switch (binary) {
    case Op::kAdd:
      fused = isConst ? Op::kAddConst : Op::kAddArg;
      return true;
    case Op::kMul:
      fused = isConst ? Op::kMulConst : Op::kMulArg;
      return true;
    case Op::kDiv:
      fused = isConst ? Op::kDivConst : Op::kDivArg;
      return true;
    default:
      return false;
  }
}

}  // namespace

bool BindCode(const rt::Text& code, const rt::Text& argLetters, BoundCode& bound) {
  bound = BoundCode{};
  Program p;
  Decode(code, p);
  ResolveNames(p);
  const int32_t top = std::min(Tables.ValueTop, kMaxValueIndex);
  int depth = 0;
  int maxDepth = 0;
  bool ok = true;
  // The operation that pushed each value of the stack (-1 for a result), and the constant
  // exponents taken into a whole power (their pushes are dropped).
  std::vector<int> pushedBy;
  std::vector<bool> dropped;
  for (const BoundOperation& decoded : p.ops) {
    const Op op = static_cast<Op>(decoded.op);
    BoundOperation b;
    switch (op) {
      case Op::kLiteral:
      case Op::kName: {
        size_t slot = rt::Text::npos;
        if (op == Op::kName) {
          const rt::Text& name = p.names[static_cast<size_t>(decoded.arg)];
          if (name.size() == 1) slot = argLetters.find(name[0]);
        }
        const int32_t k = slot == rt::Text::npos ? OperandEntry(p, decoded, top) : 0;
        if (slot != rt::Text::npos) {
          b.op = static_cast<uint8_t>(Op::kArg);
          b.arg = static_cast<int32_t>(slot);
        } else if (k != 0) {
          b.op = static_cast<uint8_t>(Op::kConst);
          b.value = Tables.ValueList[static_cast<size_t>(k)].Value;
        } else {
          b.op = static_cast<uint8_t>(Op::kBadName);
        }
        maxDepth = std::max(maxDepth, ++depth);  // a run stops at an unknown name
        break;
      }
      case Op::kBadName:
        b.op = static_cast<uint8_t>(Op::kBadName);
        break;
      case Op::kAdd:
      case Op::kMul:
      case Op::kDiv:
      case Op::kPow:
        if (depth < 2) ok = false;
        --depth;
        b.op = static_cast<uint8_t>(op);
        break;
      default:
        if (depth < 1) ok = false;
        b.op = static_cast<uint8_t>(op);
        break;
    }
    if (!ok) return false;
    if (op == Op::kPow) {
      // A constant exponent 2 to 4 lies under the base: its push is dropped and the power
      // becomes a product.
      const int e = pushedBy[pushedBy.size() - 2];
      BoundOperation* exponent = e >= 0 ? &bound.ops[static_cast<size_t>(e)] : nullptr;
      if (exponent != nullptr && exponent->op == static_cast<uint8_t>(Op::kConst) &&
          IsProductPower(exponent->value)) {
        dropped[static_cast<size_t>(e)] = true;
        b.op = static_cast<uint8_t>(Op::kPowWhole);
        b.power = static_cast<uint8_t>(exponent->value);
      }
    }
    if (op == Op::kAdd || op == Op::kMul || op == Op::kDiv || op == Op::kPow) {
      pushedBy.pop_back();
      pushedBy.back() = -1;
    } else if (op == Op::kLiteral || op == Op::kName) {
      pushedBy.push_back(static_cast<int>(bound.ops.size()));
    } else if (op != Op::kBadName) {
      pushedBy.back() = -1;
    }
    // An operand pushed and at once taken by "+", "*" or "/" becomes one operation, and so does
    // an argument taken by a whole power, Sin[ or Cos[; a negated constant is a constant
    // (Guard(-value), as a run would compute it).
    if (!bound.ops.empty()) {
      BoundOperation& last = bound.ops.back();
      const Op lastOp = static_cast<Op>(last.op);
      // The first constant factor of an argument's power, pushed right after it, joins it
      // (1 * power is the power).
      if (lastOp == Op::kConst && b.op == static_cast<uint8_t>(Op::kMul) && bound.ops.size() >= 2) {
        BoundOperation& power = bound.ops[bound.ops.size() - 2];
        if (power.op == static_cast<uint8_t>(Op::kPowWholeArg) && power.value == 1) {
          power.value = last.value;
          bound.ops.pop_back();
          dropped.pop_back();
          continue;
        }
        // So does the constant factor of an argument: value * argument, one push.
        if (power.op == static_cast<uint8_t>(Op::kArg)) {
          power.op = static_cast<uint8_t>(Op::kScaledArg);
          power.value = last.value;
          bound.ops.pop_back();
          dropped.pop_back();
          continue;
        }
      }
      Op fused{};
      if ((lastOp == Op::kConst || lastOp == Op::kArg) &&
          FusedOp(lastOp, static_cast<Op>(b.op), fused)) {
        last.op = static_cast<uint8_t>(fused);
        continue;
      }
      if (lastOp == Op::kConst && b.op == static_cast<uint8_t>(Op::kNeg)) {
        last.value = Guard(-last.value);
        continue;
      }
      if (lastOp == Op::kArg &&
          (b.op == static_cast<uint8_t>(Op::kSin) || b.op == static_cast<uint8_t>(Op::kCos))) {
        last.op = static_cast<uint8_t>(b.op == static_cast<uint8_t>(Op::kSin) ? Op::kSinArg
                                                                              : Op::kCosArg);
        continue;
      }
      if (lastOp == Op::kArg && b.op == static_cast<uint8_t>(Op::kPowWhole)) {
        last.op = static_cast<uint8_t>(Op::kPowWholeArg);
        last.power = b.power;
        last.value = 1;  // a factor 1 leaves the guarded power unchanged
        continue;
      }
    }
    bound.ops.push_back(b);
    dropped.push_back(false);
  }
  size_t kept = 0;
  for (size_t i = 0; i < bound.ops.size(); ++i) {
    if (!dropped[i]) bound.ops[kept++] = bound.ops[i];
  }
  bound.ops.resize(kept);
  bound.maxDepth = maxDepth;
  // Evaluate runs from ValueSP 1: deeper code would overflow the value stack there.
  bound.wellFormed = ok && depth == 1 && maxDepth + 1 <= kValueStackTop;
  return bound.wellFormed;
}

}  // namespace ms
