// Building a Plot[ curve of 25,000 points from compiled worksheet functions, and turning a full
// scene into picture coordinates.
#include <benchmark/benchmark.h>

#include "commands/ProgramState.h"
#include "language/ClearStorage.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/CompileCode.h"
#include "plotting/CurveGen.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

namespace {

void CompileHelix() {
  ms::ClearAll();
  ms::InitBuiltinNames();
  const char16_t* names[3] = {u"X1", u"Y1", u"Z1"};
  const char16_t* exprs[3] = {u"Cos[t]", u"Sin[t]", u"t/10"};
  ms::Tables.FuncCount = 3;
  for (int i = 0; i < 3; ++i) {
    ms::FuncRec& f = ms::Tables.FuncTable[i + 1];
    f.Name = names[i];
    f.Parm1 = u"t";
    ms::TokenizeNames(exprs[i], f.Expr);
  }
  rt::Text text;
  (void)ms::CompileFunctions(text);
}

void BM_Curve25000Points(benchmark::State& state) {
  CompileHelix();
  ms::ResetViewState();
  ms::ResetCurveWork();
  ms::ResetPlotRequest();
  ms::PlotRequest.PlotVariable = u"t";
  ms::PlotRequest.PlotTMin = 0;
  ms::PlotRequest.PlotTMax = 100;
  ms::PlotRequest.PlotSteps = 12500;  // 12,500 segments of two points each
  ms::PlotRequest.PlotDt = 100.0 / 12500;
  ms::PlotRequest.PlotSelect[1] = -1;
  const int32_t valueTop = ms::Tables.ValueTop;
  for (auto _ : state) {
    ms::Tables.ValueTop = valueTop;
    ms::StartSceneBuild();
    ms::GenerateCurvePoints(1, 2, 3);
    benchmark::DoNotOptimize(ms::Scene.VertexCount);
  }
  // Two points per segment.
  if (ms::Scene.VertexCount < 2 * 12500) state.SkipWithError("the curve is not complete");
  state.counters["points"] = ms::Scene.VertexCount;
}
BENCHMARK(BM_Curve25000Points)->Unit(benchmark::kMillisecond);

void BM_RotateAndProject30000Points(benchmark::State& state) {
  ms::ResetViewState();
  ms::View.DisplayScaleHeight = 600;
  ms::View.ImageOffsetX = 400;
  ms::View.ImageOffsetY = 300;
  for (int i = 0; i < 30000; ++i) ms::Scene.VertexXYZ[i] = {i * 1e-3, 1 - i * 1e-4, 0.5};
  ms::Scene.VertexCountD = 30000;
  for (auto _ : state) {
    ms::Scene.ViewXYZ = ms::Scene.VertexXYZ;
    ms::RotateView();
    ms::ProjectView();
    benchmark::DoNotOptimize(ms::Scene.ViewXYZ[29999][0]);
  }
}
BENCHMARK(BM_RotateAndProject30000Points)->Unit(benchmark::kMicrosecond);

}  // namespace
