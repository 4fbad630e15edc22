// Evaluation speed of compiled worksheet functions, side by side with the same expressions written
// in C++ and evaluated by muparser (when installed). Each iteration evaluates once at a new x.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "language/ClearStorage.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/CompileCode.h"
#include "mathematics/Evaluator.h"

#ifdef MATHSHEET_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

// The same functions in C++ (pow for the powers, as the worksheet's power operator).
double CppPolynomial(double x) {
  return 3 * std::pow(x, 4) - 2 * std::pow(x, 3) + std::pow(x, 2) - 5 * x + 7;
}
double CppTrig(double x) {
  return std::sin(x) * std::cos(x) + std::pow(x, 2);
}
double CppQuotient(double x) {
  return 1 / (1 + x / (2 + x / (3 + x / (4 + x))));
}

// The three worksheet functions, in worksheet syntax (stored form), in muparser syntax and in C++.
struct Expression {
  const char* name;
  const char* sheet;
  const char* muparser;
  double (*cpp)(double x);
};

constexpr Expression kPolynomial = {"P_", "3*x^4-2*x^3+x^2-5*x+7", "3*x^4-2*x^3+x^2-5*x+7",
                                    CppPolynomial};
constexpr Expression kTrig = {"S_", "Sin[x]*Cos[x]+x^2", "sin(x)*cos(x)+x^2", CppTrig};
constexpr Expression kQuotient = {"Q_", "1/(1+x/(2+x/(3+x/(4+x))))", "1/(1+x/(2+x/(3+x/(4+x))))",
                                  CppQuotient};

// Ends the benchmark with an error unless the last value (message msg) is e's at x, to 1e-12.
void CheckValue(benchmark::State& state, const Expression& e, double x, double value, int16_t msg) {
  const double want = e.cpp(x);
  if (msg != 0 || !(std::fabs(value - want) <= 1e-12 * std::fabs(want))) {
    state.SkipWithError("the value is not the expression's");
  }
}

// Compiles the three functions as a worksheet would and appends the parameter x after the
// compile. Returns the code of the named function and the ValueList index of x.
rt::Text CompileSheet(const Expression& e, int32_t& xIndex) {
  ms::ResetWorksheetTables();
  ms::InitBuiltinNames();
  ms::ResetMathState();
  for (const Expression* f : {&kPolynomial, &kTrig, &kQuotient}) {
    int16_t msg = 0;
    const int16_t k = ms::AppendFunction(msg);
    ms::FuncRec& r = ms::Tables.FuncTable[static_cast<size_t>(k)];
    r.Name = rt::FromUtf8(f->name);
    r.Parm1 = u"x";
    r.Expr = rt::FromUtf8(f->sheet);
  }
  rt::Text text;
  int16_t msg = 0;
  msg = ms::CompileFunctions(text);
  xIndex = ms::AppendValue(u"x", 0, msg);
  ms::ClearResultsList();
  for (int16_t k = 1; k <= ms::Tables.FuncCount; ++k) {
    if (ms::Tables.FuncTable[static_cast<size_t>(k)].Name == rt::FromUtf8(e.name)) {
      return ms::Tables.FuncTable[static_cast<size_t>(k)].Code;
    }
  }
  return u"";
}

void SheetBench(benchmark::State& state, const Expression& e) {
  int32_t xIndex = 0;
  const rt::Text code = CompileSheet(e, xIndex);
  double x = 0.1, r = 0, at = x;
  int16_t msg = 0;
  for (auto _ : state) {
    ms::Tables.ValueList[static_cast<size_t>(xIndex)].Value = x;
    msg = ms::Evaluate(code, r);
    benchmark::DoNotOptimize(r);
    benchmark::DoNotOptimize(msg);
    at = x;
    x += 1e-6;
  }
  CheckValue(state, e, at, r, msg);
}

// The run commands make: the code bound once (literals as values, x as argument 1), then run on
// a new x each time.
void BoundBench(benchmark::State& state, const Expression& e) {
  int32_t xIndex = 0;
  const rt::Text code = CompileSheet(e, xIndex);
  ms::BoundCode bound;
  if (!ms::BindCode(code, u"x", bound)) state.SkipWithError("not bound");
  double x = 0.1, r = 0, at = x;
  int16_t msg = 0;
  for (auto _ : state) {
    msg = ms::RunBound(bound, &x, r);
    benchmark::DoNotOptimize(r);
    benchmark::DoNotOptimize(msg);
    at = x;
    x += 1e-6;
  }
  CheckValue(state, e, at, r, msg);
}

void CppBench(benchmark::State& state, double (*f)(double)) {
  double x = 0.1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    double r = f(x);
    benchmark::DoNotOptimize(r);
    x += 1e-6;
  }
}

void BM_Sheet_Polynomial(benchmark::State& s) {
  SheetBench(s, kPolynomial);
}
void BM_Sheet_SinCosPlusSquare(benchmark::State& s) {
  SheetBench(s, kTrig);
}
void BM_Sheet_NestedQuotient(benchmark::State& s) {
  SheetBench(s, kQuotient);
}
void BM_Cpp_Polynomial(benchmark::State& s) {
  CppBench(s, CppPolynomial);
}
void BM_Cpp_SinCosPlusSquare(benchmark::State& s) {
  CppBench(s, CppTrig);
}
void BM_Cpp_NestedQuotient(benchmark::State& s) {
  CppBench(s, CppQuotient);
}

BENCHMARK(BM_Sheet_Polynomial);
BENCHMARK_CAPTURE(BoundBench, Polynomial, kPolynomial);
BENCHMARK(BM_Cpp_Polynomial);
BENCHMARK(BM_Sheet_SinCosPlusSquare);
BENCHMARK_CAPTURE(BoundBench, SinCosPlusSquare, kTrig);
BENCHMARK(BM_Cpp_SinCosPlusSquare);
BENCHMARK(BM_Sheet_NestedQuotient);
BENCHMARK_CAPTURE(BoundBench, NestedQuotient, kQuotient);
BENCHMARK(BM_Cpp_NestedQuotient);

#ifdef MATHSHEET_HAVE_MUPARSER
void MuParserBench(benchmark::State& state, const Expression& e) {
  double x = 0.1, r = 0, at = x;
  mu::Parser p;
  p.DefineVar("x", &x);
  p.SetExpr(e.muparser);
  for (auto _ : state) {
    r = p.Eval();
    benchmark::DoNotOptimize(r);
    at = x;
    x += 1e-6;
  }
  CheckValue(state, e, at, r, 0);
}

void BM_MuParser_Polynomial(benchmark::State& s) {
  MuParserBench(s, kPolynomial);
}
void BM_MuParser_SinCosPlusSquare(benchmark::State& s) {
  MuParserBench(s, kTrig);
}
void BM_MuParser_NestedQuotient(benchmark::State& s) {
  MuParserBench(s, kQuotient);
}

BENCHMARK(BM_MuParser_Polynomial);
BENCHMARK(BM_MuParser_SinCosPlusSquare);
BENCHMARK(BM_MuParser_NestedQuotient);
#endif

// Curve generation's pattern: three codes evaluated in turn at every point.
void BM_Sheet_ThreeCodesInTurn(benchmark::State& state) {
  int32_t xIndex = 0;
  CompileSheet(kPolynomial, xIndex);
  const rt::Text codes[3] = {ms::Tables.FuncTable[1].Code, ms::Tables.FuncTable[2].Code,
                             ms::Tables.FuncTable[3].Code};
  double x = 0.1;
  for (auto _ : state) {
    ms::Tables.ValueList[static_cast<size_t>(xIndex)].Value = x;
    for (const rt::Text& code : codes) {
      double r = 0;
      const int16_t msg = ms::Evaluate(code, r);
      benchmark::DoNotOptimize(r);
      benchmark::DoNotOptimize(msg);
    }
    x += 1e-6;
  }
}
BENCHMARK(BM_Sheet_ThreeCodesInTurn);

// A full value request as plot construction makes it: compile the table and evaluate every
// function, once per point.
void BM_Sheet_CompileAndEvaluateTable(benchmark::State& state) {
  int32_t xIndex = 0;
  CompileSheet(kPolynomial, xIndex);
  for (auto _ : state) {
    rt::Text text;
    int16_t msg = 0;
    msg = ms::CompileFunctions(text);
    ms::AppendValue(u"x", 0.5, msg);
    msg = ms::EvaluateFunctions();
    ms::ClearResultsList();
    benchmark::DoNotOptimize(ms::Tables.FuncTable[1].Value);
  }
}
BENCHMARK(BM_Sheet_CompileAndEvaluateTable);

}  // namespace
