#include "support/WorksheetFixture.h"

#include <cmath>

#include "commands/OdeBinding.h"
#include "commands/ProgramState.h"
#include "commands/WorksheetRun.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/Simplify.h"
#include "mathematics/FunctionValue.h"
#include "numerics/Ivp.h"
#include "numerics/Rkf45.h"

namespace ms::testing {

void WorksheetTest::SetUp() {
  ResetProgramState();
  ui::SetUi(&screen_);
}

int16_t WorksheetTest::Run(std::initializer_list<const char16_t*> lines) {
  rt::Text text;
  for (const char16_t* line : lines) text += line + rt::Text(u"\r\n");
  return RunText(text);
}

int16_t WorksheetTest::RunText(const rt::Text& text) {
  ClearAll();
  ClearRequestsForExecute();
  RunFlags.AbortRun = 0;
  rt::Text stmtText;
  const int16_t msgNo = ProcessWorksheet(text, stmtText);
  if (msgNo != 0) DispError(Tables.CurrentStmtNo, msgNo, stmtText);
  RunFlags.AbortRun = 0;
  return msgNo;
}

const ConstRec* WorksheetTest::FindConst(const rt::Text& name) const {
  for (int k = 1; k <= Tables.ConstCount; ++k)
    if (Tables.ConstTable[k].Name == name) return &Tables.ConstTable[k];
  return nullptr;
}

double WorksheetTest::ConstValue(const rt::Text& name) const {
  const ConstRec* rec = FindConst(name);
  if (!rec) return std::nan("");
  rt::Text plain;
  Simplify(rec->ValueText, u"[2,2,2]", plain);
  return rt::Val(StripValueParens(plain));
}

std::vector<rt::Text> WorksheetTest::BoxTexts() const {
  std::vector<rt::Text> out;
  for (const auto& b : screen_.boxes) out.push_back(b.text);
  return out;
}

void WorksheetTest::PressEscAtEvent(long escAt) {
  screen_.doEventsCount = 0;
  screen_.onDoEvents = [this, escAt] {
    if (screen_.doEventsCount == escAt) RunFlags.AbortRun = -1;
  };
}

RhsLog& Log() {
  static RhsLog log;
  return log;
}

namespace {

int16_t RecordingEvaluator(const rt::Text& resultName, const rt::Text& name, const double* args,
                           int count, double& value) {
  RhsLog& log = Log();
  const long index = static_cast<long>(log.calls.size());
  log.calls.push_back({resultName, name, std::vector<double>(args, args + count)});
  if (log.failFrom >= 0 && index >= log.failFrom && (log.failName.empty() || name == log.failName))
    return 288;
  const auto it = log.native.find(name);
  if (it == log.native.end()) return EvalFunctionCall(resultName, name, args, count, value);
  value = it->second(log.calls.back().args);
  return 0;
}

}  // namespace

OdeRhs SolverTest::Rhs(std::initializer_list<rt::Text> ids) {
  const std::vector<rt::Text> names(ids);
  return BindWorksheetRhs(names.data(), static_cast<int>(names.size()));
}

void SolverTest::SetUp() {
  WorksheetTest::SetUp();
  Log() = RhsLog{};
  RhsEvaluatorEntry() = &RecordingEvaluator;
}

void SolverTest::TearDown() {
  ResetRhsEvaluator();
  IvpView.TimeGridUnit.reset();
  screen_.onDoEvents = nullptr;
  RunFlags.AbortRun = 0;
  RunFlags.Replot = 0;
  WorksheetTest::TearDown();
}

std::vector<double> SolverTest::StepStarts(const rt::Text& firstFunction, int callsPerStep) {
  std::vector<double> out;
  const auto& calls = Log().calls;
  for (size_t i = 0; i < calls.size(); i += static_cast<size_t>(callsPerStep))
    if (calls[i].name == firstFunction) out.push_back(calls[i].args[0]);
  return out;
}

void SolverTest::StartBuild(bool bvp) {
  StartSceneBuild();
  (bvp ? Requests.BVPRequested : Requests.IVPRequested) = -1;
}

void SolverTest::UseOscillator() {
  Log().native[u"F_"] = [](const std::vector<double>& a) { return a[2]; };
  Log().native[u"G_"] = [](const std::vector<double>& a) { return -a[1]; };
}

Seg SegmentAt(int s) {
  const SegmentRow& row = Scene.SegmentTable[static_cast<size_t>(s)];
  return {Scene.VertexXYZ[static_cast<size_t>(row[kStartPoint])],
          Scene.VertexXYZ[static_cast<size_t>(row[kEndPoint])], row};
}

std::vector<Seg> Segments(int from, int to) {
  std::vector<Seg> out;
  for (int s = from; s < (to < 0 ? Scene.SegmentCount : to); ++s) out.push_back(SegmentAt(s));
  return out;
}

::testing::AssertionResult NearRel(double actual, double expected, double rel) {
  if (std::abs(actual - expected) <= rel * std::max(1.0, std::abs(expected)))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << actual << " is not within " << rel << " (relative) of " << expected;
}

}  // namespace ms::testing
