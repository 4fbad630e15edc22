// Building a Plot[ curve of 25,000 points from compiled worksheet functions, and turning a full
// scene into picture coordinates.
#include <benchmark/benchmark.h>

#include <cmath>

#include "commands/ProgramState.h"
#include "language/ClearStorage.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/CompileCode.h"
#include "plotting/CurveGen.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"

#ifdef MATHSHEET_HAVE_MUPARSER
#include <muParser.h>
#endif

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

void SetUpHelixCurve() {
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
}

// Values per run: three components at points 0 .. PlotSteps + 1.
constexpr double kCurveValues = 3.0 * (12500 + 2);

void PerValue(benchmark::State& state) {
  state.counters["per_value"] = benchmark::Counter(
      kCurveValues, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Curve25000Points(benchmark::State& state) {
  SetUpHelixCurve();
  const int32_t valueTop = ms::Tables.ValueTop;
  for (auto _ : state) {
    ms::Tables.ValueTop = valueTop;
    ms::StartSceneBuild();
    if (ms::GenerateCurvePoints(1, 2, 3) != 0) {
      state.SkipWithError("the curve failed");
      break;
    }
    benchmark::DoNotOptimize(ms::Scene.VertexCount);
  }
  // Two points per segment.
  if (ms::Scene.VertexCount < 2 * 12500) state.SkipWithError("the curve is not complete");
  state.counters["points"] = ms::Scene.VertexCount;
  PerValue(state);
}
BENCHMARK(BM_Curve25000Points)->Unit(benchmark::kMillisecond);

#ifdef MATHSHEET_HAVE_MUPARSER
// The same curve with muparser giving the values: the same parameter steps, the same points handed
// to the curve builder and the same segments built from them.
void BM_Reference_Curve25000PointsMuparser(benchmark::State& state) {
  SetUpHelixCurve();
  double t = 0;
  mu::Parser p[3];
  const char* const exprs[3] = {"cos(t)", "sin(t)", "t/10"};
  for (int i = 0; i < 3; ++i) {
    p[i].DefineVar("t", &t);
    p[i].SetExpr(exprs[i]);
  }
  const ms::PlotRequestData& req = ms::PlotRequest;
  ms::Scene.GridUnitX = ms::View.UserGridUnitX;
  ms::Scene.GridUnitY = ms::View.UserGridUnitY;
  ms::Scene.GridUnitZ = ms::View.UserGridUnitZ;
  for (auto _ : state) {
    ms::StartSceneBuild();
    t = req.PlotTMin;
    for (int i = 0; i <= req.PlotSteps + 1; ++i) {
      const double x = p[0].Eval() / ms::Scene.GridUnitX;
      const double y = p[1].Eval() / ms::Scene.GridUnitY;
      const double z = p[2].Eval() / ms::Scene.GridUnitZ;
      ms::AcceptCurvePoint(i, x, y, z, std::isfinite(x) && std::isfinite(y) && std::isfinite(z));
      t += req.PlotDt;
    }
    ms::BuildCurveFromPoints();
    benchmark::DoNotOptimize(ms::Scene.VertexCount);
  }
  state.counters["points"] = ms::Scene.VertexCount;
  PerValue(state);
}
BENCHMARK(BM_Reference_Curve25000PointsMuparser)->Unit(benchmark::kMillisecond);
#endif

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
