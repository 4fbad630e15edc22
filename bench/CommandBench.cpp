// Run time of the worksheet commands that take function values (IVP, BVP, contours, fields,
// dblInt), each on its worksheet as the graph build runs it: with the functions bound once per
// command ("Bound") and on the evaluation text per value ("Text", the road every value took
// before). References measured in the same run when the libraries are installed: GSL's rkf45 with
// a muparser right-hand side for the IVP, muparser values of the dblInt integrand.
//
// Each benchmark reports the peak resident memory of the process so far (kB) as "peak_kB".
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <functional>

#include "commands/ProgramState.h"
#include "language/CommandRequests.h"
#include "language/WorksheetReader.h"
#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"
#include "numerics/Bvp.h"
#include "numerics/DblInt.h"
#include "numerics/Ivp.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/ScriptedUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/Contour.h"
#include "plotting/DirField.h"
#include "plotting/Field3D.h"
#include "plotting/FieldTables.h"
#include "plotting/SceneStore.h"
#include "plotting/SlopeField.h"

#ifdef MATHSHEET_HAVE_MUPARSER
#include <muParser.h>
#endif
#ifdef MATHSHEET_HAVE_GSL
#include <gsl/gsl_errno.h>
#include <gsl/gsl_odeiv2.h>
#endif

namespace {

using Command = int16_t (*)(const rt::Text&);

struct Workload {
  const char16_t* sheet;      // definitions, each line ended by CR LF
  const char16_t* statement;  // the command as the graph build receives it
  Command run;
};

// Two harmonic oscillators as one system of four equations.
const Workload kIvp4 = {
    u"F{t,x,y,z,w}=y\r\nG{t,x,y,z,w}=-x\r\nH{t,x,y,z,w}=w\r\nR{t,x,y,z,w}=-z\r\n",
    u"IVP[F,G,H,R,{0,200,1,0,0,0}{1,0.000001,3}]", ms::ProcessIVP};
const Workload kContourSquares = {u"F{x,y}=x^2+y^2\r\n",
                                  u"PlotContour[F,{-3,3,-3,3}{1,1}{0.5,8,0.5}{0.01,0.1}]",
                                  ms::ProcessPlotContour};
const Workload kContourSinCos = {u"F{x,y}=Sin[x]*Cos[y]\r\n",
                                 u"PlotContour[F,{-3,3,-3,3}{1,1}{-0.9,0.9,0.1}{0.01,0.1}]",
                                 ms::ProcessPlotContour};
const Workload kDblInt = {u"F{x,y}=x*y+Sin[x*y]\r\nC{x}=0\r\nD{x}=1\r\n",
                          u"v=dblInt[F,C,D,{0,1,200,200,y}]", ms::ProcessDblInt};
const Workload kBvpSecant = {u"F{t,x,y}=y\r\nG{t,x,y}=-x\r\n",
                             u"BVP[F,G,{0,0,3,1}{0,2}{1,0.001,0}]", ms::ProcessBVP};
const Workload kSlopeField = {u"F{x,y}=x-y\r\n", u"PlotSlopeField[F,{-3,3,12}{-2,2,8}{0,1}{0,-1}]",
                              ms::ProcessPlotSlopeField};
const Workload kDirField = {u"F{x,y}=y\r\nH{x,y}=-x\r\n", u"PlotDirField[F,H,{-3,3,15}{-3,3,15}]",
                            ms::ProcessPlotDirField};
const Workload kField3D = {u"F{x,y,z}=y\r\nG{x,y,z}=-x\r\nH{x,y,z}=z/3\r\n",
                           u"PlotField3D[F,G,H,{-3,3,7}{-3,3,7}{-3,3,7}]", ms::ProcessPlotField3D};

long PeakKilobytes() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// The start a graph build finds: the worksheet executed, an empty scene.
void Prepare(const Workload& w, ui::ScriptedUiServices& screen) {
  ui::SetUi(&screen);
  ms::ResetProgramState();
  rt::Text stmtText;
  (void)ms::ProcessWorksheet(w.sheet, stmtText);
}

void CommandBench(benchmark::State& state, const Workload& w, bool bound) {
  ui::ScriptedUiServices screen;
  Prepare(w, screen);
  ms::SetFunctionBindingsEnabled(bound);
  for (auto _ : state) {
    state.PauseTiming();
    // From the executed sheet each time: a contour build adds its derivative records, and the
    // scripted screen logs every progress step.
    Prepare(w, screen);
    screen.Reset();
    rt::Text statement = w.statement;
    state.ResumeTiming();
    int16_t msgNo = 0;
    {
      const ms::FunctionBindingScope bindings;
      msgNo = w.run(statement);
    }
    if (msgNo != 0) {
      state.SkipWithError(("the command failed: " + std::to_string(msgNo)).c_str());
      break;
    }
    benchmark::DoNotOptimize(ms::Scene.SegmentCount);
  }
  ms::SetFunctionBindingsEnabled(true);
  state.counters["peak_kB"] = static_cast<double>(PeakKilobytes());
  ui::SetUi(nullptr);
}

// The process's peak memory with an empty worksheet executed, for comparison.
void BM_EmptyWorksheet(benchmark::State& state) {
  ui::ScriptedUiServices screen;
  for (auto _ : state) Prepare(Workload{u"", u"", nullptr}, screen);
  state.counters["peak_kB"] = static_cast<double>(PeakKilobytes());
  ui::SetUi(nullptr);
}
BENCHMARK(BM_EmptyWorksheet)->Iterations(1)->Unit(benchmark::kMillisecond);

// The bound runs first, so that the peak memory they report is theirs; then the text runs.
#define MATHSHEET_COMMAND_BENCH(name, workload) \
  void BM_Bound_##name(benchmark::State& s) {   \
    CommandBench(s, workload, true);            \
  }                                             \
  void BM_Text_##name(benchmark::State& s) {    \
    CommandBench(s, workload, false);           \
  }                                             \
  BENCHMARK(BM_Bound_##name)->Unit(benchmark::kMillisecond)

MATHSHEET_COMMAND_BENCH(Ivp4Equations, kIvp4);
MATHSHEET_COMMAND_BENCH(ContourSquares, kContourSquares);
MATHSHEET_COMMAND_BENCH(ContourSinCos, kContourSinCos);
MATHSHEET_COMMAND_BENCH(DblInt200, kDblInt);
MATHSHEET_COMMAND_BENCH(BvpSecant, kBvpSecant);
MATHSHEET_COMMAND_BENCH(SlopeField, kSlopeField);
MATHSHEET_COMMAND_BENCH(DirField, kDirField);
MATHSHEET_COMMAND_BENCH(Field3D, kField3D);
BENCHMARK(BM_Text_Ivp4Equations)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Text_ContourSquares)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Text_ContourSinCos)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Text_DblInt200)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Text_BvpSecant)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Text_SlopeField)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Text_DirField)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Text_Field3D)->Iterations(1)->Unit(benchmark::kMillisecond);

#ifdef MATHSHEET_HAVE_MUPARSER
// The dblInt integrand at the 201 x 201 Simpson nodes of the unit square, by muparser.
void BM_Reference_DblInt200Muparser(benchmark::State& state) {
  double x = 0, y = 0;
  mu::Parser p;
  p.DefineVar("x", &x);
  p.DefineVar("y", &y);
  p.SetExpr("x*y+sin(x*y)");
  for (auto _ : state) {
    double sum = 0;
    for (int i = 0; i <= 200; ++i) {
      for (int j = 0; j <= 200; ++j) {
        x = i / 200.0;
        y = j / 200.0;
        sum += p.Eval();
      }
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_Reference_DblInt200Muparser)->Unit(benchmark::kMillisecond);
#endif

#if defined(MATHSHEET_HAVE_GSL) && defined(MATHSHEET_HAVE_MUPARSER)
// The four-equation IVP (x'''' = -x as a system) from 0 to 200 with GSL's rkf45 at a tolerance of
// 1e-6, the right-hand side evaluated by muparser.
struct MuSystem {
  double t = 0, x = 0, y = 0, z = 0, w = 0;
  mu::Parser rhs[4];
  MuSystem() {
    const char* const exprs[4] = {"y", "-x", "w", "-z"};
    for (int i = 0; i < 4; ++i) {
      rhs[i].DefineVar("t", &t);
      rhs[i].DefineVar("x", &x);
      rhs[i].DefineVar("y", &y);
      rhs[i].DefineVar("z", &z);
      rhs[i].DefineVar("w", &w);
      rhs[i].SetExpr(exprs[i]);
    }
  }
};

int MuRhs(double t, const double u[], double f[], void* params) {
  auto* s = static_cast<MuSystem*>(params);
  s->t = t;
  s->x = u[0];
  s->y = u[1];
  s->z = u[2];
  s->w = u[3];
  for (int i = 0; i < 4; ++i) f[i] = s->rhs[i].Eval();
  return GSL_SUCCESS;
}

void BM_Reference_Ivp4GslRkf45Muparser(benchmark::State& state) {
  MuSystem system;
  gsl_odeiv2_system sys = {MuRhs, nullptr, 4, &system};
  for (auto _ : state) {
    gsl_odeiv2_driver* d =
        gsl_odeiv2_driver_alloc_y_new(&sys, gsl_odeiv2_step_rkf45, 1e-3, 1e-6, 0);
    double t = 0;
    double u[4] = {1, 0, 0, 0};  // as the worksheet's {0,200,1,0,0,0}
    for (int k = 1; k <= 1000; ++k) gsl_odeiv2_driver_apply(d, &t, 200.0 * k / 1000, u);
    benchmark::DoNotOptimize(u[0]);
    gsl_odeiv2_driver_free(d);
  }
}
BENCHMARK(BM_Reference_Ivp4GslRkf45Muparser)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
