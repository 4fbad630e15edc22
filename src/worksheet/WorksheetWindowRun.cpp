// Execute and Graph as the worksheet window shows them: Execute runs in the core (RunExecute) and
// the window maps its outcome to the listing, the Graph button and the boxes; Graph checks the Plot
// vectors and hands over to
// the graph window.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTextCursor>

#include "commands/WorksheetRun.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Messages.h"
#include "language/Settings.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"
#include "mathematics/Classify.h"
#include "mathematics/Evaluator.h"
#include "mathematics/VectorOperations.h"
#include "numerics/Rkf45.h"
#include "platform/ui/QtUiServices.h"
#include "plotting/PlotRequest.h"
#include "plotting/SceneStore.h"
#include "worksheet/WorksheetWindow.h"

namespace ws {

void WorksheetWindow::SetRunning(bool running) {
  running_ = running;
  // The buttons and menus are disabled and the text is kept from edits, not the window, so that
  // Esc still reaches it; the text, the results and the bar stay as they are drawn, so that the
  // bar's progress shows, and the line beside it says how to stop the run.
  sideScroll->setEnabled(!running);
  menuBar()->setEnabled(!running);
  Text1->setReadOnly(running);
  lblRunning->setVisible(running);
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
  if (const std::optional<bool> available = ms::WorksheetSignals.GraphAvailable) {
    SetGraphButton(*available, *available ? kGraphReadyColor : kGraphIdleColor);
    ms::WorksheetSignals.GraphAvailable.reset();
  }
  // The lines the compiler and evaluator leave hold expressions in their stored form: the user
  // reads them with the built-in names written out.
  for (const rt::Text& line : ms::ResultsList.Lines) {
    List2->addItem(ui::ToQString(ms::DetokenizeForDisplay(line)));
  }
  ms::ClearResultsList();
}

void WorksheetWindow::ExecuteErrorExit(int16_t stmtNo, int16_t msgNo, const rt::Text& stmtText) {
  FlushCoreLines();
  lastExecuteMessage_ = msgNo;
  SetRunning(false);  // Esc belongs to the error box now
  ms::DispError(stmtNo, msgNo, stmtText);
  ui::Ui().SetBusy(false);
}

// Execute: the core reads the worksheet, the parameter set and evaluates; the window shows the
// reading's lines as soon as it ends, then the listing, the Graph button and the message of a stop.
void WorksheetWindow::cmdCompute_click() {
  if (running_) return;
  lastExecuteMessage_ = 0;
  lastExecuteAborted_ = false;
  ui::Ui().SetBusy(true);
  ClearProgress();
  undefinedFuncs_.clear();
  SetRunning(true);
  const ms::ExecuteOutcome out = ms::RunExecute(WorksheetText(), [this] { FlushCoreLines(); });
  // Reading a line break puts the caret at the end of the text, and every worksheet that is not
  // empty is read to a line break (a last line without one gets one).
  if (!Text1->document()->isEmpty()) Text1->moveCursor(QTextCursor::End);
  undefinedFuncs_ = out.undefinedFunctions;
  if (out.aborted) {
    lastExecuteAborted_ = true;
    SetGraphButton(false, kGraphIdleColor);
    SetRunning(false);
    ui::Ui().SetBusy(false);
    cmdCompute->setEnabled(true);
    cmdClearValues->setEnabled(true);
    cmdClearWk->setEnabled(true);
    DisplayResults();
    return;
  }
  if (out.stage != ms::ExecuteStage::kRead) {
    SetGraphButton(out.graphReady, out.graphReady ? kGraphReadyColor : kGraphIdleColor);
  }
  if (out.evaluated) DisplayResults();
  if (out.msgNo != 0) {
    ExecuteErrorExit(out.stmtNo, out.msgNo, out.stmtText);
    if (out.stage == ms::ExecuteStage::kRead) SetGraphButton(false, kGraphIdleColor);
    return;
  }
  if (!out.evaluated) DisplayResults();
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
  ms::OdeResults.BVPSolved = 0;  // the time block shows a BVP's slopes only after its own solve
  const int16_t failMark = ms::CheckPlotVectors();
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
  if (loadGraph_ != nullptr) loadGraph_();
  if (!aborted && ms::RunFlags.AbortRun == 0) hide();
}

void WorksheetWindow::DisplayResults() {
  List2->clear();
  const std::vector<rt::Text> lines = ms::ResultsListing(
      ms::Settings.DisplayDigits, undefinedFuncs_.empty() ? nullptr : &undefinedFuncs_);
  for (const rt::Text& line : lines) List2->addItem(ui::ToQString(line));
  List1->clear();
  for (int i = 0; i < List2->count(); ++i) List1->addItem(List2->item(i)->text());
  // Esc during the listing only cut it short: the run itself is over.
  ms::RunFlags.AbortRun = 0;
}

}  // namespace ws
