// Run time of the worksheet commands that take function values (IVP, BVP, contours, fields,
// dblInt), each on its worksheet as the graph build runs it, with the functions bound once per
// command. Every run must reach the end of its work: a message, a box (the IVP's point limit,
// for one) or an Esc makes the benchmark report an error instead of a time.
//
// References in the same run, doing the same work when the libraries are installed:
//  - IVP: GSL's rkf45 stepper with a muparser right-hand side, taking exactly the steps (tried
//    and kept) that the command took, recorded from its right-hand-side calls;
//  - dblInt: the same composite Simpson rule in both directions over muparser values of the
//    integrand and the two inner limits, at the same nodes.
// The dblInt command and its reference are checked against the exact integral, the IVP reference
// against the exact solution at t = 200.
//
// Each command benchmark reports the peak resident memory of the process so far (kB) as
// "peak_kB"; the IVP runs and their references report the steps they took as "steps" and the
// right-hand-side values as "values".
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <string>
#include <vector>

#include "BenchText.h"
#include "commands/ContourCommand.h"
#include "commands/DblIntCommand.h"
#include "commands/DirFieldCommand.h"
#include "commands/Field3DCommand.h"
#include "commands/OdeBinding.h"
#include "commands/OdeCommands.h"
#include "commands/ProgramState.h"
#include "commands/SlopeFieldCommand.h"
#include "commands/WorksheetRun.h"
#include "language/CommandRequests.h"
#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"
#include "numerics/Bvp.h"
#include "numerics/Ivp.h"
#include "numerics/Rkf45.h"
#include "numerics/SolutionStore.h"
#include "platform/ui/ScriptedUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/Contour.h"
#include "plotting/FieldTables.h"
#include "plotting/SceneStore.h"

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

// The IVP runs, t from 0 to 200 at a tolerance of 1e-6. A factor of 10 keeps the stored points
// (every third step and every sign change) under the table's 1000, so each solve runs to t = 200.
// mu: the right-hand sides for muparser, of t and x, y, z, w; exact: x(t).
struct IvpCase {
  Workload w;
  int vars;
  const char* mu[4];
  double (*exact)(double t);
};
constexpr double kIvpEnd = 200;
// t is the end of the solve (the last step's t + h, to a few units in the last place).
bool AtEnd(double t) {
  return std::fabs(t - kIvpEnd) <= 1e-12 * kIvpEnd;
}
const IvpCase kIvp1 = {{u"F{t,x}=Cos[t]\r\n", u"IVP[F,{0,200,1}{10,0.000001}]", ms::ProcessIVP},
                       1,
                       {"cos(t)"},
                       [](double t) { return 1 + std::sin(t); }};
// Harmonic oscillators: x' = y, y' = -x, with z' = x (three equations) or a second oscillator
// z' = w, w' = -z (four).
const IvpCase kIvp2 = {
    {u"F{t,x,y}=y\r\nG{t,x,y}=-x\r\n", u"IVP[F,G,{0,200,1,0}{10,0.000001,1}]", ms::ProcessIVP},
    2,
    {"y", "-x"},
    [](double t) { return std::cos(t); }};
const IvpCase kIvp3 = {{u"F{t,x,y,z}=y\r\nG{t,x,y,z}=-x\r\nH{t,x,y,z}=x\r\n",
                        u"IVP[F,G,H,{0,200,1,0,0}{10,0.000001,1}]", ms::ProcessIVP},
                       3,
                       {"y", "-x", "x"},
                       [](double t) { return std::cos(t); }};
const IvpCase kIvp4 = {
    {u"F{t,x,y,z,w}=y\r\nG{t,x,y,z,w}=-x\r\nH{t,x,y,z,w}=w\r\nR{t,x,y,z,w}=-z\r\n",
     u"IVP[F,G,H,R,{0,200,1,0,0,0}{10,0.000001,3}]", ms::ProcessIVP},
    4,
    {"y", "-x", "w", "-z"},
    [](double t) { return std::cos(t); }};
// 16 levels 0.5 to 8, error tolerance 0.01, segment length 0.1.
const Workload kContourSquares = {u"F{x,y}=x^2+y^2\r\n",
                                  u"PlotContour[F,{-3,3,-3,3}{1,1}{0.5,8,0.5}{0.01,0.1}]",
                                  ms::ProcessPlotContour};
// 19 levels -0.9 to 0.9, error tolerance 0.01, segment length 0.1.
const Workload kContourSinCos = {u"F{x,y}=Sin[x]*Cos[y]\r\n",
                                 u"PlotContour[F,{-3,3,-3,3}{1,1}{-0.9,0.9,0.1}{0.01,0.1}]",
                                 ms::ProcessPlotContour};
// The constant v exists before the command stores the integral in it, as after Execute.
const char16_t* const kDblIntSheet = u"F{x,y}=x*y+Sin[x*y]\r\nC{x}=0\r\nD{x}=1\r\nv=0\r\n";
const Workload kDblInt50 = {kDblIntSheet, u"v=dblInt[F,C,D,{0,1,50,50,y}]", ms::ProcessDblInt};
const Workload kDblInt200 = {kDblIntSheet, u"v=dblInt[F,C,D,{0,1,200,200,y}]", ms::ProcessDblInt};
const Workload kDblInt800 = {kDblIntSheet, u"v=dblInt[F,C,D,{0,1,800,800,y}]", ms::ProcessDblInt};
// The integral of x*y+Sin[x*y] over the unit square: 1/4 + Cin(1) (Cin the entire cosine
// integral), to 21 digits.
constexpr double kDblIntExact = 0.489811742000564725944;
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

// The start a graph build finds: the worksheet executed, an empty scene. False when the sheet
// itself stopped with a message.
bool Prepare(const Workload& w, ui::ScriptedUiServices& screen) {
  ui::SetUi(&screen);
  ms::ResetProgramState();
  rt::Text stmtText;
  return ms::ProcessWorksheet(w.sheet, stmtText) == 0;
}

// Runs the command once inside its binding scope: "" when it ran to the end, else what stopped
// it (its message, a box, Esc).
std::string RunToEnd(const Workload& w, ui::ScriptedUiServices& screen) {
  rt::Text statement = w.statement;
  int16_t msgNo = 0;
  {
    const ms::FunctionBindingScope bindings;
    msgNo = w.run(statement);
  }
  if (msgNo != 0) return "the command stopped with message " + std::to_string(msgNo);
  if (!screen.boxes.empty()) return "the command showed a box: " + bench::FirstBox(screen);
  if (ms::RunFlags.AbortRun != 0) return "the command was aborted";
  return "";
}

// The value of the worksheet constant named id (stored form), NaN when there is none.
double ConstantValue(const rt::Text& id) {
  for (int k = 1; k <= ms::Tables.ConstCount && k <= ms::kMaxConstants; ++k) {
    const ms::ConstRec& c = ms::Tables.ConstTable[static_cast<size_t>(k)];
    if (c.Name == id) return rt::Val(ms::StripValueParens(c.ValueText));
  }
  return std::nan("");
}

// A check of the finished run beyond "no message, no box": "" when it holds.
using RunCheck = std::string (*)();

std::string DblIntMatchesExact() {
  const double v = ConstantValue(u"v_");
  // Simpson's error with 50 panels is below 1e-9 here.
  if (!(std::fabs(v - kDblIntExact) <= 1e-8)) {
    return "dblInt gave " + std::to_string(v) + ", not the exact integral";
  }
  return "";
}

void CommandBench(benchmark::State& state, const Workload& w, RunCheck check = nullptr) {
  ui::ScriptedUiServices screen;
  for (auto _ : state) {
    state.PauseTiming();
    // From the executed sheet each time: a contour build adds its derivative records, and the
    // scripted screen logs every progress step.
    const bool sheetRan = Prepare(w, screen);
    screen.Reset();
    state.ResumeTiming();
    std::string failure = sheetRan ? RunToEnd(w, screen) : "the worksheet stopped with a message";
    if (failure.empty() && check != nullptr) failure = check();
    if (!failure.empty()) {
      state.SkipWithError(failure.c_str());
      break;
    }
    benchmark::DoNotOptimize(ms::Scene.SegmentCount);
  }
  state.counters["peak_kB"] = static_cast<double>(PeakKilobytes());
  ui::SetUi(nullptr);
}

// The process's peak memory with an empty worksheet executed, for comparison.
void BM_EmptyWorksheet(benchmark::State& state) {
  ui::ScriptedUiServices screen;
  for (auto _ : state) benchmark::DoNotOptimize(Prepare(Workload{u"", u"", nullptr}, screen));
  state.counters["peak_kB"] = static_cast<double>(PeakKilobytes());
  ui::SetUi(nullptr);
}
BENCHMARK(BM_EmptyWorksheet)->Iterations(1)->Unit(benchmark::kMillisecond);

// --- The steps of an IVP run ---------------------------------------------------------------

// One Fehlberg step as the solver tried it: from t with size h. A step that is followed by one
// from the same t was refused and taken again with a smaller size.
struct Step {
  double t, h;
};

// The solvers evaluate every right-hand side at each of the six stages in turn, so within one
// step evaluation s * vars + j is stage s of equation j; stage 0 is at t, stage 4 at t + h. The
// single-equation solver ends with one more value, the slope at the end point (trailing).
struct StepRecorder {
  int vars = 0;
  long values = 0;
  long trailing = 0;
  std::vector<Step> steps;
};
StepRecorder* g_recorder = nullptr;

int16_t RecordingEvaluator(const rt::Text& resultName, const rt::Text& name, const double* args,
                           int count, double& value) {
  StepRecorder& r = *g_recorder;
  const long perStep = 6L * r.vars;
  const long inStep = r.values % perStep;
  if (inStep == 0) r.steps.push_back({args[0], 0});
  if (inStep == 4L * r.vars) r.steps.back().h = args[0] - r.steps.back().t;
  ++r.values;
  return ms::EvalFunctionCall(resultName, name, args, count, value);
}

// The steps the IVP command takes on its worksheet, with "" or what stopped it.
std::string RecordIvpSteps(const IvpCase& c, StepRecorder& recorder) {
  ui::ScriptedUiServices screen;
  if (!Prepare(c.w, screen)) return "the worksheet stopped with a message";
  recorder = StepRecorder{c.vars, 0, 0, {}};
  g_recorder = &recorder;
  ms::RhsEvaluatorEntry() = &RecordingEvaluator;
  std::string failure = RunToEnd(c.w, screen);
  ms::ResetRhsEvaluator();
  g_recorder = nullptr;
  ui::SetUi(nullptr);
  recorder.trailing = recorder.values % (6L * c.vars);
  if (recorder.trailing != 0) recorder.steps.pop_back();  // begun by the trailing values
  if (failure.empty() && recorder.trailing != (c.vars == 1 ? 1 : 0)) {
    failure = "the right-hand sides were not evaluated in whole steps";
  }
  if (failure.empty() &&
      (recorder.steps.empty() || !AtEnd(recorder.steps.back().t + recorder.steps.back().h))) {
    failure = "the solve did not end at t = 200";
  }
  return failure;
}

// The steps of the command, or false with the benchmark ended by what stopped it.
bool RecordedSteps(benchmark::State& state, const IvpCase& c, StepRecorder& recorder) {
  const std::string failure = RecordIvpSteps(c, recorder);
  if (!failure.empty()) state.SkipWithError(failure.c_str());
  return failure.empty();
}

void IvpBench(benchmark::State& state, const IvpCase& c) {
  StepRecorder recorder;
  if (!RecordedSteps(state, c, recorder)) return;
  CommandBench(state, c.w);
  state.counters["steps"] = static_cast<double>(recorder.steps.size());
  state.counters["values"] = static_cast<double>(recorder.values);
}

#define MATHSHEET_COMMAND_BENCH(name, ...) \
  void BM_##name(benchmark::State& s) {    \
    CommandBench(s, __VA_ARGS__);          \
  }                                        \
  BENCHMARK(BM_##name)->Unit(benchmark::kMillisecond)

void BM_Ivp1Equation(benchmark::State& s) {
  IvpBench(s, kIvp1);
}
void BM_Ivp2Equations(benchmark::State& s) {
  IvpBench(s, kIvp2);
}
void BM_Ivp3Equations(benchmark::State& s) {
  IvpBench(s, kIvp3);
}
void BM_Ivp4Equations(benchmark::State& s) {
  IvpBench(s, kIvp4);
}
BENCHMARK(BM_Ivp1Equation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ivp2Equations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ivp3Equations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ivp4Equations)->Unit(benchmark::kMillisecond);
MATHSHEET_COMMAND_BENCH(ContourSquares, kContourSquares);
MATHSHEET_COMMAND_BENCH(ContourSinCos, kContourSinCos);
MATHSHEET_COMMAND_BENCH(DblInt50, kDblInt50, DblIntMatchesExact);
MATHSHEET_COMMAND_BENCH(DblInt200, kDblInt200, DblIntMatchesExact);
MATHSHEET_COMMAND_BENCH(DblInt800, kDblInt800, DblIntMatchesExact);
MATHSHEET_COMMAND_BENCH(BvpSecant, kBvpSecant);
MATHSHEET_COMMAND_BENCH(SlopeField, kSlopeField);
MATHSHEET_COMMAND_BENCH(DirField, kDirField);
MATHSHEET_COMMAND_BENCH(Field3D, kField3D);

#ifdef MATHSHEET_HAVE_MUPARSER
// The dblInt of the unit square with n panels each way, as the command computes it: for every
// outer node x the limits C(x) and D(x), then the inner composite Simpson rule over F(x, y); all
// three functions by muparser.
void DblIntReference(benchmark::State& state, int n) {
  double x = 0, y = 0;
  mu::Parser f, c, d;
  for (mu::Parser* p : {&f, &c, &d}) {
    p->DefineVar("x", &x);
    p->DefineVar("y", &y);
  }
  f.SetExpr("x*y+sin(x*y)");
  c.SetExpr("0");
  d.SetExpr("1");
  // Composite Simpson over [lo, hi] with n panels: weights 1, 4, 2, ..., 4, 1 times h / 3.
  const auto simpson = [n](double lo, double hi, auto&& g) {
    const double h = (hi - lo) / n;
    double sum = g(lo) + g(hi);
    for (int j = 1; j < n; ++j) sum += (j % 2 == 1 ? 4 : 2) * g(lo + j * h);
    return sum * h / 3;
  };
  double result = 0;
  for (auto _ : state) {
    result = simpson(0.0, 1.0, [&](double xv) {
      x = xv;
      const double lo = c.Eval();
      const double hi = d.Eval();
      return simpson(lo, hi, [&](double yv) {
        y = yv;
        return f.Eval();
      });
    });
    benchmark::DoNotOptimize(result);
  }
  if (!(std::fabs(result - kDblIntExact) <= 1e-8)) {
    state.SkipWithError("the reference missed the exact integral");
  }
}
void BM_Reference_DblInt50Muparser(benchmark::State& s) {
  DblIntReference(s, 50);
}
void BM_Reference_DblInt200Muparser(benchmark::State& s) {
  DblIntReference(s, 200);
}
void BM_Reference_DblInt800Muparser(benchmark::State& s) {
  DblIntReference(s, 800);
}
BENCHMARK(BM_Reference_DblInt50Muparser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reference_DblInt200Muparser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reference_DblInt800Muparser)->Unit(benchmark::kMillisecond);
#endif

#if defined(MATHSHEET_HAVE_GSL) && defined(MATHSHEET_HAVE_MUPARSER)
// An IVP's right-hand sides by muparser, of t and x, y, z, w; counts the values it gives.
struct MuSystem {
  int vars;
  double t = 0;
  double u[4] = {0, 0, 0, 0};
  mu::Parser rhs[4];
  long values = 0;
  explicit MuSystem(const IvpCase& c) : vars(c.vars) {
    const char* const names[4] = {"x", "y", "z", "w"};
    for (int i = 0; i < vars; ++i) {
      rhs[i].DefineVar("t", &t);
      for (int j = 0; j < vars; ++j) rhs[i].DefineVar(names[j], &u[j]);
      rhs[i].SetExpr(c.mu[i]);
    }
  }
};

int MuRhs(double t, const double u[], double f[], void* params) {
  auto* s = static_cast<MuSystem*>(params);
  s->t = t;
  for (int j = 0; j < s->vars; ++j) s->u[j] = u[j];
  for (int i = 0; i < s->vars; ++i) f[i] = s->rhs[i].Eval();
  s->values += s->vars;
  return GSL_SUCCESS;
}

// GSL's rkf45 stepper over the steps the command took: each step tried from its t with its h,
// kept when the next one starts elsewhere, and the command's trailing values taken at the end.
// GSL carries the fifth-order value where the command carries the fourth, so the states differ
// in the last digits; the steps and the right-hand-side values (counted) are the same.
void IvpReference(benchmark::State& state, const IvpCase& c) {
  StepRecorder recorder;
  if (!RecordedSteps(state, c, recorder)) return;
  const std::vector<Step>& steps = recorder.steps;
  const int vars = c.vars;
  MuSystem system(c);
  gsl_odeiv2_system sys = {MuRhs, nullptr, static_cast<size_t>(vars), &system};
  gsl_odeiv2_step* stepper = gsl_odeiv2_step_alloc(gsl_odeiv2_step_rkf45, vars);
  double tEnd = 0, xEnd = 0;
  long values = 0;
  for (auto _ : state) {
    system.values = 0;
    double y[4] = {1, 0, 0, 0};  // as the worksheets' initial values
    double tried[4], err[4], slope[4];
    for (size_t k = 0; k < steps.size(); ++k) {
      for (int j = 0; j < vars; ++j) tried[j] = y[j];
      if (gsl_odeiv2_step_apply(stepper, steps[k].t, steps[k].h, tried, err, nullptr, nullptr,
                                &sys) != GSL_SUCCESS) {
        state.SkipWithError("GSL refused a step");
        break;
      }
      const bool kept = k + 1 == steps.size() || steps[k + 1].t != steps[k].t;
      if (kept) {
        for (int j = 0; j < vars; ++j) y[j] = tried[j];
        tEnd = steps[k].t + steps[k].h;
      }
    }
    for (long k = 0; k < recorder.trailing / vars; ++k) MuRhs(tEnd, y, slope, &system);
    xEnd = y[0];
    values = system.values;
    benchmark::DoNotOptimize(xEnd);
  }
  gsl_odeiv2_step_free(stepper);
  // The tolerance of 1e-6 per unit of t bounds the error at t = 200.
  if (!AtEnd(tEnd)) {
    state.SkipWithError("the reference did not end at t = 200");
  } else if (!(std::fabs(xEnd - c.exact(kIvpEnd)) <= 200 * 1e-6)) {
    state.SkipWithError("the reference missed the exact x(200)");
  }
  state.counters["steps"] = static_cast<double>(steps.size());
  state.counters["values"] = static_cast<double>(values);
}
void BM_Reference_Ivp1GslRkf45Muparser(benchmark::State& s) {
  IvpReference(s, kIvp1);
}
void BM_Reference_Ivp2GslRkf45Muparser(benchmark::State& s) {
  IvpReference(s, kIvp2);
}
void BM_Reference_Ivp3GslRkf45Muparser(benchmark::State& s) {
  IvpReference(s, kIvp3);
}
void BM_Reference_Ivp4GslRkf45Muparser(benchmark::State& s) {
  IvpReference(s, kIvp4);
}
BENCHMARK(BM_Reference_Ivp1GslRkf45Muparser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reference_Ivp2GslRkf45Muparser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reference_Ivp3GslRkf45Muparser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reference_Ivp4GslRkf45Muparser)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
