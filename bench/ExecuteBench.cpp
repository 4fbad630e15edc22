// Execute as the worksheet window runs it (RunExecute, then the results listing) on sheets that
// grow, and on large ones. Every run must end without a message; the growth runs also check the
// value of a function against its formula.
//  - Growth/n: n statements, the largest sheet the statement table holds at 400: constants and
//    two-parameter functions alternating, each function using its own constant and the one
//    before, then the parameter set <x = 1.5;y = -2> as statement n. "First" runs on a program
//    just started; "Edited" runs after an Execute of the same sheet with one constant (the one
//    a quarter down) changed, as a user edits and presses Execute again.
//  - Vectors98: one vector of three components of 1,000 Sin[t] terms each and 97 vCross lines of
//    it, with the parameter set <t = 1> (a sheet that used to freeze Execute for seconds).
//  - Cross100: one vector with long components and 98 vCross lines (300 component functions).
//  - LongSumDiff: Diff[ and vTan[ of sums of 600 to 6,000 terms.
//  - ContourBesideLongFunction: the help page's contour example with an unrelated function of
//    about 28,000 characters on the sheet, the contour built as the graph window builds it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchText.h"
#include "commands/ContourCommand.h"
#include "commands/ProgramState.h"
#include "commands/WorksheetRun.h"
#include "language/CommandRequests.h"
#include "language/Settings.h"
#include "language/WorksheetTables.h"
#include "mathematics/FunctionValue.h"
#include "platform/ui/ScriptedUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/Contour.h"
#include "plotting/SceneStore.h"

namespace {

using bench::Ascii;

// Execute and the listing the window shows after it: "" when it ran through, else what stopped it.
std::string Execute(const rt::Text& sheet, const ui::ScriptedUiServices& screen) {
  const ms::ExecuteOutcome out = ms::RunExecute(sheet, [] {});
  const std::vector<rt::Text> listing =
      ms::ResultsListing(ms::Settings.DisplayDigits,
                         out.undefinedFunctions.empty() ? nullptr : &out.undefinedFunctions);
  benchmark::DoNotOptimize(listing.data());
  if (out.aborted) return "Execute was aborted";
  if (out.msgNo != 0) {
    return "Execute stopped with message " + std::to_string(out.msgNo) + " at statement " +
           std::to_string(out.stmtNo);
  }
  if (out.stage != ms::ExecuteStage::kDone) return "Execute did not run through";
  if (!screen.boxes.empty()) return "Execute showed a box: " + bench::FirstBox(screen);
  return "";
}

// --- Growth ---------------------------------------------------------------------------------

// Statement k (1-based) of the growth sheets: constants "aa", "ab", ... and functions "Aa",
// "Ab", ...
std::string ConstName(int k) {
  return {static_cast<char>('a' + (k - 1) / 26), static_cast<char>('a' + (k - 1) % 26)};
}
std::string FuncName(int k) {
  return {static_cast<char>('A' + (k - 1) / 26), static_cast<char>('a' + (k - 1) % 26)};
}
// The value of constant k: 1.25, 1.5, ... 2.75, 1.25, ...; the edited constant gets 3.5.
double ConstValue(int k, int edited) {
  return k == edited ? 3.5 : 1.0 + (k % 7 + 1) / 4.0;
}

constexpr double kParmX = 1.5, kParmY = -2;

// Function k is c_k*x^2 + c_{k-1}*y - x*y/3 (without the second term for k = 1).
double FuncValue(int k, int edited) {
  const double x = kParmX, y = kParmY;
  double v = ConstValue(k, edited) * x * x - x * y / 3;
  if (k > 1) v += ConstValue(k - 1, edited) * y;
  return v;
}

struct GrowthSheet {
  int statements;
  int edited;  // the constant whose value the edit changes
  rt::Text original, changed;
};

// Constants in the odd statements, functions in the even ones.
int FunctionCount(int statements) {
  return (statements - 1) / 2;
}

rt::Text GrowthText(int statements, int edited) {
  std::string s;
  for (int i = 1; i < statements; ++i) {
    const int k = (i + 1) / 2;
    if (i % 2 == 1) {
      char value[32];
      std::snprintf(value, sizeof value, "%g", ConstValue(k, edited));
      s += ConstName(k) + " = " + value + "\r\n";
      continue;
    }
    s += FuncName(k) + "{x,y} = " + ConstName(k) + "*x^2";
    if (k > 1) s += "+" + ConstName(k - 1) + "*y";
    s += "-x*y/3\r\n";
  }
  s += "<x = 1.5;y = -2>\r\n";
  return Ascii(s);
}

GrowthSheet MakeGrowthSheet(int statements) {
  const int edited = std::max(1, statements / 8);  // a quarter down the sheet
  return {statements, edited, GrowthText(statements, 0), GrowthText(statements, edited)};
}

// The listed value of every function that uses the edited constant against its formula.
std::string CheckGrowthValues(const GrowthSheet& g, bool afterEdit) {
  const int edited = afterEdit ? g.edited : 0;
  for (int k = g.edited; k <= g.edited + 1 && k <= FunctionCount(g.statements); ++k) {
    const rt::Text name = Ascii(FuncName(k));
    bool found = false;
    for (int i = 1; i <= ms::Tables.FuncCount && i <= ms::kMaxFunctions; ++i) {
      const ms::FuncRec& f = ms::Tables.FuncTable[static_cast<size_t>(i)];
      if (f.Name != name) continue;
      found = true;
      const double want = FuncValue(k, edited);
      if (!(std::fabs(f.Value - want) <= 1e-12 * std::fabs(want))) {
        return FuncName(k) + " is " + std::to_string(f.Value) + ", not " + std::to_string(want);
      }
    }
    if (!found) return FuncName(k) + " is missing";
  }
  return "";
}

void GrowthBench(benchmark::State& state, bool edited) {
  ui::ScriptedUiServices screen;
  ui::SetUi(&screen);
  const GrowthSheet g = MakeGrowthSheet(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    ms::ResetProgramState();
    screen.Reset();
    std::string failure;
    if (edited) failure = Execute(g.original, screen);
    state.ResumeTiming();
    if (failure.empty()) failure = Execute(edited ? g.changed : g.original, screen);
    if (failure.empty()) failure = CheckGrowthValues(g, edited);
    if (!failure.empty()) {
      state.SkipWithError(failure.c_str());
      break;
    }
  }
  ui::SetUi(nullptr);
}
void BM_ExecuteGrowthFirst(benchmark::State& s) {
  GrowthBench(s, false);
}
void BM_ExecuteGrowthEdited(benchmark::State& s) {
  GrowthBench(s, true);
}
BENCHMARK(BM_ExecuteGrowthFirst)
    ->Arg(10)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecuteGrowthEdited)
    ->Arg(10)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);

// --- Large sheets ---------------------------------------------------------------------------

rt::Text Vectors98Sheet() {
  std::string comp = "Sin[t]";
  for (int i = 1; i < 1000; ++i) comp += "+Sin[t]";
  std::string sheet = "Aa<t> = <" + comp + "," + comp + "," + comp + ">\r\n";
  // Ab to Dt: the 97 names after Aa.
  for (int n = 1; n <= 97; ++n) {
    sheet += std::string{static_cast<char>('A' + n / 26), static_cast<char>('a' + n % 26)} +
             "<t> = vCross[Aa,Aa]\r\n";
  }
  sheet += "<t = 1>\r\n";
  return Ascii(sheet);
}

rt::Text Cross100Sheet() {
  const std::string base = "Sin[t]*Cos[t]+t^2-3*t+Exp[t/5]-Sqrt[t^2+1]*Cos[2*t]";
  std::string comp;
  for (int i = 1; i <= 12; ++i) {
    if (i > 1) comp += "+";
    comp += "(" + base + ")*" + std::to_string(i);
  }
  std::string second = comp;
  second.replace(second.find("Sin"), 3, "Cos");
  std::string third = comp;
  third.replace(third.find("t^2"), 3, "t^3");
  std::string sheet = "A<t> = <" + comp + ", " + second + ", " + third + ">\r\n";
  sheet += "B<t> = <t, 2*t+1, Sin[t]>\r\n";
  // 98 lines, Ca to Dh ... : the table holds 100 vectors.
  int n = 0;
  for (char a : std::string("CDEIJKLMNOPQSUVWXYZ")) {
    for (char b : std::string("abcdefgh")) {
      if (n++ < 98) sheet += std::string(1, a) + b + "<t> = vCross[A, B]\r\n";
    }
  }
  return Ascii(sheet);
}

// Derivatives of long sums: 600 terms k*x^2, the unit tangent of a component of 600 terms
// Sin[k*t]/k, and the sum of 6,000 x's written as 8 calls of a 750-term function.
rt::Text LongSumDiffSheet() {
  std::string squares = "1*x^2", sines = "Sin[1*t]/1", xs = "x";
  for (int k = 2; k <= 600; ++k) {
    squares += "+" + std::to_string(k) + "*x^2";
    sines += "+Sin[" + std::to_string(k) + "*t]/" + std::to_string(k);
  }
  for (int k = 2; k <= 750; ++k) xs += "+x";
  std::string calls = "F{x}";
  for (int k = 2; k <= 8; ++k) calls += "+F{x}";
  return Ascii("Q{x} = " + squares + "\r\nD{x} = Diff[Q,x]\r\nA<t> = <" + sines +
               ",t,1>\r\nT<t> = vTan[A]\r\nF{x} = " + xs + "\r\nG{x} = " + calls +
               "\r\nH{x} = Diff[G,x]\r\n<x = 1;t = 0.5>\r\n");
}

// Execute of a sheet on a program just started.
void FirstExecuteBench(benchmark::State& state, const rt::Text& sheet) {
  ui::ScriptedUiServices screen;
  ui::SetUi(&screen);
  for (auto _ : state) {
    state.PauseTiming();
    ms::ResetProgramState();
    screen.Reset();
    state.ResumeTiming();
    if (const std::string failure = Execute(sheet, screen); !failure.empty()) {
      state.SkipWithError(failure.c_str());
      break;
    }
  }
  ui::SetUi(nullptr);
}
void BM_ExecuteVectors98(benchmark::State& s) {
  FirstExecuteBench(s, Vectors98Sheet());
}
void BM_ExecuteCross100(benchmark::State& s) {
  FirstExecuteBench(s, Cross100Sheet());
}
BENCHMARK(BM_ExecuteVectors98)->Unit(benchmark::kMillisecond);
void BM_ExecuteLongSumDiff(benchmark::State& s) {
  FirstExecuteBench(s, LongSumDiffSheet());
}
BENCHMARK(BM_ExecuteCross100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecuteLongSumDiff)->Unit(benchmark::kMillisecond);

rt::Text LongFunctionSheet() {
  std::string longBody = "x";
  while (longBody.size() < 28000) longBody += "+Sin[x*y]*Cos[x-y]/(1+x^2)";
  return Ascii("L{x,y} = " + longBody + "\r\nF{x,y} = x^2+y^2\r\n");
}

void BM_ContourBesideLongFunction(benchmark::State& state) {
  ui::ScriptedUiServices screen;
  ui::SetUi(&screen);
  const rt::Text sheet = LongFunctionSheet();
  for (auto _ : state) {
    state.PauseTiming();
    // Every contour build adds its derivative records: start each from the executed sheet.
    ms::ResetProgramState();
    screen.Reset();
    std::string failure = Execute(sheet, screen);
    ms::ResetScene();
    ms::ResetContourState();
    rt::Text statement = u"PlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}]";
    state.ResumeTiming();
    if (failure.empty()) {
      const ms::FunctionBindingScope bindings;
      if (const int16_t msgNo = ms::ProcessPlotContour(statement); msgNo != 0) {
        failure = "the contour stopped with message " + std::to_string(msgNo);
      } else if (!screen.boxes.empty()) {
        failure = "the contour showed a box: " + bench::FirstBox(screen);
      }
    }
    if (!failure.empty()) {
      state.SkipWithError(failure.c_str());
      break;
    }
  }
  ui::SetUi(nullptr);
}
BENCHMARK(BM_ContourBesideLongFunction)->Unit(benchmark::kMillisecond);

}  // namespace
