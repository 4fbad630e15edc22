// The contour worksheet F{x,y} = x^2+y^2, PlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}] built three ways:
// through the windows with the Qt services (events run while tracing, as in the program), through
// the same windows with scripted services (no event processing, as the probe runs it), and the
// contour command alone on the executed worksheet. Each pass types the worksheet, executes it,
// opens the graph window (whose load traces the contours) and returns to the worksheet.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <memory>

#include "commands/GraphCommands.h"
#include "graph/GraphProbe.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetWindow.h"

namespace {

constexpr char kWorksheet[] = "F{x,y} = x^2+y^2\nPlotContour[F,{-3,3,-3,3}{1,1}{1,4,1}]\n";

QApplication& App() {
  static int argc = 1;
  static char name[] = "ContourWindowBench";
  static char* argv[] = {name, nullptr};
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

// One pass of a user: type, Execute, Graph, Return. Returns the segments drawn.
double GraphOnce(ws::WorksheetWindow& sheet) {
  sheet.TypeWorksheetText(QString::fromLatin1(kWorksheet));
  sheet.cmdCompute_click();
  sheet.cmdGraph_click();
  const double segments = ms::Scene.SegmentCountD;
  if (gr::GraphWindow* w = gr::GraphWindow::Instance()) w->cmdReturn_Click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return segments;
}

template <typename Services>
void BM_ContourGraph(benchmark::State& state) {
  App();
  Services services;
  ui::SetUi(&services);
  {
    ws::WorksheetWindow sheet;
    sheet.show();
    double segments = 0;
    for (auto _ : state) segments = GraphOnce(sheet);
    state.counters["segments"] = segments;
  }
  ui::SetUi(nullptr);
}
BENCHMARK_TEMPLATE(BM_ContourGraph, ui::QtUiServices)
    ->Name("ContourThroughWindow")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ContourGraph, ui::ScriptedUiServices)
    ->Name("ContourThroughProbeServices")
    ->Unit(benchmark::kMillisecond);

// The contour command alone on the executed worksheet: the tracing's own cost.
void BM_ContourCommandOnly(benchmark::State& state) {
  App();
  ui::ScriptedUiServices services;
  ui::SetUi(&services);
  {
    ws::WorksheetWindow sheet;
    sheet.TypeWorksheetText(QString::fromLatin1(kWorksheet));
    for (auto _ : state) {
      // Each trace adds its derivative records to the function table: every pass starts from a
      // freshly executed worksheet, as a Graph after Execute does.
      state.PauseTiming();
      sheet.cmdCompute_click();
      state.ResumeTiming();
      rt::Text statement = ms::Requests.ContourStmt;
      ms::StartSceneBuild();
      const int16_t msgNo = ms::RunGraphCommand(ms::GraphCommand::kContour, statement, 0);
      benchmark::DoNotOptimize(msgNo);
    }
    state.counters["segments"] = ms::Scene.SegmentCountD;
  }
  ui::SetUi(nullptr);
}
BENCHMARK(BM_ContourCommandOnly)->Unit(benchmark::kMillisecond);

}  // namespace
