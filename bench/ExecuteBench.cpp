// Execute on large worksheets: every statement compiles the function table, so the time of a sheet
// grows with the number of statements times the size of the table.
//  - Cross100: one vector with long components and 98 vCross lines (300 component functions);
//  - ContourBesideLongFunction: the help page's contour example with an unrelated function of
//    about 28,000 characters on the sheet, the contour built as the graph window builds it.
#include <benchmark/benchmark.h>

#include <string>

#include "commands/ProgramState.h"
#include "language/CommandRequests.h"
#include "language/WorksheetReader.h"
#include "mathematics/CompileCode.h"
#include "mathematics/FunctionValue.h"
#include "platform/ui/ScriptedUiServices.h"
#include "platform/ui/UiServices.h"
#include "plotting/Contour.h"
#include "plotting/SceneStore.h"

namespace {

rt::Text Ascii(const std::string& s) {
  return rt::Text(s.begin(), s.end());
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
  int n = 0;
  for (char a : std::string("CDEIJKLMNOPQSUVWXYZ")) {
    for (char b : std::string("abcdefgh")) {
      if (n++ == 98) break;
      sheet += std::string(1, a) + b + "<t> = vCross[A, B]\r\n";
    }
  }
  return Ascii(sheet);
}

rt::Text LongFunctionSheet() {
  std::string longBody = "x";
  while (longBody.size() < 28000) longBody += "+Sin[x*y]*Cos[x-y]/(1+x^2)";
  return Ascii("L{x,y} = " + longBody + "\r\nF{x,y} = x^2+y^2\r\n");
}

void ExecuteOnce(const rt::Text& sheet) {
  ms::ResetProgramState();
  rt::Text stmtText;
  (void)ms::ProcessWorksheet(sheet, stmtText);
}

// memo: whether the compile keeps its results by text (off: every record compiled in full at
// every statement, as before).
void ExecuteCross100(benchmark::State& state, bool memo) {
  ui::ScriptedUiServices screen;
  ui::SetUi(&screen);
  const rt::Text sheet = Cross100Sheet();
  ms::SetCompileMemoEnabled(memo);
  for (auto _ : state) ExecuteOnce(sheet);
  ms::SetCompileMemoEnabled(true);
  ui::SetUi(nullptr);
}
void BM_ExecuteCross100(benchmark::State& s) {
  ExecuteCross100(s, true);
}
void BM_ExecuteCross100FullCompiles(benchmark::State& s) {
  ExecuteCross100(s, false);
}
BENCHMARK(BM_ExecuteCross100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExecuteCross100FullCompiles)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ContourBesideLongFunction(benchmark::State& state) {
  ui::ScriptedUiServices screen;
  ui::SetUi(&screen);
  const rt::Text sheet = LongFunctionSheet();
  for (auto _ : state) {
    state.PauseTiming();
    // Every contour build adds its derivative records: start each from the executed sheet.
    ExecuteOnce(sheet);
    ms::ResetScene();
    ms::ResetContourState();
    rt::Text statement = u"PlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}]";
    state.ResumeTiming();
    int16_t msgNo = 0;
    const ms::FunctionBindingScope bindings;
    msgNo = ms::ProcessPlotContour(statement);
    if (msgNo != 0) {
      state.SkipWithError("the command failed");
      break;
    }
  }
  ui::SetUi(nullptr);
}
BENCHMARK(BM_ContourBesideLongFunction)->Unit(benchmark::kMillisecond);

}  // namespace
