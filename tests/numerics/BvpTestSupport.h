// Shared set-up of the boundary value tests: a clean worksheet road with the BVP state reset and
// the BVP request set (so curves take the ODE colour), and two replacements of the right-hand-side
// evaluation road: one that counts the evaluations by text, and a native one for runs with many
// steps, whose right-hand sides are plain C++ functions of (t, x, y).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

#include "support/WorksheetFixture.h"
#include "language/CommandRequests.h"
#include "numerics/Bvp.h"
#include "numerics/FunctionValue.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "plotting/SceneStore.h"

namespace ms::testing {

using Rhs = std::function<double(double t, double x, double y)>;

// The state of the replacement evaluators (process-wide, as the road they replace).
struct EvalRecord {
  long count = 0;                  // evaluations since the last reset
  std::map<rt::Text, Rhs> native;  // name -> right-hand side of the native road
  rt::Text failing;                // a name whose evaluation fails (message 288)
  long failAfter = -1;             // the evaluation number from which `failing` fails
};
inline EvalRecord& Evals() {
  static EvalRecord record;
  return record;
}

// Counts, then evaluates by text as the program does.
inline void CountingEvaluator(const rt::Text& resultName, const rt::Text& name, const double* args,
                              int count, double& value, int16_t& msgNo) {
  ++Evals().count;
  EvalFunctionCall(resultName, name, args, count, value, msgNo);
}

// Counts, then evaluates the C++ right-hand side registered under the name.
inline void NativeEvaluator(const rt::Text&, const rt::Text& name, const double* args, int count,
                            double& value, int16_t& msgNo) {
  EvalRecord& r = Evals();
  ++r.count;
  msgNo = 0;
  const auto it = r.native.find(name);
  if (count != 3 || it == r.native.end() ||
      (name == r.failing && r.failAfter >= 0 && r.count > r.failAfter)) {
    msgNo = 288;
    return;
  }
  value = it->second(args[0], args[1], args[2]);
}

class BvpFixture : public WorksheetTest {
 protected:
  void SetUp() override {
    WorksheetTest::SetUp();
    ResetBvpState();
    ResetOdeResults();
    ResetRhsEvaluator();
    Evals() = EvalRecord{};
    RhsEvaluatorEntry() = &CountingEvaluator;
    StartSceneBuild();
  }
  void TearDown() override {
    ResetRhsEvaluator();
    WorksheetTest::TearDown();
  }

  // Defines worksheet functions (and constants) by running the lines, then marks the BVP request
  // as the worksheet's BVP[ statement would.
  void Define(std::initializer_list<const char16_t*> lines) {
    ASSERT_EQ(Run(lines), 0);
    Requests.BVPRequested = -1;
    StartSceneBuild();
  }

  // Right-hand sides as C++ functions, evaluated without the worksheet compiler.
  void UseNative(std::initializer_list<std::pair<const rt::Text, Rhs>> rhs) {
    Evals().native = rhs;
    RhsEvaluatorEntry() = &NativeEvaluator;
    Requests.BVPRequested = -1;
  }

  static int16_t Process(const rt::Text& statement) {
    rt::Text s = statement;
    int16_t msgNo = -99;
    ProcessBVP(s, msgNo);
    return msgNo;
  }

  // Texts of the message boxes shown so far.
  std::vector<rt::Text> BoxTexts() const {
    std::vector<rt::Text> out;
    for (const auto& b : screen_.boxes) out.push_back(b.text);
    return out;
  }
};

// |actual - expected| within rel of |expected| (or within rel when expected is 0).
inline ::testing::AssertionResult NearRel(double actual, double expected, double rel) {
  const double scale = std::max(1.0, std::abs(expected));
  if (std::abs(actual - expected) <= rel * scale) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << actual << " is not within " << rel << " (relative) of " << expected;
}

}  // namespace ms::testing
