// Execute and Graph: the worksheet goes to the worksheet language, the parameter set is read, the
// functions are evaluated and the results listed; Graph checks the Plot vectors and hands over to
// the graph window.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <cmath>
#include <limits>

#include "commands/ProgramState.h"
#include "graph/GraphProbe.h"
#include "language/Classify.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/Settings.h"
#include "language/WorksheetReader.h"
#include "language/WorksheetTables.h"
#include "mathematics/Math.h"
#include "mathematics/MathVector.h"
#include "platform/ui/QtUiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetRun.h"
#include "worksheet/WorksheetWindow.h"

namespace ws {

void WorksheetWindow::SetRunning(bool running) {
  running_ = running;
  // The controls are disabled, not the window, so that Esc still reaches it.
  centralWidget()->setEnabled(!running);
  menuBar()->setEnabled(!running);
  if (running) {
    qApp->installEventFilter(this);
  } else {
    qApp->removeEventFilter(this);
  }
}

void WorksheetWindow::Form_KeyPress(int keyAscii) {
  if (keyAscii != 27 || !running_) return;
  ms::RunFlags.AbortRun = -1;
  SetGraphButton(cmdGraph->isEnabled(), kGraphIdleColor);
  qApp->removeEventFilter(this);  // key preview off; the controls stay disabled
}

void WorksheetWindow::FlushCoreLines() {
  // Classification empties the copy of the listing and recolours the Graph button as it goes.
  if (ms::WorksheetSignals.ResultsListCleared != 0) {
    List1->clear();
    ms::WorksheetSignals.ResultsListCleared = 0;
  }
  SetGraphButton(ms::WorksheetSignals.GraphEnabled != 0, ms::WorksheetSignals.GraphBackColor);
  for (const rt::Text& line : ms::ResultsList.Lines) List2->addItem(ui::ToQString(line));
  ms::ClearResultsList();
}

void WorksheetWindow::ExecuteErrorExit(int16_t stmtNo, int16_t msgNo, const rt::Text& stmtText) {
  FlushCoreLines();
  lastExecuteMessage_ = msgNo;
  SetRunning(false);  // Esc belongs to the error box now
  ms::DispError(stmtNo, msgNo, stmtText);
  ui::Ui().SetBusy(false);
}

void WorksheetWindow::cmdCompute_click() {
  if (running_) return;
  lastExecuteMessage_ = 0;
  ui::Ui().SetBusy(true);
  ms::ClearAll();
  ms::ClearRequestsForExecute();
  ClearProgress();
  ms::PlotRequest.PlotVectorCount = 0;
  ms::PlotRequest.PlotSelect.fill(0);
  for (int k = 1; k <= ms::kPlotColorCount; ++k) ms::Settings.PlotColor[k] = 0;
  // Every run numbers its component functions from 1 again: a counter that kept growing would
  // make an unchanged worksheet fail after some tens of runs.
  ms::VectorStacks.ComponentFuncCounter = 0;
  undefinedFuncs_.clear();
  ms::ClearResultsList();
  ms::WorksheetSignals.GraphEnabled = cmdGraph->isEnabled() ? -1 : 0;
  ms::WorksheetSignals.GraphBackColor = graphColor_;
  SetRunning(true);
  ms::RunFlags.AbortRun = 0;

  rt::Text stmtText;
  int16_t msgNo = 0;
  // The reader takes only statements ended by a line break or ":"; a last line the user did not end
  // with Enter is part of the worksheet all the same, so it gets its line break here.
  rt::Text sheet = WorksheetText();
  if (!sheet.empty() && sheet.back() != u'\n' && sheet.back() != u':') sheet += u"\r\n";
  ms::ProcessWorksheet(sheet, stmtText, msgNo);
  FlushCoreLines();
  if (msgNo != 0) {
    ExecuteErrorExit(ms::Tables.CurrentStmtNo, msgNo, stmtText);
    SetGraphButton(false, kGraphIdleColor);
    return;
  }
  if (ms::RunFlags.AbortRun != 0) {
    SetGraphButton(false, kGraphIdleColor);
    SetRunning(false);
    ui::Ui().SetBusy(false);
    cmdCompute->setEnabled(true);
    cmdClearValues->setEnabled(true);
    cmdClearWk->setEnabled(true);
    DisplayResults();
    ms::RunFlags.AbortRun = 0;
    return;
  }
  if (ms::AnyCommandRequested(true)) {
    SetGraphButton(true, kGraphReadyColor);
  } else {
    SetGraphButton(false, kGraphIdleColor);
  }

  const int16_t parm = FindParameterStatement();
  if (parm != 0) {
    // Errors of the parameter set and of the evaluation name the "<" statement: its number and
    // its text.
    const ms::StatementRec& stmt = ms::Tables.StatementList[parm];
    SetUpParm(stmt.Text, msgNo);
    if (msgNo != 0) {
      ExecuteErrorExit(stmt.StmtNo, msgNo, stmt.Text);
      return;
    }
    // A function whose evaluation fails keeps its record's value; mark every value first so that
    // the listing can say which were not evaluated instead of showing a stale number.
    const int funcCount = std::clamp<int>(ms::Tables.FuncCount, 0, ms::kMaxFunctions);
    constexpr double kNotEvaluated = std::numeric_limits<double>::quiet_NaN();
    for (int i = 1; i <= funcCount; ++i) ms::Tables.FuncTable[i].Value = kNotEvaluated;
    ms::EvaluateFunctions(msgNo);
    undefinedFuncs_.assign(static_cast<size_t>(funcCount) + 1, false);
    for (int i = 1; i <= funcCount; ++i) {
      if (std::isnan(ms::Tables.FuncTable[i].Value)) {
        undefinedFuncs_[static_cast<size_t>(i)] = true;
        ms::Tables.FuncTable[i].Value = 0;
      }
    }
    if (msgNo != 0) {
      ExecuteErrorExit(stmt.StmtNo, msgNo, stmt.Text);
      return;
    }
    DisplayResults();
  }

  AppendEndMark(msgNo);
  if (msgNo != 0) {
    ExecuteErrorExit(ms::Tables.CurrentStmtNo, msgNo, u"");
    return;
  }
  DisplayResults();
  cmdCompute->setEnabled(true);
  SetRunning(false);
  cmdClearValues->setEnabled(true);
  cmdClearWk->setEnabled(true);
  ui::Ui().SetBusy(false);
}

void WorksheetWindow::mnuCompute_click() {
  cmdCompute_click();
  ms::VectorStacks.ComponentFuncCounter = 0;
}

void WorksheetWindow::cmdGraph_click() {
  ms::PlotRequest.PlotSpec.fill(0);
  if (ms::PlotRequest.PlotVectorCount == 0 && !ms::AnyCommandRequested(false)) {
    ui::Ui().MsgBox(u"No vectors identified to plot", ui::kOkOnly, kAppTitle);
    return;
  }
  ms::RunFlags.Replot = 0;
  ms::View.ODEViewRequest = 1;
  ms::View.PlotKind = 1;
  int16_t failMark = 0;
  CheckPlotVectors(failMark);
  const ms::CommandRequestState& r = ms::Requests;
  const bool otherCommand = r.SlopeFieldRequested || r.DirFieldRequested || r.IVPRequested ||
                            r.BVPRequested || r.Field3DRequested || r.ContourRequested ||
                            r.Contour1Requested;
  if (failMark != 0 && !otherCommand) {
    ui::Ui().MsgBox(u"Unknown vector ID in Plot. Check reference.", ui::kStop, u"Unknown Vector?");
    return;
  }
  const bool aborted = ms::RunFlags.AbortRun != 0;
  // Loading the graph window builds its first picture; it shows its Return button when the build
  // ends. The worksheet steps aside unless the build was aborted with Esc.
  gr::GraphWindow::Load();
  if (!aborted && ms::RunFlags.AbortRun == 0) hide();
}

void WorksheetWindow::DisplayResults() {
  List2->clear();
  const std::vector<rt::Text> lines = ResultsListing(
      ms::Settings.DisplayDigits, undefinedFuncs_.empty() ? nullptr : &undefinedFuncs_);
  for (const rt::Text& line : lines) List2->addItem(ui::ToQString(line));
  List1->clear();
  for (int i = 0; i < List2->count(); ++i) List1->addItem(List2->item(i)->text());
}

}  // namespace ws
