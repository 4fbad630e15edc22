// The graph window's lifecycle: the closing guard, Return, End Program, leaving from inside a
// build and the rescue of the worksheet after a failed first build.
#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <stdexcept>

#include "GraphTestSupport.h"

namespace gr::testing {
namespace {

class frmGraphTest : public GraphTest {};

// The close box is refused with its box; End Program (button or menu) ends the program, and the
// program's own unload passes the guard without a box.
TEST_F(frmGraphTest, ClosingIsRefusedButEndProgramEnds) {
  frmGraph& w = Load();
  ASSERT_TRUE(w.Form_QueryUnload(frmGraph::UnloadModeOf(true, false)));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, u"PLease use the 'End Program' button to close this program.");
  EXPECT_EQ(ui_.boxes[0].style, ui::kOkOnly);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(frmGraph::UnloadModeOf(true, true), kUnloadByProgram);
  EXPECT_EQ(frmGraph::UnloadModeOf(false, false), kUnloadByProgram);
  EXPECT_FALSE(w.Form_QueryUnload(kUnloadByProgram));
  ui_.Reset();
  w.cmdExit->click();
  w.mnuEnd->trigger();
  EXPECT_EQ(ui_.endProgramCalls, 2);
  EXPECT_TRUE(w.close());
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(frmGraphTest, ReturnShowsTheWorksheetAndUnloadsTheWindow) {
  ws::frmCalcInput& sheet = Sheet();
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
}

// Commands that fail the way run-time errors would.
void Throwing(rt::Text&, int16_t, int16_t&) {
  throw std::overflow_error("Overflow");
}
void ThrowingOther(rt::Text&, int16_t, int16_t&) {
  throw std::runtime_error("Subscript out of range");
}

TEST_F(frmGraphTest, FailedFirstBuildOffersToSaveTheWorksheet) {
  QTemporaryDir dir;
  const rt::Text path = ui::FromQString(dir.filePath(QStringLiteral("rescued.txt")));
  const rt::Text bad = ui::FromQString(dir.filePath(QStringLiteral("no/such/dir/x.txt")));
  struct Case {
    bool other;  // another error than an overflow
    int answer;
    std::vector<rt::Text> paths;  // given to the save dialogs in turn ("" cancels)
    size_t dialogs;
    int notSavedBoxes;
    bool emptySheet;
  };
  const Case cases[] = {{false, ui::kAnswerYes, {path}, 1, 0, false},
                        {true, ui::kAnswerNo, {path}, 0, 0, false},
                        {false, ui::kAnswerYes, {u"", bad, path}, 3, 2, false},
                        {false, ui::kAnswerYes, {path}, 0, 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    QFile::remove(ui::ToQString(path));
    ReleaseGraphWindow();
    ResetGraphCommands();
    ui_.Reset();
    ws::frmCalcInput& sheet = Sheet();
    sheet.TypeWorksheetText(c.emptySheet ? QString() : QStringLiteral("a = 1\nb = 2"));
    ms::Requests.IVPRequested = -1;
    CommandEntry(GraphCommand::kIVP) = c.other ? ThrowingOther : Throwing;
    ui_.answers = {ui::kAnswerOk, c.answer, ui::kAnswerYes, ui::kAnswerYes};
    ui_.savePaths.assign(c.paths.begin(), c.paths.end());
    frmGraph& w = Load();
    ASSERT_EQ(ui_.boxes.size(), 2u + c.notSavedBoxes);
    EXPECT_EQ(ui_.boxes[0].text,
              c.other ? u"Error is : Subscript out of range" : u"Unanticipated error : Overflow");
    EXPECT_EQ(ui_.boxes[1].text,
              u"Error most likely overflow caused by a division by zero\r\n or a value that has "
              u"approach infinity. Choose YES/NO to save the worksheet.");
    EXPECT_EQ(ui_.boxes[1].style, 20);
    EXPECT_EQ(ui_.boxes[1].title, u"Unknown");
    if (c.notSavedBoxes > 0) {
      EXPECT_EQ(ui_.boxes[2].text,
                u"The worksheet was not saved.\r\nChoose YES to try again, "
                u"NO to end without saving.");
    }
    EXPECT_EQ(ui_.endProgramCalls, 1);
    ASSERT_EQ(ui_.fileRequests.size(), c.dialogs);
    QFile f(ui::ToQString(path));
    EXPECT_EQ(f.exists(), c.dialogs > 0);
    if (c.answer == ui::kAnswerNo) {  // the worksheet is shown again
      EXPECT_TRUE(sheet.isVisible());
      EXPECT_FALSE(w.isVisible());
    }
    if (c.dialogs == 0) continue;
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("a = 1\r\nb = 2\r\n"));
    EXPECT_EQ(w.windowTitle(), ui::ToQString(path));
    EXPECT_EQ(ui_.fileRequests[0].request.filter, u"Text File (*.txt)|*.txt");
    EXPECT_EQ(ui_.fileRequests[0].request.defaultExt, u"txt");
  }
}

int g_builds = 0;

// A command during which the user clicks Return and Update Graph and presses "S" and "Z" (the
// event loop runs inside long commands).
void ImpatientUser(rt::Text&, int16_t, int16_t& msgNo) {
  ++g_builds;
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
  g_builds = 0;
  frmGraph& w = Load();
  EXPECT_EQ(g_builds, 1);  // no second build started from inside the first
  EXPECT_EQ(GraphWindow(), &w);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(ms::View.PictureScale, 310);      // the zoom key acted at once
  EXPECT_EQ(ms::View.FieldVectorScale, 0.5);  // "S" waited for no build
  EXPECT_EQ(Graph.Generating, 0);
  EXPECT_FALSE(w.cmdReturn->isHidden());
  w.cmdReturn_Click();  // once the build has returned, Return works
  EXPECT_EQ(GraphWindow(), nullptr);
}

}  // namespace
}  // namespace gr::testing
