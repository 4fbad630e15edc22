// The graph window's lifecycle: start-up state, the closing guard, Return, End Program, Update
// Graph and the rescue of the worksheet after a failed first build.
#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <stdexcept>

#include "GraphTestSupport.h"
#include "language/Utilities.h"

namespace gr::testing {
namespace {

class frmGraphTest : public GraphTest {};

TEST_F(frmGraphTest, LoadShowsTheDefaultsAndTheFirstPicture) {
  frmGraph& w = Load();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Create Graph"));
  EXPECT_TRUE(w.isVisible());
  // The angle labels of the view of 45 and 60 degrees.
  EXPECT_EQ(w.Label12->text(), QStringLiteral("45"));
  EXPECT_EQ(w.Label10->text(), QStringLiteral("60"));
  EXPECT_EQ(w.cmd3D->text(), QStringLiteral("3D"));
  EXPECT_EQ(w.Cmd3DColor(), 0xFFC0FF);

  struct Check {
    const char* name;
    QAction* item;
    bool checked;
  };
  const Check checks[] = {
      {"XY-Plane", w.mnuXY, true},      {"Color XY Plane", w.mnuXYPlane, false},
      {"0 symbol", w.mnuOSymbol, true}, {"None", w.mnuDotNone, true},
      {"Fine", w.mnuFine, false},       {"Medium", w.mnuMedium, true},
      {"2 degrees", w.mnu2Deg, true},   {"1 degree", w.mnu1Deg, false},
  };
  for (const Check& c : checks) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.item->isChecked(), c.checked);
  }
  for (QAction* plot : w.mnuPlot) EXPECT_FALSE(plot->isEnabled());
  EXPECT_FALSE(w.mnuPlotIVPColor->isEnabled());
  EXPECT_FALSE(w.mnuDotSpacing->menuAction()->isEnabled());
  EXPECT_TRUE(w.mnuXY->isEnabled());

  // Frames and Update Graph hidden with nothing built; Return shown after the first picture.
  for (QGroupBox* f : {w.Frame2, w.Frame5, w.Frame6, w.Frame7, w.Frame8, w.Frame9}) {
    EXPECT_TRUE(f->isHidden());
  }
  EXPECT_TRUE(w.cmdUpdate->isHidden());
  EXPECT_FALSE(w.cmdReturn->isHidden());
  EXPECT_EQ(w.PlotLabels[2]->text(), QStringLiteral("3"));
  EXPECT_EQ(w.PlotLabels[5]->text(), QStringLiteral("6"));

  // Scale boxes in the Str form, view state and offsets from the position scroll bars.
  EXPECT_EQ(w.strXScale->text(), QStringLiteral(" 1"));
  EXPECT_EQ(w.strZScale->text(), QStringLiteral(" 1"));
  EXPECT_EQ(w.HPosition->maximum(), kDisplayWidthTwips);
  EXPECT_EQ(w.VPosition->maximum(), kDisplayHeightTwips);
  EXPECT_EQ(ms::View.ImageOffsetX, (2 * (kDisplayWidthTwips / 2)) / 3);
  EXPECT_EQ(ms::View.ImageOffsetY, (3 * (kDisplayHeightTwips / 2)) / 2);
  EXPECT_DOUBLE_EQ(ms::View.AngleStep, 6.2831853072 / 180);
  EXPECT_EQ(ms::View.ShowBox, 0);
  EXPECT_EQ(Graph.Generating, 0);
  EXPECT_EQ(ms::Scene.VertexCountD, 0);
  EXPECT_FALSE(w.IsBusy());
  EXPECT_FALSE(ui_.busy);
}

TEST_F(frmGraphTest, LoadTakesTheWorksheetFontAndDropsATrailingColon) {
  struct Case {
    const char* typed;
    const char* after;
    bool changedAfter;
  };
  const Case cases[] = {
      {"a = 1\nPlot[A]:", "a = 1\nPlot[A]", false},
      {"a = 1", "a = 1", true},
      {"::", ":", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ws::frmCalcInput& sheet = Sheet();
    QFont font(QStringLiteral("Serif"));
    font.setPointSize(17);
    font.setBold(true);
    sheet.Text1->setFont(font);
    sheet.TypeWorksheetText(QString::fromUtf8(c.typed));
    frmGraph& w = Load();
    EXPECT_EQ(sheet.Text1->toPlainText(), QString::fromUtf8(c.after));
    EXPECT_EQ(sheet.IsChanged(), c.changedAfter);
    EXPECT_EQ(w.Display().Font.pointSize(), 17);
    EXPECT_TRUE(w.Display().Font.bold());
    ReleaseGraphWindow();
  }
}

TEST_F(frmGraphTest, ClosingAnyOtherWayIsRefused) {
  frmGraph& w = Load();
  // The close box: the platform delivers the close, and the guard refuses it.
  ASSERT_TRUE(w.Form_QueryUnload(frmGraph::UnloadModeOf(true, false)));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, u"PLease use the 'End Program' button to close this program.");
  EXPECT_EQ(ui_.boxes[0].style, ui::kOkOnly);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(GraphWindow(), &w);
  // The guard itself: only an unload by the program passes.
  EXPECT_FALSE(w.Form_QueryUnload(kUnloadByProgram));
  EXPECT_TRUE(w.Form_QueryUnload(kUnloadByUser));
  EXPECT_TRUE(w.Form_QueryUnload(2));
  struct Mode {
    bool spontaneous, unloading;
    int mode;
  };
  for (const Mode& m :
       {Mode{true, false, kUnloadByUser}, Mode{true, true, kUnloadByProgram},
        Mode{false, false, kUnloadByProgram}, Mode{false, true, kUnloadByProgram}}) {
    SCOPED_TRACE(::testing::Message() << m.spontaneous << m.unloading);
    EXPECT_EQ(frmGraph::UnloadModeOf(m.spontaneous, m.unloading), m.mode);
  }
  ui_.Reset();
  // A close the program asks for (the end of the program from the worksheet) passes.
  EXPECT_TRUE(w.close());
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(frmGraphTest, ReturnShowsTheWorksheetAndUnloadsTheWindow) {
  ws::frmCalcInput& sheet = Sheet();
  sheet.TypeWorksheetText(QStringLiteral("a = 1"));
  sheet.cmdGraph->setEnabled(true);
  sheet.cmdCompute->setEnabled(false);
  sheet.hide();
  ms::RunFlags.StopFrames = -1;
  frmGraph& w = Load();
  Graph.ShowDataText = Graph.ShowTimeText = Graph.ShowWkText = Graph.ShowValText = -1;
  Graph.ShowTitle = -1;
  w.cmdReturn->click();
  EXPECT_EQ(GraphWindow(), nullptr);
  for (int16_t shown :
       {Graph.ShowDataText, Graph.ShowTimeText, Graph.ShowWkText, Graph.ShowValText}) {
    EXPECT_EQ(shown, 0);
  }
  EXPECT_EQ(Graph.ShowTitle, -1);  // the title is not among the texts Return switches off
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(sheet.isVisible());
  EXPECT_FALSE(sheet.cmdGraph->isEnabled());
  EXPECT_TRUE(sheet.cmdCompute->isEnabled());
  EXPECT_EQ(ms::RunFlags.StopFrames, 0);
  EXPECT_TRUE(ui_.boxes.empty());
  // The tables stay; a later Graph loads the window afresh with its defaults.
  EXPECT_EQ(sheet.Text1->toPlainText(), QStringLiteral("a = 1"));
  frmGraph& again = Load();
  EXPECT_EQ(again.cmd3D->text(), QStringLiteral("3D"));
}

TEST_F(frmGraphTest, EndProgramEndsAndItsCloseIsNotRefused) {
  struct Case {
    const char* how;
    bool byMenu;
  };
  for (const Case& c : {Case{"button", false}, Case{"menu", true}}) {
    SCOPED_TRACE(c.how);
    ui_.Reset();
    frmGraph& w = Load();
    if (c.byMenu) {
      w.mnuEnd->trigger();
    } else {
      w.cmdExit->click();
    }
    EXPECT_EQ(ui_.endProgramCalls, 1);
    // The program's own unload passes the guard without a box.
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(ui_.boxes.empty());
    ReleaseGraphWindow();
  }
}

// A command that fails the way a run-time error would.
void Throwing(rt::Text&, int16_t, int16_t&) {
  throw std::overflow_error("Overflow");
}
void ThrowingOther(rt::Text&, int16_t, int16_t&) {
  throw std::runtime_error("Subscript out of range");
}

TEST_F(frmGraphTest, FailedFirstBuildOffersToSaveTheWorksheet) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("rescued.txt"));
  struct Case {
    const char* name;
    CommandBuilder command;
    const char16_t* first;
    int answer;
    bool saved;
  };
  const Case cases[] = {
      {"overflow, yes", Throwing, u"Unanticipated error : Overflow", ui::kAnswerYes, true},
      {"other, yes", ThrowingOther, u"Error is : Subscript out of range", ui::kAnswerYes, true},
      {"overflow, no", Throwing, u"Unanticipated error : Overflow", ui::kAnswerNo, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(path);
    ui_.Reset();
    ws::frmCalcInput& sheet = Sheet();
    sheet.TypeWorksheetText(QStringLiteral("a = 1\nb = 2"));
    ms::Requests.IVPRequested = -1;
    CommandEntry(GraphCommand::kIVP) = c.command;
    ui_.answers = {ui::kAnswerOk, c.answer};
    ui_.savePaths = {ui::FromQString(path)};
    frmGraph& w = Load();
    ASSERT_GE(ui_.boxes.size(), 2u);
    EXPECT_EQ(ui_.boxes[0].text, c.first);
    EXPECT_EQ(ui_.boxes[1].text,
              u"Error most likely overflow caused by a division by zero\r\n or a value that has "
              u"approach infinity. Choose YES/NO to save the worksheet.");
    EXPECT_EQ(ui_.boxes[1].style, 20);
    EXPECT_EQ(ui_.boxes[1].title, u"Unknown");
    EXPECT_EQ(ui_.endProgramCalls, 1);
    EXPECT_EQ(QFile::exists(path), c.saved);
    if (c.saved) {
      QFile f(path);
      ASSERT_TRUE(f.open(QIODevice::ReadOnly));
      EXPECT_EQ(f.readAll(), QByteArray("a = 1\r\nb = 2\r\n"));
      EXPECT_EQ(w.windowTitle(), path);
      EXPECT_FALSE(sheet.IsChanged());
      EXPECT_EQ(ui_.fileRequests.size(), 1u);
      EXPECT_EQ(ui_.fileRequests[0].request.filter, u"Text File (*.txt)|*.txt");
      EXPECT_EQ(ui_.fileRequests[0].request.defaultExt, u"txt");
    } else {
      EXPECT_TRUE(ui_.fileRequests.empty());
      EXPECT_TRUE(sheet.isVisible());
      EXPECT_FALSE(w.isVisible());
    }
    ReleaseGraphWindow();
    ResetGraphCommands();
  }
}

TEST_F(frmGraphTest, ASaveThatFailsIsSaidAndOfferedAgain) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString good = dir.filePath(QStringLiteral("second.txt"));
  ws::frmCalcInput& sheet = Sheet();
  sheet.TypeWorksheetText(QStringLiteral("c = 3"));
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = Throwing;
  // First dialog cancelled, then a folder that does not exist, then a good file.
  ui_.answers = {ui::kAnswerOk, ui::kAnswerYes, ui::kAnswerYes, ui::kAnswerYes};
  ui_.savePaths = {u"", ui::FromQString(dir.filePath(QStringLiteral("no/such/dir/x.txt"))),
                   ui::FromQString(good)};
  Load();
  EXPECT_TRUE(QFile::exists(good));
  EXPECT_EQ(ui_.fileRequests.size(), 3u);
  int notSaved = 0;
  for (const auto& b : ui_.boxes) {
    if (b.text.find(u"The worksheet was not saved.") != rt::Text::npos) ++notSaved;
  }
  EXPECT_EQ(notSaved, 2);
  EXPECT_EQ(ui_.endProgramCalls, 1);
}

TEST_F(frmGraphTest, FailedBuildWithAnEmptyWorksheetShowsNoSaveDialog) {
  Sheet();
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = Throwing;
  ui_.answers = {ui::kAnswerOk, ui::kAnswerYes};
  Load();
  EXPECT_TRUE(ui_.fileRequests.empty());
  EXPECT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.endProgramCalls, 1);
}

int g_updateCalls = 0;
void CountingIntegral(rt::Text&, int16_t, int16_t& msgNo) {
  ++g_updateCalls;
  msgNo = 0;
}

TEST_F(frmGraphTest, UpdateGraphRebuildsFromStoredSolutions) {
  ms::Requests.IntegRequested = -1;
  ms::Requests.IntegStmtCount = 1;
  CommandEntry(GraphCommand::kInteg) = CountingIntegral;
  g_updateCalls = 0;
  frmGraph& w = Load();
  EXPECT_EQ(g_updateCalls, 1);
  EXPECT_FALSE(w.cmdUpdate->isHidden());
  ms::RunFlags.Replot = 0;
  ms::CurveWork.ArrowFlagPos = 3;
  w.cmdUpdate->click();
  EXPECT_EQ(g_updateCalls, 2);
  EXPECT_NE(ms::RunFlags.Replot, 0);
  EXPECT_EQ(ms::CurveWork.ArrowFlagPos, 0);
}

// A command during which the user clicks Return and Update Graph and presses "S" and "Z" (the
// event loop runs inside long commands).
int g_nested = 0;
void ImpatientUser(rt::Text&, int16_t, int16_t& msgNo) {
  ++g_nested;
  msgNo = 0;
  frmGraph* w = GraphWindow();
  ASSERT_NE(w, nullptr);
  w->cmdReturn_Click();
  w->cmdUpdate_Click();
  w->Form_KeyPress('S');
  w->Form_KeyPress('Z');
}

TEST_F(frmGraphTest, LeavingOrRebuildingFromInsideABuildIsPrevented) {
  ms::Requests.IVPRequested = -1;
  CommandEntry(GraphCommand::kIVP) = ImpatientUser;
  g_nested = 0;
  frmGraph& w = Load();
  EXPECT_EQ(g_nested, 1);  // no second build started from inside the first
  EXPECT_EQ(GraphWindow(), &w);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(ms::View.PictureScale, 310);      // the zoom key acted at once
  EXPECT_EQ(ms::View.FieldVectorScale, 0.5);  // "S" waited for no build
  EXPECT_EQ(Graph.Generating, 0);
  EXPECT_FALSE(w.cmdReturn->isHidden());
  // Once the build has returned, Return works.
  w.cmdReturn_Click();
  EXPECT_EQ(GraphWindow(), nullptr);
}

TEST_F(frmGraphTest, CommandsDrawTheirProgressOnThePlotProgressBar) {
  ui::QtUiServices screen;
  ui::SetUi(&screen);
  frmGraph& w = Load();
  struct Case {
    int16_t total, done;
    int value;  // of 1000
  };
  for (const Case& c : {Case{4, 1, 250}, Case{4, 3, 750}, Case{10, 0, 0}}) {
    SCOPED_TRACE(c.done);
    int16_t total = c.total;
    ms::DrawProgress(ms::kGraphProgressBar, total, c.done);
    EXPECT_EQ(w.Picture1->value(), c.value);
  }
  ReleaseGraphWindow();
  ui::SetUi(&ui_);
}

}  // namespace
}  // namespace gr::testing
