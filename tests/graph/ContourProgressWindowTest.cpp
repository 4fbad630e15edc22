// The contour progress window with the graph window around it: a worksheet with a contour
// command is executed, the graph window builds its picture and the contour command traces with
// the real progress window. Esc arrives while tracing lets events run (the abort itself, by button
// or key, is checked in the core's contour tests).
#include "GraphTestSupport.h"
#include "graph/ContourProgressWindow.h"
#include "language/WorksheetReader.h"

namespace gr::testing {
namespace {

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
};

// While tracing a close by the platform is refused; Esc (a key in the graph window) is noticed at
// the next poll, nothing of the run reaches the scene or the legend, and every control is handed
// back. Exit to Graph (or the close) then hides the window and makes the worksheet usable again;
// Return unloads the window.
TEST_F(ContourWindowTest, EscStopsTracingAtTheNextPollAndTheControlsComeBack) {
  ws::WorksheetWindow& sheet = Sheet();  // made first: its load resets the state
  rt::Text text = u"F{x,y} = x^2 + y^2\r\nPlotContour1[F,{-2,2,-2,2}{1,1}{0.5,2,0.5}]\r\n", stmt;
  ms::ClearAll();
  ms::ClearRequestsForExecute();
  ASSERT_EQ(ms::ProcessWorksheet(text, stmt), 0);
  ms::Contours.ContourLegendCount = 9;
  sheet.setEnabled(false);
  int polls = 0, pollsAfterStop = -1;
  ui_.onDoEvents = [&] {
    if (!ms::ContourWindow.Tracing && pollsAfterStop < 0) return;  // not tracing
    ASSERT_NE(gr::ContourProgressWindow::Instance(), nullptr);
    EXPECT_FALSE(gr::ContourProgressWindow::Instance()->close());
    if (pollsAfterStop >= 0) ++pollsAfterStop;
    if (++polls == 30) {
      pollsAfterStop = 0;
      KeyClick(GraphWindow::Instance(), Qt::Key_Escape);
    }
  };
  GraphWindow& graph = Load();
  ui_.onDoEvents = nullptr;
  gr::ContourProgressWindow* w = gr::ContourProgressWindow::Instance();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(pollsAfterStop >= 0 && pollsAfterStop <= 2) << pollsAfterStop;
  for (int s = 0; s < ms::Scene.SegmentCount; ++s)
    EXPECT_NE(ms::Scene.SegmentTable[s][ms::kSegKind], ms::kSegOrdinary) << s;
  EXPECT_EQ(ms::Contours.ContourLegendCount, 9);  // the old legend stays
  EXPECT_TRUE(w->cmdExit->isEnabled() && graph.cmdReturn->isEnabled());
  w->close();  // after tracing it acts as Exit
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(sheet.isEnabled());
  graph.cmdReturn->click();
  EXPECT_EQ(gr::ContourProgressWindow::Instance(), nullptr);
}

}  // namespace
}  // namespace gr::testing
