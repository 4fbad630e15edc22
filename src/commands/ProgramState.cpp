#include "commands/ProgramState.h"

#include "commands/ExecuteCommands.h"
#include "commands/IntegCommand.h"
#include "commands/OdeBinding.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "language/StatementCheck.h"
#include "language/Tokens.h"
#include "language/WorksheetReader.h"
#include "mathematics/Classify.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Math.h"
#include "mathematics/MathMacro.h"
#include "mathematics/MathVector.h"
#include "numerics/Bvp.h"
#include "numerics/BvpTrials.h"
#include "numerics/Ivp.h"
#include "numerics/LinearShooting.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "plotting/Contour.h"
#include "plotting/FieldTables.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"

namespace ms {
namespace {

// The compiler reports the offending text of a few messages in its argument; the statement the
// reader shows stays the one being read.
int16_t CompileStep(rt::Text& /*statement*/) {
  rt::Text text;
  return CompileFunctions(text);
}

}  // namespace

void InstallStatementPipeline() {
  StatementPipeline pipeline;
  pipeline.check = &CheckStatementSyntax;
  pipeline.classify = &ClassifyAndStore;
  pipeline.compile = &CompileStep;
  SetStatementPipeline(pipeline);
  SetImmediateCommandRunner(&RunImmediateCommand);
}

void ClearAll() {
  ClearRunTables();
  ClearSegmentMarks();
  Scene.VertexCount = 0;
  Scene.SegmentCount = 0;
}

void ClearRequestsForExecute() {
  ClearCommandRequests();
  // Integral curves continue one another only within one run.
  ResetIntegChain();
}

void ResetProgramState() {
  ResetWorksheetTables();
  InitBuiltinNames();
  ResetSettings();
  ResetCommandRequests();
  ResetIntegChain();
  RunFlags = RunFlagsState{};
  WorksheetSignals = WorksheetSignalState{};
  ResetPlotRequest();
  ResetScene();
  ResetViewState();
  ResetCurveWork();
  ResetSolutionStore();
  ResetOdeResults();
  ResetRhsEvaluator();
  ResetIvpView();
  ResetBvpState();
  ResetBvpTrials();
  ResetLinearShooting();
  ResetFieldTables();
  ResetContourState();
  ResetMathState();
  ClearCompileMemo();
  ClearResultsList();
  ResetVectorStacks();
  ResetMacroState();
  InstallStatementPipeline();
}

}  // namespace ms
