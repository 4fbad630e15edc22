// Runs worksheet texts through the worksheet language's whole road (reader, checker,
// classification, compiler, evaluator) with the scripted screen, so numerical commands are tested
// as a user meets them. SolverTest adds a recording right-hand-side road for the differential
// equation solvers.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "commands/OdeBinding.h"
#include "language/WorksheetTables.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/SceneStore.h"

namespace ms::testing {

class WorksheetTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { ui::SetUi(nullptr); }

  // Executes the worksheet (each line ended by CR LF) as Execute does up to the results: tables and
  // requests cleared, the worksheet read, the first error shown in its box. Returns its number.
  int16_t Run(std::initializer_list<const char16_t*> lines);
  int16_t RunText(const rt::Text& text);
  // The value of the constant named name (stored name, e.g. u"r_"), NaN when absent.
  double ConstValue(const rt::Text& name) const;
  const ConstRec* FindConst(const rt::Text& name) const;
  // Texts of the message boxes shown so far.
  std::vector<rt::Text> BoxTexts() const;
  // Counts events from 0 again and presses Esc (sets the abort flag) when event escAt runs; 0 =
  // never. The test clears the flag and screen_.onDoEvents afterwards.
  void PressEscAtEvent(long escAt);

  ui::ScriptedUiServices screen_;
};

// One right-hand-side evaluation as a solver asked for it.
struct RhsCall {
  rt::Text resultName, name;
  std::vector<double> args;
};

// The recording road: every call is logged; a function with a native entry is answered by it
// instead of the worksheet; calls from number failFrom on (0-based; of failName only, when given)
// fail.
struct RhsLog {
  std::vector<RhsCall> calls;
  std::map<rt::Text, std::function<double(const std::vector<double>& args)>> native;
  long failFrom = -1;
  rt::Text failName;
};
RhsLog& Log();

class SolverTest : public WorksheetTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  static long Calls() { return static_cast<long>(Log().calls.size()); }
  // The worksheet functions ids bound as one right-hand side, as the IVP[ and BVP[ commands bind
  // them (their values pass the recording evaluator).
  static OdeRhs Rhs(std::initializer_list<rt::Text> ids);
  // The progress the commands hand a method: events through the scripted screen, and with
  // heedEsc RunFlags.AbortRun stopping it.
  static ProgressSink Progress(bool heedEsc = true) { return WorksheetProgress(heedEsc); }
  // Start times of the steps taken: the first argument of every callsPerStep-th call of
  // firstFunction.
  static std::vector<double> StepStarts(const rt::Text& firstFunction, int callsPerStep);
  // A picture build as the graph window starts it: empty store and box, the IVP (or BVP) request.
  static void StartBuild(bool bvp = false);
  // x'' = -x as F_ = y, G_ = -x (arguments t, x, y), answered natively.
  static void UseOscillator();
};

// One segment of the scene store with its two end points.
struct Seg {
  Point3 from, to;
  SegmentRow row;
  double Length() const { return std::hypot(to[0] - from[0], to[1] - from[1], to[2] - from[2]); }
};
// Segment s, and the segments from..to (to < 0: all that follow).
Seg SegmentAt(int s);
std::vector<Seg> Segments(int from = 0, int to = -1);

// |actual - expected| within rel of max(1, |expected|).
::testing::AssertionResult NearRel(double actual, double expected, double rel);

}  // namespace ms::testing
