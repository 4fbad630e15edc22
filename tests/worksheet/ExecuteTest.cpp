// Execute and Graph of the worksheet window, with a statement pipeline of the test's own: each
// statement is stored as it is, and a few spellings trigger what the real language steps do
// (an error, a stored function, a command request, an abort, an Esc key).
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "graph/GraphWindow.h"
#include "graph/frmGraph.h"
#include "language/ClearStorage.h"
#include "language/CommandRequests.h"
#include "language/Global.h"
#include "language/Messages.h"
#include "language/Settings.h"
#include "language/UserInput.h"
#include "mathematics/MathVector.h"
#include "platform/ui/ScriptedUiServices.h"
#include "plotting/PlotRequest.h"
#include "worksheet/frmCalcInput.h"

namespace {

using ws::frmCalcInput;

frmCalcInput* g_window = nullptr;
int16_t g_counterSeen = -1;
bool g_controlsEnabledDuringRun = true;
bool g_closedDuringRun = false;

void CheckStep(rt::Text& statement, rt::Text& outText, int16_t& msgNo) {
  if (statement == u"bad") {
    outText = statement;
    msgNo = 7;
    return;
  }
  ms::AppendStatement(ms::Tables.CurrentStmtNo, statement, msgNo);
}

// "F=<code>" stores a function F_ whose compiled code is the text after "="; "ivp" requests an
// initial value problem; "abort" sets the abort flag; "esc" presses Esc in the window.
void ClassifyStep(rt::Text& statement, int16_t& msgNo) {
  msgNo = 0;
  g_counterSeen = ms::VectorStacks.ComponentFuncCounter;
  g_controlsEnabledDuringRun = g_window->centralWidget()->isEnabled() || !g_window->IsRunning();
  ms::VectorStacks.ComponentFuncCounter = 40;  // as many component functions as a big worksheet
  if (statement.size() > 2 && statement[1] == u'=' && statement[0] >= u'A' &&
      statement[0] <= u'Z') {
    const int16_t f = ms::AppendFunction(msgNo);
    if (msgNo != 0) return;
    auto& rec = ms::Tables.FuncTable[f];
    rec = ms::FuncRec{};
    rec.Name = rt::Text(1, statement[0]) + u"_";
    rec.Parm1 = u"x";
    rec.Expr = statement.substr(2);
    rec.Code = statement.substr(2);
  } else if (statement == u"ivp") {
    ms::Requests.IVPRequested = -1;
  } else if (statement == u"abort") {
    ms::RunFlags.AbortRun = -1;
  } else if (statement == u"close") {
    g_closedDuringRun = g_window->close();
  } else if (statement == u"esc") {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(g_window->Text1, &esc);
  }
}

class Execute : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::SetUi(&services);
    window = std::make_unique<frmCalcInput>();
    g_window = window.get();
    ms::StatementPipeline steps;
    steps.check = CheckStep;
    steps.classify = ClassifyStep;
    ms::SetStatementPipeline(steps);
  }
  void TearDown() override {
    ms::SetStatementPipeline(ms::StatementPipeline{});
    delete gr::GraphWindow();
    g_window = nullptr;
    window.reset();
    ui::SetUi(nullptr);
  }
  void Run(const QString& text) {
    window->TypeWorksheetText(text);
    window->cmdCompute->click();
  }
  QStringList Listing() const { return window->ResultLines(); }

  ui::ScriptedUiServices services;
  std::unique_ptr<frmCalcInput> window;
};

TEST_F(Execute, CleanRunListsAndResetsTheRunState) {
  ms::Settings.PlotColorUsed[2] = 0x123456;
  g_controlsEnabledDuringRun = true;
  Run("ivp\n");
  EXPECT_FALSE(g_controlsEnabledDuringRun);  // the controls are off while the worksheet runs
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_EQ(ms::Tables.StatementCount, 1);
  EXPECT_EQ(window->List2->count(), 4);  // the headings of an empty listing
  EXPECT_EQ(window->List1->count(), window->List2->count());
  EXPECT_EQ(ms::Tables.ValueList[static_cast<size_t>(ms::Tables.ValueTop)].Name, u"#");
  EXPECT_TRUE(window->cmdClearValues->isEnabled());
  EXPECT_TRUE(window->centralWidget()->isEnabled());
  EXPECT_FALSE(window->IsRunning());
  EXPECT_FALSE(services.busy);
  EXPECT_GE(services.busyChanges, 2);
  // Every run sets the working plot colours to 0; the colours the curves use stay.
  EXPECT_EQ(ms::Settings.PlotColor[1], 0);
  EXPECT_EQ(ms::Settings.PlotColorUsed[2], 0x123456);
  // A request lights the Graph button; the next run without one puts it out.
  EXPECT_TRUE(window->cmdGraph->isEnabled());
  EXPECT_EQ(window->GraphButtonColor(), ws::kGraphReadyColor);
  Run("a1\n");
  EXPECT_EQ(g_counterSeen, 0);    // component functions are numbered afresh on every run
  window->mnuCompute->trigger();  // F5: the same worksheet again
  EXPECT_EQ(g_counterSeen, 0);
  EXPECT_EQ(ms::VectorStacks.ComponentFuncCounter, 0);  // the menu resets it afterwards too
  EXPECT_FALSE(window->cmdGraph->isEnabled());
  EXPECT_EQ(window->GraphButtonColor(), ws::kGraphIdleColor);
}

TEST_F(Execute, FirstErrorInItsBoxNamingTheStatement) {
  struct Case {
    QString text;
    std::u16string box;
  } cases[] = {
      {"a1\n<t=q>\na3\n", u"Statement # 2 : <t=q>\r\n15 : " + ms::GetMessageText(15)},
      {"<t=1,2>\n", u"Statement # 1 : <t=1,2>\r\n14 : " + ms::GetMessageText(14)},
      // The last function fails: the evaluation error is reported for the "<" statement.
      {"a1\n<x=2>\nF=y\n", u"Statement # 2 : <x=2>\r\n-1 : " + ms::GetMessageText(-1)},
      {"a1\nbad\na3\n", u"Statement # 2 : bad\r\n7 : " + ms::GetMessageText(7)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    services.Reset();
    Run(c.text);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].title, u"Syntax Error");
    EXPECT_EQ(services.boxes[0].style, ui::kExclamation);
    EXPECT_EQ(rt::ToUtf8(services.boxes[0].text), rt::ToUtf8(c.box));
    EXPECT_FALSE(window->cmdGraph->isEnabled());
    EXPECT_FALSE(window->IsRunning());
    EXPECT_FALSE(services.busy);
  }
  EXPECT_EQ(ms::Tables.StatementCount, 1);  // "bad" and what follows were not stored
}

TEST_F(Execute, ParameterSetEvaluatesAndListsTwice) {
  Run("F=y\nG=x\n<x=2>\n");
  EXPECT_TRUE(services.boxes.empty());
  // F cannot be evaluated (no y): it is listed as undefined, not with a stale value.
  EXPECT_TRUE(Listing().contains(QStringLiteral("F :  undefined")));
  EXPECT_TRUE(Listing().contains(QStringLiteral("G :   2")));
}

TEST_F(Execute, AbortOrEscListsWhatExistsWithoutABoxAndTheWindowStays) {
  window->show();
  for (const char* how : {"abort", "esc", "close"}) {
    SCOPED_TRACE(how);
    services.Reset();
    g_closedDuringRun = true;
    window->cmdClearValues->setEnabled(false);
    Run(QStringLiteral("F=x\n%1\nG=x\n").arg(QLatin1String(how)));
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ms::RunFlags.AbortRun, 0);
    EXPECT_TRUE(Listing().contains(QStringLiteral("F:  x")));
    EXPECT_TRUE(window->cmdClearValues->isEnabled());
    EXPECT_FALSE(window->IsRunning());
    // The reader stopped at the abort; a close request is refused and the run goes on.
    EXPECT_EQ(ms::Tables.FuncCount, std::string(how) == "close" ? 2 : 1);
  }
  EXPECT_FALSE(g_closedDuringRun);
}

TEST_F(Execute, GraphMessages) {
  struct Case {
    int16_t vectors;
    std::u16string title;
    std::u16string text;
    int style;
  } cases[] = {
      {0, u"MathSheet", u"No vectors identified to plot", ui::kOkOnly},
      {1, u"Unknown Vector?", u"Unknown vector ID in Plot. Check reference.", ui::kStop},
  };
  window->show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vectors);
    services.Reset();
    ms::ResetPlotRequest();
    ms::ResetCommandRequests();
    ms::PlotRequest.PlotVectorCount = c.vectors;
    ms::PlotRequest.PlotVectorList[1] = u"Q_";
    window->cmdGraph_click();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].title, c.title);
    EXPECT_EQ(services.boxes[0].text, c.text);
    EXPECT_EQ(services.boxes[0].style, c.style);
    EXPECT_EQ(gr::GraphWindow(), nullptr);
    EXPECT_TRUE(window->isVisible());
  }
}

}  // namespace
