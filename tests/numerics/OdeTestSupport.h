// Shared by the initial value solver tests: a worksheet fixture whose right-hand-side road is
// wrapped so that every evaluation is recorded (name and arguments) and, where a test asks, served
// by a plain C++ function or made to fail.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "support/WorksheetFixture.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "numerics/FunctionValue.h"
#include "numerics/Ivp.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneTestSupport.h"

namespace ms::testing {

struct RhsCall {
  rt::Text resultName;
  rt::Text name;
  std::vector<double> args;
};

struct RhsLog {
  std::vector<RhsCall> calls;
  // Calls answered by a C++ function instead of the worksheet (by function identifier).
  std::map<rt::Text, std::function<double(const std::vector<double>&)>> native;
  // The call with this 0-based number fails (-1: none).
  long failAt = -1;
};

inline RhsLog& Log() {
  static RhsLog log;
  return log;
}

inline void RecordingEvaluator(const rt::Text& resultName, const rt::Text& name, const double* args,
                               int count, double& value, int16_t& msgNo) {
  RhsLog& log = Log();
  const long index = static_cast<long>(log.calls.size());
  log.calls.push_back({resultName, name, std::vector<double>(args, args + count)});
  if (index == log.failAt) {
    msgNo = 9999;
    return;
  }
  const auto it = log.native.find(name);
  if (it != log.native.end()) {
    msgNo = 0;
    value = it->second(log.calls.back().args);
    return;
  }
  EvalFunctionCall(resultName, name, args, count, value, msgNo);
}

class OdeTest : public WorksheetTest {
 protected:
  void SetUp() override {
    WorksheetTest::SetUp();
    ResetOdeResults();
    ResetIvpView();
    Log() = RhsLog{};
    RhsEvaluatorEntry() = &RecordingEvaluator;
  }
  void TearDown() override {
    ResetRhsEvaluator();
    IvpView.TimeGridUnit = nullptr;
    WorksheetTest::TearDown();
  }

  // A picture build as the graph window starts it: empty store and box, IVP[ requested.
  static void StartBuild() {
    StartSceneBuild();
    Requests.IVPRequested = -1;
  }

  static long Calls() { return static_cast<long>(Log().calls.size()); }

  // Start times of the steps taken: the first-stage time of every sixth call of one function.
  static std::vector<double> StepStarts(const rt::Text& firstFunction, int callsPerStep) {
    std::vector<double> out;
    const auto& calls = Log().calls;
    for (size_t i = 0; i < calls.size(); i += static_cast<size_t>(callsPerStep))
      if (calls[i].name == firstFunction) out.push_back(calls[i].args[0]);
    return out;
  }

  // Relative (or, near zero, absolute) closeness.
  static void ExpectClose(double actual, double expected, double rel) {
    EXPECT_NEAR(actual, expected, rel * std::max(1.0, std::fabs(expected)));
  }

  // Message boxes shown so far, their texts.
  std::vector<rt::Text> BoxTexts() const {
    std::vector<rt::Text> out;
    for (const auto& b : screen_.boxes) out.push_back(b.text);
    return out;
  }
};

}  // namespace ms::testing
