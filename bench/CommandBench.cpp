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
#include "numerics/Rkf45.h"
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

// Two harmonic oscillators as one system of four equations. A factor of 10 keeps the stored rows
// below the 1,000 of the "Number of data points" box (at factor 1 the run stops there, at
// t = 159.9), so that the run reaches t = 200 as the reference does.
const Workload kIvp4 = {
    u"F{t,x,y,z,w}=y\r\nG{t,x,y,z,w}=-x\r\nH{t,x,y,z,w}=w\r\nR{t,x,y,z,w}=-z\r\n",
    u"IVP[F,G,H,R,{0,200,1,0,0,0}{10,0.000001,3}]", ms::ProcessIVP};
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

// Harmonic oscillators as systems of one to four equations from t = 0 to 100 at a tolerance of
// 1e-6; a factor of 10 keeps the stored rows below the 1,000 of the "Number of data points" box,
// so every run reaches t = 100 (the benchmark fails on any box).
const Workload kIvpN[4] = {
    {u"F{t,x}=-x\r\n", u"IVP[F,{0,100,1}{10,0.000001}]", ms::ProcessIVP},
    {u"F{t,x,y}=y\r\nG{t,x,y}=-x\r\n", u"IVP[F,G,{0,100,1,0}{10,0.000001,2}]", ms::ProcessIVP},
    {u"F{t,x,y,z}=y\r\nG{t,x,y,z}=-x\r\nH{t,x,y,z}=-z\r\n",
     u"IVP[F,G,H,{0,100,1,0,1}{10,0.000001,2}]", ms::ProcessIVP},
    {u"F{t,x,y,z,w}=y\r\nG{t,x,y,z,w}=-x\r\nH{t,x,y,z,w}=w\r\nR{t,x,y,z,w}=-z\r\n",
     u"IVP[F,G,H,R,{0,100,1,0,0,1}{10,0.000001,2}]", ms::ProcessIVP}};
// The right-hand sides of kIvpN for the muparser reference.
const char* const kIvpMuRhs[4][4] = {
    {"-x"}, {"y", "-x"}, {"y", "-x", "-z"}, {"y", "-x", "w", "-z"}};
const double kIvpInit[4][4] = {{1}, {1, 0}, {1, 0, 1}, {1, 0, 0, 1}};
// dblInt of x*y+Sin[x*y] over the unit square with N x N panels.
const Workload kDblIntN[3] = {{u"F{x,y}=x*y+Sin[x*y]\r\nC{x}=0\r\nD{x}=1\r\n",
                               u"v=dblInt[F,C,D,{0,1,50,50,y}]", ms::ProcessDblInt},
                              {u"F{x,y}=x*y+Sin[x*y]\r\nC{x}=0\r\nD{x}=1\r\n",
                               u"v=dblInt[F,C,D,{0,1,200,200,y}]", ms::ProcessDblInt},
                              {u"F{x,y}=x*y+Sin[x*y]\r\nC{x}=0\r\nD{x}=1\r\n",
                               u"v=dblInt[F,C,D,{0,1,800,800,y}]", ms::ProcessDblInt}};
const int kDblIntPanels[3] = {50, 200, 800};

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
    if (msgNo != 0 || !screen.boxes.empty()) {
      state.SkipWithError(
          ("the command failed: " + std::to_string(msgNo) + " " +
           (screen.boxes.empty() ? std::string() : rt::ToUtf8(screen.boxes[0].text)))
              .c_str());
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
  // The CSV header is made from the first run: every counter a later run reports is named here.
  state.counters["values"] = 0;
  state.counters["per_value"] = 0;
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

// The right-hand-side values one IVP run takes, counted in a run of its own.
int CountedValues = 0;
int16_t CountingEvaluator(const rt::Text& resultName, const rt::Text& name, const double* args,
                          int count, double& value) {
  ++CountedValues;
  return ms::EvalFunctionCall(resultName, name, args, count, value);
}

// IVP with 1 to 4 equations (state.range(0)); "values" counts the right-hand-side values of one
// run.
void BM_Bound_IvpEquations(benchmark::State& state) {
  const Workload& w = kIvpN[state.range(0) - 1];
  {
    ui::ScriptedUiServices screen;
    Prepare(w, screen);
    CountedValues = 0;
    ms::RhsEvaluatorEntry() = &CountingEvaluator;
    rt::Text statement = w.statement;
    const ms::FunctionBindingScope bindings;
    (void)w.run(statement);
    ms::ResetRhsEvaluator();
    ui::SetUi(nullptr);
  }
  const int values = CountedValues;
  CommandBench(state, w, true);
  state.counters["values"] = values;
  state.counters["per_value"] = benchmark::Counter(
      values, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Bound_IvpEquations)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

// dblInt with N x N panels (state.range(0) = 50, 200, 800).
void BM_Bound_DblIntN(benchmark::State& state) {
  for (int i = 0; i < 3; ++i) {
    if (kDblIntPanels[i] == state.range(0)) CommandBench(state, kDblIntN[i], true);
  }
}
BENCHMARK(BM_Bound_DblIntN)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

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

// The same composite Simpson rule as dblInt (y first) over muparser: the limits C and D at every
// outer node and the integrand at every inner node, (N+1)^2 + 2(N+1) values.
void BM_Reference_DblIntNSimpsonMuparser(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  double x = 0, y = 0;
  mu::Parser f, c, d;
  for (mu::Parser* p : {&f, &c, &d}) {
    p->DefineVar("x", &x);
    p->DefineVar("y", &y);
  }
  f.SetExpr("x*y+sin(x*y)");
  c.SetExpr("0");
  d.SetExpr("1");
  auto simpson = [](double lo, double hi, int panels, auto g) {
    const double k = (hi - lo) / panels;
    double even = 0, odd = 0;
    for (int j = 1; j <= panels / 2 - 1; ++j) even += g(lo + 2.0 * j * k);
    for (int j = 1; j <= panels / 2; ++j) odd += g(lo + (2.0 * j - 1) * k);
    return (2 * even + g(lo) + 4 * odd + g(hi)) * k / 3;
  };
  long values = 0;
  for (auto _ : state) {
    values = 0;
    const double v = simpson(0.0, 1.0, n, [&](double xv) {
      x = xv;
      const double lo = c.Eval(), hi = d.Eval();
      values += 2;
      return simpson(lo, hi, n, [&](double yv) {
        y = yv;
        ++values;
        return f.Eval();
      });
    });
    benchmark::DoNotOptimize(v);
  }
  state.counters["values"] = static_cast<double>(values);
}
BENCHMARK(BM_Reference_DblIntNSimpsonMuparser)
    ->Arg(50)
    ->Arg(200)
    ->Arg(800)
    ->Unit(benchmark::kMillisecond);
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

// The systems of BM_Bound_IvpEquations with GSL's rkf45 at the same tolerance over the same range,
// muparser evaluating each right-hand side; "values" counts them.
struct MuSystemN {
  int n = 0;
  long values = 0;
  double t = 0, u[4] = {0, 0, 0, 0};
  mu::Parser rhs[4];
  explicit MuSystemN(int equations) : n(equations) {
    const char* const names[4] = {"x", "y", "z", "w"};
    for (int i = 0; i < n; ++i) {
      rhs[i].DefineVar("t", &t);
      for (int j = 0; j < n; ++j) rhs[i].DefineVar(names[j], &u[j]);
      rhs[i].SetExpr(kIvpMuRhs[n - 1][i]);
    }
  }
};

int MuRhsN(double t, const double u[], double f[], void* params) {
  auto* s = static_cast<MuSystemN*>(params);
  s->t = t;
  for (int i = 0; i < s->n; ++i) s->u[i] = u[i];
  for (int i = 0; i < s->n; ++i) f[i] = s->rhs[i].Eval();
  s->values += s->n;
  return GSL_SUCCESS;
}

void BM_Reference_IvpEquationsGslRkf45Muparser(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  MuSystemN system(n);
  gsl_odeiv2_system sys = {MuRhsN, nullptr, static_cast<size_t>(n), &system};
  for (auto _ : state) {
    system.values = 0;
    gsl_odeiv2_driver* d =
        gsl_odeiv2_driver_alloc_y_new(&sys, gsl_odeiv2_step_rkf45, 1e-3, 1e-6, 0);
    double t = 0;
    double u[4];
    for (int i = 0; i < 4; ++i) u[i] = kIvpInit[n - 1][i];
    const int status = gsl_odeiv2_driver_apply(d, &t, 100.0, u);
    gsl_odeiv2_driver_free(d);
    if (status != GSL_SUCCESS || t != 100.0) {
      state.SkipWithError("GSL did not reach t = 100");
      break;
    }
    benchmark::DoNotOptimize(u[0]);
  }
  state.counters["values"] = static_cast<double>(system.values);
  state.counters["per_value"] = benchmark::Counter(
      static_cast<double>(system.values),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Reference_IvpEquationsGslRkf45Muparser)
    ->DenseRange(1, 4)
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
