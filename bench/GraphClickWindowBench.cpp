// A Graph click through the windows against the build it asks for, for a Plot[ curve, a contour
// and a direction field. The click runs offscreen with the Qt services, as in the program: the
// worksheet's Graph button loads the graph window, whose load builds the scene (events run while
// the commands work, the contour's progress window shows) and draws the picture, and the pending
// events (the paint among them) are processed. Before each click the worksheet is executed, after
// it the user returns to the worksheet; neither is timed. "Alone" is the build of the same
// scene on the executed worksheet without any window (BuildScene with the default choices).
//
// Every run must end without a box (a message box stops the benchmark with an error, never
// waits for a click) and build a scene; both report its segments as "segments".
// Reference in the same run (when muparser is installed): the Plot[ curve's three components
// evaluated by muparser at the curve's points.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>
#include <cmath>
#include <memory>
#include <string>

#include "BenchText.h"
#include "commands/SceneBuild.h"
#include "commands/WorksheetRun.h"
#include "graph/GraphWindow.h"
#include "language/CommandRequests.h"
#include "platform/ui/QtUiServices.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "plotting/SceneView.h"
#include "worksheet/WorksheetWindow.h"

#ifdef MATHSHEET_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

// A helix of 5,000 steps over t = 0 to 100.
constexpr char kPlotSheet[] = "A<t> = <Cos[t], Sin[t], t/10>\nPlot[A,{t,0,100,5000}]\n";
constexpr int kPlotSteps = 5000;
// 16 levels 0.5 to 8, error tolerance 0.01, segment length 0.1.
constexpr char kContourSheet[] =
    "F{x,y} = x^2+y^2\nPlotContour[F,{-3,3,-3,3}{1,1}{0.5,8,0.5}{0.01,0.1}]\n";
constexpr char kDirFieldSheet[] = "F{x,y} = y\nH{x,y} = -x\nPlotDirField[F,H,{-3,3,15}{-3,3,15}]\n";

// Closes any modal box that opens while events run and keeps its text, so that a box ends the
// benchmark with an error instead of waiting for a click.
class BoxWatch {
 public:
  BoxWatch() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        if (text_.empty()) text_ = box->text().simplified().toStdString();
        box->done(QMessageBox::Ok);
      }
    });
    timer_.start();
  }
  const std::string& Text() const { return text_; }

 private:
  QTimer timer_;
  std::string text_;
};

// One Graph of the worksheet: click through the window with the Qt services, otherwise the build
// alone with scripted ones. Each step returns "" or what went wrong.
class GraphPass {
 public:
  GraphPass(const char* sheetText, bool click) : click_(click) {
    // The worksheet window takes its progress bar to the services installed as it is made.
    ui::SetUi(click ? static_cast<ui::UiServices*>(&qtServices_) : &scripted_);
    sheet_ = std::make_unique<ws::WorksheetWindow>(&gr::LoadGraphWindow);
    if (click) sheet_->show();
    sheet_->TypeWorksheetText(QString::fromLatin1(sheetText));
  }
  ~GraphPass() {
    sheet_.reset();
    ui::SetUi(nullptr);
  }
  GraphPass(const GraphPass&) = delete;
  GraphPass& operator=(const GraphPass&) = delete;

  // Execute. The contour adds its derivative records to the function table: every pass starts
  // from a freshly executed worksheet, as a Graph after Execute does.
  std::string Before() {
    sheet_->cmdCompute_click();
    scripted_.Reset();
    if (sheet_->LastExecuteMessage() != 0) return "Execute stopped with a message";
    if (click_) return "";
    // What the Graph button sets before it loads the window.
    ms::PlotRequest.PlotSpec.fill(0);
    ms::RunFlags.Replot = 0;
    ms::View.ODEViewRequest = 1;
    ms::View.PlotKind = 1;
    return ms::CheckPlotVectors() == 0 ? "" : "the Plot vectors were not found";
  }

  // The measured work.
  std::string Graph() {
    if (!click_) {
      const ms::SceneBuildReport report = ms::BuildScene(ms::SceneBuildOptions{}, {});
      return report.completed ? "" : "the build stopped";
    }
    // The graph window loads, builds and draws; then the pending events run.
    sheet_->cmdGraph_click();
    QCoreApplication::processEvents();
    return "";
  }

  // The checks of the scene, and Return to the worksheet.
  std::string After() {
    segments_ = ms::Scene.SegmentCountD;
    std::string failure;
    const std::string box = click_ ? boxes_.Text() : bench::FirstBox(scripted_);
    if (!box.empty()) {
      failure = "a box: " + box;
    } else if (ms::RunFlags.AbortRun != 0) {
      failure = "the build was aborted";
    } else if (segments_ <= 0) {
      failure = "no scene was built";
    }
    if (gr::GraphWindow* w = gr::GraphWindow::Instance()) w->cmdReturn_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return failure;
  }

  // One pass untimed.
  std::string Once() {
    std::string failure = Before();
    if (failure.empty()) failure = Graph();
    const std::string after = After();
    return failure.empty() ? after : failure;
  }

  double Segments() const { return segments_; }

 private:
  bool click_;
  ui::QtUiServices qtServices_;
  ui::ScriptedUiServices scripted_;
  const BoxWatch boxes_;
  std::unique_ptr<ws::WorksheetWindow> sheet_;
  double segments_ = 0;
};

void GraphBench(benchmark::State& state, const char* sheetText, bool click) {
  GraphPass pass(sheetText, click);
  // A first pass loads what the program loads once (fonts, the window's resources).
  std::string failure = pass.Once();
  for (auto _ : state) {
    if (!failure.empty()) break;
    state.PauseTiming();
    failure = pass.Before();
    state.ResumeTiming();
    if (failure.empty()) failure = pass.Graph();
    state.PauseTiming();
    const std::string after = pass.After();
    if (failure.empty()) failure = after;
    state.ResumeTiming();
  }
  if (!failure.empty()) state.SkipWithError(failure.c_str());
  state.counters["segments"] = pass.Segments();
}

void BM_GraphClick_Plot(benchmark::State& s) {
  GraphBench(s, kPlotSheet, true);
}
void BM_GraphAlone_Plot(benchmark::State& s) {
  GraphBench(s, kPlotSheet, false);
}
void BM_GraphClick_Contour(benchmark::State& s) {
  GraphBench(s, kContourSheet, true);
}
void BM_GraphAlone_Contour(benchmark::State& s) {
  GraphBench(s, kContourSheet, false);
}
void BM_GraphClick_DirField(benchmark::State& s) {
  GraphBench(s, kDirFieldSheet, true);
}
void BM_GraphAlone_DirField(benchmark::State& s) {
  GraphBench(s, kDirFieldSheet, false);
}
BENCHMARK(BM_GraphClick_Plot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphAlone_Plot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphClick_Contour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphAlone_Contour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphClick_DirField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphAlone_DirField)->Unit(benchmark::kMillisecond);

#ifdef MATHSHEET_HAVE_MUPARSER
// The helix's three components by muparser at the points the curve build takes: the steps' 5,001
// ends and one more, t advancing by adding the step.
void BM_Reference_PlotMuparser(benchmark::State& state) {
  double t = 0;
  mu::Parser comp[3];
  const char* const exprs[3] = {"cos(t)", "sin(t)", "t/10"};
  for (int i = 0; i < 3; ++i) {
    comp[i].DefineVar("t", &t);
    comp[i].SetExpr(exprs[i]);
  }
  const double dt = 100.0 / kPlotSteps;
  double last[3] = {0, 0, 0}, lastT = 0;
  for (auto _ : state) {
    t = 0;
    for (int k = 0; k <= kPlotSteps + 1; ++k) {
      for (int i = 0; i < 3; ++i) last[i] = comp[i].Eval();
      lastT = t;
      t += dt;
    }
    benchmark::DoNotOptimize(last);
  }
  if (!(std::fabs(lastT - 100.02) <= 1e-9 && std::fabs(last[0] - std::cos(100.02)) <= 1e-9 &&
        std::fabs(last[2] - 10.002) <= 1e-9)) {
    state.SkipWithError("the reference missed the helix");
  }
}
BENCHMARK(BM_Reference_PlotMuparser)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

// The benchmarks run inside one application object, gone before the process's exit handlers run.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
