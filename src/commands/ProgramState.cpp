#include "commands/ProgramState.h"

#include "commands/IntegCommand.h"
#include "commands/OdeBinding.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "language/Tokens.h"
#include "mathematics/Classify.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Evaluator.h"
#include "mathematics/Macros.h"
#include "mathematics/VectorOperations.h"
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
void ClearAll() {
  ClearRunTables();
  ClearSegmentMarks();
  Scene.VertexCount = 0;
  Scene.SegmentCount = 0;
}

void ClearRequestsForExecute() {
  ClearCommandRequests();
  // Integral curves continue one another only within one run, and the placeholder text of a new
  // result constant comes from an integral of this run: nothing computed before leaks into it.
  ResetIntegChain();
  IntegResult = 0;
}

void ResetProgramState() {
  ResetWorksheetTables();
  InitBuiltinNames();
  ResetSettings();
  ResetCommandRequests();
  ResetIntegChain();
  IntegResult = 0;
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
}

}  // namespace ms
