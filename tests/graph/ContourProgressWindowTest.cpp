// The contour progress window with the graph window around it: a worksheet with a contour
// command is executed, the graph window builds its picture and the contour command traces with
// the real progress window. Abort and Esc arrive while tracing lets events run.
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "GraphTestSupport.h"
#include "commands/ProgramState.h"
#include "graph/ContourProgressWindow.h"
#include "language/WorksheetReader.h"

namespace gr::testing {
namespace {

const QColor kGreen(0, 255, 0);

QColor Background(const QLabel* label) {
  return label->palette().color(QPalette::Window);
}
QColor ButtonFace() {
  return QApplication::palette().color(QPalette::Button);
}

class ContourWindowTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    gr::UnloadContourWindow();
    gr::InstallContourWindow();
  }
  void TearDown() override {
    ui_.onDoEvents = nullptr;
    ReleaseGraphWindow();
    gr::UnloadContourWindow();
    ms::SetContourWindowHost(nullptr);
    ms::ResetContourState();
    GraphTest::TearDown();
  }

  // From a clean start (with a worksheet window when asked), executes F{x,y} = x^2 + y^2 (or the
  // given function) and the statement as Execute does; returns its message.
  int16_t Execute(const char16_t* statement, bool withSheet = false,
                  const char16_t* function = u"F{x,y} = x^2 + y^2") {
    TearDown();
    SetUp();
    if (withSheet) Sheet();
    rt::Text text = rt::Text(function) + u"\r\n" + statement + u"\r\n", stmt;
    ms::ClearAll();
    ms::ClearRequestsForExecute();
    int16_t msgNo = 0;
    msgNo = ms::ProcessWorksheet(text, stmt);
    return msgNo;
  }

  // The graph window lets events run too; these polls are the contour tracing's.
  static bool Tracing() { return ms::ContourWindow.AbortEnabled != 0; }

  // Segments of the scene that lie on a contour level (the axes lie at z = 0 or are structure).
  static int ContourSegments(double level) {
    int count = 0;
    for (int s = 0; s < ms::Scene.SegmentCount; ++s) {
      const ms::SegmentRow& row = ms::Scene.SegmentTable[s];
      const ms::Point3& p = ms::Scene.VertexXYZ[static_cast<int>(row[ms::kStartPoint])];
      const ms::Point3& q = ms::Scene.VertexXYZ[static_cast<int>(row[ms::kEndPoint])];
      if (row[ms::kSegKind] == ms::kSegOrdinary && p[2] == level && q[2] == level) ++count;
    }
    return count;
  }
};

// While tracing, Abort is enabled and the graph window's Return, End Program and Update Graph
// are not, and a close by the platform is refused; afterwards the reverse, with the traced
// quadrant lit. Abort (the button) and Esc (a key in the graph window) are noticed at the next
// poll: nothing of the run reaches the scene and the old legend stays. A full run shows its
// levels; Exit to Graph (or the close) hides the window and makes the worksheet window usable;
// the next command shows it again with its quadrants reset; Return unloads it.
TEST_F(ContourWindowTest, TracingStoppedOrRunThenExitNextCommandAndReturn) {
  enum Stop { kAbort, kEsc, kNone };
  const std::pair<Stop, int> cases[] = {{kAbort, 2}, {kEsc, 30}, {kNone, 0}};  // at poll
  for (const auto& [stop, atPoll] : cases) {
    SCOPED_TRACE(stop);
    ASSERT_EQ(Execute(u"PlotContour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]", true), 0);
    ws::WorksheetWindow& sheet = Sheet();
    ms::Contours.ContourLegendCount = 9;
    sheet.setEnabled(false);
    int polls = 0, pollsAfterStop = -1;
    ui_.onDoEvents = [&, stop = stop, atPoll = atPoll] {
      if (!Tracing() && pollsAfterStop < 0) return;
      gr::ContourProgressWindow* w = gr::ContourProgressWindow::Instance();
      GraphWindow* g = GraphWindow::Instance();
      ASSERT_TRUE(w != nullptr && g != nullptr);
      if (++polls == 1) {
        EXPECT_TRUE(w->isVisible() && w->cmdAbort->isEnabled());
        EXPECT_FALSE(w->cmdExit->isEnabled() || g->cmdReturn->isEnabled() ||
                     g->cmdExit->isEnabled() || g->cmdUpdate->isEnabled());
        EXPECT_FALSE(w->close());
      }
      if (pollsAfterStop >= 0) ++pollsAfterStop;
      if (polls != atPoll) return;
      pollsAfterStop = 0;
      if (stop == kEsc) return KeyClick(g, Qt::Key_Escape);
      w->cmdAbort->click();
      EXPECT_FALSE(w->cmdExit->isEnabled()) << "Exit waits until tracing has unwound";
      EXPECT_TRUE(sheet.isEnabled());
    };
    GraphWindow& graph = Load();
    ui_.onDoEvents = nullptr;
    gr::ContourProgressWindow* w = gr::ContourProgressWindow::Instance();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->cmdAbort->isEnabled());
    EXPECT_TRUE(w->cmdExit->isEnabled() && graph.cmdReturn->isEnabled() &&
                graph.cmdExit->isEnabled() && graph.cmdUpdate->isEnabled());
    EXPECT_EQ(Background(w->lblQ[0]), kGreen);
    EXPECT_EQ(Background(w->lblQ[1]), ButtonFace());
    if (stop != kNone) {
      EXPECT_GE(pollsAfterStop, 0);
      EXPECT_LE(pollsAfterStop, 2);
      EXPECT_EQ(ms::Contours.ContourLegendCount, 9);
      for (double level : {0.5, 1.0, 1.5, 2.0}) EXPECT_EQ(ContourSegments(level), 0);
      continue;
    }
    EXPECT_GT(polls, 10);
    EXPECT_EQ(w->lblMaxCt->text(), QStringLiteral("2"));
    EXPECT_EQ(w->lblStep->text(), QStringLiteral("0.5"));
    EXPECT_EQ(w->lblLevel->text(), QStringLiteral(" 2"));
    EXPECT_EQ(w->lblSegCt->text(), ui::ToQString(ms::ContourWindow.SegCtCaption));
    EXPECT_GT(ContourSegments(2), 6);
    w->close();  // after tracing it acts as Exit
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(sheet.isEnabled());
    ms::Requests.ContourStmt = u"PlotContour1[F,{-2,2,-2,2}{-1,-1}{1,1,1}]";
    graph.GenerateData();
    EXPECT_EQ(gr::ContourProgressWindow::Instance(), w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Background(w->lblQ[0]), ButtonFace());
    EXPECT_EQ(Background(w->lblQ[2]), kGreen);
    graph.cmdReturn->click();
    EXPECT_EQ(gr::ContourProgressWindow::Instance(), nullptr);
    EXPECT_EQ(ms::ContourWindow.Loaded, 0);
  }
}

}  // namespace
}  // namespace gr::testing
